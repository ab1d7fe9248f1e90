// The cell editor seen from the data side: what it starts with, what it writes at the post,
// and how it follows changes of the record made elsewhere.
#include "DBGridEhCoreSupport.h"

#include "platform/data/DataSet.h"
#include "platform/ui/Menus.h"

#include <QMenu>

namespace {

class DBGridEhEditingTest : public DBGridEhCoreFixture {
protected:
    void SetUp() override
    {
        DBGridEhCoreFixture::SetUp();
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->SetFocus();
        Grid->SetDataSource(Source.get());
        Grid->FocusDataColumn(1);
    }

    TInplaceEdit* OpenEditor()
    {
        Grid->ChangeEditorMode(true);
        return Grid->InplaceEditor();
    }
};

TEST_F(DBGridEhEditingTest, TheEditorStartsWithTheFieldsTextAndWritesAtThePost)
{
    Data->MoveBy(2);
    TInplaceEdit* Editor = OpenEditor();
    ASSERT_NE(Editor, nullptr);
    EXPECT_EQ(Editor->Text(), u"物品3"_s);
    EXPECT_EQ(Grid->EditedText(), u"物品3"_s);
    ASSERT_TRUE(Grid->EditorMayModify());
    Editor->SetText(u"回形针"_s);
    Grid->DismissEditor();
    Data->Post();
    EXPECT_EQ(Data->FieldByName(u"名称"_s)->AsString(), u"回形针"_s);
    EXPECT_EQ(CellText(2, 1), u"回形针"_s);
}

TEST_F(DBGridEhEditingTest, AChangeOfTheFieldElsewhereReloadsTheEditor)
{
    TInplaceEdit* Editor = OpenEditor();
    ASSERT_NE(Editor, nullptr);
    Data->Edit();
    Data->FieldByName(u"名称"_s)->SetAsString(u"别处改的"_s);
    EXPECT_EQ(Editor->Text(), u"别处改的"_s);
    // A change of another field leaves the editor's text alone.
    Editor->SetText(u"正在输入"_s);
    Data->FieldByName(QtyField)->SetAsInteger(7);
    EXPECT_EQ(Editor->Text(), u"正在输入"_s);
    Data->Cancel();
}

TEST_F(DBGridEhEditingTest, ScrollingLeavesTheEditorAndTheCellFollowsTheRecord)
{
    OpenEditor();
    ASSERT_TRUE(Grid->EditorMode());
    const int fit = RowsThatFit();
    Data->MoveBy(fit + 3);
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Row(), fit);
    EXPECT_EQ(Grid->FocusedColumnIndex(), 1);
    // With dgAlwaysShowEditor the editor comes back on the new record.
    Grid->SetOptions(Grid->Options() | dgAlwaysShowEditor);
    OpenEditor();
    Data->MoveBy(-fit);
    EXPECT_TRUE(Grid->EditorMode());
    EXPECT_EQ(Grid->InplaceEditor()->Text(), Data->FieldByName(u"名称"_s)->AsString());
}

TEST_F(DBGridEhEditingTest, EscapeCancelsAnUnmodifiedEdit)
{
    Data->Edit();
    Grid->DataLink()->Reset();
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
    // A modified cell is reloaded instead, the record kept in edit state.
    ASSERT_TRUE(Grid->TryBeginCellEdit());
    Grid->DataLink()->Reset();
    EXPECT_EQ(Data->State(), TDataSetState::dsEdit);
    Data->Cancel();
}

TEST_F(DBGridEhEditingTest, AFieldAskedToTakeTheFocusMakesItsColumnCurrent)
{
    Data->FieldByName(AmountField)->FocusControl();
    EXPECT_EQ(Grid->FocusedColumnField(), Data->FieldByName(AmountField));
}

}  // namespace

namespace {

TEST_F(DBGridEhCoreFixture, ARightClickOverAColumnWithItsOwnMenuPopsItUp)
{
    TPopupMenu Menu(nullptr);
    int popups = 0;
    Menu.OnPopup = [&](TObject*) { ++popups; };
    AddColumn(u"名称"_s)->SetPopupMenu(&Menu);
    AddColumn(QtyField);
    Grid->SetDataSource(Source.get());
    const TRect Name = Grid->CellPixelRect(1, 2);
    const TRect Qty = Grid->CellPixelRect(2, 2);
    SendMessage(Grid, WM_RBUTTONUP, 0, MAKELPARAM(Qty.Left + 3, Qty.Top + 3));
    EXPECT_EQ(popups, 0);
    SendMessage(Grid, WM_RBUTTONUP, 0, MAKELPARAM(Name.Left + 3, Name.Top + 3));
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(Menu.PopupComponent(), Grid);
    if (QMenu* Shown = Menu.Handle())
        Shown->close();
}

}  // namespace
