// Labels: sized to their text, painted in their font colour on the parent, and their mnemonic
// focusing the control they label.
#include "platform/ui/Label.h"
#include "platform/ui/Button.h"
#include "platform/ui/Forms.h"
#include "UiTestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Tip = new TLabel(Form);
        Tip->SetBounds(20, 30, 10, 10);
        Tip->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
    }
    void TearDown() override { delete Form; }

    TSize Measured(const String& Text) const
    {
        TCanvas canvas;
        canvas.Font()->Assign(Tip->Font());
        return canvas.TextExtent(Text);
    }

    TForm* Form = nullptr;
    TLabel* Tip = nullptr;
};

TEST_F(LabelTest, AutoSizeFitsTheTextWithoutTheMnemonicMark)
{
    Tip->SetCaption(QStringLiteral("小提示？"));
    EXPECT_EQ(Tip->Width(), Measured(QStringLiteral("小提示？")).cx);
    EXPECT_EQ(Tip->Height(), Measured(QStringLiteral("小提示？")).cy);
    Tip->SetCaption(QStringLiteral("查找&r"));
    EXPECT_EQ(Tip->Width(), Measured(QStringLiteral("查找r")).cx);
    Tip->SetShowAccelChar(false);
    EXPECT_EQ(Tip->Width(), Measured(QStringLiteral("查找&r")).cx);
}

TEST_F(LabelTest, RightAlignedAutoSizeKeepsTheRightEdge)
{
    Tip->SetAutoSize(false);
    Tip->SetBounds(20, 30, 100, 20);
    Tip->SetAlignment(TAlignment::taRightJustify);
    Tip->SetCaption(QStringLiteral("表格颜色："));
    Tip->SetAutoSize(true);
    EXPECT_EQ(Tip->Left() + Tip->Width(), 120);
}

TEST_F(LabelTest, TextIsPaintedInTheFontColourOverTheParentColour)
{
    Tip->SetCaption(QStringLiteral("*"));
    Tip->Font()->SetColor(clRed);
    Tip->Font()->SetSize(20);
    const QImage image = Form->Handle()->grab().toImage();
    int red = 0;
    for (int y = Tip->Top(); y < Tip->Top() + Tip->Height(); ++y)
        for (int x = Tip->Left(); x < Tip->Left() + Tip->Width(); ++x)
            red += image.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
    EXPECT_GT(red, 0);
    EXPECT_EQ(image.pixel(Tip->Left(), Tip->Top()), image.pixel(5, 5)) << "background in the form's colour";
}

TEST_F(LabelTest, MouseDownAndClickArriveThroughTheParent)
{
    std::vector<std::string> events;
    Tip->SetCaption(QStringLiteral("小提示？"));
    Tip->OnMouseDown = [&events](TObject*, TMouseButton, TShiftState, int X, int Y) {
        events.push_back("down " + std::to_string(X) + "," + std::to_string(Y));
    };
    Tip->OnClick = [&events](TObject*) { events.push_back("click"); };
    ClickAt(Form->Handle(), QPoint(22, 33));
    EXPECT_EQ(events, (std::vector<std::string>{"down 2,3", "click"}));
}

TEST_F(LabelTest, MnemonicFocusesTheFocusControl)
{
    auto* target = new TButton(Form);
    target->SetBounds(100, 100, 75, 25);
    target->SetParent(Form);
    Tip->SetCaption(QStringLiteral("查找内容&n"));
    Tip->SetFocusControl(target);
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'N'), 1);
    EXPECT_TRUE(target->Focused());
    delete target;
    EXPECT_EQ(Tip->FocusControl(), nullptr);
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'N'), 0);
}

}  // namespace
