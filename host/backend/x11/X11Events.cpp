// What the X server reports, turned into the window system's input.
#include "host/backend/x11/X11Backend.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace host::x11 {

namespace {

constexpr int kWheelDelta = 120;

// X buttons 1-3 are left, middle, right; the window system counts left,
// right, middle.
int ButtonIndex(unsigned xbutton)
{
    switch (xbutton) {
    case Button1: return 0;
    case Button2: return 2;
    case Button3: return 1;
    default: return -1;
    }
}

// Crossings caused by grabs, and those between a window and its own
// subwindows, say nothing about where the pointer went.
bool IsRealCrossing(const XCrossingEvent& e) { return e.mode == NotifyNormal && e.detail != NotifyInferior; }

bool IsRealFocusChange(const XFocusChangeEvent& e)
{
    return e.mode != NotifyGrab && e.mode != NotifyUngrab && e.detail != NotifyPointer &&
           e.detail != NotifyInferior;
}

}  // namespace

void TX11Backend::Handle(XEvent& e)
{
    // The input method sees every event first; what it eats (a dead key
    // waiting for its letter, composing) goes no further.
    if (XFilterEvent(&e, None))
        return;
    if (FClipboard->Handle(e))
        return;
    switch (e.type) {
    case Expose: HandleExpose(e.xexpose); break;
    case ConfigureNotify: HandleConfigure(e.xconfigure); break;
    case PropertyNotify: HandleProperty(e.xproperty); break;
    case ClientMessage:
        if (e.xclient.message_type == FProtocols && Atom(e.xclient.data.l[0]) == FDeleteWindow)
            if (HWND wnd = FindHwnd(e.xclient.window))
                FHost.CloseInput(wnd);
        break;
    case FocusIn:
    case FocusOut: HandleFocus(e.xfocus); break;
    case EnterNotify: FHost.MouseMoveInput(POINT{e.xcrossing.x_root, e.xcrossing.y_root}); break;
    case LeaveNotify:
        // Where the pointer went: outside every window of the program it
        // reaches none, and the control it left hears that it is gone.
        if (IsRealCrossing(e.xcrossing))
            FHost.MouseMoveInput(POINT{e.xcrossing.x_root, e.xcrossing.y_root});
        break;
    case MotionNotify: FHost.MouseMoveInput(POINT{e.xmotion.x_root, e.xmotion.y_root}); break;
    case ButtonPress:
    case ButtonRelease: {
        POINT pt{e.xbutton.x_root, e.xbutton.y_root};
        bool down = e.type == ButtonPress;
        if (e.xbutton.button == Button4 || e.xbutton.button == Button5) {
            if (down)
                FHost.MouseWheelInput(pt, e.xbutton.button == Button4 ? kWheelDelta : -kWheelDelta);
            break;
        }
        int b = ButtonIndex(e.xbutton.button);
        if (b >= 0) {
            FHost.MouseMoveInput(pt);
            FHost.MouseButtonInput(pt, b, down);
        }
        break;
    }
    case MappingNotify:
        // Otherwise keys keep the meaning of the layout they had at start.
        if (e.xmapping.request == MappingKeyboard || e.xmapping.request == MappingModifier)
            XRefreshKeyboardMapping(&e.xmapping);
        break;
    case KeyPress: HandleKey(e.xkey, true); break;
    case KeyRelease: HandleKey(e.xkey, false); break;
    default: break;
    }
}

void TX11Backend::HandleExpose(const XExposeEvent& e)
{
    HWND wnd = FindHwnd(e.window);
    TTopLevelView v;
    if (!wnd || !FindView(wnd, v))
        return;
    TXWin& xw = FWindows[wnd];
    RECT shown = ShownRect(v, xw.Decorated);
    int offX = shown.left - v.Rect.left, offY = shown.top - v.Rect.top;
    PutPixels(v, xw, RECT{e.x + offX, e.y + offY, e.x + offX + e.width, e.y + offY + e.height});
}

void TX11Backend::HandleFocus(const XFocusChangeEvent& e)
{
    if (!IsRealFocusChange(e))
        return;
    HWND wnd = FindHwnd(e.window);
    if (!wnd)
        return;
    TXWin& xw = FWindows[wnd];
    // Decided once the events queued with this one are seen: the focus may
    // have moved on already, and old notices must not pull it back.
    FFocusMoved = true;
    if (e.type == FocusOut) {
        if (xw.Ic)
            XUnsetICFocus(xw.Ic);
        FFocusLeft = wnd;
        return;
    }
    if (xw.Ic)
        XSetICFocus(xw.Ic);
}

// Without a window manager the server reports positions relative to the
// root; a reparenting manager reports them relative to its frame, except in
// the synthetic notice it sends with root coordinates. A decorated window
// shows the inside of its frame: the window system's window is that, grown
// by the frame it still keeps for itself.
void TX11Backend::HandleConfigure(const XConfigureEvent& e)
{
    HWND wnd = FindHwnd(e.window);
    if (!wnd)
        return;
    int x = e.x, y = e.y;
    if (!e.send_event) {
        Window child;
        XTranslateCoordinates(FDisplay, e.window, RootWindow(FDisplay, FScreen), 0, 0, &x, &y, &child);
    }
    RECT r{x, y, x + e.width, y + e.height};
    TXWin& xw = FWindows[wnd];
    if (SameRect(r, xw.Rect) || xw.Iconic)
        return;
    xw.Rect = r;
    TTopLevelView v;
    if (xw.Decorated && FindView(wnd, v)) {
        r.left -= v.InnerRect.left - v.Rect.left;
        r.top -= v.InnerRect.top - v.Rect.top;
        r.right += v.Rect.right - v.InnerRect.right;
        r.bottom += v.Rect.bottom - v.InnerRect.bottom;
    }
    FHost.TopLevelMovedInput(wnd, r);
}

// The manager minimised, restored or maximised a window on the user's
// request: the window system follows.
void TX11Backend::HandleProperty(const XPropertyEvent& e)
{
    if (e.atom != FWmState && e.atom != FNetWmState)
        return;
    HWND wnd = FindHwnd(e.window);
    if (!wnd || !FManaged)
        return;
    TXWin& xw = FWindows[wnd];
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(FDisplay, xw.Xw, e.atom, 0, 32, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success)
        return;
    if (e.atom == FWmState) {
        bool iconic = data && format == 32 && count >= 1 && reinterpret_cast<long*>(data)[0] == IconicState;
        XFree(data);
        if (iconic == xw.Iconic || !xw.Mapped)
            return;
        xw.Iconic = iconic;
        FHost.ShowStateInput(wnd, iconic ? 6 /* SW_MINIMIZE */ : 9 /* SW_RESTORE */);
        return;
    }
    bool vert = false, horz = false;
    for (unsigned long i = 0; data && format == 32 && i < count; ++i) {
        Atom a = reinterpret_cast<Atom*>(data)[i];
        vert = vert || a == FNetWmStateMaxV;
        horz = horz || a == FNetWmStateMaxH;
    }
    XFree(data);
    bool maximized = vert && horz;
    if (maximized == xw.Maximized || xw.Iconic)
        return;
    xw.Maximized = maximized;
    FHost.ShowStateInput(wnd, maximized ? 3 /* SW_SHOWMAXIMIZED */ : 9 /* SW_RESTORE */);
}

}  // namespace host::x11
