#pragma once
// The platform's Round, Trunc and Frac. Round goes half to even (banker's rounding), as the
// processor rounds by default: Round(2.5) = 2, Round(3.5) = 4. The value must fit an Int64.
#include <cmath>
#include <cstdint>

inline std::int64_t Round(long double Value) { return std::llrint(Value); }
inline std::int64_t Trunc(long double Value) { return static_cast<std::int64_t>(Value); }
inline long double Frac(long double Value) { return Value - std::trunc(Value); }
