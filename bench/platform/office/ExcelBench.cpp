// Writing 100,000 records of 8 fields (integers, floating-point numbers, Chinese texts) as an
// .xlsx file: through the platform's workbook object, cell by cell as the export does, beside
// the same cells handed to libxlsxwriter directly in a tight loop.
#include "../../support/StockRecords.h"
#include "platform/office/Excel.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <vector>

namespace {

constexpr int Records = 100000;
constexpr int Fields = 8;

const std::vector<TStockRecord>& Data()
{
    static const std::vector<TStockRecord> Rows = MakeStockRecords(Records);
    return Rows;
}

void ThroughWorkbookObject(benchmark::State& State)
{
    QTemporaryDir Dir;
    const std::vector<TStockRecord>& Rows = Data();
    for (auto _ : State) {
        TExcelApplication Excel;
        TWorksheet& Sheet = Excel.WorkBooks().Add(xlWBATWorksheet).WorkSheets(1);
        for (int R = 0; R < Records; ++R) {
            const TStockRecord& Row = Rows[R];
            Sheet.Cells(R + 1, 1).SetValue(Row.Id);
            Sheet.Cells(R + 1, 2).SetValue(Row.Name);
            Sheet.Cells(R + 1, 3).SetValue(Row.Kind);
            Sheet.Cells(R + 1, 4).SetValue(Row.Supplier);
            Sheet.Cells(R + 1, 5).SetValue(Row.Quantity);
            Sheet.Cells(R + 1, 6).SetValue(Row.Unit);
            Sheet.Cells(R + 1, 7).SetValue(Row.Price);
            Sheet.Cells(R + 1, 8).SetValue(Row.Amount);
        }
        Excel.WorkBooks()[1].SaveAs(Dir.filePath(QStringLiteral("object.xlsx")));
    }
    State.SetItemsProcessed(State.iterations() * Records * Fields);
}

void RawLibxlsxwriter(benchmark::State& State)
{
    QTemporaryDir Dir;
    const QByteArray File = QFile::encodeName(Dir.filePath(QStringLiteral("raw.xlsx")));
    const std::vector<TStockRecord>& Rows = Data();
    for (auto _ : State) {
        lxw_workbook* Book = workbook_new(File.constData());
        lxw_worksheet* Sheet = workbook_add_worksheet(Book, nullptr);
        for (int R = 0; R < Records; ++R) {
            const TStockRecord& Row = Rows[R];
            worksheet_write_number(Sheet, R, 0, Row.Id, nullptr);
            worksheet_write_string(Sheet, R, 1, Row.Name.toUtf8().constData(), nullptr);
            worksheet_write_string(Sheet, R, 2, Row.Kind.toUtf8().constData(), nullptr);
            worksheet_write_string(Sheet, R, 3, Row.Supplier.toUtf8().constData(), nullptr);
            worksheet_write_number(Sheet, R, 4, Row.Quantity, nullptr);
            worksheet_write_string(Sheet, R, 5, Row.Unit.toUtf8().constData(), nullptr);
            worksheet_write_number(Sheet, R, 6, Row.Price, nullptr);
            worksheet_write_number(Sheet, R, 7, Row.Amount, nullptr);
        }
        if (workbook_close(Book) != LXW_NO_ERROR)
            State.SkipWithError("the workbook could not be written");
    }
    State.SetItemsProcessed(State.iterations() * Records * Fields);
}

} // namespace

BENCHMARK(ThroughWorkbookObject)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(RawLibxlsxwriter)->Unit(benchmark::kMillisecond)->Iterations(5);
