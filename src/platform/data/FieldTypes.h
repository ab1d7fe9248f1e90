#pragma once
// Groups of field types that several layers treat alike.
#include "platform/data/DataTypes.h"

// The types whose values are whole numbers, of any width.
constexpr bool IsIntegerFieldType(TFieldType Type)
{
    switch (Type) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftWord:
    case TFieldType::ftAutoInc:
    case TFieldType::ftLargeint:
        return true;
    default:
        return false;
    }
}
