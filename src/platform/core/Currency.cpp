// Currency conversions and arithmetic in 128-bit units, raising EOverflow outside the range.
#include "platform/core/Currency.h"

#include "platform/core/Exceptions.h"

#include <cmath>
#include <limits>

namespace {

__extension__ typedef __int128 Int128;

[[noreturn]] void RaiseOverflow() { throw EOverflow(QStringLiteral("浮点数溢出")); }

Currency FromWide(Int128 Units)
{
    if (Units < std::numeric_limits<std::int64_t>::min() || Units > std::numeric_limits<std::int64_t>::max())
        RaiseOverflow();
    return Currency::FromRaw(static_cast<std::int64_t>(Units));
}

// Numerator / Denominator rounded half to even.
Int128 DivideHalfEven(Int128 Numerator, Int128 Denominator)
{
    Int128 quotient = Numerator / Denominator;
    const Int128 remainder = Numerator % Denominator;
    const Int128 twice = 2 * (remainder < 0 ? -remainder : remainder);
    const Int128 divisor = Denominator < 0 ? -Denominator : Denominator;
    if (twice > divisor || (twice == divisor && quotient % 2 != 0))
        quotient += (Numerator < 0) == (Denominator < 0) ? 1 : -1;
    return quotient;
}

}  // namespace

Currency Currency::FromInt(std::int64_t value)
{
    std::int64_t units;
    if (__builtin_mul_overflow(value, Scale, &units))
        RaiseOverflow();
    return Currency(units);
}

bool Currency::TryFromDouble(long double value, Currency& result) { return TryFromUnits(value * Scale, result); }

bool Currency::TryFromUnits(long double units, Currency& result)
{
    // 2^63 is exact in long double; the range is [-2^63, 2^63) after rounding.
    constexpr long double Bound = 9223372036854775808.0L;
    // Half to even in the default rounding mode; rint rounds as nearbyint does without saving
    // and restoring the floating-point environment, which costs more than the rounding.
    const long double rounded = std::rint(units);
    if (!(rounded >= -Bound && rounded < Bound))
        return false;
    result = Currency(static_cast<std::int64_t>(rounded));
    return true;
}

Currency Currency::FromDouble(long double value)
{
    Currency result;
    if (!TryFromDouble(value, result))
        RaiseOverflow();
    return result;
}

Currency Currency::operator*(Currency other) const
{
    return FromWide(DivideHalfEven(static_cast<Int128>(FUnits) * other.FUnits, Scale));
}

Currency Currency::operator/(Currency other) const
{
    if (other.FUnits == 0)
        throw EZeroDivide(QStringLiteral("除数为零"));
    return FromWide(DivideHalfEven(static_cast<Int128>(FUnits) * Scale, other.FUnits));
}

Currency Currency::operator-() const { return Currency() - *this; }

Currency Currency::operator+(Currency other) const
{
    std::int64_t sum;
    if (__builtin_add_overflow(FUnits, other.FUnits, &sum))
        RaiseOverflow();
    return Currency(sum);
}

Currency Currency::operator-(Currency other) const
{
    std::int64_t difference;
    if (__builtin_sub_overflow(FUnits, other.FUnits, &difference))
        RaiseOverflow();
    return Currency(difference);
}
