// Floating-point and currency values as decimal digits, and rounding those digits.
#include "platform/core/FloatDecimal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

void Normalize(TFloatRec& Rec)
{
    const std::size_t last = Rec.Digits.find_last_not_of('0');
    Rec.Digits.resize(last == std::string::npos ? 0 : last + 1);
    if (Rec.Digits.empty())
        Rec = TFloatRec();
}

}  // namespace

TFloatRec FloatToDecimal(long double Value, int Precision)
{
    constexpr int SignificantDigits = 18;
    char text[64];
    std::snprintf(text, sizeof text, "%.*Le", SignificantDigits - 1, std::fabs(Value));
    // text is "d.ddddddddddddddddde±x".
    TFloatRec rec;
    rec.Negative = std::signbit(Value);
    rec.Digits = std::string(1, text[0]) + std::string(text + 2, SignificantDigits - 1);
    rec.Exponent = std::atoi(text + SignificantDigits + 2) + 1;
    Normalize(rec);
    return RoundDigits(rec, Precision);
}

TFloatRec CurrToDecimal(Currency Value)
{
    const std::int64_t raw = Value.Raw();
    // Through unsigned so the most negative value keeps its magnitude.
    const std::uint64_t magnitude = raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    TFloatRec rec;
    rec.Negative = raw < 0;
    rec.Digits = std::to_string(magnitude);
    rec.Exponent = static_cast<int>(rec.Digits.size()) - 4;
    Normalize(rec);
    return rec;
}

TFloatRec RoundDigits(TFloatRec Rec, int Count)
{
    if (Count >= static_cast<int>(Rec.Digits.size()))
        return Rec;
    if (Count < 0)
        return TFloatRec();
    const bool roundUp = Rec.Digits[Count] >= '5';
    Rec.Digits.resize(Count);
    if (roundUp) {
        int pos = Count - 1;
        while (pos >= 0 && Rec.Digits[pos] == '9')
            Rec.Digits[pos--] = '0';
        if (pos >= 0) {
            ++Rec.Digits[pos];
        } else {
            Rec.Digits.insert(Rec.Digits.begin(), '1');
            ++Rec.Exponent;
        }
    }
    Normalize(Rec);
    return Rec;
}

TFloatRec RoundDecimals(const TFloatRec& Rec, int Decimals) { return RoundDigits(Rec, Rec.Exponent + Decimals); }
