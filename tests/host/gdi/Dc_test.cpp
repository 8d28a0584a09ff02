#include "GdiTestUtil.h"

#include "host/gdi/DcInternal.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace host;
using host::test::Selected;
using host::test::TestCanvas;

TEST(Dc, SaveAndRestoreAbsoluteAndRelative)
{
    TestCanvas cv;
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    SetTextColor(cv.Dc, RGB(1, 2, 3));
    int first = SaveDC(cv.Dc);
    HGDIOBJ before = SelectObject(cv.Dc, red);
    SetTextColor(cv.Dc, RGB(4, 5, 6));
    SetViewportOrgEx(cv.Dc, 3, 3, nullptr);
    int second = SaveDC(cv.Dc);
    SetTextColor(cv.Dc, RGB(7, 8, 9));
    EXPECT_EQ(second, first + 1);
    EXPECT_TRUE(RestoreDC(cv.Dc, -1));
    EXPECT_EQ(GetTextColor(cv.Dc), RGB(4, 5, 6));
    EXPECT_EQ(GetCurrentObject(cv.Dc, OBJ_PEN), red);
    EXPECT_TRUE(RestoreDC(cv.Dc, first));
    EXPECT_EQ(GetTextColor(cv.Dc), RGB(1, 2, 3));
    EXPECT_EQ(GetCurrentObject(cv.Dc, OBJ_PEN), before);
    POINT org;
    GetViewportOrgEx(cv.Dc, &org);
    EXPECT_EQ(org, (POINT{0, 0}));
    EXPECT_FALSE(RestoreDC(cv.Dc, -1));  // nothing saved any more
    EXPECT_FALSE(RestoreDC(cv.Dc, 0));
    MoveToEx(cv.Dc, 0, 0, nullptr);
    LineTo(cv.Dc, 1, 0);
    EXPECT_EQ(cv.At(0, 0), RGB(0, 0, 0));  // the black pen is back in use
    EXPECT_TRUE(DeleteObject(red));
}

TEST(Objects, StockObjectsSurviveDelete)
{
    for (int i : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, BLACK_PEN, NULL_PEN, WHITE_PEN}) {
        HGDIOBJ h = GetStockObject(i);
        ASSERT_NE(h, nullptr);
        EXPECT_TRUE(DeleteObject(h));
        EXPECT_EQ(GetStockObject(i), h);
        EXPECT_NE(GetObjectType(h), 0u) << i;
    }
    HBRUSH sys = GetSysColorBrush(COLOR_BTNFACE);
    DeleteObject(sys);
    LOGBRUSH lb;
    EXPECT_EQ(GetObject(sys, sizeof lb, &lb), int(sizeof lb));
    EXPECT_EQ(lb.lbColor, RGB(192, 192, 192));
}

// A pen deleted while selected keeps drawing and is freed when deselected;
// a selected bitmap cannot be deleted; a bitmap lives in one DC at a time.
TEST(Objects, DeletingSelectedObjects)
{
    TestCanvas cv;
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(cv.Dc, red);
    EXPECT_TRUE(DeleteObject(red));
    MoveToEx(cv.Dc, 0, 0, nullptr);
    LineTo(cv.Dc, 1, 0);
    EXPECT_EQ(cv.At(0, 0), RGB(255, 0, 0));
    SelectObject(cv.Dc, old);
    EXPECT_EQ(GetObjectType(red), 0u);
    EXPECT_FALSE(DeleteObject(red));

    EXPECT_FALSE(DeleteObject(cv.Bmp));
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, cv.Bmp), nullptr);
    DeleteDC(other);
    EXPECT_EQ(GetObjectType(cv.Bmp), DWORD(OBJ_BITMAP));
}

TEST(Objects, GetObjectReportsPensBrushesBitmaps)
{
    HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
    LOGPEN lp;
    EXPECT_EQ(GetObject(pen, 0, nullptr), int(sizeof lp));
    ASSERT_EQ(GetObject(pen, sizeof lp, &lp), int(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, UINT(PS_DASH));
    EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
    DeleteObject(pen);
    HBITMAP mono = CreateBitmap(17, 3, 1, 1, nullptr);
    BITMAP bm;
    ASSERT_EQ(GetObject(mono, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 4);
    EXPECT_EQ(bm.bmHeight, 3);
    DeleteObject(mono);
    EXPECT_EQ(GetObject(mono, sizeof bm, &bm), 0);
}

TEST(Bitmaps, CompatibleBitmapFollowsTheDc)
{
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP fromMem = CreateCompatibleBitmap(mem, 4, 4);  // still holds its 1x1 mono bitmap
    HBITMAP fromScreen = CreateCompatibleBitmap(nullptr, 4, 4);
    BITMAP bm;
    GetObject(fromMem, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    GetObject(fromScreen, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(GetDeviceCaps(mem, BITSPIXEL), 1);
    EXPECT_EQ(GetDeviceCaps(mem, LOGPIXELSY), 96);
    SelectObject(mem, fromScreen);
    EXPECT_EQ(GetDeviceCaps(mem, HORZRES), 4);
    EXPECT_EQ(GetDeviceCaps(mem, BITSPIXEL), 32);
    DeleteDC(mem);
    DeleteObject(fromMem);
    DeleteObject(fromScreen);
}

TEST(Bitmaps, DibSectionsShareMemory)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biWidth = 3;
    bmi.bmiHeader.biHeight = 2;  // bottom-up
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    static_cast<uint32_t*>(bits)[0] = 0x00FF0000;  // first row in memory is the bottom row
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, dib);
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0));
    SetPixel(dc, 2, 0, RGB(0, 0, 255));
    EXPECT_EQ(static_cast<uint32_t*>(bits)[3 + 2], 0x000000FFu);
    DeleteDC(dc);
    DeleteObject(dib);
    bmi.bmiHeader.biBitCount = 24;
    EXPECT_EQ(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
}

TEST(Bitmaps, DibTransfers)
{
    TestCanvas cv(3, 2);
    SetPixel(cv.Dc, 0, 0, RGB(10, 20, 30));
    SetPixel(cv.Dc, 2, 1, RGB(40, 50, 60));
    SelectObject(cv.Dc, cv.Old);  // GetDIBits wants the bitmap free
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD pal[256];
    } info{};
    info.h.biBitCount = 0;
    ASSERT_EQ(GetDIBits(cv.Dc, cv.Bmp, 0, 2, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
    EXPECT_EQ(info.h.biWidth, 3);
    info.h.biBitCount = 24;
    uint8_t rows[2][12] = {};
    ASSERT_EQ(GetDIBits(cv.Dc, cv.Bmp, 0, 2, rows, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
    EXPECT_EQ(rows[1][0], 30);  // top row last (bottom-up), bytes B, G, R
    EXPECT_EQ(rows[1][2], 10);
    EXPECT_EQ(rows[0][6], 60);

    // An 8-bit DIB with a palette goes back in through SetDIBits.
    info.h.biBitCount = 8;
    info.h.biClrUsed = 2;
    info.pal[0] = RGBQUAD{0, 0, 255, 0};
    info.pal[1] = RGBQUAD{0, 255, 0, 0};
    uint8_t idx[2][4] = {{1, 0, 1, 0}, {0, 0, 1, 0}};  // bottom row first
    EXPECT_EQ(SetDIBits(cv.Dc, cv.Bmp, 0, 2, idx, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 2);
    SelectObject(cv.Dc, cv.Bmp);
    EXPECT_EQ(cv.At(0, 1), RGB(0, 255, 0));
    EXPECT_EQ(cv.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(cv.At(2, 0), RGB(0, 255, 0));
    // And straight onto the DC, stretched twice as wide.
    TestCanvas big(6, 2);
    StretchDIBits(big.Dc, 0, 0, 6, 2, 0, 0, 3, 2, idx, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(big.At(0, 1), RGB(0, 255, 0));
    EXPECT_EQ(big.At(1, 1), RGB(0, 255, 0));
    EXPECT_EQ(big.At(2, 1), RGB(255, 0, 0));
}

TEST(Drawing, FocusRectIsADottedXor)
{
    TestCanvas cv;
    RECT r{1, 1, 9, 7};
    DrawFocusRect(cv.Dc, &r);
    EXPECT_EQ(cv.At(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(cv.At(2, 1), RGB(255, 255, 255));
    EXPECT_EQ(cv.At(3, 1), RGB(0, 0, 0));
    EXPECT_EQ(cv.At(8, 2), RGB(0, 0, 0));  // the dots follow (x + y) even
    EXPECT_EQ(cv.At(8, 3), RGB(255, 255, 255));
    EXPECT_EQ(cv.At(4, 4), RGB(255, 255, 255));
    cv.Clear(RGB(255, 255, 255));
    SetPixel(cv.Dc, 3, 1, RGB(12, 34, 56));
    std::string before = cv.Mask();
    COLORREF probe = cv.At(3, 1);
    DrawFocusRect(cv.Dc, &r);
    DrawFocusRect(cv.Dc, &r);
    EXPECT_EQ(cv.Mask(), before);
    EXPECT_EQ(cv.At(3, 1), probe);
}

TEST(Drawing, InvertAndFillRectWithSystemColourIndex)
{
    TestCanvas cv(4, 4);
    RECT r{0, 0, 2, 2};
    FillRect(cv.Dc, &r, reinterpret_cast<HBRUSH>(uintptr_t(COLOR_HIGHLIGHT + 1)));
    EXPECT_EQ(cv.At(1, 1), RGB(0, 0, 128));
    InvertRect(cv.Dc, &r);
    EXPECT_EQ(cv.At(1, 1), RGB(255, 255, 127));
    EXPECT_EQ(cv.At(2, 2), RGB(255, 255, 255));
}

TEST(Drawing, DrawEdgeColoursAndAdjust)
{
    const COLORREF light = GetSysColor(COLOR_3DLIGHT), hi = GetSysColor(COLOR_BTNHIGHLIGHT),
                   sh = GetSysColor(COLOR_BTNSHADOW), dk = GetSysColor(COLOR_3DDKSHADOW),
                   face = GetSysColor(COLOR_BTNFACE), win = GetSysColor(COLOR_WINDOW),
                   frame = GetSysColor(COLOR_WINDOWFRAME), bg = RGB(1, 2, 3);
    struct Case {
        UINT edge, flags;
        COLORREF outerTL, innerTL, innerBR, outerBR, topRight, middle;
    } cases[] = {
        {EDGE_RAISED, BF_RECT, light, hi, sh, dk, dk, bg},
        {EDGE_SUNKEN, BF_RECT, sh, dk, light, hi, hi, bg},
        {EDGE_ETCHED, BF_RECT, sh, hi, sh, hi, hi, bg},
        {EDGE_BUMP, BF_RECT, light, dk, light, dk, dk, bg},
        {EDGE_RAISED, BF_RECT | BF_SOFT, hi, light, sh, dk, dk, bg},
        {EDGE_RAISED, BF_RECT | BF_MIDDLE, light, hi, sh, dk, dk, face},
        {EDGE_SUNKEN, BF_RECT | BF_FLAT | BF_MIDDLE, sh, face, face, sh, sh, win},
        {EDGE_SUNKEN, BF_RECT | BF_MONO, frame, win, win, frame, frame, bg},
        {BDR_RAISEDOUTER, BF_RECT, light, bg, bg, dk, dk, bg},
    };
    for (const Case& c : cases) {
        TestCanvas cv(10, 10, bg);
        RECT r{0, 0, 10, 10};
        EXPECT_TRUE(DrawEdge(cv.Dc, &r, c.edge, c.flags | BF_ADJUST));
        SCOPED_TRACE(testing::Message() << std::hex << c.edge << " " << c.flags);
        EXPECT_EQ(cv.At(0, 5), c.outerTL);
        EXPECT_EQ(cv.At(5, 0), c.outerTL);
        EXPECT_EQ(cv.At(1, 5), c.innerTL);
        EXPECT_EQ(cv.At(8, 5), c.innerBR);
        EXPECT_EQ(cv.At(5, 9), c.outerBR);
        EXPECT_EQ(cv.At(9, 0), c.topRight);
        EXPECT_EQ(cv.At(5, 5), c.middle);
        int inset = (c.edge & BDR_INNER) ? 2 : 1;
        EXPECT_EQ(r, (RECT{inset, inset, 10 - inset, 10 - inset}));
    }
}

TEST(Drawing, DrawEdgePartialSides)
{
    TestCanvas cv(6, 6, RGB(1, 2, 3));
    RECT r{0, 0, 6, 6};
    DrawEdge(cv.Dc, &r, BDR_RAISEDOUTER, BF_TOP | BF_LEFT | BF_ADJUST);
    EXPECT_EQ(cv.At(5, 0), GetSysColor(COLOR_3DLIGHT));  // top runs to the right end
    EXPECT_EQ(cv.At(0, 5), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(cv.At(5, 5), RGB(1, 2, 3));
    EXPECT_EQ(r, (RECT{1, 1, 6, 6}));

    TestCanvas d(6, 6, RGB(1, 2, 3));
    RECT dr{0, 0, 6, 6};
    DrawEdge(d.Dc, &dr, EDGE_RAISED, BF_DIAGONAL_ENDTOPRIGHT);
    EXPECT_NE(d.At(0, 5), RGB(1, 2, 3));
    EXPECT_NE(d.At(3, 2), RGB(1, 2, 3));
    EXPECT_EQ(d.At(0, 0), RGB(1, 2, 3));
}

TEST(SysColors, ClassicSchemeAndOverride)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), RGB(223, 223, 223));
    HBRUSH b = GetSysColorBrush(COLOR_INFOBK);
    int idx = COLOR_INFOBK;
    COLORREF c = RGB(1, 1, 1);
    ASSERT_TRUE(SetSysColors(1, &idx, &c));
    LOGBRUSH lb;
    GetObject(b, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, c);
    c = RGB(255, 255, 225);
    SetSysColors(1, &idx, &c);
}

// The text engine's entry: device coordinates, the DC's clip and no ROP2.
TEST(Internal, PaintHelpersClipAndIgnoreRop2)
{
    TestCanvas cv;
    gdi::Dc* dc = gdi::FindDc(cv.Dc);
    ASSERT_NE(dc, nullptr);
    SetROP2(cv.Dc, R2_NOT);
    IntersectClipRect(cv.Dc, 0, 0, 5, 10);
    gdi::Span spans[] = {{1, 3, 8}};
    gdi::PaintSpans(*dc, spans, 1, RGB(255, 0, 0));
    const uint8_t cov[4] = {255, 128, 0, 255};
    gdi::PaintCoverage(*dc, 2, 3, 4, 1, cov, 4, RGB(0, 0, 0));
    SelectClipRgn(cv.Dc, nullptr);
    EXPECT_EQ(cv.At(4, 1), RGB(255, 0, 0));
    EXPECT_EQ(cv.At(5, 1), RGB(255, 255, 255));
    EXPECT_EQ(cv.At(2, 3), RGB(0, 0, 0));
    EXPECT_EQ(cv.At(3, 3), RGB(127, 127, 127));
    EXPECT_EQ(cv.At(4, 3), RGB(255, 255, 255));
    EXPECT_EQ(cv.At(5, 3), RGB(255, 255, 255));  // clipped
}

// A window-style DC: device (0, 0) at an origin on a shared surface, drawing
// only inside its visible region; brush patterns align to the device origin.
TEST(Internal, SurfaceDcWithOriginAndVisibleRegion)
{
    std::vector<uint32_t> pixels(20 * 10, 0x00FFFFFF);
    gdi::Surface screen{pixels.data(), 20, 10, 20, false};
    HDC dc = gdi::CreateSurfaceDc(&screen, POINT{5, 2}, gdi::Region(RECT{5, 2, 12, 6}));
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 7, 4}));
    RECT all{-10, -10, 30, 30};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    auto at = [&](int x, int y) { return pixels[size_t(y * 20 + x)]; };
    EXPECT_EQ(at(5, 2), 0u);
    EXPECT_EQ(at(11, 5), 0u);
    EXPECT_EQ(at(12, 5), 0x00FFFFFFu);
    EXPECT_EQ(at(4, 2), 0x00FFFFFFu);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 7, 0), CLR_INVALID);

    gdi::SetSurfaceDcArea(dc, POINT{1, 1}, std::nullopt);
    HBRUSH hatch = CreateHatchBrush(HS_VERTICAL, RGB(255, 0, 0));
    RECT row{0, 0, 10, 1};
    FillRect(dc, &row, hatch);
    EXPECT_EQ(at(1 + 4, 1), 0x00FF0000u);  // column 4 of the device, not of the surface
    EXPECT_FALSE(DeleteDC(dc));
    SelectObject(dc, hatch);
    gdi::DestroySurfaceDc(dc);
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_TRUE(DeleteObject(hatch));  // released with the DC
    EXPECT_EQ(GetObjectType(hatch), 0u);
}
