#include "host/gdi/FontFile.h"
#include "host/gdi/TextRender.h"

#include <gtest/gtest.h>

using namespace host;

namespace {

std::shared_ptr<TFontInstance> Font(const char* Face, int Height, int Escapement = 0, int Weight = 400,
                                    bool Italic = false, uint8_t Quality = 0)
{
    TFontRequest r;
    r.FaceName = Face;
    r.Height = Height;
    r.Escapement = Escapement;
    r.Weight = Weight;
    r.Italic = Italic;
    r.Quality = Quality;
    return TFontInstance::Realize(r);
}

struct TRect {
    int L, T, R, B;
    bool operator==(const TRect&) const = default;
};

std::ostream& operator<<(std::ostream& S, const TRect& R)
{
    return S << "(" << R.L << "," << R.T << ")-(" << R.R << "," << R.B << ")";
}

// Bounds of the pixels a mask covers at all.
TRect Ink(const TCoverageMask& M)
{
    TRect r{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (int y = M.Top; y < M.Top + M.Height; ++y)
        for (int x = M.Left; x < M.Left + M.Width; ++x)
            if (M.At(x, y)) {
                r.L = std::min(r.L, x); r.T = std::min(r.T, y);
                r.R = std::max(r.R, x + 1); r.B = std::max(r.B, y + 1);
            }
    return r;
}

bool Inside(const TRect& In, const TRect& Out)
{
    return In.L >= Out.L && In.T >= Out.T && In.R <= Out.R && In.B <= Out.B;
}

} // namespace

TEST(TextFont, FaceNamesMapToTheirFamilies)
{
    struct { const char* face; const char* family; } cases[] = {
        {"Arial", "Liberation Sans"}, {"MS Sans Serif", "Liberation Sans"}, {"arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"}, {"Courier New", "Liberation Mono"},
        {"DejaVu Serif", "DejaVu Serif"}, {"No Such Face 42", "DejaVu Sans"},
    };
    for (auto c : cases) {
        EXPECT_EQ(ResolveFontFile(c.face, false, false).Family, c.family) << c.face;
        EXPECT_EQ(Font(c.face, -12)->Family(), c.family) << c.face;
    }
    // Bold and italic come from the family's own files when it has them.
    const TFontFile& bi = ResolveFontFile("Arial", true, true);
    EXPECT_TRUE(bi.Bold && bi.Italic);
    EXPECT_NE(bi.Path, ResolveFontFile("Arial", false, false).Path);
}

TEST(TextFont, HeightSignSelectsCharacterOrCellHeight)
{
    for (int h : {8, 11, 13, 16, 20, 33, 72}) {
        for (const char* face : {"Arial", "Times New Roman", "Courier New"}) {
            const TFontMetrics& cell = Font(face, h)->Metrics();
            EXPECT_EQ(cell.Height, h) << face << " " << h;
            EXPECT_EQ(cell.Ascent + cell.Descent, cell.Height);
            const TFontMetrics& em = Font(face, -h)->Metrics();
            EXPECT_EQ(em.Height - em.InternalLeading, h) << face << " " << -h;
            EXPECT_GT(em.Height, h);
            EXPECT_GT(em.AveCharWidth, 0);
            EXPECT_GE(em.MaxCharWidth, em.AveCharWidth);
        }
    }
    EXPECT_GT(Font("Arial", 0)->Metrics().Height, 0);
    // Fixed pitch clears the (inverted) variable-pitch bit.
    EXPECT_EQ(Font("Courier New", -12)->Metrics().PitchAndFamily & 1, 0);
    EXPECT_EQ(Font("Arial", -12)->Metrics().PitchAndFamily & 1, 1);
}

TEST(TextFont, WidthBoldAndItalicChangeTheGlyphs)
{
    auto plain = Font("Arial", -20);
    TFontRequest wide;
    wide.FaceName = "Arial";
    wide.Height = -20;
    wide.Width = plain->Metrics().AveCharWidth * 2;
    auto stretched = TFontInstance::Realize(wide);
    EXPECT_NEAR(stretched->Metrics().AveCharWidth, wide.Width, 1);
    int w1 = LayoutRun(*plain, U"Hello world").Width(), w2 = LayoutRun(*stretched, U"Hello world").Width();
    EXPECT_NEAR(w2, 2 * w1, w1 / 8); // each advance rounds to whole pixels

    EXPECT_GT(LayoutRun(*Font("Arial", -20, 0, 700), U"Hello").Width(), LayoutRun(*plain, U"Hello").Width());
    // A face without an italic file gets a synthetic slant: the stem of an 'l'
    // leans right towards its top.
    const char* noItalic = "DejaVu Math TeX Gyre";
    ASSERT_FALSE(ResolveFontFile(noItalic, false, true).Italic);
    auto slanted = Font(noItalic, -40, 0, 400, true);
    auto upright = Font(noItalic, -40);
    TCoverageMask m = RenderRun(*slanted, LayoutRun(*slanted, U"l"), 0, 0, {}).Text;
    TCoverageMask u = RenderRun(*upright, LayoutRun(*upright, U"l"), 0, 0, {}).Text;
    auto rightEdge = [](const TCoverageMask& M, int Row) {
        int r = 0;
        for (int x = 0; x < M.Width; ++x)
            if (M.Data[size_t(Row) * M.Width + x]) r = x;
        return r;
    };
    // Compare the stem's right edge a third and two thirds of the way down.
    EXPECT_EQ(rightEdge(u, u.Height / 3), rightEdge(u, 2 * u.Height / 3));
    EXPECT_GE(rightEdge(m, m.Height / 3) - rightEdge(m, 2 * m.Height / 3), 2);
}

TEST(TextFont, QualitySelectsMonochromeOrGreyCoverage)
{
    for (uint8_t q : {uint8_t(0), kAntialiasedQuality}) {
        auto f = Font("Arial", -18, 0, 400, false, q);
        TCoverageMask m = RenderRun(*f, LayoutRun(*f, U"Sample"), 0, 0, {}).Text;
        bool grey = false;
        for (uint8_t v : m.Data) grey |= v != 0 && v != 255;
        EXPECT_EQ(grey, q == kAntialiasedQuality) << int(q);
    }
}

TEST(TextRender, AlignmentAndEscapementPlaceTheCellBox)
{
    const int x = 200, y = 150;
    struct { int esc; unsigned align; } cases[] = {
        {0, TA_TOP | TA_LEFT}, {0, TA_BASELINE | TA_CENTER}, {0, TA_BOTTOM | TA_RIGHT},
        {900, TA_TOP | TA_LEFT}, {900, TA_BOTTOM | TA_RIGHT}, {1800, TA_TOP | TA_LEFT},
        {1800, TA_BASELINE | TA_RIGHT}, {2700, TA_TOP | TA_LEFT}, {2700, TA_BOTTOM | TA_CENTER},
    };
    for (auto c : cases) {
        auto f = Font("Arial", -16, c.esc);
        const TFontMetrics& m = f->Metrics();
        TTextRun run = LayoutRun(*f, DecodeText("Hello, Wide World"));
        const int w = run.Width();
        // Offsets of the unrotated box from the reference point: along the text
        // (a0..a1) and across it, downwards before rotation (d0..d1).
        int a0 = (c.align & TA_CENTER) == TA_CENTER ? -(w / 2) : (c.align & TA_RIGHT) ? -w : 0;
        int d0 = (c.align & TA_BASELINE) == TA_BASELINE ? -m.Ascent : (c.align & TA_BOTTOM) ? -m.Height : 0;
        int a1 = a0 + w, d1 = d0 + m.Height;
        TRect want;
        switch (c.esc) {
        case 0: want = {x + a0, y + d0, x + a1, y + d1}; break;
        case 900: want = {x + d0, y - a1, x + d1, y - a0}; break;
        case 1800: want = {x - a1, y - d1, x - a0, y - d0}; break;
        default: want = {x - d1, y + a0, x - d0, y + a1}; break;
        }
        TTextRenderOptions o;
        o.Align = c.align;
        o.Background = true;
        TTextRender r = RenderRun(*f, run, x, y, o);
        SCOPED_TRACE("escapement " + std::to_string(c.esc) + " align " + std::to_string(c.align));
        EXPECT_EQ(Ink(r.Background), want);
        EXPECT_TRUE(Inside(Ink(r.Text), want)) << Ink(r.Text);
        // The ink reaches close to both ends of the box along the text.
        TRect ink = Ink(r.Text);
        int slackStart = c.esc == 0 ? ink.L - want.L : c.esc == 900 ? want.B - ink.B : c.esc == 1800 ? want.R - ink.R : ink.T - want.T;
        int slackEnd = c.esc == 0 ? want.R - ink.R : c.esc == 900 ? ink.T - want.T : c.esc == 1800 ? ink.L - want.L : want.B - ink.B;
        EXPECT_LE(slackStart, 3);
        EXPECT_LE(slackEnd, 3);
        EXPECT_NEAR(r.EndX - r.BaseX, w * f->DirX(), 1e-9);
        EXPECT_NEAR(r.EndY - r.BaseY, w * f->DirY(), 1e-9);
    }
}

TEST(TextRender, ArbitraryAngleRunsAlongTheRotatedBaseline)
{
    for (int esc : {300, 450, 1350, 2250, 3300}) {
        auto f = Font("Arial", -16, esc);
        TTextRun run = LayoutRun(*f, U"Rotated text line");
        TTextRender r = RenderRun(*f, run, 300, 300, {TA_BASELINE | TA_LEFT, false, -1});
        // Every inked pixel lies within the cell height of the baseline segment.
        double dx = f->DirX(), dy = f->DirY();
        const TCoverageMask& m = r.Text;
        int inked = 0;
        for (int py = m.Top; py < m.Top + m.Height; ++py)
            for (int px = m.Left; px < m.Left + m.Width; ++px) {
                if (!m.At(px, py)) continue;
                ++inked;
                double rx = px + 0.5 - r.BaseX, ry = py + 0.5 - r.BaseY;
                double along = rx * dx + ry * dy, up = rx * dy - ry * dx; // up is positive above the baseline
                EXPECT_GE(along, -2) << esc;
                EXPECT_LE(along, run.Width() + 2) << esc;
                EXPECT_LE(up, f->Metrics().Ascent + 1.5) << esc;
                EXPECT_GE(up, -f->Metrics().Descent - 1.5) << esc;
            }
        EXPECT_GT(inked, 100) << esc;
    }
}

TEST(TextRender, DistancesDecorationsAndMnemonicUnderline)
{
    auto f = Font("Arial", -16);
    int dx[] = {20, 20, 20};
    TTextRun run = LayoutRun(*f, U"iii", dx, 3);
    EXPECT_EQ(run.Offsets, (std::vector<int>{0, 20, 40, 60}));
    // Underlining one character draws a line below the baseline under it alone.
    TTextRenderOptions o{TA_BASELINE, false, 1};
    TTextRender r = RenderRun(*f, run, 0, 0, o);
    int row = f->Metrics().UnderlineTop;
    EXPECT_EQ(r.Text.At(10, row), 0);
    EXPECT_EQ(r.Text.At(25, row), 255);
    EXPECT_EQ(r.Text.At(39, row), 255);
    EXPECT_EQ(r.Text.At(45, row), 0);

    TFontRequest req;
    req.FaceName = "Arial";
    req.Height = -16;
    req.Underline = req.StrikeOut = true;
    auto decorated = TFontInstance::Realize(req);
    TTextRun wide = LayoutRun(*decorated, U"a   b");
    r = RenderRun(*decorated, wide, 0, 0, {TA_BASELINE, false, -1});
    int mid = wide.Offsets[2];
    EXPECT_EQ(r.Text.At(mid, decorated->Metrics().UnderlineTop), 255);
    EXPECT_EQ(r.Text.At(mid, decorated->Metrics().StrikeOutTop), 255);
    EXPECT_EQ(r.Text.At(mid, -1), 0);
}

TEST(TextRender, DecodesUtf8AndFallsBackToLatin1)
{
    struct { std::string in; std::u32string out; } cases[] = {
        {"abc", U"abc"},
        {"caf\xC3\xA9", U"caf\u00E9"},
        {"\xE2\x82\xAC", U"\u20AC"},
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
        {"caf\xE9", U"caf\u00E9"},         // lone Latin-1 byte
        {"\xC3", U"\u00C3"},               // truncated sequence
        {"\xE0\x80\x80", U"\u00E0\u0080\u0080"}, // overlong
    };
    for (auto& c : cases) EXPECT_EQ(DecodeText(c.in), c.out) << c.in;
}

TEST(TextFont, GlyphCacheIsBoundedAndPoolIsShared)
{
    auto a = Font("Arial", -15);
    auto b = Font("Arial", -15);
    EXPECT_EQ(a.get(), b.get());
    for (char32_t c = 0x4E00; c < 0x4E00 + 5000; ++c) a->Glyph(c);
    EXPECT_LE(a->CachedGlyphs(), 4096u + 256u);
}

TEST(TextRender, LimitKeepsMasksToTheVisibleArea)
{
    auto f = Font("Arial", -16);
    TTextRun shortRun = LayoutRun(*f, U"Visible part of a line");
    std::u32string longText = shortRun.Chars;
    while (longText.size() < 20000) longText += U" and more text";
    TTextRun longRun = LayoutRun(*f, longText);
    TTextRenderOptions o{TA_TOP | TA_LEFT, true, -1, true, {0, 0, 100, 40}};
    TTextRender limited = RenderRun(*f, longRun, 5, 5, o);
    EXPECT_LE(limited.Text.Width, 100);
    EXPECT_LE(limited.Background.Width, 100);
    TTextRender full = RenderRun(*f, shortRun, 5, 5, {});
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(limited.Text.At(x, y), full.Text.At(x, y)) << x << "," << y;
}
