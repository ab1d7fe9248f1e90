// Hints show the control's hint text after the hint pause while the mouse rests over it, and go
// when the mouse leaves, a button is pressed or the hide pause ends.
#include "platform/ui/HintWindow.h"

#include "platform/ui/Forms.h"
#include "platform/ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

class TBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

class TMark : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

class HintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetHintPause(0);
        Application->SetHintHidePause(100000);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Box = new TBox(Form);
        Box->SetBounds(10, 10, 150, 100);
        Box->SetParent(Form);
        Box->SetHint(QStringLiteral("按日期查询|查询指定日期的记录"));
        Box->SetShowHint(true);
        Form->Show();
    }
    void TearDown() override
    {
        delete Form;
        Application->SetHintPause(500);
        Application->SetHintHidePause(2500);
    }

    void MoveOver(TWinControl* Control, QPoint At)
    {
        SendMouse(Control->Handle(), QEvent::MouseMove, At, Qt::NoButton, Qt::NoButton);
    }
    // Lets pending timers run once without waiting.
    static void Settle() { QApplication::processEvents(); }

    TForm* Form = nullptr;
    TBox* Box = nullptr;
};

TEST_F(HintTest, RestingOverAControlShowsTheShortPartOfItsHint)
{
    MoveOver(Box, QPoint(5, 5));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    EXPECT_EQ(ShownHintWindow()->Caption(), QStringLiteral("按日期查询"));
    EXPECT_TRUE(ShownHintWindow()->Handle()->isWindow());
    EXPECT_EQ(ShownHintWindow()->Handle()->windowType(), Qt::ToolTip);
}

TEST_F(HintTest, PressingAButtonOrLeavingHidesTheHint)
{
    MoveOver(Box, QPoint(5, 5));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ClickAt(Box->Handle(), QPoint(5, 5));
    EXPECT_EQ(ShownHintWindow(), nullptr);

    MoveOver(Form, QPoint(250, 150));
    MoveOver(Box, QPoint(6, 6));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Box->Handle(), &leave);
    EXPECT_EQ(ShownHintWindow(), nullptr);
}

TEST_F(HintTest, TheHintWaitsForThePauseAndGoesAfterTheHidePause)
{
    Application->SetHintPause(100000);
    MoveOver(Box, QPoint(5, 5));
    Settle();
    EXPECT_EQ(ShownHintWindow(), nullptr);

    Application->SetHintPause(0);
    // Long enough to see the hint between its timers even when both fall due in one wait.
    Application->SetHintHidePause(200);
    MoveOver(Form, QPoint(250, 150));
    MoveOver(Box, QPoint(5, 5));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    ProcessUntil([] { return ShownHintWindow() == nullptr; });
}

TEST_F(HintTest, ShowHintOffOrAnEmptyHintShowsNothing)
{
    Box->SetShowHint(false);
    MoveOver(Box, QPoint(5, 5));
    Settle();
    EXPECT_EQ(ShownHintWindow(), nullptr);
    EXPECT_EQ(GetHintControl(Box), nullptr);
}

TEST_F(HintTest, AChildTakesItsParentsShowHintAndAWindowlessChildShowsItsOwnHint)
{
    Box->SetParentShowHint(true);
    auto* mark = new TMark(Form);
    mark->SetBounds(100, 60, 40, 30);
    mark->SetParent(Box);
    mark->SetHint(QStringLiteral("小提示"));
    EXPECT_FALSE(mark->ShowHint());
    Form->SetShowHint(true);
    EXPECT_TRUE(Box->ShowHint());
    EXPECT_TRUE(mark->ShowHint());
    EXPECT_EQ(GetHintControl(mark), mark);
    MoveOver(Box, QPoint(110, 70));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    EXPECT_EQ(ShownHintWindow()->Caption(), QStringLiteral("小提示"));
}

TEST(HintWindowTest, EachLineOfAMultiLineHintTakesItsHeight)
{
    THintWindow window(nullptr);
    const TRect one = window.CalcHintRect(300, QStringLiteral("第一行"));
    const TRect two = window.CalcHintRect(300, QStringLiteral("第一行\r\n第二行"));
    EXPECT_EQ(two.Width(), one.Width());
    EXPECT_EQ(two.Height() - one.Height(), window.Canvas()->TextHeight(QStringLiteral("第一行")));
}

TEST(HintWindowTest, TheShortHintEndsAtTheBar)
{
    EXPECT_EQ(GetShortHint(QStringLiteral("短|长的说明")), QStringLiteral("短"));
    EXPECT_EQ(GetShortHint(QStringLiteral("没有分隔")), QStringLiteral("没有分隔"));
}

}  // namespace
