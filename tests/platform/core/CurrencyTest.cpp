// Currency: rounding from floating point and in arithmetic, half to even, and range errors.
#include "platform/core/Currency.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Currency, FromDoubleRoundsInExtendedPrecision)
{
    EXPECT_EQ(Currency::FromDouble(1.5).Raw(), 15000);
    EXPECT_EQ(Currency::FromDouble(-0.0001).Raw(), -1);
    // The double nearest 0.00005 lies just above the tie; in double arithmetic the product
    // would collapse to 0.5 and round to 0.
    EXPECT_EQ(Currency::FromDouble(0.00005).Raw(), 1);
    // Doubles near a tie round by the side they actually lie on.
    EXPECT_EQ(Currency::FromDouble(1.00005).Raw(), 10001);  // 1.000050000000000105...
    EXPECT_EQ(Currency::FromDouble(1.00015).Raw(), 10002);  // 1.000150000000000094...
    EXPECT_EQ(Currency::FromDouble(2.00005).Raw(), 20000);  // 2.000049999999999883...
}

TEST(Currency, ExactTiesGoToEven)
{
    // 1/32 and 3/32 are exact binary values whose products end in .5.
    EXPECT_EQ(Currency::FromDouble(0.03125L).Raw(), 312);
    EXPECT_EQ(Currency::FromDouble(0.09375L).Raw(), 938);
    EXPECT_EQ(Currency::FromDouble(-0.03125L).Raw(), -312);
    EXPECT_EQ(Currency::FromDouble(-0.09375L).Raw(), -938);
    EXPECT_EQ(Currency::FromDouble(std::nextafter(0.03125L, 1.0L)).Raw(), 313);
    EXPECT_EQ(Currency::FromDouble(std::nextafter(0.09375L, 0.0L)).Raw(), 937);
}

TEST(Currency, FromDoubleRaisesOutsideTheRange)
{
    EXPECT_THROW(Currency::FromDouble(1e15), EOverflow);
    EXPECT_THROW(Currency::FromDouble(std::numeric_limits<double>::quiet_NaN()), EOverflow);
    EXPECT_EQ(Currency::FromDouble(-922337203685477.5808L).Raw(), std::numeric_limits<std::int64_t>::min());
    Currency value = Currency::FromInt(1);
    EXPECT_FALSE(Currency::TryFromDouble(922337203685477.5808L, value));
    EXPECT_EQ(value, Currency::FromInt(1));
}

TEST(Currency, ProductsAndQuotientsRoundHalfToEven)
{
    const Currency half = Currency::FromRaw(5000);
    EXPECT_EQ((Currency::FromRaw(1) * half).Raw(), 0);   // 0.00005 -> 0
    EXPECT_EQ((Currency::FromRaw(3) * half).Raw(), 2);   // 0.00015 -> 0.0002
    EXPECT_EQ((Currency::FromRaw(-3) * half).Raw(), -2);
    EXPECT_EQ((Currency::FromInt(12) * Currency::FromRaw(15000)).Raw(), 180000);
    EXPECT_EQ((Currency::FromInt(1) / Currency::FromInt(3)).Raw(), 3333);
    EXPECT_EQ((Currency::FromInt(2) / Currency::FromInt(3)).Raw(), 6667);
    EXPECT_EQ((Currency::FromRaw(1) / Currency::FromInt(2)).Raw(), 0);   // 0.00005 -> 0
    EXPECT_EQ((Currency::FromRaw(3) / Currency::FromInt(-2)).Raw(), -2);  // -0.00015 -> -0.0002
}

TEST(Currency, ConversionsBackToFloatingPoint)
{
    EXPECT_EQ(Currency::FromRaw(15000).ToDouble(), 1.5);
    EXPECT_EQ(Currency::FromRaw(1000).ToDouble(), 0.1);
    EXPECT_LT(Currency::FromRaw(-1), Currency());
}

TEST(Currency, ArithmeticOutsideTheRangeRaisesInsteadOfWrapping)
{
    EXPECT_THROW(Currency::FromInt(1) / Currency(), EZeroDivide);
    EXPECT_THROW(Currency::FromInt(1000000000) * Currency::FromInt(1000000000), EOverflow);
    const Currency max = Currency::FromRaw(std::numeric_limits<std::int64_t>::max());
    const Currency min = Currency::FromRaw(std::numeric_limits<std::int64_t>::min());
    const Currency unit = Currency::FromRaw(1);
    EXPECT_THROW(max + unit, EOverflow);
    EXPECT_THROW(min - unit, EOverflow);
    EXPECT_THROW(-min, EOverflow);
    EXPECT_THROW(Currency::FromInt(std::numeric_limits<std::int64_t>::max() / Currency::Scale + 1), EOverflow);
    Currency total = max;
    EXPECT_THROW(total += unit, EOverflow);
    EXPECT_EQ(total, max);
    EXPECT_THROW(total -= -unit, EOverflow);
    EXPECT_EQ(max - max + min, min);
}
