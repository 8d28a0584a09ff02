// Arc, ArcTo, Chord and Pie: the ellipse outline cut by two radials.
#include "host/gdi/ShapeDraw.h"
#include "host/gdi/Stroke.h"
#include "host/gdi/WinGdi.h"

#include <cmath>

namespace host::gdi {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Angles are measured on screen counter-clockwise (y grows downwards, so the
// y difference is negated) around the centre of the bounds' pixels.
struct ArcSweep {
    double Cx = 0, Cy = 0;
    double Start = 0;  // radians
    double Sweep = kTwoPi;
    double Angle(double x, double y) const { return std::atan2(Cy - y, x - Cx); }
    bool Contains(double x, double y) const
    {
        double d = std::fmod(Angle(x, y) - Start + 2 * kTwoPi, kTwoPi);
        return d <= Sweep + 1e-9;
    }
};

// The default direction is counter-clockwise from the start radial to the
// end radial; clockwise swaps the ends. Equal radials give a full ellipse.
ArcSweep MakeSweep(const RECT& b, POINT start, POINT end, int direction)
{
    ArcSweep s;
    s.Cx = (b.left + b.right - 1) / 2.0;
    s.Cy = (b.top + b.bottom - 1) / 2.0;
    double a0 = s.Angle(start.x, start.y), a1 = s.Angle(end.x, end.y);
    if (direction == AD_CLOCKWISE)
        std::swap(a0, a1);
    s.Start = a0;
    s.Sweep = std::fmod(a1 - a0 + 2 * kTwoPi, kTwoPi);
    if (s.Sweep < 1e-12)
        s.Sweep = kTwoPi;
    return s;
}

// Where a radial meets the ellipse, rounded to a pixel.
POINT RadialEnd(const RECT& b, const ArcSweep& s, POINT through)
{
    double rx = (b.right - b.left - 1) / 2.0, ry = (b.bottom - b.top - 1) / 2.0;
    double t = s.Angle(through.x, through.y);
    return POINT{LONG(std::lround(s.Cx + rx * std::cos(t))), LONG(std::lround(s.Cy - ry * std::sin(t)))};
}

// Keeps the pixels of spans inside the window that pass keep(x, y).
template <class Pred>
std::vector<Span> Filter(const std::vector<Span>& spans, const RECT& window, Pred keep)
{
    std::vector<Span> out;
    for (const Span& sp : spans)
        for (int x = std::max(sp.X1, int(window.left)); x < std::min(sp.X2, int(window.right)); ++x) {
            if (!keep(x, sp.Y))
                continue;
            if (!out.empty() && out.back().Y == sp.Y && out.back().X2 == x)
                ++out.back().X2;
            else
                out.push_back(Span{sp.Y, x, x + 1});
        }
    return out;
}

enum class ArcKind { Open, Chord, Pie };

std::vector<Span> RegionSpans(const Region& r)
{
    std::vector<Span> out;
    for (const Region::Band& b : r.Bands())
        for (int y = b.Top; y < b.Bottom; ++y)
            for (size_t i = 0; i < b.X.size(); i += 2)
                out.push_back(Span{y, b.X[i], b.X[i + 1]});
    return out;
}

// The straight edges of a chord or pie, as a region so that pixels shared
// with the arc are painted once.
Region StraightEdges(Dc& dc, ArcKind kind, POINT p0, POINT p1, POINT centre, const RECT& window)
{
    POINT pts[3] = {p0, centre, p1};
    const POINT* line = kind == ArcKind::Pie ? pts : nullptr;
    POINT chord[2] = {p1, p0};
    if (!line)
        line = chord;
    int n = kind == ArcKind::Pie ? 3 : 2;
    if (dc.Pen.Width > 1)
        return WideStrokeRegion(line, n, false, dc.Pen.Width, window);
    std::vector<POINT> px;
    for (int i = 0; i + 1 < n; ++i)
        LinePixelsEndExcluded(line[i], line[i + 1], px, window);
    px.push_back(line[n - 1]);
    std::vector<Span> spans;
    for (const POINT& p : px)
        spans.push_back(Span{p.y, p.x, p.x + 1});
    return Region::FromSpans(std::move(spans));
}

bool DrawArcShape(HDC hdc, ArcKind kind, int l, int t, int r, int b, POINT start, POINT end)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !dc->Target)
        return false;
    RECT box = SurfaceBounds(*dc, l, t, r, b);
    POINT s0{ClampCoord(int64_t(start.x) + dc->OffsetX()), ClampCoord(int64_t(start.y) + dc->OffsetY())};
    POINT s1{ClampCoord(int64_t(end.x) + dc->OffsetX()), ClampCoord(int64_t(end.y) + dc->OffsetY())};
    RECT shapeBox = dc->Pen.IsNull() ? NullPenFillBounds(box) : box;
    ArcSweep sweep = MakeSweep(shapeBox, s0, s1, dc->S.ArcDirection);
    bool cw = dc->S.ArcDirection == AD_CLOCKWISE;
    POINT p0 = RadialEnd(shapeBox, sweep, cw ? s1 : s0), p1 = RadialEnd(shapeBox, sweep, cw ? s0 : s1);
    RECT window = DrawWindow(*dc);
    ShapeParts parts = SplitShape(dc->Pen, box, EllipseShape, window);
    auto inSweep = [&](int x, int y) { return sweep.Contains(x, y); };
    std::vector<Span> arc = Filter(parts.Outline, window, inSweep);
    bool styled = IsStyledCosmetic(dc->Pen);
    if (kind == ArcKind::Open) {
        if (styled)
            PaintStyledOutline(*dc, arc, sweep.Cx, sweep.Cy, sweep.Start, window);
        else
            PaintPenSpans(*dc, arc);
        return true;
    }
    POINT centre{LONG(std::lround(sweep.Cx)), LONG(std::lround(sweep.Cy))};
    double mid = sweep.Start + sweep.Sweep / 2;
    double rx = (shapeBox.right - shapeBox.left - 1) / 2.0, ry = (shapeBox.bottom - shapeBox.top - 1) / 2.0;
    double mx = sweep.Cx + rx * std::cos(mid), my = sweep.Cy - ry * std::sin(mid);
    auto chordSide = [&](double x, double y) {
        return (p1.x - p0.x) * (y - p0.y) - (p1.y - p0.y) * (x - p0.x);
    };
    double midSide = chordSide(mx, my);
    auto inFill = [&](int x, int y) {
        if (kind == ArcKind::Pie)
            return sweep.Sweep >= kTwoPi || sweep.Contains(x, y);
        return chordSide(x, y) * midSide >= 0;
    };
    std::vector<Span> fill = Filter(parts.Fill, window, inFill);
    Region outline = dc->Pen.IsNull() ? Region()
                                      : Region::Combine(Region::FromSpans(arc),
                                                        StraightEdges(*dc, kind, p0, p1, centre, window), RGN_OR);
    Region fillRgn = Region::Combine(Region::FromSpans(fill), outline, RGN_DIFF);
    FillRegion(*dc->Target, dc->EffectiveClip(), fillRgn, dc->BrushPaint());
    if (!styled) {
        PaintPenSpans(*dc, RegionSpans(outline));
        return true;
    }
    // Dashed: the arc, then its straight edges as one polyline.
    PaintStyledOutline(*dc, arc, sweep.Cx, sweep.Cy, sweep.Start, window);
    POINT pie[3] = {p1, centre, p0}, chord[2] = {p1, p0};
    const POINT* edge = kind == ArcKind::Pie ? pie : chord;
    int n = kind == ArcKind::Pie ? 3 : 2;
    std::vector<POINT> px;
    for (int i = 0; i + 1 < n; ++i)
        LinePixelsEndExcluded(edge[i], edge[i + 1], px, window);
    px.push_back(edge[n - 1]);
    PaintStyledPixels(*dc, px);
    return true;
}

}  // namespace

}  // namespace host::gdi

namespace host {

using namespace gdi;

BOOL Arc(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    return DrawArcShape(hdc, ArcKind::Open, l, t, r, b, POINT{xs, ys}, POINT{xe, ye});
}

BOOL Chord(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    return DrawArcShape(hdc, ArcKind::Chord, l, t, r, b, POINT{xs, ys}, POINT{xe, ye});
}

BOOL Pie(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    return DrawArcShape(hdc, ArcKind::Pie, l, t, r, b, POINT{xs, ys}, POINT{xe, ye});
}

// A line from the current position to the arc's start, the arc, and the
// current position moves to the arc's end.
BOOL ArcTo(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    RECT box{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
    ArcSweep sweep = MakeSweep(box, POINT{xs, ys}, POINT{xe, ye}, AD_COUNTERCLOCKWISE);
    POINT p0 = RadialEnd(box, sweep, POINT{xs, ys}), p1 = RadialEnd(box, sweep, POINT{xe, ye});
    LineTo(hdc, p0.x, p0.y);
    Arc(hdc, l, t, r, b, xs, ys, xe, ye);
    dc->S.CurPos = p1;
    return TRUE;
}

}  // namespace host
