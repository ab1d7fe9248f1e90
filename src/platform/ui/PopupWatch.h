#pragma once
// TPopupCloseWatch: what closes a drop-down that never holds the focus itself, as the
// platform's cancel mode and focus loss do: a mouse press outside the drop-down and its owner,
// or the keyboard focus moving to a window that is neither the drop-down's nor its owner's.
#include "platform/ui/Controls.h"

#include <functional>
#include <memory>

class TPopupCloseWatch {
public:
    explicit TPopupCloseWatch(TWinControl& Popup);
    ~TPopupCloseWatch();
    TPopupCloseWatch(const TPopupCloseWatch&) = delete;
    TPopupCloseWatch& operator=(const TPopupCloseWatch&) = delete;

    // Watches until Stop; Owner (nullptr for none) must outlive the watch. The owner's window
    // counts for presses when it exists at Start, for the focus whenever it exists.
    void Start(TWinControl* Owner);
    void Stop();

    // Each runs guarded: an exception goes to the application's error report.
    std::function<void()> OnOutsidePress;
    std::function<void()> OnFocusOutside;

private:
    class TImpl;
    std::unique_ptr<TImpl> FImpl;
};
