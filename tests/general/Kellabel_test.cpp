#include "general/Kellabel.h"

#include <climits>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "host/rtl/Clock.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Forms.h"
#include "host/win/Screen.h"

using namespace host;
using namespace kel;

namespace {

// 0x00RRGGBB, as screenshots hold pixels.
uint32_t Rgb(TColor Color)
{
    COLORREF c = ColorToRGB(Color);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// The pixels of one control, in its client coordinates.
struct TShot {
    TImageData Image;
    int OX = 0, OY = 0, W = 0, H = 0;

    uint32_t At(int X, int Y) const { return Image.Pixel(OX + X, OY + Y); }
    // Bounds of the pixels of exactly one colour; Right/Bottom inclusive,
    // Left > Right when there is none.
    kel::TRect Extent(TColor Color) const
    {
        kel::TRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        const uint32_t want = Rgb(Color);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (At(x, y) == want) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x);
                    r.Bottom = std::max(r.Bottom, y);
                }
        return r;
    }
    bool Has(TColor Color) const { return Extent(Color).Left <= Extent(Color).Right; }
    // Whether Color appears within one pixel of (X, Y).
    bool Near(int X, int Y, TColor Color) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int x = X + dx, y = Y + dy;
                if (x >= 0 && y >= 0 && x < W && y < H && At(x, y) == Rgb(Color)) return true;
            }
        return false;
    }
};

class RotLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem(SIZE{800, 600});
        DoneApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 500, 400);
        Form->SetColor(clWhite);
        Form->Show();
    }
    void TearDown() override
    {
        Form->Free();
        DoneApplication();
        ResetWindowSystem();
    }
    TRotLabel* Label(const std::string& Caption, int Angle = 0)
    {
        auto* l = new TRotLabel(Form);
        l->SetParent(Form);
        l->SetLeft(200);
        l->SetTop(150);
        l->SetCaption(Caption);
        l->SetAngle(Angle);
        return l;
    }
    // A big bold black caption on white whose copies are easy to tell apart.
    TRotLabel* EffectLabel(TCaptionEffect Effect, int Angle = 0)
    {
        TRotLabel* l = Label("HH", Angle);
        l->GetFont()->SetSize(28);
        l->GetFont()->SetStyle(TFontStyles{fsBold});
        l->GetFont()->SetColor(clBlack);
        l->SetColor(clWhite);
        l->GetCaptionStyle()->SetColorHighlight(clRed);
        l->GetCaptionStyle()->SetColorShadow(clBlue);
        l->GetCaptionStyle()->SetOffset(3);
        l->GetCaptionStyle()->SetEffect(Effect);
        return l;
    }
    TShot Shoot(TControl* C)
    {
        Form->Invalidate();
        ProcessPendingMessages();
        TShot shot;
        shot.Image = CaptureWindow(Form->GetHandle());
        RECT wr;
        GetWindowRect(Form->GetHandle(), &wr);
        host::TPoint origin = C->ClientToScreen(host::TPoint{0, 0});
        shot.OX = origin.x - wr.left;
        shot.OY = origin.y - wr.top;
        shot.W = C->GetWidth();
        shot.H = C->GetHeight();
        return shot;
    }
    // The label font's own measure of Text on a fresh canvas.
    SIZE CanvasExtent(TFont* Font, const std::string& Text)
    {
        TBitmap bmp;
        bmp.SetSize(4, 4);
        bmp.GetCanvas()->SetFont(Font);
        return bmp.GetCanvas()->TextExtent(Text);
    }

    TForm* Form = nullptr;
    TVirtualClock Clock;
    TClockOverride Override{Clock};
};

TEST(KelLabelStyles, ExtentFollowsEffectAndWidthOrOffset)
{
    struct BorderCase {
        TBorderEffect Effect;
        int Width, Extent;
    } borders[] = {
        {beNone, 5, 0},       {beLine, 1, 1},        {beLine, 4, 3},         {beRaised, 3, 2},
        {beLowered, 2, 2},    {beFrameRaised, 3, 7}, {beFrameLowered, 1, 3},
    };
    for (const BorderCase& c : borders) {
        TkelBorderStyle s;
        s.SetWidth(c.Width);
        s.SetEffect(c.Effect);
        EXPECT_EQ(s.GetExtent(), c.Extent) << int(c.Effect) << " width " << c.Width;
    }
    struct CaptionCase {
        TCaptionEffect Effect;
        int Offset, Extent;
    } captions[] = {
        {ceNormal, 3, 0},      {ceRaised, 2, 4},        {ceLowered, 1, 2},   {ceEmbossRaised, 3, 6},
        {ceEmbossLowered, 2, 4}, {ceShadowed, 2, 2},
    };
    for (const CaptionCase& c : captions) {
        TkelCaptionStyle s;
        s.SetEffect(c.Effect);
        s.SetOffset(c.Offset); // after the effect: the offset alone recomputes the extent too
        EXPECT_EQ(s.GetExtent(), c.Extent) << int(c.Effect) << " offset " << c.Offset;
    }
}

TEST(KelLabelStyles, OnlyRealChangesFireAndForeignAssignsRaise)
{
    TkelBorderStyle b;
    int fired = 0;
    b.OnChange = [&](TObject*) { ++fired; };
    const std::function<void()> sameValue[] = {
        [&] { b.SetEffect(beNone); },        [&] { b.SetWidth(1); },
        [&] { b.SetColorHighlight(clBtnHighlight); }, [&] { b.SetColorShadow(clBtnShadow); },
    };
    for (const auto& set : sameValue) set();
    EXPECT_EQ(fired, 0);
    b.SetColorShadow(clRed);
    b.SetEffect(beLine);
    EXPECT_EQ(fired, 2);

    TkelBorderStyle other;
    other.SetEffect(beFrameRaised);
    other.SetWidth(2);
    b.Assign(&other);
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(b.GetEffect(), beFrameRaised);
    EXPECT_EQ(b.GetExtent(), 5);
    EXPECT_EQ(b.GetColorShadow(), clBtnShadow);

    TkelCaptionStyle caption;
    EXPECT_THROW(b.Assign(&caption), Exception);
    EXPECT_EQ(b.GetEffect(), beFrameRaised) << "a failed assign leaves the style as it was";
    EXPECT_EQ(fired, 3);
    b.SetWidth(0);
    EXPECT_EQ(b.GetWidth(), 1) << "a border line is at least a pixel wide";
}

TEST_F(RotLabelTest, AtAngleZeroTheControlIsExactlyTheMeasuredText)
{
    TRotLabel* l = Label("Rotated text");
    SIZE text = CanvasExtent(l->GetFont(), "Rotated text");
    EXPECT_EQ(l->GetWidth(), text.cx);
    EXPECT_EQ(l->GetHeight(), text.cy);
    EXPECT_EQ(l->GetTextPos(), (kel::TPoint{0, 0}));

    l->SetCaption("");
    SIZE blank = CanvasExtent(l->GetFont(), " ");
    ASSERT_GT(blank.cx, 0);
    EXPECT_EQ(l->GetWidth(), blank.cx) << "an empty caption measures as one blank";
    EXPECT_EQ(l->GetHeight(), blank.cy);
}

TEST_F(RotLabelTest, EffectsAndBordersGrowTheBoxByTheirExtents)
{
    struct Case {
        TCaptionEffect Caption;
        int Offset;
        TBorderEffect Border;
        int Width;
        int GrowW, GrowH; // over the bare text
        kel::TPoint TextPos;
    } cases[] = {
        {ceNormal, 1, beNone, 1, 0, 0, {0, 0}},
        {ceRaised, 2, beNone, 1, 8, 8, {4, 4}},
        {ceShadowed, 2, beNone, 1, 4, 4, {2, 2}},
        // Extent 1 each side, 2 more on the left, 1 more right and bottom.
        {ceNormal, 1, beLine, 1, 5, 3, {3, 1}},
        {ceNormal, 1, beFrameRaised, 3, 23, 21, {9, 7}},
        {ceLowered, 1, beRaised, 2, 4 + 4 + 2 + 2, 4 + 4 + 2, {2 + 2 + 2, 2 + 2}},
    };
    for (const Case& c : cases) {
        TRotLabel* l = Label("Box");
        SIZE text = CanvasExtent(l->GetFont(), "Box");
        l->GetCaptionStyle()->SetOffset(c.Offset);
        l->GetCaptionStyle()->SetEffect(c.Caption);
        l->GetBorderStyle()->SetWidth(c.Width);
        l->GetBorderStyle()->SetEffect(c.Border);
        SCOPED_TRACE(testing::Message() << "caption " << int(c.Caption) << " border " << int(c.Border));
        EXPECT_EQ(l->GetWidth(), text.cx + c.GrowW);
        EXPECT_EQ(l->GetHeight(), text.cy + c.GrowH);
        EXPECT_EQ(l->GetTextPos(), c.TextPos);
        l->Free();
    }
}

TEST_F(RotLabelTest, QuarterTurnSwapsTheSidesAroundTheCentreOrTheTopLeft)
{
    for (bool centre : {true, false}) {
        TRotLabel* l = Label("Quarter turn");
        l->SetRotateCenter(centre);
        const int left = l->GetLeft(), top = l->GetTop(), w = l->GetWidth(), h = l->GetHeight();
        l->SetAngle(90);
        SCOPED_TRACE(centre ? "centre" : "top-left");
        EXPECT_EQ(l->GetWidth(), h);
        EXPECT_EQ(l->GetHeight(), w);
        if (centre) {
            EXPECT_EQ(l->GetLeft(), left + w / 2 - h / 2);
            EXPECT_EQ(l->GetTop(), top + h / 2 - w / 2);
        } else {
            EXPECT_EQ(l->GetLeft(), left);
            EXPECT_EQ(l->GetTop(), top);
        }
        // The text now runs upwards from the bottom-left corner.
        EXPECT_EQ(l->GetTextPos(), (kel::TPoint{0, w}));
        l->Free();
    }
    TRotLabel* l = Label("Wrap", 450);
    EXPECT_EQ(l->GetAngle(), 90) << "angles are kept within one turn";
    l->SetAngle(-90);
    EXPECT_EQ(l->GetAngle(), 270);
}

// The copies of an effect caption are offset on the screen, not along the
// text: which way turns in quarter turns, at 46, 136, 226 and 316 degrees.
TEST_F(RotLabelTest, ShadowDirectionTurnsAtTheStatedAngles)
{
    struct Case {
        int Angle, Dx, Dy;
    } cases[] = {
        {0, 1, 1},    {45, 1, 1},    {46, 1, -1},  {135, 1, -1}, {136, -1, -1},
        {225, -1, -1}, {226, -1, 1}, {315, -1, 1}, {316, 1, 1},  {359, 1, 1},
    };
    for (const Case& c : cases) {
        TRotLabel* l = EffectLabel(ceShadowed, c.Angle);
        TShot shot = Shoot(l);
        kel::TRect face = shot.Extent(clBlack), shadow = shot.Extent(clBlue);
        SCOPED_TRACE(c.Angle);
        ASSERT_LE(face.Left, face.Right);
        ASSERT_LE(shadow.Left, shadow.Right);
        EXPECT_FALSE(shot.Has(clRed)) << "a shadowed caption has no highlight copy";
        auto sign = [](int V) { return V > 0 ? 1 : V < 0 ? -1 : 0; };
        // The shadow sticks out beyond the face on the side it is offset to.
        EXPECT_EQ(sign((shadow.Right - face.Right) + (shadow.Left - face.Left)), c.Dx);
        EXPECT_EQ(sign((shadow.Bottom - face.Bottom) + (shadow.Top - face.Top)), c.Dy);
        l->Free();
    }
}

TEST_F(RotLabelTest, EachEffectDrawsItsCopiesOnTheirSides)
{
    struct Case {
        TCaptionEffect Effect;
        int HighlightSide; // -1 up-left of the face, +1 down-right, 0 none
        int ShadowSide;
        bool FaceInFont; // else the face is in the label's colour (white)
    } cases[] = {
        {ceNormal, 0, 0, true},
        {ceRaised, -1, 1, true},
        {ceLowered, 1, -1, true},
        {ceEmbossRaised, -1, 1, false},
        {ceEmbossLowered, 1, -1, false},
        {ceShadowed, 0, 1, true},
    };
    for (const Case& c : cases) {
        TRotLabel* l = EffectLabel(c.Effect);
        TShot shot = Shoot(l);
        SCOPED_TRACE(int(c.Effect));
        EXPECT_EQ(shot.Has(clBlack), c.FaceInFont);
        EXPECT_EQ(shot.Has(clRed), c.HighlightSide != 0);
        EXPECT_EQ(shot.Has(clBlue), c.ShadowSide != 0);
        kel::TRect hi = shot.Extent(clRed), sh = shot.Extent(clBlue);
        if (c.HighlightSide && c.ShadowSide) {
            EXPECT_EQ(hi.Left < sh.Left, c.HighlightSide < 0);
            EXPECT_EQ(hi.Top < sh.Top, c.HighlightSide < 0);
        }
        l->Free();
    }
}

TEST_F(RotLabelTest, DisabledFaceIsGrayButTheCopiesKeepTheirColours)
{
    TRotLabel* plain = EffectLabel(ceNormal);
    plain->SetEnabled(false);
    TShot a = Shoot(plain);
    EXPECT_TRUE(a.Has(clGrayText));
    EXPECT_FALSE(a.Has(clBlack));
    plain->Free();

    TRotLabel* raised = EffectLabel(ceRaised);
    raised->SetEnabled(false);
    TShot b = Shoot(raised);
    EXPECT_TRUE(b.Has(clGrayText));
    EXPECT_FALSE(b.Has(clBlack));
    EXPECT_TRUE(b.Has(clRed));
    EXPECT_TRUE(b.Has(clBlue));
}

// The up-left facing edges carry the first colour; which corners those are
// changes at 45, 135, 225 and 315 degrees.
TEST_F(RotLabelTest, RaisedBorderEdgesSwitchColourAtTheStatedAngles)
{
    struct Case {
        int Angle;
        int From, To; // the edge between these corners
        TColor Colour;
    } cases[] = {
        {44, 3, 0, clRed},  {45, 3, 0, clBlue},  {134, 0, 1, clRed}, {135, 0, 1, clBlue},
        {224, 1, 2, clRed}, {225, 1, 2, clBlue}, {314, 2, 3, clRed}, {315, 2, 3, clBlue},
    };
    for (const Case& c : cases) {
        TRotLabel* l = Label("Border edges", c.Angle);
        l->GetFont()->SetSize(16);
        l->SetColor(clWhite);
        l->GetBorderStyle()->SetColorHighlight(clRed);
        l->GetBorderStyle()->SetColorShadow(clBlue);
        l->GetBorderStyle()->SetEffect(beRaised);
        TShot shot = Shoot(l);
        const kel::TPoint* k = l->GetCorners();
        const int mx = (k[c.From].x + k[c.To].x) / 2, my = (k[c.From].y + k[c.To].y) / 2;
        SCOPED_TRACE(c.Angle);
        EXPECT_TRUE(shot.Near(mx, my, c.Colour));
        EXPECT_FALSE(shot.Near(mx, my, c.Colour == clRed ? clBlue : clRed));
        l->Free();
    }
}

TEST_F(RotLabelTest, LineAndFrameBordersRunThroughTheRotatedCorners)
{
    TRotLabel* line = Label("Framed", 30);
    line->SetColor(clWhite);
    line->GetBorderStyle()->SetColorShadow(clBlue);
    line->GetBorderStyle()->SetEffect(beLine);
    TShot shot = Shoot(line);
    const kel::TPoint* k = line->GetCorners();
    EXPECT_EQ(k[4], k[0]);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(shot.Near((k[i].x + k[i + 1].x) / 2, (k[i].y + k[i + 1].y) / 2, clBlue)) << "edge " << i;
    line->Free();

    // A raised frame: the highlight polygon on the corners, the shadow one a
    // border width down-right of it.
    TRotLabel* frame = Label("Framed", 30);
    frame->SetColor(clWhite);
    frame->GetBorderStyle()->SetColorHighlight(clRed);
    frame->GetBorderStyle()->SetColorShadow(clBlue);
    frame->GetBorderStyle()->SetEffect(beFrameRaised);
    shot = Shoot(frame);
    k = frame->GetCorners();
    EXPECT_EQ(shot.At(k[0].x, k[0].y), Rgb(clRed));
    EXPECT_EQ(shot.At(k[0].x + 1, k[0].y + 1), Rgb(clBlue));
    EXPECT_EQ(shot.At(k[2].x + 1, k[2].y + 1), Rgb(clBlue));
    EXPECT_TRUE(shot.Near(k[2].x, k[2].y, clRed));
}

TEST_F(RotLabelTest, PropertiesRoundTripAndALoadedLabelHasItsGeometryAtOnce)
{
    TRotLabel* l = Label("Streamed", 30);
    l->SetName("Rot1");
    l->SetRotateCenter(false);
    l->SetTransparent(true);
    l->GetCaptionStyle()->SetEffect(ceEmbossLowered);
    l->GetCaptionStyle()->SetOffset(2);
    l->GetCaptionStyle()->SetColorHighlight(clYellow);
    l->GetBorderStyle()->SetEffect(beFrameLowered);
    l->GetBorderStyle()->SetWidth(2);
    l->GetBorderStyle()->SetColorShadow(clNavy);
    const std::string data = WriteComponentToString(l);
    EXPECT_NE(ObjectBinaryToText(data).find("Angle = 30"), std::string::npos) << ObjectBinaryToText(data);

    auto* r = new TRotLabel(Form);
    r->SetParent(Form);
    ReadComponentFromString(data, r);
    EXPECT_EQ(r->GetAngle(), 30);
    EXPECT_FALSE(r->GetRotateCenter());
    EXPECT_TRUE(r->GetTransparent());
    EXPECT_EQ(r->GetCaption(), "Streamed");
    EXPECT_EQ(r->GetCaptionStyle()->GetEffect(), ceEmbossLowered);
    EXPECT_EQ(r->GetCaptionStyle()->GetOffset(), 2);
    EXPECT_EQ(r->GetCaptionStyle()->GetColorHighlight(), clYellow);
    EXPECT_EQ(r->GetBorderStyle()->GetEffect(), beFrameLowered);
    EXPECT_EQ(r->GetBorderStyle()->GetWidth(), 2);
    EXPECT_EQ(r->GetBorderStyle()->GetColorShadow(), clNavy);
    EXPECT_EQ(r->GetBorderStyle()->GetExtent(), 5);
    // Laid out on loading, exactly as the original.
    EXPECT_EQ(r->GetWidth(), l->GetWidth());
    EXPECT_EQ(r->GetHeight(), l->GetHeight());
    EXPECT_EQ(r->GetTextPos(), l->GetTextPos());
    for (int i = 0; i < 5; ++i) EXPECT_EQ(r->GetCorners()[i], l->GetCorners()[i]) << i;

    // Angle has no default: even 0 is written.
    auto* zero = new TRotLabel(nullptr);
    EXPECT_NE(ObjectBinaryToText(WriteComponentToString(zero)).find("Angle = 0"), std::string::npos);
    zero->Free();
}

} // namespace
