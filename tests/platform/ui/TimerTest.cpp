// Timers tick while enabled with a non-zero interval; system timers call back until killed.
#include "platform/ui/Timer.h"
#include "UiTestSupport.h"

#include <QThread>
#include <gtest/gtest.h>

namespace {

TEST(TimerTest, TicksWhileEnabledAndStopsOnZeroIntervalOrDisable)
{
    TTimer timer(nullptr);
    timer.SetInterval(20);
    int ticks = 0;
    timer.OnTimer = [&ticks, &timer](TObject* Sender) {
        EXPECT_EQ(Sender, &timer);
        ++ticks;
    };
    ProcessUntil([&ticks] { return ticks >= 2; });
    timer.SetInterval(0);
    const int stopped = ticks;
    QApplication::processEvents();
    EXPECT_EQ(ticks, stopped);
    timer.SetInterval(20);
    timer.SetEnabled(false);
    QApplication::processEvents();
    EXPECT_EQ(ticks, stopped);
    EXPECT_FALSE(timer.Enabled());
}

TEST(TimerTest, ATimerBuiltWhileLoadingStartsWhenLoadingEnds)
{
    TComponent owner(nullptr);
    auto* timer = new TTimer(&owner);
    int ticks = 0;
    timer->OnTimer = [&ticks](TObject*) { ++ticks; };
    owner.BeginLoading();
    timer->SetInterval(10);
    QApplication::processEvents();
    EXPECT_EQ(ticks, 0);
    owner.EndLoading();
    ProcessUntil([&ticks] { return ticks >= 1; });
}

TEST(SystemTimerTest, CallsBackWithItsIdUntilKilled)
{
    std::vector<WPARAM> ids;
    const WPARAM id = SetTimer(nullptr, 0, 10, [&ids](HWND Wnd, unsigned Msg, WPARAM IDEvent, unsigned) {
        EXPECT_EQ(Wnd, nullptr);
        EXPECT_EQ(Msg, WM_TIMER);
        ids.push_back(IDEvent);
    });
    ASSERT_NE(id, 0u);
    ProcessUntil([&ids] { return !ids.empty(); });
    EXPECT_EQ(ids.front(), id);
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_FALSE(KillTimer(nullptr, id));
    EXPECT_EQ(SetTimer(nullptr, 0, 10, nullptr), 0u);
}

TEST(SystemTimerTest, AKilledTimerCallsBackNoMoreEvenWhenItWasDue)
{
    int calls = 0;
    const WPARAM id = SetTimer(nullptr, 0, 10, [&calls](HWND, unsigned, WPARAM, unsigned) { ++calls; });
    ProcessUntil([&calls] { return calls > 0; });
    ASSERT_TRUE(KillTimer(nullptr, id));
    const int killed = calls;
    // Its interval passes before the event loop runs again.
    QThread::msleep(30);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(calls, killed);
}

}  // namespace
