// The special row's cells, colour and font, the field-list routines, the forwarding data link
// and the field value list.
#include "controls/ToolCtrlsEh.h"
#include "support/ExceptionText.h"

#include "platform/core/Exceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList Cells(const QString& Text)
{
    TSpecRowEh Row(nullptr);
    Row.SetCellsText(Text);
    QStringList Result;
    for (int I = 0; I < Row.CellCount(); ++I)
        Result << Row.CellTextAt(I);
    return Result;
}

// --- Special row --------------------------------------------------------------------------

TEST(SpecRowEhTest, CellsTextSplitsIntoCells)
{
    EXPECT_EQ(Cells(u"\"a;b\";c"_s), QStringList({u"a;b"_s, u"c"_s}));
    EXPECT_EQ(Cells(u"a\r\nb"_s), QStringList({u"a"_s, u"b"_s}));
    EXPECT_EQ(Cells(u"a; b"_s), QStringList({u"a"_s, u" b"_s}));
    EXPECT_EQ(Cells(QString()), QStringList());
    EXPECT_EQ(Cells(u"  \t"_s), QStringList());
    EXPECT_EQ(Cells(u";a"_s), QStringList({QString(), u"a"_s}));
    EXPECT_EQ(Cells(u"\"x\" ;y"_s), QStringList({u"x"_s, u" "_s, u"y"_s}));
    EXPECT_EQ(Cells(u"\"a\"\"b\""_s), QStringList({u"a\"b"_s}));
    EXPECT_EQ(Cells(u"\"open"_s), QStringList({u"open"_s}));
    EXPECT_EQ(Cells(u"  （空）;全部 部门"_s), QStringList({u"（空）"_s, u"全部 部门"_s}));

    TSpecRowEh Row(nullptr);
    Row.SetCellsText(u"a;b"_s);
    EXPECT_EQ(Row.CellTextAt(-1), QString());
    EXPECT_EQ(Row.CellTextAt(2), QString());
    EXPECT_EQ(Row.CellsText(), u"a;b"_s);
}

TEST(SpecRowEhTest, DefaultsAndChangeNotifications)
{
    TSpecRowEh Row(nullptr);
    EXPECT_EQ(Row.ShortCut(), 32814);
    EXPECT_TRUE(Row.ShowIfNotInKeyList());
    EXPECT_TRUE(VarIsNull(Row.Value()));
    EXPECT_FALSE(Row.Visible());

    int Changes = 0;
    Row.OnChanged = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &Row);
        ++Changes;
    };
    Row.SetVisible(true);
    Row.SetVisible(true);
    Row.SetCellsText(u"x"_s);
    Row.SetCellsText(u"x"_s);
    Row.SetShowIfNotInKeyList(false);
    Row.SetValue(5);
    Row.SetValue(5);
    EXPECT_EQ(Changes, 4);
    // A value of a kind that does not compare with the stored one is a change, not an error.
    Row.SetValue(u"abc"_s);
    EXPECT_EQ(Row.Value(), Variant(u"abc"_s));
    EXPECT_EQ(Changes, 5);
    Row.SetShortCut(0);
    EXPECT_EQ(Changes, 5);

    Row.BeginUpdate();
    Row.SetVisible(false);
    Row.SetCellsText(u"y"_s);
    Row.BeginUpdate();
    Row.EndUpdate();
    EXPECT_EQ(Changes, 5);
    Row.EndUpdate();
    EXPECT_EQ(Changes, 6);
}

TEST(SpecRowEhTest, ColourAndFontFollowTheOwnerUntilAssigned)
{
    TPanel Panel(nullptr);
    Panel.SetColor(clYellow);
    Panel.Font()->SetSize(14);
    TSpecRowEh Row(&Panel);
    EXPECT_EQ(Row.Color(), clYellow);
    EXPECT_FALSE(Row.ColorAssigned());
    EXPECT_EQ(Row.Font()->Size(), 14);

    Panel.SetColor(clAqua);
    Panel.Font()->SetSize(11);
    EXPECT_EQ(Row.Color(), clAqua);
    EXPECT_EQ(Row.Font()->Size(), 11);
    EXPECT_FALSE(Row.FontAssigned());

    int Changes = 0;
    Row.OnChanged = [&](TObject*) { ++Changes; };
    Row.SetColor(clRed);
    Row.Font()->SetSize(20);
    EXPECT_TRUE(Row.ColorAssigned());
    EXPECT_TRUE(Row.FontAssigned());
    EXPECT_EQ(Changes, 2);
    Panel.SetColor(clLime);
    Panel.Font()->SetSize(9);
    EXPECT_EQ(Row.Color(), clRed);
    EXPECT_EQ(Row.Font()->Size(), 20);
}

TEST(SpecRowEhTest, OwnerThatIsNoControlLeavesTheRowItsOwnFontAndColour)
{
    TPersistent Owner;
    TSpecRowEh Row(&Owner);
    EXPECT_EQ(Row.InheritedFont(), Row.Font());
    EXPECT_EQ(Row.DefaultColor(), Row.Color());
    // A graphic control gives its font but not its colour.
    TLabel Label(nullptr);
    Label.Font()->SetSize(16);
    Label.SetColor(clYellow);
    TSpecRowEh LabelRow(&Label);
    EXPECT_EQ(LabelRow.InheritedFont(), Label.Font());
    EXPECT_EQ(LabelRow.Font()->Size(), 16);
    EXPECT_NE(LabelRow.Color(), clYellow);
}

TEST(SpecRowEhTest, AssignCopiesTheEffectiveColourAndOnlyAnAssignedFont)
{
    TPanel Panel(nullptr);
    Panel.SetColor(clYellow);
    TSpecRowEh Source(&Panel);
    Source.SetCellsText(u"（无）"_s);
    Source.SetValue(Variant::Null());
    Source.SetVisible(true);
    Source.SetShortCut(scCtrl | VK_DELETE);
    Source.SetShowIfNotInKeyList(false);

    TSpecRowEh Copy(nullptr);
    Copy.SetValue(3);
    int Changes = 0;
    Copy.OnChanged = [&](TObject*) { ++Changes; };
    Copy.Assign(&Source);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Copy.CellTextAt(0), u"（无）"_s);
    EXPECT_TRUE(VarIsNull(Copy.Value()));
    EXPECT_TRUE(Copy.Visible());
    EXPECT_EQ(Copy.ShortCut(), scCtrl | VK_DELETE);
    EXPECT_FALSE(Copy.ShowIfNotInKeyList());
    // The source's colour came from its owner, yet the copy's counts as assigned.
    EXPECT_EQ(Copy.Color(), clYellow);
    EXPECT_TRUE(Copy.ColorAssigned());
    EXPECT_FALSE(Copy.FontAssigned());

    Source.Font()->SetSize(30);
    Copy.Assign(&Source);
    EXPECT_TRUE(Copy.FontAssigned());
    EXPECT_EQ(Copy.Font()->Size(), 30);

    TPersistent Other;
    EXPECT_THROW(Copy.Assign(&Other), EConvertError);
}

// --- Field lists and values ---------------------------------------------------------------

class FieldListTest : public testing::Test {
protected:
    FieldListTest()
    {
        DataSet->SetName(u"People"_s);
        DataSet->FieldDefs()->Add(u"id"_s, TFieldType::ftAutoInc);
        DataSet->FieldDefs()->Add(u"姓名"_s, TFieldType::ftString, 20);
        DataSet->FieldDefs()->Add(u"部门"_s, TFieldType::ftString, 20);
        DataSet->FieldDefs()->Add(u"数量"_s, TFieldType::ftInteger);
        DataSet->Open();
        for (const char* Row : {"张三|财务部|2", "李四|技术部|5", "王五|财务部|1", "赵六|技术部|3", "阿明|办公室|2"}) {
            const QStringList Parts = String::fromUtf8(Row).split(u'|');
            DataSet->AppendRecord({Variant(), Variant(Parts[0]), Variant(Parts[1]), Variant(Parts[2].toInt())});
        }
        DataSet->First();
        Source->SetDataSet(DataSet);
    }

    TField* Field(const char* Name) { return DataSet->FieldByName(String::fromUtf8(Name)); }

    TComponent Owner{nullptr};
    TMemoryDataSet* DataSet = new TMemoryDataSet(&Owner);
    TDataSource* Source = new TDataSource(&Owner);
};

TEST_F(FieldListTest, CollectsFieldsByNamesAndReportsTheFirstUnknownOne)
{
    std::vector<TField*> List;
    CollectFieldsByNames(&List, DataSet, DataSet, u"姓名; 数量"_s);
    EXPECT_EQ(List, std::vector<TField*>({Field("姓名"), Field("数量")}));

    List.clear();
    EXPECT_EQ(ExceptionText([&] { CollectFieldsByNames(&List, DataSet, DataSet, u"部门;单价;数量"_s); }),
              u"People: 找不到字段“单价”"_s);
    EXPECT_EQ(List, std::vector<TField*>({Field("部门")}));
    EXPECT_THROW(CollectFieldsByNames(nullptr, DataSet, nullptr, u"单价"_s), EDatabaseError);

    std::vector<TField*> Fields = {Field("id")};
    EXPECT_THROW(CollectFieldsToArray(DataSet, DataSet, u"姓名;x"_s, Fields), EDatabaseError);
    EXPECT_EQ(Fields, std::vector<TField*>({Field("id")}));
    CollectFieldsToArray(DataSet, DataSet, u"数量;姓名"_s, Fields);
    EXPECT_EQ(Fields, std::vector<TField*>({Field("数量"), Field("姓名")}));
}

TEST_F(FieldListTest, StoresNullArraysAndSingleValues)
{
    DataSet->Edit();
    StoreFieldValues(DataSet, u"姓名;数量"_s, VarArrayOf({Variant(u"甲"_s), Variant(9)}));
    EXPECT_EQ(Field("姓名")->AsString(), u"甲"_s);
    EXPECT_EQ(Field("数量")->AsInteger(), 9);
    StoreFieldValues(DataSet, u"部门"_s, Variant(u"后勤部"_s));
    EXPECT_EQ(Field("部门")->AsString(), u"后勤部"_s);
    StoreFieldValues(DataSet, u"姓名;数量"_s, Variant::Null());
    EXPECT_TRUE(Field("姓名")->IsNull());
    EXPECT_TRUE(Field("数量")->IsNull());

    // A short array or a single value for several names writes nothing.
    EXPECT_THROW(StoreFieldValues(DataSet, u"部门;数量"_s, VarArrayOf({Variant(u"x"_s)})), EVariantError);
    EXPECT_THROW(StoreFieldValues(DataSet, u"部门;数量"_s, Variant(3)), EVariantError);
    EXPECT_EQ(Field("部门")->AsString(), u"后勤部"_s);
    EXPECT_THROW(StoreFieldValues(DataSet, u"部门;单价"_s, Variant::Null()), EDatabaseError);
    EXPECT_EQ(Field("部门")->AsString(), u"后勤部"_s);
    DataSet->Cancel();
}

TEST_F(FieldListTest, DataLinkEhHandsOnEveryEvent)
{
    TDataLinkEh Link;
    QList<TDataEvent> Events;
    Link.OnDataEvent = [&](TDataLinkEh* Sender, TDataEvent Event, std::intptr_t) {
        EXPECT_EQ(Sender, &Link);
        Events << Event;
    };
    Link.SetDataSource(Source);
    EXPECT_TRUE(Link.Active());
    DataSet->Next();
    EXPECT_TRUE(Events.contains(TDataEvent::deDataSetScroll));
    Link.SetDataSource(nullptr);
}

TEST_F(FieldListTest, ValueListIsSortedDistinctAndRefilledWhenObsolete)
{
    TDatasetFieldValueListEh Values;
    EXPECT_TRUE(Values.Obsolete());
    Values.SetFieldName(u"部门"_s);
    // No source yet: empty, and still to be filled.
    EXPECT_EQ(Values.GetValues()->Count(), 0);
    EXPECT_TRUE(Values.Obsolete());

    Values.SetDataSource(Source);
    DataSet->Last();
    DataSet->Prior();
    const int RecNo = DataSet->RecNo();
    EXPECT_EQ(Values.GetValues()->Text(), u"办公室\r\n财务部\r\n技术部\r\n"_s);
    EXPECT_FALSE(Values.Obsolete());
    // The cursor stays where the user left it.
    EXPECT_EQ(DataSet->RecNo(), RecNo);

    // Data changes make it obsolete; the next read has the new value.
    DataSet->Edit();
    Field("部门")->SetAsString(u"后勤部"_s);
    DataSet->Post();
    EXPECT_TRUE(Values.Obsolete());
    EXPECT_TRUE(Values.GetValues()->IndexOf(u"后勤部"_s) >= 0);

    Values.SetFieldName(u"姓名"_s);
    EXPECT_TRUE(Values.Obsolete());
    EXPECT_EQ(Values.GetValues()->Count(), 5);
    Values.SetFieldName(u"单价"_s);
    EXPECT_EQ(Values.GetValues()->Count(), 0);
    EXPECT_TRUE(Values.Obsolete());
}

TEST_F(FieldListTest, ValueListGoesObsoleteOnDataPropertyAndFieldListChangesOnly)
{
    TDatasetFieldValueListEh Values;
    Values.SetFieldName(u"部门"_s);
    Values.SetDataSource(Source);
    for (TDataEvent Event : {TDataEvent::deDataSetChange, TDataEvent::dePropertyChange, TDataEvent::deFieldListChange}) {
        Values.GetValues();
        ASSERT_FALSE(Values.Obsolete());
        DataSet->DataEvent(Event, 0);
        EXPECT_TRUE(Values.Obsolete()) << int(Event);
    }
    Values.GetValues();
    DataSet->Next();
    DataSet->DataEvent(TDataEvent::deLayoutChange, 0);
    EXPECT_FALSE(Values.Obsolete());

    TDataSource Other(nullptr);
    Other.SetDataSet(DataSet);
    Values.SetDataSource(&Other);
    EXPECT_TRUE(Values.Obsolete());
    Values.SetDataSource(nullptr);
}

TEST_F(FieldListTest, ValueListWaitsWhileTheDatasetIsBeingEdited)
{
    TDatasetFieldValueListEh Values;
    Values.SetFieldName(u"数量"_s);
    Values.SetDataSource(Source);
    DataSet->Edit();
    Field("数量")->SetAsInteger(42);
    // Reading now would post the edit: nothing is read and nothing is written.
    EXPECT_EQ(Values.GetValues()->Count(), 0);
    EXPECT_TRUE(Values.Obsolete());
    EXPECT_EQ(DataSet->State(), TDataSetState::dsEdit);
    DataSet->Cancel();
    EXPECT_EQ(Field("数量")->AsInteger(), 2);
    EXPECT_EQ(Values.GetValues()->CommaText(), u"1,2,3,5"_s);
}

TEST_F(FieldListTest, ValueListIsNotFilledWhileTheDatasetIsClosed)
{
    TDatasetFieldValueListEh Values;
    Values.SetFieldName(u"部门"_s);
    Values.SetDataSource(Source);
    DataSet->Close();
    EXPECT_EQ(Values.GetValues()->Count(), 0);
    EXPECT_TRUE(Values.Obsolete());
    DataSet->Open();
    EXPECT_EQ(Values.GetValues()->Count(), 3);
}

TEST(StringListEhTest, IsAPlainStringList)
{
    TStringListEh List;
    List.SetCaseSensitive(true);
    List.Add(u"a"_s);
    List.Add(u"A"_s);
    EXPECT_EQ(List.IndexOf(u"A"_s), 1);
}

}  // namespace
