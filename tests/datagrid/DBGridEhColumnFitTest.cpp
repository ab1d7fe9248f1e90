// Sizes from the data: column widths fitted to titles, records and footers, over the in-memory
// dataset and over a query; the row height a record needs; repainting on image list changes.
#include "DBGridEhCoreSupport.h"

#include "platform/ado/ADODB.h"
#include "platform/data/DataSet.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"

#include <QTemporaryDir>
#include <QWidget>

#include <set>

namespace {

int TextWidthIn(TFont* Font, const String& Text)
{
    TCanvas canvas;
    canvas.Font()->Assign(Font);
    return canvas.TextWidth(Text);
}

// Margin 4 around the widest of Texts.
int FittedWidth(TFont* Font, std::initializer_list<String> Texts)
{
    int widest = 0;
    for (const String& text : Texts)
        widest = std::max(widest, TextWidthIn(Font, text));
    return 4 + widest;
}

class DBGridEhColumnFitTest : public DBGridEhCoreFixture {
protected:
    void SetUp() override
    {
        DBGridEhCoreFixture::SetUp();
        Grid->SetDataSource(Source.get());
        Name = AddColumn(u"名称"_s);
        Qty = AddColumn(u"数量"_s);
    }

    TColumnEh* Name = nullptr;
    TColumnEh* Qty = nullptr;
};

TEST_F(DBGridEhColumnFitTest, FitsTheWidestRecordBeyondTheRowsShownAndKeepsTheCurrentRecord)
{
    const String Longest = u"一个特别长的物品名称用于测试"_s;
    Data->AppendRecord({Variant(), Variant(Longest), Variant(1), Variant(1.0)});
    Data->First();
    Data->MoveBy(3);
    ASSERT_GT(Data->RecordCount(), Grid->DataLink()->BufferCount());

    Name->FitWidthToData();
    EXPECT_EQ(Name->Width(), FittedWidth(Name->Font(), {Longest, Name->Title()->Caption()}));
    EXPECT_EQ(Data->RecNo(), 4);
    // The other column is left alone.
    EXPECT_EQ(Qty->Width(), Qty->DefaultWidth());

    // The grid column follows the fitted width.
    EXPECT_EQ(Grid->ColWidthAt(Grid->DataColToGridCol(Name->Index())), Name->Width());
}

TEST_F(DBGridEhColumnFitTest, TheCurrentRecordKeepsItsScreenRowAcrossTheWalk)
{
    // Records at the top, in the middle scrolled to the bottom row, and at the end.
    for (const int moves : {2, 29, 49}) {
        Data->First();
        Data->MoveBy(moves);
        const int row = Grid->Row();
        const int recNo = Data->RecNo();
        Name->FitWidthToData();
        EXPECT_EQ(Data->RecNo(), recNo) << moves;
        EXPECT_EQ(Grid->Row(), row) << moves;
    }
}

TEST_F(DBGridEhColumnFitTest, AWideTitleOrFooterWinsOverNarrowData)
{
    const String Caption = u"本期领用数量合计说明"_s;
    Qty->Title()->SetCaption(Caption);
    Qty->FitWidthToData();
    EXPECT_EQ(Qty->Width(), FittedWidth(Qty->Title()->Font(), {Caption}));

    const String Total = u"总数量（全部领用记录）合计"_s;
    Grid->SetFooterRowCount(1);
    Qty->Footer()->SetValueType(TFooterValueType::fvtStaticText);
    Qty->Footer()->SetValue(Total);
    Qty->FitWidthToData();
    EXPECT_EQ(Qty->Width(), TextWidthIn(Qty->Footer()->Font(), Total) + 5);
}

TEST_F(DBGridEhColumnFitTest, TheTextTheCellEventsLeaveIsMeasured)
{
    const String Suffix = u"（已核对，已入库）"_s;
    Name->SetOnGetCellParams([&](TColumnEh*, bool, TColCellParamsEh* Params) { Params->Text += Suffix; });
    Name->FitWidthToData();
    EXPECT_EQ(Name->Width(), FittedWidth(Name->Font(), {u"物品50"_s + Suffix, u"物品10"_s + Suffix}));
}

TEST_F(DBGridEhColumnFitTest, SeveralColumnsAreFittedInOneWalk)
{
    Data->Last();
    Data->Edit();
    Data->FieldByName(u"数量"_s)->SetAsInteger(123456789);
    Data->Post();
    TColumnsEhList Both;
    Both.Add(Name);
    Both.Add(Qty);
    Grid->OptimizeColsWidth(&Both);
    EXPECT_EQ(Name->Width(), FittedWidth(Name->Font(), {u"物品48"_s, u"物品49"_s, u"物品50"_s, u"名称"_s}));
    EXPECT_EQ(Qty->Width(), FittedWidth(Qty->Font(), {u"123456789"_s, Qty->Title()->Caption()}));
}

TEST_F(DBGridEhColumnFitTest, AClosedDataSetChangesNoWidth)
{
    Name->SetWidth(33);
    Data->Close();
    Name->FitWidthToData();
    EXPECT_EQ(Name->Width(), 33);
}

// --- The row height a record needs --------------------------------------------------------------

TEST_F(DBGridEhColumnFitTest, RowHeightsGrowForWrappedTextOnlyWhenAskedTo)
{
    const String Long = u"一二三四五六七八九十一二三四五六七八九十"_s;
    Data->Edit();
    Data->FieldByName(u"名称"_s)->SetAsString(Long);
    Data->Post();
    Name->SetWordWrap(true);
    Name->SetWidth(40);
    const int RowHeight = Grid->ComputedRowHeight();
    EXPECT_EQ(Name->RequiredRowHeight(), RowHeight);
    EXPECT_EQ(Grid->ContentRowHeight(), RowHeight);

    Grid->SetOptionsEh(Grid->OptionsEh() | dghAutoFitRowHeight);
    const int Wrapped = Name->RequiredRowHeight();
    EXPECT_GT(Wrapped, RowHeight);
    EXPECT_EQ(Qty->RequiredRowHeight(), RowHeight);
    EXPECT_EQ(Grid->ContentRowHeight(), Wrapped);
    // A flat grid draws no raised edge, which took 2 pixels.
    Grid->SetFlat(true);
    EXPECT_EQ(Name->RequiredRowHeight(), Wrapped - 2);
    Grid->SetFlat(false);
    // Room for the whole line: one row does.
    Name->SetWidth(2000);
    EXPECT_EQ(Name->RequiredRowHeight(), RowHeight);
    // Without wrapping the text stays on one line, however narrow the column.
    Name->SetWidth(40);
    Name->SetWordWrap(false);
    EXPECT_EQ(Name->RequiredRowHeight(), RowHeight);
}

TEST_F(DBGridEhColumnFitTest, ContentRowHeightSkipsHiddenColumnsAndAsksTheEvent)
{
    Data->Edit();
    Data->FieldByName(u"名称"_s)->SetAsString(u"一二三四五六七八九十一二三四五六七八九十"_s);
    Data->Post();
    Grid->SetOptionsEh(Grid->OptionsEh() | dghAutoFitRowHeight);
    Name->SetWordWrap(true);
    Name->SetWidth(40);
    const int Wrapped = Name->RequiredRowHeight();
    ASSERT_GT(Wrapped, Grid->ComputedRowHeight());
    Name->SetVisible(false);
    EXPECT_EQ(Grid->ContentRowHeight(), Grid->ComputedRowHeight());
    Name->SetVisible(true);
    int Asked = 0;
    Grid->OnGetRowHeight = [&](TObject*, int& Height) { Asked = Height; Height += 7; };
    EXPECT_EQ(Grid->ContentRowHeight(), Wrapped + 7);
    EXPECT_EQ(Asked, Wrapped);
}

// --- Over a query on a database file -------------------------------------------------------------

class DBGridEhColumnFitAdoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Connection.SetConnectionString(
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(Dir.filePath(u"opr.mdb"_s)));
        Connection.SetLoginPrompt(false);
        Connection.OnNewDatabase = [this](TObject*) {
            Connection.Execute(u"CREATE TABLE oprint(id COUNTER PRIMARY KEY, 姓名 TEXT, 备注 TEXT)"_s);
        };
        Connection.Open();
        for (int i = 1; i <= 40; ++i)
            Connection.Execute(QStringLiteral("insert into oprint(姓名,备注) values('员工%1','')").arg(i));
        Connection.Execute(u"update oprint set 备注='年底补领办公用品（含打印纸两箱）' where id=37"_s);
        Query.SetConnection(&Connection);
        Query.SQL()->Add(u"select id, 姓名, 备注 from oprint order by id"_s);
        Source.SetDataSet(&Query);
        Form.SetBounds(0, 0, 500, 400);
        Grid = new TCoreTestGrid(&Form);
        Grid->SetBounds(0, 0, 400, 200);
        Grid->SetParent(&Form);
        Grid->HandleNeeded();
        Grid->SetDataSource(&Source);
        Query.Open();
    }

    QTemporaryDir Dir;
    TADOConnection Connection{nullptr};
    TADOQuery Query{nullptr};
    TDataSource Source{nullptr};
    TForm Form{nullptr};
    TCoreTestGrid* Grid = nullptr;
};

TEST_F(DBGridEhColumnFitAdoTest, AQuerysColumnsFitTheirLongestValues)
{
    Query.MoveBy(5);
    TColumnsEhList Columns;
    TColumnEh* Remark = Grid->RequireColumnByFieldName(u"备注"_s);
    TColumnEh* Person = Grid->RequireColumnByFieldName(u"姓名"_s);
    Columns.Add(Remark);
    Columns.Add(Person);
    Grid->OptimizeColsWidth(&Columns);
    EXPECT_EQ(Remark->Width(), FittedWidth(Remark->Font(), {u"年底补领办公用品（含打印纸两箱）"_s, u"备注"_s}));
    EXPECT_EQ(Person->Width(), FittedWidth(Person->Font(), {u"员工40"_s, u"员工10"_s, u"员工1"_s, u"姓名"_s}));
    EXPECT_EQ(Query.RecNo(), 6);
}

// --- Repainting when a column's images change ----------------------------------------------------

// Remembers the cells it was asked to paint.
class TCellRecordingGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;
    std::set<std::pair<int, int>> PaintedCells;

protected:
    void PaintCell(int ACol, int ARow, TGridDrawState, TRect) override { PaintedCells.insert({ACol, ARow}); }
};

class DBGridEhImageLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Data.reset(NewStockDataSet(nullptr));
        Data->Open();
        Data->AppendRecord({Variant(), Variant(u"订书机"_s), Variant(1), Variant(2.0)});
        Source.SetDataSet(Data.get());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        Grid = new TCellRecordingGrid(Form.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetParent(Form.get());
        Column = Grid->Columns()->Add();
        Column->SetFieldName(u"数量"_s);
        Grid->SetDataSource(&Source);
        Images = std::make_unique<TImageList>(nullptr);
        Form->Show();
        Settle();
    }

    void TearDown() override
    {
        Form.reset();
        Images.reset();
        Data.reset();
    }

    void Settle()
    {
        Grid->Handle()->repaint();
        QApplication::processEvents();
        Grid->PaintedCells.clear();
    }

    bool RepaintedAfterImagesChange()
    {
        Images->SetBkColor(Images->BkColor() == clRed ? clBlue : clRed);
        QApplication::processEvents();
        const bool painted = !Grid->PaintedCells.empty();
        Settle();
        return painted;
    }

    std::unique_ptr<TMemoryDataSet> Data;
    TDataSource Source{nullptr};
    std::unique_ptr<TForm> Form;
    std::unique_ptr<TImageList> Images;
    TCellRecordingGrid* Grid = nullptr;
    TColumnEh* Column = nullptr;
};

TEST_F(DBGridEhImageLinkTest, AChangeOfTheColumnsImagesRepaintsTheGrid)
{
    EXPECT_FALSE(RepaintedAfterImagesChange());
    Column->SetImageList(Images.get());
    Settle();
    EXPECT_TRUE(RepaintedAfterImagesChange());
    Column->SetImageList(nullptr);
    Settle();
    EXPECT_FALSE(RepaintedAfterImagesChange());
}

TEST_F(DBGridEhImageLinkTest, ImagesFreedBeforeTheColumnOrAfterItLeaveNothingBehind)
{
    Column->SetImageList(Images.get());
    Images.reset();
    EXPECT_EQ(Column->ImageList(), nullptr);
    Images = std::make_unique<TImageList>(nullptr);
    Column->SetImageList(Images.get());
    Grid->Columns()->Clear();
    Settle();
    // The freed column is no longer told.
    EXPECT_FALSE(RepaintedAfterImagesChange());
}

}  // namespace
