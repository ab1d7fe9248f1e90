#include "platform/ui/ActnList.h"

#include <algorithm>

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction()
{
    while (!FClients.empty())
        FClients.back()->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::ExecuteTarget(TObject* Target) { return Execute(); }

bool TBasicAction::Update()
{
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::Change()
{
    // A client may unlink itself while told.
    const std::vector<TBasicActionLink*> clients = FClients;
    for (TBasicActionLink* link : clients)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            link->Change();
}

namespace {

// Hands each TActionLink among Clients to Apply; a client may unlink itself meanwhile.
template <class TApply>
void ForEachActionLink(const std::vector<TBasicActionLink*>& Clients, TApply Apply)
{
    const std::vector<TBasicActionLink*> clients = Clients;
    for (TBasicActionLink* link : clients)
        if (auto* actionLink = dynamic_cast<TActionLink*>(link))
            Apply(*actionLink);
}

}  // namespace

void TCustomAction::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    ForEachActionLink(Clients(), [Value](TActionLink& Link) { Link.SetEnabled(Value); });
    FEnabled = Value;
    Change();
}

void TCustomAction::SetHint(const String& Value)
{
    if (Value == FHint)
        return;
    ForEachActionLink(Clients(), [&Value](TActionLink& Link) { Link.SetHint(Value); });
    FHint = Value;
    Change();
}

void TCustomAction::SetShortCut(TShortCut Value)
{
    if (Value == FShortCut)
        return;
    ForEachActionLink(Clients(), [Value](TActionLink& Link) { Link.SetShortCut(Value); });
    FShortCut = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    ForEachActionLink(Clients(), [Value](TActionLink& Link) { Link.SetVisible(Value); });
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
