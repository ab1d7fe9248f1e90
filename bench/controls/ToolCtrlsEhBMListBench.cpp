// The bookmark list as the grid uses it: every record selected one by one in bookmark order,
// then each record asked whether it is selected (as painting asks row by row). The binary
// search keeps the whole run O(n log n), so the time per record may grow with log n only:
// 10^4 and 10^5 records are measured side by side.
#include "controls/ToolCtrlsEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/DatabaseError.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

class TBenchBMList : public TBMListEh {
public:
    explicit TBenchBMList(TDataSet* DataSet) : FDataSet(DataSet) { SetLinkActive(true); }
    TDataSet* GetDataSet() const override { return FDataSet; }

private:
    TDataSet* FDataSet;
};

// Count read-only records with ids 1 .. Count, so that making 10^5 of them costs nothing.
class TCountingCursor final : public TRecordCursor {
public:
    explicit TCountingCursor(int Count) : FCount(Count) {}
    const std::vector<TCursorField>& Fields() const override { return FFields; }
    int RecordCount() const override { return FCount; }
    TRecordId IdAt(int Position) const override { return Position + 1; }
    int PositionOf(TRecordId Id) const override { return Id >= 1 && Id <= FCount ? int(Id - 1) : -1; }
    TRecordValues ValuesAt(int Position) const override { return {Variant(Position + 1)}; }
    void Sort(const TSortSpec&) override {}
    bool CanModify() const override { return false; }
    TRecordId Insert(int, const TFieldValues&) override { DatabaseError(DBConsts::SDataSetReadOnly); }
    void Update(TRecordId, const TFieldValues&) override { DatabaseError(DBConsts::SDataSetReadOnly); }
    void Delete(TRecordId) override { DatabaseError(DBConsts::SDataSetReadOnly); }

private:
    int FCount;
    std::vector<TCursorField> FFields = {{QStringLiteral("id"), TFieldType::ftInteger}};
};

class TCountingDataSet final : public TDataSet {
public:
    explicit TCountingDataSet(int Count) : TDataSet(nullptr), FCount(Count) { Open(); }

protected:
    std::unique_ptr<TRecordCursor> CreateCursor() override { return std::make_unique<TCountingCursor>(FCount); }

private:
    int FCount;
};

// One open dataset of Count records per size, made once.
TDataSet* Records(int Count)
{
    static std::map<int, std::unique_ptr<TCountingDataSet>> Made;
    std::unique_ptr<TCountingDataSet>& DataSet = Made[Count];
    if (!DataSet)
        DataSet = std::make_unique<TCountingDataSet>(Count);
    return DataSet.get();
}

void BM_SelectEveryRecordThenTestEach(benchmark::State& State)
{
    TDataSet* DataSet = Records(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        TBenchBMList List(DataSet);
        for (DataSet->First(); !DataSet->Eof(); DataSet->Next())
            List.SetCurrentRowSelected(true);
        int Selected = 0;
        for (DataSet->First(); !DataSet->Eof(); DataSet->Next())
            Selected += List.IsCurrentRowSelected() ? 1 : 0;
        if (Selected != DataSet->RecordCount())
            State.SkipWithError("a selected record was not found");
        benchmark::DoNotOptimize(Selected);
    }
    // Time per record: flat for O(n log n) up to the log factor, tenfold for O(n^2).
    State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_SelectEveryRecordThenTestEach)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The same walk without the list: what moving through the dataset costs by itself.
void BM_WalkEveryRecordTwice(benchmark::State& State)
{
    TDataSet* DataSet = Records(static_cast<int>(State.range(0)));
    for (auto _ : State)
        for (int Pass = 0; Pass < 2; ++Pass)
            for (DataSet->First(); !DataSet->Eof(); DataSet->Next())
                benchmark::DoNotOptimize(DataSet->Bookmark());
    State.SetItemsProcessed(State.iterations() * State.range(0));
}
BENCHMARK(BM_WalkEveryRecordTwice)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
