// The sum list's arithmetic: Currency units rounded half to even, Null handling, averages and
// counts, the record being edited when it is deleted or recalculated, and values supplied by
// the owner.
#include "SumListTestSupport.h"

#include <gtest/gtest.h>

namespace {

class SumListArithmeticTest : public testing::Test {
protected:
    SumListArithmeticTest() { FDataSet->Open(); }

    void Append(const Variant& Qty, const Variant& Amount)
    {
        FDataSet->AppendRecord({Variant(), Variant(u"x"_s), Qty, Amount});
    }

    void Attach()
    {
        FDataSet->First();
        FProducer.SetDataSet(FDataSet);
    }

    void EditCurrent(const String& FieldName, const Variant& Value)
    {
        FDataSet->Edit();
        FDataSet->FieldByName(FieldName)->SetValue(Value);
        FDataSet->Post();
    }

    std::int64_t Value(TGroupOperation Operation, const String& FieldName) const
    {
        return Units(FProducer, Operation, FieldName);
    }

    TComponent FOwner{nullptr};
    TMemoryDataSet* FDataSet = NewStockDataSet(&FOwner);
    TDBSumListProducer FProducer{nullptr};
};

TEST_F(SumListArithmeticTest, TenThousandTenthsMakeExactlyAThousand)
{
    for (int I = 0; I < 10000; ++I)
        Append(Variant(1), Variant(0.1));
    AddSum(FProducer, TGroupOperation::goSum, AmountField);
    AddSum(FProducer, TGroupOperation::goAvg, AmountField);
    Attach();
    EXPECT_EQ(Value(TGroupOperation::goSum, AmountField), 10000000);
    EXPECT_EQ(Value(TGroupOperation::goAvg, AmountField), 1000);
}

TEST_F(SumListArithmeticTest, ValuesRoundHalfToEvenInExtendedPrecision)
{
    // 0.00005 as a double lies just above half a unit, which only extended precision sees.
    Append(Variant(1), Variant(0.00005));
    AddSum(FProducer, TGroupOperation::goSum, AmountField);
    Attach();
    EXPECT_EQ(Value(TGroupOperation::goSum, AmountField), 1);
}

TEST_F(SumListArithmeticTest, AveragesRoundHalfToEven)
{
    Append(Variant(1), Variant(0.0001));
    Append(Variant(1), Variant(0.0004));
    AddSum(FProducer, TGroupOperation::goAvg, AmountField);
    Attach();
    // 5 units over two records: 2.5 goes to 2; 7 units: 3.5 goes to 4.
    EXPECT_EQ(Value(TGroupOperation::goAvg, AmountField), 2);
    FDataSet->Last();
    EditCurrent(AmountField, Variant(0.0006));
    EXPECT_EQ(Value(TGroupOperation::goAvg, AmountField), 4);
}

TEST_F(SumListArithmeticTest, NullsLeaveSumsAndAveragesAndCounts)
{
    Append(Variant(5), Variant(1.0));
    Append(Variant(7), Variant(2.0));
    AddSum(FProducer, TGroupOperation::goSum, QtyField);
    AddSum(FProducer, TGroupOperation::goAvg, QtyField);
    AddSum(FProducer, TGroupOperation::goCount, QtyField);
    AddSum(FProducer, TGroupOperation::goCount, String());
    Attach();
    EXPECT_EQ(Value(TGroupOperation::goAvg, QtyField), 60000);
    EditCurrent(QtyField, Variant::Null());
    EXPECT_EQ(Value(TGroupOperation::goSum, QtyField), 70000);
    EXPECT_EQ(Value(TGroupOperation::goAvg, QtyField), 70000);
    EXPECT_EQ(Value(TGroupOperation::goCount, QtyField), 10000);
    EXPECT_EQ(Value(TGroupOperation::goCount, String()), 20000);
    FDataSet->Last();
    EditCurrent(QtyField, Variant::Null());
    // An average over no values is 0, not a division error.
    EXPECT_EQ(Value(TGroupOperation::goAvg, QtyField), 0);
    EXPECT_EQ(Value(TGroupOperation::goCount, QtyField), 0);
    FDataSet->Delete();
    EXPECT_EQ(Value(TGroupOperation::goAvg, QtyField), 0);
    EXPECT_EQ(Value(TGroupOperation::goCount, String()), 10000);
}

TEST_F(SumListArithmeticTest, ARecordInsertedWithADefaultValueIsCounted)
{
    Append(Variant(1), Variant(1.0));
    FDataSet->OnNewRecord = [](TDataSet* Data) { Data->FieldByName(QtyField)->SetValue(Variant(1)); };
    AddSum(FProducer, TGroupOperation::goCount, QtyField);
    AddSum(FProducer, TGroupOperation::goSum, QtyField);
    Attach();
    FDataSet->Append();
    FDataSet->Post();
    EXPECT_EQ(Value(TGroupOperation::goCount, QtyField), 20000);
    EXPECT_EQ(Value(TGroupOperation::goSum, QtyField), 20000);
    FDataSet->Append();
    FDataSet->Cancel();
    EXPECT_EQ(Value(TGroupOperation::goCount, QtyField), 20000);
}

TEST_F(SumListArithmeticTest, DeletingARecordUnderEditTakesOutWhatWasStored)
{
    Append(Variant(5), Variant(1.0));
    Append(Variant(7), Variant(2.0));
    AddSum(FProducer, TGroupOperation::goSum, QtyField);
    AddSum(FProducer, TGroupOperation::goAvg, QtyField);
    AddSum(FProducer, TGroupOperation::goCount, QtyField);
    Attach();
    FDataSet->Edit();
    FDataSet->FieldByName(QtyField)->SetValue(Variant(100));
    FDataSet->Delete();
    EXPECT_EQ(Value(TGroupOperation::goSum, QtyField), 70000);
    EXPECT_EQ(Value(TGroupOperation::goAvg, QtyField), 70000);
    EXPECT_EQ(Value(TGroupOperation::goCount, QtyField), 10000);

    // A value cleared on screen is still stored, and so still counted, until posted.
    FDataSet->Edit();
    FDataSet->FieldByName(QtyField)->SetValue(Variant::Null());
    FDataSet->Delete();
    EXPECT_EQ(Value(TGroupOperation::goSum, QtyField), 0);
    EXPECT_EQ(Value(TGroupOperation::goCount, QtyField), 0);
}

TEST_F(SumListArithmeticTest, RecalculatingDuringAnEditCountsTheEditOnce)
{
    Append(Variant(5), Variant(1.0));
    Append(Variant(7), Variant(2.0));
    AddSum(FProducer, TGroupOperation::goSum, QtyField);
    Attach();
    FDataSet->Edit();
    FDataSet->FieldByName(QtyField)->SetValue(Variant(6));
    FProducer.RecalculateAll();
    EXPECT_EQ(FDataSet->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Value(TGroupOperation::goSum, QtyField), 130000);
}

TEST_F(SumListArithmeticTest, TheOwnerSuppliesValuesWithExternalRecalc)
{
    Append(Variant(5), Variant(1.0));
    TDBSum* Sum = AddSum(FProducer, TGroupOperation::goSum, QtyField);
    int Changes = 0;
    int AfterRecalcs = 0;
    FProducer.SumListChanged = [&](TObject*) { ++Changes; };
    FProducer.OnAfterRecalcAll = [&](TObject*) { ++AfterRecalcs; };
    FProducer.OnRecalcAll = [&](TObject*) { Sum->SetSumValue(Currency::FromInt(42)); };
    FProducer.SetExternalRecalc(true);
    Attach();
    EXPECT_EQ(Value(TGroupOperation::goSum, QtyField), 420000);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(AfterRecalcs, 0);

    // Without it: one pass, one notification.
    FProducer.OnRecalcAll = nullptr;
    Changes = 0;
    FProducer.SetExternalRecalc(false);
    EXPECT_EQ(Value(TGroupOperation::goSum, QtyField), 50000);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(AfterRecalcs, 1);
}

TEST_F(SumListArithmeticTest, FindSumIgnoresCaseAndAssignCopiesTheList)
{
    FDataSet->FieldDefs()->Clear();
    FDataSet->Close();
    FDataSet->FieldDefs()->Add(u"Amount"_s, TFieldType::ftFloat);
    FDataSet->Open();
    FDataSet->AppendRecord({Variant(2.5)});
    AddSum(FProducer, TGroupOperation::goSum, u"Amount"_s);
    AddSum(FProducer, TGroupOperation::goCount, String());
    Attach();
    const TDBSum* Found = FProducer.SumCollection()->FindSum(TGroupOperation::goSum, u"AMOUNT"_s);
    ASSERT_NE(Found, nullptr);
    EXPECT_EQ(Found->SumValue().Raw(), 25000);
    EXPECT_EQ(FProducer.SumCollection()->FindSum(TGroupOperation::goAvg, u"Amount"_s), nullptr);

    TDBSumListProducer Copy(nullptr);
    Copy.Assign(&FProducer);
    EXPECT_EQ(Copy.DataSet(), FDataSet);
    ASSERT_EQ(Copy.SumCollection()->Count(), 2);
    EXPECT_EQ(Copy.SumCollection()->SumItemAt(0)->SumValue().Raw(), 25000);
    EXPECT_EQ(Copy.SumCollection()->SumItemAt(1)->SumValue().Raw(), 10000);
}

// --- Record numbers of a dataset that has none ------------------------------------------------

class TUnsequencedDataSet : public TMemoryDataSet {
public:
    using TMemoryDataSet::TMemoryDataSet;
    bool IsSequenced() const override { return false; }
};

TEST(SumListVirtualRecordsTest, NumbersRecordsByTheirBookmarks)
{
    TComponent Owner(nullptr);
    auto* Data = NewStockDataSet<TUnsequencedDataSet>(&Owner);
    Data->Open();
    for (int I = 1; I <= 4; ++I)
        Data->AppendRecord({Variant(), Variant(u"x"_s), Variant(I), Variant(1.0)});
    TDBSumListProducer Producer(nullptr);
    Producer.SetDataSet(Data);
    EXPECT_FALSE(Producer.HasRecordNumbers());
    Producer.SetVirtualRecords(true);
    EXPECT_TRUE(Producer.HasRecordNumbers());
    EXPECT_EQ(Producer.CountRecords(), 4);

    Producer.GoToRecordNumber(3);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 3);
    EXPECT_EQ(Producer.CurrentRecordNumber(), 3);
    Producer.GoToRecordNumber(9);
    EXPECT_EQ(Producer.CurrentRecordNumber(), 3);

    Data->Append();
    Data->FieldByName(QtyField)->SetValue(Variant(5));
    Data->Post();
    EXPECT_EQ(Producer.CountRecords(), 5);
    EXPECT_EQ(Producer.CurrentRecordNumber(), 5);
    const TSLBookmarkListEh& List = Producer.VirtualRecordList();
    for (int I = 1; I < List.ItemCount(); ++I)
        EXPECT_LT(Data->CompareBookmarks(List.BookmarkAt(I - 1), List.BookmarkAt(I)), 0) << I;

    Producer.GoToRecordNumber(2);
    Data->Delete();
    EXPECT_EQ(Producer.CountRecords(), 4);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 3);
    EXPECT_EQ(Producer.CurrentRecordNumber(), 2);

    Data->Close();
    EXPECT_EQ(Producer.VirtualRecordList().ItemCount(), 0);
}

}  // namespace
