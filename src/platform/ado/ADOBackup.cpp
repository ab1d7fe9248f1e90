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

// Staged copies are named "<file>.part-XXXXXX" (six letters or digits), a name no user gives a
// file, so the copies a killed backup or restore left, and what SQLite left beside them, can be
// told from the user's own files and removed.
const char* const StagedSuffix = ".part-";

bool IsStagedName(const String& Name)
{
    static const QRegularExpression staged(QStringLiteral("\\.part-[A-Za-z0-9]{6}(-journal|-wal|-shm)?$"));
    return staged.match(Name).hasMatch();
}

// Removes the staged copies in Folder and their companions, all but Kept (a file the user named,
// whatever its name) and its companions.
void RemoveStagedCopiesIn(const QDir& Folder, const String& Kept)
{
    for (const String& name : Folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (IsStagedName(name) && !IsFileOrCompanion(Folder.filePath(name), Kept))
            QFile::remove(Folder.filePath(name));
}

// Beside the database file while a backup stages its copy: the folder it stages in, so that the
// next start or step finds what a backup killed there left.
String StagingRecordOf(const String& DatabasePath) { return DatabasePath + QStringLiteral(".staging"); }

class TStagingRecord {
public:
    TStagingRecord(const String& DatabasePath, const QDir& Folder) : FPath(StagingRecordOf(DatabasePath))
    {
        // Without the record (a folder that takes no file) only the next step in that folder
        // finds a leftover.
        QFile record(FPath);
        if (!record.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        record.write(QFile::encodeName(Folder.absolutePath()));
        record.flush();
        ::fsync(record.handle());
    }
    TStagingRecord(const TStagingRecord&) = delete;
    TStagingRecord& operator=(const TStagingRecord&) = delete;
    ~TStagingRecord() { QFile::remove(FPath); }

private:
    String FPath;
};

// Removes the staged copies beside the database file and in the folder a killed backup recorded.
void RemoveStagedCopiesOf(const String& DatabasePath, const String& Kept)
{
    QFile record(StagingRecordOf(DatabasePath));
    if (record.open(QIODevice::ReadOnly)) {
        // A record cut off before its folder was written names none.
        const String folder = QFile::decodeName(record.readAll());
        if (QDir::isAbsolutePath(folder))
            RemoveStagedCopiesIn(QDir(folder), Kept);
        record.close();
        record.remove();
    }
    RemoveStagedCopiesIn(QFileInfo(DatabasePath).absoluteDir(), Kept);
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
            RemoveWithCompanions(FPath);
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
    static void RemoveWithCompanions(const String& Path)
    {
        QFile::remove(Path);
        for (const char* suffix : CompanionSuffixes)
            QFile::remove(Path + QLatin1String(suffix));
    }

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
        RemoveStagedCopiesOf(FDatabasePath, String());
}

void TADOConnection::BackupTo(const String& Path) const
{
    if (IsDatabaseFile(Path))
        DatabaseError(QStringLiteral("“%1”就是正在使用的数据库文件。").arg(Path));
    const QDir folder = QFileInfo(Path).absoluteDir();
    RemoveStagedCopiesOf(FDatabasePath, Path);
    RemoveStagedCopiesIn(folder, Path);
    const TStagingRecord record(FDatabasePath, folder);
    TStagedCopy copy(Path);
    copy.CopyFrom(Database(), FDatabasePath, Path);
    copy.PutInPlaceOf(Path, FDatabasePath);
}

void TADOConnection::RestoreFrom(const String& Source, const std::function<void(TADOConnection&)>& Check)
{
    if (IsDatabaseFile(Source))
        DatabaseError(QStringLiteral("“%1”就是正在使用的数据库文件。").arg(Source));
    RemoveStagedCopiesOf(FDatabasePath, Source);
    RemoveStagedCopiesIn(QFileInfo(Source).absoluteDir(), Source);
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
