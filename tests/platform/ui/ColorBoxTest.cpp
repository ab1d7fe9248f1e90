// Colour boxes: filled as the main window fills its grid-line colour boxes, chosen by the user
// with the keys (the custom entry asking for a colour through the replaceable dialog), and
// selected in code without OnChange.
#include "platform/ui/ColorBox.h"
#include "platform/ui/Forms.h"
#include "UiTestSupport.h"

#include <QComboBox>
#include <QIcon>
#include <gtest/gtest.h>

#include <vector>

namespace {

class ColorBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 100);
        Box = new TColorBox(Form);
        Box->SetParent(Form);
        Box->SetStyle(cbCustomColor);
        Box->Items()->SetStrings(0, QStringLiteral("自定义..."));
        Box->Items()->AddObject(QStringLiteral("默认"), ColorToObject(12632256));
        Box->Items()->AddObject(QStringLiteral("黑色"), ColorToObject(0));
        Box->Items()->AddObject(QStringLiteral("栗色"), ColorToObject(128));
        Box->SetSelected(1);
        Box->OnChange = [this](TObject*) { Changes.push_back(Box->Selected()); };
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Box->SetFocus();
        TColorBox::CustomColorDialog = [this](TColor& Color) {
            Asked.push_back(Color);
            if (Answer < 0)
                return false;
            Color = Answer;
            return true;
        };
    }
    void TearDown() override
    {
        TColorBox::CustomColorDialog = nullptr;
        delete Form;
    }
    QComboBox* Combo() const { return static_cast<QComboBox*>(Box->Handle()); }

    TForm* Form = nullptr;
    TColorBox* Box = nullptr;
    TColor Answer = -1;
    std::vector<TColor> Changes;
    std::vector<TColor> Asked;
};

TEST_F(ColorBoxTest, AColourNoEntryHasGoesToTheRenamedCustomEntry)
{
    EXPECT_EQ(Box->Items()->Count(), 4);
    EXPECT_EQ(Box->ItemIndex(), 0);
    EXPECT_EQ(Box->Selected(), 1);
    EXPECT_EQ(Combo()->itemText(0), QStringLiteral("自定义..."));
    EXPECT_EQ(Combo()->currentIndex(), 0);
    Box->SetSelected(128);
    EXPECT_EQ(Box->ItemIndex(), 3);
    EXPECT_TRUE(Changes.empty());
}

TEST_F(ColorBoxTest, ChoosingAnEntryWithTheKeysReportsTheColour)
{
    SendKey(Box->Handle(), Qt::Key_Down);
    SendKey(Box->Handle(), Qt::Key_Down);
    EXPECT_EQ(Changes, (std::vector<TColor>{12632256, 0}));
    EXPECT_EQ(Box->ItemIndex(), 2);
    EXPECT_TRUE(Asked.empty());
}

TEST_F(ColorBoxTest, ChoosingTheCustomEntryAsksForAColour)
{
    Box->SetItemIndex(2);
    Answer = RGB(0x12, 0x34, 0x56);
    SendKey(Box->Handle(), Qt::Key_Up);
    SendKey(Box->Handle(), Qt::Key_Up);
    EXPECT_EQ(Asked, (std::vector<TColor>{1}));
    EXPECT_EQ(Box->Selected(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(Changes, (std::vector<TColor>{12632256, RGB(0x12, 0x34, 0x56)}));
}

TEST_F(ColorBoxTest, ACancelledCustomColourKeepsTheOldOne)
{
    Box->SetItemIndex(1);
    SendKey(Box->Handle(), Qt::Key_Up);
    EXPECT_EQ(Asked.size(), 1u);
    EXPECT_EQ(Box->ItemIndex(), 0);
    EXPECT_EQ(Box->Selected(), 1);
    EXPECT_EQ(Changes, (std::vector<TColor>{1}));
}

TEST_F(ColorBoxTest, EntriesShowSwatchesOfTheirColours)
{
    const QImage swatch = Combo()->itemIcon(3).pixmap(Combo()->iconSize()).toImage();
    EXPECT_EQ(swatch.pixel(swatch.width() / 2, swatch.height() / 2), qRgb(0x80, 0, 0));
}

TEST(ColorBoxStyleTest, StylesFillTheListWithNamedColours)
{
    TColorBox box(nullptr);
    box.SetStyle(cbStandardColors | cbPrettyNames);
    EXPECT_EQ(box.Items()->Count(), 16);
    EXPECT_EQ(box.Items()->Strings(4), QStringLiteral("Navy"));
    box.SetStyle(cbExtendedColors | cbIncludeNone);
    EXPECT_EQ(box.Items()->Strings(0), QStringLiteral("clMoneyGreen"));
    EXPECT_EQ(box.Colors(4), clNone);
    box.SetSelected(clSkyBlue);
    EXPECT_EQ(box.ItemIndex(), 1);
    box.SetSelected(clRed);
    EXPECT_EQ(box.ItemIndex(), 1) << "without a custom entry an unknown colour changes nothing";
}

}  // namespace
