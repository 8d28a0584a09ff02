#pragma once
// The general block transfer behind every blit entry point.
#include "host/gdi/Dc.h"

namespace host::gdi {

struct BlitSource {
    const Surface* Surf = nullptr;
    bool Mono = false;
    uint32_t BkPixel = 0;  // the source DC's background colour as a pixel
    int X = 0, Y = 0;      // surface coordinates
    int W = 0, H = 0;      // negative: mirrored
};

struct MaskSource {
    const Surface* Surf = nullptr;
    int X = 0, Y = 0;
    bool Pixel(int i, int j) const;  // true: foreground ROP
};

uint32_t ConvertSourcePixel(uint32_t s, const BlitSource& src, uint32_t dstText, uint32_t dstBk,
                            bool dstMono);

// Source rectangle of a DC, given in its logical coordinates.
BlitSource SourceOf(Dc& src, int x, int y, int w, int h);

// Destination (x, y, w, h) in logical coordinates of dst; the source is
// stretched (nearest pixel) to it. rop: ROP3 in bits 16-23, and with a mask
// the background ROP3 in bits 24-31. Pixels whose source lies outside the
// source surface are left alone.
bool DoBlit(Dc& dst, int x, int y, int w, int h, const BlitSource* src, DWORD rop,
            const MaskSource* mask);

}  // namespace host::gdi
