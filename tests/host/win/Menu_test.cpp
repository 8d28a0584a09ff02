// Menus of the window system: editing menus, tracking popups and menu bars
// through injected input.
#include "WinTestUtil.h"

#include <algorithm>

namespace {

using namespace host;
using namespace wintest;

class MenuTest : public WinTest {
protected:
    void TearDown() override
    {
        for (HMENU m : FMenus)
            DestroyMenu(m);
        WinTest::TearDown();
    }
    HMENU Popup(std::initializer_list<std::pair<UINT, const char*>> items, UINT flags = 0)
    {
        HMENU m = CreatePopupMenu();
        FMenus.push_back(m);
        for (auto& [id, text] : items)
            AppendMenu(m, text ? MF_STRING | flags : MF_SEPARATOR, id, text);
        return m;
    }
    static POINT ItemCentre(HMENU menu, UINT pos, HWND owner = nullptr)
    {
        RECT r{};
        EXPECT_TRUE(GetMenuItemRect(owner, menu, pos, &r)) << "item " << pos << " is on screen";
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // Tracks menu at (x, y) with the hook doing the work; returns what
    // TrackPopupMenu returned.
    BOOL Track(HMENU menu, HWND owner, UINT flags, const std::function<void(HWND)>& work, int x = 100,
               int y = 100)
    {
        SetModalHook(work);
        BOOL r = TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
        SetModalHook(nullptr);
        return r;
    }
    std::vector<HMENU> FMenus;
};

TEST_F(MenuTest, ItemsAreEditedAndQueriedByCommandOrPosition)
{
    HMENU sub = CreatePopupMenu();
    AppendMenu(sub, MF_STRING, 21, "Inner");
    HMENU m = Popup({{1, "&Open"}, {2, "&Save\tCtrl+S"}});
    ASSERT_TRUE(AppendMenu(m, MF_POPUP, UINT_PTR(sub), "&More"));
    ASSERT_TRUE(InsertMenu(m, 2, MF_BYCOMMAND | MF_STRING, 3, "Save &As"));  // before Save
    EXPECT_EQ(GetMenuItemCount(m), 4);
    EXPECT_EQ(GetMenuItemID(m, 1), 3u);
    EXPECT_EQ(GetMenuItemID(m, 3), UINT(-1)) << "popup items have no id";
    EXPECT_EQ(GetSubMenu(m, 3), sub);

    char buf[32];
    EXPECT_EQ(GetMenuString(m, 2, buf, sizeof buf, MF_BYCOMMAND), 12);
    EXPECT_STREQ(buf, "&Save\tCtrl+S");
    EXPECT_EQ(GetMenuString(m, 21, buf, 4, MF_BYCOMMAND), 3) << "found in the submenu, truncated";
    EXPECT_STREQ(buf, "Inn");

    EXPECT_EQ(CheckMenuItem(m, 1, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(m, 0, MF_BYPOSITION | MF_UNCHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(m, 99, MF_CHECKED), DWORD(-1));
    EXPECT_EQ(EnableMenuItem(m, 21, MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION) & MF_GRAYED, UINT(MF_GRAYED));
    EXPECT_EQ(GetMenuState(m, 3, MF_BYPOSITION), (1u << 8) | MF_POPUP) << "count in the high byte";
    EXPECT_EQ(GetMenuState(m, 77, MF_BYCOMMAND), UINT(-1));

    ASSERT_TRUE(ModifyMenu(m, 3, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 33, "Save &Copy"));
    EXPECT_EQ(GetMenuItemID(m, 1), 33u);
    EXPECT_EQ(GetMenuState(m, 33, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));

    MENUITEMINFO info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
    info.fState = MFS_DEFAULT;
    info.wID = 44;
    info.fType = MFT_RADIOCHECK;
    info.dwTypeData = const_cast<char*>("Renamed");
    ASSERT_TRUE(SetMenuItemInfo(m, 0, TRUE, &info));
    MENUITEMINFO back;
    char text[16] = {};
    back.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_SUBMENU;
    back.dwTypeData = text;
    back.cch = sizeof text - 1;
    ASSERT_TRUE(GetMenuItemInfo(m, 44, FALSE, &back));
    EXPECT_EQ(back.wID, 44u);
    EXPECT_EQ(back.fState, UINT(MFS_DEFAULT));
    EXPECT_EQ(back.fType, UINT(MFT_RADIOCHECK));
    EXPECT_STREQ(text, "Renamed");
    EXPECT_EQ(back.cch, 7u);
    EXPECT_EQ(GetMenuDefaultItem(m, TRUE, 0), 0u);

    // A menu cannot become its own submenu.
    EXPECT_FALSE(AppendMenu(sub, MF_POPUP, UINT_PTR(m), "Loop"));
    // Removing keeps the submenu; deleting destroys it.
    ASSERT_TRUE(RemoveMenu(m, 3, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(sub));
    ASSERT_TRUE(AppendMenu(m, MF_POPUP, UINT_PTR(sub), "Again"));
    ASSERT_TRUE(DeleteMenu(m, 3, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_EQ(GetMenuItemCount(m), 3);
}

TEST_F(MenuTest, RadioItemsCheckOneOfARange)
{
    HMENU m = Popup({{1, "One"}, {2, "Two"}, {3, "Three"}, {4, "Outside"}});
    CheckMenuItem(m, 4, MF_CHECKED);
    ASSERT_TRUE(CheckMenuRadioItem(m, 1, 3, 2, MF_BYCOMMAND));
    ASSERT_TRUE(CheckMenuRadioItem(m, 0, 2, 2, MF_BYPOSITION));
    std::vector<bool> checked;
    for (UINT id = 1; id <= 4; ++id)
        checked.push_back(GetMenuState(m, id, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(checked, (std::vector<bool>{false, false, true, true}));
    EXPECT_FALSE(CheckMenuRadioItem(m, 0, 1, 3, MF_BYPOSITION)) << "the checked item lies outside";
}

TEST_F(MenuTest, KeyboardMovesAcrossColumnsAndReturnChooses)
{
    HWND owner = Top("Owner", 10, 10, 300, 200);
    HMENU m = Popup({{1, "Alpha"}, {2, "Beta"}, {3, "Gamma"}});
    AppendMenu(m, MF_STRING | MF_MENUBARBREAK, 4, "Delta");
    AppendMenu(m, MF_STRING, 5, "Epsilon");
    ProcessPendingMessages();
    Log().clear();
    RECT beta{}, epsilon{};
    BOOL id = Track(m, owner, TPM_RETURNCMD, [&](HWND) {
        GetMenuItemRect(owner, m, 1, &beta);
        GetMenuItemRect(owner, m, 4, &epsilon);
        Input::KeyPress(VK_DOWN);
        Input::KeyPress(VK_DOWN);   // Beta
        Input::KeyPress(VK_RIGHT);  // Epsilon, beside Beta in the next column
        Input::KeyPress(VK_RETURN);
    });
    EXPECT_EQ(id, 5);
    EXPECT_GT(epsilon.left, beta.right) << "the break starts a column to the right";
    EXPECT_EQ(epsilon.top, beta.top);
    EXPECT_EQ(GetOpenMenuWindow(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    ProcessPendingMessages();
    EXPECT_TRUE(Only(WM_COMMAND).empty()) << "TPM_RETURNCMD returns the id instead";

    std::vector<UINT> seen;
    for (UINT msg : Messages(owner))
        if (msg == WM_ENTERMENULOOP || msg == WM_INITMENUPOPUP || msg == WM_EXITMENULOOP ||
            msg == WM_UNINITMENUPOPUP)
            seen.push_back(msg);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP,
                                       WM_EXITMENULOOP}));
    auto selects = Only(WM_MENUSELECT);
    ASSERT_GE(selects.size(), 4u);
    EXPECT_EQ(LOWORD(selects[2].WParam), 5) << "Right selected Epsilon";
    EXPECT_EQ(HIWORD(selects.back().WParam), MENU_CLOSED_FLAGS);
    EXPECT_EQ(selects.back().LParam, 0);
}

TEST_F(MenuTest, AClickOnAnItemPostsItsCommand)
{
    HWND owner = Top("Owner", 10, 10, 300, 200);
    HMENU m = Popup({{11, "First"}, {0, nullptr}, {12, "Second"}});
    ProcessPendingMessages();
    Log().clear();
    BOOL r = Track(m, owner, TPM_LEFTALIGN, [&](HWND popup) {
        RECT pr{};
        GetWindowRect(popup, &pr);
        EXPECT_EQ(pr.left, 100);
        EXPECT_EQ(pr.top, 100);
        POINT p = ItemCentre(m, 2);
        Input::Click(p.x, p.y);
    });
    EXPECT_TRUE(r);
    ProcessPendingMessages();
    auto cmds = Only(WM_COMMAND);
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].Wnd, owner);
    EXPECT_EQ(LOWORD(cmds[0].WParam), 12);
}

TEST_F(MenuTest, EscapeOrAClickOutsideChoosesNothing)
{
    HWND owner = Top("Owner", 10, 10, 300, 200);
    HWND other = Top("Other", 400, 300, 200, 150);
    HMENU m = Popup({{1, "One"}, {2, "Two"}});
    struct TCase {
        const char* Name;
        std::function<void()> Dismiss;
    };
    std::vector<TCase> cases = {
        {"escape", [] { Input::KeyPress(VK_DOWN); Input::KeyPress(VK_ESCAPE); }},
        {"click outside", [] { Input::Click(450, 350); }},
        {"right click outside", [] { Input::Click(450, 350, Input::TButton::Right); }},
    };
    for (const TCase& c : cases) {
        ProcessPendingMessages();
        Log().clear();
        EXPECT_EQ(Track(m, owner, TPM_RETURNCMD, [&](HWND) { c.Dismiss(); }), 0) << c.Name;
        ProcessPendingMessages();
        EXPECT_TRUE(Only(WM_COMMAND).empty()) << c.Name;
        const auto otherMessages = Messages(other); // one copy: both iterators must come from it
        EXPECT_EQ(std::count(otherMessages.begin(), otherMessages.end(), WM_LBUTTONDOWN), 0)
            << c.Name << ": the dismissing click is eaten";
        EXPECT_EQ(GetOpenMenuWindow(), nullptr) << c.Name;
    }
}

TEST_F(MenuTest, HoverOpensASubmenuBesideItsItem)
{
    HWND owner = Top("Owner", 10, 10, 300, 200);
    HMENU sub = CreatePopupMenu();
    AppendMenu(sub, MF_STRING, 31, "Deep one");
    AppendMenu(sub, MF_STRING, 32, "Deep two");
    HMENU m = Popup({{1, "Plain"}});
    AppendMenu(m, MF_POPUP, UINT_PTR(sub), "&Nested");
    ProcessPendingMessages();
    Log().clear();
    HWND first = nullptr, second = nullptr;
    RECT item{}, subRect{};
    BOOL id = Track(m, owner, TPM_RETURNCMD, [&](HWND popup) {
        first = popup;
        POINT p = ItemCentre(m, 1);
        GetMenuItemRect(owner, m, 1, &item);
        Input::MouseMove(p.x, p.y);
        second = GetOpenMenuWindow();
        GetWindowRect(second, &subRect);
        POINT q = ItemCentre(sub, 1);
        Input::MouseMove(q.x, q.y);
        Input::Click(q.x, q.y);
    });
    EXPECT_NE(second, first) << "hovering opened the submenu";
    EXPECT_GE(subRect.left, item.right - 4) << "to the right of its item";
    EXPECT_LE(std::abs(subRect.top - item.top), 4);
    EXPECT_EQ(id, 32);
    auto inits = Only(WM_INITMENUPOPUP);
    ASSERT_EQ(inits.size(), 2u);
    EXPECT_EQ(HMENU(inits[1].WParam), sub);
    EXPECT_EQ(LOWORD(inits[1].LParam), 1) << "the submenu's position in its parent";
}

TEST_F(MenuTest, DisabledItemsAreNeverChosen)
{
    HWND owner = Top("Owner", 10, 10, 300, 200);
    HMENU m = Popup({{1, "&Gone"}, {2, "&Here"}});
    EnableMenuItem(m, 1, MF_GRAYED);
    struct TCase {
        const char* Name;
        std::function<void()> Try;
    };
    std::vector<TCase> cases = {
        {"click", [&] { POINT p = ItemCentre(m, 0); Input::Click(p.x, p.y); }},
        {"return", [] { Input::KeyPress(VK_DOWN); Input::KeyPress(VK_RETURN); }},
        {"accelerator", [] { Input::TypeText("g"); }},
    };
    for (const TCase& c : cases) {
        bool stillOpen = false;
        BOOL id = Track(m, owner, TPM_RETURNCMD, [&](HWND) {
            c.Try();
            stillOpen = GetOpenMenuWindow() != nullptr;
            Input::KeyPress(VK_ESCAPE);
        });
        EXPECT_EQ(id, 0) << c.Name;
        EXPECT_TRUE(stillOpen) << c.Name << ": the menu stays open";
    }
    // The enabled item's letter chooses it at once.
    EXPECT_EQ(Track(m, owner, TPM_RETURNCMD, [](HWND) { Input::TypeText("h"); }), 2);
}

TEST_F(MenuTest, AnUnansweredMenuFailsAndCleansUp)
{
    HWND owner = Top("Owner", 10, 10, 300, 200);
    HMENU m = Popup({{1, "One"}});
    EXPECT_THROW(TrackPopupMenu(m, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), EIdleLoop);
    EXPECT_EQ(GetOpenMenuWindow(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(FindWindow("#32768", nullptr), nullptr);
    // The next menu works normally.
    EXPECT_EQ(Track(m, owner, TPM_RETURNCMD, [](HWND) { Input::KeyPress(VK_DOWN); Input::KeyPress(VK_RETURN); }), 1);
}

TEST_F(MenuTest, PopupsStayOnTheScreen)
{
    HWND owner = Top("Owner", 10, 10, 300, 200);
    HMENU m = Popup({{1, "A rather long item text"}, {2, "Two"}});
    struct TCase {
        UINT Flags;
        POINT At;
        bool Right, Bottom;  // the popup's right or bottom edge lies at the point
    };
    const TCase cases[] = {
        {TPM_LEFTALIGN, {100, 100}, false, false},
        {TPM_RIGHTALIGN, {300, 100}, true, false},
        {TPM_BOTTOMALIGN, {100, 300}, false, true},
        {TPM_LEFTALIGN, {100, 470}, false, true},  // no room below: it opens upwards
    };
    for (const TCase& c : cases) {
        RECT r{};
        Track(m, owner, c.Flags | TPM_RETURNCMD, [&](HWND popup) {
            GetWindowRect(popup, &r);
            Input::KeyPress(VK_ESCAPE);
        }, c.At.x, c.At.y);
        EXPECT_EQ(c.Right ? r.right : r.left, c.At.x) << c.Flags << " at " << c.At.y;
        EXPECT_EQ(c.Bottom ? r.bottom : r.top, c.At.y) << c.Flags << " at " << c.At.y;
    }
    RECT r{};
    Track(m, owner, TPM_RETURNCMD, [&](HWND popup) {
        GetWindowRect(popup, &r);
        Input::KeyPress(VK_ESCAPE);
    }, 630, 10);
    EXPECT_LE(r.right, 640) << "pushed back from the right edge";
}

class MenuBarTest : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        FWnd = Top("Bar", 20, 20, 400, 300);
        FFile = CreatePopupMenu();
        AppendMenu(FFile, MF_STRING, 101, "&New");
        AppendMenu(FFile, MF_STRING, 102, "&Open");
        FEdit = CreatePopupMenu();
        AppendMenu(FEdit, MF_STRING, 201, "&Copy");
        AppendMenu(FEdit, MF_STRING, 202, "&Paste");
        FBar = CreateMenu();
        FMenus.push_back(FBar);
        AppendMenu(FBar, MF_POPUP, UINT_PTR(FFile), "&File");
        AppendMenu(FBar, MF_POPUP, UINT_PTR(FEdit), "&Edit");
        AppendMenu(FBar, MF_STRING, 301, "&Help");
        RECT before{};
        GetClientRect(FWnd, &before);
        FHeightWithout = before.bottom;
        ASSERT_TRUE(SetMenu(FWnd, FBar));
        ProcessPendingMessages();
        Log().clear();
    }
    std::vector<WPARAM> Commands() const
    {
        std::vector<WPARAM> v;
        for (const TLogged& l : Only(WM_COMMAND))
            v.push_back(LOWORD(l.WParam));
        return v;
    }
    HWND FWnd = nullptr;
    HMENU FBar = nullptr, FFile = nullptr, FEdit = nullptr;
    int FHeightWithout = 0;
};

TEST_F(MenuBarTest, TheBarSitsUnderTheCaptionAndShrinksTheClientArea)
{
    EXPECT_EQ(GetMenu(FWnd), FBar);
    RECT client{};
    GetClientRect(FWnd, &client);
    EXPECT_EQ(FHeightWithout - client.bottom, GetSystemMetrics(SM_CYMENU));
    RECT file{}, window{};
    ASSERT_TRUE(GetMenuItemRect(FWnd, FBar, 0, &file));
    GetWindowRect(FWnd, &window);
    POINT origin{0, 0};
    ClientToScreen(FWnd, &origin);
    EXPECT_EQ(file.bottom, origin.y) << "directly above the client area";
    EXPECT_EQ(file.top, window.top + 4 + GetSystemMetrics(SM_CYCAPTION)) << "below frame and caption";
    POINT mid{(file.left + file.right) / 2, (file.top + file.bottom) / 2};
    EXPECT_EQ(SendMessage(FWnd, WM_NCHITTEST, 0, PointToLParam(mid)), HTMENU);

    TImageData img = CaptureWindow(FWnd);
    EXPECT_EQ(ScreenPixel(img, file.left - window.left + 1, file.top - window.top + 1), GetSysColor(COLOR_MENU));

    // A bar too narrow for its items wraps them to a second row.
    AppendMenu(FBar, MF_STRING, 302, "&Window");
    SetWindowPos(FWnd, nullptr, 0, 0, 120, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT last{};
    GetMenuItemRect(FWnd, FBar, 3, &last);
    EXPECT_GT(last.top, file.top);
    origin = POINT{0, 0};
    ClientToScreen(FWnd, &origin);
    EXPECT_EQ(last.bottom, origin.y);

    ASSERT_TRUE(SetMenu(FWnd, nullptr));
    SetWindowPos(FWnd, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(FWnd, &client);
    EXPECT_EQ(client.bottom, FHeightWithout);
}

TEST_F(MenuBarTest, AClickOnTheBarDropsAMenuDown)
{
    RECT edit{};
    GetMenuItemRect(FWnd, FBar, 1, &edit);
    RECT drop{};
    SetModalHook([&](HWND popup) {
        GetWindowRect(popup, &drop);
        Screenshot(nullptr, "/tmp/kel_menus_bar.png");
        POINT p = ItemCentre(FEdit, 1);
        Input::Click(p.x, p.y);
    });
    Input::Click((edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2);
    SetModalHook(nullptr);
    ProcessPendingMessages();
    EXPECT_EQ(drop.left, edit.left);
    EXPECT_EQ(drop.top, edit.bottom);
    EXPECT_EQ(Commands(), std::vector<WPARAM>{202});
}

TEST_F(MenuBarTest, TheMouseSlidesAlongTheBarBetweenMenus)
{
    RECT file{}, edit{};
    GetMenuItemRect(FWnd, FBar, 0, &file);
    GetMenuItemRect(FWnd, FBar, 1, &edit);
    HWND before = nullptr, after = nullptr;
    SetModalHook([&](HWND) {
        before = GetOpenMenuWindow();
        Input::MouseMove((edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2);
        after = GetOpenMenuWindow();
        POINT p = ItemCentre(FEdit, 0);
        Input::Click(p.x, p.y);
    });
    Input::Click((file.left + file.right) / 2, (file.top + file.bottom) / 2);
    SetModalHook(nullptr);
    ProcessPendingMessages();
    EXPECT_NE(before, after);
    EXPECT_EQ(Commands(), std::vector<WPARAM>{201});
}

TEST_F(MenuBarTest, KeyboardOpensTheBar)
{
    SetFocus(FWnd);
    struct TCase {
        const char* Name;
        std::function<void()> Open;  // before the loop
        std::function<void()> Work;  // inside it
        std::vector<WPARAM> Expected;
    };
    std::vector<TCase> cases = {
        {"Alt+E", [] { Input::KeyPress('E', Input::Alt); }, [] { Input::KeyPress(VK_DOWN); Input::KeyPress(VK_RETURN); }, {202}},
        {"Alt alone, arrows", [] { Input::KeyPress(VK_MENU); },
         [] { Input::KeyPress(VK_RIGHT); Input::KeyPress(VK_DOWN); Input::KeyPress(VK_RETURN); }, {201}},
        {"F10, letter", [] { Input::KeyPress(VK_F10); }, [] { Input::TypeText("fo"); }, {102}},
        {"Alt+letter of a command item", [] { Input::KeyPress('H', Input::Alt); }, [] {}, {301}},
        {"Escape twice", [] { Input::KeyPress('F', Input::Alt); },
         [] { Input::KeyPress(VK_ESCAPE); Input::KeyPress(VK_ESCAPE); }, {}},
        // Left from the first item wraps to Help, then to Edit, whose first item Return chooses.
        {"Left wraps to the last item", [] { Input::KeyPress('F', Input::Alt); },
         [] { Input::KeyPress(VK_LEFT); Input::KeyPress(VK_LEFT); Input::KeyPress(VK_RETURN); }, {201}},
    };
    for (const TCase& c : cases) {
        Log().clear();
        bool looped = false;
        SetModalHook([&](HWND) { looped = true; c.Work(); });
        c.Open();
        SetModalHook(nullptr);
        ProcessPendingMessages();
        EXPECT_EQ(Commands(), c.Expected) << c.Name;
        EXPECT_EQ(GetFocus(), FWnd) << c.Name << ": the focus never moved";
        EXPECT_EQ(GetOpenMenuWindow(), nullptr) << c.Name;
        (void)looped;
    }
}

TEST_F(MenuTest, AnOpenMenuPaintsInTheClassicLook)
{
    HWND owner = Top("Owner", 10, 10, 300, 200);
    HMENU sub = CreatePopupMenu();
    AppendMenu(sub, MF_STRING, 50, "Inner");
    HMENU m = Popup({{1, "&Checked\tCtrl+C"}, {0, nullptr}, {2, "&Disabled"}});
    CheckMenuItem(m, 1, MF_CHECKED);
    EnableMenuItem(m, 2, MF_GRAYED);
    AppendMenu(m, MF_STRING | MF_MENUBARBREAK, 3, "Second &column");
    AppendMenu(m, MF_POPUP, UINT_PTR(sub), "&Sub");
    Track(m, owner, TPM_RETURNCMD, [&](HWND popup) {
        Input::KeyPress(VK_DOWN);
        RECT pr{}, checked{}, sep{};
        GetWindowRect(popup, &pr);
        GetMenuItemRect(owner, m, 0, &checked);
        GetMenuItemRect(owner, m, 1, &sep);
        Screenshot(popup, "/tmp/kel_menus_popup.png");
        TImageData img = CaptureWindow(popup);
        auto at = [&](int x, int y) { return ScreenPixel(img, x - pr.left, y - pr.top); };
        EXPECT_EQ(at(pr.left, pr.top + 5), GetSysColor(COLOR_3DLIGHT)) << "raised frame";
        EXPECT_EQ(at(pr.left + 1, pr.top + 5), GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(at(pr.right - 1, pr.top + 5), GetSysColor(COLOR_3DDKSHADOW));
        EXPECT_EQ(at(checked.right - 3, checked.top + 2), GetSysColor(COLOR_HIGHLIGHT)) << "selection";
        int mid = (sep.top + sep.bottom) / 2;
        EXPECT_EQ(at(sep.left + 10, mid - 1), GetSysColor(COLOR_BTNSHADOW)) << "etched separator";
        EXPECT_EQ(at(sep.left + 10, mid), GetSysColor(COLOR_BTNHIGHLIGHT));
        // The check mark is drawn in the highlight text colour inside the selection.
        int ink = 0;
        for (int y = checked.top; y < checked.bottom; ++y)
            for (int x = checked.left; x < checked.left + 18; ++x)
                ink += at(x, y) == GetSysColor(COLOR_HIGHLIGHTTEXT);
        EXPECT_GT(ink, 10);
        Input::KeyPress(VK_ESCAPE);
    });
}

}  // namespace
