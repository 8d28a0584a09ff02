#pragma once
// Shared fixture of the window-system tests: a fresh screen, a virtual clock
// and a window class that records what it receives.
#include "host/rtl/Clock.h"
#include "host/win/Input.h"
#include "host/win/Modal.h"
#include "host/win/Screen.h"
#include "host/win/WinUser.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

using namespace host;

struct TLogged {
    HWND Wnd;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

inline std::vector<TLogged>& Log()
{
    static std::vector<TLogged> log;
    return log;
}

// Messages a test usually does not care about.
inline bool IsNoise(UINT m)
{
    return m == WM_NCHITTEST || m == WM_SETCURSOR || m == WM_GETMINMAXINFO || m == WM_NCPAINT ||
           m == WM_ERASEBKGND || m == WM_PAINT || m == WM_GETTEXT || m == WM_GETTEXTLENGTH ||
           m == WM_CTLCOLORBTN;
}

// Painting: a window whose GWL_USERDATA holds a colour fills its client area with it.
inline LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    Log().push_back(TLogged{h, m, w, l});
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        if (LONG_PTR colour = GetWindowLongPtr(h, GWL_USERDATA)) {
            HBRUSH b = CreateSolidBrush(COLORREF(colour));
            RECT r;
            GetClientRect(h, &r);
            FillRect(dc, &r, b);
            DeleteObject(b);
        }
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

class WinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(SIZE{640, 480});
        Log().clear();
        WNDCLASSEX wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = RecordingProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "Rec";
        RegisterClassEx(&wc);
        wc.style = 0;
        wc.lpszClassName = "RecNoDbl";
        RegisterClassEx(&wc);
    }
    void TearDown() override
    {
        SetModalHook(nullptr);
        ResetWindowSystem();
    }

    HWND Top(const char* title, int x, int y, int w, int h, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
             COLORREF colour = 0)
    {
        HWND wnd = CreateWindowEx(0, "Rec", title, style, x, y, w, h, nullptr, nullptr, HInstance(), nullptr);
        if (colour)
            SetWindowLongPtr(wnd, GWL_USERDATA, LONG_PTR(colour));
        return wnd;
    }
    HWND Child(HWND parent, int id, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE,
               COLORREF colour = 0, const char* cls = "Rec")
    {
        HWND wnd = CreateWindowEx(0, cls, "", style, x, y, w, h, parent,
                                  reinterpret_cast<HMENU>(uintptr_t(id)), HInstance(), nullptr);
        if (colour)
            SetWindowLongPtr(wnd, GWL_USERDATA, LONG_PTR(colour));
        return wnd;
    }

    // The logged messages (without the noise) of one window, or of all.
    std::vector<UINT> Messages(HWND wnd = nullptr, bool noise = false) const
    {
        std::vector<UINT> v;
        for (const TLogged& l : Log())
            if ((!wnd || l.Wnd == wnd) && (noise || !IsNoise(l.Msg)))
                v.push_back(l.Msg);
        return v;
    }
    std::vector<TLogged> Only(UINT msg) const
    {
        std::vector<TLogged> v;
        for (const TLogged& l : Log())
            if (l.Msg == msg)
                v.push_back(l);
        return v;
    }

    TVirtualClock FClock;
    TClockOverride FOverride{FClock};
};

inline COLORREF ScreenPixel(const TImageData& img, int x, int y)
{
    uint32_t p = img.Pixel(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace wintest
