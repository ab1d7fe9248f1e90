// The cells of a column over the current record: texts shown and edited, editability,
// stored values, check boxes and stepping.
#include "datagrid/DBGridEh.h"

#include "platform/core/DateTime.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/data/TypedFields.h"
#include "platform/ui/ImageList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

class TCellGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

class CellValuesFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Data = std::make_unique<TMemoryDataSet>(nullptr);
        Data->FieldDefs()->Add(u"名称"_s, TFieldType::ftString, 20);
        Data->FieldDefs()->Add(u"数量"_s, TFieldType::ftInteger);
        Data->FieldDefs()->Add(u"金额"_s, TFieldType::ftFloat);
        Data->FieldDefs()->Add(u"日期"_s, TFieldType::ftDate);
        Data->FieldDefs()->Add(u"已领"_s, TFieldType::ftBoolean);
        Data->FieldDefs()->Add(u"备注"_s, TFieldType::ftMemo);
        Data->Open();
        Data->AppendRecord({Variant(u"订书机"_s), Variant(2), Variant(1234.5),
                            Variant::FromDateTime(EncodeDate(2024, 3, 9)), Variant(true), Variant(u"a"_s)});
        Data->First();
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
        Grid = std::make_unique<TCellGrid>(nullptr);
        Grid->SetDataSource(Source.get());
    }

    void TearDown() override
    {
        Grid.reset();
        Source.reset();
        Data.reset();
    }

    TColumnEh* AddColumn(const String& FieldName, std::initializer_list<String> Picks = {},
                         std::initializer_list<String> Keys = {})
    {
        TColumnEh* Column = Grid->Columns()->Add();
        Column->SetFieldName(FieldName);
        for (const String& S : Picks)
            Column->PickList()->Add(S);
        for (const String& S : Keys)
            Column->KeyList()->Add(S);
        return Column;
    }

    void SetValue(const String& FieldName, const Variant& Value)
    {
        Data->Edit();
        Data->FieldByName(FieldName)->SetValue(Value);
        Data->Post();
    }

    Variant ValueOf(const String& FieldName) const { return Data->FieldByName(FieldName)->Value(); }

    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TCellGrid> Grid;
};

}  // namespace

// --- Formatting ---------------------------------------------------------------------------------

TEST_F(CellValuesFixture, DisplayFormatFormatsNumbersAndDates)
{
    EXPECT_EQ(FormatFieldWithDisplayFormat(Data->FieldByName(u"金额"_s), u"#,##0.00"_s), u"1,234.50"_s);
    EXPECT_EQ(FormatFieldWithDisplayFormat(Data->FieldByName(u"日期"_s), u"yyyy年mm月dd日"_s), u"2024年03月09日"_s);
}

TEST_F(CellValuesFixture, EmptyFormatOrTextFieldShowsDisplayTextAndNullShowsEmpty)
{
    TField* Amount = Data->FieldByName(u"金额"_s);
    EXPECT_EQ(FormatFieldWithDisplayFormat(Amount, String()), Amount->DisplayText());
    // A format on a text field keeps the text instead of blanking the cell.
    EXPECT_EQ(FormatFieldWithDisplayFormat(Data->FieldByName(u"名称"_s), u"0.00"_s), u"订书机"_s);
    SetValue(u"金额"_s, Variant::Null());
    EXPECT_EQ(FormatFieldWithDisplayFormat(Amount, u"0.00"_s), String());
}

TEST_F(CellValuesFixture, OddTextUnderADateFormatShowsTheTextWithoutRaising)
{
    SetValue(u"名称"_s, Variant(u"下周二"_s));
    TColumnEh* Column = AddColumn(u"名称"_s);
    Column->SetDisplayFormat(u"yyyy-mm-dd"_s);
    String Text;
    EXPECT_NO_THROW(Text = Column->ComputeDisplayText());
    EXPECT_EQ(Text, u"下周二"_s);
}

// --- Texts of list columns ----------------------------------------------------------------------

TEST_F(CellValuesFixture, KeyListShorterPickListDisplaysAndEditsWithoutFailing)
{
    TColumnEh* Column = AddColumn(u"数量"_s, {u"一"_s}, {u"1"_s, u"2"_s});
    SetValue(u"数量"_s, Variant(1));
    EXPECT_EQ(Column->ComputeDisplayText(), u"一"_s);
    EXPECT_EQ(Column->ComputeEditorText(), u"一"_s);
    SetValue(u"数量"_s, Variant(2));
    EXPECT_EQ(Column->ComputeDisplayText(), String());
    EXPECT_EQ(Column->ComputeEditorText(), String());
    SetValue(u"数量"_s, Variant(3));
    Column->SetNotInKeyListIndex(0);
    EXPECT_EQ(Column->ComputeDisplayText(), u"一"_s);
    EXPECT_EQ(Column->ComputeDataText(), u"一"_s);
    // The editor does not fall back to NotInKeyListIndex.
    EXPECT_EQ(Column->ComputeEditorText(), String());
}

TEST_F(CellValuesFixture, KeyListWithoutPickListShowsNothing)
{
    TColumnEh* Column = AddColumn(u"数量"_s, {}, {u"2"_s});
    EXPECT_EQ(Column->ComputeDisplayText(), String());
    EXPECT_EQ(Column->ComputeEditorText(), String());
}

TEST_F(CellValuesFixture, DataTextIsTheEditTextAndImageCellsHaveNoText)
{
    TColumnEh* Column = AddColumn(u"金额"_s);
    Column->SetDisplayFormat(u"0.00"_s);
    EXPECT_EQ(Column->ComputeDisplayText(), u"1234.50"_s);
    EXPECT_EQ(Column->ComputeDataText(), Data->FieldByName(u"金额"_s)->Text());
    TImageList Images(nullptr);
    Column->SetImageList(&Images);
    EXPECT_EQ(Column->ComputeDisplayText(), String());
    EXPECT_EQ(Column->ComputeDataText(), String());
    EXPECT_FALSE(Column->UsesTextEditor());
    Column->SetImageList(nullptr);
}

TEST_F(CellValuesFixture, EditorTextAndMaskNeedAnActiveLink)
{
    TColumnEh* Column = AddColumn(u"名称"_s);
    Data->FieldByName(u"名称"_s)->SetEditMask(u"000;0;_"_s);
    EXPECT_EQ(Column->ComputeEditorText(), u"订书机"_s);
    EXPECT_EQ(Column->EffectiveEditMask(), u"000;0;_"_s);
    Column->SetEditMask(u"LL"_s);
    EXPECT_EQ(Column->EffectiveEditMask(), u"LL"_s);
    Column->SetEditMask(String());
    Column->KeyList()->Add(u"x"_s);
    EXPECT_EQ(Column->EffectiveEditMask(), String());
    Data->Close();
    EXPECT_EQ(Column->ComputeEditorText(), String());
    EXPECT_EQ(Column->EffectiveEditMask(), String());
}

// --- Editability and writing --------------------------------------------------------------------

TEST_F(CellValuesFixture, CanEditCellFollowsGridColumnAndField)
{
    TColumnEh* Column = AddColumn(u"名称"_s);
    EXPECT_TRUE(Column->CanEditCell(false));
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
    Grid->SetReadOnly(true);
    EXPECT_FALSE(Column->CanEditCell(false));
    Grid->SetReadOnly(false);
    Column->SetReadOnly(true);
    EXPECT_FALSE(Column->CanEditCell(false));
    Column->SetReadOnly(false);
    Data->FieldByName(u"名称"_s)->SetReadOnly(true);
    EXPECT_FALSE(Column->CanEditCell(false));
    Data->FieldByName(u"名称"_s)->SetReadOnly(false);
    EXPECT_TRUE(Column->CanEditCell(true));
    EXPECT_EQ(Data->State(), TDataSetState::dsEdit);
    Data->Cancel();
}

TEST_F(CellValuesFixture, BlobWithoutSetTextIsNotEditable)
{
    TColumnEh* Column = AddColumn(u"备注"_s);
    EXPECT_FALSE(Column->CanEditCell(false));
    Data->FieldByName(u"备注"_s)->OnSetText = [](TField* F, const String& S) { F->SetAsString(S); };
    EXPECT_TRUE(Column->CanEditCell(false));
}

TEST_F(CellValuesFixture, StoreCellValueByTextByValueAndThroughOnUpdateData)
{
    TColumnEh* Column = AddColumn(u"日期"_s);
    Data->Edit();
    Column->StoreCellValue(String(), Variant::FromDateTime(EncodeDate(2025, 1, 2)), false);
    EXPECT_EQ(Data->FieldByName(u"日期"_s)->AsDateTime(), EncodeDate(2025, 1, 2));
    TColumnEh* Qty = AddColumn(u"数量"_s);
    Qty->StoreCellValue(u"42"_s, Variant(), true);
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(42));
    Qty->OnUpdateData = [](TColumnEh*, String& Text, Variant&, bool&, bool& Handled) {
        Handled = Text == u"0"_s;
        Text = u"7"_s;
    };
    Qty->StoreCellValue(u"0"_s, Variant(), true);
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(42));
    Qty->StoreCellValue(u"1"_s, Variant(), true);
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(7));
    Data->Cancel();
}

// --- List indexes and check boxes ---------------------------------------------------------------

TEST_F(CellValuesFixture, ValueListIndexFromListsOrNumber)
{
    TColumnEh* Column = AddColumn(u"数量"_s);
    EXPECT_EQ(Column->ValueListIndex(), 2);
    Column->PickList()->Add(u"1"_s);
    Column->PickList()->Add(u"2"_s);
    EXPECT_EQ(Column->ValueListIndex(), 1);
    Column->KeyList()->Add(u"2"_s);
    EXPECT_EQ(Column->ValueListIndex(), 0);
    SetValue(u"数量"_s, Variant(9));
    Column->SetNotInKeyListIndex(1);
    EXPECT_EQ(Column->ValueListIndex(), 1);
}

TEST_F(CellValuesFixture, MatchesListItemComparesItemsIgnoringCase)
{
    EXPECT_TRUE(MatchesListItem(u"Y;y;1"_s, u"y"_s));
    EXPECT_TRUE(MatchesListItem(u"Y;y;1"_s, u"1"_s));
    EXPECT_FALSE(MatchesListItem(u"Y;y;1"_s, u"N"_s));
    EXPECT_FALSE(MatchesListItem(u"Y"_s, String()));
    EXPECT_TRUE(MatchesListItem(u"Y;"_s, String()));
    EXPECT_TRUE(MatchesListItem(String(), String()));
}

TEST_F(CellValuesFixture, CheckboxStatesOfBooleanNumberAndKeyList)
{
    TColumnEh* Flag = AddColumn(u"已领"_s);
    EXPECT_EQ(Flag->CurrentCheckboxState(), 1);
    SetValue(u"已领"_s, Variant::Null());
    EXPECT_EQ(Flag->CurrentCheckboxState(), 2);
    TColumnEh* Qty = AddColumn(u"数量"_s);
    EXPECT_EQ(Qty->CurrentCheckboxState(), 0);  // 2 is unchecked, not grayed
    TColumnEh* Name = AddColumn(u"名称"_s, {}, {u"Y;y;1"_s, u"N"_s});
    for (const String& S : {u"Y"_s, u"y"_s, u"1"_s}) {
        SetValue(u"名称"_s, Variant(S));
        EXPECT_EQ(Name->CurrentCheckboxState(), 1) << S.toStdString();
    }
    SetValue(u"名称"_s, Variant(u"N"_s));
    EXPECT_EQ(Name->CurrentCheckboxState(), 0);
    SetValue(u"名称"_s, Variant(u"?"_s));
    EXPECT_EQ(Name->CurrentCheckboxState(), 2);
    Data->Edit();
    Name->StepCheckboxState(1);
    EXPECT_EQ(ValueOf(u"名称"_s), Variant(u"Y"_s));
    Flag->StepCheckboxState(0);
    EXPECT_EQ(ValueOf(u"已领"_s), Variant(false));
    Qty->StepCheckboxState(1);
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(1));
    Qty->StepCheckboxState(2);
    EXPECT_TRUE(VarIsNull(ValueOf(u"数量"_s)));
    Data->Cancel();
}

// --- Stepping -----------------------------------------------------------------------------------

TEST_F(CellValuesFixture, SteppingANullNumberStoresZeroPlusNothing)
{
    TColumnEh* Qty = AddColumn(u"数量"_s);
    SetValue(u"数量"_s, Variant::Null());
    Qty->StepCellValue(5);
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(0));
    Qty->StepCellValue(5);
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(5));
    Data->Cancel();
}

TEST_F(CellValuesFixture, PickListStepWrapsDirectlyAndStepsMiddleThroughOnUpdateData)
{
    TColumnEh* Name = AddColumn(u"名称"_s, {u"甲"_s, u"乙"_s, u"丙"_s});
    int Updates = 0;
    Name->OnUpdateData = [&](TColumnEh*, String&, Variant&, bool&, bool&) { ++Updates; };
    SetValue(u"名称"_s, Variant(u"丙"_s));
    Name->StepCellValue(1);
    EXPECT_EQ(ValueOf(u"名称"_s), Variant(u"甲"_s));
    EXPECT_EQ(Updates, 0);
    Name->StepCellValue(1);
    EXPECT_EQ(ValueOf(u"名称"_s), Variant(u"乙"_s));
    EXPECT_EQ(Updates, 1);
    // Any step other than exactly 1 goes backward.
    Name->StepCellValue(2);
    EXPECT_EQ(ValueOf(u"名称"_s), Variant(u"甲"_s));
    Name->StepCellValue(-2);
    EXPECT_EQ(ValueOf(u"名称"_s), Variant(u"丙"_s));
    Data->Cancel();
}

TEST_F(CellValuesFixture, KeyListStepWritesTheKeyAndImageColumnWithoutKeysStepsTheNumber)
{
    TColumnEh* Qty = AddColumn(u"数量"_s, {u"二"_s, u"五"_s}, {u"2"_s, u"5"_s});
    Qty->StepCellValue(1);
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(5));
    Qty->StepCellValue(1);
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(2));
    Data->Cancel();

    Grid->Columns()->Clear();
    TColumnEh* Images = AddColumn(u"数量"_s);
    TImageList List(nullptr);
    Images->SetImageList(&List);
    EXPECT_NO_THROW(Images->StepCellValue(1));
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(3));
    Images->SetImageList(nullptr);
    Data->Cancel();
}

TEST_F(CellValuesFixture, SteppingAReadOnlyColumnChangesNothing)
{
    TColumnEh* Qty = AddColumn(u"数量"_s);
    Qty->SetReadOnly(true);
    Qty->StepCellValue(1);
    EXPECT_EQ(ValueOf(u"数量"_s), Variant(2));
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
}

// --- Buttons ------------------------------------------------------------------------------------

TEST_F(CellValuesFixture, ButtonKindFollowsStyleFieldAndLists)
{
    TColumnEh* Day = AddColumn(u"日期"_s);
    EXPECT_EQ(Day->EffectiveButtonKind(), TCellButtonKindEh::cbkCalendar);
    Data->FieldByName(u"日期"_s)->SetReadOnly(true);
    EXPECT_EQ(Day->EffectiveButtonKind(), TCellButtonKindEh::cbkNone);
    Day->SetButtonStyle(TColumnButtonStyleEh::cbsAltDropDown);
    EXPECT_EQ(Day->EffectiveButtonKind(), TCellButtonKindEh::cbkAltCalendar);
    TColumnEh* Name = AddColumn(u"名称"_s);
    Name->SetButtonStyle(TColumnButtonStyleEh::cbsAltDropDown);
    EXPECT_EQ(Name->EffectiveButtonKind(), TCellButtonKindEh::cbkAltDropDown);
    Name->SetButtonStyle(TColumnButtonStyleEh::cbsAuto);
    EXPECT_EQ(Name->EffectiveButtonKind(), TCellButtonKindEh::cbkNone);
    Name->PickList()->Add(u"甲"_s);
    EXPECT_EQ(Name->EffectiveButtonKind(), TCellButtonKindEh::cbkPickList);
    Name->SetReadOnly(true);
    EXPECT_EQ(Name->EffectiveButtonKind(), TCellButtonKindEh::cbkNone);
}

TEST_F(CellValuesFixture, EditButtonsTotalWidthAddsTheMainAndVisibleButtons)
{
    TColumnEh* Name = AddColumn(u"名称"_s);
    EXPECT_EQ(Name->EditButtonsTotalWidth(), 0);
    Name->SetButtonStyle(TColumnButtonStyleEh::cbsEllipsis);
    const int Main = Name->EditButtonsTotalWidth();
    EXPECT_GT(Main, 0);
    auto* Fixed = static_cast<TEditButtonEh*>(Name->EditButtons()->Add());
    Fixed->SetWidth(30);
    Fixed->SetVisible(true);
    EXPECT_EQ(Name->EditButtonsTotalWidth(), Main + 30);
    auto* Default = static_cast<TEditButtonEh*>(Name->EditButtons()->Add());
    Default->SetVisible(true);
    EXPECT_EQ(Name->EditButtonsTotalWidth(), 2 * Main + 30);
    Default->SetVisible(false);
    EXPECT_EQ(Name->EditButtonsTotalWidth(), Main + 30);
}

// --- Lookup columns -----------------------------------------------------------------------------

namespace {

// Issues (人 = a person's id) with a lookup field 姓名 over a list of three people.
class LookupCellFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        People = new TMemoryDataSet(&Owner);
        People->FieldDefs()->Add(u"id"_s, TFieldType::ftInteger);
        People->FieldDefs()->Add(u"姓名"_s, TFieldType::ftString, 10);
        People->Open();
        People->AppendRecord({1, u"张三"_s});
        People->AppendRecord({2, u"李四"_s});
        People->AppendRecord({3, u"王五"_s});
        Issues = new TMemoryDataSet(&Owner);
        Issues->FieldDefs()->Add(u"人"_s, TFieldType::ftInteger);
        auto* Who = new TIntegerField(&Owner);
        Who->SetFieldName(u"人"_s);
        Who->SetDataSet(Issues);
        auto* Name = new TStringField(&Owner);
        Name->SetFieldName(u"姓名"_s);
        Name->SetFieldKind(TFieldKind::fkLookup);
        Name->SetKeyFields(u"人"_s);
        Name->SetLookupDataSet(People);
        Name->SetLookupKeyFields(u"id"_s);
        Name->SetLookupResultField(u"姓名"_s);
        Name->SetDataSet(Issues);
        Issues->Open();
        Issues->AppendRecord({2});
        Source = new TDataSource(&Owner);
        Source->SetDataSet(Issues);
        Grid = new TCellGrid(&Owner);
        Grid->SetDataSource(Source);
        Column = Grid->Columns()->Add();
        Column->SetFieldName(u"姓名"_s);
    }

    Variant Person() const { return Issues->FieldByName(u"人"_s)->Value(); }

    TComponent Owner{nullptr};
    TMemoryDataSet* People = nullptr;
    TMemoryDataSet* Issues = nullptr;
    TDataSource* Source = nullptr;
    TCellGrid* Grid = nullptr;
    TColumnEh* Column = nullptr;
};

}  // namespace

TEST_F(LookupCellFixture, LookupColumnShowsTheListValueAndKnowsWhetherTheKeyIsListed)
{
    EXPECT_EQ(Column->ClassifyCellKind(), TColumnCellKindEh::cckLookupField);
    EXPECT_EQ(Column->ComputeDisplayText(), u"李四"_s);
    EXPECT_EQ(Column->ComputeDataText(), u"李四"_s);
    EXPECT_EQ(Column->LookupListDataSet(), People);
    EXPECT_TRUE(Column->KeyValueInList());
    EXPECT_EQ(Column->EffectiveButtonKind(), TCellButtonKindEh::cbkLookupList);
    Issues->Edit();
    Issues->FieldByName(u"人"_s)->SetValue(Variant(9));
    EXPECT_FALSE(Column->KeyValueInList());
    Issues->Cancel();
}

TEST_F(LookupCellFixture, SteppingALookupCellWritesTheNeighbouringListKey)
{
    Column->StepCellValue(1);
    EXPECT_EQ(Person(), Variant(3));
    Column->StepCellValue(1);
    EXPECT_EQ(Person(), Variant(1));  // past the last person: the first
    Column->StepCellValue(-1);
    EXPECT_EQ(Person(), Variant(3));  // before the first: the last
    Issues->FieldByName(u"人"_s)->Clear();
    Column->StepCellValue(-1);
    EXPECT_EQ(Person(), Variant(1));  // no key yet: the first
    EXPECT_EQ(Column->ComputeDisplayText(), u"张三"_s);
    Issues->Cancel();
}

TEST_F(LookupCellFixture, LookupKeyFieldsReadOnlyMakeTheCellUneditable)
{
    EXPECT_TRUE(Column->CanEditCell(false));
    Issues->FieldByName(u"人"_s)->SetReadOnly(true);
    EXPECT_FALSE(Column->CanEditCell(false));
    EXPECT_EQ(Column->EffectiveButtonKind(), TCellButtonKindEh::cbkNone);
    Column->StepCellValue(1);
    EXPECT_EQ(Person(), Variant(2));
}

TEST_F(LookupCellFixture, SpecialRowTextShowsForItsKeyOrForKeysNotListed)
{
    Column->DropDownSpecRow()->SetCellsText(u"(无人)"_s);
    Column->DropDownSpecRow()->SetValue(Variant(0));
    Column->DropDownSpecRow()->SetShowIfNotInKeyList(false);
    Issues->Edit();
    Issues->FieldByName(u"人"_s)->SetValue(Variant(0));
    EXPECT_EQ(Column->ComputeDisplayText(), String());  // hidden row: the lookup value
    Column->DropDownSpecRow()->SetVisible(true);
    EXPECT_EQ(Column->ComputeDisplayText(), u"(无人)"_s);
    EXPECT_EQ(Column->ComputeEditorText(), u"(无人)"_s);
    Issues->FieldByName(u"人"_s)->SetValue(Variant(9));
    EXPECT_EQ(Column->ComputeDisplayText(), String());
    Column->DropDownSpecRow()->SetShowIfNotInKeyList(true);
    EXPECT_EQ(Column->ComputeDisplayText(), u"(无人)"_s);
    Issues->FieldByName(u"人"_s)->SetValue(Variant(1));
    EXPECT_EQ(Column->ComputeDisplayText(), u"张三"_s);
    EXPECT_EQ(Column->ComputeEditorText(), u"张三"_s);
    Issues->Cancel();
}

TEST_F(CellValuesFixture, TypedCharactersFollowTheFieldUnlessAKeyListDecides)
{
    TColumnEh* Qty = AddColumn(u"数量"_s);
    EXPECT_TRUE(Qty->IsValidCharFor(u'7'));
    EXPECT_FALSE(Qty->IsValidCharFor(u'x'));
    EXPECT_EQ(Qty->FilterAcceptedChars(u"1a2b3"_s), u"123"_s);
    Qty->KeyList()->Add(u"a"_s);
    EXPECT_EQ(Qty->FilterAcceptedChars(u"1a2b3"_s), u"1a2b3"_s);
    TColumnEh* Unbound = AddColumn(String());
    EXPECT_FALSE(Unbound->IsValidCharFor(u'a'));
    Unbound->OnUpdateData = [](TColumnEh*, String&, Variant&, bool&, bool&) {};
    EXPECT_TRUE(Unbound->IsValidCharFor(u'a'));
}
