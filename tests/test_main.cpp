// Shared main of every test binary: one offscreen QApplication, then GoogleTest, with the
// application's input state reset before every test so no test sees what an earlier one left.
#include "platform/ui/UiTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

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
