// Variant comparison for the grids' sorting and lookups: relations and equality of scalars and
// arrays, and the numeric field types.
#include "controls/ToolCtrlsEh.h"

namespace {

// Element I of a variant array or a byte string (whose elements are its bytes).
Variant ElementAt(const Variant& V, int I)
{
    if (VarType(V) == (varArray | varByte))
        return int(static_cast<std::uint8_t>(V.AsBytes()[I - VarArrayLowBound(V, 1)]));
    return V[I];
}

bool SameBounds(const Variant& A, const Variant& B)
{
    return VarArrayDimCount(A) == VarArrayDimCount(B) && VarArrayLowBound(A, 1) == VarArrayLowBound(B, 1) &&
           VarArrayHighBound(A, 1) == VarArrayHighBound(B, 1);
}

TVariantRelationship ScalarRelation(const Variant& A, const Variant& B)
{
    if (VarIsNull(A) || VarIsNull(B)) {
        if (VarIsNull(A) && VarIsNull(B))
            return TVariantRelationship::vrEqual;
        return VarIsNull(A) ? TVariantRelationship::vrLessThan : TVariantRelationship::vrGreaterThan;
    }
    const std::weak_ordering Order = A <=> B;
    if (Order < 0)
        return TVariantRelationship::vrLessThan;
    return Order > 0 ? TVariantRelationship::vrGreaterThan : TVariantRelationship::vrEqual;
}

}  // namespace

bool IsNumericFieldType(TFieldType FieldType)
{
    switch (FieldType) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftWord:
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
    case TFieldType::ftFMTBcd:
        return true;
    default:
        return false;
    }
}

bool IsNumberVariant(const Variant& Value)
{
    switch (VarType(Value)) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varInt64: return true;
    default: return false;
    }
}

bool VariantValuesEqual(const Variant& A, const Variant& B)
{
    try {
        if (VarIsArray(A) != VarIsArray(B))
            return false;
        if (!VarIsArray(A))
            return A == B;
        if (!SameBounds(A, B))
            return false;
        for (int I = VarArrayLowBound(A, 1); I <= VarArrayHighBound(A, 1); ++I)
            if (!VariantValuesEqual(ElementAt(A, I), ElementAt(B, I)))
                return false;
        return true;
    } catch (...) {
        return false;
    }
}

TVariantRelationship VariantRelation(const Variant& A, const Variant& B)
{
    if (VarIsArray(A) != VarIsArray(B))
        return TVariantRelationship::vrNotEqual;
    if (!VarIsArray(A))
        return ScalarRelation(A, B);
    const int Low = VarArrayLowBound(A, 1);
    const int High = VarArrayHighBound(A, 1);
    if (!SameBounds(A, B) || High < Low)
        return TVariantRelationship::vrNotEqual;
    for (int I = Low; I <= High; ++I)
        if (const TVariantRelationship Result = VariantRelation(ElementAt(A, I), ElementAt(B, I));
            Result != TVariantRelationship::vrEqual)
            return Result;
    return TVariantRelationship::vrEqual;
}
