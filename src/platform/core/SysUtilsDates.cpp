// Date and time text: FormatDateTime and the StrToDate family.
#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"

#include <QDate>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <vector>

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

// Writes Value's digits at Out, zeros in front up to Width; answers the end.
char16_t* PutNumber(char16_t* Out, unsigned Value, int Width)
{
    char16_t digits[10];
    int count = 0;
    do {
        digits[count++] = char16_t(u'0' + Value % 10);
        Value /= 10;
    } while (Value != 0);
    for (int i = count; i < Width; ++i)
        *Out++ = u'0';
    while (count > 0)
        *Out++ = digits[--count];
    return Out;
}

char16_t* PutText(char16_t* Out, const String& Text)
{
    std::copy_n(reinterpret_cast<const char16_t*>(Text.constData()), Text.size(), Out);
    return Out + Text.size();
}

// --- Formats compiled once ---------------------------------------------------------------
//
// A format is read once into the steps it takes, its nested formats expanded and its 12-hour
// hours found: every date a list shows or exports then only runs the steps.

struct TFormatStep {
    enum TKind : std::uint8_t {
        Text,        // Texts[0]
        Year,        // the year's Width last digits
        Month,
        Day,
        Hour,
        Hour12,      // on the 12-hour clock
        Minute,
        Second,
        MilliSecond,
        AmPm,        // Texts[0] before noon, Texts[1] after
        MonthName,   // from Names
        DayName,     // from Names
        TimeFollows  // the next Width steps run only when the value has a time
    };
    TKind Kind;
    int Width = 0;
    std::array<String, 2> Texts;
    const String* Names = nullptr;
};

using TFormatSteps = std::vector<TFormatStep>;

// A format's steps and the longest text they write, which a date's text is made room for.
struct TCompiledFormat {
    TFormatSteps Steps;
    qsizetype MaxLength = 0;
};

class TFormatCompiler {
public:
    static TCompiledFormat Compile(const String& Format)
    {
        TFormatCompiler compiler;
        compiler.Add(Format, 0);
        TCompiledFormat compiled{std::move(compiler.FSteps)};
        for (const TFormatStep& step : compiled.Steps)
            compiled.MaxLength += MaxLength(step);
        return compiled;
    }

private:
    static qsizetype MaxLength(const TFormatStep& Step)
    {
        switch (Step.Kind) {
        case TFormatStep::Text:
        case TFormatStep::AmPm: return std::max(Step.Texts[0].size(), Step.Texts[1].size());
        case TFormatStep::MonthName: return LongestName(Step.Names, 12);
        case TFormatStep::DayName: return LongestName(Step.Names, 7);
        case TFormatStep::TimeFollows: return 0;
        default: return std::max(Step.Width, 5);  // a number: no part has more digits
        }
    }

    static qsizetype LongestName(const String* Names, int Count)
    {
        qsizetype longest = 0;
        for (int i = 0; i < Count; ++i)
            longest = std::max(longest, Names[i].size());
        return longest;
    }

    void Text(String Value) { FSteps.push_back({TFormatStep::Text, 0, {std::move(Value), String()}, nullptr}); }
    void Number(TFormatStep::TKind Kind, int Width) { FSteps.push_back({Kind, Width, {}, nullptr}); }
    void Names(TFormatStep::TKind Kind, const String* Names) { FSteps.push_back({Kind, 0, {}, Names}); }

    void Nested(const String& Format, int Depth)
    {
        if (Depth < MaxNesting)
            Add(Format, Depth + 1);
    }

    // The am/pm specifier at Pos, if there is one; answers its length (0 when none).
    qsizetype AmPm(const String& Format, qsizetype Pos)
    {
        const qsizetype length = AmPmLength(Format, Pos);
        if (length == 5)  // keeps the case written in the format
            FSteps.push_back({TFormatStep::AmPm, 0, {Format.mid(Pos, 2), Format.mid(Pos + 3, 2)}, nullptr});
        else if (length == 3)
            FSteps.push_back({TFormatStep::AmPm, 0, {Format.mid(Pos, 1), Format.mid(Pos + 2, 1)}, nullptr});
        else if (length == 4)
            FSteps.push_back({TFormatStep::AmPm, 0, {FormatSettings().TimeAMString, FormatSettings().TimePMString}, nullptr});
        return length;
    }

    void Add(const String& Format, int Depth)
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
                Text(Format.mid(pos + 1, end - pos - 1));
                pos = end + 1;
                continue;
            }
            if (!IsAsciiLetter(c)) {
                Text(String(c == u'/' ? settings.DateSeparator : c == u':' ? settings.TimeSeparator : c));
                ++pos;
                continue;
            }
            Char token = AsciiUpper(c);
            if (token == u'A') {
                lastToken = token;
                const qsizetype length = AmPm(Format, pos);
                if (length == 0)
                    Text(String(c));
                pos += length == 0 ? 1 : length;
                continue;
            }
            qsizetype count = 1;
            while (pos + count < Format.size() && AsciiUpper(Format[pos + count]) == token)
                ++count;
            if (token == u'M' && lastToken == u'H')
                token = u'N';
            lastToken = token;
            const int width = int(count);
            switch (token.unicode()) {
            case u'Y':
                Number(TFormatStep::Year, count <= 2 ? 2 : 4);
                break;
            case u'M':
                if (count <= 2)
                    Number(TFormatStep::Month, width);
                else
                    Names(TFormatStep::MonthName,
                          count == 3 ? settings.ShortMonthNames.data() : settings.LongMonthNames.data());
                break;
            case u'D':
                if (count <= 2)
                    Number(TFormatStep::Day, width);
                else if (count <= 4)
                    Names(TFormatStep::DayName, count == 3 ? settings.ShortDayNames.data() : settings.LongDayNames.data());
                else
                    Nested(count == 5 ? settings.ShortDateFormat : settings.LongDateFormat, Depth);
                break;
            case u'H':
                Number(lastAmPm >= pos + count ? TFormatStep::Hour12 : TFormatStep::Hour, count == 1 ? 1 : 2);
                break;
            case u'N':
                Number(TFormatStep::Minute, count == 1 ? 1 : 2);
                break;
            case u'S':
                Number(TFormatStep::Second, count == 1 ? 1 : 2);
                break;
            case u'Z':
                Number(TFormatStep::MilliSecond, count <= 2 ? 1 : 3);
                break;
            case u'T':
                Nested(count == 1 ? settings.ShortTimeFormat : settings.LongTimeFormat, Depth);
                break;
            case u'C': {
                Nested(settings.ShortDateFormat, Depth);
                const size_t marker = FSteps.size();
                FSteps.push_back({TFormatStep::TimeFollows, 0, {}, nullptr});
                Text(QStringLiteral(" "));
                Nested(settings.LongTimeFormat, Depth);
                FSteps[marker].Width = int(FSteps.size() - marker - 1);
                break;
            }
            default:
                Text(Format.mid(pos, count));
            }
            pos += count;
        }
    }

    TFormatSteps FSteps;
};

// The steps of Format, compiled at its first use. The settings are fixed, so a format's steps
// never change; the few formats a program uses stay compiled.
const TCompiledFormat& CompiledFormat(const String& Format)
{
    thread_local std::vector<std::pair<String, TCompiledFormat>> compiled;
    for (const auto& [format, steps] : compiled)
        if (format == Format)
            return steps;
    // A program that builds formats as it goes must not grow this without end.
    if (compiled.size() == 32)
        compiled.clear();
    compiled.emplace_back(Format, TFormatCompiler::Compile(Format));
    return compiled.back().second;
}

// Writes the text of Steps for Parts at Out; answers the end.
char16_t* PutSteps(char16_t* Out, const TFormatSteps& Steps, const TDateParts& Parts)
{
    for (size_t i = 0; i < Steps.size(); ++i) {
        const TFormatStep& step = Steps[i];
        switch (step.Kind) {
        case TFormatStep::Text: Out = PutText(Out, step.Texts[0]); break;
        case TFormatStep::Year: Out = PutNumber(Out, step.Width == 2 ? Parts.Year % 100 : Parts.Year, step.Width); break;
        case TFormatStep::Month: Out = PutNumber(Out, Parts.Month, step.Width); break;
        case TFormatStep::Day: Out = PutNumber(Out, Parts.Day, step.Width); break;
        case TFormatStep::Hour: Out = PutNumber(Out, Parts.Hour, step.Width); break;
        case TFormatStep::Hour12: Out = PutNumber(Out, Parts.Hour % 12 == 0 ? 12 : Parts.Hour % 12, step.Width); break;
        case TFormatStep::Minute: Out = PutNumber(Out, Parts.Min, step.Width); break;
        case TFormatStep::Second: Out = PutNumber(Out, Parts.Sec, step.Width); break;
        case TFormatStep::MilliSecond: Out = PutNumber(Out, Parts.MSec, step.Width); break;
        case TFormatStep::AmPm: Out = PutText(Out, step.Texts[Parts.Hour >= 12 ? 1 : 0]); break;
        case TFormatStep::MonthName: Out = PutText(Out, step.Names[Parts.Month - 1]); break;
        case TFormatStep::DayName: Out = PutText(Out, step.Names[Parts.DayOfWeek - 1]); break;
        case TFormatStep::TimeFollows:
            if (!Parts.HasTime)
                i += size_t(step.Width);
            break;
        }
    }
    return Out;
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
    const TDateParts parts = Decompose(Value);
    const TCompiledFormat& format = CompiledFormat(Format.isEmpty() ? QStringLiteral("c") : Format);
    // Written into room for the longest text, on the stack for any format of a usual length.
    QVarLengthArray<char16_t, 64> text(format.MaxLength);
    const char16_t* const end = PutSteps(text.data(), format.Steps, parts);
    return String(reinterpret_cast<const QChar*>(text.data()), end - text.data());
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
