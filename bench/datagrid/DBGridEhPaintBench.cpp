// One full screen (753 x 300 client) of a record list painted offscreen, at 10^3 and 10^6
// records, side by side in one run: the data grid over the application's query (ten stored
// columns, the quantity summed in a footer), and Qt's QTableView over a QSqlQueryModel of the
// same file and statement as the peer. The cost must follow the rows on screen, never the record
// count. "footer_sum" shows the total the grid's footer holds.
#include "../support/BenchApplication.h"
#include "../support/OprintData.h"

#include "datagrid/DBGridEh.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Forms.h"

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

// --- grid -----------------------------------------------------------------------------------------

class TBenchPaintGrid : public TDBGridEh {
public:
    using TDBGridEh::TDBGridEh;

    void PaintInto(QImage& Image)
    {
        QPainter painter(&Image);
        Canvas()->BeginPaint(&painter);
        Paint();
        Canvas()->EndPaint();
    }
};

// The application's list: its query on the file, a data source and a grid on a form, with the
// quantity summed in a footer as the stock-in page shows it.
class TGridScreen {
public:
    explicit TGridScreen(int Rows) : FImage(ClientWidth, ClientHeight, QImage::Format_RGB32)
    {
        FConnection.SetLoginPrompt(false);
        FConnection.SetConnectionString(JetConnectionString(DataFile(Rows)));
        FConnection.Open();
        FQuery.SetConnection(&FConnection);
        FQuery.SQL()->Add(String::fromUtf8(ListSql));
        FSource.SetDataSet(&FQuery);
        FForm.SetBounds(0, 0, ClientWidth + 40, ClientHeight + 40);
        FGrid = new TBenchPaintGrid(&FForm);
        FGrid->SetBorderStyle(TBorderStyle::bsNone);
        FGrid->SetBounds(0, 0, ClientWidth, ClientHeight);
        FGrid->SetParent(&FForm);
        FGrid->HandleNeeded();
        for (const char* name : {"id", "姓名", "部门", "数量", "单位", "物品名称", "类型", "日期", "时间", "备注"}) {
            TColumnEh* column = FGrid->Columns()->Add();
            column->SetFieldName(String::fromUtf8(name));
            if (column->FieldName() == QStringLiteral("数量"))
                column->Footer()->SetValueType(TFooterValueType::fvtSum);
        }
        FGrid->SumList()->SetActive(true);
        FGrid->SetFooterRowCount(1);
        FGrid->SetDataSource(&FSource);
        FQuery.Open();
    }

    void PaintScreen() { FGrid->PaintInto(FImage); }
    // The quantity total the footer shows, as a number.
    double FooterSum()
    {
        String text;
        FGrid->ComputeFooterText(0, FGrid->ColumnByFieldName(QStringLiteral("数量")), text);
        return text.remove(u',').toDouble();
    }

private:
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
    TDataSource FSource{nullptr};
    TForm FForm{nullptr};
    TBenchPaintGrid* FGrid = nullptr;
    QImage FImage;
};

void BM_GridPaint(benchmark::State& State)
{
    BenchApplication();
    TGridScreen screen(static_cast<int>(State.range(0)));
    screen.PaintScreen();
    for (auto _ : State)
        screen.PaintScreen();
    State.counters["footer_sum"] = screen.FooterSum();
}

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

BENCHMARK(BM_GridPaint)->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeerPaint)->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
