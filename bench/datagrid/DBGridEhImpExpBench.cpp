// Copying 100,000 records of 8 columns: the whole clipboard copy (five formats) and each format
// on its own, beside a tight loop that writes the same cells' display texts as plain text over
// the same dataset. And select-all plus delete of 10,000 records, in memory and in a database
// file, where the grid's delete (one transaction) runs beside deleting record by record.
#include "datagrid/DBGridEhImpExp.h"

#include "../support/BenchApplication.h"

#include "platform/ado/ADODB.h"
#include "platform/core/TextEncoding.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

class TBenchGrid : public TCustomDBGridEh {
public:
    TBenchGrid() : TCustomDBGridEh(nullptr) {}

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

void AddRecords(TMemoryDataSet& Data, int Count)
{
    Data.DisableControls();
    for (int i = 0; i < Count; ++i)
        Data.AppendRecord({Variant(), Variant(QStringLiteral("物品%1").arg(i % 997)), Variant(QStringLiteral("部门%1").arg(i % 13)),
                           Variant(i % 50), Variant(1.25 * (i % 40)), Variant(0.5 * i), Variant::FromDateTime(45000 + i % 365),
                           Variant(i % 7 == 0 ? QStringLiteral("备注，含\"引号\"") : String())});
    Data.EnableControls();
}

// One dataset of 100,000 stock records and a grid over it, made once.
struct TCopyFixture {
    TCopyFixture()
    {
        TFieldDefs* defs = Data.FieldDefs();
        defs->Add(QStringLiteral("id"), TFieldType::ftAutoInc);
        defs->Add(QStringLiteral("名称"), TFieldType::ftString, 20);
        defs->Add(QStringLiteral("部门"), TFieldType::ftString, 20);
        defs->Add(QStringLiteral("数量"), TFieldType::ftInteger);
        defs->Add(QStringLiteral("单价"), TFieldType::ftFloat);
        defs->Add(QStringLiteral("金额"), TFieldType::ftFloat);
        defs->Add(QStringLiteral("日期"), TFieldType::ftDateTime);
        defs->Add(QStringLiteral("备注"), TFieldType::ftString, 40);
        Data.Open();
        AddRecords(Data, 100000);
        Data.First();
        Source.SetDataSet(&Data);
        Grid.SetDataSource(&Source);
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
    }

    QApplication& Application = BenchApplication();  // before the grid
    TMemoryDataSet Data{nullptr};
    TDataSource Source{nullptr};
    TBenchGrid Grid;
};

TCopyFixture& Fixture()
{
    static TCopyFixture fixture;
    return fixture;
}

// The baseline: every cell's display text, TAB and CR LF between, in one string, then GB18030.
void PlainTextLoop(benchmark::State& State)
{
    TCopyFixture& fixture = Fixture();
    TMemoryDataSet& data = fixture.Data;
    std::vector<TField*> fields(data.Fields()->begin(), data.Fields()->end());
    for (auto _ : State) {
        String text;
        data.DisableControls();
        for (data.First(); !data.Eof(); data.Next()) {
            if (!text.isEmpty())
                text += u"\r\n";
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (i > 0)
                    text += u'\t';
                text += fields[i]->DisplayText();
            }
        }
        data.EnableControls();
        const QByteArray bytes = EncodeGB18030(text);
        benchmark::DoNotOptimize(bytes.constData());
        State.counters["bytes"] = static_cast<double>(bytes.size());
    }
}
BENCHMARK(PlainTextLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

template <class TExport>
void ExportFormat(benchmark::State& State)
{
    TCopyFixture& fixture = Fixture();
    for (auto _ : State) {
        TMemoryStreamEh stream;
        stream.SetHalfMemoryDelta(65536);
        ExportGridToStream<TExport>(&fixture.Grid, stream, true);
        State.counters["bytes"] = static_cast<double>(stream.Size());
    }
}
BENCHMARK_TEMPLATE(ExportFormat, TDBGridEhExportAsText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_TEMPLATE(ExportFormat, TDBGridEhExportAsUnicodeText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_TEMPLATE(ExportFormat, TDBGridEhExportAsCSV)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_TEMPLATE(ExportFormat, TDBGridEhExportAsRTF)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_TEMPLATE(ExportFormat, TDBGridEhExportAsVCLDBIF)->Unit(benchmark::kMillisecond)->Iterations(3);

// The clipboard copy: all five formats.
void CopyAllFormats(benchmark::State& State)
{
    TCopyFixture& fixture = Fixture();
    for (auto _ : State)
        CopyGridSelectionToClipboard(&fixture.Grid, true);
    State.counters["bytes"] = static_cast<double>(Clipboard()->GetFormatData(CF_RTF()).size());
}
BENCHMARK(CopyAllFormats)->Unit(benchmark::kMillisecond)->Iterations(3);

// Select all, then delete the selection, over 10,000 records.
void SelectAllAndDelete(benchmark::State& State)
{
    BenchApplication();
    TMemoryDataSet data(nullptr);
    data.FieldDefs()->Add(QStringLiteral("id"), TFieldType::ftAutoInc);
    data.FieldDefs()->Add(QStringLiteral("名称"), TFieldType::ftString, 20);
    data.FieldDefs()->Add(QStringLiteral("部门"), TFieldType::ftString, 20);
    data.FieldDefs()->Add(QStringLiteral("数量"), TFieldType::ftInteger);
    data.FieldDefs()->Add(QStringLiteral("单价"), TFieldType::ftFloat);
    data.FieldDefs()->Add(QStringLiteral("金额"), TFieldType::ftFloat);
    data.FieldDefs()->Add(QStringLiteral("日期"), TFieldType::ftDateTime);
    data.FieldDefs()->Add(QStringLiteral("备注"), TFieldType::ftString, 40);
    data.Open();
    TDataSource source(nullptr);
    source.SetDataSet(&data);
    TBenchGrid grid;
    grid.SetOptions((grid.Options() | dgMultiSelect) - dgConfirmDelete);
    grid.SetDataSource(&source);
    for (auto _ : State) {
        State.PauseTiming();
        AddRecords(data, 10000);
        State.ResumeTiming();
        grid.Selection()->SelectAllCells();
        DeleteGridSelection(&grid, false);
    }
}
BENCHMARK(SelectAllAndDelete)->Unit(benchmark::kMillisecond)->Iterations(3);

// A table of stock records in a database file, a query over it and a grid over the query.
class TAdoDeleteFixture {
public:
    TAdoDeleteFixture()
    {
        BenchApplication();
        Connection.SetConnectionString(
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1").arg(Dir.filePath(QStringLiteral("stock.mdb"))));
        Connection.SetLoginPrompt(false);
        Connection.OnNewDatabase = [this](TObject*) {
            Connection.Execute(QStringLiteral("CREATE TABLE stock(id COUNTER PRIMARY KEY, 名称 TEXT, 部门 TEXT, 数量 INTEGER, "
                                              "单价 DOUBLE, 金额 DOUBLE, 日期 DATETIME, 备注 TEXT)"));
        };
        Connection.Open();
        Query.SetConnection(&Connection);
        Query.SQL()->Add(QStringLiteral("select * from stock order by id"));
        Source.SetDataSet(&Query);
        Grid.SetOptions((Grid.Options() | dgMultiSelect) - dgConfirmDelete);
        Grid.SetDataSource(&Source);
    }

    void Fill(int Count)
    {
        Query.Close();
        Connection.BeginTrans();
        for (int i = 0; i < Count; ++i)
            Connection.Execute(QStringLiteral("insert into stock(名称,部门,数量,单价,金额,备注) values('物品%1','部门%2',%3,%4,%5,'')")
                                   .arg(i % 997).arg(i % 13).arg(i % 50).arg(1.25 * (i % 40)).arg(0.5 * i));
        Connection.CommitTrans();
        Query.Open();
    }

    QTemporaryDir Dir;
    TADOConnection Connection{nullptr};
    TADOQuery Query{nullptr};
    TDataSource Source{nullptr};
    TBenchGrid Grid;
};

// Select all, then the grid's delete of the selection: one transaction on the query's connection.
void SelectAllAndDeleteInFile(benchmark::State& State)
{
    TAdoDeleteFixture fixture;
    for (auto _ : State) {
        State.PauseTiming();
        fixture.Fill(10000);
        State.ResumeTiming();
        fixture.Grid.Selection()->SelectAllCells();
        DeleteGridSelection(&fixture.Grid, false);
    }
}
BENCHMARK(SelectAllAndDeleteInFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same records deleted one by one, each delete stored on its own.
void DeleteRecordByRecordInFile(benchmark::State& State)
{
    TAdoDeleteFixture fixture;
    for (auto _ : State) {
        State.PauseTiming();
        fixture.Fill(10000);
        State.ResumeTiming();
        fixture.Query.DisableControls();
        fixture.Query.First();
        while (!fixture.Query.IsEmpty())
            fixture.Query.Delete();
        fixture.Query.EnableControls();
    }
}
BENCHMARK(DeleteRecordByRecordInFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
