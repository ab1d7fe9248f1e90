// The single-line edit driven by real key, input-method and clipboard actions: what reaches the
// text, which events fire in which order, and that code changing the text fires none.
#include "platform/ui/Clipboard.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiTestSupport.h"

#include <QLineEdit>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// An edit that may refuse changes and records the hooks it is asked through.
class TGuardedEdit : public TEdit {
public:
    using TEdit::TEdit;
    bool AllowChanges = true;
    int ModifyQueries = 0;

protected:
    bool EditCanModify() override
    {
        ++ModifyQueries;
        return AllowChanges;
    }
};

class EditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 120);
        Edit = new TGuardedEdit(Form);
        Edit->SetBounds(10, 10, 150, 21);
        Edit->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Edit->SetFocus();
        Edit->OnChange = [this](TObject*) { Events.push_back("change " + Edit->Text().toStdString()); };
        Edit->OnKeyDown = [this](TObject*, WORD& Key, TShiftState) { Events.push_back("down " + std::to_string(Key)); };
        Edit->OnKeyPress = [this](TObject*, Char& Key) { Events.push_back("press " + std::to_string(Key.unicode())); };
        Edit->OnKeyUp = [this](TObject*, WORD& Key, TShiftState) { Events.push_back("up " + std::to_string(Key)); };
    }

    void TearDown() override
    {
        delete Form;
        Clipboard()->SetStore(nullptr);
    }

    QWidget* Widget() const { return Edit->Handle(); }

    TForm* Form = nullptr;
    TGuardedEdit* Edit = nullptr;
    Log Events;
};

TEST_F(EditTest, TypedKeyFiresDownPressChangeUpInOrder)
{
    TypeText(Widget(), QStringLiteral("a"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("a"));
    EXPECT_EQ(Events, (Log{"down 65", "press 97", "change a", "up 65"}));
    EXPECT_TRUE(Edit->Modified());
}

TEST_F(EditTest, AKeyTheEditLeavesAloneDoesNotReachItsParentWindowToo)
{
    Log formKeys;
    Form->OnKeyDown = [&formKeys](TObject*, WORD& Key, TShiftState) { formKeys.push_back("down " + std::to_string(Key)); };
    SendKey(Widget(), Qt::Key_Home, QString(), Qt::ControlModifier);
    EXPECT_EQ(Events, (Log{"down 36", "up 36"}));
    EXPECT_TRUE(formKeys.empty());
}

TEST_F(EditTest, CodeChangesFireNoEventsAndClearModified)
{
    TypeText(Widget(), QStringLiteral("x"));
    Events.clear();
    Edit->SetText(QStringLiteral("价格"));
    Edit->SetSelStart(1);
    Edit->SetSelText(QStringLiteral("格外"));
    Edit->SelectAll();
    Edit->Clear();
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(Edit->ModifyQueries, 1);
}

TEST_F(EditTest, SetTextPutsTheCaretAtTheStart)
{
    Edit->SetText(QStringLiteral("12.50"));
    EXPECT_EQ(Edit->SelStart(), 0);
    EXPECT_EQ(Edit->SelLength(), 0);
    EXPECT_FALSE(Edit->Modified());
}

TEST_F(EditTest, KeyPressCanDropOrReplaceACharacter)
{
    Edit->OnKeyPress = [](TObject*, Char& Key) {
        if (Key == u'x')
            Key = Char();
        else if (Key == u',')
            Key = u'.';
    };
    TypeText(Widget(), QStringLiteral("1x,5"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("1.5"));
}

TEST_F(EditTest, EnterReachesKeyPressAsCarriageReturnAndTypesNothing)
{
    SendKey(Widget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(Events, (Log{"down 13", "press 13", "up 13"}));
    EXPECT_EQ(Edit->Text(), QString());
}

TEST_F(EditTest, InputMethodCommitTypesEachCharacterThroughKeyPress)
{
    CommitText(Widget(), QStringLiteral("单价"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("单价"));
    EXPECT_EQ(Events, (Log{"press 21333", "change 单", "press 20215", "change 单价"}));
}

TEST_F(EditTest, MaxLengthLimitsTypingAndPasteButNotCode)
{
    Edit->SetMaxLength(3);
    TypeText(Widget(), QStringLiteral("12345"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("123"));
    Edit->SetText(QStringLiteral("1"));
    Clipboard()->SetAsText(QStringLiteral("789"));
    Edit->SetSelStart(1);
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), QStringLiteral("178"));
    Edit->SetText(QStringLiteral("longer text"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("longer text"));
}

TEST_F(EditTest, BackspaceAndDeleteEditAroundTheCaret)
{
    TypeText(Widget(), QStringLiteral("abcd"));
    SendKey(Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    SendKey(Widget(), Qt::Key_Home);
    SendKey(Widget(), Qt::Key_Delete);
    EXPECT_EQ(Edit->Text(), QStringLiteral("bc"));
}

TEST_F(EditTest, ClipboardKeysCutCopyPasteAndUndo)
{
    TypeText(Widget(), QStringLiteral("abc"));
    Edit->SelectAll();
    SendKey(Widget(), Qt::Key_C, QStringLiteral("\x03"), Qt::ControlModifier);
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("abc"));
    SendKey(Widget(), Qt::Key_X, QStringLiteral("\x18"), Qt::ControlModifier);
    EXPECT_EQ(Edit->Text(), QString());
    SendKey(Widget(), Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    SendKey(Widget(), Qt::Key_Insert, QString(), Qt::ShiftModifier);
    EXPECT_EQ(Edit->Text(), QStringLiteral("abcabc"));
    EXPECT_TRUE(Edit->CanUndo());
    SendKey(Widget(), Qt::Key_Z, QStringLiteral("\x1a"), Qt::ControlModifier);
    EXPECT_EQ(Edit->Text(), QStringLiteral("abc"));
}

TEST_F(EditTest, PastingTakesTheFirstLineOnly)
{
    Clipboard()->SetAsText(QStringLiteral("第一行\r\n第二行"));
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), QStringLiteral("第一行"));
    EXPECT_EQ(Events, (Log{"change 第一行"}));
}

TEST_F(EditTest, RefusedModificationBlocksEveryUserPath)
{
    Edit->SetText(QStringLiteral("abc"));
    Edit->AllowChanges = false;
    Clipboard()->SetAsText(QStringLiteral("zz"));
    TypeText(Widget(), QStringLiteral("d"));
    CommitText(Widget(), QStringLiteral("中"));
    SendKey(Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    SendKey(Widget(), Qt::Key_Delete);
    Edit->SelectAll();
    Edit->PasteFromClipboard();
    Edit->CutToClipboard();
    Edit->ClearSelection();
    EXPECT_EQ(Edit->Text(), QStringLiteral("abc"));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("zz"));
    EXPECT_EQ(Edit->ModifyQueries, 7);
    EXPECT_TRUE(std::none_of(Events.begin(), Events.end(), [](const std::string& E) { return E.rfind("change", 0) == 0; }));
}

TEST_F(EditTest, ReadOnlyRefusesEditsWithoutAskingTheHook)
{
    Edit->SetText(QStringLiteral("固定"));
    Edit->SetReadOnly(true);
    TypeText(Widget(), QStringLiteral("a"));
    Clipboard()->SetAsText(QStringLiteral("zz"));
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), QStringLiteral("固定"));
    EXPECT_EQ(Edit->ModifyQueries, 0);
    // The window's own state, as a data-aware descendant sets it, gives way when the hook allows.
    Edit->SetReadOnly(false);
    Edit->Perform(EM_SETREADONLY, 1);
    TypeText(Widget(), QStringLiteral("a"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("固定"));
}

TEST_F(EditTest, CharCaseConvertsTypedAndPastedText)
{
    Edit->SetCharCase(TEditCharCase::ecUpperCase);
    TypeText(Widget(), QStringLiteral("ab"));
    Clipboard()->SetAsText(QStringLiteral("cd"));
    Edit->PasteFromClipboard();
    EXPECT_EQ(Edit->Text(), QStringLiteral("ABCD"));
}

TEST_F(EditTest, SelectionPropertiesFollowThePlatform)
{
    Edit->SetText(QStringLiteral("办公用品"));
    Edit->SetSelStart(1);
    Edit->SetSelLength(2);
    EXPECT_EQ(Edit->SelStart(), 1);
    EXPECT_EQ(Edit->SelLength(), 2);
    EXPECT_EQ(Edit->SelText(), QStringLiteral("公用"));
    Edit->Perform(EM_SETSEL, 0x7FFFFFFF, -1);
    EXPECT_EQ(Edit->SelStart(), 4);
    EXPECT_EQ(Edit->SelLength(), 0);
    Edit->SelectAll();
    EXPECT_EQ(Edit->SelLength(), 4);
}

TEST_F(EditTest, AutoSelectSelectsAllOnEntry)
{
    auto* other = new TEdit(Form);
    other->SetBounds(10, 50, 100, 21);
    other->SetParent(Form);
    other->SetText(QStringLiteral("全部"));
    other->SetFocus();
    EXPECT_EQ(other->SelLength(), 2);
    other->SetAutoSelect(false);
    Edit->SetFocus();
    other->SetFocus();
    EXPECT_EQ(other->SelLength(), 0);
}

TEST_F(EditTest, MarginsAndFormattingRectangleNarrowTheText)
{
    auto* line = static_cast<QLineEdit*>(Widget());
    Edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(3, 4));
    EXPECT_EQ(Edit->Perform(EM_GETMARGINS), MAKELPARAM(3, 4));
    TRect format = Rect(2, 2, Edit->ClientWidth() - 10, Edit->ClientHeight());
    Edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(line->textMargins(), QMargins(5, 2, 14, 0));
    TRect read;
    Edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&read));
    EXPECT_EQ(read, Rect(5, 2, Edit->ClientWidth() - 14, Edit->ClientHeight()));
}

TEST_F(EditTest, CharFromPosFindsTheCharacterAtTheCaret)
{
    Edit->SetText(QStringLiteral("abcdef"));
    Edit->SetSelStart(4);
    const TPoint caret = Edit->CaretPos();
    EXPECT_EQ(Edit->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(caret.X, caret.Y)), 4);
}

TEST_F(EditTest, TextSurvivesRecreatingTheWindow)
{
    TypeText(Widget(), QStringLiteral("ab"));
    Edit->SetPasswordChar(u'*');
    EXPECT_EQ(Edit->Text(), QStringLiteral("ab"));
    EXPECT_EQ(static_cast<QLineEdit*>(Edit->Handle())->echoMode(), QLineEdit::Password);
    // A password is never copied out.
    Edit->SelectAll();
    Edit->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), QString());
}

// The dark pixels the focused, empty edit paints inside its frame: the caret alone.
int CaretPixels(QWidget* Widget)
{
    const QImage image = Widget->grab().toImage();
    int dark = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
}

TEST_F(EditTest, AHiddenCaretIsNotDrawnAndComesBack)
{
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);  // a caret that never blinks off
    EXPECT_GT(CaretPixels(Widget()), 0);
    Edit->SetCaretHidden(true);
    EXPECT_EQ(CaretPixels(Widget()), 0);
    Edit->SetCaretHidden(false);
    EXPECT_GT(CaretPixels(Widget()), 0);
    QApplication::setCursorFlashTime(flashTime);
}

}  // namespace
