// Encoding, decoding and stepping day-count dates and times, and conversion from Qt's.
#include "platform/core/DateTime.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Rounding.h"

#include <QDateTime>

#include <chrono>
#include <cmath>

namespace {

constexpr std::int64_t MSecsPerDay = 24 * 60 * 60 * 1000;
// Julian day number of 1899-12-30, day 0 of TDateTime.
constexpr std::int64_t JulianDayOfZero = 2415019;
// Day 0 (1899-12-30) counted from the civil calendar's epoch, 1970-01-01.
constexpr std::int64_t DaysBeforeUnixEpoch = 25569;

// A TDateTime as a whole day number and the milliseconds into that day. The time is rounded to
// the millisecond first, so a value a hair before midnight belongs to the next day at 00:00.
// Before day 0 the day counts back and the fraction is still the time of day, so both sides
// split the magnitude alike. NaN, infinities and magnitudes beyond Int64 milliseconds (on
// either side of day 0) raise EInvalidOp.
struct TDayAndTime {
    std::int64_t Day;
    std::int64_t MSec;
};

TDayAndTime Split(TDateTime Value)
{
    const std::int64_t total = Round(std::fabs(static_cast<long double>(Value)) * MSecsPerDay);
    const std::int64_t day = total / MSecsPerDay;
    return {Value < 0 ? -day : day, total % MSecsPerDay};
}

TDateTime Compose(std::int64_t Day, std::int64_t MSec)
{
    const double time = static_cast<double>(MSec) / MSecsPerDay;
    return Day >= 0 ? static_cast<double>(Day) + time : static_cast<double>(Day) - time;
}

QDate ToQDate(std::int64_t Day) { return QDate::fromJulianDay(Day + JulianDayOfZero); }

// An invalid QDate has no day number: its Julian day is the lowest Int64, which an offset
// would overflow.
std::int64_t DayOf(const QDate& Value)
{
    if (!Value.isValid())
        throw EConvertError(QStringLiteral("日期编码参数无效"));
    return Value.toJulianDay() - JulianDayOfZero;
}

// The days of 0001-01-01 and 9999-12-31: the years a Word holds and the calendar counts.
constexpr std::int64_t FirstDay = -693593;
constexpr std::int64_t LastDay = 2958465;

void DecodeDay(std::int64_t DayNumber, Word& Year, Word& Month, Word& Day)
{
    if (DayNumber < FirstDay || DayNumber > LastDay)
        throw EInvalidOp(QStringLiteral("日期超出 1 年至 9999 年的范围"));
    // The proleptic Gregorian calendar, as Qt's; this runs for every date a list shows.
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{DayNumber - DaysBeforeUnixEpoch}}};
    Year = static_cast<Word>(int(date.year()));
    Month = static_cast<Word>(unsigned(date.month()));
    Day = static_cast<Word>(unsigned(date.day()));
}

void DecodeMSecs(std::int64_t MSecs, Word& Hour, Word& Min, Word& Sec, Word& MSec)
{
    Hour = static_cast<Word>(MSecs / 3600000);
    Min = static_cast<Word>(MSecs / 60000 % 60);
    Sec = static_cast<Word>(MSecs / 1000 % 60);
    MSec = static_cast<Word>(MSecs % 1000);
}

}  // namespace

bool IsLeapYear(Word Year) { return QDate::isLeapYear(Year); }

Word DaysInAMonth(Word Year, Word Month) { return static_cast<Word>(QDate(Year, Month, 1).daysInMonth()); }

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Result)
{
    // The proleptic Gregorian calendar, as Qt's; this runs for every date a list reads.
    const std::chrono::year_month_day date{std::chrono::year{Year}, std::chrono::month{Month}, std::chrono::day{Day}};
    if (Year < 1 || Year > 9999 || !date.ok())
        return false;
    Result = static_cast<TDateTime>(std::chrono::sys_days{date}.time_since_epoch().count() + DaysBeforeUnixEpoch);
    return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day)
{
    TDateTime result;
    if (!TryEncodeDate(Year, Month, Day, result))
        throw EConvertError(QStringLiteral("日期编码参数无效"));
    return result;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Result)
{
    if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000)
        return false;
    Result = Compose(0, ((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec);
    return true;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec)
{
    TDateTime result;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, result))
        throw EConvertError(QStringLiteral("时间编码参数无效"));
    return result;
}

TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec)
{
    const TDateTime date = EncodeDate(Year, Month, Day);
    const TDateTime time = EncodeTime(Hour, Min, Sec, MSec);
    return date >= 0 ? date + time : date - time;
}

void DecodeDate(TDateTime Value, Word& Year, Word& Month, Word& Day) { DecodeDay(Split(Value).Day, Year, Month, Day); }

void DecodeTime(TDateTime Value, Word& Hour, Word& Min, Word& Sec, Word& MSec)
{
    DecodeMSecs(Split(Value).MSec, Hour, Min, Sec, MSec);
}

void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min,
                    Word& Sec, Word& MSec)
{
    const TDayAndTime split = Split(Value);
    DecodeDay(split.Day, Year, Month, Day);
    DecodeMSecs(split.MSec, Hour, Min, Sec, MSec);
}

TDateTime Date() { return DateFromQt(QDate::currentDate()); }

TDateTime Time() { return Compose(0, QTime::currentTime().msecsSinceStartOfDay()); }

TDateTime Now() { return DateTimeFromQt(QDateTime::currentDateTime()); }

int DayOfWeek(TDateTime Value)
{
    // Day 0 was a Saturday.
    const std::int64_t day = Split(Value).Day;
    return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

int DayOfTheWeek(TDateTime Value) { return (DayOfWeek(Value) + 5) % 7 + 1; }

TDateTime StartOfTheWeek(TDateTime Value) { return Compose(Split(Value).Day - DayOfTheWeek(Value) + 1, 0); }

TDateTime EndOfTheWeek(TDateTime Value)
{
    return Compose(Split(Value).Day - DayOfTheWeek(Value) + 7, MSecsPerDay - 1);
}

TDateTime DateOf(TDateTime Value) { return Compose(Split(Value).Day, 0); }

TDateTime TimeOf(TDateTime Value) { return Compose(0, Split(Value).MSec); }

TDateTime IncDay(TDateTime Value, int Days)
{
    const TDayAndTime parts = Split(Value);
    return Compose(parts.Day + Days, parts.MSec);
}

TDateTime DateTimeFromQt(const QDateTime& Value)
{
    return Compose(DayOf(Value.date()), Value.time().msecsSinceStartOfDay());
}

TDateTime DateFromQt(const QDate& Value) { return Compose(DayOf(Value), 0); }

QDateTime DateTimeToQt(TDateTime Value) { return QDateTime(DateToQt(Value), TimeToQt(Value)); }

QDate DateToQt(TDateTime Value) { return ToQDate(Split(Value).Day); }

QTime TimeToQt(TDateTime Value) { return QTime::fromMSecsSinceStartOfDay(static_cast<int>(Split(Value).MSec)); }
