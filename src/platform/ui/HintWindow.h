#pragma once
// Hints: a small window with a control's Hint text, shown when the mouse rests over the control
// for Application->HintPause and hidden after Application->HintHidePause or when the mouse
// leaves, a button is pressed or a key is typed.
#include "platform/ui/Controls.h"

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);

    // The size the text needs at (0, 0): lines broken at "\r\n" and words beyond MaxWidth.
    virtual TRect CalcHintRect(int MaxWidth, const String& AHint);
    // Shows AHint in Rect, in screen coordinates, without taking the focus.
    virtual void ActivateHint(const TRect& Rect, const String& AHint);
    void ReleaseHandle() { Hide(); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    const char* ClassName() const override { return "THintWindow"; }
};

// What the control under the mouse answers to CM_HINTSHOW (LParam points to it; a non-zero
// result shows no hint). It comes filled with the control's short hint below the pointer; the
// control may change the text, where and in which window it shows, and the rectangle of its
// client area the pointer may move in before the hint is asked for again.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint CursorPos;        // client coordinates of HintControl
    TRect CursorRect;        // client coordinates of HintControl
    TPoint HintPos;          // screen coordinates of the hint window's top left
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    int HideTimeout = 0;     // ms
    int ReshowTimeout = 0;   // ms after which the control is asked for the hint again; 0: never
    String HintStr;
    THintWindow* HintWindow = nullptr;  // nullptr: the application's hint window
};
// What CM_HINTSHOWPAUSE carries in LParam (WParam is 1 when a hint was showing just before):
// the pointer and the pause in ms before the hint, which the control may change (0: at once).
struct THintPauseInfo {
    TPoint CursorPos;  // client coordinates of the control
    int Pause = 0;
};

// The part of a hint before "|"; the whole hint when it has none.
String GetShortHint(const String& Hint);
// The control whose hint shows over Control: the nearest of it and its parents that shows hints.
TControl* GetHintControl(TControl* Control);
// Starts watching the mouse over the application's windows for hints; repeated calls do nothing.
void InstallHintTracking();
// The hint window while a hint shows; nullptr otherwise.
THintWindow* ShownHintWindow();
