// Forms as dialogs: Enter presses the default button, Esc the cancel one, a modal form returns the
// result its buttons set, and a form tells its window class and title-bar buttons.
#include "platform/ui/Forms.h"
#include "platform/ui/UiTestSupport.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A push button as the button unit makes one: pressing it sets the form's modal result.
class TTestButton : public TCustomControl, public IDialogButton {
public:
    TTestButton(TComponent* AOwner, std::string Name, std::vector<std::string>& Log)
        : TCustomControl(AOwner), FName(std::move(Name)), FLog(Log)
    {
        SetTabStop(true);
    }

    bool Default = false;
    bool Cancel = false;
    TModalResult ModalResult = mrNone;

    bool IsDefaultButton() const override { return Default; }
    bool IsCancelButton() const override { return Cancel; }
    void PressButton() override
    {
        FLog.push_back(FName);
        if (TCustomForm* form = GetParentForm(this); form != nullptr && ModalResult != mrNone)
            form->SetModalResult(ModalResult);
    }

protected:
    void KeyPress(Char& Key) override { FLog.push_back(FName + " char " + std::to_string(Key.unicode())); }

private:
    std::string FName;
    std::vector<std::string>& FLog;
};

// A focusable control that is no button: an edit for this purpose.
class TField : public TCustomControl {
public:
    TField(TComponent* AOwner, std::vector<std::string>& Log) : TCustomControl(AOwner), FLog(Log) { SetTabStop(true); }

protected:
    void KeyPress(Char& Key) override { FLog.push_back("field char " + std::to_string(Key.unicode())); }

private:
    std::vector<std::string>& FLog;
};

class DialogKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Field = Place(new TField(Form, Log), 10);
        Ok = Place(new TTestButton(Form, "ok", Log), 40);
        Ok->Default = true;
        Ok->ModalResult = mrOk;
        Cancel = Place(new TTestButton(Form, "cancel", Log), 70);
        Cancel->Cancel = true;
        Cancel->ModalResult = mrCancel;
    }
    void TearDown() override { delete Form; }

    template <class TControlClass>
    TControlClass* Place(TControlClass* Control, int Top)
    {
        Control->SetBounds(10, Top, 80, 24);
        Control->SetParent(Form);
        return Control;
    }

    void Press(int QtKey, const QString& Text) { SendKey(Form->ActiveControl()->Handle(), QtKey, Text); }

    TForm* Form = nullptr;
    TField* Field = nullptr;
    TTestButton* Ok = nullptr;
    TTestButton* Cancel = nullptr;
    std::vector<std::string> Log;
};

TEST_F(DialogKeysTest, EnterPressesTheDefaultButtonAndEscTheCancelButton)
{
    Form->Show();
    Field->SetFocus();
    Press(Qt::Key_Return, QStringLiteral("\r"));
    Press(Qt::Key_Escape, QStringLiteral("\x1b"));
    // The keys went to the buttons, not to the focused field.
    EXPECT_EQ(Log, (std::vector<std::string>{"ok", "cancel"}));
}

TEST_F(DialogKeysTest, EnterPressesTheFocusedButtonRatherThanTheDefault)
{
    Form->Show();
    Cancel->SetFocus();
    Press(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Log, (std::vector<std::string>{"cancel"}));
}

TEST_F(DialogKeysTest, WithoutADefaultButtonEnterReachesTheFocusedControl)
{
    Ok->Default = false;
    Form->Show();
    Field->SetFocus();
    Press(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Log, (std::vector<std::string>{"field char 13"}));
}

TEST_F(DialogKeysTest, AHiddenDefaultButtonIsNotPressed)
{
    Ok->SetVisible(false);
    Form->Show();
    Field->SetFocus();
    Press(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Log, (std::vector<std::string>{"field char 13"}));
}

TEST_F(DialogKeysTest, AModalFormReturnsTheResultOfTheButtonTheKeyPressed)
{
    QTimer::singleShot(0, [this] {
        Field->SetFocus();
        Press(Qt::Key_Escape, QStringLiteral("\x1b"));
    });
    EXPECT_EQ(Form->ShowModal(), mrCancel);
    QTimer::singleShot(0, [this] {
        Field->SetFocus();
        Press(Qt::Key_Return, QStringLiteral("\r"));
    });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_FALSE(Form->Visible());
}

TEST_F(DialogKeysTest, AFreedControlLeavesTheTabOrderAndDialogKeysStillWork)
{
    auto* second = Place(new TField(Form, Log), 100);
    Form->Show();
    delete Field;
    Field = nullptr;
    // The freed control is gone from the walk the dialog keys and Tab take.
    EXPECT_EQ(Ok->TabOrder(), 0);
    EXPECT_EQ(second->TabOrder(), 2);
    second->SetFocus();
    Press(Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_EQ(Log, (std::vector<std::string>{"cancel"}));
}

// The main window as the application declares it.
class TMF1 : public TForm {
public:
    using TForm::TForm;

protected:
    const char* ClassName() const override { return "TMF1"; }
};

TEST(FormPropertiesTest, TheWindowClassNameIsTheFormsClassName)
{
    TMF1 main(nullptr);
    EXPECT_EQ(main.WindowClassName(), QStringLiteral("TMF1"));
    TForm plain(nullptr);
    EXPECT_EQ(plain.WindowClassName(), QStringLiteral("TForm"));
}

TEST(FormPropertiesTest, BorderIconsChooseTheTitleBarButtons)
{
    TForm form(nullptr);
    form.SetBorderStyle(TFormBorderStyle::bsSingle);
    form.SetBorderIcons(biSystemMenu | biMinimize);
    const Qt::WindowFlags flags = form.Handle()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    form.SetBorderIcons(biMinimize | biMaximize);
    EXPECT_FALSE(form.Handle()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(form.Handle()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

// What the window manager does when the user drags a border or a tool resizes the window.
void ResizeFromOutside(TForm& Form, int Width, int Height)
{
    Form.Handle()->resize(Width, Height);
    QApplication::processEvents();
}

TEST(FormPropertiesTest, SingleAndDialogBordersKeepTheirSizeWhileCodeMaySetIt)
{
    for (const TFormBorderStyle style : {TFormBorderStyle::bsSingle, TFormBorderStyle::bsDialog}) {
        TForm form(nullptr);
        form.SetBorderStyle(style);
        form.SetBorderIcons(biSystemMenu | biMinimize);
        form.SetBounds(40, 40, 500, 400);
        form.Show();
        ResizeFromOutside(form, 400, 300);
        EXPECT_EQ(form.Width(), 500);
        EXPECT_EQ(form.Height(), 400);
        EXPECT_EQ(form.Handle()->size(), QSize(500, 400));
        EXPECT_EQ(form.Handle()->minimumSize(), form.Handle()->maximumSize()) << "the window manager offers no resizing";
        EXPECT_FALSE(form.Handle()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        form.SetBounds(40, 40, 520, 410);
        EXPECT_EQ(form.Handle()->size(), QSize(520, 410));
        ResizeFromOutside(form, 400, 300);
        EXPECT_EQ(form.Width(), 520);
    }
}

TEST(FormPropertiesTest, ASizeableBorderFollowsTheUsersResizing)
{
    TForm form(nullptr);
    form.SetBounds(40, 40, 500, 400);
    form.Show();
    ResizeFromOutside(form, 400, 300);
    EXPECT_EQ(form.Width(), 400);
    EXPECT_EQ(form.Height(), 300);
}

TEST(FormPropertiesTest, ClientSizeSetsTheSizeInsideTheWindow)
{
    TForm form(nullptr);
    form.SetClientWidth(416);
    form.SetClientHeight(203);
    form.HandleNeeded();
    EXPECT_EQ(form.ClientWidth(), 416);
    EXPECT_EQ(form.ClientHeight(), 203);
}

TEST(FormPropertiesTest, AShownWindowKeepsThePositionItWasGiven)
{
    TForm form(nullptr);
    form.SetBounds(100, 120, 300, 200);
    form.Show();
    QApplication::processEvents();
    EXPECT_EQ(form.Left(), 100);
    EXPECT_EQ(form.Top(), 120);
    form.SetLeft(form.Left());  // writing back what was read must not move the window
    QApplication::processEvents();
    EXPECT_EQ(form.Left(), 100);
}

}  // namespace
