// TTimer and the window-less system timers, both on QTimer. A callback's exception goes to the
// application's error report, as every message handler's does.
#include "platform/ui/Timer.h"

#include "platform/ui/WindowHost.h"

#include <QElapsedTimer>
#include <QTimer>

#include <map>

namespace {

// The platform's minimum interval: shorter ones would only spin.
constexpr unsigned MinInterval = 10;

struct TSystemTimers {
    std::map<WPARAM, std::unique_ptr<QTimer>> Timers;
    WPARAM NextId = 1;
};

TSystemTimers& SystemTimers()
{
    static TSystemTimers timers;
    return timers;
}

unsigned TickCount()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return static_cast<unsigned>(clock.elapsed());
}

}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FTimer(std::make_unique<QTimer>())
{
    QObject::connect(FTimer.get(), &QTimer::timeout, FTimer.get(), [this] { CallGuarded(this, [this] { Timer(); }); });
    UpdateTimer();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(unsigned Value)
{
    if (Value == FInterval)
        return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    FTimer->stop();
    if (FEnabled && FInterval != 0 && !ComponentState().Contains(TComponentStateFlag::csLoading))
        FTimer->start(static_cast<int>(std::max(FInterval, MinInterval)));
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::Timer()
{
    if (OnTimer)
        OnTimer(this);
}

WPARAM SetTimer(HWND Wnd, WPARAM, unsigned Elapse, TIMERPROC TimerFunc)
{
    if (Wnd != nullptr || !TimerFunc)
        return 0;
    TSystemTimers& timers = SystemTimers();
    const WPARAM id = timers.NextId++;
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [id, TimerFunc = std::move(TimerFunc)] {
        CallGuarded(nullptr, [&] { TimerFunc(nullptr, WM_TIMER, id, TickCount()); });
    });
    timer->start(static_cast<int>(std::max(Elapse, MinInterval)));
    timers.Timers[id] = std::move(timer);
    return id;
}

bool KillTimer(HWND Wnd, WPARAM IDEvent)
{
    if (Wnd != nullptr)
        return false;
    auto& timers = SystemTimers().Timers;
    const auto found = timers.find(IDEvent);
    if (found == timers.end())
        return false;
    // A callback may kill its own timer: the QTimer goes once its signal has returned, and is
    // stopped now so that it cannot call back again before then.
    found->second->stop();
    found->second.release()->deleteLater();
    timers.erase(found);
    return true;
}
