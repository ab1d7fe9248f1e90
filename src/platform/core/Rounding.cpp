// Round and Trunc: the rounded value converted to Int64, raising EInvalidOp outside it.
#include "platform/core/Rounding.h"

#include "platform/core/Exceptions.h"

namespace {

// Integral values in [-2^63, 2^63) convert exactly; a cast of anything else is undefined, and
// NaN fails both comparisons.
std::int64_t ToInt64(long double Integral)
{
    constexpr long double Limit = 9223372036854775808.0L;  // 2^63, exact in long double
    if (!(Integral >= -Limit && Integral < Limit))
        throw EInvalidOp(QStringLiteral("无效的浮点运算"));
    return static_cast<std::int64_t>(Integral);
}

}  // namespace

// Half to even in the default rounding mode; rint rounds as nearbyint does without saving and
// restoring the floating-point environment, which costs more than the rounding on every date.
std::int64_t Round(long double Value) { return ToInt64(std::rint(Value)); }

std::int64_t Trunc(long double Value) { return ToInt64(std::trunc(Value)); }
