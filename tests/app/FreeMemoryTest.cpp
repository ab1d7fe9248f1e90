#include "app/FreeMemory.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QList<QTimer*> FreeMemoryTimers()
{
    return QCoreApplication::instance()->findChildren<QTimer*>(QStringLiteral("FreeMemoryTimer"));
}

}  // namespace

TEST(FreeMemoryTest, OneSecondTimerRunsBetweenInitializationAndFinalization)
{
    ASSERT_TRUE(FreeMemoryTimers().isEmpty());
    InitializeFreeMemory();
    InitializeFreeMemory();
    ASSERT_EQ(FreeMemoryTimers().size(), 1);
    EXPECT_TRUE(FreeMemoryTimers().front()->isActive());
    EXPECT_EQ(FreeMemoryTimers().front()->interval(), 1000);
    // A tick does its work and returns; the next one is free to run again.
    FreeMemoryTimerProc();
    FreeMemoryTimerProc();
    FinalizeFreeMemory();
    EXPECT_TRUE(FreeMemoryTimers().isEmpty());
    FinalizeFreeMemory();
}
