#include "host/gdi/Stroke.h"

#include "host/gdi/WinGdi.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace host::gdi {

namespace {

int64_t CeilDiv(int64_t num, int64_t den)  // den > 0
{
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

// The minor-axis offset at step i of n along the major axis: i * d / n
// rounded to nearest, halves towards the smaller coordinate.
int MinorOffset(int64_t i, int64_t d, int64_t n)
{
    return int(CeilDiv(2 * i * d - n, 2 * n));
}

}  // namespace

void LinePixelsEndExcluded(POINT a, POINT b, std::vector<POINT>& out)
{
    int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
    int64_t n = std::max(std::llabs(dx), std::llabs(dy));
    if (n == 0)
        return;
    bool xMajor = std::llabs(dx) >= std::llabs(dy);
    int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    for (int64_t i = 0; i < n; ++i) {
        if (xMajor)
            out.push_back(POINT{LONG(a.x + sx * i), LONG(a.y + MinorOffset(i, dy, n))});
        else
            out.push_back(POINT{LONG(a.x + MinorOffset(i, dx, n)), LONG(a.y + sy * i)});
    }
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

void CapsuleSpans(POINT a, POINT b, double r, std::vector<Span>& out)
{
    int top = int(std::floor(std::min(a.y, b.y) - r)) - 1;
    int bottom = int(std::ceil(std::max(a.y, b.y) + r)) + 1;
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

Region WideStrokeRegion(const POINT* pts, int count, bool closed, int width)
{
    std::vector<Span> spans;
    double r = width / 2.0;
    if (count == 1)
        CapsuleSpans(pts[0], pts[0], r, spans);
    int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i)
        CapsuleSpans(pts[i], pts[(i + 1) % count], r, spans);
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

// Splits pixels into dashes and gaps; gaps take the background colour when
// the background mode is opaque.
void PaintStyled(Dc& dc, const std::vector<POINT>& pixels, const std::vector<int>& pattern)
{
    int period = 0;
    for (int v : pattern)
        period += v;
    std::vector<POINT> on, off;
    for (size_t i = 0; i < pixels.size(); ++i) {
        int pos = int(i % size_t(period)), k = 0;
        while (pos >= pattern[size_t(k)]) {
            pos -= pattern[size_t(k)];
            ++k;
        }
        (k % 2 == 0 ? on : off).push_back(pixels[i]);
    }
    PaintPenPixels(dc, on);
    if (dc.S.BkMode == OPAQUE && dc.Target) {
        std::vector<Span> gaps = PixelsToSpans(off);
        Paint bk = Paint::Solid(RealizeColor(dc.S.BkColor, dc.Monochrome()), dc.S.Rop2);
        FillSpans(*dc.Target, dc.EffectiveClip(), gaps.data(), gaps.size(), bk);
    }
}

}  // namespace

void PaintPenPixels(Dc& dc, const std::vector<POINT>& pixels) { PaintPenSpans(dc, PixelsToSpans(pixels)); }

void StrokePolyline(Dc& dc, const POINT* pts, int count, bool closed)
{
    if (dc.Pen.IsNull() || count < 1 || !dc.Target)
        return;
    if (dc.Pen.Width > 1) {
        Region r = WideStrokeRegion(pts, count, closed, dc.Pen.Width);
        FillRegion(*dc.Target, dc.EffectiveClip(), r, dc.PenPaint());
        return;
    }
    std::vector<POINT> pixels;
    int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i)
        LinePixelsEndExcluded(pts[i], pts[(i + 1) % count], pixels);
    const std::vector<int>& pattern = DashPattern(dc.Pen.Style);
    if (pattern.empty())
        PaintPenPixels(dc, pixels);
    else
        PaintStyled(dc, pixels, pattern);
}

}  // namespace host::gdi

namespace host {

using namespace gdi;

namespace {

std::vector<POINT> ToSurface(Dc& dc, const POINT* pts, int count)
{
    std::vector<POINT> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        out[size_t(i)] = POINT{pts[i].x + dc.OffsetX(), pts[i].y + dc.OffsetY()};
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
