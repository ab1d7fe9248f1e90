#pragma once
// Driving windows the way a user does: real Qt key, mouse and input-method events sent to a
// control's widget, which the window layer turns into the platform's messages.
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

// Qt takes the keyboard's modifiers from the last key press it was sent, and a sent release of
// Ctrl or Shift does not clear them: a press without modifiers, sent to a window made for it,
// lets them go.
inline void ReleaseKeyboardModifiers()
{
    QWidget keyboard;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier);
    QApplication::sendEvent(&keyboard, &press);
}

// One key stroke: press (key-down and its characters), then release (key-up); the modifiers
// held for it are let go afterwards.
inline void SendKey(QWidget* Target, int QtKey, const QString& Text = QString(),
                    Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, QtKey, Modifiers, Text);
    QApplication::sendEvent(Target, &press);
    QKeyEvent release(QEvent::KeyRelease, QtKey, Modifiers, Text);
    QApplication::sendEvent(Target, &release);
    if (Modifiers != Qt::NoModifier)
        ReleaseKeyboardModifiers();
}

// The Qt key a character is typed with on a US keyboard: Qt codes printable ASCII by its
// capital; anything else has no key of its own.
inline int QtKeyOf(QChar Ch)
{
    const char16_t code = Ch.toUpper().unicode();
    return code >= 0x20 && code < 0x7F ? int(code) : int(Qt::Key_unknown);
}

// Types Text one key stroke per character, Shift held for capitals.
inline void TypeText(QWidget* Target, const QString& Text)
{
    for (const QChar ch : Text)
        SendKey(Target, QtKeyOf(ch), QString(ch), ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
}

// An input method committing Text (Chinese typed through a pinyin method arrives this way).
inline void CommitText(QWidget* Target, const QString& Text)
{
    QInputMethodEvent commit;
    commit.setCommitString(Text);
    QApplication::sendEvent(Target, &commit);
}

// One mouse event at a widget point; Button is the button that changed, Buttons those held after.
inline void SendMouse(QWidget* Target, QEvent::Type Type, QPoint At, Qt::MouseButton Button,
                      Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
{
    QMouseEvent event(Type, At, Target->mapToGlobal(At), Button, Buttons, Modifiers);
    QApplication::sendEvent(Target, &event);
}

// Press and release of one button at a widget point.
inline void ClickAt(QWidget* Target, QPoint At, Qt::MouseButton Button = Qt::LeftButton)
{
    SendMouse(Target, QEvent::MouseButtonPress, At, Button, Button);
    SendMouse(Target, QEvent::MouseButtonRelease, At, Button, Qt::NoButton);
}

// A right click as the window system reports it: press, release, then the context-menu request.
inline void RightClickAt(QWidget* Target, QPoint At)
{
    ClickAt(Target, At, Qt::RightButton);
    QContextMenuEvent request(QContextMenuEvent::Mouse, At, Target->mapToGlobal(At));
    QApplication::sendEvent(Target, &request);
}

// Handles events until Done holds; fails after a generous bound so a lost event cannot hang.
template <class TDone>
void ProcessUntil(TDone Done)
{
    QElapsedTimer clock;
    clock.start();
    while (!Done() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(Done());
}
