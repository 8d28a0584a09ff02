#include "GdiTestUtil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace host;
using host::test::Selected;
using host::test::TestCanvas;

namespace {

constexpr COLORREF kP = RGB(0xF0, 0x3C, 0x96);
constexpr COLORREF kS = RGB(0xCC, 0x5A, 0x0F);
constexpr COLORREF kD = RGB(0xAA, 0x69, 0x33);
constexpr COLORREF kMask = 0xFFFFFF;

}  // namespace

TEST(Rop, AllSixteenRop2Modes)
{
    using F = std::function<COLORREF(COLORREF, COLORREF)>;
    struct Case {
        int mode;
        F f;
    } cases[] = {
        {R2_BLACK, [](COLORREF, COLORREF) { return 0u; }},
        {R2_NOTMERGEPEN, [](COLORREF p, COLORREF d) { return ~(p | d); }},
        {R2_MASKNOTPEN, [](COLORREF p, COLORREF d) { return ~p & d; }},
        {R2_NOTCOPYPEN, [](COLORREF p, COLORREF) { return ~p; }},
        {R2_MASKPENNOT, [](COLORREF p, COLORREF d) { return p & ~d; }},
        {R2_NOT, [](COLORREF, COLORREF d) { return ~d; }},
        {R2_XORPEN, [](COLORREF p, COLORREF d) { return p ^ d; }},
        {R2_NOTMASKPEN, [](COLORREF p, COLORREF d) { return ~(p & d); }},
        {R2_MASKPEN, [](COLORREF p, COLORREF d) { return p & d; }},
        {R2_NOTXORPEN, [](COLORREF p, COLORREF d) { return ~(p ^ d); }},
        {R2_NOP, [](COLORREF, COLORREF d) { return d; }},
        {R2_MERGENOTPEN, [](COLORREF p, COLORREF d) { return ~p | d; }},
        {R2_COPYPEN, [](COLORREF p, COLORREF) { return p; }},
        {R2_MERGEPENNOT, [](COLORREF p, COLORREF d) { return p | ~d; }},
        {R2_MERGEPEN, [](COLORREF p, COLORREF d) { return p | d; }},
        {R2_WHITE, [](COLORREF, COLORREF) { return 0xFFFFFFu; }},
    };
    for (const Case& c : cases) {
        TestCanvas cv(4, 4, kD);
        Selected pen(cv.Dc, CreatePen(PS_SOLID, 1, kP));
        Selected brush(cv.Dc, CreateSolidBrush(kP));
        EXPECT_NE(SetROP2(cv.Dc, c.mode), 0);
        MoveToEx(cv.Dc, 0, 0, nullptr);
        LineTo(cv.Dc, 2, 0);
        SelectObject(cv.Dc, GetStockObject(NULL_PEN));
        Rectangle(cv.Dc, 0, 2, 3, 4);  // brush fills follow ROP2 too
        COLORREF want = c.f(kP, kD) & kMask;
        EXPECT_EQ(cv.At(0, 0), want) << "mode " << c.mode;
        EXPECT_EQ(cv.At(0, 2), want) << "brush, mode " << c.mode;
        EXPECT_EQ(cv.At(3, 3), kD);
    }
}

TEST(Rop, TernaryCodes)
{
    using F = std::function<COLORREF(COLORREF, COLORREF, COLORREF)>;
    struct Case {
        DWORD rop;
        F f;
    } cases[] = {
        {SRCCOPY, [](COLORREF, COLORREF s, COLORREF) { return s; }},
        {SRCPAINT, [](COLORREF, COLORREF s, COLORREF d) { return s | d; }},
        {SRCAND, [](COLORREF, COLORREF s, COLORREF d) { return s & d; }},
        {SRCINVERT, [](COLORREF, COLORREF s, COLORREF d) { return s ^ d; }},
        {SRCERASE, [](COLORREF, COLORREF s, COLORREF d) { return s & ~d; }},
        {NOTSRCCOPY, [](COLORREF, COLORREF s, COLORREF) { return ~s; }},
        {NOTSRCERASE, [](COLORREF, COLORREF s, COLORREF d) { return ~(s | d); }},
        {MERGECOPY, [](COLORREF p, COLORREF s, COLORREF) { return p & s; }},
        {MERGEPAINT, [](COLORREF, COLORREF s, COLORREF d) { return ~s | d; }},
        {PATCOPY, [](COLORREF p, COLORREF, COLORREF) { return p; }},
        {PATPAINT, [](COLORREF p, COLORREF s, COLORREF d) { return p | ~s | d; }},
        {PATINVERT, [](COLORREF p, COLORREF, COLORREF d) { return p ^ d; }},
        {DSTINVERT, [](COLORREF, COLORREF, COLORREF d) { return ~d; }},
        {BLACKNESS, [](COLORREF, COLORREF, COLORREF) { return 0u; }},
        {WHITENESS, [](COLORREF, COLORREF, COLORREF) { return 0xFFFFFFu; }},
        {0x00E20746, [](COLORREF p, COLORREF s, COLORREF d) { return (s & p) | (~s & d); }},
        {0x00B8074A, [](COLORREF p, COLORREF s, COLORREF d) { return (s & d) | (~s & p); }},
        {0x00960000, [](COLORREF p, COLORREF s, COLORREF d) { return p ^ s ^ d; }},
    };
    for (const Case& c : cases) {
        TestCanvas src(3, 3, kS), dst(3, 3, kD);
        Selected brush(dst.Dc, CreateSolidBrush(kP));
        EXPECT_TRUE(BitBlt(dst.Dc, 0, 0, 2, 2, src.Dc, 0, 0, c.rop));
        EXPECT_EQ(dst.At(1, 1), c.f(kP, kS, kD) & kMask) << std::hex << c.rop;
        EXPECT_EQ(dst.At(2, 2), kD) << std::hex << c.rop;
    }
}

TEST(Rop, PatBltRefusesSourceCodes)
{
    TestCanvas cv(2, 2, kD);
    EXPECT_FALSE(PatBlt(cv.Dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_TRUE(PatBlt(cv.Dc, 0, 0, 2, 2, DSTINVERT));
    EXPECT_EQ(cv.At(0, 0), ~kD & kMask);
}

// Monochrome sources take the destination's text colour for 0 bits and its
// background colour for 1 bits; colour sources become 1 where they match the
// source DC's background colour.
TEST(Rop, MonochromeConversions)
{
    TestCanvas mono(2, 1, RGB(0, 0, 0), true);
    SetPixel(mono.Dc, 1, 0, RGB(255, 255, 255));
    TestCanvas colour(2, 1);
    SetTextColor(colour.Dc, RGB(255, 0, 0));
    SetBkColor(colour.Dc, RGB(0, 255, 0));
    BitBlt(colour.Dc, 0, 0, 2, 1, mono.Dc, 0, 0, SRCCOPY);
    EXPECT_EQ(colour.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(colour.At(1, 0), RGB(0, 255, 0));

    TestCanvas src(3, 1, RGB(0, 0, 255));
    SetPixel(src.Dc, 1, 0, RGB(255, 0, 0));
    SetPixel(src.Dc, 2, 0, RGB(255, 255, 255));
    SetBkColor(src.Dc, RGB(0, 0, 255));
    TestCanvas out(3, 1, RGB(0, 0, 0), true);
    BitBlt(out.Dc, 0, 0, 3, 1, src.Dc, 0, 0, SRCCOPY);
    EXPECT_EQ(out.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(out.At(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(out.At(2, 0), RGB(0, 0, 0));  // white, but not the background colour
}

TEST(Rop, StretchAndMirror)
{
    TestCanvas src(2, 1);
    SetPixel(src.Dc, 0, 0, RGB(255, 0, 0));
    SetPixel(src.Dc, 1, 0, RGB(0, 0, 255));
    TestCanvas dst(4, 2);
    StretchBlt(dst.Dc, 0, 0, 4, 2, src.Dc, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(dst.At(2, 0), RGB(0, 0, 255));
    StretchBlt(dst.Dc, 0, 0, 4, 1, src.Dc, 1, 0, -2, 1, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(dst.At(3, 0), RGB(255, 0, 0));
}

TEST(Rop, OverlappingBlitWithinOneBitmap)
{
    TestCanvas cv(6, 1);
    for (int x = 0; x < 4; ++x)
        SetPixel(cv.Dc, x, 0, RGB(x * 10, 0, 0));
    BitBlt(cv.Dc, 1, 0, 4, 1, cv.Dc, 0, 0, SRCCOPY);
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(cv.At(x, 0), RGB((x - 1) * 10, 0, 0)) << x;
}

// Hatches repeat every 8 pixels from the brush origin; the spaces between
// hatch lines take the background colour only in opaque mode.
TEST(Brushes, HatchFollowsOriginAndBackgroundMode)
{
    struct Case {
        int orgX;
        int bkMode;
        int line1, line2;
        COLORREF gap;
    } cases[] = {{0, OPAQUE, 4, 12, RGB(0, 255, 0)},
                 {2, OPAQUE, 6, 14, RGB(0, 255, 0)},
                 {0, TRANSPARENT, 4, 12, RGB(255, 255, 255)}};
    for (const Case& c : cases) {
        TestCanvas cv(16, 2);
        SetBkColor(cv.Dc, RGB(0, 255, 0));
        SetBkMode(cv.Dc, c.bkMode);
        SetBrushOrgEx(cv.Dc, c.orgX, 0, nullptr);
        HBRUSH b = CreateHatchBrush(HS_VERTICAL, RGB(255, 0, 0));
        RECT r{0, 0, 16, 2};
        FillRect(cv.Dc, &r, b);
        DeleteObject(b);
        for (int x = 0; x < 16; ++x) {
            bool line = x == c.line1 || x == c.line2;
            EXPECT_EQ(cv.At(x, 1), line ? RGB(255, 0, 0) : c.gap) << "org " << c.orgX << " x " << x;
        }
    }
}

TEST(Brushes, HatchShapes)
{
    struct Case {
        int hatch;
        POINT on, off;
    } cases[] = {{HS_HORIZONTAL, {1, 3}, {1, 2}}, {HS_VERTICAL, {4, 0}, {3, 0}},
                 {HS_FDIAGONAL, {2, 2}, {2, 3}}, {HS_BDIAGONAL, {7, 0}, {0, 0}},
                 {HS_CROSS, {4, 3}, {5, 5}},     {HS_DIAGCROSS, {7, 0}, {3, 0}}};
    for (const Case& c : cases) {
        TestCanvas cv(8, 8);
        HBRUSH b = CreateHatchBrush(c.hatch, RGB(0, 0, 0));
        RECT r{0, 0, 8, 8};
        FillRect(cv.Dc, &r, b);
        DeleteObject(b);
        EXPECT_EQ(cv.At(c.on.x, c.on.y), RGB(0, 0, 0)) << c.hatch;
        EXPECT_EQ(cv.At(c.off.x, c.off.y), RGB(255, 255, 255)) << c.hatch;
    }
}

// Monochrome pattern brushes draw 0 bits in the text colour and 1 bits in the
// background colour current when they are used.
TEST(Brushes, MonochromePatternUsesDcColours)
{
    const WORD rows[8] = {0x0080, 0, 0, 0, 0, 0, 0, 0};  // bit 0x80 of byte 0: pixel (0,0)
    HBITMAP bmp = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(bmp);
    DeleteObject(bmp);  // the brush keeps its own copy
    TestCanvas cv(10, 2);
    SetTextColor(cv.Dc, RGB(255, 0, 0));
    SetBkColor(cv.Dc, RGB(0, 0, 255));
    RECT r{0, 0, 10, 2};
    FillRect(cv.Dc, &r, brush);
    EXPECT_EQ(cv.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(cv.At(8, 0), RGB(0, 0, 255));
    EXPECT_EQ(cv.At(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(cv.At(0, 1), RGB(255, 0, 0));
    DeleteObject(brush);
}

TEST(Brushes, ColourPatternRepeats)
{
    TestCanvas pat(2, 2, RGB(0, 0, 0));
    SetPixel(pat.Dc, 1, 1, RGB(0, 255, 0));
    HBRUSH brush = CreatePatternBrush(pat.Bmp);
    TestCanvas cv(8, 8);
    SetBrushOrgEx(cv.Dc, 1, 0, nullptr);
    RECT r{0, 0, 8, 8};
    FillRect(cv.Dc, &r, brush);
    EXPECT_EQ(cv.At(2, 1), RGB(0, 255, 0));
    EXPECT_EQ(cv.At(4, 3), RGB(0, 255, 0));
    EXPECT_EQ(cv.At(1, 1), RGB(0, 0, 0));
    DeleteObject(brush);
}

// Shrinking merges the source pixels of each block as the stretch mode says.
TEST(Rop, StretchModesWhenShrinking)
{
    struct Case {
        int mode;
        COLORREF merged;
    } cases[] = {{BLACKONWHITE, RGB(0, 0, 0)},
                 {WHITEONBLACK, RGB(255, 255, 255)},
                 {HALFTONE, RGB(127, 127, 127)}};
    for (const Case& c : cases) {
        TestCanvas src(4, 2);
        SetPixel(src.Dc, 0, 0, RGB(0, 0, 0));
        SetPixel(src.Dc, 0, 1, RGB(0, 0, 0));
        TestCanvas dst(2, 1, RGB(9, 9, 9));
        EXPECT_NE(SetStretchBltMode(dst.Dc, c.mode), 0);
        StretchBlt(dst.Dc, 0, 0, 2, 1, src.Dc, 0, 0, 4, 2, SRCCOPY);
        EXPECT_EQ(dst.At(0, 0), c.merged) << c.mode;
        EXPECT_EQ(dst.At(1, 0), RGB(255, 255, 255)) << c.mode;
    }
    TestCanvas src(4, 2);
    SetPixel(src.Dc, 0, 0, RGB(0, 0, 0));
    TestCanvas dst(2, 1, RGB(9, 9, 9));
    SetStretchBltMode(dst.Dc, COLORONCOLOR);
    StretchBlt(dst.Dc, 0, 0, 2, 1, src.Dc, 0, 0, 4, 2, SRCCOPY);
    COLORREF kept = dst.At(0, 0);
    EXPECT_TRUE(kept == RGB(0, 0, 0) || kept == RGB(255, 255, 255));
}
