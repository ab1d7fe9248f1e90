// The stock-in page's export of its whole list to an .xlsx file, at 10^4 and 10^5 records of the
// file, side by side in one run:
//  - app: the page's export button as the clerk presses it, after "query all" (the save dialog
//         answered by a script, the progress window, each record read from the file through the
//         list's cursor and typed, the workbook saved; the desktop's opener is stood in for). The
//         list is queried again before each export, outside the time, so every export reads its
//         records from the file as the first one after a query does;
//  - raw: plain sqlite3 reading the same records in the same order, and libxlsxwriter writing the
//         same cells: the title merged and centred, the field names, the records (numbers as
//         numbers, texts as texts, Null empty) and the page's footer totals.
// Both files are read back once and compared cell by cell; a difference is reported as an error.
// On a busy machine run it with --benchmark_enable_random_interleaving=true --benchmark_repetitions=6,
// so that both sides meet the same load; the ratio of the medians is printed at the end.
#include "../support/OprintData.h"

#include "app/OprDatabase.h"
#include "app/oprIndexes.h"
#include "app/orecord.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

using namespace Qt::StringLiterals;

// Stands for the desktop's program for .xlsx files: nothing is launched.
class TBenchDesktop : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl&) {}
};

namespace {

const int Sizes[] = {10'000, 100'000};

// Count issue records and as many stock-in records, with the application's tables and indexes.
String DataFolder(int Count)
{
    return OprintDataFolder(
        Count, "export", [](TADOConnection& Connection) { CreateOprTables(&Connection); },
        [Count](TADOConnection& Connection) {
            FillRuku(Connection.Database(), Count);
            CreateOprIndexes(Connection);
        });
}

String DatabaseFile(int Count) { return QDir(DataFolder(Count)).filePath(u"opr.mdb"_s); }

// --- app --------------------------------------------------------------------------------------

void App(benchmark::State& State, int Count)
{
    QDir::setCurrent(DataFolder(Count));
    MF1 = new TMF1(nullptr);
    TBenchDesktop Desktop;
    QDesktopServices::setUrlHandler(u"file"_s, &Desktop, "Open");
    QTemporaryDir Dir;
    const String File = Dir.filePath(u"app.xlsx"_s);
    for (auto _ : State) {
        State.PauseTiming();
        MF1->BitBtn6->Click();
        QFile::remove(File);
        TScriptedDialogs Dialogs;
        Dialogs.ChooseFile(File);
        State.ResumeTiming();
        MF1->BitBtn7->Click();
        State.PauseTiming();
        if (!QFile::exists(File))
            State.SkipWithError("the export wrote nothing");
        State.ResumeTiming();
    }
    QFile::copy(File, QDir(DataFolder(Count)).filePath(u"app.xlsx"_s));
    QDesktopServices::unsetUrlHandler(u"file"_s);
    delete MF1;
    MF1 = nullptr;
    State.SetItemsProcessed(State.iterations() * Count);
}

// --- raw --------------------------------------------------------------------------------------

// A date as the list shows it: the day alone at midnight, else the day and the time.
const char* DateText(const char* Stored, std::string& Buffer)
{
    Buffer = Stored;
    if (Buffer.size() == 19 && Buffer.compare(10, 9, " 00:00:00") == 0)
        Buffer.resize(10);
    return Buffer.c_str();
}

// A footer's sum as the grid's footer shows it and the sheet stores it, a number.
double FooterNumber(double Sum) { return std::round(Sum * 100) / 100; }

bool WriteRaw(const char* Database, const char* File)
{
    sqlite3* Db = nullptr;
    sqlite3_open_v2(Database, &Db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* List = nullptr;
    sqlite3_prepare_v2(Db, "select * from ruku order by 日期 desc,id desc", -1, &List, nullptr);
    const int Fields = sqlite3_column_count(List);
    const int DateField = 11;

    lxw_workbook* Book = workbook_new(File);
    lxw_worksheet* Sheet = workbook_add_worksheet(Book, "物品入库明细表");
    lxw_format* Centre = nullptr;
    for (const std::uint8_t Align : {LXW_ALIGN_LEFT, LXW_ALIGN_CENTER, LXW_ALIGN_RIGHT}) {
        lxw_format* Format = workbook_add_format(Book);
        format_set_align(Format, Align);
        if (Align == LXW_ALIGN_CENTER)
            Centre = Format;
    }
    worksheet_merge_range(Sheet, 0, 1, 0, lxw_col_t(Fields - 1), "", Centre);
    worksheet_write_string(Sheet, 0, 1, "物品入库明细表", Centre);
    for (int C = 0; C < Fields; ++C)
        worksheet_write_string(Sheet, 1, lxw_col_t(C), sqlite3_column_name(List, C), nullptr);
    lxw_row_t Row = 2;
    double Quantity = 0, Amount = 0;
    std::string Date;
    for (; sqlite3_step(List) == SQLITE_ROW; ++Row)
        for (int C = 0; C < Fields; ++C)
            switch (sqlite3_column_type(List, C)) {
            case SQLITE_NULL: break;
            case SQLITE_INTEGER:
            case SQLITE_FLOAT: {
                const double Value = sqlite3_column_double(List, C);
                worksheet_write_number(Sheet, Row, lxw_col_t(C), Value, nullptr);
                Quantity += C == 4 ? Value : 0;
                Amount += C == 7 ? Value : 0;
                break;
            }
            default: {
                const char* Text = reinterpret_cast<const char*>(sqlite3_column_text(List, C));
                if (*Text != '\0')
                    worksheet_write_string(Sheet, Row, lxw_col_t(C), C == DateField ? DateText(Text, Date) : Text,
                                           nullptr);
            }
            }
    worksheet_write_string(Sheet, Row, 2, "总数量", nullptr);
    worksheet_write_number(Sheet, Row, 4, FooterNumber(Quantity), nullptr);
    worksheet_write_string(Sheet, Row, 6, "总金额", nullptr);
    worksheet_write_number(Sheet, Row, 7, FooterNumber(Amount), nullptr);
    sqlite3_finalize(List);
    sqlite3_close(Db);
    return workbook_close(Book) == LXW_NO_ERROR;
}

void Raw(benchmark::State& State, int Count)
{
    const QByteArray Database = QFile::encodeName(DatabaseFile(Count));
    const QByteArray File = QFile::encodeName(QDir(DataFolder(Count)).filePath(u"raw.xlsx"_s));
    for (auto _ : State)
        if (!WriteRaw(Database.constData(), File.constData()))
            State.SkipWithError("the workbook could not be written");
    State.SetItemsProcessed(State.iterations() * Count);
}

// --- the two files compared -------------------------------------------------------------------

// Every cell of the sheet with its type, value and alignment, the merged areas and the columns'
// widths and number formats, as a spreadsheet library of its own reads them (openpyxl).
String SheetDump(const String& File)
{
    QProcess Reader;
    Reader.start(u"/usr/bin/python3"_s, {u"-c"_s, uR"(
import sys, openpyxl
sheet = openpyxl.load_workbook(sys.argv[1]).active
print(sheet.title, sorted(str(r) for r in sheet.merged_cells.ranges))
print(sorted((k, d.width) for k, d in sheet.column_dimensions.items()))
for row in sheet.iter_rows():
    for c in row:
        if c.value is not None or c.alignment.horizontal:
            print(c.coordinate, type(c.value).__name__, repr(c.value), c.number_format, c.alignment.horizontal)
)"_s, File});
    Reader.waitForFinished(600'000);
    return Reader.exitCode() == 0 ? String::fromUtf8(Reader.readAllStandardOutput()) : String();
}

// Runs after both sides at Count: the files they last wrote hold the same cells.
void SameCells(benchmark::State& State, int Count)
{
    const QDir Folder(DataFolder(Count));
    const String App = SheetDump(Folder.filePath(u"app.xlsx"_s)), Raw = SheetDump(Folder.filePath(u"raw.xlsx"_s));
    for (auto _ : State) {
    }
    if (App.isEmpty() || App != Raw) {
        const QStringList A = App.split(u'\n'), R = Raw.split(u'\n');
        for (int I = 0; I < std::min(A.size(), R.size()); ++I)
            if (A[I] != R[I]) {
                std::fprintf(stderr, "app: %s\nraw: %s\n", qPrintable(A[I]), qPrintable(R[I]));
                break;
            }
        State.SkipWithError("the two files differ");
    }
}

// Keeps each benchmark's median (or only) real time, then prints the ratios.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& Runs) override
    {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run& R : Runs)
            if (!R.error_occurred && (R.aggregate_name.empty() || R.aggregate_name == "median"))
                FMs[R.run_name.function_name] = R.GetAdjustedRealTime();
    }

    void PrintRatios() const
    {
        for (int Count : Sizes) {
            const double App = Ms("export/" + std::to_string(Count) + "/app");
            const double Raw = Ms("export/" + std::to_string(Count) + "/raw");
            std::printf("export of %d stock-in records: app %.1f ms, raw %.1f ms, %.2fx\n", Count, App, Raw, App / Raw);
        }
    }

private:
    double Ms(const std::string& Name) const
    {
        const auto Found = FMs.find(Name);
        return Found == FMs.end() ? std::nan("") : Found->second;
    }

    std::map<std::string, double> FMs;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication Application(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (int Count : Sizes) {
        const std::string Key = "export/" + std::to_string(Count);
        for (auto* Bench : {benchmark::RegisterBenchmark((Key + "/app").c_str(), App, Count),
                            benchmark::RegisterBenchmark((Key + "/raw").c_str(), Raw, Count)})
            Bench->Unit(benchmark::kMillisecond)->Iterations(Count > 10'000 ? 2 : 5);
    }
    for (int Count : Sizes)
        benchmark::RegisterBenchmark(("same_cells/" + std::to_string(Count)).c_str(), SameCells, Count)->Iterations(1)->Repetitions(1);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}

#include "GridExportBench.moc"
