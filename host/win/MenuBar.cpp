// Menu bars: a top-level window's menu drawn under its caption, inside the
// frame and above the client area.
#include "host/win/MenuInternal.h"

#include <algorithm>

namespace host::win {

namespace {

TMenuRec* BarMenu(TWnd* w)
{
    if (!w || (w->Style & WS_CHILD) || !w->Menu)
        return nullptr;
    return FindMenu(w->Menu);
}

int BarWidth(TWnd* w, int windowWidth)
{
    TFrameMetrics m = FrameMetrics(w->Style, w->ExStyle);
    return std::max(0, windowWidth - 2 * m.Border);
}

}  // namespace

int MenuBarHeight(TWnd* w, int windowWidth)
{
    TMenuRec* m = BarMenu(w);
    if (!m || (w->Style & WS_MINIMIZE))
        return 0;
    return MenuBarHeightFor(m, BarWidth(w, windowWidth));
}

RECT MenuBarRect(TWnd* w)
{
    int width = w->Rect.right - w->Rect.left;
    int height = MenuBarHeight(w, width);
    if (!height)
        return RECT{};
    TFrameMetrics m = FrameMetrics(w->Style, w->ExStyle);
    int top = m.Border + m.Caption;
    return RECT{m.Border, top, m.Border + BarWidth(w, width), top + height};
}

void PaintMenuBar(TWnd* w, HDC dc)
{
    TMenuRec* m = BarMenu(w);
    RECT bar = MenuBarRect(w);
    if (!m || IsRectEmpty(&bar))
        return;
    bool pushed = false;
    int selected = TrackedBarItem(w->Handle, &pushed);
    PaintMenuBarItems(dc, m, bar, selected, pushed);
}

RECT MenuBarItemScreenRect(TWnd* w, int index)
{
    TMenuRec* m = BarMenu(w);
    RECT bar = MenuBarRect(w);
    if (!m || IsRectEmpty(&bar))
        return RECT{};
    std::vector<RECT> items = LayoutMenuBar(m, bar.right - bar.left);
    if (index < 0 || size_t(index) >= items.size())
        return RECT{};
    POINT o = ScreenOrigin(w);
    RECT r = items[size_t(index)];
    OffsetRect(&r, o.x + bar.left, o.y + bar.top);
    return r;
}

int MenuBarItemAt(TWnd* w, POINT screen)
{
    TMenuRec* m = BarMenu(w);
    if (!m)
        return -1;
    for (size_t i = 0; i < m->Items.size(); ++i) {
        RECT r = MenuBarItemScreenRect(w, int(i));
        if (PtInRect(&r, screen))
            return int(i);
    }
    return -1;
}

}  // namespace host::win

namespace host {

using namespace win;

BOOL SetMenu(HWND wnd, HMENU menu)
{
    TWnd* w = FindWnd(wnd);
    TMenuRec* m = menu ? FindMenu(menu) : nullptr;
    if (!w || (w->Style & WS_CHILD) || (menu && !m))
        return FALSE;
    if (TMenuRec* old = FindMenu(w->Menu); old && old->BarOf == wnd)
        old->BarOf = nullptr;
    if (m) {
        // A menu shows on one window at a time.
        if (TWnd* other = FindWnd(m->BarOf); other && other != w && other->Menu == menu) {
            other->Menu = nullptr;
            SetWindowPos(other->Handle, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        m->BarOf = wnd;
    }
    w->Menu = menu;
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

HMENU GetMenu(HWND wnd)
{
    TWnd* w = FindWnd(wnd);
    return w && !(w->Style & WS_CHILD) && FindMenu(w->Menu) ? w->Menu : nullptr;
}

BOOL DrawMenuBar(HWND wnd)
{
    TWnd* w = FindWnd(wnd);
    if (!w || !BarMenu(w))
        return FALSE;
    // Items that wrap to another row change the client area; otherwise only
    // the bar needs painting.
    RECT window = w->Rect;
    RECT expected = ClientFromWindow(window, w->Style, w->ExStyle);
    expected.top += MenuBarHeight(w, window.right - window.left);
    if (expected.top - window.top != w->Client.top)
        SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    else
        NcPaint(w);
    return TRUE;
}

BOOL GetMenuItemRect(HWND wnd, HMENU menu, UINT item, RECT* r)
{
    if (!r)
        return FALSE;
    TWnd* w = FindWnd(wnd);
    if (w && w->Menu == menu && BarMenu(w)) {
        *r = MenuBarItemScreenRect(w, int(item));
        return !IsRectEmpty(r);
    }
    return OpenPopupItemRect(menu, int(item), r);
}

}  // namespace host
