// TTimer on virtual time.
#include "FormsTest.h"

#include "host/vcl/Filer.h"
#include "host/vcl/Timer.h"

namespace formstest {
namespace {

TTimer* MakeTimer(TComponent* Owner, unsigned Interval, std::vector<std::string>& Log, const std::string& Name)
{
    auto* t = new TTimer(Owner);
    t->SetInterval(Interval);
    t->SetOnTimer([&Log, Name](TObject*) { Log.push_back(Name); });
    return t;
}

TEST_F(FormsTest, TimersFireOnVirtualTimeInTheOrderTheyFallDue)
{
    auto* owner = new TComponent(nullptr);
    std::vector<std::string> log;
    MakeTimer(owner, 30, log, "a");
    MakeTimer(owner, 50, log, "b");
    MakeTimer(owner, 70, log, "c");
    Input::AdvanceTime(29);
    EXPECT_TRUE(log.empty());
    Input::AdvanceTime(111);  // to 140
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "a", "c", "a", "b", "a", "c"}));
    owner->Free();
    log.clear();
    Input::AdvanceTime(500);  // freed timers are gone
    EXPECT_TRUE(log.empty());
}

TEST_F(FormsTest, EnabledIntervalAndHandlerStartAndStopTheTimer)
{
    auto* owner = new TComponent(nullptr);
    std::vector<std::string> log;
    TTimer* t = MakeTimer(owner, 100, log, "t");
    t->SetEnabled(false);
    Input::AdvanceTime(250);
    EXPECT_TRUE(log.empty());
    t->SetEnabled(true);  // counts from now
    Input::AdvanceTime(99);
    EXPECT_TRUE(log.empty());
    Input::AdvanceTime(1);
    EXPECT_EQ(log.size(), 1u);
    t->SetInterval(0);
    Input::AdvanceTime(300);
    EXPECT_EQ(log.size(), 1u);
    t->SetInterval(40);
    Input::AdvanceTime(80);
    EXPECT_EQ(log.size(), 3u);
    t->SetOnTimer(nullptr);
    Input::AdvanceTime(80);
    EXPECT_EQ(log.size(), 3u);
    owner->Free();
}

TEST_F(FormsTest, AnExceptionInOnTimerReachesTheApplication)
{
    auto* owner = new TComponent(nullptr);
    auto* t = new TTimer(owner);
    t->SetInterval(10);
    int raised = 0;
    t->SetOnTimer([&](TObject*) {
        ++raised;
        throw EConvertError("bad tick");
    });
    std::vector<std::string> seen;
    Application->OnException = [&](TObject* Sender, Exception* E) {
        EXPECT_EQ(Sender, t);
        seen.push_back(E->GetMessage());
    };
    Input::AdvanceTime(25);
    EXPECT_EQ(raised, 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"bad tick", "bad tick"}));
    owner->Free();
}

TEST_F(FormsTest, TimerPropertiesStream)
{
    auto* owner = new TComponent(nullptr);
    auto* t = new TTimer(owner);
    t->SetName("Timer1");
    t->SetInterval(250);
    t->SetEnabled(false);
    std::string text = ObjectBinaryToText(WriteComponentToString(t));
    EXPECT_NE(text.find("Interval = 250"), std::string::npos) << text;
    EXPECT_NE(text.find("Enabled = False"), std::string::npos) << text;
    auto* back = static_cast<TTimer*>(ReadComponentFromString(ObjectTextToBinary(text), nullptr));
    EXPECT_EQ(back->GetInterval(), 250u);
    EXPECT_FALSE(back->GetEnabled());
    back->Free();
    owner->Free();
}

} // namespace
} // namespace formstest
