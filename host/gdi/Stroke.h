#pragma once
// Pen strokes: cosmetic one-pixel lines, dash styles and wide round pens.
// All points are in surface coordinates.
#include "host/gdi/Dc.h"
#include "host/gdi/Shape.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace host::gdi {

// The minor-axis offset at step i of n along the major axis: i * d / n
// rounded to nearest, halves towards the smaller coordinate.
inline int LineMinorOffset(int64_t i, int64_t d, int64_t n)
{
    int64_t num = 2 * i * d - n, den = 2 * n;
    return int(num >= 0 ? (num + den - 1) / den : -((-num) / den));
}

// Visits the pixels of a cosmetic line from a towards b with their index
// along the line. The end point itself is never painted, so polylines meet
// without painting a vertex twice. Only steps whose major coordinate falls
// in the window are visited; returns the length of the whole line.
template <class F>
int64_t ForEachLinePixel(POINT a, POINT b, const RECT& window, F f)
{
    int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
    int64_t n = std::max(std::llabs(dx), std::llabs(dy));
    if (n == 0)
        return 0;
    bool xMajor = std::llabs(dx) >= std::llabs(dy);
    int64_t start = xMajor ? a.x : a.y, step = (xMajor ? dx : dy) < 0 ? -1 : 1;
    int64_t lo = xMajor ? window.left : window.top, hi = xMajor ? window.right : window.bottom;
    // i such that start + step * i lies in [lo, hi)
    int64_t i0 = step > 0 ? lo - start : start - (hi - 1), i1 = step > 0 ? hi - 1 - start : start - lo;
    i0 = std::max<int64_t>(i0, 0);
    i1 = std::min<int64_t>(i1, n - 1);
    for (int64_t i = i0; i <= i1; ++i) {
        if (xMajor)
            f(POINT{LONG(a.x + step * i), LONG(a.y + LineMinorOffset(i, dy, n))}, i);
        else
            f(POINT{LONG(a.x + LineMinorOffset(i, dx, n)), LONG(a.y + step * i)}, i);
    }
    return n;
}

void LinePixelsEndExcluded(POINT a, POINT b, std::vector<POINT>& out, const RECT& window = kNoWindow);

// Pixels within width/2 of a polyline (round ends and joins), each once.
Region WideStrokeRegion(const POINT* pts, int count, bool closed, int width,
                        const RECT& window = kNoWindow);

// Draws a polyline with the DC's pen, clipped; closed adds the last-to-first
// segment. Dash state runs on across segments.
void StrokePolyline(Dc& dc, const POINT* pts, int count, bool closed);

// A one-pixel pen with a dash style.
inline bool IsStyledCosmetic(const RealPen& p)
{
    return p.Width <= 1 && p.Style >= PS_DASH && p.Style <= PS_DASHDOTDOT;
}

// Dashes a closed or curved outline: its pixels (inside the window) are
// taken in order of their angle around (cx, cy), counter-clockwise on screen
// from the angle start (radians).
void PaintStyledOutline(Dc& dc, const std::vector<Span>& outline, double cx, double cy,
                        double start, const RECT& window);

// Dashes pixels given in drawing order.
void PaintStyledPixels(Dc& dc, const std::vector<POINT>& ordered);

// Paints a set of pixels with the DC's pen (ROP2 applied, clipped).
void PaintPenPixels(Dc& dc, const std::vector<POINT>& pixels);
void PaintPenSpans(Dc& dc, const std::vector<Span>& spans);

}  // namespace host::gdi
