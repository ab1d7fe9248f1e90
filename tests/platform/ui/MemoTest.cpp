// The memo: its lines as a string list over the text, a right-aligned read-only total, and
// change events for typing only.
#include "platform/ui/Forms.h"
#include "platform/ui/Memo.h"
#include "platform/ui/UiTestSupport.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

class MemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Memo = new TMemo(Form);
        Memo->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Memo->SetFocus();
        Memo->OnChange = [this](TObject*) { ++Changes; };
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    TMemo* Memo = nullptr;
    int Changes = 0;
};

TEST_F(MemoTest, LinesAndTextAreTwoViewsOfOneText)
{
    Memo->Lines()->Add(QStringLiteral("合计"));
    Memo->Lines()->Add(QStringLiteral("12.50"));
    EXPECT_EQ(Memo->Text(), QStringLiteral("合计\r\n12.50\r\n"));
    Memo->SetText(QStringLiteral("a\r\nb\nc"));
    EXPECT_EQ(Memo->Lines()->Count(), 3);
    EXPECT_EQ(Memo->Lines()->Strings(2), QStringLiteral("c"));
    Memo->Lines()->Delete(1);
    Memo->Lines()->SetStrings(0, QStringLiteral("x"));
    EXPECT_EQ(Memo->Text(), QStringLiteral("x\r\nc\r\n"));
    Memo->Lines()->Clear();
    EXPECT_EQ(Memo->Lines()->Count(), 0);
    EXPECT_EQ(Changes, 0);
}

TEST_F(MemoTest, TypingChangesTheTextAndFiresChange)
{
    TypeText(Memo->Handle(), QStringLiteral("ab"));
    SendKey(Memo->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    CommitText(Memo->Handle(), QStringLiteral("数量"));
    EXPECT_EQ(Memo->Text(), QStringLiteral("ab\r\n数量"));
    EXPECT_EQ(Changes, 5);
}

TEST_F(MemoTest, ReadOnlyRightAlignedTotalTakesNoTyping)
{
    Memo->SetReadOnly(true);
    Memo->SetAlignment(TAlignment::taRightJustify);
    Memo->SetText(QStringLiteral("1,234.00"));
    TypeText(Memo->Handle(), QStringLiteral("9"));
    EXPECT_EQ(Memo->Text(), QStringLiteral("1,234.00"));
    auto* edit = static_cast<QPlainTextEdit*>(Memo->Handle());
    EXPECT_EQ(edit->document()->defaultTextOption().alignment(), Qt::AlignRight);
    EXPECT_EQ(Changes, 0);
}

TEST_F(MemoTest, SettingsSurviveRecreatingTheWindow)
{
    Memo->SetText(QStringLiteral("保留"));
    Memo->SetAlignment(TAlignment::taCenter);
    Memo->SetBorderStyle(TBorderStyle::bsNone);
    auto* edit = static_cast<QPlainTextEdit*>(Memo->Handle());
    EXPECT_EQ(Memo->Text(), QStringLiteral("保留"));
    EXPECT_EQ(edit->document()->defaultTextOption().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(edit->frameShape(), QFrame::NoFrame);
}

}  // namespace
