// Actions run and updated by their handlers or the focused control; links passing changes on.
#include "platform/ui/ActnList.h"

#include "platform/ui/Forms.h"

namespace {

// Offers an action to the focused control of the active form, then to the form.
template <class TOffer>
bool OfferToFocus(TOffer Offer)
{
    TCustomForm* form = Screen->ActiveForm();
    if (form == nullptr)
        return false;
    TWinControl* focused = form->ActiveControl();
    return (focused != nullptr && Offer(focused)) || Offer(form);
}

}  // namespace

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction()
{
    while (!FClients.empty())
        FClients.back()->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return OfferToFocus([this](TControl* Control) { return Control->ExecuteAction(this); });
    OnExecute(this);
    return true;
}

bool TBasicAction::ExecuteTarget(TObject* Target) { return Execute(); }

bool TBasicAction::Update()
{
    if (!OnUpdate)
        return OfferToFocus([this](TControl* Control) { return Control->UpdateAction(this); });
    OnUpdate(this);
    return true;
}

void TBasicAction::Change()
{
    ForEachClient([](TBasicActionLink& Link) { Link.Change(); });
}

template <class TApply>
void TCustomAction::TellLinks(TApply Apply)
{
    ForEachClient([&Apply](TBasicActionLink& Link) {
        if (auto* actionLink = dynamic_cast<TActionLink*>(&Link))
            Apply(*actionLink);
    });
}

void TCustomAction::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    TellLinks([Value](TActionLink& Link) { Link.SetEnabled(Value); });
    FEnabled = Value;
    Change();
}

void TCustomAction::SetHint(const String& Value)
{
    if (Value == FHint)
        return;
    TellLinks([&Value](TActionLink& Link) { Link.SetHint(Value); });
    FHint = Value;
    Change();
}

void TCustomAction::SetShortCut(TShortCut Value)
{
    if (Value == FShortCut)
        return;
    TellLinks([Value](TActionLink& Link) { Link.SetShortCut(Value); });
    FShortCut = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    TellLinks([Value](TActionLink& Link) { Link.SetVisible(Value); });
    FVisible = Value;
    Change();
}

TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

void TBasicActionLink::SetAction(TBasicAction* Value)
{
    if (Value == FAction)
        return;
    if (FAction != nullptr)
        std::erase(FAction->FClients, this);
    FAction = Value;
    if (FAction != nullptr)
        FAction->FClients.push_back(this);
}

bool TBasicActionLink::Execute(TObject* Target) { return FAction != nullptr && FAction->ExecuteTarget(Target); }

bool TBasicActionLink::Update() { return FAction != nullptr && FAction->Update(); }

void TBasicActionLink::Change()
{
    if (OnChange)
        OnChange(FAction);
}

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }

bool TActionLink::IsEnabledLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return CustomAction() != nullptr; }
