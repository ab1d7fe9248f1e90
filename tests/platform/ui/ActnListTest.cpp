// Actions and their links: changes reach the linked clients, and either side may go first.
#include "platform/ui/ActnList.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Records what the action tells it, with the action's value at that moment.
class TRecordingLink : public TActionLink {
public:
    void SetEnabled(bool Value) override
    {
        Seen.push_back(Value ? "enabled" : "disabled");
        Before.push_back(CustomAction()->Enabled());
    }
    std::vector<std::string> Seen;
    std::vector<bool> Before;
};

TEST(ActionLinkTest, TheActionTellsItsLinksBeforeItChangesAndOnlyOfRealChanges)
{
    TCustomAction Action(nullptr);
    TRecordingLink Link;
    int Changes = 0;
    Link.OnChange = [&Changes, &Action](TObject* Sender) {
        EXPECT_EQ(Sender, &Action);
        ++Changes;
    };
    Link.SetAction(&Action);
    EXPECT_TRUE(Link.IsEnabledLinked());
    Action.SetEnabled(true);
    EXPECT_TRUE(Link.Seen.empty());
    Action.SetEnabled(false);
    EXPECT_EQ(Link.Seen, std::vector<std::string>{"disabled"});
    EXPECT_EQ(Link.Before, std::vector<bool>{true});
    Action.SetHint("h");
    EXPECT_EQ(Changes, 2);
}

TEST(ActionLinkTest, EitherSideMayBeDestroyedFirst)
{
    auto Action = std::make_unique<TCustomAction>(nullptr);
    auto First = std::make_unique<TRecordingLink>();
    TRecordingLink Second;
    First->SetAction(Action.get());
    Second.SetAction(Action.get());
    First.reset();
    Action->SetEnabled(false);
    EXPECT_EQ(Second.Seen.size(), 1u);
    Action.reset();
    EXPECT_EQ(Second.Action(), nullptr);
    EXPECT_FALSE(Second.IsEnabledLinked());
    EXPECT_FALSE(Second.Execute(nullptr));
}

TEST(ActionLinkTest, ExecutingAndUpdatingRunTheActionsHandlers)
{
    TBasicAction Action(nullptr);
    TBasicActionLink Link;
    Link.SetAction(&Action);
    EXPECT_FALSE(Link.Execute(nullptr));
    EXPECT_FALSE(Link.Update());
    int Executed = 0;
    int Updated = 0;
    Action.OnExecute = [&Executed](TObject*) { ++Executed; };
    Action.OnUpdate = [&Updated](TObject*) { ++Updated; };
    EXPECT_TRUE(Link.Execute(&Action));
    EXPECT_TRUE(Link.Update());
    EXPECT_EQ(Executed, 1);
    EXPECT_EQ(Updated, 1);
}

}  // namespace
