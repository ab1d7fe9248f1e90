#pragma once
// The data grid's column model: columns bound to dataset fields by name, their titles (with sort
// markers and the multi-level title tree built from "A|B" captions), their footers kept in step
// with the grid's sum list, the grid-wide column defaults, and the part of the data grid that
// columns stand on.
//
// Most column properties are soft: until the column holds a value of its own, the property reads
// a default from the field, the grid or the grid's ColumnDefValues; only own values are stored.
// Which properties hold own values is the column's assigned-values set.
#include "controls/GridsEh.h"
#include "controls/PropFilerEh.h"
#include "controls/ToolCtrlsEh.h"
#include "datagrid/DBGridEhCellParams.h"
#include "datagrid/DBGridEhScrollBars.h"
#include "datagrid/DBGridEhSearch.h"
#include "datagrid/DBGridEhUnit.h"
#include "datagrid/DBSumLst.h"
#include "datagrid/DbUtilsEh.h"
#include "datagrid/MemTableEh.h"
#include "editors/DBCtrlsEh.h"
#include "platform/core/Alignment.h"
#include "platform/core/Collection.h"
#include "platform/core/List.h"
#include "platform/core/StringList.h"
#include "platform/data/DataLink.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Label.h"
#include "platform/ui/Messages.h"
#include "platform/ui/SmallSet.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

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

// --- Grid-wide defaults -------------------------------------------------------------------------

class TColumnTitleDefValuesEh : public TPersistent {
public:
    explicit TColumnTitleDefValuesEh(TCustomDBGridEh* Grid) : FGrid(Grid) {}
    void Assign(TPersistent* Source) override;

    // taCenter while the grid shows multi-level titles, else taLeftJustify, until assigned.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    // The grid's FixedColor until assigned.
    TColor Color() const;
    void SetColor(TColor Value);
    bool IsAlignmentStored() const { return FAlignmentAssigned; }
    bool IsColorStored() const { return FColorAssigned; }
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool Value);
    TTextOrientationEh Orientation() const { return FOrientation; }
    void SetOrientation(TTextOrientationEh Value);
    bool TitleButton() const { return FTitleButton; }
    void SetTitleButton(bool Value) { FTitleButton = Value; }
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool Value) { FToolTips = Value; }

protected:
    const char* ClassName() const override { return "TColumnTitleDefValuesEh"; }

private:
    TCustomDBGridEh* FGrid;
    bool FAlignmentAssigned = false;
    bool FColorAssigned = false;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TColor FColor = clBtnFace;
    bool FEndEllipsis = false;
    TTextOrientationEh FOrientation = TTextOrientationEh::tohHorizontal;
    bool FTitleButton = false;
    bool FToolTips = false;
};

class TColumnFooterDefValuesEh : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool Value) { FToolTips = Value; }

protected:
    const char* ClassName() const override { return "TColumnFooterDefValuesEh"; }

private:
    bool FToolTips = false;
};

// The grid's ColumnDefValues: what a column's soft properties read until assigned.
class TColumnDefValuesEh : public TPersistent {
public:
    explicit TColumnDefValuesEh(TCustomDBGridEh* Grid);
    // Title, AlwaysShowEditButton, EndEllipsis, AutoDropDown, DblClickNextVal, ToolTips,
    // DropDownSizing and DropDownShowTitles; not Layout, HighlightRequired or Footer.
    void Assign(TPersistent* Source) override;

    TColumnTitleDefValuesEh* Title() const { return FTitle.get(); }
    TColumnFooterDefValuesEh* Footer() const { return FFooter.get(); }
    bool AlwaysShowEditButton() const { return FAlwaysShowEditButton; }
    void SetAlwaysShowEditButton(bool Value);
    bool AutoDropDown() const { return FAutoDropDown; }
    void SetAutoDropDown(bool Value) { FAutoDropDown = Value; }
    bool DblClickNextVal() const { return FDblClickNextVal; }
    void SetDblClickNextVal(bool Value) { FDblClickNextVal = Value; }
    bool DropDownShowTitles() const { return FDropDownShowTitles; }
    void SetDropDownShowTitles(bool Value) { FDropDownShowTitles = Value; }
    bool DropDownSizing() const { return FDropDownSizing; }
    void SetDropDownSizing(bool Value) { FDropDownSizing = Value; }
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool Value);
    bool HighlightRequired() const { return FHighlightRequired; }
    void SetHighlightRequired(bool Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool Value) { FToolTips = Value; }

protected:
    const char* ClassName() const override { return "TColumnDefValuesEh"; }
    void Repaint() const;

private:
    TCustomDBGridEh* FGrid;
    std::unique_ptr<TColumnTitleDefValuesEh> FTitle;
    std::unique_ptr<TColumnFooterDefValuesEh> FFooter;
    bool FAlwaysShowEditButton = false;
    bool FAutoDropDown = false;
    bool FDblClickNextVal = false;
    bool FDropDownShowTitles = false;
    bool FDropDownSizing = false;
    bool FEndEllipsis = false;
    bool FHighlightRequired = false;
    TTextLayout FLayout = TTextLayout::tlTop;
    bool FToolTips = false;
};

class TDBGridEhColumnDefValuesEh : public TColumnDefValuesEh {
public:
    using TColumnDefValuesEh::TColumnDefValuesEh;

protected:
    const char* ClassName() const override { return "TDBGridEhColumnDefValuesEh"; }
};

// --- Titles -------------------------------------------------------------------------------------

// A column's header cell. Its soft properties keep their bits in the column's set.
class TColumnTitleEh : public TPersistent {
public:
    explicit TColumnTitleEh(TColumnEh* Column);
    ~TColumnTitleEh() override;
    // Alignment, Color, Caption and Font when the source has them assigned; the rest always,
    // through the writers, so they become assigned here.
    void Assign(TPersistent* Source) override;

    TColumnEh* Column() const { return FColumn; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    // The field's DisplayName, else the column's FieldName, until assigned.
    String Caption() const;
    virtual void SetCaption(const String& Value);
    String DefaultCaption() const;
    TColor Color() const;
    void SetColor(TColor Value);
    bool EndEllipsis() const;
    void SetEndEllipsis(bool Value);
    TFont* Font() const;
    void SetFont(TFont* Value);
    // The grid's TitleFont, else the column's Font.
    TFont* DefaultFont() const;
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TTextOrientationEh Orientation() const;
    void SetOrientation(TTextOrientationEh Value);
    bool TitleButton() const;
    void SetTitleButton(bool Value);
    bool ToolTips() const;
    void SetToolTips(bool Value);
    // Written to a description only when assigned and different from the default (Font: assigned).
    bool IsStored(TColumnEhAssignedValue Value) const;

    // Sorting: a marker and, with several sorted columns, the 1-based place among them.
    TSortMarkerEh SortMarker() const { return FSortMarker; }
    void SetSortMarker(TSortMarkerEh Value);
    int SortIndex() const { return FSortIndex; }
    // On a marked title, a value used by another title swaps the two; an unused one changes nothing.
    void SetSortIndex(int Value);
    // The title-click step: none -> down -> up -> none (KeepOthers) or -> down; without
    // KeepOthers every other marker is cleared first.
    void StepSortMarker(bool KeepOthers);
    // The width the marker takes at the title's right edge; 0 when the column is too narrow.
    int SortMarkerAreaWidth() const;

    virtual void ResetToDefaults();
    void RefreshDefaultFont() const;

protected:
    const char* ClassName() const override { return "TColumnTitleEh"; }

private:
    friend class TDBGridColumnsEh;

    bool Assigned(TColumnEhAssignedValue Value) const;
    void MarkAssigned(TColumnEhAssignedValue Value);
    void FontChanged();
    TColumnsEhList* SortedColumns() const;
    bool MultiSort() const;
    bool CollectionUpdating() const;

    TColumnEh* FColumn;
    String FCaption;
    TColor FColor = clBtnFace;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    std::unique_ptr<TFont> FFont;
    String FHint;
    int FImageIndex = -1;
    TTextOrientationEh FOrientation = TTextOrientationEh::tohHorizontal;
    int FSortIndex = 0;
    TSortMarkerEh FSortMarker = TSortMarkerEh::smNoneEh;
    bool FTitleButton = false;
    bool FToolTips = false;
    bool FEndEllipsis = false;
    mutable bool FRefreshingFont = false;
};

// One cell of the multi-level title. Siblings form a circular ring; the root owns the tree.
class THeadTreeNode {
public:
    THeadTreeNode();
    THeadTreeNode(const String& Caption, int Width, int Height);
    // A root frees every descendant.
    ~THeadTreeNode();
    THeadTreeNode(const THeadTreeNode&) = delete;
    THeadTreeNode& operator=(const THeadTreeNode&) = delete;

    String Caption;
    int Width = 0;
    int Height = 0;
    int SortMarkIndent = 0;
    int LineWidth = 0;
    TColumnEh* Column = nullptr;
    THeadTreeNode* ParentNode = nullptr;
    THeadTreeNode* FirstChild = nullptr;
    THeadTreeNode* NextSibling = this;

    void FreeChildren();
    // Node is this node, one of its ring siblings, or in the subtree of any of them.
    bool ContainsNode(const THeadTreeNode* Node) const;
    // Raise "Node not in Tree" when After or Node is not in this tree.
    THeadTreeNode* AddAfter(THeadTreeNode* After, const String& Caption, int Width, int Height);
    THeadTreeNode* AppendChild(THeadTreeNode* Node, const String& Caption, int Width, int Height);
    // Parent links up to the root: the root's children are level 1.
    int Level() const;
    // Puts the sibling run From..To under a new node of Caption and Height; "ATo not in level"
    // when To does not follow From in its ring.
    THeadTreeNode* MergeUnder(THeadTreeNode* From, THeadTreeNode* To, int Height, const String& Caption);
    // The root's children from Grid's columns, merged by their "|"-separated captions. Leaves[i]
    // becomes column i's leaf.
    void BuildFromColumns(TCustomDBGridEh* Grid, std::vector<THeadTreeNode*>& Leaves);
    // The children in ring order.
    std::vector<THeadTreeNode*> Children() const;
};

// The tokens of a caption: runs of characters other than the separators, 1-based.
int NthTokenStart(int N, const String& Text, const String& Separators);
String NthToken(int N, const String& Text, const String& Separators);
String NthTokenWithPos(int N, const String& Text, const String& Separators, int& Pos);

// --- Footers ------------------------------------------------------------------------------------

class TColumnFooterEh : public TCollectionItem {
public:
    // As an item of a column's Footers.
    explicit TColumnFooterEh(TCollection* Collection);
    // As the column's single Footer.
    explicit TColumnFooterEh(TColumnEh* Column);
    ~TColumnFooterEh() override;
    // Alignment, Color and Font when the source has them assigned; then the rest.
    void Assign(TPersistent* Source) override;

    TColumnEh* Column() const { return FColumn; }
    // The field's Alignment, taLeftJustify without one, until assigned.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment Value);
    // The grid's FooterColor, clWindow without a grid, until assigned.
    TColor Color() const;
    void SetColor(TColor Value);
    const String& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const String& Value);
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool Value);
    // The field summed; empty: the column's own field.
    const String& FieldName() const { return FFieldName; }
    void SetFieldName(const String& Value);
    TFont* Font() const;
    void SetFont(TFont* Value);
    // The grid's FooterFont, else the column's Font; nullptr without a column.
    TFont* DefaultFont() const;
    bool ToolTips() const;
    void SetToolTips(bool Value);
    const String& Value() const { return FValue; }
    void SetValue(const String& Value);
    TFooterValueType ValueType() const { return FValueType; }
    void SetValueType(TFooterValueType Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // Alignment and Color: assigned and different from the default; Font: assigned; ToolTips:
    // assigned and True.
    bool IsAlignmentStored() const;
    bool IsColorStored() const;
    bool IsFontStored() const { return FAssigned & FontBit; }
    bool IsToolTipsStored() const;

    // The footer's aggregate in the grid's sum list; nullptr when it shows none.
    TDBSum* SumItem() const { return FSumItem; }
    // Makes, renames or frees the aggregate to match ValueType and the field.
    void SyncSum();
    virtual void ResetToDefaults();

protected:
    const char* ClassName() const override { return "TColumnFooterEh"; }

private:
    enum : std::uint8_t { AlignmentBit = 1, FontBit = 2, ColorBit = 4, ToolTipsBit = 8 };

    void Init();
    void FontChanged();
    void RefreshDefaultFont() const;
    void Signal(bool AllItems);
    String SumFieldName() const;
    void FreeSumItem();

    TColumnEh* FColumn = nullptr;
    std::uint8_t FAssigned = 0;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TColor FColor = clWindow;
    std::unique_ptr<TFont> FFont;
    String FDisplayFormat;
    bool FEndEllipsis = false;
    String FFieldName;
    bool FToolTips = false;
    String FValue;
    TFooterValueType FValueType = TFooterValueType::fvtNon;
    bool FWordWrap = false;
    TDBSum* FSumItem = nullptr;
    mutable bool FRefreshingFont = false;
};

class TColumnFootersEh : public TCollection {
public:
    explicit TColumnFootersEh(TColumnEh* Column);
    TColumnEh* Column() const { return FColumn; }
    TColumnFooterEh* FooterAt(int Index) const { return static_cast<TColumnFooterEh*>(Items(Index)); }

protected:
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TColumnFootersEh"; }

private:
    TColumnEh* FColumn;
};

// The grid's sum list: a producer owned by the grid, inactive until switched on.
class TDBGridEhSumList : public TDBSumListProducer {
public:
    explicit TDBGridEhSumList(TCustomDBGridEh* Grid);

protected:
    // While the grid is designed, the dataset's events are left alone.
    void HookDataSetEvents() override;
    void UnhookDataSetEvents() override;
    const char* ClassName() const override { return "TDBGridEhSumList"; }

private:
    bool GridDesigning() const;
};

// --- Drop-down box -----------------------------------------------------------------------------

using TDBLookupGridEhOptions = TSmallSet<struct TDBLookupGridEhOptionsTag>;
constexpr TDBLookupGridEhOptions dlgColumnResizeEh{1u << 0};
constexpr TDBLookupGridEhOptions dlgColLinesEh{1u << 1};
constexpr TDBLookupGridEhOptions dlgRowLinesEh{1u << 2};
constexpr TDBLookupGridEhOptions dlgAutoSortMarkingEh{1u << 3};
constexpr TDBLookupGridEhOptions dlgMultiSortMarkingEh{1u << 4};

// A column's settings of its drop-down lookup list. The list itself is made on first drop-down
// and takes them then, so reading or copying the settings never makes a window.
class TColumnDropDownBoxEh : public TPersistent {
public:
    explicit TColumnDropDownBoxEh(TColumnEh* Column);
    ~TColumnDropDownBoxEh() override;
    // Every setting but the special row and local sorting.
    void Assign(TPersistent* Source) override;

    TColumnEh* Column() const { return FColumn; }
    TDropDownAlign Align() const { return FAlign; }
    void SetAlign(TDropDownAlign Value) { FAlign = Value; }
    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool Value) { FAutoDrop = Value; }
    bool AutoFitColWidths() const { return FAutoFitColWidths; }
    void SetAutoFitColWidths(bool Value) { FAutoFitColWidths = Value; }
    // The source of the list's records; the grid hears when it is freed.
    TDataSource* ListSource() const { return FListSource; }
    void SetListSource(TDataSource* Value);
    TDBLookupGridEhOptions Options() const { return FOptions; }
    void SetOptions(TDBLookupGridEhOptions Value) { FOptions = Value; }
    int Rows() const { return FRows; }
    void SetRows(int Value) { FRows = Value; }
    bool ShowTitles() const { return FShowTitles; }
    void SetShowTitles(bool Value) { FShowTitles = Value; }
    bool Sizable() const { return FSizable; }
    void SetSizable(bool Value) { FSizable = Value; }
    bool SortLocal() const { return FSortLocal; }
    void SetSortLocal(bool Value) { FSortLocal = Value; }
    TSpecRowEh* SpecRow() const { return FSpecRow.get(); }
    void SetSpecRow(TSpecRowEh* Value) { FSpecRow->Assign(Value); }
    bool UseMultiTitle() const { return FUseMultiTitle; }
    void SetUseMultiTitle(bool Value) { FUseMultiTitle = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }

protected:
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TColumnDropDownBoxEh"; }

private:
    TColumnEh* FColumn;
    TDropDownAlign FAlign = TDropDownAlign::daLeft;
    bool FAutoDrop = false;
    bool FAutoFitColWidths = true;
    TDataSource* FListSource = nullptr;
    TDBLookupGridEhOptions FOptions = dlgColLinesEh;
    int FRows = 0;
    bool FShowTitles = false;
    bool FSizable = false;
    bool FSortLocal = false;
    std::unique_ptr<TSpecRowEh> FSpecRow;
    bool FUseMultiTitle = false;
    int FWidth = 0;
};

// --- Column filter settings -------------------------------------------------------------------

// A column's settings for the filter row: which field the filter reads and, for a column whose
// values stand for entries of another dataset, that list's source and its key and display
// fields. The filter row itself works from these.
class TSTColumnFilterEh : public TPersistent {
public:
    explicit TSTColumnFilterEh(TColumnEh* Column);
    ~TSTColumnFilterEh() override;
    // DataField, KeyField, ListField, ListSource and Visible.
    void Assign(TPersistent* Source) override;

    TColumnEh* Column() const { return FColumn; }
    // The field the filter reads; empty: the column's own.
    const String& DataField() const { return FDataField; }
    void SetDataField(const String& Value) { FDataField = Value; }
    const String& KeyField() const { return FKeyField; }
    void SetKeyField(const String& Value) { FKeyField = Value; }
    // A change drops the column's cached filter values.
    const String& ListField() const { return FListField; }
    void SetListField(const String& Value);
    // Forgotten when the source is freed; a change drops the column's cached filter values.
    TDataSource* ListSource() const { return FListSource; }
    void SetListSource(TDataSource* Value);
    // Whether the column takes part in the filter row; a change re-lays the grid.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // A new sorted list of the distinct ListField texts of ListSource's dataset; it reads the
    // dataset again after the dataset changed.
    std::shared_ptr<TDatasetFieldValueListEh> ListValueList() const;

    // The column's parsed condition (DbUtilsEh).
    TSTFilterExpressionEh& Expression() { return FExpression; }
    const TSTFilterExpressionEh& Expression() const { return FExpression; }
    // The field the condition reads: DataField, else a lookup field's KeyFields, else the
    // column's FieldName.
    String DataFieldName() const;
    // The condition as the filter cell shows it.
    virtual String ExpressionText() const;

protected:
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TSTColumnFilterEh"; }

private:
    class TListSourceWatch;
    void ListSourceFreed();
    void DropColumnValueList();

    TColumnEh* FColumn;
    String FDataField;
    String FKeyField;
    String FListField;
    TDataSource* FListSource = nullptr;
    bool FVisible = true;
    std::unique_ptr<TListSourceWatch> FWatch;
    TSTFilterExpressionEh FExpression;
};

// --- Columns ------------------------------------------------------------------------------------

// The text a DisplayFormat makes of the field's value; the field's DisplayText when the format
// is empty, the field is not numeric or date-time, or the value does not format.
String FormatFieldWithDisplayFormat(const TField* Field, const String& DisplayFormat);
// Value equals one of the ';'-separated items of List, case ignored; a List ending in ';' and
// an empty List also match an empty Value.
bool MatchesListItem(const String& List, const String& Value);

// A lookup field whose LookupDataSet is open shows a value for the current record.
bool LookupFieldHasValue(const TField* Field);

// A data cell's hint as the grid's or the column's OnDataHintShow may set it; points and
// rectangles in the grid's client coordinates.
struct TDBGridEhDataHintParams {
    TPoint HintPos;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TFont* HintFont = nullptr;
    TRect HintWindowRect;
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    String HintStr;
};
using THintShowPauseEventEh = std::function<void(TCustomDBGridEh* Sender, TPoint CursorPos, TGridCoord Cell,
                                                 TPoint InCellCursorPos, TColumnEh* Column, int& HintPause,
                                                 bool& Processed)>;
using TDataHintShowEventEh =
    std::function<void(TCustomDBGridEh* Sender, TPoint CursorPos, TGridCoord Cell, TPoint InCellCursorPos,
                       TColumnEh* Column, TDBGridEhDataHintParams& Params, bool& Processed)>;

class TColumnEh : public TCollectionItem {
public:
    explicit TColumnEh(TCollection* Collection);
    ~TColumnEh() override;
    // From another column, under the collection's update: every property, own values only where
    // the source has them, many others through their writers (so they become own values here).
    void Assign(TPersistent* Source) override;
    // FieldName, else the class name.
    String DisplayName() const override;
    // A default column of a grid with an active link also moves its field in the dataset.
    void SetIndex(int Value) override;

    TCustomDBGridEh* OwningGrid() const;
    TDBGridColumnsEh* Columns() const;
    virtual bool IsDefaultColumn() const { return !FPersistent; }
    void SetPersistent(bool Value) { FPersistent = Value; }
    const TColumnEhAssignedValues& AssignedValues() const { return FAssigned; }
    // Whether a description writes the soft property: own value different from the default
    // (Font, Checkboxes and BiDiMode: own value).
    bool IsStored(TColumnEhAssignedValue Value) const;
    // Tells the collection (and so the grid) of a change of this column or of all of them.
    void SignalChanged(bool AllItems) { Changed(AllItems); }
    // "Column_" + Index + "_" + FieldName.
    String StorageName() const;

    // Field binding: the cached field, looked up by name on first need.
    const String& FieldName() const { return FFieldName; }
    void SetFieldName(const String& Value);
    TField* Field() const;
    virtual void BindField(TField* Value);
    // Forgets the cached field; the next Field() looks it up again.
    void ReleaseField() { FField = nullptr; }

    // Soft properties.
    TAlignment Alignment() const;
    virtual void SetAlignment(TAlignment Value);
    bool AlwaysShowEditButton() const;
    void SetAlwaysShowEditButton(bool Value);
    bool AutoDropDown() const;
    void SetAutoDropDown(bool Value);
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode Value);
    bool Checkboxes() const;
    void SetCheckboxes(bool Value);
    TColor Color() const;
    void SetColor(TColor Value);
    bool DblClickNextVal() const;
    void SetDblClickNextVal(bool Value);
    bool DropDownShowTitles() const;
    void SetDropDownShowTitles(bool Value);
    bool DropDownSizing() const;
    void SetDropDownSizing(bool Value);
    bool EndEllipsis() const;
    void SetEndEllipsis(bool Value);
    TFont* Font() const;
    void SetFont(TFont* Value);
    // The grid's Font; the column's own font without a grid.
    TFont* DefaultFont() const;
    bool HighlightRequired() const;
    virtual void SetHighlightRequired(bool Value);
    TImeMode ImeMode() const;
    virtual void SetImeMode(TImeMode Value);
    TImeName ImeName() const;
    virtual void SetImeName(const TImeName& Value);
    TTextLayout Layout() const;
    void SetLayout(TTextLayout Value);
    String LookupDisplayFields() const;
    virtual void SetLookupDisplayFields(const String& Value);
    bool ReadOnly() const;
    virtual void SetReadOnly(bool Value);
    bool TextEditing() const;
    void SetTextEditing(bool Value);
    bool ToolTips() const;
    void SetToolTips(bool Value);
    int Width() const;
    virtual void SetWidth(int Value);
    bool WordWrap() const;
    virtual void SetWordWrap(bool Value);
    // Back to no own values; PickList and KeyList emptied, ButtonStyle cbsAuto.
    virtual void ResetToDefaults();

    // Widths.
    int DefaultWidth() const;
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    int ClampWidth(int W) const;
    bool AutoFitColWidth() const { return FAutoFitColWidth; }
    virtual void SetAutoFitColWidth(bool Value);
    // The width auto-fitting scales from.
    int DesignWidth() const { return FDesignWidth; }
    void SetDesignWidth(int Value) { FDesignWidth = Value; }

    // Plain properties.
    TColumnButtonStyleEh ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TColumnButtonStyleEh Value);
    const String& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const String& Value);
    unsigned DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(unsigned Value) { FDropDownRows = Value; }
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value);
    const String& EditMask() const { return FEditMask; }
    void SetEditMask(const String& Value);
    bool HideDuplicates() const { return FHideDuplicates; }
    virtual void SetHideDuplicates(bool Value);
    double Increment() const { return FIncrement; }
    void SetIncrement(double Value) { FIncrement = Value; }
    int NotInKeyListIndex() const { return FNotInKeyListIndex; }
    void SetNotInKeyListIndex(int Value);
    bool ShowImageAndText() const { return FShowImageAndText; }
    void SetShowImageAndText(bool Value);
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Made empty on first read.
    TStrings* PickList();
    void SetPickList(TStrings* Value);
    TStrings* KeyList();
    void SetKeyList(TStrings* Value);
    // The images the cells show for their values; the grid hears when it is freed.
    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    bool HasPickList() const { return FPickList != nullptr && FPickList->Count() > 0; }
    bool HasKeyList() const { return FKeyList != nullptr && FKeyList->Count() > 0; }

    // Owned parts.
    TColumnTitleEh* Title() const { return FTitle.get(); }
    void SetTitle(TColumnTitleEh* Value) { FTitle->Assign(Value); }
    TColumnFooterEh* Footer() const { return FFooter.get(); }
    void SetFooter(TColumnFooterEh* Value) { FFooter->Assign(Value); }
    TColumnFootersEh* Footers() const { return FFooters.get(); }
    void SetFooters(TColumnFootersEh* Value) { FFooters->Assign(Value); }
    TEditButtonsEh* EditButtons() const { return FEditButtons.get(); }
    void SetEditButtons(TEditButtonsEh* Value) { FEditButtons->Assign(Value); }
    TSpecRowEh* DropDownSpecRow() const { return FDropDownSpecRow.get(); }
    void SetDropDownSpecRow(TSpecRowEh* Value) { FDropDownSpecRow->Assign(Value); }
    TMRUListEh* MRUList() const { return FMRUList.get(); }
    void SetMRUList(TMRUListEh* Value) { FMRUList->Assign(Value); }
    TColumnDropDownBoxEh* DropDownBox() const { return FDropDownBox.get(); }
    void SetDropDownBox(TColumnDropDownBoxEh* Value) { FDropDownBox->Assign(Value); }
    TSTColumnFilterEh* STFilter() const { return FSTFilter.get(); }
    void SetSTFilter(TSTColumnFilterEh* Value) { FSTFilter->Assign(Value); }

    // The distinct values the filter row offers for this column: those of STFilter's list
    // when it has a ListSource, else those the grid's memory table gives for FieldName, else
    // none. Kept until the field bindings are released.
    std::shared_ptr<IMemTableDataFieldValueListEh> FilterValueList();
    void ReleaseFilterValueList() { FFilterValueList.reset(); }

    // Footers[Index] when it exists, else Footer.
    TColumnFooterEh* FooterForRow(int Index) const;
    // Brings every footer's aggregate in line with the field.
    void RefreshFooterSums();

    // Cell values: how the cells show (the classification rules of the cell kinds).
    virtual TColumnCellKindEh ClassifyCellKind() const;
    // Visible, bound to a field that can be modified, and not read-only.
    virtual bool IsWritable() const;

    // The current record's cell (DBGridEhCellValues.cpp). The texts never raise: a value that
    // does not format shows as the field's own text.
    String ComputeDisplayText() const;
    // The cell as data: for export, search and copying.
    String ComputeDataText() const;
    // The text the in-place editor starts with.
    String ComputeEditorText() const;
    String EffectiveEditMask() const;
    // Whether the cell may be edited now; with StartEdit the dataset also enters Edit and the
    // answer is whether it is editing.
    bool CanEditCell(bool StartEdit);
    // False for image-only and check-box cells.
    bool UsesTextEditor() const;
    // Writes an edited text (UseText) or a value into the field, after OnUpdateData.
    void StoreCellValue(const String& Text, const Variant& Value, bool UseText);
    // The image index of the value: its KeyList or PickList index, else a numeric value; a
    // value not in the list gives NotInKeyListIndex.
    int ValueListIndex() const;
    // 0 unchecked, 1 checked, 2 grayed.
    int CurrentCheckboxState() const;
    void StepCheckboxState(int State);
    // The up-down buttons, the wheel and double-click-next-value: Step = 1 moves forward in
    // the lists; numbers get Step added.
    void StepCellValue(double Step);
    // The dataset a lookup column lists: DropDownBox's ListSource, else the field's LookupDataSet.
    TDataSet* LookupListDataSet() const;
    TDataSet* FieldLookupDataSet() const;
    // The record's KeyFields values are found in the field's LookupDataSet (case ignored).
    bool KeyValueInList() const;
    // A typed character the cell takes: any with KeyList entries, else the field's choice;
    // without a field only when OnUpdateData takes the text.
    bool IsValidCharFor(Char Ch) const;
    // Text without the characters IsValidCharFor rejects, in order.
    String FilterAcceptedChars(const String& Text) const;
    // The button ButtonStyle gives this column's field (cbsAuto: by the field and lists).
    TCellButtonKindEh EffectiveButtonKind() const;
    // The width the main button and the visible EditButtons take in a cell.
    int EditButtonsTotalWidth() const;
    // The width of Button in a cell; nullptr: the main button.
    int CellButtonWidth(const TEditButtonEh* Button) const;

    // Runs before a cell value is stored; Handled stops the store.
    std::function<void(TColumnEh* Column, String& Text, Variant& Value, bool& UseText, bool& Handled)> OnUpdateData;

    // Cell parameters.
    using TGetColCellParamsEventEh = std::function<void(TColumnEh* Sender, bool EditMode, TColCellParamsEh* Params)>;
    // Params as this column shows the current record, before any handler changes them.
    virtual void InitCellParams(TColCellParamsEh* Params) const;
    // The column's OnGetCellParams, when set.
    virtual void FireGetCellParams(bool EditMode, TColCellParamsEh* Params);
    // Whether the current record's cell is edited as text, after the column's OnGetCellParams.
    bool EffectiveTextEditing();
    const TGetColCellParamsEventEh& OnGetCellParams() const { return FOnGetCellParams; }
    // Repaints the grid.
    void SetOnGetCellParams(TGetColCellParamsEventEh Value);
    // Paints a data cell instead of the grid when it sets Processed; Params as the cell events left them.
    using TAdvDrawDataCellEventEh = std::function<void(TObject* Sender, TGridCoord Cell, TGridCoord AreaCell,
                                                       TColumnEh* Column, const TRect& ARect, TColCellParamsEh* Params,
                                                       bool& Processed)>;
    TAdvDrawDataCellEventEh OnAdvDrawDataCell;
    // Whether the current record's empty required value is marked in the cell showing Text.
    std::function<void(TObject* Sender, const String& Text, bool& DrawState)> OnCheckDrawRequiredState;
    // Hints over this column's cells, asked when the grid's events of the same name left them
    // unprocessed.
    THintShowPauseEventEh OnHintShowPause;
    TDataHintShowEventEh OnDataHintShow;

    // Sizes from the data (DBGridEhColumnFit.cpp).
    // The width the column takes in the grid: Width, plus the tree indent of a first visible
    // column; the grid draws no tree column, so that indent is 0.
    int WidthWithIndent() const;
    // The row height the current record needs in this column with dghAutoFitRowHeight, else
    // the grid's data row height; 0 without a grid.
    int RequiredRowHeight() const;
    // Sets Width to what the column's title, data and footers need.
    virtual void FitWidthToData();

protected:
    const char* ClassName() const override { return "TColumnEh"; }
    virtual std::unique_ptr<TEditButtonsEh> MakeEditButtons();
    virtual std::unique_ptr<TColumnFooterEh> MakeFooter();
    virtual std::unique_ptr<TColumnFootersEh> MakeFooters();
    virtual std::unique_ptr<TSTColumnFilterEh> MakeSTFilter();
    virtual std::unique_ptr<TColumnTitleEh> MakeTitle();
    virtual void DropDownSpecRowChanged();

private:
    friend class TColumnTitleEh;
    friend class TCustomDBGridEh;
    friend class TDBGridColumnsEh;

    bool Assigned(TColumnEhAssignedValue Value) const { return FAssigned.Contains(Value); }
    // The rule of most soft writers: nothing when own and unchanged, else store, own, signal.
    template <class T>
    void WriteSoft(T& Stored, const T& Value, TColumnEhAssignedValue Bit, bool Signal = true);
    // The rule of the writers that keep a value only when it is own already or differs from
    // the default (always while Loading), and signal in any case.
    template <class T>
    void WriteSoftIfDiffers(T& Stored, const T& Value, const T& Default, TColumnEhAssignedValue Bit, bool Loading);
    bool GridLoading() const;
    bool LinkActiveWithField() const;
    // The field edits go to: a lookup field's first key field.
    TField* EditedField() const;
    bool GridAllowsEditing() const;
    // The column's OnGetCellParams in edit mode leaves the cell writable.
    bool CellParamsAllowEditing();
    void StepListValue(const TStrings& List, double Step, bool ByValue);
    void StepNumericValue(double Step);
    void StepLookupValue(double Step);
    // A lookup cell standing for the drop-down's special row shows that row's text.
    bool ShowsSpecRow(bool KeyInList) const;
    void StoreWidth(int Value);
    int ZeroWidth() const;
    void FontChanged();
    void RefreshDefaultFont() const;
    TColumnDefValuesEh* DefValues() const;

    TColumnEhAssignedValues FAssigned;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TColor FColor = clWindow;
    std::unique_ptr<TFont> FFont;
    int FWidth = 64;
    bool FReadOnly = false;
    TImeMode FImeMode = TImeMode::imDontCare;
    TImeName FImeName;
    bool FWordWrap = false;
    String FLookupDisplayFields;
    bool FCheckboxes = false;
    bool FAlwaysShowEditButton = false;
    bool FEndEllipsis = false;
    bool FAutoDropDown = false;
    bool FDblClickNextVal = false;
    bool FToolTips = false;
    bool FDropDownSizing = false;
    bool FDropDownShowTitles = false;
    TTextLayout FLayout = TTextLayout::tlTop;
    bool FHighlightRequired = false;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
    bool FTextEditing = true;

    String FFieldName;
    mutable TField* FField = nullptr;
    TColumnButtonStyleEh FButtonStyle = TColumnButtonStyleEh::cbsAuto;
    unsigned FDropDownRows = 7;
    int FDropDownWidth = 0;
    String FDisplayFormat;
    String FEditMask;
    double FIncrement = 1.0;
    int FMinWidth = 0;
    int FMaxWidth = 0;
    int FNotInKeyListIndex = -1;
    int FTag = 0;
    bool FVisible = true;
    bool FHideDuplicates = false;
    bool FShowImageAndText = false;
    bool FAutoFitColWidth = true;
    int FDesignWidth = 0;
    TImageList* FImageList = nullptr;
    TPopupMenu* FPopupMenu = nullptr;
    bool FPersistent = true;
    mutable bool FRefreshingFont = false;

    std::unique_ptr<TColumnTitleEh> FTitle;
    std::unique_ptr<TColumnFooterEh> FFooter;
    std::unique_ptr<TColumnFootersEh> FFooters;
    std::unique_ptr<TEditButtonsEh> FEditButtons;
    std::unique_ptr<TSpecRowEh> FDropDownSpecRow;
    std::unique_ptr<TMRUListEh> FMRUList;
    std::unique_ptr<TColumnDropDownBoxEh> FDropDownBox;
    std::unique_ptr<TSTColumnFilterEh> FSTFilter;
    std::shared_ptr<IMemTableDataFieldValueListEh> FFilterValueList;
    std::unique_ptr<TStringList> FPickList;
    std::unique_ptr<TStringList> FKeyList;
    TGetColCellParamsEventEh FOnGetCellParams;

    // Image list changes repaint the grid.
    std::unique_ptr<TChangeLink> FImageChangeLink;
    void ImageListChanged();
};

// The published column class of the grid.
class TDBGridColumnEh : public TColumnEh {
public:
    using TColumnEh::TColumnEh;

protected:
    const char* ClassName() const override { return "TDBGridColumnEh"; }
};

class TDBGridColumnsEh : public TCollection {
public:
    TDBGridColumnsEh(TCustomDBGridEh* Grid, TCollectionItemClass ItemClass);

    TCustomDBGridEh* Grid() const { return FGrid; }
    TColumnEh* Add() { return static_cast<TColumnEh*>(TCollection::Add()); }
    // A column the grid made from a field; its values stay soft.
    TColumnEh* AddDefaultColumn();
    TColumnEh* ColumnAt(int Index) const { return static_cast<TColumnEh*>(Items(Index)); }
    // There are columns and the first is persistent.
    bool IsCustomized() const;
    // Under the grid's layout lock.
    void Assign(TPersistent* Source) override;
    // Every column forgets its field and its filter values.
    void ReleaseFieldBindings();

    // The next (Forward) or previous visible writable column after From; From when none.
    TColumnEh* NextWritableColumn(TColumnEh* From, bool Forward) const;
    TColumnEh* FirstWritableColumn() const;
    TColumnEh* LastWritableColumn() const;
    TColumnEh* FindByStorageName(const String& Name) const;
    // The marked columns in SortIndex order, renumbered 1..n with no gaps.
    void RebuildSortedColumns();

protected:
    // Nothing while the grid loads. One column: its grid column follows (with auto-fitting, the
    // design widths rescale); all: the sorted list is rebuilt and the grid re-lays out.
    void Update(TCollectionItem* Item) override;
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override;
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TDBGridColumnsEh"; }

private:
    void ColumnChanged(TColumnEh* Column);
    void RescaleDesignWidths(TColumnEh* Column, int GridColumnWidth);

    TCustomDBGridEh* FGrid;
};

// --- Legacy stored properties -------------------------------------------------------------------

// A column's former "Width": the design width under auto-fitting, else the width.
class TColumnEhPropertyInterceptor : public TStoragePropertyInterceptor {
public:
    using TStoragePropertyInterceptor::TStoragePropertyInterceptor;
    int Width() const;
    void SetWidth(int Value);
    bool ReadProperty(const String& Name, const String& Value) override;

protected:
    const char* ClassName() const override { return "TColumnEhPropertyInterceptor"; }

private:
    TColumnEh* Column() const;
};

// A column collection's former "ColumnsIndex": the order of the columns by field name.
class TColumnsEhPropertyInterceptor : public TStoragePropertyInterceptor {
public:
    using TStoragePropertyInterceptor::TStoragePropertyInterceptor;
    // "A","B",... in index order.
    String ColumnsIndex() const;
    // Moves the first column named by the i-th name to place i; unknown names are skipped.
    void SetColumnsIndex(const String& Value);
    bool ReadProperty(const String& Name, const String& Value) override;

protected:
    const char* ClassName() const override { return "TColumnsEhPropertyInterceptor"; }

private:
    TDBGridColumnsEh* Collection() const;
    TColumnEh* FindColumnByFieldName(const String& FieldName) const;
};

// Registers both interceptors (idempotent).
void InstallColumnPropertyInterceptors();

// Stored column sets (DBGridEhColumnsStore.cpp). A description holds one block per column,
// "item" to "end", of "Name=Value" lines (Title.Caption, Footer.ValueType, Footers[1].Value,
// Font.Name, DropDownBox.Options, STFilter.ListField, EditButtons[0].Style, ...), then lines
// about the collection itself. Soft properties are written only where the column's own value
// differs from its default, so unassigned ones keep following it. Components a column refers
// to (ImageList, PopupMenu, DropDownBox.ListSource, STFilter.ListSource, an edit button's
// DropdownMenu and Action) are written by name when they belong to the grid's owner, where
// loading finds them again; others, and components without a name, are not written.
// Event handlers are not part of a description.
void StoreColumns(const TDBGridColumnsEh* Columns, TStrings* Description);
// Clears Columns and reads them back from Description, as the grid reads its stored
// description: under its loading state unless it is loading already. Names the columns do not
// publish go to the registered interceptors; one none of them takes raises EReadError, which
// leaves the columns read so far. A component name is looked up among the components of the
// grid's owner; one that is not there, or is of another kind, raises EReadError as well.
void LoadColumns(TDBGridColumnsEh* Columns, const TStrings* Description);

// --- Selection ----------------------------------------------------------------------------------

// What the user has selected beyond the current cell.
enum class TDBGridEhSelectionType : std::uint8_t { gstRecordBookmarks, gstRectangle, gstColumns, gstAll, gstNon };

// The standard edit actions a grid serves (its EditActions).
using TDBGridEhEditActions = TSmallSet<struct TDBGridEhEditActionsTag>;
constexpr TDBGridEhEditActions geaCutEh{1u << 0};
constexpr TDBGridEhEditActions geaCopyEh{1u << 1};
constexpr TDBGridEhEditActions geaPasteEh{1u << 2};
constexpr TDBGridEhEditActions geaDeleteEh{1u << 3};
constexpr TDBGridEhEditActions geaSelectAllEh{1u << 4};

// The AllowedSelections member of a kind; none for gstNon.
TDBGridEhAllowedSelections AllowedSelectionOf(TDBGridEhSelectionType Kind);

// The grid's selected rows: the store of a record selection, kept in the dataset's bookmark
// order. Its changes keep the grid's selection kind and painting in step.
class TBookmarkListEh : public TBMListEh {
public:
    explicit TBookmarkListEh(TCustomDBGridEh* Grid) : FGrid(Grid) {}

    TDataSet* GetDataSet() const override;
    // Selecting on an empty dataset does nothing; a listed record turns another kind of
    // selection into a record selection.
    void SetCurrentRowSelected(bool Value) override;
    void RemoveAll() override;
    // The base-grid rows shown whose records are listed, across all columns; (-1, -1, -1, -1)
    // when none is shown or the link is not active.
    TGridCellRangeEh VisibleSelectionRange();

protected:
    void InvalidateView() override;
    void StringsChanged() override;
    void SelectionChanged() override;

private:
    TCustomDBGridEh* FGrid;
};

// A rectangle of cells between two corners, each a column index (into the grid's Columns, -1
// for none) and a record's bookmark. The rows between are those between the two bookmarks in
// the dataset's bookmark order.
class TDBGridEhSelectionRect {
public:
    explicit TDBGridEhSelectionRect(TCustomDBGridEh* Grid) : FGrid(Grid) {}

    int AnchorCol() const { return FAnchorCol; }
    const TBookmark& AnchorBookmark() const { return FAnchorBookmark; }
    int ShiftCol() const { return FShiftCol; }
    const TBookmark& ShiftBookmark() const { return FShiftBookmark; }

    // Moves the shift corner (and, without Extend or an anchor, the anchor) to the cell and
    // repaints only the strips whose selection changed. Corners on one cell select nothing.
    void SelectTo(int ColIndex, const TBookmark& Bookmark, bool Extend);
    // Both corners to none; repaints and signals.
    void ClearRect();
    // The earlier and the later corner bookmark; equal corners give the anchor's. These and the
    // column bounds raise the grid error while the link is not active.
    TBookmark TopRowBookmark() const;
    TBookmark BottomRowBookmark() const;
    int LeftColIndex() const;
    int RightColIndex() const;
    bool CellSelected(int ACol, const TBookmark& Bookmark) const;
    bool IsDataLinkActive() const;
    // The base-grid cells of the rectangle among the rows shown; (-1, -1, -1, -1) when none.
    TGridCellRangeEh CellRange();
    // The client rectangle of the cells between two corners, rows outside the view clipped to
    // its top or bottom.
    TRect PixelRect(int ColA, const TBookmark& BookmarkA, int ColB, const TBookmark& BookmarkB);

private:
    void CheckActive(const String& Message) const;
    int CompareBookmarks(const TBookmark& A, const TBookmark& B) const;
    // Display rows (data rows, 0 = first shown) of the first and last shown records between Top
    // and Bottom; false when none is shown.
    bool ShownRowsBetween(const TBookmark& Top, const TBookmark& Bottom, int& First, int& Last);

    TCustomDBGridEh* FGrid;
    int FAnchorCol = -1;
    TBookmark FAnchorBookmark;
    int FShiftCol = -1;
    TBookmark FShiftBookmark;
};

// Selected columns, kept in grid order (ascending collection index). The list does not own
// its columns; a column that goes away leaves it, and the anchor and shift corner with it.
class TDBGridEhSelectionCols : public TColumnsEhList {
public:
    explicit TDBGridEhSelectionCols(TCustomDBGridEh* Grid) : FGrid(Grid) {}

    // Where a column selection started; nullptr for none.
    TColumnEh* Anchor() const { return FAnchor; }
    // The column last extended to.
    TColumnEh* ShiftCol() const { return FShiftCol; }
    // The columns the current Shift-extension changed.
    TColumnsEhList* ShiftSelectedCols() { return &FShiftSelectedCols; }

    // Title click: only Column (Extend: Column added to the others).
    void SelectColumn(TColumnEh* Column, bool Extend);
    // Ctrl + title click.
    void ToggleColumn(TColumnEh* Column);
    // Shift + title click or dragging over titles: the columns from the anchor to Column.
    void ShiftSelectTo(TColumnEh* Column);
    void InsertInGridOrder(TColumnEh* Column);
    // Repaints the listed columns, empties the list and drops the anchor; signals.
    void Clear();
    // After a layout rebuild: columns no longer in the grid leave, the rest are put in order.
    void SyncWithColumns();
    // Column is going away: nothing here points at it afterwards.
    void ForgetColumn(TColumnEh* Column);
    TGridCellRangeEh CellRange() const;

private:
    void BecomeColumnSelection();
    // One step of ShiftSelectTo at collection index Index.
    void ShiftStep(int Index, bool Adding);
    void InvalidateColumn(TColumnEh* Column);

    TCustomDBGridEh* FGrid;
    TColumnEh* FAnchor = nullptr;
    TColumnEh* FShiftCol = nullptr;
    TColumnsEhList FShiftSelectedCols;
};

// The grid's selection: its kind and the stores of the kinds (the records are the grid's
// SelectedRows).
class TDBGridEhSelection {
public:
    explicit TDBGridEhSelection(TCustomDBGridEh* Grid);
    virtual ~TDBGridEhSelection() = default;

    TDBGridEhSelectionType SelectionType() const { return FSelectionType; }
    TDBGridEhSelectionCols* Columns() { return &FColumns; }
    TDBGridEhSelectionRect* Rect() { return &FRect; }
    TBookmarkListEh* BookmarkRows() const;

    // ColIndex -1 is the indicator column.
    bool IsCellSelected(int ColIndex, const TBookmark& Bookmark);
    // No kind, or a record selection without records (how a grid starts): no cell is selected,
    // which painting asks at every cell without reading a bookmark.
    bool SelectsNothing() const;
    // Empties the store of the kind, then selects nothing (also when emptying raised).
    void ResetSelection();
    void SelectAllCells();
    // Stores Kind; the editor shows or hides with it.
    void ChangeSelectionType(TDBGridEhSelectionType Kind);
    // An empty record or column selection becomes no selection.
    void DropEmptySelection();
    void LinkActiveChanged(bool Active);
    // The base-grid cells to repaint for what is selected.
    TGridCellRangeEh SelectionCellRange();
    // Fires the grid's OnSelectionChanged.
    virtual void SelectionChanged();

private:
    TCustomDBGridEh* FGrid;
    TDBGridEhSelectionType FSelectionType = TDBGridEhSelectionType::gstRecordBookmarks;
    TDBGridEhSelectionCols FColumns;
    TDBGridEhSelectionRect FRect;
};

// --- The grid -----------------------------------------------------------------------------------

class IMemTableEh;
class TScrollBar;

// The grid's view of its dataset: forwards every data event to the grid and maps the grid's data
// columns to the dataset's fields.
class TGridDataLinkEh : public TDataLink {
public:
    explicit TGridDataLinkEh(TCustomDBGridEh* Grid) : FGrid(Grid) {}

    TCustomDBGridEh* Grid() const { return FGrid; }
    // Inside the dataset's layout change.
    bool InLayoutChange() const { return FInLayoutChange; }

    // The field map: one entry per data column, -1 for a column without a field. Sparse when
    // built from customised columns (unknown names give -1), dense when built from the
    // dataset's visible fields.
    int FieldMapCount() const { return static_cast<int>(FFieldMap.size()); }
    int MappedFieldIndex(int Index) const;
    TField* MappedField(int Index) const;
    bool SparseMap() const { return FSparseMap; }
    void SetSparseMap(bool Value) { FSparseMap = Value; }
    // Appends FieldName's field. Dense: an unknown name raises the dataset's field-not-found error.
    void AppendFieldMapping(const String& FieldName);
    void ClearFieldMap();
    // The grid's fields are the dataset's own, none of them missing.
    bool UsesDefaultFields() const;

    // The editor's text is to be written to the field at the next update step.
    void MarkModified() { FModified = true; }
    bool Modified() const { return FModified; }
    // Escape: a modified cell reloads its editor; otherwise the dataset's edit is cancelled.
    void Reset();
    const TBookmark& LastBookmark() const { return FLastBookmark; }

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int Distance) override;
    void EditingChanged() override;
    void FocusControl(TField** Field) override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;
    void DataEvent(TDataEvent Event, std::intptr_t Info) override;

private:
    void TakeBookmark();

    TCustomDBGridEh* FGrid;
    std::vector<int> FFieldMap;
    bool FSparseMap = false;
    bool FModified = false;
    bool FInUpdateData = false;
    bool FInLayoutChange = false;
    TBookmark FLastBookmark;
};

using TDBGridEhColumnEvent = std::function<void(TObject* Sender, TColumnEh* Column)>;
using TDBGridEhCheckButtonEvent = std::function<void(TObject* Sender, int ACol, TColumnEh* Column, bool& Enabled)>;
using TDBGridEhColumnMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TDBGridEhTitleBtnClickEvent = std::function<void(TObject* Sender, int ACol, TColumnEh* Column)>;
using TDBGridEhEditButtonClickEvent = std::function<void(TObject* Sender, bool& Handled)>;
using TDBGridEhGetRowHeightEvent = std::function<void(TObject* Sender, int& Height)>;

// The private message that runs a deferred layout rebuild.
constexpr unsigned WM_DEFERRED_LAYOUT_EH = WM_USER + 100;

// The data grid: a base grid whose rows are the records of the dataset behind its DataSource
// and whose data columns are TColumnEh objects bound to the dataset's fields by name. The
// indicator column, when shown, comes before them; the title row (and a filter row under it)
// above them; footer rows are pinned to the bottom as contra rows.
//
// Where the operations live:
//   DBGridEhGrid.cpp       construction, the data link and its events, property writers
//   DBGridEhLayout.cpp     the field map, the layout rebuild and its locks, column widths
//   DBGridEhRows.cpp       row metrics, following the active record, switching display rows
//   DBGridEhScrolling.cpp  the vertical and horizontal scroll bars, scrolling by rows
//   DBGridEhEditing.cpp    storing the edited text, starting a cell edit, base-grid overrides
//   DBGridEhMemTable.cpp   memory-table mode
class TCustomDBGridEh : public TCustomGridEh, private IMemTableDataObserverEh {
public:
    explicit TCustomDBGridEh(TComponent* AOwner);
    ~TCustomDBGridEh() override;

    // --- Columns and data -------------------------------------------------------------------
    TDBGridColumnsEh* Columns() const { return FColumns.get(); }
    TColumnDefValuesEh* ColumnDefValues() const { return FColumnDefValues.get(); }
    // The visible columns in collection order, as the last layout rebuild found them.
    TColumnsEhList* VisibleColumns() const { return FVisibleColumns.get(); }
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* Value);
    TGridDataLinkEh* DataLink() const { return FDataLink.get(); }
    TDBGridEhSumList* SumList() const { return FSumList.get(); }
    // The columns with a sort marker, in SortIndex order.
    TColumnsEhList* SortedColumns() const { return FSortedColumns.get(); }
    THeadTreeNode* HeadTree() const { return FHeadTree.get(); }
    // The leaf title cell of column i.
    THeadTreeNode* LeafOfColumn(int Index) const;
    // The first column whose FieldName matches, case ignored; nullptr when none.
    TColumnEh* ColumnByFieldName(const String& FieldName) const;
    // As ColumnByFieldName, raising the grid error when none matches.
    TColumnEh* RequireColumnByFieldName(const String& FieldName) const;

    // --- Options and look -------------------------------------------------------------------
    // Hides the base grid's options, which the grid derives from these.
    TDBGridOptions Options() const { return FDBOptions; }
    void SetOptions(TDBGridOptions Value);
    TDBGridEhOptions OptionsEh() const { return FOptionsEh; }
    void SetOptionsEh(TDBGridEhOptions Value);
    TDBGridEhAllowedOperations AllowedOperations() const { return FAllowedOperations; }
    void SetAllowedOperations(TDBGridEhAllowedOperations Value) { FAllowedOperations = Value; }
    TDBGridEhAllowedSelections AllowedSelections() const { return FAllowedSelections; }
    // Resets a selection whose kind Value leaves out.
    void SetAllowedSelections(TDBGridEhAllowedSelections Value);
    bool AutoFitColWidths() const { return FAutoFitColWidths; }
    void SetAutoFitColWidths(bool Value);
    int MinAutoFitWidth() const { return FMinAutoFitWidth; }
    void SetMinAutoFitWidth(int Value);
    // Hides the base grid's count of contra columns: how many columns the grid keeps at the right.
    int ContraColCount() const { return FWantedContraCols; }
    void SetContraColCount(int Value);
    int FrozenCols() const { return FFrozenCols; }
    void SetFrozenCols(int Value);
    int FooterRowCount() const { return FFooterRowCount; }
    void SetFooterRowCount(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool DrawMemoText() const { return FDrawMemoText; }
    void SetDrawMemoText(bool Value);
    bool DrawGraphicData() const { return FDrawGraphicData; }
    void SetDrawGraphicData(bool Value);
    bool UseMultiTitle() const { return FUseMultiTitle; }
    void SetUseMultiTitle(bool Value);
    bool RowSizingAllowed() const { return FRowSizingAllowed; }
    void SetRowSizingAllowed(bool Value);
    int RowHeight() const { return FRowHeight; }
    void SetRowHeight(int Value);
    int RowLines() const { return FRowLines; }
    void SetRowLines(int Value);
    int TitleHeight() const { return FTitleHeight; }
    void SetTitleHeight(int Value);
    int TitleLines() const { return FTitleLines; }
    void SetTitleLines(int Value);
    int VTitleMargin() const { return FVTitleMargin; }
    void SetVTitleMargin(int Value);
    TColor FooterColor() const { return FFooterColor; }
    void SetFooterColor(TColor Value);
    TFont* TitleFont() const { return FTitleFont.get(); }
    void SetTitleFont(TFont* Value);
    TFont* FooterFont() const { return FFooterFont.get(); }
    void SetFooterFont(TFont* Value);
    TImageList* TitleImages() const { return FTitleImages; }
    void SetTitleImages(TImageList* Value);
    TImeMode ImeMode() const { return FImeMode; }
    void SetImeMode(TImeMode Value) { FImeMode = Value; }
    const TImeName& ImeName() const { return FImeName; }
    void SetImeName(const TImeName& Value) { FImeName = Value; }
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value) { FBiDiMode = Value; }
    // The memory-table interface is used when the dataset offers it (on by default).
    bool MemTableSupport() const { return FMemTableSupport; }
    void SetMemTableSupport(bool Value);

    bool Loading() const;
    bool Designing() const;
    bool BeingDestroyed() const;
    // The fonts, the column fonts and the column widths scale by M / D.
    void ChangeScale(int M, int D);

    // --- Layout -----------------------------------------------------------------------------
    // Layout locks: the last unlock rebuilds once. Nothing rebuilds while any lock is held.
    void LockLayout();
    // Takes a lock only when none is held.
    bool TryLockLayout();
    void UnlockLayout();
    // Ends one level without rebuilding.
    void UnlockLayoutQuietly();
    // Ends one level and leaves the rebuild to the posted WM_DEFERRED_LAYOUT_EH message (one
    // message however often asked).
    void UnlockLayoutDeferred();
    // A deferred rebuild is queued and not yet done or overtaken by a rebuild.
    bool DeferredLayoutQueued() const { return FDeferredLayoutQueued; }
    // For the WM_DEFERRED_LAYOUT_EH handler, before it rebuilds or defers again: whether the
    // message still stands (a rebuild since it was posted makes it void); it is taken either way.
    bool TakeDeferredLayoutMessage();
    // While suspended, the grid skips its immediate repaint after scrolling.
    void SuspendImmediateUpdate();
    void ResumeImmediateUpdate();
    bool ImmediateUpdateSuspended() const { return FUpdateLock > 0; }
    bool LayoutLocked() const { return FLayoutLock > 0; }
    // Rebuilds at once unless a lock is held.
    virtual void NotifyLayoutChanged();

    // 1 when the indicator column is shown.
    int IndicatorOffset() const { return FIndicatorCount; }
    // Rows above the first data row: the title row and a filter row under it.
    int RowsAboveData();
    // The grid column of data column Index and back; -1 for a grid column without data column.
    int DataColToGridCol(int Index) const { return Index + FIndicatorCount; }
    int GridColToDataCol(int ACol) const { return ACol - FIndicatorCount; }
    TField* DataColumnField(int Index) const;
    int FocusedColumnIndex() const { return GridColToDataCol(Col()); }
    TColumnEh* FocusedColumn() const;
    TField* FocusedColumnField() const;
    void FocusDataColumn(int Index);
    // The height of a data row as the last rebuild computed it (text height and margins).
    int DataRowHeight() const { return FDataRowHeight; }
    // The title row's height as the last rebuild computed it.
    int ComputedTitleHeight() const { return FComputedTitleHeight; }
    int EditButtonWidth() const { return FEditButtonWidth; }
    int EditButtonHeight() const { return FEditButtonHeight; }
    // A data row is taller than one line of text.
    bool RowsHoldSeveralLines() const { return FRowsHoldSeveralLines; }
    // The last grid column with a positive width, as the column widths were last applied.
    int LastWidthColumn() const { return FLastWidthColumn; }
    // The colour of the lines between fixed cells, set by the last rebuild.
    TColor FixedCellLineColor() const { return FFixedCellLineColor; }

    // Focus on a hidden column, or past the last one, moves to the first visible column.
    void KeepFocusOnVisibleColumn();
    // Column is going away: nothing of the grid points at it afterwards.
    void ColumnDestroyed(TColumnEh* Column);
    // Repaints the last FooterRowCount rows.
    void InvalidateFooterRows();

    // --- Rows, records and scroll bars ------------------------------------------------------
    // Makes display row Index's record the one fields read (for painting or measuring), and back.
    void SwitchToRowRecord(int Index);
    void RestoreRowRecord();
    // A display row's record is switched in.
    bool RowRecordSwitched() const { return FSwitchedRow >= 0; }
    // Records shown as rows: the memory table's count or the link's buffered records.
    int DisplayRecordCount() const;
    bool IsCurrentRecordRow(int Index) const;
    // The memory table scrolls the rows: clamps NewTop so the last page stays full and, unless
    // CalcOnly, makes it the top row; answers the clamped value.
    int ScrollTopRowTo(int NewTop, bool CalcOnly);
    // A vertical scroll-bar action (SB_* code) while the memory table scrolls the rows.
    void ScrollRowsByBarAction(int ScrollCode, int ThumbPos);
    bool HasMemTableLink() const { return FMemTable != nullptr; }
    bool IsMemTableMode() const { return HasMemTableLink(); }
    bool UsesMemTableScrolling() const;
    IMemTableEh* MemTable() const { return FMemTable; }
    // What an external horizontal scroll bar shows: range 0..127 (0..0 when every column fits),
    // the scrolled columns shown as page, LeftCol mapped onto the range as position.
    TScrollInfo ComputeHorzScrollInfo() const;

    // --- Editing ----------------------------------------------------------------------------
    // The text the update step writes to the focused field.
    const String& EditedText() const { return FEditText; }
    // Puts the dataset in edit state for the focused cell when it may be edited.
    bool TryBeginCellEdit();
    // The update step: writes the edited text to the focused column's field.
    void StoreEditorTextInField();
    void ReloadAllEditors();

    // --- Sizes from the data (DBGridEhColumnFit.cpp) ----------------------------------------
    // The largest height a visible column's cell needs for the current record, then
    // OnGetRowHeight; the data row height without visible columns.
    int ContentRowHeight();
    // Widens or narrows each of Columns to what its title, every record's cell and its footers
    // need; nothing without an active link.
    void OptimizeColsWidth(TColumnsEhList* Columns);

    // --- Events -----------------------------------------------------------------------------
    TDBGridEhColumnEvent OnCellClick;
    TDBGridEhCheckButtonEvent OnCheckButton;
    TNotifyEvent OnColEnter;
    TNotifyEvent OnColExit;
    TDBGridEhColumnMovedEvent OnColumnMoved;
    TNotifyEvent OnColWidthsChanged;
    TDBGridEhEditButtonClickEvent OnEditButtonClick;
    TDBGridEhGetRowHeightEvent OnGetRowHeight;
    TNotifyEvent OnSumListRecalcAll;
    TNotifyEvent OnSumListAfterRecalcAll;
    TDBGridEhTitleBtnClickEvent OnTitleBtnClick;
    TDBGridEhColumnEvent OnTitleClick;

    // Cell drawing
    // The parameters of the data cell being painted or edited, refilled for every cell.
    TColCellParamsEh* CellParams() { return &FCellParams; }
    using TGetCellEhParamsEvent =
        std::function<void(TObject* Sender, TColumnEh* Column, TFont* AFont, TColor& Background, TGridDrawState State)>;
    using TDrawColumnEhCellEvent =
        std::function<void(TObject* Sender, const TRect& Rect, int DataCol, TColumnEh* Column, TGridDrawState State)>;
    using TDrawDataCellEvent = std::function<void(TObject* Sender, const TRect& Rect, TField* Field, TGridDrawState State)>;
    // Raised for each data cell with the dataset on the cell's record.
    TGetCellEhParamsEvent OnGetCellParams;
    TDrawColumnEhCellEvent OnDrawColumnCell;
    // Only while the columns are the default ones.
    TDrawDataCellEvent OnDrawDataCell;
    virtual void RaiseGetCellParams(TColumnEh* Column, TFont* AFont, TColor& Background, TGridDrawState State);
    using TDrawFooterCellEvent = std::function<void(TObject* Sender, int DataCol, int Row, TColumnEh* Column,
                                                    const TRect& Rect, TGridDrawState State)>;
    TDrawFooterCellEvent OnDrawFooterCell;
    // Raised for a title of a column with a field, before and after the title's font is put on
    // the canvas: the title is drawn on Background with SortMarker.
    using TGetBtnParamsEvent = std::function<void(TObject* Sender, TColumnEh* Column, TFont* AFont, TColor& Background,
                                                  TSortMarkerEh& SortMarker, bool IsDown)>;
    TGetBtnParamsEvent OnGetBtnParams;
    // Raised before the column's own; a cell either one processed is not painted by the grid.
    TColumnEh::TAdvDrawDataCellEventEh OnAdvDrawDataCell;
    // The area of a grid cell: across, the indicator column or a data column (AreaCol counts the
    // data columns); down, the title rows, the filter row, the data rows or the footer rows
    // (AreaRow counts from the first row of its area).
    enum class TCellAreaColEh { cacIndicator, cacData };
    enum class TCellAreaRowEh { carTitle, carFilter, carData, carFooter };
    struct TCellAreaEh {
        TCellAreaColEh Col = TCellAreaColEh::cacIndicator;
        TCellAreaRowEh Row = TCellAreaRowEh::carTitle;
    };
    TCellAreaEh GetCellType(int ACol, int ARow, int& AreaCol, int& AreaRow);

    // Footer values
    // The text of footer row Row (0 = first) of Column, from the footer FooterForRow gives:
    // sums, averages and counts read from the sum list and formatted by the summed field's type,
    // the current record's field value, or the static text. Never raises.
    virtual void ComputeFooterText(int Row, TColumnEh* Column, String& Text);
    // Lets OnGetFooterParams change the text, font, background and alignment of a footer cell.
    virtual void RaiseGetFooterParams(int DataCol, int Row, TColumnEh* Column, TFont* AFont, TColor& Background,
                                      TAlignment& Alignment, TGridDrawState State, String& Text);
    std::function<void(TObject* Sender, int DataCol, int Row, TColumnEh* Column, TFont* AFont, TColor& Background,
                       TAlignment& Alignment, TGridDrawState State, String& Text)>
        OnGetFooterParams;
    // Repaints the rows above the data: the title row and the filter row.
    void InvalidateTitleRows();

    // Selection
    TDBGridEhSelection* Selection() const { return FSelection.get(); }
    // The selected records (the store of a record selection).
    TBookmarkListEh* SelectedRows() const { return FSelectedRows.get(); }
    // gstNon always; the others need dgMultiSelect and their AllowedSelections member, and
    // rectangles and columns need dgRowSelect off.
    bool IsSelectionTypeAllowed(TDBGridEhSelectionType Kind) const;
    bool CanSelectAll() const;
    bool CanCopyToClipboard() const;
    // Records need alopDeleteEh; rectangles and columns, whose cells are cleared, alopUpdateEh.
    bool CanDeleteSelection() const;
    bool CanCutToClipboard() const;
    bool CanPasteFromClipboard() const;
    // The client rectangle of base-grid cells ALeft..ARight, ATop..ABottom.
    TRect CellRangePixelRect(int ALeft, int ATop, int ARight, int ABottom) const;
    // Data rows fully shown between the fixed rows and the footers.
    int FullyShownDataRows() const;
    TNotifyEvent OnSelectionChanged;

    // Keyboard, mouse and scrolling
    THorzDBGridEhScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    void SetHorzScrollBar(TDBGridEhScrollBar* Value);
    TVertDBGridEhScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    void SetVertScrollBar(TDBGridEhScrollBar* Value);
    // A scroll-bar setting of Kind (SB_HORZ, SB_VERT) changed: the bars and the layout follow.
    void ScrollBarSettingsChanged(int Kind);
    // Scrolling of Kind changed between pixels and whole cells.
    void SmoothStepChanged(int Kind);
    // The row colours read the grid's Color until set; a set colour is the grid's own.
    TColor EvenRowColor() const { return FEvenRowColorSet ? FEvenRowColor : Color(); }
    void SetEvenRowColor(TColor Value);
    bool IsEvenRowColorStored() const { return FEvenRowColorSet; }
    TColor OddRowColor() const { return FOddRowColorSet ? FOddRowColor : Color(); }
    void SetOddRowColor(TColor Value);
    bool IsOddRowColorStored() const { return FOddRowColorSet; }
    TDBGridEhEditButtonsShowOptions EditButtonsShowOptions() const { return FEditButtonsShowOptions; }
    void SetEditButtonsShowOptions(TDBGridEhEditButtonsShowOptions Value);
    TDBGridEhEditActions EditActions() const { return FEditActions; }
    void SetEditActions(TDBGridEhEditActions Value) { FEditActions = Value; }

    // Records and columns by key and mouse.
    // Moves the record by Distance (to the end with ToEnd), selecting with Select: rows in
    // RowMode or dgRowSelect, else a rectangle.
    void NavigateRecords(bool Select, int Distance, bool RowMode, bool ToEnd);
    // Focuses data column Index; a Step other than 0 walks over hidden columns in its direction.
    void MoveToDataColumn(int Index, int Step, bool ExtendSelection);
    void ClearAllSelections();
    // Clears the selection unless the key or press that runs extends it.
    void AutoClearSelection();
    // With dgConfirmDelete asks the user; True to go on.
    virtual bool ConfirmRecordDelete();
    // The records a delete key takes: the listed ones, unless only the current one is listed.
    bool DeletesListedRows();
    void EndMouseTracking();
    void UpdatePressedLook(int X, int Y);
    bool CursorInRect(const TRect& Rect) const;
    virtual void RaiseSortMarkingChanged();
    // Without OnSortMarkingChanged: nothing here; the application sorts its queries itself.
    virtual void DefaultSortMarkingChanged() {}
    TNotifyEvent OnSortMarkingChanged;

    // The shared style that picks highlight colours and the centre that searches, filters and
    // sorts for the grid (DBGridEhStyle.h, DBGridEhCenter.h); the grid registers with each.
    TDBGridEhStyle* Style() const { return FStyle; }
    void SetStyle(TDBGridEhStyle* Value);
    TDBGridEhCenter* Center() const { return FCenter; }
    void SetCenter(TDBGridEhCenter* Value);

    // Incremental search.
    bool InIncrementalSearch() const { return FInSearch; }
    const String& IncrementalSearchText() const { return FSearchText; }
    // Extends the search text by Text and looks for it in the focused column; Timeout in ms,
    // negative for none.
    void ExtendIncrementalSearch(const String& Text, int Timeout, TLocateTextDirectionEh Direction);
    void EndIncrementalSearch();
    // Moves to the record whose cell in Column matches Text; False (and the record kept) when
    // there is none.
    virtual bool LocateTextInColumn(TColumnEh* Column, const String& Text, TLocateTextMatchTypeEh Match,
                                    TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options);

    // Edit actions: the standard copy, cut, paste, delete and select-all commands.
    // Whether Action (one member) is in EditActions and the grid's state allows it now.
    bool CanRunEditAction(TDBGridEhEditActions Action) const;
    // Runs Action on the selection when CanRunEditAction allows it; True when it ran.
    bool RunEditAction(TDBGridEhEditActions Action);
    // The standard edit actions of a menu or a tool bar: the data link may serve them first;
    // else, while the grid is focused, they run (and are enabled) as their EditActions member.
    bool ExecuteAction(TBasicAction* Action) override;
    bool UpdateAction(TBasicAction* Action) override;

    // Hints: a title's own hint, and tool tips with the whole text of clipped cells.
    // The window the tool tips show in, laid over the cell's text.
    TToolTipsWindow* ToolTipsWindow();
    using TDBGridEhDataHintParams = ::TDBGridEhDataHintParams;
    // May change the pause before the hint over Cell; Processed skips the column's event and
    // the tool-tip rule.
    THintShowPauseEventEh OnHintShowPause;
    // May fill a data cell's hint; with Processed it shows as given, and neither the column's
    // event nor the tool tip is asked.
    TDataHintShowEventEh OnDataHintShow;

protected:
    const char* ClassName() const override { return "TCustomDBGridEh"; }
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // A right-button release over a data column with a PopupMenu of its own pops that menu up.
    void DefaultHandler(TMessage& Message) override;

    // The virtual operations of the data grid (other concerns add theirs below).
    virtual bool AcquireFocus();
    virtual bool ShowsRowFocus();
    virtual bool EditorAlwaysShown();
    virtual std::unique_ptr<TColumnDefValuesEh> CreateColumnDefValuesObject();
    virtual std::unique_ptr<TDBGridColumnsEh> CreateColumnsObject();
    virtual int FilterRowInTitleArea();
    virtual int TitleRowsShown();
    virtual bool HasIndicatorColumn();
    virtual bool HoldsWindowFocus();
    virtual void RaiseCellClick(TColumnEh* Column);
    virtual bool RaiseCheckButton(int ACol, TColumnEh* Column);
    virtual void RaiseColEnter();
    virtual void RaiseColExit();
    virtual void NotifyDataSetChanged();
    virtual void MapColumnsToFields();
    virtual void RaiseTitleBtnClick(int ACol, TColumnEh* Column);
    virtual bool RaiseEditButtonClick();
    // Adds every field of the dataset to List.
    virtual void CollectDataSetFields(std::vector<TField*>& List);
    virtual void NotifyLinkActiveChanged(bool Active);
    virtual void NotifyDataSetScrolled(int Distance);
    virtual void NotifyRecordChanged(TField* Field);
    virtual void RefreshFocusLook();
    virtual void ApplyColumnWidths();
    virtual void RaiseTitleClick(TColumnEh* Column);
    virtual void FollowActiveRecord();
    virtual void UpdateHorzScrollBar();
    virtual void RecomputeRowMetrics();
    virtual void UpdateVertScrollBar();
    virtual bool MultiTitleInEffect();

    // Base-grid operations the data grid replaces.
    bool EditorAcceptsKey(Char Key) override;
    bool EditorMayModify() override;
    bool EditorAllowed() override;
    int EditorMaxLength() override;
    String GetCellEditMask(int ACol, int ARow) override;
    String GetCellEditText(int ACol, int ARow) override;
    bool TracksHoverAt(int ACol, int ARow) override;
    void ColumnRelocated(int FromIndex, int ToIndex) override;
    void AfterColWidthsChange() override;
    void AfterRowHeightsChange() override;
    void PutCellEditText(int ACol, int ARow, const String& Text) override;
    void StepAnchorCell(TGridScrollDirectionsEh Directions) override;

    // Layout steps.
    void RebuildLayout();
    int ComputeIndicatorWidth();
    int ComputeDefaultRowHeight();
    void MeasureTitleTree();
    // The memory-table interface is taken from the dataset or dropped.
    void UpdateMemTableLink();
    void UpdateRowScrollBar();

    // Cell drawing
    void PaintCell(int ACol, int ARow, TGridDrawState State, TRect ARect) override;
    virtual void PaintIndicatorCell(int ACol, int ARow, int AreaCol, int AreaRow, TRect ARect, TGridDrawState State,
                                    TCellAreaEh Area);
    virtual void PaintTitleCell(int ACol, int ARow, int AreaCol, int AreaRow, TRect ARect, TGridDrawState State,
                                TCellAreaEh Area);
    virtual void PaintDataCell(int ACol, int ARow, int AreaCol, int AreaRow, TRect ARect, TGridDrawState State,
                               TCellAreaEh Area);
    virtual void PaintFooterCell(int ACol, int ARow, int AreaCol, int AreaRow, TRect ARect, TGridDrawState State,
                                 TCellAreaEh Area);
    // Fixed cells with dghFixed3D, footers with dghFooter3D, data cells with dghData3D, frozen
    // data columns with dghFrozen3D.
    virtual bool UseCell3DLook(TCellAreaEh Area, int AreaCol);
    // Raised cells drawn by the theme: themes on and the grid not Flat.
    virtual bool UseCellThemedLook(bool Raised);
    virtual bool PickDataCellHighlight(int DataCol, int DataRow, TGridDrawState& State, TColor& Background,
                                       TFont* Font);
    virtual void PickFooterCellHighlight(TCellAreaEh Area, TGridDrawState State, TColor& Background, TFont* Font);
    // Whether the grid's selection holds the cell; the grid keeps no selection of records,
    // rectangles or columns, so none does.
    virtual bool CellInSelection(int ACol, int ARow, int DataCol);
    virtual void RaiseDrawColumnCell(const TRect& Rect, int DataCol, TColumnEh* Column, TGridDrawState State);
    virtual void RaiseDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State);
    // Title rows of a multi-level title leave their vertical lines to the title painter; a hidden
    // duplicate leaves out the line above it, so equal values read as one block.
    void QueryCellLines(int ACol, int ARow, bool& ExtendLine, TColor& LineColor, bool& DrawLine,
                        TGridCellLineKindEh LineKind) override;

    // Keyboard, mouse and scrolling
    void Dispatch(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void DoExit() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void HandleKeyDown(WORD& Key, TShiftState Shift);
    void HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void HandleMouseMove(TShiftState Shift, int X, int Y);
    void HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void HandleWMVScroll(TMessage& Message);
    // A new client size: the rows that fit, the vertical bar and the current cell in view.
    void HandleSizeChange();
    bool HandleWMSetCursor(TMessage& Message);
    void StartAutoScrollTimer(int Interval);
    void StopAutoScrollTimer();
    void PerformAutoScroll();
    void RestartSearchTimer();
    void StopSearchTimer();

    // Hints
    // The pause before the hint over the client point Pos: none over cells with tool tips.
    virtual void HandleHintShowPause(TPoint Pos, int& Pause);
    // Fills Info with the hint for its cursor position; False for none there.
    virtual bool HandleCMHintShow(THintInfo& Info);

    // Flat look and sizing line
    // Text margin 2 when Flat, else 4; the window is made again and the layout redone.
    void FlatChanged() override;
    // The base grid's options at run time; at design time the column sizing (and moving, with
    // persistent columns) a designer needs.
    TGridBaseOptionsEh EffectiveGridOptions() const;
    // The pixels a hint's text keeps free of its cell's width and height: 2 when Flat, else 4.
    int TextMargin() const { return FTextMargin; }
    // A cell's raised inner bevel, sunken when Pressed; Flat keeps the cell's brush colour
    // where the light edges would be.
    void Draw3DCellFrame(TCanvas* ACanvas, const TRect& ARect, bool Pressed);
    // The border of a scrolled column's title under (X, Y), within the sizing zone around it.
    struct TTitleSizingBorderEh {
        int Col = -1;     // grid column sized
        int Left = 0;     // its left edge
        int Border = 0;   // its right edge, or the client area's edge that cuts it
        int Offset = 0;   // Border - X
    };
    bool FindTitleSizingBorder(int X, int Y, TTitleSizingBorderEh& Found);
    // The dotted one-pixel sizing line in XOR at the sizing position: vertical across AHeight,
    // horizontal across AWidth while rows are sized. Drawn twice it is gone.
    void DrawDottedSizingLine(int AWidth, int AHeight);
    void DrawSizingLine(const TGridLayoutEh& Layout) override;

private:
    friend class TGridDataLinkEh;

    // The memory table's records changed as a whole.
    void MemTableRowsChanged(IMemTableEh* Table) override;

    void HandleRemovedComponent(TComponent* AComponent);
    bool PopUpColumnMenu(TPoint At);
    // Keeps dgColumnResize and the pair dghColumnResize, dghColumnMove in step.
    void SyncColumnSizingOptions(TDBGridOptions& NewOptions, TDBGridEhOptions& NewOptionsEh) const;
    void ApplyBaseOptions();
    void TitleFontChanged();
    void FooterFontChanged();
    void EndLayoutLevel();
    // A user's sizing of column Index under AutoFitColWidths moves the stretch bases.
    void RescaleStretchBases(int Index, int OldWidth, int NewWidth);

    // Layout steps (DBGridEhLayout.cpp).
    void RemoveDefaultColumnsAfterPersistent();
    void BindColumnsToMap();
    void RebuildVisibleColumns();
    int CountFrozenColumns() const;
    void ApplyColumnCounts(int Frozen);
    void ComputeRowHeightMetrics();
    int ComputeTitleRowHeight();
    void UpdateScrollBarWanting();
    void FitAutoWidthColumns();
    void UpdateFixedCellLineColor();
    void BuildTitleTree();

    // Row steps (DBGridEhRows.cpp).
    int RowPitch() const;
    int FixedRowsHeight();
    void SetRowCountKeepingCurrent(int Value);
    void RecomputeMemTableRowMetrics();
    void FollowMemTableRecord();
    void RepaintScrolledRows(int Distance, int OldRow);

    // Scroll-bar steps (DBGridEhScrolling.cpp).
    void ApplyVertScrollInfo(const TScrollInfo& Info);
    bool VertBarScrolls() const;
    // Rows between the fixed and the contra rows.
    int VisibleDataRowCount() const;

    // Keyboard, mouse and scrolling
    enum class TDBGridMouseModeEh : std::uint8_t {
        dmmNone,
        dmmSelectRows,
        dmmSelectColumns,
        dmmSelectRect,
        dmmSizeColumn  // from a title border; dghTraceColSizing sizes while moving, else on release
    };
    void NavigateRecordRows(bool Select, int Distance, bool ToEnd);
    bool InsertedRecordUntouched() const;
    bool AtDataEnd() const;
    bool CanAppendByKey() const;
    void RecordDownKey(TShiftState Shift);
    void RecordUpKey(TShiftState Shift);
    int TabColumnFrom(int Index, bool Forward) const;
    void ColumnTabKey(bool Forward);
    void DeleteRecordsByKey();
    bool HandleSearchKey(WORD Key, TShiftState Shift);
    bool HandleCtrlKey(WORD Key, TShiftState Shift);
    bool HandlePlainKey(WORD Key, TShiftState Shift);
    bool ClearCheckCell();
    bool CharStartsSearch() const;
    bool HandleCharMessage(TMessage& Message);
    bool HandleSearchTimer(WPARAM Id);
    bool IsTitleRow(int ARow);
    bool IsDataRow(int ARow);
    TColumnEh* ColumnAtGridCol(int ACol) const;
    bool InColumnSelectZone(int X, int Y);
    void PressColumnSelection(TColumnEh* Column, TShiftState Shift);
    void PressDataRow(TMouseButton Button, TShiftState Shift, TGridCoord Cell, TColumnEh* Column);
    void DragSelection(int X, int Y);
    bool StartTitleSizing(int X, int Y);
    void TrackTitleSizing(int X);
    void FinishTitleSizing();
    // Shows or takes away the line of an untraced title sizing.
    void ToggleTitleSizingLine();
    // The sized column's own new width: from its left edge to the sizing position.
    void ApplyTitleSizingWidth();
    void ClickTitleButton(int ACol, bool Ctrl);
    void EndPendingMultiSort();
    bool TitleActsAsButton(int ACol);
    void AutoScrollColumns(TPoint At, const TGridLayoutEh& Layout);
    bool HandleMouseWheel(TShiftState Shift, TPoint MousePos, int Direction);
    int ThumbPosition(int Code, int Position) const;
    bool IsOwnEditorWindow(HWND Window) const;
    void RunDeferredLayout();
    // Shows the vertical range as VertScrollBar says: on the window's bar or an external one.
    void ShowVertScrollInfo(const TScrollInfo& Info);

    std::unique_ptr<TDBGridColumnsEh> FColumns;
    std::unique_ptr<TColumnDefValuesEh> FColumnDefValues;
    std::unique_ptr<TColumnsEhList> FVisibleColumns;
    std::unique_ptr<TGridDataLinkEh> FDataLink;
    std::unique_ptr<TDBGridEhSumList> FSumList;
    std::unique_ptr<TColumnsEhList> FSortedColumns;
    std::unique_ptr<THeadTreeNode> FHeadTree;
    std::vector<THeadTreeNode*> FLeaves;
    std::unique_ptr<TFont> FTitleFont;
    std::unique_ptr<TFont> FFooterFont;
    TImageList* FTitleImages = nullptr;
    TDBGridOptions FDBOptions = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs |
                                dgConfirmDelete | dgCancelOnExit;
    TDBGridEhOptions FOptionsEh = dghFixed3D | dghHighlightFocus | dghClearSelection | dghDialogFind |
                                  dghColumnResize | dghColumnMove | dghExtendVertLines;
    TDBGridEhAllowedOperations FAllowedOperations = alopInsertEh | alopUpdateEh | alopDeleteEh | alopAppendEh;
    TDBGridEhAllowedSelections FAllowedSelections = gstRecordBookmarks | gstRectangle | gstColumns | gstAll;
    int FIndicatorCount = 1;
    bool FAutoFitColWidths = false;
    bool FReadOnly = false;
    bool FUseMultiTitle = false;
    bool FRowSizingAllowed = false;
    bool FDrawMemoText = false;
    bool FDrawGraphicData = false;
    bool FMemTableSupport = true;
    TColor FFooterColor = clWindow;
    TImeMode FImeMode = TImeMode::imDontCare;
    TImeName FImeName;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
    int FVTitleMargin = 10;
    int FRowHeight = 0;
    int FRowLines = 0;
    int FTitleHeight = 0;
    int FTitleLines = 0;
    int FFrozenCols = 0;
    int FFooterRowCount = 0;
    int FMinAutoFitWidth = 0;
    int FWantedContraCols = 0;
    int FDataRowHeight = 0;
    int FComputedTitleHeight = 0;
    int FIndicatorWidth = 0;
    int FEditButtonWidth = 0;
    int FEditButtonHeight = 0;
    bool FRowsHoldSeveralLines = false;
    int FLastWidthColumn = -1;
    TColor FFixedCellLineColor = clBlack;
    // Layout-lock and update-suppression counters.
    std::uint8_t FLayoutLock = 0;
    std::uint8_t FUpdateLock = 0;
    bool FDeferredLayoutQueued = false;
    bool FInDataSetChanged = false;
    bool FHorzBarWanted = true;
    bool FVertBarWanted = true;
    TScrollInfo FVertScrollInfo;
    bool FVertScrollInfoSet = false;
    String FEditText;
    Variant FEditValue;
    IMemTableEh* FMemTable = nullptr;
    int FSwitchedRow = -1;
    int FSavedRecord = -1;

    // Cell drawing
    // Display row Index holds the active record, also while another row's record is switched in.
    bool IsActiveRecordRow(int Index) const;
    // Display row AreaRow's record is among the selected rows.
    bool RowRecordSelected(int AreaRow);
    // The text Column's cell of display row Index shows after the cell-parameter events.
    String CellTextOfRow(TColumnEh* Column, int Index);
    // Display row Index repeats the text of the row above in Column, which hides duplicates.
    bool RepeatsRowAbove(TColumnEh* Column, int Index);
    // The grid's own contents of a data cell, after the advanced drawing events left it alone.
    void PaintDefaultDataCell(int ACol, int AreaCol, int AreaRow, const TRect& ARect, TGridDrawState State,
                              TCellAreaEh Area, TColumnEh* Column);

    TColCellParamsEh FCellParams;

    // Selection
    friend class TDBGridEhSelection;
    std::unique_ptr<TBookmarkListEh> FSelectedRows = std::make_unique<TBookmarkListEh>(this);
    std::unique_ptr<TDBGridEhSelection> FSelection = std::make_unique<TDBGridEhSelection>(this);

    // Keyboard, mouse and scrolling
    std::unique_ptr<THorzDBGridEhScrollBar> FHorzScrollBar = std::make_unique<THorzDBGridEhScrollBar>(this);
    std::unique_ptr<TVertDBGridEhScrollBar> FVertScrollBar = std::make_unique<TVertDBGridEhScrollBar>(this);
    TDBGridEhUnitUse FUnitUse;
    TDBGridEhStyle* FStyle = nullptr;
    TDBGridEhCenter* FCenter = nullptr;
    TDBGridEhSharedUse FSharedUse{this};
    TDBGridEhEditActions FEditActions;
    TColor FEvenRowColor = clWindow;
    TColor FOddRowColor = clWindow;
    bool FEvenRowColorSet = false;
    bool FOddRowColorSet = false;
    TDBGridEhEditButtonsShowOptions FEditButtonsShowOptions;
    // Whether the key or press being handled clears the selection (Shift up, dghClearSelection).
    bool FInputClearsSelection = false;
    // The record where a Shift-extension of selected rows started.
    TBookmark FRowAnchor;
    bool FRowAnchorActive = false;
    bool FInColumnExit = false;
    TDBGridMouseModeEh FDBMouseMode = TDBGridMouseModeEh::dmmNone;
    int FTitleSizingLeft = 0;
    TGridCoord FPressCell{-1, -1};
    TShiftState FPressShift;
    int FPressedTitleCol = -1;
    bool FTitleButtonPressed = false;
    bool FTitleLookPressed = false;
    bool FPendingSelectedRowClick = false;
    bool FCheckCellPressed = false;
    // A Ctrl title click reports the sort marking when Ctrl goes up or the focus leaves.
    bool FPendingMultiSort = false;
    int FAutoScrollInterval = -1;
    bool FThumbTracked = false;
    bool FInSearch = false;
    String FSearchText;
    int FSearchTimeout = -1;
    bool FSearchTimerRunning = false;
    Char FPendingHighSurrogate;

    // Sizes from the data
    // The widest footer text of Column (data column DataCol), after OnGetFooterParams.
    int FooterWidth(TCanvas* Canvas, TColumnEh* Column, int DataCol);
    // Back to the record a width fitting started on, with the controls shown again.
    static void RestoreFitPosition(TDataSet* DataSet, const TBookmark& Saved);

    // Hints
    // A cell's text as a tool tip would show it.
    struct TCellToolTipEh {
        String Text;
        TRect CellRect;
        TRect TextRect;
        TAlignment Alignment = TAlignment::taLeftJustify;
        bool WordWrap = false;
        // The text rectangle ends before the cell does (edit buttons).
        bool CutShort = false;
        TFont Font;
    };
    // The grid's, then the column's OnDataHintShow over a data cell; True when one processed the
    // hint (Info then holds it).
    bool RaiseDataHintShow(TColumnEh* Column, TGridCoord Cell, THintInfo& Info);
    bool PrepareTitleToolTip(TColumnEh* Column, int AreaCol, TPoint CursorPos, TCellToolTipEh& Tip);
    bool PrepareDataToolTip(TColumnEh* Column, int AreaRow, TPoint CursorPos, TCellToolTipEh& Tip);
    bool PrepareFooterToolTip(TColumnEh* Column, int AreaCol, int AreaRow, TCellToolTipEh& Tip);
    bool ToolTipTextOverflows(TCellToolTipEh& Tip);
    static TRect PartUnderPointer(const TCellToolTipEh& Tip, TPoint CursorPos);
    // Shows the tip over its text when the text does not fit; False when it fits.
    bool PlaceToolTip(TCellToolTipEh& Tip, THintInfo& Info);
    std::unique_ptr<TToolTipsWindow> FToolTipsWindow;

    // Parent font and colour
    // With ParentFont the title and footer fonts take the grid's font too.
    void FollowParentFont();
    bool FFollowingParentFont = false;

    // Flat border
    // Flat with Ctl3D: no sunken edge, but a flat one-pixel border with a single border style.
    void AdjustCreateParams(TCreateParams& Params);
    void PaintFlatBorder(HDC DC);
    int FFlatBorderWidth = 0;
    int FTextMargin = 4;
};

// The grid the application's windows hold.
class TDBGridEh : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    const char* ClassName() const override { return "TDBGridEh"; }
};

// The grid asks itself to take the focus back after leaving it failed.
constexpr unsigned CM_REFOCUS_GRID = WM_USER + 101;
// Edge points count as inside.
bool PointWithinRect(TPoint Point, const TRect& Rect);
