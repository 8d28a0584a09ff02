#include "GdiTestUtil.h"

#include <gtest/gtest.h>

#include <functional>

using namespace host;
using host::test::Rows;
using host::test::Selected;
using host::test::TestCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// '#' pen (black), 'o' brush (red), '.' untouched.
std::string PenBrushMask(const TestCanvas& c)
{
    std::string s;
    for (int y = 0; y < c.H; ++y) {
        for (int x = 0; x < c.W; ++x) {
            COLORREF p = c.At(x, y);
            s += p == kBlack ? '#' : p == kRed ? 'o' : '.';
        }
        s += '\n';
    }
    return s;
}

}  // namespace

// Bounds exclude right and bottom; without a pen the fill stops one pixel
// earlier still; PS_INSIDEFRAME keeps a wide pen inside the bounds while a
// plain wide pen straddles them.
TEST(Shapes, RectangleBounds)
{
    struct Case {
        const char* name;
        int style, width;
        RECT r;
        std::string expected;
    } cases[] = {
        {"cosmetic", PS_SOLID, 1, {1, 1, 6, 5},
         Rows({"........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####..", "........"})},
        {"null pen", PS_NULL, 1, {1, 1, 6, 5},
         Rows({"........", ".oooo...", ".oooo...", ".oooo...", "........", "........"})},
        {"inside frame", PS_INSIDEFRAME, 2, {1, 0, 7, 6},
         Rows({".######.", ".######.", ".##oo##.", ".##oo##.", ".######.", ".######."})},
        {"centred wide", PS_SOLID, 3, {2, 2, 6, 5},
         Rows({"........", ".######.", ".######.", ".######.", ".######.", ".######."})},
    };
    for (const Case& c : cases) {
        TestCanvas cv(8, 6);
        Selected pen(cv.Dc, CreatePen(c.style, c.width, kBlack));
        Selected brush(cv.Dc, CreateSolidBrush(kRed));
        Rectangle(cv.Dc, c.r.left, c.r.top, c.r.right, c.r.bottom);
        EXPECT_EQ(PenBrushMask(cv), c.expected) << c.name;
    }
}

TEST(Shapes, EllipseBoundsExcludeRightBottom)
{
    TestCanvas cv(12, 12);
    Ellipse(cv.Dc, 0, 0, 10, 10);
    auto column = [&](int x) {
        for (int y = 0; y < 12; ++y)
            if (cv.At(x, y) != kWhite)
                return true;
        return false;
    };
    auto row = [&](int y) {
        for (int x = 0; x < 12; ++x)
            if (cv.At(x, y) != kWhite)
                return true;
        return false;
    };
    EXPECT_TRUE(column(0));
    EXPECT_TRUE(column(9));
    EXPECT_FALSE(column(10));
    EXPECT_TRUE(row(0));
    EXPECT_TRUE(row(9));
    EXPECT_FALSE(row(10));
    // Symmetric about the centre of the pixels 0..9.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(cv.At(x, y), cv.At(9 - x, 9 - y)) << x << "," << y;

    TestCanvas np(12, 12);
    SelectObject(np.Dc, GetStockObject(NULL_PEN));
    SelectObject(np.Dc, GetStockObject(BLACK_BRUSH));
    Ellipse(np.Dc, 0, 0, 10, 10);
    bool beyond = false;
    for (int i = 0; i < 12; ++i)
        beyond = beyond || np.At(9, i) != kWhite || np.At(i, 9) != kWhite;
    EXPECT_FALSE(beyond);
    EXPECT_EQ(np.At(4, 0), kBlack);
    EXPECT_EQ(np.At(0, 4), kBlack);
}

TEST(Shapes, RoundRectCutsCorners)
{
    TestCanvas cv;
    Selected brush(cv.Dc, CreateSolidBrush(kRed));
    RoundRect(cv.Dc, 0, 0, 10, 10, 6, 6);
    EXPECT_EQ(cv.At(0, 0), kWhite);
    EXPECT_EQ(cv.At(9, 9), kWhite);
    EXPECT_EQ(cv.At(5, 0), kBlack);
    EXPECT_EQ(cv.At(0, 5), kBlack);
    EXPECT_EQ(cv.At(9, 5), kBlack);
    EXPECT_EQ(cv.At(5, 5), kRed);
}

// Counter-clockwise (the default) from the start radial to the end radial;
// clockwise covers the other part of the ellipse.
TEST(Shapes, ArcDirection)
{
    struct Case {
        int dir;
        bool topRight, bottomLeft;
    } cases[] = {{AD_COUNTERCLOCKWISE, true, false}, {AD_CLOCKWISE, false, true}};
    for (const Case& c : cases) {
        TestCanvas cv;
        EXPECT_NE(SetArcDirection(cv.Dc, c.dir), 0);
        Arc(cv.Dc, 0, 0, 10, 10, 10, 5, 5, 0);
        EXPECT_EQ(cv.At(8, 1) == kBlack, c.topRight) << c.dir;
        EXPECT_EQ(cv.At(1, 8) == kBlack, c.bottomLeft) << c.dir;
        EXPECT_EQ(cv.At(5, 5), kWhite);
    }
}

TEST(Shapes, PieAndChordFillTheirPart)
{
    TestCanvas pie;
    Selected b1(pie.Dc, CreateSolidBrush(kRed));
    Pie(pie.Dc, 0, 0, 10, 10, 10, 5, 5, 0);
    EXPECT_EQ(pie.At(6, 3), kRed);
    EXPECT_EQ(pie.At(3, 6), kWhite);
    EXPECT_EQ(pie.At(7, 5), kBlack);  // the horizontal radial

    TestCanvas chord;
    Selected b2(chord.Dc, CreateSolidBrush(kRed));
    Chord(chord.Dc, 0, 0, 10, 10, 10, 5, 5, 0);
    EXPECT_EQ(chord.At(8, 3), kRed);
    EXPECT_EQ(chord.At(7, 2), kBlack);  // on the chord line
    EXPECT_EQ(chord.At(6, 3), kWhite);  // inside the pie, outside the chord
    EXPECT_EQ(chord.At(3, 6), kWhite);
}

// Polygon interiors leave out their right and bottom edges, so polygons that
// share an edge tile without overlap (XOR shows any double paint).
TEST(Shapes, PolygonFillRuleTiles)
{
    TestCanvas cv;
    SelectObject(cv.Dc, GetStockObject(NULL_PEN));
    SetROP2(cv.Dc, R2_NOT);
    POINT a[] = {{1, 1}, {5, 1}, {5, 6}, {1, 6}};
    POINT b[] = {{5, 1}, {9, 1}, {9, 6}, {5, 6}};
    POINT tri[] = {{1, 6}, {9, 6}, {1, 9}};
    Polygon(cv.Dc, a, 4);
    Polygon(cv.Dc, b, 4);
    Polygon(cv.Dc, tri, 3);
    for (int y = 1; y < 6; ++y)
        for (int x = 1; x < 9; ++x)
            ASSERT_EQ(cv.At(x, y), kBlack) << x << "," << y;
    EXPECT_EQ(cv.At(9, 3), kWhite);
    EXPECT_EQ(cv.At(3, 0), kWhite);
    EXPECT_EQ(cv.At(1, 6), kBlack);
}

TEST(Shapes, PolyFillModes)
{
    // Two nested squares wound the same way: ALTERNATE leaves a hole.
    POINT pts[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {3, 3}, {7, 3}, {7, 7}, {3, 7}};
    INT counts[] = {4, 4};
    struct Case {
        int mode;
        bool holeFilled;
    } cases[] = {{ALTERNATE, false}, {WINDING, true}};
    for (const Case& c : cases) {
        TestCanvas cv;
        SelectObject(cv.Dc, GetStockObject(NULL_PEN));
        SelectObject(cv.Dc, GetStockObject(BLACK_BRUSH));
        SetPolyFillMode(cv.Dc, c.mode);
        PolyPolygon(cv.Dc, pts, counts, 2);
        EXPECT_EQ(cv.At(5, 5) == kBlack, c.holeFilled) << c.mode;
        EXPECT_EQ(cv.At(1, 1), kBlack);
    }
}

// Coordinates far outside the bitmap cost only the visible part and still
// draw that part correctly.
TEST(Shapes, HugeCoordinatesDrawTheVisiblePart)
{
    const int big = 2000000000;
    struct Case {
        const char* name;
        std::function<void(HDC)> draw;
        POINT probe;
    } cases[] = {
        {"rectangle", [&](HDC dc) { Rectangle(dc, -big, -big, big, big); }, {5, 5}},
        {"ellipse", [&](HDC dc) { Ellipse(dc, -big, -big, big, big); }, {5, 5}},
        {"round rect", [&](HDC dc) { RoundRect(dc, -big, -big, big, big, big, big); }, {5, 5}},
        {"pie", [&](HDC dc) { Pie(dc, -big, -big, big, big, 0, big, big, 0); }, {5, 5}},
        {"line", [&](HDC dc) { MoveToEx(dc, -big, 5, nullptr); LineTo(dc, big, 5); }, {9, 5}},
        {"diagonal", [&](HDC dc) { MoveToEx(dc, -big, -big, nullptr); LineTo(dc, big, big); }, {7, 7}},
        {"wide line", [&](HDC dc) {
             HGDIOBJ old = SelectObject(dc, CreatePen(PS_SOLID, 5, RGB(0, 0, 0)));
             MoveToEx(dc, -big, 5, nullptr);
             LineTo(dc, big, 5);
             DeleteObject(SelectObject(dc, old));
         }, {0, 3}},
        {"polygon", [&](HDC dc) {
             POINT tri[] = {{-big, -big}, {big, -big}, {0, big}};
             Polygon(dc, tri, 3);
         }, {5, 5}},
        {"patblt", [&](HDC dc) { PatBlt(dc, 0, 0, INT32_MAX, INT32_MAX, BLACKNESS); }, {9, 9}},
    };
    for (const Case& c : cases) {
        TestCanvas cv;
        SelectObject(cv.Dc, GetStockObject(BLACK_BRUSH));
        c.draw(cv.Dc);
        EXPECT_EQ(cv.At(c.probe.x, c.probe.y), kBlack) << c.name;
    }
    TestCanvas src, dst;
    SetPixel(src.Dc, 0, 0, kRed);
    EXPECT_TRUE(StretchBlt(dst.Dc, 0, 0, big, big, src.Dc, 0, 0, 10, 10, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), kRed);
}

// Dotted pens dash curved outlines too: the dots fall on the solid outline's
// pixels, about half of them, and the gaps take the background colour when
// the background mode is opaque.
TEST(Shapes, DottedCurvedOutlines)
{
    using Draw = std::function<void(HDC)>;
    struct Case {
        const char* name;
        Draw draw;
    } cases[] = {
        {"ellipse", [](HDC dc) { Ellipse(dc, 1, 1, 39, 29); }},
        {"round rect", [](HDC dc) { RoundRect(dc, 1, 1, 39, 29, 16, 12); }},
        {"arc", [](HDC dc) { Arc(dc, 1, 1, 39, 29, 39, 15, 1, 15); }},
        {"pie", [](HDC dc) { Pie(dc, 1, 1, 39, 29, 39, 15, 1, 15); }},
    };
    const COLORREF green = RGB(0, 255, 0);
    for (const Case& c : cases) {
        TestCanvas solid(40, 30);
        SelectObject(solid.Dc, GetStockObject(NULL_BRUSH));
        c.draw(solid.Dc);
        for (int mode : {OPAQUE, TRANSPARENT}) {
            TestCanvas dotted(40, 30);
            SelectObject(dotted.Dc, GetStockObject(NULL_BRUSH));
            Selected pen(dotted.Dc, CreatePen(PS_DOT, 1, kBlack));
            SetBkColor(dotted.Dc, green);
            SetBkMode(dotted.Dc, mode);
            c.draw(dotted.Dc);
            int outline = 0, dots = 0, gaps = 0, stray = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x) {
                    bool on = solid.At(x, y) == kBlack;
                    COLORREF p = dotted.At(x, y);
                    outline += on;
                    dots += on && p == kBlack;
                    gaps += on && p == green;
                    stray += !on && p != kWhite;
                }
            SCOPED_TRACE(testing::Message() << c.name << " mode " << mode);
            EXPECT_EQ(stray, 0);
            EXPECT_GT(dots * 10, outline * 4);
            EXPECT_LT(dots * 10, outline * 6);
            EXPECT_EQ(dots + gaps, mode == OPAQUE ? outline : dots);
        }
    }
}
