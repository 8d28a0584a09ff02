// The application object: the loop, idle time, exceptions, hints, the screen.
#include "FormsTest.h"

#include "host/vcl/HintWindow.h"
#include "host/vcl/Timer.h"

namespace formstest {
namespace {

TEST_F(FormsTest, TheFirstCreatedFormIsTheMainFormAndClosingItEndsRun)
{
    TForm* main = nullptr;
    TForm* other = nullptr;
    Application->CreateForm(main);
    Application->CreateForm(other);
    EXPECT_EQ(Application->GetMainForm(), main);
    EXPECT_EQ(main->GetOwner(), static_cast<TComponent*>(Application));
    auto* timer = new TTimer(main);
    timer->SetInterval(200);
    int ticks = 0;
    timer->FOnTimer = [&](TObject*) {
        if (++ticks == 1) {
            other->Close();  // an ordinary form just hides
        } else {
            main->Close();
        }
    };
    timer->SetOnTimer(timer->FOnTimer);
    other->Show();
    Application->Run();  // shows the main form, returns once it closes
    EXPECT_TRUE(Application->GetTerminated());
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(other->GetVisible());
    EXPECT_TRUE(IsWindowVisible(main->GetHandle()));
}

TEST_F(FormsTest, IdleTimeAsksOnIdleAndWaitsOnlyWhenItIsDone)
{
    int idles = 0;
    bool done = false;
    Application->OnIdle = [&](TObject*, bool& Done) {
        ++idles;
        Done = done;
    };
    Application->HandleMessage();  // nothing queued: idle, not done, so no wait
    EXPECT_EQ(idles, 1);
    HWND wnd = Application->GetHandle();
    PostMessage(wnd, WM_NULL, 0, 0);
    Application->HandleMessage();  // a message: no idle call
    EXPECT_EQ(idles, 1);
    done = true;
    // Done, and nothing can ever arrive: the wait would last for ever.
    EXPECT_THROW(Application->HandleMessage(), EIdleLoop);
    EXPECT_EQ(idles, 2);
}

TEST_F(FormsTest, AnExceptionInAnEventHandlerReachesOnException)
{
    TForm* form = MakeForm("F");
    form->OnClick = [&](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    std::string message;
    TObject* sender = nullptr;
    Application->OnException = [&](TObject* Sender, Exception* E) {
        sender = Sender;
        message = E->GetMessage();
    };
    form->Show();
    ProcessPendingMessages();
    POINT c = Input::CenterOf(form->GetHandle());
    Input::Click(c.x, c.y);
    EXPECT_EQ(message, "'x' is not a valid integer value");
    EXPECT_EQ(sender, form);
    // EAbort is silent.
    message.clear();
    form->OnClick = [&](TObject*) { throw EAbort("quiet"); };
    Input::Click(c.x, c.y);
    EXPECT_EQ(message, "");
}

TEST_F(FormsTest, WithoutOnExceptionTheMessageShowsInABoxTitledWithTheApplication)
{
    Application->SetTitle("Orders");
    std::string caption;
    SetModalHook([&](HWND Box) {
        char text[64];
        GetWindowText(Box, text, sizeof text);
        caption = text;
        Input::KeyPress(VK_RETURN);
    });
    try {
        throw EInvalidOperation("Cannot do that");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    EXPECT_EQ(caption, "Orders");
    // Outside a catch block there is nothing to handle.
    caption.clear();
    Application->HandleException(nullptr);
    EXPECT_EQ(caption, "");
}

TEST_F(FormsTest, ApplicationMessageBoxAnswersThroughTheHookAndRestoresTheForm)
{
    TForm* form = MakeForm("F");
    form->Show();
    ProcessPendingMessages();
    bool disabled = false;
    SetModalHook([&](HWND Box) {
        disabled = !IsWindowEnabled(form->GetHandle());
        POINT p = Input::CenterOf(GetDlgItem(Box, IDNO));
        Input::Click(p.x, p.y);
    });
    EXPECT_EQ(Application->MessageBox("Save?", "Question", MB_YESNO), IDNO);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
    EXPECT_EQ(GetActiveWindow(), form->GetHandle());
}

TEST_F(FormsTest, TitleAndExeNameComeFromTheProgram)
{
    std::string exe = Application->GetExeName();
    ASSERT_FALSE(exe.empty());
    EXPECT_NE(exe.find("test_vcl"), std::string::npos);
    EXPECT_EQ(Application->GetTitle(), "test_vcl");
    Application->SetTitle("Mine");
    EXPECT_EQ(Application->GetTitle(), "Mine");
}

TEST_F(FormsTest, HintsShowAfterThePauseAndHideAfterTheHidePause)
{
    TForm* form = MakeForm("F", 100, 100, 300, 200);
    auto* box = Make<TFocusBox>(form, "Box", 20, 20, 80, 30);
    auto* plain = Make<TFocusBox>(form, "Plain", 20, 80, 80, 30);
    box->SetHint("Short text|Long text for the status bar");
    box->SetShowHint(true);
    int hintEvents = 0;
    Application->OnHint = [&](TObject*) { ++hintEvents; };
    form->Show();
    ProcessPendingMessages();
    TPoint p = box->ClientToScreen(TPoint{10, 10});
    Input::MouseMove(p.x, p.y);
    EXPECT_EQ(Application->GetHint(), "Long text for the status bar");
    EXPECT_EQ(hintEvents, 1);
    Input::AdvanceTime(Application->GetHintPause() - 10);
    ASSERT_TRUE(!Application->GetHintWindow() || !Application->GetHintWindow()->IsHintShowing());
    Input::AdvanceTime(20);
    THintWindow* hint = Application->GetHintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->IsHintShowing());
    EXPECT_EQ(hint->GetCaption(), "Short text");
    RECT r;
    GetWindowRect(hint->GetHandle(), &r);
    EXPECT_GT(r.top, p.y);  // below the mouse
    Input::AdvanceTime(Application->GetHintHidePause() + 10);
    EXPECT_FALSE(hint->IsHintShowing());

    // A control without ShowHint shows none, and a click cancels a shown one.
    TPoint q = plain->ClientToScreen(TPoint{10, 10});
    plain->SetHint("Never shown");
    Input::MouseMove(q.x, q.y);
    Input::AdvanceTime(Application->GetHintPause() + 10);
    EXPECT_FALSE(hint->IsHintShowing());
    Input::MouseMove(p.x, p.y);
    Input::AdvanceTime(Application->GetHintPause() + 10);
    EXPECT_TRUE(hint->IsHintShowing());
    Input::Click(p.x, p.y);
    EXPECT_FALSE(hint->IsHintShowing());
}

TEST_F(FormsTest, ScreenCursorOverridesEveryControlUntilReset)
{
    TForm* form = MakeForm("F");
    auto* box = Make<TFocusBox>(form, "Box", 20, 20, 80, 30);
    box->SetCursor(crHandPoint);
    form->Show();
    ProcessPendingMessages();
    TPoint p = box->ClientToScreen(TPoint{5, 5});
    Input::MouseMove(p.x, p.y);
    EXPECT_EQ(GetCursor(), Screen->GetCursors(crHandPoint));
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(GetCursor(), Screen->GetCursors(crHourGlass));
    Input::MouseMove(p.x + 1, p.y);
    EXPECT_EQ(GetCursor(), Screen->GetCursors(crHourGlass));
    Screen->SetCursor(crDefault);
    EXPECT_EQ(GetCursor(), Screen->GetCursors(crHandPoint));
    // User cursors take positive indices.
    HCURSOR own = LoadCursor(nullptr, IDC_CROSS);
    Screen->SetCursors(5, own);
    EXPECT_EQ(Screen->GetCursors(5), own);
    EXPECT_EQ(Screen->GetCursors(crArrow), LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(FormsTest, ScreenMeasuresTheDisplay)
{
    EXPECT_EQ(Screen->GetWidth(), 800);
    EXPECT_EQ(Screen->GetHeight(), 600);
    EXPECT_EQ(Screen->GetPixelsPerInch(), 96);
    EXPECT_GE(Screen->GetFonts()->IndexOf("Arial"), 0);
}

TEST_F(FormsTest, ShortcutsReachTheFormBeforeItsControls)
{
    TForm* form = MakeForm("F");
    auto* box = Make<TFocusBox>(form, "Box", 20, 20, 80, 30);
    int shortcuts = 0;
    form->OnShortCut = [&](TMessage& Msg, bool& Handled) {
        if (Msg.WParam == VK_F5) {
            ++shortcuts;
            Handled = true;
        }
    };
    form->Show();
    ProcessPendingMessages();
    Input::KeyPress(VK_F5);
    Input::KeyPress(VK_F6);
    EXPECT_EQ(shortcuts, 1);
    EXPECT_EQ(box->Keys, (std::vector<WORD>{VK_F6}));
}

} // namespace
} // namespace formstest

namespace formstest {
namespace {

TEST_F(FormsTest, TheApplicationHearsWhenItsWindowsGainAndLoseActivation)
{
    std::vector<std::string> log;
    Application->OnActivate = [&](TObject*) { log.push_back("activate"); };
    Application->OnDeactivate = [&](TObject*) { log.push_back("deactivate"); };
    TForm* form = MakeForm("F");
    form->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(Application->GetActive());
    form->Hide();  // the program's last window goes
    ProcessPendingMessages();
    EXPECT_FALSE(Application->GetActive());
    EXPECT_EQ(log, (std::vector<std::string>{"activate", "deactivate"}));
}

} // namespace
} // namespace formstest
