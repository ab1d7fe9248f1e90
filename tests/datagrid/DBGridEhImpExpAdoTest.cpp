// The clipboard commands on the application's own data access: a query on a database file.
#include "DBGridEhCoreSupport.h"
#include "OprintTestDatabase.h"
#include "support/ExceptionText.h"

#include "datagrid/DBGridEhImpExp.h"

#include "platform/ado/ADODB.h"
#include "platform/core/TextEncoding.h"
#include "platform/data/DataSet.h"
#include "platform/ui/Dialogs.h"

#include <QTemporaryDir>

namespace {

class DBGridEhImpExpAdoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        OpenOprintTestDatabase(Connection, Dir);
        Connection.Execute(String::fromUtf8("insert into oprint(姓名,部门,数量,备注) values('张三','财务部',1,'C:\\temp {x}')"));
        Connection.Execute(String::fromUtf8("insert into oprint(姓名,部门,数量,备注) values('李四','办公室',2,null)"));
        Connection.Execute(String::fromUtf8("insert into oprint(姓名,部门,数量,备注) values('王五','财务部',3,'')"));
        Query.SetConnection(&Connection);
        Source.SetDataSet(&Query);
        Form.SetBounds(0, 0, 500, 400);
        Grid = new TCoreTestGrid(&Form);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetParent(&Form);
        Grid->SetOptions(Grid->Options() | dgMultiSelect);
        Grid->SetDataSource(&Source);
        Requery();
    }

    void TearDown() override { Clipboard()->SetStore(nullptr); }

    void Requery()
    {
        Query.Close();
        Query.SQL()->Clear();
        // The record pages' queries: one table, every column, so the records can be written.
        Query.SQL()->Add(String::fromUtf8("select * from oprint order by id"));
        Query.Open();
    }

    // Every column but the key, which a paste makes anew.
    std::vector<String> Rows()
    {
        std::vector<String> result;
        for (Query.First(); !Query.Eof(); Query.Next()) {
            String row;
            for (int i = 1; i < Query.FieldCount(); ++i)
                row += (i > 1 ? u"|"_s : String()) + (Query.Fields()->Fields(i)->IsNull() ? u"∅"_s : Query.Fields()->Fields(i)->AsString());
            result.push_back(row);
        }
        return result;
    }

    QTemporaryDir Dir;
    TADOConnection Connection{nullptr};
    TADOQuery Query{nullptr};
    TDataSource Source{nullptr};
    TForm Form{nullptr};
    TCoreTestGrid* Grid = nullptr;
};

TEST_F(DBGridEhImpExpAdoTest, CutAllThenPasteRestoresTheRecordsInTheFile)
{
    const std::vector<String> before = Rows();
    {
        TScriptedDialogs dialogs;
        dialogs.Answer(mrOk);
        CutGridSelection(Grid, true);
        EXPECT_EQ(dialogs.Shown().size(), 1u);
    }
    Requery();
    EXPECT_TRUE(Query.IsEmpty());
    PasteIntoGrid(Grid, false);
    Requery();
    EXPECT_EQ(Rows(), before);
}

TEST_F(DBGridEhImpExpAdoTest, SelectedRowsCopyAsTextAndRtfEscapesTheirBraces)
{
    for (const int recNo : {1, 3}) {
        Query.SetRecNo(recNo);
        Grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    CopyGridSelectionToClipboard(Grid, false);
    EXPECT_EQ(Clipboard()->AsText(), u"id\t姓名\t部门\t数量\t备注\r\n1\t张三\t财务部\t1\tC:\\temp {x}\r\n3\t王五\t财务部\t3\t"_s);
    const QByteArray rtf = Clipboard()->GetFormatData(CF_RTF());
    EXPECT_TRUE(rtf.contains(" C:\\\\temp \\{x\\}\\cell}"));
    EXPECT_FALSE(rtf.contains("\\temp {"));
}

TEST_F(DBGridEhImpExpAdoTest, PastedTextOverwritesTheSelectedColumnAndReachesTheFile)
{
    Grid->Selection()->Columns()->SelectColumn(Grid->Columns()->ColumnAt(2), false);
    Clipboard()->SetAsText(u"仓库\r\n仓库\r\n仓库"_s);
    PasteIntoGrid(Grid, false);
    Requery();
    EXPECT_EQ(Rows(), (std::vector<String>{u"张三|仓库|1|C:\\temp {x}"_s, u"李四|仓库|2|∅"_s, u"王五|仓库|3|"_s}));
}

// The database refuses to delete 李四's record, as a rule of its own would.
void RefuseDeletingLiSi(TADOConnection& Connection)
{
    Connection.Database().ExecuteScript(String::fromUtf8(
        "CREATE TRIGGER keep_lisi BEFORE DELETE ON oprint WHEN old.姓名 = '李四' "
        "BEGIN SELECT RAISE(ABORT, '李四的记录不能删除'); END"));
}

TEST_F(DBGridEhImpExpAdoTest, DeleteOfAllRecordsFailingPartWayLeavesEveryRecord)
{
    const std::vector<String> before = Rows();
    RefuseDeletingLiSi(Connection);
    Query.SetRecNo(3);
    Grid->SetOptions(Grid->Options() - dgConfirmDelete);
    Grid->Selection()->SelectAllCells();
    // 张三 goes first, then 李四 fails.
    EXPECT_TRUE(ExceptionText([this] { DeleteGridSelection(Grid, false); }).contains(u"李四的记录不能删除"_s));
    EXPECT_FALSE(Connection.InTransaction());
    // The grid's query reads the records again: all three shown, the current one kept.
    EXPECT_EQ(Query.RecordCount(), 3);
    EXPECT_EQ(Query.FieldByName(u"姓名"_s)->AsString(), u"王五"_s);
    Requery();
    EXPECT_EQ(Rows(), before);
}

TEST_F(DBGridEhImpExpAdoTest, DeleteOfSelectedRowsFailingPartWayLeavesEveryRecord)
{
    const std::vector<String> before = Rows();
    RefuseDeletingLiSi(Connection);
    Grid->SetOptions(Grid->Options() - dgConfirmDelete);
    for (const int recNo : {1, 2, 3}) {
        Query.SetRecNo(recNo);
        Grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    EXPECT_FALSE(ExceptionText([this] { DeleteGridSelection(Grid, false); }).isEmpty());
    EXPECT_FALSE(Connection.InTransaction());
    EXPECT_EQ(Query.RecordCount(), 3);
    Requery();
    EXPECT_EQ(Rows(), before);
}

TEST_F(DBGridEhImpExpAdoTest, DeleteInsideTheCallersTransactionIsLeftToTheCaller)
{
    Grid->SetOptions(Grid->Options() - dgConfirmDelete);
    Connection.BeginTrans();
    Grid->Selection()->SelectAllCells();
    DeleteGridSelection(Grid, false);
    EXPECT_TRUE(Connection.InTransaction());
    EXPECT_TRUE(Query.IsEmpty());
    Connection.RollbackTrans();
    Requery();
    EXPECT_EQ(Query.RecordCount(), 3);
}

}  // namespace
