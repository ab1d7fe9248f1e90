// TKeyPressWatch on an application event filter that holds the user's input back.
#include "platform/ui/KeyWatch.h"

#include "platform/ui/WindowHost.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <vector>

class TKeyPressWatch::TFilter : public QObject {
public:
    TFilter(QWidget* Window, WORD Key) : FWindow(Window), FKey(Key) { qApp->installEventFilter(this); }

    ~TFilter() override
    {
        qApp->removeEventFilter(this);
        for (auto& [target, event] : FHeld)
            if (target)
                QCoreApplication::postEvent(target, event.release());
    }

    bool FPressed = false;

protected:
    bool eventFilter(QObject* Target, QEvent* Event) override
    {
        if (!IsUserInput(Event->type()))
            return false;
        if (Event->type() == QEvent::KeyPress && Target == FWindow) {
            const auto* key = static_cast<QKeyEvent*>(Event);
            FPressed = FPressed || VirtualKeyFromQt(key->key(), key->modifiers().testFlag(Qt::KeypadModifier)) == FKey;
        }
        FHeld.emplace_back(Target, std::unique_ptr<QEvent>(Event->clone()));
        return true;
    }

private:
    static bool IsUserInput(QEvent::Type Type)
    {
        switch (Type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel: return true;
        default: return false;
        }
    }

    QPointer<QWidget> FWindow;
    WORD FKey;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> FHeld;
};

TKeyPressWatch::TKeyPressWatch(TWinControl* Window, WORD Key)
    : FFilter(std::make_unique<TFilter>(Window != nullptr && Window->HandleAllocated() ? Window->Handle() : nullptr, Key))
{
}

TKeyPressWatch::~TKeyPressWatch() = default;

bool TKeyPressWatch::Pressed()
{
    if (!FFilter->FPressed)
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    return FFilter->FPressed;
}
