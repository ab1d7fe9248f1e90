// Buttons driven as a user drives them: mouse clicks, Space, Enter and Esc on the form, mnemonics,
// modal results, and the windowless speed buttons with their groups.
#include "platform/ui/Button.h"
#include "platform/ui/Forms.h"
#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Ok = MakeButton("Ok", QStringLiteral("确定"), 10);
        Reset = MakeButton("Reset", QStringLiteral("重写(&R)"), 100);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
    }

    void TearDown() override { delete Form; }

    TButton* MakeButton(const std::string& Name, const String& Caption, int Left)
    {
        auto* button = new TButton(Form);
        button->SetName(QString::fromStdString(Name));
        button->SetCaption(Caption);
        button->SetBounds(Left, 10, 75, 25);
        button->SetParent(Form);
        button->OnClick = [this, Name](TObject*) { Events.push_back(Name + " click"); };
        return button;
    }

    TForm* Form = nullptr;
    TButton* Ok = nullptr;
    TButton* Reset = nullptr;
    Log Events;
};

TEST_F(ButtonTest, MouseClickFocusesAndClicksOnce)
{
    Ok->OnEnter = [this](TObject*) { Events.push_back("Ok enter"); };
    ClickAt(Ok->Handle(), QPoint(10, 10));
    EXPECT_EQ(Events, (Log{"Ok enter", "Ok click"}));
    EXPECT_TRUE(Ok->Focused());
}

TEST_F(ButtonTest, ReleaseOutsideTheButtonDoesNotClick)
{
    SendMouse(Ok->Handle(), QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    SendMouse(Ok->Handle(), QEvent::MouseButtonRelease, QPoint(200, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(Events.empty());
}

TEST_F(ButtonTest, SpaceOnTheFocusedButtonClicksIt)
{
    Reset->SetFocus();
    SendKey(Reset->Handle(), Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(Events, (Log{"Reset click"}));
}

TEST_F(ButtonTest, EnterPressesTheDefaultButtonUnlessAnotherButtonHasTheFocus)
{
    Ok->SetDefault(true);
    auto* other = new TButtonControl(Form);
    other->SetParent(Form);
    other->SetFocus();
    SendKey(other->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Events, (Log{"Ok click"}));

    Reset->SetFocus();
    SendKey(Reset->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Events, (Log{"Ok click", "Reset click"}));
}

TEST_F(ButtonTest, EscapePressesTheCancelButton)
{
    Reset->SetCancel(true);
    Ok->SetFocus();
    SendKey(Ok->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_EQ(Events, (Log{"Reset click"}));
}

TEST_F(ButtonTest, ClickFiresAtOnceAndDisabledButtonsIgnoreTheMouse)
{
    Ok->Click();
    EXPECT_EQ(Events, (Log{"Ok click"}));
    Ok->SetEnabled(false);
    ClickAt(Ok->Handle(), QPoint(10, 10));
    EXPECT_EQ(Events, (Log{"Ok click"}));
}

TEST_F(ButtonTest, MnemonicOfTheCaptionPressesTheButton)
{
    EXPECT_TRUE(IsAccel('r', QStringLiteral("重写(&R)")));
    EXPECT_FALSE(IsAccel('R', QStringLiteral("A&&R")));
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'r'), 1);
    EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'x'), 0);
    EXPECT_EQ(Events, (Log{"Reset click"}));
}

TEST_F(ButtonTest, AltAndTheMnemonicLetterPressTheButtonFromAnotherControl)
{
    Ok->SetFocus();
    SendKey(Ok->Handle(), Qt::Key_R, QStringLiteral("r"), Qt::AltModifier);
    EXPECT_EQ(Events, (Log{"Reset click"}));
}

TEST_F(ButtonTest, CaptionChangesShowInTheWindow)
{
    Ok->SetCaption(QStringLiteral("查询"));
    EXPECT_EQ(static_cast<QAbstractButton*>(Ok->Handle())->text(), QStringLiteral("查询"));
}

TEST_F(ButtonTest, CancelModeEndsAPressWithoutAClick)
{
    SendMouse(Ok->Handle(), QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    ASSERT_TRUE(static_cast<QAbstractButton*>(Ok->Handle())->isDown());
    Ok->Perform(WM_CANCELMODE);
    EXPECT_FALSE(static_cast<QAbstractButton*>(Ok->Handle())->isDown());
    EXPECT_EQ(GetCaptureControl(), nullptr);
    SendMouse(Ok->Handle(), QEvent::MouseButtonRelease, QPoint(10, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(Events.empty());
}

TEST(ModalButtonTest, ButtonWithAModalResultEndsTheModalForm)
{
    TForm dialog(nullptr);
    dialog.SetBounds(0, 0, 200, 100);
    auto* ok = new TButton(&dialog);
    ok->SetParent(&dialog);
    ok->SetModalResult(mrOk);
    int clicks = 0;
    ok->OnClick = [&clicks](TObject*) { ++clicks; };
    QTimer::singleShot(0, [ok] { ClickAt(ok->Handle(), QPoint(5, 5)); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(clicks, 1);
}

TEST(BitBtnTest, GlyphBecomesTheIconWithItsBottomLeftColourTransparent)
{
    TForm form(nullptr);
    auto* button = new TBitBtn(&form);
    button->SetParent(&form);
    TBitmap glyph(4, 4);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(1, 1, 3, 3));
    button->SetGlyph(&glyph);
    const QImage icon = static_cast<QAbstractButton*>(button->Handle())->icon().pixmap(4, 4).toImage();
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(icon.pixel(1, 1), qRgb(255, 0, 0));
    button->SetLayout(TButtonLayout::blGlyphRight);
    EXPECT_EQ(button->Handle()->layoutDirection(), Qt::RightToLeft);
    EXPECT_FALSE(static_cast<QAbstractButton*>(button->Handle())->icon().isNull());
}

class SpeedButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 200, 100);
        for (int i = 0; i < 2; ++i) {
            Buttons[i] = new TSpeedButton(Form);
            Buttons[i]->SetBounds(10 + 30 * i, 10, 23, 22);
            Buttons[i]->SetParent(Form);
            Buttons[i]->OnClick = [this, i](TObject*) { Events.push_back("click " + std::to_string(i)); };
            Buttons[i]->OnMouseDown = [this, i](TObject*, TMouseButton, TShiftState, int X, int Y) {
                Events.push_back("down " + std::to_string(i) + " at " + std::to_string(X) + "," + std::to_string(Y));
            };
        }
        Form->Show();
    }
    void TearDown() override { delete Form; }

    void ClickButton(int Index) { ClickAt(Form->Handle(), QPoint(15 + 30 * Index, 15)); }

    TForm* Form = nullptr;
    TSpeedButton* Buttons[2] = {};
    Log Events;
};

TEST_F(SpeedButtonTest, ClicksOnReleaseInsideOnly)
{
    ClickButton(0);
    SendMouse(Form->Handle(), QEvent::MouseButtonPress, QPoint(45, 15), Qt::LeftButton, Qt::LeftButton);
    SendMouse(Form->Handle(), QEvent::MouseButtonRelease, QPoint(150, 80), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(Events, (Log{"down 0 at 5,5", "click 0", "down 1 at 5,5"}));
    EXPECT_FALSE(Buttons[0]->Down());
}

TEST_F(SpeedButtonTest, GroupKeepsOneButtonDown)
{
    Buttons[0]->SetGroupIndex(1);
    Buttons[1]->SetGroupIndex(1);
    ClickButton(0);
    EXPECT_TRUE(Buttons[0]->Down());
    ClickButton(0);
    EXPECT_TRUE(Buttons[0]->Down()) << "without AllowAllUp the down button stays down";
    ClickButton(1);
    EXPECT_FALSE(Buttons[0]->Down());
    EXPECT_TRUE(Buttons[1]->Down());

    Buttons[1]->SetAllowAllUp(true);
    EXPECT_TRUE(Buttons[0]->AllowAllUp()) << "the group shares AllowAllUp";
    ClickButton(1);
    EXPECT_FALSE(Buttons[1]->Down());
}

TEST_F(SpeedButtonTest, SettingDownInCodeReleasesTheGroupWithoutClicks)
{
    Buttons[0]->SetGroupIndex(2);
    Buttons[1]->SetGroupIndex(2);
    Buttons[0]->SetDown(true);
    Buttons[1]->SetDown(true);
    EXPECT_FALSE(Buttons[0]->Down());
    EXPECT_TRUE(Events.empty());
    auto* ungrouped = new TSpeedButton(Form);
    ungrouped->SetDown(true);
    EXPECT_FALSE(ungrouped->Down());
}

TEST_F(SpeedButtonTest, PaintsItsFaceAndSinksWhenDown)
{
    const QImage up = Form->Handle()->grab().toImage();
    EXPECT_EQ(up.pixel(10, 10), qRgb(255, 255, 255)) << "raised: highlight at the top left";
    Buttons[0]->SetGroupIndex(1);
    Buttons[0]->SetDown(true);
    const QImage down = Form->Handle()->grab().toImage();
    EXPECT_NE(down.pixel(10, 10), qRgb(255, 255, 255));
}

TEST_F(SpeedButtonTest, ShowsThePictureOfItsGlyphStripForTheState)
{
    // Two 4 x 4 pictures, red (up) and blue (disabled), their bottom-left corners transparent.
    TBitmap strip(8, 4);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(0, 0, 4, 4));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(4, 0, 8, 4));
    strip.Canvas()->SetPixels(0, 3, clWhite);
    strip.Canvas()->SetPixels(4, 3, clWhite);
    Buttons[0]->SetGlyph(&strip);
    Buttons[0]->SetNumGlyphs(0);
    EXPECT_EQ(Buttons[0]->NumGlyphs(), 1);
    Buttons[0]->SetNumGlyphs(9);
    EXPECT_EQ(Buttons[0]->NumGlyphs(), 4);
    Buttons[0]->SetNumGlyphs(2);
    // The 4 x 4 picture is centred in the 23 x 22 button at (10, 10).
    EXPECT_EQ(Form->Handle()->grab().toImage().pixel(20, 20), qRgb(255, 0, 0));
    Buttons[0]->SetEnabled(false);
    EXPECT_EQ(Form->Handle()->grab().toImage().pixel(20, 20), qRgb(0, 0, 255));
    // Only two pictures: a pressed button shows the first.
    Buttons[0]->SetEnabled(true);
    SendMouse(Form->Handle(), QEvent::MouseButtonPress, QPoint(15, 15), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(Form->Handle()->grab().toImage().pixel(21, 21), qRgb(255, 0, 0));
    SendMouse(Form->Handle(), QEvent::MouseButtonRelease, QPoint(15, 15), Qt::LeftButton, Qt::NoButton);
}

TEST_F(SpeedButtonTest, AFlatButtonRisesWhileTheMouseIsOverIt)
{
    Buttons[0]->SetFlat(true);
    EXPECT_FALSE(Buttons[0]->MouseInControl());
    EXPECT_EQ(Form->Handle()->grab().toImage().pixel(10, 10), qRgb(240, 240, 240));
    Buttons[0]->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(Buttons[0]->MouseInControl());
    EXPECT_EQ(Form->Handle()->grab().toImage().pixel(10, 10), qRgb(255, 255, 255));
    Buttons[0]->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(Buttons[0]->MouseInControl());
    EXPECT_EQ(Form->Handle()->grab().toImage().pixel(10, 10), qRgb(240, 240, 240));
}

}  // namespace
