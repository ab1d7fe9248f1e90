#pragma once
// Routines the grids and edit controls share: the themed-or-classic switch, input helpers,
// variant comparison with arrays and Null, colour blending, gradients, dotted tree lines,
// image-list centring and where a drop-down opens.
#include "platform/core/Variant.h"
#include "platform/data/DataTypes.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Types.h"

#include <cstdint>
#include <span>

class TCanvas;
class TImageList;

// --- Themes and input ---------------------------------------------------------------------

// True when the theme services draw themed; every painter picks themed or classic by it.
bool ThemesActive();
// Shift, Alt and Ctrl as held now.
TShiftState CurrentShiftState();
bool IsNumericFieldType(TFieldType FieldType);
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

// Arrays are equal when their bounds and elements are; Unassigned equals only Unassigned,
// Null equals Null. Never raises.
bool VariantValuesEqual(const Variant& A, const Variant& B);
// Null sorts before every value; arrays of the same bounds compare by their first unequal
// elements; an array against a non-array, arrays of other bounds and empty arrays are
// vrNotEqual. Never raises: values of different kinds follow the variant order.
TVariantRelationship VariantRelation(const Variant& A, const Variant& B);

// --- Drawing ------------------------------------------------------------------------------

// Each RGB channel Percent % of the way from Color1 to Color2, rounded half to even.
TColor BlendColors(TColor Color1, TColor Color2, int Percent);
// Rows from Color1 at the top to Color2 at the bottom; a rectangle one row high or less
// draws nothing.
void DrawGradientRect(TCanvas* Canvas, const TRect& Rect, TColor Color1, TColor Color2);
// One line per pair of Points (offset by Origin), the pen running from Color2 for the first
// line to Color1 for the last.
void DrawShadedSegments(TCanvas* Canvas, TPoint Origin, std::span<const TPoint> Points, TColor Color1, TColor Color2);
// The colour as the image list takes it: RGB, with clNone as CLR_NONE and clDefault as CLR_DEFAULT.
TColor ColorForImageList(TColor Color);
// Image Index centred in Rect, clipped to it when larger; Selected blends it with the highlight.
void DrawImageListCentered(TCanvas* Canvas, const TRect& Rect, TImageList* Images, bool Selected, int Index);
// Dots one pixel long, two pen widths apart, from Start along Length pixels. Parity picks the
// checkerboard cells the dots fall on ((x + y) odd when true), so neighbouring lines line up.
void DrawDottedLine(TCanvas* Canvas, TPoint Start, int Length, bool Parity, bool Horizontal);

// One tree level's picture: an expand box (minus or plus) with connectors up, down and to the
// right, or connectors alone (cross and vertical line).
enum class TTreeElementEh {
    tehMinusUpDown, tehMinusUp, tehMinusDown, tehMinus,
    tehPlusUpDown, tehPlusUp, tehPlusDown, tehPlus,
    tehCrossUpDown, tehCrossUp, tehCrossDown, tehVLine
};
void DrawTreeElement(TCanvas* Canvas, const TRect& Rect, TTreeElementEh Style, bool ShiftLeft, double ScaleY,
                     double ScaleX, bool Parity);

// --- Drop-down placement ------------------------------------------------------------------

// Sent to a drop-down after placing it: WParam is the side its size grip moves to.
constexpr unsigned WM_SIZEGRIPSIDE = WM_USER + 100;
enum : WPARAM { sgsLeft = 0, sgsRight = 1, sgsTop = 2, sgsBottom = 3 };

enum class TDropDownAlign { daLeft, daRight, daCenter };

// Places DropDown under the owner's screen rectangle Rect, or above it when there is more room
// there, inside the work area of the monitor nearest to Rect; shortens or narrows it to fit,
// tells it its grip sides and returns its screen position.
TPoint PlaceDropDownAtRect(const TRect& Rect, TControl* DropDown, TDropDownAlign Alignment);
TPoint PlaceDropDownUnderEdit(const TControl* Edit, TControl* DropDown, TDropDownAlign Alignment);
