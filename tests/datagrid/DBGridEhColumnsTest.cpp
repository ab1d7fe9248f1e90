// Columns: soft properties and their defaults, widths, binding to fields, assignment,
// auto-fitting, the collection's navigation and the legacy stored properties.
#include "DBGridEhTestGrid.h"

#include "platform/core/StringList.h"
#include "platform/data/Field.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"

using enum TColumnEhAssignedValue;

namespace {

TEST(DBGridEhColumnTest, NewColumnWithoutGridHasTheDocumentedDefaults)
{
    TCollection Columns(CollectionItemClass<TColumnEh>());
    auto* Column = static_cast<TColumnEh*>(Columns.Add());
    EXPECT_EQ(Column->Width(), 64);
    EXPECT_EQ(Column->Color(), clWindow);
    EXPECT_EQ(Column->Title()->Color(), clBtnFace);
    EXPECT_EQ(Column->DropDownRows(), 7u);
    EXPECT_DOUBLE_EQ(Column->Increment(), 1.0);
    EXPECT_EQ(Column->NotInKeyListIndex(), -1);
    EXPECT_TRUE(Column->Visible());
    EXPECT_TRUE(Column->AutoFitColWidth());
    EXPECT_EQ(Column->ButtonStyle(), TColumnButtonStyleEh::cbsAuto);
    EXPECT_TRUE(Column->AssignedValues().Empty());
    EXPECT_EQ(Column->OwningGrid(), nullptr);
}

TEST_F(DBGridEhFixture, WidthMinusOneOrTheDefaultStoresNothing)
{
    TColumnEh* Column = AddColumn(String());
    const int Default = Column->DefaultWidth();
    EXPECT_EQ(Default, Grid->DefaultColWidth());
    Column->SetWidth(-1);
    EXPECT_FALSE(Column->AssignedValues().Contains(cavWidth));
    EXPECT_EQ(Column->Width(), Default);
    Column->SetWidth(Default);
    EXPECT_FALSE(Column->AssignedValues().Contains(cavWidth));
    EXPECT_FALSE(Column->IsStored(cavWidth));
    Column->SetWidth(Default + 10);
    EXPECT_TRUE(Column->AssignedValues().Contains(cavWidth));
    EXPECT_TRUE(Column->IsStored(cavWidth));
    EXPECT_EQ(Column->Width(), Default + 10);
    // Once own, the default width is kept too, and no longer written out.
    Column->SetWidth(Default);
    EXPECT_TRUE(Column->AssignedValues().Contains(cavWidth));
    EXPECT_FALSE(Column->IsStored(cavWidth));
}

TEST_F(DBGridEhFixture, DefaultWidthFollowsTheFieldsDisplayWidth)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* Column = AddColumn(u"名称"_s);
    TField* Field = Data->FieldByName(u"名称"_s);
    Field->SetDisplayWidth(10);
    const int Ten = Column->DefaultWidth();
    Field->SetDisplayWidth(20);
    const int Twenty = Column->DefaultWidth();
    EXPECT_GT(Ten, 4);
    EXPECT_EQ(Twenty - 4, 2 * (Ten - 4));
    EXPECT_EQ(Column->Width(), Twenty);
}

TEST_F(DBGridEhFixture, WidthsAreClampedAndMinWidthWins)
{
    TColumnEh* Column = AddColumn(String());
    Column->SetMaxWidth(100);
    Column->SetWidth(150);
    EXPECT_EQ(Column->Width(), 100);
    Column->SetMinWidth(120);
    EXPECT_EQ(Column->Width(), 120);
    Column->SetWidth(50);
    EXPECT_EQ(Column->Width(), 120);
    EXPECT_EQ(Column->ClampWidth(500), 120);
    // The grid column follows.
    EXPECT_EQ(Grid->ColWidthAt(Grid->DataColToGridCol(Column->Index())), 120);
}

TEST_F(DBGridEhFixture, SoftPropertiesFollowTheGridUntilAssignedAndReset)
{
    TColumnEh* Column = AddColumn(String());
    Grid->SetColor(clYellow);
    EXPECT_EQ(Column->Color(), clYellow);
    Column->SetColor(clRed);
    EXPECT_TRUE(Column->AssignedValues().Contains(cavColor));
    EXPECT_TRUE(Column->IsStored(cavColor));
    Grid->SetColor(clRed);
    EXPECT_FALSE(Column->IsStored(cavColor));

    EXPECT_FALSE(Column->EndEllipsis());
    Grid->ColumnDefValues()->SetEndEllipsis(true);
    EXPECT_TRUE(Column->EndEllipsis());
    EXPECT_FALSE(Column->AssignedValues().Contains(cavEndEllipsis));
    Grid->ColumnDefValues()->SetLayout(TTextLayout::tlBottom);
    EXPECT_EQ(Column->Layout(), TTextLayout::tlBottom);
    Grid->SetReadOnly(true);
    EXPECT_TRUE(Column->ReadOnly());

    Column->SetToolTips(true);
    Column->Title()->SetCaption(u"名称"_s);
    Column->ResetToDefaults();
    EXPECT_TRUE(Column->AssignedValues().Empty());
    EXPECT_EQ(Column->Color(), clRed);
    EXPECT_FALSE(Column->ToolTips());
    EXPECT_EQ(Column->Title()->Caption(), Column->FieldName());
}

TEST_F(DBGridEhFixture, FontFollowsTheGridUntilSetThenStaysOwn)
{
    TColumnEh* Column = AddColumn(String());
    Grid->Font()->SetSize(14);
    EXPECT_EQ(Column->Font()->Size(), 14);
    EXPECT_FALSE(Column->AssignedValues().Contains(cavFont));
    Column->Font()->SetColor(clBlue);
    EXPECT_TRUE(Column->AssignedValues().Contains(cavFont));
    EXPECT_TRUE(Column->IsStored(cavFont));
    Grid->Font()->SetSize(9);
    EXPECT_EQ(Column->Font()->Size(), 14);
    Column->ResetToDefaults();
    EXPECT_EQ(Column->Font()->Size(), 9);
    EXPECT_FALSE(Column->AssignedValues().Contains(cavFont));
}

TEST_F(DBGridEhFixture, FieldDefaultsReachSoftPropertiesThroughTheBinding)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* Name = AddColumn(u"名称"_s);
    TColumnEh* Qty = AddColumn(QtyField);
    TColumnEh* Missing = AddColumn(u"序号"_s);
    ASSERT_NE(Name->Field(), nullptr);
    EXPECT_TRUE(Name->WordWrap());
    EXPECT_FALSE(Qty->WordWrap());
    EXPECT_EQ(Qty->Alignment(), Data->FieldByName(QtyField)->Alignment());
    EXPECT_EQ(Missing->Field(), nullptr);
    EXPECT_EQ(Missing->Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(Missing->Title()->Caption(), u"序号"_s);
    // Setting WordWrap to what the field gives keeps nothing; a different value is kept.
    Name->SetWordWrap(true);
    EXPECT_FALSE(Name->AssignedValues().Contains(cavWordWrap));
    Name->SetWordWrap(false);
    EXPECT_TRUE(Name->AssignedValues().Contains(cavWordWrap));
    EXPECT_FALSE(Name->WordWrap());
}

TEST_F(DBGridEhFixture, DefaultColumnWritesThroughToItsFieldAcrossReopen)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* Column = Grid->Columns()->AddDefaultColumn();
    Column->BindField(Data->FieldByName(QtyField));
    ASSERT_TRUE(Column->IsDefaultColumn());
    EXPECT_FALSE(Grid->Columns()->IsCustomized());

    Column->Title()->SetCaption(u"件数"_s);
    EXPECT_EQ(Data->FieldByName(QtyField)->DisplayLabel(), u"件数"_s);
    EXPECT_FALSE(Column->AssignedValues().Contains(cavTitleCaption));
    EXPECT_EQ(Column->Title()->Caption(), u"件数"_s);
    Column->SetAlignment(TAlignment::taCenter);
    EXPECT_EQ(Data->FieldByName(QtyField)->Alignment(), TAlignment::taCenter);
    EXPECT_FALSE(Column->AssignedValues().Contains(cavAlignment));
    Column->SetReadOnly(true);
    EXPECT_TRUE(Data->FieldByName(QtyField)->ReadOnly());
    EXPECT_TRUE(Column->ReadOnly());

    // Closing drops the default columns; the ones made at the opening show what went to the field.
    Data->Close();
    Data->Open();
    const TColumnEh* reopened = Grid->RequireColumnByFieldName(QtyField);
    ASSERT_EQ(reopened->Field(), Data->FindField(QtyField));
    EXPECT_EQ(reopened->Title()->Caption(), Data->FieldByName(QtyField)->DisplayName());
    EXPECT_EQ(reopened->Alignment(), Data->FieldByName(QtyField)->Alignment());
}

TEST_F(DBGridEhFixture, PersistentColumnKeepsItsOwnValuesAndLeavesTheFieldAlone)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* Column = AddColumn(QtyField);
    const TAlignment FieldAlignment = Data->FieldByName(QtyField)->Alignment();
    Column->SetAlignment(TAlignment::taCenter);
    Column->Title()->SetCaption(u"数"_s);
    EXPECT_TRUE(Column->IsStored(cavAlignment));
    EXPECT_EQ(Column->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(Data->FieldByName(QtyField)->Alignment(), FieldAlignment);
    EXPECT_EQ(Data->FieldByName(QtyField)->DisplayLabel(), QtyField);
    EXPECT_TRUE(Grid->Columns()->IsCustomized());
}

TEST_F(DBGridEhFixture, FreedFieldIsForgottenAndFoundAgainByName)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* Column = AddColumn(QtyField);
    ASSERT_NE(Column->Field(), nullptr);
    Grid->Columns()->ReleaseFieldBindings();
    EXPECT_EQ(Column->Field(), Data->FindField(QtyField));
    Grid->SetDataSource(nullptr);
    EXPECT_EQ(Column->Field(), nullptr);
    EXPECT_EQ(Column->FieldName(), QtyField);
}

TEST_F(DBGridEhFixture, AssignCopiesThroughTheWritersSoTargetBitsBecomeSet)
{
    TColumnEh* Source = AddColumn(QtyField);
    Source->SetWidth(90);
    Source->SetMaxWidth(200);
    Source->SetDisplayFormat(u"0.00"_s);
    Source->PickList()->Add(u"一"_s);
    Source->Footer()->SetValueType(TFooterValueType::fvtStaticText);
    Source->Footer()->SetValue(u"总数量"_s);
    TColumnEh* Target = AddColumn(String());
    Target->Assign(Source);

    EXPECT_EQ(Target->FieldName(), QtyField);
    EXPECT_EQ(Target->Width(), 90);
    EXPECT_EQ(Target->MaxWidth(), 200);
    EXPECT_EQ(Target->DisplayFormat(), u"0.00"_s);
    EXPECT_EQ(Target->PickList()->Count(), 1);
    EXPECT_EQ(Target->Footer()->Value(), u"总数量"_s);
    // Own values only where the source had them...
    EXPECT_FALSE(Target->AssignedValues().Contains(cavColor));
    EXPECT_FALSE(Target->AssignedValues().Contains(cavAlignment));
    EXPECT_FALSE(Source->AssignedValues().Contains(cavEndEllipsis));
    // ...but these go through their writers unconditionally.
    for (TColumnEhAssignedValue Bit : {cavEndEllipsis, cavAutoDropDown, cavToolTips, cavLayout, cavAlwaysShowEditButton,
                                       cavDblClickNextVal, cavDropDownSizing, cavDropDownShowTitles,
                                       cavTitleEndEllipsis, cavTitleButton, cavTitleToolTips, cavTitleOrientation})
        EXPECT_TRUE(Target->AssignedValues().Contains(Bit)) << static_cast<int>(Bit);
}

class DBGridEhAutoFitTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        for (int i = 0; i < 3; ++i)
            AddColumn(String())->SetWidth(100 + 10 * i);
        Grid->SetAutoFitColWidths(true);
        for (int i = 0; i < 3; ++i)
            Grid->Columns()->ColumnAt(i)->SetDesignWidth(100);
    }
};

TEST_F(DBGridEhAutoFitTest, ResizingAColumnRescalesItsDesignWidthAndTheNextOnes)
{
    TColumnEh* First = Grid->Columns()->ColumnAt(0);
    TColumnEh* Second = Grid->Columns()->ColumnAt(1);
    ASSERT_EQ(Grid->ColWidthAt(Grid->DataColToGridCol(0)), 100);
    First->SetWidth(150);
    EXPECT_EQ(First->DesignWidth(), 150);
    EXPECT_EQ(Second->DesignWidth(), 50);
    EXPECT_EQ(Grid->Columns()->ColumnAt(2)->DesignWidth(), 100);
    // The next column never goes below 0.
    First->SetWidth(450);
    EXPECT_EQ(First->DesignWidth(), 450);
    EXPECT_EQ(Second->DesignWidth(), 0);
}

TEST_F(DBGridEhAutoFitTest, HiddenZeroWidthColumnChangesWithoutRescaling)
{
    Grid->SetOptions(Grid->Options() - dgColLines);
    TColumnEh* Hidden = Grid->Columns()->ColumnAt(1);
    Hidden->SetVisible(false);
    ASSERT_EQ(Grid->ColWidthAt(Grid->DataColToGridCol(1)), 0);
    Hidden->SetColor(clRed);
    Hidden->SetAlignment(TAlignment::taCenter);
    EXPECT_EQ(Hidden->DesignWidth(), 100);
    EXPECT_EQ(Grid->Columns()->ColumnAt(2)->DesignWidth(), 100);
}

TEST_F(DBGridEhFixture, AutoFitColWidthPutsTheDesignWidthBack)
{
    TColumnEh* Column = AddColumn(String());
    Grid->SetAutoFitColWidths(true);
    Column->SetWidth(80);
    Column->SetDesignWidth(120);
    Column->SetAutoFitColWidth(false);
    EXPECT_EQ(Column->Width(), 120);
}

TEST_F(DBGridEhFixture, NavigationSkipsHiddenAndReadOnlyColumns)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* Name = AddColumn(u"名称"_s);
    TColumnEh* Qty = AddColumn(QtyField);
    TColumnEh* Amount = AddColumn(AmountField);
    TColumnEh* Missing = AddColumn(u"序号"_s);
    Qty->SetVisible(false);
    TDBGridColumnsEh* Columns = Grid->Columns();
    EXPECT_EQ(Columns->FirstWritableColumn(), Name);
    EXPECT_EQ(Columns->LastWritableColumn(), Amount);
    EXPECT_EQ(Columns->NextWritableColumn(Name, true), Amount);
    EXPECT_EQ(Columns->NextWritableColumn(Amount, true), Amount);
    EXPECT_EQ(Columns->NextWritableColumn(Amount, false), Name);
    Amount->SetReadOnly(true);
    EXPECT_EQ(Columns->NextWritableColumn(Name, true), Name);
    EXPECT_FALSE(Missing->IsWritable());
    EXPECT_EQ(Columns->FindByStorageName(u"Column_2_"_s + AmountField), Amount);
    EXPECT_EQ(Columns->FindByStorageName(u"Column_1_"_s + AmountField), nullptr);
}

TEST_F(DBGridEhFixture, FocusLeavesAColumnThatIsHiddenOrGone)
{
    for (const char* Name : {"A", "B", "C"})
        AddColumn(String::fromLatin1(Name));
    Grid->ChangeCol(Grid->DataColToGridCol(1));
    Grid->Columns()->ColumnAt(1)->SetVisible(false);
    EXPECT_EQ(Grid->Col(), Grid->DataColToGridCol(0));
    Grid->ChangeCol(Grid->DataColToGridCol(2));
    Grid->Columns()->ColumnAt(0)->SetVisible(false);
    EXPECT_EQ(Grid->Col(), Grid->DataColToGridCol(2));
    // With the focused column gone the focus lands on the hidden B, and moves on to A.
    Grid->Columns()->ColumnAt(0)->SetVisible(true);
    Grid->Columns()->Delete(2);
    EXPECT_EQ(Grid->Col(), Grid->DataColToGridCol(0));
}

TEST_F(DBGridEhFixture, LegacyWidthGoesToTheDesignWidthWhenAutoFitting)
{
    TColumnEh* Column = AddColumn(String());
    TStringList Description;
    Description.Add(u"Width=85"_s);
    ASSERT_TRUE(ReadInterceptedProperties(Column, Description));
    EXPECT_EQ(Column->Width(), 85);
    Grid->SetAutoFitColWidths(true);
    Description.Clear();
    Description.Add(u"Width=140"_s);
    ASSERT_TRUE(ReadInterceptedProperties(Column, Description));
    EXPECT_EQ(Column->DesignWidth(), 140);
    EXPECT_EQ(Column->Width(), 85);
}

TEST_F(DBGridEhFixture, LegacyColumnsIndexReordersAndNeverPassesTheEnd)
{
    TColumnEh* A = AddColumn(u"A"_s);
    TColumnEh* B = AddColumn(u"B"_s);
    TStringList Description;
    Description.Add(uR"(ColumnsIndex="B","A")"_s);
    ASSERT_TRUE(ReadInterceptedProperties(Grid->Columns(), Description));
    EXPECT_EQ(Grid->Columns()->ColumnAt(0), B);
    EXPECT_EQ(Grid->Columns()->ColumnAt(1), A);
    TColumnsEhPropertyInterceptor Interceptor(Grid->Columns());
    EXPECT_EQ(Interceptor.ColumnsIndex(), uR"("B","A")"_s);

    // Names of columns that are gone, or a name twice, stretch the list past the columns.
    Interceptor.SetColumnsIndex(uR"("X","Y","Z","A")"_s);
    EXPECT_EQ(Grid->Columns()->ColumnAt(1), A);
    Interceptor.SetColumnsIndex(uR"("C","A","B")"_s);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0), A);
    EXPECT_EQ(Grid->Columns()->ColumnAt(1), B);
    EXPECT_EQ(Grid->Columns()->Count(), 2);
}

TEST_F(DBGridEhFixture, DestroyedColumnLeavesTheSortedListAndTheTitleTree)
{
    Grid->SetOptionsEh(dghMultiSortMarking);
    Grid->SetUseMultiTitle(true);
    TColumnEh* A = AddColumn(u"A"_s);
    TColumnEh* B = AddColumn(u"B"_s);
    A->Title()->SetSortMarker(TSortMarkerEh::smDownEh);
    B->Title()->SetSortMarker(TSortMarkerEh::smUpEh);
    ASSERT_EQ(Grid->SortedColumns()->Count(), 2);
    THeadTreeNode* Leaf = Grid->LeafOfColumn(0);
    ASSERT_NE(Leaf, nullptr);
    Grid->Columns()->Delete(0);
    ASSERT_EQ(Grid->SortedColumns()->Count(), 1);
    EXPECT_EQ(Grid->SortedColumns()->ColumnAt(0), B);
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        EXPECT_NE(Grid->LeafOfColumn(i)->Column, nullptr);
}

TEST_F(DBGridEhFixture, DropDownBoxCopiesItsSettingsAndForgetsAFreedListSource)
{
    TColumnEh* From = AddColumn(QtyField);
    TColumnEh* To = AddColumn(AmountField);
    auto Lookup = std::make_unique<TDataSource>(nullptr);
    TColumnDropDownBoxEh* Box = From->DropDownBox();
    Box->SetListSource(Lookup.get());
    Box->SetRows(12);
    Box->SetWidth(-1);
    Box->SetSizable(true);
    Box->SetOptions(dlgRowLinesEh | dlgAutoSortMarkingEh);
    Box->SpecRow()->SetCellsText(u"无"_s);
    To->Assign(From);
    EXPECT_EQ(To->DropDownBox()->ListSource(), Lookup.get());
    EXPECT_EQ(To->DropDownBox()->Rows(), 12);
    EXPECT_EQ(To->DropDownBox()->Width(), -1);
    EXPECT_TRUE(To->DropDownBox()->Sizable());
    EXPECT_EQ(To->DropDownBox()->Options(), dlgRowLinesEh | dlgAutoSortMarkingEh);
    EXPECT_EQ(To->DropDownBox()->SpecRow()->CellsText(), String());
    Lookup.reset();
    EXPECT_EQ(From->DropDownBox()->ListSource(), nullptr);
    EXPECT_EQ(To->DropDownBox()->ListSource(), nullptr);
}

TEST_F(DBGridEhFixture, CellKindDecidesTheTextEditingDefault)
{
    Grid->SetDataSource(Source.get());
    TColumnEh* Column = AddColumn(QtyField);
    EXPECT_EQ(Column->ClassifyCellKind(), TColumnCellKindEh::cckText);
    EXPECT_TRUE(Column->TextEditing());
    auto Images = std::make_unique<TImageList>(nullptr);
    auto Menu = std::make_unique<TPopupMenu>(nullptr);
    Column->SetImageList(Images.get());
    Column->SetPopupMenu(Menu.get());
    EXPECT_EQ(Column->ClassifyCellKind(), TColumnCellKindEh::cckImageList);
    EXPECT_FALSE(Column->TextEditing());
    Column->SetShowImageAndText(true);
    EXPECT_EQ(Column->ClassifyCellKind(), TColumnCellKindEh::cckText);
    Column->PickList()->Add(u"一"_s);
    EXPECT_EQ(Column->ClassifyCellKind(), TColumnCellKindEh::cckPickList);
    Column->KeyList()->Add(u"1"_s);
    EXPECT_EQ(Column->ClassifyCellKind(), TColumnCellKindEh::cckKeyPickList);
    Column->SetCheckboxes(true);
    EXPECT_EQ(Column->ClassifyCellKind(), TColumnCellKindEh::cckCheckbox);
    EXPECT_FALSE(Column->TextEditing());
    // Setting TextEditing to the default keeps nothing.
    Column->SetTextEditing(false);
    EXPECT_FALSE(Column->AssignedValues().Contains(cavTextEditing));

    Images.reset();
    Menu.reset();
    EXPECT_EQ(Column->ImageList(), nullptr);
    EXPECT_EQ(Column->PopupMenu(), nullptr);
}

} // namespace
