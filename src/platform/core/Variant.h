#pragma once
// The platform's Variant: a value of one of the kinds the data layer and the edit controls pass
// around (Unassigned, Null, Boolean, Integer, Int64, Double, Currency, Date, String, byte string,
// one-dimensional arrays of variants). Copies are deep, as variant arrays are on the platform.
//
// Equality and ordering never raise, unlike the platform's variant operators: values follow one
// total order, which sorted lists and key lookups rely on.
//   Unassigned < Null < numbers < strings < byte strings < arrays.
//   Numbers (Boolean, Integer, Int64, Double, Currency, Date) compare by value across kinds;
//   a Boolean counts as the platform counts it, True = -1 and False = 0.
//   Strings compare with the Chinese collation, case-sensitive, and never as numbers: a string
//   that reads as a number still sorts after every number, which keeps the order transitive.
//   Byte strings compare bytewise; arrays element by element, then the shorter first.
//   Null equals Null.
#include "platform/core/Currency.h"
#include "platform/core/DateTime.h"
#include "platform/core/String.h"

#include <QByteArray>

#include <compare>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <variant>
#include <vector>

// The platform's variant type codes, as VarType answers them.
using TVarType = std::uint16_t;
constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varSmallint = 0x0002;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varSingle = 0x0004;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varCurrency = 0x0006;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;
constexpr TVarType varByte = 0x0011;
constexpr TVarType varWord = 0x0012;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varString = 0x0100;
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;

class Variant;

// A one-dimensional variant array: elements LowBound .. LowBound + Items.size() - 1.
struct TVarArray {
    int LowBound = 0;
    std::vector<Variant> Items;
};

class Variant {
public:
    Variant() = default;  // Unassigned
    Variant(bool Value) : FValue(Value) {}
    Variant(int Value) : FValue(std::int32_t(Value)) {}
    Variant(std::int64_t Value) : FValue(Value) {}
    Variant(double Value) : FValue(Value) {}
    Variant(Currency Value) : FValue(Value) {}
    Variant(const String& Value) : FValue(Value) {}
    Variant(String&& Value) : FValue(std::move(Value)) {}
    Variant(const char* Utf8) : FValue(String::fromUtf8(Utf8)) {}
    Variant(const QByteArray& Bytes) : FValue(Bytes) {}
    Variant(TVarArray Array) : FValue(std::move(Array)) {}

    static Variant Unassigned() { return Variant(); }
    static Variant Null();
    // A TDateTime is a double, so a date needs a name of its own to keep its kind.
    static Variant FromDateTime(TDateTime Value);

    // varArray | varVariant for arrays; a byte string reports varArray | varByte, as blob
    // values do on the platform.
    TVarType VarType() const;

    // Conversions raise EVariantError "Could not convert variant of type (X) into type (Y)"
    // when the kinds do not convert. Unassigned converts to zero, False and empty text; Null to
    // nothing. Text converts through StrToInt, StrToFloat and StrToDateTime.
    bool AsBoolean() const;
    int AsInteger() const;
    std::int64_t AsInt64() const;
    double AsDouble() const;
    Currency AsCurrency() const;
    TDateTime AsDateTime() const;
    String AsString() const;
    // The text a String holds, without a copy; nullptr for any other kind.
    const String* StringValue() const { return std::get_if<String>(&FValue); }
    QByteArray AsBytes() const;

    // Elements of a variant array by the array's own indexes; raise EVariantError outside the
    // bounds or on a value that is not a variant array.
    const Variant& operator[](int Index) const;
    Variant& operator[](int Index);

    friend bool operator==(const Variant& A, const Variant& B);
    friend std::weak_ordering operator<=>(const Variant& A, const Variant& B);

private:
    struct TEmpty {};
    struct TNull {};
    struct TDate {
        TDateTime Value;
    };
    using TValue = std::variant<TEmpty, TNull, bool, std::int32_t, std::int64_t, double, Currency,
                                TDate, String, QByteArray, TVarArray>;

    explicit Variant(TValue Value) : FValue(std::move(Value)) {}
    [[noreturn]] void RaiseCastError(TVarType Target) const;
    long double Number(TVarType Target) const;
    std::int64_t Integer(TVarType Target, std::int64_t Min, std::int64_t Max) const;
    const TVarArray& Array() const;
    TVarArray& Array();
    friend int VarArrayLowBound(const Variant& V, int Dim);
    friend int VarArrayHighBound(const Variant& V, int Dim);
    friend void VarArrayRedim(Variant& A, int HighBound);

    TValue FValue;
};

TVarType VarType(const Variant& V);
// The platform's name of a type code: "Integer", "Null", "String", "Array Variant" ...
String VarTypeAsText(TVarType Type);
bool VarIsEmpty(const Variant& V);
bool VarIsNull(const Variant& V);
bool VarIsClear(const Variant& V);  // Unassigned
bool VarIsArray(const Variant& V);  // variant arrays and byte strings
bool VarIsStr(const Variant& V);
bool VarIsNumeric(const Variant& V);  // Boolean, integers, Double, Currency
// Null and Unassigned give "" (or Default); other values their AsString.
String VarToStr(const Variant& V);
String VarToStrDef(const Variant& V, const String& Default);

// Arrays of Unassigned elements LowBound..HighBound, or of the given values from 0.
Variant VarArrayCreate(int LowBound, int HighBound);
Variant VarArrayOf(std::initializer_list<Variant> Values);
// Only dimension 1 exists; the bounds of a byte string are 0 .. size - 1.
int VarArrayDimCount(const Variant& V);
int VarArrayLowBound(const Variant& V, int Dim);
int VarArrayHighBound(const Variant& V, int Dim);
// Moves the high bound, keeping the elements that remain; new ones are Unassigned (zero bytes).
void VarArrayRedim(Variant& A, int HighBound);
