// A reference scene drawn with the canvas, written as a PNG for a person to
// look at (canvas_scene.png in the test temporary folder).
#include <gtest/gtest.h>

#include "host/gdi/Image.h"
#include "host/gdi/Png.h"
#include "host/vcl/Graphics.h"

using namespace host;

TEST(CanvasScene, RendersEveryKindOfCall)
{
    TBitmap scene;
    scene.SetSize(240, 160);
    TCanvas* c = scene.GetCanvas();
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, 240, 160));

    c->GetPen()->SetColor(clNavy);
    c->GetPen()->SetWidth(2);
    c->GetBrush()->SetColor(clYellow);
    c->Rectangle(10, 10, 60, 50);
    c->GetBrush()->SetStyle(bsDiagCross);
    c->GetBrush()->SetColor(clGreen);
    c->Ellipse(70, 10, 130, 50);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clAqua);
    c->RoundRect(140, 10, 200, 50, 16, 16);
    c->GetPen()->SetWidth(1);
    c->GetBrush()->SetColor(clFuchsia);
    c->Pie(200, 60, 240, 100, 240, 80, 220, 60);
    c->Polygon({Point(10, 100), Point(40, 60), Point(70, 100)});
    c->GetPen()->SetColor(clRed);
    c->PolyBezier({Point(80, 100), Point(100, 50), Point(130, 150), Point(150, 70)});
    c->Arc(150, 60, 200, 110, 200, 85, 150, 85);

    c->GetFont()->SetName("Arial");
    c->GetFont()->SetSize(10);
    c->GetFont()->SetColor(clBlack);
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(10, 110, "Canvas text");
    TFont* f = c->GetFont();
    LOGFONT lf = f->GetLogFont();
    lf.lfEscapement = lf.lfOrientation = 450;
    f->SetHandle(CreateFontIndirect(&lf));
    c->TextOut(120, 150, "Rotated");

    TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.GetCanvas()->GetBrush()->SetColor(clLime);
    glyph.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.GetCanvas()->GetBrush()->SetColor(clMaroon);
    glyph.GetCanvas()->Ellipse(2, 2, 14, 14);
    glyph.SetTransparent(true);
    c->Draw(200, 120, &glyph);
    c->DrawFocusRect(Rect(196, 116, 220, 140));

    EXPECT_EQ(c->GetPixels(30, 30), clYellow);
    EXPECT_EQ(c->GetPixels(170, 30), clAqua);
    EXPECT_EQ(c->GetPixels(208, 128), clMaroon);
    EXPECT_EQ(c->GetPixels(200, 120), static_cast<TColor>(ColorToRGB(clBtnFace))) << "transparent corner";
    EXPECT_GT(c->TextWidth("Canvas text"), 40);

    std::string path = ::testing::TempDir() + "canvas_scene.png";
    SavePngFile(ImageFromBitmap(scene.GetHandle()), path);
}
