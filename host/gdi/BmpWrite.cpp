#include "host/gdi/Bmp.h"

#include "host/gdi/BmpWrite.h"
#include "host/gdi/ImageBytes.h"
#include "host/rtl/SysUtils.h"

#include <unordered_map>

namespace host {

namespace {

std::vector<uint32_t> FixedPalette(int Bpp)
{
    if (Bpp == 1) return {0x000000, 0xFFFFFF};
    if (Bpp == 4)
        return {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::vector<uint32_t> pal;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) pal.push_back(uint32_t(r * 51) << 16 | uint32_t(g * 51) << 8 | uint32_t(b * 51));
    for (int i = 0; i < 40; ++i) {
        uint32_t v = uint32_t(i * 255 / 39);
        pal.push_back(v << 16 | v << 8 | v);
    }
    return pal;
}

bool PaletteCovers(const std::vector<uint32_t>& Pal, const TImageData& Img)
{
    std::unordered_map<uint32_t, bool> in;
    for (uint32_t c : Pal) in[c] = true;
    uint32_t last = ~0u; // runs of one colour are the common case
    for (uint32_t p : Img.Pixels) {
        if (p == last) continue;
        if (!in.count(p & 0xFFFFFF)) return false;
        last = p;
    }
    return true;
}

// The image's distinct colours in order of appearance, or nothing when they
// do not fit in Limit entries.
std::vector<uint32_t> OwnColours(const TImageData& Img, size_t Limit)
{
    std::vector<uint32_t> pal;
    std::unordered_map<uint32_t, bool> seen;
    uint32_t last = ~0u;
    for (uint32_t p : Img.Pixels) {
        p &= 0xFFFFFF;
        if (p == last || seen.count(p)) continue;
        last = p;
        if (pal.size() == Limit) return {};
        seen[p] = true;
        pal.push_back(p);
    }
    return pal;
}

class TPaletteMatcher {
public:
    explicit TPaletteMatcher(const std::vector<uint32_t>& Pal) : FPal(Pal) {}
    uint32_t Index(uint32_t C)
    {
        C &= 0xFFFFFF;
        if (C == FLast) return FLastIndex;
        FLast = C;
        auto it = FCache.find(C);
        if (it != FCache.end()) return FLastIndex = it->second;
        uint32_t best = 0;
        int bestD = 1 << 30;
        for (size_t i = 0; i < FPal.size(); ++i) {
            int dr = int(C >> 16) - int(FPal[i] >> 16 & 255), dg = int(C >> 8 & 255) - int(FPal[i] >> 8 & 255),
                db = int(C & 255) - int(FPal[i] & 255);
            int d = dr * dr + dg * dg + db * db;
            if (d < bestD) { bestD = d; best = uint32_t(i); }
        }
        return FLastIndex = FCache[C] = best;
    }

private:
    const std::vector<uint32_t>& FPal;
    std::unordered_map<uint32_t, uint32_t> FCache;
    uint32_t FLast = ~0u, FLastIndex = 0;
};

std::vector<uint32_t> ChoosePalette(const TImageData& Img, int Bpp)
{
    size_t limit = size_t(1) << Bpp;
    if (!Img.Palette.empty() && Img.Palette.size() <= limit && PaletteCovers(Img.Palette, Img)) return Img.Palette;
    std::vector<uint32_t> own = OwnColours(Img, limit);
    return own.empty() ? FixedPalette(Bpp) : own;
}

void WriteRows(TByteWriter& W, const TImageData& Img, int Bpp, const std::vector<uint32_t>& Pal)
{
    const size_t stride = ((size_t(Img.Width) * Bpp + 31) / 32) * 4;
    TPaletteMatcher match(Pal);
    std::vector<uint8_t> row(stride);
    for (int y = Img.Height - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < Img.Width; ++x) {
            uint32_t c = Img.Pixel(x, y);
            switch (Bpp) {
            case 1: row[x >> 3] |= uint8_t(match.Index(c) << (7 - (x & 7))); break;
            case 4: row[x >> 1] |= uint8_t(match.Index(c) << ((x & 1) ? 0 : 4)); break;
            case 8: row[x] = uint8_t(match.Index(c)); break;
            case 24: row[3 * x] = uint8_t(c); row[3 * x + 1] = uint8_t(c >> 8); row[3 * x + 2] = uint8_t(c >> 16); break;
            default:
                row[4 * x] = uint8_t(c); row[4 * x + 1] = uint8_t(c >> 8); row[4 * x + 2] = uint8_t(c >> 16);
                row[4 * x + 3] = Img.HasAlpha() ? Img.AlphaAt(x, y) : 0;
            }
        }
        W.Bytes(row.data(), row.size());
    }
}

void WriteAndMask(TByteWriter& W, const TImageData& Img)
{
    const size_t stride = ((size_t(Img.Width) + 31) / 32) * 4;
    std::vector<uint8_t> row(stride);
    for (int y = Img.Height - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < Img.Width; ++x)
            if (Img.AlphaAt(x, y) < 128) row[x >> 3] |= uint8_t(0x80 >> (x & 7));
        W.Bytes(row.data(), row.size());
    }
}

} // namespace

void AppendDib(TByteWriter& W, const TImageData& Img, int Bpp, TDibMask Mask)
{
    if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 24 && Bpp != 32)
        throw EInvalidGraphicOperation("Cannot write a bitmap with " + std::to_string(Bpp) + " bits per pixel");
    if (Img.Empty()) throw EInvalidGraphicOperation("Cannot write an empty bitmap");
    std::vector<uint32_t> pal = Bpp <= 8 ? ChoosePalette(Img, Bpp) : std::vector<uint32_t>{};
    const uint32_t stride = ((uint32_t(Img.Width) * Bpp + 31) / 32) * 4;
    bool withMask = Mask == TDibMask::IconAndMask;
    W.U32(40);
    W.U32(uint32_t(Img.Width));
    W.U32(uint32_t(Img.Height * (withMask ? 2 : 1)));
    W.U16(1);
    W.U16(uint16_t(Bpp));
    W.U32(0); // BI_RGB
    W.U32(stride * uint32_t(Img.Height));
    W.U32(3780); // 96 pixels per inch
    W.U32(3780);
    W.U32(uint32_t(pal.size()));
    W.U32(0);
    for (uint32_t c : pal) W.U32(c & 0xFFFFFF);
    WriteRows(W, Img, Bpp, pal);
    if (withMask) WriteAndMask(W, Img);
}

std::vector<uint8_t> SaveBmp(const TImageData& Image, int BitsPerPixel)
{
    TByteWriter w;
    w.U8('B');
    w.U8('M');
    w.U32(0); // file size, patched below
    w.U32(0);
    w.U32(0); // bits offset, patched below
    size_t dibStart = w.Size();
    AppendDib(w, Image, BitsPerPixel, TDibMask::None);
    size_t paletteEntries = w.Data()[dibStart + 32] | size_t(w.Data()[dibStart + 33]) << 8 |
                            size_t(w.Data()[dibStart + 34]) << 16;
    w.PatchU32(2, uint32_t(w.Size()));
    w.PatchU32(10, uint32_t(dibStart + 40 + paletteEntries * 4));
    return std::move(w.Data());
}

void SaveBmpFile(const TImageData& Image, const std::string& FileName, int BitsPerPixel)
{
    WriteWholeFile(FileName, SaveBmp(Image, BitsPerPixel));
}

} // namespace host
