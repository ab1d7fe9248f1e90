// Round to the even neighbour, Trunc and Frac toward zero, and values beyond Int64.
#include "platform/core/Rounding.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <limits>

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

TEST(RoundAndTrunc, ValuesOutsideInt64RaiseInvalidOp)
{
    constexpr long double Limit = 9223372036854775808.0L;  // 2^63
    for (const long double bad : {std::numeric_limits<long double>::quiet_NaN(), std::numeric_limits<long double>::infinity(),
                                  -std::numeric_limits<long double>::infinity(), Limit, -Limit - 1, 1e300L}) {
        EXPECT_THROW(Round(bad), EInvalidOp) << static_cast<double>(bad);
        EXPECT_THROW(Trunc(bad), EInvalidOp) << static_cast<double>(bad);
    }
    EXPECT_EQ(Trunc(-Limit), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Trunc(Limit - 0.5L), std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(Round(Limit - 0.5L), EInvalidOp);  // 2^63 - 0.5 rounds to the even 2^63
}
