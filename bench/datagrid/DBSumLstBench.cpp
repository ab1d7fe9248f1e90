// The footer sum list over stock-in records of a database file: opening with and without the
// list side by side (the list adds one pass over the records), and one edit and post, where
// the list must add a constant amount of work whatever the number of records.
#include "datagrid/DBSumLst.h"

#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/data/Field.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A database of Rows stock-in records over ten years, kept for the whole run.
class TStockFile {
public:
    explicit TStockFile(int Rows)
    {
        FConnection.SetConnectionString(
            u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1"_s.arg(FDir.filePath(u"opr.mdb"_s)));
        FConnection.SetLoginPrompt(false);
        FConnection.Open();
        FConnection.Execute(u"CREATE TABLE ruku(id COUNTER PRIMARY KEY, 物品名称 TEXT, 数量 LONG, 单价 DOUBLE, "
                            "金额 CURRENCY, 日期 DATE)"_s);
        FConnection.Database().ExecuteScript(
            u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO ruku(物品名称, 数量, 单价, 金额, 日期) "
            "SELECT 'item' || (i % 500), i % 17, 2.5, (i % 17) * 2.5 + (i % 7) * 0.01, "
            "date('2015-01-01', '+' || (i % 3650) || ' days') FROM n"_s.arg(Rows));
        FQuery.SetConnection(&FConnection);
        FQuery.SQL()->Add(u"select * from ruku order by id"_s);
    }

    TADOQuery& Query() { return FQuery; }

    static TStockFile& Of(int Rows)
    {
        static std::map<int, std::unique_ptr<TStockFile>> Files;
        auto& File = Files[Rows];
        if (!File)
            File = std::make_unique<TStockFile>(Rows);
        return *File;
    }

private:
    QTemporaryDir FDir;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
};

// The register page's footers: the total quantity and amount, and the record count.
std::unique_ptr<TDBSumListProducer> NewSumList()
{
    auto Producer = std::make_unique<TDBSumListProducer>(nullptr);
    for (auto [Operation, Name] : {std::pair{TGroupOperation::goSum, u"数量"_s},
                                   std::pair{TGroupOperation::goSum, u"金额"_s},
                                   std::pair{TGroupOperation::goCount, String()}}) {
        auto* Sum = static_cast<TDBSum*>(Producer->SumCollection()->Add());
        Sum->SetGroupOperation(Operation);
        Sum->SetFieldName(Name);
    }
    return Producer;
}

void Open(benchmark::State& State, bool WithSums)
{
    TADOQuery& Query = TStockFile::Of(static_cast<int>(State.range(0))).Query();
    Query.Close();
    std::unique_ptr<TDBSumListProducer> Sums = WithSums ? NewSumList() : nullptr;
    if (Sums)
        Sums->SetDataSet(&Query);
    for (auto _ : State) {
        Query.Close();
        Query.Open();
        benchmark::DoNotOptimize(Query.RecordCount());
    }
    Sums.reset();
    Query.Close();
}

void BM_Open(benchmark::State& State) { Open(State, false); }
void BM_OpenWithSumList(benchmark::State& State) { Open(State, true); }

void EditAndPost(benchmark::State& State, bool WithSums)
{
    TADOQuery& Query = TStockFile::Of(static_cast<int>(State.range(0))).Query();
    Query.Open();
    std::unique_ptr<TDBSumListProducer> Sums = WithSums ? NewSumList() : nullptr;
    if (Sums)
        Sums->SetDataSet(&Query);
    Query.MoveBy(Query.RecordCount() / 2);
    TField* Amount = Query.FieldByName(u"金额"_s);
    double Value = 1.0;
    for (auto _ : State) {
        Query.Edit();
        Amount->SetAsFloat(Value += 0.25);
        Query.Post();
    }
    Sums.reset();
    Query.Close();
}

void BM_EditPost(benchmark::State& State) { EditAndPost(State, false); }
void BM_EditPostWithSumList(benchmark::State& State) { EditAndPost(State, true); }

BENCHMARK(BM_Open)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWithSumList)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditPost)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditPostWithSumList)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
