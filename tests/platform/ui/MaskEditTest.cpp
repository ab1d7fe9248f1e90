// The masked edit typed into as a user types: positions filled and blanked in place, literals
// skipped, validation with the caret on the gap, reset by Esc, and the may-modify hook guarding
// every change.
#include "platform/core/FormatSettings.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MaskEdit.h"
#include "platform/ui/UiTestSupport.h"

#include <string>
#include <vector>

namespace {

// Stands for a descendant (a cell editor, a data-aware edit) that may refuse changes.
class TGuardedMaskEdit : public TMaskEdit {
public:
    using TMaskEdit::TMaskEdit;
    bool AllowChanges = true;
    int ModifyQueries = 0;
    int Changes = 0;

protected:
    bool EditCanModify() override
    {
        ++ModifyQueries;
        return AllowChanges;
    }
    void Change() override
    {
        ++Changes;
        TMaskEdit::Change();
    }
};

class MaskEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 120);
        Other = new TEdit(Form);
        Other->SetBounds(10, 50, 100, 21);
        Other->SetParent(Form);
        Edit = new TGuardedMaskEdit(Form);
        Edit->SetBounds(10, 10, 150, 21);
        Edit->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
    }

    void TearDown() override
    {
        delete Form;
        Clipboard()->SetStore(nullptr);
    }

    // Sets the mask and enters the control, as the user tabbing into it.
    void Enter(const QString& Mask)
    {
        Edit->SetEditMask(Mask);
        Edit->SetFocus();
    }

    QWidget* Widget() const { return Edit->Handle(); }
    QString Separator() const { return QString(FormatSettings().DateSeparator); }
    QString Date(const char* Digits) const { return QString::fromLatin1(Digits).replace(u'/', Separator()); }

    TForm* Form = nullptr;
    TEdit* Other = nullptr;
    TGuardedMaskEdit* Edit = nullptr;
};

TEST_F(MaskEditTest, TypedDigitsFillTheDateSkippingSeparators)
{
    Enter(QStringLiteral("!9999/99/99;1;_"));
    EXPECT_EQ(Edit->EditText(), Date("____/__/__"));
    TypeText(Widget(), QStringLiteral("20240115"));
    EXPECT_EQ(Edit->EditText(), Date("2024/01/15"));
    EXPECT_EQ(Edit->Text(), Date("2024/01/15"));
    EXPECT_EQ(Edit->Changes, 8);
    EXPECT_EQ(Edit->SelStart(), 10);
    EXPECT_TRUE(Edit->Modified());
}

TEST_F(MaskEditTest, CaretShowsAsTheSelectedCharacterItStandsOn)
{
    Enter(QStringLiteral("9999/99/99;1;_"));
    TypeText(Widget(), QStringLiteral("2024"));
    EXPECT_EQ(Edit->SelStart(), 5);
    EXPECT_EQ(Edit->SelLength(), 1);
}

TEST_F(MaskEditTest, TypingTheSeparatorWhereItStandsMovesPastIt)
{
    Enter(QStringLiteral("9999/99/99;1;_"));
    TypeText(Widget(), QStringLiteral("2024") + Separator() + QStringLiteral("3"));
    EXPECT_EQ(Edit->EditText(), Date("2024/3_/__"));
}

TEST_F(MaskEditTest, RefusedCharacterChangesNothing)
{
    Enter(QStringLiteral("9999/99/99;1;_"));
    TypeText(Widget(), QStringLiteral("a"));
    EXPECT_EQ(Edit->EditText(), Date("____/__/__"));
    EXPECT_EQ(Edit->Changes, 0);
    EXPECT_FALSE(Edit->Modified());
}

TEST_F(MaskEditTest, BackspaceBlanksThePriorPositionWithoutShifting)
{
    Enter(QStringLiteral("9999/99/99;1;_"));
    TypeText(Widget(), QStringLiteral("20240115"));
    SendKey(Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(Edit->EditText(), Date("2024/01/1_"));
    SendKey(Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    SendKey(Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(Edit->EditText(), Date("2024/0_/__"));
    EXPECT_EQ(Edit->SelStart(), 6);
}

TEST_F(MaskEditTest, DeleteBlanksThePositionUnderTheCaret)
{
    Enter(QStringLiteral("9999/99/99;1;_"));
    TypeText(Widget(), QStringLiteral("20240115"));
    SendKey(Widget(), Qt::Key_Home);
    SendKey(Widget(), Qt::Key_Right);
    SendKey(Widget(), Qt::Key_Right);
    SendKey(Widget(), Qt::Key_Delete);
    EXPECT_EQ(Edit->EditText(), Date("20_4/01/15"));
    EXPECT_EQ(Edit->SelStart(), 2);
    TypeText(Widget(), QStringLiteral("9"));
    EXPECT_EQ(Edit->EditText(), Date("2094/01/15"));
}

TEST_F(MaskEditTest, ValidateEditRaisesAndPutsTheCaretOnTheGap)
{
    Enter(QStringLiteral("!0000/00/00;1;_"));
    // Nothing typed yet: nothing to validate.
    EXPECT_NO_THROW(Edit->ValidateEdit());
    TypeText(Widget(), QStringLiteral("2024"));
    try {
        Edit->ValidateEdit();
        FAIL() << "an incomplete date passed";
    } catch (const EDBEditError& E) {
        EXPECT_EQ(E.Message(), QString::fromUtf8(SMaskEditErr));
    }
    EXPECT_EQ(Edit->SelStart(), 5);
    EXPECT_TRUE(Edit->Focused());
    TypeText(Widget(), QStringLiteral("0115"));
    EXPECT_NO_THROW(Edit->ValidateEdit());
}

TEST_F(MaskEditTest, TextFollowsSaveLiterals)
{
    Edit->SetEditMask(QStringLiteral("000-000;0;_"));
    Edit->SetText(QStringLiteral("123456"));
    EXPECT_EQ(Edit->EditText(), QStringLiteral("123-456"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("123456"));
    Edit->SetEditMask(QStringLiteral("000-000;1;_"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("123-456"));
    Edit->SetEditMask(QString());
    EXPECT_FALSE(Edit->IsMasked());
    EXPECT_EQ(Edit->Text(), QStringLiteral("123-456"));
    EXPECT_EQ(Edit->Changes, 0);
}

TEST_F(MaskEditTest, CaseDirectivesConvertTypedLetters)
{
    Enter(QStringLiteral(">LL<ll;1;_"));
    TypeText(Widget(), QStringLiteral("abCD"));
    EXPECT_EQ(Edit->EditText(), QStringLiteral("ABcd"));
}

TEST_F(MaskEditTest, RefusedModificationBlocksTypingPasteCommitAndDeleting)
{
    Enter(QStringLiteral("9999/99/99;1;_"));
    TypeText(Widget(), QStringLiteral("2024"));
    Edit->AllowChanges = false;
    Edit->ModifyQueries = 0;
    Clipboard()->SetAsText(QStringLiteral("01"));
    TypeText(Widget(), QStringLiteral("1"));
    CommitText(Widget(), QStringLiteral("2"));
    Edit->PasteFromClipboard();
    SendKey(Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    Edit->SelectAll();
    Edit->CutToClipboard();
    EXPECT_EQ(Edit->EditText(), Date("2024/__/__"));
    EXPECT_EQ(Edit->ModifyQueries, 5);
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("01"));
}

TEST_F(MaskEditTest, PasteFillsPositionsFromTheCaret)
{
    Enter(QStringLiteral("9999/99/99;1;_"));
    Clipboard()->SetAsText(Date("2024/01/15"));
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->EditText(), Date("2024/01/15"));
    EXPECT_EQ(Edit->Changes, 1);
}

TEST_F(MaskEditTest, CutBlanksTheSelectionAndCopiesIt)
{
    Enter(QStringLiteral("9999/99/99;1;_"));
    TypeText(Widget(), QStringLiteral("20240115"));
    Edit->SetSelStart(5);
    Edit->SetSelLength(5);
    Edit->CutToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), Date("01/15"));
    EXPECT_EQ(Edit->EditText(), Date("2024/__/__"));
}

TEST_F(MaskEditTest, EscapeRestoresTheTextTheControlWasEnteredWith)
{
    Edit->SetEditMask(QStringLiteral("9999/99/99;1;_"));
    Edit->SetText(Date("2023/12/31"));
    Edit->SetFocus();
    Edit->SetSelStart(0);
    TypeText(Widget(), QStringLiteral("1999"));
    EXPECT_EQ(Edit->EditText(), Date("1999/12/31"));
    SendKey(Widget(), Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_EQ(Edit->EditText(), Date("2023/12/31"));
    EXPECT_FALSE(Edit->Modified());
}

TEST_F(MaskEditTest, ZeroedKeysNeverReachTheMask)
{
    Enter(QStringLiteral("9999/99/99;1;_"));
    TypeText(Widget(), QStringLiteral("12"));
    Edit->OnKeyDown = [](TObject*, WORD& Key, TShiftState) {
        if (Key == VK_BACK)
            Key = 0;
    };
    Edit->OnKeyPress = [](TObject*, Char& Key) {
        if (Key == u'5')
            Key = Char();
    };
    SendKey(Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    TypeText(Widget(), QStringLiteral("5"));
    EXPECT_EQ(Edit->EditText(), Date("12__/__/__"));
}

TEST_F(MaskEditTest, LeavingWithAnIncompleteRequiredTextIsRefused)
{
    TScriptedDialogs dialogs;
    Enter(QStringLiteral("00:00;1;_"));
    TypeText(Widget(), QStringLiteral("1"));
    Other->SetFocus();
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_TRUE(dialogs.Shown().front().Text.startsWith(QString::fromUtf8(SMaskEditErr)));
    EXPECT_TRUE(Edit->Focused());
    EXPECT_EQ(Edit->SelStart(), 1);
}

}  // namespace
