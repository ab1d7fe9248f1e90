// The grid's tool-tip window.
#include "datagrid/DBGridEhToolTips.h"

#include "platform/ui/Graphics.h"

TRect TToolTipsWindow::CalcHintRect(int MaxWidth, const String& AHint, const TFont* CellFont)
{
    if (CellFont != nullptr)
        Font()->Assign(const_cast<TFont*>(CellFont));
    Font()->SetColor(clWindowText);
    return THintWindow::CalcHintRect(MaxWidth, AHint);
}
