// The scroll box: ranges from its children, scrolling by bar and by focus.
#include "FormsTest.h"

#include "host/vcl/ScrollBox.h"
#include "host/vcl/StdEdit.h"

#include <cstdlib>

namespace formstest {
namespace {

class ScrollBoxTest : public FormsTest {
protected:
    TScrollBox* MakeBox()
    {
        FForm = MakeForm("BoxForm", 50, 40, 420, 320);
        auto* box = Make<TScrollBox>(FForm, "Box", 10, 10, 200, 150);
        box->SetBorderStyle(bsNone);
        FForm->Show();
        return box;
    }
    TForm* FForm = nullptr;
};

TEST_F(ScrollBoxTest, AutoScrollRangesFollowTheChildren)
{
    TScrollBox* box = MakeBox();
    TControlScrollBar* h = box->GetHorzScrollBar();
    TControlScrollBar* v = box->GetVertScrollBar();
    auto* a = Make<TFocusBox>(box, "A", 10, 10, 60, 24);
    EXPECT_EQ(h->GetRange(), 70);
    EXPECT_EQ(v->GetRange(), 34);
    EXPECT_FALSE(h->IsScrollBarVisible());
    EXPECT_FALSE(v->IsScrollBarVisible());
    struct Case {
        TRect Bounds;  // of child A
        int HRange, VRange;
        bool HBar, VBar;
    } cases[] = {
        {{10, 10, 70, 34}, 70, 34, false, false},
        {{10, 300, 70, 324}, 70, 324, false, true},
        {{400, 10, 460, 34}, 460, 34, true, false},
        {{400, 300, 460, 324}, 460, 324, true, true},
    };
    for (const Case& c : cases) {
        a->SetBoundsRect(c.Bounds);
        EXPECT_EQ(h->GetRange(), c.HRange);
        EXPECT_EQ(v->GetRange(), c.VRange);
        EXPECT_EQ(h->IsScrollBarVisible(), c.HBar);
        EXPECT_EQ(v->IsScrollBarVisible(), c.VBar);
        EXPECT_EQ(GetScrollPos(box->GetHandle(), SB_VERT), 0);
    }
    // A bar needed shrinks the client area the other sees.
    EXPECT_LT(box->GetClientWidth(), 200);
    EXPECT_LT(box->GetClientHeight(), 150);
    // Children aligned to the whole client area do not count.
    auto* b = Make<TFocusBox>(box, "B", 0, 0, 10, 10);
    b->SetAlign(alClient);
    EXPECT_EQ(h->GetRange(), 460);
    box->SetAutoScroll(false);
    EXPECT_EQ(h->GetRange(), 0);
    EXPECT_FALSE(v->IsScrollBarVisible());
}

TEST_F(ScrollBoxTest, ScrollBarsMoveTheChildrenAndKeepThemInRange)
{
    TScrollBox* box = MakeBox();
    auto* a = Make<TFocusBox>(box, "A", 10, 400, 60, 24);
    TControlScrollBar* v = box->GetVertScrollBar();
    ASSERT_EQ(v->GetRange(), 424);
    int client = box->GetClientHeight();
    struct Case {
        int Code;
        int Position;
    } cases[] = {
        {SB_LINEDOWN, 8},
        {SB_LINEDOWN, 16},
        {SB_LINEUP, 8},
        {SB_PAGEDOWN, 8 + client * 9 / 10},
        {SB_BOTTOM, 424 - client},
        {SB_LINEDOWN, 424 - client},
        {SB_TOP, 0},
        {SB_LINEUP, 0},
    };
    for (const Case& c : cases) {
        box->Perform(WM_VSCROLL, WPARAM(c.Code), 0);
        EXPECT_EQ(v->GetPosition(), c.Position) << c.Code;
        EXPECT_EQ(a->GetTop(), 400 - c.Position) << c.Code;
        EXPECT_EQ(GetScrollPos(box->GetHandle(), SB_VERT), c.Position) << c.Code;
        EXPECT_EQ(v->GetRange(), 424) << "the range does not move with the content";
    }
    v->SetPosition(1000);
    EXPECT_EQ(v->GetPosition(), 424 - client);
    // Clicking the bar's lower arrow scrolls by the increment.
    v->SetPosition(0);
    RECT wr;
    GetWindowRect(box->GetHandle(), &wr);
    Input::Click(wr.right - 5, wr.bottom - GetSystemMetrics(SM_CYHSCROLL) - 5);
    Input::AdvanceTime(1000);
    EXPECT_GT(v->GetPosition(), 0);
    EXPECT_EQ(a->GetTop(), 400 - v->GetPosition());
}

TEST_F(ScrollBoxTest, DraggingTheThumbMovesTheContentAtOnceOnlyWithTracking)
{
    TScrollBox* box = MakeBox();
    auto* a = Make<TFocusBox>(box, "A", 10, 600, 60, 24);
    TControlScrollBar* v = box->GetVertScrollBar();
    for (bool tracking : {false, true}) {
        v->SetTracking(tracking);
        v->SetPosition(0);
        RECT wr;
        GetWindowRect(box->GetHandle(), &wr);
        int x = wr.right - GetSystemMetrics(SM_CXVSCROLL) / 2;
        Input::MouseMove(x, wr.top + 16 + 3);  // on the thumb, below the arrow
        Input::MouseDown();
        Input::MouseMove(x, wr.top + 50);
        Input::MouseMove(x, wr.top + 80);
        int during = v->GetPosition();
        Input::MouseUp();
        EXPECT_GT(v->GetPosition(), 100) << tracking;
        EXPECT_EQ(during, tracking ? v->GetPosition() : 0) << tracking;
        EXPECT_EQ(a->GetTop(), 600 - v->GetPosition()) << tracking;
        Input::AdvanceTime(GetDoubleClickTime() + 1);
    }
}

TEST_F(ScrollBoxTest, ScrollInViewBringsAControlWhollyIntoViewWithTheMargin)
{
    TScrollBox* box = MakeBox();
    auto* low = Make<TFocusBox>(box, "Low", 10, 400, 60, 24);
    auto* right = Make<TFocusBox>(box, "Right", 500, 10, 60, 24);
    auto* top = Make<TFocusBox>(box, "Top", 10, 0, 60, 24);
    box->GetVertScrollBar()->SetMargin(6);
    box->ScrollInView(low);
    EXPECT_EQ(low->GetTop() + low->GetHeight() + 6, box->GetClientHeight());
    box->ScrollInView(right);
    EXPECT_EQ(right->GetLeft() + right->GetWidth(), box->GetClientWidth());
    box->ScrollInView(top);
    EXPECT_EQ(box->GetVertScrollBar()->GetPosition(), 0) << "the margin above the top cannot scroll past 0";
    EXPECT_EQ(top->GetTop(), 0);
    // Tabbing to a control out of sight scrolls it into view.
    low->SetTabOrder(0);
    FForm->SetFocus();
    low->SetFocus();
    EXPECT_EQ(low->GetTop() + low->GetHeight() + 6, box->GetClientHeight());
    top->SetFocus();
    EXPECT_EQ(top->GetTop(), 0);
}

TEST_F(ScrollBoxTest, ASingleBorderIsSunken)
{
    FForm = MakeForm("BoxForm", 50, 40, 420, 320);
    auto* box = Make<TScrollBox>(FForm, "Box", 10, 10, 200, 150);
    FForm->Show();
    EXPECT_TRUE(GetWindowLong(box->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(box->GetClientWidth(), 196);
    auto* edit = Make<TEdit>(box, "Edit", 10, 10, 120, 21);
    edit->SetText("scrolled");
    Make<TFocusBox>(box, "Far", 150, 300, 100, 24);
    ProcessPendingMessages();
    if (const char* dir = std::getenv("KEL_SCREENSHOTS")) Screenshot(FForm->GetHandle(), std::string(dir) + "/vcl-scrollbox.png");
    edit->Free();
    box->SetBorderStyle(bsNone);
    EXPECT_FALSE(GetWindowLong(box->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(box->GetClientWidth() + GetSystemMetrics(SM_CXVSCROLL), 200);
}

} // namespace
} // namespace formstest
