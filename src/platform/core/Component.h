#pragma once
// TComponent: the platform's owned, named, notifiable object. An owner frees the components it
// owns; components that hold pointers to others ask for a free notification and clear the
// pointer when told the other is going.
#include "platform/core/Persistent.h"
#include "platform/core/String.h"

#include <cstdint>
#include <vector>

enum class TComponentStateFlag : std::uint16_t {
    csLoading = 1 << 0,
    csReading = 1 << 1,
    csWriting = 1 << 2,
    csDestroying = 1 << 3,
    csDesigning = 1 << 4,
    csAncestor = 1 << 5,
    csUpdating = 1 << 6,
    csFixups = 1 << 7,
    csInline = 1 << 8,
    csDesignInstance = 1 << 9,
};

// A small set of component state flags.
class TComponentState {
public:
    constexpr TComponentState() = default;
    constexpr TComponentState(TComponentStateFlag flag) : FBits(static_cast<std::uint16_t>(flag)) {}
    constexpr bool Contains(TComponentStateFlag flag) const { return (FBits & static_cast<std::uint16_t>(flag)) != 0; }
    constexpr void Include(TComponentStateFlag flag) { FBits |= static_cast<std::uint16_t>(flag); }
    constexpr void Exclude(TComponentStateFlag flag) { FBits &= static_cast<std::uint16_t>(~static_cast<std::uint16_t>(flag)); }
    constexpr bool operator==(const TComponentState&) const = default;

private:
    std::uint16_t FBits = 0;
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    const String& Name() const { return FName; }
    // Raises EComponentError when another component of the same owner has the name.
    virtual void SetName(const String& Value);
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t Value) { FTag = Value; }
    TComponentState ComponentState() const { return FComponentState; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(static_cast<std::size_t>(Index)); }
    // Position among the owner's components; -1 without owner.
    int ComponentIndex() const;
    // Case-insensitive, among the owned components; nullptr when absent or Name is empty.
    TComponent* FindComponent(const String& AName) const;

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, last first.
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed.
    void Destroying();

    // AComponent is told (Notification with opRemove) when this component is destroyed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Loading from a stored description: BeginLoading marks this component and what it owns as
    // loading; EndLoading calls Loaded on this component, then on each owned one in order.
    void BeginLoading();
    void EndLoading();

protected:
    // opInsert/opRemove of AComponent somewhere in the owner tree, or a free notification.
    // The default forwards to the owned components; overrides must call it.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Called once loading ends; the default clears csLoading. Overrides must call it.
    virtual void Loaded();
    void SetComponentStateFlag(TComponentStateFlag Flag, bool On);
    const char* ClassName() const override { return "TComponent"; }

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    // Raises when Owner already has another component named NewName.
    static void ValidateName(const TComponent* Owner, const String& NewName, const TComponent* Self);
    void RemoveFreeNotifications();

    TComponent* FOwner = nullptr;
    String FName;
    std::intptr_t FTag = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};
