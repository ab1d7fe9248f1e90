// A grid's records exported to a workbook: the sheet read back from the .xlsx file (title,
// header rows and their merges, typed cells, footers), and the export's questions, progress
// window and failures.
#include "app/Unit_DBGridEhToExcel.h"

#include "datagrid/DBGridEh.h"
#include "platform/ado/ADODB.h"
#include "platform/ado/TestTables.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/office/Excel.h"
#include "platform/office/XlsxReadBack.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ProgressBar.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

// Stands for the desktop's program for .xlsx files: nothing is launched.
class TExportDesktopStandIn : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& Url) { Opened << Url; }
};

namespace {

class TExportTestGrid : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

// Answers the in-use question by closing the file in the other program first.
class TClosingOtherProgram : public TScriptedDialogs {
public:
    explicit TClosingOtherProgram(String LockFile) : FLockFile(std::move(LockFile)) {}
    int MessageBox(const TMessageBoxRequest& Request) override
    {
        if (Request.Caption == u"注意")
            QFile::remove(FLockFile);
        return TScriptedDialogs::MessageBox(Request);
    }

private:
    String FLockFile;
};

class ExportTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        QDesktopServices::setUrlHandler(u"file"_s, &Desktop, "Open");
        Screen->SetCursor(crDefault);
        Grid = std::make_unique<TExportTestGrid>(nullptr);
    }

    void TearDown() override
    {
        Grid.reset();
        QDesktopServices::unsetUrlHandler(u"file"_s);
    }

    String Path(const char* Name) const { return QDir(Dir.path()).filePath(String::fromUtf8(Name)); }

    TColumnEh* AddColumn(const String& FieldName)
    {
        TColumnEh* Column = Grid->Columns()->Add();
        Column->SetFieldName(FieldName);
        return Column;
    }

    // The grid's records written the way the export writes them, read back from the file.
    TXlsxReadBack WriteAndReadBack(const String& Title = u"明细表"_s)
    {
        TExcelApplication Excel;
        TWorkbook& Book = Excel.WorkBooks().Add(xlWBATWorksheet);
        WriteGridToWorksheet(Grid.get(), Book.WorkSheets(1), Title);
        const String File = Path("sheet.xlsx");
        Book.SaveAs(File);
        return ReadXlsx(File);
    }

    static String Text(const TXlsxReadBack& Sheet, const char* Reference)
    {
        const TCellRead Cell = Sheet.Cells.value(String::fromUtf8(Reference));
        EXPECT_EQ(Cell.Type, u"s"_s) << Reference << " is no text";
        return Cell.Value;
    }

    static double Number(const TXlsxReadBack& Sheet, const char* Reference)
    {
        const TCellRead Cell = Sheet.Cells.value(String::fromUtf8(Reference));
        EXPECT_TRUE(Cell.Type.isEmpty() && !Cell.Value.isEmpty()) << Reference << " is no number";
        return Cell.Value.toDouble();
    }

    QTemporaryDir Dir;
    TExportDesktopStandIn Desktop;
    std::unique_ptr<TExportTestGrid> Grid;
};

// --- Layout over the in-memory dataset ----------------------------------------------------------

class ExportLayoutTest : public ExportTestBase {
protected:
    void SetUp() override
    {
        ExportTestBase::SetUp();
        Data = std::make_unique<TMemoryDataSet>(nullptr);
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
    }

    void TearDown() override
    {
        ExportTestBase::TearDown();
        Source.reset();
        Data.reset();
    }

    void OpenWith(std::initializer_list<std::pair<const char*, TFieldType>> Fields)
    {
        for (const auto& [Name, Type] : Fields)
            Data->FieldDefs()->Add(String::fromUtf8(Name), Type, Type == TFieldType::ftString ? 40 : 0);
        Data->Open();
        Grid->SetDataSource(Source.get());
    }

    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
};

TEST_F(ExportLayoutTest, TitleHeaderTypedRowsAndFooters)
{
    OpenWith({{"id", TFieldType::ftAutoInc},
              {"名称", TFieldType::ftString},
              {"数量", TFieldType::ftInteger},
              {"金额", TFieldType::ftFloat},
              {"编号", TFieldType::ftString},
              {"备注", TFieldType::ftMemo},
              {"日期", TFieldType::ftDateTime}});
    const Variant Day = Variant::FromDateTime(EncodeDate(2026, 3, 8));
    Data->AppendRecord({Variant(), Variant(u"订书机"_s), Variant(3), Variant(12.5), Variant(u"00123"_s),
                        Variant(u"'引号"_s), Day});
    Data->AppendRecord({Variant(), Variant(u"=SUM(A1)"_s), Variant::Null(), Variant(0.25), Variant(u"+1"_s),
                        Variant(u"第一行\n第二行"_s), Variant::Null()});
    Data->AppendRecord({Variant(), Variant(u"@胶水"_s), Variant(5), Variant::Null(), Variant(), Variant(), Day});
    Data->First();
    Data->Next();
    // The grid shows its columns in an order of its own, and a column without a field.
    AddColumn(u"序号"_s)->Footer()->SetValueType(TFooterValueType::fvtCount);
    TColumnEh* Amount = AddColumn(u"金额"_s);
    Amount->Footer()->SetValueType(TFooterValueType::fvtSum);
    TColumnEh* Name = AddColumn(u"名称"_s);
    Name->Footer()->SetValueType(TFooterValueType::fvtStaticText);
    Name->Footer()->SetValue(u"合计"_s);
    AddColumn(u"数量"_s)->Footer()->SetValueType(TFooterValueType::fvtSum);
    Grid->SetFooterRowCount(1);
    Grid->SumList()->SetActive(true);

    const TXlsxReadBack Sheet = WriteAndReadBack(u"物品入库明细表"_s);
    EXPECT_EQ(Text(Sheet, "B1"), u"物品入库明细表"_s);
    EXPECT_TRUE(Sheet.Cells.value(u"B1"_s).Centred);
    EXPECT_TRUE(Sheet.Merged.contains(u"B1:G1"_s)) << Sheet.Merged.join(u' ').toStdString();
    EXPECT_FALSE(Sheet.Cells.contains(u"A1"_s));

    EXPECT_EQ(Text(Sheet, "A2"), u"id"_s);
    EXPECT_EQ(Text(Sheet, "G2"), u"日期"_s);
    EXPECT_FALSE(Sheet.Cells.contains(u"A3"_s) && Sheet.Cells.value(u"A3"_s).Type == u"s"_s);

    EXPECT_EQ(Number(Sheet, "A3"), 1);
    EXPECT_EQ(Text(Sheet, "B3"), u"订书机"_s);
    EXPECT_EQ(Number(Sheet, "C3"), 3);
    EXPECT_EQ(Number(Sheet, "D3"), 12.5);
    EXPECT_EQ(Text(Sheet, "E3"), u"00123"_s);
    EXPECT_EQ(Text(Sheet, "F3"), u"'引号"_s);
    EXPECT_EQ(Text(Sheet, "G3"), u"2026-03-08"_s);
    // Texts that look like formulas or numbers stay texts; a Null is an empty cell.
    EXPECT_EQ(Text(Sheet, "B4"), u"=SUM(A1)"_s);
    EXPECT_FALSE(Sheet.Cells.value(u"B4"_s).Formula);
    EXPECT_EQ(Text(Sheet, "E4"), u"+1"_s);
    EXPECT_EQ(Text(Sheet, "F4"), u"第一行\n第二行"_s);
    EXPECT_TRUE(Sheet.Cells.value(u"C4"_s).Value.isEmpty());
    EXPECT_TRUE(Sheet.Cells.value(u"G4"_s).Value.isEmpty());
    EXPECT_EQ(Text(Sheet, "B5"), u"@胶水"_s);
    EXPECT_TRUE(Sheet.Cells.value(u"D5"_s).Value.isEmpty());

    // One footer row, each footer under its field's column; the field-less column has none.
    EXPECT_EQ(Text(Sheet, "B6"), u"合计"_s);
    EXPECT_EQ(Number(Sheet, "C6"), 8);
    EXPECT_EQ(Number(Sheet, "D6"), 12.75);
    EXPECT_FALSE(Sheet.Cells.contains(u"A6"_s));
    EXPECT_FALSE(Sheet.Cells.contains(u"A7"_s));
    // The record the user was on stays current, and the grid follows its data again.
    EXPECT_EQ(Data->RecNo(), 2);
    EXPECT_FALSE(Data->ControlsDisabled());
}

TEST_F(ExportLayoutTest, SplitFieldNamesShareTheirRepeatedParts)
{
    OpenWith({{"数量|入库", TFieldType::ftInteger},
              {"数量|领用", TFieldType::ftInteger},
              {"名称", TFieldType::ftString},
              {"x|1", TFieldType::ftInteger},
              {"x|2", TFieldType::ftInteger},
              {"x|3", TFieldType::ftInteger},
              {"y|1", TFieldType::ftInteger},
              {"z", TFieldType::ftInteger},
              {"y|2", TFieldType::ftInteger}});
    Data->AppendRecord({Variant(4), Variant(2), Variant(u"铅笔"_s)});

    const TXlsxReadBack Sheet = WriteAndReadBack();
    EXPECT_EQ(Text(Sheet, "A2"), u"数量"_s);
    EXPECT_TRUE(Sheet.Cells.value(u"A2"_s).Centred);
    EXPECT_EQ(Text(Sheet, "A3"), u"入库"_s);
    EXPECT_EQ(Text(Sheet, "B3"), u"领用"_s);
    EXPECT_TRUE(Sheet.Cells.value(u"B3"_s).Centred);
    // A name without "|" reaches down both header rows.
    EXPECT_EQ(Text(Sheet, "C2"), u"名称"_s);
    EXPECT_EQ(Text(Sheet, "D2"), u"x"_s);
    EXPECT_EQ(Text(Sheet, "F3"), u"3"_s);
    EXPECT_EQ(Text(Sheet, "G2"), u"y"_s);
    // A repeated part merges only with its neighbour, never across another name.
    EXPECT_EQ(Text(Sheet, "I2"), u"y"_s);
    QStringList Merged = Sheet.Merged;
    Merged.sort();
    EXPECT_EQ(Merged, (QStringList{u"A2:B2"_s, u"B1:I1"_s, u"C2:C3"_s, u"D2:F2"_s, u"H2:H3"_s})) << Merged.join(u' ').toStdString();
    // The data starts under the two header rows.
    EXPECT_EQ(Number(Sheet, "A4"), 4);
    EXPECT_EQ(Text(Sheet, "C4"), u"铅笔"_s);
}

TEST_F(ExportLayoutTest, AFieldNameOfThreePartsMovesTheDataBelowIt)
{
    OpenWith({{"a|b|c", TFieldType::ftInteger},
              {"a|b|d", TFieldType::ftInteger},
              {"z|b|h", TFieldType::ftInteger},
              {"e", TFieldType::ftInteger}});
    Data->AppendRecord({Variant(1), Variant(2), Variant(5), Variant(3)});
    const TXlsxReadBack Sheet = WriteAndReadBack();
    EXPECT_EQ(Text(Sheet, "A4"), u"c"_s);
    EXPECT_EQ(Text(Sheet, "B4"), u"d"_s);
    // The same sub-part under another part stands alone.
    EXPECT_EQ(Text(Sheet, "C2"), u"z"_s);
    EXPECT_EQ(Text(Sheet, "C3"), u"b"_s);
    QStringList Merged = Sheet.Merged;
    Merged.sort();
    EXPECT_EQ(Merged, (QStringList{u"A2:B2"_s, u"A3:B3"_s, u"B1:D1"_s, u"D2:D4"_s})) << Merged.join(u' ').toStdString();
    EXPECT_EQ(Number(Sheet, "A5"), 1);
    EXPECT_EQ(Number(Sheet, "D5"), 3);
}

TEST_F(ExportLayoutTest, TitleOverFewFieldsIsCentredUnmerged)
{
    OpenWith({{"名称", TFieldType::ftString}});
    Data->AppendRecord({Variant(u"纸"_s)});
    const TXlsxReadBack Sheet = WriteAndReadBack(u"礼品领用明细表"_s);
    EXPECT_EQ(Text(Sheet, "B1"), u"礼品领用明细表"_s);
    EXPECT_TRUE(Sheet.Cells.value(u"B1"_s).Centred);
    EXPECT_TRUE(Sheet.Merged.isEmpty());
    EXPECT_EQ(Text(Sheet, "A3"), u"纸"_s);
}

TEST(ExportFileNameTest, TimeStampThenTitle)
{
    EXPECT_EQ(DefaultExportFileName(u"礼品领用明细表"_s, EncodeDate(2008, 6, 6) + EncodeTime(15, 30, 12, 0)),
              u"20080606153012_礼品领用明细表.xlsx"_s);
}

// --- The stock-in list over a database file ---------------------------------------------------

class ExportStockInTest : public ExportTestBase {
protected:
    void SetUp() override
    {
        ExportTestBase::SetUp();
        Connection.SetLoginPrompt(false);
        ConnectWithTestTables(Connection, Path("opr.mdb"));
        Connection.Execute(
            u"insert into ruku(物品名称,类型,供应商,数量,单位,单价,金额) values('订书机','A4','文具店',3,'个',4.5,13.5)"_s);
        Connection.Execute(
            u"insert into ruku(物品名称,类型,供应商,数量,单位,单价,金额) values('铅笔','HB','文具店',12,'支',0.5,6)"_s);
        Query.SetConnection(&Connection);
        Query.SQL()->Add(u"select * from ruku order by id"_s);
        Query.Open();
        Source.SetDataSet(&Query);
        // The stock-in page's grid: its columns in their own order and its one footer row.
        for (const char* Field : {"序号", "物品名称", "类型", "数量", "单位", "单价", "金额", "供应商", "id"})
            AddColumn(String::fromUtf8(Field));
        Grid->Columns()->ColumnAt(8)->SetVisible(false);
        StaticFooter(2, u"总数量"_s);
        Grid->Columns()->ColumnAt(3)->Footer()->SetValueType(TFooterValueType::fvtSum);
        StaticFooter(5, u"总金额"_s);
        Grid->Columns()->ColumnAt(6)->Footer()->SetValueType(TFooterValueType::fvtSum);
        Grid->SetFooterRowCount(1);
        Grid->SumList()->SetActive(true);
        Grid->SetDataSource(&Source);
    }

    void TearDown() override
    {
        ExportTestBase::TearDown();
        Query.Close();
    }

    void StaticFooter(int Column, const String& Text)
    {
        TColumnFooterEh* Footer = Grid->Columns()->ColumnAt(Column)->Footer();
        Footer->SetValueType(TFooterValueType::fvtStaticText);
        Footer->SetValue(Text);
    }

    TADOConnection Connection{nullptr};
    TADOQuery Query{nullptr};
    TDataSource Source{nullptr};
};

TEST_F(ExportStockInTest, FootersStandUnderTheirFields)
{
    // ruku: id, 物品名称, 类型, 供应商, 数量, 单位, 单价, 金额, ... -> A, B, C, D, E, F, G, H.
    const TXlsxReadBack Sheet = WriteAndReadBack(u"物品入库明细表"_s);
    EXPECT_EQ(Text(Sheet, "D2"), u"供应商"_s);
    EXPECT_EQ(Text(Sheet, "E2"), u"数量"_s);
    EXPECT_EQ(Number(Sheet, "E3"), 3);
    EXPECT_EQ(Number(Sheet, "H4"), 6);
    EXPECT_EQ(Text(Sheet, "C5"), u"总数量"_s);
    EXPECT_EQ(Number(Sheet, "E5"), 15);
    EXPECT_EQ(Text(Sheet, "G5"), u"总金额"_s);
    EXPECT_EQ(Number(Sheet, "H5"), 19.5);
    EXPECT_FALSE(Sheet.Cells.contains(u"D5"_s));
    EXPECT_FALSE(Sheet.Cells.contains(u"F5"_s));
}

TEST_F(ExportStockInTest, FooterTextsTheApplicationChangesAreExportedAsShown)
{
    Grid->OnGetFooterParams = [](TObject*, int, int, TColumnEh* Column, TFont* Font, TColor& Background,
                                 TAlignment&, TGridDrawState, String& Text) {
        Font->SetColor(clRed);
        Background = clYellow;
        if (Column->FieldName() == u"数量")
            Text = Text + u" 件"_s;
    };
    TColumnFooterEh* Footer = Grid->Columns()->ColumnAt(3)->Footer();
    const TColor FontColor = Footer->Font()->Color();
    const TColor Background = Footer->Color();
    const TXlsxReadBack Sheet = WriteAndReadBack();
    EXPECT_EQ(Text(Sheet, "E5"), u"15 件"_s);
    // The footer keeps its own look.
    EXPECT_EQ(Footer->Font()->Color(), FontColor);
    EXPECT_EQ(Footer->Color(), Background);
}

TEST_F(ExportStockInTest, AsManyFooterRowsAsTheGridShows)
{
    Grid->SetFooterRowCount(0);
    EXPECT_FALSE(WriteAndReadBack().Cells.contains(u"C5"_s));

    // A second footer row: the averages, under the sums; a column with one footer repeats it.
    TColumnEh* Quantity = Grid->Columns()->ColumnAt(3);
    Quantity->Footers()->Add();
    Quantity->Footers()->FooterAt(0)->SetValueType(TFooterValueType::fvtSum);
    Quantity->Footers()->Add();
    Quantity->Footers()->FooterAt(1)->SetValueType(TFooterValueType::fvtAvg);
    Quantity->Footers()->FooterAt(1)->SetDisplayFormat(u"0.0"_s);
    Grid->SetFooterRowCount(2);
    const TXlsxReadBack Sheet = WriteAndReadBack();
    EXPECT_EQ(Number(Sheet, "E5"), 15);
    EXPECT_EQ(Number(Sheet, "E6"), 7.5);
    EXPECT_EQ(Text(Sheet, "C5"), u"总数量"_s);
    EXPECT_EQ(Text(Sheet, "C6"), u"总数量"_s);
    EXPECT_FALSE(Sheet.Cells.contains(u"E7"_s));
}

// --- The export with its questions ------------------------------------------------------------

class ExportToWorkbookTest : public ExportStockInTest {
protected:
    void SetUp() override
    {
        ExportStockInTest::SetUp();
        Exporter.SetDBGridEh(Grid.get());
        Exporter.SetTitleName(u"物品入库明细表"_s);
    }

    QStringList Captions(const TScriptedDialogs& Dialogs) const
    {
        QStringList Result;
        for (const TMessageBoxRequest& Shown : Dialogs.Shown())
            Result << Shown.Caption;
        return Result;
    }

    static QByteArray Contents(const String& File)
    {
        QFile F(File);
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
    }

    TDBGridEhToExcel Exporter{nullptr};
};

TEST_F(ExportToWorkbookTest, WritesTheChosenFileAndHandsItToTheDesktop)
{
    TScriptedDialogs Dialogs;
    const String File = Path("入库.xlsx");
    Dialogs.ChooseFile(File);
    // The progress window shows while the records are written, its bar following them.
    QList<int> Positions;
    const TDataSetNotifyEvent Chained = Query.AfterScroll;
    Query.AfterScroll = [&](TDataSet* DataSet) {
        if (Chained)
            Chained(DataSet);
        if (Exporter.ProgressBar() != nullptr && Exporter.ProgressForm()->Visible()) {
            Positions << Exporter.ProgressBar()->Position();
            EXPECT_EQ(Exporter.ProgressBar()->Max(), 2);
            EXPECT_EQ(Screen->Cursor(), crHourGlass);
        }
    };
    EXPECT_EQ(Exporter.ExportToWorkbook(), File);

    ASSERT_EQ(Dialogs.FileDialogs().size(), 1u);
    const TFileDialogRequest& Asked = Dialogs.FileDialogs()[0];
    EXPECT_TRUE(Asked.Save);
    EXPECT_TRUE(QRegularExpression(u"^\\d{14}_物品入库明细表\\.xlsx$"_s).match(Asked.FileName).hasMatch())
        << Asked.FileName.toStdString();
    EXPECT_EQ(Asked.Filter, u"Excel文件 (*.xlsx)|*.xlsx"_s);
    EXPECT_TRUE(Dialogs.Shown().empty());

    const TXlsxReadBack Sheet = ReadXlsx(File);
    EXPECT_EQ(Sheet.SheetName, u"物品入库明细表"_s);
    EXPECT_EQ(Number(Sheet, "E5"), 15);
    EXPECT_EQ(Desktop.Opened, QList<QUrl>{QUrl::fromLocalFile(File)});
    ASSERT_FALSE(Positions.isEmpty());
    EXPECT_TRUE(std::is_sorted(Positions.begin(), Positions.end()));
    EXPECT_TRUE(Positions.contains(1));
    EXPECT_EQ(Positions.last(), 2);
    EXPECT_EQ(Exporter.ProgressForm(), nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(ExportToWorkbookTest, CancelledDialogWritesNothing)
{
    TScriptedDialogs Dialogs;
    Dialogs.CancelFile();
    EXPECT_EQ(Exporter.ExportToWorkbook(), String());
    EXPECT_EQ(QDir(Dir.path()).entryList({u"*.xlsx"_s}, QDir::Files), QStringList());
    EXPECT_TRUE(Desktop.Opened.isEmpty());
}

TEST_F(ExportToWorkbookTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes)
{
    const String File = Path("已有.xlsx");
    {
        QFile Existing(File);
        ASSERT_TRUE(Existing.open(QIODevice::WriteOnly));
        Existing.write("kept");
    }
    {
        TScriptedDialogs Dialogs;
        Dialogs.ChooseFile(File);
        Dialogs.Answer(IDNO);
        EXPECT_EQ(Exporter.ExportToWorkbook(), String());
        ASSERT_EQ(Dialogs.Shown().size(), 1u);
        EXPECT_EQ(Dialogs.Shown()[0].Text, u"已存在文件（"_s + File + u"），是否覆盖？"_s);
        EXPECT_EQ(Dialogs.Shown()[0].DefaultButton, IDNO);
        EXPECT_EQ(Contents(File), QByteArray("kept"));
    }
    {
        // Unanswered, the question takes its default: No.
        TScriptedDialogs Dialogs;
        Dialogs.ChooseFile(File);
        EXPECT_EQ(Exporter.ExportToWorkbook(), String());
        EXPECT_EQ(Contents(File), QByteArray("kept"));
    }
    TScriptedDialogs Dialogs;
    Dialogs.ChooseFile(File);
    Dialogs.Answer(IDYES);
    EXPECT_EQ(Exporter.ExportToWorkbook(), File);
    EXPECT_EQ(Text(ReadXlsx(File), "C5"), u"总数量"_s);
}

TEST_F(ExportToWorkbookTest, AFileInUseIsWaitedForOrGivenUp)
{
    const String File = Path("使用中.xlsx");
    QFile(File).open(QIODevice::WriteOnly);
    const String Lock = Path(".~lock.使用中.xlsx#");
    QFile(Lock).open(QIODevice::WriteOnly);
    {
        TScriptedDialogs Dialogs;
        Dialogs.ChooseFile(File);
        Dialogs.Answer(IDOK);
        Dialogs.Answer(IDCANCEL);
        EXPECT_EQ(Exporter.ExportToWorkbook(), String());
        EXPECT_EQ(Captions(Dialogs), (QStringList{u"注意"_s, u"注意"_s}));
        EXPECT_EQ(Dialogs.Shown()[0].Text, u"目标文件使用中，请退出目标文件后点击确定继续！"_s);
        EXPECT_EQ(QFileInfo(File).size(), 0);
    }
    // The other program closes the file while the question shows: the export goes on.
    TClosingOtherProgram Dialogs(Lock);
    Dialogs.ChooseFile(File);
    Dialogs.Answer(IDOK);
    Dialogs.Answer(IDYES);
    EXPECT_EQ(Exporter.ExportToWorkbook(), File);
    EXPECT_EQ(Captions(Dialogs), (QStringList{u"注意"_s, u"提示"_s}));
    EXPECT_EQ(Number(ReadXlsx(File), "E5"), 15);
}

TEST_F(ExportToWorkbookTest, AFailedSaveIsReportedAndLeavesTheGridWorking)
{
    // A folder stands where the file should go: nothing can be written there.
    const String Target = Path("入库.xlsx");
    ASSERT_TRUE(QDir().mkdir(Target));
    Query.First();
    Query.Next();
    TScriptedDialogs Dialogs;
    Dialogs.ChooseFile(Target);
    Dialogs.Answer(IDYES);
    EXPECT_EQ(Exporter.ExportToWorkbook(), String());
    ASSERT_EQ(Dialogs.Shown().size(), 2u);
    EXPECT_EQ(Dialogs.Shown()[1].Icon, TMsgDlgType::mtError);
    EXPECT_TRUE(Dialogs.Shown()[1].Text.startsWith(u"导出Excel文件失败"_s));
    EXPECT_TRUE(QFileInfo(Target).isDir());
    EXPECT_EQ(Exporter.ProgressForm(), nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_FALSE(Query.ControlsDisabled());
    EXPECT_EQ(Query.RecNo(), 2);
    EXPECT_TRUE(Desktop.Opened.isEmpty());
}

TEST_F(ExportToWorkbookTest, AFailureHalfwayThroughTheRecordsLeavesTheGridWorking)
{
    const TDataSetNotifyEvent Chained = Query.AfterScroll;
    Query.AfterScroll = [&](TDataSet* DataSet) {
        if (Chained)
            Chained(DataSet);
        if (Exporter.ProgressForm() != nullptr && DataSet->RecNo() == 2)
            throw EDatabaseError(u"读取记录失败"_s);
    };
    const String File = Path("入库.xlsx");
    TScriptedDialogs Dialogs;
    Dialogs.ChooseFile(File);
    EXPECT_EQ(Exporter.ExportToWorkbook(), String());
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_TRUE(Dialogs.Shown()[0].Text.contains(u"读取记录失败"_s));
    EXPECT_FALSE(QFileInfo::exists(File));
    EXPECT_EQ(Exporter.ProgressForm(), nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_FALSE(Query.ControlsDisabled());
}

TEST_F(ExportToWorkbookTest, TextsLongerThanACellAreCutAndTold)
{
    Connection.Execute(u"update ruku set 供应商 = '"_s + String(40000, u'长') + u"' where 数量 = 12"_s);
    Query.Close();
    Query.Open();
    const String File = Path("长.xlsx");
    TScriptedDialogs Dialogs;
    Dialogs.ChooseFile(File);
    EXPECT_EQ(Exporter.ExportToWorkbook(), File);
    ASSERT_EQ(Dialogs.Shown().size(), 1u);
    EXPECT_TRUE(Dialogs.Shown()[0].Text.startsWith(u"有1个单元格的文字超过32767个字符"_s)) << Dialogs.Shown()[0].Text.toStdString();
    const TXlsxReadBack Sheet = ReadXlsx(File);
    EXPECT_EQ(Text(Sheet, "D4"), String(32767, u'长'));
    EXPECT_EQ(Text(Sheet, "D3"), u"文具店"_s);
}

TEST_F(ExportToWorkbookTest, NothingWithoutAnOpenDataset)
{
    Query.Close();
    TScriptedDialogs Dialogs;
    EXPECT_EQ(Exporter.ExportToWorkbook(), String());
    EXPECT_TRUE(Dialogs.FileDialogs().empty());
    Grid.reset();
    EXPECT_EQ(Exporter.DBGridEh(), nullptr);
    EXPECT_EQ(Exporter.ExportToWorkbook(), String());
}

} // namespace

#include "Unit_DBGridEhToExcelTest.moc"
