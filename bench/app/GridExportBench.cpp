// A record list of 8 fields (integers, floating-point numbers, Chinese texts) exported to an
// .xlsx file at 10^4 and 10^5 records, side by side in one run:
//  - app: the export as the clerk runs it (TDBGridEhToExcel over a grid with a footer row: save
//         dialog answered by a script, progress window, typed cells read from the dataset, the
//         file saved; the desktop's opener is stood in for);
//  - raw: the same cells handed to libxlsxwriter in a tight loop from values already in memory.
// On a busy machine run it with --benchmark_enable_random_interleaving=true --benchmark_repetitions=6,
// so that both sides meet the same load.
#include "../support/BenchApplication.h"
#include "../support/StockRecords.h"

#include "app/Unit_DBGridEhToExcel.h"
#include "datagrid/DBGridEh.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/ui/Dialogs.h"

#include <QDesktopServices>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <map>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

// Stands for the desktop's program for .xlsx files: nothing is launched.
class TBenchDesktop : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl&) {}
};

namespace {

class TExportTestGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

// The stock-in list with Count records in a grid with its footer row.
struct TStockList {
    explicit TStockList(const std::vector<TStockRecord>& Records)
    {
        BenchApplication();
        Data = std::make_unique<TMemoryDataSet>(nullptr);
        Data->FieldDefs()->Add(u"id"_s, TFieldType::ftInteger);
        for (const char* Name : {"物品名称", "类型", "供应商"})
            Data->FieldDefs()->Add(String::fromUtf8(Name), TFieldType::ftString, 40);
        Data->FieldDefs()->Add(u"数量"_s, TFieldType::ftInteger);
        Data->FieldDefs()->Add(u"单位"_s, TFieldType::ftString, 10);
        Data->FieldDefs()->Add(u"单价"_s, TFieldType::ftFloat);
        Data->FieldDefs()->Add(u"金额"_s, TFieldType::ftFloat);
        Data->Open();
        for (const TStockRecord& R : Records)
            Data->AppendRecord({Variant(R.Id), Variant(R.Name), Variant(R.Kind), Variant(R.Supplier),
                                Variant(R.Quantity), Variant(R.Unit), Variant(R.Price), Variant(R.Amount)});
        Data->First();
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
        Grid = std::make_unique<TExportTestGrid>(nullptr);
        for (const char* Name : {"物品名称", "类型", "数量", "单位", "单价", "金额", "供应商"})
            Grid->Columns()->Add()->SetFieldName(String::fromUtf8(Name));
        Grid->Columns()->ColumnAt(1)->Footer()->SetValueType(TFooterValueType::fvtStaticText);
        Grid->Columns()->ColumnAt(1)->Footer()->SetValue(u"总数量"_s);
        Grid->Columns()->ColumnAt(2)->Footer()->SetValueType(TFooterValueType::fvtSum);
        Grid->Columns()->ColumnAt(4)->Footer()->SetValueType(TFooterValueType::fvtStaticText);
        Grid->Columns()->ColumnAt(4)->Footer()->SetValue(u"总金额"_s);
        Grid->Columns()->ColumnAt(5)->Footer()->SetValueType(TFooterValueType::fvtSum);
        Grid->SetFooterRowCount(1);
        Grid->SumList()->SetActive(true);
        Grid->SetDataSource(Source.get());
    }

    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TExportTestGrid> Grid;
};

const std::vector<TStockRecord>& Records(int Count)
{
    static std::map<int, std::vector<TStockRecord>> Made;
    auto [Place, New] = Made.try_emplace(Count);
    if (New)
        Place->second = MakeStockRecords(Count);
    return Place->second;
}

void App(benchmark::State& State)
{
    const int Count = int(State.range(0));
    TStockList List(Records(Count));
    TBenchDesktop Desktop;
    QDesktopServices::setUrlHandler(u"file"_s, &Desktop, "Open");
    QTemporaryDir Dir;
    const String File = Dir.filePath(u"app.xlsx"_s);
    TDBGridEhToExcel Exporter(nullptr);
    Exporter.SetDBGridEh(List.Grid.get());
    Exporter.SetTitleName(u"物品入库明细表"_s);
    for (auto _ : State) {
        State.PauseTiming();
        QFile::remove(File);
        TScriptedDialogs Dialogs;
        Dialogs.ChooseFile(File);
        State.ResumeTiming();
        if (Exporter.ExportToWorkbook() != File)
            State.SkipWithError("the export wrote nothing");
    }
    QDesktopServices::unsetUrlHandler(u"file"_s);
    State.SetItemsProcessed(State.iterations() * Count * 8);
}

void Raw(benchmark::State& State)
{
    const int Count = int(State.range(0));
    const std::vector<TStockRecord>& Rows = Records(Count);
    QTemporaryDir Dir;
    const QByteArray File = QFile::encodeName(Dir.filePath(u"raw.xlsx"_s));
    for (auto _ : State) {
        lxw_workbook* Book = workbook_new(File.constData());
        lxw_worksheet* Sheet = workbook_add_worksheet(Book, "物品入库明细表");
        worksheet_write_string(Sheet, 0, 1, "物品入库明细表", nullptr);
        for (int C = 0; C < 8; ++C)
            worksheet_write_string(Sheet, 1, C, "字段", nullptr);
        for (int R = 0; R < Count; ++R) {
            const TStockRecord& Row = Rows[R];
            worksheet_write_number(Sheet, R + 2, 0, Row.Id, nullptr);
            worksheet_write_string(Sheet, R + 2, 1, Row.Name.toUtf8().constData(), nullptr);
            worksheet_write_string(Sheet, R + 2, 2, Row.Kind.toUtf8().constData(), nullptr);
            worksheet_write_string(Sheet, R + 2, 3, Row.Supplier.toUtf8().constData(), nullptr);
            worksheet_write_number(Sheet, R + 2, 4, Row.Quantity, nullptr);
            worksheet_write_string(Sheet, R + 2, 5, Row.Unit.toUtf8().constData(), nullptr);
            worksheet_write_number(Sheet, R + 2, 6, Row.Price, nullptr);
            worksheet_write_number(Sheet, R + 2, 7, Row.Amount, nullptr);
        }
        if (workbook_close(Book) != LXW_NO_ERROR)
            State.SkipWithError("the workbook could not be written");
    }
    State.SetItemsProcessed(State.iterations() * Count * 8);
}

} // namespace

BENCHMARK(App)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(Raw)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(3);

#include "GridExportBench.moc"
