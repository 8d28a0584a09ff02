// TSpinButton and TSpinEdit driven by injected clicks and keys.
#include "EditTest.h"

#include "host/vcl/Filer.h"
#include "host/vcl/Spin.h"

namespace edittest {
namespace {

class SpinTest : public ControlTest {
protected:
    TSpinEdit* MakeSpin(int Min, int Max, int Increment = 1)
    {
        auto* e = Make<TSpinEdit>(Root(), "SpinEdit1", 10, 10, 80, 21);
        e->SetMinValue(Min);
        e->SetMaxValue(Max);
        e->SetIncrement(Increment);
        e->OnChange = [this](TObject*) { ++Changes; };
        return e;
    }
    TPoint UpArrow(TSpinButton* B) { return ScreenOf(B, B->GetWidth() / 2, 2); }
    TPoint DownArrow(TSpinButton* B) { return ScreenOf(B, B->GetWidth() / 2, B->GetHeight() - 3); }
    int Changes = 0;
};

TEST_F(SpinTest, KeysStepByTheIncrementAndStopAtTheLimits)
{
    TSpinEdit* e = MakeSpin(0, 10, 3);
    e->SetValue(4);
    e->SetFocus();
    struct Step {
        int Key;
        int Value;
    } steps[] = {{VK_UP, 7}, {VK_UP, 10}, {VK_UP, 10}, {VK_DOWN, 7}, {VK_DOWN, 4}, {VK_DOWN, 1}, {VK_DOWN, 0}};
    for (const Step& s : steps) {
        Input::KeyPress(s.Key);
        EXPECT_EQ(e->GetValue(), s.Value) << s.Key;
    }
    // Values set in code are clamped, and fire OnChange like typing does.
    Changes = 0;
    e->SetValue(99);
    EXPECT_EQ(e->GetValue(), 10);
    EXPECT_EQ(e->GetText(), "10");
    EXPECT_EQ(Changes, 1);
    e->SetValue(-5);
    EXPECT_EQ(e->GetValue(), 0);
    // No range (MinValue not below MaxValue): nothing is clamped.
    e->SetMaxValue(0);
    e->SetValue(-5);
    EXPECT_EQ(e->GetValue(), -5);
    e->SetMinValue(20);
    e->SetValue(7);
    EXPECT_EQ(e->GetValue(), 7);
}

TEST_F(SpinTest, OnlyDigitsAndMinusCanBeTyped)
{
    TSpinEdit* e = MakeSpin(-100, 100);
    e->SetFocus();
    e->SelectAll();
    int beeps = Input::BeepCount();
    Input::TypeText("-1a2.+");
    EXPECT_EQ(e->GetText(), "-12");
    EXPECT_EQ(Input::BeepCount(), beeps + 3);
    EXPECT_EQ(e->GetValue(), -12);
    // Text that is no number reads as MinValue.
    e->SetText("-");
    EXPECT_EQ(e->GetValue(), -100);
    // With the editor off the keys still step, typing does nothing.
    e->SetEditorEnabled(false);
    e->SetValue(5);
    Input::TypeText("7");
    Input::KeyPress(VK_BACK);
    EXPECT_EQ(e->GetText(), "5");
    Input::KeyPress(VK_UP);
    EXPECT_EQ(e->GetValue(), 6);
}

TEST_F(SpinTest, LeavingTheEditClampsATypedValue)
{
    TSpinEdit* e = MakeSpin(1, 50);
    auto* other = Make<TEdit>(e->GetParent(), "Other", 10, 60, 80, 21);
    e->SetFocus();
    e->SelectAll();
    Input::TypeText("75");
    EXPECT_EQ(e->GetText(), "75");
    other->SetFocus();
    EXPECT_EQ(e->GetValue(), 50);
}

TEST_F(SpinTest, ClicksOnTheButtonsStepAndRepeatWhileHeld)
{
    TSpinEdit* e = MakeSpin(0, 100, 5);
    e->SetValue(50);
    TSpinButton* b = e->GetButton();
    TPoint up = UpArrow(b), down = DownArrow(b);
    Input::Click(up.x, up.y);
    EXPECT_EQ(e->GetValue(), 55);
    EXPECT_TRUE(e->Focused());  // the button hands the focus to its edit
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::Click(down.x, down.y);
    EXPECT_EQ(e->GetValue(), 50);

    // Held: the first repeat after the initial pause, then one per repeat pause.
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::MouseMove(up.x, up.y);
    Input::MouseDown();
    Input::AdvanceTime(TSpinButton::InitRepeatPause - 1);
    EXPECT_EQ(e->GetValue(), 50);
    Input::AdvanceTime(1);
    EXPECT_EQ(e->GetValue(), 55);
    Input::AdvanceTime(3 * TSpinButton::RepeatPause);
    EXPECT_EQ(e->GetValue(), 70);
    // Dragged off the button it pauses; released off it, no extra step.
    Input::MouseMove(up.x + 100, up.y);
    Input::AdvanceTime(3 * TSpinButton::RepeatPause);
    EXPECT_EQ(e->GetValue(), 70);
    Input::MouseUp();
    EXPECT_EQ(e->GetValue(), 70);
}

TEST_F(SpinTest, AStandaloneSpinButtonReportsItsClicks)
{
    auto* b = Make<TSpinButton>(Root(), "SpinButton1", 10, 10, 20, 30);
    int ups = 0, downs = 0;
    b->OnUpClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, b);
        ++ups;
    };
    b->OnDownClick = [&](TObject*) { ++downs; };
    TPoint up = UpArrow(b), down = DownArrow(b);
    Input::Click(up.x, up.y);
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::Click(down.x, down.y);
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::Click(down.x, down.y);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(downs, 2);
    // A press that leaves the button before release is no click.
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::Drag(up, TPoint{up.x + 60, up.y});
    EXPECT_EQ(ups, 1);
    b->SetEnabled(false);
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::Click(up.x, up.y);
    EXPECT_EQ(ups, 1);
}

TEST_F(SpinTest, PaintsRaisedButtonsAndASunkenOneWhilePressed)
{
    TSpinEdit* e = MakeSpin(0, 9);
    e->SetValue(3);
    ProcessPendingMessages();
    TSpinButton* b = e->GetButton();
    TImageData img = Capture(b);
    EXPECT_EQ(img.Pixel(1, 1), Rgb(clBtnHighlight));  // raised: light top left
    EXPECT_EQ(img.Pixel(img.Width - 1, img.Height / 2 - 1), Rgb(cl3DDkShadow));
    EXPECT_TRUE(HasColor(img, clBtnText, TRect{2, 2, img.Width - 2, img.Height / 2}));
    TPoint up = UpArrow(b);
    Input::MouseMove(up.x, up.y);
    Input::MouseDown();
    Screenshot(e->GetParent()->GetHandle(), "/tmp/kel-spin.png");
    img = Capture(b);
    EXPECT_EQ(img.Pixel(0, 0), Rgb(clBtnShadow));  // sunken while held
    EXPECT_EQ(img.Pixel(1, img.Height / 2 + 2), Rgb(clBtnHighlight));  // the lower one stays raised
    Input::MouseUp();
}

TEST(SpinStreamingTest, RangeAndValueSurviveAFormFile)
{
    auto* e = new TSpinEdit(nullptr);
    e->SetName("SpinEdit1");
    e->SetMinValue(-5);
    e->SetMaxValue(500);
    e->SetIncrement(25);
    e->SetValue(300);
    e->SetEditorEnabled(false);
    std::string data = WriteComponentToString(e);
    auto* copy = static_cast<TSpinEdit*>(ReadComponentFromString(data, nullptr));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetMinValue(), -5);
    EXPECT_EQ(copy->GetMaxValue(), 500);
    EXPECT_EQ(copy->GetIncrement(), 25);
    EXPECT_EQ(copy->GetValue(), 300);
    EXPECT_FALSE(copy->GetEditorEnabled());
    EXPECT_EQ(WriteComponentToString(copy), data);
    copy->Free();
    e->Free();
}

} // namespace
} // namespace edittest
