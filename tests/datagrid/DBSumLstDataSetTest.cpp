// The sum list over the in-memory dataset and over a query on a database file: every kind of
// dataset change leaves the sums, averages and counts equal to a walk of the records.
#include "SumListTestSupport.h"

#include "platform/ado/ADODB.h"
#include "platform/ado/TestTables.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TRow {
    const char* Name;
    Variant Qty;
    Variant Amount;
};

const std::vector<TRow> Rows = {
    {"订书机", Variant(3), Variant(12.5)},   {"铅笔", Variant(5), Variant(0.1)},
    {"胶水", Variant::Null(), Variant(7.25)}, {"文件夹", Variant(2), Variant::Null()},
    {"打印纸", Variant(10), Variant(100.05)},
};

class SumListChecks {
protected:
    virtual ~SumListChecks() = default;
    virtual TDataSet* Data() = 0;

    // The aggregates of the register page: sum, average and count of both amounts and a
    // count of every record.
    void Attach()
    {
        FProducer = std::make_unique<TDBSumListProducer>(nullptr);
        AddSum(*FProducer, TGroupOperation::goSum, QtyField);
        AddSum(*FProducer, TGroupOperation::goAvg, QtyField);
        AddSum(*FProducer, TGroupOperation::goCount, QtyField);
        AddSum(*FProducer, TGroupOperation::goSum, AmountField);
        AddSum(*FProducer, TGroupOperation::goAvg, AmountField);
        AddSum(*FProducer, TGroupOperation::goCount, String());
        FProducer->SumListChanged = [this](TObject*) { ++FChanges; };
        FProducer->SetDataSet(Data());
    }

    void ExpectAgreesWithWalk(const char* Where)
    {
        SCOPED_TRACE(Where);
        const TWalkedTotals Qty = WalkTotals(Data(), QtyField);
        const TWalkedTotals Amount = WalkTotals(Data(), AmountField);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, QtyField), Qty.SumUnits());
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goAvg, QtyField), Qty.AvgUnits());
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goCount, QtyField), Qty.CountUnits());
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, AmountField), Amount.SumUnits());
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goAvg, AmountField), Amount.AvgUnits());
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goCount, String()), Qty.AllUnits());
    }

    void GoTo(const char* Name)
    {
        ASSERT_TRUE(Data()->Locate(FNameField, String::fromUtf8(Name), TLocateOptions())) << Name;
    }

    void SetValue(const String& FieldName, const Variant& Value) { Data()->FieldByName(FieldName)->SetValue(Value); }

    void CheckEveryKindOfChange()
    {
        Attach();
        // After open: 3 + 5 + 2 + 10 over four values; 119.9 over four; five records.
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, QtyField), 200000);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goAvg, QtyField), 50000);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goCount, QtyField), 40000);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, AmountField), 1199000);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goAvg, AmountField), 299750);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goCount, String()), 50000);
        ExpectAgreesWithWalk("open");

        GoTo("铅笔");
        Data()->Edit();
        SetValue(AmountField, Variant(0.35));
        SetValue(QtyField, Variant::Null());
        Data()->Post();
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, AmountField), 1201500);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, QtyField), 150000);
        ExpectAgreesWithWalk("edit and post");

        GoTo("胶水");
        Data()->Edit();
        SetValue(QtyField, Variant(7));
        Data()->Post();
        ExpectAgreesWithWalk("Null to a value");

        Data()->Insert();
        SetValue(FNameField, u"墨盒"_s);
        SetValue(QtyField, Variant(4));
        SetValue(AmountField, Variant(88.8));
        Data()->Post();
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goCount, String()), 60000);
        ExpectAgreesWithWalk("insert and post");

        Data()->Append();
        SetValue(QtyField, Variant(1000));
        Data()->Cancel();
        GoTo("订书机");
        Data()->Edit();
        SetValue(AmountField, Variant(999.0));
        Data()->Cancel();
        ExpectAgreesWithWalk("cancel");

        GoTo("打印纸");
        Data()->Delete();
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goCount, String()), 50000);
        ExpectAgreesWithWalk("delete");
    }

    // Close empties the values; open brings back the same values.
    void CheckRequery(const std::function<void()>& Requery)
    {
        Attach();
        GoTo("订书机");
        Data()->Edit();
        SetValue(AmountField, Variant(13.75));
        Data()->Post();
        const std::int64_t Edited = Units(*FProducer, TGroupOperation::goSum, AmountField);
        Data()->Close();
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, AmountField), 0);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goCount, String()), 0);
        Requery();
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, AmountField), Edited);
        ExpectAgreesWithWalk("requery");
    }

    // A filter counts once the dataset scrolls; scrolling alone does not recalculate.
    void CheckFilter()
    {
        Attach();
        int Recalcs = 0;
        FProducer->OnRecalcAll = [&Recalcs](TObject*) { ++Recalcs; };
        Data()->Last();
        Data()->First();
        EXPECT_EQ(Recalcs, 0);

        Data()->SetFilter(u"数量 >= 3"_s);
        Data()->SetFiltered(true);
        Data()->First();
        EXPECT_EQ(Recalcs, 1);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, QtyField), 180000);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goCount, String()), 30000);
        ExpectAgreesWithWalk("filtered");

        Data()->SetFilter(u"数量 < 3"_s);
        Data()->First();
        EXPECT_EQ(Recalcs, 2);
        EXPECT_EQ(Units(*FProducer, TGroupOperation::goSum, QtyField), 20000);

        Data()->SetFiltered(false);
        Data()->Last();
        EXPECT_EQ(Recalcs, 3);
        ExpectAgreesWithWalk("filter off");
    }

    // An aggregate of a field the dataset lacks is marked, reported once, and never stops the
    // dataset working.
    void CheckMissingField(const std::function<void()>& Requery)
    {
        TScriptedDialogs Boxes;
        Attach();
        AddSum(*FProducer, TGroupOperation::goSum, u"序号"_s);
        AddSum(*FProducer, TGroupOperation::goAvg, u"序号"_s);
        AddSum(*FProducer, TGroupOperation::goCount, u"序号"_s);
        Requery();
        GoTo("铅笔");
        Data()->Edit();
        SetValue(AmountField, Variant(1.0));
        Data()->Post();
        Data()->Append();
        SetValue(QtyField, Variant(6));
        Data()->Post();
        GoTo("胶水");
        Data()->Delete();
        for (TGroupOperation Operation : {TGroupOperation::goSum, TGroupOperation::goAvg, TGroupOperation::goCount})
            EXPECT_TRUE(FProducer->SumCollection()->FindSum(Operation, u"序号"_s)->FieldMissing());
        Application->ProcessMessages();
        EXPECT_EQ(Boxes.Shown().size(), 1u);
        ExpectAgreesWithWalk("beside a missing field");
    }

    // The application's handlers run beside the list's and are back when it is freed; a
    // dataset freed before the list is simply forgotten.
    void CheckChainingAndLifetime()
    {
        std::unique_ptr<TDataSet> Data = OpenAnother();
        int Opens = 0;
        int Posts = 0;
        int Deletes = 0;
        Data->AfterOpen = [&](TDataSet*) { ++Opens; };
        Data->AfterPost = [&](TDataSet*) { ++Posts; };
        Data->BeforeDelete = [&](TDataSet*) { ++Deletes; };
        auto Producer = std::make_unique<TDBSumListProducer>(nullptr);
        AddSum(*Producer, TGroupOperation::goSum, AmountField);
        Producer->SetDataSet(Data.get());
        Data->Close();
        Data->Open();
        EXPECT_EQ(Units(*Producer, TGroupOperation::goSum, AmountField), 1199000);
        Data->Edit();
        Data->FieldByName(AmountField)->SetValue(Variant(1.0));
        Data->Post();
        Data->Delete();
        EXPECT_EQ(Units(*Producer, TGroupOperation::goSum, AmountField), WalkTotals(Data.get(), AmountField).SumUnits());
        EXPECT_EQ(Opens, 1);
        EXPECT_EQ(Posts, 1);
        EXPECT_EQ(Deletes, 1);

        Producer.reset();
        Data->Edit();
        Data->Post();
        Data->Close();
        Data->Open();
        EXPECT_EQ(Posts, 2);
        EXPECT_EQ(Opens, 2);
        EXPECT_FALSE(static_cast<bool>(Data->AfterEdit));
        EXPECT_FALSE(static_cast<bool>(Data->AfterClose));

        Producer = std::make_unique<TDBSumListProducer>(nullptr);
        AddSum(*Producer, TGroupOperation::goSum, AmountField);
        Producer->SetDataSet(Data.get());
        Data.reset();
        EXPECT_EQ(Producer->DataSet(), nullptr);
        EXPECT_FALSE(Producer->EventsHooked());
    }

    // Another open dataset holding the rows, owned by the caller.
    virtual std::unique_ptr<TDataSet> OpenAnother() = 0;

    String FNameField = u"名称"_s;
    std::unique_ptr<TDBSumListProducer> FProducer;
    int FChanges = 0;
};

// --- In-memory dataset ------------------------------------------------------------------------

class SumListMemoryTest : public testing::Test, public SumListChecks {
protected:
    SumListMemoryTest() { Fill(FDataSet); }
    ~SumListMemoryTest() override { FProducer.reset(); }

    TDataSet* Data() override { return FDataSet; }
    void Requery()
    {
        FDataSet->Close();
        FDataSet->Open();
    }
    std::unique_ptr<TDataSet> OpenAnother() override
    {
        std::unique_ptr<TMemoryDataSet> Other(NewStockDataSet(nullptr));
        Fill(Other.get());
        return Other;
    }
    static void Fill(TDataSet* Data)
    {
        Data->Open();
        for (const TRow& Row : Rows)
            Data->AppendRecord({Variant(), Variant(String::fromUtf8(Row.Name)), Row.Qty, Row.Amount});
        Data->First();
    }

    TComponent FOwner{nullptr};
    TMemoryDataSet* FDataSet = NewStockDataSet(&FOwner);
};

TEST_F(SumListMemoryTest, KeepsUpWithEveryKindOfChange) { CheckEveryKindOfChange(); }
TEST_F(SumListMemoryTest, RequeryGivesTheSameValues) { CheckRequery([this] { Requery(); }); }
TEST_F(SumListMemoryTest, RecalculatesWhenTheFilterChanged) { CheckFilter(); }
TEST_F(SumListMemoryTest, MissingFieldIsMarkedAndBreaksNothing) { CheckMissingField([this] { Requery(); }); }
TEST_F(SumListMemoryTest, ChainsHandlersAndOutlivesEitherOrder) { CheckChainingAndLifetime(); }

// --- Query on a database file -----------------------------------------------------------------

class SumListADOTest : public testing::Test, public SumListChecks {
protected:
    SumListADOTest()
    {
        FConnection.SetLoginPrompt(false);
        ConnectWithTestTables(FConnection, FDir.filePath(u"opr.mdb"_s));
        FCommand.SetConnection(&FConnection);
        FQuery.SetConnection(&FConnection);
        for (const TRow& Row : Rows) {
            SetSql(FCommand, "insert into ruku(物品名称,数量,金额) values(:n,:q,:a)");
            FCommand.Parameters()->ParamByName(u"n"_s)->SetValue(String::fromUtf8(Row.Name));
            FCommand.Parameters()->ParamByName(u"q"_s)->SetValue(Row.Qty);
            FCommand.Parameters()->ParamByName(u"a"_s)->SetValue(Row.Amount);
            FCommand.ExecSQL();
        }
        SetSql(FQuery, "select * from ruku order by id");
        FNameField = u"物品名称"_s;
        FQuery.Open();
    }
    ~SumListADOTest() override { FProducer.reset(); }

    static void SetSql(TADOQuery& Query, const char* Sql)
    {
        Query.Close();
        Query.SQL()->Clear();
        Query.SQL()->Add(String::fromUtf8(Sql));
    }

    TDataSet* Data() override { return &FQuery; }
    void Requery()
    {
        FQuery.Close();
        FQuery.Open();
    }
    std::unique_ptr<TDataSet> OpenAnother() override
    {
        auto Other = std::make_unique<TADOQuery>(nullptr);
        Other->SetConnection(&FConnection);
        Other->SQL()->Assign(FQuery.SQL());
        Other->Open();
        return Other;
    }

    QTemporaryDir FDir;
    TADOConnection FConnection{nullptr};
    TADOQuery FCommand{nullptr};
    TADOQuery FQuery{nullptr};
};

TEST_F(SumListADOTest, KeepsUpWithEveryKindOfChange) { CheckEveryKindOfChange(); }
TEST_F(SumListADOTest, RequeryGivesTheSameValues) { CheckRequery([this] { Requery(); }); }
TEST_F(SumListADOTest, RecalculatesWhenTheFilterChanged) { CheckFilter(); }
TEST_F(SumListADOTest, MissingFieldIsMarkedAndBreaksNothing) { CheckMissingField([this] { Requery(); }); }
TEST_F(SumListADOTest, ChainsHandlersAndOutlivesEitherOrder) { CheckChainingAndLifetime(); }

}  // namespace
