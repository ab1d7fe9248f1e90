// Backup and restore of the connection's database file. Both write a complete copy beside the
// file they replace and rename it over that file in one step, so at every moment the name holds
// either the old file or the new one, whole.
#include "platform/ado/ADODB.h"

#include "platform/ado/SQLite.h"
#include "platform/core/Exceptions.h"
#include "platform/data/DatabaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <system_error>

namespace {

namespace fs = std::filesystem;

fs::path FsPath(const String& Path) { return fs::path(QFile::encodeName(Path).toStdString()); }

bool SameFile(const String& Path1, const String& Path2)
{
    std::error_code error;
    if (fs::equivalent(FsPath(Path1), FsPath(Path2), error))
        return true;
    const fs::path canonical1 = fs::weakly_canonical(FsPath(Path1), error);
    if (error)
        return false;
    const fs::path canonical2 = fs::weakly_canonical(FsPath(Path2), error);
    return !error && canonical1 == canonical2;
}

// What SQLite keeps beside a database file while it is open or written.
constexpr std::initializer_list<const char*> CompanionSuffixes = {"-wal", "-shm", "-journal"};

// True when Path names File, under any name, or one of the files SQLite keeps beside it.
bool IsFileOrCompanion(const String& Path, const String& File)
{
    if (File.isEmpty())
        return false;
    if (SameFile(Path, File))
        return true;
    for (const char* suffix : CompanionSuffixes)
        if (SameFile(Path, File + QLatin1String(suffix)))
            return true;
    return false;
}

// A renamed directory entry is durable only once the directory itself is synced.
void SyncDirectoryOf(const String& Path)
{
    const int directory = ::open(QFile::encodeName(QFileInfo(Path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (directory < 0)
        return;
    ::fsync(directory);
    ::close(directory);
}

// A step stages its copy as "<target's file name>.part-XXXXXX" (six letters or digits) beside
// its target. Only names of that form for the target at hand are taken for leftovers: a user's
// file, however like a staged copy its name looks, is never one for another target.
const char* const StagedSuffix = ".part-";

// True when Name is a staged copy of the file named TargetName, or one of its companions.
bool IsStagedNameOf(const String& Name, const String& TargetName)
{
    const QRegularExpression staged(QLatin1Char('^') + QRegularExpression::escape(TargetName)
                                    + QStringLiteral("\\.part-[A-Za-z0-9]{6}(-journal|-wal|-shm)?$"));
    return staged.match(Name).hasMatch();
}

void RemoveUnlessKept(const String& Path, const String& Kept)
{
    if (!IsFileOrCompanion(Path, Kept))
        QFile::remove(Path);
}

void RemoveWithCompanions(const String& Path, const String& Kept)
{
    RemoveUnlessKept(Path, Kept);
    for (const char* suffix : CompanionSuffixes)
        RemoveUnlessKept(Path + QLatin1String(suffix), Kept);
}

// Removes the staged copies of Target beside it and their companions, all but Kept (a file the
// user named, whatever its name) and its companions.
void RemoveStagedCopiesOf(const String& Target, const String& Kept)
{
    const QFileInfo target(Target);
    const QDir folder = target.absoluteDir();
    for (const String& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (IsStagedNameOf(name, target.fileName()))
            RemoveUnlessKept(folder.filePath(name), Kept);
}

// Beside the database file while a backup stages its copy: the staged copy's path, so that the
// next start or step removes exactly what a backup killed there left.
String StagingRecordOf(const String& DatabasePath) { return DatabasePath + QStringLiteral(".staging"); }

// Ends a complete record: a record cut off while it was written names no file.
constexpr char RecordEnd = '\n';

class TStagingRecord {
public:
    explicit TStagingRecord(const String& DatabasePath) : FPath(StagingRecordOf(DatabasePath)) {}
    TStagingRecord(const TStagingRecord&) = delete;
    TStagingRecord& operator=(const TStagingRecord&) = delete;
    ~TStagingRecord() { QFile::remove(FPath); }

    // Without the record (a folder that takes no file) only the next backup to the same file
    // finds a leftover.
    void Name(const String& StagedPath) const
    {
        QFile record(FPath);
        if (!record.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        record.write(QFile::encodeName(StagedPath) + RecordEnd);
        record.flush();
        ::fsync(record.handle());
    }

private:
    String FPath;
};

// The staged copy a killed backup recorded beside DatabasePath, or nothing.
String RecordedStagedCopy(const String& DatabasePath)
{
    QFile record(StagingRecordOf(DatabasePath));
    if (!record.open(QIODevice::ReadOnly))
        return String();
    const QByteArray content = record.readAll();
    if (!content.endsWith(RecordEnd))
        return String();
    const String path = QFile::decodeName(content.chopped(1));
    static const QRegularExpression staged(QStringLiteral("\\.part-[A-Za-z0-9]{6}$"));
    return QDir::isAbsolutePath(path) && staged.match(path).hasMatch() ? path : String();
}

// Removes the copy a killed backup recorded and the staged copies of the database file, with
// their companions, all but Kept and its companions.
void RemoveLeftoversOf(const String& DatabasePath, const String& Kept)
{
    const String recorded = RecordedStagedCopy(DatabasePath);
    if (!recorded.isEmpty())
        RemoveWithCompanions(recorded, Kept);
    QFile::remove(StagingRecordOf(DatabasePath));
    RemoveStagedCopiesOf(DatabasePath, Kept);
}

// Backup and restore work on the database file's path even while it is closed.
void RequireDataSource(const String& DatabasePath)
{
    if (DatabasePath.isEmpty())
        DatabaseError(QStringLiteral("连接字符串未指定数据源。"));
}

// A new file beside Target that a copy is written to before it takes Target's place. Unless it
// was put in place, it is removed, with whatever SQLite left beside it.
class TStagedCopy {
public:
    explicit TStagedCopy(const String& Target)
    {
        QTemporaryFile file(QFileInfo(Target).absoluteFilePath() + QLatin1String(StagedSuffix) + QStringLiteral("XXXXXX"));
        file.setAutoRemove(false);
        if (!file.open())
            DatabaseError(QStringLiteral("无法在文件夹“%1”中写入文件：%2").arg(QFileInfo(Target).absolutePath(), file.errorString()));
        FPath = file.fileName();
    }
    TStagedCopy(const TStagedCopy&) = delete;
    TStagedCopy& operator=(const TStagedCopy&) = delete;

    ~TStagedCopy()
    {
        if (!FPlaced)
            RemoveWithCompanions(FPath, String());
    }

    const String& Path() const { return FPath; }

    // Copies the main database of Source into the staged file. A failure names the files the
    // user knows, SourceShown when reading fails, Shown (the file the copy stands for) when
    // writing does, never the staged one.
    void CopyFrom(const TSQLiteDatabase& Source, const String& SourceShown, const String& Shown) const
    {
        BackupDatabase(Source.Handle(), FPath, SourceShown, Shown);
    }

    // Renames the copy over Target. It gets the permissions of Target, or of ModeOf where there
    // is no Target yet: a temporary file is made readable by its owner alone.
    void PutInPlaceOf(const String& Target, const String& ModeOf)
    {
        QFile::setPermissions(FPath, QFile::permissions(QFileInfo::exists(Target) ? Target : ModeOf));
        std::error_code error;
        fs::rename(FsPath(FPath), FsPath(Target), error);
        if (error)
            DatabaseError(QStringLiteral("无法替换文件“%1”：%2").arg(Target, String::fromStdString(error.message())));
        FPlaced = true;
        SyncDirectoryOf(Target);
    }

private:
    String FPath;
    bool FPlaced = false;
};

// The journal mode of a database ("wal", "delete").
String JournalModeOf(const TSQLiteDatabase& Database)
{
    TSQLiteStatement mode = Database.Prepare(QStringLiteral("PRAGMA journal_mode"));
    return mode.Step() ? mode.ColumnText(0) : String();
}

// The staged copy, opened, handed to Check, then given the journal mode of the file it replaces.
void CheckStagedCopy(const TStagedCopy& Copy, const String& JournalMode, const std::function<void(TADOConnection&)>& Check)
{
    TADOConnection staged(nullptr);
    staged.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"%1\"").arg(Copy.Path()));
    staged.Open();
    Check(staged);
    staged.Database().ExecuteScript(QStringLiteral("PRAGMA journal_mode=%1").arg(JournalMode));
}

}  // namespace

bool TADOConnection::IsDatabaseFile(const String& Path) const { return IsFileOrCompanion(Path, FDatabasePath); }

void TADOConnection::RemoveStagedCopies() const
{
    if (!FDatabasePath.isEmpty())
        RemoveLeftoversOf(FDatabasePath, String());
}

void TADOConnection::BackupTo(const String& Path) const
{
    RequireDataSource(FDatabasePath);
    if (IsDatabaseFile(Path))
        DatabaseError(QStringLiteral("“%1”就是正在使用的数据库文件。").arg(Path));
    RemoveLeftoversOf(FDatabasePath, Path);
    RemoveStagedCopiesOf(Path, Path);
    // Declared first, the record outlives the copy, so that it names the copy while it exists.
    const TStagingRecord record(FDatabasePath);
    TStagedCopy copy(Path);
    record.Name(copy.Path());
    copy.CopyFrom(Database(), FDatabasePath, Path);
    copy.PutInPlaceOf(Path, FDatabasePath);
}

void TADOConnection::RestoreFrom(const String& Source, const std::function<void(TADOConnection&)>& Check)
{
    RequireDataSource(FDatabasePath);
    if (IsDatabaseFile(Source))
        DatabaseError(QStringLiteral("“%1”就是正在使用的数据库文件。").arg(Source));
    // A restore stages beside the database file only: Source's folder holds nothing of its own.
    RemoveLeftoversOf(FDatabasePath, Source);
    TStagedCopy copy(FDatabasePath);
    copy.CopyFrom(*TSQLiteDatabase::OpenReadOnly(Source), Source, FDatabasePath);
    // In WAL mode another program's open connection shows as the log beside the file, which
    // the replacement below relies on; a closed connection's file gets the mode of a new one.
    CheckStagedCopy(copy, Connected() ? JournalModeOf(Database()) : QStringLiteral("wal"), Check);
    const bool wasOpen = Connected();
    Close();
    try {
        // A log left beside the file would be replayed into the new one.
        if (QFileInfo::exists(FDatabasePath + QStringLiteral("-wal")))
            DatabaseError(QStringLiteral("数据库文件“%1”还在另一个程序中打开着。").arg(FDatabasePath));
        copy.PutInPlaceOf(FDatabasePath, FDatabasePath);
    } catch (...) {
        if (wasOpen)
            Open();
        throw;
    }
    // The restored file is opened even where the live one could not be: that is what a
    // restore at such a start is for. The file is replaced by now, so a failure to open it is
    // no failed restore: the next query opens it again and reports why.
    try {
        Open();
    } catch (const EDatabaseError&) {
    }
}
