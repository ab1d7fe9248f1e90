#pragma once
// What the user selected in a data grid beyond the current cell: records (by bookmark), a
// rectangle of cells, columns, or everything. The keyboard and mouse start and extend it; the
// application deletes the selected records through the bookmark list.
#include "controls/ToolCtrlsEh.h"
#include "platform/core/List.h"
#include "platform/data/DataTypes.h"
#include "platform/ui/SmallSet.h"

#include <cstdint>

class TColumnEh;
class TCustomDBGridEh;

enum class TDBGridEhSelectionType : std::uint8_t { gstRecordBookmarks, gstRectangle, gstColumns, gstAll, gstNon };

// The standard edit actions a grid serves (its EditActions).
using TDBGridEhEditActions = TSmallSet<struct TDBGridEhEditActionsTag>;
constexpr TDBGridEhEditActions geaCutEh{1u << 0};
constexpr TDBGridEhEditActions geaCopyEh{1u << 1};
constexpr TDBGridEhEditActions geaPasteEh{1u << 2};
constexpr TDBGridEhEditActions geaDeleteEh{1u << 3};
constexpr TDBGridEhEditActions geaSelectAllEh{1u << 4};

// The grid's selected records: a bookmark list of the grid's dataset that keeps the selection
// and the painting in step.
class TBookmarkListEh : public TBMListEh {
public:
    explicit TBookmarkListEh(TCustomDBGridEh* Grid) : FGrid(Grid) {}
    ~TBookmarkListEh() override;
    TDataSet* GetDataSet() const override;

protected:
    void StringsChanged() override;

private:
    TCustomDBGridEh* FGrid;
};

// A rectangle of cells between two corners, each a column index and a record's bookmark.
class TDBGridEhSelectionRect {
public:
    explicit TDBGridEhSelectionRect(TCustomDBGridEh* Grid) : FGrid(Grid) {}
    // Extend keeps an existing anchor; the shift corner moves to (ColIndex, Bookmark). A single
    // cell is never a selection.
    void SelectTo(int ColIndex, const TBookmark& Bookmark, bool Extend);
    void ClearRect();
    int AnchorCol() const { return FAnchorCol; }
    const TBookmark& AnchorBookmark() const { return FAnchorBookmark; }
    int ShiftCol() const { return FShiftCol; }
    const TBookmark& ShiftBookmark() const { return FShiftBookmark; }
    bool CellSelected(int ColIndex, const TBookmark& Bookmark) const;

private:
    TCustomDBGridEh* FGrid;
    int FAnchorCol = -1;
    TBookmark FAnchorBookmark;
    int FShiftCol = -1;
    TBookmark FShiftBookmark;
};

// Selected columns, in grid order.
class TDBGridEhSelectionCols : public TListOf<TColumnEh> {
public:
    explicit TDBGridEhSelectionCols(TCustomDBGridEh* Grid) : FGrid(Grid) {}
    // The column alone, or added to the others with Extend.
    void SelectColumn(TColumnEh* Column, bool Extend);
    void ToggleColumn(TColumnEh* Column);
    // Every column between the anchor and Column.
    void ShiftSelectTo(TColumnEh* Column);
    void ClearColumns();
    TColumnEh* Anchor() const { return FAnchor; }

private:
    void InsertInGridOrder(TColumnEh* Column);
    void Changed();

    TCustomDBGridEh* FGrid;
    TColumnEh* FAnchor = nullptr;
};

class TDBGridEhSelection {
public:
    explicit TDBGridEhSelection(TCustomDBGridEh* Grid);
    TDBGridEhSelectionType SelectionType() const { return FSelectionType; }
    void ChangeSelectionType(TDBGridEhSelectionType Kind);
    TBookmarkListEh* Rows() const;
    TDBGridEhSelectionRect* Rect() { return &FRect; }
    TDBGridEhSelectionCols* Columns() { return &FColumns; }

    // Empties the store of the current kind; nothing is selected afterwards.
    void ResetSelection();
    void SelectAllCells();
    // A record or column selection that lost its last member is no selection.
    void DropEmptySelection();
    // The link opened or closed: everything is forgotten.
    void LinkActiveChanged(bool Active);
    bool IsCellSelected(int ColIndex, const TBookmark& Bookmark);

private:
    TCustomDBGridEh* FGrid;
    TDBGridEhSelectionType FSelectionType = TDBGridEhSelectionType::gstRecordBookmarks;
    TDBGridEhSelectionRect FRect;
    TDBGridEhSelectionCols FColumns;
};
