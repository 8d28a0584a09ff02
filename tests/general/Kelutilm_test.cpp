#include "general/Kelutilm.h"

#include <gtest/gtest.h>

using namespace kel;

TEST(Kelutilm, CeilTruncatesThenRoundsUpPositiveFractions)
{
    struct { double in; int32_t out; } cases[] = {
        {-1.5, -1}, {2.0, 2}, {2.0001, 3}, {0.0, 0}, {-0.25, 0}, {7.5, 8}, {-3.0, -3},
    };
    for (auto c : cases) EXPECT_EQ(kelCeil(c.in), c.out) << c.in;
}

TEST(Kelutilm, MinMaxPreferB)
{
    EXPECT_EQ(kelMin(3, 5), 3);
    EXPECT_EQ(kelMax(3, 5), 5);
    EXPECT_EQ(kelMinMax(-1, 0, 10), 0);
    EXPECT_EQ(kelMinMax(11, 0, 10), 10);
    EXPECT_EQ(kelMinMax(5, 0, 10), 5);
    // Lower bound tested first when the bounds cross.
    EXPECT_EQ(kelMinMax(5, 8, 2), 8);
}

TEST(Kelutilm, MinMaxNotDefaultSkipsBoundsEqualToMarker)
{
    struct { int32_t v, lo, hi, marker, out; } cases[] = {
        {5, 0, 10, 0, 5}, {-3, 0, 10, 0, -3}, {-3, 1, 10, 0, 1}, {12, 1, 10, 10, 12},
        {12, 1, 10, -1, 10}, {-5, -1, -1, -1, -5},
    };
    for (auto c : cases)
        EXPECT_EQ(kelMinMaxNotDefault(c.v, c.lo, c.hi, c.marker), c.out) << c.v << " " << c.lo << " " << c.hi;
}
