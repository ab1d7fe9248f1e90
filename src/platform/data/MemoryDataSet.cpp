// The in-memory dataset's table of rows and the cursor that opens over it.
#include "platform/data/MemoryDataSet.h"

#include "platform/data/DatabaseError.h"
#include "platform/data/SortText.h"

#include <algorithm>
#include <unordered_map>

struct TMemoryDataSet::TTable {
    struct TRow {
        TRecordId Id;
        TRecordValues Values;
        // The place in the table's own order: the id until the records are arranged.
        TRecordId Order;
    };
    std::vector<TCursorField> Fields;
    std::vector<TRow> Rows;  // in the current order
    TRecordId NextId = 1;
    // Counts the reorderings made past the cursor, which drop its map of positions.
    int Arrangements = 0;
};

namespace {

using TTable = TMemoryDataSet::TTable;

std::vector<TCursorField> LayoutOf(TFieldDefs& Defs)
{
    std::vector<TCursorField> fields;
    for (int i = 0; i < Defs.Count(); ++i) {
        const TFieldDef* def = Defs[i];
        const bool autoInc = def->DataType() == TFieldType::ftAutoInc;
        fields.push_back({def->Name(), def->DataType(), def->Size(), def->Required() && !autoInc,
                          def->ReadOnly() || autoInc});
    }
    return fields;
}

bool SameLayout(const std::vector<TCursorField>& A, const std::vector<TCursorField>& B)
{
    return std::equal(A.begin(), A.end(), B.begin(), B.end(), [](const TCursorField& a, const TCursorField& b) {
        return a.Name == b.Name && a.DataType == b.DataType && a.Size == b.Size;
    });
}

class TMemoryCursor : public TRecordCursor {
public:
    explicit TMemoryCursor(TTable& Table) : FTable(Table) {}

    const std::vector<TCursorField>& Fields() const override { return FTable.Fields; }
    int RecordCount() const override { return static_cast<int>(FTable.Rows.size()); }
    TRecordId IdAt(int Position) const override { return Row(Position).Id; }
    TRecordValues ValuesAt(int Position) const override { return Row(Position).Values; }

    int PositionOf(TRecordId Id) const override
    {
        if (!FPositionsValid || FArrangements != FTable.Arrangements) {
            FPositions.clear();
            for (std::size_t i = 0; i < FTable.Rows.size(); ++i)
                FPositions.emplace(FTable.Rows[i].Id, static_cast<int>(i));
            FPositionsValid = true;
            FArrangements = FTable.Arrangements;
        }
        const auto found = FPositions.find(Id);
        return found == FPositions.end() ? -1 : found->second;
    }

    void Sort(const TSortSpec& Spec) override
    {
        auto& rows = FTable.Rows;
        // Without keys, the table's own order.
        if (Spec.empty())
            std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.Order < b.Order; });
        else
            std::stable_sort(rows.begin(), rows.end(), [&Spec](const auto& a, const auto& b) {
                return CompareRecords(a.Values, b.Values, Spec) < 0;
            });
        FPositionsValid = false;
    }

    bool CanModify() const override { return true; }

    TRecordId Insert(int Position, const TFieldValues& Values) override
    {
        const TRecordId newId = FTable.NextId++;
        TTable::TRow row{newId, TRecordValues(FTable.Fields.size(), Variant::Null()), newId};
        for (std::size_t i = 0; i < FTable.Fields.size(); ++i)
            if (FTable.Fields[i].DataType == TFieldType::ftAutoInc)
                row.Values[i] = Variant(static_cast<int>(row.Id));
        Assign(row, Values);
        const auto position = static_cast<std::size_t>(std::clamp(Position, 0, RecordCount()));
        const bool appended = position == FTable.Rows.size();
        FTable.Rows.insert(FTable.Rows.begin() + static_cast<std::ptrdiff_t>(position), std::move(row));
        const TRecordId id = FTable.Rows[position].Id;
        // An append moves no other record: keep the map, so filling a table stays linear.
        if (appended && FPositionsValid)
            FPositions.emplace(id, static_cast<int>(position));
        else
            FPositionsValid = false;
        return id;
    }

    void Update(TRecordId Id, const TFieldValues& Values) override
    {
        Assign(FTable.Rows[static_cast<std::size_t>(CheckedPosition(Id))], Values);
    }

    void Delete(TRecordId Id) override
    {
        const int position = CheckedPosition(Id);
        FTable.Rows.erase(FTable.Rows.begin() + position);
        // Removing the last record moves no other one.
        if (position == RecordCount())
            FPositions.erase(Id);
        else
            FPositionsValid = false;
    }

private:
    const TTable::TRow& Row(int Position) const { return FTable.Rows.at(static_cast<std::size_t>(Position)); }

    int CheckedPosition(TRecordId Id) const
    {
        const int position = PositionOf(Id);
        if (position < 0)
            DatabaseError(DBConsts::SRecordNotFound);
        return position;
    }

    void Assign(TTable::TRow& Row, const TFieldValues& Values) const
    {
        for (const TFieldValue& value : Values)
            if (!FTable.Fields[static_cast<std::size_t>(value.FieldIndex)].ReadOnly)
                Row.Values[static_cast<std::size_t>(value.FieldIndex)] = value.Value;
    }

    TTable& FTable;
    mutable std::unordered_map<TRecordId, int> FPositions;
    mutable bool FPositionsValid = false;
    mutable int FArrangements = 0;
};

}  // namespace

TMemoryDataSet::TMemoryDataSet(TComponent* AOwner) : TDataSet(AOwner), FTable(std::make_unique<TTable>()) {}

TMemoryDataSet::~TMemoryDataSet()
{
    // The cursor refers to the table: close while both exist.
    Destroying();
    Close();
}

void TMemoryDataSet::EmptyDataSet()
{
    CheckInactive();
    FTable->Rows.clear();
}

void TMemoryDataSet::ArrangeRecords(const std::vector<TRecordId>& Order)
{
    std::unordered_map<TRecordId, std::size_t> place;
    for (std::size_t i = 0; i < Order.size(); ++i)
        place.emplace(Order[i], i);
    std::vector<TTable::TRow>& rows = FTable->Rows;
    const bool whole = place.size() == rows.size() && std::all_of(rows.begin(), rows.end(), [&place](const auto& Row) {
        return place.contains(Row.Id);
    });
    if (!whole)
        DatabaseError(DBConsts::SRecordNotFound);
    if (Active())
        CheckBrowseMode();
    std::sort(rows.begin(), rows.end(), [&place](const auto& a, const auto& b) { return place[a.Id] < place[b.Id]; });
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].Order = static_cast<TRecordId>(i);
    ++FTable->Arrangements;
    if (Active())
        Refresh();
}

std::unique_ptr<TRecordCursor> TMemoryDataSet::CreateCursor()
{
    std::vector<TCursorField> layout = LayoutOf(*FieldDefs());
    if (!SameLayout(layout, FTable->Fields)) {
        FTable->Rows.clear();
        FTable->Fields = std::move(layout);
    }
    return std::make_unique<TMemoryCursor>(*FTable);
}
