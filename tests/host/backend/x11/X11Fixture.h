#pragma once
// Tests against the private virtual X server: a fresh window system on it,
// a second connection that looks at (and acts on) the server as another
// program would, and a loop that runs until something happened.
#include "XvfbServer.h"

// GoogleTest first: Xlib's macros (None, Bool, Status) would break it.
#include <gtest/gtest.h>

#include "host/win/Screen.h"
#include "host/win/WinUser.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

namespace x11test {

class X11Fixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string& display = TXvfb::Display();
        if (display.empty()) {
            if (TXvfb::Reason() == "Xvfb is not installed")
                GTEST_SKIP() << "Xvfb is not installed: the x11 backend cannot be tested here";
            FAIL() << TXvfb::Reason();
        }
        setenv("DISPLAY", display.c_str(), 1);
        setenv("KEL_BACKEND", "x11", 1);
        FPeer = XOpenDisplay(display.c_str());
        ASSERT_NE(FPeer, nullptr);
        host::ResetWindowSystem();
        ASSERT_TRUE(host::ScreenHasDisplay()) << "the window system did not choose the x11 backend";
    }
    void TearDown() override
    {
        setenv("KEL_BACKEND", "headless", 1);
        host::ResetWindowSystem();
        if (FPeer)
            XCloseDisplay(FPeer);
    }

    // Runs the message loop until done() holds or the seconds pass. A timer
    // keeps the loop from sleeping past the deadline.
    bool PumpUntil(const std::function<bool()>& done, int seconds = 5)
    {
        host::WNDCLASSEX wc;
        wc.lpfnWndProc = host::DefWindowProc;
        wc.lpszClassName = "X11TimerKeeper";
        host::RegisterClassEx(&wc);  // once per window system; later calls fail harmlessly
        host::HWND keeper = host::CreateWindowEx(0, "X11TimerKeeper", "", host::WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                           host::HInstance(), nullptr);
        host::SetTimer(keeper, 0x5151, 10, nullptr);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        bool ok = false;
        while (!(ok = done()) && std::chrono::steady_clock::now() < deadline) {
            if (EachTurn)
                EachTurn();
            XSync(FPeer, False);
            host::WaitMessage();
            host::ProcessPendingMessages();
        }
        host::DestroyWindow(keeper);
        return ok;
    }
    void Pump(int ms)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        PumpUntil([&] { return std::chrono::steady_clock::now() >= until; });
    }

    // The top-level X window with the given name (directly under the root or
    // inside a window manager's frame), seen from the peer.
    Window FindXWindow(const std::string& title, bool viewable = true)
    {
        return Find(DefaultRootWindow(FPeer), title, viewable, 2);
    }
    Window WaitForXWindow(const std::string& title)
    {
        Window xw = 0;
        PumpUntil([&] { return (xw = FindXWindow(title)) != 0; });
        return xw;
    }
    host::RECT ShownGeometry(Window xw)
    {
        XWindowAttributes a{};
        XGetWindowAttributes(FPeer, xw, &a);
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(FPeer, xw, DefaultRootWindow(FPeer), 0, 0, &x, &y, &child);
        return host::RECT{x, y, x + a.width, y + a.height};
    }
    // Clicks at a screen point through the server, as a user's mouse would.
    void ClickAt(host::POINT screen, unsigned button = 1)
    {
        XTestFakeMotionEvent(FPeer, -1, screen.x, screen.y, 0);
        XTestFakeButtonEvent(FPeer, button, True, 0);
        XTestFakeButtonEvent(FPeer, button, False, 0);
        XFlush(FPeer);
    }
    // Types letters, digits and spaces on the server's keyboard.
    void TypeKeys(const std::string& text)
    {
        KeyCode shift = XKeysymToKeycode(FPeer, XK_Shift_L);
        for (char c : text) {
            bool upper = c >= 'A' && c <= 'Z';
            KeySym sym = c == ' ' ? XK_space : KeySym(upper ? c - 'A' + 'a' : c);
            KeyCode code = XKeysymToKeycode(FPeer, sym);
            if (upper)
                XTestFakeKeyEvent(FPeer, shift, True, 0);
            XTestFakeKeyEvent(FPeer, code, True, 0);
            XTestFakeKeyEvent(FPeer, code, False, 0);
            if (upper)
                XTestFakeKeyEvent(FPeer, shift, False, 0);
        }
        XFlush(FPeer);
    }

    Display* FPeer = nullptr;
    std::function<void()> EachTurn;

private:
    Window Find(Window parent, const std::string& title, bool viewable, int depth)
    {
        Window root, up, *kids = nullptr;
        unsigned n = 0;
        Window found = 0;
        XQueryTree(FPeer, parent, &root, &up, &kids, &n);
        for (unsigned i = 0; i < n && !found; ++i) {
            char* name = nullptr;
            XWindowAttributes a;
            if (XFetchName(FPeer, kids[i], &name) && name && title == name &&
                XGetWindowAttributes(FPeer, kids[i], &a) && (!viewable || a.map_state == IsViewable))
                found = kids[i];
            XFree(name);
            if (!found && depth > 1)
                found = Find(kids[i], title, viewable, depth - 1);
        }
        XFree(kids);
        return found;
    }
};

}  // namespace x11test
