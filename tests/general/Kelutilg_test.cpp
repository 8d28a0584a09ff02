#include "general/Kelutilg.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace kel;

namespace {

constexpr double DegToRad = 0.017453292519943295;

struct TAngle {
    double s, c;
};
TAngle Deg(double degrees) { return {std::sin(degrees * DegToRad), std::cos(degrees * DegToRad)}; }

} // namespace

TEST(Kelutilg, BevelEdgesAreOneByteWithTheDocumentedBits)
{
    EXPECT_EQ(TBevelEdges{beLeft}.ToByte(), 1);
    EXPECT_EQ(TBevelEdges{beTop}.ToByte(), 2);
    EXPECT_EQ(TBevelEdges{beRight}.ToByte(), 4);
    EXPECT_EQ(TBevelEdges{beBottom}.ToByte(), 8);
    EXPECT_EQ(AllBevelEdges.ToByte(), 15);

    TBevelEdges e = TBevelEdges::FromByte(5);
    EXPECT_TRUE(e.Contains(beLeft) && e.Contains(beRight));
    EXPECT_FALSE(e.Contains(beTop) || e.Contains(beBottom));
    e.Include(beTop).Exclude(beLeft);
    EXPECT_EQ(e, (TBevelEdges{beTop, beRight}));
    EXPECT_EQ((AllBevelEdges - TBevelEdges{beTop}).ToByte(), 13);
    EXPECT_EQ((e * TBevelEdges{beRight, beBottom}), TBevelEdges{beRight});
    EXPECT_TRUE(TBevelEdges{}.Empty());
    static_assert(sizeof(TBevelEdges) == 1);
}

TEST(Kelutilg, OffsetsAndCorners)
{
    TPoint pts[4];
    SetRectPoints({1, 2, 10, 20}, pts);
    EXPECT_EQ(pts[0], (TPoint{1, 2}));
    EXPECT_EQ(pts[1], (TPoint{10, 2}));
    EXPECT_EQ(pts[2], (TPoint{10, 20}));
    EXPECT_EQ(pts[3], (TPoint{1, 20}));

    OffsetPoints(pts, 2, -1, 5); // highest index 2: the last point stays
    EXPECT_EQ(pts[0], (TPoint{0, 7}));
    EXPECT_EQ(pts[2], (TPoint{9, 25}));
    EXPECT_EQ(pts[3], (TPoint{1, 20}));
}

TEST(Kelutilg, PolygonBounds)
{
    TPoint one[] = {{3, -4}};
    EXPECT_EQ(GetPolygonBounds(one, 0), (TRect{3, -4, 3, -4}));

    TPoint many[] = {{5, 1}, {-2, 7}, {4, -3}, {0, 0}};
    EXPECT_EQ(GetPolygonBounds(many, 3), (TRect{-2, -3, 5, 7}));
    EXPECT_EQ(GetPolygonBounds(many, 1), (TRect{-2, 1, 5, 7}));
    EXPECT_EQ(GetPolygonBounds(many, -1), TRect{});
}

TEST(Kelutilg, RotatePointBothSenses)
{
    const TPoint centre{10, 10};
    struct { double deg; TPoint in, win, screen; } cases[] = {
        {0, {11, 10}, {11, 10}, {11, 10}},
        {90, {11, 10}, {10, 9}, {10, 11}},   // win turns right-of-centre up, screen down
        {180, {11, 10}, {9, 10}, {9, 10}},
        {270, {11, 10}, {10, 11}, {10, 9}},
        {90, {10, 7}, {7, 10}, {13, 10}},
        {45, {20, 10}, {17, 3}, {17, 17}},   // 7.07 rounds to 7
        {30, {14, 10}, {13, 8}, {13, 12}},   // 3.46 -> 3, 2.0 -> 2
        {-90, {11, 10}, {10, 11}, {10, 9}},
    };
    for (auto c : cases) {
        TAngle a = Deg(c.deg);
        TPoint w = c.in, s = c.in;
        RotateWinPoint(centre, w, a.s, a.c);
        RotatePoint(centre, s, a.s, a.c);
        EXPECT_EQ(w, c.win) << c.deg;
        EXPECT_EQ(s, c.screen) << c.deg;
    }
}

TEST(Kelutilg, RotationRoundsHalvesToEven)
{
    // A sine of 0.5 puts the products on halves: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
    const TPoint centre{0, 0};
    struct { TPoint in; int y; } cases[] = {{{1, 0}, 0}, {{3, 0}, 2}, {{5, 0}, 2}, {{-1, 0}, 0}, {{-3, 0}, -2}};
    for (auto c : cases) {
        TPoint p = c.in;
        RotatePoint(centre, p, 0.5, 0.0);
        EXPECT_EQ(p.y, c.y) << c.in.x;
    }
}

TEST(Kelutilg, RotateRectAndBounds)
{
    const TPoint centre{0, 0};
    TAngle a = Deg(90);

    TPoint pts[4];
    RotateWinRect(centre, {0, 0, 4, 2}, pts, a.s, a.c);
    EXPECT_EQ(pts[0], (TPoint{0, 0})); // the centre itself stays
    EXPECT_EQ(pts[1], (TPoint{0, -4}));
    EXPECT_EQ(pts[2], (TPoint{2, -4}));
    EXPECT_EQ(pts[3], (TPoint{2, 0}));

    TRect r{0, 0, 4, 2};
    RotateWinRectBounds(centre, r, a.s, a.c);
    EXPECT_EQ(r, (TRect{0, -4, 2, 0}));

    r = {0, 0, 4, 2};
    RotateRectBounds(centre, r, a.s, a.c);
    EXPECT_EQ(r, (TRect{-2, 0, 0, 4}));

    RotateRect(centre, {0, 0, 4, 2}, pts, a.s, a.c);
    EXPECT_EQ(pts[2], (TPoint{-2, 4}));

    TRect same{3, 4, 30, 40};
    RotateWinRectBounds({7, 7}, same, 0, 1);
    EXPECT_EQ(same, (TRect{3, 4, 30, 40}));

    // 45 degrees about the middle: a square's bounds grow by the diagonal.
    TRect sq{-10, -10, 10, 10};
    TAngle d45 = Deg(45);
    RotateRectBounds(centre, sq, d45.s, d45.c);
    EXPECT_EQ(sq, (TRect{-14, -14, 14, 14}));
}

TEST(Kelutilg, PolygonRotationsAreInverse)
{
    TPoint pts[] = {{3, 4}, {-7, 2}, {0, 0}, {12, -5}};
    const TPoint orig[] = {{3, 4}, {-7, 2}, {0, 0}, {12, -5}};
    for (double deg : {90.0, 180.0, 270.0}) {
        TAngle a = Deg(deg);
        RotateWinPolygon({0, 0}, pts, 3, a.s, a.c);
        RotatePolygon({0, 0}, pts, 3, a.s, a.c);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(pts[i], orig[i]) << deg << " #" << i;
    }
}
