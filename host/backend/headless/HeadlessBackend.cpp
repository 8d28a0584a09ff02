#include "host/backend/headless/HeadlessBackend.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace host {

THeadlessBackend::THeadlessBackend(TBackendHost& host, SIZE screenSize)
    : FHost(host), FSize(screenSize)
{
}

bool THeadlessBackend::WaitForEvents(int timeoutMs)
{
    if (timeoutMs < 0)
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return true;
}

namespace {

void DrawView(TImageData& screen, const TTopLevelView& v)
{
    const gdi::Surface& s = *v.Surface;
    int x1 = std::max<int>(v.Rect.left, 0), y1 = std::max<int>(v.Rect.top, 0);
    int x2 = std::min<int>(v.Rect.left + s.Width, screen.Width);
    int y2 = std::min<int>(v.Rect.top + s.Height, screen.Height);
    for (int y = y1; y < y2; ++y) {
        const uint32_t* src = s.Row(y - v.Rect.top) + (x1 - v.Rect.left);
        uint32_t* dst = &screen.Pixels[size_t(y) * screen.Width + x1];
        for (int x = x1; x < x2; ++x)
            *dst++ = *src++ & gdi::kPixelMask;
    }
}

}  // namespace

TImageData THeadlessBackend::CaptureScreen()
{
    TImageData screen;
    AllocateImage(screen, FSize.cx, FSize.cy, "screen");
    std::fill(screen.Pixels.begin(), screen.Pixels.end(), gdi::ColorToPixel(FHost.DesktopColor()));
    for (const TTopLevelView& v : FHost.TopLevels())
        if (v.Visible && v.Surface && v.Surface->Bits)
            DrawView(screen, v);
    return screen;
}

std::unique_ptr<TBackend> CreateHeadlessBackend(TBackendHost& host, SIZE screenSize)
{
    return std::make_unique<THeadlessBackend>(host, screenSize);
}

}  // namespace host
