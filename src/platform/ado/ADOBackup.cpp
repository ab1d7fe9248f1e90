// Backup and restore of the connection's database file. Both write a complete copy beside the
// file they replace and rename it over that file in one step, so at every moment the name holds
// either the old file or the new one, whole.
#include "platform/ado/ADODB.h"

#include "platform/ado/SQLite.h"
#include "platform/data/DatabaseError.h"

#include <QFile>
#include <QFileInfo>
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

// A renamed directory entry is durable only once the directory itself is synced.
void SyncDirectoryOf(const String& Path)
{
    const int directory = ::open(QFile::encodeName(QFileInfo(Path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (directory < 0)
        return;
    ::fsync(directory);
    ::close(directory);
}

// A new file beside Target that a copy is written to before it takes Target's place. Unless it
// was put in place, it is removed, with whatever SQLite left beside it.
class TStagedCopy {
public:
    explicit TStagedCopy(const String& Target)
    {
        QTemporaryFile file(QFileInfo(Target).absoluteFilePath() + QStringLiteral(".XXXXXX"));
        file.setAutoRemove(false);
        if (!file.open())
            DatabaseError(QStringLiteral("Cannot write in '%1': %2").arg(QFileInfo(Target).absolutePath(), file.errorString()));
        FPath = file.fileName();
    }
    TStagedCopy(const TStagedCopy&) = delete;
    TStagedCopy& operator=(const TStagedCopy&) = delete;

    ~TStagedCopy()
    {
        if (FPlaced)
            return;
        QFile::remove(FPath);
        for (const char* suffix : CompanionSuffixes)
            QFile::remove(FPath + QLatin1String(suffix));
    }

    const String& Path() const { return FPath; }

    // Renames the copy over Target, which keeps its permissions when it exists.
    void PutInPlaceOf(const String& Target)
    {
        if (QFileInfo::exists(Target))
            QFile::setPermissions(FPath, QFile::permissions(Target));
        std::error_code error;
        fs::rename(FsPath(FPath), FsPath(Target), error);
        if (error)
            DatabaseError(QStringLiteral("Cannot replace '%1': %2").arg(Target, String::fromStdString(error.message())));
        FPlaced = true;
        SyncDirectoryOf(Target);
    }

private:
    String FPath;
    bool FPlaced = false;
};

}  // namespace

bool TADOConnection::IsDatabaseFile(const String& Path) const
{
    if (FDatabasePath.isEmpty())
        return false;
    if (SameFile(Path, FDatabasePath))
        return true;
    for (const char* suffix : CompanionSuffixes)
        if (SameFile(Path, FDatabasePath + QLatin1String(suffix)))
            return true;
    return false;
}

void TADOConnection::BackupTo(const String& Path) const
{
    if (IsDatabaseFile(Path))
        DatabaseError(QStringLiteral("'%1' is the database file itself.").arg(Path));
    TStagedCopy copy(Path);
    BackupDatabase(Database().Handle(), copy.Path());
    copy.PutInPlaceOf(Path);
}

void TADOConnection::RestoreFrom(const String& Source, const std::function<void(TSQLiteDatabase&)>& Check)
{
    if (IsDatabaseFile(Source))
        DatabaseError(QStringLiteral("'%1' is the database file itself.").arg(Source));
    TStagedCopy copy(FDatabasePath);
    {
        const std::unique_ptr<TSQLiteDatabase> source = TSQLiteDatabase::OpenReadOnly(Source);
        // The check and the copy read the same state of the source.
        source->ExecuteScript(QStringLiteral("BEGIN"));
        Check(*source);
        BackupDatabase(source->Handle(), copy.Path());
    }
    const bool wasOpen = Connected();
    Close();
    try {
        // A log left beside the file would be replayed into the new one.
        if (QFileInfo::exists(FDatabasePath + QStringLiteral("-wal")))
            DatabaseError(QStringLiteral("'%1' is still open in another program.").arg(FDatabasePath));
        copy.PutInPlaceOf(FDatabasePath);
    } catch (...) {
        if (wasOpen)
            Open();
        throw;
    }
    if (wasOpen)
        Open();
}
