#pragma once
// TKeyPressWatch: looks, during a long operation, for a key the user pressed for a window (the
// platform's PeekMessage without removing it). What the user does meanwhile is held back, so
// nothing runs inside the operation, and handed on in its order when the watch ends.
#include "platform/ui/Controls.h"

#include <memory>

class TKeyPressWatch {
public:
    TKeyPressWatch(TWinControl* Window, WORD Key);
    ~TKeyPressWatch();
    TKeyPressWatch(const TKeyPressWatch&) = delete;
    TKeyPressWatch& operator=(const TKeyPressWatch&) = delete;

    // Takes in the input waiting now; true once the key was pressed for the window.
    bool Pressed();

private:
    class TFilter;
    std::unique_ptr<TFilter> FFilter;
};
