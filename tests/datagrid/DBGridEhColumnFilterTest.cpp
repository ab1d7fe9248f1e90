// A column's filter settings and the distinct values its filter drop-down offers: from the
// filter's list source, from the grid's memory table, or none.
#include "DBGridEhTestGrid.h"
#include "MemTableTestSupport.h"

#include "datagrid/DBGridEhFilterRow.h"
#include "platform/data/Field.h"

namespace {

bool Lists(TStrings* Values, const String& Text) { return Values->IndexOf(Text) >= 0; }

class DBGridEhColumnFilterTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        ListData.reset(NewStockDataSet(nullptr));
        ListData->Open();
        for (const char16_t* Name : {u"铅笔", u"订书机", u"铅笔", u"胶水", u"订书机"})
            ListData->AppendRecord({Variant(), Variant(String(reinterpret_cast<const QChar*>(Name))), Variant(1),
                                    Variant(1.0)});
        ListData->First();
        ListSource = std::make_unique<TDataSource>(nullptr);
        ListSource->SetDataSet(ListData.get());
        Grid->SetDataSource(Source.get());
    }

    void TearDown() override
    {
        Grid->SetDataSource(nullptr);
        ListSource.reset();
        ListData.reset();
        DBGridEhFixture::TearDown();
    }

    // The grid reads the memory table when its link opens.
    void ShowDataSet(TDataSet* DataSet)
    {
        Grid->SetDataSource(nullptr);
        Source->SetDataSet(DataSet);
        Grid->SetDataSource(Source.get());
    }

    TColumnEh* ListedColumn()
    {
        TColumnEh* Column = AddColumn(u"名称"_s);
        Column->STFilter()->SetListSource(ListSource.get());
        Column->STFilter()->SetListField(u"名称"_s);
        return Column;
    }

    std::unique_ptr<TMemoryDataSet> ListData;
    std::unique_ptr<TDataSource> ListSource;
};

TEST_F(DBGridEhColumnFilterTest, AListSourceGivesItsDistinctValuesAndFollowsItsDataset)
{
    TColumnEh* Column = ListedColumn();
    ListData->MoveBy(2);
    const auto List = Column->FilterValueList();
    ASSERT_NE(List, nullptr);
    TStrings* Values = List->GetValues();
    EXPECT_EQ(Values->Count(), 3);
    EXPECT_TRUE(Lists(Values, u"铅笔"_s));
    EXPECT_TRUE(Lists(Values, u"订书机"_s));
    EXPECT_TRUE(Lists(Values, u"胶水"_s));
    // Reading the list leaves the list dataset where it was.
    EXPECT_EQ(ListData->RecNo(), 3);
    // Kept: the same list answers again.
    EXPECT_EQ(Column->FilterValueList(), List);

    ListData->AppendRecord({Variant(), Variant(u"剪刀"_s), Variant(1), Variant(1.0)});
    Values = List->GetValues();
    EXPECT_EQ(Values->Count(), 4);
    EXPECT_TRUE(Lists(Values, u"剪刀"_s));

    // Another list field makes another list.
    Column->STFilter()->SetListField(u"数量"_s);
    const auto Quantities = Column->FilterValueList();
    ASSERT_NE(Quantities, List);
    EXPECT_EQ(Quantities->GetValues()->Count(), 1);
    EXPECT_TRUE(Lists(Quantities->GetValues(), u"1"_s));
    // So does another list source.
    TDataSource Other(nullptr);
    Other.SetDataSet(Data.get());
    Column->STFilter()->SetListSource(&Other);
    const auto FromOther = Column->FilterValueList();
    ASSERT_NE(FromOther, Quantities);
    EXPECT_TRUE(Lists(FromOther->GetValues(), u"5"_s));
    Column->STFilter()->SetListSource(nullptr);
}

TEST_F(DBGridEhColumnFilterTest, WithoutAListOrAMemoryTableThereAreNoValues)
{
    TColumnEh* Column = AddColumn(u"名称"_s);
    EXPECT_EQ(Column->FilterValueList(), nullptr);
    // A list field alone is no list.
    Column->STFilter()->SetListField(u"名称"_s);
    EXPECT_EQ(Column->FilterValueList(), nullptr);
}

TEST_F(DBGridEhColumnFilterTest, TheMemoryTableGivesTheValuesOfTheColumnsField)
{
    std::unique_ptr<TMemTableDataSet> Table(NewStockDataSet<TMemTableDataSet>(nullptr));
    Table->Open();
    for (int Qty : {4, 2, 4, 9})
        Table->AppendRecord({Variant(), Variant(u"笔"_s), Variant(Qty), Variant(1.0)});
    ShowDataSet(Table.get());
    ASSERT_TRUE(Grid->IsMemTableMode());

    TColumnEh* Qty = AddColumn(u"数量"_s);
    const auto List = Qty->FilterValueList();
    ASSERT_NE(List, nullptr);
    TStrings* Values = List->GetValues();
    EXPECT_EQ(Values->Count(), 3);
    EXPECT_TRUE(Lists(Values, u"2"_s));
    EXPECT_TRUE(Lists(Values, u"4"_s));
    EXPECT_TRUE(Lists(Values, u"9"_s));
    // The application's "序号" column names no field: no values, and no error.
    EXPECT_EQ(AddColumn(u"序号"_s)->FilterValueList(), nullptr);

    // A list source wins over the memory table.
    TColumnEh* Listed = ListedColumn();
    const auto Names = Listed->FilterValueList();
    ASSERT_NE(Names, nullptr);
    EXPECT_TRUE(Lists(Names->GetValues(), u"胶水"_s));
    EXPECT_FALSE(Lists(Names->GetValues(), u"笔"_s));
    ShowDataSet(Data.get());
}

TEST_F(DBGridEhColumnFilterTest, ReleasingTheFieldBindingsDropsTheKeptValues)
{
    std::unique_ptr<TMemTableDataSet> Table(NewStockDataSet<TMemTableDataSet>(nullptr));
    Table->Open();
    Table->AppendRecord({Variant(), Variant(u"笔"_s), Variant(1), Variant(1.0)});
    ShowDataSet(Table.get());
    TColumnEh* Qty = AddColumn(u"数量"_s);
    TColumnEh* Listed = ListedColumn();
    const auto Kept = Listed->FilterValueList();
    ASSERT_NE(Qty->FilterValueList(), nullptr);

    // Closed: no memory table any more, and the list column makes a new list.
    Table->Close();
    EXPECT_EQ(Qty->FilterValueList(), nullptr);
    const auto Fresh = Listed->FilterValueList();
    ASSERT_NE(Fresh, nullptr);
    EXPECT_NE(Fresh, Kept);
    Table->Open();
    EXPECT_NE(Qty->FilterValueList(), nullptr);

    // The collection's release drops them too.
    Grid->Columns()->ReleaseFieldBindings();
    EXPECT_NE(Listed->FilterValueList(), Fresh);
    ShowDataSet(Data.get());
}

TEST_F(DBGridEhColumnFilterTest, AFreedListSourceIsForgotten)
{
    TColumnEh* Column = ListedColumn();
    const auto Kept = Column->FilterValueList();
    ASSERT_NE(Kept, nullptr);
    ListSource.reset();
    EXPECT_EQ(Column->STFilter()->ListSource(), nullptr);
    EXPECT_EQ(Column->FilterValueList(), nullptr);
    // A list handed out before still answers, empty.
    EXPECT_EQ(Kept->GetValues()->Count(), 0);
}

TEST_F(DBGridEhColumnFilterTest, AssignCopiesTheFilterSettings)
{
    TColumnEh* From = ListedColumn();
    TSTColumnFilterEh* Filter = From->STFilter();
    Filter->SetDataField(u"金额"_s);
    Filter->SetKeyField(u"id"_s);
    Filter->SetVisible(false);

    TColumnEh* To = AddColumn(u"数量"_s);
    To->STFilter()->Assign(Filter);
    EXPECT_EQ(To->STFilter()->DataField(), u"金额"_s);
    EXPECT_EQ(To->STFilter()->KeyField(), u"id"_s);
    EXPECT_EQ(To->STFilter()->ListField(), u"名称"_s);
    EXPECT_EQ(To->STFilter()->ListSource(), ListSource.get());
    EXPECT_FALSE(To->STFilter()->Visible());
    EXPECT_EQ(To->STFilter()->Column(), To);
    ASSERT_NE(To->FilterValueList(), nullptr);
    EXPECT_TRUE(Lists(To->FilterValueList()->GetValues(), u"胶水"_s));

    // A whole column copy keeps them as well.
    TColumnEh* Copy = Grid->Columns()->Add();
    Copy->Assign(From);
    EXPECT_EQ(Copy->STFilter()->ListSource(), ListSource.get());
    EXPECT_EQ(Copy->STFilter()->DataField(), u"金额"_s);
    EXPECT_FALSE(Copy->STFilter()->Visible());

    // The copies let go of the source when it is freed, as the original does.
    ListSource.reset();
    EXPECT_EQ(To->STFilter()->ListSource(), nullptr);
    EXPECT_EQ(Copy->STFilter()->ListSource(), nullptr);
    EXPECT_EQ(From->STFilter()->ListSource(), nullptr);
}

TEST_F(DBGridEhColumnFilterTest, ValueTextsAreQuotedWhereTheFilterLanguageWouldMisreadThem)
{
    using enum TSTFilterCompareKindEh;
    struct TCase {
        String Value;
        TSTFilterCompareKindEh Operator;
        String Text;
    };
    const std::vector<TCase> cases{
        {u"plain"_s, fcEqual, u"plain"_s},  {u"a,b"_s, fcIn, u"'a,b'"_s},       {u"a,b"_s, fcEqual, u"a,b"_s},
        {u" a"_s, fcEqual, u"' a'"_s},      {u"'a"_s, fcEqual, u"'''a'"_s},     {u"a "_s, fcEqual, u"'a '"_s},
        {u"x Or"_s, fcEqual, u"'x Or'"_s},  {u"x and"_s, fcNotIn, u"'x and'"_s}, {u"AND"_s, fcEqual, u"'AND'"_s},
        {u"or"_s, fcEqual, u"'or'"_s},      {u"Band"_s, fcEqual, u"Band"_s},
    };
    TSTColumnFilterEh* Filter = AddColumn(u"名称"_s)->STFilter();
    for (const TCase& c : cases) {
        String Text;
        Filter->ValuesAsFilterText(Variant(c.Value), c.Operator, Text);
        EXPECT_EQ(Text, c.Text) << c.Value.toStdString();
    }
    String Text;
    Filter->ValuesAsFilterText(VarArrayOf({Variant(u"a"_s), Variant(u"b,c"_s)}), fcIn, Text);
    EXPECT_EQ(Text, u"a,'b,c'"_s);
}

TEST_F(DBGridEhColumnFilterTest, AConditionOnAColumnWithoutAValueKindIsParsedAndKeptButFiltersNothing)
{
    using enum TSTFilterCompareKindEh;
    TMemoryDataSet Table(nullptr);
    Table.FieldDefs()->Add(u"名称"_s, TFieldType::ftString, 20);
    Table.FieldDefs()->Add(u"数据"_s, TFieldType::ftBlob, 0);
    Table.FieldDefs()->Add(u"图片"_s, TFieldType::ftGraphic, 0);
    Table.FieldDefs()->Add(u"字节"_s, TFieldType::ftBytes, 8);
    Table.Open();
    Table.AppendRecord({Variant(u"铅笔"_s), Variant(), Variant(), Variant()});
    ShowDataSet(&Table);
    AddColumn(u"名称"_s)->STFilter()->SetExpressionText(u"铅笔"_s);
    const String named = BuildGridFilterText(Grid.get(), DatasetFilterConditionText, {}, true, false);
    ASSERT_FALSE(named.isEmpty());
    struct TCase {
        String Field;
        String Text;
        bool Raises;
        TSTFilterCompareKindEh Operator;
    };
    const std::vector<TCase> cases{
        {u"数据"_s, u"=abc"_s, false, fcEqual},
        {u"图片"_s, u"<>Null"_s, false, fcIsNotNull},
        {u"字节"_s, u"~ab%"_s, false, fcLike},
        {u"数据"_s, u">"_s, true, fcNone},
        {u"字节"_s, u"("_s, true, fcNone},
        {u"图片"_s, u"'abc"_s, true, fcNone},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Field.toStdString() + " " + c.Text.toStdString());
        TSTColumnFilterEh* filter = AddColumn(c.Field)->STFilter();
        if (c.Raises)
            EXPECT_THROW(filter->SetExpressionText(c.Text), Exception);
        else
            EXPECT_NO_THROW(filter->SetExpressionText(c.Text));
        EXPECT_EQ(filter->TypedText(), c.Text);
        EXPECT_EQ(filter->Expression().Operator1, c.Operator);
        // Only the named column's condition reaches the dataset.
        EXPECT_EQ(BuildGridFilterText(Grid.get(), DatasetFilterConditionText, {}, true, false), named);
    }
    Grid->Columns()->Clear();
    ShowDataSet(Data.get());
}

TEST_F(DBGridEhColumnFilterTest, CheckedValuesBecomeTheConditionAndBack)
{
    TSTColumnFilterEh* Filter = AddColumn(u"名称"_s)->STFilter();
    TStringList Items;
    Items.AddObject(u"(全部)"_s, FilterCommandItem(TFilterCommandEh::fcmAllEh));
    for (const String& Value : {u"O'Brien"_s, u"铅笔"_s, u"胶水"_s})
        Items.AddObject(Value, FilterValueItem());
    const auto Check = [&](std::vector<std::uint8_t> Marks) {
        Filter->Marks() = std::move(Marks);
        Filter->ApplyCheckedItems(&Items);
        return Filter->TypedText();
    };
    // An apostrophe is doubled in the text and read back as it was.
    EXPECT_EQ(Check({0, 1, 0, 0}), u"='O''Brien'"_s);
    EXPECT_EQ(VarToStr(Filter->Expression().Operand1), u"O'Brien"_s);
    EXPECT_EQ(Check({1, 1, 0, 1}), u"in ('O''Brien','胶水')"_s);
    Filter->MarkItemsFromExpression(&Items);
    EXPECT_EQ(Filter->Marks(), (std::vector<std::uint8_t>{0, 1, 0, 1}));
    // No value checked is no condition at all.
    EXPECT_EQ(Check({0, 0, 0, 0}), String());
    EXPECT_EQ(Filter->Expression().Operator1, TSTFilterCompareKindEh::fcNone);
}

TEST_F(DBGridEhColumnFilterTest, AListTextWithoutAKeyMatchesNoRecordInsteadOfTheKeylessOnes)
{
    // Names stand for codes of a list; one record has no name at all.
    Data->AppendRecord({Variant(), Variant::Null(), Variant(1), Variant(1.0)});
    TMemoryDataSet Codes(nullptr);
    Codes.FieldDefs()->Add(u"代码"_s, TFieldType::ftString, 10);
    Codes.FieldDefs()->Add(u"显示"_s, TFieldType::ftString, 10);
    Codes.Open();
    Codes.AppendRecord({Variant(u"铅笔"_s), Variant(u"QB"_s)});
    TDataSource CodeSource(nullptr);
    CodeSource.SetDataSet(&Codes);
    TSTColumnFilterEh* Filter = AddColumn(u"名称"_s)->STFilter();
    Filter->SetKeyField(u"代码"_s);
    Filter->SetListField(u"显示"_s);
    Filter->SetListSource(&CodeSource);
    const auto Shown = [&](const String& Text) {
        Filter->SetExpressionText(Text);
        Data->SetFilter(BuildGridFilterText(Grid.get(), DatasetFilterConditionText, {}, true, false));
        Data->SetFiltered(true);
        return Data->RecordCount();
    };
    EXPECT_EQ(Shown(u"=QB"_s), 1);
    EXPECT_EQ(VarToStr(Filter->Expression().Operand1), u"铅笔"_s);
    EXPECT_EQ(Shown(u"=XX"_s), 0);
    EXPECT_FALSE(VarIsNull(Filter->Expression().Operand1));
    Filter->SetListSource(nullptr);
}

}  // namespace
