#include "FakeWm.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace x11test {

namespace {

bool GRefused = false;

int TrapAccess(Display*, XErrorEvent* e)
{
    if (e->error_code == BadAccess)
        GRefused = true;
    return 0;
}

}  // namespace

TFakeWm::TFakeWm(const std::string& display)
{
    FDisplay = XOpenDisplay(display.c_str());
    if (!FDisplay)
        return;
    FRoot = DefaultRootWindow(FDisplay);
    FWmState = XInternAtom(FDisplay, "WM_STATE", False);
    FNetWmState = XInternAtom(FDisplay, "_NET_WM_STATE", False);
    FMaxV = XInternAtom(FDisplay, "_NET_WM_STATE_MAXIMIZED_VERT", False);
    FMaxH = XInternAtom(FDisplay, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
    FActive = XInternAtom(FDisplay, "_NET_ACTIVE_WINDOW", False);
    GRefused = false;
    XErrorHandler old = XSetErrorHandler(TrapAccess);
    XSelectInput(FDisplay, FRoot, SubstructureRedirectMask | SubstructureNotifyMask);
    XSync(FDisplay, False);
    XSetErrorHandler(old);
    if (GRefused)
        return;
    FSelectionOwner = XCreateSimpleWindow(FDisplay, FRoot, -5, -5, 1, 1, 0, 0, 0);
    XSetSelectionOwner(FDisplay, XInternAtom(FDisplay, "WM_S0", False), FSelectionOwner, CurrentTime);
    XSync(FDisplay, False);
    FRunning = true;
}

TFakeWm::~TFakeWm()
{
    if (FDisplay)
        XCloseDisplay(FDisplay);  // the save-set gives the clients back to the root
}

Window TFakeWm::FrameOf(Window client) const
{
    auto it = FFrames.find(client);
    return it == FFrames.end() ? 0 : it->second;
}

void TFakeWm::Manage(Window client)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(FDisplay, client, &a))
        return;
    // Static gravity, as the program asks: the client stays, the frame
    // goes around it.
    Window frame = XCreateSimpleWindow(FDisplay, FRoot, a.x - kBorder, a.y - kBorder - kTitle,
                                       unsigned(a.width + 2 * kBorder), unsigned(a.height + 2 * kBorder + kTitle),
                                       0, 0, 0x336699);
    XSelectInput(FDisplay, frame, SubstructureRedirectMask | SubstructureNotifyMask);
    XAddToSaveSet(FDisplay, client);
    XReparentWindow(FDisplay, client, frame, kBorder, kBorder + kTitle);
    FFrames[client] = frame;
    XMapWindow(FDisplay, client);
    XMapWindow(FDisplay, frame);
    SetWmState(client, NormalState);
    SendConfigureNotify(client);
}

void TFakeWm::SendConfigureNotify(Window client)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(FDisplay, client, &a))
        return;
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(FDisplay, client, FRoot, 0, 0, &x, &y, &child);
    XEvent e{};
    e.xconfigure.type = ConfigureNotify;
    e.xconfigure.event = client;
    e.xconfigure.window = client;
    e.xconfigure.x = x;
    e.xconfigure.y = y;
    e.xconfigure.width = a.width;
    e.xconfigure.height = a.height;
    XSendEvent(FDisplay, client, False, StructureNotifyMask, &e);
}

void TFakeWm::MoveResize(Window client, int x, int y, int width, int height)
{
    Window frame = FrameOf(client);
    if (!frame)
        return;
    XMoveResizeWindow(FDisplay, frame, x - kBorder, y - kBorder - kTitle, unsigned(width + 2 * kBorder),
                      unsigned(height + 2 * kBorder + kTitle));
    XResizeWindow(FDisplay, client, unsigned(width), unsigned(height));
    SendConfigureNotify(client);
    XFlush(FDisplay);
}

void TFakeWm::Configure(const XConfigureRequestEvent& e)
{
    Window frame = FrameOf(e.window);
    if (!frame) {
        XWindowChanges c{e.x, e.y, e.width, e.height, e.border_width, e.above, e.detail};
        XConfigureWindow(FDisplay, e.window, unsigned(e.value_mask), &c);
        return;
    }
    XWindowAttributes a;
    XGetWindowAttributes(FDisplay, e.window, &a);
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(FDisplay, e.window, FRoot, 0, 0, &x, &y, &child);
    if (e.value_mask & CWX)
        x = e.x;
    if (e.value_mask & CWY)
        y = e.y;
    int w = (e.value_mask & CWWidth) ? e.width : a.width;
    int h = (e.value_mask & CWHeight) ? e.height : a.height;
    MoveResize(e.window, x, y, w, h);
}

void TFakeWm::SetWmState(Window client, long state)
{
    long data[2] = {state, long(None)};
    XChangeProperty(FDisplay, client, FWmState, FWmState, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(data), 2);
}

void TFakeWm::Iconify(Window client)
{
    Window frame = FrameOf(client);
    if (!frame)
        return;
    ++FOwnUnmaps[client];
    XUnmapWindow(FDisplay, client);
    XUnmapWindow(FDisplay, frame);
    SetWmState(client, IconicState);
    XFlush(FDisplay);
}

void TFakeWm::Deiconify(Window client)
{
    Window frame = FrameOf(client);
    if (!frame)
        return;
    XMapWindow(FDisplay, client);
    XMapWindow(FDisplay, frame);
    SetWmState(client, NormalState);
    XFlush(FDisplay);
}

void TFakeWm::ChangeNetState(Window client, long action, Atom a1, Atom a2)
{
    std::vector<Atom> states;
    Atom type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(FDisplay, client, FNetWmState, 0, 32, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success && data) {
        states.assign(reinterpret_cast<Atom*>(data), reinterpret_cast<Atom*>(data) + count);
        XFree(data);
    }
    for (Atom a : {a1, a2}) {
        if (a == None)
            continue;
        char* name = XGetAtomName(FDisplay, a);
        StateRequests.push_back(std::string(action ? "add:" : "remove:") + (name ? name : "?"));
        XFree(name);
        states.erase(std::remove(states.begin(), states.end(), a), states.end());
        if (action)
            states.push_back(a);
    }
    XChangeProperty(FDisplay, client, FNetWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states.data()), int(states.size()));
}

void TFakeWm::SetMaximized(Window client, bool on)
{
    ChangeNetState(client, on, FMaxV, FMaxH);
    XFlush(FDisplay);
}

void TFakeWm::Process()
{
    if (!FRunning)
        return;
    XSync(FDisplay, False);
    while (XPending(FDisplay) > 0) {
        XEvent e;
        XNextEvent(FDisplay, &e);
        switch (e.type) {
        case MapRequest:
            if (FrameOf(e.xmaprequest.window)) {
                Deiconify(e.xmaprequest.window);
            } else {
                MapRequests.push_back(e.xmaprequest.window);
                Manage(e.xmaprequest.window);
            }
            break;
        case ConfigureRequest: Configure(e.xconfigurerequest); break;
        case ClientMessage:
            if (e.xclient.message_type == FActive)
                ActivationRequests.push_back(e.xclient.window);
            else if (e.xclient.message_type == FNetWmState)
                ChangeNetState(e.xclient.window, e.xclient.data.l[0], Atom(e.xclient.data.l[1]),
                               Atom(e.xclient.data.l[2]));
            else if (e.xclient.message_type == XInternAtom(FDisplay, "WM_CHANGE_STATE", False) &&
                     e.xclient.data.l[0] == IconicState)
                Iconify(e.xclient.window);
            break;
        case UnmapNotify:
            // The program withdrew its window: the frame goes, the window
            // returns to the root.
            if (FOwnUnmaps[e.xunmap.window] > 0 && e.xunmap.event != FRoot) {
                --FOwnUnmaps[e.xunmap.window];
                break;
            }
            if (Window frame = FrameOf(e.xunmap.window); frame && e.xunmap.event == frame) {
                XReparentWindow(FDisplay, e.xunmap.window, FRoot, 0, 0);
                XDestroyWindow(FDisplay, frame);
                FFrames.erase(e.xunmap.window);
            }
            break;
        case DestroyNotify:
            if (Window frame = FrameOf(e.xdestroywindow.window)) {
                XDestroyWindow(FDisplay, frame);
                FFrames.erase(e.xdestroywindow.window);
            }
            break;
        default: break;
        }
    }
    XFlush(FDisplay);
}

}  // namespace x11test
