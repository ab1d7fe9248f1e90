#pragma once
// IMemTableEh: what a dataset that keeps all its records in memory offers the data grid, so the
// grid can show every record as a row of its own and scroll by rows instead of through the
// data link's window. A dataset answers it from TDataSet::MemTableInterface.
#include "platform/core/String.h"
#include "platform/data/DataTypes.h"

#include <memory>
#include <vector>

class IMemTableDataFieldValueListEh;
class IMemTableEh;

// What happened to one record of a memory table.
enum class TMemTableChangeKindEh { mtcInserted, mtcChanged, mtcDeleted, mtcMoved };

// The grid's side: told when the memory table's records change, as a whole or one by one.
class IMemTableDataObserverEh {
public:
    virtual ~IMemTableDataObserverEh() = default;
    // Records were added, removed or reordered; the rows are laid out again.
    virtual void MemTableRowsChanged(IMemTableEh* Table) = 0;
    // Record Index (0-based, as the table holds it now) was inserted, changed, deleted or moved
    // there from OldIndex (-1 unless moved).
    virtual void MemTableRecordChanged(IMemTableEh* Table, int Index, TMemTableChangeKindEh Kind, int OldIndex) = 0;
};

class IMemTableEh {
public:
    virtual ~IMemTableEh() = default;
    virtual int MemTableRecordCount() const = 0;
    // 0-based index of the current record; -1 without records.
    virtual int MemTableCurrentIndex() const = 0;
    // Fields read record Index until EndInstantRead, without events or a move; answers the
    // index read before.
    virtual int BeginInstantRead(int Index) = 0;
    virtual void EndInstantRead() = 0;
    virtual void RegisterObserver(IMemTableDataObserverEh* Observer) = 0;
    virtual void UnregisterObserver(IMemTableDataObserverEh* Observer) = 0;
    // How many rows the viewer's client area holds.
    virtual void SetViewRowCount(int Count) = 0;
    // The distinct values of the field FieldName over the records, kept current as the
    // records change (a filter drop-down offers them); nullptr when there is no such field.
    virtual std::shared_ptr<IMemTableDataFieldValueListEh> FieldValueList(const String& FieldName) = 0;

    // Tree mode: the records form a tree, shown in its order, whose collapsed nodes hide their
    // descendants; record indexes count the shown records.
    virtual bool MemTableTreeMode() const = 0;
    // The depth of record Index's node: 1 for a top node, 0 outside tree mode.
    virtual int TreeNodeLevel(int Index) = 0;
    virtual bool TreeNodeHasChildren(int Index) = 0;
    virtual bool TreeNodeExpanded(int Index) = 0;
    // Whether the node at Level above record Index (record Index's own at its level) has a
    // sibling below it, so that level's line goes on under the row.
    virtual bool TreeLevelContinues(int Index, int Level) = 0;
    // Expands or collapses record Index's node; answers the index of the record to stand on
    // (the node when the current record went out of sight with its branch).
    virtual int ToggleTreeNode(int Index) = 0;
    // Moves the records of Bookmarks (with their branches in tree mode) to shown record ToIndex
    // at tree Level: before it when it lies above the first of them, else after it (into it as
    // the first children when Level is one deeper). False when that place is not possible;
    // with CheckOnly nothing moves.
    virtual bool MoveRecords(const std::vector<TBookmark>& Bookmarks, int ToIndex, int Level, bool CheckOnly) = 0;
};
