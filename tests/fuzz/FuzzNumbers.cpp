// Numbers, dates and currency: conversions from text (the raising, Try and Def forms agree, and
// what is read writes back to itself), formatting with any format text, currency arithmetic,
// and Variants of every kind converted and compared.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"

#include <cmath>
#include <limits>

namespace {

void Integers(TFuzzInput& Input)
{
    const String text = Input.Text();
    int value = 0;
    const bool valid = TryStrToInt(text, value);
    FUZZ_CHECK(StrToIntDef(text, 7) == (valid ? value : 7));
    try {
        FUZZ_CHECK(StrToInt(text) == value && valid);
    } catch (const EConvertError&) {
        FUZZ_CHECK(!valid);
    }
    std::int64_t value64 = 0;
    if (TryStrToInt64(text, value64))
        FUZZ_CHECK(StrToInt64(IntToStr(value64)) == value64);
    IntToHex(Input.Raw<std::int64_t>(), static_cast<int>(Input.IntInRange(-1, 20)));
}

void Floats(TFuzzInput& Input)
{
    const String text = Input.Text();
    long double value = 0;
    const bool valid = TryStrToFloat(text, value);
    try {
        const long double raised = StrToFloat(text);
        FUZZ_CHECK(valid && (raised == value || (std::isnan(raised) && std::isnan(value))));
    } catch (const EConvertError&) {
        FUZZ_CHECK(!valid);
    }
    FloatToStr(value);
    Currency money;
    if (TryStrToCurr(text, money))
        FUZZ_CHECK(StrToCurr(CurrToStr(money)) == money);
}

void Dates(TFuzzInput& Input)
{
    const String text = Input.Text();
    TDateTime value = 0;
    if (TryStrToDateTime(text, value))
        FUZZ_CHECK(StrToDateTime(text) == value);
    else
        FUZZ_CHECK(StrToDateTimeDef(text, 7) == 7);
    if (TryStrToDate(text, value))
        FUZZ_CHECK(StrToDate(text) == value);
    if (TryStrToTime(text, value))
        FUZZ_CHECK(StrToTime(text) == value);

    const Word year = static_cast<Word>(Input.IntInRange(0, 10000));
    const Word month = static_cast<Word>(Input.IntInRange(0, 13));
    const Word day = static_cast<Word>(Input.IntInRange(0, 32));
    TDateTime date = 0;
    if (TryEncodeDate(year, month, day, date)) {
        Word y = 0, m = 0, d = 0;
        DecodeDate(date, y, m, d);
        FUZZ_CHECK(y == year && m == month && d == day);
        FUZZ_CHECK(StrToDate(DateToStr(date)) == date);
    }
}

void Formats(TFuzzInput& Input)
{
    static constexpr TFloatFormat formats[] = {TFloatFormat::ffGeneral, TFloatFormat::ffExponent, TFloatFormat::ffFixed,
                                               TFloatFormat::ffNumber, TFloatFormat::ffCurrency};
    const String format = Input.Text();
    const double value = Input.Raw<double>();
    const Currency money = Currency::FromRaw(Input.Raw<std::int64_t>());
    const TFloatFormat kind = Input.PickOne(formats);
    const int precision = static_cast<int>(Input.IntInRange(-1, 30));
    const int digits = static_cast<int>(Input.IntInRange(-1, 30));
    FormatFloat(format, value);
    FormatCurr(format, money);
    FloatToStrF(value, kind, precision, digits);
    CurrToStrF(money, kind, digits);
    FUZZ_CHECK(StrToCurr(CurrToStr(money)) == money);
    // Dates from the first day to the last the platform knows, with any time of day.
    const TDateTime date = Input.Bool() ? value : static_cast<double>(Input.IntInRange(-693593, 2958465)) + (Input.Byte() / 256.0);
    try {
        FormatDateTime(format, date);
        DateTimeToStr(date);
    } catch (const EMathError&) {
        // A value that names no day.
    }
}

void Money(TFuzzInput& Input)
{
    const Currency a = Currency::FromRaw(Input.Raw<std::int64_t>());
    const Currency b = Currency::FromRaw(Input.Raw<std::int64_t>());
    try {
        const Currency sum = a + b;
        FUZZ_CHECK(sum - b == a);
    } catch (const EMathError&) {
    }
    try {
        a * b;
    } catch (const EMathError&) {
    }
    try {
        a / b;
    } catch (const EMathError&) {
    }
    try {
        Currency::FromDouble(Input.Raw<long double>());
    } catch (const EMathError&) {
    }
}

Variant MakeVariant(TFuzzInput& Input)
{
    switch (Input.Byte() % 12) {
    case 0: return Variant();
    case 1: return Variant::Null();
    case 2: return Variant(Input.Bool());
    case 3: return Variant(Input.Raw<std::int32_t>());
    case 4: return Variant(Input.Raw<std::int64_t>());
    case 5: return Variant(Input.Raw<double>());
    case 6: return Variant(Currency::FromRaw(Input.Raw<std::int64_t>()));
    case 7: return Variant::FromDateTime(Input.Raw<double>());
    case 8: return Variant(Input.Text());
    case 9: return Variant(Input.Bytes());
    case 10: return VarArrayOf({MakeVariant(Input), MakeVariant(Input)});
    default: {
        const int low = static_cast<int>(Input.IntInRange(-1000, 1000));
        return VarArrayCreate(low, low + static_cast<int>(Input.IntInRange(-1, 8)));
    }
    }
}

template <class T>
void Convert(T (Variant::*As)() const, const Variant& V)
{
    try {
        (V.*As)();
    } catch (const Exception&) {
        // EVariantError, EConvertError or EMathError: the value does not convert.
    }
}

void Variants(TFuzzInput& Input)
{
    const Variant a = MakeVariant(Input);
    const Variant b = MakeVariant(Input);
    for (const Variant* v : {&a, &b}) {
        Convert(&Variant::AsBoolean, *v);
        Convert(&Variant::AsInteger, *v);
        Convert(&Variant::AsInt64, *v);
        Convert(&Variant::AsDouble, *v);
        Convert(&Variant::AsCurrency, *v);
        Convert(&Variant::AsDateTime, *v);
        Convert(&Variant::AsString, *v);
        Convert(&Variant::AsBytes, *v);
        try {
            VarToStr(*v);
        } catch (const Exception&) {
            // An array has no text; a date that names no day raises EInvalidOp.
        }
        VarTypeAsText(VarType(*v));
    }
    // One total order: each value equals itself, and the order of two reverses when swapped.
    FUZZ_CHECK(a == a && (a <=> a) == 0);
    FUZZ_CHECK((a <=> b) == (0 <=> (b <=> a)));
    FUZZ_CHECK((a == b) == ((a <=> b) == 0));

    Variant array = VarArrayCreate(0, 3);
    if (VarIsArray(a) && !VarIsStr(a))
        array = a;
    if (VarType(array) == (varArray | varVariant)) {
        const int low = VarArrayLowBound(array, 1);
        const int high = VarArrayHighBound(array, 1);
        for (int i = low; i <= high; ++i)
            array[i] = b;
        try {
            array[high + 1];
            FUZZ_CHECK(false);
        } catch (const EVariantError&) {
        }
        const int newHigh = low + static_cast<int>(Input.IntInRange(-1, 8));
        VarArrayRedim(array, newHigh);
        FUZZ_CHECK(VarArrayHighBound(array, 1) == newHigh && VarArrayLowBound(array, 1) == low);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TFuzzInput input(Data, Size);
    for (int steps = 0; steps < 16 && !input.Empty(); ++steps) {
        switch (input.Byte() % 6) {
        case 0: Integers(input); break;
        case 1: Floats(input); break;
        case 2: Dates(input); break;
        case 3: Formats(input); break;
        case 4: Money(input); break;
        case 5: Variants(input); break;
        }
    }
    return 0;
}
