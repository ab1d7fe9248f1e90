#pragma once
// The tool-tip window of the edit controls and the grid: a hint window sized for the text in
// the font of the control or cell it stands over.
#include "platform/ui/HintWindow.h"

class TFont;

class TToolTipsWindow : public THintWindow {
public:
    using THintWindow::THintWindow;
    using THintWindow::CalcHintRect;

    // With CellFont the window takes that font, in the window-text colour; then the size.
    TRect CalcHintRect(int MaxWidth, const String& AHint, const TFont* CellFont);

protected:
    const char* ClassName() const override { return "TToolTipsWindow"; }
};
