// Floats and currency as text: FloatToStr(F), FormatFloat's pictures, FormatCurr and CurrToStr.
#include "platform/core/SysUtils.h"

#include <gtest/gtest.h>

#include <limits>

TEST(FloatToStr, GeneralFormatWithFifteenDigits)
{
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(-0.5), "-0.5");
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
}

TEST(FloatToStr, SwitchesToExponentOutsideItsRange)
{
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(123456789012345678.0), "1.23456789012346E17");
    EXPECT_EQ(FloatToStr(0.0001), "0.0001");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(-1.5e-10), "-1.5E-10");
    EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");
}

TEST(FloatToStr, NonFiniteValues)
{
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(FloatToStrF, EveryFormat)
{
    EXPECT_EQ(FloatToStrF(1234.5678, TFloatFormat::ffGeneral, 6, 0), "1234.57");
    EXPECT_EQ(FloatToStrF(1234567.0, TFloatFormat::ffGeneral, 4, 2), "1.235E06");
    EXPECT_EQ(FloatToStrF(1234.5678, TFloatFormat::ffExponent, 4, 2), "1.235E+03");
    EXPECT_EQ(FloatToStrF(-0.000123, TFloatFormat::ffExponent, 3, 0), "-1.23E-4");
    EXPECT_EQ(FloatToStrF(0, TFloatFormat::ffExponent, 3, 2), "0.00E+00");
    EXPECT_EQ(FloatToStrF(1234.5678, TFloatFormat::ffFixed, 15, 2), "1234.57");
    EXPECT_EQ(FloatToStrF(-2.5, TFloatFormat::ffFixed, 15, 0), "-3");
    EXPECT_EQ(FloatToStrF(0.125, TFloatFormat::ffFixed, 15, 4), "0.1250");
    EXPECT_EQ(FloatToStrF(1234567.891, TFloatFormat::ffNumber, 15, 2), "1,234,567.89");
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffCurrency, 15, 2), "￥1,234.50");
    EXPECT_EQ(FloatToStrF(-1234.5, TFloatFormat::ffCurrency, 15, 2), "￥-1,234.50");
}

TEST(FloatToStrF, FixedFallsBackToExponentBeyondPrecision)
{
    EXPECT_EQ(FloatToStrF(123456.0, TFloatFormat::ffFixed, 4, 2), "1.235E+05");
}

TEST(FormatFloat, PlaceholdersAndSeparators)
{
    EXPECT_EQ(FormatFloat("0", 1234), "1234");
    EXPECT_EQ(FormatFloat("0", 0.5), "1");
    EXPECT_EQ(FormatFloat("0.00", 1234), "1234.00");
    EXPECT_EQ(FormatFloat("0.00", 0.5), "0.50");
    EXPECT_EQ(FormatFloat("#.##", 1234), "1234");
    EXPECT_EQ(FormatFloat("#.##", -1234), "-1234");
    EXPECT_EQ(FormatFloat("#.##", 0.5), ".5");
    EXPECT_EQ(FormatFloat("#.##", 0), "");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234), "1,234.00");
    EXPECT_EQ(FormatFloat("#,##0.00", -1234567.891), "-1,234,567.89");
    EXPECT_EQ(FormatFloat("#,##0.00", 0), "0.00");
    EXPECT_EQ(FormatFloat("000", 7), "007");
    EXPECT_EQ(FormatFloat("0.0##", 1.5), "1.5");
    EXPECT_EQ(FormatFloat("0.0##", 1.23456), "1.235");
    EXPECT_EQ(FormatFloat(".00", 12.5), "12.50");
    EXPECT_EQ(FormatFloat("", 0.1), "0.1");
}

TEST(FormatFloat, RoundsHalfAwayFromZeroOnTheDecimalDigits)
{
    EXPECT_EQ(FormatFloat("0.00", 1.005), "1.01");
    EXPECT_EQ(FormatFloat("0.00", -1.005), "-1.01");
    EXPECT_EQ(FormatFloat("0.0", 0.25), "0.3");
    EXPECT_EQ(FormatFloat("0", 2.5), "3");
    EXPECT_EQ(FormatFloat("0", -2.5), "-3");
    EXPECT_EQ(FormatFloat("0.00", 9.995), "10.00");
}

TEST(FormatFloat, SectionsForNegativeAndZero)
{
    EXPECT_EQ(FormatFloat("#,##0.00;(#,##0.00)", -1234), "(1,234.00)");
    EXPECT_EQ(FormatFloat("#,##0.00;(#,##0.00)", 1234), "1,234.00");
    EXPECT_EQ(FormatFloat("#,##0.00;;Zero", -1234), "-1,234.00");
    EXPECT_EQ(FormatFloat("#,##0.00;;Zero", 0), "Zero");
    // Rounding to zero selects the zero section and drops the sign.
    EXPECT_EQ(FormatFloat("0.0;-0.0;'nil'", 0.01), "nil");
    EXPECT_EQ(FormatFloat("0.00", -0.001), "0.00");
}

TEST(FormatFloat, LiteralsKeepTheirPlace)
{
    EXPECT_EQ(FormatFloat("'￥'#,##0.00", 1234.5), "￥1,234.50");
    EXPECT_EQ(FormatFloat("0.00\"元\"", 3), "3.00元");
    EXPECT_EQ(FormatFloat("0.0%", 12.34), "12.3%");
    EXPECT_EQ(FormatFloat("'a;b' 0", 5), "a;b 5");
    EXPECT_EQ(FormatFloat("000-0000", 1234567), "123-4567");
}

TEST(FormatFloat, ExponentPictures)
{
    EXPECT_EQ(FormatFloat("0.000E+00", 1234), "1.234E+03");
    EXPECT_EQ(FormatFloat("0.000E+00", -1234), "-1.234E+03");
    EXPECT_EQ(FormatFloat("0.000E+00", 0.5), "5.000E-01");
    EXPECT_EQ(FormatFloat("0.000E+00", 0), "0.000E+00");
    EXPECT_EQ(FormatFloat("#.###E-0", 1234), "1.234E3");
    EXPECT_EQ(FormatFloat("#.###E-0", 0.5), "5E-1");
    EXPECT_EQ(FormatFloat("#.###E-0", 0), "0E0");
    EXPECT_EQ(FormatFloat("0.0e+0", 99999), "1.0e+5");
}

TEST(FormatCurr, UsesTheExactCurrencyDigits)
{
    EXPECT_EQ(FormatCurr("#,##0.00", Currency::FromRaw(12345678)), "1,234.57");
    EXPECT_EQ(FormatCurr("0.00", Currency::FromRaw(10050)), "1.01");
    EXPECT_EQ(FormatCurr("0.00", Currency::FromRaw(-10050)), "-1.01");
    EXPECT_EQ(FormatCurr("0.0000", Currency::FromRaw(1)), "0.0001");
    EXPECT_EQ(FormatCurr("0", Currency::FromRaw(std::numeric_limits<std::int64_t>::max())), "922337203685478");
    EXPECT_EQ(FormatCurr("0;;'无'", Currency()), "无");
}

TEST(CurrToStr, GeneralAndFixedForms)
{
    EXPECT_EQ(CurrToStr(Currency::FromRaw(15000)), "1.5");
    EXPECT_EQ(CurrToStr(Currency::FromInt(100)), "100");
    EXPECT_EQ(CurrToStr(Currency::FromRaw(-1)), "-0.0001");
    EXPECT_EQ(CurrToStr(Currency::FromRaw(std::numeric_limits<std::int64_t>::min())), "-922337203685477.5808");
    EXPECT_EQ(CurrToStrF(Currency::FromRaw(12345678), TFloatFormat::ffFixed, 2), "1234.57");
    EXPECT_EQ(CurrToStrF(Currency::FromRaw(12345678), TFloatFormat::ffNumber, 1), "1,234.6");
    EXPECT_EQ(CurrToStrF(Currency::FromRaw(-12345678), TFloatFormat::ffCurrency, 2), "￥-1,234.57");
}
