// The bookmark list on an in-memory dataset and on a query: order across sorts and requeries,
// searches, selection changes and deleting the listed records.
#include "controls/ToolCtrlsEh.h"
#include "support/ExceptionText.h"

#include "platform/ado/ADODB.h"
#include "platform/ado/TestTables.h"
#include "platform/core/Exceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A bookmark list over a dataset of the test's choosing that counts its signals.
class TTestBMList : public TBMListEh {
public:
    explicit TTestBMList(TDataSet* DataSet) : FDataSet(DataSet) { SetLinkActive(true); }

    TDataSet* GetDataSet() const override { return FDataSet; }
    void SetDataSet(TDataSet* Value) { FDataSet = Value; }

    int SelectionChanges = 0;
    int Invalidations = 0;
    int StringsChanges = 0;

protected:
    void InvalidateView() override { ++Invalidations; }
    void SelectionChanged() override { ++SelectionChanges; }
    void StringsChanged() override
    {
        ++StringsChanges;
        TBMListEh::StringsChanged();
    }

private:
    TDataSet* FDataSet;
};

const QStringList Names = {u"张三"_s, u"李四"_s, u"王五"_s, u"赵六"_s, u"阿明"_s, u"陈晨"_s, u"丁一"_s, u"Bob"_s};

// What the list checks share, whichever dataset is behind it: records named Names, a
// name field, and ways to select, test and read back by name.
class BMListChecks {
protected:
    virtual ~BMListChecks() = default;
    virtual TDataSet* Data() = 0;
    virtual void Requery() = 0;
    TField* NameField() { return Data()->FieldByName(NameFieldName); }

    void GoTo(const QString& Name) { ASSERT_TRUE(Data()->Locate(NameFieldName, Name, TLocateOptions())) << Name.toStdString(); }

    void Select(TBMListEh& List, const QStringList& Picked, bool Value = true)
    {
        for (const QString& Name : Picked) {
            GoTo(Name);
            List.SetCurrentRowSelected(Value);
        }
    }

    // The names of the records the list says are selected, in the dataset's current order.
    QStringList Selected(TBMListEh& List)
    {
        QStringList Result;
        for (Data()->First(); !Data()->Eof(); Data()->Next())
            if (List.IsCurrentRowSelected())
                Result << NameField()->AsString();
        return Result;
    }

    QStringList AllNames()
    {
        QStringList Result;
        for (Data()->First(); !Data()->Eof(); Data()->Next())
            Result << NameField()->AsString();
        return Result;
    }

    // The entries must stand in ascending bookmark order.
    void ExpectBookmarkOrder(TBMListEh& List)
    {
        for (int I = 1; I < List.ItemCount(); ++I)
            EXPECT_LT(Data()->CompareBookmarks(List.BookmarkAt(I - 1), List.BookmarkAt(I)), 0) << I;
    }

    // Selected in a scattered order, then the dataset re-sorted and re-opened: the same records
    // stay selected, the others not, and the entries keep the dataset's bookmark order.
    void CheckSurvivesSortAndRequery()
    {
        TTestBMList List(Data());
        Select(List, {Names[5], Names[1], Names[7], Names[3]});
        EXPECT_EQ(List.ItemCount(), 4);
        ExpectBookmarkOrder(List);
        EXPECT_EQ(Selected(List), QStringList({Names[1], Names[3], Names[5], Names[7]}));

        Data()->SetSort(NameFieldName + u" DESC"_s);
        QStringList Expected = {Names[1], Names[3], Names[5], Names[7]};
        Expected.sort();
        QStringList AfterSort = Selected(List);
        AfterSort.sort();
        EXPECT_EQ(AfterSort, Expected);

        Requery();
        QStringList AfterRequery = Selected(List);
        AfterRequery.sort();
        EXPECT_EQ(AfterRequery, Expected);
        ExpectBookmarkOrder(List);
        // Selecting again after the requery finds the existing entry.
        Select(List, {Names[3]});
        EXPECT_EQ(List.ItemCount(), 4);
    }

    // Other records deleted, then a listed one deleted elsewhere: DeleteListedRecords deletes
    // exactly the listed records that still exist.
    void CheckDeletes(const std::function<void(const QString&)>& DeleteElsewhere)
    {
        TTestBMList List(Data());
        Select(List, {Names[1], Names[4], Names[6]});
        GoTo(Names[0]);
        Data()->Delete();
        GoTo(Names[5]);
        Data()->Delete();
        EXPECT_EQ(Selected(List), QStringList({Names[1], Names[4], Names[6]}));

        DeleteElsewhere(Names[4]);
        EXPECT_EQ(List.ItemCount(), 3);
        List.SelectionChanges = 0;
        List.DeleteListedRecords();
        EXPECT_EQ(List.ItemCount(), 0);
        EXPECT_EQ(List.SelectionChanges, 1);
        EXPECT_FALSE(Data()->ControlsDisabled());
        EXPECT_EQ(AllNames(), QStringList({Names[2], Names[3], Names[7]}));
    }

    String NameFieldName = u"姓名"_s;
};

// --- On the memory dataset ----------------------------------------------------------------

class BMListMemoryTest : public testing::Test, public BMListChecks {
protected:
    BMListMemoryTest()
    {
        FDataSet->FieldDefs()->Add(u"id"_s, TFieldType::ftAutoInc);
        FDataSet->FieldDefs()->Add(u"姓名"_s, TFieldType::ftString, 20);
        FDataSet->Open();
        for (const QString& Name : Names)
            FDataSet->AppendRecord({Variant(), Variant(Name)});
        FDataSet->First();
    }

    TDataSet* Data() override { return FDataSet; }
    void Requery() override
    {
        FDataSet->Close();
        FDataSet->Open();
    }

    TComponent FOwner{nullptr};
    TMemoryDataSet* FDataSet = new TMemoryDataSet(&FOwner);
};

TEST_F(BMListMemoryTest, StaysRightAcrossSortAndRequery) { CheckSurvivesSortAndRequery(); }

TEST_F(BMListMemoryTest, DeletesOnlyListedRecordsThatStillExist)
{
    CheckDeletes([this](const QString& Name) {
        GoTo(Name);
        FDataSet->Delete();
    });
}

TEST_F(BMListMemoryTest, FindOnEmptyListAnswersInsertionPointZero)
{
    TTestBMList List(FDataSet);
    int Index = -1;
    EXPECT_FALSE(List.FindBookmark(FDataSet->Bookmark(), Index));
    EXPECT_EQ(Index, 0);
    EXPECT_EQ(List.IndexOfBookmark(FDataSet->Bookmark()), -1);
}

TEST_F(BMListMemoryTest, RepeatedSearchIsAnsweredFromTheCacheUntilTheListChanges)
{
    TTestBMList List(FDataSet);
    Select(List, {Names[2], Names[4], Names[6]});
    GoTo(Names[4]);
    const TBookmark Listed = FDataSet->Bookmark();
    int Index = -1;
    ASSERT_TRUE(List.FindBookmark(Listed, Index));
    EXPECT_EQ(Index, 1);
    // Without a dataset every comparison raises, so only a cached answer can come back.
    List.SetDataSet(nullptr);
    Index = -1;
    EXPECT_TRUE(List.FindBookmark(Listed, Index));
    EXPECT_EQ(Index, 1);
    EXPECT_EQ(ExceptionText([&] { List.IndexOfBookmark(TBookmark("other")); }),
              u"不能对已关闭的数据集执行此操作"_s);
    // Any change forgets the cache.
    List.FindBookmark(Listed, Index);
    List.AppendBookmark(TBookmark("x"));
    EXPECT_FALSE(ExceptionText([&] { List.FindBookmark(Listed, Index); }).isEmpty());
}

TEST_F(BMListMemoryTest, SelectingTwiceListsOnceAndUnlistingAnAbsentRowChangesNothing)
{
    TTestBMList List(FDataSet);
    Select(List, {Names[3], Names[3]});
    EXPECT_EQ(List.ItemCount(), 1);
    const int Changes = List.StringsChanges;
    Select(List, {Names[5]}, false);
    EXPECT_EQ(List.ItemCount(), 1);
    EXPECT_EQ(List.StringsChanges, Changes);
    Select(List, {Names[3]}, false);
    EXPECT_EQ(List.ItemCount(), 0);
}

TEST_F(BMListMemoryTest, RemoveAllSignalsOnlyWhenSomethingWasListed)
{
    TTestBMList List(FDataSet);
    List.SelectionChanges = 0;
    List.RemoveAll();
    EXPECT_EQ(List.SelectionChanges, 0);
    EXPECT_EQ(List.Invalidations, 0);
    Select(List, {Names[0], Names[1]});
    List.RemoveAll();
    EXPECT_EQ(List.ItemCount(), 0);
    EXPECT_EQ(List.SelectionChanges, 1);
    EXPECT_EQ(List.Invalidations, 1);
}

TEST_F(BMListMemoryTest, LinkChangesEmptyTheListAndAClosedLinkRaises)
{
    TTestBMList List(FDataSet);
    Select(List, {Names[0], Names[1]});
    List.SetLinkActive(false);
    EXPECT_EQ(List.ItemCount(), 0);
    EXPECT_EQ(ExceptionText([&] { List.IsCurrentRowSelected(); }),
              u"不能对已关闭的数据集执行此操作"_s);
    EXPECT_EQ(ExceptionText([&] { List.SetCurrentRowSelected(true); }),
              u"不能对已关闭的数据集执行此操作"_s);
    List.SetLinkActive(true);
    EXPECT_FALSE(List.IsCurrentRowSelected());
}

TEST_F(BMListMemoryTest, ARecordBeingInsertedIsNeverListed)
{
    TTestBMList List(FDataSet);
    FDataSet->Append();
    List.SetCurrentRowSelected(true);
    EXPECT_EQ(List.ItemCount(), 0);
    EXPECT_FALSE(List.IsCurrentRowSelected());
    FDataSet->Cancel();
}

TEST_F(BMListMemoryTest, AFailedDeleteStopsTheRunWithControlsEnabledAgain)
{
    TTestBMList List(FDataSet);
    Select(List, {Names[1], Names[3], Names[5], Names[7]});
    FDataSet->BeforeDelete = [this](TDataSet*) {
        if (NameField()->AsString() == Names[5])
            throw Exception(u"locked"_s);
    };
    List.SelectionChanges = 0;
    EXPECT_EQ(ExceptionText([&] { List.DeleteListedRecords(); }), u"locked"_s);
    FDataSet->BeforeDelete = nullptr;
    // The last entry went with its record; the failing one and those before it stay.
    EXPECT_EQ(List.ItemCount(), 3);
    EXPECT_EQ(Selected(List), QStringList({Names[1], Names[3], Names[5]}));
    EXPECT_FALSE(AllNames().contains(Names[7]));
    EXPECT_FALSE(FDataSet->ControlsDisabled());
    EXPECT_EQ(List.SelectionChanges, 0);
}

TEST_F(BMListMemoryTest, SortWithOrdersEntriesAndSearchesStayRight)
{
    TTestBMList List(FDataSet);
    Select(List, {Names[0], Names[2], Names[4], Names[7]});
    std::vector<TBookmark> Before;
    for (int I = 0; I < List.ItemCount(); ++I)
        Before.push_back(List.BookmarkAt(I));
    // Newest record first: the reverse of the bookmark order.
    List.SortWith([this](TBMListEh* L, int I1, int I2) {
        return FDataSet->CompareBookmarks(L->BookmarkAt(I2), L->BookmarkAt(I1));
    });
    ASSERT_EQ(List.ItemCount(), 4);
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(List.BookmarkAt(I), Before[static_cast<std::size_t>(3 - I)]);
    EXPECT_EQ(Selected(List), QStringList({Names[0], Names[2], Names[4], Names[7]}));
    Select(List, {Names[4]}, false);
    EXPECT_EQ(Selected(List), QStringList({Names[0], Names[2], Names[7]}));
    // Selecting puts the list back into bookmark order.
    Select(List, {Names[1]});
    ExpectBookmarkOrder(List);
    EXPECT_EQ(Selected(List), QStringList({Names[0], Names[1], Names[2], Names[7]}));
}

TEST_F(BMListMemoryTest, DirectOperationsCheckTheirIndex)
{
    TTestBMList List(FDataSet);
    EXPECT_THROW(List.InsertAt(1, TBookmark("a")), Exception);
    EXPECT_THROW(List.DeleteAt(0), Exception);
    List.InsertAt(0, TBookmark("a"));
    List.AppendBookmark(TBookmark("b"));
    EXPECT_EQ(List.BookmarkAt(1), TBookmark("b"));
    List.DeleteAt(0);
    EXPECT_EQ(List.ItemCount(), 1);
}

// --- On a query over a database file ------------------------------------------------------

class BMListADOTest : public testing::Test, public BMListChecks {
protected:
    BMListADOTest()
    {
        FConnection.SetLoginPrompt(false);
        ConnectWithTestTables(FConnection, FDir.filePath(u"opr.mdb"_s));
        FQuery.SetConnection(&FConnection);
        FCommand.SetConnection(&FConnection);
        for (const QString& Name : Names) {
            SetSql(FCommand, "insert into oprint(姓名,数量) values(:sname,1)");
            FCommand.Parameters()->ParamByName(u"sname"_s)->SetValue(Name);
            FCommand.ExecSQL();
        }
        SetSql(FQuery, "select * from oprint order by id");
        FQuery.Open();
    }

    static void SetSql(TADOQuery& Query, const char* Sql)
    {
        Query.Close();
        Query.SQL()->Clear();
        Query.SQL()->Add(String::fromUtf8(Sql));
    }

    TDataSet* Data() override { return &FQuery; }
    void Requery() override
    {
        FQuery.Close();
        FQuery.Open();
    }

    QTemporaryDir FDir;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
    TADOQuery FCommand{nullptr};
};

TEST_F(BMListADOTest, StaysRightAcrossSortAndRequery) { CheckSurvivesSortAndRequery(); }

TEST_F(BMListADOTest, DeletesOnlyListedRecordsThatStillExist)
{
    CheckDeletes([this](const QString& Name) {
        // Another statement deletes the row, then the query is opened again.
        SetSql(FCommand, "delete from oprint where 姓名 = :sname");
        FCommand.Parameters()->ParamByName(u"sname"_s)->SetValue(Name);
        EXPECT_EQ(FCommand.ExecSQL(), 1);
        Requery();
    });
    SetSql(FCommand, "select 姓名 from oprint order by id");
    FCommand.Open();
    QStringList Stored;
    for (; !FCommand.Eof(); FCommand.Next())
        Stored << FCommand.Fields()->Fields(0)->AsString();
    EXPECT_EQ(Stored, QStringList({Names[2], Names[3], Names[7]}));
}

}  // namespace
