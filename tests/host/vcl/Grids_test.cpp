// Grid geometry, painting cost, keyboard and mouse navigation, through
// injected input on a form.
#include "FormsTest.h"

#include "host/vcl/Filer.h"
#include "host/vcl/Grids.h"

#include <chrono>

namespace formstest {
namespace {

class GridTest : public FormsTest {
protected:
    // A borderless grid without scroll bars: its client area is its bounds,
    // so cell positions are plain arithmetic.
    template <class G = TStringGrid>
    G* MakeGrid(int Cols, int Rows, int W = 300, int H = 200)
    {
        FForm = MakeForm("GridForm", 50, 40, 420, 320);
        auto* g = Make<G>(FForm, "Grid", 10, 10, W, H);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetColCount(Cols);
        g->SetRowCount(Rows);
        g->SetDefaultColWidth(50);
        g->SetDefaultRowHeight(20);
        FForm->Show();
        g->SetFocus();
        return g;
    }
    void ClickCell(TCustomGrid* G, int X, int Y, unsigned Mods = Input::NoModifiers)
    {
        TPoint p = G->ClientToScreen(TPoint{X, Y});
        if (Mods & Input::Shift) Input::KeyDown(VK_SHIFT);
        Input::Click(p.x, p.y);
        if (Mods & Input::Shift) Input::KeyUp(VK_SHIFT);
        Input::AdvanceTime(GetDoubleClickTime() + 1);
    }
    TForm* FForm = nullptr;
};

TEST_F(GridTest, CellRectAndMouseToCellFollowFixedCellsAndScrolling)
{
    TStringGrid* g = MakeGrid(10, 100);
    g->SetColWidths(4, 80);
    struct Case {
        int LeftCol, TopRow;
        int Col, Row;
        TRect Rect;  // empty when scrolled out of view
    } cases[] = {
        {1, 1, 0, 0, {0, 0, 50, 20}},
        {1, 1, 1, 1, {51, 21, 101, 41}},
        {1, 1, 2, 3, {102, 63, 152, 83}},
        {1, 1, 5, 1, {51 + 4 * 51 + 30, 21, 51 + 4 * 51 + 30 + 50, 41}},  // after the wide column
        {3, 10, 3, 10, {51, 21, 101, 41}},
        {3, 10, 0, 10, {0, 21, 50, 41}},    // fixed column, scrolled row
        {3, 10, 3, 0, {51, 0, 101, 20}},    // fixed row, scrolled column
        {3, 10, 4, 11, {102, 42, 182, 62}},  // the wide column
        {3, 10, 2, 1, {0, 0, 0, 0}},        // scrolled out to the left and up
        {3, 10, 3, 9, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        g->SetLeftCol(c.LeftCol);
        g->SetTopRow(c.TopRow);
        TRect r = g->CellRect(c.Col, c.Row);
        EXPECT_EQ(r, c.Rect) << c.Col << "," << c.Row << " at " << c.LeftCol << "," << c.TopRow;
        if (c.Rect.right <= c.Rect.left) continue;
        // Every corner of the cell, and the grid line after it, maps back to it.
        int col = -2, row = -2;
        for (TPoint p : {TPoint{r.left, r.top}, TPoint{r.right - 1, r.bottom - 1}, TPoint{r.right, r.bottom}}) {
            g->MouseToCell(p.x, p.y, col, row);
            EXPECT_EQ((TGridCoord{col, row}), (TGridCoord{c.Col, c.Row})) << p.x << "," << p.y;
        }
    }
}

TEST_F(GridTest, PointsBeyondTheLastCellMapToNoCell)
{
    TStringGrid* g = MakeGrid(4, 3);
    int col = 0, row = 0;
    struct Case {
        int X, Y;
    } cases[] = {{4 * 51 + 5, 5}, {5, 3 * 21 + 5}, {-1, 5}, {5, -1}};
    for (const Case& c : cases) {
        g->MouseToCell(c.X, c.Y, col, row);
        EXPECT_EQ(col, -1) << c.X << "," << c.Y;
        EXPECT_EQ(row, -1) << c.X << "," << c.Y;
    }
    EXPECT_EQ(g->GetVisibleColCount(), 3);
    EXPECT_EQ(g->GetVisibleRowCount(), 2);
}

TEST_F(GridTest, ArrowPageHomeAndEndKeysMoveTheCurrentCell)
{
    TStringGrid* g = MakeGrid(10, 50);
    int page = g->GetVisibleRowCount();
    ASSERT_EQ(page, (200 - 21) / 21);
    struct Case {
        int Vk;
        unsigned Mods;
        int Col, Row;
    } cases[] = {
        {VK_RIGHT, 0, 2, 1},
        {VK_DOWN, 0, 2, 2},
        {VK_LEFT, 0, 1, 2},
        {VK_LEFT, 0, 1, 2},  // the fixed column is never current
        {VK_UP, 0, 1, 1},
        {VK_UP, 0, 1, 1},
        {VK_NEXT, 0, 1, 1 + page},
        {VK_PRIOR, 0, 1, 1},
        {VK_END, 0, 9, 1},
        {VK_HOME, 0, 1, 1},
        {VK_END, Input::Ctrl, 9, 49},
        {VK_HOME, Input::Ctrl, 1, 1},
    };
    for (const Case& c : cases) {
        Input::KeyPress(c.Vk, c.Mods);
        EXPECT_EQ((TGridCoord{g->GetCol(), g->GetRow()}), (TGridCoord{c.Col, c.Row})) << c.Vk << " " << c.Mods;
        // The current cell is always fully in view.
        EXPECT_GE(g->GetRow(), g->GetTopRow());
        EXPECT_LT(g->GetRow(), g->GetTopRow() + g->GetVisibleRowCount());
        EXPECT_GE(g->GetCol(), g->GetLeftCol());
        EXPECT_LT(g->GetCol(), g->GetLeftCol() + g->GetVisibleColCount());
    }
}

TEST_F(GridTest, ShiftExtendsTheSelectionOnlyWithRangeSelect)
{
    TStringGrid* g = MakeGrid(10, 20);
    Input::KeyPress(VK_RIGHT, Input::Shift);
    Input::KeyPress(VK_DOWN, Input::Shift);
    EXPECT_EQ(g->GetSelection(), (TGridRect{1, 1, 2, 2}));
    Input::KeyPress(VK_DOWN);
    EXPECT_EQ(g->GetSelection(), (TGridRect{2, 3, 2, 3}));
    g->SetOptions(g->GetOptions() - goRangeSelect);
    Input::KeyPress(VK_DOWN, Input::Shift);
    EXPECT_EQ(g->GetSelection(), (TGridRect{2, 4, 2, 4}));
    g->SetOptions(g->GetOptions() + goRowSelect);
    EXPECT_EQ(g->GetSelection(), (TGridRect{1, 4, 9, 4}));
}

TEST_F(GridTest, ClicksSelectCellsAndShiftClickSelectsARange)
{
    TStringGrid* g = MakeGrid(10, 20);
    ClickCell(g, 51 + 2 * 51 + 10, 21 + 3 * 21 + 5);  // cell 3, 4
    EXPECT_EQ((TGridCoord{g->GetCol(), g->GetRow()}), (TGridCoord{3, 4}));
    ClickCell(g, 51 + 10, 21 + 5, Input::Shift);  // cell 1, 1
    EXPECT_EQ(g->GetSelection(), (TGridRect{1, 1, 3, 4}));
    ClickCell(g, 10, 21 + 5);  // a fixed cell selects nothing
    EXPECT_EQ((TGridCoord{g->GetCol(), g->GetRow()}), (TGridCoord{1, 1}));
}

TEST_F(GridTest, SelectCellCanVetoAMove)
{
    auto* g = MakeGrid<TDrawGrid>(10, 20);
    std::vector<TGridCoord> asked;
    g->OnSelectCell = [&](TObject*, int ACol, int ARow, bool& CanSelect) {
        asked.push_back({ACol, ARow});
        CanSelect = ACol != 2;
    };
    Input::KeyPress(VK_RIGHT);
    EXPECT_EQ(g->GetCol(), 1);
    ClickCell(g, 51 + 51 + 10, 21 + 21 + 5);  // cell 2, 2
    EXPECT_EQ((TGridCoord{g->GetCol(), g->GetRow()}), (TGridCoord{1, 1}));
    ClickCell(g, 51 + 2 * 51 + 10, 21 + 21 + 5);  // cell 3, 2
    EXPECT_EQ((TGridCoord{g->GetCol(), g->GetRow()}), (TGridCoord{3, 2}));
    EXPECT_EQ(asked, (std::vector<TGridCoord>{{2, 1}, {2, 2}, {3, 2}}));
}

TEST_F(GridTest, AHundredThousandRowsScrollToTheEndByKeyboardPaintingOnlyVisibleCells)
{
    auto* g = MakeGrid<TDrawGrid>(6, 100000);
    int cellsDrawn = 0;
    g->OnDrawCell = [&](TObject*, int, int, const TRect&, TGridDrawState) { ++cellsDrawn; };
    int visibleCells = (g->GetVisibleColCount() + 2) * (g->GetVisibleRowCount() + 2);
    g->Update();
    cellsDrawn = 0;
    auto start = std::chrono::steady_clock::now();
    Input::KeyPress(VK_END, Input::Ctrl);
    g->Update();
    EXPECT_EQ(g->GetRow(), 99999);
    EXPECT_EQ(g->GetCol(), 5);
    EXPECT_EQ(g->GetTopRow(), 99999 - g->GetVisibleRowCount() + 1);
    EXPECT_GT(cellsDrawn, 0);
    EXPECT_LE(cellsDrawn, visibleCells) << "a repaint draws the cells on screen, not the rows";

    Input::KeyPress(VK_HOME, Input::Ctrl);
    int page = g->GetVisibleRowCount();
    for (int i = 0; i < 200; ++i) Input::KeyPress(VK_NEXT);
    EXPECT_EQ(g->GetRow(), 1 + 200 * page);
    EXPECT_EQ(g->GetTopRow(), 1 + 200 * page);
    // Page Down on to the end: the last page stops at the last row.
    g->SetTopRow(99990);
    g->SetRow(99995);
    Input::KeyPress(VK_NEXT);
    Input::KeyPress(VK_NEXT);
    EXPECT_EQ(g->GetRow(), 99999);
    EXPECT_EQ(g->GetTopRow(), 99999 - page + 1);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0);
}

TEST_F(GridTest, TheWheelScrollsWithoutMovingTheCurrentCell)
{
    TStringGrid* g = MakeGrid(5, 100);
    TPoint p = g->ClientToScreen(TPoint{100, 100});
    Input::MouseMove(p.x, p.y);
    Input::Wheel(-WHEEL_DELTA);
    EXPECT_EQ(g->GetTopRow(), 4);
    EXPECT_EQ(g->GetRow(), 1);
    Input::Wheel(2 * WHEEL_DELTA);
    EXPECT_EQ(g->GetTopRow(), 1);
}

TEST_F(GridTest, ScrollBarsFollowTheTopRow)
{
    TStringGrid* g = MakeGrid(5, 1000);
    g->SetScrollBars(ssVertical);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(g->GetHandle(), SB_VERT, &si));
    EXPECT_EQ(si.nPos, 0);
    int page = g->GetVisibleRowCount();
    EXPECT_EQ(int(si.nPage), page);
    EXPECT_EQ(si.nMax - int(si.nPage) + 1, 999 - page);  // the last top row, less the fixed row
    Input::KeyPress(VK_END, Input::Ctrl);
    EXPECT_EQ(GetScrollPos(g->GetHandle(), SB_VERT), g->GetTopRow() - 1);
    g->Perform(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(g->GetTopRow(), 1);
    g->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(g->GetTopRow(), 1 + page);
    EXPECT_EQ(g->GetRow(), 999) << "scrolling leaves the current cell where it is";
}

} // namespace
} // namespace formstest

namespace formstest {
namespace {

TEST_F(GridTest, DraggingTheThumbScrollsAtOnceOnlyWithThumbTracking)
{
    TStringGrid* g = MakeGrid(5, 1000);
    g->SetScrollBars(ssVertical);
    for (bool tracking : {false, true}) {
        g->SetOptions(tracking ? g->GetOptions() + goThumbTracking : g->GetOptions() - goThumbTracking);
        g->SetTopRow(1);
        RECT wr;
        GetWindowRect(g->GetHandle(), &wr);
        int x = wr.right - GetSystemMetrics(SM_CXVSCROLL) / 2;
        Input::MouseMove(x, wr.top + 16 + 3);  // on the thumb, below the arrow
        Input::MouseDown();
        Input::MouseMove(x, wr.top + 60);
        Input::MouseMove(x, wr.top + 100);
        int during = g->GetTopRow();
        Input::MouseUp();
        int after = g->GetTopRow();
        EXPECT_GT(after, 100) << tracking;
        EXPECT_EQ(during, tracking ? after : 1) << tracking;
        EXPECT_EQ(GetScrollPos(g->GetHandle(), SB_VERT), after - 1) << tracking;
        Input::AdvanceTime(GetDoubleClickTime() + 1);
    }
}

TEST_F(GridTest, PropertiesAndCellSizesStreamThroughAFormFile)
{
    TStringGrid* g = MakeGrid(7, 30);
    g->SetFixedCols(2);
    g->SetOptions(g->GetOptions() + goEditing + goColSizing);
    g->SetColWidths(3, 90);
    g->SetRowHeights(4, 33);
    g->SetFixedColor(clAqua);
    std::string data = WriteComponentToString(g);
    std::string text = ObjectBinaryToText(data);
    EXPECT_NE(text.find("ColWidths = ("), std::string::npos) << text;
    EXPECT_NE(text.find("RowHeights = ("), std::string::npos) << text;
    EXPECT_NE(text.find("DefaultColWidth = 50"), std::string::npos) << text;
    EXPECT_EQ(text.find("GridLineWidth"), std::string::npos) << "defaults are not stored";

    auto* copy = static_cast<TStringGrid*>(ReadComponentFromString(data, nullptr));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetColCount(), 7);
    EXPECT_EQ(copy->GetRowCount(), 30);
    EXPECT_EQ(copy->GetFixedCols(), 2);
    EXPECT_EQ(copy->GetCol(), 2) << "the current cell starts after the fixed columns";
    EXPECT_EQ(copy->GetOptions(), g->GetOptions());
    EXPECT_EQ(copy->GetFixedColor(), clAqua);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(copy->GetColWidths(i), i == 3 ? 90 : 50) << i;
    for (int i = 0; i < 30; ++i) EXPECT_EQ(copy->GetRowHeights(i), i == 4 ? 33 : 20) << i;
    copy->Free();

    // Fixed counts must leave a scrolling cell.
    EXPECT_THROW(g->SetFixedCols(7), EInvalidGridOperation);
    EXPECT_THROW(g->SetFixedRows(-1), EInvalidGridOperation);
    g->SetColCount(2);
    EXPECT_EQ(g->GetFixedCols(), 1) << "shrinking the grid shrinks the fixed columns with it";
}

} // namespace
} // namespace formstest
