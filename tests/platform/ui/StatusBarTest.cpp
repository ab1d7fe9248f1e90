// The status bar lays out its panels by width, the last taking the rest, and paints their texts.
#include "platform/ui/StatusBar.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 500, 200);
        Bar = new TStatusBar(Form);
        Bar->SetParent(Form);
        for (const int width : {100, 123, 175, 50})
            Bar->Panels()->Add()->SetWidth(width);
        Bar->Panels()->Items(0)->SetAlignment(TAlignment::taRightJustify);
        Bar->Panels()->Items(0)->SetText(QStringLiteral("表格颜色："));
        Form->Show();
    }
    void TearDown() override { delete Form; }

    // Columns of a row in which some pixel is darker than the bar's face.
    std::vector<int> InkColumns(const QImage& Image, const TRect& Cell) const
    {
        std::vector<int> columns;
        for (int x = Cell.Left + 3; x < Cell.Right - 3; ++x)
            for (int y = Cell.Top + 3; y < Cell.Bottom - 3; ++y)
                if (qGray(Image.pixel(x, Bar->Top() + y)) < 100) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    }

    TForm* Form = nullptr;
    TStatusBar* Bar = nullptr;
};

TEST_F(StatusBarTest, SitsAtTheBottomAndTheLastPanelTakesTheRest)
{
    EXPECT_EQ(Bar->Top() + Bar->Height(), Form->ClientHeight());
    EXPECT_EQ(Bar->Width(), Form->ClientWidth());
    EXPECT_EQ(Bar->PanelRect(1), Rect(100, 0, 223, Bar->Height()));
    EXPECT_EQ(Bar->PanelRect(3), Rect(398, 0, Bar->Width(), Bar->Height()));
}

TEST_F(StatusBarTest, RightAlignedTextEndsAtThePanelsRightEdge)
{
    const QImage image = Form->Handle()->grab().toImage();
    const std::vector<int> ink = InkColumns(image, Bar->PanelRect(0));
    ASSERT_FALSE(ink.empty());
    EXPECT_GT(ink.front(), 20);
    EXPECT_GE(ink.back(), 75) << "left-aligned it would end near 65";
    EXPECT_TRUE(InkColumns(image, Bar->PanelRect(1)).empty());
}

TEST_F(StatusBarTest, OwnerDrawnPanelsAndTheSimplePanel)
{
    std::vector<TRect> drawn;
    Bar->Panels()->Items(3)->SetStyle(TStatusPanelStyle::psOwnerDraw);
    Bar->OnDrawPanel = [&drawn](TStatusBar*, TStatusPanel*, const TRect& R) { drawn.push_back(R); };
    Form->Handle()->grab();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn.front().Left, 399);

    Bar->SetSimpleText(QStringLiteral("正在导出"));
    Bar->SetSimplePanel(true);
    drawn.clear();
    const QImage image = Form->Handle()->grab().toImage();
    EXPECT_TRUE(drawn.empty());
    EXPECT_FALSE(InkColumns(image, Rect(0, 0, 100, Bar->Height())).empty());
}

}  // namespace
