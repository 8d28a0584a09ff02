// DC attribute setters and getters, coordinate origins and rectangle helpers.
#include "host/gdi/Dc.h"
#include "host/gdi/WinGdi.h"

#include <algorithm>
#include <cstdlib>

namespace host {

using namespace gdi;

namespace {

// Sets one DC field and returns the previous value, or failure when hdc is bad.
template <class T, class V>
T SetField(HDC hdc, T DcState::*field, V value, T failure, bool rebrush = false)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return failure;
    T old = dc->S.*field;
    dc->S.*field = T(value);
    if (rebrush)
        dc->RealizeBrush();
    return old;
}

template <class T>
T GetField(HDC hdc, T DcState::*field, T failure)
{
    Dc* dc = FindDc(hdc);
    return dc ? dc->S.*field : failure;
}

BOOL SetPoint(HDC hdc, POINT DcState::*field, int x, int y, POINT* old, bool relative)
{
    Dc* dc = FindDc(hdc);
    if (!dc)
        return FALSE;
    POINT& p = dc->S.*field;
    if (old)
        *old = p;
    p = relative ? POINT{p.x + x, p.y + y} : POINT{x, y};
    if (field == &DcState::BrushOrg)
        dc->RealizeBrush();
    return TRUE;
}

BOOL GetPoint(HDC hdc, POINT DcState::*field, POINT* out)
{
    Dc* dc = FindDc(hdc);
    if (!dc || !out)
        return FALSE;
    *out = dc->S.*field;
    return TRUE;
}

}  // namespace

// Hatch backgrounds and monochrome pattern brushes take the DC's colours, so
// the brush is realised again when they change.
COLORREF SetTextColor(HDC h, COLORREF c) { return SetField(h, &DcState::TextColor, c & 0xFFFFFF, CLR_INVALID, true); }
COLORREF GetTextColor(HDC h) { return GetField(h, &DcState::TextColor, CLR_INVALID); }
COLORREF SetBkColor(HDC h, COLORREF c) { return SetField(h, &DcState::BkColor, c & 0xFFFFFF, CLR_INVALID, true); }
COLORREF GetBkColor(HDC h) { return GetField(h, &DcState::BkColor, CLR_INVALID); }
UINT SetTextAlign(HDC h, UINT a) { return SetField(h, &DcState::TextAlign, a, GDI_ERROR); }
UINT GetTextAlign(HDC h) { return GetField(h, &DcState::TextAlign, GDI_ERROR); }
int SetTextCharacterExtra(HDC h, int e) { return SetField(h, &DcState::TextCharExtra, e, int(0x80000000)); }
int GetTextCharacterExtra(HDC h) { return GetField(h, &DcState::TextCharExtra, int(0x80000000)); }
int GetBkMode(HDC h) { return GetField(h, &DcState::BkMode, 0); }
int GetROP2(HDC h) { return GetField(h, &DcState::Rop2, 0); }
int GetPolyFillMode(HDC h) { return GetField(h, &DcState::PolyFillMode, 0); }
int GetStretchBltMode(HDC h) { return GetField(h, &DcState::StretchMode, 0); }
int GetArcDirection(HDC h) { return GetField(h, &DcState::ArcDirection, 0); }
int GetMapMode(HDC h) { return GetField(h, &DcState::MapMode, 0); }

int SetBkMode(HDC h, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return SetField(h, &DcState::BkMode, mode, 0, true);
}

int SetROP2(HDC h, int rop2)
{
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    return SetField(h, &DcState::Rop2, rop2, 0);
}

int SetPolyFillMode(HDC h, int mode)
{
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return SetField(h, &DcState::PolyFillMode, mode, 0);
}

int SetStretchBltMode(HDC h, int mode)
{
    if (mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return SetField(h, &DcState::StretchMode, mode, 0);
}

int SetArcDirection(HDC h, int dir)
{
    if (dir != AD_COUNTERCLOCKWISE && dir != AD_CLOCKWISE)
        return 0;
    return SetField(h, &DcState::ArcDirection, dir, 0);
}

// Only MM_TEXT is supported; other modes are refused.
int SetMapMode(HDC h, int mode)
{
    if (mode != MM_TEXT)
        return 0;
    return SetField(h, &DcState::MapMode, mode, 0);
}

COLORREF SetDCBrushColor(HDC h, COLORREF c) { return SetField(h, &DcState::DcBrushColor, c & 0xFFFFFF, CLR_INVALID, true); }

COLORREF SetDCPenColor(HDC h, COLORREF c)
{
    COLORREF old = SetField(h, &DcState::DcPenColor, c & 0xFFFFFF, CLR_INVALID);
    if (Dc* dc = FindDc(h))
        dc->RealizePen();
    return old;
}

BOOL SetBrushOrgEx(HDC h, int x, int y, POINT* old) { return SetPoint(h, &DcState::BrushOrg, x, y, old, false); }
BOOL GetBrushOrgEx(HDC h, POINT* org) { return GetPoint(h, &DcState::BrushOrg, org); }
BOOL GetCurrentPositionEx(HDC h, POINT* pt) { return GetPoint(h, &DcState::CurPos, pt); }
BOOL SetWindowOrgEx(HDC h, int x, int y, POINT* old) { return SetPoint(h, &DcState::WindowOrg, x, y, old, false); }
BOOL GetWindowOrgEx(HDC h, POINT* org) { return GetPoint(h, &DcState::WindowOrg, org); }
BOOL OffsetWindowOrgEx(HDC h, int dx, int dy, POINT* old) { return SetPoint(h, &DcState::WindowOrg, dx, dy, old, true); }
BOOL SetViewportOrgEx(HDC h, int x, int y, POINT* old) { return SetPoint(h, &DcState::ViewportOrg, x, y, old, false); }
BOOL GetViewportOrgEx(HDC h, POINT* org) { return GetPoint(h, &DcState::ViewportOrg, org); }
BOOL OffsetViewportOrgEx(HDC h, int dx, int dy, POINT* old) { return SetPoint(h, &DcState::ViewportOrg, dx, dy, old, true); }

BOOL LPtoDP(HDC hdc, POINT* pts, int count)
{
    Dc* dc = FindDc(hdc);
    if (!dc || (count > 0 && !pts))
        return FALSE;
    for (int i = 0; i < count; ++i)
        pts[i] = dc->ToDevice(pts[i]);
    return TRUE;
}

BOOL DPtoLP(HDC hdc, POINT* pts, int count)
{
    Dc* dc = FindDc(hdc);
    if (!dc || (count > 0 && !pts))
        return FALSE;
    for (int i = 0; i < count; ++i)
        pts[i] = dc->ToLogical(pts[i]);
    return TRUE;
}

BOOL SetRect(RECT* r, int left, int top, int right, int bottom)
{
    if (!r)
        return FALSE;
    *r = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }

BOOL CopyRect(RECT* dst, const RECT* src)
{
    if (!dst || !src)
        return FALSE;
    *dst = *src;
    return TRUE;
}

BOOL InflateRect(RECT* r, int dx, int dy)
{
    if (!r)
        return FALSE;
    *r = RECT{r->left - dx, r->top - dy, r->right + dx, r->bottom + dy};
    return TRUE;
}

BOOL OffsetRect(RECT* r, int dx, int dy)
{
    if (!r)
        return FALSE;
    *r = RECT{r->left + dx, r->top + dy, r->right + dx, r->bottom + dy};
    return TRUE;
}

BOOL IsRectEmpty(const RECT* r) { return !r || r->left >= r->right || r->top >= r->bottom; }

BOOL PtInRect(const RECT* r, POINT p)
{
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b)
{
    if (!dst || !a || !b)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        *dst = RECT{};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b)
{
    if (!dst || !a || !b)
        return FALSE;
    if (IsRectEmpty(a) && IsRectEmpty(b)) {
        *dst = RECT{};
        return FALSE;
    }
    if (IsRectEmpty(a))
        *dst = *b;
    else if (IsRectEmpty(b))
        *dst = *a;
    else
        *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                    std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    return TRUE;
}

// Only shrinks a when b covers a whole side of it, as Win32 does.
BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b)
{
    if (!dst || !a || !b)
        return FALSE;
    RECT r = *a;
    RECT i;
    if (IntersectRect(&i, a, b)) {
        if (i.top == r.top && i.bottom == r.bottom) {
            if (i.left == r.left)
                r.left = i.right;
            else if (i.right == r.right)
                r.right = i.left;
        } else if (i.left == r.left && i.right == r.right) {
            if (i.top == r.top)
                r.top = i.bottom;
            else if (i.bottom == r.bottom)
                r.bottom = i.top;
        }
    }
    *dst = r;
    return !IsRectEmpty(dst);
}

BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b; }

// Rounds half away from zero; -1 when the divisor is 0 or the result overflows.
int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    int64_t prod = int64_t(number) * numerator;
    int64_t d = denominator;
    bool negative = (prod < 0) != (d < 0);
    int64_t q = (std::llabs(prod) + std::llabs(d) / 2) / std::llabs(d);
    q = negative ? -q : q;
    if (q > INT32_MAX || q < INT32_MIN)
        return -1;
    return int(q);
}

}  // namespace host
