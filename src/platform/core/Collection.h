#pragma once
// TCollection: an owned, ordered set of TCollectionItem objects of one class, such as a grid's
// columns. The collection frees its items; each item knows its collection, index and unique ID,
// and reports its changes to the collection's Update.
#include "platform/core/List.h"
#include "platform/core/Persistent.h"
#include "platform/core/String.h"

#include <functional>
#include <utility>

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // Joins Collection, when given, at its end, without announcing itself: a derived item is not
    // built yet. Create items through the collection's Add or Insert, which announce them.
    explicit TCollectionItem(TCollection* Collection);
    // Leaves its collection. Deleted directly, the collection's Notify sees only this base part.
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to the end of Value, or out of any collection when Value is nullptr.
    virtual void SetCollection(TCollection* Value);
    // The position in the collection, or -1 outside one.
    int Index() const;
    virtual void SetIndex(int Value);
    // Unique within the collection, in order of joining; never reused.
    int ID() const { return FID; }
    // The class name unless a descendant names its items.
    virtual String DisplayName() const;
    virtual void SetDisplayName(const String& Value);

protected:
    // Reports a change of this item, or of all items, to the collection's Update.
    void Changed(bool AllItems);
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TCollectionItem"; }

private:
    friend class TCollection;

    TCollection* FCollection = nullptr;
    int FID = 0;
};

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// Builds one item of a collection's item class, joined to that collection.
using TCollectionItemClass = std::function<TCollectionItem*(TCollection* Collection)>;

template <class TItem>
TCollectionItemClass CollectionItemClass()
{
    return [](TCollection* Collection) { return new TItem(Collection); };
}

class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass ItemClass);
    ~TCollection() override;

    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int Count() const { return FItems.Count(); }
    TCollectionItem* Items(int Index) const { return FItems[Index]; }
    // Copies Value into the item at Index.
    void SetItems(int Index, TCollectionItem* Value);
    // The item with that ID, or nullptr.
    TCollectionItem* FindItemID(int ID) const;
    TPersistent* Owner() { return GetOwner(); }

    // Holds back Update until the outermost EndUpdate, which calls it once for the whole collection.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Replaces the items with new ones, each assigned from an item of Source.
    void Assign(TPersistent* Source) override;

protected:
    // A change of Item, or of the whole collection when Item is nullptr.
    virtual void Update(TCollectionItem* Item) {}
    // Item has joined the collection, is leaving it, or is about to be deleted.
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
    // Reports a change of the whole collection unless inside BeginUpdate/EndUpdate.
    void Changed();
    const char* ClassName() const override { return "TCollection"; }

private:
    friend class TCollectionItem;

    void AttachItem(TCollectionItem* Item);
    void AnnounceItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);

    TCollectionItemClass FItemClass;
    TListOf<TCollectionItem> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
};

// A collection that names the object it belongs to as its owner.
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* Owner, TCollectionItemClass ItemClass)
        : TCollection(std::move(ItemClass)), FOwner(Owner)
    {
    }

protected:
    TPersistent* GetOwner() override { return FOwner; }

private:
    TPersistent* FOwner;
};
