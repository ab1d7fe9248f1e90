// One full screen (753 x 300 client) of a record list painted offscreen, at 10^3 and 10^6
// records, side by side in one run: the data grid over the application's query, and Qt's
// QTableView over a QSqlQueryModel of the same file and statement as the peer. The cost must
// follow the rows on screen, never the record count.
#include "../support/BenchApplication.h"
#include "../support/OprintData.h"

#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int ClientWidth = 753;
constexpr int ClientHeight = 300;
const char* const ListSql = "select * from oprint order by 日期 desc, id desc";

String DataFolder(int Rows) { return OprintDataFolder(Rows, "grid"); }
String DataFile(int Rows) { return QDir(DataFolder(Rows)).filePath(QStringLiteral("opr.mdb")); }

// --- peer -----------------------------------------------------------------------------------------

class TPeerView {
public:
    explicit TPeerView(int Rows) : FName(QStringLiteral("grid-peer-%1").arg(Rows)), FImage(ClientWidth, ClientHeight, QImage::Format_RGB32)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FName);
        db.setDatabaseName(DataFile(Rows));
        db.open();
        FModel = std::make_unique<QSqlQueryModel>();
        FModel->setQuery(QSqlQuery(String::fromUtf8(ListSql), db));
        FView = std::make_unique<QTableView>();
        FView->setModel(FModel.get());
        FView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        FView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        FView->setFrameShape(QFrame::NoFrame);
        FView->resize(ClientWidth, ClientHeight);
        FView->ensurePolished();
    }
    ~TPeerView()
    {
        FView.reset();
        FModel.reset();
        QSqlDatabase::database(FName).close();
        QSqlDatabase::removeDatabase(FName);
    }

    void PaintScreen()
    {
        QPainter painter(&FImage);
        FView->render(&painter);
    }

private:
    String FName;
    std::unique_ptr<QSqlQueryModel> FModel;
    std::unique_ptr<QTableView> FView;
    QImage FImage;
};

void BM_PeerPaint(benchmark::State& State)
{
    BenchApplication();
    TPeerView view(static_cast<int>(State.range(0)));
    view.PaintScreen();
    for (auto _ : State)
        view.PaintScreen();
}

}  // namespace

BENCHMARK(BM_PeerPaint)->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
