// A second start of the program ends at once and leaves the running one's database alone.
#include "platform/core/SingleInstance.h"
#include "support/ProcessUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SingleInstanceTest, SecondProgramStartEndsWithoutTouchingTheDatabase)
{
    // Each start runs a copy of the program in a folder of its own, so "os.ini" and "opr.mdb"
    // stay in the temporary directory; TMPDIR keeps the instance name away from a running program.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir root(dir.path());
    for (const char* folder : {"first", "second", "tmp"})
        ASSERT_TRUE(root.mkpath(QString::fromLatin1(folder)));
    const String program = root.filePath(QStringLiteral("vellomar"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELLOMAR_EXECUTABLE), program));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), root.filePath(QStringLiteral("tmp")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const auto start = [&](QProcess& Process, const char* Folder) {
        Process.setProcessEnvironment(environment);
        Process.setWorkingDirectory(root.filePath(QString::fromLatin1(Folder)));
        Process.start(program, QStringList());
    };
    const String instanceName = QDir(root.filePath(QStringLiteral("tmp"))).filePath(RunningInstanceName(QStringLiteral("TMF1")));

    QProcess first;
    start(first, "first");
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(ProcessUntil([&] {
        return QFileInfo::exists(instanceName) && QFileInfo::exists(root.filePath(QStringLiteral("first/opr.mdb")));
    }));

    QProcess second;
    start(second, "second");
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QDir(root.filePath(QStringLiteral("second"))).isEmpty());
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished();
}
