#include "platform/core/Rounding.h"

#include <gtest/gtest.h>

TEST(Round, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(2.5000000001), 3);
    EXPECT_EQ(Round(-0.49), 0);
    EXPECT_EQ(Round(1e15 + 0.5), 1000000000000000);
}

TEST(TruncAndFrac, SplitTowardZero)
{
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_DOUBLE_EQ(static_cast<double>(Frac(2.75)), 0.75);
    EXPECT_DOUBLE_EQ(static_cast<double>(Frac(-2.75)), -0.75);
    EXPECT_EQ(Frac(3.0), 0);
}
