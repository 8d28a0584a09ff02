// Pixel probes of the canvas, its tools and the graphics drawn on it.
#include <gtest/gtest.h>

#include <cstdio>

#include "host/gdi/Image.h"
#include "host/gdi/Png.h"
#include "host/rtl/Streams.h"
#include "host/vcl/Graphics.h"

using namespace host;

namespace {

// A 10x10 white bitmap to draw on.
struct Board {
    TBitmap Bmp;
    Board(int W = 10, int H = 10)
    {
        Bmp.SetSize(W, H);
    }
    TCanvas* C() { return Bmp.GetCanvas(); }
    TColor At(int X, int Y) { return C()->GetPixels(X, Y); }
};

} // namespace

TEST(Colors, NamesAndSystemColours)
{
    struct Case {
        TColor Color;
        const char* Text;
    } cases[] = {{clRed, "clRed"}, {clBtnFace, "clBtnFace"}, {clSilver, "clSilver"}, {0x123456, "$00123456"},
                 {clNone, "clNone"}};
    for (const Case& c : cases) {
        EXPECT_EQ(ColorToString(c.Color), c.Text);
        EXPECT_EQ(StringToColor(c.Text), c.Color);
    }
    EXPECT_EQ(StringToColor("clLtGray"), clSilver);
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}

TEST(Font, ChangeRealisesNewHandleAndNotifiesOnce)
{
    TFont f;
    EXPECT_EQ(f.GetName(), "MS Sans Serif");
    EXPECT_EQ(f.GetSize(), 8);
    EXPECT_EQ(f.GetHeight(), -11);
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    HFONT h1 = f.GetHandle();
    f.SetStyle(TFontStyles{fsBold});
    EXPECT_EQ(changes, 1);
    f.SetStyle(TFontStyles{fsBold}); // unchanged: no event
    EXPECT_EQ(changes, 1);
    LOGFONT lf;
    ASSERT_NE(GetObject(f.GetHandle(), sizeof lf, &lf), 0);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_NE(GetObjectType(h1), OBJ_FONT) << "the old handle is freed";
    f.SetSize(12);
    EXPECT_EQ(f.GetHeight(), -16);
}

TEST(Font, AdoptedHandleKeepsEscapementThroughAssign)
{
    TFont f;
    LOGFONT lf = f.GetLogFont();
    lf.lfEscapement = 900;
    f.SetHandle(CreateFontIndirect(&lf));
    TFont g;
    g.Assign(&f);
    EXPECT_EQ(g.GetLogFont().lfEscapement, 900);
    g.SetSize(20);
    EXPECT_EQ(g.GetLogFont().lfEscapement, 0) << "a property change rebuilds the font from its properties";
}

TEST(Canvas, ShapesFollowGdiRules)
{
    Board b;
    b.C()->GetPen()->SetColor(clBlack);
    b.C()->GetBrush()->SetColor(clRed);
    b.C()->Rectangle(1, 1, 5, 5);
    EXPECT_EQ(b.At(1, 1), clBlack);
    EXPECT_EQ(b.At(4, 4), clBlack);
    EXPECT_EQ(b.At(2, 2), clRed);
    EXPECT_EQ(b.At(5, 5), clWhite) << "right and bottom are excluded";
    b.C()->MoveTo(0, 8);
    b.C()->LineTo(9, 8);
    EXPECT_EQ(b.At(8, 8), clBlack);
    EXPECT_EQ(b.At(9, 8), clWhite) << "a line does not paint its end point";
    EXPECT_EQ(b.C()->GetPenPos().x, 9);
}

TEST(Canvas, PenModeAndFillTools)
{
    Board b;
    b.C()->GetBrush()->SetColor(clBlue);
    b.C()->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(b.At(3, 3), clBlue);
    b.C()->GetPen()->SetMode(pmNot);
    b.C()->MoveTo(0, 0);
    b.C()->LineTo(4, 0);
    EXPECT_EQ(b.At(0, 0), ColorToRGB(clBlue) ^ 0xFFFFFF);
    b.C()->GetBrush()->SetColor(clLime);
    b.C()->FloodFill(8, 8, clWhite, fsSurface);
    EXPECT_EQ(b.At(9, 9), clLime);
    EXPECT_EQ(b.At(2, 2), clBlue) << "flood fill stops at other colours";
}

TEST(Canvas, TextRectClipsAndFillsItsRectangle)
{
    Board b(20, 20);
    b.C()->GetBrush()->SetColor(clRed);
    b.C()->GetFont()->SetColor(clBlack);
    b.C()->GetFont()->SetSize(14);
    b.C()->TextRect(Rect(0, 0, 6, 20), 0, 0, "WWWW");
    EXPECT_EQ(b.At(5, 19), clRed) << "the brush fills the rectangle";
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 6; ++x) ink += b.At(x, y) == clBlack;
    EXPECT_GT(ink, 0) << "the text is drawn inside";
    for (int y = 0; y < 20; ++y)
        for (int x = 6; x < 20; ++x) ASSERT_EQ(b.At(x, y), clWhite) << x << "," << y;
    b.C()->GetBrush()->SetStyle(bsClear);
    b.C()->TextRect(Rect(10, 0, 20, 20), 10, 0, "W");
    EXPECT_EQ(b.At(19, 19), clWhite) << "a clear brush leaves the background";
}

TEST(Canvas, ChangeEventsSurroundEveryDrawingCall)
{
    Board b;
    std::string log;
    b.C()->OnChanging = [&](TObject*) { log += '<'; };
    b.C()->OnChange = [&](TObject*) { log += '>'; };
    b.C()->Rectangle(0, 0, 2, 2);
    b.C()->TextOut(0, 0, "a");
    EXPECT_EQ(log, "<><>");
}

TEST(Canvas, CopyRectHonoursCopyMode)
{
    Board src, dst;
    src.C()->GetBrush()->SetColor(clRed);
    src.C()->FillRect(Rect(0, 0, 10, 10));
    struct Case {
        TCopyMode Mode;
        COLORREF Expected;
    } cases[] = {{cmSrcCopy, RGB(255, 0, 0)}, {cmNotSrcCopy, RGB(0, 255, 255)}, {cmSrcAnd, RGB(255, 0, 0)},
                 {cmBlackness, RGB(0, 0, 0)}};
    for (const Case& c : cases) {
        dst.C()->GetBrush()->SetColor(clWhite);
        dst.C()->FillRect(Rect(0, 0, 10, 10));
        dst.C()->SetCopyMode(c.Mode);
        dst.C()->CopyRect(Rect(2, 2, 6, 6), src.C(), Rect(0, 0, 4, 4));
        EXPECT_EQ(static_cast<COLORREF>(dst.At(3, 3)), c.Expected) << std::hex << c.Mode;
        EXPECT_EQ(dst.At(7, 7), clWhite);
    }
}

TEST(Canvas, BrushCopyReplacesExactlyTheChosenColour)
{
    Board src, dst;
    src.C()->GetBrush()->SetColor(clRed);
    src.C()->FillRect(Rect(0, 0, 5, 10));
    src.C()->GetBrush()->SetColor(TColor(0x0000FE)); // nearly red must stay
    src.C()->FillRect(Rect(5, 0, 10, 10));
    dst.C()->GetBrush()->SetColor(clGreen);
    dst.C()->BrushCopy(Rect(0, 0, 10, 10), &src.Bmp, Rect(0, 0, 10, 10), clRed);
    EXPECT_EQ(dst.At(2, 2), clGreen);
    EXPECT_EQ(dst.At(7, 2), 0x0000FE);
}

TEST(Bitmap, TransparentDrawLeavesBottomLeftColourUntouched)
{
    Board glyph(4, 4);
    glyph.C()->GetBrush()->SetColor(clFuchsia);
    glyph.C()->FillRect(Rect(0, 0, 4, 4));
    glyph.C()->GetBrush()->SetColor(clNavy);
    glyph.C()->FillRect(Rect(1, 1, 3, 3));
    glyph.Bmp.SetTransparent(true);
    EXPECT_EQ(glyph.Bmp.GetTransparentColor(), clFuchsia);
    Board dst;
    dst.C()->GetBrush()->SetColor(clYellow);
    dst.C()->FillRect(Rect(0, 0, 10, 10));
    dst.C()->Draw(2, 2, &glyph.Bmp);
    EXPECT_EQ(dst.At(2, 2), clYellow);
    EXPECT_EQ(dst.At(3, 3), clNavy);
    EXPECT_EQ(dst.At(5, 5), clYellow);
    glyph.Bmp.SetTransparentColor(clNavy); // tmFixed
    EXPECT_EQ(glyph.Bmp.GetTransparentMode(), tmFixed);
    dst.C()->FillRect(Rect(0, 0, 10, 10));
    dst.C()->Draw(2, 2, &glyph.Bmp);
    EXPECT_EQ(dst.At(2, 2), clFuchsia);
    EXPECT_EQ(dst.At(3, 3), clYellow);
}

TEST(Bitmap, MonochromeDrawUsesFontAndBrushColours)
{
    TBitmap mono;
    mono.SetMonochrome(true);
    mono.SetSize(4, 4);
    mono.GetCanvas()->GetBrush()->SetColor(clBlack);
    mono.GetCanvas()->FillRect(Rect(0, 0, 2, 4));
    Board dst;
    dst.C()->GetFont()->SetColor(clRed);
    dst.C()->GetBrush()->SetColor(clBlue);
    dst.C()->Draw(0, 0, &mono);
    EXPECT_EQ(dst.At(0, 0), clRed);
    EXPECT_EQ(dst.At(3, 0), clBlue);
}

TEST(Bitmap, BmpRoundTripAndSharedCopies)
{
    Board b(6, 5);
    b.C()->SetPixels(1, 2, clTeal);
    TMemoryStream ms;
    b.Bmp.SaveToStream(&ms);
    ms.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(&ms);
    EXPECT_EQ(back.GetWidth(), 6);
    EXPECT_EQ(back.GetHeight(), 5);
    EXPECT_EQ(back.GetCanvas()->GetPixels(1, 2), clTeal);
    EXPECT_EQ(back.GetCanvas()->GetPixels(0, 0), clWhite);

    TBitmap copy;
    copy.Assign(&back);
    copy.GetCanvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(copy.GetCanvas()->GetPixels(0, 0), clRed);
    EXPECT_EQ(back.GetCanvas()->GetPixels(0, 0), clWhite) << "drawing on a copy leaves the original alone";
    EXPECT_EQ(copy.ScanLine(2)[1], 0x008080u) << "scan lines hold 0x00RRGGBB";
}

TEST(Picture, ChoosesGraphicByExtension)
{
    std::string dir = ::testing::TempDir();
    Board b(3, 3);
    b.Bmp.SaveToFile(dir + "pic.bmp");
    TPicture p;
    int changes = 0;
    p.OnChange = [&](TObject*) { ++changes; };
    p.LoadFromFile(dir + "pic.bmp");
    ASSERT_NE(dynamic_cast<TBitmap*>(p.GetGraphic()), nullptr);
    EXPECT_EQ(p.GetWidth(), 3);
    EXPECT_GE(changes, 1);
    try {
        p.LoadFromFile(dir + "pic.xyz");
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Unknown picture file extension (.xyz)");
    }
    EXPECT_NE(dynamic_cast<TBitmap*>(p.GetGraphic()), nullptr) << "a failed load keeps the old graphic";
    EXPECT_NE(GraphicFilter(TGraphic::StaticClass()).find("Bitmaps (*.bmp)|*.bmp"), std::string::npos);
    b.C()->SetPixels(1, 1, clOlive);
    SavePngFile(ImageFromBitmap(b.Bmp.GetHandle()), dir + "pic.png");
    p.LoadFromFile(dir + "pic.png");
    ASSERT_NE(dynamic_cast<TBitmap*>(p.GetGraphic()), nullptr);
    EXPECT_EQ(p.GetBitmap()->GetCanvas()->GetPixels(1, 1), clOlive);
    std::remove((dir + "pic.png").c_str());
    std::remove((dir + "pic.bmp").c_str());
}

TEST(Metafile, ReplaysScaledAndRoundTrips)
{
    TMetafile mf;
    mf.SetWidth(10);
    mf.SetHeight(10);
    {
        TMetafileCanvas mc(&mf, nullptr);
        mc.GetBrush()->SetColor(clRed);
        mc.GetPen()->SetStyle(psClear);
        mc.Rectangle(0, 0, 6, 6);
    }
    EXPECT_FALSE(mf.GetEmpty());
    {
        // Pixels copied into a recording come back with it.
        Board src(2, 2);
        src.C()->SetPixels(0, 0, clGreen);
        TMetafileCanvas mc(&mf, nullptr);
        mc.GetBrush()->SetColor(clRed);
        mc.GetPen()->SetStyle(psClear);
        mc.Rectangle(0, 0, 6, 6);
        mc.CopyRect(Rect(8, 8, 10, 10), src.C(), Rect(0, 0, 2, 2));
    }
    TMemoryStream ms;
    mf.SaveToStream(&ms);
    ms.SetPosition(0);
    TMetafile back;
    back.LoadFromStream(&ms);
    Board dst(20, 20);
    dst.C()->StretchDraw(Rect(0, 0, 20, 20), &back);
    EXPECT_EQ(dst.At(9, 9), clRed) << "inside the doubled rectangle";
    EXPECT_EQ(dst.At(13, 13), clWhite);
    EXPECT_EQ(dst.At(16, 16), clGreen) << "copied pixels, doubled";
    EXPECT_EQ(dst.At(17, 17), clGreen);
    EXPECT_EQ(dst.At(18, 18), clWhite);
    TMemoryStream bad;
    bad.WriteBuffer("KMF1\x01\0\0\0", 8);
    bad.SetPosition(0);
    EXPECT_THROW(back.LoadFromStream(&bad), EInvalidGraphic);
}
