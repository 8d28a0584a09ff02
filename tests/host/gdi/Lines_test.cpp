#include "GdiTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace host;
using host::test::Rows;
using host::test::Selected;
using host::test::TestCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

int CountPainted(const TestCanvas& c)
{
    int n = 0;
    for (int y = 0; y < c.H; ++y)
        for (int x = 0; x < c.W; ++x)
            n += c.At(x, y) != kWhite;
    return n;
}

}  // namespace

// A line paints its start point and every pixel up to, but not including, its
// end point, in every octant.
TEST(Lines, EndPointExcludedInEveryOctant)
{
    struct Case {
        int dx, dy;
    } cases[] = {{4, 0}, {4, 2}, {4, 4}, {2, 4}, {0, 4}, {-2, 4}, {-4, 4}, {-4, 2},
                 {-4, 0}, {-4, -2}, {-4, -4}, {-2, -4}, {0, -4}, {2, -4}, {4, -4}, {4, -1}};
    for (const Case& c : cases) {
        TestCanvas cv;
        MoveToEx(cv.Dc, 5, 5, nullptr);
        LineTo(cv.Dc, 5 + c.dx, 5 + c.dy);
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        EXPECT_EQ(cv.At(5, 5), kBlack);
        EXPECT_EQ(cv.At(5 + c.dx, 5 + c.dy), kWhite);
        EXPECT_EQ(CountPainted(cv), std::max(std::abs(c.dx), std::abs(c.dy)));
        POINT cur;
        GetCurrentPositionEx(cv.Dc, &cur);
        EXPECT_EQ(cur, (POINT{5 + c.dx, 5 + c.dy}));
    }
}

TEST(Lines, StraightAndDiagonalLinesAreExact)
{
    TestCanvas cv;
    MoveToEx(cv.Dc, 1, 1, nullptr);
    LineTo(cv.Dc, 8, 1);
    LineTo(cv.Dc, 8, 8);
    LineTo(cv.Dc, 1, 1);
    EXPECT_EQ(cv.Mask(), Rows({"..........", ".########.", "..#.....#.", "...#....#.", "....#...#.",
                               ".....#..#.", "......#.#.", ".......##.", "........#.", ".........."}));
}

// With XOR, a polyline's shared vertices are painted exactly once.
TEST(Lines, PolylineVerticesPaintedOnce)
{
    TestCanvas cv;
    SetROP2(cv.Dc, R2_NOT);
    POINT pts[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}, {1, 1}};
    Polyline(cv.Dc, pts, 5);
    EXPECT_EQ(cv.At(6, 1), kBlack);
    EXPECT_EQ(cv.At(6, 6), kBlack);
    EXPECT_EQ(cv.At(1, 1), kBlack);
    EXPECT_EQ(CountPainted(cv), 20);
}

// Cosmetic dash styles; gaps take the background colour when opaque.
TEST(Lines, DashStylesAndBackgroundMode)
{
    struct Case {
        int style;
        int bkMode;
        const char* row;  // 30 pixels of row 0: P pen, B background, . untouched
    } cases[] = {
        {PS_DOT, OPAQUE, "PPPBBBPPPBBBPPPBBBPPPBBBPPPBBB"},
        {PS_DOT, TRANSPARENT, "PPP...PPP...PPP...PPP...PPP..."},
        {PS_DASH, TRANSPARENT, "PPPPPPPPPPPPPPPPPP......PPPPPP"},
        {PS_DASHDOT, TRANSPARENT, "PPPPPPPPP......PPP......PPPPPP"},
        {PS_DASHDOTDOT, TRANSPARENT, "PPPPPPPPP...PPP...PPP...PPPPPP"},
    };
    for (const Case& c : cases) {
        TestCanvas cv(30, 1);
        SetBkColor(cv.Dc, RGB(0, 255, 0));
        SetBkMode(cv.Dc, c.bkMode);
        Selected pen(cv.Dc, CreatePen(c.style, 1, RGB(255, 0, 0)));
        MoveToEx(cv.Dc, 0, 0, nullptr);
        LineTo(cv.Dc, 30, 0);
        std::string got;
        for (int x = 0; x < 30; ++x) {
            COLORREF p = cv.At(x, 0);
            got += p == RGB(255, 0, 0) ? 'P' : p == RGB(0, 255, 0) ? 'B' : '.';
        }
        EXPECT_EQ(got, c.row) << "style " << c.style;
    }
}

// Wide pens cover the pixels whose centres lie within half the width of the
// path: a 3-pixel line covers three rows and its round ends reach one pixel
// past both end points; even widths do not grow an extra row.
TEST(Lines, WidePensAreCentredAndRound)
{
    TestCanvas cv(12, 9);
    {
        Selected pen(cv.Dc, CreatePen(PS_SOLID, 3, kBlack));
        MoveToEx(cv.Dc, 3, 4, nullptr);
        LineTo(cv.Dc, 8, 4);
    }
    EXPECT_EQ(cv.Mask(), Rows({"............", "............", "............", "..########..",
                               "..########..", "..########..", "............", "............",
                               "............"}));
    TestCanvas even(12, 9);
    Selected pen(even.Dc, CreatePen(PS_SOLID, 2, kBlack));
    MoveToEx(even.Dc, 3, 4, nullptr);
    LineTo(even.Dc, 8, 4);
    int rows = 0;
    for (int y = 0; y < 9; ++y)
        rows += even.At(5, y) == kBlack;
    EXPECT_EQ(rows, 2);
}

// Styled pens wider than one pixel draw solid.
TEST(Lines, WideStyledPenDrawsSolid)
{
    TestCanvas cv(20, 5);
    Selected pen(cv.Dc, CreatePen(PS_DOT, 2, kBlack));
    MoveToEx(cv.Dc, 2, 2, nullptr);
    LineTo(cv.Dc, 17, 2);
    for (int x = 2; x < 17; ++x)
        EXPECT_EQ(cv.At(x, 2), kBlack) << x;
}

TEST(Lines, NullPenDrawsNothingButMoves)
{
    TestCanvas cv;
    SelectObject(cv.Dc, GetStockObject(NULL_PEN));
    MoveToEx(cv.Dc, 0, 0, nullptr);
    LineTo(cv.Dc, 9, 9);
    EXPECT_EQ(CountPainted(cv), 0);
    POINT p;
    GetCurrentPositionEx(cv.Dc, &p);
    EXPECT_EQ(p, (POINT{9, 9}));
}
