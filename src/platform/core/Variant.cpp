// Variant conversions between kinds, their cast errors, the order of variants and variant arrays.
#include "platform/core/Variant.h"

#include "platform/core/Collation.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Rounding.h"
#include "platform/core/SysUtils.h"

#include <cmath>
#include <limits>

namespace {

template <class... Ts>
struct TOverloaded : Ts... {
    using Ts::operator()...;
};
// Compilers without aggregate deduction (clang before 17) need the guide.
template <class... Ts>
TOverloaded(Ts...) -> TOverloaded<Ts...>;

[[noreturn]] void RaiseNotArray() { throw EVariantError(QStringLiteral("变体不是数组")); }
[[noreturn]] void RaiseBounds() { throw EVariantError(QStringLiteral("变体或安全数组索引越界")); }

// NaN sorts after every number and equals itself, so the order stays total.
int CompareFloats(long double A, long double B)
{
    if (std::isnan(A) || std::isnan(B))
        return int(std::isnan(A)) - int(std::isnan(B));
    return A < B ? -1 : A > B ? 1 : 0;
}

template <class T>
int Sign(T Difference)
{
    return Difference < 0 ? -1 : Difference > 0 ? 1 : 0;
}

std::weak_ordering ToOrdering(int Order)
{
    return Order < 0 ? std::weak_ordering::less : Order > 0 ? std::weak_ordering::greater : std::weak_ordering::equivalent;
}

}  // namespace

Variant Variant::Null() { return Variant(TValue(TNull{})); }

Variant Variant::FromDateTime(TDateTime Value) { return Variant(TValue(TDate{Value})); }

TVarType Variant::VarType() const
{
    // In the order of TValue's alternatives.
    static constexpr TVarType codes[] = {varEmpty,    varNull, varBoolean, varInteger,        varInt64,          varDouble,
                                         varCurrency, varDate, varString,  varArray | varByte, varArray | varVariant};
    return codes[FValue.index()];
}

void Variant::RaiseCastError(TVarType Target) const
{
    throw EVariantError(QStringLiteral("无法将类型为 (%1) 的变体转换为类型 (%2)")
                            .arg(VarTypeAsText(VarType()), VarTypeAsText(Target)));
}

// The value as a number for a conversion to Target; text reads as an integer, else as a float.
long double Variant::Number(TVarType Target) const
{
    return std::visit(
        TOverloaded{
            [](TEmpty) -> long double { return 0; },
            [](bool value) -> long double { return value ? -1 : 0; },
            [](std::int32_t value) -> long double { return value; },
            [](std::int64_t value) -> long double { return value; },
            [](double value) -> long double { return value; },
            [](Currency value) { return value.ToLongDouble(); },
            [](TDate value) -> long double { return value.Value; },
            [&](const String& value) -> long double {
                std::int64_t integer;
                long double number;
                if (TryStrToInt64(value, integer))
                    return integer;
                if (!TryStrToFloat(value, number))
                    RaiseCastError(Target);
                return number;
            },
            [&](const auto&) -> long double { RaiseCastError(Target); },
        },
        FValue);
}

std::int64_t Variant::Integer(TVarType Target, std::int64_t Min, std::int64_t Max) const
{
    // Whole numbers in range need no rounding.
    if (const auto* value = std::get_if<std::int32_t>(&FValue); value != nullptr && *value >= Min && *value <= Max)
        return *value;
    if (const auto* value = std::get_if<std::int64_t>(&FValue); value != nullptr && *value >= Min && *value <= Max)
        return *value;
    const long double number = std::nearbyint(Number(Target));
    if (!(number >= Min && number <= Max))
        RaiseCastError(Target);
    return Round(number);
}

bool Variant::AsBoolean() const
{
    if (const auto* text = std::get_if<String>(&FValue)) {
        if (text->compare(u"True", Qt::CaseInsensitive) == 0)
            return true;
        if (text->compare(u"False", Qt::CaseInsensitive) == 0)
            return false;
    }
    return Number(varBoolean) != 0;
}

int Variant::AsInteger() const
{
    return static_cast<int>(Integer(varInteger, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::int64_t Variant::AsInt64() const
{
    return Integer(varInt64, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max());
}

double Variant::AsDouble() const { return static_cast<double>(Number(varDouble)); }

Currency Variant::AsCurrency() const
{
    if (const auto* value = std::get_if<Currency>(&FValue))
        return *value;
    Currency result;
    if (!Currency::TryFromDouble(Number(varCurrency), result))
        RaiseCastError(varCurrency);
    return result;
}

TDateTime Variant::AsDateTime() const
{
    if (const auto* text = std::get_if<String>(&FValue)) {
        TDateTime result;
        if (!TryStrToDateTime(*text, result))
            RaiseCastError(varDate);
        return result;
    }
    return static_cast<TDateTime>(Number(varDate));
}

String Variant::AsString() const
{
    return std::visit(TOverloaded{
                          [](TEmpty) { return String(); },
                          [](bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); },
                          [](std::int32_t value) { return IntToStr(value); },
                          [](std::int64_t value) { return IntToStr(value); },
                          [](double value) { return FloatToStr(value); },
                          [](Currency value) { return CurrToStr(value); },
                          [](TDate value) { return DateTimeToStr(value.Value); },
                          [](const String& value) { return value; },
                          [this](const auto&) -> String { RaiseCastError(varString); },
                      },
                      FValue);
}

QByteArray Variant::AsBytes() const
{
    if (std::holds_alternative<TEmpty>(FValue))
        return QByteArray();
    if (const auto* bytes = std::get_if<QByteArray>(&FValue))
        return *bytes;
    RaiseCastError(varArray | varByte);
}

const TVarArray& Variant::Array() const
{
    if (const auto* array = std::get_if<TVarArray>(&FValue))
        return *array;
    RaiseNotArray();
}

TVarArray& Variant::Array() { return const_cast<TVarArray&>(std::as_const(*this).Array()); }

const Variant& Variant::operator[](int Index) const
{
    const TVarArray& array = Array();
    const std::int64_t offset = std::int64_t(Index) - array.LowBound;
    if (offset < 0 || offset >= static_cast<std::int64_t>(array.Items.size()))
        RaiseBounds();
    return array.Items[static_cast<std::size_t>(offset)];
}

Variant& Variant::operator[](int Index) { return const_cast<Variant&>(std::as_const(*this)[Index]); }

bool operator==(const Variant& A, const Variant& B) { return (A <=> B) == 0; }

std::weak_ordering operator<=>(const Variant& A, const Variant& B)
{
    using TEmpty = Variant::TEmpty;
    using TNull = Variant::TNull;
    // Each kind family has its own rank, so the order stays transitive when kinds mix: text
    // never compares as a number, or "10" < "9" == 9 < 10 == "10" would make sorting undefined.
    auto rank = [](const Variant::TValue& value) {
        return std::visit(TOverloaded{
                              [](TEmpty) { return 0; },
                              [](TNull) { return 1; },
                              [](const String&) { return 3; },
                              [](const QByteArray&) { return 4; },
                              [](const TVarArray&) { return 5; },
                              [](const auto&) { return 2; },
                          },
                          value);
    };
    const int rankA = rank(A.FValue);
    const int rankB = rank(B.FValue);
    if (rankA != rankB || rankA < 2)
        return rankA <=> rankB;

    if (const auto* textA = std::get_if<String>(&A.FValue))
        return ToOrdering(CollateCompare(*textA, std::get<String>(B.FValue), TCaseSensitivity::Sensitive));
    if (const auto* bytesA = std::get_if<QByteArray>(&A.FValue)) {
        const QByteArray& bytesB = std::get<QByteArray>(B.FValue);
        return ToOrdering(*bytesA < bytesB ? -1 : *bytesA == bytesB ? 0 : 1);
    }
    if (const auto* arrayA = std::get_if<TVarArray>(&A.FValue)) {
        const TVarArray& arrayB = std::get<TVarArray>(B.FValue);
        return std::lexicographical_compare_three_way(arrayA->Items.begin(), arrayA->Items.end(),
                                                      arrayB.Items.begin(), arrayB.Items.end());
    }
    if (const auto* currencyA = std::get_if<Currency>(&A.FValue))
        if (const auto* currencyB = std::get_if<Currency>(&B.FValue))
            return *currencyA <=> *currencyB;
    // Currency meets floating point as the platform compares them: as a double.
    auto number = [](const Variant& V) {
        if (const auto* currency = std::get_if<Currency>(&V.FValue))
            return static_cast<long double>(currency->ToDouble());
        return V.Number(varDouble);
    };
    return ToOrdering(CompareFloats(number(A), number(B)));
}

TVarType VarType(const Variant& V) { return V.VarType(); }

String VarTypeAsText(TVarType Type)
{
    String name;
    switch (Type & varTypeMask) {
    case varEmpty: name = QStringLiteral("Empty"); break;
    case varNull: name = QStringLiteral("Null"); break;
    case varSmallint: name = QStringLiteral("Smallint"); break;
    case varInteger: name = QStringLiteral("Integer"); break;
    case varSingle: name = QStringLiteral("Single"); break;
    case varDouble: name = QStringLiteral("Double"); break;
    case varCurrency: name = QStringLiteral("Currency"); break;
    case varDate: name = QStringLiteral("Date"); break;
    case varBoolean: name = QStringLiteral("Boolean"); break;
    case varVariant: name = QStringLiteral("Variant"); break;
    case varByte: name = QStringLiteral("Byte"); break;
    case varWord: name = QStringLiteral("Word"); break;
    case varInt64: name = QStringLiteral("Int64"); break;
    case varString: name = QStringLiteral("String"); break;
    default: name = QStringLiteral("Unknown");
    }
    return Type & varArray ? QStringLiteral("Array ") + name : name;
}

bool VarIsEmpty(const Variant& V) { return V.VarType() == varEmpty; }
bool VarIsNull(const Variant& V) { return V.VarType() == varNull; }
bool VarIsClear(const Variant& V) { return VarIsEmpty(V); }
bool VarIsArray(const Variant& V) { return (V.VarType() & varArray) != 0; }
bool VarIsStr(const Variant& V) { return V.VarType() == varString; }

bool VarIsNumeric(const Variant& V)
{
    const TVarType type = V.VarType();
    return type == varBoolean || type == varInteger || type == varInt64 || type == varDouble || type == varCurrency;
}

String VarToStr(const Variant& V) { return VarToStrDef(V, String()); }

String VarToStrDef(const Variant& V, const String& Default)
{
    return VarIsNull(V) || VarIsEmpty(V) ? Default : V.AsString();
}

Variant VarArrayCreate(int LowBound, int HighBound)
{
    // Counted in 64 bits: LowBound - 1 overflows at the bottom of the range.
    const std::int64_t count = std::int64_t(HighBound) - LowBound + 1;
    if (count < 0)
        throw EVariantError(QStringLiteral("创建变体或安全数组出错"));
    return TVarArray{LowBound, std::vector<Variant>(static_cast<std::size_t>(count))};
}

Variant VarArrayOf(std::initializer_list<Variant> Values) { return TVarArray{0, std::vector<Variant>(Values)}; }

int VarArrayDimCount(const Variant& V) { return VarIsArray(V) ? 1 : 0; }

int VarArrayLowBound(const Variant& V, int Dim)
{
    if (!VarIsArray(V))
        RaiseNotArray();
    if (Dim != 1)
        RaiseBounds();
    const auto* array = std::get_if<TVarArray>(&V.FValue);
    return array ? array->LowBound : 0;
}

int VarArrayHighBound(const Variant& V, int Dim)
{
    const int low = VarArrayLowBound(V, Dim);
    const auto* array = std::get_if<TVarArray>(&V.FValue);
    const std::size_t size = array ? array->Items.size() : std::get<QByteArray>(V.FValue).size();
    return static_cast<int>(low + static_cast<std::int64_t>(size) - 1);
}

void VarArrayRedim(Variant& A, int HighBound)
{
    const std::int64_t size = std::int64_t(HighBound) - VarArrayLowBound(A, 1) + 1;
    if (size < 0)
        RaiseBounds();
    if (auto* bytes = std::get_if<QByteArray>(&A.FValue))
        bytes->resize(size, '\0');
    else
        A.Array().Items.resize(static_cast<std::size_t>(size));
}
