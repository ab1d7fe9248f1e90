#pragma once
// TDateTime: days since 1899-12-30 as a double; the fraction is the time of day.
// Negative values count back from that day with a positive time fraction, as on the platform.
#include <cstdint>

class QDate;
class QDateTime;
class QTime;

using TDateTime = double;
using Word = std::uint16_t;

// Raise EConvertError with the platform's message for invalid parts; the Try forms answer false.
TDateTime EncodeDate(Word Year, Word Month, Word Day);
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Result);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Result);
// Decoding first rounds the value to the nearest millisecond, so a value a hair before midnight
// is 00:00:00.000 of the next day, never 24:00. DateOf, TimeOf and the week routines agree.
// A value that names no day (NaN, infinite, or beyond Int64 milliseconds on either side of day
// 0) raises EInvalidOp; so does decoding a date outside the years 1 to 9999 that EncodeDate takes.
void DecodeDate(TDateTime Value, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Value, Word& Hour, Word& Min, Word& Sec, Word& MSec);
void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min,
                    Word& Sec, Word& MSec);
TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec);

bool IsLeapYear(Word Year);
Word DaysInAMonth(Word Year, Word Month);

TDateTime Date();  // today at 00:00
TDateTime Time();  // the time of day now, date part 0
TDateTime Now();

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime Value);
// ISO day of the week: 1 = Monday ... 7 = Sunday.
int DayOfTheWeek(TDateTime Value);
// Weeks run from Monday 00:00:00.000 to Sunday 23:59:59.999.
TDateTime StartOfTheWeek(TDateTime Value);
TDateTime EndOfTheWeek(TDateTime Value);
TDateTime DateOf(TDateTime Value);
TDateTime TimeOf(TDateTime Value);
TDateTime IncDay(TDateTime Value, int Days = 1);

// Conversions at the Qt boundary (local time, millisecond precision). An invalid QDate raises
// EConvertError.
TDateTime DateTimeFromQt(const QDateTime& Value);
TDateTime DateFromQt(const QDate& Value);
QDateTime DateTimeToQt(TDateTime Value);
QDate DateToQt(TDateTime Value);
QTime TimeToQt(TDateTime Value);
