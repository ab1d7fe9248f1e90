// Copies of a database taken while it is open, and read-only opening of a file that is only to
// be looked at or copied.
#include "platform/ado/SQLite.h"

#include "platform/data/DatabaseError.h"

#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

namespace {

// Closes a handle of this file when it goes out of scope.
struct THandleCloser {
    sqlite3*& Handle;
    ~THandleCloser() { sqlite3_close(Handle); }
};

}  // namespace

std::unique_ptr<TSQLiteDatabase> TSQLiteDatabase::OpenReadOnly(const String& Path)
{
    if (!QFileInfo(Path).isFile())
        DatabaseError(QStringLiteral("“%1”不是一个文件。").arg(Path));
    // Without a log beside it, the file is read as it lies: SQLite would otherwise make a log
    // and its index beside a file that names one, and leave them there.
    const bool logBeside = QFileInfo::exists(Path + QStringLiteral("-wal"));
    const QByteArray name = logBeside ? Path.toUtf8() : QUrl::fromLocalFile(Path).toEncoded() + "?immutable=1";
    std::unique_ptr<TSQLiteDatabase> database(new TSQLiteDatabase);
    if (sqlite3_open_v2(name.constData(), &database->FHandle,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | (logBeside ? 0 : SQLITE_OPEN_URI), nullptr) != SQLITE_OK)
        DatabaseError(QStringLiteral("无法打开文件“%1”：%2").arg(Path, EngineReason(database->FHandle)));
    sqlite3_extended_result_codes(database->FHandle, 1);
    return database;
}

namespace {

// Codes a backup step answers for what it read: the source file's contents or another
// program's lock on it. The target is a new file of the copy's own, so nothing else there is read.
bool IsReadFailure(int Code)
{
    switch (Code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return true;
    case SQLITE_IOERR:
        return Code == SQLITE_IOERR_READ || Code == SQLITE_IOERR_SHORT_READ;
    default:
        return false;
    }
}

}  // namespace

void BackupDatabase(sqlite3* Source, const String& Target, const String& SourceShown, const String& TargetShown)
{
    sqlite3* target = nullptr;
    THandleCloser closer{target};
    // The copy's errors stand on the target's handle, whichever side they come from.
    const auto fail = [&] {
        const int code = target != nullptr ? sqlite3_extended_errcode(target) : SQLITE_NOMEM;
        if (IsReadFailure(code))
            DatabaseError(QStringLiteral("无法读取文件“%1”：%2").arg(SourceShown, EngineReason(target)));
        DatabaseError(QStringLiteral("无法写入文件“%1”：%2").arg(TargetShown, EngineReason(target)));
    };
    if (sqlite3_open_v2(Target.toUtf8().constData(), &target,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
        fail();
    sqlite3_extended_result_codes(target, 1);
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", Source, "main");
    if (backup == nullptr)
        fail();
    // One step: the whole copy comes from one read transaction, so it is one consistent state.
    const int stepped = sqlite3_backup_step(backup, -1);
    if (sqlite3_backup_finish(backup) != SQLITE_OK || stepped != SQLITE_DONE)
        fail();
    // The copied header still names the source's write-ahead log; a backup is one file.
    if (sqlite3_exec(target, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail();
    if (sqlite3_close(target) != SQLITE_OK)
        fail();
    target = nullptr;
}
