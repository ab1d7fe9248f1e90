// The grid over the application's own data access: a query on a database file.
#include "DBGridEhCoreSupport.h"
#include "OprintTestDatabase.h"

#include "platform/ado/ADODB.h"
#include "platform/data/DataSet.h"

#include <QTemporaryDir>

namespace {

class DBGridEhAdoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenOprintTestDatabase(Connection, Dir);
        Connection.Execute(String::fromUtf8("insert into oprint(姓名,部门,数量,备注) values('张三','财务部',1,'')"));
        // Doubled six times: 64 records, numbered by id.
        for (int i = 0; i < 6; ++i)
            Connection.Execute(String::fromUtf8(
                "insert into oprint(姓名,部门,数量,备注) select 姓名,部门,数量+1,备注 from oprint"));
        Query.SetConnection(&Connection);
        Source.SetDataSet(&Query);
        Form.SetBounds(0, 0, 500, 400);
        Grid = new TCoreTestGrid(&Form);
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetParent(&Form);
        Grid->HandleNeeded();
        Grid->SetDataSource(&Source);
    }

    void Requery(const char* Sql)
    {
        Query.Close();
        Query.SQL()->Clear();
        Query.SQL()->Add(String::fromUtf8(Sql));
        Query.Open();
    }

    String Cell(int Row, const String& FieldName)
    {
        Grid->SwitchToRowRecord(Row);
        const String Text = Grid->RequireColumnByFieldName(FieldName)->ComputeDisplayText();
        Grid->RestoreRowRecord();
        return Text;
    }

    QTemporaryDir Dir;
    TADOConnection Connection{nullptr};
    TADOQuery Query{nullptr};
    TDataSource Source{nullptr};
    TForm Form{nullptr};
    TCoreTestGrid* Grid = nullptr;
};

TEST_F(DBGridEhAdoTest, AQueryIsShownScrolledAndRequeriedWithOtherFields)
{
    Requery("select id, 姓名, 数量 from oprint order by id");
    ASSERT_EQ(Grid->Columns()->Count(), 3);
    EXPECT_EQ(Grid->Columns()->ColumnAt(1)->Title()->Caption(), u"姓名"_s);
    const int rows = Grid->DataLink()->BufferCount();
    EXPECT_EQ(Grid->RowCount(), rows + 1);
    EXPECT_EQ(Cell(1, u"id"_s), u"2"_s);
    TScrollInfo Info = Grid->VertInfo();
    EXPECT_EQ(Info.nMax, 64 + rows - 1);
    EXPECT_EQ(Info.nPos, 1);

    Query.MoveBy(40);
    EXPECT_EQ(Grid->VertInfo().nPos, 41);
    EXPECT_EQ(Grid->Row(), Grid->DataLink()->ActiveRecord() + 1);
    EXPECT_EQ(Cell(Grid->Row() - 1, u"id"_s), u"41"_s);

    // The page query re-run with a filter and fewer fields: the columns and rows follow.
    Requery("select 部门, 数量 from oprint where 数量 > 6 order by id");
    ASSERT_EQ(Grid->Columns()->Count(), 2);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->Field(), Query.FieldByName(u"部门"_s));
    EXPECT_EQ(Grid->ColumnByFieldName(u"id"_s), nullptr);
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_EQ(Cell(0, u"数量"_s), u"7"_s);
    EXPECT_EQ(Grid->VertInfo().nMax, 1 + 1 - 1);
}

TEST_F(DBGridEhAdoTest, EditsInsertsAndDeletesReachTheFileAndTheRows)
{
    // The application's page queries: one table, every column, so the records can be written.
    Requery("select * from oprint order by id");
    Query.MoveBy(2);
    Grid->FocusDataColumn(1);
    ASSERT_TRUE(Grid->TryBeginCellEdit());
    Grid->PutCellEditText(Grid->Col(), Grid->Row(), u"李四"_s);
    Query.Post();
    EXPECT_EQ(Cell(2, u"姓名"_s), u"李四"_s);

    Query.Append();
    Query.FieldByName(u"姓名"_s)->SetAsString(u"王五"_s);
    Query.Post();
    EXPECT_EQ(Grid->VertInfo().nMax, 65 + Grid->DataLink()->BufferCount() - 1);
    EXPECT_EQ(Cell(Grid->Row() - 1, u"姓名"_s), u"王五"_s);
    Query.Delete();
    EXPECT_EQ(Query.RecordCount(), 64);
    EXPECT_EQ(Grid->Row(), Grid->DataLink()->ActiveRecord() + 1);

    Requery("select 姓名 from oprint where id = 3");
    EXPECT_EQ(Cell(0, u"姓名"_s), u"李四"_s);
}

TEST_F(DBGridEhAdoTest, ClosingTheQueryLeavesAnEmptyGridWithoutFields)
{
    Requery("select id, 姓名 from oprint");
    Query.Close();
    EXPECT_EQ(Grid->RowCount(), 2);
    ASSERT_EQ(Grid->Columns()->Count(), 1);
    EXPECT_EQ(Grid->Columns()->ColumnAt(0)->Field(), nullptr);
    EXPECT_EQ(Grid->VertInfo().nMax, 1);
}

}  // namespace

namespace {

// A requery gives new records: the bookmarks of the old ones select nothing any more.
TEST_F(DBGridEhAdoTest, ARequeryEmptiesTheSelectedRecords)
{
    Requery("select id, 姓名, 数量 from oprint order by id");
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    for (int recNo : {2, 5}) {
        Query.SetRecNo(recNo);
        Grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    ASSERT_EQ(Grid->SelectedRows()->ItemCount(), 2);
    Requery("select id, 姓名, 数量 from oprint where id > 3 order by id");
    EXPECT_EQ(Grid->SelectedRows()->ItemCount(), 0);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstNon);
    Query.SetRecNo(2);
    EXPECT_FALSE(Grid->SelectedRows()->IsCurrentRowSelected());
}

}  // namespace
