// The grid follows its dataset through the data link: columns from fields, rows from the
// client height, the current row and the vertical scroll bar from the current record.
#include "DBGridEhCoreSupport.h"

#include "platform/data/DataSet.h"
#include "platform/data/DatabaseError.h"

using DBGridEhLinkTest = DBGridEhCoreFixture;

TEST_F(DBGridEhLinkTest, WithoutDataSourceOneEmptyRowAndOneEmptyColumn)
{
    Grid->NotifyLayoutChanged();
    EXPECT_EQ(Grid->RowCount(), Grid->RowsAboveData() + 1);
    EXPECT_EQ(Grid->DataLink()->FieldMapCount(), 0);
    ASSERT_EQ(Grid->Columns()->Count(), 1);
    EXPECT_TRUE(Grid->Columns()->ColumnAt(0)->IsDefaultColumn());
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->Field(), nullptr);
    EXPECT_EQ(Grid->ColCount(), 2);
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->FixedRows(), 1);
    // An inactive link: a bar that does not scroll.
    const TScrollInfo Info = Grid->VertInfo();
    EXPECT_EQ(Info.nMin, 0);
    EXPECT_EQ(Info.nMax, 1);
    EXPECT_EQ(Info.nPos, 0);
}

TEST_F(DBGridEhLinkTest, ColumnsComeFromTheVisibleFieldsInFieldOrder)
{
    Data->FieldByName(u"id"_s)->SetVisible(false);
    Grid->SetDataSource(Source.get());
    ASSERT_EQ(Grid->Columns()->Count(), 3);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->Field(), Data->FieldByName(u"名称"_s));
    EXPECT_EQ(Grid->Columns()->ColumnAt(1)->Field(), Data->FieldByName(QtyField));
    EXPECT_EQ(Grid->Columns()->ColumnAt(2)->Field(), Data->FieldByName(AmountField));
    EXPECT_FALSE(Grid->DataLink()->SparseMap());
    EXPECT_EQ(Grid->DataLink()->MappedField(1), Data->FieldByName(QtyField));
    EXPECT_TRUE(Grid->DataLink()->UsesDefaultFields());
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->VisibleColumns()->Count(), 3);
    // The field shown again brings its column back in its place.
    Data->FieldByName(u"id"_s)->SetVisible(true);
    Grid->NotifyLayoutChanged();
    ASSERT_EQ(Grid->Columns()->Count(), 4);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->FieldName(), u"id"_s);
}

TEST_F(DBGridEhLinkTest, RowsFillTheClientHeightAndTheLinkBuffersThem)
{
    Grid->SetDataSource(Source.get());
    const int fit = RowsThatFit();
    ASSERT_LT(fit, 50);
    EXPECT_EQ(Grid->DataLink()->BufferCount(), fit);
    EXPECT_EQ(Grid->RowCount(), fit + 1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(CellText(2, 1), u"物品3"_s);
    // A smaller window buffers fewer records; one that holds no row still buffers one.
    Grid->SetBounds(0, 0, 400, 120);
    Grid->NotifyLayoutChanged();
    EXPECT_EQ(Grid->DataLink()->BufferCount(), RowsThatFit());
    EXPECT_EQ(Grid->RowCount(), RowsThatFit() + 1);
    Grid->SetBounds(0, 0, 400, Grid->RowHeightAt(0) + 3);
    Grid->NotifyLayoutChanged();
    EXPECT_EQ(Grid->DataLink()->BufferCount(), 1);
    EXPECT_EQ(Grid->RowCount(), 2);
}

TEST_F(DBGridEhLinkTest, TheCurrentRowAndTheScrollBarFollowTheRecord)
{
    Grid->SetDataSource(Source.get());
    const int fit = RowsThatFit();
    Data->Next();
    Data->Next();
    EXPECT_EQ(Grid->Row(), 3);
    TScrollInfo Info = Grid->VertInfo();
    EXPECT_EQ(Info.nMin, 1);
    EXPECT_EQ(Info.nMax, 50 + fit - 1);
    EXPECT_EQ(static_cast<int>(Info.nPage), fit);
    EXPECT_EQ(Info.nPos, 3);
    // Past the window: the link's window moves, the current row stays the last one.
    Data->MoveBy(fit);
    EXPECT_EQ(Grid->Row(), fit);
    EXPECT_EQ(Grid->VertInfo().nPos, fit + 3);
    EXPECT_EQ(CellText(fit - 1, 1), QStringLiteral("物品%1").arg(fit + 3));
    Data->Last();
    EXPECT_EQ(Grid->Row(), fit);
    EXPECT_EQ(Grid->VertInfo().nPos, 50);
    EXPECT_EQ(CellText(fit - 1, 1), u"物品50"_s);
    Data->First();
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->VertInfo().nPos, 1);
    EXPECT_EQ(CellText(0, 1), u"物品1"_s);
}

TEST_F(DBGridEhLinkTest, EditInsertAndDeleteAreFollowed)
{
    Grid->SetDataSource(Source.get());
    Data->MoveBy(4);
    Data->Edit();
    Data->FieldByName(u"名称"_s)->SetAsString(u"改过"_s);
    Data->Post();
    EXPECT_EQ(CellText(4, 1), u"改过"_s);
    EXPECT_EQ(Grid->Row(), 5);
    Data->Insert();
    EXPECT_EQ(Grid->Row(), 5);
    Data->FieldByName(u"名称"_s)->SetAsString(u"新的"_s);
    Data->Post();
    EXPECT_EQ(Grid->VertInfo().nMax, 51 + RowsThatFit() - 1);
    EXPECT_EQ(CellText(Grid->Row() - 1, 1), u"新的"_s);
    Data->Delete();
    EXPECT_EQ(Data->RecordCount(), 50);
    EXPECT_EQ(Grid->VertInfo().nMax, 50 + RowsThatFit() - 1);
    EXPECT_EQ(Grid->Row(), Grid->DataLink()->ActiveRecord() + 1);
}

TEST_F(DBGridEhLinkTest, AFewRecordsGiveAFewRows)
{
    Data->Close();
    Data->EmptyDataSet();
    Data->Open();
    AppendRecords(3);
    Grid->SetDataSource(Source.get());
    EXPECT_EQ(Grid->RowCount(), 4);
    Data->Last();
    EXPECT_EQ(Grid->Row(), 3);
    // Emptied: still one (empty) data row.
    Data->Delete();
    Data->Delete();
    Data->Delete();
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(DBGridEhLinkTest, ClosedReopenedWithOtherFieldsAndFreed)
{
    Grid->SetDataSource(Source.get());
    Data->Last();
    Data->Close();
    ASSERT_EQ(Grid->Columns()->Count(), 1);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->Field(), nullptr);
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_EQ(Grid->VertInfo().nMax, 1);

    Data->EmptyDataSet();
    Data->FieldDefs()->Clear();
    Data->FieldDefs()->Add(u"部门"_s, TFieldType::ftString, 20);
    Data->FieldDefs()->Add(u"人数"_s, TFieldType::ftInteger);
    Data->Open();
    Data->AppendRecord({Variant(u"财务部"_s), Variant(4)});
    Data->AppendRecord({Variant(u"技术部"_s), Variant(9)});
    ASSERT_EQ(Grid->Columns()->Count(), 2);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->Field(), Data->FieldByName(u"部门"_s));
    EXPECT_EQ(Grid->Columns()->ColumnAt(1)->Field(), Data->FieldByName(u"人数"_s));
    EXPECT_EQ(Grid->RowCount(), 3);
    EXPECT_EQ(CellText(1, 0), u"技术部"_s);

    Data.reset();
    EXPECT_EQ(Grid->DataLink()->DataSet(), nullptr);
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        EXPECT_EQ(Grid->Columns()->ColumnAt(i)->Field(), nullptr);
    EXPECT_EQ(Grid->RowCount(), 2);
    Source.reset();
    EXPECT_EQ(Grid->DataSource(), nullptr);
}

TEST_F(DBGridEhLinkTest, ACustomisedColumnOnAMissingFieldStaysWithoutField)
{
    AddColumn(u"名称"_s);
    TColumnEh* Missing = AddColumn(u"序号"_s);
    AddColumn(QtyField);
    Grid->SetDataSource(Source.get());
    ASSERT_EQ(Grid->Columns()->Count(), 3);
    EXPECT_TRUE(Grid->DataLink()->SparseMap());
    EXPECT_EQ(Grid->DataLink()->MappedFieldIndex(1), -1);
    EXPECT_EQ(Missing->Field(), nullptr);
    EXPECT_EQ(Missing->FieldName(), u"序号"_s);
    EXPECT_FALSE(Grid->DataLink()->UsesDefaultFields());
    EXPECT_EQ(Grid->Columns()->ColumnAt(2)->Field(), Data->FieldByName(QtyField));
    EXPECT_EQ(Missing->ComputeDisplayText(), String());
    EXPECT_EQ(CellText(1, 2), u"2"_s);
}

TEST_F(DBGridEhLinkTest, AFieldFreedUnderTheGridIsReleased)
{
    Grid->SetDataSource(Source.get());
    ASSERT_EQ(Grid->Columns()->Count(), 4);
    // Closing frees the default fields: every column forgets its field at once.
    Data->Close();
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->Field(), nullptr);
    Data->Open();
    ASSERT_EQ(Grid->Columns()->Count(), 4);
    // Freed while the dataset's controls are disabled: released at once, the rebuild deferred
    // to one posted message however many fields go.
    Data->DisableControls();
    // Disabling makes the columns look their fields up again; painting meanwhile does.
    ASSERT_NE(Grid->Columns()->ColumnAt(2)->Field(), nullptr);
    ASSERT_NE(Grid->Columns()->ColumnAt(3)->Field(), nullptr);
    delete Data->FieldByName(QtyField);
    EXPECT_EQ(Grid->Columns()->ColumnAt(2)->Field(), nullptr);
    EXPECT_TRUE(Grid->DeferredLayoutQueued());
    delete Data->FieldByName(AmountField);
    EXPECT_EQ(Grid->Columns()->ColumnAt(3)->Field(), nullptr);
    EXPECT_TRUE(Grid->TakeDeferredLayoutMessage());
    EXPECT_FALSE(Grid->TakeDeferredLayoutMessage());
    Data->EnableControls();
    Grid->NotifyLayoutChanged();
    EXPECT_EQ(Grid->Columns()->Count(), 2);
    EXPECT_EQ(CellText(0, 1), u"物品1"_s);
}

TEST_F(DBGridEhLinkTest, ARebuildOvertakesADeferredOne)
{
    Grid->SetDataSource(Source.get());
    Grid->LockLayout();
    Grid->UnlockLayoutDeferred();
    EXPECT_TRUE(Grid->DeferredLayoutQueued());
    EXPECT_FALSE(Grid->LayoutLocked());
    Grid->NotifyLayoutChanged();
    EXPECT_FALSE(Grid->DeferredLayoutQueued());
    EXPECT_FALSE(Grid->TakeDeferredLayoutMessage());
}

TEST_F(DBGridEhLinkTest, ColumnsByFieldNameIgnoreCase)
{
    AddColumn(u"Name"_s);
    Grid->NotifyLayoutChanged();
    EXPECT_EQ(Grid->ColumnByFieldName(u"NAME"_s), Grid->Columns()->ColumnAt(0));
    EXPECT_EQ(Grid->ColumnByFieldName(u"Other"_s), nullptr);
    try {
        Grid->RequireColumnByFieldName(u"Other"_s);
        FAIL() << "no error raised";
    } catch (const EInvalidGridOperationEh& E) {
        EXPECT_EQ(E.Message(), u"字段名 'Other' 没有找到"_s);
    }
}

TEST_F(DBGridEhLinkTest, SwitchingToARowReadsItsRecordAndRestoringGoesBack)
{
    Grid->SetDataSource(Source.get());
    Data->MoveBy(2);
    EXPECT_EQ(Grid->DisplayRecordCount(), RowsThatFit());
    EXPECT_TRUE(Grid->IsCurrentRecordRow(2));
    Grid->SwitchToRowRecord(5);
    EXPECT_EQ(Data->RecNo(), 6);
    Grid->RestoreRowRecord();
    EXPECT_EQ(Data->RecNo(), 3);
    // A row past the buffered records switches nothing.
    Grid->SwitchToRowRecord(1000);
    EXPECT_EQ(Data->RecNo(), 3);
    Grid->RestoreRowRecord();
    EXPECT_EQ(Data->RecNo(), 3);
}

TEST_F(DBGridEhLinkTest, EditingThroughTheGridStoresTheTextAtPost)
{
    Grid->SetDataSource(Source.get());
    Grid->FocusDataColumn(1);
    ASSERT_EQ(Grid->FocusedColumnField(), Data->FieldByName(u"名称"_s));
    ASSERT_TRUE(Grid->TryBeginCellEdit());
    EXPECT_EQ(Data->State(), TDataSetState::dsEdit);
    EXPECT_TRUE(Grid->DataLink()->Modified());
    Grid->PutCellEditText(Grid->Col(), Grid->Row(), u"橡皮"_s);
    Data->Post();
    EXPECT_EQ(Data->FieldByName(u"名称"_s)->AsString(), u"橡皮"_s);
    EXPECT_FALSE(Grid->DataLink()->Modified());
    // A read-only grid or column starts no edit.
    Grid->SetReadOnly(true);
    EXPECT_FALSE(Grid->TryBeginCellEdit());
    Grid->SetReadOnly(false);
    Grid->Columns()->ColumnAt(1)->SetReadOnly(true);
    EXPECT_FALSE(Grid->TryBeginCellEdit());
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
}

TEST_F(DBGridEhLinkTest, AKeyListColumnStoresTheKeyAndKeepsItForUnknownText)
{
    TColumnEh* Qty = AddColumn(QtyField);
    Qty->PickList()->Add(u"一"_s);
    Qty->PickList()->Add(u"二"_s);
    Qty->PickList()->Add(u"三"_s);
    Qty->KeyList()->Add(u"1"_s);
    Qty->KeyList()->Add(u"2"_s);
    Grid->SetDataSource(Source.get());
    auto Store = [&](const String& Text) {
        ASSERT_TRUE(Grid->TryBeginCellEdit());
        Grid->PutCellEditText(Grid->Col(), Grid->Row(), Text);
        Data->Post();
    };
    Store(u"二"_s);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 2);
    // Not in the lists, or past the end of the key list: the key stays.
    Store(u"四"_s);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 2);
    Store(u"三"_s);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 2);
    Store(String());
    EXPECT_TRUE(Data->FieldByName(QtyField)->IsNull());
}

TEST_F(DBGridEhLinkTest, ATextTheFieldRefusesFailsThePostAndIsNotKept)
{
    Grid->SetDataSource(Source.get());
    Grid->FocusDataColumn(2);
    ASSERT_TRUE(Grid->TryBeginCellEdit());
    Grid->PutCellEditText(Grid->Col(), Grid->Row(), u"三个"_s);
    EXPECT_ANY_THROW(Data->Post());
    EXPECT_FALSE(Grid->DataLink()->Modified());
    EXPECT_EQ(Data->State(), TDataSetState::dsEdit);
    Data->Cancel();
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 1);
}
