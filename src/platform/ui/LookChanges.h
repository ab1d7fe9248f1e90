#pragma once
// Changes of the system's look told to code that keeps drawings of it: WM_SYSCOLORCHANGE when
// the system colours (Qt's application palette) change, WM_THEMECHANGED when the style or the
// theme does, as the platform sends them to the application's window.
#include "platform/ui/Messages.h"

#include <functional>

constexpr unsigned WM_THEMECHANGED = 0x031A;

// Sees each look-change message; true when it handled it, which ends its delivery.
using TWindowHook = std::function<bool(TMessage& Message)>;

// Adds Hook after the hooks added before it; the returned id removes it. Hooks hear the changes
// of the application object, which must exist when one is added.
int HookApplicationWindow(TWindowHook Hook);
void UnhookApplicationWindow(int Id);
