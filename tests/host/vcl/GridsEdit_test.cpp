// The string grid's cells and its in-place editor, worked by the keyboard.
#include "FormsTest.h"

#include "host/vcl/Grids.h"

#include <cstdlib>

namespace formstest {
namespace {

class GridEditTest : public FormsTest {
protected:
    TStringGrid* MakeGrid(TGridOptions Extra)
    {
        FForm = MakeForm("GridForm", 50, 40, 420, 320);
        auto* g = Make<TStringGrid>(FForm, "Grid", 10, 10, 300, 200);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetDefaultColWidth(50);
        g->SetDefaultRowHeight(20);
        g->SetOptions(g->GetOptions() + Extra);
        FForm->Show();
        g->SetFocus();
        return g;
    }
    bool EditorShown(TStringGrid* G) { return G->GetInplaceEditor() && G->GetInplaceEditor()->IsVisible(); }
    TForm* FForm = nullptr;
};

TEST_F(GridEditTest, TypingOpensTheEditorAndTabCommitsAndMovesOn)
{
    TStringGrid* g = MakeGrid(TGridOptions{goEditing, goTabs});
    std::vector<std::string> set;
    g->OnSetEditText = [&](TObject*, int ACol, int ARow, const std::string& Value) {
        set.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + "=" + Value);
    };
    Input::TypeText("abc");
    ASSERT_TRUE(EditorShown(g));
    EXPECT_EQ(GetFocus(), g->GetInplaceEditor()->GetHandle());
    Input::KeyPress(VK_TAB);
    EXPECT_EQ(g->GetCells(1, 1), "abc");
    EXPECT_EQ(g->GetCol(), 2);
    EXPECT_FALSE(EditorShown(g));
    EXPECT_EQ(GetFocus(), g->GetHandle());
    ASSERT_FALSE(set.empty());
    EXPECT_EQ(set.back(), "1,1=abc");

    Input::TypeText("xy");
    Input::KeyPress(VK_RETURN);
    EXPECT_EQ(g->GetCells(2, 1), "xy");
    EXPECT_FALSE(EditorShown(g));
    // Tab runs along the row, wraps to the next one, and Shift+Tab comes back.
    Input::KeyPress(VK_TAB);
    Input::KeyPress(VK_TAB);
    Input::KeyPress(VK_TAB);
    EXPECT_EQ((TGridCoord{g->GetCol(), g->GetRow()}), (TGridCoord{1, 2}));
    Input::KeyPress(VK_TAB, Input::Shift);
    EXPECT_EQ((TGridCoord{g->GetCol(), g->GetRow()}), (TGridCoord{4, 1}));
    g->SetTabStops(3, false);
    Input::KeyPress(VK_TAB, Input::Shift);
    EXPECT_EQ(g->GetCol(), 2) << "column 3 has no tab stop";
}

TEST_F(GridEditTest, F2EditsTheCellTextAndEscapeRestoresIt)
{
    TStringGrid* g = MakeGrid(TGridOptions{goEditing});
    g->SetCells(1, 1, "old");
    Input::KeyPress(VK_F2);
    ASSERT_TRUE(EditorShown(g));
    EXPECT_EQ(g->GetInplaceEditor()->GetText(), "old");
    EXPECT_EQ(g->GetInplaceEditor()->GetBoundsRect(), g->CellRect(1, 1));
    Input::KeyPress(VK_END);
    Input::TypeText("er");
    EXPECT_EQ(g->GetCells(1, 1), "older") << "the cell follows the editor";
    Input::KeyPress(VK_ESCAPE);
    EXPECT_EQ(g->GetCells(1, 1), "old");
    EXPECT_FALSE(EditorShown(g));
    // Return opens the editor, a second Return closes it.
    Input::KeyPress(VK_RETURN);
    EXPECT_TRUE(EditorShown(g));
    Input::KeyPress(VK_RETURN);
    EXPECT_FALSE(EditorShown(g));
    // A click on the current cell opens the editor too.
    TPoint p = g->ClientToScreen(TPoint{51 + 20, 21 + 10});
    Input::Click(p.x, p.y);
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    EXPECT_TRUE(EditorShown(g));
    Input::KeyPress(VK_ESCAPE);
    EXPECT_FALSE(EditorShown(g));
    // Without goEditing typing does nothing.
    g->SetOptions(g->GetOptions() - goEditing);
    Input::TypeText("z");
    EXPECT_FALSE(EditorShown(g));
    EXPECT_EQ(g->GetCells(1, 1), "old");
}

TEST_F(GridEditTest, AFreedEditorIsReplacedWhenNextNeeded)
{
    TStringGrid* g = MakeGrid(TGridOptions{goEditing});
    g->SetCells(1, 1, "one");
    Input::KeyPress(VK_F2);
    ASSERT_TRUE(EditorShown(g));
    g->GetInplaceEditor()->Free();
    EXPECT_EQ(g->GetInplaceEditor(), nullptr);
    g->SetFocus();
    Input::KeyPress(VK_DOWN);
    Input::TypeText("two");
    Input::KeyPress(VK_RETURN);
    EXPECT_EQ(g->GetCells(1, 2), "two");
    EXPECT_EQ(g->GetCells(1, 1), "one");
}

TEST_F(GridEditTest, TheEditorHonoursTheMaskAndTheLimit)
{
    TStringGrid* g = MakeGrid(TGridOptions{goEditing});
    g->OnGetEditMask = [](TObject*, int ACol, int, std::string& Value) {
        if (ACol == 1) Value = "000-00;0;_";
    };
    Input::TypeText("12a345");
    ASSERT_TRUE(EditorShown(g));
    EXPECT_EQ(g->GetInplaceEditor()->GetEditText(), "123-45");
    Input::KeyPress(VK_DOWN);
    EXPECT_EQ(g->GetCells(1, 1), "12345") << "the mask keeps no literals";
    // Column 2 has no mask: everything goes in.
    Input::KeyPress(VK_RIGHT);
    Input::TypeText("a-b");
    Input::KeyPress(VK_RETURN);
    EXPECT_EQ(g->GetCells(2, 2), "a-b");
}

// A grid whose second column is read-only and whose cells take three characters.
class TLimitedGrid : public TStringGrid {
    HOST_CLASS(TLimitedGrid, TStringGrid)
public:
    explicit TLimitedGrid(TComponent* AOwner) : TStringGrid(AOwner) {}

protected:
    int GetEditLimit() override { return 3; }
    bool CanEditModify() override { return GetCol() != 2; }
    bool CanEditAcceptKey(char Key) override { return Key != '#'; }
};

TEST_F(GridEditTest, TheEditorKeepsTheLimitAndReadOnlyCells)
{
    FForm = MakeForm("GridForm", 50, 40, 420, 320);
    auto* g = Make<TLimitedGrid>(FForm, "Grid", 10, 10, 300, 200);
    g->SetOptions(g->GetOptions() + goEditing);
    g->SetCells(2, 1, "keep");
    FForm->Show();
    g->SetFocus();
    struct Case {
        int Col;
        std::string Typed;
        std::string Cell;
    } cases[] = {
        {1, "abcdef", "abc"},  // cut to the limit
        {1, "a#b", "ab"},      // '#' refused
        {2, "xyz", "keep"},    // cannot be modified
    };
    for (const Case& c : cases) {
        g->SetCol(c.Col);
        Input::TypeText(c.Typed);
        Input::KeyPress(VK_RETURN);
        EXPECT_EQ(g->GetCells(c.Col, 1), c.Cell) << c.Typed;
    }
    TStrings* row = g->GetRows(1);
    g->SetColCount(2);
    g->SetColCount(5);
    EXPECT_EQ(row->GetCount(), 5) << "a row view outlives shrinking the grid";
}

TEST_F(GridEditTest, ArrowKeysLeaveTheEditorOnlyAtItsEdgesWithAlwaysShowEditor)
{
    TStringGrid* g = MakeGrid(TGridOptions{goEditing, goAlwaysShowEditor});
    g->SetCells(1, 1, "ab");
    g->SetCells(2, 1, "cd");
    Input::KeyPress(VK_F2);
    ASSERT_TRUE(EditorShown(g));
    Input::KeyPress(VK_HOME);
    for (int i = 0; i < 2; ++i) {
        Input::KeyPress(VK_RIGHT);  // inside the text the caret moves
        EXPECT_EQ(g->GetCol(), 1);
    }
    Input::KeyPress(VK_RIGHT);
    EXPECT_EQ(g->GetCol(), 2);
    EXPECT_TRUE(EditorShown(g)) << "the editor comes along";
    EXPECT_EQ(g->GetInplaceEditor()->GetText(), "cd");
    EXPECT_EQ(g->GetInplaceEditor()->GetBoundsRect(), g->CellRect(2, 1));
}

TEST_F(GridEditTest, ColsAndRowsAreViewsOfTheCells)
{
    TStringGrid* g = MakeGrid(TGridOptions{});
    g->GetRows(2)->Add("r0");
    g->GetRows(2)->Add("r1");
    g->SetCells(0, 3, "c");
    EXPECT_EQ(g->GetCells(0, 2), "r0");
    EXPECT_EQ(g->GetCells(1, 2), "r1");
    EXPECT_EQ(g->GetCols(0)->GetCount(), g->GetRowCount());
    EXPECT_EQ(g->GetCols(0)->GetStrings(3), "c");
    TStringList list;
    list.Add("x");
    list.Add("y");
    g->SetCols(4, &list);
    EXPECT_EQ(g->GetCells(4, 0), "x");
    EXPECT_EQ(g->GetCells(4, 1), "y");
    EXPECT_THROW(g->GetRows(2)->Insert(0, "no"), EInvalidGridOperation);
    TObject marker;
    g->SetObjects(3, 3, &marker);
    EXPECT_EQ(g->GetRows(3)->GetObjects(3), &marker);
    // Shrinking the grid drops what lay beyond it; growing it back shows empty cells.
    g->SetColCount(3);
    g->SetColCount(5);
    EXPECT_EQ(g->GetCells(4, 0), "");
    EXPECT_EQ(g->GetObjects(3, 3), nullptr);
    EXPECT_EQ(g->GetCells(1, 2), "r1");
    EXPECT_THROW(g->SetCells(5, 0, "out"), EInvalidGridOperation);
}

} // namespace
} // namespace formstest

namespace formstest {
namespace {

// Fixed cells in button face with raised edges, the selection highlighted,
// the editor over the current cell. Set KEL_SCREENSHOTS to a folder to get
// the picture.
TEST_F(GridEditTest, AStringGridLooksClassic)
{
    TStringGrid* g = MakeGrid(TGridOptions{goEditing, goColSizing});
    for (int c = 1; c < 5; ++c) g->SetCells(c, 0, "Col " + std::to_string(c));
    for (int r = 1; r < 5; ++r) {
        g->SetCells(0, r, "Row " + std::to_string(r));
        for (int c = 1; c < 5; ++c) g->SetCells(c, r, std::to_string(r * 10 + c));
    }
    g->SetSelection(TGridRect{1, 1, 2, 3});
    ProcessPendingMessages();
    HDC dc = GetDC(nullptr);
    auto pixel = [&](int X, int Y) {
        TPoint p = g->ClientToScreen(TPoint{X, Y});
        return GetPixel(dc, p.x, p.y);
    };
    EXPECT_EQ(pixel(25, 18), ColorToRGB(clBtnFace)) << "fixed cell";
    EXPECT_EQ(pixel(0, 0), ColorToRGB(clBtnHighlight)) << "raised edge, top left";
    EXPECT_EQ(pixel(50, 10), ColorToRGB(clWindowText)) << "fixed grid line";
    EXPECT_EQ(pixel(51 + 45, 21 + 21 + 18), ColorToRGB(clHighlight)) << "selected cell";
    EXPECT_EQ(pixel(51 + 2 * 51 + 45, 21 + 18), ColorToRGB(clWindow)) << "unselected cell";
    EXPECT_EQ(pixel(51 + 2 * 51 + 45, 41), ColorToRGB(clBtnFace)) << "grid line";
    Input::KeyPress(VK_F2);
    ProcessPendingMessages();
    ASSERT_TRUE(EditorShown(g));
    // The editor covers the current cell (at the range's end) in window colour.
    TRect cell = g->CellRect(g->GetCol(), g->GetRow());
    EXPECT_EQ(g->GetInplaceEditor()->GetBoundsRect(), cell);
    if (const char* dir = std::getenv("KEL_SCREENSHOTS")) Screenshot(FForm->GetHandle(), std::string(dir) + "/vcl-grid.png");
    ReleaseDC(nullptr, dc);
}

} // namespace
} // namespace formstest
