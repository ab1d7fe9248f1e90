#pragma once
// TTimer: a component calling OnTimer every Interval milliseconds while Enabled; an interval of
// 0 stops it. And the platform's window-less timers: SetTimer(nullptr, ...) with a callback,
// for process-wide periodic work.
#include "platform/core/Component.h"
#include "platform/ui/Controls.h"

#include <functional>
#include <memory>

class QTimer;

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();
    void Loaded() override;
    const char* ClassName() const override { return "TTimer"; }

private:
    // Runs the Qt timer exactly while the timer should tick.
    void UpdateTimer();

    std::unique_ptr<QTimer> FTimer;
    unsigned FInterval = 1000;
    bool FEnabled = true;
};

// The callback of a window-less timer: the window (none), WM_TIMER, the timer's id and the tick
// count in milliseconds.
using TIMERPROC = std::function<void(HWND Wnd, unsigned Msg, WPARAM IDEvent, unsigned Time)>;

// Starts a window-less timer (Wnd must be nullptr) and returns its new id; 0 without a callback.
// The callback must guard itself against re-entry if its work can run the event loop.
WPARAM SetTimer(HWND Wnd, WPARAM IDEvent, unsigned Elapse, TIMERPROC TimerFunc);
// Stops a window-less timer; false when there is none with that id.
bool KillTimer(HWND Wnd, WPARAM IDEvent);
