// Sizing and moving rows and columns with the mouse, and scrolling while the
// mouse selects outside the grid.
#include "FormsTest.h"

#include "host/vcl/Grids.h"

namespace formstest {
namespace {

// Records the directions the grid scrolls in while the mouse is outside.
class TScrollRecordingGrid : public TStringGrid {
    HOST_CLASS(TScrollRecordingGrid, TStringGrid)
public:
    explicit TScrollRecordingGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
    std::vector<TGridScrollDirection> Directions;

protected:
    void TimedScroll(TGridScrollDirection Direction) override
    {
        Directions.push_back(Direction);
        inherited::TimedScroll(Direction);
    }
};

class GridSizingTest : public FormsTest {
protected:
    template <class G = TStringGrid>
    G* MakeGrid(TGridOptions Extra, int Cols = 8, int Rows = 20)
    {
        FForm = MakeForm("GridForm", 50, 40, 420, 320);
        auto* g = Make<G>(FForm, "Grid", 10, 10, 300, 200);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetColCount(Cols);
        g->SetRowCount(Rows);
        g->SetDefaultColWidth(50);
        g->SetDefaultRowHeight(20);
        g->SetOptions(g->GetOptions() + Extra);
        FForm->Show();
        g->SetFocus();
        return g;
    }
    POINT At(TControl* C, int X, int Y)
    {
        TPoint p = C->ClientToScreen(TPoint{X, Y});
        return POINT{p.x, p.y};
    }
    TForm* FForm = nullptr;
};

TEST_F(GridSizingTest, DraggingAGridLineInTheFixedAreaSizesTheCell)
{
    TStringGrid* g = MakeGrid(TGridOptions{goColSizing, goRowSizing});
    struct Case {
        int FromX, FromY, ToX, ToY;
        int Col, Width;   // the column expected sized, or -1
        int Row, Height;  // the row expected sized, or -1
    } cases[] = {
        {101, 10, 131, 10, 1, 80, -1, 0},  // the line after column 1, in the fixed row
        {50, 10, 30, 10, 0, 30, -1, 0},    // the fixed column itself
        {10, 41, 10, 61, -1, 0, 1, 40},    // the line after row 1, in the fixed column
        {75, 60, 105, 60, -1, 0, -1, 0},   // a line among the scrolling cells sizes nothing
    };
    for (const Case& c : cases) {
        g->SetDefaultColWidth(50);
        g->SetDefaultRowHeight(20);
        Input::Drag(At(g, c.FromX, c.FromY), At(g, c.ToX, c.ToY));
        Input::AdvanceTime(GetDoubleClickTime() + 1);
        for (int i = 0; i < g->GetColCount(); ++i)
            EXPECT_EQ(g->GetColWidths(i), i == c.Col ? c.Width : 50) << "col " << i << " from " << c.FromX;
        for (int i = 0; i < g->GetRowCount(); ++i)
            EXPECT_EQ(g->GetRowHeights(i), i == c.Row ? c.Height : 20) << "row " << i << " from " << c.FromY;
        EXPECT_EQ(g->GetGridState(), gsNormal);
    }
}

TEST_F(GridSizingTest, TheCursorShowsTheSizingZones)
{
    TStringGrid* g = MakeGrid(TGridOptions{goColSizing});
    struct Case {
        int X, Y;
        bool Sizing;
    } cases[] = {{101, 10, true}, {99, 10, true}, {104, 10, true}, {80, 10, false}, {101, 60, false}, {10, 41, false}};
    for (const Case& c : cases) {
        POINT p = At(g, c.X, c.Y);
        Input::MouseMove(p.x, p.y);
        EXPECT_EQ(GetCursor() == CursorHandle(crHSplit), c.Sizing) << c.X << "," << c.Y;
    }
    // Without goColSizing the zone is gone.
    g->SetOptions(g->GetOptions() - goColSizing);
    POINT p = At(g, 101, 10);
    Input::MouseMove(p.x - 1, p.y);
    Input::MouseMove(p.x, p.y);
    EXPECT_NE(GetCursor(), CursorHandle(crHSplit));
}

TEST_F(GridSizingTest, DraggingAFixedCellMovesItsRowOrColumn)
{
    TStringGrid* g = MakeGrid(TGridOptions{goRowMoving, goColMoving});
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) g->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
    g->SetRowHeights(1, 30);
    std::vector<std::string> moves;
    g->OnRowMoved = [&](TObject*, int From, int To) { moves.push_back("row " + std::to_string(From) + ">" + std::to_string(To)); };
    g->OnColumnMoved = [&](TObject*, int From, int To) { moves.push_back("col " + std::to_string(From) + ">" + std::to_string(To)); };

    // Row 1 (30 high) is dropped on row 3, which starts at 21 + 31 + 21.
    Input::Drag(At(g, 25, 21 + 10), At(g, 25, 21 + 31 + 21 + 10));
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    EXPECT_EQ(moves, (std::vector<std::string>{"row 1>3"}));
    EXPECT_EQ(g->GetCells(2, 3), "2:1");
    EXPECT_EQ(g->GetCells(2, 1), "2:2");
    EXPECT_EQ(g->GetCells(2, 2), "2:3");
    EXPECT_EQ(g->GetRowHeights(3), 30) << "the height travels with the row";
    EXPECT_EQ(g->GetRowHeights(1), 20);

    moves.clear();
    Input::Drag(At(g, 51 + 2 * 51 + 25, 10), At(g, 51 + 25, 10));  // column 3 onto column 1
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    EXPECT_EQ(moves, (std::vector<std::string>{"col 3>1"}));
    EXPECT_EQ(g->GetCells(1, 0), "3:0");
    EXPECT_EQ(g->GetCells(2, 0), "1:0");
    EXPECT_EQ(g->GetCells(3, 0), "2:0");

    // Without the options a drag on the fixed cells moves nothing.
    moves.clear();
    g->SetOptions(g->GetOptions() - goRowMoving - goColMoving);
    Input::Drag(At(g, 25, 21 + 10), At(g, 25, 21 + 31 + 21 + 10));
    EXPECT_TRUE(moves.empty());
}

TEST_F(GridSizingTest, SelectingBeyondAnEdgeScrollsOnTheTimerUntilTheButtonIsReleased)
{
    auto* g = MakeGrid<TScrollRecordingGrid>(TGridOptions{}, 30, 100);
    struct Case {
        int X, Y;  // where the mouse goes, outside the scrolling cells
        TGridScrollDirection Direction;
    } cases[] = {
        {150, 250, {sdDown}},
        {350, 100, {sdRight}},
        {-20, 100, {sdLeft}},
        {150, 5, {sdUp}},
        {350, 250, {sdRight, sdDown}},
    };
    for (const Case& c : cases) {
        g->Directions.clear();
        g->SetLeftCol(5);
        g->SetTopRow(10);
        POINT start = At(g, 51 + 25, 21 + 25);  // a cell in the middle
        Input::MouseMove(start.x, start.y);
        Input::MouseDown();
        POINT out = At(g, c.X, c.Y);
        Input::MouseMove(out.x, out.y);
        Input::AdvanceTime(300);
        Input::MouseUp();
        ASSERT_FALSE(g->Directions.empty()) << c.X << "," << c.Y;
        EXPECT_EQ(g->Directions.back(), c.Direction) << c.X << "," << c.Y;
        size_t ticks = g->Directions.size();
        Input::AdvanceTime(300);
        EXPECT_EQ(g->Directions.size(), ticks) << "no scrolling after the release";
    }
    // Each tick scrolls one row, the current cell following to the edge.
    g->SetLeftCol(1);
    g->SetTopRow(1);
    g->Directions.clear();
    POINT start = At(g, 51 + 25, 21 + 21 + 5);  // cell 1, 2
    Input::MouseMove(start.x, start.y);
    Input::MouseDown();
    POINT below = At(g, 75, 260);
    Input::MouseMove(below.x, below.y);
    Input::AdvanceTime(300);
    Input::MouseUp();
    int ticks = int(g->Directions.size());
    ASSERT_GT(ticks, 0);
    EXPECT_EQ(g->GetTopRow(), 1 + ticks);
    EXPECT_EQ(g->GetRow(), g->GetTopRow() + g->GetVisibleRowCount() - 1);
    EXPECT_EQ(g->GetSelection(), (TGridRect{1, 2, 1, g->GetRow()}));
}

TEST_F(GridSizingTest, AMarkShowsWhereTheDraggedRowWillGo)
{
    TStringGrid* g = MakeGrid(TGridOptions{goRowMoving});
    auto pixel = [&](int X, int Y) {
        HDC dc = GetDC(nullptr);
        TPoint p = g->ClientToScreen(TPoint{X, Y});
        COLORREF c = GetPixel(dc, p.x, p.y);
        ReleaseDC(nullptr, dc);
        return c;
    };
    POINT from = At(g, 25, 21 + 5);  // row 1
    Input::MouseMove(from.x, from.y);
    Input::MouseDown();
    POINT to = At(g, 25, 21 + 2 * 21 + 5);  // row 3, which ends at 21 + 3 * 21
    Input::MouseMove(to.x, to.y);
    ProcessPendingMessages();
    EXPECT_EQ(pixel(120, 21 + 3 * 21), ColorToRGB(clHighlight)) << "below row 3";
    EXPECT_NE(pixel(120, 21), ColorToRGB(clHighlight)) << "not above row 1";
    Input::MouseUp();
    ProcessPendingMessages();
    EXPECT_NE(pixel(120, 21 + 3 * 21), ColorToRGB(clHighlight)) << "gone after the drop";
}

TEST_F(GridSizingTest, ARowDraggedBelowTheGridScrollsAndDropsAtTheEdge)
{
    TStringGrid* g = MakeGrid(TGridOptions{goRowMoving}, 5, 100);
    for (int r = 0; r < 100; ++r) g->SetCells(1, r, std::to_string(r));
    std::vector<std::pair<int, int>> moves;
    g->OnRowMoved = [&](TObject*, int From, int To) { moves.push_back({From, To}); };
    POINT start = At(g, 25, 21 + 21 + 5);  // row 2, in the fixed column
    Input::MouseMove(start.x, start.y);
    Input::MouseDown();
    POINT below = At(g, 25, 260);
    Input::MouseMove(below.x, below.y);
    Input::AdvanceTime(300);
    Input::MouseUp();
    int top = g->GetTopRow();
    EXPECT_GT(top, 1);
    int target = top + g->GetVisibleRowCount() - 1;
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], std::make_pair(2, target));
    EXPECT_EQ(g->GetCells(1, target), "2");
    EXPECT_EQ(g->GetLeftCol(), 1) << "a moving row does not scroll sideways";
}

} // namespace
} // namespace formstest
