// Rectangle fills that ignore the pen and the ROP2 mode: FillRect,
// FrameRect, InvertRect and DrawFocusRect.
#include "host/gdi/Dc.h"
#include "host/gdi/WinGdi.h"

namespace host::gdi {

// As in Win32, a brush argument of (COLOR_x + 1) means the system colour x.
HBRUSH ResolveBrush(HBRUSH brush)
{
    uintptr_t v = reinterpret_cast<uintptr_t>(brush);
    if (v >= 1 && v <= uintptr_t(COLOR_COUNT))
        return GetSysColorBrush(int(v - 1));
    return brush;
}

RECT SurfaceRect(Dc& dc, const RECT& r)
{
    return RECT{r.left + dc.OffsetX(), r.top + dc.OffsetY(), r.right + dc.OffsetX(), r.bottom + dc.OffsetY()};
}

// The focus rectangle inverts every other pixel of a one-pixel frame, in a
// checkerboard fixed to the device, so drawing it twice restores the pixels.
void InvertFocusFrame(Dc& dc, const RECT& r)
{
    uint32_t cells[64];
    bool on[64];
    for (int i = 0; i < 64; ++i) {
        cells[i] = 0;
        on[i] = ((i / 8) + (i % 8)) % 2 == 0;
    }
    Paint p = Paint::Pattern(cells, on, R2_NOT, dc.DeviceOrigin.x, dc.DeviceOrigin.y);
    const Region& clip = dc.EffectiveClip();
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return;
    FillRect(*dc.Target, clip, RECT{r.left, r.top, r.right, r.top + 1}, p);
    if (h > 1)
        FillRect(*dc.Target, clip, RECT{r.left, r.bottom - 1, r.right, r.bottom}, p);
    if (h > 2) {
        FillRect(*dc.Target, clip, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, p);
        if (w > 1)
            FillRect(*dc.Target, clip, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, p);
    }
}

}  // namespace host::gdi

namespace host {

using namespace gdi;

int FillRect(HDC hdc, const RECT* r, HBRUSH brush)
{
    Dc* dc = FindDc(hdc);
    Paint p;
    if (!dc || !r || !dc->Target || !BrushPaintOf(*dc, ResolveBrush(brush), R2_COPYPEN, p))
        return FALSE;
    gdi::FillRect(*dc->Target, dc->EffectiveClip(), SurfaceRect(*dc, *r), p);
    return TRUE;
}

// A one-pixel border in the brush; nothing for an empty rectangle.
int FrameRect(HDC hdc, const RECT* r, HBRUSH brush)
{
    Dc* dc = FindDc(hdc);
    Paint p;
    if (!dc || !r || !dc->Target || !BrushPaintOf(*dc, ResolveBrush(brush), R2_COPYPEN, p))
        return FALSE;
    RECT s = SurfaceRect(*dc, *r);
    if (s.left >= s.right || s.top >= s.bottom)
        return TRUE;
    const Region& clip = dc->EffectiveClip();
    gdi::FillRect(*dc->Target, clip, RECT{s.left, s.top, s.right, s.top + 1}, p);
    gdi::FillRect(*dc->Target, clip, RECT{s.left, s.bottom - 1, s.right, s.bottom}, p);
    gdi::FillRect(*dc->Target, clip, RECT{s.left, s.top + 1, s.left + 1, s.bottom - 1}, p);
    gdi::FillRect(*dc->Target, clip, RECT{s.right - 1, s.top + 1, s.right, s.bottom - 1}, p);
    return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* r)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !r || !dc->Target)
        return FALSE;
    gdi::FillRect(*dc->Target, dc->EffectiveClip(), SurfaceRect(*dc, *r), Paint::Solid(0, R2_NOT));
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* r)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !r || !dc->Target)
        return FALSE;
    InvertFocusFrame(*dc, SurfaceRect(*dc, *r));
    return TRUE;
}

}  // namespace host
