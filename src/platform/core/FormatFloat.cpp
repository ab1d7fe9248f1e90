// Numbers to text: FloatToStrF's formats and FormatFloat's picture formats, for floating point
// and currency values alike.
#include "platform/core/FloatDecimal.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr int FloatPrecision = 15;
constexpr int CurrencyPrecision = 19;

// Text for NaN and infinities, which have no digits.
std::optional<String> SpecialValueText(long double Value)
{
    if (std::isnan(Value))
        return QStringLiteral("NAN");
    if (std::isinf(Value))
        return Value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    return std::nullopt;
}

String Digits(const std::string& Text) { return QString::fromLatin1(Text.data(), static_cast<qsizetype>(Text.size())); }

String Zeros(int Count) { return String(std::max(Count, 0), u'0'); }

String ExponentText(int Exponent, bool AlwaysSigned, int MinDigits)
{
    const String sign = Exponent < 0 ? QStringLiteral("-") : AlwaysSigned ? QStringLiteral("+") : String();
    return sign + String::number(std::abs(Exponent)).rightJustified(MinDigits, u'0');
}

String WithThousands(const String& IntDigits)
{
    String result;
    for (qsizetype i = 0; i < IntDigits.size(); ++i) {
        if (i > 0 && (IntDigits.size() - i) % 3 == 0)
            result += FormatSettings().ThousandSeparator;
        result += IntDigits[i];
    }
    return result;
}

// --- FloatToStrF ---------------------------------------------------------------------------

// Rec already holds at most Precision digits.
String ExponentForm(const TFloatRec& Rec, int Precision, int ExpDigits, bool General)
{
    String mantissa = Digits(Rec.Digits.empty() ? "0" : Rec.Digits);
    if (!General)
        mantissa += Zeros(Precision - static_cast<int>(mantissa.size()));
    if (mantissa.size() > 1)
        mantissa.insert(1, FormatSettings().DecimalSeparator);
    const int exponent = Rec.Digits.empty() ? 0 : Rec.Exponent - 1;
    return mantissa + u'E' + ExponentText(exponent, !General, ExpDigits);
}

// The unsigned fixed-point text of Rec with exactly Decimals digits after the point
// (General: only the digits Rec has).
String FixedForm(const TFloatRec& Rec, int Decimals, bool Thousands, bool General)
{
    const String digits = Digits(Rec.Digits);
    String intPart = Rec.Exponent > 0 ? digits.left(Rec.Exponent) + Zeros(Rec.Exponent - static_cast<int>(digits.size()))
                                      : String();
    if (intPart.isEmpty())
        intPart = QStringLiteral("0");
    String fraction = Zeros(-Rec.Exponent) + digits.mid(std::max(Rec.Exponent, 0));
    if (!General)
        fraction = fraction.leftJustified(Decimals, u'0', true);
    const String text = Thousands ? WithThousands(intPart) : intPart;
    return fraction.isEmpty() ? text : text + FormatSettings().DecimalSeparator + fraction;
}

// The platform's currency layouts: '$' stands for the currency string, '1' for the number.
String CurrencyLayout(const String& Number, bool Negative)
{
    static const char* const positive[] = {"$1", "1$", "$ 1", "1 $"};
    static const char* const negative[] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
                                           "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
    const TFormatSettings& settings = FormatSettings();
    const char* layout = Negative ? negative[settings.NegCurrFormat % 16] : positive[settings.CurrencyFormat % 4];
    String result;
    for (const char* c = layout; *c; ++c)
        result += *c == '$' ? settings.CurrencyString : *c == '1' ? Number : String(QChar::fromLatin1(*c));
    return result;
}

// Rec holds the value's digits already rounded to Precision significant digits.
String DecimalToStrF(const TFloatRec& Rec, TFloatFormat Format, int Precision, int Digits)
{
    const String sign = Rec.Negative ? QStringLiteral("-") : String();
    const int expDigits = std::clamp(Digits, 0, 4);
    switch (Format) {
    case TFloatFormat::ffGeneral:
        if (Rec.Exponent > Precision || Rec.Exponent < -3)
            return sign + ExponentForm(Rec, Precision, expDigits, true);
        return sign + FixedForm(Rec, 0, false, true);
    case TFloatFormat::ffExponent:
        return sign + ExponentForm(Rec, Precision, expDigits, false);
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
        if (Rec.Exponent > Precision)
            return sign + ExponentForm(Rec, Precision, expDigits, false);
        const int decimals = std::clamp(Digits, 0, 18);
        const TFloatRec rounded = RoundDecimals(Rec, decimals);
        const String number = FixedForm(rounded, decimals, Format != TFloatFormat::ffFixed, false);
        if (Format == TFloatFormat::ffCurrency)
            return CurrencyLayout(number, rounded.Negative);
        return (rounded.Negative ? QStringLiteral("-") : String()) + number;
    }
    }
    return String();
}

// --- FormatFloat pictures --------------------------------------------------------------------

struct TPictureToken {
    enum class TKind { Literal, Digit, Point, Exponent } Kind;
    String Text;  // literal text, or the exponent letter as written
    bool ExponentPlus = false;
    int ExponentDigits = 0;
};

struct TPicture {
    std::vector<TPictureToken> Tokens;
    int IntPlaces = 0;   // digit placeholders before the point
    int IntZeros = 0;    // of those, the ones from the first '0' on, always printed
    int FracPlaces = 0;  // digit placeholders after the point
    int FracZeros = 0;   // of those, the ones up to the last '0', always printed
    bool Thousands = false;
    bool Scientific = false;
};

TPicture ParsePicture(const String& Section)
{
    TPicture picture;
    bool afterPoint = false;
    int firstIntZero = -1;
    for (qsizetype pos = 0; pos < Section.size(); ++pos) {
        const Char c = Section[pos];
        if (c == u'\'' || c == u'"') {
            qsizetype close = Section.indexOf(c, pos + 1);
            if (close < 0)
                close = Section.size();
            picture.Tokens.push_back({TPictureToken::TKind::Literal, Section.mid(pos + 1, close - pos - 1)});
            pos = close;
        } else if ((c == u'0' || c == u'#') && !picture.Scientific) {
            picture.Tokens.push_back({TPictureToken::TKind::Digit, String()});
            if (afterPoint) {
                ++picture.FracPlaces;
                if (c == u'0')
                    picture.FracZeros = picture.FracPlaces;
            } else {
                if (c == u'0' && firstIntZero < 0)
                    firstIntZero = picture.IntPlaces;
                ++picture.IntPlaces;
            }
        } else if (c == u'.' && !picture.Scientific) {
            if (!afterPoint)
                picture.Tokens.push_back({TPictureToken::TKind::Point, String()});
            afterPoint = true;
        } else if (c == u',') {
            picture.Thousands = true;
        } else if ((c == u'E' || c == u'e') && !picture.Scientific && pos + 1 < Section.size()
                   && (Section[pos + 1] == u'+' || Section[pos + 1] == u'-')) {
            TPictureToken token{TPictureToken::TKind::Exponent, String(c)};
            token.ExponentPlus = Section[++pos] == u'+';
            while (pos + 1 < Section.size() && Section[pos + 1] == u'0' && token.ExponentDigits < 4) {
                ++token.ExponentDigits;
                ++pos;
            }
            picture.Tokens.push_back(token);
            picture.Scientific = true;
        } else {
            picture.Tokens.push_back({TPictureToken::TKind::Literal, String(c)});
        }
    }
    picture.IntZeros = firstIntZero < 0 ? 0 : picture.IntPlaces - firstIntZero;
    return picture;
}

// The digits of an already rounded value laid out in the picture's placeholders.
String RenderPicture(const TPicture& Picture, const TFloatRec& Rec)
{
    const String digits = Digits(Rec.Digits);
    String intDigits;
    String fracDigits;
    int exponent = 0;
    if (Picture.Scientific) {
        intDigits = digits.left(Picture.IntPlaces).leftJustified(Picture.IntPlaces, u'0');
        fracDigits = digits.mid(Picture.IntPlaces);
        exponent = Rec.Digits.empty() ? 0 : Rec.Exponent - Picture.IntPlaces;
    } else {
        if (Rec.Exponent > 0)
            intDigits = digits.left(Rec.Exponent) + Zeros(Rec.Exponent - static_cast<int>(digits.size()));
        fracDigits = Zeros(-Rec.Exponent) + digits.mid(std::max(Rec.Exponent, 0));
    }
    intDigits = intDigits.rightJustified(Picture.IntZeros, u'0');
    fracDigits = fracDigits.leftJustified(Picture.FracZeros, u'0');

    // Integer digits fill their placeholders from the right; extra digits all go to the first.
    const qsizetype length = intDigits.size();
    const bool thousands = Picture.Thousands && !Picture.Scientific;
    auto appendIntDigits = [&](String& out, qsizetype from, qsizetype to) {
        for (qsizetype i = std::max<qsizetype>(from, 0); i < to; ++i) {
            out += intDigits[i];
            if (thousands && i < length - 1 && (length - 1 - i) % 3 == 0)
                out += FormatSettings().ThousandSeparator;
        }
    };

    String result;
    int intIndex = 0;
    int fracIndex = 0;
    bool afterPoint = false;
    for (const TPictureToken& token : Picture.Tokens) {
        switch (token.Kind) {
        case TPictureToken::TKind::Literal:
            result += token.Text;
            break;
        case TPictureToken::TKind::Digit:
            if (afterPoint) {
                if (fracIndex < fracDigits.size())
                    result += fracDigits[fracIndex];
                ++fracIndex;
            } else {
                const qsizetype slot = length - Picture.IntPlaces + intIndex;
                appendIntDigits(result, intIndex == 0 ? 0 : slot, slot + 1);
                ++intIndex;
            }
            break;
        case TPictureToken::TKind::Point:
            if (Picture.IntPlaces == 0)
                appendIntDigits(result, 0, length);
            afterPoint = true;
            if (!fracDigits.isEmpty())
                result += FormatSettings().DecimalSeparator;
            break;
        case TPictureToken::TKind::Exponent:
            result += token.Text + ExponentText(exponent, token.ExponentPlus, token.ExponentDigits);
            break;
        }
    }
    return result;
}

TFloatRec RoundForPicture(const TPicture& Picture, const TFloatRec& Rec)
{
    return Picture.Scientific ? RoundDigits(Rec, Picture.IntPlaces + Picture.FracPlaces)
                              : RoundDecimals(Rec, Picture.FracPlaces);
}

// Sections "positive;negative;zero": an empty or missing negative section formats the
// magnitude with the first and puts a minus in front; a value that rounds to zero takes the zero
// section when there is one, and never carries a sign.
String FormatDecimal(const String& Format, const TFloatRec& Rec)
{
    QStringList sections;
    String current;
    for (qsizetype pos = 0; pos < Format.size(); ++pos) {
        const Char c = Format[pos];
        if (c == u';') {
            sections.append(current);
            current.clear();
            continue;
        }
        current += c;
        if (c == u'\'' || c == u'"') {
            qsizetype close = Format.indexOf(c, pos + 1);
            if (close < 0)
                close = Format.size() - 1;
            current += Format.mid(pos + 1, close - pos);
            pos = close;
        }
    }
    sections.append(current);

    const bool useNegativeSection = Rec.Negative && sections.size() > 1 && !sections[1].isEmpty();
    const TPicture picture = ParsePicture(sections[useNegativeSection ? 1 : 0]);
    const TFloatRec rounded = RoundForPicture(picture, Rec);
    if (rounded.Digits.empty()) {
        const bool hasZeroSection = sections.size() > 2 && !sections[2].isEmpty();
        return RenderPicture(hasZeroSection ? ParsePicture(sections[2]) : ParsePicture(sections[0]), rounded);
    }
    const String sign = Rec.Negative && !useNegativeSection ? QStringLiteral("-") : String();
    return sign + RenderPicture(picture, rounded);
}

}  // namespace

String FloatToStr(long double Value) { return FloatToStrF(Value, TFloatFormat::ffGeneral, FloatPrecision, 0); }

String FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits)
{
    if (const auto special = SpecialValueText(Value))
        return *special;
    const int precision = std::clamp(Precision, 1, 18);
    return DecimalToStrF(FloatToDecimal(Value, precision), Format, precision, Digits);
}

String FormatFloat(const String& Format, long double Value)
{
    if (const auto special = SpecialValueText(Value))
        return *special;
    if (Format.isEmpty())
        return FloatToStr(Value);
    return FormatDecimal(Format, FloatToDecimal(Value, FloatPrecision));
}

String FormatCurr(const String& Format, Currency Value)
{
    if (Format.isEmpty())
        return CurrToStr(Value);
    return FormatDecimal(Format, CurrToDecimal(Value));
}

String CurrToStr(Currency Value) { return CurrToStrF(Value, TFloatFormat::ffGeneral, 0); }

String CurrToStrF(Currency Value, TFloatFormat Format, int Digits)
{
    return DecimalToStrF(CurrToDecimal(Value), Format, CurrencyPrecision, Digits);
}
