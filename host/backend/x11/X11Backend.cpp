#include "host/backend/x11/X11Backend.h"
#include "host/backend/x11/X11Keys.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace host::x11 {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

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

TX11Backend::TX11Backend(TBackendHost& host, Display* display)
    : FHost(host), FDisplay(display), FScreen(DefaultScreen(display))
{
    FGc = XCreateGC(FDisplay, RootWindow(FDisplay, FScreen), 0, nullptr);
    FProtocols = XInternAtom(FDisplay, "WM_PROTOCOLS", False);
    FDeleteWindow = XInternAtom(FDisplay, "WM_DELETE_WINDOW", False);
    FNetWmName = XInternAtom(FDisplay, "_NET_WM_NAME", False);
    FUtf8 = XInternAtom(FDisplay, "UTF8_STRING", False);
    FNetWmState = XInternAtom(FDisplay, "_NET_WM_STATE", False);
    FNetWmStateAbove = XInternAtom(FDisplay, "_NET_WM_STATE_ABOVE", False);
    // Held keys repeat as presses alone, without the release in between.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(FDisplay, True, &supported);
    const char* shm = std::getenv("KEL_X11_SHM");
    FUseShm = TShmImage::Available(FDisplay) && !(shm && std::strcmp(shm, "0") == 0);
}

TX11Backend::~TX11Backend()
{
    for (auto& [wnd, xw] : FWindows) {
        xw.Shm.reset();
        XDestroyWindow(FDisplay, xw.Xw);
    }
    for (auto& [id, c] : FCursorCache)
        XFreeCursor(FDisplay, c);
    XFreeGC(FDisplay, FGc);
    XCloseDisplay(FDisplay);
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

void TX11Backend::TopLevelChanged(HWND wnd)
{
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
        if (it != FWindows.end() && it->second.Mapped)
            order.push_back(it->second.Xw);
    }
    if (order == FStacking)
        return;
    FStacking = order;
    if (order.size() > 1)
        XRestackWindows(FDisplay, order.data(), int(order.size()));
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
                   LeaveWindowMask | FocusChangeMask;
    a.cursor = FCursor;
    Window w = XCreateWindow(FDisplay, RootWindow(FDisplay, FScreen), v.Rect.left, v.Rect.top,
                             unsigned(std::max(1, Width(v.Rect))), unsigned(std::max(1, Height(v.Rect))),
                             0, CopyFromParent, InputOutput, CopyFromParent,
                             CWBackPixmap | CWBitGravity | CWEventMask | (FCursor ? CWCursor : 0), &a);
    XSetWMProtocols(FDisplay, w, &FDeleteWindow, 1);
    TXWin& xw = FWindows[v.Wnd];
    xw.Xw = w;
    xw.Rect = v.Rect;
    SetSizeHints(v.Wnd, w, v.Rect);
    return xw;
}

void TX11Backend::SetSizeHints(HWND wnd, Window xw, const RECT& r)
{
    XSizeHints* h = XAllocSizeHints();
    h->flags = USPosition | USSize;
    h->x = r.left;
    h->y = r.top;
    h->width = Width(r);
    h->height = Height(r);
    SIZE minSize{0, 0}, maxSize{0, 0};
    FHost.SizeLimits(wnd, minSize, maxSize);
    if (minSize.cx > 0 || minSize.cy > 0) {
        h->flags |= PMinSize;
        h->min_width = std::max<int>(1, minSize.cx);
        h->min_height = std::max<int>(1, minSize.cy);
    }
    if (maxSize.cx > 0 && maxSize.cy > 0) {
        h->flags |= PMaxSize;
        h->max_width = maxSize.cx;
        h->max_height = maxSize.cy;
    }
    XSetWMNormalHints(FDisplay, xw, h);
    XFree(h);
}

void TX11Backend::Update(TXWin& xw, const TTopLevelView& v)
{
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
    if (!SameRect(xw.Rect, v.Rect) && Width(v.Rect) > 0 && Height(v.Rect) > 0) {
        xw.Rect = v.Rect;
        XMoveResizeWindow(FDisplay, xw.Xw, v.Rect.left, v.Rect.top, unsigned(Width(v.Rect)),
                          unsigned(Height(v.Rect)));
    }
    if (v.Visible && !xw.Mapped) {
        SetSizeHints(v.Wnd, xw.Xw, v.Rect);
        XMapRaised(FDisplay, xw.Xw);
    } else if (!v.Visible && xw.Mapped) {
        XUnmapWindow(FDisplay, xw.Xw);
    }
    xw.Mapped = v.Visible;
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
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = xw.Xw;
    e.xclient.message_type = FNetWmState;
    e.xclient.format = 32;
    e.xclient.data.l[0] = above ? 1 : 0;  // _NET_WM_STATE_ADD / _REMOVE
    e.xclient.data.l[1] = long(FNetWmStateAbove);
    e.xclient.data.l[3] = 1;
    XSendEvent(FDisplay, RootWindow(FDisplay, FScreen), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

void TX11Backend::TopLevelPainted(HWND wnd, const RECT& dirty)
{
    auto it = FWindows.find(wnd);
    if (it == FWindows.end() || !it->second.Mapped)
        return;
    TTopLevelView v;
    if (!FindView(wnd, v))
        return;
    PutPixels(v, it->second, dirty);
    XFlush(FDisplay);
}

void TX11Backend::PutPixels(const TTopLevelView& v, TXWin& xw, RECT r)
{
    const gdi::Surface* s = v.Surface;
    if (!s || !s->Bits)
        return;
    r.left = std::max<int>(r.left, 0);
    r.top = std::max<int>(r.top, 0);
    r.right = std::min<int>(r.right, s->Width);
    r.bottom = std::min<int>(r.bottom, s->Height);
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
            xw.Shm->Put(xw.Xw, FGc, r.left, r.top, w, h);
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
    XPutImage(FDisplay, xw.Xw, FGc, img, 0, 0, r.left, r.top, unsigned(w), unsigned(h));
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
    it->second.Shm.reset();
    XDestroyWindow(FDisplay, it->second.Xw);
    FWindows.erase(it);
    XFlush(FDisplay);
}

void TX11Backend::CursorChanged(HICON cursor)
{
    int id = FHost.StandardCursorId(cursor);
    auto it = FCursorCache.find(id);
    if (it == FCursorCache.end())
        it = FCursorCache.emplace(id, XCreateFontCursor(FDisplay, FontCursorShape(id))).first;
    if (FCursor == it->second)
        return;
    FCursor = it->second;
    for (auto& [wnd, xw] : FWindows)
        XDefineCursor(FDisplay, xw.Xw, FCursor);
    XFlush(FDisplay);
}

TImageData TX11Backend::CaptureScreen()
{
    SIZE size = ScreenSize();
    TImageData screen;
    AllocateImage(screen, size.cx, size.cy, "screen");
    XImage* img = XGetImage(FDisplay, RootWindow(FDisplay, FScreen), 0, 0, unsigned(size.cx),
                            unsigned(size.cy), AllPlanes, ZPixmap);
    if (!img)
        return screen;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            screen.Pixels[size_t(y) * size.cx + x] = UnpackPixel(XGetPixel(img, x, y), img);
    XDestroyImage(img);
    return screen;
}

bool TX11Backend::WaitForEvents(int timeoutMs)
{
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
    while (XPending(FDisplay) > 0) {
        XEvent e;
        XNextEvent(FDisplay, &e);
        Handle(e);
        ++n;
    }
    return n;
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
