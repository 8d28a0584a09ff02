// The control tree: message dispatch, parents and windows, inherited
// appearance, lifetime and streaming.
#include "ControlTest.h"

#include "host/vcl/Filer.h"

namespace controltest {
namespace {

// Two levels of handlers for the same message, and one message nobody handles.
class TBaseCtl : public TControl {
    HOST_CLASS(TBaseCtl, TControl)
    HOST_MESSAGES(TBaseCtl)
public:
    using TControl::TControl;
    std::vector<std::string> Seen;
    void DefaultHandler(TMessage& Message) override
    {
        if (Message.Msg == CM_CHANGED || Message.Msg == WM_USER) Seen.push_back("default");
        inherited::DefaultHandler(Message);
    }

protected:
    void CMChanged(TMessage& Message)
    {
        Seen.push_back("base");
        Message.Result = 7;
    }
    void CMTextChanged(TMessage&) { Seen.push_back("base text"); }
};

class TDerivedCtl : public TBaseCtl {
    HOST_CLASS(TDerivedCtl, TBaseCtl)
    HOST_MESSAGES(TDerivedCtl)
public:
    using TBaseCtl::TBaseCtl;

protected:
    void CMChanged(TMessage& Message)
    {
        Seen.push_back("derived");
        inherited::Dispatch(Message);
    }
    void WMUser(TMessage& Message)
    {
        Seen.push_back("derived user");
        inherited::Dispatch(Message);
    }
};

HOST_MESSAGE_MAP(TBaseCtl)
{
    M(CM_CHANGED, &TBaseCtl::CMChanged);
    M(CM_TEXTCHANGED, &TBaseCtl::CMTextChanged);
}

HOST_MESSAGE_MAP(TDerivedCtl)
{
    M(CM_CHANGED, &TDerivedCtl::CMChanged);
    M(WM_USER, &TDerivedCtl::WMUser);
}

TEST_F(ControlTest, DispatchRunsMostDerivedHandlerAndInheritedReachesAncestorsAndDefault)
{
    auto* c = new TDerivedCtl(nullptr);
    struct Case {
        UINT Msg;
        std::vector<std::string> Expected;
        LRESULT Result;
    } cases[] = {
        {CM_CHANGED, {"derived", "base"}, 7},
        {WM_USER, {"derived user", "default"}, 0},
        {CM_TEXTCHANGED, {"base text"}, 0},
    };
    for (const Case& k : cases) {
        c->Seen.clear();
        EXPECT_EQ(c->Perform(k.Msg, 0, 0), k.Result) << k.Msg;
        EXPECT_EQ(c->Seen, k.Expected) << k.Msg;
    }
    // A base-class object does not see the derived handlers.
    auto* b = new TBaseCtl(nullptr);
    b->Perform(WM_USER, 0, 0);
    EXPECT_EQ(b->Seen, (std::vector<std::string>{"default"}));
    b->Free();
    c->Free();
}

TEST_F(ControlTest, WindowProcCanBeHookedAndRestored)
{
    auto* c = new TDerivedCtl(nullptr);
    TWndMethodEvent old = c->GetWindowProc();
    int hooked = 0;
    TWndMethodEvent hook = [&](TMessage& M) {
        ++hooked;
        old(M);
    };
    c->SetWindowProc(hook);
    EXPECT_TRUE(c->GetWindowProc() == hook);
    EXPECT_EQ(c->Perform(CM_CHANGED, 0, 0), 7);
    EXPECT_EQ(hooked, 1);
    c->SetWindowProc(old);
    c->Perform(CM_CHANGED, 0, 0);
    EXPECT_EQ(hooked, 1);
    c->Free();
}

TEST_F(ControlTest, TextWithAndWithoutWindow)
{
    TTestPanel* root = Root();
    auto* box = Make<TTestBox>(root, "Box", 0, 0, 10, 10);
    auto* panel = Make<TTestPanel>(root, "Panel", 0, 0, 10, 10);
    box->SetText("graphic");
    panel->SetText("windowed");
    ASSERT_TRUE(panel->HandleAllocated());
    char buf[32];
    GetWindowText(panel->GetHandle(), buf, sizeof buf);
    EXPECT_STREQ(buf, "windowed");
    EXPECT_EQ(box->GetText(), "graphic");
    // A short buffer takes what fits and a terminating zero.
    char small[4];
    EXPECT_EQ(box->GetTextBuf(small, sizeof small), 3);
    EXPECT_STREQ(small, "gra");
}

TEST_F(ControlTest, WindowsAreCreatedWhenTheParentShowsAndFollowVisible)
{
    TTestPanel* root = Root();
    EXPECT_TRUE(root->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(root->GetHandle()));
    auto* child = new TTestPanel(nullptr);
    child->SetVisible(false);
    child->SetParent(root);
    // A hidden control gets its window when it is first shown.
    EXPECT_FALSE(child->HandleAllocated());
    EXPECT_FALSE(child->GetShowing());
    child->SetVisible(true);
    EXPECT_TRUE(child->GetShowing());
    EXPECT_TRUE(IsWindowVisible(child->GetHandle()));
    EXPECT_EQ(GetParent(child->GetHandle()), root->GetHandle());
    EXPECT_EQ(FindControl(child->GetHandle()), child);
    // Without a parent there is no window to be in.
    auto* orphan = new TTestPanel(nullptr);
    orphan->SetName("Orphan");
    EXPECT_THROW(orphan->GetHandle(), EInvalidOperation);
    orphan->Free();
}

TEST_F(ControlTest, SetBoundsMovesTheWindowAndWindowMovesUpdateBounds)
{
    TTestPanel* root = Root();
    auto* child = Make<TTestPanel>(root, "Child", 10, 20, 30, 40);
    child->SetBounds(50, 60, 70, 80);
    RECT r;
    GetWindowRect(child->GetHandle(), &r);
    POINT tl{r.left, r.top};
    ScreenToClient(root->GetHandle(), &tl);
    EXPECT_EQ(tl.x, 50);
    EXPECT_EQ(tl.y, 60);
    EXPECT_EQ(r.right - r.left, 70);
    EXPECT_EQ(r.bottom - r.top, 80);
    MoveWindow(child->GetHandle(), 5, 6, 7, 8, TRUE);
    EXPECT_EQ(child->GetBoundsRect(), (TRect{5, 6, 12, 14}));
    EXPECT_EQ(child->GetClientWidth(), 7);
}

TEST_F(ControlTest, RecreatedWindowKeepsTextBoundsAndFocus)
{
    TTestPanel* root = Root();
    auto* child = Make<TTestPanel>(root, "Child", 10, 20, 30, 40);
    child->SetText("Kept");
    child->SetFocus();
    HWND old = child->GetHandle();
    child->RecreateWnd();
    ASSERT_TRUE(child->HandleAllocated());
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(child->GetText(), "Kept");
    char buf[16];
    GetWindowText(child->GetHandle(), buf, sizeof buf);
    EXPECT_STREQ(buf, "Kept");
    EXPECT_EQ(child->GetBoundsRect(), (TRect{10, 20, 40, 60}));
    EXPECT_TRUE(child->Focused());
}

TEST_F(ControlTest, ParentColorAndFontSpreadDownUntilAChildSetsItsOwn)
{
    TTestPanel* root = Root();
    auto* mid = Make<TTestPanel>(root, "Mid", 0, 0, 50, 50);
    auto* leaf = Make<TTestBox>(mid, "Leaf", 0, 0, 10, 10);
    auto* own = Make<TTestBox>(mid, "Own", 0, 0, 10, 10);
    own->SetColor(clLime);
    own->GetFont()->SetSize(20);
    EXPECT_FALSE(own->GetParentColor());
    EXPECT_FALSE(own->GetParentFont());

    root->SetColor(clRed);
    root->GetFont()->SetSize(14);
    root->GetFont()->SetName("Courier New");
    EXPECT_EQ(mid->GetColor(), clRed);
    EXPECT_EQ(leaf->GetColor(), clRed);
    EXPECT_EQ(leaf->GetFont()->GetSize(), 14);
    EXPECT_EQ(leaf->GetFont()->GetName(), "Courier New");
    EXPECT_TRUE(leaf->GetParentColor());
    EXPECT_TRUE(leaf->GetParentFont());
    EXPECT_EQ(own->GetColor(), clLime);
    EXPECT_EQ(own->GetFont()->GetSize(), 20);

    // Turning ParentColor back on takes the parent's colour at once.
    own->SetParentColor(true);
    EXPECT_EQ(own->GetColor(), clRed);
    // A control placed later takes the parent's values when inserted.
    auto* late = new TTestBox(nullptr);
    late->SetParent(mid);
    EXPECT_EQ(late->GetColor(), clRed);
    EXPECT_EQ(late->GetFont()->GetSize(), 14);
    // The background brush of a windowed control follows its colour.
    EXPECT_EQ(mid->GetBrush()->GetColor(), clRed);
}

TEST_F(ControlTest, ParentShowHintAndCtl3DSpread)
{
    TTestPanel* root = Root();
    auto* child = Make<TTestPanel>(root, "Child", 0, 0, 10, 10);
    auto* box = Make<TTestBox>(child, "Box", 0, 0, 5, 5);
    root->SetShowHint(true);
    root->SetCtl3D(false);
    EXPECT_TRUE(box->GetShowHint());
    EXPECT_FALSE(box->GetCtl3D());
    EXPECT_TRUE(box->GetParentShowHint());
}

TEST_F(ControlTest, FreeingAParentFreesItsChildrenWhoeverOwnsThem)
{
    TTestPanel* root = Root();
    auto* owner = new TComponent(nullptr);
    auto* panel = Make<TTestPanel>(root, "Panel", 0, 0, 100, 100, owner);
    Make<TTestBox>(panel, "Box", 0, 0, 10, 10, owner);
    auto* inner = Make<TTestPanel>(panel, "Inner", 0, 0, 10, 10, owner);
    Make<TTestBox>(inner, "Deep", 0, 0, 5, 5, panel);
    HWND innerWnd = inner->GetHandle();
    Log().clear();
    panel->Free();
    std::vector<std::string> log = TakeLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log.front(), "destroy Panel");
    EXPECT_EQ(owner->GetComponentCount(), 0);
    EXPECT_FALSE(IsWindow(innerWnd));
    EXPECT_EQ(root->GetControlCount(), 0);
    owner->Free();
}

TEST_F(ControlTest, AParentCannotBeTheControlOrInsideIt)
{
    TTestPanel* root = Root();
    auto* a = Make<TTestPanel>(root, "A", 0, 0, 10, 10);
    auto* b = Make<TTestPanel>(a, "B", 0, 0, 10, 10);
    EXPECT_THROW(a->SetParent(a), EInvalidOperation);
    EXPECT_THROW(a->SetParent(b), EInvalidOperation);
    EXPECT_EQ(a->GetParent(), root);
    EXPECT_EQ(b->GetParent(), a);
}

TEST_F(ControlTest, ChildrenAndLookups)
{
    TTestPanel* root = Root();
    auto* w1 = Make<TTestPanel>(root, "W1", 0, 0, 50, 50);
    auto* g1 = Make<TTestBox>(root, "G1", 60, 0, 20, 20);
    auto* g2 = Make<TTestBox>(root, "G2", 70, 10, 20, 20);
    auto* g3 = Make<TTestBox>(w1, "G3", 0, 0, 5, 5);
    // Graphic controls come first, then windowed ones.
    ASSERT_EQ(root->GetControlCount(), 3);
    EXPECT_EQ(root->GetControls(0), g1);
    EXPECT_EQ(root->GetControls(2), w1);
    EXPECT_EQ(root->FindChildControl("g2"), g2);
    EXPECT_EQ(root->FindChildControl("G3"), nullptr);
    EXPECT_TRUE(root->ContainsControl(g3));
    EXPECT_FALSE(w1->ContainsControl(g1));
    // The topmost graphic control under a point wins; BringToFront changes that.
    EXPECT_EQ(root->ControlAtPos(TPoint{75, 15}, false), g2);
    g1->BringToFront();
    EXPECT_EQ(root->ControlAtPos(TPoint{75, 15}, false), g1);
    g1->SetEnabled(false);
    EXPECT_EQ(root->ControlAtPos(TPoint{75, 15}, false), g2);
    EXPECT_EQ(root->ControlAtPos(TPoint{75, 15}, true), g1);
    EXPECT_EQ(root->ControlAtPos(TPoint{10, 10}, false), nullptr);
    EXPECT_EQ(root->ControlAtPos(TPoint{10, 10}, false, true), w1);
}

TEST_F(ControlTest, CommandsFromAChildWindowAreReflectedToItsControl)
{
    TTestPanel* root = Root();
    auto* child = Make<TTestPanel>(root, "Child", 0, 0, 10, 10);
    TakeLog();
    LRESULT r = SendMessage(root->GetHandle(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED + 3), LPARAM(child->GetHandle()));
    EXPECT_EQ(r, 5);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"command Child 3"}));
    // A command from a window no control owns is left to the window.
    EXPECT_EQ(SendMessage(root->GetHandle(), WM_COMMAND, 0, LPARAM(FHost)), 0);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(ControlTest, ClientCoordinatesMapToTheScreen)
{
    TTestPanel* root = Root();
    auto* w = Make<TTestPanel>(root, "W", 30, 40, 50, 50);
    auto* g = Make<TTestBox>(w, "G", 5, 6, 10, 10);
    TPoint s = g->ClientToScreen(TPoint{1, 2});
    // The host window sits at (20, 30) without a frame.
    EXPECT_EQ(s, (TPoint{20 + 30 + 5 + 1, 30 + 40 + 6 + 2}));
    EXPECT_EQ(w->ScreenToClient(s), (TPoint{6, 8}));
}

TEST_F(ControlTest, ControlsStreamThroughATextForm)
{
    TTestPanel* root = Root();
    auto* a = Make<TTestPanel>(root, "A", 10, 20, 100, 50, root);
    a->SetCaption("Hello");
    a->SetColor(clYellow);
    a->SetTabStop(true);
    a->SetCursor(crHandPoint);
    a->SetHint("A hint");
    auto* b = Make<TTestPanel>(root, "B", 10, 80, 100, 50, root);
    b->SetTabStop(true);
    b->SetTabOrder(0);
    auto* box = Make<TTestBox>(a, "Box", 1, 2, 3, 4, root);
    box->SetAlign(alNone);
    std::string text = ObjectBinaryToText(WriteComponentToString(root));
    EXPECT_NE(text.find("object A: TTestPanel"), std::string::npos) << text;
    EXPECT_NE(text.find("Caption = 'Hello'"), std::string::npos) << text;
    EXPECT_NE(text.find("Color = clYellow"), std::string::npos) << text;
    EXPECT_NE(text.find("ParentColor = False"), std::string::npos) << text;
    EXPECT_NE(text.find("Cursor = crHandPoint"), std::string::npos) << text;
    EXPECT_EQ(text.find("ParentFont"), std::string::npos) << text;

    auto* copy = static_cast<TTestPanel*>(ReadComponentFromString(ObjectTextToBinary(text), nullptr));
    FRoots.push_back(copy);
    auto* ca = dynamic_cast<TTestPanel*>(copy->FindComponent("A"));
    auto* cb = dynamic_cast<TTestPanel*>(copy->FindComponent("B"));
    auto* cbox = dynamic_cast<TTestBox*>(copy->FindComponent("Box"));
    ASSERT_TRUE(ca && cb && cbox);
    EXPECT_EQ(ca->GetParent(), copy);
    EXPECT_EQ(cbox->GetParent(), ca);
    EXPECT_EQ(ca->GetBoundsRect(), (TRect{10, 20, 110, 70}));
    EXPECT_EQ(cbox->GetBoundsRect(), (TRect{1, 2, 4, 6}));
    EXPECT_EQ(ca->GetCaption(), "Hello");
    EXPECT_EQ(ca->GetColor(), clYellow);
    EXPECT_EQ(cbox->GetColor(), clYellow);
    EXPECT_EQ(ca->GetCursor(), crHandPoint);
    EXPECT_EQ(ca->GetHint(), "A hint");
    EXPECT_EQ(cb->GetTabOrder(), 0);
    EXPECT_EQ(ca->GetTabOrder(), 1);
}

} // namespace
} // namespace controltest
