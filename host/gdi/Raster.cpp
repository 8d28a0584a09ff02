#include "host/gdi/Raster.h"

#include <algorithm>

namespace host::gdi {

uint32_t RealizeColor(COLORREF c, bool monochrome)
{
    uint32_t p = ColorToPixel(c & 0xFFFFFF);
    if (!monochrome)
        return p;
    // Nearest of black and white: compare the distances to both.
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    int toBlack = r * r + g * g + b * b;
    int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite <= toBlack ? kPixelMask : 0;
}

// Per bit: with pen bit 1 the mode yields one of {0, 1, D, ~D}, likewise with
// pen bit 0. Each is expressed as (D & a) ^ x, so the masks blend per bit.
void Rop2Masks(int rop2, uint32_t p, uint32_t& andMask, uint32_t& xorMask)
{
    // R2 code - 1 is the truth table over P = 1100, D = 1010: bit (P*2 + D)
    // holds the result for that pen bit and destination bit.
    int code = (rop2 - 1) & 15;
    auto resultFor = [code](int pen, int d) { return (code >> (pen * 2 + d)) & 1; };
    uint32_t a[2], x[2];
    for (int pen = 0; pen < 2; ++pen) {
        int r0 = resultFor(pen, 0), r1 = resultFor(pen, 1);
        a[pen] = (r0 != r1) ? kPixelMask : 0;  // result depends on D
        x[pen] = r0 ? kPixelMask : 0;          // value when D = 0
    }
    andMask = ((p & a[1]) | (~p & a[0])) & kPixelMask;
    xorMask = ((p & x[1]) | (~p & x[0])) & kPixelMask;
}

Paint Paint::Solid(uint32_t pixel, int rop2)
{
    Paint p;
    Rop2Masks(rop2, pixel, p.And, p.Xor);
    return p;
}

Paint Paint::Pattern(const uint32_t* cells, const bool* opaque, int rop2, int orgX, int orgY)
{
    Paint p;
    p.Patterned = true;
    p.OrgX = orgX;
    p.OrgY = orgY;
    for (int i = 0; i < 64; ++i) {
        if (opaque && !opaque[i]) {
            p.PatAnd[i] = kPixelMask;
            p.PatXor[i] = 0;
            continue;
        }
        Rop2Masks(rop2, cells[i], p.PatAnd[i], p.PatXor[i]);
    }
    return p;
}

void FillSpan(const Surface& s, int y, int x1, int x2, const Paint& p)
{
    uint32_t* row = s.Row(y);
    if (!p.Patterned) {
        if (p.And == 0) {
            std::fill(row + x1, row + x2, p.Xor);
            return;
        }
        if (p.IsNop())
            return;
        for (int x = x1; x < x2; ++x)
            row[x] = (row[x] & p.And) ^ p.Xor;
        return;
    }
    int py = ((y - p.OrgY) & 7) * 8;
    const uint32_t* pa = p.PatAnd + py;
    const uint32_t* px = p.PatXor + py;
    for (int x = x1; x < x2; ++x) {
        int c = (x - p.OrgX) & 7;
        row[x] = (row[x] & pa[c]) ^ px[c];
    }
}

namespace {

RECT Intersect(const RECT& a, const RECT& b)
{
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

}  // namespace

void FillRect(const Surface& s, const Region& clip, const RECT& r, const Paint& p)
{
    if (!s.Bits || p.IsNop())
        return;
    RECT area = Intersect(r, s.Bounds());
    clip.ForEachRect(area, [&](const RECT& piece) {
        for (int y = piece.top; y < piece.bottom; ++y)
            FillSpan(s, y, piece.left, piece.right, p);
    });
}

void FillSpans(const Surface& s, const Region& clip, const Span* spans, size_t count,
               const Paint& p)
{
    if (!s.Bits || p.IsNop())
        return;
    for (size_t i = 0; i < count; ++i) {
        const Span& sp = spans[i];
        if (sp.Y < 0 || sp.Y >= s.Height)
            continue;
        const Region::Band* b = clip.BandAt(sp.Y);
        if (!b)
            continue;
        int lo = std::max(sp.X1, 0), hi = std::min(sp.X2, s.Width);
        for (size_t k = 0; k < b->X.size(); k += 2) {
            int x1 = std::max(lo, b->X[k]), x2 = std::min(hi, b->X[k + 1]);
            if (x1 < x2)
                FillSpan(s, sp.Y, x1, x2, p);
        }
    }
}

void FillRegion(const Surface& s, const Region& clip, const Region& area, const Paint& p)
{
    Region r = Region::Combine(area, clip, RGN_AND);
    r.ForEachRect(s.Bounds(), [&](const RECT& piece) {
        for (int y = piece.top; y < piece.bottom; ++y)
            FillSpan(s, y, piece.left, piece.right, p);
    });
}

}  // namespace host::gdi
