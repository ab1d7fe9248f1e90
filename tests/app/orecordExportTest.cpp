// The record pages' export: the empty-list refusal, the page's title, and the lists left
// read-only afterwards.
#include "AppTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "platform/ado/ADODB.h"
#include "platform/office/XlsxReadBack.h"
#include "platform/ui/Menus.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QUrl>

using namespace Qt::StringLiterals;

// Stands for the desktop's program for .xlsx files: nothing is launched.
class TPageExportDesktop : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& Url) { Opened << Url; }
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

} // namespace

#include "orecordExportTest.moc"
