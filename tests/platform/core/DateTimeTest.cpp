// Dates and times: encoding, decoding, negative days, weeks, range errors and Qt conversions.
#include "platform/core/DateTime.h"

#include "platform/core/Exceptions.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <limits>

namespace {

struct TParts {
    Word Year, Month, Day, Hour, Min, Sec, MSec;
    bool operator==(const TParts&) const = default;
};

TParts Decode(TDateTime Value)
{
    TParts p{};
    DecodeDateTime(Value, p.Year, p.Month, p.Day, p.Hour, p.Min, p.Sec, p.MSec);
    return p;
}

}  // namespace

TEST(DateTime, EncodeCountsDaysFromTheEpoch)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2026, 12, 9), 46365);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, EncodeRejectsInvalidParts)
{
    TDateTime value = 7;
    EXPECT_FALSE(TryEncodeDate(2026, 2, 29, value));
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, value));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, value));
    EXPECT_FALSE(TryEncodeDate(2026, 13, 1, value));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, value));
    EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, value));
    try {
        EncodeDate(2026, 4, 31);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "日期编码参数无效");
    }
    try {
        EncodeTime(1, 60, 0, 0);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "时间编码参数无效");
    }
}

TEST(DateTime, DecodeRoundTripsEveryPart)
{
    const TDateTime value = EncodeDateTime(2026, 12, 9, 4, 6, 53, 123);
    EXPECT_EQ(Decode(value), (TParts{2026, 12, 9, 4, 6, 53, 123}));
    EXPECT_EQ(Decode(EncodeDateTime(2024, 2, 29, 23, 59, 59, 999)), (TParts{2024, 2, 29, 23, 59, 59, 999}));
}

TEST(DateTime, DecodeRoundsToTheMillisecondWithoutReachingMidnight)
{
    const TDateTime lastMs = EncodeDate(2026, 12, 9) + EncodeTime(23, 59, 59, 999);
    EXPECT_EQ(Decode(lastMs), (TParts{2026, 12, 9, 23, 59, 59, 999}));
    // Less than half a millisecond before midnight is the next day.
    EXPECT_EQ(Decode(EncodeDate(2026, 12, 10) - 1e-10), (TParts{2026, 12, 10, 0, 0, 0, 0}));
    EXPECT_EQ(Decode(EncodeTime(10, 0, 0, 0) - 1e-10).Hour, 10);
}

TEST(DateTime, NegativeValuesCountBackWithAPositiveTime)
{
    EXPECT_EQ(Decode(-1.25), (TParts{1899, 12, 29, 6, 0, 0, 0}));
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_EQ(DateOf(-1.25), -1);
    EXPECT_DOUBLE_EQ(TimeOf(-1.25), 0.25);
}

TEST(DateTime, DecodingAValueWithoutADayRaisesInvalidOp)
{
    Word Year, Month, Day, Hour, Min, Sec, MSec;
    for (const double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300, -1e300}) {
        EXPECT_THROW(DecodeDate(bad, Year, Month, Day), EInvalidOp) << bad;
        EXPECT_THROW(DecodeTime(bad, Hour, Min, Sec, MSec), EInvalidOp) << bad;
    }
}

TEST(DateTime, ValuesBeyondInt64MillisecondsRaiseOnBothSidesOfDayZero)
{
    // Far enough for the day count to fit an Int64, too far for the milliseconds.
    Word Year, Month, Day, Hour, Min, Sec, MSec;
    for (const double bad : {1e12, -1e12, 1.1e11, -1.1e11}) {
        EXPECT_THROW(DecodeDate(bad, Year, Month, Day), EInvalidOp) << bad;
        EXPECT_THROW(DecodeTime(bad, Hour, Min, Sec, MSec), EInvalidOp) << bad;
        EXPECT_THROW(DateOf(bad), EInvalidOp) << bad;
        EXPECT_THROW(DayOfWeek(bad), EInvalidOp) << bad;
        EXPECT_THROW(DateToQt(bad), EInvalidOp) << bad;
    }
}

TEST(DateTime, DecodingAYearOutsideOneTo9999Raises)
{
    Word Year, Month, Day;
    const TDateTime first = EncodeDate(1, 1, 1);
    const TDateTime last = EncodeDateTime(9999, 12, 31, 23, 59, 59, 999);
    EXPECT_EQ(Decode(first), (TParts{1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Decode(last), (TParts{9999, 12, 31, 23, 59, 59, 999}));
    // Within Int64 milliseconds, but the year does not fit the decoded parts.
    for (const double bad : {first - 1, last + 1, -1e9, 1e9})
        EXPECT_THROW(DecodeDate(bad, Year, Month, Day), EInvalidOp) << bad;
}

TEST(DateTime, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2026, 2), 28);
    EXPECT_EQ(DaysInAMonth(2026, 4), 30);
}

TEST(DateTime, DaysOfTheWeekInBothNumberings)
{
    const TDateTime wednesday = EncodeDateTime(2026, 12, 9, 4, 6, 53, 0);
    EXPECT_EQ(DayOfWeek(wednesday), 4);
    EXPECT_EQ(DayOfTheWeek(wednesday), 3);
    const TDateTime sunday = EncodeDate(2026, 12, 13);
    EXPECT_EQ(DayOfWeek(sunday), 1);
    EXPECT_EQ(DayOfTheWeek(sunday), 7);
    EXPECT_EQ(DayOfWeek(0), 7);  // 1899-12-30 was a Saturday
}

TEST(DateTime, WeekRunsFromMondayMidnightToSundayLastMillisecond)
{
    const TDateTime wednesday = EncodeDateTime(2026, 12, 9, 4, 6, 53, 0);
    EXPECT_EQ(StartOfTheWeek(wednesday), EncodeDate(2026, 12, 7));
    EXPECT_EQ(Decode(EndOfTheWeek(wednesday)), (TParts{2026, 12, 13, 23, 59, 59, 999}));
    const TDateTime sunday = EncodeDateTime(2026, 12, 13, 22, 0, 0, 0);
    EXPECT_EQ(StartOfTheWeek(sunday), EncodeDate(2026, 12, 7));
    EXPECT_EQ(StartOfTheWeek(EncodeDate(2026, 12, 7)), EncodeDate(2026, 12, 7));
}

TEST(DateTime, DateAndTimeParts)
{
    const TDateTime value = EncodeDateTime(2026, 12, 9, 18, 0, 0, 0);
    EXPECT_EQ(DateOf(value), EncodeDate(2026, 12, 9));
    EXPECT_DOUBLE_EQ(TimeOf(value), 0.75);
    EXPECT_EQ(Decode(IncDay(value, 30)), (TParts{2027, 1, 8, 18, 0, 0, 0}));
    EXPECT_EQ(Decode(IncDay(value, -1)), (TParts{2026, 12, 8, 18, 0, 0, 0}));
}

TEST(DateTime, ClockReadingsAgreeWithEachOther)
{
    const TDateTime today = Date();
    EXPECT_EQ(today, DateOf(today));
    const TDateTime now = Now();
    EXPECT_GE(DateOf(now), today);
    EXPECT_LT(Time(), 1.0);
    EXPECT_GE(Time(), 0.0);
}

TEST(DateTime, QtConversionsKeepMilliseconds)
{
    const QDateTime qt(QDate(2026, 12, 9), QTime(4, 6, 53, 250));
    const TDateTime value = DateTimeFromQt(qt);
    EXPECT_EQ(Decode(value), (TParts{2026, 12, 9, 4, 6, 53, 250}));
    EXPECT_EQ(DateTimeToQt(value), qt);
    EXPECT_EQ(DateToQt(value), QDate(2026, 12, 9));
    EXPECT_EQ(TimeToQt(value), QTime(4, 6, 53, 250));
    EXPECT_EQ(DateFromQt(QDate(1899, 12, 30)), 0);
}

TEST(DateTime, InvalidQtDatesRaiseInsteadOfOverflowingTheDayNumber)
{
    EXPECT_THROW(DateFromQt(QDate()), EConvertError);
    EXPECT_THROW(DateFromQt(QDate(2026, 2, 30)), EConvertError);
    EXPECT_THROW(DateTimeFromQt(QDateTime()), EConvertError);
    EXPECT_EQ(DateFromQt(QDate(1, 1, 1)), EncodeDate(1, 1, 1));
}
