// Windows under a window manager: it draws the frames, the program's X
// windows show the client areas, and what the manager does to a window
// reaches the window system.
#include "X11Fixture.h"  // first: it orders GoogleTest before Xlib

#include "FakeWm.h"

#include "host/gdi/WinGdi.h"

#include <X11/Xatom.h>

#include <memory>
#include <utility>

namespace {

using namespace host;
using x11test::TFakeWm;

LRESULT PaintedProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_GETMINMAXINFO) {
        reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = POINT{200, 150};
        return 0;
    }
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT c;
        GetClientRect(h, &c);
        HBRUSH b = CreateSolidBrush(RGB(200, 30, 40));
        RECT half{0, 0, c.right / 2, c.bottom};
        FillRect(dc, &half, b);
        DeleteObject(b);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

class X11ManagedTest : public x11test::X11Fixture {
protected:
    void SetUp() override
    {
        X11Fixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        FWm = std::make_unique<TFakeWm>(x11test::TXvfb::Display());
        ASSERT_TRUE(FWm->Running());
        // The backend looks for a manager when it starts.
        ResetWindowSystem();
        EachTurn = [this] { FWm->Process(); };
        WNDCLASSEX wc;
        wc.lpfnWndProc = PaintedProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
        wc.lpszClassName = "X11Managed";
        RegisterClassEx(&wc);
    }
    void TearDown() override
    {
        X11Fixture::TearDown();
        FWm.reset();
    }
    HWND Top(const char* title, DWORD style, int x, int y, int w, int h, DWORD exStyle = 0, HWND owner = nullptr)
    {
        HWND wnd = CreateWindowEx(exStyle, "X11Managed", title, style | WS_VISIBLE, x, y, w, h, owner, nullptr,
                                  HInstance(), nullptr);
        UpdateWindow(wnd);
        return wnd;
    }
    RECT ClientOnScreen(HWND wnd)
    {
        RECT c;
        GetClientRect(wnd, &c);
        POINT o{0, 0};
        ClientToScreen(wnd, &o);
        return RECT{o.x, o.y, o.x + c.right, o.y + c.bottom};
    }
    long WmState(Window xw)
    {
        Atom a = XInternAtom(FPeer, "WM_STATE", False), type;
        int format;
        unsigned long count = 0, after;
        unsigned char* data = nullptr;
        long state = -1;
        if (XGetWindowProperty(FPeer, xw, a, 0, 2, False, a, &type, &format, &count, &after, &data) == Success &&
            data && count > 0)
            state = reinterpret_cast<long*>(data)[0];
        XFree(data);
        return state;
    }

    std::unique_ptr<TFakeWm> FWm;
};

TEST_F(X11ManagedTest, TheManagerFramesTheClientAreaWhereTheWindowSystemHasIt)
{
    HWND wnd = Top("framed", WS_OVERLAPPEDWINDOW, 100, 120, 300, 200);
    Window xw = WaitForXWindow("framed");
    ASSERT_NE(xw, 0u);
    ASSERT_NE(FWm->FrameOf(xw), 0u) << "the manager did not take the window";
    RECT before;
    GetWindowRect(wnd, &before);
    EXPECT_EQ(before, RECT(100, 120, 400, 320)) << "the frame moved the window";
    EXPECT_EQ(ShownGeometry(xw), ClientOnScreen(wnd)) << "without a menu bar the X window shows the client area";

    // The client's own pixels, not the window system's caption.
    XImage* img = XGetImage(FPeer, xw, 0, 0, 20, 20, AllPlanes, ZPixmap);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(XGetPixel(img, 5, 5) & 0xFFFFFF, 0xC81E28u);
    XDestroyImage(img);

    // The user drags the frame: the client area lands where the manager put
    // it, and the window keeps its frame around it.
    RECT frameInsets{ClientOnScreen(wnd).left - before.left, ClientOnScreen(wnd).top - before.top,
                     before.right - ClientOnScreen(wnd).right, before.bottom - ClientOnScreen(wnd).bottom};
    FWm->MoveResize(xw, 150, 170, 320, 240);
    ASSERT_TRUE(PumpUntil([&] { return ClientOnScreen(wnd) == RECT(150, 170, 470, 410); }))
        << "client area now " << ClientOnScreen(wnd).left << "," << ClientOnScreen(wnd).top;
    RECT after;
    GetWindowRect(wnd, &after);
    EXPECT_EQ(after, RECT(150 - frameInsets.left, 170 - frameInsets.top, 470 + frameInsets.right,
                          410 + frameInsets.bottom));

    // And the program moves it: the manager is asked for the client area.
    SetWindowPos(wnd, nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(PumpUntil([&] { return ShownGeometry(xw) == ClientOnScreen(wnd); }));
    EXPECT_EQ(ClientOnScreen(wnd).left, 60 + frameInsets.left);
}

// The manager replaces only the frame and title bar: the menu bar is the
// window's own and shows with the client area.
TEST_F(X11ManagedTest, TheMenuBarShowsWithTheClientArea)
{
    HMENU bar = CreateMenu();
    AppendMenu(bar, MF_STRING, 1, "&File");
    HWND wnd = Top("with menu", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200);
    ASSERT_TRUE(SetMenu(wnd, bar));
    UpdateWindow(wnd);
    Window xw = WaitForXWindow("with menu");
    ASSERT_NE(xw, 0u);
    RECT shown = ShownGeometry(xw), client = ClientOnScreen(wnd);
    EXPECT_EQ(shown.top, client.top - GetSystemMetrics(SM_CYMENU)) << "the menu bar is hidden";
    EXPECT_EQ(shown.left, client.left);
    EXPECT_EQ(shown.right, client.right);
    EXPECT_EQ(shown.bottom, client.bottom);
}

TEST_F(X11ManagedTest, TheProgramActivatingAWindowAsksTheManager)
{
    HWND a = Top("first", WS_OVERLAPPEDWINDOW, 40, 40, 200, 150);
    HWND b = Top("second", WS_OVERLAPPEDWINDOW, 300, 40, 200, 150);
    Window xa = WaitForXWindow("first"), xb = WaitForXWindow("second");
    ASSERT_NE(xa, 0u);
    ASSERT_NE(xb, 0u);
    for (auto [wnd, xw] : {std::pair{a, xa}, std::pair{b, xb}, std::pair{a, xa}}) {
        FWm->ActivationRequests.clear();
        SetActiveWindow(wnd);
        ASSERT_TRUE(PumpUntil([&] { return !FWm->ActivationRequests.empty(); }));
        EXPECT_EQ(FWm->ActivationRequests.back(), xw);
    }
}

TEST_F(X11ManagedTest, SizeLimitsAreTheClientAreasAndTheClientStaysPut)
{
    HWND wnd = Top("limited", WS_OVERLAPPEDWINDOW, 50, 50, 300, 200);
    Window xw = WaitForXWindow("limited");
    ASSERT_NE(xw, 0u);
    RECT w, c;
    GetWindowRect(wnd, &w);
    GetClientRect(wnd, &c);
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(FPeer, xw, &hints, &supplied));
    ASSERT_TRUE(hints.flags & PWinGravity);
    EXPECT_EQ(hints.win_gravity, StaticGravity);
    ASSERT_TRUE(hints.flags & PMinSize);
    EXPECT_EQ(hints.min_width, 200 - ((w.right - w.left) - c.right));
    EXPECT_EQ(hints.min_height, 150 - ((w.bottom - w.top) - c.bottom));
    EXPECT_LT(hints.min_height, 150 - 20) << "the title bar's height is not taken off";
}

TEST_F(X11ManagedTest, PopupsAreLeftAloneAndCaptionlessWindowsGetNoFrame)
{
    HWND owner = Top("owner", WS_OVERLAPPEDWINDOW, 40, 40, 300, 200);
    ASSERT_NE(WaitForXWindow("owner"), 0u);
    HWND menu = Top("menu", WS_POPUP | WS_BORDER, 100, 100, 120, 80, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, owner);
    HWND splash = Top("splash", WS_POPUP, 400, 300, 150, 100);
    Window menuXw = WaitForXWindow("menu"), splashXw = WaitForXWindow("splash");
    ASSERT_NE(menuXw, 0u);
    ASSERT_NE(splashXw, 0u);

    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(FPeer, menuXw, &a));
    EXPECT_TRUE(a.override_redirect) << "a menu must not be managed";
    EXPECT_EQ(FWm->FrameOf(menuXw), 0u);
    RECT r;
    GetWindowRect(menu, &r);
    EXPECT_EQ(ShownGeometry(menuXw), r) << "a pop-up shows its whole window";

    ASSERT_TRUE(XGetWindowAttributes(FPeer, splashXw, &a));
    EXPECT_FALSE(a.override_redirect);
    Atom motif = XInternAtom(FPeer, "_MOTIF_WM_HINTS", False), type;
    int format;
    unsigned long count = 0, after;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(FPeer, splashXw, motif, 0, 5, False, AnyPropertyType, &type, &format, &count,
                                 &after, &data), Success);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(count, 5u);
    auto* hints = reinterpret_cast<long*>(data);
    EXPECT_TRUE(hints[0] & 2) << "decorations flag";
    EXPECT_EQ(hints[2], 0) << "no decorations";
    XFree(data);
    GetWindowRect(splash, &r);
    EXPECT_EQ(ShownGeometry(splashXw), r);
}

TEST_F(X11ManagedTest, MinimisedAndMaximisedStatesGoBothWays)
{
    HWND wnd = Top("states", WS_OVERLAPPEDWINDOW, 80, 90, 300, 200);
    Window xw = WaitForXWindow("states");
    ASSERT_NE(xw, 0u);

    // The program asks; the manager hears.
    ShowWindow(wnd, SW_MAXIMIZE);
    auto asked = [&](const std::string& what) {
        for (const std::string& r : FWm->StateRequests)
            if (r == what)
                return true;
        return false;
    };
    EXPECT_TRUE(PumpUntil([&] { return asked("add:_NET_WM_STATE_MAXIMIZED_VERT"); }));
    EXPECT_TRUE(asked("add:_NET_WM_STATE_MAXIMIZED_HORZ"));
    ShowWindow(wnd, SW_RESTORE);
    EXPECT_TRUE(PumpUntil([&] { return asked("remove:_NET_WM_STATE_MAXIMIZED_VERT"); }));
    ShowWindow(wnd, SW_MINIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return WmState(xw) == IconicState; })) << "not iconified";
    ShowWindow(wnd, SW_RESTORE);
    EXPECT_TRUE(PumpUntil([&] { return WmState(xw) == NormalState; })) << "not restored";

    // The user clicks the manager's buttons; the window system follows.
    struct {
        const char* What;
        std::function<void()> Act;
        std::function<bool()> Holds;
    } cases[] = {
        {"iconify", [&] { FWm->Iconify(xw); }, [&] { return IsIconic(wnd) != FALSE; }},
        {"deiconify", [&] { FWm->Deiconify(xw); }, [&] { return !IsIconic(wnd); }},
        {"maximise", [&] { FWm->SetMaximized(xw, true); }, [&] { return IsZoomed(wnd) != FALSE; }},
        {"unmaximise", [&] { FWm->SetMaximized(xw, false); }, [&] { return !IsZoomed(wnd); }},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.What);
        c.Act();
        EXPECT_TRUE(PumpUntil(c.Holds));
    }
}

}  // namespace
