// Shared main of every test binary: one offscreen QApplication, then GoogleTest, with the
// application's input state reset before every test so no test sees what an earlier one left.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Qt keeps the modifiers of the last key press as the keyboard's state; a press without any,
// sent to a window no test sees, sets it back to none.
void ReleaseKeyboardModifiers()
{
    QWidget keyboard;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier);
    QApplication::sendEvent(&keyboard, &press);
}

// Starts every test from an idle application: no popup or window left open by the last test,
// no mouse or keyboard grab, nothing focused or active, no modifier held, an empty clipboard,
// and no window-system event left over (an activation queued for a window shown earlier would
// otherwise arrive during this test and move the focus).
class TInputStateReset : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                window->hide();
        if (QWidget* grabber = QWidget::mouseGrabber())
            grabber->releaseMouse();
        if (QWidget* grabber = QWidget::keyboardGrabber())
            grabber->releaseKeyboard();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        QApplication::setActiveWindow(nullptr);
        ReleaseKeyboardModifiers();
        QGuiApplication::clipboard()->clear();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TInputStateReset);
    return RUN_ALL_TESTS();
}
