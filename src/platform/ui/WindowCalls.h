#pragma once
// Calls the system's code makes on a window handle itself: showing or hiding the window while
// the control's Visible stays, and the margins around a wrapped control's content.
#include "platform/ui/Controls.h"

constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

// SW_HIDE or SW_SHOW.
void ShowWindow(HWND Wnd, int CmdShow);
// The margins, in pixels on every side, between a wrapped control's window and its content.
void SetContentMargins(HWND Wnd, int Margin);
