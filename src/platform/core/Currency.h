#pragma once
// The platform's Currency: a fixed-point number held as a 64-bit count of 1/10000 units.
// Conversion from floating point rounds half to even on the long double product, as the
// platform's FPU does, so ties are judged in extended precision.
#include <compare>
#include <cstdint>

class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency FromRaw(std::int64_t units) { return Currency(units); }
    // Raises EOverflow, as the arithmetic below does, when the result leaves the range.
    static Currency FromInt(std::int64_t value);
    // Rounds value * 10000 half to even; raises EOverflow outside the representable range.
    static Currency FromDouble(long double value);
    // The same conversion answering false instead of raising.
    static bool TryFromDouble(long double value, Currency& result);
    // A count of 1/10000 units, rounded half to even; false outside the range.
    static bool TryFromUnits(long double units, Currency& result);

    constexpr std::int64_t Raw() const { return FUnits; }
    double ToDouble() const { return static_cast<double>(static_cast<long double>(FUnits) / Scale); }
    long double ToLongDouble() const { return static_cast<long double>(FUnits) / Scale; }

    Currency operator-() const;
    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency& operator+=(Currency other) { return *this = *this + other; }
    Currency& operator-=(Currency other) { return *this = *this - other; }
    // Products and quotients are rounded half to even to 1/10000; division by zero raises EZeroDivide.
    Currency operator*(Currency other) const;
    Currency operator/(Currency other) const;

    constexpr auto operator<=>(const Currency&) const = default;
    constexpr bool operator==(const Currency&) const = default;

private:
    constexpr explicit Currency(std::int64_t units) : FUnits(units) {}
    std::int64_t FUnits = 0;
};
