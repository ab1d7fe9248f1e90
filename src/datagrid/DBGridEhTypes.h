#pragma once
// The data grid's vocabulary: the soft properties' assigned-values set, the enumerations and option
// sets of columns, titles, footers and the grid, and the plain column list.
#include "platform/core/List.h"
#include "platform/core/String.h"
#include "platform/ui/SmallSet.h"

#include <cstdint>

class TColumnEh;
class TColumnFooterEh;
class TColumnFootersEh;
class TColumnTitleEh;
class TCustomDBGridEh;
class TDBGridColumnsEh;
class TDataSource;
class TField;
class THeadTreeNode;
class TChangeLink;
class TImageList;
class TPopupMenu;

// --- Enumerations -------------------------------------------------------------------------------

// The soft properties of a column and of its title; bit N of the assigned-values set.
enum class TColumnEhAssignedValue : std::uint8_t {
    cavColor, cavWidth, cavFont, cavAlignment, cavReadOnly,
    cavTitleColor, cavTitleCaption, cavTitleAlignment, cavTitleFont, cavTitleButton,
    cavTitleEndEllipsis, cavTitleToolTips, cavTitleOrientation,
    cavImeMode, cavImeName, cavWordWrap, cavLookupDisplayFields, cavCheckboxes,
    cavAlwaysShowEditButton, cavEndEllipsis, cavAutoDropDown, cavDblClickNextVal, cavToolTips,
    cavDropDownSizing, cavDropDownShowTitles, cavLayout, cavHighlightRequired, cavBiDiMode,
    cavTextEditing
};

class TColumnEhAssignedValues {
public:
    bool Contains(TColumnEhAssignedValue Value) const { return (FBits & Bit(Value)) != 0; }
    void Include(TColumnEhAssignedValue Value) { FBits |= Bit(Value); }
    void Exclude(TColumnEhAssignedValue Value) { FBits &= ~Bit(Value); }
    bool Empty() const { return FBits == 0; }
    void Clear() { FBits = 0; }
    std::uint32_t Bits() const { return FBits; }

private:
    static std::uint32_t Bit(TColumnEhAssignedValue Value) { return 1u << static_cast<unsigned>(Value); }
    std::uint32_t FBits = 0;
};

enum class TColumnButtonStyleEh { cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown, cbsAltUpDown, cbsAltDropDown };
// The button a cell shows and its editor opens.
enum class TCellButtonKindEh : std::uint8_t {
    cbkNone, cbkEllipsis, cbkPickList, cbkLookupList, cbkCalendar, cbkUpDown, cbkDropDown, cbkAltUpDown,
    cbkAltDropDown, cbkAltCalendar
};
enum class TColumnCellKindEh : std::uint8_t {
    cckText, cckPickList, cckLookupField, cckKeyPickList, cckImageList, cckCheckbox, cckGraphic
};
// Cells of these kinds show a box or an image that a click or Space steps, not a text to edit.
inline bool IsCheckOrImageKind(TColumnCellKindEh Kind)
{
    return Kind == TColumnCellKindEh::cckCheckbox || Kind == TColumnCellKindEh::cckImageList;
}
enum class TSortMarkerEh { smNoneEh, smDownEh, smUpEh };
enum class TTextOrientationEh { tohHorizontal, tohVertical };
enum class TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };
enum class TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese, imSHanguel, imHanguel };
using TImeName = String;
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

using TDBGridOptions = TSmallSet<struct TDBGridOptionsTag>;
constexpr TDBGridOptions dgEditing{1u << 0};
constexpr TDBGridOptions dgAlwaysShowEditor{1u << 1};
constexpr TDBGridOptions dgTitles{1u << 2};
constexpr TDBGridOptions dgIndicator{1u << 3};
constexpr TDBGridOptions dgColumnResize{1u << 4};
constexpr TDBGridOptions dgColLines{1u << 5};
constexpr TDBGridOptions dgRowLines{1u << 6};
constexpr TDBGridOptions dgTabs{1u << 7};
constexpr TDBGridOptions dgRowSelect{1u << 8};
constexpr TDBGridOptions dgAlwaysShowSelection{1u << 9};
constexpr TDBGridOptions dgConfirmDelete{1u << 10};
constexpr TDBGridOptions dgCancelOnExit{1u << 11};
constexpr TDBGridOptions dgMultiSelect{1u << 12};

using TDBGridEhOptions = TSmallSet<struct TDBGridEhOptionsTag>;
constexpr TDBGridEhOptions dghFixed3D{1u << 0};
constexpr TDBGridEhOptions dghFrozen3D{1u << 1};
constexpr TDBGridEhOptions dghFooter3D{1u << 2};
constexpr TDBGridEhOptions dghData3D{1u << 3};
constexpr TDBGridEhOptions dghResizeWholeRightPart{1u << 4};
constexpr TDBGridEhOptions dghHighlightFocus{1u << 5};
constexpr TDBGridEhOptions dghClearSelection{1u << 6};
constexpr TDBGridEhOptions dghFitRowHeightToText{1u << 7};
constexpr TDBGridEhOptions dghAutoSortMarking{1u << 8};
constexpr TDBGridEhOptions dghMultiSortMarking{1u << 9};
constexpr TDBGridEhOptions dghEnterAsTab{1u << 10};
constexpr TDBGridEhOptions dghTraceColSizing{1u << 11};
constexpr TDBGridEhOptions dghIncSearch{1u << 12};
constexpr TDBGridEhOptions dghPreferIncSearch{1u << 13};
constexpr TDBGridEhOptions dghRowHighlight{1u << 14};
constexpr TDBGridEhOptions dghDblClickOptimizeColWidth{1u << 15};
constexpr TDBGridEhOptions dghDialogFind{1u << 16};
constexpr TDBGridEhOptions dghRecordMoving{1u << 17};
constexpr TDBGridEhOptions dghShowRecNo{1u << 18};
constexpr TDBGridEhOptions dghColumnResize{1u << 19};
constexpr TDBGridEhOptions dghColumnMove{1u << 20};
constexpr TDBGridEhOptions dghAutoFitRowHeight{1u << 21};
constexpr TDBGridEhOptions dghHotTrack{1u << 22};
constexpr TDBGridEhOptions dghExtendVertLines{1u << 23};

// What the user may do to the records through the grid.
using TDBGridEhAllowedOperations = TSmallSet<struct TDBGridEhAllowedOperationsTag>;
constexpr TDBGridEhAllowedOperations alopInsertEh{1u << 0};
constexpr TDBGridEhAllowedOperations alopUpdateEh{1u << 1};
constexpr TDBGridEhAllowedOperations alopDeleteEh{1u << 2};
constexpr TDBGridEhAllowedOperations alopAppendEh{1u << 3};

// The kinds of selection the user may make.
using TDBGridEhAllowedSelections = TSmallSet<struct TDBGridEhAllowedSelectionsTag>;
constexpr TDBGridEhAllowedSelections gstRecordBookmarks{1u << 0};
constexpr TDBGridEhAllowedSelections gstRectangle{1u << 1};
constexpr TDBGridEhAllowedSelections gstColumns{1u << 2};
constexpr TDBGridEhAllowedSelections gstAll{1u << 3};

// --- Lists --------------------------------------------------------------------------------------

// A plain list of columns that does not own them.
class TColumnsEhList : public TListOf<TColumnEh> {
public:
    TColumnEh* ColumnAt(int Index) const { return Items(Index); }
};
