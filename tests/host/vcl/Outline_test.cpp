// The outline: numbering, levels, text form, and expanding through the
// mouse and the keyboard.
#include "ControlTest.h"

#include <cstdlib>

#include "host/rtl/Streams.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Outline.h"

#include <cstdio>
#include <fstream>

namespace controltest {
namespace {

// Where the pictures of the controls go for a person to look at.
std::string ShotDir()
{
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    return dir ? dir : "/tmp";
}

std::vector<std::string> Lines(TCustomOutline* O)
{
    std::vector<std::string> out;
    for (int i = 0; i < O->GetLines()->GetCount(); ++i) out.push_back(O->GetLines()->GetStrings(i));
    return out;
}

// The texts of the rows that show, top to bottom.
std::vector<std::string> Rows(TCustomOutline* O)
{
    std::vector<std::string> out;
    for (int i = 1; i <= O->GetItemCount(); ++i)
        if (O->GetItem(i)->GetIsVisible()) out.push_back(O->GetItem(i)->GetText());
    return out;
}

class OutlineTest : public ControlTest {
protected:
    TOutline* MakeOutline(TWinControl* Parent)
    {
        auto* o = Make<TOutline>(Parent, "Outline", 10, 10, 250, 200);
        int nav = o->Add(0, "Navigate");
        o->AddChild(nav, "First");
        o->AddChild(nav, "Prior");
        int edit = o->Add(nav, "Edit Records");
        int ins = o->AddChild(edit, "Insert");
        o->AddChild(ins, "Insert Copy");
        o->AddChild(edit, "Delete");
        o->Add(0, "Other");
        return o;
    }
    void ClickRow(TCustomOutline* O, int Index, bool Double)
    {
        TRect r = O->ItemRect(Index);
        int x = O->GetItem(Index)->GetLevel() * 16 + 40;
        TPoint p = ScreenOf(O, x, (r.top + r.bottom) / 2);
        if (Double)
            Input::DoubleClick(p.x, p.y);
        else
            Input::Click(p.x, p.y);
    }
};

TEST_F(OutlineTest, ItemsAreNumberedInOutlineOrder)
{
    TTestPanel* root = Root();
    TOutline* o = MakeOutline(root);
    EXPECT_EQ(Lines(o), (std::vector<std::string>{"Navigate", "\tFirst", "\tPrior", "Edit Records", "\tInsert",
                                                  "\t\tInsert Copy", "\tDelete", "Other"}));
    struct Case {
        int Index;
        int Level;
        int Parent;  // 0: top level
        std::string FullPath;
        bool HasItems;
    } cases[] = {
        {1, 1, 0, "Navigate", true},
        {3, 2, 1, "Navigate\\Prior", false},
        {5, 2, 4, "Edit Records\\Insert", true},
        {6, 3, 5, "Edit Records\\Insert\\Insert Copy", false},
        {8, 1, 0, "Other", false},
    };
    for (const Case& c : cases) {
        TOutlineNode* n = o->GetItem(c.Index);
        EXPECT_EQ(n->GetIndex(), c.Index);
        EXPECT_EQ(n->GetLevel(), c.Level) << c.Index;
        EXPECT_EQ(n->GetParent() ? n->GetParent()->GetIndex() : 0, c.Parent) << c.Index;
        EXPECT_EQ(n->GetFullPath(), c.FullPath);
        EXPECT_EQ(n->GetHasItems(), c.HasItems) << c.Index;
    }
    o->SetItemSeparator("/");
    EXPECT_EQ(o->GetItem(6)->GetFullPath(), "Edit Records/Insert/Insert Copy");
    EXPECT_EQ(o->GetItem(4)->getFirstChild(), 5);
    EXPECT_EQ(o->GetItem(4)->getNextChild(5), 7);
    EXPECT_EQ(o->GetItem(4)->getNextChild(7), -1);
    EXPECT_EQ(o->GetItem(4)->getLastChild(), 7);
    EXPECT_EQ(o->GetItem(6)->GetTopItem(), 4);

    // Insert goes before its item, numbers after it move on.
    int at = o->Insert(4, "Mark");
    EXPECT_EQ(at, 4);
    EXPECT_EQ(o->GetItem(5)->GetText(), "Edit Records");
    int data = 42;
    o->AddChildObject(4, "Bookmark", &data);
    EXPECT_EQ(o->GetDataItem(&data), 5);
    EXPECT_EQ(o->GetTextItem("Delete"), 9);
    o->Delete(6);  // Edit Records with its four items
    EXPECT_EQ(o->GetItemCount(), 6);
    EXPECT_EQ(o->GetTextItem("Insert Copy"), 0);
    EXPECT_THROW(o->GetItem(7), EOutlineError);
    o->MoveTo(6, 1, oaAddChild);  // "Other" below "Navigate"
    EXPECT_EQ(Lines(o), (std::vector<std::string>{"Navigate", "\tFirst", "\tPrior", "\tOther", "Mark", "\tBookmark"}));
    EXPECT_THROW(o->MoveTo(1, 2, oaAddChild), EOutlineError) << "not below itself";
}

TEST_F(OutlineTest, DoubleClickAndKeysExpandAndCollapse)
{
    TTestPanel* root = Root();
    TOutline* o = MakeOutline(root);
    std::vector<std::string> events;
    o->OnExpand = [&](TObject*, int Index) { events.push_back("expand " + std::to_string(Index)); };
    o->OnCollapse = [&](TObject*, int Index) { events.push_back("collapse " + std::to_string(Index)); };
    int dblClicks = 0;
    o->OnDblClick = [&](TObject*) { ++dblClicks; };
    ProcessPendingMessages();
    EXPECT_EQ(Rows(o), (std::vector<std::string>{"Navigate", "Edit Records", "Other"}));

    ClickRow(o, 4, true);
    EXPECT_EQ(o->GetSelectedItem(), 4);
    EXPECT_TRUE(o->GetItem(4)->GetExpanded());
    EXPECT_EQ(Rows(o), (std::vector<std::string>{"Navigate", "Edit Records", "Insert", "Delete", "Other"}));
    EXPECT_EQ(dblClicks, 1);
    ClickRow(o, 8, true);
    EXPECT_FALSE(o->GetItem(8)->GetExpanded()) << "an item without items does not open";

    // Keys on the selected item: '+' opens, '-' closes, '*' opens all below.
    struct Step {
        int Vk;
        std::string Text;
        int Selected;
        std::vector<std::string> Rows;
    } steps[] = {
        {VK_HOME, "", 1, {"Navigate", "Edit Records", "Insert", "Delete", "Other"}},
        {0, "+", 1, {"Navigate", "First", "Prior", "Edit Records", "Insert", "Delete", "Other"}},
        {0, "-", 1, {"Navigate", "Edit Records", "Insert", "Delete", "Other"}},
        {VK_DOWN, "", 4, {"Navigate", "Edit Records", "Insert", "Delete", "Other"}},
        {0, "-", 4, {"Navigate", "Edit Records", "Other"}},
        {0, "*", 4, {"Navigate", "Edit Records", "Insert", "Insert Copy", "Delete", "Other"}},
        {VK_DOWN, "", 5, {"Navigate", "Edit Records", "Insert", "Insert Copy", "Delete", "Other"}},
        {VK_LEFT, "", 5, {"Navigate", "Edit Records", "Insert", "Delete", "Other"}},
        {VK_LEFT, "", 4, {"Navigate", "Edit Records", "Insert", "Delete", "Other"}},
        {VK_END, "", 8, {"Navigate", "Edit Records", "Insert", "Delete", "Other"}},
    };
    for (const Step& s : steps) {
        if (s.Vk)
            Input::KeyPress(s.Vk);
        else
            Input::TypeText(s.Text);
        EXPECT_EQ(o->GetSelectedItem(), s.Selected) << s.Vk << s.Text;
        EXPECT_EQ(Rows(o), s.Rows) << s.Vk << s.Text;
    }
    EXPECT_EQ(events, (std::vector<std::string>{"expand 4", "expand 1", "collapse 1", "collapse 4", "expand 4",
                                                "expand 5", "collapse 5"}));

    // Collapsing an item hides the selection inside it: the item takes it.
    o->SetSelectedItem(6);
    EXPECT_TRUE(o->GetItem(5)->GetExpanded()) << "selecting a hidden item opens the items above it";
    o->GetItem(4)->Collapse();
    EXPECT_EQ(o->GetSelectedItem(), 4);
}

TEST_F(OutlineTest, ClickOnTheButtonToggles)
{
    TTestPanel* root = Root();
    TOutline* o = MakeOutline(root);
    ProcessPendingMessages();
    for (TOutlineStyle style : {osTreePictureText, osPlusMinusText}) {
        o->SetOutlineStyle(style);
        o->FullCollapse();
        TRect box = o->ButtonRect(4);
        ASSERT_GT(box.right, box.left) << int(style);
        TPoint p = ScreenOf(o, (box.left + box.right) / 2, (box.top + box.bottom) / 2);
        Input::Click(p.x, p.y);
        EXPECT_TRUE(o->GetItem(4)->GetExpanded()) << int(style);
        Input::AdvanceTime(GetDoubleClickTime() + 10);
        Input::Click(p.x, p.y);
        EXPECT_FALSE(o->GetItem(4)->GetExpanded()) << int(style);
        // Two quick clicks on the button are two toggles, not a toggle and a double click.
        Input::DoubleClick(p.x, p.y);
        EXPECT_FALSE(o->GetItem(4)->GetExpanded()) << int(style);
        Input::AdvanceTime(GetDoubleClickTime() + 10);
    }
    o->SetOutlineStyle(osPictureText);
    EXPECT_EQ(o->ButtonRect(4).right, 0) << "no buttons in this style";
}

TEST_F(OutlineTest, LoadsTabIndentedTextAndRefusesBadLevels)
{
    TTestPanel* root = Root();
    auto* o = Make<TOutline>(root, "Outline", 10, 10, 250, 200);
    std::string file = GetTempDir() + "outline-test.txt";
    std::ofstream(file) << "Fruit\n\tApple\n\t\tCox\n\tPear\nVegetables\n\tLeek\n";
    o->LoadFromFile(file);
    EXPECT_EQ(o->GetItemCount(), 6);
    EXPECT_EQ(o->GetItem(3)->GetFullPath(), "Fruit\\Apple\\Cox");
    EXPECT_EQ(o->GetItem(6)->GetParent()->GetText(), "Vegetables");

    std::ofstream(file) << "Top\n\t\tTooDeep\n";
    EXPECT_THROW(o->LoadFromFile(file), EOutlineError);
    EXPECT_EQ(o->GetItemCount(), 6) << "a bad file leaves the outline as it was";
    std::remove(file.c_str());

    // Lines is the same text form, and streams with the outline.
    o->GetLines()->Add("\tCarrot");
    EXPECT_EQ(o->GetItem(7)->GetFullPath(), "Vegetables\\Carrot");
    EXPECT_THROW(o->GetLines()->Add("\t\t\tLost"), EOutlineError);
    o->GetItem(1)->Expand();
    auto* copy = static_cast<TOutline*>(ReadComponentFromString(WriteComponentToString(o), nullptr));
    EXPECT_EQ(Lines(copy), Lines(o));
    copy->Free();
}

TEST_F(OutlineTest, PaintsOnlyTheRowsInView)
{
    TTestPanel* root = Root();
    auto* o = Make<TOutline>(root, "Outline", 10, 10, 200, 120);
    o->BeginUpdate();
    for (int i = 0; i < 2000; ++i) o->AddChild(o->Add(0, "Item " + std::to_string(i)), "Child");
    o->EndUpdate();
    std::vector<int> drawn;
    o->SetStyle(otOwnerDraw);
    o->OnDrawItem = [&](TObject*, int Index, TRect, bool) { drawn.push_back(Index); };
    ProcessPendingMessages();
    o->Invalidate();
    drawn.clear();
    ProcessPendingMessages();
    EXPECT_LE(drawn.size(), 10u);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front(), 1);

    o->SetFocus();
    ProcessPendingMessages();
    drawn.clear();
    Input::KeyPress(VK_END);
    EXPECT_EQ(o->GetSelectedItem(), 3999);
    ProcessPendingMessages();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), 3999) << "the selection is scrolled into view";
    EXPECT_LE(drawn.size(), 10u);
}

TEST_F(OutlineTest, TreeStyleLooksRight)
{
    TTestPanel* root = Root();
    TOutline* o = MakeOutline(root);
    o->GetItem(4)->FullExpand();
    o->SetSelectedItem(5);
    o->SetFocus();
    ProcessPendingMessages();
    Screenshot(FHost, ShotDir() + "/outline.png");
    TImageData img = CaptureWindow(FHost);
    RECT host;
    GetWindowRect(FHost, &host);
    auto pixel = [&](int X, int Y) {
        TPoint p = ScreenOf(o, X, Y);
        uint32_t v = img.Pixel(p.x - host.left, p.y - host.top);
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    // The button of the open "Edit Records": a box with a minus, no vertical stroke.
    TRect box = o->ButtonRect(4);
    int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    EXPECT_EQ(pixel(cx, cy), RGB(0, 0, 0));
    EXPECT_EQ(pixel(cx, box.top + 2), RGB(255, 255, 255));
    EXPECT_EQ(pixel(box.left, cy), RGB(128, 128, 128));
    // The closed "Navigate": a plus.
    TRect plus = o->ButtonRect(1);
    EXPECT_EQ(pixel((plus.left + plus.right) / 2, plus.top + 2), RGB(0, 0, 0));
}

TEST_F(OutlineTest, PicturesReplaceTheDrawnOnesAndStream)
{
    TTestPanel* root = Root();
    TOutline* o = MakeOutline(root);
    o->SetOutlineStyle(osPictureText);
    TBitmap leaf;
    leaf.SetSize(12, 12);
    leaf.GetCanvas()->GetBrush()->SetColor(clRed);
    leaf.GetCanvas()->FillRect(TRect{0, 0, 12, 12});
    o->SetPictureLeaf(&leaf);
    ProcessPendingMessages();
    auto pixelAt = [&](int Index) {
        TImageData img = CaptureWindow(FHost);
        RECT host;
        GetWindowRect(FHost, &host);
        TRect r = o->ItemRect(Index);
        TPoint p = ScreenOf(o, 2 + 8, (r.top + r.bottom) / 2);  // the middle of a top-level item's picture
        uint32_t v = img.Pixel(p.x - host.left, p.y - host.top);
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    EXPECT_EQ(pixelAt(8), RGB(255, 0, 0)) << "the leaf Other shows the given picture";
    EXPECT_NE(pixelAt(1), RGB(255, 0, 0)) << "items with items keep the folder";

    auto* copy = static_cast<TOutline*>(ReadComponentFromString(WriteComponentToString(o), nullptr));
    EXPECT_EQ(copy->GetPictureLeaf()->GetWidth(), 12);
    EXPECT_TRUE(copy->GetPictureOpen()->GetEmpty());
    copy->Free();

    o->SetPictureLeaf(nullptr);
    ProcessPendingMessages();
    EXPECT_NE(pixelAt(8), RGB(255, 0, 0)) << "an emptied picture gives way to the drawn sheet";
}

} // namespace
} // namespace controltest
