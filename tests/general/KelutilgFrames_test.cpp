// Pixel probes of the 3-D frames on a 10x10 white bitmap; 'T' marks the top
// colour, 'B' the bottom colour.
#include "general/Kelutilg.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

using namespace kel;
using host::TBitmap;
using host::TCanvas;

namespace {

constexpr host::TColor Top = host::clRed, Bottom = host::clBlue;

struct Sheet {
    TBitmap Bmp;
    Sheet()
    {
        Bmp.SetSize(10, 10);
    }
    TCanvas* C() { return Bmp.GetCanvas(); }
    char At(int X, int Y)
    {
        host::TColor c = C()->GetPixels(X, Y);
        return c == Top ? 'T' : c == Bottom ? 'B' : c == host::clWhite ? '.' : '?';
    }
    std::string Map()
    {
        std::string s;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) s += At(x, y);
            s += '\n';
        }
        return s;
    }
};

struct Probe {
    int X, Y;
    char Expected;
};

void ExpectProbes(Sheet& S, std::initializer_list<Probe> Probes)
{
    for (const Probe& p : Probes) EXPECT_EQ(S.At(p.X, p.Y), p.Expected) << "(" << p.X << "," << p.Y << ")\n" << S.Map();
}

} // namespace

TEST(KelutilgFrames, WidthZeroDrawsNothingAndWidthTwoShrinksByTwo)
{
    using Draw = std::function<void(TCanvas*, TRect&, int)>;
    const Draw kinds[] = {
        [](TCanvas* c, TRect& r, int w) { EdgeFrame3D(c, r, Top, Bottom, w, AllBevelEdges); },
        [](TCanvas* c, TRect& r, int w) { RoundFrame3D(c, r, Top, Bottom, w, 2); },
        [](TCanvas* c, TRect& r, int w) { EllipseFrame3D(c, r, Top, Bottom, w); },
    };
    for (const Draw& draw : kinds) {
        Sheet s;
        TRect r{0, 0, 10, 10};
        draw(s.C(), r, 0);
        EXPECT_EQ(r, (TRect{0, 0, 10, 10}));
        EXPECT_EQ(s.Map().find_first_not_of(".\n"), std::string::npos);
        draw(s.C(), r, -3);
        EXPECT_EQ(r, (TRect{0, 0, 10, 10}));
        draw(s.C(), r, 2);
        EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
        EXPECT_NE(s.Map().find_first_not_of(".\n"), std::string::npos);
    }
}

TEST(KelutilgFrames, EdgeFrameRings)
{
    Sheet s;
    TRect r{0, 0, 10, 10};
    EdgeFrame3D(s.C(), r, Top, Bottom, 2, AllBevelEdges);
    ExpectProbes(s, {
                        {0, 0, 'T'}, {5, 0, 'T'}, {0, 5, 'T'}, // outer ring, top and left
                        {9, 0, 'B'}, {9, 5, 'B'}, {5, 9, 'B'}, {9, 9, 'B'},
                        {0, 9, 'B'},                             // the bottom edge covers its start
                        {1, 1, 'T'}, {4, 1, 'T'}, {1, 4, 'T'},   // inner ring
                        {8, 1, 'B'}, {8, 4, 'B'}, {1, 8, 'B'}, {8, 8, 'B'},
                        {2, 2, '.'}, {7, 7, '.'},                // interior
                    });
}

TEST(KelutilgFrames, EdgeFrameDrawsOnlyChosenEdges)
{
    struct Case {
        TBevelEdges Edges;
        Probe Left, TopEdge, Right, BottomEdge;
    } cases[] = {
        {TBevelEdges{beTop}, {0, 5, '.'}, {5, 0, 'T'}, {9, 5, '.'}, {5, 9, '.'}},
        {TBevelEdges{beLeft, beBottom}, {0, 5, 'T'}, {5, 0, '.'}, {9, 5, '.'}, {5, 9, 'B'}},
        {TBevelEdges{beRight}, {0, 5, '.'}, {5, 0, '.'}, {9, 5, 'B'}, {5, 9, '.'}},
    };
    for (const Case& c : cases) {
        Sheet s;
        TRect r{0, 0, 10, 10};
        EdgeFrame3D(s.C(), r, Top, Bottom, 1, c.Edges);
        EXPECT_EQ(r, (TRect{1, 1, 9, 9}));
        ExpectProbes(s, {c.Left, c.TopEdge, c.Right, c.BottomEdge});
    }
}

TEST(KelutilgFrames, RoundFrameRings)
{
    // Radius 0: straight rings whose bottom-left corner keeps the top colour.
    Sheet square;
    TRect r{0, 0, 10, 10};
    RoundFrame3D(square.C(), r, Top, Bottom, 1, 0);
    ExpectProbes(square, {{0, 0, 'T'}, {0, 9, 'T'}, {9, 0, 'B'}, {9, 9, 'B'}, {1, 1, '.'}});

    Sheet round;
    r = TRect{0, 0, 10, 10};
    RoundFrame3D(round.C(), r, Top, Bottom, 2, 2);
    ExpectProbes(round, {
                            {0, 0, '.'}, {9, 0, '.'}, {0, 9, '.'}, {9, 9, '.'}, // rounded corners
                            {0, 4, 'T'}, {4, 0, 'T'}, {9, 4, 'B'}, {4, 9, 'B'}, // outer ring
                            {1, 4, 'T'}, {4, 1, 'T'}, {8, 4, 'B'}, {4, 8, 'B'}, // inner ring
                            {4, 4, '.'},
                        });
}

TEST(KelutilgFrames, EllipseFrameRings)
{
    Sheet s;
    TRect r{0, 0, 10, 10};
    EllipseFrame3D(s.C(), r, Top, Bottom, 2);
    ExpectProbes(s, {
                        {0, 0, '.'}, {9, 9, '.'},              // outside the ellipse
                        {0, 4, 'T'}, {4, 0, 'T'},              // outer ring, upper-left half
                        {9, 5, 'B'}, {5, 9, 'B'},              // outer ring, lower-right half
                        {1, 4, 'T'}, {8, 5, 'B'},              // inner ring
                        {4, 4, '.'}, {5, 5, '.'},
                    });
}
