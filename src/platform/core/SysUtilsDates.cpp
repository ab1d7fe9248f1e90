// Date and time text: FormatDateTime and the StrToDate family.
#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"

#include <QDate>

#include <algorithm>

namespace {

// Formats nested through "c", "ddddd", "t" ... expand at most this deep, so a setting that names
// itself cannot recurse forever.
constexpr int MaxNesting = 2;

struct TDateParts {
    Word Year, Month, Day, Hour, Min, Sec, MSec;
    int DayOfWeek;
    bool HasTime;
};

TDateParts Decompose(TDateTime Value)
{
    TDateParts parts{};
    DecodeDateTime(Value, parts.Year, parts.Month, parts.Day, parts.Hour, parts.Min, parts.Sec, parts.MSec);
    parts.DayOfWeek = DayOfWeek(Value);
    parts.HasTime = parts.Hour != 0 || parts.Min != 0 || parts.Sec != 0 || parts.MSec != 0;
    return parts;
}

bool IsAsciiLetter(Char C) { return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z'); }

// The format's letters are ASCII: upper-cased without the Unicode tables.
Char AsciiUpper(Char C) { return C >= u'a' && C <= u'z' ? Char(C.unicode() - 32) : C; }

bool StartsWithAt(const String& S, qsizetype Pos, QLatin1StringView Token)
{
    return QStringView(S).mid(Pos).startsWith(Token, Qt::CaseInsensitive);
}

// Index just past the literal quoted at Pos (to the end when it is not closed).
qsizetype SkipQuoted(const String& Format, qsizetype Pos)
{
    const qsizetype close = Format.indexOf(Format[Pos], Pos + 1);
    return close < 0 ? Format.size() : close + 1;
}

// The length of the am/pm specifier at Pos ("am/pm", "a/p" or "ampm"), 0 when there is none.
qsizetype AmPmLength(const String& Format, qsizetype Pos)
{
    if (StartsWithAt(Format, Pos, QLatin1StringView("am/pm")))
        return 5;
    if (StartsWithAt(Format, Pos, QLatin1StringView("a/p")))
        return 3;
    if (StartsWithAt(Format, Pos, QLatin1StringView("ampm")))
        return 4;
    return 0;
}

// Where the last am/pm specifier outside quoted literals starts, -1 when there is none. An
// hour prints on the 12-hour clock when one follows it somewhere; finding the last one once
// keeps a format with many hours linear.
qsizetype LastAmPm(const String& Format)
{
    qsizetype last = -1;
    qsizetype pos = 0;
    while (pos < Format.size()) {
        const Char c = Format[pos];
        if (c == u'\'' || c == u'"') {
            pos = SkipQuoted(Format, pos);
            continue;
        }
        if ((c == u'a' || c == u'A') && AmPmLength(Format, pos) > 0)
            last = pos;
        ++pos;
    }
    return last;
}

// Appends Value's digits, zeros in front up to Width: this runs for every date a list shows or
// exports, so it builds no string of its own.
void AppendNumber(String& Out, int Value, int Width)
{
    char16_t digits[16];
    int first = 16;
    for (unsigned rest = unsigned(Value); first == 16 || rest != 0; rest /= 10)
        digits[--first] = char16_t(u'0' + rest % 10);
    while (16 - first < std::min(Width, 16))
        digits[--first] = u'0';
    Out.append(reinterpret_cast<const QChar*>(digits + first), 16 - first);
}

void AppendFormatted(String& Out, const String& Format, const TDateParts& Parts, int Depth);

void AppendNested(String& Out, const String& Format, const TDateParts& Parts, int Depth)
{
    if (Depth < MaxNesting)
        AppendFormatted(Out, Format, Parts, Depth + 1);
}

// Appends the am/pm specifier at Pos, if there is one, and answers its length (0 when none).
qsizetype AppendAmPm(String& Out, const String& Format, qsizetype Pos, const TDateParts& Parts)
{
    const bool pm = Parts.Hour >= 12;
    const qsizetype length = AmPmLength(Format, Pos);
    if (length == 5)
        Out += Format.mid(pm ? Pos + 3 : Pos, 2);  // keeps the case written in the format
    else if (length == 3)
        Out += Format[pm ? Pos + 2 : Pos];
    else if (length == 4)
        Out += pm ? FormatSettings().TimePMString : FormatSettings().TimeAMString;
    return length;
}

void AppendFormatted(String& Out, const String& Format, const TDateParts& Parts, int Depth)
{
    const TFormatSettings& settings = FormatSettings();
    const qsizetype lastAmPm = LastAmPm(Format);
    Char lastToken;
    qsizetype pos = 0;
    while (pos < Format.size()) {
        const Char c = Format[pos];
        if (c == u'\'' || c == u'"') {
            const qsizetype close = Format.indexOf(c, pos + 1);
            const qsizetype end = close < 0 ? Format.size() : close;
            Out += QStringView(Format).mid(pos + 1, end - pos - 1);
            pos = end + 1;
            continue;
        }
        if (!IsAsciiLetter(c)) {
            Out += c == u'/' ? settings.DateSeparator : c == u':' ? settings.TimeSeparator : c;
            ++pos;
            continue;
        }
        Char token = AsciiUpper(c);
        if (token == u'A') {
            lastToken = token;
            const qsizetype length = AppendAmPm(Out, Format, pos, Parts);
            if (length == 0)
                Out += c;
            pos += length == 0 ? 1 : length;
            continue;
        }
        qsizetype count = 1;
        while (pos + count < Format.size() && AsciiUpper(Format[pos + count]) == token)
            ++count;
        if (token == u'M' && lastToken == u'H')
            token = u'N';
        lastToken = token;
        switch (token.unicode()) {
        case u'Y':
            AppendNumber(Out, count <= 2 ? Parts.Year % 100 : Parts.Year, count <= 2 ? 2 : 4);
            break;
        case u'M':
            if (count <= 2)
                AppendNumber(Out, Parts.Month, static_cast<int>(count));
            else
                Out += count == 3 ? settings.ShortMonthNames[Parts.Month - 1] : settings.LongMonthNames[Parts.Month - 1];
            break;
        case u'D':
            if (count <= 2)
                AppendNumber(Out, Parts.Day, static_cast<int>(count));
            else if (count == 3)
                Out += settings.ShortDayNames[Parts.DayOfWeek - 1];
            else if (count == 4)
                Out += settings.LongDayNames[Parts.DayOfWeek - 1];
            else
                AppendNested(Out, count == 5 ? settings.ShortDateFormat : settings.LongDateFormat, Parts, Depth);
            break;
        case u'H': {
            int hour = Parts.Hour;
            if (lastAmPm >= pos + count)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            AppendNumber(Out, hour, count == 1 ? 1 : 2);
            break;
        }
        case u'N':
            AppendNumber(Out, Parts.Min, count == 1 ? 1 : 2);
            break;
        case u'S':
            AppendNumber(Out, Parts.Sec, count == 1 ? 1 : 2);
            break;
        case u'Z':
            AppendNumber(Out, Parts.MSec, count <= 2 ? 1 : 3);
            break;
        case u'T':
            AppendNested(Out, count == 1 ? settings.ShortTimeFormat : settings.LongTimeFormat, Parts, Depth);
            break;
        case u'C':
            AppendNested(Out, settings.ShortDateFormat, Parts, Depth);
            if (Parts.HasTime) {
                Out += u' ';
                AppendNested(Out, settings.LongTimeFormat, Parts, Depth);
            }
            break;
        default:
            Out += QStringView(Format).mid(pos, count);
        }
        pos += count;
    }
}

// --- Parsing -----------------------------------------------------------------------------

enum class TDateOrder { YMD, MDY, DMY };

// The order of year, month and day as the short date format writes them.
TDateOrder ShortDateOrder()
{
    const String& format = FormatSettings().ShortDateFormat;
    for (qsizetype pos = 0; pos < format.size(); ++pos) {
        const Char c = format[pos].toUpper();
        if (c == u'\'' || c == u'"')
            pos = SkipQuoted(format, pos) - 1;
        else if (c == u'Y')
            return TDateOrder::YMD;
        else if (c == u'M')
            return TDateOrder::MDY;
        else if (c == u'D')
            return TDateOrder::DMY;
    }
    return TDateOrder::YMD;
}

class TScanner {
public:
    explicit TScanner(const String& Text) : FText(Text) {}

    qsizetype Pos() const { return FPos; }
    void SetPos(qsizetype Value) { FPos = Value; }
    bool AtEnd()
    {
        SkipBlanks();
        return FPos == FText.size();
    }
    void SkipBlanks()
    {
        while (FPos < FText.size() && FText[FPos] <= u' ')
            ++FPos;
    }
    bool Symbol(Char C)
    {
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == C) {
            ++FPos;
            return true;
        }
        return false;
    }
    bool Text(const String& Token)
    {
        SkipBlanks();
        if (!Token.isEmpty() && QStringView(FText).mid(FPos).startsWith(Token, Qt::CaseInsensitive)) {
            FPos += Token.size();
            return true;
        }
        return false;
    }
    // Up to 9 decimal digits; Digits tells how many were written.
    bool Number(int& Value, int& Digits)
    {
        SkipBlanks();
        Value = 0;
        Digits = 0;
        while (FPos < FText.size() && Digits < 9 && FText[FPos] >= u'0' && FText[FPos] <= u'9') {
            Value = Value * 10 + (FText[FPos].unicode() - u'0');
            ++Digits;
            ++FPos;
        }
        return Digits > 0;
    }

private:
    const String& FText;
    qsizetype FPos = 0;
};

// Two-digit years fall in the century window that ends TwoDigitYearCenturyWindow years ago.
int ExpandYear(int Year, int Digits)
{
    const int window = FormatSettings().TwoDigitYearCenturyWindow;
    if (Year > 99 || Digits > 2)
        return Year;
    const int windowStart = QDate::currentDate().year() - window;
    Year += windowStart / 100 * 100;
    if (window > 0 && Year < windowStart)
        Year += 100;
    return Year;
}

bool ScanDateSeparator(TScanner& Scanner) { return Scanner.Symbol(FormatSettings().DateSeparator) || Scanner.Symbol(u'/'); }

bool ScanDate(TScanner& Scanner, TDateTime& Value)
{
    int n[3];
    int digits[3];
    int parts = 0;
    if (!Scanner.Number(n[0], digits[0]) || !ScanDateSeparator(Scanner) || !Scanner.Number(n[1], digits[1]))
        return false;
    parts = 2;
    const qsizetype afterTwo = Scanner.Pos();
    if (ScanDateSeparator(Scanner) && Scanner.Number(n[2], digits[2]))
        parts = 3;
    else
        Scanner.SetPos(afterTwo);

    int year = QDate::currentDate().year();
    int yearDigits = 4;
    int month;
    int day;
    const TDateOrder order = ShortDateOrder();
    if (parts == 2) {
        month = order == TDateOrder::DMY ? n[1] : n[0];
        day = order == TDateOrder::DMY ? n[0] : n[1];
    } else if (order == TDateOrder::YMD) {
        year = n[0], yearDigits = digits[0], month = n[1], day = n[2];
    } else if (order == TDateOrder::MDY) {
        month = n[0], day = n[1], year = n[2], yearDigits = digits[2];
    } else {
        day = n[0], month = n[1], year = n[2], yearDigits = digits[2];
    }
    year = ExpandYear(year, yearDigits);
    if (year > 9999 || month > 12 || day > 31)
        return false;
    return TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day), Value);
}

// An am/pm marker: 0 for none, 1 for am, 2 for pm.
int ScanAmPm(TScanner& Scanner)
{
    const TFormatSettings& settings = FormatSettings();
    if (Scanner.Text(settings.TimeAMString) || Scanner.Text(QStringLiteral("AM")))
        return 1;
    if (Scanner.Text(settings.TimePMString) || Scanner.Text(QStringLiteral("PM")))
        return 2;
    return 0;
}

bool ScanTime(TScanner& Scanner, TDateTime& Value)
{
    int marker = ScanAmPm(Scanner);
    int hour;
    int min = 0;
    int sec = 0;
    int msec = 0;
    int digits;
    if (!Scanner.Number(hour, digits))
        return false;
    const bool hasMinutes = Scanner.Symbol(FormatSettings().TimeSeparator);
    if (hasMinutes) {
        if (!Scanner.Number(min, digits))
            return false;
        if (Scanner.Symbol(FormatSettings().TimeSeparator)) {
            if (!Scanner.Number(sec, digits))
                return false;
            if (Scanner.Symbol(FormatSettings().DecimalSeparator) && !Scanner.Number(msec, digits))
                return false;
        }
    }
    if (marker == 0)
        marker = ScanAmPm(Scanner);
    if (marker == 0 && !hasMinutes)
        return false;
    if (marker != 0) {
        if (hour > 12)
            return false;
        hour = hour % 12 + (marker == 2 ? 12 : 0);
    }
    if (hour > 23 || min > 59 || sec > 59 || msec > 999)
        return false;
    return TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(min), static_cast<Word>(sec),
                         static_cast<Word>(msec), Value);
}

[[noreturn]] void RaiseConvertError(const char* Message, const String& S)
{
    throw EConvertError(QString::fromUtf8(Message).arg(S));
}

}  // namespace

String FormatDateTime(const String& Format, TDateTime Value)
{
    String result;
    result.reserve(32);  // a date with its time, without growing
    AppendFormatted(result, Format.isEmpty() ? QStringLiteral("c") : Format, Decompose(Value), 0);
    return result;
}

void DateTimeToString(String& Result, const String& Format, TDateTime Value) { Result = FormatDateTime(Format, Value); }

String DateToStr(TDateTime Value) { return FormatDateTime(QStringLiteral("ddddd"), Value); }

String TimeToStr(TDateTime Value) { return FormatDateTime(QStringLiteral("tt"), Value); }

String DateTimeToStr(TDateTime Value) { return FormatDateTime(QStringLiteral("c"), Value); }

bool TryStrToDate(const String& S, TDateTime& Value)
{
    TScanner scanner(S);
    TDateTime date;
    if (!ScanDate(scanner, date) || !scanner.AtEnd())
        return false;
    Value = date;
    return true;
}

bool TryStrToTime(const String& S, TDateTime& Value)
{
    TScanner scanner(S);
    TDateTime time;
    if (!ScanTime(scanner, time) || !scanner.AtEnd())
        return false;
    Value = time;
    return true;
}

bool TryStrToDateTime(const String& S, TDateTime& Value)
{
    TScanner scanner(S);
    TDateTime date;
    if (!ScanDate(scanner, date))
        return TryStrToTime(S, Value);
    TDateTime time = 0;
    if (!scanner.AtEnd() && !(ScanTime(scanner, time) && scanner.AtEnd()))
        return false;
    Value = date >= 0 ? date + time : date - time;
    return true;
}

TDateTime StrToDate(const String& S)
{
    TDateTime result;
    if (!TryStrToDate(S, result))
        RaiseConvertError("“%1”不是有效的日期", S);
    return result;
}

TDateTime StrToTime(const String& S)
{
    TDateTime result;
    if (!TryStrToTime(S, result))
        RaiseConvertError("“%1”不是有效的时间", S);
    return result;
}

TDateTime StrToDateTime(const String& S)
{
    TDateTime result;
    if (!TryStrToDateTime(S, result))
        RaiseConvertError("“%1”不是有效的日期和时间", S);
    return result;
}

TDateTime StrToDateDef(const String& S, TDateTime Default)
{
    TDateTime result;
    return TryStrToDate(S, result) ? result : Default;
}

TDateTime StrToDateTimeDef(const String& S, TDateTime Default)
{
    TDateTime result;
    return TryStrToDateTime(S, result) ? result : Default;
}
