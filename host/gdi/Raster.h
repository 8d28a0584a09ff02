#pragma once
// The narrow pixel-operation layer. Every ROP2 mix reduces to
// D = (D & And) ^ Xor, with And and Xor derived from the source colour; a
// patterned brush carries one (And, Xor) pair per 8x8 pattern cell.
#include "host/gdi/Region.h"
#include "host/gdi/WinTypes.h"

#include <cstdint>

namespace host::gdi {

// A drawing target: 32-bit pixels 0x00RRGGBB (bytes B, G, R, X in memory, as
// a 32-bit DIB). A monochrome surface holds only 0x000000 and 0xFFFFFF.
struct Surface {
    uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0;  // pixels from one row to the next (negative: bottom-up memory)
    bool Monochrome = false;

    uint32_t* Row(int y) const { return Bits + static_cast<ptrdiff_t>(y) * Stride; }
    RECT Bounds() const { return RECT{0, 0, Width, Height}; }
};

constexpr uint32_t kPixelMask = 0x00FFFFFF;

// Coordinates are confined to 28 signed bits, as GDI does, so that sums of
// coordinates and origins cannot overflow.
constexpr int kCoordLimit = 1 << 27;
constexpr int ClampCoord(int64_t v)
{
    return int(v < -kCoordLimit ? -kCoordLimit : v > kCoordLimit ? kCoordLimit : v);
}

constexpr uint32_t ColorToPixel(COLORREF c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF PixelToColor(uint32_t p) { return ColorToPixel(p & kPixelMask); }

// The pixel a colour becomes on a surface: monochrome surfaces take the
// nearer of black and white.
uint32_t RealizeColor(COLORREF c, bool monochrome);

struct Paint {
    uint32_t And = 0;
    uint32_t Xor = 0;
    bool Patterned = false;
    int OrgX = 0;  // surface pixel where pattern cell (0, 0) falls
    int OrgY = 0;
    // Only meaningful when Patterned; left uninitialised to keep solid paints cheap.
    uint32_t PatAnd[64];
    uint32_t PatXor[64];

    bool IsNop() const { return !Patterned && And == kPixelMask && Xor == 0; }
    static Paint Solid(uint32_t pixel, int rop2);
    // cells: 64 pixels, row-major; transparent cells (mask bit clear) leave D alone.
    static Paint Pattern(const uint32_t* cells, const bool* opaque, int rop2, int orgX, int orgY);
};

// The (And, Xor) pair of a ROP2 mode applied to pen pixel p.
void Rop2Masks(int rop2, uint32_t p, uint32_t& andMask, uint32_t& xorMask);

// Unclipped primitives; callers clip against the surface and region first.
void FillSpan(const Surface& s, int y, int x1, int x2, const Paint& p);

// Clipped primitives: clip is in surface coordinates.
void FillRect(const Surface& s, const Region& clip, const RECT& r, const Paint& p);
void FillSpans(const Surface& s, const Region& clip, const Span* spans, size_t count,
               const Paint& p);
void FillRegion(const Surface& s, const Region& clip, const Region& area, const Paint& p);

}  // namespace host::gdi
