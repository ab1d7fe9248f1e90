#pragma once
// The data grid's selection: its kinds, the edit actions it serves, the selected rows, the
// rectangle of cells and the selected columns, and the selection that holds them.
#include "datagrid/DBGridEhColumns.h"

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
    // Stores of kinds other than the selection's own are empty.
    bool OnlyTheKindsStoreHolds() const;

    TCustomDBGridEh* FGrid;
    TDBGridEhSelectionType FSelectionType = TDBGridEhSelectionType::gstRecordBookmarks;
    TDBGridEhSelectionCols FColumns;
    TDBGridEhSelectionRect FRect;
};
