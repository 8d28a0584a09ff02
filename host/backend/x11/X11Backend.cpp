#include "host/backend/x11/X11Backend.h"
#include "host/backend/x11/X11Cursor.h"
#include "host/backend/x11/X11Keys.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace host::x11 {

namespace {

// Where a mask's lowest set bit is, so that channels can be shifted into it.
int MaskShift(unsigned long mask)
{
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

unsigned long PackPixel(uint32_t p, const Visual* vis)
{
    auto channel = [](uint32_t v8, unsigned long mask) {
        int shift = MaskShift(mask);
        unsigned long max = mask >> shift;
        return ((v8 * max + 127) / 255) << shift;
    };
    return channel((p >> 16) & 0xFF, vis->red_mask) | channel((p >> 8) & 0xFF, vis->green_mask) |
           channel(p & 0xFF, vis->blue_mask);
}

uint32_t UnpackPixel(unsigned long v, const XImage* img)
{
    auto channel = [](unsigned long v, unsigned long mask) -> uint32_t {
        int shift = MaskShift(mask);
        unsigned long max = mask >> shift;
        return max ? uint32_t(((v & mask) >> shift) * 255 / max) : 0;
    };
    return (channel(v, img->red_mask) << 16) | (channel(v, img->green_mask) << 8) |
           channel(v, img->blue_mask);
}

bool IsLittleEndian()
{
    const uint16_t one = 1;
    return *reinterpret_cast<const uint8_t*>(&one) == 1;
}

// Cursor resources of the window system (IDC_*) as X font cursors.
unsigned FontCursorShape(int id)
{
    switch (id) {
    case 32513: return XC_xterm;
    case 32514: return XC_watch;
    case 32515: return XC_crosshair;
    case 32516: return XC_center_ptr;
    case 32640:
    case 32646: return XC_fleur;
    case 32642: return XC_bottom_right_corner;
    case 32643: return XC_bottom_left_corner;
    case 32644: return XC_sb_h_double_arrow;
    case 32645: return XC_sb_v_double_arrow;
    case 32648: return XC_X_cursor;
    case 32649: return XC_hand2;
    case 32650: return XC_watch;
    case 32651: return XC_question_arrow;
    default: return XC_left_ptr;
    }
}

}  // namespace

namespace {

// A request the server refused (a window that went away in the meantime, a
// manager that does not like a hint) is worth a line, not the program.
int ReportError(Display* display, XErrorEvent* e)
{
    char text[128] = {};
    XGetErrorText(display, e->error_code, text, sizeof text - 1);
    std::fprintf(stderr, "kel: the X server refused request %d: %s\n", int(e->request_code), text);
    return 0;
}

int ReportLostConnection(Display* display)
{
    std::fprintf(stderr, "kel: lost the connection to the X display %s; the program ends\n",
                 DisplayString(display));
    return 0;
}

// A window manager is running when it announces itself (EWMH), owns the
// ICCCM manager selection, or holds the root's redirection that only one
// client can hold.
int GRedirectRefused = 0;
int TrapRedirect(Display*, XErrorEvent* e)
{
    if (e->error_code == BadAccess)
        GRedirectRefused = 1;
    return 0;
}

bool WindowManagerRunning(Display* d, int screen)
{
    std::string selection = "WM_S" + std::to_string(screen);
    if (XGetSelectionOwner(d, XInternAtom(d, selection.c_str(), False)) != None)
        return true;
    Window root = RootWindow(d, screen);
    XWindowAttributes a;
    XGetWindowAttributes(d, root, &a);
    GRedirectRefused = 0;
    XSync(d, False);
    XErrorHandler old = XSetErrorHandler(TrapRedirect);
    XSelectInput(d, root, a.your_event_mask | SubstructureRedirectMask);
    XSync(d, False);
    XSetErrorHandler(old);
    if (!GRedirectRefused)
        XSelectInput(d, root, a.your_event_mask);
    return GRedirectRefused != 0;
}

}  // namespace

TX11Backend::TX11Backend(TBackendHost& host, Display* display)
    : FHost(host), FDisplay(display), FScreen(DefaultScreen(display))
{
    XSetIOErrorHandler(ReportLostConnection);
    XSetErrorHandler(ReportError);
    XSetIOErrorExitHandler(FDisplay, ConnectionLost, this);
    FGc = XCreateGC(FDisplay, RootWindow(FDisplay, FScreen), 0, nullptr);
    FProtocols = XInternAtom(FDisplay, "WM_PROTOCOLS", False);
    FDeleteWindow = XInternAtom(FDisplay, "WM_DELETE_WINDOW", False);
    FNetWmName = XInternAtom(FDisplay, "_NET_WM_NAME", False);
    FUtf8 = XInternAtom(FDisplay, "UTF8_STRING", False);
    FNetWmState = XInternAtom(FDisplay, "_NET_WM_STATE", False);
    FNetWmStateAbove = XInternAtom(FDisplay, "_NET_WM_STATE_ABOVE", False);
    FNetWmStateMaxV = XInternAtom(FDisplay, "_NET_WM_STATE_MAXIMIZED_VERT", False);
    FNetWmStateMaxH = XInternAtom(FDisplay, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
    FWmState = XInternAtom(FDisplay, "WM_STATE", False);
    FMotifHints = XInternAtom(FDisplay, "_MOTIF_WM_HINTS", False);
    FNetActiveWindow = XInternAtom(FDisplay, "_NET_ACTIVE_WINDOW", False);
    // Held keys repeat as presses alone, without the release in between.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(FDisplay, True, &supported);
    const char* shm = std::getenv("KEL_X11_SHM");
    FUseShm = TShmImage::Available(FDisplay) && !(shm && std::strcmp(shm, "0") == 0);
    FManaged = WindowManagerRunning(FDisplay, FScreen);
    FClipboard = std::make_unique<TX11Clipboard>(FDisplay);
    OpenInputMethod();
}

TX11Backend::~TX11Backend()
{
    if (FLost) {
        // Nothing can be sent any more: free the client-side GC record without
        // a request, and leave the connection's own memory to the process.
        XFree(FGc);
        return;
    }
    for (auto& [wnd, xw] : FWindows) {
        if (xw.Ic)
            XDestroyIC(xw.Ic);
        xw.Shm.reset();
        XDestroyWindow(FDisplay, xw.Xw);
    }
    if (FIm)
        XCloseIM(FIm);
    FClipboard.reset();
    for (auto& [id, c] : FCursorCache)
        XFreeCursor(FDisplay, c);
    for (auto& [icon, c] : FImageCursors)
        XFreeCursor(FDisplay, c);
    XFreeGC(FDisplay, FGc);
    XCloseDisplay(FDisplay);
}

// Called by Xlib instead of exiting: the program's loop ends through a quit
// message, and nothing is sent to the server from then on.
void TX11Backend::ConnectionLost(Display*, void* self)
{
    auto* b = static_cast<TX11Backend*>(self);
    if (b->FLost)
        return;
    b->FLost = true;
    b->FHost.DisplayLostInput();
}

SIZE TX11Backend::ScreenSize() const
{
    return SIZE{DisplayWidth(FDisplay, FScreen), DisplayHeight(FDisplay, FScreen)};
}

Window TX11Backend::XWindowOf(HWND wnd) const
{
    auto it = FWindows.find(wnd);
    return it == FWindows.end() ? 0 : it->second.Xw;
}

HWND TX11Backend::FindHwnd(Window xw) const
{
    for (auto& [wnd, w] : FWindows)
        if (w.Xw == xw)
            return wnd;
    return nullptr;
}

bool TX11Backend::FindView(HWND wnd, TTopLevelView& out) const
{
    for (TTopLevelView& v : FHost.TopLevels())
        if (v.Wnd == wnd) {
            out = std::move(v);
            return true;
        }
    return false;
}

RECT ShownRect(const TTopLevelView& v, bool decorated) { return decorated ? v.InnerRect : v.Rect; }

void TX11Backend::TopLevelChanged(HWND wnd)
{
    if (FLost)
        return;
    TTopLevelView v;
    if (!FindView(wnd, v))
        return;
    auto it = FWindows.find(wnd);
    TXWin& xw = it == FWindows.end() ? Create(v) : it->second;
    Update(xw, v);
    Restack();
    XFlush(FDisplay);
}

// The server stacks the windows as the window system does, so that a click
// lands on the window the window system thinks is on top.
void TX11Backend::Restack()
{
    std::vector<Window> order;  // top first
    auto views = FHost.TopLevels();
    for (auto v = views.rbegin(); v != views.rend(); ++v) {
        auto it = FWindows.find(v->Wnd);
        if (it != FWindows.end() && it->second.Mapped && !it->second.Iconic)
            order.push_back(it->second.Xw);
    }
    if (order == FStacking)
        return;
    bool newTop = !order.empty() && (FStacking.empty() || FStacking.front() != order.front());
    FStacking = order;
    if (!FManaged) {
        if (order.size() > 1)
            XRestackWindows(FDisplay, order.data(), int(order.size()));
        return;
    }
    // Managed windows live in the manager's frames and are no siblings any
    // more: the manager is asked to raise the new top one, and pop-ups, which
    // it does not manage, go above them.
    if (newTop)
        XRaiseWindow(FDisplay, order.front());
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (HWND wnd = FindHwnd(*it); wnd && FWindows[wnd].Popup)
            XRaiseWindow(FDisplay, *it);
}

TX11Backend::TXWin& TX11Backend::Create(const TTopLevelView& v)
{
    XSetWindowAttributes a{};
    // No background: the window's own pixels arrive with the first Expose,
    // and a server-drawn background would only flash before them.
    a.background_pixmap = None;
    a.bit_gravity = NorthWestGravity;
    a.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                   ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                   LeaveWindowMask | FocusChangeMask | PropertyChangeMask;
    a.cursor = FCursor;
    a.override_redirect = FManaged && v.Popup;
    bool decorated = FManaged && !v.Popup && v.Caption;
    RECT r = ShownRect(v, decorated);
    Window w = XCreateWindow(FDisplay, RootWindow(FDisplay, FScreen), r.left, r.top,
                             unsigned(std::max(1, Width(r))), unsigned(std::max(1, Height(r))), 0,
                             CopyFromParent, InputOutput, CopyFromParent,
                             CWBackPixmap | CWBitGravity | CWEventMask | CWOverrideRedirect |
                                 (FCursor ? CWCursor : 0),
                             &a);
    XSetWMProtocols(FDisplay, w, &FDeleteWindow, 1);
    XClassHint* cls = XAllocClassHint();
    std::string name = program_invocation_short_name;
    cls->res_name = name.data();
    cls->res_class = const_cast<char*>("Kel");
    XSetClassHint(FDisplay, w, cls);
    XFree(cls);
    TXWin& xw = FWindows[v.Wnd];
    xw.Xw = w;
    xw.Rect = r;
    xw.Decorated = decorated;
    xw.Popup = FManaged && v.Popup;
    CreateIc(xw);
    return xw;
}

// Which kind of window the server shows can change with the window's style:
// a title bar gained or lost moves the X window between client area and
// whole window; override-redirect can only change while unmapped.
void TX11Backend::UpdateKind(TXWin& xw, const TTopLevelView& v)
{
    bool popup = FManaged && v.Popup;
    if (popup != xw.Popup && !xw.Mapped) {
        XSetWindowAttributes a{};
        a.override_redirect = popup;
        XChangeWindowAttributes(FDisplay, xw.Xw, CWOverrideRedirect, &a);
        xw.Popup = popup;
    }
    bool decorated = FManaged && !xw.Popup && v.Caption;
    if (decorated != xw.Decorated) {
        xw.Decorated = decorated;
        xw.Rect = RECT{};  // forces the new geometry out
        xw.KindTold = false;
    }
    if (!FManaged || xw.Popup || xw.KindTold)
        return;
    xw.KindTold = true;
    // Windows without a title bar of their own get no frame from the manager.
    long hints[5] = {2 /* decorations */, 0, decorated ? 1 : 0, 0, 0};
    XChangeProperty(FDisplay, xw.Xw, FMotifHints, FMotifHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
}

void TX11Backend::SetSizeHints(HWND wnd, const TXWin& xw, const TTopLevelView& v)
{
    RECT r = ShownRect(v, xw.Decorated);
    // Limits are the window's; the client area is smaller by the frame.
    int frameW = xw.Decorated ? Width(v.Rect) - Width(v.InnerRect) : 0;
    int frameH = xw.Decorated ? Height(v.Rect) - Height(v.InnerRect) : 0;
    XSizeHints* h = XAllocSizeHints();
    h->flags = USPosition | USSize;
    h->x = r.left;
    h->y = r.top;
    h->width = Width(r);
    h->height = Height(r);
    if (xw.Decorated) {
        // The client area stays where it is asked to be, the frame around it.
        h->flags |= PWinGravity;
        h->win_gravity = StaticGravity;
    }
    SIZE minSize{0, 0}, maxSize{0, 0};
    FHost.SizeLimits(wnd, minSize, maxSize);
    if (minSize.cx > 0 || minSize.cy > 0) {
        h->flags |= PMinSize;
        h->min_width = std::max<int>(1, minSize.cx - frameW);
        h->min_height = std::max<int>(1, minSize.cy - frameH);
    }
    if (maxSize.cx > 0 && maxSize.cy > 0) {
        h->flags |= PMaxSize;
        h->max_width = std::max<int>(1, maxSize.cx - frameW);
        h->max_height = std::max<int>(1, maxSize.cy - frameH);
    }
    XSetWMNormalHints(FDisplay, xw.Xw, h);
    XFree(h);
}

void TX11Backend::Update(TXWin& xw, const TTopLevelView& v)
{
    UpdateKind(xw, v);
    if (!xw.Named || xw.Title != v.Title) {
        xw.Named = true;
        xw.Title = v.Title;
        XStoreName(FDisplay, xw.Xw, v.Title.c_str());
        XChangeProperty(FDisplay, xw.Xw, FNetWmName, FUtf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(v.Title.data()), int(v.Title.size()));
    }
    if (xw.Owner != v.Owner) {
        xw.Owner = v.Owner;
        Window owner = XWindowOf(v.Owner);
        if (owner)
            XSetTransientForHint(FDisplay, xw.Xw, owner);
        else
            XDeleteProperty(FDisplay, xw.Xw, XInternAtom(FDisplay, "WM_TRANSIENT_FOR", False));
    }
    if (xw.Topmost != v.Topmost)
        SetAbove(xw, v.Topmost);
    RECT r = ShownRect(v, xw.Decorated);
    // A minimised window's place is the manager's icon, not the window
    // system's strip at the bottom of the screen.
    bool iconic = FManaged && v.Minimized;
    if (!iconic && !SameRect(xw.Rect, r) && Width(r) > 0 && Height(r) > 0) {
        xw.Rect = r;
        XMoveResizeWindow(FDisplay, xw.Xw, r.left, r.top, unsigned(Width(r)), unsigned(Height(r)));
    }
    if (v.Visible && !xw.Mapped) {
        SetSizeHints(v.Wnd, xw, v);
        XWMHints* wm = XAllocWMHints();
        wm->flags = StateHint | InputHint;
        wm->input = True;
        wm->initial_state = iconic ? IconicState : NormalState;
        XSetWMHints(FDisplay, xw.Xw, wm);
        XFree(wm);
        xw.Iconic = iconic;
        XMapRaised(FDisplay, xw.Xw);
    } else if (!v.Visible && xw.Mapped) {
        XUnmapWindow(FDisplay, xw.Xw);
        xw.Iconic = false;
    }
    xw.Mapped = v.Visible;
    if (xw.Mapped)
        UpdateStates(xw, v);
    if (v.Active && FActiveAsked != v.Wnd && xw.Mapped && !xw.Iconic && !xw.Popup) {
        FActiveAsked = v.Wnd;
        AskForFocus(xw);
    }
}

// The window the window system activated gets the keyboard: a manager is
// asked (and may refuse, against focus stealing), a bare server is told.
void TX11Backend::AskForFocus(const TXWin& xw)
{
    if (!FManaged) {
        XSetInputFocus(FDisplay, xw.Xw, RevertToParent, CurrentTime);
        return;
    }
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = xw.Xw;
    e.xclient.message_type = FNetActiveWindow;
    e.xclient.format = 32;
    e.xclient.data.l[0] = 1;  // asked by an application
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(FDisplay, RootWindow(FDisplay, FScreen), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

// Minimised and maximised states the window system chose, told to the
// manager. What the manager reports back arrives in HandleProperty.
void TX11Backend::UpdateStates(TXWin& xw, const TTopLevelView& v)
{
    if (!FManaged || xw.Popup)
        return;
    if (v.Minimized && !xw.Iconic) {
        xw.Iconic = true;
        XIconifyWindow(FDisplay, xw.Xw, FScreen);
    } else if (!v.Minimized && xw.Iconic) {
        xw.Iconic = false;
        XMapRaised(FDisplay, xw.Xw);
    }
    if (v.Maximized != xw.Maximized) {
        xw.Maximized = v.Maximized;
        SendState(xw, v.Maximized, FNetWmStateMaxV, FNetWmStateMaxH);
    }
}

// Before mapping the window manager reads the property; afterwards it only
// listens to requests sent to the root window.
void TX11Backend::SetAbove(TXWin& xw, bool above)
{
    xw.Topmost = above;
    if (!xw.Mapped) {
        if (above)
            XChangeProperty(FDisplay, xw.Xw, FNetWmState, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&FNetWmStateAbove), 1);
        else
            XDeleteProperty(FDisplay, xw.Xw, FNetWmState);
        return;
    }
    SendState(xw, above, FNetWmStateAbove, None);
}

void TX11Backend::SendState(const TXWin& xw, bool add, Atom first, Atom second)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = xw.Xw;
    e.xclient.message_type = FNetWmState;
    e.xclient.format = 32;
    e.xclient.data.l[0] = add ? 1 : 0;  // _NET_WM_STATE_ADD / _REMOVE
    e.xclient.data.l[1] = long(first);
    e.xclient.data.l[2] = long(second);
    e.xclient.data.l[3] = 1;
    XSendEvent(FDisplay, RootWindow(FDisplay, FScreen), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

void TX11Backend::TopLevelPainted(HWND wnd, const RECT& dirty)
{
    if (FLost)
        return;
    auto it = FWindows.find(wnd);
    if (it == FWindows.end() || !it->second.Mapped)
        return;
    TTopLevelView v;
    if (!FindView(wnd, v))
        return;
    PutPixels(v, it->second, dirty);
    XFlush(FDisplay);
}

// r is in the window's surface; the X window may show only its client area.
void TX11Backend::PutPixels(const TTopLevelView& v, TXWin& xw, RECT r)
{
    const gdi::Surface* s = v.Surface;
    if (!s || !s->Bits)
        return;
    RECT shown = ShownRect(v, xw.Decorated);
    int offX = shown.left - v.Rect.left, offY = shown.top - v.Rect.top;
    r.left = std::max<int>({r.left, 0, offX});
    r.top = std::max<int>({r.top, 0, offY});
    r.right = std::min<int>({r.right, s->Width, offX + Width(shown)});
    r.bottom = std::min<int>({r.bottom, s->Height, offY + Height(shown)});
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    int w = Width(r), h = Height(r);
    Visual* vis = DefaultVisual(FDisplay, FScreen);
    int depth = DefaultDepth(FDisplay, FScreen);
    if (FUseShm) {
        if (!xw.Shm)
            xw.Shm = std::make_unique<TShmImage>(FDisplay, vis, depth);
        if (xw.Shm->Reserve(s->Width, s->Height)) {
            CopyPixels(xw.Shm->Image(), r.left, r.top, *s, r, vis);
            xw.Shm->Put(xw.Xw, FGc, r.left, r.top, r.left - offX, r.top - offY, w, h);
            return;
        }
        FUseShm = false;  // the server shares no memory with us: stop trying
        xw.Shm.reset();
    }
    XImage* img = XCreateImage(FDisplay, vis, unsigned(depth), ZPixmap, 0, nullptr, unsigned(w),
                               unsigned(h), 32, 0);
    if (!img)
        return;
    std::vector<char> buf(size_t(img->bytes_per_line) * size_t(h));
    img->data = buf.data();
    CopyPixels(img, 0, 0, *s, r, vis);
    XPutImage(FDisplay, xw.Xw, FGc, img, 0, 0, r.left - offX, r.top - offY, unsigned(w), unsigned(h));
    img->data = nullptr;  // the buffer is ours, not Xlib's
    XDestroyImage(img);
}

// Rectangle r of the surface into the image at (dx, dy). Our pixels are
// 0x00RRGGBB words; on the common 24-bit visual of a server with our byte
// order they go out as they are.
void TX11Backend::CopyPixels(XImage* img, int dx, int dy, const gdi::Surface& s, const RECT& r, Visual* vis)
{
    bool direct = img->bits_per_pixel == 32 && vis->red_mask == 0xFF0000 && vis->green_mask == 0xFF00 &&
                  vis->blue_mask == 0xFF && (img->byte_order == LSBFirst) == IsLittleEndian();
    int w = Width(r);
    for (int y = r.top; y < r.bottom; ++y) {
        const uint32_t* src = s.Row(y) + r.left;
        int row = dy + (y - r.top);
        if (direct) {
            std::memcpy(img->data + size_t(row) * img->bytes_per_line + size_t(dx) * 4, src, size_t(w) * 4);
            continue;
        }
        for (int x = 0; x < w; ++x)
            XPutPixel(img, dx + x, row, PackPixel(src[x], vis));
    }
}

void TX11Backend::TopLevelDestroyed(HWND wnd)
{
    auto it = FWindows.find(wnd);
    if (it == FWindows.end())
        return;
    if (FFocusLeft == wnd)
        FFocusLeft = nullptr;
    if (FActiveAsked == wnd)
        FActiveAsked = nullptr;
    if (!FLost) {
        if (it->second.Ic)
            XDestroyIC(it->second.Ic);
        it->second.Shm.reset();
        XDestroyWindow(FDisplay, it->second.Xw);
        XFlush(FDisplay);
    }
    FWindows.erase(it);
}

Cursor TX11Backend::CursorFor(HICON cursor)
{
    int id = FHost.StandardCursorId(cursor);
    if (id == 0 && cursor) {
        auto own = FImageCursors.find(cursor);
        if (own != FImageCursors.end())
            return own->second;
        TImageData image;
        POINT hot{0, 0};
        if (FHost.CursorImage(cursor, image, hot))
            if (Cursor c = CreateImageCursor(FDisplay, RootWindow(FDisplay, FScreen), image, hot))
                return FImageCursors[cursor] = c;
    }
    auto it = FCursorCache.find(id);
    if (it == FCursorCache.end())
        it = FCursorCache.emplace(id, XCreateFontCursor(FDisplay, FontCursorShape(id))).first;
    return it->second;
}

void TX11Backend::CursorChanged(HICON cursor)
{
    if (FLost)
        return;
    Cursor c = CursorFor(cursor);
    if (FCursor == c)
        return;
    FCursor = c;
    for (auto& [wnd, xw] : FWindows)
        XDefineCursor(FDisplay, xw.Xw, FCursor);
    XFlush(FDisplay);
}

TImageData TX11Backend::CaptureScreen()
{
    SIZE size = ScreenSize();
    TImageData screen;
    AllocateImage(screen, size.cx, size.cy, "screen");
    XImage* img = FLost ? nullptr
                        : XGetImage(FDisplay, RootWindow(FDisplay, FScreen), 0, 0, unsigned(size.cx),
                                    unsigned(size.cy), AllPlanes, ZPixmap);
    if (!img)
        return screen;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            screen.Pixels[size_t(y) * size.cx + x] = UnpackPixel(XGetPixel(img, x, y), img);
    XDestroyImage(img);
    return screen;
}

void TX11Backend::ClipboardChanged(const std::optional<std::string>& text)
{
    if (!FLost)
        FClipboard->Own(text);
}

std::optional<std::string> TX11Backend::ForeignClipboardText()
{
    return FLost ? std::nullopt : FClipboard->Foreign();
}

bool TX11Backend::WaitForEvents(int timeoutMs)
{
    if (FLost) {
        // No input can come any more; only the timers still run.
        if (timeoutMs < 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return true;
    }
    XFlush(FDisplay);
    if (ProcessPending() > 0)
        return true;
    pollfd p{ConnectionNumber(FDisplay), POLLIN, 0};
    int r = poll(&p, 1, timeoutMs);
    if (r > 0)
        ProcessPending();
    return true;
}

int TX11Backend::ProcessPending()
{
    int n = 0;
    while (!FLost && XPending(FDisplay) > 0) {
        XEvent e;
        XNextEvent(FDisplay, &e);
        Handle(e);
        ++n;
    }
    CheckFocus();
    return n;
}

// Where the focus is now, once the notices of its moves are all seen: on a
// window of the program, that one is active; elsewhere, after it left one of
// ours, another program took it. Focus moving between two of the program's
// windows is not a deactivation.
void TX11Backend::CheckFocus()
{
    HWND left = FFocusLeft;
    bool moved = FFocusMoved;
    FFocusLeft = nullptr;
    FFocusMoved = false;
    if (!moved || FLost)
        return;
    Window focus = None;
    int revert = 0;
    XGetInputFocus(FDisplay, &focus, &revert);
    if (HWND now = FindHwnd(focus))
        FHost.FocusInput(now, true);
    else if (left && FWindows.count(left)) {
        FActiveAsked = nullptr;  // activating it again must ask again
        FHost.FocusInput(left, false);
    }
}

}  // namespace host::x11

namespace host {

std::unique_ptr<TBackend> CreateX11Backend(TBackendHost& host, const char* display)
{
    Display* d = XOpenDisplay(display);
    if (!d)
        return nullptr;
    return std::make_unique<x11::TX11Backend>(host, d);
}

}  // namespace host
