// The sum list takes over the dataset's handlers without losing any: the application's handlers
// run in their place in the order, come back when the list lets go, and nothing is left
// pointing at a freed list or dataset.
#include "SumListTestSupport.h"

#include "platform/core/Exceptions.h"
#include "platform/data/DataSource.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using TEventMember = TDataSetNotifyEvent TDataSet::*;

constexpr std::array<TEventMember, 8> HookedEvents = {&TDataSet::AfterEdit,   &TDataSet::AfterInsert,
                                                      &TDataSet::AfterOpen,   &TDataSet::AfterPost,
                                                      &TDataSet::AfterScroll, &TDataSet::BeforeDelete,
                                                      &TDataSet::AfterClose,  &TDataSet::AfterCancel};

// A detail dataset whose master is the dataset of MasterLink.
class TDetailDataSet : public TMemoryDataSet {
public:
    using TMemoryDataSet::TMemoryDataSet;
    TDataSource* MasterSource() const override { return MasterLink; }
    TDataSource* MasterLink = nullptr;
};

void Fill(TDataSet* Data, std::initializer_list<double> Amounts)
{
    if (!Data->Active())
        Data->Open();
    for (double Amount : Amounts)
        Data->AppendRecord({Variant(), Variant(u"x"_s), Variant(1), Variant(Amount)});
    Data->First();
}

class SumListHooksTest : public testing::Test {
protected:
    SumListHooksTest() { Fill(FDataSet, {1.5, 2.5, 4.0}); }

    std::unique_ptr<TDBSumListProducer> NewProducer(TDataSet* Data)
    {
        auto Producer = std::make_unique<TDBSumListProducer>(nullptr);
        AddSum(*Producer, TGroupOperation::goSum, AmountField);
        Producer->SetDataSet(Data);
        return Producer;
    }

    // Installs a counting application handler in every event the list takes over.
    void InstallApplicationHandlers(TDataSet* Data)
    {
        for (std::size_t I = 0; I < HookedEvents.size(); ++I)
            Data->*HookedEvents[I] = [this, I](TDataSet*) { ++FCalls[I]; };
    }

    // Runs every hooked event once: answers which application handlers ran exactly once.
    std::array<int, 8> RunEveryEvent(TDataSet* Data)
    {
        FCalls.fill(0);
        Data->Close();
        Data->Open();  // AfterClose, AfterOpen, AfterScroll
        Data->Edit();
        Data->Cancel();  // AfterEdit, AfterCancel
        Data->Append();
        Data->FieldByName(AmountField)->SetValue(Variant(1.0));
        Data->Post();  // AfterInsert, AfterPost
        Data->Delete();  // BeforeDelete
        return FCalls;
    }

    static std::int64_t AmountUnits(const TDBSumListProducer& Producer)
    {
        return Units(Producer, TGroupOperation::goSum, AmountField);
    }

    TComponent FOwner{nullptr};
    TMemoryDataSet* FDataSet = NewStockDataSet(&FOwner);
    std::array<int, 8> FCalls{};
};

TEST_F(SumListHooksTest, ApplicationHandlersStillRunAndComeBackWhenTheListIsFreed)
{
    InstallApplicationHandlers(FDataSet);
    auto Producer = NewProducer(FDataSet);
    ASSERT_TRUE(Producer->EventsHooked());
    for (int Calls : RunEveryEvent(FDataSet))
        EXPECT_GE(Calls, 1);
    EXPECT_EQ(AmountUnits(*Producer), 80000);

    Producer.reset();
    for (int Calls : RunEveryEvent(FDataSet))
        EXPECT_GE(Calls, 1);
    // Back in place, not wrapped: another list hooks and lets go the same way.
    Producer = NewProducer(FDataSet);
    EXPECT_EQ(AmountUnits(*Producer), 80000);
}

TEST_F(SumListHooksTest, EventsWithoutHandlersAreEmptyAgainAfterwards)
{
    auto Producer = NewProducer(FDataSet);
    for (TEventMember Event : HookedEvents)
        EXPECT_TRUE(static_cast<bool>(FDataSet->*Event));
    Producer->SetActive(false);
    for (TEventMember Event : HookedEvents)
        EXPECT_FALSE(static_cast<bool>(FDataSet->*Event));
    EXPECT_EQ(AmountUnits(*Producer), 0);
    Producer->SetActive(true);
    EXPECT_EQ(AmountUnits(*Producer), 80000);
}

TEST_F(SumListHooksTest, ApplicationHandlersRunAfterTheUpdateOrBeforeTheRemoval)
{
    auto Producer = NewProducer(FDataSet);
    std::vector<std::int64_t> Seen;
    // Chained after hooking, as a handler set later by the application would be.
    FDataSet->AfterPost = [&, Previous = FDataSet->AfterPost](TDataSet* Data) {
        Previous(Data);
        Seen.push_back(AmountUnits(*Producer));
    };
    FDataSet->Edit();
    FDataSet->FieldByName(AmountField)->SetValue(Variant(3.5));
    FDataSet->Post();
    EXPECT_EQ(Seen, std::vector<std::int64_t>({100000}));

    // Handlers found at hooking: a delete's runs first and sees the record still counted, a
    // post's runs after the update.
    Producer.reset();
    FDataSet->BeforeDelete = [&](TDataSet*) { Seen.push_back(AmountUnits(*Producer)); };
    Producer = NewProducer(FDataSet);
    FDataSet->Delete();
    EXPECT_EQ(Seen, std::vector<std::int64_t>({100000, 100000}));
    EXPECT_EQ(AmountUnits(*Producer), 65000);
}

TEST_F(SumListHooksTest, AHandlerChainedOverTheListOutlivesIt)
{
    int Original = 0;
    int Wrapper = 0;
    FDataSet->AfterPost = [&](TDataSet*) { ++Original; };
    auto Producer = NewProducer(FDataSet);
    FDataSet->AfterPost = [&, Previous = FDataSet->AfterPost](TDataSet* Data) {
        ++Wrapper;
        Previous(Data);
    };
    Producer.reset();
    // The list's handler stays inside the wrapper, only passing on to the original.
    FDataSet->Edit();
    FDataSet->FieldByName(AmountField)->SetValue(Variant(9.0));
    FDataSet->Post();
    EXPECT_EQ(Wrapper, 1);
    EXPECT_EQ(Original, 1);

    // A new list hooks over the wrapper and gives it back.
    Producer = NewProducer(FDataSet);
    EXPECT_EQ(AmountUnits(*Producer), 155000);
    Producer.reset();
    FDataSet->Edit();
    FDataSet->Post();
    EXPECT_EQ(Wrapper, 2);
    EXPECT_EQ(Original, 2);
}

TEST_F(SumListHooksTest, ADatasetFreedFirstIsForgotten)
{
    auto Producer = NewProducer(FDataSet);
    delete FDataSet;
    EXPECT_EQ(Producer->DataSet(), nullptr);
    EXPECT_FALSE(Producer->EventsHooked());
    EXPECT_EQ(Producer->CountRecords(), 0);
    EXPECT_EQ(Producer->CurrentRecordNumber(), 0);
    // A new dataset is taken up as usual.
    FDataSet = NewStockDataSet(&FOwner);
    Fill(FDataSet, {2.0});
    Producer->SetDataSet(FDataSet);
    EXPECT_EQ(AmountUnits(*Producer), 20000);
}

// Stands for a grid that lets its sum list go when told its dataset is freed.
class TDataSetWatcher : public TComponent {
public:
    TDataSetWatcher(TDataSet* Data, TDBSumListProducer* Producer) : TComponent(nullptr), FProducer(Producer)
    {
        FreeNotification(Data);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove)
            FProducer->SetDataSet(nullptr);
    }

private:
    TDBSumListProducer* FProducer;
};

TEST_F(SumListHooksTest, LettingGoOfADatasetBeingFreedLeavesItAlone)
{
    auto Producer = NewProducer(FDataSet);
    // Told before the list itself, while the dataset is past its destructor.
    TDataSetWatcher Grid(FDataSet, Producer.get());
    delete FDataSet;
    FDataSet = nullptr;
    EXPECT_EQ(Producer->DataSet(), nullptr);
    EXPECT_FALSE(Producer->EventsHooked());
}

TEST_F(SumListHooksTest, MovingToAnotherDatasetGivesTheFirstItsHandlersBack)
{
    int Posts = 0;
    FDataSet->AfterPost = [&](TDataSet*) { ++Posts; };
    auto Producer = NewProducer(FDataSet);
    TMemoryDataSet* Other = NewStockDataSet(&FOwner);
    Fill(Other, {10.0, 20.0});
    Producer->SetDataSet(Other);
    EXPECT_EQ(AmountUnits(*Producer), 300000);
    for (TEventMember Event : HookedEvents) {
        if (Event != &TDataSet::AfterPost) {
            EXPECT_FALSE(static_cast<bool>(FDataSet->*Event));
        }
    }
    FDataSet->Edit();
    FDataSet->FieldByName(AmountField)->SetValue(Variant(100.0));
    FDataSet->Post();
    EXPECT_EQ(Posts, 1);
    EXPECT_EQ(AmountUnits(*Producer), 300000);
}

TEST_F(SumListHooksTest, AFailingRecalculationLeavesEveryHandlerInPlace)
{
    auto Producer = std::make_unique<TDBSumListProducer>(nullptr);
    AddSum(*Producer, TGroupOperation::goSum, AmountField);
    int Changes = 0;
    bool Fail = true;
    Producer->SumListChanged = [&](TObject*) { ++Changes; };
    Producer->OnRecalcAll = [&](TObject*) {
        if (Fail)
            throw Exception(u"no totals now"_s);
    };
    int Opens = 0;
    FDataSet->AfterOpen = [&](TDataSet*) { ++Opens; };
    EXPECT_THROW(Producer->SetDataSet(FDataSet), Exception);
    EXPECT_TRUE(Producer->EventsHooked());
    EXPECT_EQ(Changes, 1);
    for (TEventMember Event : HookedEvents)
        EXPECT_TRUE(static_cast<bool>(FDataSet->*Event));

    // Failing from AfterOpen, the application's handler still runs.
    FDataSet->Close();
    EXPECT_THROW(FDataSet->Open(), Exception);
    EXPECT_EQ(Opens, 1);

    // Record-by-record upkeep goes on, and a filter change recalculates again.
    Fail = false;
    FDataSet->Edit();
    FDataSet->FieldByName(AmountField)->SetValue(Variant(2.0));
    FDataSet->Post();
    EXPECT_EQ(AmountUnits(*Producer), 0 - 15000 + 20000);
    FDataSet->SetFilter(u"金额 > 2"_s);
    FDataSet->SetFiltered(true);
    FDataSet->First();
    EXPECT_EQ(AmountUnits(*Producer), 65000);
    Producer.reset();
    for (TEventMember Event : HookedEvents) {
        if (Event != &TDataSet::AfterOpen) {
            EXPECT_FALSE(static_cast<bool>(FDataSet->*Event));
        }
    }
    EXPECT_TRUE(static_cast<bool>(FDataSet->AfterOpen));
}

TEST_F(SumListHooksTest, NothingIsHookedWhileTheOwnerLoads)
{
    TComponent Grid(nullptr);
    Grid.BeginLoading();
    TDBSumListProducer Producer(&Grid);
    AddSum(Producer, TGroupOperation::goSum, AmountField);
    Producer.SetDataSet(FDataSet);
    EXPECT_FALSE(Producer.EventsHooked());
    EXPECT_EQ(AmountUnits(Producer), 0);
    Grid.EndLoading();
    Producer.ActivateAfterLoad();
    EXPECT_TRUE(Producer.EventsHooked());
    EXPECT_EQ(AmountUnits(Producer), 80000);
}

// --- Master and detail ------------------------------------------------------------------------

class SumListMasterTest : public SumListHooksTest {
protected:
    SumListMasterTest()
    {
        Fill(FMaster, {1.0, 2.0, 3.0});
        FMasterSource->SetDataSet(FMaster);
        FDetail->MasterLink = FMasterSource;
        Fill(FDetail, {5.0, 6.0});
    }

    TMemoryDataSet* FMaster = NewStockDataSet(&FOwner);
    TDataSource* FMasterSource = new TDataSource(&FOwner);
    TDetailDataSet* FDetail = NewStockDataSet<TDetailDataSet>(&FOwner);
};

TEST_F(SumListMasterTest, AMasterScrollRecalculatesTheDetail)
{
    int MasterScrolls = 0;
    FMaster->AfterScroll = [&](TDataSet*) { ++MasterScrolls; };
    auto Producer = NewProducer(FDetail);
    int Recalcs = 0;
    Producer->OnRecalcAll = [&](TObject*) { ++Recalcs; };
    FMaster->Next();
    EXPECT_EQ(Recalcs, 1);
    EXPECT_EQ(MasterScrolls, 1);
    FDetail->Next();
    EXPECT_EQ(Recalcs, 1);

    Producer.reset();
    FMaster->Next();
    EXPECT_EQ(MasterScrolls, 2);
    EXPECT_EQ(Recalcs, 1);
}

TEST_F(SumListMasterTest, TheMasterGetsItsHandlerBackWhenTheDetailIsFreedFirst)
{
    auto Producer = NewProducer(FDetail);
    EXPECT_TRUE(static_cast<bool>(FMaster->AfterScroll));
    delete FDetail;
    EXPECT_FALSE(static_cast<bool>(FMaster->AfterScroll));
    FMaster->Next();
    EXPECT_EQ(Producer->DataSet(), nullptr);
}

TEST_F(SumListMasterTest, AMasterFreedFirstLeavesTheDetailSummed)
{
    auto Producer = NewProducer(FDetail);
    delete FMaster;
    FDetail->Edit();
    FDetail->FieldByName(AmountField)->SetValue(Variant(7.0));
    FDetail->Post();
    EXPECT_EQ(AmountUnits(*Producer), 130000);
    Producer.reset();
    for (TEventMember Event : HookedEvents)
        EXPECT_FALSE(static_cast<bool>(FDetail->*Event));
}

}  // namespace
