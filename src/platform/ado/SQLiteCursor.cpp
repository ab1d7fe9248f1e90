// The cursors behind TADOQuery: how the rows of a SQLite statement reach a dataset.
//
// A single-table "select * from T [where] [order by]" opens at the cost of what the screen shows:
// it counts its rows (taking the caller's totals in the same statement), reads the ids of the
// first block in the query's order, and reads further blocks of ids (from either end) and blocks
// of rows only as the dataset's window reaches them.
// Every other result is read whole and is read-only.
//
// Sections, in order:
//   reading stored values   - declared field types, values, dates as the file stores them
//   the whole result        - TStaticCursor
//   keyset statements       - the count, the ids and the ids from the last of a single-table select
//   keyset source           - the snapshot the ids are read from, and the plan chosen to read them
//   keyset cursor           - ids in blocks, the row cache, and the writes to the table
//   entry points            - OpenSQLiteCursor, CursorStatements, BindVariant
#include "platform/ado/SQLiteCursor.h"

#include "platform/ado/JetSql.h"
#include "platform/data/SortText.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DatabaseError.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <list>
#include <numeric>
#include <optional>
#include <unordered_set>

namespace {

// --- Reading stored values ------------------------------------------------------------------

// Reads "yyyy-MM-dd hh:mm:ss" (the time optional) from SQLite's own UTF-8, without going
// through time zones or a string of its own: this runs for every date a window shows or exports.
bool TryParseStoredDate(QByteArrayView Text, TDateTime& Value)
{
    const auto number = [&Text](int From, int Length) {
        int result = 0;
        for (int i = From; i < From + Length; ++i) {
            if (Text[i] < '0' || Text[i] > '9')
                return -1;
            result = result * 10 + (Text[i] - '0');
        }
        return result;
    };
    if ((Text.size() != 10 && Text.size() != 19) || Text[4] != '-' || Text[7] != '-')
        return false;
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    TDateTime date = 0, time = 0;
    if (year < 0 || month < 0 || day < 0 || !TryEncodeDate(Word(year), Word(month), Word(day), date))
        return false;
    if (Text.size() == 19) {
        const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
        if (Text[10] != ' ' || Text[13] != ':' || Text[16] != ':' || hour < 0 || minute < 0 || second < 0
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
    if (Type != TFieldType::ftDateTime)
        return Variant(Statement.ColumnText(Column));
    // An empty date is no date; other text that is no stored date is kept for the field to show.
    const QByteArrayView text = Statement.ColumnUtf8(Column);
    TDateTime date;
    if (text.isEmpty())
        return Variant::Null();
    return TryParseStoredDate(text, date) ? Variant::FromDateTime(date) : Variant(String::fromUtf8(text));
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
    DatabaseError(QStringLiteral("无法更新：查询结果是只读的。"));
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

// --- The statements of a keyset ------------------------------------------------------------

// "select id from T [where W] [order by O]" taken apart into the statements a keyset runs.
struct TKeysetSql {
    String Head;      // "select id from T"
    String Where;     // " where W", or empty
    String Order;     // " order by O", or empty
    String Reversed;  // the order turned round; empty unless the order is total (ends with id)

    // The count, followed by the aggregates Totals names over the same records.
    String Count(const QStringList& Totals = {}) const
    {
        const String from = Head.mid(Head.indexOf(QLatin1String(" from ")));
        // A whole table's count alone is read from its b-tree's pages; beside another aggregate
        // it would step every row again.
        QStringList columns{Where.isEmpty() && !Totals.isEmpty() ? QStringLiteral("(select count(*)") + from + u')'
                                                                  : QStringLiteral("count(*)")};
        return Aggregates(columns << Totals);
    }
    // The aggregates Columns names over the records, without their count.
    String Aggregates(const QStringList& Columns) const
    {
        return QStringLiteral("select ") + Columns.join(u',') + Head.mid(Head.indexOf(QLatin1String(" from "))) + Where;
    }
    String Ids(const String& Index = String()) const { return WithIndex(Index) + Where + Order; }
    String FromLast(const String& Index = String()) const { return WithIndex(Index) + Where + Reversed; }
    // The order alone, to find the index that gives it.
    String OrderOnly() const { return Head + Order; }

private:
    String WithIndex(const String& Index) const
    {
        return Index.isEmpty() ? Head : Head + QStringLiteral(" INDEXED BY ") + Index;
    }
};

bool IsKeyword(const TJetToken& Token, const char* Word)
{
    return Token.Kind == TJetTokenKind::Word && Token.Text.compare(QLatin1String(Word), Qt::CaseInsensitive) == 0;
}

String JoinTokens(std::vector<TJetToken>::const_iterator From, std::vector<TJetToken>::const_iterator To)
{
    String text;
    for (auto token = From; token != To; ++token)
        text += u' ' + token->Text;
    return text;
}

// The order terms turned round, or empty when equal ids could come in either order.
String ReversedOrder(const std::vector<TJetToken>& Terms)
{
    std::vector<std::vector<TJetToken>> split(1);
    int depth = 0;
    for (const TJetToken& token : Terms) {
        depth += (token.Text == u'(') - (token.Text == u')');
        if (depth == 0 && token.Kind == TJetTokenKind::Symbol && token.Text == u',')
            split.emplace_back();
        else
            split.back().push_back(token);
    }
    const std::vector<TJetToken>& last = split.back();
    if (last.empty() || !IsKeyword(last.front(), "id") || (last.size() > 1 && !IsKeyword(last[1], "asc") && !IsKeyword(last[1], "desc")))
        return String();
    QStringList reversed;
    for (std::vector<TJetToken> term : split) {
        if (term.empty())
            return String();
        TJetToken& direction = term.back();
        if (IsKeyword(direction, "desc"))
            direction.Text = QStringLiteral("asc");
        else if (IsKeyword(direction, "asc"))
            direction.Text = QStringLiteral("desc");
        else
            term.push_back({TJetTokenKind::Word, QStringLiteral("desc")});
        reversed << JoinTokens(term.begin(), term.end()).mid(1);
    }
    return QStringLiteral(" order by ") + reversed.join(QStringLiteral(", "));
}

TKeysetSql SplitKeysetSql(const String& KeysetSql)
{
    std::vector<TJetToken> tokens;
    for (TJetToken& token : TokeniseJetSql(KeysetSql))
        if (token.Kind != TJetTokenKind::Space)
            tokens.push_back(std::move(token));
    // "select id from T": four tokens, then the where and the order at the top level.
    auto order = tokens.end();
    int depth = 0;
    for (auto token = tokens.begin() + 4; token != tokens.end(); ++token) {
        depth += (token->Text == u'(') - (token->Text == u')');
        if (depth == 0 && IsKeyword(*token, "order") && token + 1 != tokens.end() && IsKeyword(token[1], "by")) {
            order = token;
            break;
        }
    }
    TKeysetSql sql;
    // Spelled out, whatever case the statement wrote its keywords in, as the other statements
    // take the head apart by these words.
    sql.Head = QStringLiteral("select id from") + JoinTokens(tokens.begin() + 3, tokens.begin() + 4);
    sql.Where = JoinTokens(tokens.begin() + 4, order);
    if (order != tokens.end()) {
        sql.Order = JoinTokens(order, tokens.end());
        sql.Reversed = ReversedOrder(std::vector<TJetToken>(order + 2, tokens.end()));
    }
    return sql;
}

String ReadBlockSql(const String& Table, int Size)
{
    return QStringLiteral("select * from %1 where id in (%2)").arg(Table, QStringList(Size, QStringLiteral("?")).join(u','));
}

// --- Field totals ------------------------------------------------------------------------------

// The column that totals Field in Currency units; none for a date, whose total is no sum.
std::optional<String> CurrencyTotalColumn(const TCursorField& Field)
{
    if (Field.DataType == TFieldType::ftDateTime)
        return std::nullopt;
    return QStringLiteral("currency_total(\"%1\")").arg(String(Field.Name).replace(u'"', QLatin1String("\"\"")));
}

TFieldTotal ReadFieldTotal(const TSQLiteStatement& Statement, int Column)
{
    const TSQLiteCurrencyTotal total = Statement.ColumnCurrencyTotal(Column);
    return {Currency::FromRaw(total.Units), int(total.NotNull)};
}

// The positions in Fields of the fields Names names, as a field is found by its name, each once.
std::vector<int> NamedFields(const std::vector<TCursorField>& Fields, const QStringList& Names)
{
    std::vector<int> indexes;
    for (int i = 0; i < int(Fields.size()); ++i)
        if (Names.contains(Fields[size_t(i)].Name, Qt::CaseInsensitive))
            indexes.push_back(i);
    return indexes;
}

// --- The ids of a keyset, read lazily from a snapshot ------------------------------------------

// The keyset's ids by their position in the query's order. Outside a transaction they come from
// a read transaction on a connection of its own, so that what another program (or this one)
// writes later does not move the positions still to be read; the snapshot ends when every id has
// been read. Inside a transaction of the query's connection everything is read at once from it,
// since a snapshot would miss the transaction's own writes.
class TKeysetSource {
public:
    // FieldTotalColumns are currency_total columns counted beside the records; FieldTotals
    // answers them unless they failed.
    TKeysetSource(TSQLiteDatabase& Database, TSnapshotConnection& Snapshots, const TKeysetSql& Sql, const String& Shown,
                  TStatementBinder Bind, int WalkThreshold, TCursorTotals* Totals, const QStringList& FieldTotalColumns)
        : FSql(Sql), FShown(Shown), FBind(std::move(Bind)), FDatabase(&Database)
    {
        if (sqlite3_get_autocommit(Database.Handle())) {
            FDatabase = &Snapshots.Begin(Database);
            FSnapshots = &Snapshots;
        }
        try {
            const QStringList expressions = Totals ? Totals->Expressions : QStringList();
            if (!FieldTotalColumns.isEmpty())
                Count(expressions, FieldTotalColumns, Totals);
            if (!FFieldTotals)
                Count(expressions, {}, Totals);
            FIndex = WalkingIndex(Snapshots, WalkThreshold);
        } catch (...) {
            EndSnapshot();  // the next opening begins its own
            throw;
        }
    }

    TKeysetSource(const TKeysetSource&) = delete;
    TKeysetSource& operator=(const TKeysetSource&) = delete;

    // Ends the snapshot; a read transaction has nothing to keep.
    ~TKeysetSource()
    {
        FForward.reset();
        FBackward.reset();
        EndSnapshot();
    }

    int Count() const { return FCount; }
    // The totals of the field total columns, in their order, over the records counted; none
    // when a column failed (a text that is no number, a sum beyond Currency's range).
    const std::optional<std::vector<TFieldTotal>>& FieldTotals() const { return FFieldTotals; }
    // True while later writes cannot move the positions: outside a transaction.
    bool Lazy() const { return FSnapshots != nullptr; }

    // The ids at positions From .. From + Size - 1, read from whichever end is nearer.
    // A statement over the keyset's records, bound, on the connection its ids come from.
    TSQLiteStatement Prepare(const String& Sql) const
    {
        TSQLiteStatement statement = FDatabase->PrepareKept(Sql, FShown);
        FBind(statement);
        return statement;
    }

    std::vector<TRecordId> Read(int From, int Size)
    {
        const int fromEnd = FCount - From - Size;
        const int forward = FForward && From >= FForwardAt ? From - FForwardAt : From;
        const int backward = FBackward && fromEnd >= FBackwardAt ? fromEnd - FBackwardAt : fromEnd;
        if (FSql.Reversed.isEmpty() || forward <= backward)
            return Step(FForward, FForwardAt, FSql.Ids(FIndex), From, Size);
        std::vector<TRecordId> ids = Step(FBackward, FBackwardAt, FSql.FromLast(FIndex), fromEnd, Size);
        std::reverse(ids.begin(), ids.end());
        return ids;
    }

private:
    // Counts the records with Expressions and the FieldTotalColumns beside them. A failing field
    // total leaves FFieldTotals empty, so that the count is taken again without them: a footer
    // that cannot be totalled must not keep the records from opening.
    void Count(const QStringList& Expressions, const QStringList& FieldTotalColumns, TCursorTotals* Totals)
    {
        std::optional<TSQLiteStatement> count;
        try {
            count = Prepare(FSql.Count(QStringList(Expressions) << FieldTotalColumns));
            count->Step();
        } catch (const EDatabaseError&) {
            if (FieldTotalColumns.isEmpty())
                throw;
            return;
        }
        FCount = int(count->ColumnInt64(0));
        const int firstTotal = count->ColumnCount() - int(FieldTotalColumns.size());
        if (Totals)
            for (int i = 1; i < firstTotal; ++i)
                Totals->Values.push_back(ReadValue(*count, i, TFieldType::ftUnknown));
        if (FieldTotalColumns.isEmpty())
            return;
        std::vector<TFieldTotal> fieldTotals;
        for (int i = firstTotal; i < count->ColumnCount(); ++i)
            fieldTotals.push_back(ReadFieldTotal(*count, i));
        FFieldTotals = std::move(fieldTotals);
    }

    void EndSnapshot() noexcept
    {
        if (FSnapshots)
            FSnapshots->End();
    }

    // Steps Statement, which has given the ids up to At, to the Size ids from Skip on; a statement
    // past Skip starts again there.
    std::vector<TRecordId> Step(std::optional<TSQLiteStatement>& Statement, int& At, const String& Sql, int Skip,
                                int Size)
    {
        if (!Statement || Skip < At) {
            Statement = Prepare(Sql + QStringLiteral(" LIMIT -1 OFFSET %1").arg(Skip));
            At = Skip;
        }
        std::vector<TRecordId> ids;
        ids.reserve(size_t(Size));
        while (At < Skip + Size && Statement->Step()) {
            if (At++ >= Skip)
                ids.push_back(Statement->ColumnInt64(0));
        }
        if (int(ids.size()) != Size)
            StatementError(QStringLiteral("The records changed while they were read."), FShown);
        return ids;
    }

    bool PlanSorts(const String& Sql, String* Index = nullptr) const
    {
        static const QRegularExpression usingIndex(QStringLiteral("^SCAN \\S+ USING (?:COVERING )?INDEX (\\S+)"));
        // Prepared afresh: a plan is made as it is prepared, and a kept one outlives the indexes.
        TSQLiteStatement plan = FDatabase->Prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + Sql, FShown);
        FBind(plan);
        bool sorts = false;
        while (plan.Step()) {
            const String detail = plan.ColumnText(3);
            sorts = sorts || detail.startsWith(QLatin1String("USE TEMP B-TREE FOR ORDER BY"));
            if (const QRegularExpressionMatch match = usingIndex.match(detail); Index && match.hasMatch())
                *Index = match.captured(1);
        }
        return sorts;
    }

    // SQLite plans a filter served by an index as a search of that index and a sort of every
    // match, even when only the first block is wanted. When the matches are many, walking the
    // index of the order and testing each record finds a block sooner: about
    // Rows / Count * block records against Count. Answers that index, or empty for the plan's own.
    String WalkingIndex(TSnapshotConnection& Snapshots, int WalkThreshold) const
    {
        if (FSql.Order.isEmpty() || FCount == 0)
            return String();
        const String index = OrderIndex(Snapshots);
        if (index.isEmpty())
            return String();
        TSQLiteStatement rows = FDatabase->PrepareKept(String(FSql.Head).replace(QLatin1String("select id"), QLatin1String("select max(id)")));
        rows.Step();
        return double(FCount) * FCount > double(WalkThreshold) * double(rows.ColumnInt64(0)) ? index : String();
    }

    // The index giving the order alone when the plan sorts the matches, else empty. The plan is
    // the text's, so it is checked once per text and schema version, not at every opening;
    // whichever index is walked, the order and the records are the statement's.
    String OrderIndex(TSnapshotConnection& Snapshots) const
    {
        TSQLiteStatement version = FDatabase->PrepareKept(QStringLiteral("PRAGMA schema_version"));
        version.Step();
        const std::int64_t schema = version.ColumnInt64(0);
        const String ids = FSql.Ids();
        if (const std::optional<String> known = Snapshots.KnownPlan(ids, schema))
            return *known;
        String index;
        if (!PlanSorts(ids) || PlanSorts(FSql.OrderOnly(), &index))
            index.clear();
        Snapshots.KnowPlan(ids, schema, index);
        return index;
    }

    TKeysetSql FSql;
    String FShown;
    TStatementBinder FBind;
    TSQLiteDatabase* FDatabase;
    TSnapshotConnection* FSnapshots = nullptr;  // whose snapshot the ids come from, else the query's connection
    int FCount = 0;
    std::optional<std::vector<TFieldTotal>> FFieldTotals;
    String FIndex;  // the index walked in place of the plan's sort, or empty
    std::optional<TSQLiteStatement> FForward, FBackward;
    int FForwardAt = 0, FBackwardAt = 0;  // the ids each has given, counted from its own end
};

// --- Ids in blocks, read as the window reaches them; rows read a block at a time ------------

class TKeysetCursor final : public TRecordCursor {
public:
    TKeysetCursor(TSQLiteDatabase& Database, const TJetStatement& Statement, const String& Shown,
                  const TStatementBinder& Bind, TSnapshotConnection& Snapshots, int CacheSize, TCursorTotals* Totals)
        : FDatabase(Database), FTable(Statement.Table), FSql(SplitKeysetSql(Statement.KeysetSql)), FShown(Shown),
          FBind(Bind), FRowBlockSize(std::max(1, CacheSize)),
          FFetch(Database.PrepareKept(ReadBlockSql(Statement.Table, FRowBlockSize), Shown)),
          FFields(DeclaredFields(FFetch))
    {
        if (FFields.empty() || FFields[0].DataType != TFieldType::ftAutoInc)
            StatementError(QStringLiteral("The table has no id column."), Shown);
        std::vector<int> totalled;
        QStringList fieldTotalColumns;
        for (int index : NamedFields(FFields, Totals ? Totals->FieldNames : QStringList()))
            if (const std::optional<String> column = CurrencyTotalColumn(FFields[size_t(index)])) {
                totalled.push_back(index);
                fieldTotalColumns << *column;
            }
        // Marked before the count: a write in between shows as one made after it.
        if (!totalled.empty())
            FOpeningMark = TSnapshotConnection::WriteMark(Database);
        FSource = std::make_unique<TKeysetSource>(Database, Snapshots, FSql, Shown, Bind, IdBlockSize, Totals,
                                                  fieldTotalColumns);
        FCount = FSource->Count();
        if (const auto& totals = FSource->FieldTotals())
            for (size_t i = 0; i < totalled.size(); ++i)
                FOpeningTotals.emplace_back(totalled[i], (*totals)[i]);
        // The first block holds what the screen shows; the blocks double as the window moves on.
        for (int start = 0, size = std::min(FRowBlockSize, IdBlockSize); start < FCount;
             start += size, size = std::min(2 * size, IdBlockSize))
            FBlocks.push_back({start, start, std::min(size, FCount - start), {}});
        FUnread = int(FBlocks.size());
        if (!FSource->Lazy() || FCount <= IdBlockSize)
            ReadAllIds();
        if (FUnread == 0)
            FSource.reset();
    }

    const std::vector<TCursorField>& Fields() const override { return FFields; }
    int RecordCount() const override { return FCount; }

    TRecordId IdAt(int Position) const override
    {
        const TIdBlock& block = ReadBlock(BlockAt(Position));
        return block.Ids[size_t(Position - block.Start)];
    }

    // Ids not read yet are read first: a bookmark may name any of them.
    int PositionOf(TRecordId Id) const override
    {
        if (const int position = ReadPositionOf(Id); position >= 0 || FUnread == 0)
            return position;
        ReadAllIds();
        return ReadPositionOf(Id);
    }

    TRecordValues ValuesAt(int Position) const override
    {
        auto cached = std::find_if(FRows.begin(), FRows.end(), [Position](const TRowBlock& b) { return b.Holds(Position); });
        if (cached == FRows.end()) {
            // A walk from record to record (an export, a sum, scrolling on) reads on from the
            // last block in long blocks; any other record reads the screen's block around it.
            const bool walking = !FRows.empty() && Position == FRows.front().End();
            if (FRows.size() == CachedRowBlocks)
                FRows.pop_back();
            FRows.push_front(walking ? ReadRows(Position, WalkFetch(), WalkRowBlockSize)
                                     : ReadRows(Position - Position % FRowBlockSize, FFetch, FRowBlockSize));
            cached = FRows.begin();
        } else if (cached != FRows.begin()) {
            FRows.splice(FRows.begin(), FRows, cached);
        }
        return cached->Records[size_t(Position - cached->First)];
    }

    void Sort(const TSortSpec& Spec) override
    {
        ReadAllIds();
        std::vector<TRecordId> current = AllIds();
        if (FSourceIds.empty())
            FSourceIds = current;
        std::vector<TRecordId> ids;
        ids.reserve(current.size());
        if (Spec.empty()) {
            // Records inserted since keep their place at the end; deleted ones stay gone.
            const std::unordered_set<TRecordId> present(current.begin(), current.end());
            const std::unordered_set<TRecordId> source(FSourceIds.begin(), FSourceIds.end());
            for (TRecordId id : FSourceIds)
                if (present.contains(id))
                    ids.push_back(id);
            for (TRecordId id : current)
                if (!source.contains(id))
                    ids.push_back(id);
        } else {
            for (int index : SortedOrder(RecordCount(), Spec, [this](int i) { return ValuesAt(i); }))
                ids.push_back(current[size_t(index)]);
        }
        SetIds(ids);
    }

    bool CanModify() const override { return true; }

    // One statement over the query's own where. In the snapshot the keyset was counted in, the
    // records are the keyset's; past it, the statement's count must still be the keyset's. Once
    // the cursor has written, its records are no longer the statement's (an insert need not match
    // the where, an edit may leave it). A date's empty text reads as Null, which SQL counts.
    std::optional<std::vector<TFieldTotal>> FieldTotals(const std::vector<int>& FieldIndexes) const override
    {
        QStringList columns;
        for (int index : FieldIndexes) {
            const std::optional<String> column = CurrencyTotalColumn(FFields[size_t(index)]);
            if (!column)
                return std::nullopt;
            columns << *column;
        }
        if (FWritten)
            return std::nullopt;
        if (std::optional<std::vector<TFieldTotal>> opening = OpeningTotals(FieldIndexes))
            return opening;
        if (columns.isEmpty())
            return std::vector<TFieldTotal>();
        try {
            std::optional<TSQLiteStatement> totals;
            if (FSource) {
                totals = FSource->Prepare(FSql.Aggregates(columns));
                totals->Step();
            } else {
                totals = FDatabase.PrepareKept(FSql.Count(columns), FShown);
                FBind(*totals);
                if (!totals->Step() || totals->ColumnInt64(0) != FCount)
                    return std::nullopt;
            }
            std::vector<TFieldTotal> result;
            for (int column = FSource ? 0 : 1; column < totals->ColumnCount(); ++column)
                result.push_back(ReadFieldTotal(*totals, column));
            return result;
        } catch (const EDatabaseError&) {
            return std::nullopt;
        }
    }

    TRecordId Insert(int Position, const TFieldValues& Values) override
    {
        QStringList names, marks;
        for (const TFieldValue& value : Values) {
            names << FFields[size_t(value.FieldIndex)].Name;
            marks << QStringLiteral("?");
        }
        TSQLiteStatement insert = FDatabase.PrepareKept(
            names.isEmpty() ? QStringLiteral("insert into %1 default values").arg(FTable)
                            : QStringLiteral("insert into %1(%2) values(%3)").arg(FTable, names.join(u','), marks.join(u',')));
        for (int i = 0; i < int(Values.size()); ++i)
            BindVariant(insert, i + 1, Values[size_t(i)].Value);
        insert.Step();
        FWritten = true;
        const TRecordId id = sqlite3_last_insert_rowid(FDatabase.Handle());
        if (FBlocks.empty())
            FBlocks.push_back({0, 0, 0, {}});
        // An append joins the last block.
        const size_t index = Position < FCount ? BlockAt(Position) : FBlocks.size() - 1;
        TIdBlock& block = ReadBlock(index);
        block.Ids.insert(block.Ids.begin() + (Position - block.Start), id);
        ++block.Size;
        Shift(index + 1, 1);
        return id;
    }

    void Update(TRecordId Id, const TFieldValues& Values) override
    {
        if (Values.empty())
            return;
        QStringList assignments;
        for (const TFieldValue& value : Values)
            assignments << FFields[size_t(value.FieldIndex)].Name + QStringLiteral("=?");
        TSQLiteStatement update = FDatabase.PrepareKept(
            QStringLiteral("update %1 set %2 where id=?").arg(FTable, assignments.join(u',')));
        int index = 1;
        for (const TFieldValue& value : Values)
            BindVariant(update, index++, value.Value);
        update.BindInt64(index, Id);
        update.Step();
        FWritten = true;
        FRows.clear();
        // Another program deleted the row since it was read: the edit would vanish unnoticed.
        if (FDatabase.Changes() == 0)
            StatementError(QStringLiteral("找不到要更新的行。自上次读取以来，某些值可能已被更改。"),
                           update.Shown());
    }

    void Delete(TRecordId Id) override
    {
        TSQLiteStatement remove = FDatabase.PrepareKept(QStringLiteral("delete from %1 where id=?").arg(FTable));
        remove.BindInt64(1, Id);
        remove.Step();
        FWritten = true;
        const int position = PositionOf(Id);
        if (position < 0)
            return;
        const size_t index = BlockAt(position);
        TIdBlock& block = FBlocks[index];
        block.Ids.erase(block.Ids.begin() + (position - block.Start));
        size_t next = index + 1;
        if (--block.Size == 0)
            FBlocks.erase(FBlocks.begin() + std::ptrdiff_t(next = index));
        Shift(next, -1);
    }

private:
    static constexpr int IdBlockSize = 256;
    static constexpr size_t CachedRowBlocks = 4;
    // A walk's rows read at a time: a statement run per few rows would cost more than the rows.
    static constexpr int WalkRowBlockSize = 256;

    // Positions Start .. Start + Size - 1; Source is the position of the first in the snapshot's
    // order. Read once Ids holds them all; only read blocks change.
    struct TIdBlock {
        int Start;
        int Source;
        int Size;
        std::vector<TRecordId> Ids;
        bool Read() const { return int(Ids.size()) == Size; }
    };

    // The rows at positions First .. End() - 1.
    struct TRowBlock {
        int First;
        std::vector<TRecordValues> Records;
        int End() const { return First + int(Records.size()); }
        bool Holds(int Position) const { return Position >= First && Position < End(); }
    };

    // The totals counted with the records of every field at FieldIndexes, if all were and the
    // file has not been written since.
    std::optional<std::vector<TFieldTotal>> OpeningTotals(const std::vector<int>& FieldIndexes) const
    {
        if (FieldIndexes.empty() || FOpeningTotals.empty()
            || TSnapshotConnection::WriteMark(FDatabase) != FOpeningMark)
            return std::nullopt;
        std::vector<TFieldTotal> totals;
        for (int index : FieldIndexes) {
            const auto found = std::find_if(FOpeningTotals.begin(), FOpeningTotals.end(),
                                            [index](const auto& Total) { return Total.first == index; });
            if (found == FOpeningTotals.end())
                return std::nullopt;
            totals.push_back(found->second);
        }
        return totals;
    }

    size_t BlockAt(int Position) const
    {
        const auto after = std::upper_bound(FBlocks.begin(), FBlocks.end(), Position,
                                            [](int p, const TIdBlock& block) { return p < block.Start; });
        return size_t(after - FBlocks.begin()) - 1;
    }

    TIdBlock& ReadBlock(size_t Index) const
    {
        TIdBlock& block = FBlocks[Index];
        if (!block.Read()) {
            block.Ids = FSource->Read(block.Source, block.Size);
            ReleaseWhenRead();
        }
        return block;
    }

    // Every id not read yet, in one pass of the keyset.
    void ReadAllIds() const
    {
        if (FUnread == 0)
            return;
        const std::vector<TRecordId> all = FSource->Read(0, FSource->Count());
        for (TIdBlock& block : FBlocks)
            if (!block.Read()) {
                block.Ids.assign(all.begin() + block.Source, all.begin() + block.Source + block.Size);
                ReleaseWhenRead();
            }
    }

    void ReleaseWhenRead() const
    {
        if (--FUnread == 0)
            FSource.reset();
    }

    int ReadPositionOf(TRecordId Id) const
    {
        for (const TIdBlock& block : FBlocks) {
            const auto found = std::find(block.Ids.begin(), block.Ids.end(), Id);
            if (found != block.Ids.end())
                return block.Start + int(found - block.Ids.begin());
        }
        return -1;
    }

    std::vector<TRecordId> AllIds() const
    {
        std::vector<TRecordId> ids;
        ids.reserve(size_t(FCount));
        for (const TIdBlock& block : FBlocks)
            ids.insert(ids.end(), block.Ids.begin(), block.Ids.end());
        return ids;
    }

    void SetIds(const std::vector<TRecordId>& Ids)
    {
        FBlocks.clear();
        for (int start = 0; start < int(Ids.size()); start += IdBlockSize) {
            const int size = std::min(IdBlockSize, int(Ids.size()) - start);
            FBlocks.push_back({start, start, size, {Ids.begin() + start, Ids.begin() + start + size}});
        }
        FRows.clear();
    }

    // The blocks from First on move by Delta positions after an insert or a delete before them.
    void Shift(size_t First, int Delta)
    {
        for (size_t i = First; i < FBlocks.size(); ++i)
            FBlocks[i].Start += Delta;
        FCount += Delta;
        FRows.clear();
    }

    TSQLiteStatement& WalkFetch() const
    {
        if (!FWalkFetch)
            FWalkFetch = FDatabase.PrepareKept(ReadBlockSql(FTable, WalkRowBlockSize), FShown);
        return *FWalkFetch;
    }

    // The rows from position First on, read by Fetch, which takes Size ids. A row deleted by
    // another program since the query opened reads as Nulls.
    TRowBlock ReadRows(int First, TSQLiteStatement& Fetch, int Size) const
    {
        const int count = std::min(Size, FCount - First);
        QHash<TRecordId, size_t> positions;
        positions.reserve(count);
        for (int i = 0; i < Size; ++i) {
            if (i < count) {
                const TRecordId id = IdAt(First + i);
                Fetch.BindInt64(i + 1, id);
                positions.insert(id, size_t(i));
            } else {
                Fetch.BindNull(i + 1);
            }
        }
        TRowBlock block{First, std::vector<TRecordValues>(size_t(count))};
        while (Fetch.Step())
            block.Records[positions.value(Fetch.ColumnInt64(0))] = ReadRecord(Fetch, FFields);
        Fetch.Reset();
        for (TRecordValues& record : block.Records)
            if (record.empty())
                record.assign(FFields.size(), Variant::Null());
        return block;
    }

    TSQLiteDatabase& FDatabase;
    String FTable;
    TKeysetSql FSql;
    String FShown;
    TStatementBinder FBind;  // for statements over the records once the source is gone
    int FRowBlockSize;       // the rows read at a time
    mutable TSQLiteStatement FFetch;
    mutable std::optional<TSQLiteStatement> FWalkFetch;  // prepared at the first walk
    std::vector<TCursorField> FFields;
    mutable std::unique_ptr<TKeysetSource> FSource;  // until every id is read
    mutable std::vector<TIdBlock> FBlocks;
    mutable int FUnread = 0;  // blocks not read yet
    int FCount = 0;
    std::vector<TRecordId> FSourceIds;    // the order the query gave, kept once a sort changes it
    bool FWritten = false;                // an insert, update or delete went through the cursor
    // The fields totalled as the records were counted, by position, with their totals.
    std::vector<std::pair<int, TFieldTotal>> FOpeningTotals;
    std::pair<std::int64_t, std::int64_t> FOpeningMark;  // the file's write mark before the count
    mutable std::list<TRowBlock> FRows;  // most recently used first
};

}  // namespace

// --- Entry points ---------------------------------------------------------------------------

namespace {

// Every snapshot connection of the program: the GUI thread alone opens queries.
std::vector<TSnapshotConnection*>& SnapshotConnections()
{
    static std::vector<TSnapshotConnection*> connections;
    return connections;
}

}  // namespace

TSnapshotConnection::TSnapshotConnection() { SnapshotConnections().push_back(this); }

TSnapshotConnection::~TSnapshotConnection()
{
    End();
    std::erase(SnapshotConnections(), this);
}

std::pair<std::int64_t, std::int64_t> TSnapshotConnection::WriteMark(const TSQLiteDatabase& Database)
{
    TSQLiteStatement version = Database.PrepareKept(QStringLiteral("PRAGMA data_version"));
    version.Step();
    return {version.ColumnInt64(0), sqlite3_total_changes64(Database.Handle())};
}

TSQLiteDatabase& TSnapshotConnection::Begin(const TSQLiteDatabase& Database)
{
    End();
    if (FFor != Database.Handle()) {
        Close();
        FDatabase = std::make_unique<TSQLiteDatabase>(String::fromUtf8(sqlite3_db_filename(Database.Handle(), "main")));
        FDatabase->SetBusyTimeout(2000);
        FFor = Database.Handle();
        FRoomForRanges = false;
    } else if (!FRoomForRanges) {
        // A list opened again is the clerk requerying, each keystroke counting the same index
        // range: room for the range of a large list keeps it in memory. The first opening reads
        // its range once, and the room would only cost the start fresh memory. The file is not
        // mapped: a read error in a map would end the program with a signal instead of failing
        // the statement.
        FDatabase->ExecuteScript(QStringLiteral("PRAGMA cache_size=-16384"));
        FRoomForRanges = true;
    }
    // Marked before the snapshot begins: a write in between shows as one made after it.
    FMark = WriteMark(Database);
    FDatabase->ExecuteScript(QStringLiteral("BEGIN"));
    FInSnapshot = true;
    return *FDatabase;
}

void TSnapshotConnection::End() noexcept
{
    if (FInSnapshot && !sqlite3_get_autocommit(FDatabase->Handle()))
        sqlite3_exec(FDatabase->Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    FInSnapshot = false;
}

void TSnapshotConnection::Close()
{
    End();
    FDatabase.reset();
    FFor = nullptr;
    // Another file may open next, with other indexes under the same schema version.
    FPlans.clear();
    FPlansSchema = -1;
}

TSQLiteDatabase* TSnapshotConnection::Current(const TSQLiteDatabase& Database)
{
    std::optional<std::pair<std::int64_t, std::int64_t>> mark;
    for (TSnapshotConnection* connection : SnapshotConnections())
        if (connection->FInSnapshot && connection->FFor == Database.Handle()) {
            if (!mark)
                mark = WriteMark(Database);
            if (*mark == connection->FMark)
                return connection->FDatabase.get();
        }
    return nullptr;
}

std::optional<String> TSnapshotConnection::KnownPlan(const String& Sql, std::int64_t Schema) const
{
    if (Schema != FPlansSchema)
        return std::nullopt;
    const auto found = FPlans.constFind(Sql);
    return found == FPlans.cend() ? std::nullopt : std::optional<String>(*found);
}

void TSnapshotConnection::KnowPlan(const String& Sql, std::int64_t Schema, const String& Index)
{
    constexpr int Kept = 64;
    if (Schema != FPlansSchema || FPlans.size() >= Kept) {
        FPlans.clear();
        FPlansSchema = Schema;
    }
    FPlans.insert(Sql, Index);
}

std::unique_ptr<TRecordCursor> OpenSQLiteCursor(TSQLiteDatabase& Database, const TJetStatement& Statement,
                                                const String& Shown, const TStatementBinder& Bind,
                                                TSnapshotConnection& Snapshots, int CacheSize, TCursorTotals* Totals)
{
    if (Totals)
        Totals->Values.clear();
    if (!Statement.Table.isEmpty())
        return std::make_unique<TKeysetCursor>(Database, Statement, Shown, Bind, Snapshots, CacheSize, Totals);
    // Outside a transaction a current snapshot gives the same records, its pages likely in memory.
    TSQLiteDatabase* current = sqlite3_get_autocommit(Database.Handle()) ? TSnapshotConnection::Current(Database) : nullptr;
    TSQLiteStatement whole = (current ? *current : Database).PrepareKept(Statement.Sql, Shown);
    Bind(whole);
    return std::make_unique<TStaticCursor>(whole);
}

std::vector<String> CursorStatements(const TJetStatement& Statement, const QStringList& Totals)
{
    if (Statement.Table.isEmpty())
        return {Statement.Sql};
    const TKeysetSql sql = SplitKeysetSql(Statement.KeysetSql);
    std::vector<String> statements{sql.Count(Totals), sql.Ids(), ReadBlockSql(Statement.Table, 2)};
    if (!sql.Reversed.isEmpty())
        statements.push_back(sql.FromLast());
    return statements;
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
