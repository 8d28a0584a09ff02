// Speed buttons and the glyph machinery, driven by injected mouse input.
#include "ControlTest.h"

#include "host/vcl/Buttons.h"
#include "host/vcl/Filer.h"

#include <cstdlib>

namespace controltest {
namespace {

COLORREF At(const TImageData& Img, int X, int Y)
{
    uint32_t p = Img.Pixel(X, Y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::string OutDir()
{
    const char* dir = std::getenv("TEST_OUTPUT_DIR");
    return dir ? dir : "/tmp";
}

// A W x H bitmap of Cells cells on magenta, each with a black square at
// (4, 4)-(12, 12) of the cell, and the cell's number of white pixels in its
// first row (so cells can be told apart).
TBitmap* GlyphBitmap(int Cells, int Size = 16)
{
    auto* b = new TBitmap;
    b->SetSize(Size * Cells, Size);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, Size * Cells, Size));
    for (int i = 0; i < Cells; ++i) {
        c->GetBrush()->SetColor(clBlack);
        c->FillRect(Rect(i * Size + 4, 4, i * Size + 12, 12));
        for (int k = 0; k <= i; ++k) c->SetPixels(i * Size + k, 0, clWhite);
    }
    return b;
}

class SpeedButtonTest : public ControlTest {
protected:
    TTestPanel* Surface()
    {
        TTestPanel* root = Root();
        root->SetColor(clWhite);
        return root;
    }
    TSpeedButton* Button(TWinControl* Parent, const std::string& Name, int X, int Group = 0)
    {
        auto* b = Make<TSpeedButton>(Parent, Name, X, 10, 40, 30);
        b->SetGroupIndex(Group);
        b->OnClick = [this, b](TObject*) { Clicks.push_back(b->GetName()); };
        return b;
    }
    void ClickOn(TControl* C)
    {
        TPoint p = ScreenOf(C, 10, 10);
        Input::Click(p.x, p.y);
        Input::AdvanceTime(GetDoubleClickTime() + 1);
    }
    std::vector<std::string> Clicks;
};

TEST_F(SpeedButtonTest, PressingOneButtonOfAGroupRaisesTheOthers)
{
    TTestPanel* root = Surface();
    TSpeedButton* a = Button(root, "A", 10, 1);
    TSpeedButton* b = Button(root, "B", 60, 1);
    TSpeedButton* c = Button(root, "C", 110, 1);
    TSpeedButton* other = Button(root, "Other", 160, 2);
    other->SetDown(true);

    struct Step {
        TSpeedButton* Pressed;
        bool A, B, C;
    } steps[] = {
        {a, true, false, false},
        {b, false, true, false},
        {c, false, false, true},
        {c, false, false, true},  // without AllowAllUp the down button stays down
    };
    for (const Step& s : steps) {
        ClickOn(s.Pressed);
        EXPECT_EQ(a->GetDown(), s.A) << s.Pressed->GetName();
        EXPECT_EQ(b->GetDown(), s.B) << s.Pressed->GetName();
        EXPECT_EQ(c->GetDown(), s.C) << s.Pressed->GetName();
        EXPECT_TRUE(other->GetDown()) << "another group is left alone";
    }
    EXPECT_EQ(Clicks, (std::vector<std::string>{"A", "B", "C", "C"}));
    EXPECT_EQ(c->GetState(), bsExclusive);
    EXPECT_EQ(a->GetState(), bsUp);

    // AllowAllUp spreads to the whole group, and lets the down button come up.
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->GetAllowAllUp());
    EXPECT_TRUE(c->GetAllowAllUp());
    ClickOn(c);
    EXPECT_FALSE(c->GetDown());
    EXPECT_FALSE(a->GetDown() || b->GetDown());
}

TEST_F(SpeedButtonTest, DownNeedsAGroupAndSettingItRaisesTheOthers)
{
    TTestPanel* root = Surface();
    TSpeedButton* lone = Button(root, "Lone", 10);
    lone->SetDown(true);
    EXPECT_FALSE(lone->GetDown());
    TSpeedButton* a = Button(root, "A", 60, 3);
    TSpeedButton* b = Button(root, "B", 110, 3);
    a->SetDown(true);
    b->SetDown(true);
    EXPECT_FALSE(a->GetDown());
    EXPECT_TRUE(b->GetDown());
    b->SetDown(false);  // AllowAllUp is off
    EXPECT_TRUE(b->GetDown());
    EXPECT_TRUE(Clicks.empty()) << "setting Down is not a click";
}

TEST_F(SpeedButtonTest, PressShowsWhileHeldAndOnlyAReleaseInsideClicks)
{
    TTestPanel* root = Surface();
    TSpeedButton* b = Button(root, "B", 10);
    ProcessPendingMessages();
    TPoint in = ScreenOf(b, 20, 15), out = ScreenOf(b, 80, 15);
    TImageData up = CaptureWindow(FHost);

    Input::MouseMove(in.x, in.y);
    Input::MouseDown();
    EXPECT_EQ(b->GetState(), bsDown);
    TImageData pressed = CaptureWindow(FHost);
    TPoint corner = b->ClientToScreen(TPoint{0, 0});
    POINT o{corner.x - 20, corner.y - 30};  // the host window's origin on the screen
    EXPECT_NE(At(up, o.x, o.y), At(pressed, o.x, o.y)) << "the frame turns sunken";
    EXPECT_EQ(At(up, o.x, o.y), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(pressed, o.x, o.y), GetSysColor(COLOR_3DDKSHADOW));

    Input::MouseMove(out.x, out.y);
    EXPECT_EQ(b->GetState(), bsUp) << "dragged off, the button shows up";
    Input::MouseMove(in.x, in.y);
    EXPECT_EQ(b->GetState(), bsDown);
    Input::MouseMove(out.x, out.y);
    Input::MouseUp();
    EXPECT_TRUE(Clicks.empty());
    EXPECT_EQ(b->GetState(), bsUp);

    // The last row and column still count as inside; one pixel beyond does not.
    TPoint edge = ScreenOf(b, 39, 29), below = ScreenOf(b, 20, 30);
    Input::Drag(in, edge, 1);
    EXPECT_EQ(Clicks.size(), 1u);
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    Input::Drag(in, below, 1);
    EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(SpeedButtonTest, FlatButtonsRaiseOnlyUnderTheMouse)
{
    TTestPanel* root = Surface();
    TSpeedButton* b = Button(root, "B", 10);
    b->SetFlat(true);
    Button(root, "Away", 100);
    ProcessPendingMessages();
    TPoint corner = b->ClientToScreen(TPoint{0, 0});
    POINT o{corner.x - 20, corner.y - 30};
    TImageData plain = CaptureWindow(FHost);
    EXPECT_EQ(At(plain, o.x, o.y), GetSysColor(COLOR_BTNFACE)) << "no frame at rest";

    TPoint in = ScreenOf(b, 20, 15);
    Input::MouseMove(in.x, in.y);
    EXPECT_TRUE(b->GetMouseInControl());
    ProcessPendingMessages();
    TImageData hot = CaptureWindow(FHost);
    EXPECT_EQ(At(hot, o.x, o.y), GetSysColor(COLOR_BTNHIGHLIGHT));

    TPoint away = ScreenOf(b, 100, 15);
    Input::MouseMove(away.x, away.y);
    EXPECT_FALSE(b->GetMouseInControl());
    ProcessPendingMessages();
    EXPECT_EQ(At(CaptureWindow(FHost), o.x, o.y), GetSysColor(COLOR_BTNFACE));

    // A disabled flat button does not light up.
    b->SetEnabled(false);
    Input::MouseMove(in.x, in.y);
    EXPECT_FALSE(b->GetMouseInControl());
}

TEST_F(SpeedButtonTest, DoubleClickReachesOnlyADownGroupedButton)
{
    TTestPanel* root = Surface();
    TSpeedButton* lone = Button(root, "Lone", 10);
    TSpeedButton* grouped = Button(root, "Grouped", 60, 1);
    int doubles = 0;
    lone->OnDblClick = [&](TObject*) { ++doubles; };
    grouped->OnDblClick = [&](TObject*) { ++doubles; };
    TPoint p = ScreenOf(lone, 10, 10);
    Input::DoubleClick(p.x, p.y);
    EXPECT_EQ(doubles, 0);
    Input::AdvanceTime(GetDoubleClickTime() + 1);
    p = ScreenOf(grouped, 10, 10);
    Input::DoubleClick(p.x, p.y);
    EXPECT_TRUE(grouped->GetDown());
    EXPECT_EQ(doubles, 1);
}

TEST_F(SpeedButtonTest, AcceleratorClicksAnEnabledButton)
{
    TTestPanel* root = Surface();
    TSpeedButton* b = Button(root, "B", 10);
    b->SetCaption("&Save");
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 's', 0), 1);
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'a', 0), 0);
    b->SetEnabled(false);
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'S', 0), 0);
    // "&&" is a literal ampersand, not an accelerator mark.
    b->SetEnabled(true);
    b->SetCaption("a&&x");
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    b->SetCaption("a&&b&x");
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'X', 0), 1);
    EXPECT_EQ(Clicks, (std::vector<std::string>{"B", "B"}));
}

TEST_F(SpeedButtonTest, GlyphCellsGiveTheStateImagesAndAnEmbossedDisabledOne)
{
    TTestPanel* root = Surface();
    auto* b = Make<TSpeedButton>(root, "B", 10, 10, 26, 26);
    TBitmap* one = GlyphBitmap(1);
    b->SetGlyph(one);
    one->Free();
    ProcessPendingMessages();
    TPoint corner = b->ClientToScreen(TPoint{0, 0});
    POINT o{corner.x - 20, corner.y - 30};
    // Inside the 2-pixel frame the 16 x 16 glyph is centred both ways:
    // 2 + (22 - 16 + 1) / 2 = 5.
    int gx = o.x + 5, gy = o.y + 5;
    TImageData img = CaptureWindow(FHost);
    EXPECT_EQ(At(img, gx + 6, gy + 6), RGB(0, 0, 0));
    EXPECT_EQ(At(img, gx + 1, gy + 6), GetSysColor(COLOR_BTNFACE)) << "magenta is transparent";

    b->SetEnabled(false);
    ProcessPendingMessages();
    img = CaptureWindow(FHost);
    Screenshot(FHost, OutDir() + "/speedbutton_disabled.png");
    EXPECT_EQ(At(img, gx + 6, gy + 6), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(img, gx + 12, gy + 12), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the highlight copy shows below right";
    EXPECT_EQ(At(img, gx + 3, gy + 3), GetSysColor(COLOR_BTNFACE));

    // With four cells the disabled and down images are the glyph's own.
    TBitmap* four = GlyphBitmap(4);
    b->SetGlyph(four);
    four->Free();
    EXPECT_EQ(b->GetNumGlyphs(), 4);
    ProcessPendingMessages();
    img = CaptureWindow(FHost);
    EXPECT_EQ(At(img, gx + 1, gy), RGB(255, 255, 255)) << "cell 1 (disabled) has two white pixels";
    EXPECT_EQ(At(img, gx + 2, gy), GetSysColor(COLOR_BTNFACE));
}

TEST(ButtonGlyphTest, NumGlyphsFollowsTheBitmapShape)
{
    struct Case {
        int W, H, Expected;
    } cases[] = {
        {64, 16, 4}, {80, 16, 1}, {32, 16, 2}, {16, 16, 1}, {48, 16, 3},
        {40, 16, 2},  // not a whole number of cells: the count set before stays
    };
    for (const Case& c : cases) {
        TButtonGlyph g;
        g.SetNumGlyphs(2);
        auto* b = new TBitmap;
        b->SetSize(c.W, c.H);
        g.SetGlyph(b);
        b->Free();
        EXPECT_EQ(g.GetNumGlyphs(), c.Expected) << c.W << "x" << c.H;
    }
    TButtonGlyph g;
    for (int v : {0, -3, 9}) {
        g.SetNumGlyphs(v);
        EXPECT_GE(g.GetNumGlyphs(), 1) << v;
        EXPECT_LE(g.GetNumGlyphs(), 4) << v;
    }
}

TEST(ButtonGlyphTest, LayoutPlacesGlyphAndCaption)
{
    TButtonGlyph g;
    TBitmap* glyph = GlyphBitmap(1);
    g.SetGlyph(glyph);
    glyph->Free();
    auto* canvasOwner = new TBitmap;
    canvasOwner->SetSize(10, 10);
    TCanvas* c = canvasOwner->GetCanvas();
    const std::string caption = "Open";
    int tw = c->TextWidth(caption), th = c->TextHeight(caption);
    const TRect client = Rect(0, 0, 100, 60);
    struct Case {
        TButtonLayout Layout;
        int Margin, Spacing;
        TPoint Glyph;
        int TextLeft, TextTop;
    } cases[] = {
        {blGlyphLeft, 4, 2, {4, 22}, 4 + 16 + 2, (60 - th + 1) / 2},
        {blGlyphRight, 4, 2, {100 - 4 - 16, 22}, 100 - 4 - 16 - 2 - tw, (60 - th + 1) / 2},
        {blGlyphTop, 3, 1, {42, 3}, (100 - tw + 1) / 2, 3 + 16 + 1},
        {blGlyphBottom, 3, 1, {42, 60 - 3 - 16}, (100 - tw + 1) / 2, 60 - 3 - 16 - 1 - th},
        // Margin -1 centres the pair; Spacing -1 too splits the room in three.
        {blGlyphLeft, -1, 4, {(100 - (16 + 4 + tw) + 1) / 2, 22}, (100 - (16 + 4 + tw) + 1) / 2 + 20,
         (60 - th + 1) / 2},
        {blGlyphLeft, -1, -1, {(100 - 16 - tw) / 3, 22}, 2 * ((100 - 16 - tw) / 3) + 16, (60 - th + 1) / 2},
        {blGlyphLeft, 5, -1, {5, 22}, 5 + 16 + (100 - 5 - 16 - tw) / 2, (60 - th + 1) / 2},
    };
    for (const Case& k : cases) {
        TPoint gp;
        TRect tb;
        g.CalcButtonLayout(c, client, TPoint{1, 1}, caption, k.Layout, k.Margin, k.Spacing, gp, tb);
        EXPECT_EQ(gp, (TPoint{k.Glyph.x + 1, k.Glyph.y + 1})) << int(k.Layout) << " " << k.Margin;
        EXPECT_EQ(tb.left, k.TextLeft + 1) << int(k.Layout) << " " << k.Margin;
        EXPECT_EQ(tb.top, k.TextTop + 1) << int(k.Layout) << " " << k.Margin;
        EXPECT_EQ(tb.right - tb.left, tw);
    }
    // Without a caption there is no spacing: the glyph alone is centred.
    TPoint gp;
    TRect tb;
    g.CalcButtonLayout(c, client, TPoint{0, 0}, "", blGlyphLeft, -1, 4, gp, tb);
    EXPECT_EQ(gp.x, (100 - 16 + 1) / 2);
    canvasOwner->Free();
}

TEST_F(SpeedButtonTest, PropertiesSurviveAFormFile)
{
    TTestPanel* root = Surface();
    auto* b = Make<TSpeedButton>(root, "B", 10, 10, 40, 30);
    b->SetGroupIndex(4);
    b->SetAllowAllUp(true);
    b->SetDown(true);
    b->SetFlat(true);
    b->SetLayout(blGlyphTop);
    b->SetMargin(2);
    b->SetSpacing(-1);
    b->SetCaption("Go");
    TBitmap* g = GlyphBitmap(2);
    b->SetGlyph(g);
    g->Free();
    std::string data = WriteComponentToString(b);
    auto* copy = new TSpeedButton(nullptr);
    ReadComponentFromString(data, copy);
    EXPECT_EQ(copy->GetGroupIndex(), 4);
    EXPECT_TRUE(copy->GetAllowAllUp());
    EXPECT_TRUE(copy->GetDown());
    EXPECT_TRUE(copy->GetFlat());
    EXPECT_EQ(copy->GetLayout(), blGlyphTop);
    EXPECT_EQ(copy->GetMargin(), 2);
    EXPECT_EQ(copy->GetSpacing(), -1);
    EXPECT_EQ(copy->GetCaption(), "Go");
    EXPECT_EQ(copy->GetNumGlyphs(), 2);
    EXPECT_EQ(copy->GetGlyph()->GetWidth(), 32);
    EXPECT_EQ(WriteComponentToString(copy), data);
    copy->Free();
}

} // namespace
} // namespace controltest

namespace controltest {
namespace {

// A 16 x 16 picture on magenta: a navy triangle with a white highlight and a
// black base line, as toolbar glyphs look.
TBitmap* ArrowGlyph()
{
    auto* b = new TBitmap;
    b->SetSize(16, 16);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 16, 16));
    c->GetBrush()->SetColor(clNavy);
    c->GetPen()->SetColor(clNavy);
    c->Polygon({TPoint{3, 12}, TPoint{8, 3}, TPoint{13, 12}});
    c->GetPen()->SetColor(clWhite);
    c->MoveTo(7, 6);
    c->LineTo(5, 10);
    c->GetPen()->SetColor(clBlack);
    c->MoveTo(2, 13);
    c->LineTo(14, 13);
    return b;
}

TEST_F(SpeedButtonTest, ShowcaseOfButtonStates)
{
    TTestPanel* root = Root();
    root->SetColor(clBtnFace);
    // The host window paints over its children; let it do so before the
    // buttons below repaint at once.
    ProcessPendingMessages();
    TBitmap* glyph = ArrowGlyph();
    const char* names[] = {"Up", "Down", "Disabled", "Flat", "FlatHot", "Caption"};
    std::vector<TSpeedButton*> buttons;
    for (int i = 0; i < 6; ++i) {
        auto* b = Make<TSpeedButton>(root, names[i], 10 + i * 34, 10, 28, 28);
        b->SetGlyph(glyph);
        buttons.push_back(b);
    }
    glyph->Free();
    buttons[1]->SetGroupIndex(1);
    buttons[1]->SetDown(true);
    buttons[2]->SetEnabled(false);
    buttons[3]->SetFlat(true);
    buttons[4]->SetFlat(true);
    buttons[5]->SetBounds(10, 50, 90, 28);
    buttons[5]->SetCaption("Open");
    auto* top = Make<TSpeedButton>(root, "Top", 110, 50, 60, 44);
    top->SetCaption("Save");
    TBitmap* g2 = ArrowGlyph();
    top->SetGlyph(g2);
    g2->Free();
    top->SetLayout(blGlyphTop);
    top->SetEnabled(false);
    TPoint hot = ScreenOf(buttons[4], 14, 14);
    Input::MouseMove(hot.x, hot.y);
    ProcessPendingMessages();
    Screenshot(FHost, OutDir() + "/speedbuttons.png");

    TImageData img = CaptureWindow(FHost);
    // The down button's face is the checker of face and highlight colours.
    TPoint face = buttons[1]->ClientToScreen(TPoint{3, 3});
    COLORREF a = At(img, face.x - 20, face.y - 30), b = At(img, face.x - 19, face.y - 30);
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == GetSysColor(COLOR_BTNFACE) && b == GetSysColor(COLOR_BTNHIGHLIGHT)) ||
                (b == GetSysColor(COLOR_BTNFACE) && a == GetSysColor(COLOR_BTNHIGHLIGHT)));
}

} // namespace
} // namespace controltest
