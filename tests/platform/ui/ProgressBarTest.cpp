// Progress bars keep their position in range and step as the platform's do; scroll bars turn the
// user's actions into scroll codes and changes; positions set in code stay silent.
#include "platform/ui/ProgressBar.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QProgressBar>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ProgressBarTest, PositionStaysInRangeAndStepItStartsOverPastMax)
{
    TForm form(nullptr);
    auto* bar = new TProgressBar(&form);
    bar->SetParent(&form);
    bar->SetMax(25);
    bar->SetStep(10);
    bar->StepIt();
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 20);
    EXPECT_EQ(static_cast<QProgressBar*>(bar->Handle())->value(), 20);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 0);
    bar->StepBy(100);
    EXPECT_EQ(bar->Position(), 25);
    bar->SetPosition(-3);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetMin(5);
    EXPECT_EQ(bar->Position(), 5);
    bar->SetOrientation(TProgressBarOrientation::pbVertical);
    EXPECT_EQ(static_cast<QProgressBar*>(bar->Handle())->orientation(), Qt::Vertical);
    EXPECT_EQ(static_cast<QProgressBar*>(bar->Handle())->value(), 5);
}

class ScrollBarControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bar = new TScrollBar(&Form);
        Bar->SetParent(&Form);
        Bar->SetParams(10, 0, 99);
        Bar->SetPageSize(20);
        Bar->SetLargeChange(15);
        Bar->OnScroll = [this](TObject*, TScrollCode Code, int& Pos) {
            Events.push_back("scroll " + std::to_string(static_cast<int>(Code)) + " " + std::to_string(Pos));
            if (Code == TScrollCode::scPageDown && Clamp)
                Pos = 30;
        };
        Bar->OnChange = [this](TObject*) { Events.push_back("change " + std::to_string(Bar->Position())); };
    }
    QScrollBar* Widget() const { return static_cast<QScrollBar*>(Bar->Handle()); }

    TForm Form{nullptr};
    TScrollBar* Bar = nullptr;
    bool Clamp = false;
    std::vector<std::string> Events;
};

TEST_F(ScrollBarControlTest, UserActionsBecomeScrollCodesThenAChange)
{
    Widget()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    Widget()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Events, (std::vector<std::string>{"scroll 1 11", "change 11", "scroll 8 11", "scroll 3 26", "change 26",
                                                "scroll 8 26"}));
    EXPECT_EQ(Widget()->value(), 26);
}

TEST_F(ScrollBarControlTest, OnScrollMayChooseThePositionAndThePageLimitsIt)
{
    Clamp = true;
    Widget()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Bar->Position(), 30);
    Widget()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Bar->Position(), 80) << "the last page starts at Max - PageSize + 1";
    EXPECT_EQ(Widget()->value(), 80);
}

TEST_F(ScrollBarControlTest, PositionSetInCodeIsSilentAndARangeBelowMinRaises)
{
    Bar->SetPosition(50);
    EXPECT_EQ(Widget()->value(), 50);
    EXPECT_TRUE(Events.empty());
    EXPECT_THROW(Bar->SetParams(0, 10, 5), EInvalidOperation);
}

}  // namespace
