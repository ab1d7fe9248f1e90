// Items joining, leaving and moving in their collection; the collection's updates and Assign.
#include "platform/core/Collection.h"

#include "platform/core/UpdateBatch.h"

TCollectionItem::TCollectionItem(TCollection* Collection)
{
    if (Collection != nullptr)
        Collection->AttachItem(this);
}

TCollectionItem::~TCollectionItem()
{
    if (FCollection != nullptr)
        FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value)
{
    if (FCollection == Value)
        return;
    if (FCollection != nullptr)
        FCollection->RemoveItem(this);
    if (Value != nullptr) {
        Value->AttachItem(this);
        Value->AnnounceItem(this);
    }
}

int TCollectionItem::Index() const
{
    return FCollection != nullptr ? FCollection->FItems.IndexOf(this) : -1;
}

void TCollectionItem::SetIndex(int Value)
{
    const int current = Index();
    if (current < 0 || current == Value)
        return;
    FCollection->FItems.Move(current, Value);
    Changed(true);
}

String TCollectionItem::DisplayName() const
{
    return QString::fromLatin1(ClassName());
}

void TCollectionItem::SetDisplayName(const String& Value)
{
    Changed(false);
}

void TCollectionItem::Changed(bool AllItems)
{
    if (FCollection != nullptr && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner()
{
    return FCollection;
}

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(std::move(ItemClass)) {}

TCollection::~TCollection()
{
    // A dying collection reports no more changes.
    FUpdateCount = 1;
    Clear();
}

TCollectionItem* TCollection::Add()
{
    TCollectionItem* item = FItemClass(this);
    AnnounceItem(item);
    return item;
}

TCollectionItem* TCollection::Insert(int Index)
{
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index)
{
    TCollectionItem* item = Items(Index);
    Notify(item, TCollectionNotification::cnDeleting);
    RemoveItem(item);
    delete item;
}

void TCollection::Clear()
{
    if (Count() == 0)
        return;
    UpdateBatch(*this, [this] {
        while (Count() > 0) {
            TCollectionItem* item = FItems.Last();
            RemoveItem(item);
            delete item;
        }
    });
}

void TCollection::SetItems(int Index, TCollectionItem* Value)
{
    Items(Index)->Assign(Value);
}

TCollectionItem* TCollection::FindItemID(int ID) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[i]->FID == ID)
            return FItems[i];
    return nullptr;
}

void TCollection::EndUpdate()
{
    --FUpdateCount;
    Changed();
}

void TCollection::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TCollection*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    UpdateBatch(*this, [this, source] {
        Clear();
        for (int i = 0; i < source->Count(); ++i)
            Add()->Assign(source->Items(i));
    });
}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::AttachItem(TCollectionItem* Item)
{
    FItems.Add(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
}

void TCollection::AnnounceItem(TCollectionItem* Item)
{
    Notify(Item, TCollectionNotification::cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
    Notify(Item, TCollectionNotification::cnExtracting);
    // Clearing removes from the end; spare it a search.
    if (FItems.Last() == Item)
        FItems.Delete(Count() - 1);
    else
        FItems.Remove(Item);
    Item->FCollection = nullptr;
    Changed();
}
