// The edit keys of the data grid: copy, cut, paste, delete and select all run only for the
// actions the grid serves, on what is selected.
#include "DBGridEhInputTestSupport.h"

#include "platform/ui/Clipboard.h"
#include "platform/ui/Button.h"
#include "platform/ui/StdActns.h"

namespace {

class DBGridEhEditKeysTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        Clipboard()->Clear();
        DBGridInputTest::SetUp();
        BoxesExpected = true;
        Grid->SetOptions(Grid->Options() | dgMultiSelect);
    }
    void TearDown() override
    {
        DBGridInputTest::TearDown();
        Clipboard()->Clear();
        ReleaseKeyboardModifiers();
    }
    // Selects the rows of records 1 and 3 (李四 and Abc).
    void SelectTwoRows()
    {
        ClickCell(0, DataRow(1));
        ClickCell(0, DataRow(3), Qt::ControlModifier);
        ASSERT_EQ(SelectedCount(), 2);
    }
    int RowsNamed(const String& Name) const
    {
        int count = 0;
        for (Data->First(); !Data->Eof(); Data->Next())
            count += Data->FieldByName(u"名称"_s)->AsString() == Name ? 1 : 0;
        return count;
    }
};

TEST_F(DBGridEhEditKeysTest, CtrlCAndCtrlInsertCopyTheSelectionOnlyWithTheCopyAction)
{
    SelectTwoRows();
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(Clipboard()->AsText().isEmpty());

    Grid->SetEditActions(geaCopyEh);
    Key(Qt::Key_C, Qt::ControlModifier);
    String text = Clipboard()->AsText();
    EXPECT_TRUE(text.contains(RowName(1)));
    EXPECT_TRUE(text.contains(RowName(3)));
    EXPECT_FALSE(text.contains(RowName(2)));

    Clipboard()->Clear();
    Key(Qt::Key_Insert, Qt::ControlModifier);
    text = Clipboard()->AsText();
    EXPECT_TRUE(text.contains(RowName(1)));
    EXPECT_EQ(Data->RecordCount(), RowTotal);
}

TEST_F(DBGridEhEditKeysTest, CtrlXAndShiftDeleteCutTheSelectedRecords)
{
    SelectTwoRows();
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(Clipboard()->AsText().isEmpty());
    EXPECT_EQ(Data->RecordCount(), RowTotal);

    Grid->SetEditActions(geaCutEh);
    Boxes.Answer(mrOk);
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(Clipboard()->AsText().contains(RowName(3)));
    EXPECT_EQ(Data->RecordCount(), RowTotal - 2);
    EXPECT_EQ(RowsNamed(RowName(1)), 0);
    EXPECT_EQ(RowsNamed(RowName(3)), 0);
    EXPECT_EQ(RowsNamed(RowName(2)), 1);
}

TEST_F(DBGridEhEditKeysTest, CtrlVAndShiftInsertPasteIntoTheFocusedCell)
{
    Grid->FocusDataColumn(1);
    Clipboard()->SetAsText(u"钢笔"_s);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(CurrentName(), RowName(0));

    Grid->SetEditActions(geaPasteEh);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Data->FieldByName(u"名称"_s)->AsString(), u"钢笔"_s);

    Key(Qt::Key_Down);
    Clipboard()->SetAsText(u"铅笔"_s);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(RowsNamed(u"铅笔"_s), 1);
    EXPECT_EQ(RowsNamed(RowName(1)), 0);
    EXPECT_EQ(Data->RecordCount(), RowTotal);
}

TEST_F(DBGridEhEditKeysTest, APasteIntoAReadOnlyGridChangesNothing)
{
    Grid->SetEditActions(geaPasteEh);
    Grid->SetReadOnly(true);
    Clipboard()->SetAsText(u"钢笔"_s);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(RowsNamed(u"钢笔"_s), 0);
}

TEST_F(DBGridEhEditKeysTest, CtrlDeleteWithTheDeleteActionClearsASelectedRectangle)
{
    Grid->SetEditActions(geaDeleteEh);
    Grid->FocusDataColumn(2);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    ReleaseKeyboardModifiers();
    ASSERT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstRectangle);
    Boxes.Answer(mrOk);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Data->RecordCount(), RowTotal);
    Data->First();
    EXPECT_TRUE(Data->FieldByName(QtyField)->IsNull());
    EXPECT_TRUE(Data->FieldByName(AmountField)->IsNull());
    EXPECT_EQ(Data->FieldByName(u"名称"_s)->AsString(), RowName(0));
    Data->Next();
    EXPECT_TRUE(Data->FieldByName(QtyField)->IsNull());
    Data->Next();
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 2);
}

TEST_F(DBGridEhEditKeysTest, CtrlAWithoutTheSelectAllActionSelectsNothing)
{
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstNon);
    Grid->SetEditActions(geaSelectAllEh);
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstAll);
}

// The same commands from a menu's or a tool bar's standard actions while the grid has the focus.
TEST_F(DBGridEhEditKeysTest, StandardEditActionsRunAndAreEnabledAsTheGridsEditActions)
{
    SelectTwoRows();
    TEditCopy copy(nullptr);
    copy.Update();
    EXPECT_FALSE(copy.Enabled());
    EXPECT_FALSE(copy.Execute());
    EXPECT_TRUE(Clipboard()->AsText().isEmpty());

    Grid->SetEditActions(geaCopyEh | geaSelectAllEh);
    copy.Update();
    EXPECT_TRUE(copy.Enabled());
    EXPECT_TRUE(copy.Execute());
    EXPECT_TRUE(Clipboard()->AsText().contains(RowName(3)));
    EXPECT_FALSE(Clipboard()->AsText().contains(RowName(2)));

    TEditSelectAll selectAll(nullptr);
    EXPECT_TRUE(selectAll.Execute());
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstAll);

    // Without the delete action the grid leaves it disabled and deletes nothing.
    TEditDelete remove(nullptr);
    remove.Update();
    EXPECT_FALSE(remove.Enabled());
    EXPECT_FALSE(remove.Execute());
    EXPECT_EQ(Data->RecordCount(), RowTotal);
}

TEST_F(DBGridEhEditKeysTest, StandardEditActionsLeaveAGridWithoutTheFocusAlone)
{
    Grid->SetEditActions(geaCopyEh | geaSelectAllEh);
    SelectTwoRows();
    auto* button = new TButton(Form);
    button->SetParent(Form);
    button->SetFocus();
    ASSERT_FALSE(Grid->Focused());
    TEditSelectAll selectAll(nullptr);
    EXPECT_FALSE(selectAll.Execute());
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstRecordBookmarks);
}

} // namespace
