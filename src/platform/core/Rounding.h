#pragma once
// The platform's Round, Trunc and Frac. Round goes half to even (banker's rounding), as the
// processor rounds by default: Round(2.5) = 2, Round(3.5) = 4. A result outside Int64, or NaN,
// raises EInvalidOp, as the processor's invalid-operation fault does on the platform.
#include <cmath>
#include <cstdint>

std::int64_t Round(long double Value);
std::int64_t Trunc(long double Value);
inline long double Frac(long double Value) { return Value - std::trunc(Value); }
