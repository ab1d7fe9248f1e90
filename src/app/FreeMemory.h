#pragma once
// Unit FreeMemory: once a second, hands the heap memory the program no longer uses back to the
// system, for as long as the unit is initialised. Independent of every window.
#include "platform/ui/Controls.h"

// The timer's callback: trims unless a trim is already running.
void FreeMemoryTimerProc(HWND Wnd, unsigned Msg, WPARAM IDEvent, unsigned Time);

// The unit's start and end: the 1000 ms window-less timer runs between them. Needs the
// application object.
void InitializeFreeMemory();
void FinalizeFreeMemory();
