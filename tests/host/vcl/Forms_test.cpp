// Forms: showing, closing, releasing, modal loops, focus and MDI.
#include "FormsTest.h"

#include "host/rtl/Resources.h"
#include "host/vcl/Filer.h"

namespace formstest {
namespace {

TEST_F(FormsTest, ShowAndHideFireEventsAndTheScreenListsTheForm)
{
    TForm* form = MakeForm("Main");
    form->SetCaption("Main window");
    std::vector<std::string> log;
    form->OnShow = [&](TObject*) { log.push_back("show"); };
    form->OnHide = [&](TObject*) { log.push_back("hide"); };
    form->OnActivate = [&](TObject*) { log.push_back("activate"); };
    EXPECT_FALSE(form->GetVisible());
    EXPECT_EQ(Screen->GetFormCount(), 1);
    EXPECT_EQ(Screen->GetForms(0), form);

    form->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(IsWindowVisible(form->GetHandle()));
    EXPECT_EQ(GetActiveWindow(), form->GetHandle());
    EXPECT_EQ(Screen->GetActiveForm(), form);
    char text[64];
    GetWindowText(form->GetHandle(), text, sizeof text);
    EXPECT_STREQ(text, "Main window");
    form->Hide();
    EXPECT_FALSE(IsWindowVisible(form->GetHandle()));
    EXPECT_EQ(log, (std::vector<std::string>{"show", "activate", "hide"}));
}

TEST_F(FormsTest, CloseAsksOnCloseQueryAndFollowsTheCloseAction)
{
    struct Case {
        bool Allow;
        TCloseAction Action;
        bool VisibleAfter;
        bool FreedAfter;
    } cases[] = {
        {false, caHide, true, false},
        {true, caNone, true, false},
        {true, caHide, false, false},
        {true, caMinimize, true, false},
        {true, caFree, false, true},
    };
    for (const Case& k : cases) {
        TForm* form = MakeForm("F");
        bool freed = false;
        form->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = k.Allow; };
        form->OnClose = [&](TObject*, TCloseAction& Action) {
            EXPECT_EQ(Action, caHide);  // the default a top-level form offers
            Action = k.Action;
        };
        form->OnDestroy = [&](TObject*) { freed = true; };
        form->Show();
        form->Close();
        ProcessPendingMessages();
        EXPECT_EQ(freed, k.FreedAfter) << int(k.Action) << k.Allow;
        if (freed) {
            Forget(form);
            continue;
        }
        EXPECT_EQ(form->GetVisible(), k.VisibleAfter) << int(k.Action) << k.Allow;
        if (k.Action == caMinimize && k.Allow) {
            EXPECT_EQ(form->GetWindowState(), wsMinimized);
        }
        Free(form);
        Forget(form);
    }
}

TEST_F(FormsTest, TheCloseBoxClosesTheFormThroughWM_CLOSE)
{
    TForm* form = MakeForm("F");
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form->Show();
    SendMessage(form->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ProcessPendingMessages();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form->GetVisible());
    EXPECT_TRUE(IsWindow(form->GetHandle()));
}

TEST_F(FormsTest, ReleaseInsideAnEventHandlerFreesTheFormAfterTheHandler)
{
    TForm* form = MakeForm("F");
    bool destroyed = false;
    bool stillAliveAfterRelease = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClick = [&](TObject*) {
        form->Release();
        // The form is still whole until the loop gets back to it.
        stillAliveAfterRelease = !destroyed && form->GetName() == "F";
    };
    form->Show();
    ProcessPendingMessages();
    POINT c = Input::CenterOf(form->GetHandle());
    Input::Click(c.x, c.y);
    EXPECT_TRUE(stillAliveAfterRelease);
    EXPECT_TRUE(destroyed);
    Forget(form);
    EXPECT_EQ(Screen->GetFormCount(), 0);
}

TEST_F(FormsTest, ShowModalReturnsTheResultTheHookSets)
{
    TForm* main = MakeForm("Main");
    main->Show();
    TForm* dialog = MakeForm("Dialog");
    dialog->SetBorderStyle(bsDialog);
    bool mainWasDisabled = false;
    int hookCalls = 0;
    SetModalHook([&](HWND Wnd) {
        ++hookCalls;
        EXPECT_EQ(Wnd, dialog->GetHandle());
        mainWasDisabled = !IsWindowEnabled(main->GetHandle());
        EXPECT_TRUE(dialog->GetFormState().Contains(fsModal));
        dialog->SetModalResult(mrYes);
    });
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_EQ(hookCalls, 1);
    EXPECT_TRUE(mainWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(main->GetHandle()));
    EXPECT_FALSE(dialog->GetVisible());
    EXPECT_FALSE(dialog->GetFormState().Contains(fsModal));
    EXPECT_EQ(GetActiveWindow(), main->GetHandle());
}

TEST_F(FormsTest, AModalResultVetoedByOnCloseQueryKeepsTheLoopRunning)
{
    TForm* dialog = MakeForm("Dialog");
    int queries = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++queries > 1; };
    SetModalHook([&](HWND) {
        dialog->SetModalResult(mrOk);      // vetoed: the loop goes on
        PostMessage(dialog->GetHandle(), WM_CLOSE, 0, 0);  // Close on a modal form cancels
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
}

TEST_F(FormsTest, AModalFormNobodyAnswersFailsInsteadOfHanging)
{
    TForm* dialog = MakeForm("Dialog");
    dialog->SetCaption("Forgotten");
    EXPECT_THROW(dialog->ShowModal(), EIdleLoop);
    EXPECT_FALSE(dialog->GetFormState().Contains(fsModal));
    EXPECT_THROW(
        {
            dialog->Show();
            dialog->ShowModal();
        },
        EInvalidOperation);
}

TEST_F(FormsTest, TabMovesTheFocusInTabOrderAndTheScreenReportsIt)
{
    TForm* form = MakeForm("F");
    auto* a = Make<TFocusBox>(form, "A", 10, 10, 60, 24);
    auto* c = Make<TFocusBox>(form, "C", 10, 70, 60, 24);
    auto* b = Make<TFocusBox>(form, "B", 10, 40, 60, 24);
    b->SetTabOrder(1);
    std::vector<std::string> changes;
    Screen->OnActiveControlChange = [&](TObject*) {
        changes.push_back(Screen->GetActiveControl() ? Screen->GetActiveControl()->GetName() : "-");
    };
    form->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(form->GetActiveControl(), a);
    Input::KeyPress(VK_TAB);
    EXPECT_TRUE(b->Focused());
    Input::KeyPress(VK_TAB);
    EXPECT_TRUE(c->Focused());
    Input::KeyPress(VK_TAB, Input::Shift);
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(form->GetActiveControl(), b);
    EXPECT_EQ(changes, (std::vector<std::string>{"A", "B", "C", "B"}));
    // Tab was a dialog key: the focused control never saw it.
    EXPECT_TRUE(a->Keys.empty());
    // The handler writes to this test's locals; freeing the form later changes the focus again.
    Screen->OnActiveControlChange = {};
}

TEST_F(FormsTest, ActiveControlGetsTheFocusWhenTheFormActivates)
{
    TForm* one = MakeForm("One");
    auto* a = Make<TFocusBox>(one, "A", 10, 10, 60, 24);
    auto* b = Make<TFocusBox>(one, "B", 10, 40, 60, 24);
    TForm* two = MakeForm("Two", 450, 80);
    auto* x = Make<TFocusBox>(two, "X", 10, 10, 60, 24);
    // A hidden form's controls cannot be focused.
    EXPECT_THROW(one->SetActiveControl(b), EInvalidOperation);
    one->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(a->Focused());
    one->SetActiveControl(b);
    EXPECT_TRUE(b->Focused());
    two->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(x->Focused());
    EXPECT_EQ(Screen->GetActiveForm(), two);
    POINT p = Input::CenterOf(one->GetHandle());
    Input::Click(p.x, p.y + 60);  // on the form, not on a control
    EXPECT_EQ(Screen->GetActiveForm(), one);
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(Screen->GetActiveControl(), b);
}

TEST_F(FormsTest, KeyPreviewLetsTheFormSeeKeysFirst)
{
    TForm* form = MakeForm("F");
    auto* box = Make<TFocusBox>(form, "Box", 10, 10, 60, 24);
    std::string formKeys;
    form->OnKeyPress = [&](TObject*, char& Key) {
        formKeys += Key;
        if (Key == 'x') Key = 0;  // swallowed
    };
    form->Show();
    ProcessPendingMessages();
    ASSERT_TRUE(box->Focused());
    Input::TypeText("ax");
    EXPECT_EQ(formKeys, "");
    EXPECT_EQ(box->Typed, "ax");
    box->Typed.clear();
    form->SetKeyPreview(true);
    Input::TypeText("ax");
    EXPECT_EQ(formKeys, "ax");
    EXPECT_EQ(box->Typed, "a");
}

TEST_F(FormsTest, StyleAndBorderChooseTheWindowStyles)
{
    struct Case {
        TFormBorderStyle Border;
        TFormStyle Style;
        DWORD Has;
        DWORD HasNot;
        DWORD ExHas;
    } cases[] = {
        {bsSizeable, fsNormal, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MAXIMIZEBOX, WS_POPUP, 0},
        {bsSingle, fsNormal, WS_CAPTION | WS_MINIMIZEBOX, WS_THICKFRAME, 0},
        {bsDialog, fsNormal, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
         WS_EX_DLGMODALFRAME},
        {bsNone, fsNormal, WS_POPUP, WS_CAPTION | WS_THICKFRAME, 0},
        {bsToolWindow, fsNormal, WS_CAPTION, WS_THICKFRAME | WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW},
        {bsSizeToolWin, fsNormal, WS_CAPTION | WS_THICKFRAME, WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW},
        {bsSizeable, fsStayOnTop, WS_CAPTION, 0, WS_EX_TOPMOST},
    };
    for (const Case& k : cases) {
        TForm* form = MakeForm("F");
        form->SetBorderStyle(k.Border);
        form->SetFormStyle(k.Style);
        form->Show();
        DWORD style = DWORD(GetWindowLongPtr(form->GetHandle(), GWL_STYLE));
        DWORD ex = DWORD(GetWindowLongPtr(form->GetHandle(), GWL_EXSTYLE));
        EXPECT_EQ(style & k.Has, k.Has) << int(k.Border);
        EXPECT_EQ(style & k.HasNot, 0u) << int(k.Border);
        EXPECT_EQ(ex & k.ExHas, k.ExHas) << int(k.Border);
        Free(form);
        Forget(form);
    }
}

TEST_F(FormsTest, ClientSizeSetBeforeTheWindowExistsIsTheClientAreaLater)
{
    TForm* form = MakeForm("F");
    form->SetBorderStyle(bsSingle);
    form->SetClientWidth(250);
    form->SetClientHeight(120);
    form->Show();
    RECT r;
    ::host::GetClientRect(form->GetHandle(), &r);
    EXPECT_EQ(r.right, 250);
    EXPECT_EQ(r.bottom, 120);
    EXPECT_GT(form->GetWidth(), 250);
}

TEST_F(FormsTest, PositionPlacesTheFormWhenFirstShown)
{
    TForm* centred = MakeForm("C", 5, 5, 200, 100);
    centred->SetPosition(poScreenCenter);
    centred->Show();
    EXPECT_EQ(centred->GetLeft(), (800 - 200) / 2);
    EXPECT_EQ(centred->GetTop(), (600 - 100) / 2);
    TForm* designed = MakeForm("D", 7, 9, 200, 100);
    designed->Show();
    EXPECT_EQ(designed->GetLeft(), 7);
    EXPECT_EQ(designed->GetTop(), 9);
    TForm* sized = MakeForm("S", 7, 9, 200, 100);
    sized->SetPosition(poDefaultSizeOnly);
    sized->Show();
    EXPECT_EQ(sized->GetLeft(), 7);
    EXPECT_EQ(sized->GetWidth(), 600);
}

TEST_F(FormsTest, StayOnTopFormsStayAboveNormalOnes)
{
    TForm* top = MakeForm("Top");
    top->SetFormStyle(fsStayOnTop);
    top->Show();
    TForm* normal = MakeForm("Normal");
    normal->Show();
    ProcessPendingMessages();
    EXPECT_EQ(GetActiveWindow(), normal->GetHandle());
    // The topmost window stays first in z order even though the other is active.
    EXPECT_EQ(GetTopWindow(nullptr), top->GetHandle());
}

TEST_F(FormsTest, MDIChildrenLiveInTheFramesClientArea)
{
    TForm* frame = MakeForm("Frame", 0, 0, 600, 400);
    frame->SetFormStyle(fsMDIForm);
    frame->Show();
    ASSERT_NE(frame->GetClientHandle(), nullptr);
    TForm* child = MakeForm("Child", 10, 10, 200, 120);
    child->SetFormStyle(fsMDIChild);
    child->Show();
    EXPECT_EQ(GetParent(child->GetHandle()), frame->GetClientHandle());
    EXPECT_TRUE(GetWindowLongPtr(child->GetHandle(), GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(frame->GetMDIChildCount(), 1);
    EXPECT_EQ(frame->GetMDIChildren(0), child);
    // The child's place is measured in the client window, inside the frame.
    POINT origin{0, 0};
    ClientToScreen(frame->GetClientHandle(), &origin);
    RECT frameRect, r;
    GetWindowRect(frame->GetHandle(), &frameRect);
    GetWindowRect(child->GetHandle(), &r);
    EXPECT_EQ(r.left, origin.x + 10);
    EXPECT_EQ(r.top, origin.y + 10);
    EXPECT_GT(origin.y, frameRect.top + GetSystemMetrics(SM_CYCAPTION));
    // Closing an MDI child minimizes it.
    child->Close();
    EXPECT_EQ(child->GetWindowState(), wsMinimized);
}

TEST_F(FormsTest, AnMDIChildWithoutAFrameCannotBeShown)
{
    TForm* child = MakeForm("Child");
    child->SetFormStyle(fsMDIChild);
    EXPECT_THROW(child->Show(), EInvalidOperation);
}

class TLayoutForm : public TForm {
    HOST_CLASS(TLayoutForm, TForm)
public:
    explicit TLayoutForm(TComponent* AOwner) : TForm(AOwner)
    {
        InitInheritedComponent(this, TLayoutForm::StaticClass());
    }
    TFocusBox* Box1 = nullptr;
    int Creates = 0;
    void FormCreate(TObject*) { ++Creates; }
};
HOST_PUBLISHED(TLayoutForm)
{
    P.Field("Box1", &TLayoutForm::Box1);
    P.Method("FormCreate", &TLayoutForm::FormCreate);
}

TEST_F(FormsTest, AStoredLayoutCreatesTheFormsComponents)
{
    RegisterClasses({TLayoutForm::StaticClass(), TFocusBox::StaticClass()});
    static const char layout[] =
        "object LayoutForm: TLayoutForm\n"
        "  Left = 40\n  Top = 30\n  BorderStyle = bsDialog\n  Caption = 'Stored'\n"
        "  ClientHeight = 150\n  ClientWidth = 260\n  KeyPreview = True\n"
        "  OnCreate = FormCreate\n"
        "  object Box1: TFocusBox\n    Left = 8\n    Top = 12\n    Width = 90\n    Height = 20\n  end\n"
        "end\n";
    RegisterResource(TResType::FormLayout, "TLayoutForm", layout);
    TLayoutForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form->Box1, nullptr);
    EXPECT_EQ(form->Box1->GetParent(), form);
    EXPECT_EQ(form->Box1->GetWidth(), 90);
    EXPECT_EQ(form->GetCaption(), "Stored");
    EXPECT_EQ(form->GetBorderStyle(), bsDialog);
    EXPECT_TRUE(form->GetKeyPreview());
    EXPECT_EQ(form->Creates, 1);
    EXPECT_EQ(Application->GetMainForm(), form);
    form->Show();
    EXPECT_EQ(form->GetClientWidth(), 260);
    EXPECT_EQ(form->GetClientHeight(), 150);

    // And it writes back what it read.
    std::string text = ObjectBinaryToText(WriteComponentToString(form));
    EXPECT_EQ(text.find("Width = "), text.find("ClientWidth = ") + 6) << text;  // only the client size
    for (const char* part : {"BorderStyle = bsDialog", "ClientWidth = 260", "KeyPreview = True", "object Box1: TFocusBox",
                             "OnCreate = FormCreate"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    UnregisterResource(TResType::FormLayout, "TLayoutForm");
}

} // namespace
} // namespace formstest

namespace formstest {
namespace {

TEST_F(FormsTest, DraggingTheBorderResizesAndASubclassedProcedureCanClampIt)
{
    TForm* form = MakeForm("F", 100, 80, 300, 200);
    int resizes = 0;
    form->OnResize = [&](TObject*) { ++resizes; };
    form->Show();
    ProcessPendingMessages();
    RECT r;
    GetWindowRect(form->GetHandle(), &r);
    POINT edge{r.right - 2, (r.top + r.bottom) / 2};
    ASSERT_EQ(SendMessage(form->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTRIGHT);
    Input::Drag(edge, POINT{edge.x + 100, edge.y});
    EXPECT_EQ(form->GetWidth(), 400);
    EXPECT_GT(resizes, 0);

    // A hook on the form's window procedure, as the library's form sizer does.
    int changing = 0;
    WNDPROC old = nullptr;
    HWND wnd = form->GetHandle();
    WNDPROC hook = MakeObjectInstance([&](TMessage& M) {
        if (M.Msg == WM_WINDOWPOSCHANGING) {
            ++changing;
            auto* pos = reinterpret_cast<WINDOWPOS*>(M.LParam);
            if (!(pos->flags & SWP_NOSIZE) && pos->cx > 450) pos->cx = 450;
        }
        M.Result = CallWindowProc(old, wnd, M.Msg, M.WParam, M.LParam);
    });
    old = reinterpret_cast<WNDPROC>(SetWindowLong(wnd, GWL_WNDPROC, LONG_PTR(hook)));
    GetWindowRect(wnd, &r);
    edge = POINT{r.right - 2, (r.top + r.bottom) / 2};
    Input::Drag(edge, POINT{edge.x + 200, edge.y});
    EXPECT_EQ(form->GetWidth(), 450);
    EXPECT_GT(changing, 0);
    SetWindowLong(wnd, GWL_WNDPROC, LONG_PTR(old));
    FreeObjectInstance(hook);
    form->SetWidth(500);  // the hook is gone
    EXPECT_EQ(form->GetWidth(), 500);
}

} // namespace
} // namespace formstest

#include "host/vcl/StdEdit.h"

namespace formstest {
namespace {

TEST_F(FormsTest, TypingGoesToTheFocusedEditOfTheActiveForm)
{
    TForm* form = MakeForm("F");
    auto* first = Make<TEdit>(form, "First", 10, 10, 150, 21);
    auto* second = Make<TEdit>(form, "Second", 10, 40, 150, 21);
    std::vector<std::string> changes;
    second->OnChange = [&](TObject*) { changes.push_back(second->GetText()); };
    form->Show();
    ProcessPendingMessages();
    EXPECT_TRUE(first->Focused());
    Input::KeyPress(VK_TAB);
    EXPECT_TRUE(second->Focused());
    Input::TypeText("Ab1");
    EXPECT_EQ(second->GetText(), "Ab1");
    EXPECT_EQ(first->GetText(), "");
    EXPECT_EQ(changes, (std::vector<std::string>{"A", "Ab", "Ab1"}));
    EXPECT_EQ(Screen->GetActiveControl(), second);
}

} // namespace
} // namespace formstest

namespace formstest {
namespace {

TEST_F(FormsTest, OnPaintDrawsOnTheFormsCanvasOverItsColour)
{
    TForm* form = MakeForm("F", 50, 50, 200, 150);
    form->SetColor(clWhite);
    int paints = 0;
    form->OnPaint = [&](TObject*) {
        ++paints;
        form->GetCanvas()->GetBrush()->SetColor(clRed);
        form->GetCanvas()->FillRect(TRect{10, 10, 20, 20});
    };
    form->Show();
    ProcessPendingMessages();
    EXPECT_GT(paints, 0);
    HDC dc = GetDC(form->GetHandle());
    EXPECT_EQ(GetPixel(dc, 15, 15), ColorToRGB(clRed));
    EXPECT_EQ(GetPixel(dc, 25, 25), ColorToRGB(clWhite));
    ReleaseDC(form->GetHandle(), dc);
}

} // namespace
} // namespace formstest
