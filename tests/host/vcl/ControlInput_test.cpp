// Controls driven by injected mouse and keyboard input.
#include "ControlTest.h"

namespace controltest {
namespace {

TEST_F(ControlTest, ClicksReachWindowedAndGraphicControlsWithClientCoordinates)
{
    TTestPanel* root = Root();
    auto* panel = Make<TTestPanel>(root, "Panel", 50, 40, 120, 80);
    auto* box = Make<TTestBox>(panel, "Box", 30, 20, 40, 30);
    auto* back = Make<TTestBox>(root, "Back", 200, 10, 40, 30);
    std::vector<std::string> clicks;
    auto onClick = [&](TObject* Sender) { clicks.push_back(static_cast<TComponent*>(Sender)->GetName()); };
    panel->OnClick = onClick;
    box->OnClick = onClick;
    back->OnClick = onClick;

    struct Case {
        TControl* Target;
        TPoint At;
        std::string Clicked;
    } cases[] = {
        {panel, {5, 6}, "Panel"},
        {box, {7, 8}, "Box"},
        {back, {39, 29}, "Back"},
    };
    for (const Case& k : cases) {
        clicks.clear();
        TPoint s = ScreenOf(k.Target, k.At.x, k.At.y);
        Input::Click(s.x, s.y);
        EXPECT_EQ(clicks, (std::vector<std::string>{k.Clicked})) << k.Clicked;
    }
    EXPECT_EQ(panel->LastDown, (TPoint{5, 6}));
    EXPECT_EQ(box->LastDown, (TPoint{7, 8}));
    EXPECT_EQ(back->LastDown, (TPoint{39, 29}));
}

TEST_F(ControlTest, APressReleasedOutsideIsNoClickAndCaptureFollowsTheGraphicControl)
{
    TTestPanel* root = Root();
    auto* box = Make<TTestBox>(root, "Box", 10, 10, 40, 30);
    int clicks = 0;
    std::vector<TPoint> moves;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->OnMouseMove = [&](TObject*, TShiftState, int X, int Y) { moves.push_back(TPoint{X, Y}); };
    TPoint in = ScreenOf(box, 5, 5);
    Input::Drag(in, TPoint{in.x + 100, in.y + 100}, 2);
    EXPECT_EQ(clicks, 0);
    // While the button is down the box keeps getting the mouse, even outside.
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), (TPoint{105, 105}));
    EXPECT_EQ(GetCaptureControl(), nullptr);
    Input::AdvanceTime(GetDoubleClickTime() + 1);  // not a double click
    Input::Click(in.x, in.y);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlTest, DoubleClickFiresOnDblClickWithDoubleInShift)
{
    TTestPanel* root = Root();
    auto* panel = Make<TTestPanel>(root, "Panel", 10, 10, 50, 50);
    int dbl = 0;
    panel->OnDblClick = [&](TObject*) { ++dbl; };
    TPoint s = ScreenOf(panel, 3, 3);
    Input::DoubleClick(s.x, s.y);
    EXPECT_EQ(dbl, 1);
    EXPECT_TRUE(panel->LastShift.Contains(ssDouble));
}

TEST_F(ControlTest, TabMovesFocusInTabOrderWithEnterAndExit)
{
    TTestPanel* root = Root();
    auto* a = Make<TTestPanel>(root, "A", 0, 0, 50, 50);
    auto* group = Make<TTestPanel>(root, "Group", 60, 0, 100, 100);
    auto* b = Make<TTestPanel>(group, "B", 0, 0, 20, 20);
    auto* c = Make<TTestPanel>(root, "C", 200, 0, 50, 50);
    auto* skipped = Make<TTestPanel>(root, "Skipped", 260, 0, 20, 20);
    for (TTestPanel* p : {a, b, c}) p->SetTabStop(true);
    skipped->SetTabStop(false);
    c->SetTabOrder(0);  // C, A, Group(B)
    a->SetFocus();
    EXPECT_TRUE(a->Focused());
    TakeLog();

    Input::KeyPress(VK_TAB);
    EXPECT_TRUE(b->Focused());
    // A Tab that moves the focus is a dialog key, not a key of the control.
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"exit A", "enter Group", "enter B"}));
    Input::KeyPress(VK_TAB);
    EXPECT_TRUE(c->Focused());
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"exit B", "exit Group", "enter C"}));
    Input::KeyPress(VK_TAB, Input::Shift);
    EXPECT_TRUE(b->Focused());
    Log().clear();
    // Disabled and invisible controls are passed over.
    c->SetEnabled(false);
    Input::KeyPress(VK_TAB);
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(root->GetFocusedControl(), a);
}

TEST_F(ControlTest, TabIsNotSeenAsAKeyWhenItMovesTheFocus)
{
    TTestPanel* root = Root();
    auto* a = Make<TTestPanel>(root, "A", 0, 0, 50, 50);
    auto* b = Make<TTestPanel>(root, "B", 60, 0, 50, 50);
    a->SetTabStop(true);
    b->SetTabStop(true);
    std::string typed;
    a->OnKeyPress = [&](TObject*, char& Key) { typed += Key; };
    b->OnKeyPress = [&](TObject*, char& Key) { typed += char(std::toupper(Key)); };
    a->SetFocus();
    Input::TypeText("x\ty");
    EXPECT_EQ(typed, "xY");
}

TEST_F(ControlTest, KeyDownCanSwallowKeysAndFocusNeedsAVisibleEnabledChain)
{
    TTestPanel* root = Root();
    auto* a = Make<TTestPanel>(root, "A", 0, 0, 50, 50);
    std::vector<WORD> ups;
    a->OnKeyUp = [&](TObject*, WORD& Key, TShiftState) { ups.push_back(Key); };
    int pressed = 0;
    a->OnKeyPress = [&](TObject*, char&) { ++pressed; };
    a->SwallowKey = 'Q';
    a->SetFocus();
    Input::KeyPress('Q');
    Input::KeyPress('W');
    EXPECT_EQ(ups, (std::vector<WORD>{'Q', 'W'}));
    EXPECT_GE(pressed, 1);

    auto* hidden = Make<TTestPanel>(root, "Hidden", 0, 0, 5, 5);
    hidden->SetVisible(false);
    EXPECT_FALSE(hidden->CanFocus());
    EXPECT_THROW(hidden->SetFocus(), EInvalidOperation);
    auto* inner = Make<TTestPanel>(hidden, "Inner", 0, 0, 5, 5);
    EXPECT_FALSE(inner->CanFocus());
}

TEST_F(ControlTest, MouseEnterAndLeaveFollowTheControlUnderTheMouse)
{
    TTestPanel* root = Root();
    auto* panel = Make<TTestPanel>(root, "Panel", 10, 10, 100, 100);
    auto* box = Make<TTestBox>(panel, "Box", 10, 10, 20, 20);
    TPoint onRoot = ScreenOf(root, 300, 200);
    TPoint onPanel = ScreenOf(panel, 80, 80);
    TPoint onBox = ScreenOf(box, 5, 5);
    Input::MouseMove(onRoot.x, onRoot.y);
    TakeLog();
    Input::MouseMove(onPanel.x, onPanel.y);
    Input::MouseMove(onBox.x, onBox.y);
    Input::MouseMove(onPanel.x, onPanel.y);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"mouseleave Root", "mouseenter Panel", "mouseleave Panel",
                                                   "mouseenter Box", "mouseleave Box", "mouseenter Panel"}));
    EXPECT_EQ(GetMouseControl(), panel);
}

TEST_F(ControlTest, ExceptionsInAWindowProcedureGoToTheApplicationHandler)
{
    TTestPanel* root = Root();
    auto* panel = Make<TTestPanel>(root, "Panel", 10, 10, 50, 50);
    panel->OnClick = [](TObject*) { throw EInvalidOperation("boom"); };
    std::string caught;
    TObject* sender = nullptr;
    TExceptionHandler old = SetApplicationExceptionHandler([&](TObject* Sender) {
        sender = Sender;
        try {
            throw;
        } catch (const Exception& E) {
            caught = E.GetMessage();
        }
    });
    TPoint s = ScreenOf(panel, 5, 5);
    Input::Click(s.x, s.y);
    SetApplicationExceptionHandler(old);
    EXPECT_EQ(caught, "boom");
    EXPECT_EQ(sender, panel);
}

TEST_F(ControlTest, DraggingAControlOntoAnotherDropsIt)
{
    TTestPanel* root = Root();
    auto* source = Make<TTestBox>(root, "Source", 10, 10, 30, 30);
    auto* target = Make<TTestPanel>(root, "Target", 200, 100, 100, 100);
    auto* refuser = Make<TTestPanel>(root, "Refuser", 50, 200, 50, 50);
    source->SetDragMode(dmAutomatic);
    std::vector<std::string> events;
    target->OnDragOver = [&](TObject*, TObject* Source, int, int, TDragState State, bool& Accept) {
        if (State == dsDragEnter) events.push_back("enter");
        Accept = Source == source;
    };
    refuser->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& Accept) { Accept = false; };
    TPoint dropAt{-1, -1};
    target->OnDragDrop = [&](TObject*, TObject* Source, int X, int Y) {
        events.push_back("drop " + static_cast<TComponent*>(Source)->GetName());
        dropAt = TPoint{X, Y};
    };
    TObject* endTarget = reinterpret_cast<TObject*>(1);
    source->OnEndDrag = [&](TObject*, TObject* Target, int, int) { endTarget = Target; };

    Input::Drag(ScreenOf(source, 5, 5), ScreenOf(target, 20, 30), 4);
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "drop Source"}));
    EXPECT_EQ(dropAt, (TPoint{20, 30}));
    EXPECT_EQ(endTarget, target);
    EXPECT_FALSE(source->Dragging());

    events.clear();
    Input::Drag(ScreenOf(source, 5, 5), ScreenOf(refuser, 10, 10), 4);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(endTarget, nullptr);
}

} // namespace
} // namespace controltest
