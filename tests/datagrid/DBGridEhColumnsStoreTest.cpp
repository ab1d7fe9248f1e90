// Stored column sets: a grid's columns written as a description and read into another grid.
#include "DBGridEhTestGrid.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/data/Field.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"

using enum TColumnEhAssignedValue;

namespace {

class DBGridEhColumnsStoreTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        Grid->SetDataSource(Source.get());
        Other = std::make_unique<TTestDBGridEh>(nullptr);
        Other->SetDataSource(Source.get());
    }

    void TearDown() override
    {
        Other.reset();
        DBGridEhFixture::TearDown();
    }

    // The columns of the application's stock-in list: assigned captions, widths, footers.
    void BuildStockColumns()
    {
        Grid->SetFooterRowCount(2);
        TColumnEh* Name = AddColumn(u"名称"_s);
        Name->Title()->SetCaption(u"物品名称"_s);
        Name->Title()->SetAlignment(TAlignment::taCenter);
        Name->SetWidth(121);
        Name->Footer()->SetValueType(TFooterValueType::fvtStaticText);
        Name->Footer()->SetValue(u"总数量"_s);
        Name->Footer()->Font()->SetColor(clBlue);
        Name->Footer()->Font()->SetStyle({TFontStyle::fsBold});
        Name->Footer()->SetAlignment(TAlignment::taCenter);

        TColumnEh* Qty = AddColumn(u"数量"_s);
        // Characters the description itself uses, in a caption.
        Qty->Title()->SetCaption(u"数量=件|个\\计\n量"_s);
        Qty->SetAlignment(TAlignment::taCenter);
        Qty->SetReadOnly(true);
        Qty->SetWordWrap(true);
        Qty->Font()->SetStyle({TFontStyle::fsItalic});
        Qty->PickList()->SetCommaText(u"1,\"2 件\",3"_s);
        Qty->SetMinWidth(20);
        static_cast<TColumnFooterEh*>(Qty->Footers()->Add())->SetValueType(TFooterValueType::fvtSum);
        auto* Count = static_cast<TColumnFooterEh*>(Qty->Footers()->Add());
        Count->SetValueType(TFooterValueType::fvtCount);
        Count->SetDisplayFormat(u"0 条"_s);

        TColumnEh* Amount = AddColumn(u"金额"_s);
        Amount->SetVisible(false);
    }

    std::unique_ptr<TTestDBGridEh> Other;
};

TEST_F(DBGridEhColumnsStoreTest, ColumnsComeBackFromTheirDescriptionInAFreshGrid)
{
    BuildStockColumns();
    Other->SetFooterRowCount(2);
    TStringList Description;
    StoreColumns(Grid->Columns(), &Description);
    LoadColumns(Other->Columns(), &Description);

    TDBGridColumnsEh* Loaded = Other->Columns();
    ASSERT_EQ(Loaded->Count(), 3);
    EXPECT_FALSE(Other->Loading());
    for (int i = 0; i < 3; ++i) {
        TColumnEh* From = Grid->Columns()->ColumnAt(i);
        TColumnEh* To = Loaded->ColumnAt(i);
        SCOPED_TRACE(From->FieldName().toStdString());
        EXPECT_EQ(To->FieldName(), From->FieldName());
        EXPECT_EQ(To->Field(), From->Field());
        EXPECT_EQ(To->AssignedValues().Bits(), From->AssignedValues().Bits());
        EXPECT_EQ(To->Width(), From->Width());
        EXPECT_EQ(To->Visible(), From->Visible());
        EXPECT_EQ(To->Alignment(), From->Alignment());
        EXPECT_EQ(To->Font()->Style(), From->Font()->Style());
        EXPECT_EQ(To->Title()->Caption(), From->Title()->Caption());
        EXPECT_EQ(To->Title()->Alignment(), From->Title()->Alignment());
        EXPECT_EQ(To->Footer()->ValueType(), From->Footer()->ValueType());
        EXPECT_EQ(To->Footer()->Value(), From->Footer()->Value());
        EXPECT_EQ(To->Footer()->Alignment(), From->Footer()->Alignment());
        EXPECT_EQ(To->Footer()->Font()->Color(), From->Footer()->Font()->Color());
        EXPECT_EQ(To->Footer()->Font()->Style(), From->Footer()->Font()->Style());
        ASSERT_EQ(To->Footers()->Count(), From->Footers()->Count());
        for (int f = 0; f < From->Footers()->Count(); ++f) {
            EXPECT_EQ(To->Footers()->FooterAt(f)->ValueType(), From->Footers()->FooterAt(f)->ValueType());
            EXPECT_EQ(To->Footers()->FooterAt(f)->DisplayFormat(), From->Footers()->FooterAt(f)->DisplayFormat());
        }
    }
    TColumnEh* Qty = Loaded->ColumnAt(1);
    EXPECT_TRUE(Qty->ReadOnly());
    EXPECT_TRUE(Qty->WordWrap());
    EXPECT_EQ(Qty->MinWidth(), 20);
    EXPECT_EQ(Qty->PickList()->Count(), 3);
    EXPECT_EQ(Qty->PickList()->Strings(1), u"2 件"_s);
    // The column nothing was assigned to keeps following its field and the grid.
    TColumnEh* Amount = Loaded->ColumnAt(2);
    EXPECT_TRUE(Amount->AssignedValues().Empty());
    EXPECT_EQ(Amount->Title()->Caption(), Data->FieldByName(u"金额"_s)->DisplayName());
    Data->FieldByName(u"金额"_s)->SetAlignment(TAlignment::taCenter);
    EXPECT_EQ(Amount->Alignment(), TAlignment::taCenter);

    // Written again, the loaded set gives the same description.
    TStringList Again;
    StoreColumns(Loaded, &Again);
    EXPECT_EQ(Again.Text(), Description.Text());
}

TEST_F(DBGridEhColumnsStoreTest, LoadingReplacesTheColumnsAndTheFootersFollowTheData)
{
    BuildStockColumns();
    Other->Columns()->Add()->SetFieldName(u"id"_s);
    Other->SetFooterRowCount(2);
    Other->SumList()->SetActive(true);
    TStringList Description;
    StoreColumns(Grid->Columns(), &Description);
    LoadColumns(Other->Columns(), &Description);
    ASSERT_EQ(Other->Columns()->Count(), 3);
    EXPECT_EQ(Other->Columns()->ColumnAt(0)->FieldName(), u"名称"_s);
    // 3 + 5 + Null: the loaded footer sums the field.
    TDBSum* Sum = Other->Columns()->ColumnAt(1)->Footers()->FooterAt(0)->SumItem();
    ASSERT_NE(Sum, nullptr);
    Other->SumList()->RecalculateAll();
    EXPECT_EQ(Sum->SumValue().Raw(), 8 * 10000);
}

TEST_F(DBGridEhColumnsStoreTest, TheLegacyColumnOrderIsReadAndWidthsFeedAutoFitting)
{
    TStringList Description;
    Description.SetText(u"item\nFieldName=名称\nend\nitem\nFieldName=数量\nWidth=77\nend\nColumnsIndex=\"数量\",\"名称\"\n"_s);
    LoadColumns(Grid->Columns(), &Description);
    ASSERT_EQ(Grid->Columns()->Count(), 2);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->FieldName(), u"数量"_s);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->Width(), 77);

    // Under AutoFitColWidths a stored width is the width fitting scales from.
    Other->SetAutoFitColWidths(true);
    Description.SetText(u"item\nFieldName=名称\nWidth=90\nend\n"_s);
    LoadColumns(Other->Columns(), &Description);
    EXPECT_EQ(Other->Columns()->ColumnAt(0)->DesignWidth(), 90);
}

TEST_F(DBGridEhColumnsStoreTest, BadDescriptionsRaiseAndLeaveTheGridUsable)
{
    const char16_t* Bad[] = {
        u"item\nFieldName=名称\nNoSuchProperty=1\nend\n",
        u"item\nFieldName=名称\n",
        u"end\n",
        u"item\nReadOnly=maybe\nend\n",
        u"item\nTitle.Alignment=taSideways\nend\n",
        u"item\nFooters[3].Value=x\nend\n",
        u"Unknown=1\n",
    };
    for (const char16_t* Text : Bad) {
        TStringList Description;
        Description.SetText(String(reinterpret_cast<const QChar*>(Text)));
        SCOPED_TRACE(Description.Text().toStdString());
        EXPECT_THROW(LoadColumns(Other->Columns(), &Description), EReadError);
        EXPECT_FALSE(Other->Loading());
    }
    // Still able to load a sound description afterwards.
    TStringList Good;
    Good.SetText(u"item\nFieldName=金额\nTitle.Caption=金额（元）\nend\n"_s);
    LoadColumns(Other->Columns(), &Good);
    ASSERT_EQ(Other->Columns()->Count(), 1);
    EXPECT_EQ(Other->Columns()->ColumnAt(0)->Title()->Caption(), u"金额（元）"_s);
    EXPECT_EQ(Other->Columns()->ColumnAt(0)->Field(), Data->FieldByName(u"金额"_s));
}

// Two grids on one owner with the components their columns refer to, as a window holds them.
class DBGridEhColumnsStoreReferencesTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        Form = std::make_unique<TComponent>(nullptr);
        Images = Named(new TImageList(Form.get()), u"Images"_s);
        ColumnMenu = Named(new TPopupMenu(Form.get()), u"ColumnMenu"_s);
        ButtonMenu = Named(new TPopupMenu(Form.get()), u"ButtonMenu"_s);
        BoxSource = Named(new TDataSource(Form.get()), u"BoxSource"_s);
        BoxSource->SetDataSet(Data.get());
        FilterSource = Named(new TDataSource(Form.get()), u"FilterSource"_s);
        FilterSource->SetDataSet(Data.get());
        Pick = Named(new TCustomAction(Form.get()), u"PickAction"_s);
        Pick->SetHint(u"选择物品"_s);
        Stored = Named(new TTestDBGridEh(Form.get()), u"StoredGrid"_s);
        Stored->SetDataSource(Source.get());
        Loaded = Named(new TTestDBGridEh(Form.get()), u"LoadedGrid"_s);
        Loaded->SetDataSource(Source.get());
    }

    void TearDown() override
    {
        Form.reset();
        DBGridEhFixture::TearDown();
    }

    template <class T>
    static T* Named(T* Component, const String& Name)
    {
        Component->SetName(Name);
        return Component;
    }

    // A column referring to every kind of component a column can refer to.
    TColumnEh* BuildReferringColumn()
    {
        TColumnEh* Column = Stored->Columns()->Add();
        Column->SetFieldName(u"名称"_s);
        Column->SetImageList(Images);
        Column->SetPopupMenu(ColumnMenu);
        Column->DropDownBox()->SetListSource(BoxSource);
        Column->DropDownBox()->SetOptions(dlgRowLinesEh | dlgAutoSortMarkingEh);
        Column->DropDownBox()->SetSortLocal(true);
        Column->DropDownBox()->SetAutoFitColWidths(false);
        Column->STFilter()->SetListSource(FilterSource);
        Column->STFilter()->SetListField(u"名称"_s);
        Column->STFilter()->SetDataField(u"id"_s);
        Column->STFilter()->SetVisible(false);
        auto* Menu = static_cast<TEditButtonEh*>(Column->EditButtons()->Add());
        Menu->SetDropdownMenu(ButtonMenu);
        Menu->SetStyle(TEditButtonStyleEh::ebsEllipsisEh);
        Menu->SetWidth(20);
        auto* Acting = static_cast<TEditButtonEh*>(Column->EditButtons()->Add());
        Acting->SetAction(Pick);
        return Column;
    }

    std::unique_ptr<TComponent> Form;
    TImageList* Images = nullptr;
    TPopupMenu* ColumnMenu = nullptr;
    TPopupMenu* ButtonMenu = nullptr;
    TDataSource* BoxSource = nullptr;
    TDataSource* FilterSource = nullptr;
    TCustomAction* Pick = nullptr;
    TTestDBGridEh* Stored = nullptr;
    TTestDBGridEh* Loaded = nullptr;
};

TEST_F(DBGridEhColumnsStoreReferencesTest, ReferencesComeBackToTheSameComponents)
{
    BuildReferringColumn();
    Stored->Columns()->Add()->SetFieldName(u"数量"_s);
    TStringList Description;
    StoreColumns(Stored->Columns(), &Description);
    // By name, never by anything that changes between runs.
    EXPECT_GE(Description.IndexOf(u"ImageList=Images"_s), 0);
    EXPECT_GE(Description.IndexOf(u"STFilter.ListSource=FilterSource"_s), 0);
    EXPECT_GE(Description.IndexOf(u"EditButtons[1].Action=PickAction"_s), 0);
    // The action's hint is the action's: not written with the button.
    EXPECT_EQ(Description.IndexOf(u"EditButtons[1].Hint=选择物品"_s), -1);

    LoadColumns(Loaded->Columns(), &Description);
    ASSERT_EQ(Loaded->Columns()->Count(), 2);
    TColumnEh* Column = Loaded->Columns()->ColumnAt(0);
    EXPECT_EQ(Column->ImageList(), Images);
    EXPECT_EQ(Column->PopupMenu(), ColumnMenu);
    EXPECT_EQ(Column->DropDownBox()->ListSource(), BoxSource);
    EXPECT_EQ(Column->DropDownBox()->Options(), dlgRowLinesEh | dlgAutoSortMarkingEh);
    EXPECT_TRUE(Column->DropDownBox()->SortLocal());
    EXPECT_FALSE(Column->DropDownBox()->AutoFitColWidths());
    EXPECT_EQ(Column->STFilter()->ListSource(), FilterSource);
    EXPECT_EQ(Column->STFilter()->ListField(), u"名称"_s);
    EXPECT_EQ(Column->STFilter()->DataField(), u"id"_s);
    EXPECT_FALSE(Column->STFilter()->Visible());
    ASSERT_EQ(Column->EditButtons()->Count(), 2);
    EXPECT_EQ(Column->EditButtons()->ItemAt(0)->DropdownMenu(), ButtonMenu);
    EXPECT_EQ(Column->EditButtons()->ItemAt(0)->Style(), TEditButtonStyleEh::ebsEllipsisEh);
    EXPECT_EQ(Column->EditButtons()->ItemAt(0)->Width(), 20);
    EXPECT_EQ(Column->EditButtons()->ItemAt(1)->Action(), Pick);
    EXPECT_EQ(Column->EditButtons()->ItemAt(1)->Hint(), u"选择物品"_s);
    // The loaded filter lists its source's values.
    ASSERT_NE(Column->FilterValueList(), nullptr);
    EXPECT_GE(Column->FilterValueList()->GetValues()->IndexOf(u"胶水"_s), 0);
    // The column that referred to nothing refers to nothing.
    TColumnEh* Plain = Loaded->Columns()->ColumnAt(1);
    EXPECT_EQ(Plain->ImageList(), nullptr);
    EXPECT_EQ(Plain->STFilter()->ListSource(), nullptr);
    EXPECT_EQ(Plain->EditButtons()->Count(), 0);

    TStringList Again;
    StoreColumns(Loaded->Columns(), &Again);
    EXPECT_EQ(Again.Text(), Description.Text());

    // The loaded references are let go of when their components are freed.
    delete FilterSource;
    FilterSource = nullptr;
    delete ButtonMenu;
    ButtonMenu = nullptr;
    EXPECT_EQ(Column->STFilter()->ListSource(), nullptr);
    EXPECT_EQ(Column->EditButtons()->ItemAt(0)->DropdownMenu(), nullptr);
}

TEST_F(DBGridEhColumnsStoreReferencesTest, AReferenceToNothingOrToTheWrongKindRaisesTheReadError)
{
    const char16_t* Bad[] = {
        u"item\nFieldName=名称\nImageList=NoSuchImages\nend\n",
        u"item\nFieldName=名称\nSTFilter.ListSource=Gone\nend\n",
        u"item\nFieldName=名称\nEditButtons[0].DropdownMenu=Images\nend\n",
        u"item\nFieldName=名称\nDropDownBox.ListSource=ColumnMenu\nend\n",
        u"item\nFieldName=名称\nDropDownBox.Options=dlgSideways\nend\n",
        u"item\nFieldName=名称\nEditButtons[2].Style=ebsGlyphEh\nend\n",
    };
    for (const char16_t* Text : Bad) {
        TStringList Description;
        Description.SetText(String(reinterpret_cast<const QChar*>(Text)));
        SCOPED_TRACE(Description.Text().toStdString());
        EXPECT_THROW(LoadColumns(Loaded->Columns(), &Description), EReadError);
        EXPECT_FALSE(Loaded->Loading());
    }
    // A grid with no owner has no components to find by name.
    TStringList Description;
    Description.SetText(u"item\nFieldName=名称\nPopupMenu=ColumnMenu\nend\n"_s);
    EXPECT_THROW(LoadColumns(Grid->Columns(), &Description), EReadError);
    LoadColumns(Loaded->Columns(), &Description);
    EXPECT_EQ(Loaded->Columns()->ColumnAt(0)->PopupMenu(), ColumnMenu);
}

// A stored set is read back on the same window: a component of another owner could not be
// found there again, so the set does not name it and loads without it.
TEST_F(DBGridEhColumnsStoreReferencesTest, AComponentOfAnotherOwnerIsNotWrittenAndTheSetLoads)
{
    TComponent Module(nullptr);
    auto* ModuleSource = Named(new TDataSource(&Module), u"ModuleSource"_s);
    TColumnEh* Column = Stored->Columns()->Add();
    Column->SetFieldName(u"名称"_s);
    Column->STFilter()->SetListSource(ModuleSource);
    Column->SetPopupMenu(ColumnMenu);
    TStringList Description;
    StoreColumns(Stored->Columns(), &Description);
    EXPECT_EQ(Description.Text().indexOf(u"ModuleSource"_s), -1);
    LoadColumns(Loaded->Columns(), &Description);
    ASSERT_EQ(Loaded->Columns()->Count(), 1);
    EXPECT_EQ(Loaded->Columns()->ColumnAt(0)->STFilter()->ListSource(), nullptr);
    EXPECT_EQ(Loaded->Columns()->ColumnAt(0)->PopupMenu(), ColumnMenu);
    Column->STFilter()->SetListSource(nullptr);
}

}  // namespace
