// The record pages' export: the empty-list refusal, the page's title, and the lists left
// read-only afterwards.
#include "AppTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "platform/ado/ADODB.h"
#include "platform/office/XlsxReadBack.h"
#include "platform/ui/Button.h"
#include "platform/ui/Menus.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

// Stands for the desktop's program for .xlsx files: nothing is launched.
class TPageExportDesktop : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& Url)
    {
        Opened << Url;
        if (OnOpen)
            OnOpen();
    }

public:
    std::function<void()> OnOpen;
};

namespace {

class TPageGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

class TPageExportTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        QDesktopServices::setUrlHandler(u"file"_s, &Desktop, "Open");
        OpenWindows();
        Grid = std::make_unique<TPageGrid>(nullptr);
        Grid->SetDataSource(MF1->DSR1);
        MF1->Me1->SetVisible(false);
        MF1->Me2->SetVisible(true);
    }

    void TearDown() override
    {
        Grid.reset();
        TAppTest::TearDown();
        QDesktopServices::unsetUrlHandler(u"file"_s);
    }

    void ExpectReadOnlyAfterwards()
    {
        EXPECT_TRUE(Grid->ReadOnly());
        EXPECT_TRUE(MF1->Me1->Visible());
        EXPECT_FALSE(MF1->Me2->Visible());
    }

    TPageExportDesktop Desktop;
    std::unique_ptr<TPageGrid> Grid;
};

TEST_F(TPageExportTest, AnEmptyListIsRefusedWithoutAFileDialog)
{
    MF1->ExportGridToExcel(Grid.get(), u"3"_s);
    EXPECT_EQ(Messages(), QStringList{u"记录列表内容为空，请选择合适条件查询后导出！"_s});
    EXPECT_EQ(FDialogs.Shown()[0].Icon, TMsgDlgType::mtInformation);
    EXPECT_EQ(FDialogs.Shown()[0].Caption, u"提示"_s);
    EXPECT_TRUE(FDialogs.FileDialogs().empty());
    ExpectReadOnlyAfterwards();
}

TEST_F(TPageExportTest, ThePagesTitleNamesTheSheetAndTheOfferedFile)
{
    Execute("insert into ruku(物品名称,数量,金额) values('订书机',3,13.5);");
    MF1->ADOR1->Close();
    MF1->ADOR1->SQL()->Clear();
    MF1->ADOR1->SQL()->Add(u"select * from ruku"_s);
    MF1->ADOR1->Open();
    const String File = QDir(FDir.path()).filePath(u"入库.xlsx"_s);
    FDialogs.ChooseFile(File);
    MF1->ExportGridToExcel(Grid.get(), u"3"_s);
    ASSERT_EQ(FDialogs.FileDialogs().size(), 1u);
    EXPECT_TRUE(QRegularExpression(u"^\\d{14}_物品入库明细表\\.xlsx$"_s).match(FDialogs.FileDialogs()[0].FileName).hasMatch());
    const TXlsxReadBack Sheet = ReadXlsx(File);
    EXPECT_EQ(Sheet.SheetName, u"物品入库明细表"_s);
    EXPECT_EQ(Sheet.Cells.value(u"B1"_s).Value, u"物品入库明细表"_s);
    EXPECT_EQ(Desktop.Opened, QList<QUrl>{QUrl::fromLocalFile(File)});
    ExpectReadOnlyAfterwards();

    FDialogs.CancelFile();
    MF1->ExportGridToExcel(Grid.get(), u"2"_s);
    ASSERT_EQ(FDialogs.FileDialogs().size(), 2u);
    EXPECT_TRUE(QRegularExpression(u"^\\d{14}_礼品领用明细表\\.xlsx$"_s).match(FDialogs.FileDialogs()[1].FileName).hasMatch());
    FDialogs.CancelFile();
    MF1->ExportGridToExcel(Grid.get(), u"1"_s);
    ASSERT_EQ(FDialogs.FileDialogs().size(), 3u);
    EXPECT_TRUE(FDialogs.FileDialogs()[2].FileName.endsWith(u"_办公用品领用明细表.xlsx"_s));
    ExpectReadOnlyAfterwards();
}

// The stock-in list as the page shows it, written to a file and read back by a spreadsheet
// library of its own (openpyxl), not by our reader.
TEST_F(TPageExportTest, TheStockInListReadsBackInASpreadsheetLibrary)
{
    const String year = QDate::currentDate().toString(u"yyyy"_s);
    Execute(QStringLiteral("insert into ruku(物品名称,类型,数量,单位,单价,金额,供应商,日期) "
                           "values('订书机','中号',3,'个',4.5,13.5,'文具店','%1-02-01');"
                           "insert into ruku(物品名称,类型,数量,单位,单价,金额,供应商,日期) "
                           "values('铅笔','HB',10,'支',0.5,5,'文具店','%1-03-01');")
                .arg(year)
                .toUtf8()
                .constData());
    MF1->BitBtn11->Click();
    const String File = QDir(FDir.path()).filePath(u"入库.xlsx"_s);
    FDialogs.ChooseFile(File);
    MF1->ExportGridToExcel(MF1->DBGridEh3, u"3"_s);
    ASSERT_TRUE(QFile::exists(File));

    QProcess reader;
    reader.start(u"/usr/bin/python3"_s, {u"-c"_s, uR"(
import sys, openpyxl
sheet = openpyxl.load_workbook(sys.argv[1]).active
print("sheet", sheet.title)
print("merged", " ".join(sorted(str(r) for r in sheet.merged_cells.ranges)))
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is not None:
            print(cell.coordinate, type(cell.value).__name__, cell.value)
)"_s, File});
    ASSERT_TRUE(reader.waitForFinished(60000));
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QStringList lines = String::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    // Title merged across the fields, field names, typed records newest first, the page's totals
    // under their fields.
    for (const char* expected :
         {"sheet 物品入库明细表", "merged B1:N1", "B1 str 物品入库明细表", "A2 str id", "B2 str 物品名称", "E2 str 数量",
          "H2 str 金额", "B3 str 铅笔", "E3 int 10", "G3 float 0.5", "B4 str 订书机", "E4 int 3",
          "H4 float 13.5", "C5 str 总数量", "E5 int 13", "G5 str 总金额", "H5 float 18.5"})
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const QString& Line) { return Line.startsWith(String::fromUtf8(expected)); }))
            << expected << "\n" << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(u"L3 str "_s + year + u"-03-01"_s));
    EXPECT_EQ(lines.filter(QRegularExpression(u"^[A-Z]6 "_s)).size(), 0) << "nothing below the totals";
}

// A click on the export button, as the window system queues it, while the export runs: it is
// delivered by the export's own message processing after the file dialog, or once the export ends.
TEST_F(TPageExportTest, ClicksOnAnExportButtonDuringAnExportStartNoSecondExport)
{
    Execute("insert into ruku(物品名称,数量,金额,日期) values('订书机',3,13.5,strftime('%Y-%m-%d 00:00:00','now'));");
    MF1->BitBtn11->Click();
    const auto queueClick = [] {
        QWidget* button = MF1->BitBtn7->Handle();
        const QPointF centre(button->width() / 2, button->height() / 2);
        for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                                            std::pair{QEvent::MouseButtonRelease, Qt::NoButton}})
            QCoreApplication::postEvent(button, new QMouseEvent(type, centre, button->mapToGlobal(centre), Qt::LeftButton,
                                                                Qt::MouseButtons(buttons), Qt::NoModifier));
    };
    queueClick();
    Desktop.OnOpen = queueClick;
    FDialogs.ChooseFile(QDir(FDir.path()).filePath(u"入库.xlsx"_s));
    MF1->BitBtn7->Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(FDialogs.FileDialogs().size(), 1u);
    EXPECT_TRUE(MF1->BitBtn7->Enabled());

    // Afterwards the button exports again.
    FDialogs.CancelFile();
    queueClick();
    QCoreApplication::processEvents();
    EXPECT_EQ(FDialogs.FileDialogs().size(), 2u);
}

} // namespace

#include "orecordExportTest.moc"
