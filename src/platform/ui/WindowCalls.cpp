// The window calls on Qt widgets.
#include "platform/ui/WindowCalls.h"

#include <QLayout>
#include <QWidget>

void ShowWindow(HWND Wnd, int CmdShow) { Wnd->setVisible(CmdShow != SW_HIDE); }

void SetContentMargins(HWND Wnd, int Margin)
{
    // A wrapped Qt control lays out its content; its own margins would go stale in the size it
    // reports, which Qt keeps from its first answer.
    if (QLayout* layout = Wnd->layout())
        layout->setContentsMargins(Margin, Margin, Margin, Margin);
}
