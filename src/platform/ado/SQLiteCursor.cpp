#include "platform/ado/SQLiteCursor.h"

#include "platform/ado/JetSql.h"
#include "platform/data/SortText.h"
#include "platform/core/DateTime.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DatabaseError.h"

#include <QHash>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <list>
#include <numeric>
#include <unordered_set>

namespace {

// Reads "yyyy-MM-dd hh:mm:ss" (the time optional) without going through time zones: this runs
// for every date a window shows.
bool TryParseStoredDate(const String& Text, TDateTime& Value)
{
    const auto number = [&Text](int From, int Length) {
        int result = 0;
        for (int i = From; i < From + Length; ++i) {
            if (!Text[i].isDigit())
                return -1;
            result = result * 10 + Text[i].digitValue();
        }
        return result;
    };
    if ((Text.size() != 10 && Text.size() != 19) || Text[4] != u'-' || Text[7] != u'-')
        return false;
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    TDateTime date = 0, time = 0;
    if (year < 0 || month < 0 || day < 0 || !TryEncodeDate(Word(year), Word(month), Word(day), date))
        return false;
    if (Text.size() == 19) {
        const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
        if (Text[10] != u' ' || Text[13] != u':' || Text[16] != u':' || hour < 0 || minute < 0 || second < 0
            || !TryEncodeTime(Word(hour), Word(minute), Word(second), 0, time))
            return false;
    }
    Value = date + time;
    return true;
}

TFieldType DeclaredType(const TSQLiteStatement& Statement, int Column)
{
    const String type = Statement.DeclaredType(Column).toUpper();
    if (IsDateTimeType(type))
        return TFieldType::ftDateTime;
    if (type.contains(u"INT"))
        return Statement.ColumnName(Column).compare(QLatin1String("id"), Qt::CaseInsensitive) == 0
                       && !Statement.TableName(Column).isEmpty()
                   ? TFieldType::ftAutoInc
                   : TFieldType::ftInteger;
    if (type.contains(u"REAL") || type.contains(u"FLOA") || type.contains(u"DOUB"))
        return TFieldType::ftFloat;
    if (type.contains(u"BLOB"))
        return TFieldType::ftBlob;
    return TFieldType::ftWideString;
}

// Expressions declare no type: the stored value of the first row that has one decides.
TFieldType ValueType(int StorageClass)
{
    switch (StorageClass) {
    case SQLITE_INTEGER:
        return TFieldType::ftInteger;
    case SQLITE_FLOAT:
        return TFieldType::ftFloat;
    case SQLITE_BLOB:
        return TFieldType::ftBlob;
    default:
        return TFieldType::ftWideString;
    }
}

std::vector<TCursorField> DeclaredFields(const TSQLiteStatement& Statement)
{
    std::vector<TCursorField> fields;
    for (int i = 0; i < Statement.ColumnCount(); ++i) {
        TCursorField field;
        field.Name = Statement.ColumnName(i);
        field.DataType = DeclaredType(Statement, i);
        field.ReadOnly = field.DataType == TFieldType::ftAutoInc || Statement.TableName(i).isEmpty();
        fields.push_back(field);
    }
    return fields;
}

Variant ReadValue(const TSQLiteStatement& Statement, int Column, TFieldType Type)
{
    switch (Statement.ColumnType(Column)) {
    case SQLITE_NULL:
        return Variant::Null();
    case SQLITE_INTEGER: {
        const std::int64_t value = Statement.ColumnInt64(Column);
        if (value >= INT32_MIN && value <= INT32_MAX)
            return Variant(int(value));
        return Variant(value);
    }
    case SQLITE_FLOAT:
        return Variant(Statement.ColumnDouble(Column));
    case SQLITE_BLOB:
        return Variant(Statement.ColumnBlob(Column));
    default:
        break;
    }
    const String text = Statement.ColumnText(Column);
    if (Type != TFieldType::ftDateTime)
        return Variant(text);
    // An empty date is no date; other text that is no stored date is kept for the field to show.
    TDateTime date;
    if (text.isEmpty())
        return Variant::Null();
    return TryParseStoredDate(text, date) ? Variant::FromDateTime(date) : Variant(text);
}

TRecordValues ReadRecord(const TSQLiteStatement& Statement, const std::vector<TCursorField>& Fields)
{
    TRecordValues values;
    values.reserve(Fields.size());
    for (int i = 0; i < int(Fields.size()); ++i)
        values.push_back(ReadValue(Statement, i, Fields[size_t(i)].DataType));
    return values;
}

[[noreturn]] void ReadOnlyError()
{
    DatabaseError(QStringLiteral("Cannot update: the query's result is read-only."));
}

// Positions 0..Count-1 ordered stably by Spec over the values Values(position) gives.
template <typename TValues>
std::vector<int> SortedOrder(int Count, const TSortSpec& Spec, TValues Values)
{
    std::vector<TRecordValues> keys;
    keys.reserve(static_cast<size_t>(Count));
    TSortSpec keySpec;
    for (size_t k = 0; k < Spec.size(); ++k)
        keySpec.push_back({int(k), Spec[k].Descending});
    for (int i = 0; i < Count; ++i) {
        const TRecordValues& values = Values(i);
        TRecordValues key;
        for (const TSortKey& sortKey : Spec)
            key.push_back(values[size_t(sortKey.FieldIndex)]);
        keys.push_back(std::move(key));
    }
    std::vector<int> order(static_cast<size_t>(Count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return CompareRecords(keys[size_t(a)], keys[size_t(b)], keySpec) < 0;
    });
    return order;
}

// --- The whole result in memory, read-only ------------------------------------------------

class TStaticCursor final : public TRecordCursor {
public:
    explicit TStaticCursor(TSQLiteStatement& Statement) : FFields(DeclaredFields(Statement))
    {
        std::vector<bool> typed(FFields.size());
        for (size_t i = 0; i < FFields.size(); ++i)
            typed[i] = !Statement.DeclaredType(int(i)).isEmpty();
        while (Statement.Step()) {
            for (size_t i = 0; i < FFields.size(); ++i)
                if (!typed[i] && Statement.ColumnType(int(i)) != SQLITE_NULL) {
                    FFields[i].DataType = ValueType(Statement.ColumnType(int(i)));
                    typed[i] = true;
                }
            FRecords.push_back({TRecordId(FRecords.size()), ReadRecord(Statement, FFields)});
        }
        for (size_t i = 0; i < FFields.size(); ++i)
            if (!typed[i])
                FFields[i].DataType = TFieldType::ftWideString;
    }

    const std::vector<TCursorField>& Fields() const override { return FFields; }
    int RecordCount() const override { return int(FRecords.size()); }
    TRecordId IdAt(int Position) const override { return FRecords[size_t(Position)].Id; }
    int PositionOf(TRecordId Id) const override
    {
        const auto found = std::find_if(FRecords.begin(), FRecords.end(), [Id](const TRecord& r) { return r.Id == Id; });
        return found == FRecords.end() ? -1 : int(found - FRecords.begin());
    }
    TRecordValues ValuesAt(int Position) const override { return FRecords[size_t(Position)].Values; }

    // The id is the position in the source's order, so sorting by it restores that order.
    void Sort(const TSortSpec& Spec) override
    {
        if (Spec.empty()) {
            std::sort(FRecords.begin(), FRecords.end(), [](const TRecord& a, const TRecord& b) { return a.Id < b.Id; });
            return;
        }
        const std::vector<int> order =
            SortedOrder(RecordCount(), Spec, [this](int i) -> const TRecordValues& { return FRecords[size_t(i)].Values; });
        std::vector<TRecord> records;
        records.reserve(FRecords.size());
        for (int index : order)
            records.push_back(std::move(FRecords[size_t(index)]));
        FRecords = std::move(records);
    }

    bool CanModify() const override { return false; }
    TRecordId Insert(int, const TFieldValues&) override { ReadOnlyError(); }
    void Update(TRecordId, const TFieldValues&) override { ReadOnlyError(); }
    void Delete(TRecordId) override { ReadOnlyError(); }

private:
    struct TRecord {
        TRecordId Id;
        TRecordValues Values;
    };

    std::vector<TCursorField> FFields;
    std::vector<TRecord> FRecords;
};

// --- Ids only; rows read a block at a time -----------------------------------------------

class TKeysetCursor final : public TRecordCursor {
public:
    TKeysetCursor(TSQLiteDatabase& Database, TSQLiteStatement& Keyset, const String& Table)
        : FDatabase(Database), FTable(Table),
          FFetch(Database.Prepare(QStringLiteral("select * from %1 where id in (%2)")
                                      .arg(Table, QStringList(BlockSize, QStringLiteral("?")).join(u',')),
                                  Keyset.Shown())),
          FFields(DeclaredFields(FFetch))
    {
        if (FFields.empty() || FFields[0].DataType != TFieldType::ftAutoInc)
            StatementError(QStringLiteral("The table has no id column."), Keyset.Shown());
        while (Keyset.Step())
            FIds.push_back(Keyset.ColumnInt64(0));
    }

    const std::vector<TCursorField>& Fields() const override { return FFields; }
    int RecordCount() const override { return int(FIds.size()); }
    TRecordId IdAt(int Position) const override { return FIds[size_t(Position)]; }

    int PositionOf(TRecordId Id) const override
    {
        const auto found = std::find(FIds.begin(), FIds.end(), Id);
        return found == FIds.end() ? -1 : int(found - FIds.begin());
    }

    TRecordValues ValuesAt(int Position) const override
    {
        const int block = Position / BlockSize;
        auto cached = std::find_if(FBlocks.begin(), FBlocks.end(), [block](const TBlock& b) { return b.Index == block; });
        if (cached == FBlocks.end()) {
            if (FBlocks.size() == CachedBlocks)
                FBlocks.pop_back();
            FBlocks.push_front(ReadBlock(block));
            cached = FBlocks.begin();
        } else if (cached != FBlocks.begin()) {
            FBlocks.splice(FBlocks.begin(), FBlocks, cached);
        }
        return cached->Records[size_t(Position % BlockSize)];
    }

    void Sort(const TSortSpec& Spec) override
    {
        if (FSourceIds.empty())
            FSourceIds = FIds;
        if (Spec.empty()) {
            // Records inserted since keep their place at the end; deleted ones stay gone.
            const std::unordered_set<TRecordId> present(FIds.begin(), FIds.end());
            const std::unordered_set<TRecordId> source(FSourceIds.begin(), FSourceIds.end());
            std::vector<TRecordId> ids;
            ids.reserve(FIds.size());
            for (TRecordId id : FSourceIds)
                if (present.contains(id))
                    ids.push_back(id);
            for (TRecordId id : FIds)
                if (!source.contains(id))
                    ids.push_back(id);
            FIds = std::move(ids);
        } else {
            const std::vector<int> order = SortedOrder(RecordCount(), Spec, [this](int i) { return ValuesAt(i); });
            std::vector<TRecordId> ids;
            ids.reserve(FIds.size());
            for (int index : order)
                ids.push_back(FIds[size_t(index)]);
            FIds = std::move(ids);
        }
        FBlocks.clear();
    }

    bool CanModify() const override { return true; }

    TRecordId Insert(int Position, const TFieldValues& Values) override
    {
        QStringList names, marks;
        for (const TFieldValue& value : Values) {
            names << FFields[size_t(value.FieldIndex)].Name;
            marks << QStringLiteral("?");
        }
        TSQLiteStatement insert = FDatabase.Prepare(
            names.isEmpty() ? QStringLiteral("insert into %1 default values").arg(FTable)
                            : QStringLiteral("insert into %1(%2) values(%3)").arg(FTable, names.join(u','), marks.join(u',')));
        for (int i = 0; i < int(Values.size()); ++i)
            BindVariant(insert, i + 1, Values[size_t(i)].Value);
        insert.Step();
        const TRecordId id = sqlite3_last_insert_rowid(FDatabase.Handle());
        FIds.insert(FIds.begin() + Position, id);
        FBlocks.clear();
        return id;
    }

    void Update(TRecordId Id, const TFieldValues& Values) override
    {
        if (Values.empty())
            return;
        QStringList assignments;
        for (const TFieldValue& value : Values)
            assignments << FFields[size_t(value.FieldIndex)].Name + QStringLiteral("=?");
        TSQLiteStatement update = FDatabase.Prepare(
            QStringLiteral("update %1 set %2 where id=?").arg(FTable, assignments.join(u',')));
        int index = 1;
        for (const TFieldValue& value : Values)
            BindVariant(update, index++, value.Value);
        update.BindInt64(index, Id);
        update.Step();
        FBlocks.clear();
        // Another program deleted the row since it was read: the edit would vanish unnoticed.
        if (FDatabase.Changes() == 0)
            StatementError(QStringLiteral("Row cannot be located for updating. Some values may have been "
                                          "changed since it was last read."),
                           update.Shown());
    }

    void Delete(TRecordId Id) override
    {
        TSQLiteStatement remove = FDatabase.Prepare(QStringLiteral("delete from %1 where id=?").arg(FTable));
        remove.BindInt64(1, Id);
        remove.Step();
        std::erase(FIds, Id);
        FBlocks.clear();
    }

private:
    static constexpr int BlockSize = 128;
    static constexpr size_t CachedBlocks = 4;

    struct TBlock {
        int Index;
        std::vector<TRecordValues> Records;
    };

    // A row deleted by another program since the query opened reads as Nulls.
    TBlock ReadBlock(int Index) const
    {
        const size_t first = size_t(Index) * BlockSize;
        const size_t count = std::min<size_t>(BlockSize, FIds.size() - first);
        QHash<TRecordId, size_t> positions;
        for (size_t i = 0; i < BlockSize; ++i) {
            if (i < count) {
                FFetch.BindInt64(int(i) + 1, FIds[first + i]);
                positions.insert(FIds[first + i], i);
            } else {
                FFetch.BindNull(int(i) + 1);
            }
        }
        TBlock block{Index, std::vector<TRecordValues>(count, TRecordValues(FFields.size(), Variant::Null()))};
        while (FFetch.Step())
            block.Records[positions.value(FFetch.ColumnInt64(0))] = ReadRecord(FFetch, FFields);
        FFetch.Reset();
        return block;
    }

    TSQLiteDatabase& FDatabase;
    String FTable;
    mutable TSQLiteStatement FFetch;
    std::vector<TCursorField> FFields;
    std::vector<TRecordId> FIds;
    std::vector<TRecordId> FSourceIds;  // the order the query gave, kept once a sort changes it
    mutable std::list<TBlock> FBlocks;  // most recently used first
};

}  // namespace

std::unique_ptr<TRecordCursor> OpenSQLiteCursor(TSQLiteDatabase& Database, TSQLiteStatement& Statement,
                                                const String& Table)
{
    if (Table.isEmpty())
        return std::make_unique<TStaticCursor>(Statement);
    return std::make_unique<TKeysetCursor>(Database, Statement, Table);
}

void BindVariant(TSQLiteStatement& Statement, int Index, const Variant& Value)
{
    switch (VarType(Value) & varTypeMask) {
    case varEmpty:
    case varNull:
        Statement.BindNull(Index);
        break;
    case varBoolean:
        Statement.BindInt64(Index, Value.AsBoolean() ? -1 : 0);
        break;
    case varSmallint:
    case varInteger:
    case varByte:
    case varWord:
    case varInt64:
        Statement.BindInt64(Index, Value.AsInt64());
        break;
    case varSingle:
    case varDouble:
    case varCurrency:
        Statement.BindDouble(Index, Value.AsDouble());
        break;
    case varDate:
        Statement.BindText(Index, FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss"), Value.AsDateTime()));
        break;
    default:
        if (VarIsArray(Value))
            Statement.BindBlob(Index, Value.AsBytes());
        else
            Statement.BindText(Index, Value.AsString());
        break;
    }
}
