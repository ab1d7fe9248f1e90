#include "app/Vellomar.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Handles events until Done holds or a generous bound passes, so a lost event cannot hang.
template <class TDone>
bool ProcessUntil(TDone Done)
{
    QElapsedTimer clock;
    clock.start();
    while (!Done() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return Done();
}

}  // namespace

TEST(SingleInstanceTest, LaterStartActivatesTheRunningInstance)
{
    const String windowClass = QStringLiteral("TMF1Test%1").arg(QCoreApplication::applicationPid());
    EXPECT_FALSE(ActivateRunningInstance(windowClass));
    int activations = 0;
    const auto server = ListenForLaterStarts(windowClass, [&] { ++activations; });
    ASSERT_TRUE(server->isListening());
    EXPECT_TRUE(server->fullServerName().contains(InstanceServerName(windowClass)));
    EXPECT_TRUE(ActivateRunningInstance(windowClass));
    EXPECT_TRUE(ProcessUntil([&] { return activations == 1; }));
}

TEST(SingleInstanceTest, NameLeftByACrashedInstanceIsTakenOver)
{
    const String windowClass = QStringLiteral("TMF1Crashed%1").arg(QCoreApplication::applicationPid());
    // What a killed instance leaves: the name's file, with nobody listening.
    QFile stale(QDir(QDir::tempPath()).filePath(InstanceServerName(windowClass)));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_FALSE(ActivateRunningInstance(windowClass));
    const auto server = ListenForLaterStarts(windowClass, [] {});
    EXPECT_TRUE(server->isListening());
    server->close();
    EXPECT_FALSE(stale.exists());
}
