// The tool-tip window of the edit controls and the grid.
#include "editors/DBCtrlsEhToolTips.h"

#include "platform/ui/Graphics.h"

TRect TToolTipsWindow::CalcHintRect(int MaxWidth, const String& AHint, const TFont* CellFont)
{
    if (CellFont != nullptr)
        Font()->Assign(const_cast<TFont*>(CellFont));
    Font()->SetColor(clWindowText);
    return THintWindow::CalcHintRect(MaxWidth, AHint);
}
