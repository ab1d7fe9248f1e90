// One keystroke of a code search in the issue page's name combo on 10,000 people: the
// application's refill of the list beside the floor, the same bound statement read by plain
// sqlite3 into a list of names.
#include "../support/BenchApplication.h"

#include "app/orecord.h"
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/ui/ComboBox.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

namespace {

constexpr int People = 10'000;

// The main window on a fresh file of People people, each with a three-letter code.
class TPeopleWindow {
public:
    TPeopleWindow()
    {
        BenchApplication();
        QDir::setCurrent(FDir.path());
        MF1 = new TMF1(nullptr);
        String script = QStringLiteral("begin;");
        for (int i = 0; i < People; ++i) {
            const String code = String(QChar(u'a' + i % 26)) + QChar(u'a' + i / 26 % 26) + QChar(u'a' + i / 676 % 26);
            script += QStringLiteral("insert into ouser(姓名,姓名编号,部门) values('人%1','%2','办公室');").arg(i).arg(code);
        }
        MF1->ADOCon1->Database().ExecuteScript(script + QStringLiteral("commit;"));
    }
    ~TPeopleWindow()
    {
        delete MF1;
        MF1 = nullptr;
    }
    String DatabasePath() const { return QDir(FDir.path()).filePath(QStringLiteral("opr.mdb")); }

private:
    QTemporaryDir FDir;
};

TPeopleWindow& Window()
{
    static TPeopleWindow window;
    return window;
}

// Arg: the length of the typed code; one letter finds 1/26 of the people, two 1/676.
const char* Typed(int Length) { return Length == 1 ? "z" : "zq"; }

void BM_CodeSearch_app(benchmark::State& State)
{
    Window();
    TComboBox* name = MF1->ComboBox3;
    name->SetText(String::fromUtf8(Typed(int(State.range(0)))));
    for (auto _ : State)
        MF1->RefillComboByCode(MF1->ADOQ1, name, 'Z', TCodeSearch::People);
    State.counters["items"] = name->Items()->Count();
}

void BM_CodeSearch_floor(benchmark::State& State)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(Window().DatabasePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "select DISTINCT 姓名 from ouser where 姓名编号 like ?", -1, &statement, nullptr);
    const std::string pattern = std::string(Typed(int(State.range(0)))) + '%';
    QStringList names;
    for (auto _ : State) {
        names.clear();
        sqlite3_bind_text(statement, 1, pattern.c_str(), -1, SQLITE_STATIC);
        while (sqlite3_step(statement) == SQLITE_ROW)
            names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        names << QString();
        sqlite3_reset(statement);
        benchmark::DoNotOptimize(names);
    }
    State.counters["items"] = names.size();
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

}  // namespace

BENCHMARK(BM_CodeSearch_app)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeSearch_floor)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
