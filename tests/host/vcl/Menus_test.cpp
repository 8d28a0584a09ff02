// Menu components: item trees, shortcuts, popup and main menus driven by
// injected input, context menus of controls and streaming.
#include "ControlTest.h"

#include "host/vcl/Filer.h"
#include "host/vcl/Menus.h"
#include "host/win/Modal.h"

namespace {

using namespace host;
using namespace controltest;

TEST(ShortCutTest, TextsRoundTrip)
{
    struct TCase {
        TShortCut Key;
        const char* Text;
    };
    const TCase cases[] = {
        {ShortCut('S', {ssCtrl}), "Ctrl+S"},
        {ShortCut(VK_F5, {ssShift, ssCtrl}), "Shift+Ctrl+F5"},
        {ShortCut(VK_BACK, {ssAlt}), "Alt+BkSp"},
        {ShortCut(VK_DELETE, {}), "Del"},
        {ShortCut(VK_INSERT, {ssShift}), "Shift+Ins"},
        {ShortCut(VK_RETURN, {ssCtrl}), "Ctrl+Enter"},
        {ShortCut(VK_ESCAPE, {}), "Esc"},
        {ShortCut(VK_PRIOR, {}), "PgUp"},
        {ShortCut(VK_NEXT, {ssCtrl, ssAlt}), "Ctrl+Alt+PgDn"},
        {ShortCut('7', {ssAlt}), "Alt+7"},
        {ShortCut(VK_F12, {}), "F12"},
        {ShortCut(VK_NUMPAD3, {}), "Num 3"},
        {ShortCut(VK_OEM_COMMA, {ssCtrl}), "Ctrl+,"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ShortCutToText(c.Key), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), c.Key) << c.Text;
    }
    EXPECT_EQ(ShortCut('S', {ssCtrl}), TShortCut(scCtrl | 'S'));
    // Modifiers in another order and another case name the same key.
    EXPECT_EQ(TextToShortCut("ctrl+shift+f5"), ShortCut(VK_F5, {ssShift, ssCtrl}));
    for (const char* bad : {"", "Ctrl+", "Ctrl+Nothing", "Hyper+S", "Ctrl+Ctrl+S"})
        EXPECT_EQ(TextToShortCut(bad), 0) << bad;
    EXPECT_EQ(ShortCutToText(0), "");
    WORD key = 0;
    TShiftState shift;
    ShortCutToKey(TextToShortCut("Shift+Alt+Home"), key, shift);
    EXPECT_EQ(key, VK_HOME);
    EXPECT_EQ(shift, (TShiftState{ssShift, ssAlt}));
}

class MenusTest : public ControlTest {
protected:
    void TearDown() override
    {
        SetModalHook(nullptr);
        for (auto it = FMenus.rbegin(); it != FMenus.rend(); ++it)
            (*it)->Free();
        ControlTest::TearDown();
    }
    // An item whose click is logged under its caption.
    TMenuItem* Item(const std::string& Caption, TShortCut Key = 0)
    {
        auto* item = new TMenuItem(nullptr);
        item->SetCaption(Caption);
        item->SetShortCut(Key);
        item->OnClick = TNotifyEvent([this](TObject* Sender) {
            FClicks.push_back(static_cast<TMenuItem*>(Sender)->GetCaption());
        });
        return item;
    }
    TPopupMenu* Menu(std::initializer_list<TMenuItem*> Items)
    {
        auto* menu = new TPopupMenu(nullptr);
        for (TMenuItem* i : Items)
            menu->GetItems()->Add(i);
        FMenus.push_back(menu);
        return menu;
    }
    // Pops Menu up at (X, Y) with Work run inside its loop, then delivers
    // the command the menu posted.
    void PopupWith(TPopupMenu* Menu, int X, int Y, std::function<void(HWND)> Work)
    {
        SetModalHook(std::move(Work));
        Menu->Popup(X, Y);
        SetModalHook(nullptr);
        ProcessPendingMessages();
    }
    static POINT Centre(HMENU Menu, int Pos)
    {
        RECT r{};
        EXPECT_TRUE(GetMenuItemRect(nullptr, Menu, UINT(Pos), &r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::vector<TComponent*> FMenus;
    std::vector<std::string> FClicks;
};

TEST_F(MenusTest, KeysCrossAColumnBreakAndReturnClicksTheItem)
{
    TMenuItem* delta = Item("&Delta");
    delta->SetBreak(mbBarBreak);
    TPopupMenu* menu = Menu({Item("&Alpha"), Item("&Beta"), Item("&Gamma"), delta, Item("&Epsilon")});
    PopupWith(menu, 50, 60, [](HWND) {
        Input::KeyPress(VK_DOWN);
        Input::KeyPress(VK_DOWN);
        Input::KeyPress(VK_RIGHT);
        Input::KeyPress(VK_RETURN);
    });
    EXPECT_EQ(FClicks, std::vector<std::string>{"&Epsilon"});
    EXPECT_EQ(GetMenuState(menu->GetHandle(), 3, MF_BYPOSITION) & MF_MENUBARBREAK, UINT(MF_MENUBARBREAK));
}

TEST_F(MenusTest, MouseChoosesEnabledItemsOnly)
{
    TMenuItem* off = Item("Off");
    off->SetEnabled(false);
    TPopupMenu* menu = Menu({Item("On"), off, Item("-"), Item("Last")});
    struct TCase {
        int Pos;
        std::vector<std::string> Clicks;
    };
    const TCase cases[] = {{0, {"On"}}, {1, {}}, {2, {}}, {3, {"Last"}}};
    for (const TCase& c : cases) {
        FClicks.clear();
        PopupWith(menu, 100, 100, [&](HWND) {
            POINT p = Centre(menu->GetHandle(), c.Pos);
            Input::Click(p.x, p.y);
            if (GetOpenMenuWindow())
                Input::KeyPress(VK_ESCAPE);
        });
        EXPECT_EQ(FClicks, c.Clicks) << "item " << c.Pos;
    }
    FClicks.clear();
    PopupWith(menu, 100, 100, [](HWND) { Input::KeyPress(VK_ESCAPE); });
    EXPECT_TRUE(FClicks.empty()) << "Escape chooses nothing";
}

TEST_F(MenusTest, ASubmenuOpensOnHoverAndItsItemUpdatesItFirst)
{
    TMenuItem* sub = Item("&More");
    TMenuItem* inner = Item("Inner");
    sub->Add(Item("Deep"));
    sub->Add(inner);
    // The submenu item's click runs as its menu opens, in time to change it.
    sub->OnClick = TNotifyEvent([&](TObject*) { inner->SetChecked(true); FClicks.push_back("opening"); });
    TPopupMenu* menu = Menu({Item("Top"), sub});
    bool checkedWhenShown = false;
    PopupWith(menu, 100, 100, [&](HWND) {
        POINT p = Centre(menu->GetHandle(), 1);
        Input::MouseMove(p.x, p.y);
        checkedWhenShown = GetMenuState(sub->GetHandle(), 1, MF_BYPOSITION) & MF_CHECKED;
        POINT q = Centre(sub->GetHandle(), 1);
        Input::MouseMove(q.x, q.y);
        Input::Click(q.x, q.y);
    });
    EXPECT_TRUE(checkedWhenShown);
    EXPECT_EQ(FClicks, (std::vector<std::string>{"opening", "Inner"}));
}

TEST_F(MenusTest, RightClickPopsTheControlsMenuAtThePointer)
{
    TTestPanel* root = Root();
    auto* panel = Make<TTestPanel>(root, "Panel", 10, 10, 120, 80);
    auto* box = Make<TTestBox>(root, "Box", 200, 10, 40, 40);
    TPopupMenu* panelMenu = Menu({Item("Panel item")});
    TPopupMenu* boxMenu = Menu({Item("Box item")});
    panel->SetPopupMenu(panelMenu);
    box->SetPopupMenu(boxMenu);
    std::vector<std::string> popups;
    panelMenu->OnPopup = TNotifyEvent([&](TObject*) { popups.push_back("panel"); });
    boxMenu->OnPopup = TNotifyEvent([&](TObject*) { popups.push_back("box"); });
    ProcessPendingMessages();

    struct TCase {
        TControl* Target;
        TPopupMenu* Menu;
        const char* Popup;
        const char* Click;
    };
    const TCase cases[] = {{panel, panelMenu, "panel", "Panel item"}, {box, boxMenu, "box", "Box item"}};
    for (const TCase& c : cases) {
        popups.clear();
        FClicks.clear();
        TPoint at = ScreenOf(c.Target, 15, 12);
        RECT shown{};
        SetModalHook([&](HWND popup) {
            GetWindowRect(popup, &shown);
            POINT p = Centre(c.Menu->GetHandle(), 0);
            Input::Click(p.x, p.y);
        });
        Input::Click(at.x, at.y, Input::TButton::Right);
        SetModalHook(nullptr);
        ProcessPendingMessages();
        EXPECT_EQ(popups, std::vector<std::string>{c.Popup});
        EXPECT_EQ(shown.left, at.x) << c.Popup;
        EXPECT_EQ(shown.top, at.y) << c.Popup;
        EXPECT_EQ(c.Menu->GetPopupComponent(), c.Target);
        EXPECT_EQ(FClicks, std::vector<std::string>{c.Click});
    }

    // Without AutoPopup, or on a control without a menu, nothing opens.
    panelMenu->SetAutoPopup(false);
    int loops = 0;
    SetModalHook([&](HWND) { ++loops; Input::KeyPress(VK_ESCAPE); });
    TPoint p = ScreenOf(panel, 5, 5);
    Input::Click(p.x, p.y, Input::TButton::Right);
    TPoint q = ScreenOf(root, 300, 200);
    Input::Click(q.x, q.y, Input::TButton::Right);
    SetModalHook(nullptr);
    EXPECT_EQ(loops, 0);

    // A freed menu leaves no dangling reference behind.
    panelMenu->Free();
    FMenus.erase(std::find(FMenus.begin(), FMenus.end(), panelMenu));
    EXPECT_EQ(panel->GetPopupMenu(), nullptr);
}

TEST_F(MenusTest, ItemPropertiesShowInTheHandle)
{
    TMenuItem* a = Item("A");
    TMenuItem* b = Item("B");
    TMenuItem* c = Item("C");
    TMenuItem* hidden = Item("Hidden");
    for (TMenuItem* r : {a, b, c}) {
        r->SetRadioItem(true);
        r->SetGroupIndex(1);
    }
    c->SetGroupIndex(2);
    TPopupMenu* menu = Menu({a, b, hidden, c, Item("Save", ShortCut('S', {ssCtrl}))});
    hidden->SetVisible(false);
    a->SetChecked(true);
    c->SetChecked(true);
    b->SetChecked(true);  // turns A off, not C of another group
    EXPECT_FALSE(a->GetChecked());
    EXPECT_TRUE(c->GetChecked());
    HMENU h = menu->GetHandle();
    ASSERT_EQ(GetMenuItemCount(h), 4) << "hidden items are left out";
    EXPECT_EQ(GetMenuState(h, 0, MF_BYPOSITION) & MF_CHECKED, 0u);
    EXPECT_EQ(GetMenuState(h, 1, MF_BYPOSITION) & MF_CHECKED, UINT(MF_CHECKED));
    char text[32];
    GetMenuString(h, 3, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Save\tCtrl+S");
    b->SetEnabled(false);
    EXPECT_EQ(GetMenuState(h, 1, MF_BYPOSITION) & MF_GRAYED, UINT(MF_GRAYED));
    EXPECT_EQ(menu->FindItem(b->GetCommand(), fkCommand), b);
    EXPECT_EQ(menu->GetItems()->Find("save"), menu->GetItems()->GetItem(4));
    EXPECT_EQ(menu->GetItems()->IndexOf(c), 3);
    c->SetMenuIndex(0);
    EXPECT_EQ(menu->GetItems()->IndexOf(c), 0);
    GetMenuString(h, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "C");
    EXPECT_THROW(a->Add(menu->GetItems()), EMenuError) << "an item cannot hold its own parent";
    EXPECT_THROW(menu->GetItems()->Add(a), EMenuError) << "an item belongs to one parent";
}

TEST_F(MenusTest, ShortCutsClickEnabledItems)
{
    TMenuItem* file = Item("&File");
    TMenuItem* save = Item("&Save", ShortCut('S', {ssCtrl}));
    TMenuItem* print = Item("&Print", ShortCut('P', {ssCtrl}));
    file->Add(save);
    file->Add(print);
    TPopupMenu* menu = Menu({file});
    print->SetEnabled(false);
    auto keyMessage = [](WORD key) { return TMessage{WM_KEYDOWN, key, 1, 0}; };
    GetKeyState(VK_CONTROL);
    SetModalHook(nullptr);
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(menu->IsShortCut(keyMessage('S')));
    EXPECT_FALSE(menu->IsShortCut(keyMessage('P'))) << "disabled";
    EXPECT_FALSE(menu->IsShortCut(keyMessage('Q'))) << "nobody's shortcut";
    file->SetEnabled(false);
    EXPECT_FALSE(menu->IsShortCut(keyMessage('S'))) << "inside a disabled submenu";
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    file->SetEnabled(true);
    EXPECT_FALSE(menu->IsShortCut(keyMessage('S'))) << "Ctrl is not held";
    EXPECT_EQ(FClicks, (std::vector<std::string>{"&File", "&Save"}));
}

TEST_F(MenusTest, ItemTreesStreamAsChildrenOfTheirMenu)
{
    auto* menu = new TPopupMenu(nullptr);
    FMenus.push_back(menu);
    menu->SetName("Popup1");
    menu->SetAlignment(paRight);
    menu->SetAutoPopup(false);
    auto add = [&](TMenuItem* parent, const char* name, const char* caption) {
        auto* i = new TMenuItem(menu);
        i->SetName(name);
        i->SetCaption(caption);
        parent->Add(i);
        return i;
    };
    TMenuItem* file = add(menu->GetItems(), "File1", "&File");
    TMenuItem* open = add(file, "Open1", "&Open...");
    open->SetShortCut(ShortCut('O', {ssCtrl}));
    open->SetHint("Opens a file");
    open->SetHelpContext(12);
    open->SetDefault(true);
    add(file, "N1", "-");
    TMenuItem* mode = add(file, "Mode1", "&Mode");
    mode->SetRadioItem(true);
    mode->SetGroupIndex(3);
    mode->SetChecked(true);
    mode->SetBreak(mbBarBreak);
    TMenuItem* last = add(menu->GetItems(), "Last1", "Last");
    last->SetEnabled(false);
    last->SetVisible(false);
    last->SetTag(7);

    std::string data = WriteComponentToString(menu);
    std::string text = ObjectBinaryToText(data);
    EXPECT_NE(text.find("ShortCut = 16463"), std::string::npos) << text;
    EXPECT_NE(text.find("Break = mbBarBreak"), std::string::npos) << text;

    auto* copy = new TPopupMenu(nullptr);
    FMenus.push_back(copy);
    ReadComponentFromString(data, copy);
    EXPECT_EQ(copy->GetAlignment(), paRight);
    EXPECT_FALSE(copy->GetAutoPopup());
    TMenuItem* items = copy->GetItems();
    ASSERT_EQ(items->GetCount(), 2);
    TMenuItem* f = items->GetItem(0);
    ASSERT_EQ(f->GetCount(), 3);
    EXPECT_EQ(f->GetName(), "File1");
    EXPECT_EQ(f->GetOwner(), copy);
    EXPECT_EQ(f->GetParentComponent(), copy);
    TMenuItem* o = f->GetItem(0);
    EXPECT_EQ(o->GetCaption(), "&Open...");
    EXPECT_EQ(o->GetShortCut(), ShortCut('O', {ssCtrl}));
    EXPECT_EQ(o->GetHint(), "Opens a file");
    EXPECT_EQ(o->GetHelpContext(), 12);
    EXPECT_TRUE(o->GetDefault());
    EXPECT_TRUE(f->GetItem(1)->IsLine());
    TMenuItem* m = f->GetItem(2);
    EXPECT_EQ(m->GetParentComponent(), f);
    EXPECT_TRUE(m->GetRadioItem());
    EXPECT_EQ(m->GetGroupIndex(), 3);
    EXPECT_TRUE(m->GetChecked());
    EXPECT_EQ(m->GetBreak(), mbBarBreak);
    TMenuItem* l = items->GetItem(1);
    EXPECT_FALSE(l->GetEnabled());
    EXPECT_FALSE(l->GetVisible());
    EXPECT_EQ(l->GetTag(), 7);
    EXPECT_EQ(WriteComponentToString(copy), data) << "a second round writes the same bytes";
}

// A plain window that hands its menu's commands to the main menu, as a form does.
class MainMenuTest : public MenusTest {
protected:
    static LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (GMenu && m == WM_COMMAND && GMenu->DispatchCommand(LOWORD(w)))
            return 0;
        if (GMenu && m == WM_INITMENUPOPUP && GMenu->DispatchPopup(HMENU(w)))
            return 0;
        return DefWindowProc(h, m, w, l);
    }
    void SetUp() override
    {
        MenusTest::SetUp();
        WNDCLASS wc;
        wc.lpfnWndProc = &Proc;
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = "MainMenuTestWindow";
        RegisterClass(&wc);
        FWnd = CreateWindowEx(0, "MainMenuTestWindow", "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                              200, nullptr, nullptr, HInstance(), nullptr);
        GMenu = NewMenu(nullptr, "MainMenu1",
                        {NewSubMenu("&File", 0, "File1", {Item("&New"), NewLine(), Item("E&xit")}),
                         NewSubMenu("&View", 0, "View1", {Item("&Status bar")})});
        FMenus.push_back(GMenu);
        GMenu->SetWindowHandle(FWnd);
        ProcessPendingMessages();
    }
    void TearDown() override
    {
        GMenu = nullptr;
        MenusTest::TearDown();
    }
    static inline TMainMenu* GMenu = nullptr;
    HWND FWnd = nullptr;
};

TEST_F(MainMenuTest, TheBarOpensWithTheMouseAndWithAltLetter)
{
    EXPECT_EQ(GetMenu(FWnd), GMenu->GetHandle());
    RECT file{};
    ASSERT_TRUE(GetMenuItemRect(FWnd, GMenu->GetHandle(), 0, &file));
    SetModalHook([&](HWND) {
        POINT p = Centre(GMenu->GetItems()->GetItem(0)->GetHandle(), 2);
        Input::Click(p.x, p.y);
    });
    Input::Click((file.left + file.right) / 2, (file.top + file.bottom) / 2);
    SetModalHook(nullptr);
    ProcessPendingMessages();
    EXPECT_EQ(FClicks, std::vector<std::string>{"E&xit"});

    FClicks.clear();
    SetFocus(FWnd);
    SetModalHook([](HWND) { Input::TypeText("s"); });
    Input::KeyPress('V', Input::Alt);
    SetModalHook(nullptr);
    ProcessPendingMessages();
    EXPECT_EQ(FClicks, std::vector<std::string>{"&Status bar"});

    // A caption changed later shows on the bar.
    GMenu->GetItems()->GetItem(1)->SetCaption("&Look");
    char text[16];
    GetMenuString(GetMenu(FWnd), 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Look");
    Screenshot(FWnd, "/tmp/kel_menus_mainmenu.png");
    GMenu->SetWindowHandle(nullptr);
    EXPECT_EQ(GetMenu(FWnd), nullptr);
}

}  // namespace
