// Pictures of the screen and of single windows.
#include "host/gdi/Png.h"
#include "host/rtl/SysUtils.h"
#include "host/win/Screen.h"
#include "host/win/WinInternal.h"

#include <algorithm>

namespace host {

using namespace win;

bool ScreenHasDisplay() { return Backend().HasDisplay(); }

TImageData CaptureWindow(HWND Wnd)
{
    TImageData screen = Backend().CaptureScreen();
    if (!Wnd)
        return screen;
    TWnd* w = FindWnd(Wnd);
    if (!w)
        throw EInvalidOperation("CaptureWindow: no such window");
    // A window's own pixels, whatever covers it on the screen.
    TWnd* top = TopLevelOf(w);
    RECT r = ScreenRect(w), t = ScreenRect(top);
    TImageData img;
    AllocateImage(img, std::max<int>(1, r.right - r.left), std::max<int>(1, r.bottom - r.top), "window");
    for (int y = 0; y < img.Height; ++y)
        for (int x = 0; x < img.Width; ++x) {
            int sx = r.left - t.left + x, sy = r.top - t.top + y;
            if (sx >= 0 && sy >= 0 && sx < top->Surf.Width && sy < top->Surf.Height)
                img.Pixels[size_t(y) * img.Width + x] = top->Surf.Row(sy)[sx] & gdi::kPixelMask;
        }
    return img;
}

void Screenshot(HWND Wnd, const std::string& FileName)
{
    std::vector<HWND> tops;
    for (TWnd* c : State().Desktop->Children)
        tops.push_back(c->Handle);
    for (HWND h : tops)
        UpdateWindow(h);
    SavePngFile(CaptureWindow(Wnd), FileName);
}

}  // namespace host
