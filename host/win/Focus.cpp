// Keyboard focus, window activation and mouse capture.
#include "host/win/WinInternal.h"

namespace host::win {

namespace {

void SendActivateApp(bool active, TWnd* except)
{
    std::vector<HWND> tops;
    for (TWnd* c : State().Desktop->Children)
        if (c != except)
            tops.push_back(c->Handle);
    for (HWND h : tops)
        SendMessage(h, WM_ACTIVATEAPP, active, 0);
}

bool IsInTree(HWND root, HWND h) { return h && (h == root || IsChild(root, h)); }

}  // namespace

void EndTracking()
{
    TTracking& t = State().Tracking;
    if (t.What == TTracking::Kind::None)
        return;
    bool sizeMove = t.What == TTracking::Kind::Move || t.What == TTracking::Kind::Size;
    HWND h = t.Wnd;
    t = TTracking{};
    if (sizeMove)
        SendMessage(h, WM_EXITSIZEMOVE, 0, 0);
}

void ActivateWindow(TWnd* w, WORD how)
{
    TState& s = State();
    HWND newH = w ? w->Handle : nullptr;
    HWND oldH = s.Active;
    if (oldH == newH)
        return;
    if (w && !IsTopLevel(w))
        return;
    if (oldH && FindWnd(oldH)) {
        SendMessage(oldH, WM_NCACTIVATE, FALSE, 0);
        TWnd* old = FindWnd(oldH);
        SendMessage(oldH, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, old && (old->Style & WS_MINIMIZE)),
                    LPARAM(newH));
    }
    s.Active = newH;
    if (!newH) {
        if (s.AppActive) {
            s.AppActive = false;
            SendActivateApp(false, nullptr);
        }
        if (s.Focus)
            SetFocus(nullptr);
        return;
    }
    if (!s.AppActive) {
        s.AppActive = true;
        SendActivateApp(true, nullptr);
    }
    if (!(w = FindWnd(newH)) || s.Active != newH)
        return;
    SetWindowPos(newH, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(newH, WM_NCACTIVATE, TRUE, 0);
    if (!(w = FindWnd(newH)) || s.Active != newH)
        return;
    // Focus leaves the window that was active even when the new one keeps
    // it elsewhere.
    if (s.Focus && !IsInTree(newH, s.Focus))
        SetFocus(nullptr);
    if (!(w = FindWnd(newH)) || s.Active != newH)
        return;
    SendMessage(newH, WM_ACTIVATE, MAKEWPARAM(how, (w->Style & WS_MINIMIZE) ? 1 : 0), LPARAM(oldH));
    // A display gives the active window its keyboard focus.
    if ((w = FindWnd(newH)) && s.Active == newH)
        NotifyBackend(w);
}

void WindowGoing(TWnd* w)
{
    TState& s = State();
    HWND h = w->Handle;
    if (s.Tracking.Wnd && IsInTree(h, s.Tracking.Wnd))
        EndTracking();
    if (IsInTree(h, s.Capture))
        ReleaseCapture();
    if (s.Active == h) {
        TWnd* next = nullptr;
        if (w->Owner && (w->Owner->Style & WS_VISIBLE) && !(w->Owner->Style & WS_DISABLED))
            next = w->Owner;
        for (TWnd* c : s.Desktop->Children)
            if (!next && c != w && (c->Style & WS_VISIBLE) && !(c->Style & WS_DISABLED) && !c->Destroying)
                next = c;
        ActivateWindow(next, WA_ACTIVE);
        if (s.Active == h)
            s.Active = nullptr;
    }
    CaretWindowGoing(h);
    // Focus on a dying window goes nowhere; no one else is told.
    if (IsInTree(h, s.Focus))
        s.Focus = nullptr;
}

}  // namespace host::win

namespace host {

using namespace win;

HWND SetFocus(HWND hwnd)
{
    TState& s = State();
    HWND old = s.Focus;
    if (!hwnd) {
        if (!old)
            return nullptr;
        s.Focus = nullptr;
        SendMessage(old, WM_KILLFOCUS, 0, 0);
        return old;
    }
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return nullptr;
    for (TWnd* p = w; p && !p->Desktop; p = p->Parent)
        if (p->Style & (WS_DISABLED | WS_MINIMIZE))
            return nullptr;
    TWnd* top = TopLevelOf(w);
    if (s.Active != top->Handle) {
        ActivateWindow(top, WA_ACTIVE);
        if (!FindWnd(hwnd))
            return nullptr;
        old = s.Focus;
    }
    if (old == hwnd)
        return old;
    s.Focus = hwnd;
    if (old && FindWnd(old))
        SendMessage(old, WM_KILLFOCUS, WPARAM(hwnd), 0);
    if (s.Focus == hwnd && FindWnd(hwnd))
        SendMessage(hwnd, WM_SETFOCUS, WPARAM(old), 0);
    return old;
}

HWND GetFocus() { return State().Focus; }

HWND SetActiveWindow(HWND hwnd)
{
    HWND old = State().Active;
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return nullptr;
    ActivateWindow(TopLevelOf(w), WA_ACTIVE);
    return old;
}

HWND GetActiveWindow() { return State().Active; }

BOOL SetForegroundWindow(HWND hwnd)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return FALSE;
    ActivateWindow(TopLevelOf(w), WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow() { return State().Active; }

HWND SetCapture(HWND hwnd)
{
    TState& s = State();
    HWND old = s.Capture;
    if (hwnd && !FindWnd(hwnd))
        return old;
    s.Capture = hwnd;
    if (old && old != hwnd)
        SendMessage(old, WM_CAPTURECHANGED, 0, LPARAM(hwnd));
    if (s.Tracking.What != TTracking::Kind::None && s.Tracking.Wnd != hwnd)
        EndTracking();
    return old;
}

BOOL ReleaseCapture()
{
    TState& s = State();
    HWND old = s.Capture;
    if (!old)
        return TRUE;
    s.Capture = nullptr;
    SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    EndTracking();
    return TRUE;
}

HWND GetCapture() { return State().Capture; }

}  // namespace host
