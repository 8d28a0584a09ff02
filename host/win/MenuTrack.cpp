// Tracking open menus: popup windows, the modal loop that runs while a menu
// is open, and the mouse and keyboard rules inside it. One hidden window
// holds the capture and the keyboard for the whole tracking, so the focus
// of the application does not move while a menu is open.
#include "host/win/MenuInternal.h"
#include "host/win/Modal.h"

#include <algorithm>
#include <cctype>

namespace host::win {

namespace {

constexpr const char* kPopupClass = "#32768";
constexpr const char* kTrackerClass = "HostMenuTracker";
constexpr int kFrame = 3;

struct TLevel {
    TMenuRec* Menu = nullptr;
    HMENU Handle = nullptr;
    HWND Wnd = nullptr;
    TPopupLayout Layout;
    int Selected = -1;
};

struct TTracker {
    HWND Owner = nullptr;
    HWND Wnd = nullptr;  // the hidden window with capture and keyboard
    UINT Flags = 0;
    bool Done = false;
    bool Chosen = false;
    UINT Id = 0;
    std::vector<TLevel> Levels;
    // Menu bar tracking: the bar's window and menu, and its selected item.
    HWND BarWnd = nullptr;
    HMENU Bar = nullptr;
    int BarItem = -1;
    bool BarPushed = false;
    TTracker* Outer = nullptr;
};

TTracker* GTracker = nullptr;

bool Notify(const TTracker& t) { return !(t.Flags & TPM_NONOTIFY) && IsWindow(t.Owner); }

bool Selectable(const TMenuItemRec& it) { return !it.IsSeparator(); }

void RepaintLevel(const TLevel& l)
{
    if (!IsWindow(l.Wnd))
        return;
    InvalidateRect(l.Wnd, nullptr, FALSE);
    UpdateWindow(l.Wnd);
}

void RepaintBar(const TTracker& t)
{
    if (TWnd* w = FindWnd(t.BarWnd))
        NcPaint(w);
}

void SendMenuSelect(const TTracker& t, TMenuRec* menu, int index, bool mouse)
{
    if (!Notify(t) || !menu)
        return;
    if (index < 0 || size_t(index) >= menu->Items.size()) {
        SendMessage(t.Owner, WM_MENUSELECT, MAKEWPARAM(0, 0), LPARAM(menu->Handle));
        return;
    }
    const TMenuItemRec& it = menu->Items[size_t(index)];
    UINT flags = (it.State & 0xFFFF) | (it.Type & ~MFT_RADIOCHECK) | (it.Sub ? MF_POPUP : 0) |
                 (mouse ? MF_MOUSESELECT : 0);
    UINT id = it.Sub ? UINT(index) : it.Id;
    SendMessage(t.Owner, WM_MENUSELECT, MAKEWPARAM(int(id), int(flags & 0xFFFF)), LPARAM(menu->Handle));
}

// ---- Levels ----

void CloseLevelsFrom(TTracker& t, size_t depth)
{
    while (t.Levels.size() > depth) {
        TLevel l = t.Levels.back();
        t.Levels.pop_back();
        if (IsWindow(l.Wnd))
            DestroyWindow(l.Wnd);
        if (Notify(t) && FindMenu(l.Handle))
            SendMessage(t.Owner, WM_UNINITMENUPOPUP, WPARAM(l.Handle), 0);
    }
}

POINT ClampToScreen(POINT at, SIZE size)
{
    SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    at.x = std::max<LONG>(0, std::min<LONG>(at.x, screen.cx - size.cx));
    at.y = std::max<LONG>(0, std::min<LONG>(at.y, screen.cy - size.cy));
    return at;
}

// Opens menu as a new level. place turns the popup's size into its position.
bool OpenLevel(TTracker& t, HMENU handle, int indexInParent,
               const std::function<POINT(SIZE)>& place)
{
    if (Notify(t))
        SendMessage(t.Owner, WM_INITMENUPOPUP, WPARAM(handle), MAKELPARAM(indexInParent, 0));
    TMenuRec* m = FindMenu(handle);
    if (!m || t.Done)
        return false;
    TLevel l;
    l.Menu = m;
    l.Handle = handle;
    l.Layout = LayoutPopup(m);
    POINT at = ClampToScreen(place(l.Layout.Size), l.Layout.Size);
    l.Wnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClass, "", WS_POPUP, at.x, at.y,
                           l.Layout.Size.cx, l.Layout.Size.cy, t.Owner, nullptr, HInstance(), nullptr);
    if (!l.Wnd)
        return false;
    t.Levels.push_back(l);
    SetWindowPos(l.Wnd, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(l.Wnd);
    return true;
}

RECT ItemScreenRect(const TLevel& l, int index)
{
    RECT r = l.Layout.Items[size_t(index)];
    POINT o{0, 0};
    ClientToScreen(l.Wnd, &o);
    OffsetRect(&r, o.x, o.y);
    return r;
}

void Select(TTracker& t, size_t depth, int index, bool mouse)
{
    TLevel& l = t.Levels[depth];
    CloseLevelsFrom(t, depth + 1);
    if (l.Selected == index)
        return;
    l.Selected = index;
    RepaintLevel(l);
    SendMenuSelect(t, l.Menu, index, mouse);
}

// Opens the submenu of the selected item of level depth, beside that item.
bool OpenSubmenu(TTracker& t, size_t depth)
{
    TLevel& l = t.Levels[depth];
    if (l.Selected < 0)
        return false;
    const TMenuItemRec& it = l.Menu->Items[size_t(l.Selected)];
    if (!it.Sub || it.IsDisabled())
        return false;
    if (t.Levels.size() > depth + 1)
        return true;  // already open
    RECT item = ItemScreenRect(l, l.Selected);
    RECT parent{};
    GetWindowRect(l.Wnd, &parent);
    int index = l.Selected;
    return OpenLevel(t, it.Sub->Handle, index, [&](SIZE s) {
        int x = item.right - kFrame;
        if (x + s.cx > GetSystemMetrics(SM_CXSCREEN))
            x = parent.left - s.cx + kFrame;  // no room on the right: open to the left
        return POINT{x, item.top - kFrame};
    });
}

int FirstSelectable(TMenuRec* m, int from, int step)
{
    int n = int(m->Items.size());
    for (int k = 1; k <= n; ++k) {
        int i = ((from + step * k) % n + n) % n;
        if (Selectable(m->Items[size_t(i)]))
            return i;
    }
    return -1;
}

void SelectFirstIn(TTracker& t, size_t depth)
{
    if (depth < t.Levels.size())
        Select(t, depth, FirstSelectable(t.Levels[depth].Menu, -1, 1), false);
}

void Choose(TTracker& t, const TMenuItemRec& it)
{
    t.Chosen = true;
    t.Id = it.Id;
    t.Done = true;
}

void Cancel(TTracker& t) { t.Done = true; }

// ---- The menu bar ----

TWnd* BarWnd(const TTracker& t) { return t.Bar ? FindWnd(t.BarWnd) : nullptr; }

// Selects bar item index and, when open is set, drops its menu down.
void SelectBarItem(TTracker& t, int index, bool open, bool selectFirst)
{
    CloseLevelsFrom(t, 0);
    t.BarItem = index;
    t.BarPushed = open;
    RepaintBar(t);
    TMenuRec* bar = FindMenu(t.Bar);
    TWnd* w = BarWnd(t);
    if (!bar || !w || index < 0 || size_t(index) >= bar->Items.size())
        return;
    SendMenuSelect(t, bar, index, !selectFirst);
    const TMenuItemRec& it = bar->Items[size_t(index)];
    if (!open || !it.Sub || it.IsDisabled())
        return;
    RECT item = MenuBarItemScreenRect(w, index);
    if (OpenLevel(t, it.Sub->Handle, index, [&](SIZE) { return POINT{item.left, item.bottom}; }) &&
        selectFirst)
        SelectFirstIn(t, 0);
}

void MoveBarItem(TTracker& t, int step)
{
    TMenuRec* bar = FindMenu(t.Bar);
    if (!bar || bar->Items.empty())
        return;
    int next = FirstSelectable(bar, t.BarItem, step);
    SelectBarItem(t, next, t.BarPushed, true);
}

// ---- Mouse ----

// The deepest level whose window holds the point, or -1.
int LevelAt(const TTracker& t, POINT screen)
{
    for (size_t d = t.Levels.size(); d-- > 0;) {
        RECT r{};
        GetWindowRect(t.Levels[d].Wnd, &r);
        if (PtInRect(&r, screen))
            return int(d);
    }
    return -1;
}

int ItemAt(const TLevel& l, POINT screen)
{
    POINT p = screen;
    ScreenToClient(l.Wnd, &p);
    for (size_t i = 0; i < l.Layout.Items.size(); ++i)
        if (PtInRect(&l.Layout.Items[i], p))
            return int(i);
    return -1;
}

void MouseMove(TTracker& t, POINT screen)
{
    int d = LevelAt(t, screen);
    if (d >= 0) {
        TLevel& l = t.Levels[size_t(d)];
        int i = ItemAt(l, screen);
        if (i >= 0 && !Selectable(l.Menu->Items[size_t(i)]))
            i = -1;
        if (i < 0 && size_t(d) + 1 < t.Levels.size())
            return;  // keep the way to an open submenu
        Select(t, size_t(d), i, true);
        if (i >= 0)
            OpenSubmenu(t, size_t(d));  // submenus open as the mouse reaches them
        return;
    }
    if (TWnd* w = BarWnd(t)) {
        int j = MenuBarItemAt(w, screen);
        if (j >= 0 && j != t.BarItem && (t.BarPushed || t.Levels.empty())) {
            SelectBarItem(t, j, t.BarPushed, false);
            return;
        }
    }
    // Off the menus: the innermost level lets go of its selection, unless it
    // leads to an open submenu.
    if (!t.Levels.empty()) {
        size_t last = t.Levels.size() - 1;
        if (t.Levels[last].Selected >= 0)
            Select(t, last, -1, true);
    }
}

bool ButtonChooses(const TTracker& t, UINT msg)
{
    if (msg == WM_LBUTTONUP)
        return true;
    return msg == WM_RBUTTONUP && (t.Flags & TPM_RIGHTBUTTON);
}

void ButtonDown(TTracker& t, POINT screen)
{
    int d = LevelAt(t, screen);
    if (d >= 0) {
        MouseMove(t, screen);
        return;
    }
    if (TWnd* w = BarWnd(t)) {
        int j = MenuBarItemAt(w, screen);
        if (j >= 0) {
            // A press on the open item closes the menu; on another item opens it.
            if (j == t.BarItem && t.BarPushed)
                Cancel(t);
            else
                SelectBarItem(t, j, true, false);
            return;
        }
    }
    Cancel(t);  // a press outside every menu dismisses it
}

void ButtonUp(TTracker& t, UINT msg, POINT screen)
{
    int d = LevelAt(t, screen);
    if (d < 0) {
        TWnd* w = BarWnd(t);
        TMenuRec* bar = FindMenu(t.Bar);
        int j = w ? MenuBarItemAt(w, screen) : -1;
        // A bar item without a menu is a command of its own.
        if (j >= 0 && bar && j == t.BarItem && !bar->Items[size_t(j)].Sub &&
            !bar->Items[size_t(j)].IsDisabled() && ButtonChooses(t, msg))
            Choose(t, bar->Items[size_t(j)]);
        return;
    }
    TLevel& l = t.Levels[size_t(d)];
    int i = ItemAt(l, screen);
    if (i < 0 || !ButtonChooses(t, msg))
        return;
    const TMenuItemRec& it = l.Menu->Items[size_t(i)];
    if (Selectable(it) && !it.Sub && !it.IsDisabled())
        Choose(t, it);
}

// ---- Keyboard ----

// The item of the neighbouring column nearest in height to the selection.
int ItemInColumn(const TLevel& l, int step)
{
    if (l.Selected < 0 || l.Layout.Column.empty())
        return -1;
    int col = l.Layout.Column[size_t(l.Selected)] + step;
    RECT from = l.Layout.Items[size_t(l.Selected)];
    int best = -1, bestDist = 0;
    for (size_t i = 0; i < l.Layout.Items.size(); ++i) {
        if (l.Layout.Column[i] != col || !Selectable(l.Menu->Items[i]))
            continue;
        int dist = std::abs((l.Layout.Items[i].top + l.Layout.Items[i].bottom) - (from.top + from.bottom));
        if (best < 0 || dist < bestDist) {
            best = int(i);
            bestDist = dist;
        }
    }
    return best;
}

void Execute(TTracker& t, size_t depth)
{
    TLevel& l = t.Levels[depth];
    if (l.Selected < 0)
        return;
    const TMenuItemRec& it = l.Menu->Items[size_t(l.Selected)];
    if (it.Sub) {
        if (OpenSubmenu(t, depth))
            SelectFirstIn(t, depth + 1);
        return;
    }
    if (!it.IsDisabled())
        Choose(t, it);
}

void HorizontalKey(TTracker& t, int step)
{
    size_t depth = t.Levels.size() - 1;
    TLevel& l = t.Levels[depth];
    if (step > 0 && l.Selected >= 0 && l.Menu->Items[size_t(l.Selected)].Sub) {
        Execute(t, depth);
        return;
    }
    int across = ItemInColumn(l, step);
    if (across >= 0) {
        Select(t, depth, across, false);
        return;
    }
    if (step < 0 && depth > 0) {
        CloseLevelsFrom(t, depth);
        return;
    }
    if (t.Bar)
        MoveBarItem(t, step);
}

void AccelKey(TTracker& t, char ch)
{
    char up = char(std::toupper(static_cast<unsigned char>(ch)));
    if (t.Levels.empty()) {
        TMenuRec* bar = FindMenu(t.Bar);
        for (size_t i = 0; bar && i < bar->Items.size(); ++i)
            if (ItemAccel(bar->Items[i]) == up) {
                SelectBarItem(t, int(i), true, true);
                if (!bar->Items[i].Sub && !bar->Items[i].IsDisabled())
                    Choose(t, bar->Items[i]);
                return;
            }
        MessageBeep(0);
        return;
    }
    size_t depth = t.Levels.size() - 1;
    TLevel& l = t.Levels[depth];
    int n = int(l.Menu->Items.size()), first = -1, count = 0;
    for (int k = 1; k <= n; ++k) {
        int i = (l.Selected + k + n) % n;
        if (ItemAccel(l.Menu->Items[size_t(i)]) == up) {
            if (first < 0)
                first = i;
            ++count;
        }
    }
    if (first < 0) {
        MessageBeep(0);
        return;
    }
    Select(t, depth, first, false);
    if (count == 1)
        Execute(t, depth);  // a letter that only one item has chooses it
}

void KeyDown(TTracker& t, int vk)
{
    if (t.Levels.empty()) {  // only the bar is selected
        switch (vk) {
        case VK_LEFT: MoveBarItem(t, -1); break;
        case VK_RIGHT: MoveBarItem(t, 1); break;
        case VK_DOWN:
        case VK_UP:
        case VK_RETURN: SelectBarItem(t, t.BarItem, true, true); break;
        case VK_ESCAPE:
        case VK_MENU:
        case VK_F10: Cancel(t); break;
        default: break;
        }
        return;
    }
    size_t depth = t.Levels.size() - 1;
    TLevel& l = t.Levels[depth];
    switch (vk) {
    case VK_UP: Select(t, depth, FirstSelectable(l.Menu, l.Selected < 0 ? 0 : l.Selected, -1), false); break;
    case VK_DOWN: Select(t, depth, FirstSelectable(l.Menu, l.Selected, 1), false); break;
    case VK_LEFT: HorizontalKey(t, -1); break;
    case VK_RIGHT: HorizontalKey(t, 1); break;
    case VK_RETURN: Execute(t, depth); break;
    case VK_ESCAPE:
        if (depth > 0)
            CloseLevelsFrom(t, depth);
        else if (t.Bar)
            SelectBarItem(t, t.BarItem, false, false);
        else
            Cancel(t);
        break;
    case VK_MENU:
    case VK_F10: Cancel(t); break;
    default: break;
    }
}

LRESULT TrackerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TTracker* t = GTracker;
    if (!t || t->Wnd != wnd || t->Done)
        return DefWindowProc(wnd, msg, wParam, lParam);
    POINT screen = PointFromLParam(lParam);
    ClientToScreen(wnd, &screen);
    switch (msg) {
    case WM_MOUSEMOVE: MouseMove(*t, screen); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: ButtonDown(*t, screen); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: ButtonUp(*t, msg, screen); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: KeyDown(*t, int(wParam)); return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (wParam > ' ')
            AccelKey(*t, char(wParam));
        return 0;
    case WM_CAPTURECHANGED:
        if (HWND(lParam) != wnd)
            Cancel(*t);  // someone else took the mouse: the menu goes
        return 0;
    case WM_CANCELMODE: Cancel(*t); return 0;
    default: return DefWindowProc(wnd, msg, wParam, lParam);
    }
}

const TLevel* LevelOfWindow(HWND wnd)
{
    for (TTracker* t = GTracker; t; t = t->Outer)
        for (const TLevel& l : t->Levels)
            if (l.Wnd == wnd)
                return &l;
    return nullptr;
}

LRESULT PopupProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        const TLevel* level = LevelOfWindow(wnd);
        if (level && FindMenu(level->Handle)) {
            RECT client{};
            GetClientRect(wnd, &client);
            PaintPopup(dc, level->Menu, level->Layout, level->Selected, client);
        }
        EndPaint(wnd, &ps);
        return 0;
    }
    default: return DefWindowProc(wnd, msg, wParam, lParam);
    }
}

void RegisterMenuClasses()
{
    WNDCLASSEX wc;
    wc.lpfnWndProc = PopupProc;
    wc.style = CS_SAVEBITS;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPopupClass;
    RegisterSystemClass(&wc);
    wc.lpfnWndProc = TrackerProc;
    wc.style = 0;
    wc.lpszClassName = kTrackerClass;
    RegisterSystemClass(&wc);
}

// Runs the loop for t, whose first level (if any) is open already, and
// cleans up whatever way the loop ends.
void RunTracker(TTracker& t, const std::function<void()>& open)
{
    struct Cleanup {
        TTracker& T;
        ~Cleanup()
        {
            CloseLevelsFrom(T, 0);
            GTracker = T.Outer;
            if (GetCapture() == T.Wnd)
                ReleaseCapture();
            if (IsWindow(T.Wnd))
                DestroyWindow(T.Wnd);
            T.BarItem = -1;
            if (TWnd* w = FindWnd(T.BarWnd))
                NcPaint(w);
            if (Notify(T)) {
                SendMessage(T.Owner, WM_MENUSELECT, MAKEWPARAM(0, MENU_CLOSED_FLAGS), 0);
                SendMessage(T.Owner, WM_EXITMENULOOP, T.Bar ? FALSE : TRUE, 0);
            }
        }
    } cleanup{t};
    if (Notify(t)) {
        SendMessage(t.Owner, WM_ENTERMENULOOP, t.Bar ? FALSE : TRUE, 0);
        SendMessage(t.Owner, WM_INITMENU, WPARAM(t.Bar ? t.Bar : nullptr), 0);
    }
    SetCapture(t.Wnd);
    open();
    HWND shown = t.Levels.empty() ? t.Wnd : t.Levels.front().Wnd;
    if (!t.Done)
        RunModalLoop(shown, [&] { return t.Done || !IsWindow(t.Wnd); });
}

bool StartTracker(TTracker& t, HWND owner, UINT flags)
{
    if (GTracker && !(flags & TPM_RECURSE))
        return false;
    RegisterMenuClasses();
    t.Owner = owner;
    t.Flags = flags;
    t.Outer = GTracker;
    t.Wnd = CreateWindowEx(WS_EX_TOOLWINDOW, kTrackerClass, "", WS_POPUP, 0, 0, 0, 0, owner,
                           nullptr, HInstance(), nullptr);
    if (!t.Wnd)
        return false;
    GTracker = &t;
    return true;
}

void FinishCommand(const TTracker& t)
{
    if (t.Chosen && !(t.Flags & TPM_RETURNCMD) && IsWindow(t.Owner))
        PostMessage(t.Owner, WM_COMMAND, MAKEWPARAM(int(t.Id), 0), 0);
}

POINT PlacePopup(UINT flags, int x, int y, SIZE s, const RECT* exclude)
{
    if (flags & TPM_CENTERALIGN)
        x -= s.cx / 2;
    else if (flags & TPM_RIGHTALIGN)
        x -= s.cx;
    if (flags & TPM_VCENTERALIGN)
        y -= s.cy / 2;
    else if (flags & TPM_BOTTOMALIGN)
        y -= s.cy;
    int cy = GetSystemMetrics(SM_CYSCREEN);
    // A menu that would leave the screen at the bottom opens upwards instead.
    if (y + s.cy > cy && y - s.cy >= 0 && !(flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN)))
        y -= s.cy;
    if (exclude) {
        RECT r{x, y, x + s.cx, y + s.cy}, both{};
        if (IntersectRect(&both, &r, exclude))
            y = (exclude->bottom + s.cy <= cy) ? exclude->bottom : exclude->top - s.cy;
    }
    return POINT{x, y};
}

}  // namespace

HWND MenuKeyTarget() { return GTracker && !GTracker->Done ? GTracker->Wnd : nullptr; }

int TrackedBarItem(HWND wnd, bool* pushed)
{
    for (TTracker* t = GTracker; t; t = t->Outer)
        if (t->Bar && t->BarWnd == wnd) {
            if (pushed)
                *pushed = t->BarPushed;
            return t->BarItem;
        }
    return -1;
}

bool OpenPopupItemRect(HMENU menu, int index, RECT* r)
{
    if (!GTracker)
        return false;
    for (const TLevel& l : GTracker->Levels)
        if (l.Handle == menu && index >= 0 && size_t(index) < l.Layout.Items.size()) {
            *r = ItemScreenRect(l, index);
            return true;
        }
    return false;
}

void TrackMenuBarMouse(TWnd* w, POINT screen)
{
    int item = MenuBarItemAt(w, screen);
    if (item < 0)
        return;
    TTracker t;
    if (!StartTracker(t, w->Handle, 0))
        return;
    t.BarWnd = w->Handle;
    t.Bar = w->Menu;
    RunTracker(t, [&] { SelectBarItem(t, item, true, false); });
    FinishCommand(t);
}

void TrackMenuBarKey(TWnd* w, char accel)
{
    TMenuRec* bar = FindMenu(w->Menu);
    if (!bar || bar->Items.empty())
        return;
    TTracker t;
    if (!StartTracker(t, w->Handle, 0))
        return;
    t.BarWnd = w->Handle;
    t.Bar = w->Menu;
    RunTracker(t, [&] {
        if (accel)
            AccelKey(t, accel);
        else
            SelectBarItem(t, FirstSelectable(bar, -1, 1), false, false);
        if (t.BarItem < 0)
            Cancel(t);  // no item answers the letter
    });
    FinishCommand(t);
}

}  // namespace host::win

namespace host {

using namespace win;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params)
{
    if (!FindMenu(menu) || !IsWindow(owner))
        return FALSE;
    TTracker t;
    if (!StartTracker(t, owner, flags))
        return FALSE;
    const RECT* exclude = params ? &params->rcExclude : nullptr;
    RunTracker(t, [&] {
        if (!OpenLevel(t, menu, 0, [&](SIZE s) { return PlacePopup(flags, x, y, s, exclude); }))
            Cancel(t);
    });
    FinishCommand(t);
    if (flags & TPM_RETURNCMD)
        return t.Chosen ? BOOL(t.Id) : 0;
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu()
{
    if (!GTracker)
        return FALSE;
    GTracker->Done = true;
    return TRUE;
}

HWND GetOpenMenuWindow()
{
    if (!GTracker || GTracker->Levels.empty())
        return nullptr;
    return GTracker->Levels.back().Wnd;
}

}  // namespace host
