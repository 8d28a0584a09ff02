// The tree view: node lists, expanding with the mouse and the keyboard,
// vetoes, caption editing in place, and the stored form.
#include "ControlTest.h"

#include <cstdlib>

#include "host/vcl/ComCtrls.h"
#include "host/vcl/Filer.h"

#include <regex>

namespace controltest {
namespace {

// Where the pictures of the controls go for a person to look at.
std::string ShotDir()
{
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    return dir ? dir : "/tmp";
}

std::vector<std::string> Texts(TTreeNodes* Nodes)
{
    std::vector<std::string> out;
    for (TTreeNode* n = Nodes->GetFirstNode(); n; n = n->GetNext())
        out.push_back(std::string(size_t(n->GetLevel()), '-') + n->GetText());
    return out;
}

class TreeViewTest : public ControlTest {
protected:
    TTreeView* MakeTree(TWinControl* Parent)
    {
        auto* tv = Make<TTreeView>(Parent, "Tree", 10, 10, 250, 250);
        TTreeNodes* items = tv->GetItems();
        TTreeNode* customers = items->Add(nullptr, "Customers");
        items->AddChild(customers, "Names");
        items->AddChild(customers, "Addresses");
        TTreeNode* orders = items->Add(customers, "Orders");
        TTreeNode* lines = items->AddChild(orders, "Lines");
        items->AddChild(lines, "Parts");
        items->AddChildFirst(orders, "Dates");
        return tv;
    }
    void ClickNode(TTreeView* Tv, TTreeNode* Node, bool Double = false)
    {
        TRect r = Node->DisplayRect(true);
        TPoint p = ScreenOf(Tv, r.left + 6, (r.top + r.bottom) / 2);
        if (Double)
            Input::DoubleClick(p.x, p.y);
        else
            Input::Click(p.x, p.y);
    }
    void ClickButton(TTreeView* Tv, TTreeNode* Node)
    {
        TRect b = Tv->ButtonRect(Node);
        ASSERT_GT(b.right, b.left) << Node->GetText();
        TPoint p = ScreenOf(Tv, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
        Input::Click(p.x, p.y);
    }
};

TEST_F(TreeViewTest, NodesKeepTheirOrderAndRelations)
{
    TTestPanel* root = Root();
    TTreeView* tv = MakeTree(root);
    TTreeNodes* items = tv->GetItems();
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"Customers", "-Names", "-Addresses", "Orders", "-Dates", "-Lines",
                                                      "--Parts"}));
    EXPECT_EQ(items->GetCount(), 7);
    items->AddFirst(nullptr, "Archive");
    items->Insert(items->GetItem(5), "Totals");  // before Dates
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"Archive", "Customers", "-Names", "-Addresses", "Orders",
                                                      "-Totals", "-Dates", "-Lines", "--Parts"}));
    struct Case {
        int Absolute;
        int Level, Index, Count;
        std::string Parent;
    } cases[] = {
        {0, 0, 0, 0, ""}, {2, 1, 0, 0, "Customers"}, {4, 0, 2, 3, ""}, {8, 2, 0, 0, "Lines"},
    };
    for (const Case& c : cases) {
        TTreeNode* n = items->GetItem(c.Absolute);
        EXPECT_EQ(n->GetAbsoluteIndex(), c.Absolute);
        EXPECT_EQ(n->GetLevel(), c.Level) << n->GetText();
        EXPECT_EQ(n->GetIndex(), c.Index) << n->GetText();
        EXPECT_EQ(n->GetCount(), c.Count) << n->GetText();
        EXPECT_EQ(n->GetParent() ? n->GetParent()->GetText() : "", c.Parent) << n->GetText();
    }
    TTreeNode* orders = items->GetItem(4);
    EXPECT_EQ(orders->getFirstChild()->GetText(), "Totals");
    EXPECT_EQ(orders->getFirstChild()->getNextSibling()->GetText(), "Dates");
    EXPECT_EQ(orders->GetItem(2)->GetText(), "Lines");
    EXPECT_TRUE(items->GetItem(8)->HasAsParent(orders));
    EXPECT_THROW(orders->GetItem(3), EListError);

    orders->GetItem(2)->MoveTo(items->GetItem(1), naAddChildFirst);
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"Archive", "Customers", "-Lines", "--Parts", "-Names",
                                                      "-Addresses", "Orders", "-Totals", "-Dates"}));
    EXPECT_THROW(items->GetItem(1)->MoveTo(items->GetItem(3), naAddChild), EInvalidOperation);
    orders->Delete();
    EXPECT_EQ(items->GetCount(), 6);
    items->Clear();
    EXPECT_EQ(items->GetFirstNode(), nullptr);
}

TEST_F(TreeViewTest, ButtonsExpandUnlessRefused)
{
    TTestPanel* root = Root();
    TTreeView* tv = MakeTree(root);
    TTreeNode* customers = tv->GetItems()->GetItem(0);
    TTreeNode* orders = tv->GetItems()->GetItem(3);
    std::vector<std::string> log;
    bool refuse = false;
    tv->OnExpanding = [&](TObject*, TTreeNode* N, bool& Allow) {
        log.push_back("expanding " + N->GetText());
        Allow = !refuse;
    };
    tv->OnExpanded = [&](TObject*, TTreeNode* N) { log.push_back("expanded " + N->GetText()); };
    tv->OnCollapsing = [&](TObject*, TTreeNode* N, bool&) { log.push_back("collapsing " + N->GetText()); };
    tv->OnCollapsed = [&](TObject*, TTreeNode* N) { log.push_back("collapsed " + N->GetText()); };
    ProcessPendingMessages();

    ClickButton(tv, customers);
    EXPECT_TRUE(customers->GetExpanded());
    EXPECT_TRUE(tv->GetItems()->GetItem(1)->GetIsVisible());
    EXPECT_EQ(tv->GetSelected(), nullptr) << "the button does not select";
    refuse = true;
    ClickButton(tv, orders);
    EXPECT_FALSE(orders->GetExpanded());
    refuse = false;
    ClickButton(tv, customers);
    EXPECT_FALSE(customers->GetExpanded());
    EXPECT_EQ(log, (std::vector<std::string>{"expanding Customers", "expanded Customers", "expanding Orders",
                                             "collapsing Customers", "collapsed Customers"}));

    // A node may promise children and add them when it opens.
    TTreeNode* lazy = tv->GetItems()->Add(nullptr, "Lazy");
    lazy->SetHasChildren(true);
    TTreeNode* empty = tv->GetItems()->Add(nullptr, "Empty");
    empty->SetHasChildren(true);
    tv->OnExpanding = [&](TObject*, TTreeNode* N, bool&) {
        if (N == lazy && N->GetCount() == 0) tv->GetItems()->AddChild(N, "Loaded");
    };
    ProcessPendingMessages();
    ClickButton(tv, lazy);
    EXPECT_TRUE(lazy->GetExpanded());
    EXPECT_EQ(lazy->GetCount(), 1);
    ClickButton(tv, empty);
    EXPECT_FALSE(empty->GetExpanded());
    EXPECT_FALSE(empty->GetHasChildren()) << "a promise not kept removes the button";
}

TEST_F(TreeViewTest, KeyboardMovesTheSelectionAndOnChangingMayRefuse)
{
    TTestPanel* root = Root();
    TTreeView* tv = MakeTree(root);
    std::vector<std::string> changes;
    std::string refused;
    tv->OnChanging = [&](TObject*, TTreeNode* N, bool& Allow) { Allow = !N || N->GetText() != refused; };
    tv->OnChange = [&](TObject*, TTreeNode* N) { changes.push_back(N ? N->GetText() : "-"); };
    ProcessPendingMessages();
    ClickNode(tv, tv->GetItems()->GetItem(0));
    EXPECT_EQ(tv->GetSelected()->GetText(), "Customers");

    struct Step {
        int Vk;
        std::string Selected;
        bool CustomersOpen;
    } steps[] = {
        {VK_RIGHT, "Customers", true}, {VK_RIGHT, "Names", true},      {VK_DOWN, "Addresses", true},
        {VK_DOWN, "Orders", true},     {VK_LEFT, "Orders", true},      {VK_UP, "Addresses", true},
        {VK_LEFT, "Customers", true},  {VK_SUBTRACT, "Customers", false}, {VK_END, "Orders", false},
        {VK_MULTIPLY, "Orders", false}, {VK_END, "Parts", false},       {VK_HOME, "Customers", false},
    };
    for (const Step& s : steps) {
        Input::KeyPress(s.Vk);
        EXPECT_EQ(tv->GetSelected()->GetText(), s.Selected) << s.Vk;
        EXPECT_EQ(tv->GetItems()->GetItem(0)->GetExpanded(), s.CustomersOpen) << s.Vk;
    }
    refused = "Orders";
    Input::KeyPress(VK_DOWN);
    EXPECT_EQ(tv->GetSelected()->GetText(), "Customers") << "OnChanging refused";
    EXPECT_EQ(changes.back(), "Customers");

    // Collapsing above the selection brings it up; deleting it moves it on.
    refused.clear();
    tv->GetItems()->GetItem(0)->Expand(false);
    tv->SetSelected(tv->GetItems()->GetItem(2));
    tv->GetItems()->GetItem(0)->Collapse(false);
    EXPECT_EQ(tv->GetSelected()->GetText(), "Customers");
    tv->GetItems()->GetItem(0)->Delete();
    EXPECT_EQ(tv->GetSelected()->GetText(), "Orders");
    EXPECT_EQ(changes.back(), "Orders");
}

TEST_F(TreeViewTest, F2EditsTheCaptionReturnKeepsEscapeDrops)
{
    TTestPanel* root = Root();
    TTreeView* tv = MakeTree(root);
    std::vector<std::string> edited;
    bool allowEdit = true;
    tv->OnEditing = [&](TObject*, TTreeNode*, bool& Allow) { Allow = allowEdit; };
    tv->OnEdited = [&](TObject*, TTreeNode*, std::string& S) {
        edited.push_back(S);
        if (S == "upper") S = "UPPER";
    };
    ProcessPendingMessages();
    TTreeNode* orders = tv->GetItems()->GetItem(3);
    ClickNode(tv, orders);
    ASSERT_EQ(tv->GetSelected(), orders);

    Input::KeyPress(VK_F2);
    ASSERT_TRUE(tv->IsEditing());
    EXPECT_EQ(tv->GetEditControl()->GetText(), "Orders");
    Input::TypeText("Sales");  // the text was selected: typing replaces it
    Input::KeyPress(VK_RETURN);
    EXPECT_FALSE(tv->IsEditing());
    EXPECT_EQ(orders->GetText(), "Sales");
    EXPECT_TRUE(tv->Focused()) << "the focus comes back to the tree";

    Input::KeyPress(VK_F2);
    Input::TypeText("upper");
    Input::KeyPress(VK_RETURN);
    EXPECT_EQ(orders->GetText(), "UPPER") << "OnEdited may change the text";

    Input::KeyPress(VK_F2);
    Input::TypeText("Dropped");
    Input::KeyPress(VK_ESCAPE);
    EXPECT_EQ(orders->GetText(), "UPPER");
    EXPECT_EQ(edited, (std::vector<std::string>{"Sales", "upper"}));

    allowEdit = false;
    Input::KeyPress(VK_F2);
    EXPECT_FALSE(tv->IsEditing()) << "OnEditing refused";
    allowEdit = true;
    tv->SetReadOnly(true);
    EXPECT_FALSE(orders->EditText());

    // A second slow click on the selected caption edits too; a double click does not.
    tv->SetReadOnly(false);
    Input::AdvanceTime(GetDoubleClickTime() + 10);  // no double click with the first click
    ClickNode(tv, orders);
    EXPECT_FALSE(tv->IsEditing()) << "not before the double-click time has passed";
    Input::AdvanceTime(GetDoubleClickTime() + 10);
    EXPECT_TRUE(tv->IsEditing());
    Input::KeyPress(VK_ESCAPE);
    Input::AdvanceTime(GetDoubleClickTime() + 10);
    ClickNode(tv, orders, true);
    Input::AdvanceTime(GetDoubleClickTime() + 10);
    EXPECT_FALSE(tv->IsEditing());
    EXPECT_TRUE(orders->GetExpanded()) << "the double click opened the node instead";

    // Deleting the node being edited ends the edit without touching freed memory.
    orders->EditText();
    ASSERT_TRUE(tv->IsEditing());
    orders->Delete();
    EXPECT_FALSE(tv->IsEditing());
}

TEST_F(TreeViewTest, ItemsRoundTripAndBadStoredDataIsRefused)
{
    auto* tv = new TTreeView(nullptr);
    tv->SetName("Tree");
    TTreeNode* a = tv->GetItems()->Add(nullptr, "Alpha");
    a->SetImageIndex(2);
    a->SetSelectedIndex(3);
    tv->GetItems()->AddChild(tv->GetItems()->AddChild(a, "Beta"), "Gamma");
    tv->GetItems()->Add(nullptr, "Delta");
    std::string stored = WriteComponentToString(tv);
    auto* copy = static_cast<TTreeView*>(ReadComponentFromString(stored, nullptr));
    EXPECT_EQ(Texts(copy->GetItems()), (std::vector<std::string>{"Alpha", "-Beta", "--Gamma", "Delta"}));
    EXPECT_EQ(copy->GetItems()->GetItem(0)->GetImageIndex(), 2);
    EXPECT_EQ(copy->GetItems()->GetItem(0)->GetSelectedIndex(), 3);
    copy->Free();

    // A child count far beyond what the data holds.
    std::string text = ObjectBinaryToText(stored);
    std::string bad = std::regex_replace(text, std::regex("Items\\.Data = \\{[^}]*\\}"),
                                         "Items.Data = {01000000FFFFFFFFFFFFFFFFFFFFFF7F00000000}");
    ASSERT_NE(bad, text);
    EXPECT_THROW(ReadComponentFromString(ObjectTextToBinary(bad), nullptr), Exception);
    tv->Free();
}

TEST_F(TreeViewTest, LooksLikeATree)
{
    TTestPanel* root = Root();
    TTreeView* tv = MakeTree(root);
    auto* images = new TImageList(nullptr);
    images->SetWidth(16);
    images->SetHeight(16);
    auto* bmp = new TBitmap();
    bmp->SetSize(16, 16);
    bmp->GetCanvas()->GetBrush()->SetColor(clRed);
    bmp->GetCanvas()->FillRect(TRect{0, 0, 16, 16});
    images->Add(bmp, nullptr);
    tv->SetImages(images);
    for (TTreeNode* n = tv->GetItems()->GetFirstNode(); n; n = n->GetNext()) n->SetImageIndex(0);
    tv->GetItems()->GetItem(0)->Expand(false);
    tv->SetSelected(tv->GetItems()->GetItem(2));
    tv->SetFocus();
    ProcessPendingMessages();
    Screenshot(FHost, ShotDir() + "/tree.png");
    TImageData img = CaptureWindow(FHost);
    RECT host;
    GetWindowRect(FHost, &host);
    auto pixel = [&](int X, int Y) {
        TPoint p = ScreenOf(tv, X, Y);
        uint32_t v = img.Pixel(p.x - host.left, p.y - host.top);
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    TRect box = tv->ButtonRect(tv->GetItems()->GetItem(3));  // Orders, closed: a plus
    int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    EXPECT_EQ(pixel(cx, box.top + 2), RGB(0, 0, 0));
    EXPECT_EQ(pixel(box.left, cy), RGB(128, 128, 128));
    TRect open = tv->ButtonRect(tv->GetItems()->GetItem(0));  // Customers, open: a minus
    EXPECT_EQ(pixel((open.left + open.right) / 2, open.top + 2), RGB(255, 255, 255));
    TRect text = tv->GetItems()->GetItem(2)->DisplayRect(true);
    EXPECT_EQ(pixel(text.right - 2, text.top + 3), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(pixel(text.left - 8, (text.top + text.bottom) / 2), RGB(255, 0, 0)) << "the node's image";
    tv->Free();
    images->Free();
    delete bmp;
}

} // namespace
} // namespace controltest
