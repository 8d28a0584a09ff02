// Closed shapes: Rectangle, RoundRect, Ellipse and polygons. The brush fills
// the inside, then the pen draws the outline.
#include "host/gdi/ShapeDraw.h"

#include "host/gdi/Stroke.h"
#include "host/gdi/WinGdi.h"

#include <algorithm>

namespace host::gdi {

RECT SurfaceBounds(Dc& dc, int l, int t, int r, int b)
{
    int64_t dx = dc.OffsetX(), dy = dc.OffsetY();
    return RECT{ClampCoord(std::min(l, r) + dx), ClampCoord(std::min(t, b) + dy),
                ClampCoord(std::max(l, r) + dx), ClampCoord(std::max(t, b) + dy)};
}

// Without a pen the fill stops one pixel short on the right and bottom,
// where the outline would have been.
RECT NullPenFillBounds(RECT r)
{
    return RECT{r.left, r.top, r.right - 1, r.bottom - 1};
}

// A wide pen is centred on the outline unless it is PS_INSIDEFRAME, which
// keeps the whole pen inside the bounds.
RECT WidePenOuterBounds(const RealPen& pen, RECT r)
{
    if (pen.Style == PS_INSIDEFRAME)
        return r;
    int w = pen.Width;
    return RECT{r.left - w / 2, r.top - w / 2, r.right + (w - 1) / 2, r.bottom + (w - 1) / 2};
}

RECT Deflate(RECT r, int d) { return RECT{r.left + d, r.top + d, r.right - d, r.bottom - d}; }

RECT DrawWindow(Dc& dc) { return dc.EffectiveClip().Box(); }

ShapeParts SplitShape(const RealPen& pen, RECT bounds, const ShapeMaker& make, const RECT& window)
{
    ShapeParts parts;
    if (pen.IsNull()) {
        make(NullPenFillBounds(bounds), window).AppendSpans(parts.Fill);
        return parts;
    }
    if (pen.Width <= 1) {
        RowShape s = make(bounds, window);
        parts.Fill = Interior(s);
        parts.Outline = Outline(s);
        return parts;
    }
    RECT outer = WidePenOuterBounds(pen, bounds);
    RECT inner = Deflate(outer, pen.Width);
    RowShape in = make(inner, window);
    parts.Outline = Difference(make(outer, window), in);
    if (inner.left < inner.right && inner.top < inner.bottom)
        in.AppendSpans(parts.Fill);
    return parts;
}

void PaintParts(Dc& dc, const ShapeParts& parts, const RECT& bounds)
{
    if (!dc.Target)
        return;
    FillSpans(*dc.Target, dc.EffectiveClip(), parts.Fill.data(), parts.Fill.size(), dc.BrushPaint());
    if (!IsStyledCosmetic(dc.Pen)) {
        PaintPenSpans(dc, parts.Outline);
        return;
    }
    double cx = (double(bounds.left) + bounds.right - 1) / 2, cy = (double(bounds.top) + bounds.bottom - 1) / 2;
    PaintStyledOutline(dc, parts.Outline, cx, cy, 0.0, DrawWindow(dc));
}

}  // namespace host::gdi

namespace host {

using namespace gdi;

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    RECT b = SurfaceBounds(*dc, left, top, right, bottom);
    ShapeMaker rect = [](const RECT& r, const RECT& w) { return RoundRectShape(r, 0, 0, w); };
    if (IsStyledCosmetic(dc->Pen)) {
        ShapeParts parts = SplitShape(dc->Pen, b, rect, DrawWindow(*dc));
        FillSpans(*dc->Target, dc->EffectiveClip(), parts.Fill.data(), parts.Fill.size(), dc->BrushPaint());
        POINT pts[4] = {{b.left, b.top}, {b.right - 1, b.top}, {b.right - 1, b.bottom - 1}, {b.left, b.bottom - 1}};
        if (b.right - b.left >= 2 && b.bottom - b.top >= 2)
            StrokePolyline(*dc, pts, 4, true);
        return TRUE;
    }
    PaintParts(*dc, SplitShape(dc->Pen, b, rect, DrawWindow(*dc)), b);
    return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    RECT b = SurfaceBounds(*dc, left, top, right, bottom);
    ShapeMaker make = [=](const RECT& r, const RECT& w) { return RoundRectShape(r, width, height, w); };
    PaintParts(*dc, SplitShape(dc->Pen, b, make, DrawWindow(*dc)), b);
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    RECT b = SurfaceBounds(*dc, left, top, right, bottom);
    PaintParts(*dc, SplitShape(dc->Pen, b, EllipseShape, DrawWindow(*dc)), b);
    return TRUE;
}

BOOL PolyPolygon(HDC hdc, const POINT* pts, const INT* counts, int polygons)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !pts || !counts || polygons <= 0 || !dc->Target)
        return FALSE;
    int total = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2)
            return FALSE;
        total += counts[i];
    }
    std::vector<POINT> s(pts, pts + total);
    for (POINT& p : s)
        p = POINT{ClampCoord(int64_t(p.x) + dc->OffsetX()), ClampCoord(int64_t(p.y) + dc->OffsetY())};
    std::vector<Span> fill = PolygonSpans(s.data(), counts, polygons, dc->S.PolyFillMode, DrawWindow(*dc));
    FillSpans(*dc->Target, dc->EffectiveClip(), fill.data(), fill.size(), dc->BrushPaint());
    const POINT* p = s.data();
    for (int i = 0; i < polygons; ++i) {
        StrokePolyline(*dc, p, counts[i], true);
        p += counts[i];
    }
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int count) { return PolyPolygon(hdc, pts, &count, 1); }

}  // namespace host
