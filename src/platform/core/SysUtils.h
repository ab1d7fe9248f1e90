#pragma once
// The platform's formatting, conversion and string routines. Conversions from text raise
// EConvertError with a message that quotes the text; the Def and Try forms never raise.
#include "platform/core/Currency.h"
#include "platform/core/DateTime.h"
#include "platform/core/String.h"

#include <cstdint>

// --- Dates and times ---------------------------------------------------------------------
// Specifiers are case-insensitive: y yy yyyy, m mm mmm mmmm, d dd ddd dddd ddddd dddddd, h hh,
// n nn, s ss, z zzz, t tt, c, am/pm a/p ampm, "/" ":" separators, '...' and "..." literals.
// "m"/"mm" directly after an hour specifier (literals between allowed) mean minutes.
String FormatDateTime(const String& Format, TDateTime Value);
void DateTimeToString(String& Result, const String& Format, TDateTime Value);
String DateToStr(TDateTime Value);      // short date
String TimeToStr(TDateTime Value);      // long time
String DateTimeToStr(TDateTime Value);  // short date, then long time only when non-zero
// Dates follow the short date order with '-' or '/' between the parts; a missing year is this
// year, a two-digit one falls in the TwoDigitYearCenturyWindow. Times are h:m[:s[.zzz]] with an
// optional am/pm marker (上午/下午 or AM/PM) before or after. StrToDateTime also takes a time alone.
TDateTime StrToDate(const String& S);
TDateTime StrToTime(const String& S);
TDateTime StrToDateTime(const String& S);
bool TryStrToDate(const String& S, TDateTime& Value);
bool TryStrToTime(const String& S, TDateTime& Value);
bool TryStrToDateTime(const String& S, TDateTime& Value);
TDateTime StrToDateDef(const String& S, TDateTime Default);
TDateTime StrToDateTimeDef(const String& S, TDateTime Default);

// --- Integers ----------------------------------------------------------------------------
String IntToStr(std::int64_t Value);
String IntToHex(std::int64_t Value, int Digits);
int StrToInt(const String& S);                      // accepts leading/trailing blanks, sign, $hex
std::int64_t StrToInt64(const String& S);
int StrToIntDef(const String& S, int Default);
std::int64_t StrToInt64Def(const String& S, std::int64_t Default);
bool TryStrToInt(const String& S, int& Value);
bool TryStrToInt64(const String& S, std::int64_t& Value);

// --- Floating point and currency ---------------------------------------------------------
// A float formats from its 15 significant digits, a currency from its exact digits; rounding to
// the digits shown goes half away from zero on those decimal digits. A value that rounds to zero
// never carries a minus sign, unlike the platform's "-0.00": a total shown so reads as a loss. NaN and infinities format as "NAN", "INF" and "-INF".
enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

String FloatToStr(long double Value);  // general format, 15 significant digits
String FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits);
// Sections "positive;negative;zero" of 0 # . , E+ E- 'literal' "literal" placeholders. Without a
// negative section the first formats the magnitude after a minus; a value that rounds to zero
// takes the zero section when there is one. An empty format is FloatToStr's.
String FormatFloat(const String& Format, long double Value);
String FormatCurr(const String& Format, Currency Value);
String CurrToStr(Currency Value);
String CurrToStrF(Currency Value, TFloatFormat Format, int Digits);
long double StrToFloat(const String& S);
long double StrToFloatDef(const String& S, long double Default);
bool TryStrToFloat(const String& S, long double& Value);
bool TryStrToFloat(const String& S, double& Value);
Currency StrToCurr(const String& S);
Currency StrToCurrDef(const String& S, Currency Default);
bool TryStrToCurr(const String& S, Currency& Value);

// --- Text --------------------------------------------------------------------------------
String Trim(const String& S);       // strips characters <= ' ' at both ends
String TrimLeft(const String& S);
String TrimRight(const String& S);
String UpperCase(const String& S);  // locale-aware, as the platform's Ansi forms
String LowerCase(const String& S);
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);
// Order by the Chinese (pinyin) collation; CompareText ignores case, CompareStr does not.
int CompareText(const String& S1, const String& S2);
int CompareStr(const String& S1, const String& S2);
int AnsiCompareText(const String& S1, const String& S2);
int AnsiCompareStr(const String& S1, const String& S2);
bool SameText(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);
String QuotedStr(const String& S);                        // 'a''b'
String AnsiQuotedStr(const String& S, Char Quote);
// Strips the quotes and undoubles inner ones; text that does not start with Quote stays as is.
String AnsiDequotedStr(const String& S, Char Quote);
// 1-based positions, 0 when absent.
int Pos(const String& SubStr, const String& S);
// 1-based Index, clamped as the platform clamps.
String Copy(const String& S, int Index, int Count);
