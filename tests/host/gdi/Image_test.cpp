#include "host/gdi/Bmp.h"
#include "host/gdi/BmpWrite.h"
#include "host/gdi/Ico.h"
#include "host/gdi/ImageBytes.h"
#include "host/gdi/Png.h"
#include "host/rtl/SysUtils.h"

#include <gtest/gtest.h>

using namespace host;

namespace {

TImageData MakeImage(int W, int H, const std::vector<uint32_t>& Colours)
{
    TImageData img;
    AllocateImage(img, W, H, "test");
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) img.Pixels[size_t(y * W + x)] = Colours[size_t(x * 7 + y * 3) % Colours.size()];
    return img;
}

// A BMP file around an info header of the given fields, palette and raw bits.
std::vector<uint8_t> BuildBmp(int W, int H, int Bpp, uint32_t Compression, const std::vector<uint32_t>& Palette,
                              const std::vector<uint8_t>& Bits, const std::vector<uint32_t>& Masks = {})
{
    TByteWriter w;
    w.U8('B'); w.U8('M');
    w.U32(0); w.U32(0);
    w.U32(uint32_t(14 + 40 + 4 * Masks.size() + 4 * Palette.size()));
    w.U32(40); w.U32(uint32_t(W)); w.U32(uint32_t(H)); w.U16(1); w.U16(uint16_t(Bpp));
    w.U32(Compression); w.U32(uint32_t(Bits.size())); w.U32(0); w.U32(0);
    w.U32(uint32_t(Palette.size())); w.U32(0);
    for (uint32_t m : Masks) w.U32(m);
    for (uint32_t c : Palette) w.U32(c);
    w.Bytes(Bits.data(), Bits.size());
    w.PatchU32(2, uint32_t(w.Size()));
    return w.Data();
}

void ExpectSamePixels(const TImageData& A, const TImageData& B)
{
    ASSERT_EQ(A.Width, B.Width);
    ASSERT_EQ(A.Height, B.Height);
    for (int y = 0; y < A.Height; ++y)
        for (int x = 0; x < A.Width; ++x) ASSERT_EQ(A.Pixel(x, y), B.Pixel(x, y)) << x << "," << y;
}

} // namespace

TEST(ImageBmp, RoundTripsAtEveryWritableDepth)
{
    struct { int bpp; std::vector<uint32_t> colours; } cases[] = {
        {1, {0x000000, 0xFFFFFF}},
        {1, {0x123456, 0xABCDEF}}, // not black and white: needs its own palette
        {4, {0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0x112233, 0x445566}},
        {8, {0x010203, 0x040506, 0xFF00FF, 0x00FFFF, 0xFEDCBA, 0x7F7F7F, 0x000000, 0xFFFFFF, 0x102030}},
        {24, {0x010203, 0xFFEEDD, 0x7F8081, 0x00FF00}},
        {32, {0x010203, 0xFFEEDD, 0x7F8081, 0x00FF00}},
    };
    for (auto& c : cases) {
        for (int w : {1, 13, 32}) { // odd widths exercise row padding
            TImageData src = MakeImage(w, 5, c.colours);
            std::vector<uint8_t> file = SaveBmp(src, c.bpp);
            TImageData back = LoadBmp(file.data(), file.size());
            SCOPED_TRACE("bpp " + std::to_string(c.bpp) + " width " + std::to_string(w));
            EXPECT_EQ(back.SourceBitsPerPixel, c.bpp);
            ExpectSamePixels(src, back);
            EXPECT_FALSE(back.HasAlpha());
        }
    }
}

TEST(ImageBmp, ThirtyTwoBitsKeepAlphaAndIndexedDepthsFallBackToNearestColour)
{
    TImageData src = MakeImage(3, 2, {0x102030, 0x405060});
    src.Alpha = {0, 64, 128, 255, 1, 200};
    std::vector<uint8_t> file = SaveBmp(src, 32);
    TImageData back = LoadBmp(file.data(), file.size());
    EXPECT_EQ(back.Alpha, src.Alpha);

    // Three colours cannot fit one bit: each lands on black or white, whichever is nearer.
    TImageData grey = MakeImage(3, 1, {0x101010, 0xF0F0F0, 0x202020});
    file = SaveBmp(grey, 1);
    back = LoadBmp(file.data(), file.size());
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(back.Pixel(x, 0), (grey.Pixel(x, 0) & 0xFF) > 127 ? 0xFFFFFFu : 0u) << x;
}

TEST(ImageBmp, ReadsTopDownSixteenBitBitfieldsAndCoreHeaders)
{
    // 24-bit, 2x2, top-down (negative height): first row stored is the top row.
    std::vector<uint8_t> bits = {0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0, 0,
                                 0x09, 0x08, 0x07, 0x0C, 0x0B, 0x0A, 0, 0};
    std::vector<uint8_t> f = BuildBmp(2, -2, 24, 0, {}, bits);
    TImageData img = LoadBmp(f.data(), f.size());
    EXPECT_EQ(img.Pixel(0, 0), 0x010203u);
    EXPECT_EQ(img.Pixel(1, 1), 0x0A0B0Cu);
    // The same bits bottom-up put the first stored row at the bottom.
    f = BuildBmp(2, 2, 24, 0, {}, bits);
    img = LoadBmp(f.data(), f.size());
    EXPECT_EQ(img.Pixel(0, 1), 0x010203u);

    // 16-bit 5-5-5 and 5-6-5 bitfields: full-scale channels become 255.
    f = BuildBmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00});
    img = LoadBmp(f.data(), f.size());
    EXPECT_EQ(img.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(img.Pixel(1, 0), 0x0000FFu);
    f = BuildBmp(2, 1, 16, 3, {}, {0xE0, 0x07, 0x00, 0xF8}, {0xF800, 0x07E0, 0x001F});
    img = LoadBmp(f.data(), f.size());
    EXPECT_EQ(img.Pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(img.Pixel(1, 0), 0xFF0000u);

    // OS/2 core header: 16-bit sizes and three-byte palette entries.
    TByteWriter w;
    w.U8('B'); w.U8('M'); w.U32(0); w.U32(0); w.U32(14 + 12 + 6);
    w.U32(12); w.U16(3); w.U16(1); w.U16(1); w.U16(1);
    w.U8(0x30); w.U8(0x20); w.U8(0x10); w.U8(0xFF); w.U8(0xFF); w.U8(0xFF);
    w.U8(0xA0); w.U8(0); w.U8(0); w.U8(0); // pixels 1,0,1
    img = LoadBmp(w.Data().data(), w.Size());
    EXPECT_EQ(img.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(img.Pixel(1, 0), 0x102030u);
    EXPECT_EQ(img.Pixel(2, 0), 0xFFFFFFu);
}

TEST(ImageBmp, DecodesRunLengthEncoding)
{
    const std::vector<uint32_t> pal = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // RLE8, 4x3 bottom-up: row 0 = run of 3 x index1 then EOL; row 1 = absolute
    // 2,3,1 (padded) then EOL; delta by (2, 0); one pixel index 3; end.
    std::vector<uint8_t> rle8 = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 1, 3, 0, 1};
    std::vector<uint8_t> f = BuildBmp(4, 3, 8, 1, pal, rle8);
    TImageData img = LoadBmp(f.data(), f.size());
    struct { int x, y; uint32_t c; } want8[] = {
        {0, 2, 0xFF0000}, {2, 2, 0xFF0000}, {3, 2, 0},
        {0, 1, 0x00FF00}, {1, 1, 0x0000FF}, {2, 1, 0xFF0000},
        {0, 0, 0}, {1, 0, 0}, {2, 0, 0x0000FF}, {3, 0, 0},
    };
    for (auto p : want8) EXPECT_EQ(img.Pixel(p.x, p.y), p.c) << "rle8 " << p.x << "," << p.y;

    // RLE4, 5x1: run of 5 alternating 1,2 nibbles, end.
    f = BuildBmp(5, 1, 4, 2, pal, {5, 0x12, 0, 1});
    img = LoadBmp(f.data(), f.size());
    uint32_t want4[] = {0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00, 0xFF0000};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(img.Pixel(x, 0), want4[x]) << "rle4 " << x;
    // RLE4 absolute mode: 3 nibbles 3,2,1 in two bytes, padded to a word.
    f = BuildBmp(3, 1, 4, 2, pal, {0, 3, 0x32, 0x10, 0, 1});
    img = LoadBmp(f.data(), f.size());
    EXPECT_EQ(img.Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(img.Pixel(2, 0), 0xFF0000u);
}

TEST(ImageIco, ChoosesBySizeAndAppliesTheAndMask)
{
    // Two DIB entries: 4x4 at 4 bits and 8x8 at 24 bits, each with an AND mask
    // that makes the top-left pixel transparent.
    std::vector<std::vector<uint8_t>> dibs;
    for (auto [side, bpp] : {std::pair{4, 4}, std::pair{8, 24}}) {
        TImageData img = MakeImage(side, side, {0xFF0000, 0x0000FF});
        img.Alpha.assign(img.Pixels.size(), 255);
        img.Alpha[0] = 0;
        TByteWriter d;
        AppendDib(d, img, bpp, TDibMask::IconAndMask);
        dibs.push_back(d.Data());
    }
    TByteWriter w;
    w.U16(0); w.U16(1); w.U16(2);
    uint32_t off = 6 + 32;
    for (size_t i = 0; i < 2; ++i) {
        int side = i ? 8 : 4;
        w.U8(uint8_t(side)); w.U8(uint8_t(side)); w.U8(0); w.U8(0); w.U16(1); w.U16(0);
        w.U32(uint32_t(dibs[i].size())); w.U32(off);
        off += uint32_t(dibs[i].size());
    }
    for (auto& d : dibs) w.Bytes(d.data(), d.size());
    const auto& file = w.Data();

    auto entries = ListIcoEntries(file.data(), file.size());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].BitsPerPixel, 4);
    struct { int want, got; } sizes[] = {{0, 8}, {4, 4}, {8, 8}, {3, 4}, {6, 8}, {32, 8}};
    for (auto s : sizes) {
        TImageData img = LoadIco(file.data(), file.size(), s.want, s.want);
        EXPECT_EQ(img.Width, s.got) << "asked " << s.want;
        EXPECT_EQ(img.AlphaAt(0, 0), 0);
        EXPECT_EQ(img.AlphaAt(1, 0), 255);
        EXPECT_EQ(img.Pixel(1, 0), 0x0000FFu);
    }
    EXPECT_EQ(LoadIcoAll(file.data(), file.size()).size(), 2u);
}

TEST(ImageIco, WritesAndReadsPngAndAlphaEntries)
{
    TImageData img = MakeImage(16, 16, {0x123456, 0x654321, 0xFFFFFF});
    img.Alpha.assign(img.Pixels.size(), 255);
    img.Alpha[5] = 0;
    img.Alpha[6] = 77;
    std::vector<uint8_t> ico = SaveIco({img});
    TImageData back = LoadIco(ico.data(), ico.size(), 16, 16);
    ExpectSamePixels(img, back);
    EXPECT_EQ(back.Alpha, img.Alpha);

    // A PNG-compressed entry.
    std::vector<uint8_t> png = SavePng(img);
    TByteWriter w;
    w.U16(0); w.U16(1); w.U16(1);
    w.U8(16); w.U8(16); w.U8(0); w.U8(0); w.U16(1); w.U16(32); w.U32(uint32_t(png.size())); w.U32(22);
    w.Bytes(png.data(), png.size());
    back = LoadIco(w.Data().data(), w.Size(), 0, 0);
    ExpectSamePixels(img, back);
    EXPECT_EQ(back.Alpha, img.Alpha);
}

TEST(ImagePng, RoundTripsWithAndWithoutAlpha)
{
    TImageData img = MakeImage(17, 9, {0x000000, 0xFFFFFF, 0x123456, 0xFEDCBA});
    std::vector<uint8_t> file = SavePng(img);
    TImageData back = LoadPng(file.data(), file.size());
    ExpectSamePixels(img, back);
    EXPECT_FALSE(back.HasAlpha());

    img.Alpha.assign(img.Pixels.size(), 10);
    img.Alpha[3] = 250;
    file = SavePng(img);
    back = LoadPng(file.data(), file.size());
    ExpectSamePixels(img, back);
    EXPECT_EQ(back.Alpha, img.Alpha);
    EXPECT_EQ(DetectImageFormat(file.data(), file.size()), TImageFormat::Png);
}

TEST(ImageCodecs, MalformedFilesRaiseInvalidGraphic)
{
    std::vector<uint8_t> good = SaveBmp(MakeImage(8, 8, {0xFF, 0xFF00}), 24);
    std::vector<uint8_t> truncated(good.begin(), good.end() - 10);
    std::vector<uint8_t> huge = BuildBmp(100000, 100000, 24, 0, {}, {0, 0, 0, 0});
    std::vector<uint8_t> zero = BuildBmp(0, 5, 24, 0, {}, {0, 0, 0, 0});
    std::vector<uint8_t> badDepth = BuildBmp(1, 1, 7, 0, {}, {0, 0, 0, 0});
    std::vector<uint8_t> badHeader = good;
    badHeader[14] = 9;
    // A run of 5 in a 4-pixel-wide bitmap, and a delta that leaves the bitmap.
    std::vector<uint8_t> rleOverrun = BuildBmp(4, 1, 8, 1, {0, 0xFF}, {5, 1, 0, 1});
    std::vector<uint8_t> rleDelta = BuildBmp(4, 1, 8, 1, {0, 0xFF}, {0, 2, 0, 9, 1, 1, 0, 1});
    std::vector<uint8_t> png = SavePng(MakeImage(20, 20, {0x1, 0x2}));
    std::vector<uint8_t> pngTruncated(png.begin(), png.begin() + long(png.size() / 2));
    std::vector<uint8_t> pngCorrupt = png;
    pngCorrupt[png.size() / 2] ^= 0x55;
    std::vector<uint8_t> icoOutside = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 100, 0, 0, 0, 22, 0, 0, 0};

    struct { const char* name; const std::vector<uint8_t>* data; TImageFormat fmt; } cases[] = {
        {"bmp truncated", &truncated, TImageFormat::Bmp}, {"bmp huge", &huge, TImageFormat::Bmp},
        {"bmp zero width", &zero, TImageFormat::Bmp}, {"bmp bit count", &badDepth, TImageFormat::Bmp},
        {"bmp header size", &badHeader, TImageFormat::Bmp}, {"rle overrun", &rleOverrun, TImageFormat::Bmp},
        {"rle delta", &rleDelta, TImageFormat::Bmp}, {"png truncated", &pngTruncated, TImageFormat::Png},
        {"png corrupt", &pngCorrupt, TImageFormat::Png}, {"png as bmp", &png, TImageFormat::Bmp},
        {"bmp as png", &good, TImageFormat::Png}, {"ico outside", &icoOutside, TImageFormat::Ico},
        {"bmp as ico", &good, TImageFormat::Ico},
    };
    for (auto& c : cases) {
        const uint8_t* d = c.data->data();
        size_t n = c.data->size();
        try {
            if (c.fmt == TImageFormat::Bmp) LoadBmp(d, n);
            else if (c.fmt == TImageFormat::Png) LoadPng(d, n);
            else LoadIco(d, n, 0, 0);
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(std::string(e.what()).find("Invalid"), std::string::npos) << c.name << ": " << e.what();
        }
    }
}
