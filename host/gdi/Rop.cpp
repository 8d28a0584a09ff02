#include "host/gdi/Rop.h"

#include "host/gdi/Raster.h"

#include <cstring>

namespace host::gdi {

uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d)
{
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((code >> i) & 1))
            continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & kPixelMask;
}

namespace {

template <class F>
void Each(uint32_t* d, const uint32_t* s, const uint32_t* p, int n, F f)
{
    for (int i = 0; i < n; ++i)
        d[i] = f(p ? p[i] : 0, s ? s[i] : 0, d[i]) & kPixelMask;
}

}  // namespace

void Rop3Row(uint8_t code, uint32_t* d, const uint32_t* s, const uint32_t* p, int n)
{
    switch (code) {
    case 0xCC: std::memcpy(d, s, size_t(n) * 4); return;                             // SRCCOPY
    case 0xEE: Each(d, s, p, n, [](uint32_t, uint32_t S, uint32_t D) { return S | D; }); return;
    case 0x88: Each(d, s, p, n, [](uint32_t, uint32_t S, uint32_t D) { return S & D; }); return;
    case 0x66: Each(d, s, p, n, [](uint32_t, uint32_t S, uint32_t D) { return S ^ D; }); return;
    case 0x44: Each(d, s, p, n, [](uint32_t, uint32_t S, uint32_t D) { return S & ~D; }); return;
    case 0x33: Each(d, s, p, n, [](uint32_t, uint32_t S, uint32_t) { return ~S; }); return;
    case 0xC0: Each(d, s, p, n, [](uint32_t P, uint32_t S, uint32_t) { return P & S; }); return;
    case 0xBB: Each(d, s, p, n, [](uint32_t, uint32_t S, uint32_t D) { return ~S | D; }); return;
    case 0xF0: std::memcpy(d, p, size_t(n) * 4); return;                             // PATCOPY
    case 0x5A: Each(d, s, p, n, [](uint32_t P, uint32_t, uint32_t D) { return P ^ D; }); return;
    case 0x55: Each(d, s, p, n, [](uint32_t, uint32_t, uint32_t D) { return ~D; }); return;
    case 0x00: std::memset(d, 0, size_t(n) * 4); return;                             // BLACKNESS
    case 0xFF: Each(d, s, p, n, [](uint32_t, uint32_t, uint32_t) { return kPixelMask; }); return;
    case 0xAA: return;                                                                // D
    // DSPDxax: where the source is set take the pattern, else keep D; glyph
    // masks drawn through it paint only their set bits.
    case 0xE2: Each(d, s, p, n, [](uint32_t P, uint32_t S, uint32_t D) { return ((D ^ P) & S) ^ D; }); return;
    default: Each(d, s, p, n, [code](uint32_t P, uint32_t S, uint32_t D) { return Rop3(code, P, S, D); }); return;
    }
}

}  // namespace host::gdi
