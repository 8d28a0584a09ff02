#include "host/gdi/Bmp.h"

#include "host/gdi/ImageBytes.h"
#include "host/rtl/SysUtils.h"

#include <algorithm>
#include <map>

namespace host {

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

[[noreturn]] void Fail(const std::string& Why) { throw EInvalidGraphic("Invalid bitmap: " + Why); }

struct TDibHeader {
    size_t HeaderSize = 0;
    int64_t Width = 0, Height = 0;
    bool TopDown = false;
    int Bpp = 0;
    uint32_t Compression = BI_RGB;
    uint32_t ColorsUsed = 0;
    uint32_t Masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    bool Core = false;
};

TDibHeader ReadHeader(const TByteReader& R)
{
    TDibHeader h;
    h.HeaderSize = R.U32(0);
    if (h.HeaderSize == 12) {
        h.Core = true;
        h.Width = R.U16(4);
        h.Height = R.U16(6);
        h.Bpp = R.U16(10);
    } else if (h.HeaderSize >= 16 && h.HeaderSize <= 1024) {
        h.Width = R.S32(4);
        h.Height = R.S32(8);
        h.Bpp = R.U16(14);
        // A 16-byte OS/2 2.x header stops before the compression field.
        h.Compression = h.HeaderSize >= 20 ? R.U32(16) : BI_RGB;
        h.ColorsUsed = h.HeaderSize >= 36 ? R.U32(32) : 0;
        if (h.HeaderSize == 64 && h.Compression == 3 && h.Bpp == 1)
            Fail("Huffman-compressed OS/2 bitmaps are not supported");
        if (h.HeaderSize >= 52)
            for (int i = 0; i < 3; ++i) h.Masks[i] = R.U32(40 + 4 * i);
        if (h.HeaderSize >= 56) h.Masks[3] = R.U32(52);
    } else {
        Fail("unknown header size " + std::to_string(h.HeaderSize));
    }
    if (h.Height < 0) {
        h.TopDown = true;
        h.Height = -h.Height;
    }
    switch (h.Bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Fail("unsupported bit count " + std::to_string(h.Bpp));
    }
    bool ok = h.Compression == BI_RGB || (h.Compression == BI_RLE8 && h.Bpp == 8) ||
              (h.Compression == BI_RLE4 && h.Bpp == 4) ||
              ((h.Compression == BI_BITFIELDS || h.Compression == BI_ALPHABITFIELDS) &&
               (h.Bpp == 16 || h.Bpp == 32));
    if (!ok)
        Fail("unsupported compression " + std::to_string(h.Compression) + " at " + std::to_string(h.Bpp) + " bits");
    return h;
}

// Converts a masked channel to 8 bits, scaling narrow fields to full range.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Max = 0;
    explicit TChannel(uint32_t M) : Mask(M)
    {
        if (!M) return;
        while (!((M >> Shift) & 1)) ++Shift;
        Max = M >> Shift;
    }
    uint32_t Get(uint32_t V) const
    {
        if (!Max) return 0;
        return static_cast<uint32_t>((uint64_t((V & Mask) >> Shift) * 255 + Max / 2) / Max);
    }
};

std::vector<uint32_t> ReadPalette(const TByteReader& R, size_t Offset, const TDibHeader& H)
{
    std::vector<uint32_t> pal;
    if (H.Bpp > 8) return pal;
    size_t count = H.ColorsUsed ? H.ColorsUsed : (size_t(1) << H.Bpp);
    count = std::min<size_t>(count, size_t(1) << H.Bpp);
    size_t entry = H.Core ? 3 : 4;
    if (Offset + count * entry > R.Size()) {
        // Some writers declare more colours than they store; keep what is there.
        count = Offset < R.Size() ? (R.Size() - Offset) / entry : 0;
        if (count == 0) Fail("truncated colour table");
    }
    for (size_t i = 0; i < count; ++i) {
        size_t p = Offset + i * entry;
        pal.push_back(uint32_t(R.U8(p + 2)) << 16 | uint32_t(R.U8(p + 1)) << 8 | R.U8(p));
    }
    return pal;
}

uint32_t PaletteColor(const std::vector<uint32_t>& Pal, uint32_t Index)
{
    return Index < Pal.size() ? Pal[Index] : 0;
}

void DecodeRows(const TByteReader& R, size_t Bits, const TDibHeader& H, TImageData& Img)
{
    const int64_t stride = ((H.Width * H.Bpp + 31) / 32) * 4;
    if (int64_t(Bits) + stride * H.Height > int64_t(R.Size())) Fail("truncated pixel data");
    uint32_t m[4];
    std::copy(std::begin(H.Masks), std::end(H.Masks), m);
    if (H.Compression == BI_RGB && H.Bpp == 16) { m[0] = 0x7C00; m[1] = 0x03E0; m[2] = 0x001F; m[3] = 0; }
    if (H.Compression == BI_RGB && H.Bpp == 32) { m[0] = 0xFF0000; m[1] = 0xFF00; m[2] = 0xFF; m[3] = 0; }
    TChannel cr(m[0]), cg(m[1]), cb(m[2]), ca(m[3]);
    bool alpha = H.Bpp == 32 && (m[3] != 0 || H.Compression == BI_RGB);
    uint32_t alphaOr = 0, alphaAnd = 0xFF;
    std::vector<uint8_t> a(alpha ? Img.Pixels.size() : 0);
    for (int64_t y = 0; y < H.Height; ++y) {
        const uint8_t* row = R.Ptr(Bits + size_t(stride * y));
        int64_t dy = H.TopDown ? y : H.Height - 1 - y;
        uint32_t* out = &Img.Pixels[size_t(dy * H.Width)];
        for (int64_t x = 0; x < H.Width; ++x) {
            uint32_t v;
            switch (H.Bpp) {
            case 1: out[x] = PaletteColor(Img.Palette, (row[x >> 3] >> (7 - (x & 7))) & 1); break;
            case 4: out[x] = PaletteColor(Img.Palette, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15); break;
            case 8: out[x] = PaletteColor(Img.Palette, row[x]); break;
            case 24: out[x] = uint32_t(row[3 * x + 2]) << 16 | uint32_t(row[3 * x + 1]) << 8 | row[3 * x]; break;
            case 16:
                v = row[2 * x] | uint32_t(row[2 * x + 1]) << 8;
                out[x] = cr.Get(v) << 16 | cg.Get(v) << 8 | cb.Get(v);
                break;
            default: {
                v = row[4 * x] | uint32_t(row[4 * x + 1]) << 8 | uint32_t(row[4 * x + 2]) << 16 |
                    uint32_t(row[4 * x + 3]) << 24;
                out[x] = cr.Get(v) << 16 | cg.Get(v) << 8 | cb.Get(v);
                if (alpha) {
                    uint32_t av = m[3] ? ca.Get(v) : v >> 24;
                    a[size_t(dy * H.Width + x)] = uint8_t(av);
                    alphaOr |= av;
                    alphaAnd &= av;
                }
            }
            }
        }
    }
    // A plain 32-bit file whose fourth byte is all zero (or all opaque) has no alpha.
    if (alpha && alphaOr != 0 && (alphaAnd != 0xFF || m[3] != 0)) Img.Alpha = std::move(a);
}

class TRleDecoder {
public:
    TRleDecoder(const TByteReader& R, size_t Pos, const TDibHeader& H, TImageData& Img)
        : FR(R), FPos(Pos), FH(H), FImg(Img) {}

    void Run()
    {
        while (FPos + 2 <= FR.Size()) {
            uint8_t n = FR.U8(FPos), v = FR.U8(FPos + 1);
            FPos += 2;
            if (n) { Repeat(n, v); continue; }
            if (v == 0) { FX = 0; ++FY; continue; }
            if (v == 1) return;
            if (v == 2) { Delta(); continue; }
            Absolute(v);
        }
        // A stream that ends without its end-of-bitmap mark keeps what it drew.
    }

private:
    void Put(uint32_t Index)
    {
        if (FX >= FH.Width || FY >= FH.Height) Fail("RLE data runs past the bitmap");
        int64_t dy = FH.TopDown ? FY : FH.Height - 1 - FY;
        FImg.Pixels[size_t(dy * FH.Width + FX)] = PaletteColor(FImg.Palette, Index);
        ++FX;
    }
    void Repeat(int N, uint8_t V)
    {
        for (int i = 0; i < N; ++i)
            Put(FH.Bpp == 8 ? V : (i & 1) ? (V & 15) : (V >> 4));
    }
    void Delta()
    {
        if (FPos + 2 > FR.Size()) Fail("truncated RLE delta");
        FX += FR.U8(FPos);
        FY += FR.U8(FPos + 1);
        FPos += 2;
        if (FY > FH.Height || (FY == FH.Height && FX > 0)) Fail("RLE delta moves past the bitmap");
    }
    void Absolute(int N)
    {
        size_t bytes = FH.Bpp == 8 ? size_t(N) : size_t(N + 1) / 2;
        if (FPos + bytes > FR.Size()) Fail("truncated RLE data");
        for (int i = 0; i < N; ++i) {
            uint8_t b = FR.U8(FPos + (FH.Bpp == 8 ? size_t(i) : size_t(i) / 2));
            Put(FH.Bpp == 8 ? b : (i & 1) ? (b & 15) : (b >> 4));
        }
        FPos += (bytes + 1) & ~size_t(1);
    }

    const TByteReader& FR;
    size_t FPos;
    const TDibHeader& FH;
    TImageData& FImg;
    int64_t FX = 0, FY = 0;
};

void ReadAndMask(const TByteReader& R, size_t Pos, const TDibHeader& H, TImageData& Img)
{
    const int64_t stride = ((H.Width + 31) / 32) * 4;
    // Icons without room for a mask are drawn fully opaque, as their colour bits say.
    if (int64_t(Pos) + stride * H.Height > int64_t(R.Size())) return;
    if (!Img.Alpha.empty()) return; // a 32-bit icon's own alpha wins over the mask
    Img.Alpha.assign(Img.Pixels.size(), 255);
    for (int64_t y = 0; y < H.Height; ++y) {
        const uint8_t* row = R.Ptr(Pos + size_t(stride * y));
        int64_t dy = H.TopDown ? y : H.Height - 1 - y;
        for (int64_t x = 0; x < H.Width; ++x)
            if ((row[x >> 3] >> (7 - (x & 7))) & 1) Img.Alpha[size_t(dy * H.Width + x)] = 0;
    }
}

} // namespace

TImageData LoadDib(const uint8_t* Data, size_t Size, TDibMask Mask, size_t BitsOffset)
{
    TByteReader r(Data, Size, "bitmap");
    TDibHeader h = ReadHeader(r);
    if (Mask == TDibMask::IconAndMask) h.Height /= 2;
    if (h.Compression != BI_RGB && h.Compression != BI_BITFIELDS && h.Compression != BI_ALPHABITFIELDS &&
        h.TopDown)
        Fail("top-down bitmaps cannot be RLE-compressed");
    size_t pos = h.HeaderSize;
    if (h.HeaderSize == 40 && (h.Compression == BI_BITFIELDS || h.Compression == BI_ALPHABITFIELDS)) {
        int n = h.Compression == BI_ALPHABITFIELDS ? 4 : 3;
        for (int i = 0; i < n; ++i) h.Masks[i] = r.U32(pos + 4 * i);
        pos += 4 * n;
    }
    std::vector<uint32_t> palette = ReadPalette(r, pos, h);
    if (h.Bpp <= 8) pos += palette.size() * (h.Core ? 3 : 4);
    if (BitsOffset) {
        if (BitsOffset >= Size) Fail("pixel data offset beyond the end of the file");
        pos = BitsOffset;
    }
    const bool rle = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
    // Refuse a short file before allocating what its header claims.
    if (!rle && h.Width > 0 && h.Width < kMaxImageSide && h.Height < kMaxImageSide &&
        int64_t(pos) + ((h.Width * h.Bpp + 31) / 32) * 4 * h.Height > int64_t(Size))
        Fail("truncated pixel data");
    TImageData img;
    AllocateImage(img, h.Width, h.Height, "bitmap");
    img.SourceBitsPerPixel = h.Bpp;
    img.Palette = std::move(palette);
    if (rle) {
        TRleDecoder(r, pos, h, img).Run();
        return img;
    }
    DecodeRows(r, pos, h, img);
    if (Mask == TDibMask::IconAndMask)
        ReadAndMask(r, pos + size_t(((h.Width * h.Bpp + 31) / 32) * 4 * h.Height), h, img);
    return img;
}

TImageData LoadBmp(const uint8_t* Data, size_t Size)
{
    TByteReader r(Data, Size, "bitmap");
    if (Size < 14 || Data[0] != 'B' || Data[1] != 'M') Fail("not a BMP file");
    uint32_t offBits = r.U32(10);
    // Offsets pointing into the headers are treated as absent: the bits then
    // follow the colour table.
    size_t bitsOffset = offBits > 14 + 12 && offBits < Size ? offBits - 14 : 0;
    return LoadDib(Data + 14, Size - 14, TDibMask::None, bitsOffset);
}

TImageData LoadBmpFile(const std::string& FileName)
{
    std::vector<uint8_t> d = ReadWholeFile(FileName);
    return LoadBmp(d.data(), d.size());
}

} // namespace host
