// Notebooks, tab sets and tabbed notebooks: pages, tabs and vetoes through
// injected input.
#include "ControlTest.h"

#include <cstdlib>

#include "host/vcl/ExtNotebook.h"
#include "host/vcl/ExtPanels.h"
#include "host/vcl/Filer.h"
#include "host/vcl/StdEdit.h"
#include "host/vcl/TabNotbk.h"
#include "host/vcl/Tabs.h"

namespace controltest {
namespace {

// Where the pictures of the controls go for a person to look at.
std::string ShotDir()
{
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    return dir ? dir : "/tmp";
}

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::vector<std::string> Names(TStrings* S)
{
    std::vector<std::string> out;
    for (int i = 0; i < S->GetCount(); ++i) out.push_back(S->GetStrings(i));
    return out;
}

// Which pages are showing, as a string of 0 and 1.
std::string Showing(TPageHost* Book)
{
    std::string s;
    for (int i = 0; i < Book->GetPageCount(); ++i) s += Book->GetPage(i)->GetVisible() ? '1' : '0';
    return s;
}

class NotebookTest : public ControlTest {
protected:
    void ClickAt(TControl* C, const TRect& R)
    {
        TPoint p = ScreenOf(C, (R.left + R.right) / 2, (R.top + R.bottom) / 2);
        Input::Click(p.x, p.y);
    }
};

TEST_F(NotebookTest, NotebookPagesFollowPageIndexAndActivePage)
{
    TTestPanel* root = Root();
    auto* book = Make<TNotebook>(root, "Book", 10, 10, 200, 150);
    EXPECT_EQ(Names(book->GetPages()), (std::vector<std::string>{"Default"}));
    EXPECT_EQ(book->GetPageIndex(), 0);
    book->GetPages()->Clear();
    EXPECT_EQ(book->GetPageIndex(), -1);
    for (const char* n : {"General", "Colors", "Fonts"}) book->GetPages()->Add(n);
    int changes = 0;
    book->OnPageChanged = [&](TObject*) { ++changes; };
    EXPECT_EQ(book->GetPageIndex(), 0) << "the first page added comes to the front";
    EXPECT_EQ(Showing(book), "100");

    struct Step {
        int Set;
        std::string Name;  // used when Set is -100
        int Expected;
        std::string Shown;
        int Changes;
    } steps[] = {
        {2, "", 2, "001", 1},       {2, "", 2, "001", 1},       {3, "", 2, "001", 1},
        {-1, "", 2, "001", 1},      {-100, "Colors", 1, "010", 2}, {-100, "Nothing", 1, "010", 2},
        {0, "", 0, "100", 3},
    };
    for (const Step& s : steps) {
        if (s.Set == -100)
            book->SetActivePage(s.Name);
        else
            book->SetPageIndex(s.Set);
        EXPECT_EQ(book->GetPageIndex(), s.Expected) << s.Set << s.Name;
        EXPECT_EQ(Showing(book), s.Shown) << s.Set << s.Name;
        EXPECT_EQ(changes, s.Changes) << s.Set << s.Name;
    }
    EXPECT_EQ(book->GetActivePage(), "General");

    // Pages are windows holding controls; only the front page's are showing.
    auto* onColors = Make<TTestPanel>(static_cast<TWinControl*>(book->GetPage(1)), "OnColors", 5, 5, 50, 20);
    EXPECT_FALSE(onColors->GetShowing());
    book->SetPageIndex(1);
    EXPECT_TRUE(onColors->GetShowing());
    EXPECT_EQ(book->GetPage(1)->GetBoundsRect(), (TRect{0, 0, 200, 150})) << "a page fills the notebook";

    // Inserting before the front page keeps that page in front; deleting it
    // brings its neighbour forward and frees its controls.
    book->GetPages()->Insert(0, "First");
    EXPECT_EQ(Names(book->GetPages()), (std::vector<std::string>{"First", "General", "Colors", "Fonts"}));
    EXPECT_EQ(book->GetActivePage(), "Colors");
    TakeLog();
    book->GetPages()->Delete(2);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"destroy OnColors"}));
    EXPECT_EQ(book->GetActivePage(), "Fonts");
    EXPECT_EQ(Showing(book), "001");
    book->GetPages()->Move(2, 0);
    EXPECT_EQ(Names(book->GetPages()), (std::vector<std::string>{"Fonts", "First", "General"}));
    EXPECT_EQ(book->GetPageIndex(), 0) << "the front page moved with its name";
    book->GetPages()->SetStrings(0, "Typefaces");
    EXPECT_EQ(book->GetActivePage(), "Typefaces");
}

TEST_F(NotebookTest, NotebooksStreamTheirPagesAndTheirControls)
{
    for (bool tabbed : {false, true}) {
        auto* form = new TPanel(nullptr);
        form->SetName("Form");
        TPageHost* book = tabbed ? static_cast<TPageHost*>(new TTabbedNotebook(form)) : new TNotebook(form);
        book->SetName("Book");
        book->SetParent(form);
        book->GetPages()->Clear();
        book->GetPages()->Add("One");
        book->GetPages()->Add("Two");
        auto* edit = new TEdit(form);
        edit->SetName("Edit");
        edit->SetParent(static_cast<TWinControl*>(book->GetPage(1)));
        book->SetPageIndex(1);

        auto* copy = static_cast<TPanel*>(ReadComponentFromString(WriteComponentToString(form), nullptr));
        auto* book2 = dynamic_cast<TPageHost*>(copy->FindComponent("Book"));
        ASSERT_NE(book2, nullptr);
        EXPECT_EQ(book2->ClassType(), book->ClassType());
        EXPECT_EQ(Names(book2->GetPages()), (std::vector<std::string>{"One", "Two"})) << tabbed;
        EXPECT_EQ(book2->GetPageIndex(), 1) << tabbed;
        EXPECT_EQ(Showing(book2), "01") << tabbed;
        EXPECT_EQ(book2->GetPage(0)->ClassType(), book->GetPage(0)->ClassType()) << tabbed;
        auto* edit2 = dynamic_cast<TEdit*>(copy->FindComponent("Edit"));
        ASSERT_NE(edit2, nullptr);
        EXPECT_EQ(edit2->GetParent(), book2->GetPage(1)) << tabbed;
        EXPECT_EQ(edit2->GetOwner(), copy) << tabbed;
        form->Free();
        copy->Free();
    }
}

TEST_F(NotebookTest, TabSetClickSelectsUnlessOnChangeRefuses)
{
    TTestPanel* root = Root();
    auto* tabs = Make<TTabSet>(root, "Tabs", 10, 200, 300, 21);
    for (const char* n : {"Alpha", "Beta", "Gamma"}) tabs->GetTabs()->Add(n);
    std::vector<int> asked;
    int clicks = 0;
    tabs->OnChange = [&](TObject*, int NewTab, bool& Allow) {
        asked.push_back(NewTab);
        Allow = NewTab != 2;
    };
    tabs->OnClick = [&](TObject*) { ++clicks; };
    ProcessPendingMessages();

    ClickAt(tabs, tabs->ItemRect(1));
    EXPECT_EQ(tabs->GetTabIndex(), 1);
    ClickAt(tabs, tabs->ItemRect(2));
    EXPECT_EQ(tabs->GetTabIndex(), 1) << "OnChange refused Gamma";
    ClickAt(tabs, tabs->ItemRect(0));
    EXPECT_EQ(tabs->GetTabIndex(), 0);
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(clicks, 2) << "OnClick only for changes that happened";

    EXPECT_THROW(tabs->SetTabIndex(3), EInvalidOperation);
    tabs->GetTabs()->Delete(2);
    tabs->GetTabs()->Delete(1);
    tabs->GetTabs()->Delete(0);
    EXPECT_EQ(tabs->GetTabIndex(), -1) << "removing the tabs removes the selection";
}

TEST_F(NotebookTest, TabSetReadsBackItsTabsAndSelection)
{
    auto* tabs = new TTabSet(nullptr);
    tabs->SetName("Tabs");
    for (const char* n : {"Alpha", "Beta", "Gamma"}) tabs->GetTabs()->Add(n);
    tabs->SetTabIndex(2);
    tabs->SetStyle(tsOwnerDraw);
    std::string text = ObjectBinaryToText(WriteComponentToString(tabs));
    auto* copy = static_cast<TTabSet*>(ReadComponentFromString(ObjectTextToBinary(text), nullptr));
    EXPECT_EQ(Names(copy->GetTabs()), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(copy->GetTabIndex(), 2);
    EXPECT_EQ(copy->GetStyle(), tsOwnerDraw);
    copy->Free();

    // A stored selection past the stored tabs is taken as the last tab.
    size_t at = text.find("TabIndex = 2");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 12, "TabIndex = 9");
    copy = static_cast<TTabSet*>(ReadComponentFromString(ObjectTextToBinary(text), nullptr));
    EXPECT_EQ(copy->GetTabIndex(), 2);
    copy->Free();
    tabs->Free();
}

TEST_F(NotebookTest, TabSetScrollsTabsThatDoNotFit)
{
    TTestPanel* root = Root();
    auto* tabs = Make<TTabSet>(root, "Tabs", 10, 200, 160, 21);
    for (int i = 0; i < 10; ++i) tabs->GetTabs()->Add("Tab " + std::to_string(i));
    ProcessPendingMessages();
    ASSERT_TRUE(tabs->ScrollerShown());
    int visible = tabs->GetVisibleTabs();
    ASSERT_GT(visible, 0);
    ASSERT_LT(visible, 10);
    EXPECT_EQ(tabs->ItemRect(visible).right, 0) << "a tab that does not fit is not placed";

    // The right arrow sits at the right end; each click shows one tab more.
    TPoint right = ScreenOf(tabs, 160 - 9, 8);
    Input::Click(right.x, right.y);
    EXPECT_EQ(tabs->GetFirstIndex(), 1);
    TPoint left = ScreenOf(tabs, 160 - 25, 8);
    Input::Click(left.x, left.y);
    Input::Click(left.x, left.y);
    EXPECT_EQ(tabs->GetFirstIndex(), 0) << "not before the first tab";

    tabs->SetTabIndex(9);
    EXPECT_GT(tabs->GetFirstIndex(), 0) << "the selected tab is scrolled into view";
    EXPECT_GT(tabs->ItemRect(9).right, 0);
    tabs->GetTabs()->Clear();
    tabs->GetTabs()->Add("Only");
    EXPECT_FALSE(tabs->ScrollerShown());
    EXPECT_EQ(tabs->GetFirstIndex(), 0);
}

TEST_F(NotebookTest, OwnerDrawnTabsTakeTheirMeasuredWidths)
{
    TTestPanel* root = Root();
    auto* tabs = Make<TTabSet>(root, "Tabs", 10, 200, 380, 21);
    for (const char* n : {"a", "b", "c"}) tabs->GetTabs()->Add(n);
    tabs->SetStyle(tsOwnerDraw);
    tabs->OnMeasureTab = [](TObject*, int Index, int& Width) { Width = 30 + 10 * Index; };
    std::vector<std::pair<int, bool>> drawn;
    tabs->OnDrawTab = [&](TObject*, TCanvas* C, TRect R, int Index, bool Selected) {
        drawn.emplace_back(Index, Selected);
        EXPECT_EQ(R.right - R.left, 30 + 10 * Index);
        C->GetBrush()->SetColor(clRed);
        C->FillRect(R);
    };
    tabs->SetTabIndex(1);
    ProcessPendingMessages();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(tabs->ItemRect(i).right - tabs->ItemRect(i).left, 30 + 10 * i);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn.back(), (std::pair<int, bool>{1, true})) << "the selected tab is drawn last, on top";
    TRect r = tabs->ItemRect(2);
    TPoint p = ScreenOf(tabs, (r.left + r.right) / 2, 10);
    RECT host;
    GetWindowRect(FHost, &host);
    EXPECT_EQ(At(CaptureWindow(FHost), p.x - host.left, p.y - host.top), RGB(255, 0, 0));
}

TEST_F(NotebookTest, TabbedNotebookChangesPagesByClickAndCtrlTab)
{
    TTestPanel* root = Root();
    auto* book = Make<TTabbedNotebook>(root, "Book", 10, 10, 360, 250);
    book->GetPages()->Clear();
    for (const char* n : {"Components", "DataSet", "Fields", "Indexes", "Params"}) book->GetPages()->Add(n);
    book->SetTabsPerRow(2);
    auto* edit0 = Make<TEdit>(static_cast<TWinControl*>(book->GetPage(0)), "Edit0", 10, 10, 100, 21);
    auto* edit1 = Make<TEdit>(static_cast<TWinControl*>(book->GetPage(1)), "Edit1", 10, 10, 100, 21);
    std::vector<int> asked;
    bool refuse = false;
    book->OnChange = [&](TObject*, int NewTab, bool& Allow) {
        asked.push_back(NewTab);
        Allow = !refuse;
    };
    ProcessPendingMessages();
    EXPECT_EQ(book->GetRowCount(), 3);

    ClickAt(book, book->GetTabRect(3));
    EXPECT_EQ(book->GetPageIndex(), 3);
    EXPECT_EQ(Showing(book), "00010");
    // The selected tab's row is now the one next to the page.
    TRect front = book->GetTabRect(3);
    TRect page = book->GetPage(3)->GetBoundsRect();
    EXPECT_LT(page.top - front.bottom, 8);
    EXPECT_GT(book->GetTabRect(3).top, book->GetTabRect(0).top);

    refuse = true;
    ClickAt(book, book->GetTabRect(4));
    EXPECT_EQ(book->GetPageIndex(), 3) << "OnChange refused";
    refuse = false;

    book->SetPageIndex(0);
    edit0->SetFocus();
    Input::KeyPress(VK_TAB, Input::Ctrl);
    EXPECT_EQ(book->GetPageIndex(), 1);
    EXPECT_TRUE(edit1->Focused()) << "the focus follows onto the new page";
    Input::KeyPress(VK_TAB, Input::Ctrl | Input::Shift);
    EXPECT_EQ(book->GetPageIndex(), 0);
    Input::KeyPress(VK_TAB, Input::Ctrl | Input::Shift);
    EXPECT_EQ(book->GetPageIndex(), 4) << "backwards from the first page wraps round";
    EXPECT_EQ(asked, (std::vector<int>{3, 4, 0, 1, 0, 4}));

    // Arrow keys on the focused tabs.
    book->SetFocus();
    Input::KeyPress(VK_RIGHT);
    EXPECT_EQ(book->GetPageIndex(), 0);
}

TEST_F(NotebookTest, TabbedNotebookAndTabSetLookClassic)
{
    TTestPanel* root = Root();
    root->SetColor(clBtnFace);
    auto* book = Make<TTabbedNotebook>(root, "Book", 10, 10, 300, 160);
    book->GetPages()->Clear();
    for (const char* n : {"General", "Colors", "Fonts", "Advanced"}) book->GetPages()->Add(n);
    book->SetPageIndex(1);
    auto* tabs = Make<TTabSet>(root, "Tabs", 10, 200, 300, 21);
    for (const char* n : {"Customers", "Orders", "Items"}) tabs->GetTabs()->Add(n);
    tabs->SetTabIndex(0);
    ProcessPendingMessages();
    Screenshot(FHost, ShotDir() + "/tabs.png");
    TImageData img = CaptureWindow(FHost);
    RECT host;
    GetWindowRect(FHost, &host);
    auto pixel = [&](TControl* C, int X, int Y) {
        TPoint p = ScreenOf(C, X, Y);
        return At(img, p.x - host.left, p.y - host.top);
    };
    // The selected tab has a white edge on its left and merges with the page:
    // no frame line under it, while an unselected tab's row has one.
    TRect sel = book->GetTabRect(1);
    EXPECT_EQ(pixel(book, sel.left, sel.top + 6), GetSysColor(COLOR_BTNHIGHLIGHT));
    int frameTop = sel.bottom - 1;
    EXPECT_EQ(pixel(book, (sel.left + sel.right) / 2, frameTop), GetSysColor(COLOR_BTNFACE));
    TRect other = book->GetTabRect(0);
    EXPECT_EQ(pixel(book, (other.left + other.right) / 2 - 20, frameTop), GetSysColor(COLOR_BTNHIGHLIGHT));
    // The tab set: a black line along the top except over the selected tab,
    // unselected tabs in the window colour.
    TRect t0 = tabs->ItemRect(0), t1 = tabs->ItemRect(1);
    EXPECT_EQ(pixel(tabs, (t0.left + t0.right) / 2, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(pixel(tabs, (t1.left + t1.right) / 2, 0), RGB(0, 0, 0));
    EXPECT_EQ(pixel(tabs, t1.left + 1, 3), GetSysColor(COLOR_WINDOW));
}

} // namespace
} // namespace controltest
