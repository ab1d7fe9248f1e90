#pragma once
// The data grid class: the data link that feeds it, its events, TCustomDBGridEh and TDBGridEh.
#include "controls/GridsEh.h"
#include "controls/ToolCtrlsEh.h"
#include "datagrid/DBGridEhCellParams.h"
#include "datagrid/DBGridEhColumns.h"
#include "datagrid/DBGridEhGroups.h"
#include "datagrid/DBGridEhFilterRow.h"
#include "datagrid/DBGridEhIndicatorTitle.h"
#include "datagrid/DBGridEhRowDetail.h"
#include "datagrid/DBGridEhRowPanel.h"
#include "datagrid/DBGridEhScrollBars.h"
#include "datagrid/DBGridEhSearch.h"
#include "datagrid/DBGridEhSelection.h"
#include "datagrid/DBGridEhUnit.h"
#include "datagrid/DBSumLst.h"
#include "datagrid/MemTableEh.h"
#include "editors/DBCtrlsEh.h"
#include "platform/data/DataLink.h"
#include "platform/ui/Messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// --- The grid -----------------------------------------------------------------------------------

class IMemTableEh;
class TInplaceFilterEditEh;
class TPopupListboxEh;
class TSTDBGridEhFilter;
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
    bool FEnabled = false;         // the last event told the controls they are enabled again
    bool FChangeAtEnable = false;  // the layout change under way is the one kept while disabled
    TBookmark FLastBookmark;
};

using TDBGridEhColumnEvent = std::function<void(TObject* Sender, TColumnEh* Column)>;
using TDBGridEhCheckButtonEvent = std::function<void(TObject* Sender, int ACol, TColumnEh* Column, bool& Enabled)>;
using TDBGridEhColumnMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TDBGridEhTitleBtnClickEvent = std::function<void(TObject* Sender, int ACol, TColumnEh* Column)>;
using TDBGridEhEditButtonClickEvent = std::function<void(TObject* Sender, bool& Handled)>;
using TDBGridEhGetRowHeightEvent = std::function<void(TObject* Sender, int& Height)>;
using TDBGridEhIndicatorTitleMouseDownEvent =
    std::function<void(TObject* Sender, TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y)>;

// The private message that runs a deferred layout rebuild.
constexpr unsigned WM_DEFERRED_LAYOUT_EH = WM_USER + 100;

// The data grid: a base grid whose rows are the records of the dataset behind its DataSource
// and whose data columns are TColumnEh objects bound to the dataset's fields by name. The
// indicator column, when shown, comes before them; the title row (and a filter row under it)
// above them; footer rows are pinned to the bottom as contra rows.
// Where its operations live: the map at the top of DBGridEh.h.
class TCustomDBGridEh : public TCustomGridEh, public IInplaceEditHolderEh, private IMemTableDataObserverEh {
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
    void RebuildSortIndexList();
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
    int FocusedColumnIndex() const { return FRowPanel->Active() ? FFocusedPanelColumn : GridColToDataCol(Col()); }
    TColumnEh* FocusedColumn() const;
    TField* FocusedColumnField() const;
    void FocusDataColumn(int Index);
    // The height of a data row as the last rebuild computed it (text height and margins).
    int ComputedRowHeight() const { return FDataRowHeight; }
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
    // A vertical scroll message over a memory table: by rows, or with SmoothStep by pixels.
    void ScrollMemTableByBar(TMessage& Message);
    bool HasMemTableLink() const { return FMemTable != nullptr; }
    bool IsMemTableMode() const { return HasMemTableLink(); }
    bool UsesMemTableScrolling() const;
    IMemTableEh* MemTable() const { return FMemTable; }
    // The memory table shows its records as a tree: the first visible column carries each row's
    // outline (DBGridEhTreeColumn.cpp).
    bool MemTableTreeMode() const;
    // Display data row Index's outline width: its tree level x 18; 0 outside tree mode.
    int MemTableTreeIndent(int Index) const;
    // The current record's outline width when Column is the first visible column, else 0.
    int CurrentRecordTreeIndent(const TColumnEh* Column) const;
    // The tree level a record drop at the client point At on display row Row gives, and the
    // drop marker's left; -1 outside tree mode.
    int DropTreeLevelAt(int Row, TPoint At, int& MarkerX);
    // The point lies on a row's outline; unless CheckOnly, a point on its node sign expands or
    // collapses the node.
    bool ToggleTreeNodeAt(int X, int Y, bool CheckOnly);
    // Width plus or minus the group indent for the first visible column, Width for the others.
    int ColumnWidthWithIndent(const TColumnEh* Column, int Width) const;
    int ColumnWidthWithoutIndent(const TColumnEh* Column, int Width) const;

    // Records dragged by their indicator cell with dghRecordMoving (DBGridEhRecordDrag.cpp).
    using TGridMoveRecordsEventEh =
        std::function<bool(TObject* Sender, TBMListEh* BookmarkList, int ToRecNo, int TreeLevel, bool CheckOnly)>;
    // Moves the records in place of DefaultMoveRecords; with CheckOnly only answers whether it may.
    TGridMoveRecordsEventEh OnMoveRecords;
    // A press at (X, Y) on the indicator of a record row (a selected one while records may be
    // selected) starts a drag of the record, or of all selected ones; True when it does.
    virtual bool BeginRecordDrag(int X, int Y, bool CheckOnly);
    virtual bool MayStartRecordDrag() { return true; }
    bool RecordDragging() const { return FDBMouseMode == TDBGridMouseModeEh::dmmRecordDrag; }
    // The display row and tree level a drop would now go to.
    int RecordDragTargetRow() const { return FRecordDrag.TargetRow; }
    int RecordDragTargetLevel() const { return FRecordDrag.TargetLevel; }
    void TrackRecordDrag(int X, int Y);
    void FinishRecordDrag(int X, int Y, bool Drop);
    // Moves the selected records, or the dragged one, to data row ToRow at TreeLevel.
    bool MoveDraggedRecords(int ToRow, int TreeLevel, bool CheckOnly);
    bool MoveRecords(TBMListEh* Bookmarks, int ToRow, int TreeLevel, bool CheckOnly);
    // The memory table's own move; else the centre's, with the view kept where it was.
    virtual bool DefaultMoveRecords(TBMListEh* Bookmarks, int ToRecNo, int TreeLevel, bool CheckOnly);
    // The record number of data row Row: the row's RecNo, Row + 1 with a memory table, 0 without
    // an active link.
    int RecordNoOfBufferRow(int Row);
    // What an external horizontal scroll bar shows: range 0..127 (0..0 when every column fits),
    // the scrolled columns shown as page, LeftCol mapped onto the range as position.
    TScrollInfo ComputeHorzScrollInfo() const;

    // --- Editing ----------------------------------------------------------------------------
    // The text the update step writes to the focused field; the cell editor sets it with what
    // a drop-down or a completion put in place.
    const String& EditedText() const { return FEditText; }
    void SetEditedText(const String& Value) { FEditText = Value; }
    // The key a lookup cell's editor chose; the update step writes it to the key fields.
    const Variant& EditedKeyValue() const { return FEditValue; }
    void SetEditedKeyValue(const Variant& Value) { FEditValue = Value; }
    // Puts the dataset in edit state for the focused cell when it may be edited.
    bool TryBeginCellEdit();
    // The update step: writes the edited text to the focused column's field.
    void StoreEditorTextInField();
    void ReloadAllEditors();
    // The cell editor raises the edit-button click and hands the grid its shortcut keys.
    friend class TDBGridInplaceEdit;

    // --- Sizes from the data (DBGridEhColumnFit.cpp) ----------------------------------------
    // The largest height a visible column's cell needs for the current record, then
    // OnGetRowHeight; the data row height without visible columns.
    int ContentRowHeight();
    // Widens or narrows each of Columns to what its title, every record's cell and its footers
    // need; nothing without an active link.
    void OptimizeColsWidth(TColumnsEhList* Columns);
    // Fits the selected columns with Column (gstColumns), every column (gstAll), else Column.
    void OptimizeSelectedColsWidth(TColumnEh* Column);
    // The current record and its screen row, saved before a walk over every record and restored
    // after it (DBGridEhViewPosition.cpp).
    struct TGridViewPositionEh {
        TBookmark Bookmark;
        int Offset = 0;  // the current record's distance from the saved one
    };
    TGridViewPositionEh SaveViewPosition();
    void RestoreViewPosition(const TGridViewPositionEh& Saved);

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
    bool InIncrementalSearch() const { return FSearch.Active; }
    const String& IncrementalSearchText() const { return FSearch.Text; }
    // Extends the search text by Text and looks for it in the focused column; Timeout in ms,
    // negative for none.
    void ExtendIncrementalSearch(const String& Text, int Timeout, TLocateTextDirectionEh Direction);
    void EndIncrementalSearch();
    // Moves to the record whose cell in Column matches Text; False (and the record kept) when
    // there is none.
    virtual bool LocateTextInColumn(TColumnEh* Column, const String& Text, TLocateTextMatchTypeEh Match,
                                    TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options);

    // The find dialog (DBGridEhFindDlgs.cpp): opened through the centre, modal as asked here.
    void OpenFindDialog(const String& Text, TColumnEh* Column);
    virtual bool UseModalFindDialog();

    // Edit actions: the standard copy, cut, paste, delete and select-all commands.
    // Whether Action (one member) is in EditActions and the grid's state allows it now.
    bool CanRunEditAction(TDBGridEhEditActions Action) const;
    // Runs Action on the selection when CanRunEditAction allows it; True when it ran.
    bool RunEditAction(TDBGridEhEditActions Action);
    // The standard edit actions of a menu or a tool bar: the data link may serve them first;
    // else, while the grid is focused, they run (and are enabled) as their EditActions member.
    bool ExecuteAction(TBasicAction* Action) override;
    bool UpdateAction(TBasicAction* Action) override;

    // Filter row: the grid's filter settings, the filter cells, their editor and drop-downs
    // (DBGridEhFilterRow.cpp, DBGridEhFilterEdit.cpp, DBGridEhFilterKeys.cpp).
    TSTDBGridEhFilter* STFilter() const { return FSTFilter.get(); }
    void SetSTFilter(TSTDBGridEhFilter* Value);
    // Replaces the centre's application of the filter row.
    TNotifyEvent OnApplyFilter;
    // Fills a filter drop-down before the column's handler and the centre's default.
    TFillSTFilterListValuesEventEh OnFillSTFilterListValues;
    // The filter row under the titles is shown.
    bool FilterRowUnderTitles() const;
    // Data column Index is shown and takes part in the filter row.
    bool ColumnHasFilterCell(int Index) const;
    String FilterCellText(int Index) const;
    // ARow is the filter row (the last row above the data).
    bool IsFilterRowPoint(int ACol, int ARow, TPoint Point);
    bool FilterRowActive() const { return FFilterRowActive; }
    void SetFilterRowActive(bool Value);
    // The data column whose filter cell is active; -1 when none.
    int FilterColumn() const { return FFilterColumn; }
    TInplaceFilterEditEh* FilterEditor() const { return FFilterEditor; }
    // The filter cell's editor, made on the first activation with the grid as its owner.
    virtual TInplaceFilterEditEh* CreateFilterEditorObject();
    void ActivateFilterCell(int Index);
    // Leaves the filter row, then opens or closes the cell editor for what the options ask.
    void DeactivateFilterRow();
    // Only leaves the filter row: its text goes to its column and the filter editor hides.
    void LeaveFilterRow();
    // With dgAlwaysShowEditor and no active filter row the cell editor opens, else it closes.
    void RefreshEditorState();
    void HideFilterEditor();
    bool CanShowFilterEditor();
    // The editor's text becomes its column's condition.
    void CommitFilterCellText();
    // A shown editor's text goes to its column.
    void StoreFilterEditorText();
    void UpdateFilterEditor(bool Reload);
    void LoadFilterEditor(int Index);
    // The title drop-down of Column's filter (filter row in the titles); its list and column.
    void DropDownTitleFilter(TColumnEh* Column);
    void ShowTitleFilterList(TColumnEh* Column, const TRect& CellRect);
    void CloseFilterDropDown(bool Accept);
    TPopupListboxEh* TitleFilterList() const { return FTitleFilterList; }
    TColumnEh* TitleFilterColumn() const { return FTitleFilterColumn; }
    bool TitleFilterListShown() const;
    // The three fill handlers, else the centre's commands and values; Width grows to the widest
    // command. Marks are reset to the new item count.
    void FillFilterList(TSTColumnFilterEh* Filter, TStrings* Items, int& Width, TPopupListboxEh* List);
    // Every column's condition handed to the dataset: OnApplyFilter, else DefaultApplyFilter.
    void ApplyFilterRow();
    virtual void DefaultApplyFilter();
    // Leaves the filter row and clears every column's condition.
    void ClearAllColumnFilters();
    // The holder side of the filter editor.
    bool CanEditorModify(TCustomDBEditEh* Editor) override;
    bool GetLastMouseDown(TPoint& Pos, std::uint32_t& Time) override;
    void EditorWndProc(TCustomDBEditEh* Editor, TMessage& Message) override;
    void EditorKeyDown(TCustomDBEditEh* Editor, WORD& Key, TShiftState Shift) override;
    void EditorKeyPress(TCustomDBEditEh* Editor, Char& Key) override;
    void EditorKeyUp(TCustomDBEditEh* Editor, WORD& Key, TShiftState Shift) override;

    // Title buttons (DBGridEhTitleButtons.cpp): the indicator title and the title filter button.
    TDBGridEhIndicatorTitle* IndicatorTitle() const { return FIndicatorTitle.get(); }
    void SetIndicatorTitle(TDBGridEhIndicatorTitle* Value);
    // A press on the indicator title: OnIndicatorTitleMouseDown, else ClickIndicatorTitle.
    void RaiseIndicatorTitleMouseDown(TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y);
    // With TitleButton the menu opens under the cell; else, with dgMultiSelect, a click selects
    // everything or clears the selection.
    virtual void ClickIndicatorTitle(TGridCoord Cell, TPoint Point);
    // The centre's menu.
    void DefaultBuildIndicatorTitleMenu(TPopupMenu*& Menu);
    TDBGridEhIndicatorTitleMouseDownEvent OnIndicatorTitleMouseDown;
    std::function<void(TObject* Sender, TPopupMenu*& Menu)> OnBuildIndicatorTitleMenu;
    // The filter button at the right of a title cell (filter row in the titles); true when
    // Point lies on it.
    bool TitleFilterButtonRect(TPoint Point, TRect CellRect, TRect& ButtonRect, TColumnEh* Column);
    // Data column DataCol's title shows a filter button.
    bool TitleFilterButtonShown(int DataCol) const;
    // 8 when Point lies on the title filter button of the title cell Cell, else 0.
    int HitTitleFilterButton(TGridCoord Cell, TPoint Point);

    // The previous record's value of the focused column into the current record (Ctrl+'):
    // nothing on the first buffered row or a cell that may not be edited.
    void CopyPreviousRecordValue();
    // The link is active, updating is allowed (or the record is new), and there is a record
    // or one may be added.
    bool CanEditCurrentRecord();

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

    // Data grouping (DBGridEhGroups.cpp, DBGridEhGroupRows.cpp, DBGridEhGroupPanel.cpp).
    TDBGridEhDataGroupsEh* DataGrouping() const { return FDataGrouping.get(); }
    // The memory table's rows are the group tree's shown rows: group rows and records.
    bool GroupingInEffect() const;
    // Active levels x 18 while grouping is in effect, else 0.
    int GroupIndent() const;
    int GroupRowHeight(TGroupDataTreeNodeEh* Node);
    // The node of data row Index (0 = first data row); nullptr outside grouping or past the rows.
    TGroupDataTreeNodeEh* GroupNodeOfRow(int Index) const;
    // The grid row of the group tree's shown rows, then the repaint.
    void ResetGroupedRowCount();
    // Makes Node's row current (its groups expanded first) and the dataset follow.
    void FocusGroupTreeNode(TGroupDataTreeNodeEh* Node, bool Show);
    // Node, or its nearest shown ancestor, becomes current.
    void FocusShownGroupNode(TGroupDataTreeNodeEh* Node, bool Show);
    void FocusRecordInGroups(int RecordIndex, bool Show);
    // Moves over the shown rows, posting or cancelling an edit first; answers the distance moved.
    int MoveInGroupTree(int Distance);
    // The group panel above the titles: its level boxes, the insert index of a drop at X with
    // the marker's rectangle, a title dropped there and a level taken off it.
    struct TGroupPanelBoxEh {
        TRect Rect;
        TDBGridEhDataGroupLevelEh* Level = nullptr;
    };
    std::vector<TGroupPanelBoxEh> LayoutGroupPanel();
    int GroupPanelDropPosition(int X, TRect& Marker);
    void UpdateGroupPanelHeight();
    void DropColumnOnGroupPanel(TColumnEh* Column, int X);
    void MoveGroupLevelTo(TDBGridEhDataGroupLevelEh* Level, int X);
    void RemoveGroupLevel(TDBGridEhDataGroupLevelEh* Level);
    TNotifyEvent OnActiveGroupingStructChanged;
    TGroupGetRowTextEventEh OnDataGroupGetRowText;

protected:
    // Construction with the factories of the column defaults and the columns: a descendant whose
    // columns are of its own class passes its own, as a base constructor never reaches a
    // descendant's override.
    struct TColumnFactoriesEh {
        std::unique_ptr<TColumnDefValuesEh> (*MakeColumnDefValues)(TCustomDBGridEh* Grid);
        std::unique_ptr<TDBGridColumnsEh> (*MakeColumns)(TCustomDBGridEh* Grid);
    };
    TCustomDBGridEh(TComponent* AOwner, const TColumnFactoriesEh& Factories);
    static std::unique_ptr<TColumnDefValuesEh> CreateColumnDefValuesObject(TCustomDBGridEh* Grid);
    static std::unique_ptr<TDBGridColumnsEh> CreateColumnsObject(TCustomDBGridEh* Grid);

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
    std::unique_ptr<TInplaceEdit> CreateEditorObject() override;
    // Leaves an active filter row first: one editor shows at a time; in row panel mode the
    // focused panel cell comes into view.
    void EnterEditorMode() override;
    // Row panel mode: the editor edits one panel cell, remembered while it is open. Leaving
    // repaints the panel row and forgets it; another focused cell reloads the editor.
    void LeaveEditorMode() override;
    void SyncEditor() override;
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
    // One record of the memory table was inserted, changed, deleted or moved from OldIndex.
    virtual void ReceiveMemTableChange(int Index, TMemTableChangeKindEh Kind, int OldIndex);
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
    // A cell click without OnCellMouseClick goes to the centre.
    void DefaultCellMouseClick(TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y) override;
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
    // One step of the auto-scroll timer while a press is dragged outside the data.
    virtual void PerformAutoScroll();
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
    // The border of a flat grid, painted on the window's DC around the whole window.
    virtual void PaintFlatBorder(HDC DC);

private:
    friend class TGridDataLinkEh;

    // The memory table's records changed as a whole, or one of them.
    void MemTableRowsChanged(IMemTableEh* Table) override;
    void MemTableRecordChanged(IMemTableEh* Table, int Index, TMemTableChangeKindEh Kind, int OldIndex) override;

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
    // The fixed rows above the data and the row heights both modes share; returns their count.
    int ApplyRowsAboveDataMetrics();
    void FollowMemTableRecord();
    void RepaintScrolledRows(int Distance, int OldRow);
    // A record drag: its start and target display rows, the dragged record, the start and target
    // tree levels (-1 outside tree mode) and the drop marker's left.
    struct TRecordDragEh {
        int StartRow = -1;
        int TargetRow = -1;
        TBookmark Bookmark;
        int StartLevel = -1;
        int TargetLevel = -1;
        int MarkerX = 0;
    };
    TRecordDragEh FRecordDrag;
    // The drop marker: under the target row when dragging down (or deeper on the start row),
    // else over it, from the target level's left.
    void ShowRecordDropMarker();
    void HideRecordDropMarker();
    // The target row and level at the client point (X, Y), scrolling by a row above or below the data.
    bool PickRecordDropTarget(int X, int Y, int& TargetRow, int& TargetLevel, int& MarkerX);
    // The outline of data row AreaRow at the left of ARect; answers the room it took.
    int PaintDataCellTreePart(int AreaRow, const TRect& ARect, TColor Background);
    // The first visible column's cell of a data row, in client coordinates.
    TRect FirstColumnCellRect(int ARow);

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
        dmmSizeColumn,  // from a title border; dghTraceColSizing sizes while moving, else on release
        dmmRecordDrag   // records dragged by their indicator
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
    // The pressed record's row joins the bookmark selection (Toggle) or becomes the only one,
    // and anchors a Shift press.
    void SelectPressedRow(bool Toggle);
    // OnDetailSign: the press toggles the row detail panel once its row is current.
    void PressDataRow(TMouseButton Button, TShiftState Shift, TGridCoord Cell, TColumnEh* Column, bool OnDetailSign);
    // A double click on a check-box or image-only data cell whose column has DblClickNextVal
    // steps its value (backward with Shift).
    void DblClickStepCell(TColumnEh* Column, int ARow, TShiftState Shift);
    // The release of a press on Column's check-box or image-only cell in data row ARow, on the
    // same cell: its value steps unless a double click does that.
    void ReleaseCheckCell(TColumnEh* Column, int ARow, TShiftState Shift);
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
    // The mouse press being handled, taken afresh at every press.
    struct TCellPressEh {
        TGridCoord Cell{-1, -1};
        TShiftState Shift;
        // A check-box cell was pressed: the release on it steps the value.
        bool CheckCell = false;
        // A selected row was pressed: the release, not the press, clears the others.
        bool SelectedRowClick = false;
    };
    // A title button held down: its grid column and whether it looks pressed now.
    struct TTitlePressEh {
        int Col = -1;
        bool Button = false;
        bool Look = false;
    };
    TCellPressEh FPress;
    TTitlePressEh FTitlePress;
    // A Ctrl title click reports the sort marking when Ctrl goes up or the focus leaves.
    bool FPendingMultiSort = false;
    int FAutoScrollInterval = -1;
    bool FThumbTracked = false;
    // The incremental search under way, all of it dropped when the search ends.
    struct TIncSearchEh {
        bool Active = false;
        String Text;
        // Milliseconds of quiet that end the search; -1 (Ctrl+F) for none.
        int Timeout = -1;
        bool TimerRunning = false;
        // An input method types a character beyond the basic plane as two units: the first waits.
        Char PendingHighSurrogate;
    };
    TIncSearchEh FSearch;

    // Sizes from the data
    // The widest footer text of Column (data column DataCol), after OnGetFooterParams.
    int FooterWidth(TCanvas* Canvas, TColumnEh* Column, int DataCol);
    // Back to the record a width fitting started on, with the controls shown again.
    void RestoreFitPosition(TDataSet* DataSet, const TGridViewPositionEh& Saved);

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
    bool MeasureTextOverflow(TCellToolTipEh& Tip);
    static TRect PartUnderPointer(const TCellToolTipEh& Tip, TPoint CursorPos);
    // Shows the tip over its text when the text does not fit; False when it fits.
    bool PlaceToolTip(TCellToolTipEh& Tip, THintInfo& Info);
    std::unique_ptr<TToolTipsWindow> FToolTipsWindow;

    // Parent font and colour
    // With ParentFont the title and footer fonts take the grid's font too.
    void FollowParentFont();
    bool FFollowingParentFont = false;

    // Filter row
    void PaintFilterCell(TColumnEh* Column, int AreaCol, TRect ARect, TGridDrawState State, TCellAreaEh Area);
    // A press on a filter cell opens its editor; the press is remembered for the editor.
    bool PressFilterCell(TMouseButton Button, int X, int Y);
    // Up on the first record (or with Ctrl) enters the filter row.
    bool EnterFilterRowKey(TShiftState Shift);
    // Ctrl+T drops the title filter down (not consumed); Ctrl+' copies the previous value.
    bool HandleFilterShortCut(WORD Key, TShiftState Shift);
    void FilterEditKeyPress(TObject* Sender, Char& Key);
    void FilterEditCloseUp(TObject* Sender, bool& Accept);
    void FilterEditRequestItems(TObject* Sender);
    void TitleFilterListMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void TitleFilterListKeyPress(Char& Key);
    // Performs the selected item of List; KeepMarks toggles a value among the checked ones.
    void PerformFilterListItem(TPopupListboxEh* List, TSTColumnFilterEh* Filter, bool KeepMarks);
    // Space on the selected item: an item that closes the list closes it accepting, a value toggles.
    void PressFilterListSpace(TPopupListboxEh* List, TSTColumnFilterEh* Filter, const std::function<void()>& CloseAccepting);
    // The next or previous, first or last data column with a filter cell from the active one.
    void MoveFilterCell(int Step);
    void MoveFilterCellToEnd(bool Last);
    // Column goes: an editor or a title list open on it closes without taking its text.
    void ForgetFilterColumn(TColumnEh* Column);
    std::unique_ptr<TSTDBGridEhFilter> FSTFilter = std::make_unique<TSTDBGridEhFilter>(this);
    std::unique_ptr<TDBGridEhIndicatorTitle> FIndicatorTitle = std::make_unique<TDBGridEhIndicatorTitle>(this);
    void OpenIndicatorTitleMenu();
    TInplaceFilterEditEh* FFilterEditor = nullptr;  // owned as a component
    TPopupListboxEh* FTitleFilterList = nullptr;    // owned as a component
    TColumnEh* FTitleFilterColumn = nullptr;
    TRect FTitleFilterRect;
    bool FFilterRowActive = false;
    int FFilterColumn = -1;
    // The last press on a filter cell, for the editor's double-click test.
    TPoint FFilterPressPos;
    std::uint32_t FFilterPressTime = 0;

    // Flat border
    // Flat with Ctl3D: no sunken edge, but a flat one-pixel border with a single border style.
    void AdjustCreateParams(TCreateParams& Params);
    int FFlatBorderWidth = 0;
    int FTextMargin = 4;

    // Data grouping
    friend class TDBGridEhDataGroupsEh;
    // A group row's cell: the indent slots, the expand box and its part of the row's text.
    bool PaintGroupRowCell(int ACol, int AreaRow, const TRect& ARect);
    // A grouped record's group indent at the left of ARect, a slot per level in its colour;
    // answers the room it took.
    int PaintGroupRecordIndent(int AreaRow, const TRect& ARect);
    void PickGroupRowHighlight(bool Current, TColor& Background, TFont* Font);
    bool HandleGroupRowKey(WORD Key, TShiftState Shift);
    // A press on a group row's expand box toggles it; with Ctrl every group takes its new state.
    bool ClickGroupRow(TShiftState Shift, int X, int Y);
    void PaintOuterBand(const TRect& ARect) override;
    void PaintGroupPanelItem(const TRect& ARect, TDBGridEhDataGroupLevelEh* Level);
    void SyncDataSetToGroupNode();
    void GroupingStructureChanged();
    void InsertIntoCurrentGroups();
    // The panel's mouse: a press on a box, its release (a click sorts, a drop within the panel
    // moves, a drop on the grid ungroups), a title moved onto the panel.
    bool PressGroupPanelAt(int X, int Y);
    bool ReleaseGroupPanelAt(int X, int Y);
    bool DropTitleOnGroupPanel(int X, int Y);
    struct TGroupPanelPressEh {
        TDBGridEhDataGroupLevelEh* Level = nullptr;
        TRect Rect;
    };
    TGroupPanelPressEh FGroupPanelPress;
    // The memory table's record of data row Index: Index itself, or the record of a grouped
    // record row; -1 for a group row.
    int MemTableRecordOfRow(int Index) const;
    static bool IsAncestorGroup(const TGroupDataTreeNodeEh* Group, const TGroupDataTreeNodeEh* Node);
    bool FSyncingToGroupNode = false;
    std::unique_ptr<TDBGridEhDataGroupsEh> FDataGrouping = std::make_unique<TDBGridEhDataGroupsEh>(this);

    // ============================================================================================
    // Row panel mode: one grid column shows each record as a panel with the data columns laid
    // out on lines (DBGridEhRowPanel.cpp: layout, focus, scrolling; DBGridEhRowPanelDraw.cpp:
    // painting; DBGridEhRowPanelMouse.cpp: pressing, sizing and moving panel cells).
public:
    TGridRowPanelEh* RowPanel() const { return FRowPanel.get(); }
    // nullptr while the grid loads makes the row panel active; anything else is copied.
    void SetRowPanel(TGridRowPanelEh* Value);
    // The height of one panel line: "Wg" in TitleFont plus 4, plus 1 when not Flat.
    virtual int RowPanelLineHeight();
    // One panel line with the grid line under it: the step from one line's top to the next.
    int RowPanelLinePitch() { return RowPanelLineHeight() + GridLineWidth(); }
    // The panel's size as the last layout measured it.
    int RowPanelWidth() const { return FRowPanelWidth; }
    int RowPanelHeight() const { return FRowPanelHeight; }
    // Places every column inside the panel (TColumnEh::RowPanelRect) and measures the panel.
    void LayoutRowPanelColumns();
    // Rescales every column's width in proportion so the panel becomes NewWidth wide.
    void RescaleRowPanel(int NewWidth);
    // The data column that has the focus inside the current record's panel.
    int FocusedPanelColumn() const { return FFocusedPanelColumn; }
    void SetFocusedPanelColumn(int Index);
    void ScrollRowPanelColumnIntoView();
    // The first visible column whose cell (title and data parts alike), with its lines, holds
    // Point (panel coordinates); nullptr when none.
    TColumnEh* RowPanelColumnAt(TPoint Point);
    // Rebuilds the columns' order from their places in the panel: by left edge, then by top,
    // hidden columns first at equal places.
    void SortColumnsByPanelPosition();
    // The data column whose panel cell holds the client point, edges included; -1 when none.
    int PanelCellAtPoint(int X, int Y);
    // Widens column Index's cell up to the next cell on its lines, or to the panel's width.
    void FitPanelCellWidth(int Index);
    // A new width whose right edge lies less than 4 pixels from another cell's left edge
    // moves onto that edge.
    int SnapPanelCellWidth(int Index, int NewWidth);
    void BeginRowPanelColumnMove(int Index, int X, int Y);
    void BeginRowPanelMove(const TRect& CellRect, int Index, TPoint PressPoint);
    void TrackRowPanelMove(TMouseButton Button, int X, int Y);
    void EndRowPanelMove(bool Drop);
    void ShowPanelMoveMarker(bool Show);
    // Where a dropped column goes in the collection: the highest index, from the target on, of
    // the cells whose bottom line is at or above the target's.
    int PanelMoveTargetIndex();
    bool RowPanelMoving() const { return FPanelMove.Column >= 0; }

protected:
    bool IsHorzPixelScroll() override;
    bool IsVertPixelScroll() override;
    void CancelMouseMode() override;
    // Over the title panel: the right and bottom borders of the panel cells.
    void DetectSizingAt(int X, int Y, const TGridLayoutEh& Layout, int& Offset, int& Pos, int& Index,
                        TGridMouseModeEh& Mode) override;
    virtual void PaintRowPanelTitleCell(int ACol, int ARow, TRect ARect, TGridDrawState State, TCellAreaEh Area);
    virtual void PaintRowPanelDataCell(int ACol, int ARow, int AreaRow, TRect ARect, TGridDrawState State,
                                       TCellAreaEh Area);
    virtual void PaintRowPanelFooterCell(int ACol, int ARow, int AreaRow, TRect ARect, TGridDrawState State,
                                         TCellAreaEh Area);

private:
    // The cell that shows data column DataCol at grid column ACol has the focus.
    bool IsFocusedDataCell(int ACol, int DataCol) const;
    // The data column whose cell the mouse hovers over; -1 when none.
    int HotPanelColumn();
    // The client point of the panel's top left corner in grid row ARow.
    TPoint RowPanelOrigin(int ARow) const;
    // Column Index's cell in grid row ARow, in client coordinates.
    TRect PanelCellClientRect(int Index, int ARow) const;
    // The same from the panel's origin, for loops over the columns of one row.
    TRect PanelCellClientRect(int Index, TPoint Origin) const;
    // The part of ARect's panel that the columns' rectangles take, and the lines right and
    // below each one that lie inside ARect.
    void PaintRowPanelLines(const TRect& ARect, TColor LineColor);
    // Follows a new width of the panel's grid column.
    void FollowRowPanelColumnWidth();
    // A press while the row panel is active; False leaves it to the ordinary handling.
    bool PanelMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void PanelTitlePress(int Index, int X, int Y);
    void PanelCellPress(TMouseButton Button, TShiftState Shift, int Index, TGridCoord Cell, int X, int Y);
    // The release of a sizing or a title button.
    void PanelCellRelease(TShiftState Shift, int X, int Y);
    // The release of a press on a data cell of the panel: a check-box or image-only cell pressed
    // and let go on the same cell steps its value.
    void PanelCellClickRelease(TShiftState Shift, int X, int Y);
    // A press on a panel cell's edit button, once the editor shows, goes on to the editor's button.
    void ForwardPressToEditorButton(int X, int Y);
    // A release that ends a panel move, over the group panel too; False when none runs.
    bool ReleasePanelMove(TMouseButton Button, int X, int Y);
    bool PanelMoveShouldStart(int X, int Y);
    // The drag box and the moved cell's grey outline.
    void ShowPanelDragBox(int X, int Y);
    void TogglePanelMoveOutline();
    void ApplyPanelCellHeight(int Index, int Delta, bool Followers);
    void ApplyPanelCellWidth(int Index, int NewWidth, bool Followers);

    std::unique_ptr<TGridRowPanelEh> FRowPanel = std::make_unique<TGridRowPanelEh>(this);
    int FRowPanelWidth = 0;
    int FRowPanelHeight = 0;
    int FFocusedPanelColumn = 0;
    int FEditedPanelColumn = -1;
    // A panel cell pressed (title or data): its column, where and with which keys.
    struct TPanelPressEh {
        int Title = -1;
        int Data = -1;
        TPoint At;
        TGridCoord Cell{-1, -1};
    };
    TPanelPressEh FPanelPress;
    // Where a panel cell's sizing started.
    int FPanelSizingStart = 0;
    // A panel cell moved by its title.
    struct TPanelMoveEh {
        int Column = -1;
        int Target = -1;  // the column the drop goes after; -1 before the first
        int TargetLine = 0;
        int StartLine = 0;
        TPoint Grab;      // the press point's offset from the cell's top left
        TRect DragBox;    // client coordinates
        bool OutlineShown = false;
        bool MarkerShown = false;
    };
    TPanelMoveEh FPanelMove;
    // ============================================================================================

    // --- Row detail panel, record moves and row heights (DBGridEhRowDetail.cpp) ---------------
public:
    TRowDetailPanelEh* RowDetailPanel() const { return FRowDetailPanel.get(); }
    void SetRowDetailPanel(TRowDetailPanelEh* Value);
    // The container under the current record, the grid's only child component.
    TRowDetailPanelControlEh* RowDetailPanelControl() const { return FRowDetailControl; }
    // Lays the container out under the current row, or hides it, and refits the row.
    void PlaceRowDetailPanel();
    // With an active panel: the 18-pixel sign strip at the left of Rect; answers its width.
    virtual int PaintRowDetailSign(int DataCol, int DataRow, TGridDrawState State, const TRect& Rect);
    // The current record may open a panel: RowDetailPanel's Active, then OnCheckRowHaveDetailPanel.
    bool RowHasDetailPanel();
    // PointInCell lies on the sign of data column DataCol's cell in display data row DataRow,
    // whose record is the current one.
    virtual bool IsInRowDetailSign(int DataCol, int DataRow, TPoint PointInCell);
    // The client point lies on a data row's detail sign.
    virtual bool HitRowDetailSign(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Opens the panel and gives the focus to its ActiveControl or its first tab stop.
    bool FocusRowDetailPanel();
    // Every record move of the keys and the mouse: an open panel closes first (a refused close
    // moves nothing and answers 0); answers the distance moved.
    int MoveByRecords(int Distance);
    TRowDetailPanelCheckEventEh OnRowDetailPanelShow;
    TRowDetailPanelCheckEventEh OnRowDetailPanelHide;
    TRowDetailPanelCheckEventEh OnCheckRowHaveDetailPanel;

    // Row heights: data row Row's own height, that height given to the row (with the open panel
    // under the current row), every data row fitted, and the heights made again.
    int RecordRowHeight(int Row);
    void FitDataRowHeight(int Row);
    void FitAllDataRowHeights();
    void RecalcRowHeights();

    // The cell editor shows; the current grid column (indicator included).
    bool EditorShown() const;
    int CurrentGridCol() const { return Col(); }
    void SetCurrentGridCol(int ACol);
    // Rows below the titles and the filter row; the visible data cells as pixels and as a range.
    int DataRowCount();
    TRect DataAreaPixelRect();
    TGridCellRangeEh GetDataCellRange();
    void InvalidateGridColumn(int ACol) { InvalidateColumn(ACol); }
    void InvalidateGridRow(int ARow) { InvalidateRowCells(ARow); }
    void InvalidateGridCell(int ACol, int ARow) { InvalidateOneCell(ACol, ARow); }
    TRect CellClientRect(int ACol, int ARow) const { return CellPixelRect(ACol, ARow); }

protected:
    // The editor's cell: in row panel mode the focused column's data part; else narrowed by the
    // group indent and the detail sign in the first visible column, and cut to the record's own
    // height above an open panel.
    TRect CellDisplayRect(int ACol, int ARow) override;
    // The focus rectangle frames the record's own part of the row, never an open detail panel.
    TRect CellFocusRect(int ACol, int ARow, const TRect& CellRect) override;
    // ARect cut to the record's own height when ARow is the current row above an open panel.
    TRect RecordPartOfCell(int ARow, TRect ARect);
    void ResyncAfterScroll() override;
    // Scrolls so that the open panel shows, or so that no empty space is left after it closed.
    void ScrollRowDetailIntoView(bool Shown);

private:
    friend class TRowDetailPanelEh;
    // The sign strip starts after these in a first-column cell of display data row Row.
    int RowDetailSignOffset(int Row);
    // The first visible column's grid column; -1 without visible columns.
    int FirstVisibleGridCol() const;
    // The container's rectangle under the current row; empty when there is no room.
    TRect RowDetailPanelBounds();
    std::unique_ptr<TRowDetailPanelEh> FRowDetailPanel = std::make_unique<TRowDetailPanelEh>(this);
    TRowDetailPanelControlEh* FRowDetailControl = nullptr;  // owned as a component
    // The grid row whose height holds the open panel; -1 when none does.
    int FRowDetailRow = -1;
    // The grid gives a row its fitted height: no user's sizing of every row.
    bool FFittingRowHeight = false;
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
