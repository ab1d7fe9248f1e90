// Writing 100,000 records of 8 fields (integers, floating-point numbers, Chinese texts) as an
// .xlsx file: through the platform's workbook object, cell by cell as the export does, beside
// the same cells handed to libxlsxwriter directly in a tight loop.
#include "platform/office/Excel.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <vector>

namespace {

constexpr int Records = 100000;
constexpr int Fields = 8;

struct TRecord {
    int Id;
    String Name, Kind, Supplier;
    int Quantity;
    String Unit;
    double Price, Amount;
};

const std::vector<TRecord>& Data()
{
    static const std::vector<TRecord> Rows = [] {
        const String Names[] = {u"签字笔"_qs, u"复印纸"_qs, u"文件夹"_qs, u"订书机"_qs, u"笔记本"_qs};
        const String Kinds[] = {u"办公用品"_qs, u"礼品"_qs, u"耗材"_qs};
        const String Units[] = {u"支"_qs, u"包"_qs, u"个"_qs, u"本"_qs};
        std::vector<TRecord> Result;
        Result.reserve(Records);
        for (int I = 0; I < Records; ++I)
            Result.push_back({I + 1, Names[I % 5] + String::number(I % 97), Kinds[I % 3],
                              u"供应商"_qs + String::number(I % 211), I % 50 + 1, Units[I % 4], 1.25 + I % 40,
                              (1.25 + I % 40) * (I % 50 + 1)});
        return Result;
    }();
    return Rows;
}

void ThroughWorkbookObject(benchmark::State& State)
{
    QTemporaryDir Dir;
    const std::vector<TRecord>& Rows = Data();
    for (auto _ : State) {
        TExcelApplication Excel;
        TWorksheet& Sheet = Excel.WorkBooks().Add(xlWBATWorksheet).WorkSheets(1);
        for (int R = 0; R < Records; ++R) {
            const TRecord& Row = Rows[R];
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
    const std::vector<TRecord>& Rows = Data();
    for (auto _ : State) {
        lxw_workbook* Book = workbook_new(File.constData());
        lxw_worksheet* Sheet = workbook_add_worksheet(Book, nullptr);
        for (int R = 0; R < Records; ++R) {
            const TRecord& Row = Rows[R];
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
