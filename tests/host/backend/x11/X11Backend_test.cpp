// The x11 backend against a real (virtual) X server: what the window system
// shows appears there, and what the server reports comes back as messages.
#include "X11Fixture.h"  // first: it orders GoogleTest before Xlib

#include "host/gdi/WinGdi.h"
#include "host/win/Screen.h"
#include "host/win/WinUser.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace host;

struct TLogged {
    HWND Wnd;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

std::vector<TLogged> GLog;

// Paints four quadrants of distinct colours with a diagonal line across,
// so that a swapped channel, a shifted row or a stale area shows.
void PaintPattern(HWND h)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT c;
    GetClientRect(h, &c);
    const COLORREF colours[4] = {RGB(200, 30, 40), RGB(20, 180, 60), RGB(30, 40, 220), RGB(250, 240, 10)};
    for (int i = 0; i < 4; ++i) {
        RECT q{i % 2 ? c.right / 2 : 0, i / 2 ? c.bottom / 2 : 0, i % 2 ? c.right : c.right / 2,
               i / 2 ? c.bottom : c.bottom / 2};
        HBRUSH b = CreateSolidBrush(colours[i]);
        FillRect(dc, &q, b);
        DeleteObject(b);
    }
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, c.right, c.bottom);
    EndPaint(h, &ps);
}

LRESULT LoggingProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    GLog.push_back(TLogged{h, m, w, l});
    if (m == WM_GETMINMAXINFO) {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
        mmi->ptMinTrackSize = POINT{150, 120};
        mmi->ptMaxTrackSize = POINT{700, 500};
        return 0;
    }
    if (m == WM_PAINT) {
        PaintPattern(h);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

class X11BackendTest : public x11test::X11Fixture {
protected:
    void SetUp() override
    {
        X11Fixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Restart();
    }
    // A fresh window system on the virtual display.
    void Restart()
    {
        ResetWindowSystem();
        ASSERT_EQ(GetScreenSize().cx, 800) << "the window system did not choose the x11 backend";
        GLog.clear();
        WNDCLASSEX wc;
        wc.lpfnWndProc = LoggingProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "X11Log";
        RegisterClassEx(&wc);
    }
    void TearDown() override
    {
        unsetenv("KEL_X11_SHM");
        X11Fixture::TearDown();
    }

    HWND Top(const char* title, int x, int y, int w, int h, HWND owner = nullptr, DWORD exStyle = 0)
    {
        HWND wnd = CreateWindowEx(exStyle, "X11Log", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h, owner,
                                  nullptr, HInstance(), nullptr);
        UpdateWindow(wnd);
        return wnd;
    }

    // The client area as the server shows it, compared with the window's own
    // pixels read through a device context.
    void ExpectServerShowsClient(HWND wnd, Window xw)
    {
        RECT c, wr;
        GetClientRect(wnd, &c);
        GetWindowRect(wnd, &wr);
        POINT origin{0, 0};
        ClientToScreen(wnd, &origin);
        XImage* img = nullptr;
        auto shown = [&](int x, int y) {
            unsigned long p = XGetPixel(img, x, y);
            return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        };
        HDC dc = GetDC(wnd);
        // On a busy machine the server may still be catching up with painting.
        auto same = [&] {
            if (img)
                XDestroyImage(img);
            img = XGetImage(FPeer, xw, origin.x - wr.left, origin.y - wr.top, unsigned(c.right), unsigned(c.bottom),
                            AllPlanes, ZPixmap);
            for (int y = 0; img && y < c.bottom; ++y)
                for (int x = 0; x < c.right; ++x)
                    if (shown(x, y) != GetPixel(dc, x, y))
                        return false;
            return img != nullptr;
        };
        PumpUntil(same);
        ASSERT_NE(img, nullptr);
        int mismatches = 0;
        for (int y = 0; y < c.bottom; ++y)
            for (int x = 0; x < c.right; ++x)
                if (shown(x, y) != GetPixel(dc, x, y) && mismatches++ < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " shows " << std::hex << shown(x, y)
                                  << " instead of " << GetPixel(dc, x, y);
        EXPECT_EQ(mismatches, 0);
        // The pattern itself, so that an unpainted surface cannot pass.
        EXPECT_EQ(shown(c.right - 5, 5), RGB(20, 180, 60));
        EXPECT_EQ(shown(5, c.bottom - 5), RGB(30, 40, 220));
        ReleaseDC(wnd, dc);
        XDestroyImage(img);
    }

    std::vector<TLogged> Only(UINT msg) const
    {
        std::vector<TLogged> v;
        for (const TLogged& l : GLog)
            if (l.Msg == msg)
                v.push_back(l);
        return v;
    }

};

TEST_F(X11BackendTest, TopLevelWindowsAppearWithTheirGeometry)
{
    struct {
        const char* Title;
        RECT Rect;
    } cases[] = {{"geometry one", {50, 60, 250, 210}}, {"geometry two", {300, 20, 640, 420}}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.Title);
        Top(c.Title, c.Rect.left, c.Rect.top, c.Rect.right - c.Rect.left, c.Rect.bottom - c.Rect.top);
        Window xw = WaitForXWindow(c.Title);
        ASSERT_NE(xw, 0u) << "no mapped X window with the window's title";
        XWindowAttributes a;
        ASSERT_TRUE(XGetWindowAttributes(FPeer, xw, &a));
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(FPeer, xw, DefaultRootWindow(FPeer), 0, 0, &x, &y, &child);
        EXPECT_EQ(RECT(x, y, x + a.width, y + a.height), c.Rect);
    }
}

TEST_F(X11BackendTest, ClicksThroughTheServerArriveAtClientCoordinates)
{
    HWND wnd = Top("clicks", 100, 100, 300, 200);
    ASSERT_NE(WaitForXWindow("clicks"), 0u);
    struct {
        unsigned Button;
        UINT Down, Up;
        POINT Client;
    } cases[] = {{1, WM_LBUTTONDOWN, WM_LBUTTONUP, {30, 40}}, {3, WM_RBUTTONDOWN, WM_RBUTTONUP, {120, 75}}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.Button);
        GLog.clear();
        POINT screen = c.Client;
        ClientToScreen(wnd, &screen);
        XTestFakeMotionEvent(FPeer, -1, screen.x, screen.y, 0);
        XTestFakeButtonEvent(FPeer, c.Button, True, 0);
        XTestFakeButtonEvent(FPeer, c.Button, False, 0);
        XFlush(FPeer);
        ASSERT_TRUE(PumpUntil([&] { return !Only(c.Up).empty(); })) << "no button-up message";
        auto downs = Only(c.Down);
        ASSERT_EQ(downs.size(), 1u);
        EXPECT_EQ(downs[0].Wnd, wnd);
        EXPECT_EQ(GET_X_LPARAM(downs[0].LParam), c.Client.x);
        EXPECT_EQ(GET_Y_LPARAM(downs[0].LParam), c.Client.y);
        EXPECT_EQ(GET_X_LPARAM(Only(c.Up)[0].LParam), c.Client.x);
    }
}

TEST_F(X11BackendTest, WindowManagerHintsFollowTheWindow)
{
    HWND owner = Top("owner", 10, 10, 300, 200);
    Window ownerXw = WaitForXWindow("owner");
    HWND owned = Top("owned", 40, 40, 200, 150, owner, WS_EX_TOPMOST);
    Window xw = WaitForXWindow("owned");
    ASSERT_NE(ownerXw, 0u);
    ASSERT_NE(xw, 0u);

    Window transientFor = 0;
    EXPECT_TRUE(XGetTransientForHint(FPeer, xw, &transientFor));
    EXPECT_EQ(transientFor, ownerXw);
    EXPECT_FALSE(XGetTransientForHint(FPeer, ownerXw, &transientFor));

    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(FPeer, xw, &hints, &supplied));
    ASSERT_TRUE(hints.flags & PMinSize);
    ASSERT_TRUE(hints.flags & PMaxSize);
    EXPECT_EQ(hints.min_width, 150);
    EXPECT_EQ(hints.min_height, 120);
    EXPECT_EQ(hints.max_width, 700);
    EXPECT_EQ(hints.max_height, 500);

    auto above = [&](Window w) {
        Atom type;
        int format;
        unsigned long count = 0, after;
        unsigned char* data = nullptr;
        bool found = false;
        Atom wanted = XInternAtom(FPeer, "_NET_WM_STATE_ABOVE", False);
        if (XGetWindowProperty(FPeer, w, XInternAtom(FPeer, "_NET_WM_STATE", False), 0, 16, False, XA_ATOM,
                               &type, &format, &count, &after, &data) == Success && data) {
            for (unsigned long i = 0; i < count; ++i)
                found = found || reinterpret_cast<Atom*>(data)[i] == wanted;
            XFree(data);
        }
        return found;
    };
    EXPECT_TRUE(above(xw));
    EXPECT_FALSE(above(ownerXw));

    SetWindowText(owned, "renamed");
    EXPECT_NE(WaitForXWindow("renamed"), 0u) << "the title did not follow the window text";
}

TEST_F(X11BackendTest, ServerStacksWindowsAsTheWindowSystemDoes)
{
    HWND first = Top("stack one", 50, 50, 200, 150);
    HWND second = Top("stack two", 100, 100, 200, 150);
    Window x1 = WaitForXWindow("stack one"), x2 = WaitForXWindow("stack two");
    ASSERT_NE(x1, 0u);
    ASSERT_NE(x2, 0u);
    auto serverTop = [&] {  // which of the two the server shows above the other
        Window root, parent, *kids = nullptr;
        unsigned n = 0;
        XQueryTree(FPeer, DefaultRootWindow(FPeer), &root, &parent, &kids, &n);
        Window top = 0;
        for (unsigned i = 0; i < n; ++i)  // bottom to top
            if (kids[i] == x1 || kids[i] == x2)
                top = kids[i];
        XFree(kids);
        return top;
    };
    for (HWND raise : {first, second, first}) {
        SetWindowPos(raise, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Window expected = raise == first ? x1 : x2;
        EXPECT_TRUE(PumpUntil([&] { return serverTop() == expected; }));
        // A click where they overlap goes to the window shown on top.
        GLog.clear();
        XTestFakeMotionEvent(FPeer, -1, 150, 150, 0);
        XTestFakeButtonEvent(FPeer, 1, True, 0);
        XTestFakeButtonEvent(FPeer, 1, False, 0);
        XFlush(FPeer);
        ASSERT_TRUE(PumpUntil([&] { return !Only(WM_LBUTTONUP).empty(); }));
        EXPECT_EQ(Only(WM_LBUTTONUP)[0].Wnd, raise);
    }
}

TEST_F(X11BackendTest, WheelThroughTheServerArrivesAsWheelMessages)
{
    HWND wnd = Top("wheel", 100, 100, 300, 200);
    ASSERT_NE(WaitForXWindow("wheel"), 0u);
    SetFocus(wnd);
    POINT screen{50, 50};
    ClientToScreen(wnd, &screen);
    XTestFakeMotionEvent(FPeer, -1, screen.x, screen.y, 0);
    for (unsigned button : {4u, 5u, 5u}) {
        XTestFakeButtonEvent(FPeer, button, True, 0);
        XTestFakeButtonEvent(FPeer, button, False, 0);
    }
    XFlush(FPeer);
    ASSERT_TRUE(PumpUntil([&] { return Only(WM_MOUSEWHEEL).size() >= 3; }));
    std::vector<int> deltas;
    for (const TLogged& l : Only(WM_MOUSEWHEEL))
        deltas.push_back(GET_WHEEL_DELTA_WPARAM(l.WParam));
    EXPECT_EQ(deltas, (std::vector<int>{120, -120, -120}));
    EXPECT_TRUE(Only(WM_LBUTTONDOWN).empty());
}

TEST_F(X11BackendTest, TypingThroughTheServerArrivesAsCharacters)
{
    HWND wnd = Top("typing", 80, 80, 300, 200);
    Window xw = WaitForXWindow("typing");
    ASSERT_NE(xw, 0u);
    SetFocus(wnd);
    XSetInputFocus(FPeer, xw, RevertToParent, CurrentTime);
    struct {
        KeySym Sym;
        bool Shift;
    } keys[] = {{XK_a, false}, {XK_b, true}, {XK_1, false}, {XK_1, true},
                {XK_semicolon, false}, {XK_space, false}, {XK_Return, false}};
    KeyCode shift = XKeysymToKeycode(FPeer, XK_Shift_L);
    for (auto& k : keys) {
        if (k.Shift)
            XTestFakeKeyEvent(FPeer, shift, True, 0);
        KeyCode code = XKeysymToKeycode(FPeer, k.Sym);
        XTestFakeKeyEvent(FPeer, code, True, 0);
        XTestFakeKeyEvent(FPeer, code, False, 0);
        if (k.Shift)
            XTestFakeKeyEvent(FPeer, shift, False, 0);
    }
    XFlush(FPeer);
    std::string typed;
    auto collect = [&] {
        typed.clear();
        for (const TLogged& l : Only(WM_CHAR))
            typed += char(l.WParam);
        return typed.size() >= 7;
    };
    EXPECT_TRUE(PumpUntil(collect));
    EXPECT_EQ(typed, "aB1!; \r");
    std::vector<WPARAM> vks;
    for (const TLogged& l : Only(WM_KEYDOWN))
        if (l.WParam != VK_SHIFT)
            vks.push_back(l.WParam);
    EXPECT_EQ(vks, (std::vector<WPARAM>{'A', 'B', '1', '1', VK_OEM_1, VK_SPACE, VK_RETURN}));
}

// A character the standard layout has no key for arrives as its UTF-8 bytes,
// once, after the server's keymap changed under the running program.
TEST_F(X11BackendTest, CharactersOfOtherLayoutsArriveOnce)
{
    HWND wnd = Top("layout", 80, 80, 300, 200);
    Window xw = WaitForXWindow("layout");
    ASSERT_NE(xw, 0u);
    SetFocus(wnd);
    XSetInputFocus(FPeer, xw, RevertToParent, CurrentTime);
    int minCode = 0, maxCode = 0, perCode = 0;
    XDisplayKeycodes(FPeer, &minCode, &maxCode);
    KeySym* map = XGetKeyboardMapping(FPeer, KeyCode(minCode), maxCode - minCode + 1, &perCode);
    int spare = 0;
    for (int code = maxCode; code >= minCode && !spare; --code) {
        bool empty = true;
        for (int i = 0; i < perCode; ++i)
            empty = empty && map[(code - minCode) * perCode + i] == NoSymbol;
        if (empty)
            spare = code;
    }
    XFree(map);
    ASSERT_NE(spare, 0) << "no unused keycode to remap";
    auto typeX = [&] {
        XTestFakeKeyEvent(FPeer, XKeysymToKeycode(FPeer, XK_x), True, 0);
        XTestFakeKeyEvent(FPeer, XKeysymToKeycode(FPeer, XK_x), False, 0);
        XFlush(FPeer);
    };
    // A key typed first makes the program load the keymap before it changes.
    typeX();
    ASSERT_TRUE(PumpUntil([&] { return !Only(WM_CHAR).empty(); }));
    KeySym eacute = XK_eacute;
    XChangeKeyboardMapping(FPeer, spare, 1, &eacute, 1);
    XSync(FPeer, False);
    XTestFakeKeyEvent(FPeer, unsigned(spare), True, 0);
    XTestFakeKeyEvent(FPeer, unsigned(spare), False, 0);
    typeX();
    std::string typed;
    PumpUntil([&] {
        typed.clear();
        for (const TLogged& l : Only(WM_CHAR))
            typed += char(l.WParam);
        return typed.size() >= 4;
    });
    KeySym none = NoSymbol;
    XChangeKeyboardMapping(FPeer, spare, 1, &none, 1);
    XSync(FPeer, False);
    EXPECT_EQ(typed, "x\xC3\xA9x");
}

TEST_F(X11BackendTest, ResizeByTheServerReachesTheWindow)
{
    HWND wnd = Top("resized", 40, 40, 200, 150);
    Window xw = WaitForXWindow("resized");
    ASSERT_NE(xw, 0u);
    GLog.clear();
    XResizeWindow(FPeer, xw, 320, 240);
    XFlush(FPeer);
    ASSERT_TRUE(PumpUntil([&] { return !Only(WM_SIZE).empty(); })) << "no WM_SIZE";
    RECT r, c;
    GetWindowRect(wnd, &r);
    GetClientRect(wnd, &c);
    EXPECT_EQ(r.right - r.left, 320);
    EXPECT_EQ(r.bottom - r.top, 240);
    LPARAM size = Only(WM_SIZE).back().LParam;
    EXPECT_EQ(LOWORD(size), c.right);
    EXPECT_EQ(HIWORD(size), c.bottom);
}

TEST_F(X11BackendTest, CloseRequestFromTheServerClosesTheWindow)
{
    HWND wnd = Top("closing", 60, 60, 200, 150);
    Window xw = WaitForXWindow("closing");
    ASSERT_NE(xw, 0u);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = xw;
    e.xclient.message_type = XInternAtom(FPeer, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(FPeer, "WM_DELETE_WINDOW", False));
    XSendEvent(FPeer, xw, False, NoEventMask, &e);
    XFlush(FPeer);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(wnd); }));
    EXPECT_FALSE(Only(WM_CLOSE).empty());
}

// Both ways of sending pixels: shared memory and the connection itself.
TEST_F(X11BackendTest, ServerShowsTheWindowsPixels)
{
    for (const char* shm : {"1", "0"}) {
        SCOPED_TRACE(std::string("KEL_X11_SHM=") + shm);
        setenv("KEL_X11_SHM", shm, 1);
        Restart();
        HWND wnd = Top("pixels", 120, 90, 260, 190);
        Window xw = WaitForXWindow("pixels");
        ASSERT_NE(xw, 0u);
        // Repainted after mapping, so that the server must take new pixels.
        InvalidateRect(wnd, nullptr, TRUE);
        Pump(300);
        ExpectServerShowsClient(wnd, xw);
    }
}

}  // namespace
