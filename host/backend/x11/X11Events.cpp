// What the X server reports, turned into the window system's input.
#include "host/backend/x11/X11Backend.h"
#include "host/backend/x11/X11Keys.h"

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

}  // namespace

void TX11Backend::Handle(XEvent& e)
{
    switch (e.type) {
    case Expose: {
        HWND wnd = FindHwnd(e.xexpose.window);
        TTopLevelView v;
        if (wnd && FindView(wnd, v))
            PutPixels(v, FWindows[wnd],
                      RECT{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                           e.xexpose.y + e.xexpose.height});
        break;
    }
    case ConfigureNotify: HandleConfigure(e.xconfigure); break;
    case ClientMessage:
        if (e.xclient.message_type == FProtocols && Atom(e.xclient.data.l[0]) == FDeleteWindow)
            if (HWND wnd = FindHwnd(e.xclient.window))
                FHost.CloseInput(wnd);
        break;
    case FocusIn:
    case FocusOut:
        if (e.xfocus.mode == NotifyGrab || e.xfocus.mode == NotifyUngrab || e.xfocus.detail == NotifyPointer)
            break;
        if (HWND wnd = FindHwnd(e.xfocus.window))
            FHost.FocusInput(wnd, e.type == FocusIn);
        break;
    case EnterNotify: FHost.MouseMoveInput(POINT{e.xcrossing.x_root, e.xcrossing.y_root}); break;
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

// A key reports its virtual key, and the window system types the character
// the standard layout gives it. When the server's layout types something
// else (another layout, AltGr, Caps Lock, a dead key's result), the
// character goes in on its own instead, so that it is neither lost nor typed
// twice.
void TX11Backend::HandleKey(XKeyEvent& e, bool down)
{
    int vk = KeysymToVk(XLookupKeysym(&e, 0));
    if (!down) {
        if (vk && FKeyDown[vk]) {
            FKeyDown[vk] = false;
            FHost.KeyInput(vk, false);
        }
        return;
    }
    char text[32];
    KeySym sym = NoSymbol;
    XLookupString(&e, text, sizeof text, &sym, nullptr);
    unsigned ch = KeysymToChar(sym);
    bool command = (e.state & (ControlMask | Mod1Mask)) != 0;
    bool shift = (e.state & ShiftMask) != 0;
    if (ch && !command && UsLayoutChar(vk, shift) != ch) {
        FHost.CharInput(ch);
        return;
    }
    if (vk) {
        FKeyDown[vk] = true;
        FHost.KeyInput(vk, true);
    }
}

// Without a window manager the server reports positions relative to the
// root; a reparenting manager reports them relative to its frame, except in
// the synthetic notice it sends with root coordinates.
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
    if (r.left == xw.Rect.left && r.top == xw.Rect.top && r.right == xw.Rect.right &&
        r.bottom == xw.Rect.bottom)
        return;
    xw.Rect = r;
    FHost.TopLevelMovedInput(wnd, r);
}

}  // namespace host::x11
