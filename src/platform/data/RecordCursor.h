#pragma once
// TRecordCursor: the record source behind a TDataSet.
//
// A dataset never assumes its records are in memory. It asks its cursor for the count, for the
// stable id of the record at a position, and for the values of the few records its window
// shows and of the current one. Implementers may keep every row, or only the ids in order and
// fetch values on demand; the dataset asks for the values of a window in ascending runs.
//
// Positions run 0 .. RecordCount() - 1 in the cursor's current order. Ids identify a record for
// the cursor's lifetime: they survive Sort and the insertion or deletion of other records, and
// bookmarks are made of them. A read-only cursor raises EDatabaseError from the write operations;
// CanModify tells the dataset in advance.
#include "platform/core/Currency.h"
#include "platform/core/String.h"
#include "platform/core/Variant.h"
#include "platform/data/DataTypes.h"

#include <cstdint>
#include <optional>
#include <vector>

using TRecordId = std::int64_t;

// The values of one record, one per field of the cursor, in field order. Null for no value.
using TRecordValues = std::vector<Variant>;

// A field as the cursor describes it. ReadOnly marks values the source computes (autoincrement
// ids, expressions of a query) that an edit must not write.
struct TCursorField {
    String Name;
    TFieldType DataType = TFieldType::ftUnknown;
    int Size = 0;
    bool Required = false;
    bool ReadOnly = false;
};

// One field's new value in a write: FieldIndex indexes Fields().
struct TFieldValue {
    int FieldIndex = 0;
    Variant Value;
};
using TFieldValues = std::vector<TFieldValue>;

// One key of a client-side order.
struct TSortKey {
    int FieldIndex = 0;
    bool Descending = false;
};
using TSortSpec = std::vector<TSortKey>;

// What one field's values add up to over the records: their sum in Currency, each value rounded
// to 1/10000 half to even first, and how many of them are not Null.
struct TFieldTotal {
    Currency Sum;
    int NotNull = 0;
};

class TRecordCursor {
public:
    TRecordCursor() = default;
    TRecordCursor(const TRecordCursor&) = delete;
    TRecordCursor& operator=(const TRecordCursor&) = delete;
    virtual ~TRecordCursor() = default;

    // The field layout; fixed for the cursor's lifetime.
    virtual const std::vector<TCursorField>& Fields() const = 0;
    virtual int RecordCount() const = 0;
    virtual TRecordId IdAt(int Position) const = 0;
    // -1 when no record has the id (deleted, or never existed).
    virtual int PositionOf(TRecordId Id) const = 0;
    // The values of the record at Position, one per field.
    virtual TRecordValues ValuesAt(int Position) const = 0;

    // Reorders positions by the keys, stably; an empty spec restores the source's own order.
    // Text compares with the Chinese collation, ignoring case (SortCompare in SortText.h).
    virtual void Sort(const TSortSpec& Spec) = 0;

    virtual bool CanModify() const = 0;
    // Stores a new record at Position (RecordCount() appends) with the values given; the others
    // take the source's defaults. Answers the new record's id.
    virtual TRecordId Insert(int Position, const TFieldValues& Values) = 0;
    // Writes the values given into the record; its position does not change.
    virtual void Update(TRecordId Id, const TFieldValues& Values) = 0;
    virtual void Delete(TRecordId Id) = 0;

    // The totals of the fields at FieldIndexes over every record, computed by the source in one
    // pass without reading the records; nullopt (the default) when the source cannot give
    // exactly what adding up the records' values would.
    virtual std::optional<std::vector<TFieldTotal>> FieldTotals(const std::vector<int>& FieldIndexes) const
    {
        (void)FieldIndexes;
        return std::nullopt;
    }
};
