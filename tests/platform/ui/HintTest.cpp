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

// A control with a hint of its own for each half, shown at once over the left half only.
class THalvesBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int PauseQueries = 0;
    bool Refuse = false;
    THintWindow OwnWindow{nullptr};

protected:
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == CM_HINTSHOWPAUSE) {
            auto* info = reinterpret_cast<THintPauseInfo*>(Message.LParam);
            ++PauseQueries;
            if (info->CursorPos.X < Width() / 2)
                info->Pause = 0;
            return;
        }
        if (Message.Msg == CM_HINTSHOW) {
            auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
            const bool left = info->CursorPos.X < Width() / 2;
            info->CursorRect = left ? Rect(0, 0, Width() / 2, Height()) : Rect(Width() / 2, 0, Width(), Height());
            info->HintStr = left ? QStringLiteral("左半") : QStringLiteral("右半");
            info->HintPos = ClientToScreen(Point(info->CursorRect.Left, 0));
            info->HintWindow = left ? &OwnWindow : nullptr;
            Message.Result = Refuse ? 1 : 0;
            return;
        }
        TCustomControl::Dispatch(Message);
    }
};

class HintQueryTest : public HintTest {
protected:
    void SetUp() override
    {
        HintTest::SetUp();
        Application->SetHintPause(100000);
        Application->SetHintShortPause(100000);
        Halves = new THalvesBox(Form);
        Halves->SetBounds(10, 120, 200, 40);
        Halves->SetParent(Form);
        Halves->SetShowHint(true);
    }
    void TearDown() override
    {
        Application->SetHintShortPause(50);
        HintTest::TearDown();
    }
    THalvesBox* Halves = nullptr;
};

TEST_F(HintQueryTest, TheControlSetsThePauseTheTextThePlaceAndTheWindow)
{
    MoveOver(Halves, QPoint(20, 10));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    EXPECT_EQ(ShownHintWindow(), &Halves->OwnWindow);
    EXPECT_EQ(ShownHintWindow()->Caption(), QStringLiteral("左半"));
    const TPoint origin = Halves->ClientToScreen(Point(0, 0));
    EXPECT_EQ(ShownHintWindow()->Left(), origin.X);
    EXPECT_EQ(ShownHintWindow()->Top(), origin.Y);
}

TEST_F(HintQueryTest, MovingInsideTheCursorRectKeepsTheHintAndLeavingItAsksAgain)
{
    MoveOver(Halves, QPoint(20, 10));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    const int queries = Halves->PauseQueries;
    MoveOver(Halves, QPoint(60, 30));
    EXPECT_EQ(Halves->PauseQueries, queries);
    EXPECT_EQ(ShownHintWindow(), &Halves->OwnWindow);
    EXPECT_EQ(ShownHintWindow(), &Halves->OwnWindow);

    // The right half keeps the application's (long) pause: its hint does not show yet.
    MoveOver(Halves, QPoint(150, 10));
    EXPECT_EQ(Halves->PauseQueries, queries + 1);
    Settle();
    EXPECT_EQ(ShownHintWindow(), nullptr);
    EXPECT_FALSE(Halves->OwnWindow.Visible());

    MoveOver(Halves, QPoint(30, 10));
    ProcessUntil([] { return ShownHintWindow() != nullptr; });
    EXPECT_EQ(ShownHintWindow()->Caption(), QStringLiteral("左半"));
}

TEST_F(HintQueryTest, AControlThatRefusesShowsNoHint)
{
    Halves->Refuse = true;
    MoveOver(Halves, QPoint(20, 10));
    Settle();
    Settle();
    EXPECT_EQ(ShownHintWindow(), nullptr);
    EXPECT_FALSE(Halves->OwnWindow.Visible());
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
