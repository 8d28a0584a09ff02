#include "host/gdi/Stroke.h"

#include "host/gdi/WinGdi.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <cstdlib>

namespace host::gdi {

void LinePixelsEndExcluded(POINT a, POINT b, std::vector<POINT>& out, const RECT& window)
{
    ForEachLinePixel(a, b, window, [&](POINT p, int64_t) { out.push_back(p); });
}

namespace {

// Sample points sit a hair above and left of pixel centres, so that even
// widths split evenly instead of covering one row too many.
constexpr double kSampleX = -1e-4, kSampleY = -1.3e-4;

struct Interval {
    double Lo = 1e300, Hi = -1e300;
    void Add(double lo, double hi)
    {
        Lo = std::min(Lo, lo);
        Hi = std::max(Hi, hi);
    }
};

void AddCircleRow(Interval& iv, double cx, double cy, double r, double y)
{
    double dy = y - cy;
    if (std::fabs(dy) >= r)
        return;
    double hw = std::sqrt(r * r - dy * dy);
    iv.Add(cx - hw, cx + hw);
}

// Row y through the rectangle of half-width r around segment a-b.
void AddBandRow(Interval& iv, POINT a, POINT b, double r, double y)
{
    double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (len == 0)
        return;
    double nx = -dy / len * r, ny = dx / len * r;
    double qx[4] = {a.x + nx, b.x + nx, b.x - nx, a.x - nx};
    double qy[4] = {a.y + ny, b.y + ny, b.y - ny, a.y - ny};
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        double y0 = qy[i], y1 = qy[j];
        if ((y < std::min(y0, y1)) || (y > std::max(y0, y1)) || y0 == y1)
            continue;
        double x = qx[i] + (y - y0) * (qx[j] - qx[i]) / (y1 - y0);
        iv.Add(x, x);
    }
}

void CapsuleSpans(POINT a, POINT b, double r, const RECT& window, std::vector<Span>& out)
{
    int top = std::max(int(std::floor(std::min(a.y, b.y) - r)) - 1, int(window.top));
    int bottom = std::min(int(std::ceil(std::max(a.y, b.y) + r)) + 1, int(window.bottom) - 1);
    for (int y = top; y <= bottom; ++y) {
        double sy = y + kSampleY;
        Interval iv;
        AddCircleRow(iv, a.x, a.y, r, sy);
        AddCircleRow(iv, b.x, b.y, r, sy);
        AddBandRow(iv, a, b, r, sy);
        if (iv.Lo > iv.Hi)
            continue;
        // x + kSampleX strictly inside (Lo, Hi)
        int x1 = int(std::floor(iv.Lo - kSampleX)) + 1;
        int x2 = int(std::ceil(iv.Hi - kSampleX));
        if (x1 < x2)
            out.push_back(Span{y, x1, x2});
    }
}

}  // namespace

Region WideStrokeRegion(const POINT* pts, int count, bool closed, int width, const RECT& window)
{
    std::vector<Span> spans;
    double r = width / 2.0;
    if (count == 1)
        CapsuleSpans(pts[0], pts[0], r, window, spans);
    int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i)
        CapsuleSpans(pts[i], pts[(i + 1) % count], r, window, spans);
    return Region::FromSpans(std::move(spans));
}

void PaintPenSpans(Dc& dc, const std::vector<Span>& spans)
{
    if (!dc.Target || spans.empty())
        return;
    FillSpans(*dc.Target, dc.EffectiveClip(), spans.data(), spans.size(), dc.PenPaint());
}

namespace {

// Runs of horizontally adjacent pixels become one span each.
std::vector<Span> PixelsToSpans(const std::vector<POINT>& pixels)
{
    std::vector<Span> spans;
    for (const POINT& p : pixels) {
        if (!spans.empty() && spans.back().Y == p.y && spans.back().X2 == p.x)
            ++spans.back().X2;
        else if (!spans.empty() && spans.back().Y == p.y && spans.back().X1 == p.x + 1)
            --spans.back().X1;
        else
            spans.push_back(Span{p.y, p.x, p.x + 1});
    }
    return spans;
}

// Dash lengths of the cosmetic styles, in pixels: on, off, on, off, ...
const std::vector<int>& DashPattern(int style)
{
    static const std::vector<int> kDash{18, 6}, kDot{3, 3}, kDashDot{9, 6, 3, 6},
        kDashDotDot{9, 3, 3, 3, 3, 3}, kNone;
    switch (style) {
    case PS_DASH: return kDash;
    case PS_DOT: return kDot;
    case PS_DASHDOT: return kDashDot;
    case PS_DASHDOTDOT: return kDashDotDot;
    default: return kNone;
    }
}

// Whether pixel number i of a styled line falls on a dash.
bool OnDash(const std::vector<int>& pattern, int period, int64_t i)
{
    int pos = int(i % period), k = 0;
    while (pos >= pattern[size_t(k)]) {
        pos -= pattern[size_t(k)];
        ++k;
    }
    return k % 2 == 0;
}

// Gaps take the background colour when the background mode is opaque.
void PaintGaps(Dc& dc, const std::vector<POINT>& off)
{
    if (dc.S.BkMode != OPAQUE || !dc.Target || off.empty())
        return;
    std::vector<Span> gaps = PixelsToSpans(off);
    Paint bk = Paint::Solid(RealizeColor(dc.S.BkColor, dc.Monochrome()), dc.S.Rop2);
    FillSpans(*dc.Target, dc.EffectiveClip(), gaps.data(), gaps.size(), bk);
}

}  // namespace

void PaintPenPixels(Dc& dc, const std::vector<POINT>& pixels) { PaintPenSpans(dc, PixelsToSpans(pixels)); }

void StrokePolyline(Dc& dc, const POINT* pts, int count, bool closed)
{
    if (dc.Pen.IsNull() || count < 1 || !dc.Target)
        return;
    RECT window = dc.EffectiveClip().Box();
    if (dc.Pen.Width > 1) {
        Region r = WideStrokeRegion(pts, count, closed, dc.Pen.Width, window);
        FillRegion(*dc.Target, dc.EffectiveClip(), r, dc.PenPaint());
        return;
    }
    const std::vector<int>& pattern = DashPattern(dc.Pen.Style);
    int period = 0;
    for (int v : pattern)
        period += v;
    std::vector<POINT> on, off;
    int64_t base = 0;  // the dash pattern runs on across segments
    int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        base += ForEachLinePixel(pts[i], pts[(i + 1) % count], window, [&](POINT p, int64_t k) {
            if (pattern.empty() || OnDash(pattern, period, base + k))
                on.push_back(p);
            else
                off.push_back(p);
        });
    }
    PaintPenPixels(dc, on);
    PaintGaps(dc, off);
}

void PaintStyledOutline(Dc& dc, const std::vector<Span>& outline, double cx, double cy,
                        double start, const RECT& window)
{
    constexpr double kTwoPi = 6.283185307179586;
    std::vector<std::pair<double, POINT>> ordered;
    for (const Span& sp : outline) {
        if (sp.Y < window.top || sp.Y >= window.bottom)
            continue;
        for (int x = std::max(sp.X1, int(window.left)); x < std::min(sp.X2, int(window.right)); ++x) {
            double a = std::atan2(cy - sp.Y, x - cx);
            ordered.push_back({std::fmod(a - start + 2 * kTwoPi, kTwoPi), POINT{x, sp.Y}});
        }
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& l, const auto& r) { return l.first < r.first; });
    std::vector<POINT> pixels;
    pixels.reserve(ordered.size());
    for (const auto& o : ordered)
        pixels.push_back(o.second);
    PaintStyledPixels(dc, pixels);
}

void PaintStyledPixels(Dc& dc, const std::vector<POINT>& ordered)
{
    const std::vector<int>& pattern = DashPattern(dc.Pen.Style);
    int period = 0;
    for (int v : pattern)
        period += v;
    std::vector<POINT> on, off;
    for (size_t i = 0; i < ordered.size(); ++i)
        (period == 0 || OnDash(pattern, period, int64_t(i)) ? on : off).push_back(ordered[i]);
    PaintPenPixels(dc, on);
    PaintGaps(dc, off);
}

}  // namespace host::gdi

namespace host {

using namespace gdi;

namespace {

std::vector<POINT> ToSurface(Dc& dc, const POINT* pts, int count)
{
    std::vector<POINT> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        out[size_t(i)] = POINT{ClampCoord(int64_t(pts[i].x) + dc.OffsetX()),
                               ClampCoord(int64_t(pts[i].y) + dc.OffsetY())};
    return out;
}

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, POINT* old)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->S.CurPos;
    dc->S.CurPos = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    POINT pts[2] = {dc->S.CurPos, POINT{x, y}};
    std::vector<POINT> s = ToSurface(*dc, pts, 2);
    StrokePolyline(*dc, s.data(), 2, false);
    dc->S.CurPos = pts[1];
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !pts || count < 2)
        return FALSE;
    std::vector<POINT> s = ToSurface(*dc, pts, count);
    StrokePolyline(*dc, s.data(), count, false);
    return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* pts, int count)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !pts || count < 1)
        return FALSE;
    std::vector<POINT> all{dc->S.CurPos};
    all.insert(all.end(), pts, pts + count);
    std::vector<POINT> s = ToSurface(*dc, all.data(), int(all.size()));
    StrokePolyline(*dc, s.data(), int(s.size()), false);
    dc->S.CurPos = pts[count - 1];
    return TRUE;
}

}  // namespace host
