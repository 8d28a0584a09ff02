// DrawEdge: two one-pixel rings (outer, inner) in the 3-D system colours.
#include "host/gdi/Dc.h"
#include "host/gdi/WinGdi.h"

namespace host::gdi {

struct EdgeColors {
    int OuterTL = -1, OuterBR = -1, InnerTL = -1, InnerBR = -1;  // system colour indices
};

// Raised edges are light at the top-left and dark at the bottom-right,
// sunken ones the reverse. BF_SOFT trades the top-left colours of the two
// rings; BF_FLAT and BF_MONO draw each ring in one colour.
EdgeColors EdgeColorsFor(UINT edge, UINT flags)
{
    EdgeColors c;
    bool soft = flags & BF_SOFT;
    if (edge & BDR_RAISEDOUTER) {
        c.OuterTL = soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT;
        c.OuterBR = COLOR_3DDKSHADOW;
    } else if (edge & BDR_SUNKENOUTER) {
        c.OuterTL = soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW;
        c.OuterBR = COLOR_BTNHIGHLIGHT;
    }
    if (edge & BDR_RAISEDINNER) {
        c.InnerTL = soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT;
        c.InnerBR = COLOR_BTNSHADOW;
    } else if (edge & BDR_SUNKENINNER) {
        c.InnerTL = soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW;
        c.InnerBR = COLOR_3DLIGHT;
    }
    if (flags & (BF_FLAT | BF_MONO)) {
        int outer = (flags & BF_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW;
        int inner = (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE;
        if (c.OuterTL >= 0)
            c.OuterTL = c.OuterBR = outer;
        if (c.InnerTL >= 0)
            c.InnerTL = c.InnerBR = inner;
    }
    return c;
}

namespace {

void Strip(HDC hdc, int l, int t, int r, int b, int color)
{
    RECT rc{l, t, r, b};
    if (color >= 0 && l < r && t < b)
        FillRect(hdc, &rc, GetSysColorBrush(color));
}

// The bottom-right colour owns the top-right and bottom-left corners.
void Ring(HDC hdc, RECT& r, UINT flags, int tl, int br)
{
    if (tl < 0)
        return;
    bool left = flags & BF_LEFT, top = flags & BF_TOP, right = flags & BF_RIGHT, bottom = flags & BF_BOTTOM;
    if (left)
        Strip(hdc, r.left, r.top, r.left + 1, bottom ? r.bottom - 1 : r.bottom, tl);
    if (top)
        Strip(hdc, r.left, r.top, right ? r.right - 1 : r.right, r.top + 1, tl);
    if (right)
        Strip(hdc, r.right - 1, r.top, r.right, r.bottom, br);
    if (bottom)
        Strip(hdc, r.left, r.bottom - 1, r.right, r.bottom, br);
    r.left += left;
    r.top += top;
    r.right -= right;
    r.bottom -= bottom;
}

void DiagonalLine(HDC hdc, POINT a, POINT b, int color)
{
    if (color < 0)
        return;
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(color));
    HGDIOBJ old = SelectObject(hdc, pen);
    MoveToEx(hdc, a.x, a.y, nullptr);
    LineTo(hdc, b.x, b.y);
    SelectObject(hdc, old);
    DeleteObject(pen);
}

// A diagonal edge runs corner to corner towards the end named by the flags;
// the inner ring follows one pixel inside. Lines ending at the top use the
// top-left colours.
void Diagonal(HDC hdc, const RECT& r, UINT flags, const EdgeColors& c)
{
    int w = r.right - r.left - 1, h = r.bottom - r.top - 1;
    int n = w < h ? w : h;
    bool endTop = flags & BF_TOP, endRight = flags & BF_RIGHT;
    POINT start{endRight ? r.left : r.right - 1, endTop ? r.bottom - 1 : r.top};
    int sx = endRight ? 1 : -1, sy = endTop ? -1 : 1;
    POINT end{start.x + sx * (n + 1), start.y + sy * (n + 1)};
    DiagonalLine(hdc, start, end, endTop ? c.OuterTL : c.OuterBR);
    POINT in{start.x + sx, start.y};
    DiagonalLine(hdc, in, POINT{end.x, end.y - sy}, endTop ? c.InnerTL : c.InnerBR);
}

}  // namespace

}  // namespace host::gdi

namespace host {

using namespace gdi;

BOOL DrawEdge(HDC hdc, RECT* rc, UINT edge, UINT flags)
{
    if (!FindDc(hdc) || !rc)
        return FALSE;
    EdgeColors c = EdgeColorsFor(edge, flags);
    if (flags & BF_DIAGONAL) {
        Diagonal(hdc, *rc, flags, c);
        return TRUE;
    }
    RECT r = *rc;
    Ring(hdc, r, flags, c.OuterTL, c.OuterBR);
    Ring(hdc, r, flags, c.InnerTL, c.InnerBR);
    if (flags & BF_MIDDLE)
        Strip(hdc, r.left, r.top, r.right, r.bottom, (flags & (BF_MONO | BF_FLAT)) ? COLOR_WINDOW : COLOR_BTNFACE);
    if (flags & BF_ADJUST)
        *rc = r;
    return TRUE;
}

}  // namespace host
