// The look-change hooks: one application event filter turns Qt's palette, style and theme
// changes into the platform's messages for every hook.
#include "platform/ui/LookChanges.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

#include <utility>
#include <vector>

namespace {

struct THookEntry {
    int Id;
    TWindowHook Hook;
};

std::vector<THookEntry>& Hooks()
{
    static std::vector<THookEntry> Entries;
    return Entries;
}

// A hook may add or remove hooks while it runs: the delivery walks a copy.
void Deliver(unsigned Msg)
{
    TMessage Message{Msg, 0, 0, 0};
    const std::vector<THookEntry> Current = Hooks();
    for (const THookEntry& Entry : Current)
        if (Entry.Hook(Message))
            return;
}

class TLookChangeFilter : public QObject {
protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        switch (Event->type()) {
        case QEvent::ApplicationPaletteChange: Deliver(WM_SYSCOLORCHANGE); break;
        case QEvent::StyleChange:
        case QEvent::ThemeChange: Deliver(WM_THEMECHANGED); break;
        default: break;
        }
        return QObject::eventFilter(Watched, Event);
    }
};

// The application frees the filter with itself.
void EnsureFilterInstalled()
{
    static QPointer<TLookChangeFilter> Installed;
    QCoreApplication* App = QCoreApplication::instance();
    if (Installed || App == nullptr)
        return;
    Installed = new TLookChangeFilter;
    Installed->setParent(App);
    App->installEventFilter(Installed);
}

}  // namespace

int HookApplicationWindow(TWindowHook Hook)
{
    static int LastId = 0;
    EnsureFilterInstalled();
    Hooks().push_back({++LastId, std::move(Hook)});
    return LastId;
}

void UnhookApplicationWindow(int Id)
{
    std::erase_if(Hooks(), [Id](const THookEntry& Entry) { return Entry.Id == Id; });
}
