// Combo boxes driven through injected input and CB_* messages.
#include "ControlTest.h"

#include "host/vcl/Filer.h"
#include "host/vcl/StdLists.h"

#include <cstdlib>

namespace controltest {
namespace {

class TWatchedCombo : public TComboBox {
    HOST_CLASS(TWatchedCombo, TComboBox)
public:
    explicit TWatchedCombo(TComponent* AOwner) : TComboBox(AOwner) {}
    int Changes = 0;
    int Clicks = 0;
    int Drops = 0;
    std::vector<int> DrawnIndexes;
    std::vector<bool> DrawnField;

protected:
    void Change() override
    {
        ++Changes;
        inherited::Change();
    }
    void Click() override
    {
        ++Clicks;
        inherited::Click();
    }
    void DropDown() override
    {
        ++Drops;
        inherited::DropDown();
    }
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override
    {
        DrawnIndexes.push_back(Index);
        inherited::DrawItem(Index, Rect, State);
    }
};

class ComboBoxTest : public ControlTest {
protected:
    TWatchedCombo* Combo(TComboBoxStyle Style, int Top = 10, int Count = 6)
    {
        FRoot = Root();
        auto* cb = Make<TWatchedCombo>(FRoot, "Combo", 10, Top, 150, 21);
        cb->SetStyle(Style);
        for (int i = 0; i < Count; ++i) cb->GetItems()->Add(Names()[size_t(i) % Names().size()]);
        ProcessPendingMessages();
        return cb;
    }
    static const std::vector<std::string>& Names()
    {
        static const std::vector<std::string> names = {"apple", "banana", "cherry", "date", "elder", "fig"};
        return names;
    }
    RECT DroppedRect(TCustomComboBox* Cb)
    {
        RECT r{};
        Cb->Perform(CB_GETDROPPEDCONTROLRECT, 0, LPARAM(&r));
        return r;
    }
    // Clicks item Index of the dropped list.
    void ClickListItem(TCustomComboBox* Cb, int Index)
    {
        RECT r = DroppedRect(Cb);
        int h = int(Cb->Perform(CB_GETITEMHEIGHT, WPARAM(Index), 0));
        Input::Click(r.left + 10, r.top + 1 + Index * h + h / 2);
    }
    void ClickCombo(TCustomComboBox* Cb, int X = -1)
    {
        TPoint p = ScreenOf(Cb, X < 0 ? Cb->GetWidth() - 10 : X, Cb->GetHeight() / 2);
        Input::Click(p.x, p.y);
    }
    TTestPanel* FRoot = nullptr;
};

TEST_F(ComboBoxTest, ChoosingWithTheMouseChangesOnce)
{
    auto* cb = Combo(csDropDownList);
    ClickCombo(cb, 20);
    EXPECT_TRUE(cb->GetDroppedDown());
    EXPECT_EQ(cb->Drops, 1);
    EXPECT_TRUE(cb->Focused());
    // The list hangs below the box, as wide as it.
    RECT list = DroppedRect(cb);
    RECT box;
    GetWindowRect(cb->GetHandle(), &box);
    EXPECT_EQ(list.top, box.bottom);
    EXPECT_EQ(list.left, box.left);
    EXPECT_EQ(list.right - list.left, box.right - box.left);
    ClickListItem(cb, 2);
    EXPECT_FALSE(cb->GetDroppedDown());
    EXPECT_EQ(cb->GetItemIndex(), 2);
    EXPECT_EQ(cb->GetText(), "cherry");
    EXPECT_EQ(cb->Changes, 1);
    EXPECT_EQ(cb->Clicks, 1);
    // Choosing the same item again changes nothing.
    ClickCombo(cb);
    ClickListItem(cb, 2);
    EXPECT_EQ(cb->Changes, 1);
}

TEST_F(ComboBoxTest, KeyboardMovesChoosesAndCancels)
{
    auto* cb = Combo(csDropDownList);
    cb->SetFocus();
    struct Step {
        int Vk;
        unsigned Mods;
        bool Dropped;
        int Index;
        int Changes;
    } steps[] = {
        {VK_DOWN, Input::NoModifiers, false, 0, 1},  // closed: each move is a change
        {VK_DOWN, Input::NoModifiers, false, 1, 2},
        {VK_END, Input::NoModifiers, false, 5, 3},
        {VK_HOME, Input::NoModifiers, false, 0, 4},
        {VK_DOWN, Input::Alt, true, 0, 4},           // Alt+Down drops
        {VK_DOWN, Input::NoModifiers, true, 1, 4},   // dropped: moving is not choosing
        {VK_DOWN, Input::NoModifiers, true, 2, 4},
        {VK_RETURN, Input::NoModifiers, false, 2, 5},  // one change for the choice
        {VK_F4, Input::NoModifiers, true, 2, 5},
        {VK_DOWN, Input::NoModifiers, true, 3, 5},
        {VK_ESCAPE, Input::NoModifiers, false, 2, 5},  // cancelled: back to the old item
    };
    for (const Step& s : steps) {
        Input::KeyPress(s.Vk, s.Mods);
        EXPECT_EQ(cb->GetDroppedDown(), s.Dropped) << s.Vk;
        EXPECT_EQ(cb->GetItemIndex(), s.Index) << s.Vk;
        EXPECT_EQ(cb->Changes, s.Changes) << s.Vk;
    }
    EXPECT_EQ(cb->GetText(), "cherry");
    // Typing picks the next item starting with the letter.
    Input::TypeText("e");
    EXPECT_EQ(cb->GetText(), "elder");
    Input::TypeText("a");
    EXPECT_EQ(cb->GetItemIndex(), 0);
    EXPECT_EQ(cb->Changes, 7);
}

TEST_F(ComboBoxTest, AClickOutsideClosesWithoutChoosing)
{
    auto* cb = Combo(csDropDownList);
    cb->SetItemIndex(1);
    ClickCombo(cb);
    ASSERT_TRUE(cb->GetDroppedDown());
    RECT list = DroppedRect(cb);
    // Hovering moves the highlight only.
    Input::MouseMove(list.left + 10, list.top + 4);
    TPoint outside = ScreenOf(FRoot, 300, 250);
    Input::Click(outside.x, outside.y);
    EXPECT_FALSE(cb->GetDroppedDown());
    EXPECT_EQ(cb->GetItemIndex(), 1);
    EXPECT_EQ(cb->Changes, 0);
    char cls[32] = {};
    GetClassName(WindowFromPoint(POINT{list.left + 10, list.top + 4}), cls, sizeof cls);
    EXPECT_STRNE(cls, "LISTBOX");
    // A second click on the button while dropped closes it too.
    ClickCombo(cb);
    ASSERT_TRUE(cb->GetDroppedDown());
    ClickCombo(cb);
    EXPECT_FALSE(cb->GetDroppedDown());
}

TEST_F(ComboBoxTest, DropsAboveWhenTheScreenHasNoRoomBelow)
{
    auto* cb = Combo(csDropDownList, 250, 20);
    cb->SetDropDownCount(20);
    ClickCombo(cb);
    ASSERT_TRUE(cb->GetDroppedDown());
    RECT list = DroppedRect(cb), box;
    GetWindowRect(cb->GetHandle(), &box);
    EXPECT_EQ(list.bottom, box.top);
    EXPECT_EQ(list.bottom - list.top, 20 * int(cb->Perform(CB_GETITEMHEIGHT, 0, 0)) + 2);
    Input::KeyPress(VK_ESCAPE);
    EXPECT_FALSE(cb->GetDroppedDown());
}

TEST_F(ComboBoxTest, EditPartTypesSelectsAndLimits)
{
    auto* cb = Combo(csDropDown);
    cb->SetFocus();
    EXPECT_EQ(cb->GetText(), "");
    Input::TypeText("fi");
    EXPECT_EQ(cb->GetText(), "fi");
    EXPECT_EQ(cb->Changes, 2);
    EXPECT_EQ(cb->GetItemIndex(), -1);
    Input::KeyPress(VK_HOME);
    Input::KeyPress(VK_RIGHT, Input::Shift);
    EXPECT_EQ(cb->GetSelStart(), 0);
    EXPECT_EQ(cb->GetSelLength(), 1);
    EXPECT_EQ(cb->GetSelText(), "f");
    cb->SetSelText("wi");
    EXPECT_EQ(cb->GetText(), "wii");
    EXPECT_EQ(cb->GetSelStart(), 2);
    Input::KeyPress(VK_BACK);
    EXPECT_EQ(cb->GetText(), "wi");
    cb->SetMaxLength(3);
    Input::KeyPress(VK_END);
    Input::TypeText("xyz");
    EXPECT_EQ(cb->GetText(), "wix");
    // Arrows with the list closed take the next item into the field.
    Input::KeyPress(VK_DOWN);
    EXPECT_EQ(cb->GetItemIndex(), 0);
    EXPECT_EQ(cb->GetText(), "apple");
    EXPECT_EQ(cb->GetSelLength(), 5);
    // Choosing from the list replaces the typed text.
    ClickCombo(cb);
    ASSERT_TRUE(cb->GetDroppedDown());
    ClickListItem(cb, 3);
    EXPECT_EQ(cb->GetText(), "date");
    EXPECT_EQ(cb->GetItemIndex(), 3);
}

TEST_F(ComboBoxTest, MessagesADescendantSends)
{
    auto* cb = Combo(csDropDownList, 10, 0);
    char buf[16] = {};
    struct Case {
        UINT Msg;
        WPARAM W;
        LPARAM L;
        LRESULT Expected;
    } cases[] = {
        {CB_ADDSTRING, 0, LPARAM("one"), 0},
        {CB_ADDSTRING, 0, LPARAM("two"), 1},
        {CB_GETCOUNT, 0, 0, 2},
        {CB_GETCURSEL, 0, 0, CB_ERR},
        {CB_SETCURSEL, 1, 0, 1},
        {CB_GETLBTEXT, 1, LPARAM(buf), 3},
        {CB_FINDSTRING, WPARAM(-1), LPARAM("ON"), 0},
        {CB_SELECTSTRING, WPARAM(-1), LPARAM("o"), 0},
        {CB_GETCURSEL, 0, 0, 0},
        {CB_SETCURSEL, 7, 0, CB_ERR},
        {CB_GETDROPPEDSTATE, 0, 0, 0},
        {CB_SHOWDROPDOWN, 1, 0, 1},
        {CB_GETDROPPEDSTATE, 0, 0, 1},
        {CB_SHOWDROPDOWN, 0, 0, 1},
        {CB_SETITEMHEIGHT, 0, 18, CB_OKAY},
        {CB_GETITEMHEIGHT, 0, 0, 18},
        {CB_DELETESTRING, 0, 0, 1},
        {CB_RESETCONTENT, 0, 0, CB_OKAY},
        {CB_GETCOUNT, 0, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(cb->Perform(c.Msg, c.W, c.L), c.Expected) << std::hex << c.Msg;
    EXPECT_STREQ(buf, "two");
    EXPECT_EQ(cb->Drops, 1);
    EXPECT_EQ(cb->Changes, 0);  // nothing the user did
}

TEST_F(ComboBoxTest, SortedItemsAndSelectionSurviveRecreation)
{
    auto* cb = new TWatchedCombo(nullptr);
    FRoots.push_back(cb);
    cb->SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig"}) cb->GetItems()->Add(s);
    cb->SetItemIndex(1);
    cb->SetStyle(csDropDownList);
    cb->SetParentWindow(FHost);
    EXPECT_EQ(cb->GetItems()->GetCommaText(), "Apple,fig,pear");
    EXPECT_EQ(cb->GetItemIndex(), 1);
    EXPECT_EQ(cb->GetText(), "fig");
    HWND before = cb->GetHandle();
    cb->SetStyle(csDropDown);
    EXPECT_NE(cb->GetHandle(), before);
    EXPECT_EQ(cb->GetItemIndex(), 1);
    EXPECT_EQ(cb->GetText(), "fig");
    cb->GetItems()->Add("banana");
    EXPECT_EQ(cb->GetItems()->GetStrings(1), "banana");
    // The height follows the font, whatever was asked.
    cb->SetHeight(60);
    EXPECT_LT(cb->GetHeight(), 40);
}

TEST_F(ComboBoxTest, OwnerDrawnItemsAreMeasuredAndDrawn)
{
    auto* cb = Combo(csOwnerDrawVariable, 10, 0);
    struct THeights : TObject {
        void Measure(TWinControl*, int Index, int& Height) { Height = 14 + 4 * Index; }
    } heights;
    cb->FOnMeasureItem = TMeasureItemEvent(&heights, &THeights::Measure);
    for (const char* s : {"a", "b", "c"}) cb->GetItems()->Add(s);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(cb->Perform(CB_GETITEMHEIGHT, WPARAM(i), 0), 14 + 4 * i);
    cb->SetItemIndex(2);
    cb->DrawnIndexes.clear();
    cb->Repaint();
    ProcessPendingMessages();
    EXPECT_EQ(cb->DrawnIndexes, (std::vector<int>{2}));  // the field shows the selected item
    cb->DrawnIndexes.clear();
    ClickCombo(cb);
    ProcessPendingMessages();
    EXPECT_EQ(cb->DrawnIndexes.size(), 4u);  // the list's three items and the field
    RECT list = DroppedRect(cb);
    EXPECT_EQ(list.bottom - list.top, 14 + 18 + 22 + 2);
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    Screenshot(nullptr, std::string(dir ? dir : "/tmp") + "/combobox_ownerdraw.png");
    Input::KeyPress(VK_ESCAPE);
}

TEST_F(ComboBoxTest, PaintsButtonFieldAndDroppedList)
{
    auto* cb = Combo(csDropDownList);
    cb->SetFocus();
    cb->SetItemIndex(1);
    ProcessPendingMessages();
    TImageData img = CaptureWindow(nullptr);
    auto at = [&](int X, int Y) {
        uint32_t p = img.Pixel(X, Y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    TPoint o = cb->ClientToScreen(TPoint{0, 0});
    int w = cb->GetWidth(), h = cb->GetHeight();
    EXPECT_EQ(at(o.x, o.y), GetSysColor(COLOR_BTNSHADOW));                 // sunken edge
    EXPECT_EQ(at(o.x + w - 6, o.y + 4), GetSysColor(COLOR_BTNFACE));       // button face
    EXPECT_EQ(at(o.x + w - 10, o.y + h / 2), GetSysColor(COLOR_BTNTEXT));  // its arrow
    EXPECT_EQ(at(o.x + 60, o.y + h / 2), GetSysColor(COLOR_HIGHLIGHT));    // focused field
    ClickCombo(cb);
    ProcessPendingMessages();
    img = CaptureWindow(nullptr);
    RECT list = DroppedRect(cb);
    EXPECT_EQ(at(list.left, list.top + 5), RGB(0, 0, 0));  // the list's border
    EXPECT_EQ(at(list.right - 30, list.top + 1 + 1 * int(cb->Perform(CB_GETITEMHEIGHT, 0, 0)) + 3),
              GetSysColor(COLOR_HIGHLIGHT));
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    Screenshot(nullptr, std::string(dir ? dir : "/tmp") + "/combobox.png");
    Input::KeyPress(VK_ESCAPE);
}

TEST_F(ComboBoxTest, FormFilePropertiesRoundTrip)
{
    auto* cb = new TComboBox(nullptr);
    FRoots.push_back(cb);
    cb->SetName("Choice");
    cb->SetStyle(csDropDownList);
    cb->SetSorted(true);
    cb->SetDropDownCount(12);
    cb->SetMaxLength(20);
    cb->SetItemHeight(18);
    cb->GetItems()->SetCommaText("b,a,c");
    std::string data = WriteComponentToString(cb);
    auto* copy = static_cast<TComboBox*>(ReadComponentFromString(data, nullptr));
    FRoots.push_back(copy);
    EXPECT_EQ(copy->GetStyle(), csDropDownList);
    EXPECT_TRUE(copy->GetSorted());
    EXPECT_EQ(copy->GetDropDownCount(), 12);
    EXPECT_EQ(copy->GetMaxLength(), 20);
    EXPECT_EQ(copy->GetItemHeight(), 18);
    EXPECT_EQ(copy->GetItems()->GetCommaText(), "a,b,c");
    EXPECT_EQ(WriteComponentToString(copy), data);
}

TEST_F(ComboBoxTest, SimpleStyleShowsItsListBelowTheField)
{
    FRoot = Root();
    // As a form file gives it: the style before the window.
    auto* cb = new TWatchedCombo(nullptr);
    cb->SetStyle(csSimple);
    cb->SetBounds(10, 10, 150, 120);
    cb->SetParent(FRoot);
    for (const std::string& s : Names()) cb->GetItems()->Add(s);
    ProcessPendingMessages();
    EXPECT_EQ(cb->GetHeight(), 120);  // a simple combo box keeps its height
    int h = int(cb->Perform(CB_GETITEMHEIGHT, 0, 0));
    int field = int(cb->Perform(CB_GETITEMHEIGHT, WPARAM(-1), 0)) + 6;
    // The list's items start below the field, inside the list's edge.
    TPoint item = ScreenOf(cb, 20, field + 2 + 4 * h + h / 2);
    Input::Click(item.x, item.y);
    EXPECT_EQ(cb->GetItemIndex(), 4);
    EXPECT_EQ(cb->GetText(), "elder");
    EXPECT_EQ(cb->Changes, 1);
    EXPECT_TRUE(cb->Focused());
    EXPECT_FALSE(cb->GetDroppedDown());
    Input::KeyPress(VK_UP);
    EXPECT_EQ(cb->GetText(), "date");
    EXPECT_EQ(cb->Changes, 2);
    Input::TypeText("x");
    EXPECT_EQ(cb->GetText(), "x");
    EXPECT_EQ(cb->Changes, 3);
}

}  // namespace
}  // namespace controltest
