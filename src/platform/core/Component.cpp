// Components' ownership, names, free notifications and loading state.
#include "platform/core/Component.h"

#include "platform/core/Exceptions.h"

#include <algorithm>

namespace {

void Erase(std::vector<TComponent*>& list, TComponent* item)
{
    const auto found = std::find(list.begin(), list.end(), item);
    if (found != list.end())
        list.erase(found);
}

bool Contains(const std::vector<TComponent*>& list, TComponent* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner != nullptr)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    RemoveFreeNotifications();
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

void TComponent::SetName(const String& Value)
{
    if (Value == FName)
        return;
    ValidateName(FOwner, Value, this);
    FName = Value;
}

void TComponent::ValidateName(const TComponent* Owner, const String& NewName, const TComponent* Self)
{
    if (Owner == nullptr || NewName.isEmpty())
        return;
    const TComponent* same = Owner->FindComponent(NewName);
    if (same != nullptr && same != Self)
        throw EComponentError(QStringLiteral("名为 %1 的组件已存在").arg(NewName));
}

int TComponent::ComponentIndex() const
{
    if (FOwner == nullptr)
        return -1;
    const auto& siblings = FOwner->FComponents;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const
{
    if (AName.isEmpty())
        return nullptr;
    for (TComponent* component : FComponents)
        if (component->FName.compare(AName, Qt::CaseInsensitive) == 0)
            return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    ValidateName(this, AComponent->FName, AComponent);
    Insert(AComponent);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    Notification(AComponent, TOperation::opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    AComponent->FOwner = nullptr;
    Erase(FComponents, AComponent);
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        Remove(last);
        delete last;
    }
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(TComponentStateFlag::csDestroying))
        return;
    FComponentState.Include(TComponentStateFlag::csDestroying);
    for (TComponent* component : FComponents)
        component->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (AComponent == nullptr || AComponent == this)
        return;
    if (!Contains(FFreeNotifies, AComponent))
        FFreeNotifies.push_back(AComponent);
    // Both sides must hear when either goes first.
    if (!Contains(AComponent->FFreeNotifies, this))
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    Erase(FFreeNotifies, AComponent);
    if (AComponent != nullptr)
        Erase(AComponent->FFreeNotifies, this);
}

void TComponent::RemoveFreeNotifications()
{
    while (!FFreeNotifies.empty()) {
        TComponent* listener = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        Erase(listener->FFreeNotifies, this);
        listener->Notification(this, TOperation::opRemove);
    }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent != nullptr)
        RemoveFreeNotification(AComponent);
    // A handler may free components of this owner; walk by index from the end and re-check.
    for (std::size_t i = FComponents.size(); i-- > 0;) {
        if (i < FComponents.size())
            FComponents[i]->Notification(AComponent, Operation);
    }
}

void TComponent::BeginLoading()
{
    FComponentState.Include(TComponentStateFlag::csLoading);
    for (TComponent* component : FComponents)
        component->BeginLoading();
}

void TComponent::EndLoading()
{
    Loaded();
    // Loaded handlers may create components; those were never loading, so walk a snapshot.
    const std::vector<TComponent*> owned = FComponents;
    for (TComponent* component : owned)
        if (Contains(FComponents, component))
            component->EndLoading();
}

void TComponent::Loaded()
{
    FComponentState.Exclude(TComponentStateFlag::csLoading);
}

void TComponent::SetComponentStateFlag(TComponentStateFlag Flag, bool On)
{
    if (On)
        FComponentState.Include(Flag);
    else
        FComponentState.Exclude(Flag);
}
