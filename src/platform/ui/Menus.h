#pragma once
// Menus: items in a tree under a main menu (a form's menu bar) or a popup menu (opened at a
// screen point, or by a right click on a control whose PopupMenu it is). The items are the model;
// the Qt menus showing them are built from it.
#include "platform/core/Component.h"
#include "platform/ui/Controls.h"

#include <QPointer>

#include <memory>
#include <vector>

class QMenu;
class QMenuBar;
class QWidget;
class TMenu;

// A menu item misplaced in the item tree.
class EMenuError : public Exception {
public:
    using Exception::Exception;
};

// A key with its modifiers, as the platform packs it: the virtual key in the low byte.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
TShortCut ShortCut(WORD Key, TShiftState Shift);

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    // Frees the sub-items and leaves the parent item.
    ~TMenuItem() override;

    // "-" makes the item a separator line; "&" marks the mnemonic.
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    bool IsLine() const { return FCaption == QStringLiteral("-"); }

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    TMenuItem* Parent() const { return FParent; }
    int IndexOf(const TMenuItem* Item) const;
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out of the list without freeing it.
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();

    // The menu the item tree belongs to; nullptr while detached.
    TMenu* GetParentMenu() const;
    // What choosing the item does: OnClick.
    virtual void Click();

    TNotifyEvent OnClick;

protected:
    const char* ClassName() const override { return "TMenuItem"; }

private:
    friend class TMenu;
    // Tells the menu that its items look different now.
    void Changed();

    String FCaption;
    bool FVisible = true;
    bool FEnabled = true;
    bool FChecked = false;
    String FHint;
    TShortCut FShortCut = scNone;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;
    std::vector<TMenuItem*> FItems;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The root item: its sub-items are the menu's entries.
    TMenuItem* Items() const { return FItems.get(); }

protected:
    friend class TMenuItem;
    // The items changed; a menu showing them rebuilds its Qt menus.
    virtual void MenuChanged() {}
    // Fills Target (a QMenu or QMenuBar) with actions for the visible sub-items of Item. The
    // actions and sub-menus are children of Holder, so freeing it frees them all.
    void BuildActions(QWidget* Target, QWidget* Holder, const TMenuItem* Item);
    // Runs a chosen item's OnClick. The menu may be freed by the click: an override touches
    // itself afterwards only once it knows it is still alive.
    virtual void RunItemClick(TMenuItem* Item);
    const char* ClassName() const override { return "TMenu"; }

private:
    std::unique_ptr<TMenuItem> FItems;
};

// The menu bar of a form (see TCustomForm::SetMenu).
class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    ~TMainMenu() override;

    // Shows the items in Bar, now and after every change, until another bar is given.
    void FillMenuBar(QMenuBar* Bar);

protected:
    void MenuChanged() override;
    const char* ClassName() const override { return "TMainMenu"; }

private:
    QPointer<QMenuBar> FBar;
    QPointer<QWidget> FHolder;
};

// Which of the menu's edges Popup's point gives: its left, its right, or its middle.
enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // Opens the menu at a screen point (its top, and the edge Alignment says) and returns at
    // once; a chosen item's OnClick follows later. OnPopup runs first, so a handler can adjust
    // the items.
    void Popup(int X, int Y);
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
    // The control the menu was last opened for by a right click.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value);
    TPoint PopupPoint() const { return FPopupPoint; }
    // The open menu's window; nullptr while the menu is not showing.
    QMenu* Handle() const;

    TNotifyEvent OnPopup;
    // Reports that the opened menu has closed, after a chosen item's OnClick; the handler may
    // free the menu.
    TNotifyEvent OnClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void RunItemClick(TMenuItem* Item) override;
    const char* ClassName() const override { return "TPopupMenu"; }

private:
    void ReportClose();

    TComponent* FPopupComponent = nullptr;
    TPoint FPopupPoint;
    TPopupAlignment FAlignment = TPopupAlignment::paLeft;
    QPointer<QMenu> FMenu;
    // Expires with the menu, so a close reported later can tell it is gone.
    std::shared_ptr<int> FAliveToken = std::make_shared<int>(0);
    // A chosen item's OnClick may run a modal loop, inside which the close would be reported
    // and the menu freed under the click: the report then waits until the click returns.
    int FRunningClicks = 0;
    bool FCloseWaiting = false;
};
