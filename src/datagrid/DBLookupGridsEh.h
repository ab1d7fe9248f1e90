#pragma once
// DBLookupGridsEh: the lookup grid, a data grid over a list dataset whose chosen record's key
// becomes its KeyValue (and the bound field's value), with a special row above the records for
// a value outside the list; and the popup data grid, the lookup grid in a drop-down window with
// a size grip that never takes the focus.
//
// Where the operations live:
//   DBLookupGridsEhColumns.cpp  the special cell of a column, the lookup columns and defaults
//   DBLookupGridsEhGrid.cpp     construction, the bound and the list fields, the key value
//   DBLookupGridsEhInput.cpp    keys, type-ahead, the mouse, the wheel and auto-scroll
//   DBLookupGridsEhLook.cpp     heights fitted to rows, the special row's cells, highlights
//   DBLookupGridsEhPopup.cpp    the popup data grid
#include "datagrid/DBGridEh.h"

#include "controls/ToolCtrlsEhData.h"
#include "controls/ToolCtrlsEhPopups.h"
#include "platform/data/DataLink.h"
#include "platform/data/DataSource.h"

#include <memory>
#include <vector>

class TDBLookupGridEh;

// The link to the bound (edited) dataset: its changes reach the grid's key value.
class TLookupGridDataLinkEh : public TDataLink {
public:
    explicit TLookupGridDataLinkEh(TDBLookupGridEh* Grid) : FGrid(Grid) {}

protected:
    void ActiveChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void FocusControl(TField** Field) override;

private:
    TDBLookupGridEh* FGrid;
};

class TDBLookupGridColumnEh;

// A column's cell of the special row: each property, until assigned, reads the grid's special
// row (its Color, its Font, its cell text at the column's index).
class TGridColumnSpecCellEh : public TPersistent {
public:
    explicit TGridColumnSpecCellEh(TDBLookupGridColumnEh* Column);
    ~TGridColumnSpecCellEh() override;
    void Assign(TPersistent* Source) override;

    String Text() const;
    void SetText(const String& Value);
    TColor Color() const;
    void SetColor(TColor Value);
    TFont* Font() const;
    void SetFont(TFont* Value);
    bool TextAssigned() const { return FTextAssigned; }
    bool ColorAssigned() const { return FColorAssigned; }
    bool FontAssigned() const { return FFontAssigned; }

protected:
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TGridColumnSpecCellEh"; }

private:
    TSpecRowEh* GridSpecRow() const;

    TDBLookupGridColumnEh* FColumn;
    String FText;
    TColor FColor = clWindow;
    std::unique_ptr<TFont> FFont;
    bool FTextAssigned = false;
    bool FColorAssigned = false;
    bool FFontAssigned = false;
    mutable bool FRefreshingFont = false;
};

class TDBLookupGridColumnEh : public TColumnEh {
public:
    explicit TDBLookupGridColumnEh(TCollection* Collection);
    ~TDBLookupGridColumnEh() override;
    void Assign(TPersistent* Source) override;

    TGridColumnSpecCellEh* SpecCell() const { return FSpecCell.get(); }
    void SetSpecCell(TGridColumnSpecCellEh* Value) { FSpecCell->Assign(Value); }
    TDBLookupGridEh* LookupGrid() const;

protected:
    const char* ClassName() const override { return "TDBLookupGridColumnEh"; }

private:
    std::unique_ptr<TGridColumnSpecCellEh> FSpecCell;
};

class TDBLookupGridColumnDefValuesEh : public TColumnDefValuesEh {
public:
    using TColumnDefValuesEh::TColumnDefValuesEh;

protected:
    const char* ClassName() const override { return "TDBLookupGridColumnDefValuesEh"; }
};

// The lookup grid. Its own DataSource, the data grid's, is ListSource: the list dataset whose
// records it shows; DataSource and DataField name the bound field that receives the key. A
// lookup field as DataField brings the list dataset, KeyField and the list field itself.
class TDBLookupGridEh : public TCustomDBGridEh {
public:
    explicit TDBLookupGridEh(TComponent* AOwner);
    ~TDBLookupGridEh() override;

    // --- Binding ------------------------------------------------------------------------------
    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* Value);
    const String& DataField() const { return FDataFieldNames; }
    void SetDataField(const String& Value);
    TDataSource* ListSource() const { return TCustomDBGridEh::DataSource(); }
    void SetListSource(TDataSource* Value);
    // The grid's own data link: the list dataset's.
    TGridDataLinkEh* ListDataLink() const { return DataLink(); }
    const String& KeyField() const { return FKeyFieldNames; }
    void SetKeyField(const String& Value);
    const String& ListField() const { return FListFieldNames; }
    void SetListField(const String& Value);
    int ListFieldIndex() const { return FListFieldIndex; }
    void SetListFieldIndex(int Value);
    // One value, a variant array for several key fields, Null for none.
    const Variant& KeyValue() const { return FKeyValue; }
    void SetKeyValue(const Variant& Value) { ChangeKeyValue(Value); }
    bool ListActive() const { return FListActive; }
    // The list is active and holds a record or the key is not Null.
    bool HasValue() const { return FHasValue; }
    bool LookupMode() const { return FLookupMode; }
    TField* ListFieldObject() const { return FListField; }
    // The selected item's text: the list field's, the special row's, or empty for a key the
    // list does not hold.
    const String& DisplayText() const { return FDisplayText; }
    bool ReadOnly() const { return FDataLink.ReadOnly(); }
    void SetReadOnly(bool Value) { FDataLink.SetReadOnly(Value); }

    // --- Look ---------------------------------------------------------------------------------
    TSpecRowEh* SpecRow() const { return FSpecRow.get(); }
    void SetSpecRow(TSpecRowEh* Value) { FSpecRow->Assign(Value); }
    // The special row stands for the key value now.
    bool SpecRowSelected() const { return FSpecRowSelected; }
    TDBLookupGridEhOptions LookupOptions() const { return FLookupOptions; }
    void SetLookupOptions(TDBLookupGridEhOptions Value);
    bool ShowTitles() const { return Options().Contains(dgTitles); }
    void SetShowTitles(bool Value);
    void SetUseMultiTitle(bool Value);
    bool AutoFitColWidths() const { return FListAutoFitColWidths; }
    void SetAutoFitColWidths(bool Value);
    // The data rows the height is fitted to (1..100).
    int Rows() const { return FRows; }
    void FitHeightToRows(int ARows);
    int ColumnsTotalWidth();
    int TitleRowsHeight();
    void DataAreaRect(TRect& Rect);
    // The search text typed so far.
    const String& SearchText() const { return FSearchText; }

    // --- Choosing -----------------------------------------------------------------------------
    void SelectCurrentRecord();
    void SelectSpecRow();
    void SelectRowAtPoint(int X, int Y);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;

    // The lookup grid's operations, in the order of their slots.
    virtual bool CanModifyKey();
    virtual bool MayLocateKey(const String& KeyFields, const Variant& Value);
    virtual int BorderSize();
    virtual int SpecRowHeight();
    virtual int DataRowHeight();
    virtual void KeyValueChanged();
    virtual void ListLinkUpdated();
    virtual void ProcessSearchKey(Char Key);
    virtual void SelectKeyValue(const Variant& Value);
    virtual void SpecRowChanged();
    virtual void UpdateListLayout();
    virtual void UpdateDataFields();
    virtual void UpdateListFields();
    virtual bool LocateKey();

protected:
    friend class TLookupGridDataLinkEh;
    const char* ClassName() const override { return "TDBLookupGridEh"; }
    static std::unique_ptr<TColumnDefValuesEh> CreateColumnDefValuesObject(TCustomDBGridEh* Grid);
    static std::unique_ptr<TDBGridColumnsEh> CreateColumnsObject(TCustomDBGridEh* Grid);

    void ChangeKeyValue(const Variant& Value);
    void DataRecordChanged(TField* Field);
    // The current list record's key values (an array for several key fields).
    Variant ListRecordKey() const;
    // Row Index of the list's buffer holds the record of KeyValue.
    bool BufferRowHoldsKey(int Index);
    // The buffer row of KeyValue's record, -1 when none.
    int KeyBufferRow();
    TDataSet* ListDataSet() const;
    bool SpecRowShown() const { return FSpecRow->Visible(); }
    // The grid is a drop-down (set by the popup data grid): a click does not focus it.
    void SetPopup(bool Value) { FPopup = Value; }
    // A press is choosing rows: the pointer selects the row under it until the release.
    bool Tracking() const { return FTracking; }
    // (X, Y) is on a record's row or on the shown special row.
    bool PointOnDataOrSpecRow(int X, int Y);

    // Data grid operations it replaces.
    void AfterColWidthsChange() override;
    bool ShowsRowFocus() override { return FRowFocus; }
    bool UseCell3DLook(TCellAreaEh Area, int AreaCol) override;
    int FilterRowInTitleArea() override;
    void NotifyDataSetChanged() override;
    void MapColumnsToFields() override;
    // The special row takes the row under the titles, where a filter row would be.
    void PaintTitleCell(int ACol, int ARow, int AreaCol, int AreaRow, TRect ARect, TGridDrawState State,
                        TCellAreaEh Area) override;
    void CollectDataSetFields(std::vector<TField*>& List) override;
    void NotifyLayoutChanged() override;
    void NotifyLinkActiveChanged(bool Active) override;
    void NotifyDataSetScrolled(int Distance) override;
    void PerformAutoScroll() override;
    void FollowActiveRecord() override;
    void RecomputeRowMetrics() override;
    bool PickDataCellHighlight(int DataCol, int DataRow, TGridDrawState& State, TColor& Background,
                               TFont* Font) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
    void CheckNotInLookupMode();
    void CheckNotCircular();
    void MoveListByKey(WORD Key);
    void StopTracking();
    void PaintSpecRowCell(int AreaCol, TRect ARect);

    // Binding
    String FDataFieldNames;
    std::vector<TField*> FDataFields;
    TLookupGridDataLinkEh FDataLink{this};
    String FKeyFieldNames;
    std::vector<TField*> FKeyFields;
    bool FRowFocus = false;
    bool FHasValue = false;
    Variant FKeyValue = Variant::Null();
    bool FListActive = false;
    TField* FListField = nullptr;
    int FListFieldIndex = 0;
    String FListFieldNames;
    std::vector<TField*> FListFields;
    bool FSelecting = false;
    bool FLookupMode = false;
    std::unique_ptr<TDataSource> FLookupSource;
    String FKeyDataFieldNames;
    std::vector<TField*> FKeyDataFields;

    // State of the list and the input
    bool FTracking = false;
    TPoint FTrackPoint;
    bool FPopup = false;
    int FRows = 7;
    String FSearchText;
    String FDisplayText;
    std::unique_ptr<TSpecRowEh> FSpecRow;
    bool FSpecRowSelected = false;
    TDBLookupGridEhOptions FLookupOptions = dlgColLinesEh;
    int FSpecRowHeight = 0;
    bool FListAutoFitColWidths = false;
    bool FInLayoutUpdate = false;
    bool FInMetricsUpdate = false;
};

using TCloseUpEventEh = std::function<void(TObject* Sender, bool Accept)>;

// The drop-down of a lookup or key-list cell: a lookup grid in a window of its own that follows
// the mouse, never takes the focus and tells its owner when the user closes it.
//
// How an owner (an in-place editor) uses it: set ListSource, KeyField, ListField and KeyValue,
// then DropDownUnder(the cell's screen rectangle, alignment); while it shows, pass it the keys
// the edit receives (ForwardKey: arrows, pages, Home, End; typed characters for the type-ahead)
// and the wheel (ForwardWheel). OnCloseUp(Accept) reports a click on a row (true) or a release
// outside (false); Enter and Esc the owner handles itself: CloseUp(true/false). On an accepting
// close the owner reads KeyValue.
class TPopupDataGridEh : public TDBLookupGridEh {
public:
    explicit TPopupDataGridEh(TComponent* AOwner);
    ~TPopupDataGridEh() override;

    TSizeGripEh* SizeGrip() const { return FSizeGrip; }
    // Set at every size change; the owner clears it and keeps the user's size.
    bool Resized() const { return FResized; }
    void SetResized(bool Value) { FResized = Value; }

    // Shows the grid under (or above, when there is more room there) the screen rectangle Rect,
    // at least as wide as it, without taking the activation.
    void DropDownUnder(const TRect& Rect, TDropDownAlign Alignment);
    // Hides the grid and fires OnCloseUp.
    void CloseUp(bool Accept);
    // A key or character the owner's edit received; true when the grid used it.
    bool ForwardKey(WORD Key, TShiftState Shift);
    bool ForwardChar(Char Key);
    // A wheel turn over the owner's edit: negative WheelDelta turns it down.
    void ForwardWheel(int WheelDelta);

    bool CanFocus() const override { return false; }
    // A new size below one scroll-bar width by one scroll-bar height is raised to that.
    void CheckNewSize(int& NewWidth, int& NewHeight);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;

    TCloseUpEventEh OnCloseUp;
    // A key value change by the user inside the grid (keys, clicks, pointer moves).
    TNotifyEvent OnUserKeyValueChange;

protected:
    const char* ClassName() const override { return "TPopupDataGridEh"; }
    void CreateParams(TCreateParams& Params) override;
    void PaintFlatBorder(HDC DC) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyValueChanged() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TSizeGripEh* FSizeGrip = nullptr;
    bool FResized = false;
    bool FUserAction = false;
    bool FPressedInList = false;
};
