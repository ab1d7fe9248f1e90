// The footer texts a grid shows: every kind of footer value over every kind of field, with the
// footer's and the field's formats, over the in-memory dataset and over a query on a database file.
#include "DBGridEhTestGrid.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

#include "platform/ado/ADODB.h"
#include "platform/ado/TestTables.h"
#include "platform/data/TypedFields.h"

#include <QApplication>
#include <QWidget>
#include <QTemporaryDir>

#include <functional>
#include <set>
#include <vector>

namespace {

// Every numeric field type, a text and a date: three records.
TMemoryDataSet* NewTypedDataSet()
{
    auto* Data = new TMemoryDataSet(nullptr);
    Data->FieldDefs()->Add(u"名称"_s, TFieldType::ftString, 20);
    Data->FieldDefs()->Add(u"small"_s, TFieldType::ftSmallint);
    Data->FieldDefs()->Add(u"int"_s, TFieldType::ftInteger);
    Data->FieldDefs()->Add(u"large"_s, TFieldType::ftLargeint);
    Data->FieldDefs()->Add(u"float"_s, TFieldType::ftFloat);
    Data->FieldDefs()->Add(u"money"_s, TFieldType::ftCurrency);
    Data->FieldDefs()->Add(u"bcd"_s, TFieldType::ftBCD);
    Data->FieldDefs()->Add(u"date"_s, TFieldType::ftDateTime);
    Data->Open();
    const Variant Day(TDateTime(46000.0));
    Data->AppendRecord({Variant(u"订书机"_s), Variant(3), Variant(3), Variant(1000000), Variant(12.5),
                        Variant(12.5), Variant(Currency::FromRaw(125000)), Day});
    Data->AppendRecord({Variant(u"铅笔"_s), Variant(4), Variant(4), Variant(234567), Variant(0.1), Variant(0.1),
                        Variant(Currency::FromRaw(1000)), Day});
    Data->AppendRecord({Variant(u"胶水"_s), Variant(4), Variant(4), Variant::Null(), Variant(7.25), Variant(7.25),
                        Variant(Currency::FromRaw(72500)), Day});
    return Data;
}

class DBGridEhFooterValuesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Data.reset(NewTypedDataSet());
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
        Grid = std::make_unique<TTestDBGridEh>(nullptr);
        Grid->SetDataSource(Source.get());
        Grid->SumList()->SetActive(true);
    }

    void TearDown() override
    {
        Grid.reset();
        Source.reset();
        Data.reset();
    }

    // A column of Field with a single footer of ValueType (and a footer format).
    TColumnEh* FooterColumn(const String& Field, TFooterValueType ValueType, const String& Format = {})
    {
        TColumnEh* Column = Grid->Columns()->Add();
        Column->SetFieldName(Field);
        Column->Footer()->SetValueType(ValueType);
        Column->Footer()->SetDisplayFormat(Format);
        return Column;
    }

    String Text(TColumnEh* Column, int Row = 0)
    {
        String Result = u"unset"_s;
        Grid->ComputeFooterText(Row, Column, Result);
        return Result;
    }

    String FooterText(const String& Field, TFooterValueType ValueType, const String& Format = {})
    {
        return Text(FooterColumn(Field, ValueType, Format));
    }

    template <class TFieldClass>
    TFieldClass* FieldOf(const String& Name)
    {
        auto* Field = dynamic_cast<TFieldClass*>(Data->FieldByName(Name));
        EXPECT_NE(Field, nullptr) << Name.toStdString();
        return Field;
    }

    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TTestDBGridEh> Grid;
};

constexpr TFooterValueType Sum = TFooterValueType::fvtSum;
constexpr TFooterValueType Avg = TFooterValueType::fvtAvg;
constexpr TFooterValueType Count = TFooterValueType::fvtCount;
constexpr TFooterValueType FieldValue = TFooterValueType::fvtFieldValue;

TEST_F(DBGridEhFooterValuesTest, IntegerAggregatesRoundWithoutAFormat)
{
    EXPECT_EQ(FooterText(u"small"_s, Sum), u"11"_s);
    EXPECT_EQ(FooterText(u"int"_s, Sum), u"11"_s);
    // 11 / 3 = 3.6667: rounded, or shown by the footer's format.
    EXPECT_EQ(FooterText(u"int"_s, Avg), u"4"_s);
    EXPECT_EQ(FooterText(u"int"_s, Avg, u"0.00"_s), u"3.67"_s);
    // The Null is left out of the average.
    EXPECT_EQ(FooterText(u"large"_s, Avg), u"617284"_s);
    EXPECT_EQ(FooterText(u"large"_s, Sum, u"#,##0"_s), u"1,234,567"_s);
}

TEST_F(DBGridEhFooterValuesTest, TheFootersFormatComesBeforeTheFields)
{
    FieldOf<TNumericField>(u"int"_s)->SetDisplayFormat(u"0.0 件"_s);
    EXPECT_EQ(FooterText(u"int"_s, Avg), u"3.7 件"_s);
    EXPECT_EQ(FooterText(u"int"_s, Avg, u"0.000"_s), u"3.667"_s);
    FieldOf<TNumericField>(u"float"_s)->SetDisplayFormat(u"0.000"_s);
    EXPECT_EQ(FooterText(u"float"_s, Sum), u"19.850"_s);
    EXPECT_EQ(FooterText(u"float"_s, Sum, u"#.#0"_s), u"19.85"_s);
}

TEST_F(DBGridEhFooterValuesTest, FloatAggregatesFollowPrecisionAndTheCurrencyFlag)
{
    EXPECT_EQ(FooterText(u"float"_s, Sum), u"19.85"_s);
    FieldOf<TFloatField>(u"float"_s)->SetPrecision(2);
    EXPECT_EQ(FooterText(u"float"_s, Sum), u"20"_s);
    // A Currency field shows the money format with the platform's two decimals.
    EXPECT_EQ(FooterText(u"money"_s, Sum), u"￥19.85"_s);
    EXPECT_EQ(FooterText(u"money"_s, Avg), u"￥6.62"_s);
    FieldOf<TFloatField>(u"money"_s)->SetCurrency(false);
    EXPECT_EQ(FooterText(u"money"_s, Sum), u"19.85"_s);
}

TEST_F(DBGridEhFooterValuesTest, BcdAggregatesKeepTheirExactDigits)
{
    EXPECT_EQ(FooterText(u"bcd"_s, Sum), u"19.85"_s);
    FieldOf<TBCDField>(u"bcd"_s)->SetCurrency(true);
    EXPECT_EQ(FooterText(u"bcd"_s, Sum), u"￥19.85"_s);
    FieldOf<TNumericField>(u"bcd"_s)->SetDisplayFormat(u"0.0000"_s);
    EXPECT_EQ(FooterText(u"bcd"_s, Sum), u"19.8500"_s);
    EXPECT_EQ(FooterText(u"bcd"_s, Sum, u"0"_s), u"20"_s);
}

TEST_F(DBGridEhFooterValuesTest, FieldsThatDoNotSumShowZero)
{
    EXPECT_EQ(FooterText(u"名称"_s, Sum), u"0"_s);
    EXPECT_EQ(FooterText(u"date"_s, Avg), u"0"_s);
    TColumnEh* Named = FooterColumn(u"int"_s, Sum);
    // The footer's own field comes before the column's.
    Named->Footer()->SetFieldName(u"large"_s);
    EXPECT_EQ(Text(Named), u"1234567"_s);
}

TEST_F(DBGridEhFooterValuesTest, CountsEveryRecord)
{
    EXPECT_EQ(FooterText(u"名称"_s, Count), u"3"_s);
    EXPECT_EQ(FooterText(u"名称"_s, Count, u"0.0 条"_s), u"3.0 条"_s);
    Data->Append();
    Data->FieldByName(u"名称"_s)->SetValue(Variant(u"尺子"_s));
    Data->Post();
    EXPECT_EQ(FooterText(u"int"_s, Count), u"4"_s);
}

TEST_F(DBGridEhFooterValuesTest, LargeCountsGroupThousandsOnlyWhenAsked)
{
    Grid->SetDataSource(nullptr);
    for (int i = 0; i < 12342; ++i)
        Data->AppendRecord({Variant(u"纸"_s)});
    Grid->SetDataSource(Source.get());
    EXPECT_EQ(FooterText(u"名称"_s, Count), u"12345"_s);
    EXPECT_EQ(FooterText(u"名称"_s, Count, u"#,##0"_s), u"12,345"_s);
}

TEST_F(DBGridEhFooterValuesTest, WithoutADatasetSumsShowZero)
{
    Grid = std::make_unique<TTestDBGridEh>(nullptr);
    Grid->SumList()->SetActive(true);
    TColumnEh* Total = FooterColumn(u"int"_s, Sum);
    TColumnEh* Records = FooterColumn(u"int"_s, Count);
    TColumnEh* Current = FooterColumn(u"int"_s, FieldValue);
    Current->Footer()->SetFieldName(u"int"_s);
    EXPECT_EQ(Text(Total), u"0"_s);
    EXPECT_EQ(Text(Records), u"0"_s);
    EXPECT_EQ(Text(Current), String());
    // Once the data comes, the same footers show it.
    Grid->SetDataSource(Source.get());
    Data->First();
    EXPECT_EQ(Text(Total), u"11"_s);
    EXPECT_EQ(Text(Records), u"3"_s);
    EXPECT_EQ(Text(Current), u"3"_s);
}

TEST_F(DBGridEhFooterValuesTest, FieldValueShowsTheCurrentRecord)
{
    TColumnEh* Column = FooterColumn(u"float"_s, FieldValue);
    // Without a FieldName of its own, a field-value footer shows nothing.
    EXPECT_EQ(Text(Column), String());
    Column->Footer()->SetFieldName(u"名称"_s);
    Data->First();
    EXPECT_EQ(Text(Column), u"订书机"_s);
    Data->Next();
    EXPECT_EQ(Text(Column), u"铅笔"_s);
    Column->Footer()->SetFieldName(u"float"_s);
    Column->Footer()->SetDisplayFormat(u"0.00"_s);
    EXPECT_EQ(Text(Column), u"0.10"_s);
    Column->Footer()->SetFieldName(u"large"_s);
    Data->Last();
    EXPECT_EQ(Text(Column), String());
    Data->Close();
    EXPECT_EQ(Text(Column), String());
}

TEST_F(DBGridEhFooterValuesTest, FieldValueOfAMissingFieldShowsNothingAndDoesNotRaise)
{
    TColumnEh* Column = FooterColumn(u"float"_s, FieldValue);
    Column->Footer()->SetFieldName(u"没有"_s);
    String Result = u"unset"_s;
    EXPECT_NO_THROW(Grid->ComputeFooterText(0, Column, Result));
    EXPECT_EQ(Result, String());
}

TEST_F(DBGridEhFooterValuesTest, StaticTextAndNoValue)
{
    TColumnEh* Column = FooterColumn(u"名称"_s, TFooterValueType::fvtStaticText);
    Column->Footer()->SetValue(u" 合计: "_s);
    EXPECT_EQ(Text(Column), u" 合计: "_s);
    Column->Footer()->SetValueType(TFooterValueType::fvtNon);
    EXPECT_EQ(Text(Column), String());
}

TEST_F(DBGridEhFooterValuesTest, EachFooterRowUsesItsFooterAndRowsBeyondUseTheSingleOne)
{
    TColumnEh* Column = FooterColumn(u"int"_s, TFooterValueType::fvtStaticText);
    Column->Footer()->SetValue(u"单个"_s);
    EXPECT_EQ(Text(Column, 0), u"单个"_s);
    EXPECT_EQ(Text(Column, 3), u"单个"_s);
    auto* First = static_cast<TColumnFooterEh*>(Column->Footers()->Add());
    First->SetValueType(Sum);
    auto* Second = static_cast<TColumnFooterEh*>(Column->Footers()->Add());
    Second->SetValueType(Avg);
    Second->SetDisplayFormat(u"0.0"_s);
    EXPECT_EQ(Text(Column, 0), u"11"_s);
    EXPECT_EQ(Text(Column, 1), u"3.7"_s);
    EXPECT_EQ(Text(Column, 2), u"单个"_s);
    EXPECT_EQ(Text(Column, -1), u"单个"_s);
}

TEST_F(DBGridEhFooterValuesTest, SumsFollowEdits)
{
    TColumnEh* Column = FooterColumn(u"money"_s, Sum);
    Data->First();
    Data->Edit();
    Data->FieldByName(u"money"_s)->SetValue(Variant(100.0));
    Data->Post();
    EXPECT_EQ(Text(Column), u"￥107.35"_s);
    Data->Delete();
    EXPECT_EQ(Text(Column), u"￥7.35"_s);
}

// A sum beyond the Currency range shows a mark and never stops the dataset opening or posting;
// once the values fit again the sums come back.
TEST_F(DBGridEhFooterValuesTest, ASumThatOverflowsShowsAMark)
{
    TColumnEh* Total = FooterColumn(u"float"_s, Sum);
    TColumnEh* Average = FooterColumn(u"float"_s, Avg);
    const struct {
        const char* What;
        double First, Second;
    } Cases[] = {{"one value beyond the range", 922337203685478.0, 0.1},
                 {"two values that fit, their sum not", 500000000000000.0, 500000000000000.0}};
    auto SetValues = [this](double First, double Second) {
        Data->First();
        for (double Value : {First, Second}) {
            Data->Edit();
            Data->FieldByName(u"float"_s)->SetValue(Variant(Value));
            Data->Post();
            Data->Next();
        }
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        EXPECT_NO_THROW(SetValues(C.First, C.Second));
        EXPECT_EQ(Text(Total), u"#溢出"_s);
        EXPECT_EQ(Text(Average), u"#溢出"_s);
        Data->Close();
        EXPECT_NO_THROW(Data->Open());
        EXPECT_EQ(Text(Total), u"#溢出"_s);
        SetValues(12.5, 0.1);
        EXPECT_EQ(Text(Total), u"19.85"_s);
        EXPECT_EQ(Text(Average), u"6.6167"_s);
    }
}

// The record behind the mark gone, by a delete or by a post of a value that fits, the sums are
// counted again.
TEST_F(DBGridEhFooterValuesTest, APostOrDeleteUnderAnOverflowMarkCountsTheSumsAgain)
{
    TColumnEh* Total = FooterColumn(u"float"_s, Sum);
    // Each case marks the first record's sum; the delete leaves 0.1 and 7.25, the post 12.5 and 7.25.
    const struct {
        const char* What;
        std::function<void()> Mend;
        String Shown;
    } Cases[] = {{"delete", [this] { Data->Delete(); }, u"7.35"_s},
                 {"post",
                  [this] {
                      Data->Edit();
                      Data->FieldByName(u"float"_s)->SetValue(Variant(12.5));
                      Data->Post();
                  },
                  u"19.75"_s}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        Data->First();
        Data->Edit();
        Data->FieldByName(u"float"_s)->SetValue(Variant(922337203685478.0));
        Data->Post();
        ASSERT_EQ(Text(Total), u"#溢出"_s);
        C.Mend();
        EXPECT_EQ(Text(Total), C.Shown);
    }
}

// A sum or an average of a field the dataset lacks is no total: a mark shows, the field is
// reported once after the dataset's events, and posts and deletes go on.
TEST_F(DBGridEhFooterValuesTest, ASumOverAFieldTheDatasetLacksShowsAMarkAndIsReportedOnce)
{
    TScriptedDialogs Boxes;
    TColumnEh* Total = FooterColumn(u"float"_s, Sum);
    TColumnEh* Average = FooterColumn(u"int"_s, Avg);
    for (TColumnEh* Column : {Total, Average})
        Column->Footer()->SetFieldName(u"没有"_s);
    Data->Close();
    Data->Open();
    EXPECT_EQ(Text(Total), u"#无此字段"_s);
    EXPECT_EQ(Text(Average), u"#无此字段"_s);
    Data->First();
    Data->Edit();
    Data->FieldByName(u"int"_s)->SetValue(Variant(9));
    EXPECT_NO_THROW(Data->Post());
    EXPECT_NO_THROW(Data->Delete());
    EXPECT_EQ(Data->RecordCount(), 2);
    EXPECT_EQ(Text(Total), u"#无此字段"_s);
    // The report waits for the dataset's events to end.
    EXPECT_TRUE(Boxes.Shown().empty());
    Application->ProcessMessages();
    ASSERT_EQ(Boxes.Shown().size(), 1u);
    EXPECT_TRUE(Boxes.Shown().front().Text.contains(u"没有"_s));
    Data->Close();
    EXPECT_EQ(Text(Total), u"0"_s);
}

TEST_F(DBGridEhFooterValuesTest, SumsFollowTheFilter)
{
    TColumnEh* Column = FooterColumn(u"int"_s, Sum);
    Data->SetFilter(u"int = 4"_s);
    EXPECT_EQ(Text(Column), u"11"_s);
    Data->SetFiltered(true);
    EXPECT_EQ(Text(Column), u"8"_s);
    Data->SetFilter(u"int = 3"_s);
    EXPECT_EQ(Text(Column), u"3"_s);
    Data->SetFiltered(false);
    EXPECT_EQ(Text(Column), u"11"_s);
}

TEST_F(DBGridEhFooterValuesTest, TheRecalculationEventsComeFromTheSumList)
{
    FooterColumn(u"int"_s, Sum);
    std::vector<TObject*> Senders;
    Grid->OnSumListRecalcAll = [&](TObject* Sender) { Senders.push_back(Sender); };
    Grid->OnSumListAfterRecalcAll = [&](TObject* Sender) { Senders.push_back(Sender); };
    Data->Close();
    Data->Open();
    const std::vector<TObject*> Expected(2, Grid->SumList());
    EXPECT_EQ(Senders, Expected);
}

TEST_F(DBGridEhFooterValuesTest, GetFooterParamsMayRestyleTheCell)
{
    TColumnEh* Column = FooterColumn(u"int"_s, Sum);
    TFont Font;
    TColor Background = clWindow;
    TAlignment Alignment = TAlignment::taLeftJustify;
    String Cell = u"11"_s;
    // Without a handler nothing changes.
    Grid->RaiseGetFooterParams(0, 0, Column, &Font, Background, Alignment, gdFixed, Cell);
    EXPECT_EQ(Cell, u"11"_s);
    EXPECT_EQ(Background, clWindow);

    TObject* SeenSender = nullptr;
    int SeenDataCol = -1, SeenRow = -1;
    TColumnEh* SeenColumn = nullptr;
    TGridDrawState SeenState;
    Grid->OnGetFooterParams = [&](TObject* Sender, int DataCol, int Row, TColumnEh* AColumn, TFont* AFont,
                                  TColor& ABackground, TAlignment& AAlignment, TGridDrawState State, String& AText) {
        SeenSender = Sender;
        SeenDataCol = DataCol;
        SeenRow = Row;
        SeenColumn = AColumn;
        SeenState = State;
        AFont->SetColor(clRed);
        ABackground = clYellow;
        AAlignment = TAlignment::taRightJustify;
        AText = u"合计 "_s + AText;
    };
    Grid->RaiseGetFooterParams(2, 1, Column, &Font, Background, Alignment, gdFixed, Cell);
    EXPECT_EQ(SeenSender, Grid.get());
    EXPECT_EQ(SeenDataCol, 2);
    EXPECT_EQ(SeenRow, 1);
    EXPECT_EQ(SeenColumn, Column);
    EXPECT_EQ(SeenState, gdFixed);
    EXPECT_EQ(Cell, u"合计 11"_s);
    EXPECT_EQ(Background, clYellow);
    EXPECT_EQ(Alignment, TAlignment::taRightJustify);
    EXPECT_EQ(Font.Color(), clRed);
}

// --- Query on a database file -----------------------------------------------------------------

class DBGridEhFooterValuesADOTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Connection.SetLoginPrompt(false);
        ConnectWithTestTables(Connection, Dir.filePath(u"opr.mdb"_s));
        Connection.Execute(u"insert into ruku(物品名称,数量,单价,金额) values('订书机',3,4.5,13.5)"_s);
        Connection.Execute(u"insert into ruku(物品名称,数量,单价,金额) values('铅笔',11,0.35,3.5)"_s);
        Connection.Execute(u"insert into ruku(物品名称,数量,单价,金额) values('胶水',NULL,2.25,NULL)"_s);
        Query.SetConnection(&Connection);
        Query.SQL()->Add(u"select * from ruku order by id"_s);
        Query.Open();
        Source.SetDataSet(&Query);
        Grid = std::make_unique<TTestDBGridEh>(nullptr);
        Grid->SetDataSource(&Source);
        Grid->SumList()->SetActive(true);
    }

    void TearDown() override { Grid.reset(); }

    String FooterText(const String& Field, TFooterValueType ValueType, const String& Format = {})
    {
        TColumnEh* Column = Grid->Columns()->Add();
        Column->SetFieldName(Field);
        Column->Footer()->SetValueType(ValueType);
        Column->Footer()->SetDisplayFormat(Format);
        String Result;
        Grid->ComputeFooterText(0, Column, Result);
        return Result;
    }

    QTemporaryDir Dir;
    TADOConnection Connection{nullptr};
    TADOQuery Query{nullptr};
    TDataSource Source{nullptr};
    std::unique_ptr<TTestDBGridEh> Grid;
};

TEST_F(DBGridEhFooterValuesADOTest, StockInFootersOverTheQuery)
{
    EXPECT_EQ(FooterText(u"数量"_s, Sum), u"14"_s);
    EXPECT_EQ(FooterText(u"数量"_s, Avg), u"7"_s);
    EXPECT_EQ(FooterText(u"金额"_s, Sum, u"#,##0.00"_s), u"17.00"_s);
    EXPECT_EQ(FooterText(u"单价"_s, Avg), u"2.3667"_s);
    EXPECT_EQ(FooterText(u"物品名称"_s, Sum), u"0"_s);
    EXPECT_EQ(FooterText(u"物品名称"_s, Count), u"3"_s);
    Query.Close();
    Query.Open();
    EXPECT_EQ(FooterText(u"金额"_s, Sum), u"17"_s);
}


// --- Repainting the rows around the data -------------------------------------------------------

// Remembers the rows whose cells it was asked to paint.
class TRowRecordingGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;
    std::set<int> PaintedRows;

protected:
    void PaintCell(int, int ARow, TGridDrawState, TRect) override { PaintedRows.insert(ARow); }
};

class DBGridEhRepaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Data.reset(NewTypedDataSet());
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        Grid = new TRowRecordingGrid(Form.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetParent(Form.get());
        Grid->Columns()->Add()->SetFieldName(u"int"_s);
        Grid->SetFooterRowCount(2);
        Grid->SetDataSource(Source.get());
        Form->Show();
        Settle();
    }

    void TearDown() override
    {
        Form.reset();
        Source.reset();
        Data.reset();
    }

    // Paints what is pending and forgets it.
    void Settle()
    {
        Grid->Handle()->repaint();
        QApplication::processEvents();
        Grid->PaintedRows.clear();
    }

    std::set<int> RowsPaintedAfter(void (TCustomDBGridEh::*Invalidate)())
    {
        (Grid->*Invalidate)();
        QApplication::processEvents();
        return Grid->PaintedRows;
    }

    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TForm> Form;
    TRowRecordingGrid* Grid = nullptr;
};

TEST_F(DBGridEhRepaintTest, FooterRowsRepaintAlone)
{
    const int Total = Grid->TotalRowCount();
    ASSERT_GE(Total, 4);
    EXPECT_EQ(RowsPaintedAfter(&TCustomDBGridEh::InvalidateFooterRows), (std::set<int>{Total - 2, Total - 1}));
}

TEST_F(DBGridEhRepaintTest, TitleRowsRepaintAlone)
{
    ASSERT_EQ(Grid->RowsAboveData(), 1);
    EXPECT_EQ(RowsPaintedAfter(&TCustomDBGridEh::InvalidateTitleRows), std::set<int>{0});
    Grid->SetOptions(Grid->Options() - dgTitles);
    Settle();
    EXPECT_EQ(RowsPaintedAfter(&TCustomDBGridEh::InvalidateTitleRows), std::set<int>{});
}

} // namespace
