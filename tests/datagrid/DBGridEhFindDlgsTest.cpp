// The find dialog as a user drives it: Ctrl+F on the grid, the text typed, the options clicked,
// find next and previous, all columns, the not-found message, and the grid's dataset or columns
// changing under the dialog that stays open.
#include "DBGridEhCoreSupport.h"

#include "datagrid/DBGridEhFindDlgs.h"
#include "datagrid/DBGridEhUnit.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/UiTestSupport.h"

#include <QImage>
#include <QPixmap>
#include <QTimer>

namespace {

class DBGridEhFindDlgTest : public DBGridEhCoreFixture {
protected:
    void SetUp() override
    {
        DBGridEhCoreFixture::SetUp();
        Grid->SetDataSource(Source.get());
        for (const auto& [recNo, name] : {std::pair{5, u"Abc"_s}, std::pair{40, u"xabcx"_s}}) {
            Data->SetRecNo(recNo);
            Data->Edit();
            Data->FieldByName(u"名称"_s)->SetAsString(name);
            Data->Post();
        }
        Data->First();
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->SetFocus();
    }
    void TearDown() override
    {
        ReleaseKeyboardModifiers();
        DBGridEhCoreFixture::TearDown();
    }

    // The modeless dialog opened on the grid with Text, the text then focused.
    TDBGridEhFindDlg* OpenModeless(const String& Text = String())
    {
        ExecuteDBGridEhFindDlg(Grid, Text, false);
        TDBGridEhFindDlg* dialog = DBGridEhFindDlg();
        QApplication::setActiveWindow(dialog->Handle());
        dialog->cbText->SetFocus();
        return dialog;
    }
    static void Click(TControl* Control, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        auto* widget = static_cast<TWinControl*>(Control)->Handle();
        const QPoint at(8, Control->Height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Modifiers);
        QApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Modifiers);
        QApplication::sendEvent(widget, &release);
    }
    static void Retype(TDBGridEhFindDlg* Dialog, const String& Text)
    {
        Dialog->cbText->SetFocus();
        Dialog->cbText->SelectAll();
        TypeText(Dialog->cbText->Handle(), Text);
    }
    String FocusedFieldName() const { return Grid->FocusedColumn()->FieldName(); }

    TDBGridEhUnitUse Unit;
    TScriptedDialogs Boxes;
};

TEST_F(DBGridEhFindDlgTest, CtrlFOpensTheModalDialogWhereEnterFindsAndEscapeCloses)
{
    Grid->FocusDataColumn(1);
    TDBGridEhFindDlg* shown = nullptr;
    QTimer::singleShot(0, [&] {
        shown = DBGridEhFindDlg();
        TWinControl* text = shown->ActiveControl();
        ASSERT_EQ(text, shown->cbText);
        TypeText(text->Handle(), u"物品7"_s);
        SendKey(text->Handle(), Qt::Key_Return, u"\r"_s);
        SendKey(text->Handle(), Qt::Key_Escape, u"\x1b"_s);
        if (shown->ModalResult() == mrNone)
            shown->SetModalResult(mrAbort);  // the key failed: end the loop all the same
    });
    SendKey(Grid->Handle(), Qt::Key_F, u"\x06"_s, Qt::ControlModifier);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Caption(), u"查找字符"_s);
    EXPECT_FALSE(shown->Visible());
    EXPECT_EQ(shown->ModalResult(), mrCancel);
    EXPECT_EQ(Data->RecNo(), 7);
    EXPECT_EQ(shown->cbText->Items()->IndexOf(u"物品7"_s), 0);  // the history keeps it
}

TEST_F(DBGridEhFindDlgTest, FindsOnAndOnThenSaysWhenNothingIsLeft)
{
    Grid->FocusDataColumn(1);
    TDBGridEhFindDlg* dialog = OpenModeless(u"abc"_s);
    const struct {
        bool CaseSensitive;
        Qt::KeyboardModifiers Modifiers;
        int RecNo;  // where the grid stands after the click
        size_t Messages;
    } clicks[] = {
        {false, Qt::NoModifier, 5, 0},       // 全部 from the first record: Abc
        {false, Qt::NoModifier, 40, 0},      // then on down
        {false, Qt::NoModifier, 40, 1},      // nothing further: the message, the record kept
        {false, Qt::ControlModifier, 5, 1},  // Control reverses the direction
        {true, Qt::NoModifier, 40, 1},       // letter case compared: Abc is passed over
    };
    for (const auto& c : clicks) {
        if (dialog->cbCharCase->Checked() != c.CaseSensitive)
            Click(dialog->cbCharCase);
        Click(dialog->bFind, c.Modifiers);
        ReleaseKeyboardModifiers();
        EXPECT_EQ(Data->RecNo(), c.RecNo);
        EXPECT_EQ(Boxes.Shown().size(), c.Messages);
    }
    EXPECT_EQ(Boxes.Shown().back().Text, u"没有找到“abc”。"_s);
    // The captions say what checking does.
    EXPECT_EQ(dialog->cbCharCase->Caption(), u"区分大小写&C"_s);
    EXPECT_EQ(dialog->cbUseFormat->Caption(), u"使用显示格式&o"_s);
    EXPECT_EQ(FocusedFieldName(), u"名称"_s);
}

TEST_F(DBGridEhFindDlgTest, AllColumnsGoOnAtTheNextRecordsFirstColumn)
{
    Grid->FocusDataColumn(2);
    TDBGridEhFindDlg* dialog = OpenModeless(u"3.5"_s);
    dialog->cbFindIn->SetItemIndex(dialog->cbFindIn->Items()->IndexOf(u"<All>"_s));
    dialog->cbMatchinType->SetItemIndex(1);
    dialog->cbFindDirection->SetItemIndex(1);
    Click(dialog->bFind);
    EXPECT_EQ(Data->RecNo(), 7);
    EXPECT_EQ(FocusedFieldName(), u"金额"_s);
    Retype(dialog, u"15"_s);
    SendKey(dialog->cbText->Handle(), Qt::Key_Return, u"\r"_s);
    EXPECT_EQ(Data->RecNo(), 15);
    EXPECT_EQ(FocusedFieldName(), u"id"_s);
    SendKey(dialog->cbText->Handle(), Qt::Key_Escape, u"\x1b"_s);
    EXPECT_FALSE(dialog->Visible());
}

TEST_F(DBGridEhFindDlgTest, TheOpenDialogOutlivesItsDatasetColumnsAndGrid)
{
    Grid->FocusDataColumn(1);
    Data->SetRecNo(3);
    TDBGridEhFindDlg* dialog = OpenModeless(String());
    Click(dialog->bFind);  // nothing to look for: nothing moves, nothing is said
    EXPECT_EQ(Data->RecNo(), 3);
    EXPECT_TRUE(Boxes.Shown().empty());
    Retype(dialog, u"物品9"_s);
    Data->Close();
    Click(dialog->bFind);
    Data->Open();  // the grid makes its columns again
    Click(dialog->bFind);
    EXPECT_EQ(Data->RecNo(), 9);
    EXPECT_EQ(FocusedFieldName(), u"名称"_s);
    delete Grid;
    Grid = nullptr;
    EXPECT_EQ(dialog->Grid(), nullptr);
    Click(dialog->bFind);
    EXPECT_TRUE(Boxes.Shown().empty());
}

}  // namespace

// The combo boxes take their height from the dialog's font: none overlaps the row below, and each
// label stays beside its box.
TEST_F(DBGridEhFindDlgTest, NoTwoRowsOverlapWhateverHeightTheFontGivesTheBoxes)
{
    TDBGridEhFindDlg* dialog = OpenModeless();
    const std::vector<std::pair<TControl*, TControl*>> rows = {
        {dialog->cbText, dialog->Label1},          {dialog->cbFindIn, dialog->Label2},
        {dialog->cbMatchinType, dialog->cbMatchType}, {dialog->cbFindDirection, dialog->Label3},
        {dialog->cbCharCase, dialog->cbCharCase},  {dialog->cbUseFormat, dialog->cbUseFormat},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TControl* box = rows[i].first;
        SCOPED_TRACE(box->Name().toStdString());
        EXPECT_TRUE(box->Visible());
        for (std::size_t j = i + 1; j < rows.size(); ++j)
            EXPECT_TRUE(box->BoundsRect().Intersected(rows[j].first->BoundsRect()).IsEmpty()) << rows[j].first->Name().toStdString();
        const TControl* label = rows[i].second;
        const int middle = label->Top() + label->Height() / 2;
        EXPECT_GT(middle, box->Top());
        EXPECT_LT(middle, box->Top() + box->Height());
        EXPECT_LE(box->Top() + box->Height(), dialog->ClientHeight());
    }
}

// The unchecked box of "区分大小写" shows its frame on every side.
TEST_F(DBGridEhFindDlgTest, TheUncheckedCaseBoxShowsItsWholeFrame)
{
    TDBGridEhFindDlg* dialog = OpenModeless();
    ASSERT_EQ(dialog->cbCharCase->State(), TCheckBoxState::cbUnchecked);
    const QImage image = dialog->cbCharCase->Handle()->grab().toImage();
    // The box stands at the left, as wide as the control is high at most.
    const int side = std::min(image.height(), image.width());
    const auto dark = [&](int X, int Y) { return qGray(image.pixel(X, Y)) < 220; };
    QRect frame;
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < image.height(); ++y)
            if (dark(x, y))
                frame |= QRect(x, y, 1, 1);
    ASSERT_FALSE(frame.isEmpty());
    const QPoint middle = frame.center();
    EXPECT_TRUE(dark(frame.left(), middle.y()));
    EXPECT_TRUE(dark(frame.right(), middle.y())) << "right side";
    EXPECT_TRUE(dark(middle.x(), frame.top()));
    EXPECT_TRUE(dark(middle.x(), frame.bottom())) << "bottom side";
}
