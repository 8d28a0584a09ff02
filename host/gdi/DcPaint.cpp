// Colour painting for the text engine: device coordinates, clipped, no ROP2.
#include "host/gdi/DcInternal.h"

#include <algorithm>
#include <vector>

namespace host::gdi {

void PaintSpans(Dc& dc, const Span* spans, size_t count, COLORREF colour)
{
    if (!dc.Target || count == 0)
        return;
    std::vector<Span> moved(spans, spans + count);
    for (Span& s : moved) {
        s.Y += dc.DeviceOrigin.y;
        s.X1 += dc.DeviceOrigin.x;
        s.X2 += dc.DeviceOrigin.x;
    }
    Paint p = Paint::Solid(RealizeColor(colour, dc.Monochrome()), R2_COPYPEN);
    FillSpans(*dc.Target, dc.EffectiveClip(), moved.data(), moved.size(), p);
}

void PaintSolidRect(Dc& dc, const RECT& r, COLORREF colour)
{
    if (!dc.Target)
        return;
    RECT s{r.left + dc.DeviceOrigin.x, r.top + dc.DeviceOrigin.y, r.right + dc.DeviceOrigin.x,
           r.bottom + dc.DeviceOrigin.y};
    Paint p = Paint::Solid(RealizeColor(colour, dc.Monochrome()), R2_COPYPEN);
    FillRect(*dc.Target, dc.EffectiveClip(), s, p);
}

namespace {

uint32_t Blend(uint32_t d, uint32_t c, unsigned a)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        unsigned dv = (d >> shift) & 0xFF, cv = (c >> shift) & 0xFF;
        unsigned v = (dv * (255 - a) + cv * a + 127) / 255;
        out |= v << shift;
    }
    return out;
}

}  // namespace

void PaintCoverage(Dc& dc, int x, int y, int width, int height, const uint8_t* coverage,
                   int pitch, COLORREF colour)
{
    if (!dc.Target || !coverage || width <= 0 || height <= 0)
        return;
    const Surface& s = *dc.Target;
    bool mono = s.Monochrome;
    uint32_t c = RealizeColor(colour, mono);
    int sx = x + dc.DeviceOrigin.x, sy = y + dc.DeviceOrigin.y;
    RECT area{sx, sy, sx + width, sy + height};
    dc.EffectiveClip().ForEachRect(area, [&](const RECT& piece) {
        for (int py = piece.top; py < piece.bottom; ++py) {
            const uint8_t* cov = coverage + ptrdiff_t(py - sy) * pitch;
            uint32_t* row = s.Row(py);
            for (int px = piece.left; px < piece.right; ++px) {
                unsigned a = cov[px - sx];
                if (a == 0)
                    continue;
                if (mono)
                    row[px] = a >= 128 ? c : row[px];
                else
                    row[px] = a == 255 ? c : Blend(row[px], c, a);
            }
        }
    });
}

}  // namespace host::gdi
