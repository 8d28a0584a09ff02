// Window position, size, visibility and z-order; coordinate mapping.
#include "host/win/WinInternal.h"

#include <algorithm>

namespace host::win {

constexpr UINT SWP_NOCLIENTSIZE = 0x0800, SWP_NOCLIENTMOVE = 0x1000;

void RecalcClient(TWnd* w)
{
    RECT r = w->Rect;
    SendMessage(w->Handle, WM_NCCALCSIZE, FALSE, LPARAM(&r));
    if (!(w = FindWnd(w->Handle)))
        return;
    r.right = std::max(r.left, r.right);
    r.bottom = std::max(r.top, r.bottom);
    w->Client = RECT{r.left - w->Rect.left, r.top - w->Rect.top, r.right - w->Rect.left,
                     r.bottom - w->Rect.top};
}

void SendSizeMove(TWnd* w, UINT flags)
{
    HWND h = w->Handle;
    if (!(flags & SWP_NOCLIENTSIZE)) {
        WPARAM kind = (w->Style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                      : (w->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                 : SIZE_RESTORED;
        SendMessage(h, WM_SIZE, kind,
                    MAKELPARAM(w->Client.right - w->Client.left, w->Client.bottom - w->Client.top));
        if (!(w = FindWnd(h)))
            return;
    }
    if (!(flags & SWP_NOCLIENTMOVE))
        SendMessage(h, WM_MOVE, 0,
                    MAKELPARAM(w->Rect.left + w->Client.left, w->Rect.top + w->Client.top));
}

void ResizeSurface(TWnd* top)
{
    int cx = std::max<int>(0, top->Rect.right - top->Rect.left);
    int cy = std::max<int>(0, top->Rect.bottom - top->Rect.top);
    if (top->Surf.Width == cx && top->Surf.Height == cy && top->Surf.Bits)
        return;
    std::vector<uint32_t> pixels(size_t(std::max(cx, 1)) * size_t(std::max(cy, 1)),
                                 gdi::ColorToPixel(GetSysColor(COLOR_BTNFACE)));
    int w = std::min(cx, top->Surf.Width), h = std::min(cy, top->Surf.Height);
    for (int y = 0; y < h; ++y)
        std::copy_n(top->Surf.Row(y), w, pixels.data() + size_t(y) * size_t(cx));
    top->Pixels = std::move(pixels);
    top->Surf.Bits = top->Pixels.data();
    top->Surf.Width = cx;
    top->Surf.Height = cy;
    top->Surf.Stride = cx;
    RetargetDcs(top);
}

MINMAXINFO DefaultMinMaxInfo(HWND hwnd)
{
    MINMAXINFO m;
    TWnd* w = FindWnd(hwnd);
    SIZE scr = State().Backend->ScreenSize();
    TFrameMetrics f = w ? FrameMetrics(w->Style, w->ExStyle) : TFrameMetrics{};
    m.ptMaxSize = POINT{scr.cx + 2 * f.Border, scr.cy + 2 * f.Border};
    m.ptMaxPosition = POINT{-f.Border, -f.Border};
    m.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    m.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    if (w && (w->Style & WS_CHILD)) {
        m.ptMaxSize = POINT{w->Parent->Client.right - w->Parent->Client.left + 2 * f.Border,
                            w->Parent->Client.bottom - w->Parent->Client.top + 2 * f.Border};
    }
    return m;
}

namespace {

// Windows a top-level window owns stay above it.
void RaiseOwned(TWnd* owner)
{
    std::vector<TWnd*> owned;
    for (TWnd* c : owner->Parent->Children)
        if (c->Owner == owner)
            owned.push_back(c);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        UnlinkFromParent(*it);
        auto& v = owner->Parent->Children;
        v.insert(std::find(v.begin(), v.end(), owner), *it);
    }
}

void ChangeZOrder(TWnd* w, HWND after)
{
    if (after == HWND_TOPMOST)
        w->ExStyle |= WS_EX_TOPMOST;
    else if (after == HWND_NOTOPMOST)
        w->ExStyle &= ~WS_EX_TOPMOST;
    if (FindWnd(after) == w)
        return;
    UnlinkFromParent(w);
    InsertInZOrder(w, after);
    if (IsTopLevel(w) && (after == HWND_TOP || after == HWND_TOPMOST))
        RaiseOwned(w);
}

// What must be painted again after a window changed place or visibility.
void RepaintAfterChange(TWnd* w, const RECT& oldRect, bool wasVisible, bool sized, bool moved,
                        bool zorder)
{
    bool visible = (w->Style & WS_VISIBLE) != 0;
    if (!IsTopLevel(w) && (wasVisible || visible) && (moved || sized || wasVisible != visible || zorder)) {
        gdi::Region old(oldRect);
        InvalidateWindow(w->Parent, &old, true, true);
        gdi::Region now(w->Rect);
        InvalidateWindow(w->Parent, &now, true, true);
    }
    if (visible && (sized || !wasVisible || (!IsTopLevel(w) && (moved || zorder)))) {
        InvalidateWindow(w, nullptr, true, true);
        InvalidateFrame(w);
    }
}

}  // namespace

}  // namespace host::win

namespace host {

using namespace win;

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || w->Desktop)
        return FALSE;
    WINDOWPOS wp;
    wp.hwnd = hwnd;
    wp.hwndInsertAfter = insertAfter;
    wp.x = (flags & SWP_NOMOVE) ? w->Rect.left : x;
    wp.y = (flags & SWP_NOMOVE) ? w->Rect.top : y;
    wp.cx = (flags & SWP_NOSIZE) ? w->Rect.right - w->Rect.left : cx;
    wp.cy = (flags & SWP_NOSIZE) ? w->Rect.bottom - w->Rect.top : cy;
    wp.flags = flags;
    if ((flags & SWP_SHOWWINDOW) && (w->Style & WS_VISIBLE))
        wp.flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !(w->Style & WS_VISIBLE))
        wp.flags &= ~SWP_HIDEWINDOW;
    if (!(wp.flags & SWP_NOSENDCHANGING)) {
        SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, LPARAM(&wp));
        if (!(w = FindWnd(hwnd)))
            return FALSE;
    }
    wp.cx = std::max(0, wp.cx);
    wp.cy = std::max(0, wp.cy);
    RECT oldRect = w->Rect;
    RECT oldClient = w->Client;
    bool wasVisible = (w->Style & WS_VISIBLE) != 0;
    bool moved = !(wp.flags & SWP_NOMOVE) && (wp.x != oldRect.left || wp.y != oldRect.top);
    bool sized = !(wp.flags & SWP_NOSIZE) &&
                 (wp.cx != oldRect.right - oldRect.left || wp.cy != oldRect.bottom - oldRect.top);
    bool zorder = !(wp.flags & SWP_NOZORDER);
    if (zorder)
        ChangeZOrder(w, wp.hwndInsertAfter);
    if (moved || sized)
        w->Rect = RECT{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    if (sized || moved || (wp.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS p;
        p.rgrc[0] = w->Rect;
        p.rgrc[1] = oldRect;
        p.rgrc[2] = RECT{oldRect.left + oldClient.left, oldRect.top + oldClient.top,
                         oldRect.left + oldClient.right, oldRect.top + oldClient.bottom};
        p.lppos = &wp;
        SendMessage(hwnd, WM_NCCALCSIZE, TRUE, LPARAM(&p));
        if (!(w = FindWnd(hwnd)))
            return FALSE;
        RECT c = p.rgrc[0];
        c.right = std::max(c.left, c.right);
        c.bottom = std::max(c.top, c.bottom);
        w->Client = RECT{c.left - w->Rect.left, c.top - w->Rect.top, c.right - w->Rect.left,
                         c.bottom - w->Rect.top};
    }
    if (wp.flags & SWP_SHOWWINDOW)
        w->Style |= WS_VISIBLE;
    if (wp.flags & SWP_HIDEWINDOW)
        w->Style &= ~WS_VISIBLE;
    if (IsTopLevel(w) && sized)
        ResizeSurface(w);
    if (!(wp.flags & SWP_NOREDRAW))
        RepaintAfterChange(w, oldRect, wasVisible, sized || (wp.flags & SWP_FRAMECHANGED), moved, zorder);
    bool clientSized = (w->Client.right - w->Client.left) != (oldClient.right - oldClient.left) ||
                       (w->Client.bottom - w->Client.top) != (oldClient.bottom - oldClient.top);
    bool clientMoved = w->Rect.left + w->Client.left != oldRect.left + oldClient.left ||
                       w->Rect.top + w->Client.top != oldRect.top + oldClient.top;
    UINT changed = wp.flags;
    if (!sized)
        changed |= SWP_NOSIZE;
    if (!moved)
        changed |= SWP_NOMOVE;
    if (!clientSized)
        changed |= SWP_NOCLIENTSIZE;
    if (!clientMoved)
        changed |= SWP_NOCLIENTMOVE;
    if ((wp.flags & SWP_HIDEWINDOW) && IsTopLevel(w) && State().Active == hwnd) {
        TWnd* next = nullptr;
        for (TWnd* c : State().Desktop->Children)
            if (c != w && (c->Style & WS_VISIBLE) && !(c->Style & WS_DISABLED)) {
                next = c;
                break;
            }
        ActivateWindow(next, WA_ACTIVE);
    }
    if (!(w = FindWnd(hwnd)))
        return TRUE;
    if (IsTopLevel(w) && (w->Style & WS_VISIBLE) && !(wp.flags & SWP_NOACTIVATE) &&
        State().Active != hwnd && !(w->Style & WS_DISABLED))
        ActivateWindow(w, WA_ACTIVE);
    if (!(w = FindWnd(hwnd)))
        return TRUE;
    if (IsTopLevel(w))
        NotifyBackend(w);
    WINDOWPOS done = wp;
    done.flags = changed;
    done.x = w->Rect.left;
    done.y = w->Rect.top;
    done.cx = w->Rect.right - w->Rect.left;
    done.cy = w->Rect.bottom - w->Rect.top;
    if (!(wp.flags & SWP_NOSENDCHANGING) || moved || sized || (changed & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) || zorder)
        SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, LPARAM(&done));
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd)
{
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

namespace {

RECT MinimizedRect(TWnd* w)
{
    SIZE scr = State().Backend->ScreenSize();
    int h = GetSystemMetrics(SM_CYCAPTION) + 2 * FrameMetrics(w->Style, w->ExStyle).Border;
    if (w->Style & WS_CHILD)
        scr = SIZE{w->Parent->Client.right - w->Parent->Client.left,
                   w->Parent->Client.bottom - w->Parent->Client.top};
    return RECT{0, scr.cy - h, 160, scr.cy};
}

RECT MaximizedRect(TWnd* w)
{
    MINMAXINFO m = DefaultMinMaxInfo(w->Handle);
    SendMessage(w->Handle, WM_GETMINMAXINFO, 0, LPARAM(&m));
    return RECT{m.ptMaxPosition.x, m.ptMaxPosition.y, m.ptMaxPosition.x + m.ptMaxSize.x,
                m.ptMaxPosition.y + m.ptMaxSize.y};
}

// Changes the minimised/maximised state and returns the new placement.
RECT ChangeState(TWnd* w, int cmd)
{
    bool isMin = w->Style & WS_MINIMIZE, isMax = w->Style & WS_MAXIMIZE;
    if (!isMin && !isMax)
        w->NormalRect = w->Rect;
    switch (cmd) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        w->Style = (w->Style & ~WS_MAXIMIZE) | WS_MINIMIZE;
        return MinimizedRect(w);
    case SW_SHOWMAXIMIZED:
        w->Style = (w->Style & ~WS_MINIMIZE) | WS_MAXIMIZE;
        return MaximizedRect(w);
    default:
        w->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        return w->NormalRect;
    }
}

bool ChangesState(TWnd* w, int cmd)
{
    bool isMin = w->Style & WS_MINIMIZE, isMax = w->Style & WS_MAXIMIZE;
    switch (cmd) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE: return !isMin;
    case SW_SHOWMAXIMIZED: return !isMax;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT: return isMin || isMax;
    default: return false;
    }
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int cmd)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || w->Desktop)
        return FALSE;
    BOOL wasVisible = (w->Style & WS_VISIBLE) ? TRUE : FALSE;
    bool show = cmd != SW_HIDE;
    if (show != bool(wasVisible)) {
        SendMessage(hwnd, WM_SHOWWINDOW, show, 0);
        if (!(w = FindWnd(hwnd)))
            return wasVisible;
    }
    if (!show) {
        if (wasVisible)
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return wasVisible;
    }
    bool noActivate = cmd == SW_SHOWNA || cmd == SW_SHOWNOACTIVATE || cmd == SW_SHOWMINNOACTIVE ||
                      cmd == SW_MINIMIZE || (w->Style & WS_CHILD);
    UINT flags = SWP_SHOWWINDOW | (noActivate ? SWP_NOACTIVATE | SWP_NOZORDER : 0);
    if (ChangesState(w, cmd)) {
        RECT r = ChangeState(w, cmd);
        SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     flags | SWP_FRAMECHANGED);
    } else {
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE);
    }
    if ((w = FindWnd(hwnd)) && (w->Style & WS_MINIMIZE) && State().Active == hwnd &&
        (cmd == SW_MINIMIZE || cmd == SW_SHOWMINNOACTIVE))
        ActivateWindow(nullptr, WA_INACTIVE);
    return wasVisible;
}

BOOL CloseWindow(HWND hwnd)
{
    ShowWindow(hwnd, SW_MINIMIZE);
    return IsWindow(hwnd);
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !wp)
        return FALSE;
    wp->showCmd = (w->Style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                  : (w->Style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                             : SW_SHOWNORMAL;
    wp->rcNormalPosition = (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->NormalRect : w->Rect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !wp)
        return FALSE;
    const RECT& r = wp->rcNormalPosition;
    if (w->Style & (WS_MINIMIZE | WS_MAXIMIZE))
        w->NormalRect = r;
    else
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd, int(wp->showCmd));
    return TRUE;
}

// ---- Rectangles and coordinates ----

BOOL GetWindowRect(HWND hwnd, RECT* r)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !r)
        return FALSE;
    *r = ScreenRect(w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* r)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !r)
        return FALSE;
    *r = RECT{0, 0, w->Client.right - w->Client.left, w->Client.bottom - w->Client.top};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !pt)
        return FALSE;
    POINT o = ClientScreenOrigin(w);
    pt->x += o.x;
    pt->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !pt)
        return FALSE;
    POINT o = ClientScreenOrigin(w);
    pt->x -= o.x;
    pt->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count)
{
    TWnd* f = from ? FindWnd(from) : State().Desktop;
    TWnd* t = to ? FindWnd(to) : State().Desktop;
    if (!f || !t)
        return 0;
    POINT a = ClientScreenOrigin(f), b = ClientScreenOrigin(t);
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; i < count; ++i) {
        pts[i].x += dx;
        pts[i].y += dy;
    }
    return MAKELONG(WORD(dx), WORD(dy));
}

BOOL AdjustWindowRectEx(RECT* r, DWORD style, BOOL menu, DWORD exStyle)
{
    if (!r)
        return FALSE;
    if (!(style & (WS_CHILD | WS_POPUP)))
        style |= WS_CAPTION;
    RECT probe{0, 0, 1000, 1000};
    RECT c = ClientFromWindow(probe, style, exStyle);
    r->left -= c.left;
    r->top -= c.top;
    r->right += probe.right - c.right;
    r->bottom += probe.bottom - c.bottom;
    if (menu)
        r->top -= GetSystemMetrics(SM_CYMENU);
    return TRUE;
}

BOOL AdjustWindowRect(RECT* r, DWORD style, BOOL menu) { return AdjustWindowRectEx(r, style, menu, 0); }

// ---- The window tree ----

HWND GetDesktopWindow() { return State().Desktop->Handle; }

HWND GetParent(HWND hwnd)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || w->Desktop)
        return nullptr;
    if (w->Style & WS_CHILD)
        return w->Parent->Handle;
    return (w->Style & WS_POPUP) && w->Owner ? w->Owner->Handle : nullptr;
}

HWND SetParent(HWND child, HWND newParent)
{
    TWnd* w = FindWnd(child);
    TWnd* p = newParent ? FindWnd(newParent) : State().Desktop;
    if (!w || !p || w->Desktop || p == w || IsChild(child, newParent))
        return nullptr;
    HWND old = w->Parent->Handle;
    bool visible = w->Style & WS_VISIBLE;
    if (visible)
        ShowWindow(child, SW_HIDE);
    if (!(w = FindWnd(child)))
        return nullptr;
    bool wasTop = IsTopLevel(w);
    UnlinkFromParent(w);
    w->Parent = p;
    InsertInZOrder(w, HWND_TOP);
    if (IsTopLevel(w) && !wasTop)
        ResizeSurface(w);
    if (!IsTopLevel(w) && wasTop) {
        w->Pixels.clear();
        w->Surf = gdi::Surface{};
        State().Backend->TopLevelDestroyed(child);
    }
    RetargetDcs(TopLevelOf(w));
    if (visible)
        ShowWindow(child, SW_SHOWNA);
    return old == State().Desktop->Handle ? GetDesktopWindow() : old;
}

HWND GetWindow(HWND hwnd, UINT cmd)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return nullptr;
    if (cmd == GW_CHILD)
        return w->Children.empty() ? nullptr : w->Children.front()->Handle;
    if (cmd == GW_OWNER)
        return w->Owner ? w->Owner->Handle : nullptr;
    if (cmd == GW_ENABLEDPOPUP) {
        for (TWnd* c : State().Desktop->Children)
            if (c->Owner == w && (c->Style & WS_VISIBLE) && !(c->Style & WS_DISABLED))
                return c->Handle;
        return nullptr;
    }
    if (!w->Parent)
        return nullptr;
    auto& v = w->Parent->Children;
    auto it = std::find(v.begin(), v.end(), w);
    switch (cmd) {
    case GW_HWNDFIRST: return v.front()->Handle;
    case GW_HWNDLAST: return v.back()->Handle;
    case GW_HWNDNEXT: return it + 1 < v.end() ? (*(it + 1))->Handle : nullptr;
    case GW_HWNDPREV: return it > v.begin() ? (*(it - 1))->Handle : nullptr;
    default: return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD); }
HWND GetNextWindow(HWND hwnd, UINT cmd) { return GetWindow(hwnd, cmd); }

HWND GetAncestor(HWND hwnd, UINT flags)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || w->Desktop)
        return nullptr;
    if (flags == GA_PARENT)
        return w->Parent->Handle;
    TWnd* top = TopLevelOf(w);
    if (flags == GA_ROOTOWNER)
        while (top->Owner)
            top = top->Owner;
    return top->Handle;
}

namespace {

bool EnumTree(TWnd* w, WNDENUMPROC proc, LPARAM param)
{
    std::vector<HWND> kids;
    for (TWnd* c : w->Children)
        kids.push_back(c->Handle);
    for (HWND k : kids) {
        if (!FindWnd(k))
            continue;
        if (!proc(k, param))
            return false;
        if (TWnd* c = FindWnd(k); c && !EnumTree(c, proc, param))
            return false;
    }
    return true;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param)
{
    TWnd* w = parent ? FindWnd(parent) : State().Desktop;
    if (!w || !proc)
        return FALSE;
    EnumTree(w, proc, param);
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param)
{
    std::vector<HWND> tops;
    for (TWnd* c : State().Desktop->Children)
        tops.push_back(c->Handle);
    for (HWND h : tops)
        if (FindWnd(h) && !proc(h, param))
            break;
    return TRUE;
}

HWND FindWindow(LPCSTR className, LPCSTR windowName)
{
    for (TWnd* c : State().Desktop->Children) {
        if (className && c->Class->Name != className)
            continue;
        if (windowName && c->Text != windowName)
            continue;
        return c->Handle;
    }
    return nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags)
{
    TWnd* w = FindWnd(parent);
    if (!w)
        return nullptr;
    RECT cr{0, 0, w->Client.right - w->Client.left, w->Client.bottom - w->Client.top};
    if (!PtInRect(&cr, pt))
        return nullptr;
    for (TWnd* c : w->Children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(c->Style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (c->Style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->ExStyle & WS_EX_TRANSPARENT))
            continue;
        if (PtInRect(&c->Rect, pt))
            return c->Handle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) { return ChildWindowFromPointEx(parent, pt, CWP_ALL); }

HWND WindowFromPoint(POINT pt)
{
    LRESULT hit = HTNOWHERE;
    return HitTestWindow(pt, &hit);
}

}  // namespace host
