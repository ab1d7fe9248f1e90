// The stored description of edit buttons: TEditButtonEh and its built-in kinds, their
// collection and their link to an action.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/Bitmap.h"
#include "platform/ui/Menus.h"

#include <algorithm>

// Holds the drop-down menu, which the button does not own, and forgets it when it is destroyed.
class TEditButtonEh::TMenuWatch : public TComponent {
public:
    TMenuWatch() : TComponent(nullptr) {}

    TPopupMenu* Menu() const { return FMenu; }
    void SetMenu(TPopupMenu* Value)
    {
        if (FMenu != nullptr)
            RemoveFreeNotification(FMenu);
        FMenu = Value;
        if (FMenu != nullptr)
            FreeNotification(FMenu);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove && AComponent == FMenu)
            FMenu = nullptr;
    }

private:
    TPopupMenu* FMenu = nullptr;
};

TDrawButtonStyleEh EditButtonDrawStyle(TEditButtonStyleEh Style)
{
    switch (Style) {
    case TEditButtonStyleEh::ebsDropDownEh: return TDrawButtonStyleEh::dbsDropDownEh;
    case TEditButtonStyleEh::ebsEllipsisEh: return TDrawButtonStyleEh::dbsEllipsisEh;
    case TEditButtonStyleEh::ebsGlyphEh:
    case TEditButtonStyleEh::ebsUpDownEh: return TDrawButtonStyleEh::dbsUpDownEh;
    case TEditButtonStyleEh::ebsPlusEh: return TDrawButtonStyleEh::dbsPlusEh;
    case TEditButtonStyleEh::ebsMinusEh: return TDrawButtonStyleEh::dbsMinusEh;
    case TEditButtonStyleEh::ebsAltDropDownEh: return TDrawButtonStyleEh::dbsAltDropDownEh;
    case TEditButtonStyleEh::ebsAltUpDownEh: return TDrawButtonStyleEh::dbsAltUpDownEh;
    }
    return TDrawButtonStyleEh::dbsDropDownEh;
}

bool IsSpinButtonStyle(TEditButtonStyleEh Style)
{
    return Style == TEditButtonStyleEh::ebsUpDownEh || Style == TEditButtonStyleEh::ebsAltUpDownEh;
}

// --- Action link --------------------------------------------------------------------------

bool TEditButtonActionLinkEh::IsEnabledLinked() const
{
    return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}

bool TEditButtonActionLinkEh::IsHintLinked() const
{
    return TActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}

bool TEditButtonActionLinkEh::IsShortCutLinked() const
{
    return TActionLink::IsShortCutLinked() && FClient->ShortCut() == CustomAction()->ShortCut();
}

bool TEditButtonActionLinkEh::IsVisibleLinked() const
{
    return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}

void TEditButtonActionLinkEh::SetEnabled(bool Value)
{
    if (IsEnabledLinked())
        FClient->SetEnabled(Value);
}

void TEditButtonActionLinkEh::SetHint(const String& Value)
{
    if (IsHintLinked())
        FClient->SetHint(Value);
}

void TEditButtonActionLinkEh::SetShortCut(TShortCut Value)
{
    if (IsShortCutLinked())
        FClient->SetShortCut(Value);
}

void TEditButtonActionLinkEh::SetVisible(bool Value)
{
    if (IsVisibleLinked())
        FClient->SetVisible(Value);
}

// --- TEditButtonEh ------------------------------------------------------------------------

TEditButtonEh::TEditButtonEh(TWinControl* EditControl) : TEditButtonEh(static_cast<TCollection*>(nullptr))
{
    FEditControl = EditControl;
}

TEditButtonEh::TEditButtonEh(TCollection* Collection)
    : TCollectionItem(Collection), FGlyph(std::make_unique<TBitmap>()), FDropdownMenu(std::make_unique<TMenuWatch>())
{
    FGlyph->SetTransparent(true);
}

TEditButtonEh::~TEditButtonEh() = default;

void TEditButtonEh::SetDefaults(TShortCut ShortCut, bool Visible)
{
    FShortCut = ShortCut;
    FVisible = Visible;
}

void TEditButtonEh::Assign(TPersistent* Source)
{
    auto* Button = dynamic_cast<TEditButtonEh*>(Source);
    if (Button == nullptr) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetAction(Button->Action());
    SetDropdownMenu(Button->DropdownMenu());
    SetEnabled(Button->Enabled());
    SetGlyph(Button->Glyph());
    SetHint(Button->Hint());
    SetNumGlyphs(Button->NumGlyphs());
    SetShortCut(Button->ShortCut());
    SetStyle(Button->Style());
    SetVisible(Button->Visible());
    SetWidth(Button->Width());
    OnClick = Button->OnClick;
    OnDown = Button->OnDown;
}

TBasicAction* TEditButtonEh::Action() const { return FActionLink != nullptr ? FActionLink->Action() : nullptr; }

void TEditButtonEh::SetAction(TBasicAction* Value)
{
    if (Value == nullptr) {
        FActionLink.reset();
        return;
    }
    if (FActionLink == nullptr)
        FActionLink = std::make_unique<TEditButtonActionLinkEh>(this);
    FActionLink->SetAction(Value);
    FActionLink->OnChange = [this](TObject* Sender) { ActionChange(Sender, false); };
    ActionChange(Value, Value->ComponentState().Contains(TComponentStateFlag::csLoading));
}

void TEditButtonEh::ActionChange(TObject* Sender, bool CheckDefaults)
{
    const auto* Action = dynamic_cast<TCustomAction*>(Sender);
    if (Action == nullptr)
        return;
    if (!CheckDefaults || Enabled())
        SetEnabled(Action->Enabled());
    if (!CheckDefaults || Hint().isEmpty())
        SetHint(Action->Hint());
    if (!CheckDefaults || ShortCut() == scNone)
        SetShortCut(Action->ShortCut());
    if (!CheckDefaults || Visible())
        SetVisible(Action->Visible());
}

TPopupMenu* TEditButtonEh::DropdownMenu() const { return FDropdownMenu->Menu(); }

void TEditButtonEh::SetDropdownMenu(TPopupMenu* Value) { FDropdownMenu->SetMenu(Value); }

void TEditButtonEh::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    NotifyChanged();
}

void TEditButtonEh::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    NotifyChanged();
}

void TEditButtonEh::SetHint(const String& Value)
{
    if (Value == FHint)
        return;
    FHint = Value;
    NotifyChanged();
}

void TEditButtonEh::SetNumGlyphs(int Value)
{
    Value = std::clamp(Value, 1, 4);
    if (Value == FNumGlyphs)
        return;
    FNumGlyphs = Value;
    NotifyChanged();
}

void TEditButtonEh::SetShortCut(TShortCut Value) { FShortCut = Value; }

void TEditButtonEh::SetStyle(TEditButtonStyleEh Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    NotifyChanged();
}

void TEditButtonEh::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    NotifyChanged();
}

void TEditButtonEh::SetWidth(int Value)
{
    if (Value == FWidth)
        return;
    FWidth = Value;
    NotifyChanged();
}

bool TEditButtonEh::IsEnabledStored() const { return FActionLink == nullptr || !FActionLink->IsEnabledLinked(); }
bool TEditButtonEh::IsHintStored() const { return FActionLink == nullptr || !FActionLink->IsHintLinked(); }
bool TEditButtonEh::IsShortCutStored() const { return FActionLink == nullptr || !FActionLink->IsShortCutLinked(); }
bool TEditButtonEh::IsVisibleStored() const { return FActionLink == nullptr || !FActionLink->IsVisibleLinked(); }

void TEditButtonEh::NotifyChanged()
{
    if (OnChanged)
        OnChanged(this);
    else if (Collection() != nullptr)
        Changed(false);
}

TEditButtonControlEh* TEditButtonEh::BuildButtonControl(TWinControl* EditControl)
{
    auto* Control = new TEditButtonControlEh(EditControl);
    Control->SetParent(EditControl);
    Control->SetBounds(0, 0, 10, 17);
    Control->SetVisible(true);
    return Control;
}

void TEditButtonEh::PerformClick(TObject* Sender, bool& Handled)
{
    if (OnClick) {
        OnClick(Sender, Handled);
        return;
    }
    if (Action() == nullptr)
        return;
    TObject* Target = FEditControl;
    if (Target == nullptr && Collection() != nullptr)
        Target = dynamic_cast<TComponent*>(Collection()->Owner());
    FActionLink->Execute(Target);
    Handled = true;
}

void TEditButtonEh::RefreshAction()
{
    if (FActionLink != nullptr)
        FActionLink->Update();
}

TDropDownEditButtonEh::TDropDownEditButtonEh(TWinControl* EditControl) : TEditButtonEh(EditControl)
{
    SetDefaults(DropDownButtonShortCut, false);
}

TDropDownEditButtonEh::TDropDownEditButtonEh(TCollection* Collection) : TEditButtonEh(Collection)
{
    SetDefaults(DropDownButtonShortCut, false);
}

TVisibleEditButtonEh::TVisibleEditButtonEh(TWinControl* EditControl) : TEditButtonEh(EditControl)
{
    SetDefaults(DropDownButtonShortCut, true);
}

TVisibleEditButtonEh::TVisibleEditButtonEh(TCollection* Collection) : TEditButtonEh(Collection)
{
    SetDefaults(DropDownButtonShortCut, true);
}

// --- TEditButtonsEh -----------------------------------------------------------------------

TEditButtonsEh::TEditButtonsEh(TPersistent* Owner, TCollectionItemClass ItemClass)
    : TCollection(std::move(ItemClass)), FOwner(Owner)
{
}

TEditButtonEh* TEditButtonsEh::ItemAt(int Index) const { return static_cast<TEditButtonEh*>(Items(Index)); }

void TEditButtonsEh::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (OnItemUpdate)
        OnItemUpdate(Item);
}
