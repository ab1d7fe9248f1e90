// Menu items and menus, shown through Qt's menus and menu bar.
#include "platform/ui/Menus.h"

#include "platform/ui/QueuedCall.h"
#include "platform/ui/WindowHost.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace {

QKeySequence QtShortCut(TShortCut Value)
{
    if (Value == scNone)
        return QKeySequence();
    Qt::KeyboardModifiers modifiers;
    if (Value & scShift)
        modifiers |= Qt::ShiftModifier;
    if (Value & scCtrl)
        modifiers |= Qt::ControlModifier;
    if (Value & scAlt)
        modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(QtKeyFromVirtualKey(Value & 0xFF))));
}

// Shows a control's popup menu where the right click happened.
void OpenPopupMenu(TPopupMenu* Menu, TControl* Control, TPoint ScreenPos)
{
    Menu->SetPopupComponent(Control);
    Menu->Popup(ScreenPos.X, ScreenPos.Y);
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift)
{
    TShortCut result = Key & 0xFF;
    if (Shift.Contains(ssShift))
        result |= scShift;
    if (Shift.Contains(ssCtrl))
        result |= scCtrl;
    if (Shift.Contains(ssAlt))
        result |= scAlt;
    return result;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    if (FParent != nullptr)
        FParent->Remove(this);
    while (!FItems.empty())
        delete FItems.back();
}

void TMenuItem::SetCaption(const String& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    Changed();
}

void TMenuItem::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed();
}

void TMenuItem::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Changed();
}

void TMenuItem::SetChecked(bool Value)
{
    if (Value == FChecked)
        return;
    FChecked = Value;
    Changed();
}

void TMenuItem::SetHint(const String& Value)
{
    if (Value == FHint)
        return;
    FHint = Value;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut Value)
{
    if (Value == FShortCut)
        return;
    FShortCut = Value;
    Changed();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    const auto found = std::find(FItems.begin(), FItems.end(), Item);
    return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (Item->FParent != nullptr)
        throw EMenuError(QStringLiteral("菜单被插入两次"));
    if (Index < 0 || Index > Count())
        throw EMenuError(QStringLiteral("菜单索引超出范围"));
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    Changed();
}

void TMenuItem::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throw EMenuError(QStringLiteral("菜单索引超出范围"));
    TMenuItem* item = FItems[static_cast<std::size_t>(Index)];
    FItems.erase(FItems.begin() + Index);
    item->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    const int index = IndexOf(Item);
    if (index < 0)
        throw EMenuError(QStringLiteral("子菜单不在菜单中"));
    Delete(index);
}

void TMenuItem::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->FParent != nullptr)
        root = root->FParent;
    return root->FMenu;
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick(this);
}

void TMenuItem::Changed()
{
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged();
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr))
{
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    // The items go without telling a menu that is going too.
    FItems->FMenu = nullptr;
}

void TMenu::BuildActions(QWidget* Target, QWidget* Holder, const TMenuItem* Item)
{
    for (TMenuItem* child : Item->FItems) {
        if (!child->Visible())
            continue;
        auto* action = new QAction(Holder);
        if (child->IsLine()) {
            action->setSeparator(true);
            Target->addAction(action);
            continue;
        }
        action->setText(child->Caption());
        action->setEnabled(child->Enabled());
        action->setCheckable(child->Checked());
        action->setChecked(child->Checked());
        action->setStatusTip(child->Hint());
        action->setShortcut(QtShortCut(child->ShortCut()));
        if (child->Count() > 0) {
            auto* sub = new QMenu(Holder);
            BuildActions(sub, Holder, child);
            QObject::connect(sub, &QMenu::aboutToShow, [this, child] { RunItemClick(child); });
            action->setMenu(sub);
        } else {
            // The platform never toggles a check mark itself: OnClick decides.
            QObject::connect(action, &QAction::triggered, [this, child, action] {
                action->setChecked(child->Checked());
                RunItemClick(child);
            });
        }
        Target->addAction(action);
    }
}

void TMenu::RunItemClick(TMenuItem* Item) { CallGuarded(Item, [Item] { Item->Click(); }); }

TMainMenu::~TMainMenu() { delete FHolder; }

void TMainMenu::FillMenuBar(QMenuBar* Bar)
{
    FBar = Bar;
    MenuChanged();
}

void TMainMenu::MenuChanged()
{
    // A handler may change the items while one of the old actions is still running it.
    if (FHolder)
        FHolder->deleteLater();
    if (!FBar)
        return;
    FBar->clear();
    FHolder = new QWidget;
    BuildActions(FBar, FHolder, Items());
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner)
{
    if (!TControl::PopupMenuHandler)
        TControl::PopupMenuHandler = OpenPopupMenu;
}

TPopupMenu::~TPopupMenu()
{
    if (FMenu)
        FMenu->deleteLater();
}

void TPopupMenu::SetPopupComponent(TComponent* Value)
{
    if (Value == FPopupComponent)
        return;
    if (FPopupComponent != nullptr)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TMenu::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int X, int Y)
{
    FPopupPoint = Point(X, Y);
    if (OnPopup)
        OnPopup(this);
    if (FMenu)
        FMenu->deleteLater();
    FMenu = new QMenu;
    BuildActions(FMenu, FMenu, Items());
    // The menu hides before the chosen action triggers: the close is reported once that ran.
    // A menu replaced by a newer popup meanwhile reports nothing.
    QObject::connect(FMenu, &QMenu::aboutToHide, [this, alive = std::weak_ptr<int>(FAliveToken), hiding = FMenu.data()] {
        QueueCall([this, alive, hiding] {
            if (alive.expired() || hiding != FMenu.data())
                return;
            if (FRunningClicks > 0)
                FCloseWaiting = true;
            else
                ReportClose();
        });
    });
    const int width = FMenu->sizeHint().width();
    const int left = FAlignment == TPopupAlignment::paRight    ? X - width
                     : FAlignment == TPopupAlignment::paCenter ? X - width / 2
                                                               : X;
    FMenu->popup(QPoint(left, Y));
}

void TPopupMenu::RunItemClick(TMenuItem* Item)
{
    const std::weak_ptr<int> alive = FAliveToken;
    ++FRunningClicks;
    TMenu::RunItemClick(Item);
    if (alive.expired())
        return;
    if (--FRunningClicks == 0 && FCloseWaiting) {
        FCloseWaiting = false;
        ReportClose();
    }
}

void TPopupMenu::ReportClose()
{
    if (!OnClose)
        return;
    const TNotifyEvent handler = OnClose;
    CallGuarded(this, [&] { handler(this); });
}

QMenu* TPopupMenu::Handle() const { return FMenu && FMenu->isVisible() ? FMenu.data() : nullptr; }
