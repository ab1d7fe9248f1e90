// One instance per user: a later start activates the first, also in a race or after a crash.
#include "platform/core/SingleInstance.h"
#include "support/ProcessUntil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(SingleInstanceTest, LaterStartActivatesTheRunningInstance)
{
    const String windowClass = QStringLiteral("TMF1Test%1").arg(QCoreApplication::applicationPid());
    EXPECT_FALSE(ActivateRunningInstance(windowClass));
    int activations = 0;
    const auto instance = ClaimSingleInstance(windowClass, [&] { ++activations; });
    ASSERT_TRUE(instance->Listening());
    EXPECT_TRUE(QFileInfo::exists(QDir(QDir::tempPath()).filePath(RunningInstanceName(windowClass))));
    EXPECT_TRUE(ActivateRunningInstance(windowClass));
    EXPECT_TRUE(ProcessUntil([&] { return activations == 1; }));
}

TEST(SingleInstanceTest, AStartThatPassedItsCheckBeforeTheFirstListenedStillFindsIt)
{
    // Two starts at once: both found nobody, and the first began to listen a moment earlier.
    const String windowClass = QStringLiteral("TMF1Race%1").arg(QCoreApplication::applicationPid());
    int firstActivations = 0;
    const auto first = ClaimSingleInstance(windowClass, [&] { ++firstActivations; });
    ASSERT_TRUE(first && first->Listening());
    const auto second = ClaimSingleInstance(windowClass, [] {});
    EXPECT_EQ(second, nullptr);
    EXPECT_TRUE(ProcessUntil([&] { return firstActivations == 1; }));
    EXPECT_TRUE(first->Listening());
    EXPECT_TRUE(ActivateRunningInstance(windowClass));
}

TEST(SingleInstanceTest, NameLeftByACrashedInstanceIsTakenOver)
{
    const String windowClass = QStringLiteral("TMF1Crashed%1").arg(QCoreApplication::applicationPid());
    // What a killed instance leaves: the name's file, with nobody listening.
    QFile stale(QDir(QDir::tempPath()).filePath(RunningInstanceName(windowClass)));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_FALSE(ActivateRunningInstance(windowClass));
    auto instance = ClaimSingleInstance(windowClass, [] {});
    EXPECT_TRUE(instance->Listening());
    instance.reset();
    EXPECT_FALSE(stale.exists());
    EXPECT_FALSE(ActivateRunningInstance(windowClass));
}
