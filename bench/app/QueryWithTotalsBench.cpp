// The issue page's requery as the clerk runs it, at 10^4, 10^5 and 10^6 records, side by side in
// one run with the least work giving the same answers and with a peer:
//  - app:   the application's own path (its reset and query buttons, RunQueryWithTotals), then
//           the first screen of 30 records read field by field, as the grid shows them;
//  - floor: plain sqlite3: count and total in one statement, and the first 30 rows;
//  - peer:  Qt's QSqlQueryModel on the same file: its first fetch (256 rows) and a count/total
//           query; "peer_all" fetches every row.
// Also: a keystroke in the department field as the user sees it (requery, the issue page's grid
// refilled and one screen of it painted) beside QTableView on the peer's model; heap beyond SQLite
// per matching record, a registration's insert, and the program's start from exec to its main
// window shown. Ratios are printed at the end.
#include "../support/OprintData.h"

#include "app/OprDatabase.h"
#include "app/backup.h"
#include "app/oprIndexes.h"
#include "app/orecord.h"
#include "app/sys.h"
#include "datagrid/DBGridEh.h"
#include "platform/ado/SQLite.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Memo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QImage>
#include <QPainter>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int ScreenRows = 30;
// The issue page's list on the screen.
constexpr int ListWidth = 741;
constexpr int ListHeight = 320;
const int Sizes[] = {10'000, 100'000, 1'000'000};

void CreateAppTables(TADOConnection& Connection) { CreateOprTables(&Connection); }
void CreateAppIndexes(TADOConnection& Connection)
{
    // As many stock-in records as issue records.
    TSQLiteStatement count = Connection.Database().Prepare(QStringLiteral("select count(*) from oprint"));
    count.Step();
    FillRuku(Connection.Database(), int(count.ColumnInt64(0)));
    CreateOprIndexes(Connection);
}

String DataFolder(int Rows)
{
    return OprintDataFolder(Rows, "app", CreateAppTables, CreateAppIndexes);
}

String YearPattern() { return QString::number(CurrentYear()) + u'%'; }
const String Department = QStringLiteral("技术部");

// --- The statements of the table ------------------------------------------------------------

const String Name = QStringLiteral("张三");

// The issue page's statements, a typed name among them, and the stock-in page's query all with
// the footer sums of its list.
enum class TCase { Reset, Department, DepartmentAndYear, Name, All, StockInAll };
const TCase Cases[] = {TCase::Reset, TCase::Department, TCase::DepartmentAndYear, TCase::Name, TCase::All,
                       TCase::StockInAll};

const char* CaseName(TCase Case)
{
    switch (Case) {
    case TCase::Reset:
        return "reset_year";
    case TCase::Department:
        return "department";
    case TCase::DepartmentAndYear:
        return "department_year";
    case TCase::Name:
        return "name";
    case TCase::All:
        return "all";
    case TCase::StockInAll:
        return "stockin_all";
    }
    return "";
}

// The filter as the application binds it: the where text and its values in order.
struct TFilter {
    String Where;
    std::vector<String> Values;
};

TFilter FilterOf(TCase Case)
{
    switch (Case) {
    case TCase::Reset:
        return {QStringLiteral(" where 日期 like ?"), {YearPattern()}};
    case TCase::Department:
        return {QStringLiteral(" where 部门 like ?"), {Department + u'%'}};
    case TCase::DepartmentAndYear:
        return {QStringLiteral(" where 部门 like ? and 日期 like ?"), {Department + u'%', YearPattern()}};
    case TCase::Name:
        return {QStringLiteral(" where 姓名 = ? and 部门 like ? and 日期 like ?"), {Name, Department + u'%', YearPattern()}};
    case TCase::All:
    case TCase::StockInAll:
        return {};
    }
    return {};
}

// The page's table and what its totals add up: the count and the quantity, and on the stock-in
// page the amount its list's footer sums beside the quantity.
const char* TableOf(TCase Case) { return Case == TCase::StockInAll ? "ruku" : "oprint"; }

String TotalsSql(const char* Table, bool Amount)
{
    return QStringLiteral("select count(*), sum(数量)") + (Amount ? QStringLiteral(", sum(金额)") : String())
           + QStringLiteral(" from ") + String::fromUtf8(Table);
}

// Heap in use, mmapped blocks included, less what SQLite holds itself.
std::int64_t HeapBeyondSQLite()
{
    const struct mallinfo2 info = mallinfo2();
    return std::int64_t(info.uordblks + info.hblkhd) - sqlite3_memory_used();
}

// --- app --------------------------------------------------------------------------------------

// The main window on the file of Rows records, as the program builds it; no window is shown.
class TAppWindow {
public:
    explicit TAppWindow(int Rows)
    {
        QDir::setCurrent(DataFolder(Rows));
        MF1 = new TMF1(nullptr);
    }
    ~TAppWindow()
    {
        delete MF1;
        MF1 = nullptr;
    }

    // The requery: the reset and the department through the page's buttons; the two statements
    // no control of the page builds yet through RunQueryWithTotals itself.
    void Requery(TCase Case)
    {
        switch (Case) {
        case TCase::Reset:
            MF1->Button2->Click();
            break;
        case TCase::Department:
            MF1->ComboBox1->SetText(Department);
            MF1->BitBtn1->Click();
            break;
        case TCase::DepartmentAndYear:
            MF1->RunQueryWithTotals(MF1->dbouser1, MF1->AQc1, MF1->Memo2, MF1->Memo1,
                                    QStringLiteral("select Sum(数量) AS 总计 from oprint where 部门 like :dept and 日期 like :year"),
                                    QStringLiteral("select * from oprint where 部门 like :dept and 日期 like :year "
                                                   "ORDER BY 日期 desc,id desc"),
                                    {{QStringLiteral("dept"), Department + u'%'}, {QStringLiteral("year"), YearPattern()}});
            break;
        case TCase::Name:
            MF1->RunQueryWithTotals(MF1->dbouser1, MF1->AQc1, MF1->Memo2, MF1->Memo1,
                                    QStringLiteral("select Sum(数量) AS 总计 from oprint where 姓名 = :name and 部门 like :dept "
                                                   "and 日期 like :year"),
                                    QStringLiteral("select * from oprint where 姓名 = :name and 部门 like :dept and 日期 like :year "
                                                   "ORDER BY 日期 desc,id desc"),
                                    {{QStringLiteral("name"), Name},
                                     {QStringLiteral("dept"), Department + u'%'},
                                     {QStringLiteral("year"), YearPattern()}});
            break;
        case TCase::All:
            MF1->RunQueryWithTotals(MF1->dbouser1, MF1->AQc1, MF1->Memo2, MF1->Memo1,
                                    QStringLiteral("select Sum(数量) AS 总计 from oprint"),
                                    QStringLiteral("select * from oprint order by 日期 desc,id desc"));
            break;
        case TCase::StockInAll:
            MF1->BitBtn6->Click();
            break;
        }
        ReadScreen(List(Case));
    }

    // The page's list: the stock-in page's, or the issue page's.
    static TADOQuery* List(TCase Case) { return Case == TCase::StockInAll ? MF1->ADOR1 : MF1->dbouser1; }
    static int Count(TCase Case) { return List(Case)->RecordCount(); }

    // The issue page's list as the screen shows it after the requery.
    void PaintList(QImage& Image) const
    {
        QPainter painter(&Image);
        MF1->DBGridEh1->Handle()->render(&painter);
    }

private:
    // The first screen of the list, every field as text.
    static void ReadScreen(TADOQuery* list)
    {
        list->First();
        for (int row = 0; row < ScreenRows && !list->Eof(); ++row, list->Next())
            for (TField* field : *list->Fields())
                benchmark::DoNotOptimize(field->AsString());
    }
};

// A keystroke in the department field: the page's requery, the list refilled, one screen painted.
void BM_AppScreen(benchmark::State& State, int Rows)
{
    TAppWindow window(Rows);
    QImage screen(ListWidth, ListHeight, QImage::Format_RGB32);
    for (auto _ : State) {
        window.Requery(TCase::Department);
        window.PaintList(screen);
    }
    State.counters["matching"] = window.Count(TCase::Department);
}

void BM_App(benchmark::State& State, TCase Case, int Rows)
{
    TAppWindow window(Rows);
    window.Requery(Case);
    for (auto _ : State)
        window.Requery(Case);
    TAppWindow::List(Case)->Close();
    MF1->AQc1->Close();
    const std::int64_t before = HeapBeyondSQLite();
    window.Requery(Case);
    const int count = TAppWindow::Count(Case);
    State.counters["matching"] = count;
    State.counters["heap_B_per_match"] = double(HeapBeyondSQLite() - before) / std::max(count, 1);
}

// --- floor ------------------------------------------------------------------------------------

class TRawStatement {
public:
    TRawStatement(sqlite3* Db, const String& Sql, const std::vector<String>& Values)
    {
        const QByteArray text = Sql.toUtf8();
        sqlite3_prepare_v2(Db, text.constData(), int(text.size()), &FHandle, nullptr);
        for (int i = 0; i < int(Values.size()); ++i) {
            const QByteArray value = Values[size_t(i)].toUtf8();
            sqlite3_bind_text(FHandle, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
        }
    }
    ~TRawStatement() { sqlite3_finalize(FHandle); }
    sqlite3_stmt* Handle() const { return FHandle; }

private:
    sqlite3_stmt* FHandle = nullptr;
};

sqlite3* OpenRaw(int Rows)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QDir(DataFolder(Rows)).filePath(QStringLiteral("opr.mdb")).toUtf8().constData(), &db,
                    SQLITE_OPEN_READWRITE, nullptr);
    return db;
}

// The least a list needs of the file: its count and totals, and its first screen of records.
std::int64_t ReadTotalsAndScreen(sqlite3* Db, const char* Table, bool Amount, const TFilter& Filter)
{
    std::int64_t checksum = 0;
    TRawStatement totals(Db, TotalsSql(Table, Amount) + Filter.Where, Filter.Values);
    sqlite3_step(totals.Handle());
    for (int i = 0; i < sqlite3_column_count(totals.Handle()); ++i)
        checksum += sqlite3_column_int64(totals.Handle(), i);
    TRawStatement list(Db, QStringLiteral("select * from ") + String::fromUtf8(Table) + Filter.Where
                               + QStringLiteral(" order by 日期 desc, id desc limit %1").arg(ScreenRows),
                       Filter.Values);
    while (sqlite3_step(list.Handle()) == SQLITE_ROW)
        for (int i = 0; i < sqlite3_column_count(list.Handle()); ++i)
            checksum += sqlite3_column_bytes(list.Handle(), i);
    return checksum;
}

void BM_Floor(benchmark::State& State, TCase Case, int Rows)
{
    sqlite3* db = OpenRaw(Rows);
    std::int64_t checksum = 0;
    for (auto _ : State)
        checksum += ReadTotalsAndScreen(db, TableOf(Case), Case == TCase::StockInAll, FilterOf(Case));
    benchmark::DoNotOptimize(checksum);
    sqlite3_close(db);
}

// --- peer -------------------------------------------------------------------------------------

class TPeer {
public:
    explicit TPeer(int Rows) : FName(QStringLiteral("peer-%1").arg(++Opened))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FName);
        db.setDatabaseName(QDir(DataFolder(Rows)).filePath(QStringLiteral("opr.mdb")));
        db.open();
    }
    ~TPeer()
    {
        FModel.reset();
        QSqlDatabase::database(FName).close();
        QSqlDatabase::removeDatabase(FName);
    }

    // The list's first fetch and its count and total; with Everything, every row of the list.
    void Requery(TCase Case, bool Everything)
    {
        const TFilter filter = FilterOf(Case);
        const QSqlDatabase db = QSqlDatabase::database(FName);
        QSqlQuery totals(db);
        totals.prepare(TotalsSql(TableOf(Case), Case == TCase::StockInAll) + filter.Where);
        for (const String& value : filter.Values)
            totals.addBindValue(value);
        totals.exec();
        totals.next();
        FCount = totals.value(0).toInt();
        for (int i = 1; i < totals.record().count(); ++i)
            benchmark::DoNotOptimize(totals.value(i).toDouble());
        QSqlQuery list(db);
        list.setForwardOnly(false);
        list.prepare(QStringLiteral("select * from ") + String::fromUtf8(TableOf(Case)) + filter.Where + QStringLiteral(" order by 日期 desc, id desc"));
        for (const String& value : filter.Values)
            list.addBindValue(value);
        list.exec();
        FModel = std::make_unique<QSqlQueryModel>();
        FModel->setQuery(std::move(list));
        while (Everything && FModel->canFetchMore())
            FModel->fetchMore();
        for (int row = 0; row < std::min(ScreenRows, FModel->rowCount()); ++row)
            for (int column = 0; column < FModel->columnCount(); ++column)
                benchmark::DoNotOptimize(FModel->data(FModel->index(row, column)).toString());
    }

    int Count() const { return FCount; }

    // The list in a QTableView on the model, one screen rendered.
    void PaintList(QImage& Image)
    {
        if (!FView) {
            FView = std::make_unique<QTableView>();
            FView->resize(ListWidth, ListHeight);
        }
        FView->setModel(FModel.get());
        QPainter painter(&Image);
        FView->render(&painter);
    }

private:
    static inline int Opened = 0;  // names each connection apart
    std::unique_ptr<QTableView> FView;
    String FName;
    std::unique_ptr<QSqlQueryModel> FModel;
    int FCount = 0;
};

void BM_PeerScreen(benchmark::State& State, int Rows)
{
    TPeer peer(Rows);
    QImage screen(ListWidth, ListHeight, QImage::Format_RGB32);
    for (auto _ : State) {
        peer.Requery(TCase::Department, false);
        peer.PaintList(screen);
    }
    State.counters["matching"] = peer.Count();
}

void BM_Peer(benchmark::State& State, TCase Case, int Rows, bool Everything)
{
    TPeer peer(Rows);
    peer.Requery(Case, Everything);
    for (auto _ : State)
        peer.Requery(Case, Everything);
    const std::int64_t before = HeapBeyondSQLite();
    TPeer measured(Rows);
    measured.Requery(Case, Everything);
    State.counters["matching"] = measured.Count();
    State.counters["heap_B_per_match"] = double(HeapBeyondSQLite() - before) / std::max(measured.Count(), 1);
}

// --- a registration's insert -------------------------------------------------------------------

// The issue page's insert, committed, as registering one issue runs it; the records added are
// removed afterwards, so the file stays as generated.
void BM_RegistrationInsert(benchmark::State& State, int Rows)
{
    TADOConnection connection(nullptr);
    connection.SetConnectionString(JetConnectionString(QDir(DataFolder(Rows)).filePath(QStringLiteral("opr.mdb"))));
    connection.Open();
    TSQLiteStatement last = connection.Database().Prepare(QStringLiteral("select max(id) from oprint"));
    last.Step();
    const std::int64_t lastId = last.ColumnInt64(0);
    TADOQuery insert(nullptr);
    insert.SetConnection(&connection);
    insert.SQL()->SetText(QStringLiteral("insert into oprint(姓名,部门,数量,单位,物品名称,类型,日期,时间,备注) "
                                         "values(:sname,:sdept,:sno,:sdw,:spname,:spty,:sdate,:stime,:sremark)"));
    const std::pair<const char*, Variant> values[] = {
        {"sname", QStringLiteral("张三")},  {"sdept", QStringLiteral("技术部")},
        {"sno", 3},                         {"sdw", QStringLiteral("个")},
        {"spname", QStringLiteral("签字笔")}, {"spty", QStringLiteral("A4")},
        {"sdate", Variant::FromDateTime(Now())}, {"stime", QStringLiteral("10:00:00")},
        {"sremark", QStringLiteral("急用")},
    };
    for (const auto& [name, value] : values)
        insert.Parameters()->ParamByName(String::fromUtf8(name))->SetValue(value);
    for (auto _ : State)
        insert.ExecSQL();
    connection.Database().ExecuteScript(QStringLiteral("delete from oprint where id > %1").arg(lastId));
}

// --- start ------------------------------------------------------------------------------------

// In the child: the program's start (its three windows, the main one shown), then the count the
// issue page shows, and out.
int ShowMainWindow(int argc, char** argv)
{
    QApplication application(argc, argv);
    Application->Initialize();
    Application->CreateForm(MF1);
    Application->CreateForm(Form3);
    Application->CreateForm(Form4);
    QTimer::singleShot(0, qApp, [] {
        std::printf("shown %s\n", MF1->Memo1->Text().toUtf8().constData());
        std::fflush(stdout);
        Application->Terminate();
    });
    Application->Run();
    Application->DestroyForms();
    return 0;
}

// One start of the program in a child process on the file in Folder: the milliseconds from exec
// to its main window shown, and the count its issue page then shows.
std::pair<double, String> TimeStart(const String& Folder)
{
    QProcess child;
    child.setWorkingDirectory(Folder);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--show-main-window")});
    while (!child.canReadLine() && child.waitForReadyRead(30'000)) {
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const String shown = String::fromUtf8(child.readLine()).trimmed();
    child.waitForFinished();
    return {ms, shown.startsWith(QLatin1String("shown ")) ? shown.mid(6) : String()};
}

double Median(std::vector<double> Values)
{
    std::nth_element(Values.begin(), Values.begin() + std::ptrdiff_t(Values.size() / 2), Values.end());
    return Values[Values.size() / 2];
}

// What any start on the file must read of it, on a connection of its own as a new process has:
// each page's count and totals of this year's records and its first screen of them.
double StartReadsMs(int Rows)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = OpenRaw(Rows);
    std::int64_t checksum = 0;
    for (const auto& [table, amount] : {std::pair{"oprint", false}, {"gift", false}, {"ruku", true}})
        checksum += ReadTotalsAndScreen(db, table, amount, FilterOf(TCase::Reset));
    sqlite3_close(db);
    benchmark::DoNotOptimize(checksum);
    return double(timer.nsecsElapsed()) / 1e6;
}

// The start on the file of Rows records, each paired with a start on a new, empty file right
// before it, so that both see the same load: the ratio is the median of the pairs'. The floor
// is the empty file's start with the file's own reads added: no start can be faster.
void BM_Start(benchmark::State& State, int Rows)
{
    const String empty = OprintDataFolder(0, "app", CreateAppTables, CreateAppIndexes);
    const String records = DataFolder(Rows);
    std::vector<double> emptyMs, ratios, floorRatios;
    String shown;
    bool readsFirst = false;
    for (auto _ : State) {
        // Whichever reads the file first may find fewer of its pages in the system's cache:
        // the two take turns.
        readsFirst = !readsFirst;
        const double readsBefore = readsFirst ? StartReadsMs(Rows) : 0;
        const double emptyStart = TimeStart(empty).first;
        const auto [ms, count] = TimeStart(records);
        const double reads = readsFirst ? readsBefore : StartReadsMs(Rows);
        State.SetIterationTime(ms / 1e3);
        emptyMs.push_back(emptyStart);
        ratios.push_back(ms / emptyStart);
        floorRatios.push_back((emptyStart + reads) / emptyStart);
        shown = count;
    }
    if (shown.isEmpty())
        State.SkipWithError("the program did not show its window");
    State.counters["records_shown"] = shown.toDouble();
    State.counters["empty_ms"] = Median(emptyMs);
    State.counters["ratio"] = Median(ratios);
    State.counters["floor_ratio"] = Median(floorRatios);
}

// --- ratios -----------------------------------------------------------------------------------

// Keeps each benchmark's median (or only) real time, then prints the ratios. Every benchmark here
// reports milliseconds.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& Runs) override
    {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run& run : Runs)
            if (!run.error_occurred && (run.aggregate_name.empty() || run.aggregate_name == "median")) {
                FMs[run.run_name.function_name] = run.GetAdjustedRealTime();
                if (run.counters.contains("ratio"))
                    FStarts[run.run_name.function_name] = {run.counters.at("empty_ms"), run.counters.at("ratio"),
                                                           run.counters.at("floor_ratio")};
            }
    }

    void PrintRatios() const
    {
        std::printf("\n%-16s %9s %9s %9s %9s %9s %10s %10s\n", "statement", "records", "app ms", "floor ms", "peer ms",
                    "app/floor", "app/peer", "peer_all");
        for (TCase c : Cases)
            for (int rows : Sizes) {
                const std::string key = std::string(CaseName(c)) + "/" + std::to_string(rows);
                const double app = Ms(key + "/app"), floor = Ms(key + "/floor"), peer = Ms(key + "/peer");
                std::printf("%-16s %9d %9.2f %9.2f %9.2f %9.2f %10.2f %10.2f\n", CaseName(c), rows, app, floor, peer,
                            app / floor, app / peer, Ms(key + "/peer_all"));
            }
        for (int rows : Sizes) {
            const std::string key = "keystroke/" + std::to_string(rows);
            const double app = Ms(key + "/app"), peer = Ms(key + "/peer");
            std::printf("%s: department typed, list refilled, one screen painted: %.2f ms, QTableView %.2f ms (%.2fx)\n",
                        key.c_str(), app, peer, app / peer);
        }
        for (const auto& [name, start] : FStarts)
            std::printf("%s: %.1f ms, %.2fx the start on an empty file beside it (%.1f ms); floor %.2fx\n",
                        name.c_str(), Ms(name), start.Ratio, start.EmptyMs, start.FloorRatio);
    }

private:
    double Ms(const std::string& Name) const
    {
        const auto found = FMs.find(Name);
        return found == FMs.end() ? std::nan("") : found->second;
    }

    std::map<std::string, double> FMs;
    struct TStart {
        double EmptyMs, Ratio, FloorRatio;
    };
    std::map<std::string, TStart> FStarts;
};

void RegisterBenchmarks()
{
    for (TCase c : Cases)
        for (int rows : Sizes) {
            const std::string key = std::string(CaseName(c)) + "/" + std::to_string(rows);
            for (auto* bench : {benchmark::RegisterBenchmark((key + "/app").c_str(), BM_App, c, rows),
                                benchmark::RegisterBenchmark((key + "/floor").c_str(), BM_Floor, c, rows),
                                benchmark::RegisterBenchmark((key + "/peer").c_str(), BM_Peer, c, rows, false)})
                bench->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->MinTime(0.1);
            benchmark::RegisterBenchmark((key + "/peer_all").c_str(), BM_Peer, c, rows, true)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        }
    for (int rows : Sizes)
        for (auto* bench : {benchmark::RegisterBenchmark(("keystroke/" + std::to_string(rows) + "/app").c_str(), BM_AppScreen, rows),
                            benchmark::RegisterBenchmark(("keystroke/" + std::to_string(rows) + "/peer").c_str(), BM_PeerScreen, rows)})
            bench->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->MinTime(0.1);
    for (int rows : Sizes)
        benchmark::RegisterBenchmark(("insert/" + std::to_string(rows)).c_str(), BM_RegistrationInsert, rows)
            ->Unit(benchmark::kMillisecond);
    for (int rows : Sizes)
        benchmark::RegisterBenchmark(("start/" + std::to_string(rows)).c_str(), BM_Start, rows)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(15);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--show-main-window")
        return ShowMainWindow(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RegisterBenchmarks();
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
