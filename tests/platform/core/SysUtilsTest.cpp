// The formatting and conversion routines: dates and times, integers, floats, currency and texts.
#include "platform/core/SysUtils.h"

#include "platform/core/Exceptions.h"

#include <QDate>

#include <limits>

#include <gtest/gtest.h>

namespace {

const TDateTime Sample = EncodeDateTime(2026, 12, 9, 4, 6, 53, 0);

String ConvertErrorOf(const std::function<void()>& Call)
{
    try {
        Call();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}

}  // namespace

TEST(FormatDateTime, SpecifiersAreCaseInsensitive)
{
    EXPECT_EQ(FormatDateTime("yyyy-MM-dd  hh:mm:ss  ddd", Sample), "2026-12-09  04:06:53  星期三");
    EXPECT_EQ(FormatDateTime("YYYYMMDDHHmmSS", Sample), "20261209040653");
    EXPECT_EQ(FormatDateTime("yyyy-mm", Sample), "2026-12");
    EXPECT_EQ(FormatDateTime("yy/m/d h:n:s.zzz", Sample + EncodeTime(0, 0, 0, 7)), "26-12-9 4:6:53.007");
    EXPECT_EQ(FormatDateTime("mmm mmmm dddd", Sample), "十二月 十二月 星期三");
}

TEST(FormatDateTime, MinutesFollowAnHourEvenAcrossLiterals)
{
    EXPECT_EQ(FormatDateTime("h'点'mm'分'", Sample), "4点06分");
    EXPECT_EQ(FormatDateTime("hh mm", Sample), "04 06");
    EXPECT_EQ(FormatDateTime("mm hh mm", Sample), "12 04 06");
}

TEST(FormatDateTime, QuotedLiteralsPassThrough)
{
    EXPECT_EQ(FormatDateTime("yyyy'年'm'月'd'日'", Sample), "2026年12月9日");
    EXPECT_EQ(FormatDateTime("\"d/m:\"yyyy", Sample), "d/m:2026");
    EXPECT_EQ(FormatDateTime("yyyy'unterminated", Sample), "2026unterminated");
}

TEST(FormatDateTime, TwelveHourClock)
{
    const TDateTime evening = EncodeDateTime(2026, 12, 9, 16, 5, 0, 0);
    EXPECT_EQ(FormatDateTime("h:nn am/pm", evening), "4:05 pm");
    EXPECT_EQ(FormatDateTime("h:nn AM/PM", Sample), "4:06 AM");
    EXPECT_EQ(FormatDateTime("hh:nn a/p", evening), "04:05 p");
    EXPECT_EQ(FormatDateTime("ampm h:nn", evening), "下午 16:05");
    EXPECT_EQ(FormatDateTime("h:nn ampm", evening), "4:05 下午");
    EXPECT_EQ(FormatDateTime("h ampm", EncodeTime(0, 30, 0, 0)), "12 上午");
    EXPECT_EQ(FormatDateTime("h ampm", EncodeTime(12, 30, 0, 0)), "12 下午");
}

TEST(FormatDateTime, AValueWithoutADayRaisesInsteadOfPrintingAnyName)
{
    for (const double bad : {-1e12, 1e12, -1e9, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_THROW(FormatDateTime("mmm", bad), EInvalidOp) << bad;
        EXPECT_THROW(FormatDateTime("yyyy-mm-dd", bad), EInvalidOp) << bad;
        EXPECT_THROW(FormatDateTime("dddd", bad), EInvalidOp) << bad;
    }
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd mmm", EncodeDate(1, 1, 1)), "0001-01-01 一月");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd mmm", EncodeDate(9999, 12, 31)), "9999-12-31 十二月");
}

TEST(FormatDateTime, LongFormatsPrintEverySpecifier)
{
    // Each hour looks ahead for an am/pm specifier: the whole format is read once, not once
    // per hour, so long formats stay cheap (bench/platform/core/LinearTextBench.cpp).
    const TDateTime evening = EncodeTime(16, 5, 0, 0);
    constexpr int Count = 20000;
    const String hours = QStringLiteral("h ").repeated(Count);
    EXPECT_EQ(FormatDateTime(hours, evening), QStringLiteral("16 ").repeated(Count));
    EXPECT_EQ(FormatDateTime(hours + "am/pm", evening), QStringLiteral("4 ").repeated(Count) + "pm");
    EXPECT_EQ(FormatDateTime(hours + "'am/pm'", evening), QStringLiteral("16 ").repeated(Count) + "am/pm");
    EXPECT_EQ(FormatDateTime("h am/pm " + hours, evening), "4 pm " + QStringLiteral("16 ").repeated(Count));
}

TEST(FormatDateTime, NamedFormatsExpandTheSettings)
{
    EXPECT_EQ(FormatDateTime("ddddd", Sample), "2026-12-09");
    EXPECT_EQ(FormatDateTime("dddddd", Sample), "2026年12月9日");
    EXPECT_EQ(FormatDateTime("t", Sample), "04:06");
    EXPECT_EQ(FormatDateTime("tt", Sample), "04:06:53");
    EXPECT_EQ(FormatDateTime("c", Sample), "2026-12-09 04:06:53");
    EXPECT_EQ(FormatDateTime("", DateOf(Sample)), "2026-12-09");
}

TEST(FormatDateTime, EachOfManyFormatsKeepsItsOwnText)
{
    // More formats than are kept compiled at once, one of them with and without a time.
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(FormatDateTime(QStringLiteral("'#%1' yyyy").arg(i), Sample), QStringLiteral("#%1 2026").arg(i));
        EXPECT_EQ(FormatDateTime("c", i % 2 ? Sample : DateOf(Sample)), i % 2 ? "2026-12-09 04:06:53" : "2026-12-09");
    }
}

TEST(DateTimeToStr, OmitsAMidnightTime)
{
    EXPECT_EQ(DateTimeToStr(Sample), "2026-12-09 04:06:53");
    EXPECT_EQ(DateTimeToStr(DateOf(Sample)), "2026-12-09");
    EXPECT_EQ(DateToStr(Sample), "2026-12-09");
    EXPECT_EQ(TimeToStr(Sample), "04:06:53");
    String text;
    DateTimeToString(text, "yyyy", Sample);
    EXPECT_EQ(text, "2026");
}

TEST(StrToDate, AcceptsTheShortDateOrderWithEitherSeparator)
{
    EXPECT_EQ(StrToDate("2026-12-09"), EncodeDate(2026, 12, 9));
    EXPECT_EQ(StrToDate("2026-1-5"), EncodeDate(2026, 1, 5));
    EXPECT_EQ(StrToDate("2026/1/5"), EncodeDate(2026, 1, 5));
    EXPECT_EQ(StrToDate(" 2026-01-05 "), EncodeDate(2026, 1, 5));
    EXPECT_EQ(StrToDate("1-5"), EncodeDate(QDate::currentDate().year(), 1, 5));
}

TEST(StrToDate, TwoDigitYearsFallInTheCenturyWindow)
{
    const int thisYear = QDate::currentDate().year();
    const int windowStart = thisYear - 50;
    for (int yy : {0, 26, 49, 75, 99}) {
        int expected = windowStart / 100 * 100 + yy;
        if (expected < windowStart)
            expected += 100;
        Word year, month, day;
        DecodeDate(StrToDate(QStringLiteral("%1-3-4").arg(yy, 2, 10, QLatin1Char('0'))), year, month, day);
        EXPECT_EQ(year, expected) << yy;
    }
}

TEST(StrToDate, RejectsWhatIsNotADate)
{
    EXPECT_EQ(ConvertErrorOf([] { StrToDate("abc"); }), "“abc”不是有效的日期");
    TDateTime value = 5;
    EXPECT_FALSE(TryStrToDate("2026-02-30", value));
    EXPECT_FALSE(TryStrToDate("2026-12-09x", value));
    EXPECT_FALSE(TryStrToDate("2026.12.09", value));
    EXPECT_FALSE(TryStrToDate("", value));
    EXPECT_EQ(value, 5);
    EXPECT_EQ(StrToDateDef("x", 7), 7);
}

TEST(StrToTime, HoursMinutesSecondsAndMarkers)
{
    EXPECT_DOUBLE_EQ(StrToTime("04:06:53"), EncodeTime(4, 6, 53, 0));
    EXPECT_DOUBLE_EQ(StrToTime("4:06"), EncodeTime(4, 6, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("04:06:53.250"), EncodeTime(4, 6, 53, 250));
    EXPECT_DOUBLE_EQ(StrToTime("下午 3:15"), EncodeTime(15, 15, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("3:15 pm"), EncodeTime(15, 15, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("12:00 AM"), 0);
    EXPECT_DOUBLE_EQ(StrToTime("12:00 PM"), 0.5);
    EXPECT_EQ(ConvertErrorOf([] { StrToTime("25:00"); }), "“25:00”不是有效的时间");
    TDateTime value;
    EXPECT_FALSE(TryStrToTime("13:00 pm", value));
    EXPECT_FALSE(TryStrToTime("4", value));
}

TEST(StrToDateTime, DateWithOptionalTimeOrTimeAlone)
{
    EXPECT_EQ(StrToDateTime("2026-12-09 04:06:53"), Sample);
    EXPECT_EQ(StrToDateTime("2026-12-09"), EncodeDate(2026, 12, 9));
    EXPECT_DOUBLE_EQ(StrToDateTime("04:06"), EncodeTime(4, 6, 0, 0));
    EXPECT_EQ(StrToDateTime(DateTimeToStr(Sample)), Sample);
    EXPECT_EQ(ConvertErrorOf([] { StrToDateTime("2026-12-09 x"); }), "“2026-12-09 x”不是有效的日期和时间");
    EXPECT_EQ(StrToDateTimeDef("abc", 1.5), 1.5);
}

TEST(StrToInt, DecimalAndHexWithBlanksAndSign)
{
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("  -42 "), -42);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
}

TEST(StrToInt, RejectsOverflowAndJunk)
{
    EXPECT_EQ(ConvertErrorOf([] { StrToInt("abc"); }), "“abc”不是有效的整数值");
    EXPECT_EQ(ConvertErrorOf([] { StrToInt("2147483648"); }), "“2147483648”不是有效的整数值");
    EXPECT_EQ(ConvertErrorOf([] { StrToInt64("9223372036854775808"); }),
              "“9223372036854775808”不是有效的整数值");
    int value = 3;
    for (const char* text : {"", "-", "$", "1.5", "1 2", "12a"})
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
    EXPECT_EQ(value, 3);
    EXPECT_EQ(StrToIntDef("x", -1), -1);
    EXPECT_EQ(StrToInt64Def("12", -1), 12);
}

TEST(IntToStr, DecimalAndPaddedHex)
{
    EXPECT_EQ(IntToStr(-12345), "-12345");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x12345, 2), "12345");
    EXPECT_EQ(IntToHex(-1, 1), "FFFFFFFFFFFFFFFF");
}

TEST(StrToFloat, DecimalAndExponentNotation)
{
    EXPECT_EQ(StrToFloat("1.5"), 1.5L);
    EXPECT_EQ(StrToFloat(" -0.25 "), -0.25L);
    EXPECT_EQ(StrToFloat("+3"), 3.0L);
    EXPECT_EQ(StrToFloat(".5"), 0.5L);
    EXPECT_EQ(StrToFloat("5."), 5.0L);
    EXPECT_EQ(StrToFloat("1e3"), 1000.0L);
    EXPECT_EQ(StrToFloat("2.5E-2"), 0.025L);
    double narrow;
    EXPECT_TRUE(TryStrToFloat("0.1", narrow));
    EXPECT_EQ(narrow, 0.1);
    EXPECT_FALSE(TryStrToFloat("1e400", narrow));
}

TEST(StrToFloat, RejectsWhatIsNotANumber)
{
    EXPECT_EQ(ConvertErrorOf([] { StrToFloat("abc"); }), "“abc”不是有效的浮点数值");
    long double value = 9;
    for (const char* text : {"", ".", "1,5", "1e", "1.2.3", "--1", "1 000", "1e99999"})
        EXPECT_FALSE(TryStrToFloat(text, value)) << text;
    EXPECT_EQ(value, 9);
    EXPECT_EQ(StrToFloatDef("x", 2.5), 2.5L);
}

TEST(StrToCurr, RoundsToTheFourthDecimal)
{
    EXPECT_EQ(StrToCurr("1234.5678").Raw(), 12345678);
    EXPECT_EQ(StrToCurr("0.00005").Raw(), 0);  // the exact tie goes to even
    EXPECT_EQ(StrToCurr("0.00015").Raw(), 2);
    EXPECT_EQ(StrToCurr("-922337203685477.5808").Raw(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(ConvertErrorOf([] { StrToCurr("1e16"); }), "“1e16”不是有效的浮点数值");
    EXPECT_EQ(StrToCurrDef("x", Currency::FromInt(3)), Currency::FromInt(3));
}

TEST(StrToCurr, ReadsLargeAmountsToTheLastDecimal)
{
    // Read through a float and scaled after, these came out one unit of 1/10000 off.
    EXPECT_EQ(StrToCurr("713454623480768.8981").Raw(), 7134546234807688981);
    EXPECT_EQ(StrToCurr("-576460752303410.2507").Raw(), -5764607523034102507);
    EXPECT_EQ(StrToCurr("572081334087990.8425").Raw(), 5720813340879908425);
    for (const std::int64_t units : {std::numeric_limits<std::int64_t>::max(), std::int64_t(6640408285287707753)}) {
        const Currency amount = Currency::FromRaw(units);
        EXPECT_EQ(StrToCurr(CurrToStr(amount)), amount) << units;
    }
    // The decimal point moves past exponents and missing digits alike.
    EXPECT_EQ(StrToCurr("1.5e3").Raw(), 15000000);
    EXPECT_EQ(StrToCurr("-.5").Raw(), -5000);
    EXPECT_EQ(StrToCurr("7e-4").Raw(), 7);
    EXPECT_EQ(StrToCurr("25E-5").Raw(), 2);  // 2.5 units, the tie to even
}

TEST(Trim, StripsControlCharactersAndBlanks)
{
    EXPECT_EQ(Trim(" \t a b\r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a \x01"), "  a");
    EXPECT_EQ(Trim(QStringLiteral("\u3000中\u3000")), QStringLiteral("\u3000中\u3000"));  // ideographic space is text
    EXPECT_EQ(Trim("   "), "");
}

TEST(CaseConversion, CoversLettersBeyondAscii)
{
    EXPECT_EQ(UpperCase("abc中文é"), "ABC中文É");
    EXPECT_EQ(LowerCase("ABCÉ"), "abcé");
    EXPECT_EQ(AnsiUpperCase("ｑ"), "Ｑ");
    EXPECT_EQ(AnsiLowerCase("Q"), "q");
}

TEST(CompareText, FollowsThePinyinCollation)
{
    EXPECT_LT(CompareText("阿", "爸"), 0);  // a before ba
    EXPECT_GT(CompareText("张", "李"), 0);  // zhang after li
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_NE(CompareStr("abc", "ABC"), 0);
    EXPECT_LT(AnsiCompareStr("a", "b"), 0);
    EXPECT_EQ(AnsiCompareText("Ab", "aB"), 0);
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_TRUE(AnsiSameText("中", "中"));
    EXPECT_FALSE(SameText("中", "文"));
}

TEST(Quoting, DoublesAndUndoublesQuotes)
{
    EXPECT_EQ(QuotedStr("a'b"), "'a''b'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(AnsiQuotedStr("say \"hi\"", u'"'), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(AnsiDequotedStr("'a''b'", u'\''), "a'b");
    EXPECT_EQ(AnsiDequotedStr("'ab'cd", u'\''), "ab");
    EXPECT_EQ(AnsiDequotedStr("abc", u'\''), "abc");
    EXPECT_EQ(AnsiDequotedStr("'abc", u'\''), "'abc");
    EXPECT_EQ(AnsiDequotedStr(AnsiQuotedStr("中'文", u'\''), u'\''), "中'文");
}

TEST(PosAndCopy, OneBasedWithClamping)
{
    EXPECT_EQ(Pos("c", "abcabc"), 3);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("文", "中文"), 2);
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 2, -1), "");
}
