// The default window procedure: what a window does with the messages its
// own procedure passes on.
#include "host/win/MenuInternal.h"

#include <algorithm>
#include <cstring>

namespace host::win {

namespace {

HBRUSH ClassBrush(TWnd* w)
{
    if (!w->Class)
        return GetSysColorBrush(COLOR_BACKGROUND);
    HBRUSH b = w->Class->Info.hbrBackground;
    uintptr_t v = uintptr_t(b);
    // COLOR_x + 1 stands for the system colour's brush.
    if (v > 0 && v <= uintptr_t(COLOR_COUNT))
        return GetSysColorBrush(int(v - 1));
    return b;
}

LRESULT EraseBackground(TWnd* w, HDC dc)
{
    HBRUSH b = ClassBrush(w);
    if (!b)
        return 0;
    RECT r;
    GetClipBox(dc, &r);
    FillRect(dc, &r, b);
    return 1;
}

void ClampToMinMax(TWnd* w, WINDOWPOS* wp)
{
    if (!(HasThickFrame(w->Style) || !(w->Style & (WS_POPUP | WS_CHILD))) || (wp->flags & SWP_NOSIZE))
        return;
    if (w->Style & WS_MINIMIZE)
        return;
    MINMAXINFO m = DefaultMinMaxInfo(w->Handle);
    SendMessage(w->Handle, WM_GETMINMAXINFO, 0, LPARAM(&m));
    wp->cx = std::max<int>(std::min<int>(wp->cx, m.ptMaxTrackSize.x), m.ptMinTrackSize.x);
    wp->cy = std::max<int>(std::min<int>(wp->cy, m.ptMaxTrackSize.y), m.ptMinTrackSize.y);
}

LRESULT SetCursorDefault(TWnd* w, WPARAM wParam, LPARAM lParam)
{
    if ((w->Style & WS_CHILD) && w->Parent &&
        SendMessage(w->Parent->Handle, WM_SETCURSOR, wParam, lParam))
        return TRUE;
    SHORT hit = SHORT(LOWORD(uintptr_t(lParam)));
    WORD mouseMsg = HIWORD(uintptr_t(lParam));
    LPCSTR id = IDC_ARROW;
    switch (hit) {
    case HTCLIENT:
        if (w->Class && w->Class->Info.hCursor) {
            SetCursor(w->Class->Info.hCursor);
            return TRUE;
        }
        return FALSE;
    case HTLEFT:
    case HTRIGHT: id = IDC_SIZEWE; break;
    case HTTOP:
    case HTBOTTOM: id = IDC_SIZENS; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: id = IDC_SIZENWSE; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: id = IDC_SIZENESW; break;
    case HTERROR:
        if (mouseMsg == WM_LBUTTONDOWN || mouseMsg == WM_RBUTTONDOWN || mouseMsg == WM_MBUTTONDOWN)
            MessageBeep(0);
        break;
    default: break;
    }
    SetCursor(LoadCursor(nullptr, id));
    return TRUE;
}

WPARAM SizeCommand(LRESULT hit)
{
    switch (hit) {
    case HTLEFT: return SC_SIZE + WMSZ_LEFT;
    case HTRIGHT: return SC_SIZE + WMSZ_RIGHT;
    case HTTOP: return SC_SIZE + WMSZ_TOP;
    case HTTOPLEFT: return SC_SIZE + WMSZ_TOPLEFT;
    case HTTOPRIGHT: return SC_SIZE + WMSZ_TOPRIGHT;
    case HTBOTTOM: return SC_SIZE + WMSZ_BOTTOM;
    case HTBOTTOMLEFT: return SC_SIZE + WMSZ_BOTTOMLEFT;
    case HTBOTTOMRIGHT: return SC_SIZE + WMSZ_BOTTOMRIGHT;
    default: return 0;
    }
}

LRESULT NcButtonDown(TWnd* w, WPARAM hit, LPARAM lParam)
{
    HWND h = w->Handle;
    POINT pt = PointFromLParam(lParam);
    switch (LRESULT(hit)) {
    case HTCAPTION: {
        TWnd* top = TopLevelOf(w);
        if (top && State().Active != top->Handle && !(top->Style & WS_DISABLED))
            SetActiveWindow(top->Handle);
        SendMessage(h, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lParam);
        return 0;
    }
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON: {
        TTracking& t = State().Tracking;
        t = TTracking{};
        t.What = TTracking::Kind::NcButton;
        t.Wnd = h;
        t.Hit = LRESULT(hit);
        SetCapture(h);
        RunTrackingLoop();
        return 0;
    }
    case HTMENU: SendMessage(h, WM_SYSCOMMAND, SC_MOUSEMENU + HTMENU, lParam); return 0;
    case HTHSCROLL:
    case HTVSCROLL:
        StartScrollTracking(w, hit == WPARAM(HTHSCROLL) ? SB_HORZ : SB_VERT, pt);
        return 0;
    default:
        if (WPARAM cmd = SizeCommand(LRESULT(hit)); cmd && HasThickFrame(w->Style) && !(w->Style & WS_MAXIMIZE))
            SendMessage(h, WM_SYSCOMMAND, cmd, lParam);
        return 0;
    }
}

LRESULT SysCommand(TWnd* w, WPARAM cmd, LPARAM lParam)
{
    HWND h = w->Handle;
    switch (cmd & 0xFFF0) {
    case SC_MOVE:
    case SC_SIZE: StartSizeMove(w, cmd, PointFromLParam(lParam)); return 0;
    case SC_CLOSE: SendMessage(h, WM_CLOSE, 0, 0); return 0;
    case SC_MINIMIZE: ShowWindow(h, SW_MINIMIZE); return 0;
    case SC_MAXIMIZE: ShowWindow(h, SW_SHOWMAXIMIZED); return 0;
    case SC_RESTORE: ShowWindow(h, SW_RESTORE); return 0;
    case SC_MOUSEMENU: TrackMenuBarMouse(w, PointFromLParam(lParam)); return 0;
    case SC_KEYMENU: TrackMenuBarKey(w, char(lParam)); return 0;
    default: return 0;
    }
}

LRESULT GetText(TWnd* w, WPARAM max, LPARAM buffer)
{
    if (!buffer || max == 0)
        return 0;
    size_t n = std::min<size_t>(w->Text.size(), max - 1);
    std::memcpy(reinterpret_cast<char*>(buffer), w->Text.data(), n);
    reinterpret_cast<char*>(buffer)[n] = 0;
    return LRESULT(n);
}

LRESULT SetText(TWnd* w, LPARAM text)
{
    w->Text = text ? reinterpret_cast<const char*>(text) : "";
    if (HasCaption(w->Style))
        NcPaint(w);
    NotifyBackend(w);  // a display shows the title outside the window too
    return TRUE;
}

// The top-level window whose menu bar keyboard access opens, or null.
TWnd* MenuBarOwner(TWnd* w)
{
    TWnd* top = TopLevelOf(w);
    return top && GetMenu(top->Handle) ? top : nullptr;
}

// Alt pressed and released on its own selects the menu bar; any key or
// character in between makes it a modifier instead.
LRESULT MenuKeys(TWnd* w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    static HWND altAlone = nullptr;
    bool alt = wParam == WPARAM(VK_MENU);
    if (msg == WM_SYSKEYDOWN && alt) {
        if (!(lParam & (LPARAM(1) << 30)))
            altAlone = w->Handle;
        return 0;
    }
    if (msg != WM_SYSKEYUP || !alt) {
        altAlone = nullptr;
    } else if (altAlone == w->Handle) {
        altAlone = nullptr;
        if (TWnd* top = MenuBarOwner(w))
            SendMessage(top->Handle, WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    }
    if (msg == WM_SYSKEYDOWN && wParam == WPARAM(VK_F10) && GetKeyState(VK_SHIFT) >= 0) {
        if (TWnd* top = MenuBarOwner(w))
            SendMessage(top->Handle, WM_SYSCOMMAND, SC_KEYMENU, 0);
    }
    if (msg == WM_SYSCHAR && (lParam & (LPARAM(1) << 29)) && wParam > WPARAM(' ')) {
        if (TWnd* top = MenuBarOwner(w))
            SendMessage(top->Handle, WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wParam));
    }
    return 0;
}

LRESULT KeyDefaults(TWnd* w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MenuKeys(w, msg, wParam, lParam);
    if (!FindWnd(w->Handle))
        return 0;
    // The menu key and Shift+F10 ask for a context menu at no particular point;
    // F10 arrives as a system key.
    bool keyDown = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    if (keyDown && (wParam == WPARAM(VK_APPS) || (wParam == WPARAM(VK_F10) && GetKeyState(VK_SHIFT) < 0)))
        SendMessage(w->Handle, WM_CONTEXTMENU, WPARAM(w->Handle), -1);
    if (msg == WM_SYSKEYDOWN && wParam == WPARAM(VK_F4) && (lParam & (1 << 29))) {
        TWnd* top = TopLevelOf(w);
        SendMessage(top->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return 0;
}

}  // namespace

}  // namespace host::win

namespace host {

using namespace win;

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
        if (cs && cs->lpszName)
            w->Text = cs->lpszName;
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                         : reinterpret_cast<RECT*>(lParam);
        if (r) {
            int width = r->right - r->left;
            *r = ClientFromWindow(*r, w->Style, w->ExStyle);
            r->top = std::min(r->bottom, r->top + LONG(MenuBarHeight(w, width)));
        }
        return 0;
    }
    case WM_NCHITTEST: return NcHitTest(w, PointFromLParam(lParam));
    case WM_NCPAINT: NcPaint(w); return 0;
    case WM_NCACTIVATE:
        w->ActiveLook = wParam != 0;
        NcPaint(w);
        return TRUE;
    case WM_SETTEXT: return SetText(w, lParam);
    case WM_GETTEXT: return GetText(w, wParam, lParam);
    case WM_GETTEXTLENGTH: return LRESULT(w->Text.size());
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return EraseBackground(w, reinterpret_cast<HDC>(wParam));
    case WM_WINDOWPOSCHANGING: ClampToMinMax(w, reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_WINDOWPOSCHANGED: {
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        SendSizeMove(w, wp ? wp->flags : 0);
        return 0;
    }
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SYSCOMMAND: return SysCommand(w, wParam, lParam);
    case WM_NCLBUTTONDOWN: return NcButtonDown(w, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        if (wParam == WPARAM(HTCAPTION) && (w->Style & WS_MAXIMIZEBOX))
            SendMessage(hwnd, WM_SYSCOMMAND, (w->Style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        else if (wParam == WPARAM(HTSYSMENU))
            SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        else
            return NcButtonDown(w, wParam, lParam);
        return 0;
    case WM_SETCURSOR: return SetCursorDefault(w, wParam, lParam);
    case WM_MOUSEACTIVATE:
        if ((w->Style & WS_CHILD) && w->Parent) {
            LRESULT r = SendMessage(w->Parent->Handle, WM_MOUSEACTIVATE, wParam, lParam);
            if (r)
                return r;
        }
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            SetFocus(hwnd);
        return 0;
    case WM_RBUTTONUP: {
        POINT p = PointFromLParam(lParam);
        ClientToScreen(hwnd, &p);
        SendMessage(hwnd, WM_CONTEXTMENU, WPARAM(hwnd), PointToLParam(p));
        return 0;
    }
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        if ((w->Style & WS_CHILD) && w->Parent)
            return SendMessage(w->Parent->Handle, msg, wParam, lParam);
        return 0;
    case WM_CANCELMODE:
        if (State().Capture == hwnd)
            ReleaseCapture();
        return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_KEYDOWN: return KeyDefaults(w, msg, wParam, lParam);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return LRESULT(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_SETREDRAW:
        // Drawing off hides the window from painting without hiding it on screen.
        if (wParam)
            w->Style |= WS_VISIBLE;
        else
            w->Style &= ~WS_VISIBLE;
        return 0;
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN: return TRUE;
    default: return 0;
    }
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace host
