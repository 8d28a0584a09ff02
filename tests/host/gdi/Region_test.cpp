#include "GdiTestUtil.h"

#include <gtest/gtest.h>

using namespace host;
using host::test::TestCanvas;

namespace {

struct Rgn {
    HRGN H;
    explicit Rgn(HRGN h) : H(h) {}
    ~Rgn() { DeleteObject(H); }
    operator HRGN() const { return H; }
};

}  // namespace

TEST(Regions, CombineModes)
{
    struct Case {
        int mode;
        int result;
        RECT box;
        POINT in, out;
    } cases[] = {
        {RGN_AND, SIMPLEREGION, {3, 3, 6, 6}, {4, 4}, {1, 1}},
        {RGN_OR, COMPLEXREGION, {0, 0, 9, 9}, {8, 8}, {8, 1}},
        {RGN_XOR, COMPLEXREGION, {0, 0, 9, 9}, {1, 1}, {4, 4}},
        {RGN_DIFF, COMPLEXREGION, {0, 0, 6, 6}, {1, 4}, {4, 4}},
        {RGN_COPY, SIMPLEREGION, {0, 0, 6, 6}, {5, 5}, {6, 6}},
    };
    for (const Case& c : cases) {
        Rgn a(CreateRectRgn(0, 0, 6, 6)), b(CreateRectRgn(3, 3, 9, 9)), d(CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.result) << c.mode;
        RECT box;
        EXPECT_EQ(GetRgnBox(d, &box), c.result);
        EXPECT_EQ(box, c.box) << c.mode;
        EXPECT_TRUE(PtInRegion(d, c.in.x, c.in.y)) << c.mode;
        EXPECT_FALSE(PtInRegion(d, c.out.x, c.out.y)) << c.mode;
    }
    Rgn a(CreateRectRgn(0, 0, 2, 2)), b(CreateRectRgn(5, 5, 6, 6)), d(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_OR), ERROR);
}

TEST(Regions, EqualAreasCompareEqual)
{
    Rgn left(CreateRectRgn(0, 0, 5, 10)), right(CreateRectRgn(5, 0, 10, 10));
    Rgn top(CreateRectRgn(0, 0, 10, 4)), bottom(CreateRectRgn(0, 4, 10, 10));
    Rgn u1(CreateRectRgn(0, 0, 0, 0)), u2(CreateRectRgn(0, 0, 0, 0)), whole(CreateRectRgn(0, 0, 10, 10));
    CombineRgn(u1, left, right, RGN_OR);
    CombineRgn(u2, top, bottom, RGN_OR);
    EXPECT_TRUE(EqualRgn(u1, u2));
    EXPECT_TRUE(EqualRgn(u1, whole));
    EXPECT_EQ(CombineRgn(u1, u1, whole, RGN_AND), SIMPLEREGION);
    EXPECT_FALSE(EqualRgn(left, right));
}

TEST(Regions, PolygonFillModes)
{
    // A pentagram: its centre is enclosed twice.
    POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    Rgn alt(CreatePolygonRgn(star, 5, ALTERNATE)), wind(CreatePolygonRgn(star, 5, WINDING));
    EXPECT_FALSE(PtInRegion(alt, 50, 50));
    EXPECT_TRUE(PtInRegion(wind, 50, 50));
    EXPECT_TRUE(PtInRegion(alt, 50, 10));
    EXPECT_TRUE(PtInRegion(wind, 50, 10));
    EXPECT_EQ(CreatePolygonRgn(star, 5, 7), nullptr);
}

TEST(Regions, ShapesOffsetAndQueries)
{
    Rgn e(CreateEllipticRgn(0, 0, 10, 10));
    EXPECT_FALSE(PtInRegion(e, 0, 0));
    EXPECT_TRUE(PtInRegion(e, 5, 5));
    EXPECT_TRUE(PtInRegion(e, 0, 5));
    EXPECT_FALSE(PtInRegion(e, 10, 5));
    Rgn rr(CreateRoundRectRgn(0, 0, 10, 10, 4, 4));
    EXPECT_FALSE(PtInRegion(rr, 0, 0));
    EXPECT_TRUE(PtInRegion(rr, 2, 0));

    Rgn r(CreateRectRgn(6, 6, 2, 2));  // corners in any order
    RECT box;
    GetRgnBox(r, &box);
    EXPECT_EQ(box, (RECT{2, 2, 6, 6}));
    EXPECT_EQ(OffsetRgn(r, 10, -2), SIMPLEREGION);
    GetRgnBox(r, &box);
    EXPECT_EQ(box, (RECT{12, 0, 16, 4}));
    RECT hit{15, 3, 20, 20}, miss{16, 0, 20, 4};
    EXPECT_TRUE(RectInRegion(r, &hit));
    EXPECT_FALSE(RectInRegion(r, &miss));
    SetRectRgn(r, 0, 0, 0, 0);
    EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
}

TEST(Regions, PaintingRegions)
{
    TestCanvas cv;
    Rgn r(CreateRectRgn(2, 2, 8, 8));
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    FrameRgn(cv.Dc, r, black, 1, 1);
    EXPECT_EQ(cv.At(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(cv.At(7, 5), RGB(0, 0, 0));
    EXPECT_EQ(cv.At(3, 3), RGB(255, 255, 255));
    EXPECT_EQ(cv.At(8, 8), RGB(255, 255, 255));
    InvertRgn(cv.Dc, r);
    EXPECT_EQ(cv.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(cv.At(3, 3), RGB(0, 0, 0));

    TestCanvas moved;
    SetWindowOrgEx(moved.Dc, 2, 2, nullptr);  // regions are drawn in logical coordinates
    FillRgn(moved.Dc, r, black);
    SetWindowOrgEx(moved.Dc, 0, 0, nullptr);
    EXPECT_EQ(moved.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(moved.At(5, 5), RGB(0, 0, 0));
    EXPECT_EQ(moved.At(6, 6), RGB(255, 255, 255));
}

// Clip regions are in device coordinates; clip rectangles are logical.
TEST(Clipping, OriginsAndClipRectangles)
{
    TestCanvas cv;
    SetViewportOrgEx(cv.Dc, 2, 2, nullptr);
    IntersectClipRect(cv.Dc, 0, 0, 3, 3);
    RECT box;
    EXPECT_EQ(GetClipBox(cv.Dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 3, 3}));
    RECT all{-5, -5, 20, 20};
    FillRect(cv.Dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetViewportOrgEx(cv.Dc, 0, 0, nullptr);
    SelectClipRgn(cv.Dc, nullptr);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            bool in = x >= 2 && x < 5 && y >= 2 && y < 5;
            ASSERT_EQ(cv.At(x, y), in ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x << "," << y;
        }

    TestCanvas c2;
    Rgn r(CreateRectRgn(0, 0, 4, 4));
    SetWindowOrgEx(c2.Dc, -5, -5, nullptr);  // logical (0,0) is device (5,5)
    EXPECT_EQ(SelectClipRgn(c2.Dc, r), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(c2.Dc, -4, -4, -3, -3), COMPLEXREGION);  // device (1,1)
    EXPECT_TRUE(PtVisible(c2.Dc, -5, -5));
    EXPECT_FALSE(PtVisible(c2.Dc, -4, -4));
    EXPECT_FALSE(PtVisible(c2.Dc, 0, 0));
    RECT vis{-2, -2, 0, 0}, invis{0, 0, 3, 3};
    EXPECT_TRUE(RectVisible(c2.Dc, &vis));
    EXPECT_FALSE(RectVisible(c2.Dc, &invis));
    Rgn got(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(c2.Dc, got), 1);
    EXPECT_TRUE(PtInRegion(got, 0, 0));
    EXPECT_FALSE(PtInRegion(got, 1, 1));
    SelectClipRgn(c2.Dc, nullptr);
    EXPECT_EQ(GetClipRgn(c2.Dc, got), 0);
}

// The clip survives the region it was made from and follows SaveDC.
TEST(Clipping, SelectCopiesAndSaveRestores)
{
    TestCanvas cv;
    HRGN r = CreateRectRgn(0, 0, 2, 2);
    SelectClipRgn(cv.Dc, r);
    DeleteObject(r);
    int level = SaveDC(cv.Dc);
    IntersectClipRect(cv.Dc, 0, 0, 1, 1);
    EXPECT_FALSE(PtVisible(cv.Dc, 1, 1));
    RestoreDC(cv.Dc, level);
    EXPECT_TRUE(PtVisible(cv.Dc, 1, 1));
    EXPECT_FALSE(PtVisible(cv.Dc, 2, 2));
    EXPECT_EQ(SetPixel(cv.Dc, 5, 5, RGB(0, 0, 0)), CLR_INVALID);
    EXPECT_EQ(GetPixel(cv.Dc, 5, 5), CLR_INVALID);
}
