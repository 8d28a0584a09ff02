// Panels and bevels: where children go and which edge gets which colour.
#include "ControlTest.h"
#include "host/vcl/ExtCtrls.h"
#include "host/vcl/Filer.h"

namespace controltest {
namespace {

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

TEST_F(ControlTest, PanelShrinksTheAlignRectByBorderAndBevels)
{
    TTestPanel* root = Root();
    struct TCase {
        TBevelCut Outer, Inner;
        int BevelWidth, BorderWidth, Inset;
    } cases[] = {
        {bvNone, bvNone, 1, 0, 0},    {bvRaised, bvNone, 1, 0, 1},  {bvRaised, bvLowered, 2, 0, 4},
        {bvLowered, bvNone, 3, 5, 8}, {bvNone, bvRaised, 1, 2, 3},
    };
    for (const TCase& k : cases) {
        auto* panel = Make<TPanel>(root, "P", 10, 10, 200, 100);
        panel->SetBevelOuter(k.Outer);
        panel->SetBevelInner(k.Inner);
        panel->SetBevelWidth(k.BevelWidth);
        panel->SetBorderWidth(k.BorderWidth);
        auto* child = Make<TTestPanel>(panel, "C", 0, 0, 10, 10);
        child->SetAlign(alClient);
        EXPECT_EQ(child->GetBoundsRect(), (TRect{k.Inset, k.Inset, 200 - k.Inset, 100 - k.Inset}))
            << k.Outer << k.Inner << k.BevelWidth << k.BorderWidth;
        panel->Free();
    }
}

TEST(Frame3D, CornersBelongToTheBottomColourAndRectShrinks)
{
    auto* bmp = new TBitmap();
    bmp->SetWidth(6);
    bmp->SetHeight(5);
    TCanvas* c = bmp->GetCanvas();
    c->GetBrush()->SetColor(clWhite);
    c->FillRect(TRect{0, 0, 6, 5});
    TRect r{0, 0, 6, 5};
    Frame3D(c, r, clRed, clBlue, 1);
    EXPECT_EQ(r, (TRect{1, 1, 5, 4}));
    EXPECT_EQ(c->GetPixels(0, 0), clRed);
    EXPECT_EQ(c->GetPixels(5, 0), clBlue);
    EXPECT_EQ(c->GetPixels(0, 4), clBlue);
    EXPECT_EQ(c->GetPixels(0, 3), clRed);
    EXPECT_EQ(c->GetPixels(5, 4), clBlue);
    EXPECT_EQ(c->GetPixels(2, 2), clWhite);
    bmp->Free();
}

TEST_F(ControlTest, BevelShapesDrawTheirLines)
{
    TTestPanel* root = Root();
    root->SetColor(clWhite);
    struct TCase {
        TBevelShape Shape;
        TBevelStyle Style;
        int X, Y, Color;
    } cases[] = {
        {bsBox, bsLowered, 0, 0, COLOR_BTNSHADOW},       {bsBox, bsLowered, 39, 29, COLOR_BTNHIGHLIGHT},
        {bsBox, bsRaised, 0, 0, COLOR_BTNHIGHLIGHT},     {bsTopLine, bsLowered, 20, 0, COLOR_BTNSHADOW},
        {bsTopLine, bsLowered, 20, 1, COLOR_BTNHIGHLIGHT}, {bsBottomLine, bsLowered, 20, 28, COLOR_BTNSHADOW},
        {bsLeftLine, bsRaised, 0, 15, COLOR_BTNHIGHLIGHT}, {bsRightLine, bsLowered, 39, 15, COLOR_BTNHIGHLIGHT},
        {bsFrame, bsLowered, 0, 0, COLOR_BTNSHADOW},     {bsFrame, bsLowered, 1, 1, COLOR_BTNHIGHLIGHT},
        {bsFrame, bsLowered, 39, 29, COLOR_BTNHIGHLIGHT},
    };
    for (const TCase& k : cases) {
        auto* bevel = Make<TBevel>(root, "B", 10, 10, 40, 30);
        bevel->SetShape(k.Shape);
        bevel->SetStyle(k.Style);
        ProcessPendingMessages();
        EXPECT_EQ(At(CaptureWindow(FHost), 10 + k.X, 10 + k.Y), GetSysColor(k.Color)) << k.Shape << " " << k.Style;
        EXPECT_EQ(At(CaptureWindow(FHost), 30, 25), RGB(255, 255, 255)) << "the middle stays clear";
        bevel->Free();
        ProcessPendingMessages();
    }
}

TEST_F(ControlTest, PanelAndBevelRoundTripThroughFormText)
{
    auto* panel = new TPanel(nullptr);
    panel->SetName("Panel");
    panel->SetBevelInner(bvLowered);
    panel->SetBevelOuter(bvNone);
    panel->SetBevelWidth(3);
    panel->SetBorderWidth(4);
    panel->SetBorderStyle(bsSingle);
    panel->SetAlignment(taLeftJustify);
    panel->SetCaption("Info");
    auto* copy = static_cast<TPanel*>(ReadComponentFromString(WriteComponentToString(panel), nullptr));
    EXPECT_EQ(copy->GetBevelInner(), bvLowered);
    EXPECT_EQ(copy->GetBevelOuter(), bvNone);
    EXPECT_EQ(copy->GetBevelWidth(), 3);
    EXPECT_EQ(copy->GetBorderWidth(), 4);
    EXPECT_EQ(copy->GetBorderStyle(), bsSingle);
    EXPECT_EQ(copy->GetAlignment(), taLeftJustify);
    EXPECT_EQ(copy->GetCaption(), "Info");
    EXPECT_EQ(copy->GetColor(), clBtnFace);
    auto* bevel = new TBevel(nullptr);
    bevel->SetName("Bevel");
    bevel->SetShape(bsTopLine);
    bevel->SetStyle(bsRaised);
    auto* bevel2 = static_cast<TBevel*>(ReadComponentFromString(WriteComponentToString(bevel), nullptr));
    EXPECT_EQ(bevel2->GetShape(), bsTopLine);
    EXPECT_EQ(bevel2->GetStyle(), bsRaised);
    for (TComponent* c : std::initializer_list<TComponent*>{panel, copy, bevel, bevel2}) c->Free();
}

} // namespace
} // namespace controltest
