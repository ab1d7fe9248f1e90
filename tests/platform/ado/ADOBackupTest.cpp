// Backup and restore on a connection: the file under every name, a replaced file, refusals.
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/ado/TestTables.h"

#include "platform/core/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ADOBackupTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        ConnectWithTestTables(FConnection, PathOf("live.mdb"));
        FConnection.Database().ExecuteScript(QStringLiteral("insert into rmark(备注) values('旧')"));
        FQuery.SetConnection(&FConnection);
        FQuery.SQL()->SetText(QStringLiteral("select * from rmark"));
        FQuery.Open();
    }

    String PathOf(const char* Name) const { return FDir.filePath(String::fromUtf8(Name)); }

    static QByteArray Bytes(const String& Path)
    {
        QFile file(Path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    String Remarks() const
    {
        TSQLiteStatement statement = FConnection.Database().Prepare(QStringLiteral("select 备注 from rmark order by id"));
        QStringList values;
        while (statement.Step())
            values << statement.ColumnText(0);
        return values.join(u',');
    }

    QTemporaryDir FDir;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
};

TEST_F(ADOBackupTest, TheDatabaseFileUnderEveryName)
{
    ASSERT_TRUE(QFile::link(PathOf("live.mdb"), PathOf("link.mdb")));
    QDir(FDir.path()).mkdir(QStringLiteral("sub"));
    for (const char* name : {"live.mdb", "link.mdb", "sub/../live.mdb", "live.mdb-wal", "live.mdb-shm", "live.mdb-journal"})
        EXPECT_TRUE(FConnection.IsDatabaseFile(PathOf(name))) << name;
    for (const char* name : {"other.mdb", "live.mdb.bak", "sub/live.mdb"})
        EXPECT_FALSE(FConnection.IsDatabaseFile(PathOf(name))) << name;
    EXPECT_THROW(FConnection.BackupTo(PathOf("link.mdb")), EDatabaseError);
}

TEST_F(ADOBackupTest, RestoreAfterTheCheckReplacesTheFileAndReopens)
{
    FConnection.BackupTo(PathOf("copy.mdb"));
    FConnection.Database().ExecuteScript(QStringLiteral("insert into rmark(备注) values('新')"));
    int checked = 0;
    FConnection.RestoreFrom(PathOf("copy.mdb"), [&](TADOConnection&) { ++checked; });
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(FConnection.Connected());
    EXPECT_EQ(Remarks(), u"旧");
    EXPECT_FALSE(FQuery.Active()) << "the queries closed with the connection";
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("live.mdb.")), QStringList());
}

TEST_F(ADOBackupTest, ARefusedRestoreChangesNothing)
{
    FConnection.BackupTo(PathOf("copy.mdb"));
    const QByteArray live = Bytes(PathOf("live.mdb"));
    const QStringList names = QDir(FDir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    EXPECT_THROW(FConnection.RestoreFrom(PathOf("copy.mdb"), [](TADOConnection&) { throw EDatabaseError(QStringLiteral("no")); }),
                 EDatabaseError);
    EXPECT_TRUE(FQuery.Active());
    EXPECT_EQ(Bytes(PathOf("live.mdb")), live);
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::AllEntries | QDir::Hidden), names);
}

// A connection that names no file refuses both steps and leaves the current folder's files alone.
TEST_F(ADOBackupTest, WithoutADataSourceBothStepsRefuseAndTheCurrentFolderStays)
{
    QDir(FDir.path()).mkdir(QStringLiteral("cwd"));
    const String previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(PathOf("cwd")));
    for (const char* name : {".part-ABC123", "report.xlsx.part-ABC123"}) {
        QFile file(PathOf("cwd/") + String::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QStringList names = QDir(PathOf("cwd")).entryList(QDir::AllEntries | QDir::Hidden);
    TADOConnection pathless(nullptr);
    pathless.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0"));
    EXPECT_THROW(pathless.BackupTo(PathOf("copy.mdb")), EDatabaseError);
    EXPECT_THROW(pathless.RestoreFrom(PathOf("live.mdb"), [](TADOConnection&) {}), EDatabaseError);
    pathless.RemoveStagedCopies();
    EXPECT_EQ(QDir(PathOf("cwd")).entryList(QDir::AllEntries | QDir::Hidden), names);
    EXPECT_FALSE(QFileInfo::exists(PathOf("copy.mdb")));
    QDir::setCurrent(previous);
}

}  // namespace
