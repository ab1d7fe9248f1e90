// TPopupCloseWatch on Qt: an application-wide press watcher and the application's focus-change
// signal.
#include "platform/ui/PopupWatch.h"

#include "platform/ui/WindowHost.h"

#include <QApplication>

class TPopupCloseWatch::TImpl : public QObject {
public:
    TImpl(TPopupCloseWatch& Watch, TWinControl& Popup) : FWatch(Watch), FPopup(Popup)
    {
        FPresses.OnOutside = [this] { Report(FWatch.OnOutsidePress); };
    }

    ~TImpl() override { Stop(); }

    void Start(TWinControl* Owner)
    {
        FOwner = Owner;
        if (QWidget* owner = OwnerWindow())
            FPresses.Start({FPopup.Handle(), owner});
        else
            FPresses.Start({FPopup.Handle()});
        if (!FFocusChanges)
            FFocusChanges = QObject::connect(qApp, &QApplication::focusChanged, this,
                                             [this](QWidget*, QWidget* Now) { FocusMoved(Now); });
    }

    void Stop()
    {
        FPresses.Stop();
        QObject::disconnect(FFocusChanges);
        FFocusChanges = {};
        FOwner = nullptr;
    }

private:
    QWidget* OwnerWindow() const
    {
        return FOwner != nullptr && FOwner->HandleAllocated() ? FOwner->Handle() : nullptr;
    }

    static bool Within(const QWidget* Window, const QWidget* Widget)
    {
        return Window != nullptr && (Window == Widget || Window->isAncestorOf(Widget));
    }

    void FocusMoved(const QWidget* Now)
    {
        if (Now == nullptr || !(Within(FPopup.Handle(), Now) || Within(OwnerWindow(), Now)))
            Report(FWatch.OnFocusOutside);
    }

    void Report(const std::function<void()>& Event)
    {
        if (Event)
            CallGuarded(&FPopup, Event);
    }

    TPopupCloseWatch& FWatch;
    TWinControl& FPopup;
    TWinControl* FOwner = nullptr;
    TOutsidePressWatcher FPresses;
    QMetaObject::Connection FFocusChanges;
};

TPopupCloseWatch::TPopupCloseWatch(TWinControl& Popup) : FImpl(std::make_unique<TImpl>(*this, Popup)) {}

TPopupCloseWatch::~TPopupCloseWatch() = default;

void TPopupCloseWatch::Start(TWinControl* Owner) { FImpl->Start(Owner); }

void TPopupCloseWatch::Stop() { FImpl->Stop(); }
