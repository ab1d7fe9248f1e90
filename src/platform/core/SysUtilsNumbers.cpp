// Numbers from text, and integers to text.
#include "platform/core/Exceptions.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

[[noreturn]] void RaiseConvertError(const char* Message, const String& S)
{
    throw EConvertError(QString::fromUtf8(Message).arg(S));
}

int DigitValue(Char C, int Base)
{
    const char16_t c = C.unicode();
    int value = 99;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < Base ? value : -1;
}

// Blanks around, a sign, and decimal digits or hexadecimal ones after "$" or "0x". Hexadecimal
// may use every bit of the width (colours, flag sets) and wraps to negative, as the platform's does.
bool ParseInteger(const String& S, std::int64_t Min, std::int64_t Max, std::int64_t& Value)
{
    const String text = Trim(S);
    qsizetype pos = 0;
    const bool negative = pos < text.size() && text[pos] == u'-';
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+'))
        ++pos;
    int base = 10;
    if (text.mid(pos, 1) == u"$") {
        base = 16;
        pos += 1;
    } else if (text.mid(pos, 2).compare(u"0x", Qt::CaseInsensitive) == 0) {
        base = 16;
        pos += 2;
    }
    if (pos == text.size())
        return false;
    // Accumulate the magnitude unsigned, so the most negative value fits.
    const std::uint64_t limit = base == 16 ? static_cast<std::uint64_t>(Max) * 2 + 1
                                : negative ? 0 - static_cast<std::uint64_t>(Min)
                                           : static_cast<std::uint64_t>(Max);
    std::uint64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = DigitValue(text[pos], base);
        if (digit < 0 || magnitude > (limit - digit) / base)
            return false;
        magnitude = magnitude * base + digit;
    }
    if (base == 16 && magnitude > static_cast<std::uint64_t>(Max))
        magnitude -= (static_cast<std::uint64_t>(Max) + 1) * 2;  // two's complement wrap within the width
    Value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

// Blanks around, a sign, digits with at most one decimal separator, an optional exponent;
// answers the text in the C notation or nothing when it is not a number.
std::optional<std::string> NormalizeFloatText(const String& S)
{
    const String text = Trim(S);
    std::string ascii;
    qsizetype pos = 0;
    auto digits = [&] {
        const qsizetype start = pos;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9')
            ascii += static_cast<char>(text[pos++].unicode());
        return pos - start;
    };
    auto sign = [&] {
        if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+'))
            ascii += static_cast<char>(text[pos++].unicode());
    };
    sign();
    qsizetype mantissaDigits = digits();
    if (pos < text.size() && text[pos] == FormatSettings().DecimalSeparator) {
        ascii += '.';
        ++pos;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        ascii += 'e';
        ++pos;
        sign();
        if (digits() == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    return ascii;
}

// C notation with the decimal point moved Places digits to the right: "1.5e3" and 2 give
// "150.e3", so the value times 10^Places reads without a rounded multiplication.
std::string ShiftPoint(std::string Text, std::size_t Places)
{
    std::size_t end = std::min(Text.find('e'), Text.size());
    std::size_t point = Text.find('.');
    if (point < end) {
        Text.erase(point, 1);
        --end;
    } else {
        point = end;
    }
    for (; end - point < Places; ++end)
        Text.insert(end, 1, '0');
    Text.insert(point + Places, 1, '.');
    return Text;
}

// The value of S times 10^Places.
bool ReadFloat(const String& S, std::size_t Places, long double& Value)
{
    std::optional<std::string> text = NormalizeFloatText(S);
    if (!text)
        return false;
    if (Places > 0)
        text = ShiftPoint(std::move(*text), Places);
    long double result;
    const char* end = text->data() + text->size();
    // from_chars reads the C notation whatever the process locale, and rejects a leading '+'.
    const char* begin = text->front() == '+' ? text->data() + 1 : text->data();
    const auto [ptr, error] = std::from_chars(begin, end, result);
    if (error != std::errc() || ptr != end || std::isinf(result))
        return false;
    Value = result;
    return true;
}

}  // namespace

String IntToStr(std::int64_t Value) { return String::number(Value); }

String IntToHex(std::int64_t Value, int Digits)
{
    return String::number(static_cast<std::uint64_t>(Value), 16).toUpper().rightJustified(Digits, u'0');
}

bool TryStrToInt64(const String& S, std::int64_t& Value)
{
    return ParseInteger(S, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(), Value);
}

bool TryStrToInt(const String& S, int& Value)
{
    std::int64_t wide;
    if (!ParseInteger(S, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), wide))
        return false;
    Value = static_cast<int>(wide);
    return true;
}

int StrToInt(const String& S)
{
    int result;
    if (!TryStrToInt(S, result))
        RaiseConvertError("“%1”不是有效的整数值", S);
    return result;
}

std::int64_t StrToInt64(const String& S)
{
    std::int64_t result;
    if (!TryStrToInt64(S, result))
        RaiseConvertError("“%1”不是有效的整数值", S);
    return result;
}

int StrToIntDef(const String& S, int Default)
{
    int result;
    return TryStrToInt(S, result) ? result : Default;
}

std::int64_t StrToInt64Def(const String& S, std::int64_t Default)
{
    std::int64_t result;
    return TryStrToInt64(S, result) ? result : Default;
}

bool TryStrToFloat(const String& S, long double& Value) { return ReadFloat(S, 0, Value); }

bool TryStrToFloat(const String& S, double& Value)
{
    long double result;
    if (!TryStrToFloat(S, result) || std::fabs(result) > std::numeric_limits<double>::max())
        return false;
    Value = static_cast<double>(result);
    return true;
}

long double StrToFloat(const String& S)
{
    long double result;
    if (!TryStrToFloat(S, result))
        RaiseConvertError("“%1”不是有效的浮点数值", S);
    return result;
}

long double StrToFloatDef(const String& S, long double Default)
{
    long double result;
    return TryStrToFloat(S, result) ? result : Default;
}

bool TryStrToCurr(const String& S, Currency& Value)
{
    // Read as units, as the platform reads it: an amount of at most four decimals is exact,
    // where reading the float first and scaling it after rounds twice.
    long double units;
    return ReadFloat(S, 4, units) && Currency::TryFromUnits(units, Value);
}

Currency StrToCurr(const String& S)
{
    Currency result;
    if (!TryStrToCurr(S, result))
        RaiseConvertError("“%1”不是有效的浮点数值", S);
    return result;
}

Currency StrToCurrDef(const String& S, Currency Default)
{
    Currency result;
    return TryStrToCurr(S, result) ? result : Default;
}
