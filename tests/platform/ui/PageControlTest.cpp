// Page controls: tab clicks change pages with OnChanging/OnChange; pages set in code change
// silently except for the sheets' own OnShow and OnHide.
#include "platform/ui/PageControl.h"
#include "platform/ui/Forms.h"
#include "UiTestSupport.h"

#include <QTabBar>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class PageControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Pages = new TPageControl(Form);
        Pages->SetBounds(10, 10, 380, 280);
        Pages->SetParent(Form);
        const char* captions[] = {"领用登记", "来宾礼品", "入库登记"};
        for (int i = 0; i < 3; ++i) {
            Sheets[i] = new TTabSheet(Form);
            Sheets[i]->SetCaption(QString::fromUtf8(captions[i]));
            Sheets[i]->SetPageControl(Pages);
            Sheets[i]->OnShow = [this, i](TObject*) { Events.push_back("show " + std::to_string(i)); };
            Sheets[i]->OnHide = [this, i](TObject*) { Events.push_back("hide " + std::to_string(i)); };
        }
        Pages->OnChanging = [this](TObject*, bool& Allow) {
            Events.push_back("changing");
            Allow = AllowChange;
        };
        Pages->OnChange = [this](TObject*) { Events.push_back("change " + std::to_string(Pages->ActivePageIndex())); };
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
    }
    void TearDown() override { delete Form; }

    QTabBar* Bar() const { return Pages->Handle()->findChild<QTabBar*>(); }
    void ClickTab(int Index) { ClickAt(Bar(), Bar()->tabRect(Index).center()); }

    TForm* Form = nullptr;
    TPageControl* Pages = nullptr;
    TTabSheet* Sheets[3] = {};
    bool AllowChange = true;
    Log Events;
};

TEST_F(PageControlTest, FirstPageShowsWithTheFormAndPagesFillTheClientArea)
{
    EXPECT_EQ(Events, (Log{"show 0"}));
    EXPECT_EQ(Pages->PageCount(), 3);
    EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
    EXPECT_EQ(Sheets[1]->BoundsRect(), Pages->ClientRect());
    EXPECT_LT(Pages->ClientHeight(), Pages->Height() - Bar()->height() + 1);
    EXPECT_EQ(Bar()->count(), 3);
    EXPECT_EQ(Bar()->tabText(2), QStringLiteral("入库登记"));
}

TEST_F(PageControlTest, TabClickChangesThePageWithEventsInOrder)
{
    Events.clear();
    ClickTab(2);
    EXPECT_EQ(Events, (Log{"changing", "show 2", "hide 0", "change 2"}));
    EXPECT_TRUE(Sheets[2]->Showing());
    EXPECT_FALSE(Sheets[0]->Showing());
    EXPECT_EQ(Bar()->currentIndex(), 2);
    EXPECT_TRUE(Pages->Focused());
}

TEST_F(PageControlTest, OnChangingMayRefuse)
{
    Events.clear();
    AllowChange = false;
    ClickTab(1);
    EXPECT_EQ(Events, (Log{"changing"}));
    EXPECT_EQ(Pages->ActivePageIndex(), 0);
    EXPECT_EQ(Bar()->currentIndex(), 0);
}

TEST_F(PageControlTest, PageSetInCodeFiresOnlyTheSheetEvents)
{
    Events.clear();
    Pages->SetActivePageIndex(1);
    Pages->SetActivePage(Sheets[2]);
    EXPECT_EQ(Events, (Log{"show 1", "hide 0", "show 2", "hide 1"}));
    EXPECT_EQ(Bar()->currentIndex(), 2);
}

TEST_F(PageControlTest, ArrowKeysOnTheFocusedControlMoveBetweenTabs)
{
    Pages->SetFocus();
    Events.clear();
    SendKey(Pages->Handle(), Qt::Key_Right);
    EXPECT_EQ(Events, (Log{"changing", "show 1", "hide 0", "change 1"}));
    SendKey(Pages->Handle(), Qt::Key_Left);
    SendKey(Pages->Handle(), Qt::Key_Left);
    EXPECT_EQ(Pages->ActivePageIndex(), 2) << "moving before the first tab wraps";
}

TEST_F(PageControlTest, HiddenTabsLeaveTheRowAndPagesMayMove)
{
    Sheets[1]->SetTabVisible(false);
    EXPECT_EQ(Bar()->count(), 2);
    EXPECT_EQ(Sheets[2]->TabIndex(), 1);
    EXPECT_EQ(Sheets[1]->TabIndex(), -1);
    Sheets[2]->SetPageIndex(0);
    EXPECT_EQ(Pages->Pages(0), Sheets[2]);
    EXPECT_EQ(Bar()->tabText(0), QStringLiteral("入库登记"));
    Sheets[2]->SetCaption(QStringLiteral("入库"));
    EXPECT_EQ(Bar()->tabText(0), QStringLiteral("入库"));
}

TEST_F(PageControlTest, FreeingTheActivePageActivatesTheNext)
{
    delete Sheets[0];
    EXPECT_EQ(Pages->PageCount(), 2);
    EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
    EXPECT_EQ(Bar()->count(), 2);
}

}  // namespace
