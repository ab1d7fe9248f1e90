// Check boxes and radio buttons: the user's clicks and keys change the state and fire OnClick;
// the same changes made in code fire nothing.
#include "platform/ui/CheckBox.h"
#include "platform/ui/Forms.h"
#include "UiTestSupport.h"

#include <QCheckBox>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <vector>

namespace {

class CheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Box = new TCheckBox(Form);
        Box->SetCaption(QStringLiteral("入库且同时领用(&T)"));
        Box->SetBounds(10, 10, 150, 17);
        Box->SetParent(Form);
        Box->OnClick = [this](TObject*) { States.push_back(Box->State()); };
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
    }
    void TearDown() override { delete Form; }

    QCheckBox* Widget() const { return static_cast<QCheckBox*>(Box->Handle()); }
    void ClickBox() { ClickAt(Box->Handle(), QPoint(5, 8)); }

    TForm* Form = nullptr;
    TCheckBox* Box = nullptr;
    std::vector<TCheckBoxState> States;
};

TEST_F(CheckBoxTest, UserClicksToggleAndReportTheNewState)
{
    ClickBox();
    EXPECT_TRUE(Box->Checked());
    EXPECT_EQ(Widget()->checkState(), Qt::Checked);
    ClickBox();
    EXPECT_EQ(States, (std::vector{TCheckBoxState::cbChecked, TCheckBoxState::cbUnchecked}));
    EXPECT_TRUE(Box->Focused());
}

TEST_F(CheckBoxTest, SpaceOnTheFocusedBoxToggles)
{
    Box->SetFocus();
    SendKey(Box->Handle(), Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(States, (std::vector{TCheckBoxState::cbChecked}));
}

TEST_F(CheckBoxTest, StateSetInCodeShowsWithoutEvents)
{
    Box->SetChecked(true);
    EXPECT_EQ(Widget()->checkState(), Qt::Checked);
    Box->SetState(TCheckBoxState::cbGrayed);
    EXPECT_EQ(Widget()->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(Box->Checked());
    EXPECT_TRUE(States.empty());
}

TEST_F(CheckBoxTest, ClicksCycleThroughGrayedOnlyWhenAllowed)
{
    Box->SetAllowGrayed(true);
    ClickBox();
    ClickBox();
    ClickBox();
    EXPECT_EQ(States, (std::vector{TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked, TCheckBoxState::cbUnchecked}));

    States.clear();
    Box->SetAllowGrayed(false);
    Box->SetState(TCheckBoxState::cbGrayed);
    ClickBox();
    ClickBox();
    EXPECT_EQ(States, (std::vector{TCheckBoxState::cbChecked, TCheckBoxState::cbUnchecked}));
}

TEST_F(CheckBoxTest, StateSurvivesANewWindowAndTheCaptionMayGoLeft)
{
    Box->SetChecked(true);
    Box->SetAlignment(TAlignment::taLeftJustify);
    EXPECT_EQ(Widget()->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(Widget()->checkState(), Qt::Checked);
    EXPECT_EQ(Widget()->text(), QStringLiteral("入库且同时领用(&T)"));
}

TEST_F(CheckBoxTest, MnemonicFocusesAndToggles)
{
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 't'), 1);
    EXPECT_TRUE(Box->Focused());
    EXPECT_EQ(States, (std::vector{TCheckBoxState::cbChecked}));
}

class RadioButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        for (int i = 0; i < 3; ++i) {
            Radios[i] = new TRadioButton(Form);
            Radios[i]->SetBounds(10, 10 + 20 * i, 100, 17);
            Radios[i]->SetParent(Form);
            Radios[i]->OnClick = [this, i](TObject*) { Clicked.push_back(i); };
        }
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    TRadioButton* Radios[3] = {};
    std::vector<int> Clicked;
};

TEST_F(RadioButtonTest, CheckingOneUnchecksItsSiblings)
{
    Radios[0]->SetChecked(true);
    ClickAt(Radios[2]->Handle(), QPoint(5, 8));
    EXPECT_FALSE(Radios[0]->Checked());
    EXPECT_TRUE(Radios[2]->Checked());
    EXPECT_FALSE(static_cast<QRadioButton*>(Radios[0]->Handle())->isChecked());
    EXPECT_EQ(Clicked, (std::vector{2}));
}

TEST_F(RadioButtonTest, ClickOnTheCheckedButtonKeepsItCheckedSilently)
{
    Radios[1]->SetChecked(true);
    ClickAt(Radios[1]->Handle(), QPoint(5, 8));
    EXPECT_TRUE(Radios[1]->Checked());
    EXPECT_TRUE(static_cast<QRadioButton*>(Radios[1]->Handle())->isChecked());
    EXPECT_TRUE(Clicked.empty());
}

TEST_F(RadioButtonTest, GroupsArePerParent)
{
    auto* other = new TRadioButton(Form);
    auto* panel = new TButtonControl(Form);
    panel->SetParent(Form);
    other->SetParent(panel);
    Radios[0]->SetChecked(true);
    other->SetChecked(true);
    EXPECT_TRUE(Radios[0]->Checked());
    EXPECT_TRUE(other->Checked());
}

}  // namespace
