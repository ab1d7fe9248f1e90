// Collections: item order and IDs, change notices, updates, ownership, moves and Assign.
#include "platform/core/Collection.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class TCaptionItem : public TCollectionItem {
public:
    explicit TCaptionItem(TCollection* Collection) : TCollectionItem(Collection) {}
    ~TCaptionItem() override { ++Deaths; }

    void Assign(TPersistent* Source) override
    {
        FCaption = dynamic_cast<TCaptionItem&>(*Source).FCaption;
        Changed(false);
    }

    String FCaption;
    static inline int Deaths = 0;
};

// Records what the collection reports, naming items by caption so a log reads plainly.
class TLoggedCollection : public TOwnedCollection {
public:
    explicit TLoggedCollection(TPersistent* Owner = nullptr)
        : TOwnedCollection(Owner, CollectionItemClass<TCaptionItem>())
    {
    }

    TCaptionItem* AddCaption(const char* Caption)
    {
        auto* item = static_cast<TCaptionItem*>(Add());
        item->FCaption = QString::fromLatin1(Caption);
        return item;
    }
    TCaptionItem* Item(int Index) const { return static_cast<TCaptionItem*>(Items(Index)); }
    std::vector<int> IDs() const
    {
        std::vector<int> ids;
        for (int i = 0; i < Count(); ++i)
            ids.push_back(Items(i)->ID());
        return ids;
    }

    std::vector<std::string> Log;

protected:
    void Update(TCollectionItem* Item) override
    {
        Log.push_back(Item == nullptr ? "update all" : "update " + Name(Item));
    }
    void Notify(TCollectionItem* Item, TCollectionNotification Action) override
    {
        static const char* const actions[] = {"added", "extracting", "deleting"};
        if (Action == TCollectionNotification::cnAdded) {
            EXPECT_NE(dynamic_cast<TCaptionItem*>(Item), nullptr) << "announced before it was built";
        }
        Log.push_back(std::string(actions[static_cast<int>(Action)]) + " " + Name(Item));
    }

private:
    // An item deleted directly is down to its base part when it leaves.
    static std::string Name(TCollectionItem* Item)
    {
        auto* item = dynamic_cast<TCaptionItem*>(Item);
        return item != nullptr ? item->FCaption.toStdString() : "?";
    }
};

using Log = std::vector<std::string>;

}  // namespace

TEST(TCollection, ItemsKeepOrderAndUniqueIncreasingIDs)
{
    TLoggedCollection columns;
    columns.AddCaption("a");
    columns.AddCaption("b");
    columns.AddCaption("c");
    TCollectionItem* first = columns.Insert(0);
    EXPECT_EQ(first->Index(), 0);
    EXPECT_EQ(columns.IDs(), (std::vector<int>{3, 0, 1, 2}));

    columns.Delete(1);
    columns.Add();
    EXPECT_EQ(columns.IDs(), (std::vector<int>{3, 1, 2, 4}));
    EXPECT_EQ(columns.FindItemID(2), columns.Items(2));
    EXPECT_EQ(columns.FindItemID(0), nullptr);

    columns.Items(3)->SetIndex(1);
    EXPECT_EQ(columns.IDs(), (std::vector<int>{3, 4, 1, 2}));
    EXPECT_THROW(columns.Items(4), EListError);
    EXPECT_THROW(first->SetIndex(4), EListError);
    EXPECT_EQ(first->DisplayName(), QStringLiteral("TCollectionItem"));
}

TEST(TCollection, ChangesReachNotifyAndUpdate)
{
    TLoggedCollection columns;
    TCaptionItem* a = columns.AddCaption("a");
    a->SetDisplayName(QStringLiteral("ignored"));
    columns.AddCaption("b")->SetIndex(0);
    columns.Delete(1);
    EXPECT_EQ(columns.Log, (Log{"added ", "update all", "update a", "added ", "update all", "update all",
                                "deleting a", "extracting a", "update all"}));
}

TEST(TCollection, UpdatesWaitForTheOutermostEndUpdate)
{
    TLoggedCollection columns;
    columns.BeginUpdate();
    columns.BeginUpdate();
    columns.AddCaption("a")->SetDisplayName(QString());
    columns.EndUpdate();
    EXPECT_EQ(columns.UpdateCount(), 1);
    columns.Clear();
    EXPECT_EQ(columns.Log, (Log{"added ", "extracting a"}));
    columns.EndUpdate();
    EXPECT_EQ(columns.Log, (Log{"added ", "extracting a", "update all"}));
}

TEST(TCollection, OwnsItsItemsUntilTheyLeave)
{
    TCaptionItem::Deaths = 0;
    TCaptionItem* leaver = nullptr;
    {
        TLoggedCollection columns;
        columns.Add();
        columns.Add();
        leaver = static_cast<TCaptionItem*>(columns.Add());
        delete columns.Items(0);
        EXPECT_EQ(columns.Count(), 2);
        EXPECT_EQ(columns.Log.back(), "update all");
        leaver->SetCollection(nullptr);
        EXPECT_EQ(leaver->Index(), -1);
        EXPECT_EQ(columns.Count(), 1);
    }
    EXPECT_EQ(TCaptionItem::Deaths, 2);
    EXPECT_EQ(leaver->Collection(), nullptr);
    delete leaver;
}

TEST(TCollection, ItemMovesToAnotherCollectionWithANewID)
{
    TLoggedCollection source, target;
    target.Add();
    target.Add();
    TCaptionItem* item = source.AddCaption("m");
    source.Log.clear();
    target.Log.clear();

    item->SetCollection(&target);
    EXPECT_EQ(source.Count(), 0);
    EXPECT_EQ(item->Collection(), &target);
    EXPECT_EQ(item->Index(), 2);
    EXPECT_EQ(item->ID(), 2);
    EXPECT_EQ(source.Log, (Log{"extracting m", "update all"}));
    EXPECT_EQ(target.Log, (Log{"added m", "update all"}));
}

TEST(TCollection, AssignRebuildsItemsFromTheSource)
{
    TLoggedCollection source, target;
    source.AddCaption("x");
    source.AddCaption("y");
    target.AddCaption("old");
    target.Log.clear();

    target.Assign(&source);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target.Item(0)->FCaption, QStringLiteral("x"));
    EXPECT_EQ(target.Item(1)->FCaption, QStringLiteral("y"));
    EXPECT_EQ(target.Log.back(), "update all");
    EXPECT_EQ(std::count(target.Log.begin(), target.Log.end(), "update all"), 1);

    target.SetItems(0, source.Item(1));
    EXPECT_EQ(target.Item(0)->FCaption, QStringLiteral("y"));

    TPersistent other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
}

TEST(TCollection, OwnedCollectionNamesItsOwner)
{
    TPersistent grid;
    TLoggedCollection owned(&grid);
    TCollection plain(CollectionItemClass<TCaptionItem>());
    EXPECT_EQ(owned.Owner(), &grid);
    EXPECT_EQ(plain.Owner(), nullptr);
    EXPECT_EQ(owned.Add()->Collection()->Owner(), &grid);
}
