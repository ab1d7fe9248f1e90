// TFocusReturn: the focus taken back after a modal box.
#include "platform/ui/FocusReturn.h"

#include <QApplication>

TFocusReturn::TFocusReturn() : FFocused(QApplication::focusWidget()) {}

TFocusReturn::~TFocusReturn()
{
    if (FFocused != nullptr)
        FFocused->setFocus();
}
