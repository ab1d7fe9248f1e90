// MulDiv's rounding, 64-bit product and failures, and rectangles without right and bottom edges.
#include "platform/ui/Printers.h"
#include "platform/ui/Types.h"

#include <gtest/gtest.h>

namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, -1, 2), -3);
    EXPECT_EQ(MulDiv(-5, -1, -2), -3);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);
    EXPECT_EQ(MulDiv(8, 1, 3), 3);
    EXPECT_EQ(MulDiv(9, 96, 72), 12);
}

TEST(MulDiv, UsesA64BitProduct)
{
    EXPECT_EQ(MulDiv(1'000'000, 1'000'000, 1'000'000), 1'000'000);
}

TEST(MulDiv, AnswersMinusOneForAZeroDivisorOrAnOverflow)
{
    EXPECT_EQ(MulDiv(10, 20, 0), -1);
    EXPECT_EQ(MulDiv(2'000'000'000, 2, 1), -1);
}

TEST(TRect, ExcludesRightAndBottom)
{
    const TRect r = Rect(1, 2, 5, 6);
    EXPECT_EQ(r.Width(), 4);
    EXPECT_TRUE(r.Contains(Point(1, 2)));
    EXPECT_TRUE(r.Contains(Point(4, 5)));
    EXPECT_FALSE(r.Contains(Point(5, 5)));
    EXPECT_FALSE(r.Contains(Point(4, 6)));
    EXPECT_EQ(Bounds(1, 2, 4, 4), r);
    EXPECT_TRUE(Rect(3, 0, 3, 10).IsEmpty());
    EXPECT_TRUE(Rect(5, 0, 3, 10).IsEmpty());
}

TEST(TRect, IntersectionAndUnion)
{
    TRect common;
    EXPECT_TRUE(IntersectRect(common, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
    EXPECT_EQ(common, Rect(5, 5, 10, 10));
    EXPECT_FALSE(IntersectRect(common, Rect(0, 0, 5, 5), Rect(5, 0, 10, 5)));  // touching is not overlapping
    EXPECT_EQ(common, TRect{});

    TRect both;
    EXPECT_TRUE(UnionRect(both, Rect(0, 0, 2, 2), Rect(5, 5, 6, 6)));
    EXPECT_EQ(both, Rect(0, 0, 6, 6));
    EXPECT_TRUE(UnionRect(both, Rect(3, 3, 3, 9), Rect(5, 5, 6, 6)));  // an empty one does not count
    EXPECT_EQ(both, Rect(5, 5, 6, 6));
}

TEST(TRect, OffsetAndInflate)
{
    TRect r = Rect(1, 1, 3, 3);
    r.Offset(2, -1);
    EXPECT_EQ(r, Rect(3, 0, 5, 2));
    r.Inflate(1, 2);
    EXPECT_EQ(r, Rect(2, -2, 6, 4));
}

}  // namespace
