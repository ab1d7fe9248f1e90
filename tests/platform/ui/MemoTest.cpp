// The memo: its lines as a string list over the text, a right-aligned read-only total, and
// change events for typing only.
#include "platform/ui/Forms.h"
#include "platform/ui/Memo.h"
#include "platform/ui/UiTestSupport.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include <utility>

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


TEST_F(MemoTest, ALongMemoStillScrollsToItsLastLine)
{
    QStringList lines;
    for (int i = 1; i <= 40; ++i)
        lines << QString::number(i);
    Memo->SetText(lines.join(QStringLiteral("\r\n")));
    auto* edit = static_cast<QPlainTextEdit*>(Memo->Handle());
    SendKey(edit, Qt::Key_End, QString(), Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_GT(edit->verticalScrollBar()->value(), 0);
    EXPECT_EQ(edit->cursorForPosition(QPoint(2, edit->viewport()->height() - 4)).block().text(), QStringLiteral("40"));
}

// A totals box as the program makes it: one line high, read-only, right-aligned, no wrapping.
class TotalsMemoTest : public MemoTest {
protected:
    void SetUp() override
    {
        MemoTest::SetUp();
        Memo->SetBounds(44, 10, 60, 21);
        Memo->SetReadOnly(true);
        Memo->SetAlignment(TAlignment::taRightJustify);
        Memo->SetWordWrap(false);
        Memo->SetWantReturns(false);
        Memo->SetText(QStringLiteral("128"));
    }

    QPlainTextEdit* Edit() const { return static_cast<QPlainTextEdit*>(Memo->Handle()); }
    // Where the line's text sits in the edit's viewport.
    QRect LineRect() const
    {
        QTextCursor start(Edit()->document());
        return Edit()->cursorRect(start);
    }
    // Rows of the window's pixels that differ from the background: the digits' ink.
    std::pair<int, int> InkRows() const
    {
        QApplication::processEvents();
        const QImage image = Edit()->viewport()->grab().toImage();
        const QRgb background = image.pixel(1, 1);
        int first = -1;
        int last = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != background) {
                    if (first < 0)
                        first = y;
                    last = y;
                    break;
                }
        return {first, last};
    }
    void Press(int QtKey, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        SendKey(Memo->Handle(), QtKey, QString(), Modifiers);
    }
};

TEST_F(TotalsMemoTest, TheLineSitsAtTheTopAndKeysNeverScrollItAway)
{
    const QRect placed = LineRect();
    EXPECT_LE(placed.top(), 1) << "the line starts at the top of the client area";
    EXPECT_GE(InkRows().first, 0);
    ClickAt(Memo->Handle(), QPoint(30, 10));
    Press(Qt::Key_A, Qt::ControlModifier);
    Press(Qt::Key_End);
    EXPECT_EQ(LineRect(), placed);
    Press(Qt::Key_Down);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(LineRect(), placed);
    EXPECT_EQ(Edit()->verticalScrollBar()->value(), 0);
}

TEST_F(TotalsMemoTest, ANewTotalAfterTheUserMovedInTheBoxIsShown)
{
    // The clerk clicks the count, selects it, goes to its end, then resets the page.
    ClickAt(Memo->Handle(), QPoint(30, 10));
    Press(Qt::Key_A, Qt::ControlModifier);
    Press(Qt::Key_End);
    Memo->SetText(String());
    Memo->SetText(QStringLiteral("7"));
    EXPECT_LE(LineRect().top(), 1);
    const auto [first, last] = InkRows();
    EXPECT_GE(first, 0) << "the new number is drawn";
    EXPECT_LT(last, Edit()->viewport()->height());
}

TEST_F(TotalsMemoTest, ABoxLowerThanItsLineStillShowsTheLineFromItsTop)
{
    Memo->SetBounds(44, 10, 60, 12);
    const QRect placed = LineRect();
    ClickAt(Memo->Handle(), QPoint(30, 5));
    Press(Qt::Key_End);
    Press(Qt::Key_Down);
    EXPECT_EQ(LineRect(), placed);
    EXPECT_EQ(Edit()->verticalScrollBar()->value(), 0);
}

}  // namespace
