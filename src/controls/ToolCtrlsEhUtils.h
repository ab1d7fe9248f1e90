#pragma once
// The library's small shared routines: the themed-or-classic switch, input helpers, variant
// comparison and the library's string list.
#include "platform/core/StringList.h"
#include "platform/core/Variant.h"
#include "platform/data/DataTypes.h"
#include "platform/ui/Controls.h"

#include <cstdint>

// --- Themes and input ---------------------------------------------------------------------

// True when the theme services draw themed; every painter picks themed or classic by it.
bool ThemesActive();
// Shift, Alt and Ctrl as held now.
TShiftState CurrentShiftState();
// Elapsed ms since the previous click within the double-click time, and the points within the
// double-click distance on each axis.
bool IsWithinDoubleClick(TPoint PrevPoint, TPoint Point, std::uint32_t Elapsed);
// True when a left press is under way over Control that nobody handled: the press that closed
// a drop-down menu opened from Control, which must not act on Control a second time. Menus do
// not deliver their closing press again, so there is nothing to remove. The press must fall on
// Control as its parent's control at that point (disabled ones included, windowed ones not).
bool TakePendingMouseDown(TControl* Control);
// The same for any control, windowed or not, with the press inside its client area.
bool TakePendingMouseDownInClient(TControl* Control);

// --- Variants -----------------------------------------------------------------------------

enum class TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// The field types the library treats as numbers: small integer, integer, word, float, currency
// and the BCD types (not large integers or auto-increments).
bool IsNumericFieldType(TFieldType FieldType);
// A value holding a number: small integer, integer, large integer, single, double or currency.
bool IsNumberVariant(const Variant& Value);

// Arrays are equal when their bounds and elements are; Unassigned equals only Unassigned,
// Null equals Null. Never raises.
bool VariantValuesEqual(const Variant& A, const Variant& B);
// Null sorts before every value; arrays of the same bounds compare by their first unequal
// elements; an array against a non-array, arrays of other bounds and empty arrays are
// vrNotEqual. Never raises: values of different kinds follow the variant order.
TVariantRelationship VariantRelation(const Variant& A, const Variant& B);

// --- String list --------------------------------------------------------------------------

// The string list of the library's own units (the combo box's key items).
class TStringListEh : public TStringList {
public:
    using TStringList::TStringList;

protected:
    const char* ClassName() const override { return "TStringListEh"; }
};
