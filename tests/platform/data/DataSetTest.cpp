// Datasets in memory: bookmarks, sorting, locate and lookup, filters, posting and the events.
#include "DataSetTestSupport.h"

#include "platform/core/Exceptions.h"
#include "platform/data/TypedFields.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QStringList NamesInOrder(TDataSet* DataSet)
{
    QStringList names;
    DataSet->First();
    while (!DataSet->Eof()) {
        names << DataSet->FieldByName(u"姓名"_s)->AsString();
        DataSet->Next();
    }
    return names;
}

}  // namespace

TEST(DataSetTest, BookmarksSurviveSortingAndDeletesOfOtherRecords)
{
    TPeopleTable table;
    table.DataSet->SetRecNo(4);
    const TBookmark zhao = table.DataSet->Bookmark();
    table.DataSet->SetRecNo(9);
    const TBookmark alice = table.DataSet->Bookmark();

    table.DataSet->SetSort(u"数量 DESC"_s);
    EXPECT_EQ(table.Name()->AsString(), u"alice"_s);  // the current record stays current
    EXPECT_EQ(table.DataSet->RecNo(), 2);
    table.DataSet->First();
    table.DataSet->Delete();  // 蔡文
    table.DataSet->SetBookmark(zhao);
    EXPECT_EQ(table.Name()->AsString(), u"赵六"_s);
    EXPECT_TRUE(table.DataSet->BookmarkValid(alice));

    // Ordered by identity, whatever the order on screen.
    EXPECT_LT(table.DataSet->CompareBookmarks(zhao, alice), 0);
    EXPECT_GT(table.DataSet->CompareBookmarks(alice, zhao), 0);
    EXPECT_EQ(table.DataSet->CompareBookmarks(zhao, zhao), 0);
    EXPECT_LT(table.DataSet->CompareBookmarks(TBookmark(), zhao), 0);

    table.DataSet->Delete();
    EXPECT_FALSE(table.DataSet->BookmarkValid(zhao));
    EXPECT_THROW(table.DataSet->SetBookmark(zhao), EDatabaseError);
}

TEST(DataSetTest, SortOrdersChineseByPinyinStablyAndSendsOneChange)
{
    TPeopleTable table;
    table.DataSet->SetSort(u"[姓名] ASC"_s);
    EXPECT_EQ(table.Link.Calls, QStringList({u"CheckBrowseMode"_s, u"DataSetChanged"_s}));
    // Latin letters before Chinese, case ignored; Chinese by pinyin.
    EXPECT_EQ(NamesInOrder(table.DataSet), QStringList({u"alice"_s, u"Bob"_s, u"阿明"_s, u"蔡文"_s, u"陈晨"_s,
                                                        u"丁一"_s, u"李四"_s, u"王五"_s, u"张三"_s, u"赵六"_s}));
    table.DataSet->SetSort(QString());
    EXPECT_EQ(NamesInOrder(table.DataSet), TPeopleTable::Names);
    EXPECT_THROW(table.DataSet->SetSort(u"没有 ASC"_s), EDatabaseError);
    EXPECT_TRUE(table.DataSet->Sort().isEmpty());
}

TEST(DataSetTest, ArrangedRecordsAreTheTablesOwnOrderAndTheCurrentOneStays)
{
    TPeopleTable table;
    table.DataSet->SetRecNo(2);  // 李四
    std::vector<TRecordId> order;
    for (TRecordId id = 10; id >= 1; --id)
        order.push_back(id);
    table.DataSet->ArrangeRecords(order);
    EXPECT_EQ(table.Name()->AsString(), u"李四"_s);
    EXPECT_EQ(table.DataSet->RecNo(), 9);
    QStringList reversed = TPeopleTable::Names;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(NamesInOrder(table.DataSet), reversed);
    // A sort and its removal come back to the arranged order.
    table.DataSet->SetSort(u"[姓名] ASC"_s);
    table.DataSet->SetSort(QString());
    EXPECT_EQ(NamesInOrder(table.DataSet), reversed);
    // An order that leaves a record out changes nothing.
    EXPECT_THROW(table.DataSet->ArrangeRecords({1, 2}), EDatabaseError);
    EXPECT_EQ(NamesInOrder(table.DataSet), reversed);
}

TEST(DataSetTest, LocateMatchesExactlyOrIgnoringCaseOrByPrefix)
{
    TPeopleTable table;
    EXPECT_FALSE(table.DataSet->Locate(u"姓名"_s, u"BOB"_s, TLocateOptions()));
    EXPECT_TRUE(table.DataSet->Locate(u"姓名"_s, u"BOB"_s, TLocateOption::loCaseInsensitive));
    EXPECT_EQ(table.DataSet->RecNo(), 8);
    EXPECT_TRUE(table.DataSet->Locate(u"姓名"_s, u"Al"_s, TLocateOption::loCaseInsensitive | TLocateOption::loPartialKey));
    EXPECT_EQ(table.Name()->AsString(), u"alice"_s);
    EXPECT_TRUE(table.DataSet->Locate(u"姓名"_s, u"陈"_s, TLocateOption::loPartialKey));
    EXPECT_EQ(table.DataSet->RecNo(), 6);
    EXPECT_TRUE(table.DataSet->Locate(u"姓名;数量"_s, VarArrayOf({u"王五"_s, u"30"_s}), TLocateOptions()));
    EXPECT_EQ(table.DataSet->RecNo(), 3);
    EXPECT_FALSE(table.DataSet->Locate(u"姓名;数量"_s, VarArrayOf({u"王五"_s, 40}), TLocateOptions()));
    EXPECT_FALSE(table.DataSet->Locate(u"数量"_s, u"abc"_s, TLocateOptions()));
    EXPECT_EQ(table.DataSet->RecNo(), 3);
    EXPECT_THROW(table.DataSet->Locate(u"年龄"_s, 1, TLocateOptions()), EDatabaseError);
}

TEST(DataSetTest, LookupAnswersWithoutMovingAndNullWhenNothingMatches)
{
    TPeopleTable table;
    table.Link.Calls.clear();
    EXPECT_EQ(table.DataSet->Lookup(u"数量"_s, 70, u"姓名"_s), Variant(u"丁一"_s));
    const Variant both = table.DataSet->Lookup(u"姓名"_s, u"李四"_s, u"id;数量"_s);
    EXPECT_EQ(both[0], Variant(2));
    EXPECT_EQ(both[1], Variant(20));
    EXPECT_TRUE(VarIsNull(table.DataSet->Lookup(u"姓名"_s, u"无名"_s, u"数量"_s)));
    EXPECT_EQ(table.DataSet->RecNo(), 1);
    EXPECT_TRUE(table.Link.Calls.isEmpty());
}

TEST(DataSetTest, ALookupFieldShowsTheLookupDataSetsValue)
{
    TPeopleTable people;
    TComponent owner(nullptr);
    auto* orders = new TMemoryDataSet(&owner);
    orders->FieldDefs()->Add(u"人"_s, TFieldType::ftInteger);
    auto* who = new TIntegerField(&owner);
    who->SetFieldName(u"人"_s);
    who->SetDataSet(orders);
    auto* name = new TStringField(&owner);
    name->SetFieldName(u"姓名"_s);
    name->SetFieldKind(TFieldKind::fkLookup);
    name->SetKeyFields(u"人"_s);
    name->SetLookupDataSet(people.DataSet);
    name->SetLookupKeyFields(u"id"_s);
    name->SetLookupResultField(u"姓名"_s);
    name->SetDataSet(orders);
    orders->Open();
    EXPECT_FALSE(orders->DefaultFields());
    orders->AppendRecord({3});
    EXPECT_EQ(name->AsString(), u"王五"_s);
    delete people.DataSet;
    EXPECT_EQ(name->LookupDataSet(), nullptr);
    EXPECT_TRUE(name->IsNull());
}

TEST(DataSetTest, FiltersByHandlerAndByText)
{
    TPeopleTable table;
    table.DataSet->OnFilterRecord = [](TDataSet* DataSet, bool& Accept) {
        Accept = DataSet->FieldByName(u"数量"_s)->AsInteger() % 20 == 0;
    };
    table.DataSet->SetFiltered(true);
    EXPECT_EQ(table.DataSet->RecordCount(), 5);
    EXPECT_EQ(NamesInOrder(table.DataSet), QStringList({u"李四"_s, u"赵六"_s, u"陈晨"_s, u"Bob"_s, u"蔡文"_s}));
    table.DataSet->OnFilterRecord = nullptr;
    table.DataSet->SetFilter(u"(姓名 like '%i%' or 姓名 = '张三') and not 数量 > 90"_s);
    EXPECT_EQ(NamesInOrder(table.DataSet), QStringList({u"张三"_s, u"alice"_s}));
    EXPECT_THROW(table.DataSet->SetFilter(u"姓名 = "_s), EDatabaseError);
    table.DataSet->SetFiltered(false);
    EXPECT_EQ(table.DataSet->RecordCount(), 10);
}

TEST(DataSetTest, PostChecksRequiredFieldsAndFocusesTheEmptyOne)
{
    TPeopleTable table;
    table.Name()->SetRequired(true);
    table.Name()->SetDisplayLabel(u"名字"_s);
    table.DataSet->Append();
    table.Count()->SetAsInteger(5);
    table.Link.Calls.clear();
    try {
        table.DataSet->Post();
        FAIL() << "posted without a required value";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), u"字段“名字”必须有值"_s);
    }
    EXPECT_TRUE(table.Link.Calls.contains(u"FocusControl(姓名)"_s));
    EXPECT_EQ(table.DataSet->State(), TDataSetState::dsInsert);
    table.Name()->SetAsString(u"有了"_s);
    table.DataSet->Post();
    EXPECT_EQ(table.DataSet->RecordCount(), 11);
}

TEST(DataSetTest, SettingAFieldInBrowseStateFailsAndWritesNothing)
{
    TPeopleTable table;
    table.DataSet->SetName(u"人员"_s);
    try {
        table.Name()->SetAsString(u"偷改"_s);
        FAIL() << "wrote in browse state";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), u"人员: 数据集不在编辑或插入状态"_s);
    }
    EXPECT_EQ(table.Name()->AsString(), u"张三"_s);
    table.DataSet->Edit();
    EXPECT_THROW(table.DataSet->FieldByName(u"id"_s)->SetAsInteger(5), EDatabaseError);
    try {
        table.DataSet->FieldByName(u"年龄"_s);
        FAIL() << "found a missing field";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), u"人员: 找不到字段“年龄”"_s);
    }
    EXPECT_EQ(table.DataSet->FindField(u"年龄"_s), nullptr);
    EXPECT_EQ(table.DataSet->FindField(u"ID"_s), table.DataSet->Fields()->Fields(0));
}

TEST(DataSetTest, PostAndDeleteKeepRecordsInTheStoreAcrossReopen)
{
    TPeopleTable table;
    table.DataSet->Edit();
    table.Count()->SetAsInteger(11);
    table.DataSet->Post();
    table.DataSet->Last();
    table.DataSet->Delete();
    EXPECT_EQ(table.Name()->AsString(), u"alice"_s);
    table.DataSet->Close();
    table.DataSet->Open();
    EXPECT_EQ(table.DataSet->RecordCount(), 9);
    EXPECT_EQ(table.Count()->AsInteger(), 11);
    table.DataSet->Last();
    EXPECT_EQ(table.Name()->AsString(), u"alice"_s);
}

TEST(DataSetTest, DeletingTheLastRecordLeavesAnEmptyDataSet)
{
    TPeopleTable table(4, 1);
    table.DataSet->Delete();
    EXPECT_TRUE(table.DataSet->IsEmpty());
    EXPECT_TRUE(table.DataSet->Bof());
    EXPECT_TRUE(table.DataSet->Eof());
    EXPECT_EQ(table.DataSet->RecNo(), -1);
    EXPECT_TRUE(table.DataSet->Bookmark().isEmpty());
    EXPECT_TRUE(table.Name()->IsNull());
    EXPECT_THROW(table.DataSet->Delete(), EDatabaseError);
    table.DataSet->Edit();  // edits of an empty dataset insert
    EXPECT_EQ(table.DataSet->State(), TDataSetState::dsInsert);
}

TEST(DataSetTest, BeforeAndAfterHandlersChainAndRunInOrder)
{
    TPeopleTable table;
    QStringList calls;
    auto chain = [&calls](TDataSetNotifyEvent& Event, const QString& Name) {
        TDataSetNotifyEvent previous = Event;
        Event = [&calls, previous, Name](TDataSet* DataSet) {
            calls << Name;
            if (previous)
                previous(DataSet);
        };
    };
    table.DataSet->AfterPost = [&calls](TDataSet*) { calls << u"original AfterPost"_s; };
    chain(table.DataSet->BeforeEdit, u"BeforeEdit"_s);
    chain(table.DataSet->AfterEdit, u"AfterEdit"_s);
    chain(table.DataSet->BeforePost, u"BeforePost"_s);
    chain(table.DataSet->AfterPost, u"AfterPost"_s);
    chain(table.DataSet->BeforeScroll, u"BeforeScroll"_s);
    chain(table.DataSet->AfterScroll, u"AfterScroll"_s);
    chain(table.DataSet->BeforeDelete, u"BeforeDelete"_s);
    chain(table.DataSet->AfterDelete, u"AfterDelete"_s);
    table.DataSet->Edit();
    table.Count()->SetAsInteger(1);
    table.DataSet->Next();
    table.DataSet->Delete();
    EXPECT_EQ(calls, QStringList({u"BeforeEdit"_s, u"AfterEdit"_s, u"BeforePost"_s, u"AfterPost"_s,
                                  u"original AfterPost"_s, u"BeforeScroll"_s, u"AfterScroll"_s, u"BeforeDelete"_s,
                                  u"BeforeScroll"_s, u"AfterDelete"_s, u"AfterScroll"_s}));
}

TEST(DataSetTest, OpenAndCloseEventsAndTheClosedDataSetsErrors)
{
    TPeopleTable table;
    QStringList calls;
    table.DataSet->BeforeClose = [&calls](TDataSet* DataSet) { calls << u"BeforeClose %1"_s.arg(DataSet->Active()); };
    table.DataSet->AfterClose = [&calls](TDataSet* DataSet) { calls << u"AfterClose %1"_s.arg(DataSet->Active()); };
    table.DataSet->AfterOpen = [&calls](TDataSet* DataSet) { calls << u"AfterOpen %1"_s.arg(DataSet->RecNo()); };
    table.DataSet->Close();
    EXPECT_THROW(table.DataSet->RecordCount(), EDatabaseError);
    EXPECT_THROW(table.DataSet->Next(), EDatabaseError);
    table.DataSet->Open();
    EXPECT_EQ(calls, QStringList({u"BeforeClose 1"_s, u"AfterClose 0"_s, u"AfterOpen 1"_s}));
}

TEST(DataSetTest, ReadOnlyFieldDefsAndOnNewRecordDefaults)
{
    TPeopleTable table;
    table.DataSet->OnNewRecord = [](TDataSet* DataSet) { DataSet->FieldByName(u"数量"_s)->SetAsInteger(1); };
    table.DataSet->Append();
    EXPECT_FALSE(table.DataSet->Modified());
    EXPECT_EQ(table.Count()->AsInteger(), 1);
    EXPECT_FALSE(table.DataSet->FieldByName(u"id"_s)->CanModify());
    EXPECT_TRUE(table.Name()->CanModify());
    table.Name()->SetAsString(u"新"_s);
    EXPECT_TRUE(table.DataSet->Modified());
    table.DataSet->Post();
    EXPECT_EQ(table.Count()->AsInteger(), 1);
}

TEST(DataSetTest, BookmarksFindTheirRecordsAfterAppendsAndDeletesAtEitherEnd)
{
    TPeopleTable table;
    std::vector<TBookmark> marks;
    for (table.DataSet->First(); !table.DataSet->Eof(); table.DataSet->Next())
        marks.push_back(table.DataSet->Bookmark());
    table.DataSet->Last();
    table.DataSet->Delete();  // 蔡文, the last record
    table.DataSet->First();
    table.DataSet->Delete();  // 张三, the first record
    table.DataSet->AppendRecord({Variant(), Variant(u"新人"_s), Variant(5)});
    const TBookmark added = table.DataSet->Bookmark();

    EXPECT_FALSE(table.DataSet->BookmarkValid(marks.front()));
    EXPECT_FALSE(table.DataSet->BookmarkValid(marks.back()));
    for (std::size_t i = 1; i + 1 < marks.size(); ++i) {
        table.DataSet->SetBookmark(marks[i]);
        EXPECT_EQ(table.Name()->AsString(), TPeopleTable::Names[static_cast<int>(i)]);
    }
    table.DataSet->SetBookmark(added);
    EXPECT_EQ(table.Name()->AsString(), u"新人"_s);
    EXPECT_EQ(table.DataSet->RecNo(), 9);
}
