#include "general/Kelpanel.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/rtl/Clock.h"
#include "host/vcl/Buttons.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Forms.h"
#include "host/vcl/StdEdit.h"
#include "host/win/Input.h"
#include "host/win/Screen.h"

using namespace host;
using namespace kel;

namespace {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(SIZE{800, 600});
        DoneApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(50, 40, 600, 450);
        Form->Show();
    }
    void TearDown() override
    {
        Form->Free();
        DoneApplication();
        ResetWindowSystem();
    }
    template <class T>
    T* Make(TWinControl* Parent, int L, int T_, int W, int H)
    {
        auto* c = new T(Form);
        c->SetParent(Parent);
        c->SetBounds(L, T_, W, H);
        return c;
    }
    TImageData Shot(TWinControl* C)
    {
        C->Invalidate();
        ProcessPendingMessages();
        return CaptureWindow(C->GetHandle());
    }
    RECT ScreenRect(TWinControl* C)
    {
        RECT r;
        GetWindowRect(C->GetHandle(), &r);
        return r;
    }

    TForm* Form = nullptr;
    TVirtualClock Clock;
    TClockOverride Override{Clock};
};

// ---- Speed panel ------------------------------------------------------------------------------

TEST(KelPanelGrid, FitGridAdjustsTheRequestedCount)
{
    struct Case {
        int N, X;
        bool Grow;
        int Result, NewX;
    } cases[] = {
        {10, 3, false, 4, 3},  {10, 4, false, 3, 4}, {10, 6, false, 2, 5}, {10, 6, true, 1, 10},
        {10, 12, false, 1, 10}, {10, 0, false, 10, 1}, {10, 10, true, 1, 10}, {0, 3, false, 0, 0},
        {5, 2, false, 3, 2},   {7, 3, true, 3, 3},    {7, 5, true, 1, 7},    {7, 5, false, 2, 4},
    };
    for (const Case& c : cases) {
        int x = c.X;
        EXPECT_EQ(FitGrid(c.N, x, c.Grow), c.Result) << c.N << " cells, " << c.X << (c.Grow ? " growing" : "");
        EXPECT_EQ(x, c.NewX) << c.N << " cells, " << c.X << (c.Grow ? " growing" : "");
    }
}

TEST_F(PanelTest, SpeedPanelLaysOutItsButtonsInAGridInTopLeftOrder)
{
    auto* panel = Make<TSpeedPanel>(Form, 10, 10, 200, 100);
    panel->SetBevelOuter(bvNone);
    // Created out of order: the grid follows the positions, not the creation.
    const int tops[] = {200, 0, 100, 0, 50};
    const int lefts[] = {0, 40, 0, 0, 0};
    std::vector<TSpeedButton*> buttons;
    for (int i = 0; i < 5; ++i) buttons.push_back(Make<TSpeedButton>(panel, lefts[i], tops[i], 24, 24));
    panel->SetCtrlCols(2);
    panel->SetAutoSize(true);
    EXPECT_EQ(panel->GetCtrlRows(), 3);
    EXPECT_EQ(panel->GetWidth(), 58);
    EXPECT_EQ(panel->GetHeight(), 82);
    // Sorted by top, then left: buttons 3 (0,0), 1 (40,0), 4, 2, 0.
    const int order[] = {3, 1, 4, 2, 0};
    const host::TPoint cells[] = {{5, 5}, {29, 5}, {5, 29}, {29, 29}, {5, 53}};
    for (int i = 0; i < 5; ++i) {
        TSpeedButton* b = buttons[size_t(order[i])];
        EXPECT_EQ(panel->GetControls(i), b) << i;
        EXPECT_EQ(b->GetLeft(), cells[i].x) << i;
        EXPECT_EQ(b->GetTop(), cells[i].y) << i;
        EXPECT_EQ(b->GetWidth(), 24);
    }

    // Bevels, margins and a hidden button that does not count.
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelWidth(2);
    panel->SetMarginCol(3);
    panel->SetMarginRow(1);
    EXPECT_EQ(panel->GetWidth(), 24 * 2 + 3 + 2 * (2 + 5));
    EXPECT_EQ(panel->GetHeight(), 25 * 3 + 2 * (2 + 5) - 1);
    buttons[4]->SetVisible(false);
    panel->SetSizeVisibleOnly(true);
    EXPECT_EQ(panel->GetCtrlRows(), 2);
    EXPECT_EQ(buttons[4]->GetLeft(), buttons[2]->GetLeft()) << "a hidden button sits where the next one goes";
    EXPECT_EQ(buttons[4]->GetTop(), buttons[2]->GetTop());

    // Aligned to the top the panel keeps its width and fits its height.
    panel->SetAlign(alTop);
    EXPECT_EQ(panel->GetWidth(), Form->GetClientWidth());
    EXPECT_EQ(panel->GetHeight(), 25 * 2 + 2 * (2 + 5) - 1);
}

TEST_F(PanelTest, SpeedPanelSortingKeepsTheWindowsOfWindowedChildren)
{
    auto* panel = Make<TSpeedPanel>(Form, 10, 10, 200, 100);
    auto* second = Make<TEdit>(panel, 0, 40, 24, 24);
    auto* first = Make<TEdit>(panel, 0, 0, 24, 24);
    ProcessPendingMessages();
    first->SetFocus();
    HWND handle = first->GetHandle();
    panel->SetCtrlCols(1);
    panel->SetAutoSize(true);
    EXPECT_EQ(panel->GetControls(0), first);
    EXPECT_EQ(panel->GetControls(1), second);
    EXPECT_EQ(first->GetTop(), 6); // margin 5 inside the raised bevel
    EXPECT_EQ(second->GetTop(), 30);
    EXPECT_EQ(first->GetHandle(), handle);
    EXPECT_TRUE(first->Focused());
}

TEST_F(PanelTest, SpeedPanelColumnsAndRowsFollowEachOther)
{
    auto* panel = Make<TSpeedPanel>(Form, 10, 10, 200, 100);
    panel->SetCtrlCols(4); // no buttons yet: the request is kept
    EXPECT_EQ(panel->GetCtrlCols(), 4);
    for (int i = 0; i < 10; ++i) Make<TSpeedButton>(panel, i * 30, 0, 24, 24);
    panel->SetAutoSize(true);
    EXPECT_EQ(panel->GetCtrlRows(), 3);
    panel->SetCtrlCols(6); // growing
    EXPECT_EQ(panel->GetCtrlCols(), 10);
    EXPECT_EQ(panel->GetCtrlRows(), 1);
    panel->SetCtrlRows(3);
    EXPECT_EQ(panel->GetCtrlCols(), 4);
    EXPECT_EQ(panel->GetControls(9)->GetTop(), panel->GetControls(0)->GetTop() + 2 * 24);
}

// ---- Edge panel ---------------------------------------------------------------------------------

void StyleAlike(TCustomPanel* P, const char* Caption)
{
    if (auto* e = dynamic_cast<TEdgePanel*>(P)) {
        e->SetBevelInner(bvLowered);
        e->SetBevelWidth(2);
        e->SetBorderWidth(3);
    } else {
        auto* t = dynamic_cast<TPanel*>(P);
        t->SetBevelInner(bvLowered);
        t->SetBevelWidth(2);
        t->SetBorderWidth(3);
    }
    P->SetCaption(Caption);
}

TEST_F(PanelTest, EdgePanelWithAllEdgesPaintsExactlyAsAPlainPanel)
{
    auto* plain = Make<TPanel>(Form, 10, 10, 150, 60);
    auto* edge = Make<TEdgePanel>(Form, 10, 100, 150, 60);
    StyleAlike(plain, "Same");
    StyleAlike(edge, "Same");
    TImageData a = Shot(plain), b = Shot(edge);
    ASSERT_EQ(a.Width, b.Width);
    ASSERT_EQ(a.Height, b.Height);
    EXPECT_TRUE(a.Pixels == b.Pixels);
}

TEST_F(PanelTest, EdgePanelDrawsBevelsOnlyOnTheChosenEdges)
{
    auto* plain = Make<TPanel>(Form, 10, 10, 150, 60);
    auto* edge = Make<TEdgePanel>(Form, 10, 100, 150, 60);
    StyleAlike(plain, "");
    StyleAlike(edge, "");
    edge->SetBevelEdges(TBevelEdges{beTop, beBottom});
    TImageData a = Shot(plain), b = Shot(edge);
    const uint32_t face = a.Pixel(75, 30);
    // The top and bottom rows away from the corners match the plain panel.
    for (int x = 20; x < 130; x += 10) {
        for (int y : {0, 1, 5, 6, 53, 54, 58, 59}) EXPECT_EQ(b.Pixel(x, y), a.Pixel(x, y)) << x << "," << y;
    }
    // Down the sides there is no bevel, only the face colour.
    for (int y = 20; y < 40; y += 5) {
        EXPECT_NE(a.Pixel(0, y), face);
        for (int x : {0, 1, 148, 149}) EXPECT_EQ(b.Pixel(x, y), face) << x << "," << y;
    }
    // A caption sits in the middle, in the font colour.
    edge->SetCaption("Mid");
    TImageData c = Shot(edge);
    bool dark = false;
    for (int x = 60; x < 90; ++x)
        for (int y = 20; y < 40; ++y) dark = dark || c.Pixel(x, y) == 0;
    EXPECT_TRUE(dark);
}

// ---- Drag panel ---------------------------------------------------------------------------------

TEST_F(PanelTest, DragPanelMovesWithTheMouseWithinItsLimits)
{
    auto* panel = Make<TDragPanel>(Form, 100, 100, 120, 80);
    int moves = 0;
    panel->OnMove = [&](TObject*) { ++moves; };
    ProcessPendingMessages();
    RECT r = ScreenRect(panel);
    POINT from{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    Input::Drag(from, POINT{from.x + 30, from.y + 20});
    EXPECT_EQ(panel->GetLeft(), 130);
    EXPECT_EQ(panel->GetTop(), 120);
    EXPECT_GT(moves, 0);

    panel->SetMoveMaxLeft(150);
    panel->SetMoveMinTop(100);
    r = ScreenRect(panel);
    from = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    Input::Drag(from, POINT{from.x + 100, from.y - 100}, 8);
    EXPECT_EQ(panel->GetLeft(), 150);
    EXPECT_EQ(panel->GetTop(), 100);

    r = ScreenRect(panel);
    from = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    Input::Drag(from, POINT{from.x - 40, from.y + 40}, 4, Input::TButton::Right);
    Input::MouseMove(from.x - 60, from.y + 60);
    EXPECT_EQ(panel->GetLeft(), 150) << "only the left button moves the panel";

    panel->SetMSLocked(true);
    r = ScreenRect(panel);
    from = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    Input::Drag(from, POINT{from.x - 40, from.y + 40});
    EXPECT_EQ(panel->GetLeft(), 150) << "locked";
}

TEST_F(PanelTest, DragPanelInParentStopsFlushWithTheEdge)
{
    auto* host = Make<TPanel>(Form, 10, 10, 300, 200);
    host->SetBevelOuter(bvNone);
    auto* panel = Make<TDragPanel>(host, 20, 20, 100, 60);
    panel->SetOptions(TSizeMoveOptions{smMoveInParent});
    EXPECT_TRUE(panel->GetOptions().Contains(smMove)) << "moving in the parent is moving";
    ProcessPendingMessages();
    RECT r = ScreenRect(panel);
    POINT from{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    Input::Drag(from, POINT{from.x + 400, from.y + 300}, 10);
    EXPECT_EQ(panel->GetLeft(), 300 - 100);
    EXPECT_EQ(panel->GetTop(), 200 - 60);
    r = ScreenRect(panel);
    from = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    Input::Drag(from, POINT{from.x - 600, from.y - 600}, 10);
    EXPECT_EQ(panel->GetLeft(), 0);
    EXPECT_EQ(panel->GetTop(), 0);
}

TEST_F(PanelTest, DragPanelSizesByItsFrameWithinItsLimits)
{
    auto* panel = Make<TDragPanel>(Form, 100, 100, 120, 80);
    int sizes = 0;
    panel->OnSize = [&](TObject*) { ++sizes; };
    panel->SetSizeMaxWidth(200);
    ProcessPendingMessages();
    RECT r = ScreenRect(panel);
    POINT edge{r.right - 1, (r.top + r.bottom) / 2};
    ASSERT_EQ(SendMessage(panel->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTRIGHT);
    Input::Drag(edge, POINT{edge.x + 50, edge.y});
    EXPECT_EQ(panel->GetWidth(), 170);
    EXPECT_EQ(panel->GetLeft(), 100);
    EXPECT_GT(sizes, 0);
    r = ScreenRect(panel);
    edge = POINT{r.right - 1, (r.top + r.bottom) / 2};
    Input::Drag(edge, POINT{edge.x + 200, edge.y});
    EXPECT_EQ(panel->GetWidth(), 200) << "SizeMaxWidth";
    r = ScreenRect(panel);
    edge = POINT{r.right - 1, (r.top + r.bottom) / 2};
    Input::Drag(edge, POINT{edge.x - 400, edge.y});
    EXPECT_EQ(panel->GetWidth(), 30) << "SizeMinWidth";
}

TEST_F(PanelTest, DragPanelFrameAnswersFollowAlignAndOptions)
{
    struct Case {
        TAlign Align;
        TSizeMoveOptions Options;
        LRESULT Left, Right, Top, Bottom, TopRight, BottomLeft;
    } cases[] = {
        {alNone, AllSizeMoveOptions, HTLEFT, HTRIGHT, HTTOP, HTBOTTOM, HTTOPRIGHT, HTBOTTOMLEFT},
        {alLeft, AllSizeMoveOptions, HTCLIENT, HTRIGHT, HTCLIENT, HTCLIENT, HTRIGHT, HTCLIENT},
        {alTop, AllSizeMoveOptions, HTCLIENT, HTCLIENT, HTCLIENT, HTBOTTOM, HTCLIENT, HTBOTTOM},
        {alRight, AllSizeMoveOptions, HTLEFT, HTCLIENT, HTCLIENT, HTCLIENT, HTCLIENT, HTLEFT},
        {alClient, AllSizeMoveOptions, HTCLIENT, HTCLIENT, HTCLIENT, HTCLIENT, HTCLIENT, HTCLIENT},
        {alNone, TSizeMoveOptions{smMove, smSizeTop}, HTCLIENT, HTCLIENT, HTTOP, HTCLIENT, HTTOP, HTCLIENT},
    };
    for (const Case& c : cases) {
        auto* panel = Make<TDragPanel>(Form, 100, 100, 120, 80);
        panel->SetOptions(c.Options);
        panel->SetAlign(c.Align);
        ProcessPendingMessages();
        RECT r = ScreenRect(panel);
        auto hit = [&](int X, int Y) { return SendMessage(panel->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(X, Y)); };
        const int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
        SCOPED_TRACE(int(c.Align));
        EXPECT_EQ(hit(r.left, my), c.Left);
        EXPECT_EQ(hit(r.right - 1, my), c.Right);
        EXPECT_EQ(hit(mx, r.top), c.Top);
        EXPECT_EQ(hit(mx, r.bottom - 1), c.Bottom);
        EXPECT_EQ(hit(r.right - 1, r.top), c.TopRight);
        EXPECT_EQ(hit(r.left, r.bottom - 1), c.BottomLeft);
        panel->Free();
    }
}

TEST_F(PanelTest, DragPanelLimitsNeverExcludeTheCurrentBounds)
{
    auto* panel = Make<TDragPanel>(Form, 100, 90, 120, 80);
    struct Case {
        void (TDragPanel::*Set)(int);
        int (TDragPanel::*Get)() const;
        int Value, Stored;
    } cases[] = {
        {&TDragPanel::SetSizeMinWidth, &TDragPanel::GetSizeMinWidth, 150, 120},
        {&TDragPanel::SetSizeMinWidth, &TDragPanel::GetSizeMinWidth, 50, 50},
        {&TDragPanel::SetSizeMaxWidth, &TDragPanel::GetSizeMaxWidth, 60, 120},
        {&TDragPanel::SetSizeMaxWidth, &TDragPanel::GetSizeMaxWidth, 0, 0},
        {&TDragPanel::SetSizeMinHeight, &TDragPanel::GetSizeMinHeight, 99, 80},
        {&TDragPanel::SetSizeMaxHeight, &TDragPanel::GetSizeMaxHeight, 300, 300},
        {&TDragPanel::SetMoveMinLeft, &TDragPanel::GetMoveMinLeft, 130, 100},
        {&TDragPanel::SetMoveMaxLeft, &TDragPanel::GetMoveMaxLeft, 20, 100},
        {&TDragPanel::SetMoveMinTop, &TDragPanel::GetMoveMinTop, 40, 40},
        {&TDragPanel::SetMoveMaxTop, &TDragPanel::GetMoveMaxTop, 50, 90},
    };
    for (const Case& c : cases) {
        (panel->*c.Set)(c.Value);
        EXPECT_EQ((panel->*c.Get)(), c.Stored) << c.Value;
    }
    // Bounds set in code widen the move limits to contain them; the size
    // limits hold, as for any sizable window.
    panel->SetSizeMaxWidth(150);
    panel->SetBounds(10, 20, 170, 25);
    EXPECT_EQ(panel->GetLeft(), 10);
    EXPECT_EQ(panel->GetTop(), 20);
    EXPECT_EQ(panel->GetMoveMinLeft(), 10);
    EXPECT_EQ(panel->GetMoveMinTop(), 20);
    EXPECT_EQ(panel->GetWidth(), 150);
    EXPECT_EQ(panel->GetHeight(), 80);
    EXPECT_EQ(panel->GetSizeMaxWidth(), 150);
    EXPECT_EQ(panel->GetSizeMinHeight(), 80);
}

// ---- Hint bar ------------------------------------------------------------------------------------

TEST_F(PanelTest, HintBarShowsTheApplicationHintOrTheFocusedControlsLongHint)
{
    auto* bar = new THintBar(Form);
    bar->SetParent(Form);
    EXPECT_TRUE(bar->GetSimplePanel());
    EXPECT_EQ(bar->GetHeight(), 20);
    auto* edit = Make<TEdit>(Form, 10, 10, 100, 24);
    edit->SetHint("Name|The customer's name");
    auto* other = Make<TEdit>(Form, 10, 50, 100, 24);
    ProcessPendingMessages();

    bar->SetHintPrefix("> ");
    Application->SetHint("Application hint");
    EXPECT_EQ(bar->GetSimpleText(), "> Application hint");
    edit->SetFocus();
    EXPECT_EQ(bar->GetSimpleText(), "> Application hint") << "the focus is not followed yet";

    bar->SetShowActiveControl(true);
    EXPECT_EQ(bar->GetSimpleText(), "> The customer's name");
    other->SetFocus();
    EXPECT_EQ(bar->GetSimpleText(), "") << "no hint, nothing shown";
    bar->SetShowEmpty(true);
    EXPECT_EQ(bar->GetSimpleText(), "> ");
    bar->SetShowEmpty(false);
    edit->SetFocus();
    EXPECT_EQ(bar->GetSimpleText(), "> The customer's name");
    Application->SetHint("Ignored while following the focus");
    EXPECT_EQ(bar->GetSimpleText(), "> The customer's name");
    bar->SetEnabled(false);
    EXPECT_EQ(bar->GetSimpleText(), "");
    bar->SetEnabled(true);
    bar->SetShowActiveControl(false);
    EXPECT_EQ(bar->GetSimpleText(), "> Ignored while following the focus");
}

TEST_F(PanelTest, HintBarsChainHandlersAndRestoreOnlyTheirOwn)
{
    int appCalls = 0, screenCalls = 0;
    const TNotifyEvent original = [&](TObject*) { ++appCalls; };
    const TNotifyEvent originalScreen = [&](TObject*) { ++screenCalls; };
    Application->OnHint = original;
    Screen->OnActiveControlChange = originalScreen;

    auto* first = new THintBar(nullptr);
    auto* second = new THintBar(nullptr);
    int secondHints = 0;
    second->OnHint = [&](TObject* Sender) {
        EXPECT_EQ(Sender, second);
        ++secondHints;
    };
    Application->SetHint("one");
    EXPECT_EQ(appCalls, 1) << "each bar calls the handler it replaced";
    EXPECT_EQ(secondHints, 1);
    EXPECT_EQ(first->GetSimpleText(), "one");

    // The first bar goes while the second still chains to it.
    first->Free();
    Application->SetHint("two");
    EXPECT_EQ(appCalls, 2) << "the second bar now chains straight to the original";
    EXPECT_EQ(second->GetSimpleText(), "two");
    auto* edit = Make<TEdit>(Form, 10, 10, 100, 24);
    ProcessPendingMessages();
    const int before = screenCalls;
    edit->SetFocus();
    EXPECT_EQ(screenCalls, before + 1);

    second->Free();
    EXPECT_TRUE(Application->OnHint == original);
    EXPECT_TRUE(Screen->OnActiveControlChange == originalScreen);

    // A handler installed after a bar stays when the bar goes.
    auto* bar = new THintBar(nullptr);
    int later = 0;
    const TNotifyEvent mine = [&](TObject*) { ++later; };
    Application->OnHint = mine;
    bar->Free();
    EXPECT_TRUE(Application->OnHint == mine);
    EXPECT_TRUE(Screen->OnActiveControlChange == originalScreen);
    // The handlers count into this test's locals.
    Application->OnHint = nullptr;
    Screen->OnActiveControlChange = nullptr;
}

// ---- Form files ------------------------------------------------------------------------------------

TEST_F(PanelTest, PublishedPropertiesRoundTripThroughAFormFile)
{
    auto* edge = new TEdgePanel(nullptr);
    edge->SetName("Edge");
    edge->SetBevelEdges(TBevelEdges{beLeft, beBottom});
    edge->SetBevelOuter(bvLowered);
    auto* edgeBack = new TEdgePanel(nullptr);
    const std::string edgeText = ObjectBinaryToText(WriteComponentToString(edge));
    EXPECT_NE(edgeText.find("BevelEdges"), std::string::npos) << edgeText;
    ReadComponentFromString(WriteComponentToString(edge), edgeBack);
    EXPECT_TRUE(edgeBack->GetBevelEdges() == (TBevelEdges{beLeft, beBottom}));
    EXPECT_EQ(edgeBack->GetBevelOuter(), bvLowered);
    EXPECT_EQ(edgeBack->GetCaption(), "") << "an edge panel does not take its name as caption";

    auto* drag = new TDragPanel(nullptr);
    drag->SetName("Drag");
    drag->SetBounds(40, 30, 100, 90);
    drag->SetOptions(TSizeMoveOptions{smMove, smSizeRight});
    drag->SetMoveMaxLeft(300);
    drag->SetSizeMinHeight(20);
    drag->SetMSLocked(true);
    auto* dragBack = new TDragPanel(nullptr);
    ReadComponentFromString(WriteComponentToString(drag), dragBack);
    EXPECT_EQ(dragBack->GetOptions(), (TSizeMoveOptions{smMove, smSizeRight}));
    EXPECT_EQ(dragBack->GetMoveMaxLeft(), 300);
    EXPECT_EQ(dragBack->GetSizeMinHeight(), 20);
    EXPECT_EQ(dragBack->GetSizeMinWidth(), 30);
    EXPECT_TRUE(dragBack->GetMSLocked());
    EXPECT_EQ(dragBack->GetBevelOuter(), bvNone);

    auto* speed = new TSpeedPanel(nullptr);
    speed->SetName("Speed");
    speed->SetCtrlCols(3);
    speed->SetCtrlWidth(30);
    speed->SetMarginH(2);
    speed->SetSorted(false);
    speed->SetInsertCols(true);
    auto* speedBack = new TSpeedPanel(nullptr);
    ReadComponentFromString(WriteComponentToString(speed), speedBack);
    EXPECT_EQ(speedBack->GetCtrlCols(), 3);
    EXPECT_EQ(speedBack->GetCtrlWidth(), 30);
    EXPECT_EQ(speedBack->GetMarginH(), 2);
    EXPECT_FALSE(speedBack->GetSorted());
    EXPECT_TRUE(speedBack->GetInsertCols());
    EXPECT_EQ(speedBack->GetMarginV(), 5);

    auto* bar = new THintBar(nullptr);
    bar->SetName("Bar");
    bar->SetHintPrefix("[");
    bar->SetHintSuffix("]");
    bar->SetShowEmpty(true);
    const std::string barData = WriteComponentToString(bar);
    EXPECT_EQ(ObjectBinaryToText(barData).find("SimpleText"), std::string::npos);
    bar->Free();
    auto* barBack = new THintBar(nullptr);
    ReadComponentFromString(barData, barBack);
    EXPECT_EQ(barBack->GetHintPrefix(), "[");
    EXPECT_EQ(barBack->GetHintSuffix(), "]");
    EXPECT_TRUE(barBack->GetShowEmpty());
    EXPECT_TRUE(barBack->GetSimplePanel());

    for (TComponent* c : std::initializer_list<TComponent*>{edge, edgeBack, drag, dragBack, speed, speedBack, barBack})
        c->Free();
}

} // namespace
