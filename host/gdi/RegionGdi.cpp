// Region objects and DC clipping.
#include "host/gdi/Dc.h"
#include "host/gdi/Shape.h"
#include "host/gdi/WinGdi.h"

namespace host {

using namespace gdi;

namespace {

RegionObject* Rgn(HRGN h) { return FindObjectAs<RegionObject>(h, OBJ_REGION); }

HRGN NewRegion(Region r)
{
    auto o = std::make_unique<RegionObject>();
    o->Rgn = std::move(r);
    return static_cast<HRGN>(AddObject(std::move(o)));
}

RECT Normalized(int l, int t, int r, int b)
{
    return RECT{ClampCoord(std::min(l, r)), ClampCoord(std::min(t, b)), ClampCoord(std::max(l, r)),
                ClampCoord(std::max(t, b))};
}

// A region given in logical coordinates, moved to the surface.
Region ToSurface(Dc& dc, const Region& r)
{
    Region s = r;
    s.Offset(dc.OffsetX(), dc.OffsetY());
    return s;
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return NewRegion(Region(Normalized(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* r)
{
    return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height)
{
    std::vector<Span> spans;
    RoundRectShape(Normalized(left, top, right, bottom), width, height).AppendSpans(spans);
    return NewRegion(Region::FromSpans(std::move(spans)));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    std::vector<Span> spans;
    EllipseShape(Normalized(left, top, right, bottom)).AppendSpans(spans);
    return NewRegion(Region::FromSpans(std::move(spans)));
}

HRGN CreateEllipticRgnIndirect(const RECT* r)
{
    return r ? CreateEllipticRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

HRGN CreatePolyPolygonRgn(const POINT* pts, const INT* counts, int polygons, int mode)
{
    if (!pts || !counts || polygons <= 0 || (mode != ALTERNATE && mode != WINDING))
        return nullptr;
    for (int i = 0; i < polygons; ++i)
        if (counts[i] < 0)
            return nullptr;
    return NewRegion(Region::FromSpans(PolygonSpans(pts, counts, polygons, mode)));
}

HRGN CreatePolygonRgn(const POINT* pts, int count, int mode)
{
    return CreatePolyPolygonRgn(pts, &count, 1, mode);
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode)
{
    RegionObject* d = Rgn(dst);
    RegionObject* ra = Rgn(a);
    RegionObject* rb = mode == RGN_COPY ? ra : Rgn(b);
    if (!d || !ra || !rb || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    d->Rgn = Region::Combine(ra->Rgn, rb->Rgn, mode);
    return d->Rgn.Complexity();
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    RegionObject* ra = Rgn(a);
    RegionObject* rb = Rgn(b);
    if (!ra || !rb)
        return ERROR;
    return ra->Rgn == rb->Rgn;
}

BOOL PtInRegion(HRGN h, int x, int y)
{
    RegionObject* r = Rgn(h);
    return r && r->Rgn.Contains(x, y);
}

BOOL RectInRegion(HRGN h, const RECT* rc)
{
    RegionObject* r = Rgn(h);
    return r && rc && r->Rgn.Intersects(Normalized(rc->left, rc->top, rc->right, rc->bottom));
}

int GetRgnBox(HRGN h, RECT* rc)
{
    RegionObject* r = Rgn(h);
    if (!r || !rc)
        return ERROR;
    *rc = r->Rgn.Box();
    return r->Rgn.Complexity();
}

int OffsetRgn(HRGN h, int dx, int dy)
{
    RegionObject* r = Rgn(h);
    if (!r)
        return ERROR;
    r->Rgn.Offset(dx, dy);
    return r->Rgn.Complexity();
}

BOOL SetRectRgn(HRGN h, int left, int top, int right, int bottom)
{
    RegionObject* r = Rgn(h);
    if (!r)
        return FALSE;
    r->Rgn = Region(Normalized(left, top, right, bottom));
    return TRUE;
}

BOOL FillRgn(HDC hdc, HRGN h, HBRUSH brush)
{
    Dc* dc = FindDc(hdc);
    RegionObject* r = Rgn(h);
    Paint p;
    if (!dc || !r || !dc->Target || !BrushPaintOf(*dc, brush, R2_COPYPEN, p))
        return FALSE;
    FillRegion(*dc->Target, dc->EffectiveClip(), ToSurface(*dc, r->Rgn), p);
    return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN h)
{
    Dc* dc = FindDc(hdc);
    RegionObject* r = Rgn(h);
    if (!dc || !r || !dc->Target)
        return FALSE;
    FillRegion(*dc->Target, dc->EffectiveClip(), ToSurface(*dc, r->Rgn), dc->BrushPaint());
    return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN h)
{
    Dc* dc = FindDc(hdc);
    RegionObject* r = Rgn(h);
    if (!dc || !r || !dc->Target)
        return FALSE;
    FillRegion(*dc->Target, dc->EffectiveClip(), ToSurface(*dc, r->Rgn), Paint::Solid(0, R2_NOT));
    return TRUE;
}

// The frame is the region minus the region shrunk by w and h: pixels within
// w columns or h rows of the outside.
BOOL FrameRgn(HDC hdc, HRGN h, HBRUSH brush, int w, int hh)
{
    Dc* dc = FindDc(hdc);
    RegionObject* r = Rgn(h);
    Paint p;
    if (!dc || !r || !dc->Target || w < 0 || hh < 0 || !BrushPaintOf(*dc, brush, R2_COPYPEN, p))
        return FALSE;
    Region inner = r->Rgn;
    for (int k = 1; k <= w; ++k)
        for (int dir : {-1, 1}) {
            Region moved = r->Rgn;
            moved.Offset(dir * k, 0);
            inner = Region::Combine(inner, moved, RGN_AND);
        }
    for (int k = 1; k <= hh; ++k)
        for (int dir : {-1, 1}) {
            Region moved = r->Rgn;
            moved.Offset(0, dir * k);
            inner = Region::Combine(inner, moved, RGN_AND);
        }
    Region frame = Region::Combine(r->Rgn, inner, RGN_DIFF);
    FillRegion(*dc->Target, dc->EffectiveClip(), ToSurface(*dc, frame), p);
    return TRUE;
}

// ---- Clipping: the clip region is kept in device coordinates ----

namespace {

int ClipResult(Dc& dc)
{
    return dc.EffectiveClip().Complexity();
}

// No clipping region means the whole device.
Region CurrentClip(Dc& dc)
{
    if (dc.S.Clip)
        return *dc.S.Clip;
    return Region(RECT{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28});
}

RECT DeviceRect(Dc& dc, int l, int t, int r, int b)
{
    POINT a = dc.ToDevice(POINT{l, t}), c = dc.ToDevice(POINT{r, b});
    return Normalized(a.x, a.y, c.x, c.y);
}

}  // namespace

int ExtSelectClipRgn(HDC hdc, HRGN h, int mode)
{
    Dc* dc = FindDc(hdc);
    if (!dc || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    RegionObject* r = Rgn(h);
    if (!r) {
        if (h || mode != RGN_COPY)
            return ERROR;
        dc->S.Clip.reset();
    } else if (mode == RGN_COPY) {
        dc->S.Clip = r->Rgn;
    } else {
        dc->S.Clip = Region::Combine(CurrentClip(*dc), r->Rgn, mode);
    }
    dc->InvalidateClip();
    return ClipResult(*dc);
}

int SelectClipRgn(HDC hdc, HRGN h) { return ExtSelectClipRgn(hdc, h, RGN_COPY); }

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return ERROR;
    dc->S.Clip = Region::Combine(CurrentClip(*dc), Region(DeviceRect(*dc, left, top, right, bottom)), RGN_AND);
    dc->InvalidateClip();
    return ClipResult(*dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return ERROR;
    dc->S.Clip = Region::Combine(CurrentClip(*dc), Region(DeviceRect(*dc, left, top, right, bottom)), RGN_DIFF);
    dc->InvalidateClip();
    return ClipResult(*dc);
}

int OffsetClipRgn(HDC hdc, int dx, int dy)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return ERROR;
    if (dc->S.Clip)
        dc->S.Clip->Offset(dx, dy);
    dc->InvalidateClip();
    return ClipResult(*dc);
}

// The box is in logical coordinates.
int GetClipBox(HDC hdc, RECT* r)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !r)
        return ERROR;
    const Region& clip = dc->EffectiveClip();
    RECT box = clip.Box();
    int dx = dc->OffsetX(), dy = dc->OffsetY();
    *r = clip.IsEmpty() ? RECT{} : RECT{box.left - dx, box.top - dy, box.right - dx, box.bottom - dy};
    return clip.Complexity();
}

// 1 with the clipping region copied (device coordinates), 0 when the DC has
// none, -1 on error.
int GetClipRgn(HDC hdc, HRGN h)
{
    Dc* dc = FindDc(hdc);
    RegionObject* r = Rgn(h);
    if (!dc || !r)
        return -1;
    if (!dc->S.Clip)
        return 0;
    r->Rgn = *dc->S.Clip;
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y)
{
    Dc* dc = FindDc(hdc);
    return dc && dc->EffectiveClip().Contains(x + dc->OffsetX(), y + dc->OffsetY());
}

BOOL RectVisible(HDC hdc, const RECT* rc)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !rc)
        return FALSE;
    RECT n = Normalized(rc->left, rc->top, rc->right, rc->bottom);
    OffsetRect(&n, dc->OffsetX(), dc->OffsetY());
    return dc->EffectiveClip().Intersects(n);
}

}  // namespace host
