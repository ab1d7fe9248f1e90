#pragma once
// The data grid's columns: the grid-wide column defaults, titles (with the multi-level title
// tree built from "A|B" captions), footers kept in step with the grid's sum list, a column's
// drop-down box and filter settings, the column and its collection, the legacy stored
// properties and stored column sets.
//
// Most column properties are soft: until the column holds a value of its own, the property reads
// a default from the field, the grid or the grid's ColumnDefValues; only own values are stored.
// Which properties hold own values is the column's assigned-values set.
#include "controls/GridsEh.h"
#include "controls/PropFilerEh.h"
#include "controls/ToolCtrlsEh.h"
#include "datagrid/DBGridEhCellParams.h"
#include "datagrid/DBGridEhTypes.h"
#include "datagrid/DBSumLst.h"
#include "datagrid/DbUtilsEh.h"
#include "editors/DBCtrlsEh.h"
#include "platform/core/Alignment.h"
#include "platform/core/Collection.h"
#include "platform/core/StringList.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Label.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

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
    // The operand of the first and the second condition as the dataset's filter compares it: the
    // key, where a list turned the typed text into one.
    virtual Variant KeyValue1() const { return FExpression.Operand1; }
    virtual Variant KeyValue2() const { return FExpression.Operand2; }

    // --- The filter row's condition and list state (DBGridEhColumnFilterExpr.cpp) -------------
    // The last text given to SetExpressionText, kept also when it did not parse.
    const String& TypedText() const { return FTypedText; }
    const Variant& KeyValue() const { return FKeyValue; }
    void SetKeyValue(const Variant& Value) { FKeyValue = Value; }
    // The drop-down's size as the user last sized it: width 0 unset, 15 rows at creation.
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value) { FDropDownWidth = Value; }
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int Value) { FDropDownRows = Value; }
    // One mark per drop-down item, 1 = checked; the value item under a held button, -1 none;
    // whether a value item runs, and whether it keeps the other marks (a mouse or Space toggle).
    std::vector<std::uint8_t>& Marks() { return FMarks; }
    int PressedItem() const { return FPressedItem; }
    void SetPressedItem(int Value) { FPressedItem = Value; }
    bool Executing() const { return FExecuting; }
    void SetExecuting(bool Value) { FExecuting = Value; }
    bool KeepMarks() const { return FKeepMarks; }
    void SetKeepMarks(bool Value) { FKeepMarks = Value; }
    // KeyField, ListField and the list dataset, else those of the column's lookup field.
    String EffectiveKeyField() const;
    String EffectiveListField() const;
    TDataSet* EffectiveListDataSet() const;
    // Parses Text into the condition and keeps it as typed; with a key list in effect each
    // operand becomes its key. A text that does not parse is kept for correction, the
    // condition in force stays and the parser's error is raised.
    virtual void SetExpressionText(const String& Text);
    // Parses Text by the column's value kind and default operator, recodes pick-list texts to
    // their keys and gives the condition's own text in ExprText.
    void ParseExpressionText(const String& Text, String& ExprText);
    // Operand texts found in the column's PickList become the KeyList entry at that index.
    virtual void RecodeKeyList();
    // SetExpressionText, then the grid repaints and a shown filter editor reloads.
    void ApplyExpressionText(const String& Text);
    // Key value Null and an empty condition.
    void ClearFilter();
    // The text of Value (a list joined by ","), each key turned into its list text, quoted
    // where the filter language would read it otherwise.
    void ValuesAsFilterText(const Variant& Value, TSTFilterCompareKindEh Operator, String& Text) const;
    // The checked value items of Items become the condition: one "='x'", several "in (...)",
    // none an empty one; a shown editor follows and InstantApply applies the filter row.
    void ApplyCheckedItems(TStrings* Items);
    // Marks the value items of Items whose text is among the condition's chosen values.
    void MarkItemsFromExpression(TStrings* Items);

protected:
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TSTColumnFilterEh"; }

private:
    class TListSourceWatch;
    void ListSourceFreed();
    // The list source or its field changed: the column's cached value list goes.
    void ListDataChanged();

    TColumnEh* FColumn;
    String FDataField;
    String FKeyField;
    String FListField;
    TDataSource* FListSource = nullptr;
    bool FVisible = true;
    std::unique_ptr<TListSourceWatch> FWatch;
    TSTFilterExpressionEh FExpression;
    // The filter row's state
    String FTypedText;
    Variant FKeyValue = Variant::Null();
    int FDropDownWidth = 0;
    int FDropDownRows = 15;
    std::vector<std::uint8_t> FMarks;
    int FPressedItem = -1;
    bool FExecuting = false;
    bool FKeepMarks = false;
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

// What a column's drop-down box settings reach of the column's drop-down grid.
class TPopupDataGridEh;
class IDropDownGridOwnerEh {
public:
    // The list's source changed: the grid hears when it is freed.
    virtual void ListSourceChanged(TDataSource* Source) = 0;
    virtual TPopupDataGridEh* DropDownGrid() = 0;
    virtual TDBLookupGridEhOptions GetDropDownOptions() = 0;
    virtual void SetDropDownOptions(TDBLookupGridEhOptions Value) = 0;

protected:
    ~IDropDownGridOwnerEh() = default;
};

// Fills the filter drop-down of Column with Items; Processed skips the later fillers.
using TFillSTFilterListValuesEventEh =
    std::function<void(TCustomDBGridEh* Sender, TColumnEh* Column, TStrings* Items, bool& Processed)>;

class TColumnEh : public TCollectionItem, public IDropDownGridOwnerEh {
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
    // Row panel mode: the panel line the cell starts on (a negative value reads as 0) and the
    // lines it spans (a value below 1 reads as 1); a change re-lays out every column.
    int InRowLinePos() const { return FInRowLinePos < 0 ? 0 : FInRowLinePos; }
    void SetInRowLinePos(int Value);
    int InRowLineHeight() const { return FInRowLineHeight < 1 ? 1 : FInRowLineHeight; }
    void SetInRowLineHeight(int Value);
    // Where the last row panel layout put the cell inside the panel: its title part and its
    // data part alike.
    const TRect& RowPanelRect() const { return FRowPanelRect; }
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
    // A text the cell's pick list or lookup list does not hold is about to be stored; the
    // handler may add it, and with RecheckInList set the lists are searched again.
    TNotInListEventEh OnNotInList;
    // The cell editor's main button: pressed (Handled keeps the drop-down shut) and clicked.
    TButtonDownEventEh OnEditButtonDown;
    TButtonClickEventEh OnEditButtonClick;

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
    // Fills the column's filter drop-down after the grid's handler left it unprocessed.
    TFillSTFilterListValuesEventEh OnFillSTFilterListValues;

    // Sizes from the data (DBGridEhColumnFit.cpp).
    // The width the column takes in the grid: Width, plus the tree indent of a first visible
    // column; the grid draws no tree column, so that indent is 0.
    int WidthWithIndent() const;
    // The row height the current record needs in this column with dghAutoFitRowHeight, else
    // the grid's data row height; 0 without a grid.
    int RequiredRowHeight() const;
    // Whether a cell Height high holds more than one line of the column's font.
    bool IsTallerThanOneLine(int Height) const;
    // Sets Width to what the column's title, data and footers need.
    virtual void FitWidthToData();

    // Drop-down grid (DBGridEhDropDownGrid.cpp)
    // The drop-down lookup grid, made on first need (no owner, named "DataList"); every call
    // hands it the column's current drop-down settings.
    TPopupDataGridEh* ObtainDropDownGrid();
    void ListSourceChanged(TDataSource* Source) override;
    TPopupDataGridEh* DropDownGrid() override { return ObtainDropDownGrid(); }
    TDBLookupGridEhOptions GetDropDownOptions() override;
    void SetDropDownOptions(TDBLookupGridEhOptions Value) override;

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
    int FInRowLinePos = 0;
    int FInRowLineHeight = 1;
    TRect FRowPanelRect;
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

    // Drop-down grid: the grid with the source of a lookup field's list, freed where both are known.
    struct TDropDownGridEh;
    struct TDropDownGridDeleterEh {
        void operator()(TDropDownGridEh* DropDown) const;
    };
    std::unique_ptr<TDropDownGridEh, TDropDownGridDeleterEh> FDropDownGrid;
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
