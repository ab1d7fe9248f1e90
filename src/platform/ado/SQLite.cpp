// Statements and database files on the SQLite C API, the pinyin collation and file inspection.
#include "platform/ado/SQLite.h"

#include "platform/core/Collation.h"
#include "platform/core/Currency.h"
#include "platform/core/Exceptions.h"
#include "platform/data/DatabaseError.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

void StatementError(const String& Reason, const String& Statement)
{
    throw EDatabaseError(QStringLiteral("%1 [SQL: %2]").arg(Reason, Statement));
}

namespace {

String Utf8(const char* Text) { return String::fromUtf8(Text); }

}  // namespace

String EngineReason(int Code, int SystemError, const String& EngineText)
{
    switch (Code & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("数据库或磁盘已满");
    case SQLITE_IOERR:
        // A write the full disk (or the user's quota or file-size limit) refused reaches SQLite
        // as a read or write error.
        if (SystemError == ENOSPC || SystemError == EDQUOT || SystemError == EFBIG)
            return QStringLiteral("数据库或磁盘已满");
        return QStringLiteral("磁盘读写错误");
    case SQLITE_READONLY:
        return QStringLiteral("数据库是只读的，不能写入");
    case SQLITE_BUSY:
        return QStringLiteral("数据库正被其他程序使用，请稍后再试");
    case SQLITE_LOCKED:
        return QStringLiteral("数据库表已被锁定");
    case SQLITE_NOTADB:
        return QStringLiteral("文件不是数据库");
    case SQLITE_CORRUPT:
        return QStringLiteral("数据库文件已损坏");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开数据库文件");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有访问数据库文件的权限");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足");
    case SQLITE_TOOBIG:
        return QStringLiteral("数据太大");
    default:
        // The rest name what in the statement failed (a column, a constraint, a function).
        return EngineText;
    }
}

String EngineReason(sqlite3* Db)
{
    if (!Db)
        return EngineReason(SQLITE_NOMEM, 0, QString());
    return EngineReason(sqlite3_extended_errcode(Db), sqlite3_system_errno(Db), Utf8(sqlite3_errmsg(Db)));
}

namespace {

// The system's one text order (Collation.h), case-insensitive like the rest of Jet's text
// comparisons. SQLite hands over aligned UTF-16, which is compared where it lies.
int PinyinCompare(void*, int Length1, const void* Text1, int Length2, const void* Text2)
{
    const String S1 = String::fromRawData(static_cast<const QChar*>(Text1), Length1 / 2);
    const String S2 = String::fromRawData(static_cast<const QChar*>(Text2), Length2 / 2);
    return CollateCompare(S1, S2, TCaseSensitivity::Insensitive);
}

// What a stored number adds to currency_total, in Currency units: false for a value beyond
// Currency's range. Integers up to 2^53 convert to floating point exactly, so theirs is a product.
bool CurrencyUnits(sqlite3_value* Value, int Type, std::int64_t& Units)
{
    constexpr std::int64_t ExactInteger = std::int64_t(1) << 53;
    if (Type == SQLITE_INTEGER) {
        const std::int64_t integer = sqlite3_value_int64(Value);
        if (integer > -ExactInteger && integer < ExactInteger)
            return !__builtin_mul_overflow(integer, Currency::Scale, &Units);
    }
    Currency units;
    if (!Currency::TryFromDouble(sqlite3_value_double(Value), units))
        return false;
    Units = units.Raw();
    return true;
}

// currency_total(x): the sum of x's values in Currency units, each rounded to 1/10000 half to
// even as a field's value converts (Currency::FromDouble of its floating-point value), so the sum
// is exact to the last unit, and the count of the values that are not Null: both in one step per
// row, where a count(x) beside a sum would cost the scan about as much again. A text or a blob,
// or a value or sum beyond Currency's range, fails the statement: only visiting the values can
// tell what they add.
void CurrencyTotalStep(sqlite3_context* Context, int, sqlite3_value** Values)
{
    const int type = sqlite3_value_type(Values[0]);
    if (type == SQLITE_NULL)
        return;
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) {
        sqlite3_result_error(Context, "currency_total: a value is no number", -1);
        return;
    }
    auto* total = static_cast<TSQLiteCurrencyTotal*>(sqlite3_aggregate_context(Context, sizeof(TSQLiteCurrencyTotal)));
    std::int64_t units = 0;
    if (total == nullptr)
        sqlite3_result_error_nomem(Context);
    else if (!CurrencyUnits(Values[0], type, units) || __builtin_add_overflow(total->Units, units, &total->Units))
        sqlite3_result_error(Context, "currency_total: out of Currency's range", -1);
    else
        ++total->NotNull;
}

// The total as the blob ColumnCurrencyTotal reads back.
void CurrencyTotalFinal(sqlite3_context* Context)
{
    const auto* kept = static_cast<const TSQLiteCurrencyTotal*>(sqlite3_aggregate_context(Context, 0));
    const TSQLiteCurrencyTotal total = kept ? *kept : TSQLiteCurrencyTotal{};
    sqlite3_result_blob(Context, &total, sizeof total, SQLITE_TRANSIENT);
}

// The first bytes of a file, read through SQLite's own file layer. Closing a descriptor of the
// file opened beside SQLite's would drop every lock this process holds on it, those of its open
// connections too: another program closing the file would then take itself for its last user,
// fold the write-ahead log into the file and delete the log these connections still write to.
// SQLite keeps its descriptor open until its connections on the file let go of their locks.
QByteArray ReadHead(const String& Path, int Size)
{
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    const auto fail = [&Path](int Code, int SystemError) {
        DatabaseError(QStringLiteral("无法读取数据库文件“%1”：%2")
                          .arg(Path, EngineReason(Code, SystemError, Utf8(sqlite3_errstr(Code)))));
    };
    QByteArray fullPath(vfs->mxPathname + 1, '\0');
    if (const int code = vfs->xFullPathname(vfs, Path.toUtf8().constData(), int(fullPath.size()), fullPath.data()))
        fail(code, errno);
    // The name a database file has when SQLite itself hands it to its file layer.
    struct TFileName {
        decltype(sqlite3_create_filename("", "", "", 0, nullptr)) Name;
        ~TFileName() { sqlite3_free_filename(Name); }
    } name{sqlite3_create_filename(fullPath.constData(), "", "", 0, nullptr)};
    std::vector<std::max_align_t> storage(size_t(vfs->szOsFile) / sizeof(std::max_align_t) + 1);
    auto* file = reinterpret_cast<sqlite3_file*>(storage.data());
    int code = vfs->xOpen(vfs, name.Name, file, SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB, nullptr);
    if (code != SQLITE_OK) {
        const int error = errno;
        if (file->pMethods)
            file->pMethods->xClose(file);
        fail(code, error);
    }
    sqlite3_int64 length = 0;
    code = file->pMethods->xFileSize(file, &length);
    QByteArray head(int(std::min<sqlite3_int64>(length, Size)), '\0');
    if (code == SQLITE_OK && !head.isEmpty())
        code = file->pMethods->xRead(file, head.data(), int(head.size()), 0);
    const int error = errno;
    file->pMethods->xClose(file);
    if (code != SQLITE_OK)
        fail(code, error);
    return head;
}

// What the first bytes of an existing file say it is.
enum class TFileKind { Empty, SQLite, SQLiteWal, Jet, Other };

TFileKind InspectFile(const String& Path)
{
    const QByteArray head = ReadHead(Path, 32);
    if (head.isEmpty())
        return TFileKind::Empty;
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return head.size() > 18 && head[18] == 2 ? TFileKind::SQLiteWal : TFileKind::SQLite;
    const QByteArray signature = head.mid(4, 15);
    if (signature == "Standard Jet DB" || signature == "Standard ACE DB")
        return TFileKind::Jet;
    return TFileKind::Other;
}

}  // namespace

// --- TSQLiteStatement --------------------------------------------------------------------

TSQLiteStatement::TSQLiteStatement(sqlite3* Db, const String& Sql, const String& Shown) : FShown(Shown)
{
    const QByteArray text = Sql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(Db, text.constData(), int(text.size()), &FHandle, &tail) != SQLITE_OK)
        StatementError(EngineReason(Db), FShown);
    if (!FHandle)
        StatementError(QStringLiteral("Empty statement"), FShown);
    // Measured to the end of the text, not to a NUL: SQLite stops reading at one.
    if (!String::fromUtf8(tail, text.constEnd() - tail).trimmed().isEmpty()) {
        Release();
        StatementError(QStringLiteral("Characters found after end of SQL statement."), FShown);
    }
}

TSQLiteStatement::TSQLiteStatement(sqlite3_stmt* Handle, const String& Shown, const TSQLiteDatabase* Keeper,
                                   std::int64_t Schema)
    : FHandle(Handle), FShown(Shown), FKeeper(Keeper), FSchema(Schema)
{
}

TSQLiteStatement::TSQLiteStatement(TSQLiteStatement&& Other) noexcept
    : FHandle(std::exchange(Other.FHandle, nullptr)), FShown(std::move(Other.FShown)),
      FKeeper(std::exchange(Other.FKeeper, nullptr)), FSchema(Other.FSchema)
{
}

TSQLiteStatement& TSQLiteStatement::operator=(TSQLiteStatement&& Other) noexcept
{
    if (this != &Other) {
        Release();
        FHandle = std::exchange(Other.FHandle, nullptr);
        FShown = std::move(Other.FShown);
        FKeeper = std::exchange(Other.FKeeper, nullptr);
        FSchema = Other.FSchema;
    }
    return *this;
}

TSQLiteStatement::~TSQLiteStatement() { Release(); }

void TSQLiteStatement::Release()
{
    if (FKeeper != nullptr && FHandle != nullptr)
        FKeeper->Keep(FHandle, FSchema);
    else
        sqlite3_finalize(FHandle);
    FHandle = nullptr;
    FKeeper = nullptr;
}

void TSQLiteStatement::Check(int Code) const
{
    if (Code != SQLITE_OK)
        StatementError(EngineReason(sqlite3_db_handle(FHandle)), FShown);
}

int TSQLiteStatement::ParameterCount() const { return sqlite3_bind_parameter_count(FHandle); }

String TSQLiteStatement::ParameterName(int Index) const { return Utf8(sqlite3_bind_parameter_name(FHandle, Index)); }

void TSQLiteStatement::BindNull(int Index) { Check(sqlite3_bind_null(FHandle, Index)); }

void TSQLiteStatement::BindInt64(int Index, std::int64_t Value)
{
    Check(sqlite3_bind_int64(FHandle, Index, Value));
}

void TSQLiteStatement::BindDouble(int Index, double Value) { Check(sqlite3_bind_double(FHandle, Index, Value)); }

void TSQLiteStatement::BindText(int Index, const String& Value)
{
    // A null QString still binds as empty text: the database never stores NULL for ''.
    static const char16_t empty = 0;
    const void* text = Value.isNull() ? static_cast<const void*>(&empty) : Value.utf16();
    Check(sqlite3_bind_text16(FHandle, Index, text, int(Value.size() * 2), SQLITE_TRANSIENT));
}

void TSQLiteStatement::BindBlob(int Index, const QByteArray& Value)
{
    Check(sqlite3_bind_blob(FHandle, Index, Value.constData(), int(Value.size()), SQLITE_TRANSIENT));
}

bool TSQLiteStatement::Step()
{
    const int code = sqlite3_step(FHandle);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    const String reason = EngineReason(sqlite3_db_handle(FHandle));
    sqlite3_reset(FHandle);
    StatementError(reason, FShown);
}

int TSQLiteStatement::Execute()
{
    while (Step()) {
    }
    return ReadOnly() ? 0 : sqlite3_changes(sqlite3_db_handle(FHandle));
}

void TSQLiteStatement::Reset()
{
    sqlite3_reset(FHandle);
    sqlite3_clear_bindings(FHandle);
}

bool TSQLiteStatement::ReadOnly() const { return sqlite3_stmt_readonly(FHandle) != 0; }

int TSQLiteStatement::ColumnCount() const { return sqlite3_column_count(FHandle); }

String TSQLiteStatement::ColumnName(int Column) const { return Utf8(sqlite3_column_name(FHandle, Column)); }

String TSQLiteStatement::DeclaredType(int Column) const { return Utf8(sqlite3_column_decltype(FHandle, Column)); }

String TSQLiteStatement::TableName(int Column) const { return Utf8(sqlite3_column_table_name(FHandle, Column)); }

int TSQLiteStatement::ColumnType(int Column) const { return sqlite3_column_type(FHandle, Column); }

std::int64_t TSQLiteStatement::ColumnInt64(int Column) const { return sqlite3_column_int64(FHandle, Column); }

double TSQLiteStatement::ColumnDouble(int Column) const { return sqlite3_column_double(FHandle, Column); }

// Read as UTF-8, the encoding the files are made with: the toolkit's decoder is faster than
// SQLite's conversion to UTF-16.
String TSQLiteStatement::ColumnText(int Column) const { return String::fromUtf8(ColumnUtf8(Column)); }

QByteArrayView TSQLiteStatement::ColumnUtf8(int Column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FHandle, Column));
    return QByteArrayView(text, sqlite3_column_bytes(FHandle, Column));
}

QByteArray TSQLiteStatement::ColumnBlob(int Column) const
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(FHandle, Column));
    return QByteArray(data, sqlite3_column_bytes(FHandle, Column));
}

TSQLiteCurrencyTotal TSQLiteStatement::ColumnCurrencyTotal(int Column) const
{
    TSQLiteCurrencyTotal total;
    if (sqlite3_column_bytes(FHandle, Column) == int(sizeof total))
        std::memcpy(&total, sqlite3_column_blob(FHandle, Column), sizeof total);
    return total;
}

// --- TSQLiteDatabase ---------------------------------------------------------------------

namespace {

// The process's own rights decide, as they decide the open itself.
bool CanWrite(const String& Path)
{
    return faccessat(AT_FDCWD, QFile::encodeName(Path).constData(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

TSQLiteDatabase::TSQLiteDatabase(const String& Path)
{
    int flags = SQLITE_OPEN_READWRITE;
    QByteArray name = Path.toUtf8();
    if (!QFileInfo::exists(Path)) {
        flags |= SQLITE_OPEN_CREATE;
        FCreated = true;
    } else {
        const TFileKind kind = InspectFile(Path);
        switch (kind) {
        case TFileKind::Empty:
            FCreated = true;
            break;
        case TFileKind::SQLite:
        case TFileKind::SQLiteWal: {
            // A database is written through the file and a journal beside it.
            const bool folderWritable = CanWrite(QFileInfo(Path).absolutePath());
            if (!folderWritable || !CanWrite(Path))
                flags = SQLITE_OPEN_READONLY;
            // Reading a WAL file takes a shared-memory file beside it. Where there is none and
            // none can be made, no writer is at work (it would have made one): the file is read
            // as it stands.
            if (kind == TFileKind::SQLiteWal && !folderWritable && !QFileInfo::exists(Path + QStringLiteral("-shm"))) {
                name = QUrl::fromLocalFile(Path).toEncoded() + "?immutable=1";
                flags |= SQLITE_OPEN_URI;
            }
            break;
        }
        case TFileKind::Jet:
            RefuseDatabaseFile(QStringLiteral("“%1”是 Jet (Microsoft Access) 数据库文件，本程序无法打开，请先将其转换为 SQLite 数据库。").arg(Path));
        case TFileKind::Other:
            RefuseDatabaseFile(QStringLiteral("“%1”不是数据库文件。").arg(Path));
        }
    }
    if (sqlite3_open_v2(name.constData(), &FHandle, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        const String reason = EngineReason(FHandle);
        sqlite3_close(FHandle);
        DatabaseError(QStringLiteral("无法打开“%1”：%2").arg(Path, reason));
    }
    sqlite3_extended_result_codes(FHandle, 1);
    sqlite3_create_collation_v2(FHandle, "PINYIN", SQLITE_UTF16_ALIGNED, nullptr, PinyinCompare, nullptr);
    sqlite3_create_function_v2(FHandle, "currency_total", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr,
                               CurrencyTotalStep, CurrencyTotalFinal, nullptr);
    if (!FCreated)
        return;
    try {
        // WAL lets another process read while a registration writes; the file keeps the mode.
        ExecuteScript(QStringLiteral("PRAGMA journal_mode=WAL"));
    } catch (...) {
        sqlite3_close(FHandle);
        throw;
    }
}

TSQLiteDatabase::~TSQLiteDatabase()
{
    ForgetKept();
    sqlite3_finalize(FSchemaVersion);
    sqlite3_close(FHandle);
}

bool TSQLiteDatabase::ReadOnly() const { return sqlite3_db_readonly(FHandle, "main") == 1; }

void TSQLiteDatabase::SetBusyTimeout(int Milliseconds) { sqlite3_busy_timeout(FHandle, Milliseconds); }

void TSQLiteDatabase::ExecuteScript(const String& Sql)
{
    // SQLite would run the statements before a NUL and silently skip the rest.
    if (Sql.contains(QChar(u'\0')))
        StatementError(QStringLiteral("Characters found after end of SQL statement."), Sql);
    if (sqlite3_exec(FHandle, Sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        StatementError(EngineReason(FHandle), Sql);
}

TSQLiteStatement TSQLiteDatabase::Prepare(const String& Sql, const String& Shown) const
{
    return TSQLiteStatement(FHandle, Sql, Shown);
}

TSQLiteStatement TSQLiteDatabase::PrepareKept(const String& Sql, const String& Shown) const
{
    const std::int64_t schema = SchemaVersion();
    if (!FKept.empty() && FKept.back().second != schema)
        ForgetKept();
    const QByteArray text = Sql.toUtf8();
    const std::string_view wanted(text.constData(), size_t(text.size()));
    for (auto kept = FKept.rbegin(); kept != FKept.rend(); ++kept)
        if (sqlite3_sql(kept->first) == wanted && kept->second == schema) {
            sqlite3_stmt* handle = kept->first;
            FKept.erase(std::next(kept).base());
            return TSQLiteStatement(handle, Shown, this, schema);
        }
    TSQLiteStatement statement(FHandle, Sql, Shown);
    statement.FKeeper = this;
    statement.FSchema = schema;
    return statement;
}

void TSQLiteDatabase::Keep(sqlite3_stmt* Handle, std::int64_t Schema) const
{
    // A few pages' statements: the openings of a page's list and its totals, its insert.
    constexpr size_t Kept = 32;
    sqlite3_reset(Handle);
    sqlite3_clear_bindings(Handle);
    // Kept with the version it was prepared under; PrepareKept takes only those of the current one.
    if (Schema < 0) {
        sqlite3_finalize(Handle);
        return;
    }
    FKept.emplace_back(Handle, Schema);
    if (FKept.size() > Kept) {
        sqlite3_finalize(FKept.front().first);
        FKept.erase(FKept.begin());
    }
}

// Read by a statement of its own, never kept: it is what tells whether the kept ones are current.
// -1 when it cannot be read, which no kept statement matches.
std::int64_t TSQLiteDatabase::SchemaVersion() const noexcept
{
    if (FSchemaVersion == nullptr && sqlite3_prepare_v2(FHandle, "PRAGMA schema_version", -1, &FSchemaVersion, nullptr) != SQLITE_OK)
        return -1;
    const bool read = sqlite3_step(FSchemaVersion) == SQLITE_ROW;
    const std::int64_t version = read ? sqlite3_column_int64(FSchemaVersion, 0) : -1;
    sqlite3_reset(FSchemaVersion);
    return version;
}

void TSQLiteDatabase::ForgetKept() const
{
    for (const auto& [handle, schema] : FKept)
        sqlite3_finalize(handle);
    FKept.clear();
}

int TSQLiteDatabase::Changes() const { return sqlite3_changes(FHandle); }

std::int64_t TSQLiteDatabase::LastInsertRowId() const { return sqlite3_last_insert_rowid(FHandle); }
