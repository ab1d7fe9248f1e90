#pragma once
// TFocusReturn: remembers the window that has the keyboard focus and gives the focus back to it,
// if it still exists, when the scope ends; for modal boxes that take the focus while they show.
#include <QPointer>
#include <QWidget>

class TFocusReturn {
public:
    TFocusReturn();
    ~TFocusReturn();
    TFocusReturn(const TFocusReturn&) = delete;
    TFocusReturn& operator=(const TFocusReturn&) = delete;

private:
    QPointer<QWidget> FFocused;
};
