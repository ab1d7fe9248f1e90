// Components: ownership, unique names, free notifications, loading and destruction of the tree.
#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// Records what it hears and clears its pointer when the watched component goes.
class Watcher : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* Watched = nullptr;
    std::vector<std::pair<TComponent*, TOperation>> Heard;
    int LoadedCalls = 0;
    bool WasLoadingInLoaded = false;

    void Watch(TComponent* other)
    {
        Watched = other;
        other->FreeNotification(this);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        Heard.emplace_back(AComponent, Operation);
        if (Operation == TOperation::opRemove && AComponent == Watched)
            Watched = nullptr;
    }
    void Loaded() override
    {
        WasLoadingInLoaded = ComponentState().Contains(TComponentStateFlag::csLoading);
        TComponent::Loaded();
        ++LoadedCalls;
    }
};

class DeathCounter : public TComponent {
public:
    DeathCounter(TComponent* owner, int& deaths) : TComponent(owner), FDeaths(deaths) {}
    ~DeathCounter() override { ++FDeaths; }

private:
    int& FDeaths;
};

}  // namespace

TEST(Component, OwnerFreesWhatItOwnsAndForgetsWhatIsFreedFirst)
{
    int deaths = 0;
    auto* owner = new TComponent(nullptr);
    auto* first = new DeathCounter(owner, deaths);
    new DeathCounter(owner, deaths);
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(first->Owner(), owner);
    EXPECT_EQ(first->ComponentIndex(), 0);

    delete first;
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(owner->ComponentCount(), 1);

    delete owner;
    EXPECT_EQ(deaths, 2);
}

TEST(Component, NamesAreUniquePerOwnerAndFoundWithoutCase)
{
    TComponent owner(nullptr);
    auto* grid = new TComponent(&owner);
    grid->SetName(QStringLiteral("DBGridEh1"));
    EXPECT_EQ(owner.FindComponent(QStringLiteral("dbgrideh1")), grid);
    EXPECT_EQ(owner.FindComponent(QString()), nullptr);

    auto* other = new TComponent(&owner);
    EXPECT_THROW(other->SetName(QStringLiteral("DBGRIDEH1")), EComponentError);
    EXPECT_TRUE(other->Name().isEmpty());
    other->SetName(QStringLiteral("DBGridEh2"));
    EXPECT_EQ(owner.FindComponent(QStringLiteral("DBGridEh2")), other);
}

TEST(Component, FreeNotificationClearsPointersInBothDirections)
{
    auto* watcher = new Watcher(nullptr);
    auto* target = new TComponent(nullptr);
    watcher->Watch(target);
    delete target;
    EXPECT_EQ(watcher->Watched, nullptr);

    // The watcher going first must leave the target with no dangling listener.
    auto* target2 = new TComponent(nullptr);
    watcher->Watch(target2);
    delete watcher;
    delete target2;  // would touch the freed watcher if it were still registered
    SUCCEED();
}

TEST(Component, OwnerTreeHearsInsertAndRemove)
{
    TComponent form(nullptr);
    auto* listener = new Watcher(&form);
    auto* edit = new TComponent(&form);
    delete edit;
    ASSERT_GE(listener->Heard.size(), 2u);
    EXPECT_EQ(listener->Heard[listener->Heard.size() - 2], std::make_pair(edit, TOperation::opInsert));
    EXPECT_EQ(listener->Heard.back(), std::make_pair(edit, TOperation::opRemove));
}

TEST(Component, LoadingEndsWithLoadedOnTheWholeTree)
{
    TComponent form(nullptr);
    auto* a = new Watcher(&form);
    auto* b = new Watcher(&form);
    form.BeginLoading();
    EXPECT_TRUE(form.ComponentState().Contains(TComponentStateFlag::csLoading));
    EXPECT_TRUE(a->ComponentState().Contains(TComponentStateFlag::csLoading));
    form.EndLoading();
    EXPECT_FALSE(form.ComponentState().Contains(TComponentStateFlag::csLoading));
    EXPECT_EQ(a->LoadedCalls, 1);
    EXPECT_EQ(b->LoadedCalls, 1);
    EXPECT_TRUE(a->WasLoadingInLoaded);
    EXPECT_FALSE(b->ComponentState().Contains(TComponentStateFlag::csLoading));
}

TEST(Component, DestroyingMarksTheTree)
{
    TComponent form(nullptr);
    auto* child = new TComponent(&form);
    form.Destroying();
    EXPECT_TRUE(child->ComponentState().Contains(TComponentStateFlag::csDestroying));
}

TEST(Persistent, AssignWithoutSupportRaisesThePlatformText)
{
    TComponent a(nullptr);
    TComponent b(nullptr);
    try {
        a.Assign(&b);
        FAIL() << "Assign must raise";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("不能将 TComponent 赋给 TComponent"));
    }
}
