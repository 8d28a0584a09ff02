// List boxes driven through injected input and LB_* messages.
#include "ControlTest.h"

#include "host/vcl/Filer.h"
#include "host/vcl/StdLists.h"

#include <cstdlib>
#include <numeric>

namespace controltest {
namespace {

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A descendant as the library writes them: it watches the LB_* messages and
// counts owner-draw calls.
class TWatchedListBox : public TListBox {
    HOST_CLASS(TWatchedListBox, TListBox)
    HOST_MESSAGES(TWatchedListBox)
public:
    explicit TWatchedListBox(TComponent* AOwner) : TListBox(AOwner) {}
    std::vector<std::string> Seen;
    int Drawn = 0;
    int Clicks = 0;
    int DblClicks = 0;
    std::vector<int> DrawnIndexes;

protected:
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override
    {
        ++Drawn;
        DrawnIndexes.push_back(Index);
        inherited::DrawItem(Index, Rect, State);
    }
    void Click() override
    {
        ++Clicks;
        inherited::Click();
    }
    void DblClick() override
    {
        ++DblClicks;
        inherited::DblClick();
    }
    void LBAddString(TMessage& M)
    {
        Seen.push_back(std::string("add ") + reinterpret_cast<const char*>(M.LParam));
        inherited::Dispatch(M);
    }
    void LBSetCurSel(TMessage& M)
    {
        Seen.push_back("cursel " + std::to_string(int(M.WParam)));
        inherited::Dispatch(M);
    }
    void LBSetTopIndex(TMessage& M)
    {
        Seen.push_back("top " + std::to_string(int(M.WParam)));
        inherited::Dispatch(M);
    }
};

HOST_MESSAGE_MAP(TWatchedListBox)
{
    M(LB_ADDSTRING, &TWatchedListBox::LBAddString);
    M(LB_SETCURSEL, &TWatchedListBox::LBSetCurSel);
    M(LB_SETTOPINDEX, &TWatchedListBox::LBSetTopIndex);
}

class ListBoxTest : public ControlTest {
protected:
    TWatchedListBox* List(int Count, int Height = 100)
    {
        FRoot = Root();
        auto* lb = Make<TWatchedListBox>(FRoot, "List", 10, 10, 150, Height);
        for (int i = 0; i < Count; ++i) lb->GetItems()->Add("Item " + std::to_string(i));
        ProcessPendingMessages();
        return lb;
    }
    // Clicks the middle of item Index (it must be visible).
    void ClickItem(TCustomListBox* Lb, int Index, unsigned Modifiers = Input::NoModifiers)
    {
        TRect r = Lb->ItemRect(Index);
        TPoint p = ScreenOf(Lb, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        if (Modifiers & Input::Shift) Input::KeyDown(VK_SHIFT);
        if (Modifiers & Input::Ctrl) Input::KeyDown(VK_CONTROL);
        Input::Click(p.x, p.y);
        if (Modifiers & Input::Ctrl) Input::KeyUp(VK_CONTROL);
        if (Modifiers & Input::Shift) Input::KeyUp(VK_SHIFT);
    }
    std::vector<int> SelectedOf(TCustomListBox* Lb)
    {
        std::vector<int> out;
        for (int i = 0; i < Lb->GetItems()->GetCount(); ++i)
            if (Lb->GetSelected(i)) out.push_back(i);
        return out;
    }
    TTestPanel* FRoot = nullptr;
};

TEST_F(ListBoxTest, SortedItemsGoInOrderWithAndWithoutAWindow)
{
    const std::vector<std::string> added = {"pear", "Apple", "fig", "banana", "apple", "Cherry"};
    const std::vector<std::string> expected = {"Apple", "apple", "banana", "Cherry", "fig", "pear"};
    for (bool withWindow : {false, true}) {
        SCOPED_TRACE(withWindow ? "window" : "no window");
        auto* lb = new TListBox(nullptr);
        FRoots.push_back(lb);
        lb->SetSorted(true);
        if (withWindow) lb->SetParentWindow(FHost);
        std::vector<int> positions;
        for (const std::string& s : added) positions.push_back(lb->GetItems()->Add(s));
        EXPECT_EQ(positions, (std::vector<int>{0, 0, 1, 1, 1, 3}));
        std::vector<std::string> got;
        for (int i = 0; i < lb->GetItems()->GetCount(); ++i) got.push_back(lb->GetItems()->GetStrings(i));
        EXPECT_EQ(got, expected);
        // The waiting items reach the window unchanged.
        lb->SetParentWindow(FHost);
        EXPECT_TRUE(lb->HandleAllocated());
        EXPECT_EQ(lb->Perform(LB_GETCOUNT, 0, 0), 6);
        EXPECT_EQ(lb->GetItems()->GetStrings(3), "Cherry");
    }
}

TEST_F(ListBoxTest, SingleSelectionFollowsClicksKeysAndTyping)
{
    auto* lb = List(0);
    for (const char* s : {"alpha", "bravo", "charlie", "delta", "echo", "cobalt"}) lb->GetItems()->Add(s);
    ProcessPendingMessages();
    ClickItem(lb, 2);
    EXPECT_EQ(lb->GetItemIndex(), 2);
    EXPECT_TRUE(lb->Focused());
    EXPECT_EQ(lb->Clicks, 1);
    struct Step {
        int Vk;
        char Typed;
        int Expected;
    } steps[] = {
        {VK_DOWN, 0, 3}, {VK_UP, 0, 2},  {VK_END, 0, 5}, {VK_HOME, 0, 0}, {VK_UP, 0, 0},
        {0, 'c', 2},     {0, 'c', 5},    {0, 'C', 2},    {0, 'z', 2},     {VK_NEXT, 0, 5},
    };
    for (const Step& s : steps) {
        if (s.Vk)
            Input::KeyPress(s.Vk);
        else
            Input::TypeText(std::string(1, s.Typed));
        EXPECT_EQ(lb->GetItemIndex(), s.Expected) << s.Vk << " " << s.Typed;
    }
    // Setting ItemIndex in code is not a user's click.
    int clicks = lb->Clicks;
    lb->SetItemIndex(1);
    EXPECT_EQ(lb->GetItemIndex(), 1);
    EXPECT_EQ(lb->Clicks, clicks);
    EXPECT_EQ(lb->GetSelCount(), -1);
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndCtrl)
{
    auto* lb = List(10, 200);
    lb->SetMultiSelect(true);
    ProcessPendingMessages();
    struct Step {
        int Item;  // clicked item, or -1 for a key
        int Vk;
        unsigned Mods;
        std::vector<int> Selected;
    } steps[] = {
        {1, 0, Input::NoModifiers, {1}},
        {4, 0, Input::Shift, {1, 2, 3, 4}},
        {2, 0, Input::Ctrl, {1, 3, 4}},
        {6, 0, Input::Ctrl, {1, 3, 4, 6}},
        {-1, VK_DOWN, Input::Shift, {6, 7}},
        {-1, VK_DOWN, Input::Shift, {6, 7, 8}},
        {-1, VK_UP, Input::NoModifiers, {7}},
        {0, 0, Input::Shift, {0, 1, 2, 3, 4, 5, 6, 7}},
        {5, 0, Input::NoModifiers, {5}},
    };
    for (const Step& s : steps) {
        if (s.Item >= 0)
            ClickItem(lb, s.Item, s.Mods);
        else
            Input::KeyPress(s.Vk, s.Mods);
        EXPECT_EQ(SelectedOf(lb), s.Selected) << "item " << s.Item << " key " << s.Vk;
        EXPECT_EQ(lb->GetSelCount(), int(s.Selected.size()));
    }
    // Ctrl+Space toggles the caret item without moving.
    Input::KeyPress(VK_DOWN, Input::Ctrl);
    Input::KeyPress(VK_SPACE, Input::Ctrl);
    EXPECT_EQ(SelectedOf(lb), (std::vector<int>{5, 6}));
    EXPECT_EQ(lb->GetItemIndex(), 6);
}

TEST_F(ListBoxTest, MultipleSelectionTogglesWithClicksAndSpace)
{
    auto* lb = List(6);
    lb->SetExtendedSelect(false);
    lb->SetMultiSelect(true);
    ProcessPendingMessages();
    ClickItem(lb, 1);
    ClickItem(lb, 3);
    EXPECT_EQ(SelectedOf(lb), (std::vector<int>{1, 3}));
    ClickItem(lb, 1);
    EXPECT_EQ(SelectedOf(lb), (std::vector<int>{3}));
    Input::KeyPress(VK_DOWN);  // moves the caret (from item 1) only
    EXPECT_EQ(SelectedOf(lb), (std::vector<int>{3}));
    Input::KeyPress(VK_SPACE);
    EXPECT_EQ(SelectedOf(lb), (std::vector<int>{2, 3}));
    lb->SetSelected(0, true);
    EXPECT_EQ(SelectedOf(lb), (std::vector<int>{0, 2, 3}));
    EXPECT_THROW(lb->GetSelected(6), EListError);
}

TEST_F(ListBoxTest, VariableHeightsDriveItemRectAndItemAtPos)
{
    auto* lb = List(0, 120);
    lb->SetStyle(lbOwnerDrawVariable);
    struct THeights : TObject {
        void Measure(TWinControl*, int Index, int& Height) { Height = 10 + 5 * (Index % 4); }
    } heights;
    lb->FOnMeasureItem = TMeasureItemEvent(&heights, &THeights::Measure);
    for (int i = 0; i < 12; ++i) lb->GetItems()->Add("Row " + std::to_string(i));
    ProcessPendingMessages();
    int top = 0;
    for (int i = 0; i < 6; ++i) {
        int h = 10 + 5 * (i % 4);
        TRect r = lb->ItemRect(i);
        EXPECT_EQ(r.top, top) << i;
        EXPECT_EQ(r.bottom - r.top, h) << i;
        EXPECT_EQ(lb->ItemAtPos(TPoint{5, top + h / 2}, true), i);
        EXPECT_EQ(lb->ItemAtPos(TPoint{5, top + h - 1}, true), i);
        top += h;
    }
    lb->SetTopIndex(3);
    EXPECT_EQ(lb->GetTopIndex(), 3);
    EXPECT_EQ(lb->ItemRect(3).top, 0);
    EXPECT_EQ(lb->ItemRect(2).top, -20);
    EXPECT_EQ(lb->ItemAtPos(TPoint{5, 5}, true), 3);
    // The last items fill the view at most: the top index stops short.
    lb->SetTopIndex(11);
    int clamped = lb->GetTopIndex();
    EXPECT_LT(clamped, 11);
    EXPECT_LE(lb->ItemRect(11).bottom, lb->GetClientHeight());
    EXPECT_GT(lb->ItemRect(11).bottom + lb->ItemRect(clamped - 1).bottom - lb->ItemRect(clamped - 1).top,
              lb->GetClientHeight());
    // Below the last item: nothing, or the place a new item would take.
    while (lb->GetItems()->GetCount() > 2) lb->GetItems()->Delete(2);
    int last = lb->ItemRect(1).bottom;
    EXPECT_EQ(lb->ItemAtPos(TPoint{5, last + 2}, true), -1);
    EXPECT_EQ(lb->ItemAtPos(TPoint{5, last + 2}, false), 2);
}

TEST_F(ListBoxTest, TopIndexFollowsKeysWheelAndScrollBar)
{
    auto* lb = List(100, 100);
    int rowH = lb->GetItemHeight();
    int visible = lb->GetClientHeight() / rowH;
    ClickItem(lb, 0);
    Input::KeyPress(VK_END);
    EXPECT_EQ(lb->GetItemIndex(), 99);
    EXPECT_EQ(lb->GetTopIndex(), 100 - visible);
    Input::KeyPress(VK_HOME);
    EXPECT_EQ(lb->GetTopIndex(), 0);
    Input::KeyPress(VK_NEXT);
    EXPECT_EQ(lb->GetItemIndex(), visible - 1);
    EXPECT_EQ(lb->GetTopIndex(), 0);
    Input::KeyPress(VK_DOWN);
    EXPECT_EQ(lb->GetTopIndex(), 1);

    lb->SetTopIndex(0);
    TPoint mid = ScreenOf(lb, 20, 20);
    Input::MouseMove(mid.x, mid.y);
    Input::Wheel(-WHEEL_DELTA);
    EXPECT_EQ(lb->GetTopIndex(), 3);
    Input::Wheel(WHEEL_DELTA * 2);
    EXPECT_EQ(lb->GetTopIndex(), 0);

    // The down arrow of the scroll bar, at the bottom right inside the edge.
    RECT w;
    GetWindowRect(lb->GetHandle(), &w);
    int edge = GetSystemMetrics(SM_CXEDGE);
    Input::Click(w.right - edge - 4, w.bottom - edge - 4);
    EXPECT_EQ(lb->GetTopIndex(), 1);
    lb->Seen.clear();
    lb->SetTopIndex(50);
    EXPECT_EQ(lb->Seen, (std::vector<std::string>{"top 50"}));
}

TEST_F(ListBoxTest, ItemsSelectionAndTopIndexSurviveRecreation)
{
    auto* lb = List(40, 100);
    TObject marker;
    lb->GetItems()->SetObjects(7, &marker);
    lb->SetMultiSelect(true);
    for (int i : {3, 7, 20}) lb->SetSelected(i, true);
    lb->SetItemIndex(20);
    lb->SetTopIndex(12);
    HWND before = lb->GetHandle();
    lb->SetIntegralHeight(true);  // a style change: a new window
    ProcessPendingMessages();
    EXPECT_NE(lb->GetHandle(), before);
    EXPECT_EQ(lb->GetItems()->GetCount(), 40);
    EXPECT_EQ(lb->GetItems()->GetObjects(7), &marker);
    EXPECT_EQ(SelectedOf(lb), (std::vector<int>{3, 7, 20}));
    EXPECT_EQ(lb->GetItemIndex(), 20);
    EXPECT_EQ(lb->GetTopIndex(), 12);
    // Whole items only: the client height is a multiple of the item height.
    EXPECT_EQ(lb->GetClientHeight() % lb->GetItemHeight(), 0);

    lb->SetMultiSelect(false);
    lb->SetItemIndex(9);
    lb->SetStyle(lbOwnerDrawFixed);
    EXPECT_EQ(lb->GetItemIndex(), 9);
    EXPECT_EQ(lb->GetItems()->GetStrings(9), "Item 9");
}

TEST_F(ListBoxTest, MessagesADescendantSendsAndSees)
{
    auto* lb = List(0);
    lb->GetItems()->Add("one");
    lb->GetItems()->AddObject("two", lb);
    lb->SetItemIndex(1);
    EXPECT_EQ(lb->Seen, (std::vector<std::string>{"add one", "add two", "cursel 1"}));

    char buf[16] = {};
    RECT r{};
    struct Case {
        UINT Msg;
        WPARAM W;
        LPARAM L;
        LRESULT Expected;
    } cases[] = {
        {LB_GETCOUNT, 0, 0, 2},
        {LB_INSERTSTRING, 1, LPARAM("one and a half"), 1},
        {LB_GETTEXTLEN, 1, 0, 14},
        {LB_GETTEXT, 2, LPARAM(buf), 3},
        {LB_GETCURSEL, 0, 0, 2},  // the selected item moved down
        {LB_GETITEMDATA, 2, 0, LRESULT(lb)},
        {LB_FINDSTRING, WPARAM(-1), LPARAM("ONE"), 0},
        {LB_FINDSTRING, 0, LPARAM("one"), 1},
        {LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("ONE AND A HALF"), 1},
        {LB_FINDSTRING, WPARAM(-1), LPARAM("three"), LB_ERR},
        {LB_SELECTSTRING, WPARAM(-1), LPARAM("tw"), 2},
        {LB_SETCURSEL, 5, 0, LB_ERR},
        {LB_GETCURSEL, 0, 0, LB_ERR},
        {LB_GETSEL, 9, 0, LB_ERR},
        {LB_GETSELCOUNT, 0, 0, LB_ERR},
        {LB_SETITEMHEIGHT, 0, 20, LB_OKAY},
        {LB_GETITEMHEIGHT, 0, 0, 20},
        {LB_GETITEMRECT, 1, LPARAM(&r), 1},
        {LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 45), 2},
        {LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 95), MAKELRESULT(2, 1)},
        {LB_DELETESTRING, 0, 0, 2},
        {LB_DELETESTRING, 7, 0, LB_ERR},
        {LB_SETTOPINDEX, 1, 0, LB_OKAY},
        {LB_GETTOPINDEX, 0, 0, 0},  // everything fits: nothing to scroll
        {LB_RESETCONTENT, 0, 0, 0},
        {LB_GETCOUNT, 0, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(lb->Perform(c.Msg, c.W, c.L), c.Expected) << std::hex << c.Msg;
    EXPECT_STREQ(buf, "two");
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.bottom, 40);
}

TEST_F(ListBoxTest, DoubleClickFiresOnce)
{
    auto* lb = List(5);
    TRect r = lb->ItemRect(2);
    TPoint p = ScreenOf(lb, 10, r.top + 2);
    Input::DoubleClick(p.x, p.y);
    EXPECT_EQ(lb->DblClicks, 1);
    EXPECT_EQ(lb->GetItemIndex(), 2);
}

TEST_F(ListBoxTest, PaintingCostsTheVisibleItemsOnly)
{
    auto* lb = List(0, 120);
    lb->SetStyle(lbOwnerDrawFixed);
    lb->GetItems()->BeginUpdate();
    for (int i = 0; i < 100000; ++i) lb->GetItems()->Add("Item " + std::to_string(i));
    lb->GetItems()->EndUpdate();
    ProcessPendingMessages();
    int visible = (lb->GetClientHeight() + lb->GetItemHeight() - 1) / lb->GetItemHeight();
    for (int top : {0, 50000, 99990}) {
        lb->Drawn = 0;
        lb->DrawnIndexes.clear();
        lb->SetTopIndex(top);
        lb->Repaint();
        ProcessPendingMessages();
        EXPECT_LE(lb->Drawn, visible) << top;
        EXPECT_GT(lb->Drawn, 0) << top;
        EXPECT_GE(*std::min_element(lb->DrawnIndexes.begin(), lb->DrawnIndexes.end()), lb->GetTopIndex());
    }
    lb->SetTopIndex(99999);
    EXPECT_EQ(lb->GetTopIndex(), 100000 - lb->GetClientHeight() / lb->GetItemHeight());
    ClickItem(lb, lb->GetTopIndex());
    Input::KeyPress(VK_HOME);
    EXPECT_EQ(lb->GetTopIndex(), 0);
}

TEST_F(ListBoxTest, ColumnsFillDownThenAcrossAndScrollSideways)
{
    auto* lb = List(30, 100);
    lb->SetColumns(2);
    ProcessPendingMessages();
    int rows = lb->GetClientHeight() / lb->GetItemHeight();
    TRect first = lb->ItemRect(0), next = lb->ItemRect(rows);
    EXPECT_EQ(next.top, first.top);
    EXPECT_EQ(next.left, first.right);
    EXPECT_EQ(next.right - next.left, (150 + 2 - 3) / 2);
    EXPECT_EQ(lb->ItemAtPos(TPoint{next.left + 3, next.top + 2}, true), rows);
    ClickItem(lb, 1);
    Input::KeyPress(VK_RIGHT);
    EXPECT_EQ(lb->GetItemIndex(), 1 + rows);
    Input::KeyPress(VK_END);
    EXPECT_EQ(lb->GetItemIndex(), 29);
    EXPECT_EQ(lb->GetTopIndex() % rows, 0);
    EXPECT_GT(lb->GetTopIndex(), 0);
    TRect last = lb->ItemRect(29);
    EXPECT_GE(last.left, 0);
    EXPECT_LE(last.right, lb->GetClientWidth());
    EXPECT_EQ(lb->ItemAtPos(TPoint{last.left + 3, last.top + 2}, true), 29);
}

TEST_F(ListBoxTest, PaintsSelectionFocusAndBackground)
{
    auto* lb = List(5, 100);
    ClickItem(lb, 1);
    ProcessPendingMessages();
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    Screenshot(FHost, std::string(dir ? dir : "/tmp") + "/listbox.png");
    TImageData img = CaptureWindow(FHost);
    TPoint origin = lb->ClientToScreen(TPoint{0, 0});
    RECT host;
    GetWindowRect(FHost, &host);
    auto pixel = [&](int X, int Y) { return At(img, origin.x - host.left + X, origin.y - host.top + Y); };
    TRect sel = lb->ItemRect(1), other = lb->ItemRect(3);
    EXPECT_EQ(pixel(sel.right - 10, (sel.top + sel.bottom) / 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(pixel(other.right - 10, (other.top + other.bottom) / 2), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(pixel(20, lb->GetClientHeight() - 2), GetSysColor(COLOR_WINDOW));
    // The focus rectangle's dots differ from the highlight on the item's edge.
    int dotted = 0;
    for (int x = sel.left; x < sel.right; ++x)
        if (pixel(x, sel.top) != GetSysColor(COLOR_HIGHLIGHT)) ++dotted;
    EXPECT_GT(dotted, (sel.right - sel.left) / 4);
    // Sunken client edge: dark shadow inside the outer shadow at the top left.
    TPoint outer = lb->ClientToScreen(TPoint{-2, 5});
    EXPECT_EQ(At(img, outer.x - host.left, outer.y - host.top), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(ListBoxTest, FormFilePropertiesRoundTrip)
{
    auto* lb = new TListBox(nullptr);
    FRoots.push_back(lb);
    lb->SetName("Files");
    lb->SetSorted(true);
    lb->SetMultiSelect(true);
    lb->SetExtendedSelect(false);
    lb->SetColumns(3);
    lb->SetStyle(lbOwnerDrawVariable);
    lb->SetItemHeight(22);
    lb->SetIntegralHeight(true);
    lb->SetBorderStyle(bsNone);
    lb->GetItems()->SetCommaText("b,a,c");
    std::string data = WriteComponentToString(lb);
    std::string text = ObjectBinaryToText(data);
    EXPECT_EQ(text.find("ExtendedSelect = False") != std::string::npos, true) << text;
    auto* copy = static_cast<TListBox*>(ReadComponentFromString(data, nullptr));
    FRoots.push_back(copy);
    EXPECT_TRUE(copy->GetSorted());
    EXPECT_TRUE(copy->GetMultiSelect());
    EXPECT_FALSE(copy->GetExtendedSelect());
    EXPECT_EQ(copy->GetColumns(), 3);
    EXPECT_EQ(copy->GetStyle(), lbOwnerDrawVariable);
    EXPECT_EQ(copy->GetItemHeight(), 22);
    EXPECT_TRUE(copy->GetIntegralHeight());
    EXPECT_EQ(copy->GetBorderStyle(), bsNone);
    EXPECT_EQ(copy->GetItems()->GetCommaText(), "a,b,c");
    EXPECT_EQ(WriteComponentToString(copy), data);
}

TEST_F(ListBoxTest, HorizontalExtentScrollsSideways)
{
    auto* lb = List(5, 100);
    EXPECT_EQ(lb->ItemRect(0).left, 0);
    lb->Perform(LB_SETHORIZONTALEXTENT, 500, 0);
    ProcessPendingMessages();
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(lb->GetHandle(), SB_HORZ, &si));
    EXPECT_EQ(si.nMax, 499);
    EXPECT_EQ(int(si.nPage), lb->GetClientWidth());
    // The right arrow of the horizontal bar, at the bottom right inside the edge.
    RECT w;
    GetWindowRect(lb->GetHandle(), &w);
    int edge = GetSystemMetrics(SM_CXEDGE);
    Input::Click(w.right - edge - 4, w.bottom - edge - 4);
    EXPECT_LT(lb->ItemRect(0).left, 0);
    EXPECT_EQ(lb->ItemRect(0).right - lb->ItemRect(0).left, 500);
    lb->Perform(LB_SETHORIZONTALEXTENT, 0, 0);
    EXPECT_EQ(lb->ItemRect(0).left, 0);
}

}  // namespace
}  // namespace controltest
