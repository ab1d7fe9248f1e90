#pragma once
// Numbers as decimal digit strings, the common ground of the float and currency formatters:
// each source turns into a TFloatRec, and rounding happens on its decimal digits.
#include "platform/core/Currency.h"

#include <string>

// The value 0.Digits * 10^Exponent, Digits without trailing zeros; zero has no digits and no sign.
struct TFloatRec {
    bool Negative = false;
    int Exponent = 0;
    std::string Digits;
};

// Value's significant digits as they print at 18 digits, rounded half away from zero to Precision.
TFloatRec FloatToDecimal(long double Value, int Precision);
// The exact digits of a currency value.
TFloatRec CurrToDecimal(Currency Value);
// Keeps at most Count significant digits, rounding half away from zero.
TFloatRec RoundDigits(TFloatRec Rec, int Count);
// Keeps at most Decimals digits after the decimal point, rounding half away from zero.
TFloatRec RoundDecimals(const TFloatRec& Rec, int Decimals);
