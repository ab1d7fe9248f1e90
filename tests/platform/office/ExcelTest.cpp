// Workbooks written and read back from .xlsx: cells, texts, sheet names, merges, saving, opening.
#include "platform/office/Excel.h"

#include "platform/ado/FilePermissions.h"
#include "platform/office/XlsxReadBack.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class ExcelTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TExcelApplication Excel;
    TWorksheet* Sheet = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Excel.SetDisplayAlerts(false);
        Excel.WorkBooks().Add(xlWBATWorksheet);
        Sheet = &Excel.WorkBooks()[1].WorkSheets(1);
    }
    QString Path(const QString& Name) const { return Dir.filePath(Name); }
    TXlsxReadBack Save(const QString& Name = QStringLiteral("book.xlsx"))
    {
        Excel.WorkBooks()[1].SaveAs(Path(Name));
        return ReadXlsx(Path(Name));
    }
    // Merges and centres a range the way the export does: select it, then set the selection.
    void MergeCentred(const TExcelRange& Range)
    {
        Range.Select();
        Excel.Selection().SetHorizontalAlignment(xlCenter);
        Excel.Selection().SetMergeCells(true);
    }
    QStringList FolderEntries() const
    {
        return QDir(Dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(ExcelTest, TitleHeaderDataAndFooterReadBackWithTypesMergesAndCentring)
{
    Sheet->SetName(QStringLiteral("物品入库明细表"));
    Sheet->Cells(1, 2).SetValue(QStringLiteral("物品入库明细表"));
    MergeCentred(Sheet->Range(Sheet->Cells(1, 2), Sheet->Cells(1, 4)));
    Sheet->Cells(2, 1).SetValue(QStringLiteral("物品名称"));
    MergeCentred(Sheet->Range(Sheet->Cells(2, 1), Sheet->Cells(3, 1)));
    Sheet->Cells(2, 2).SetValue(QStringLiteral("数量"));
    MergeCentred(Sheet->Range(Sheet->Cells(2, 2), Sheet->Cells(2, 3)));
    Sheet->Cells(3, 2).SetValue(QStringLiteral("入库"));
    Sheet->Cells(3, 3).SetValue(QStringLiteral("领用"));
    Sheet->Cells(4, 1).SetValue(QStringLiteral("00123"));
    Sheet->Cells(4, 2).SetValue(Variant(12));
    Sheet->Cells(4, 3).SetValue(Variant(std::int64_t(5000000000)));
    Sheet->Cells(4, 4).SetValue(Variant(2.5));
    Sheet->Cells(5, 2).SetValue(Variant(Currency::FromDouble(1234.5678)));
    Sheet->Cells(5, 3).SetValue(Variant(true));
    Sheet->Cells(6, 1).SetValue(QStringLiteral("'00123"));
    Sheet->Cells(6, 2).SetValue(QStringLiteral("''引"));
    Sheet->Cells(1, 1).Select();

    const TXlsxReadBack Book = Save();
    EXPECT_EQ(Book.SheetName, QStringLiteral("物品入库明细表"));
    EXPECT_EQ(Book.Merged, (QStringList{"B1:D1", "A2:A3", "B2:C2"}));
    EXPECT_EQ(Book.Cells["B1"].Type, "s");
    EXPECT_EQ(Book.Cells["B1"].Value, QStringLiteral("物品入库明细表"));
    EXPECT_TRUE(Book.Cells["B1"].Centred);
    EXPECT_TRUE(Book.Cells["D1"].Centred);  // the covered cells carry the area's format
    EXPECT_TRUE(Book.Cells["A2"].Centred);
    EXPECT_EQ(Book.Cells["B2"].Value, QStringLiteral("数量"));
    EXPECT_EQ(Book.Cells["B3"].Value, QStringLiteral("入库"));
    EXPECT_FALSE(Book.Cells["B3"].Centred);
    EXPECT_EQ(Book.Cells["C3"].Value, QStringLiteral("领用"));
    EXPECT_EQ(Book.Cells["A4"].Type, "s");
    EXPECT_EQ(Book.Cells["A4"].Value, "00123");
    EXPECT_EQ(Book.Cells["B4"].Type, "");
    EXPECT_EQ(Book.Cells["B4"].Value, "12");
    EXPECT_EQ(Book.Cells["C4"].Value, "5000000000");
    EXPECT_EQ(Book.Cells["D4"].Value, "2.5");
    EXPECT_EQ(Book.Cells["B5"].Value, "1234.5678");
    EXPECT_EQ(Book.Cells["C5"].Type, "b");
    EXPECT_EQ(Book.Cells["C5"].Value, "1");
    EXPECT_EQ(Book.Cells["A6"].Type, "s");
    EXPECT_EQ(Book.Cells["A6"].Value, "00123");
    EXPECT_EQ(Book.Cells["B6"].Value, QStringLiteral("'引"));
}

TEST_F(ExcelTest, TextsThatLookLikeFormulasAreStoredAsTexts)
{
    const QStringList Texts{"=SUM(A1:A2)", "+1", "-2", "@A1", "=1+1"};
    for (int I = 0; I < Texts.size(); ++I)
        Sheet->Cells(I + 1, 1).SetValue(Texts[I]);
    const TXlsxReadBack Book = Save();
    for (int I = 0; I < Texts.size(); ++I) {
        const TCellRead Cell = Book.Cells[QStringLiteral("A%1").arg(I + 1)];
        EXPECT_EQ(Cell.Type, "s") << Texts[I].toStdString();
        EXPECT_EQ(Cell.Value, Texts[I]);
        EXPECT_FALSE(Cell.Formula);
    }
    EXPECT_FALSE(Book.SheetXml.contains(QStringLiteral("<f>")));
}

TEST_F(ExcelTest, TextsLongerThanACellHoldsAreCutWithoutSplittingACharacter)
{
    Sheet->Cells(1, 1).SetValue(String(40000, u'长'));
    // A character outside the basic plane straddling the limit goes as a whole.
    Sheet->Cells(2, 1).SetValue(String(xlMaxCellText - 1, u'a') + QStringLiteral("😀") + String(10, u'b'));
    Sheet->Cells(3, 1).SetValue(String(xlMaxCellText, u'c'));
    Sheet->Cells(4, 1).SetValue(QStringLiteral("'") + String(xlMaxCellText, u'd'));
    EXPECT_EQ(Sheet->Cells(1, 1).Value().AsString(), String(xlMaxCellText, u'长'));

    const TXlsxReadBack Book = Save();
    EXPECT_EQ(Book.Cells["A1"].Value, String(xlMaxCellText, u'长'));
    EXPECT_EQ(Book.Cells["A2"].Value, String(xlMaxCellText - 1, u'a'));
    EXPECT_EQ(Book.Cells["A3"].Value.size(), xlMaxCellText);
    EXPECT_EQ(Book.Cells["A4"].Value, String(xlMaxCellText, u'd'));
}

TEST_F(ExcelTest, ControlCharactersAndEscapeLookalikesReadBackAsWritten)
{
    Sheet->Cells(1, 1).SetValue(QStringLiteral("a\x01" "b\x1f" "c\td\ne"));
    Sheet->Cells(2, 1).SetValue(QStringLiteral("_x0041_"));
    Sheet->Cells(3, 1).SetValue(QString(QChar(0xFFFF)) + QStringLiteral("x"));
    Sheet->Cells(4, 1).SetValue(QStringLiteral("a_b_x12_"));

    EXPECT_EQ(Sheet->Cells(2, 1).Value().AsString(), QStringLiteral("_x0041_"));
    const TXlsxReadBack Book = Save();
    // Stored escaped, which a spreadsheet program reads back as the character.
    EXPECT_EQ(Book.Cells["A1"].Value, QStringLiteral("a_x0001_b_x001F_c\td\ne"));
    EXPECT_EQ(Book.Cells["A2"].Value, QStringLiteral("_x005F_x0041_"));
    EXPECT_EQ(Book.Cells["A3"].Value, QString(QChar(QChar::ReplacementCharacter)) + QStringLiteral("x"));
    EXPECT_EQ(Book.Cells["A4"].Value, QStringLiteral("a_b_x12_"));
}

TEST_F(ExcelTest, SheetNamesAreMadeValid)
{
    Sheet->SetName(QStringLiteral("a[b]:c*d?e/f\\g"));
    EXPECT_EQ(Sheet->Name(), QStringLiteral("a_b__c_d_e_f_g"));
    Sheet->SetName(QStringLiteral("'引号'"));
    EXPECT_EQ(Sheet->Name(), QStringLiteral("引号"));
    Sheet->SetName(QString());
    EXPECT_EQ(Sheet->Name(), QStringLiteral("Sheet1"));
    Sheet->SetName(QStringLiteral("20080606153012_办公用品领用明细表_一个很长很长的名字"));
    EXPECT_EQ(Sheet->Name().size(), xlMaxSheetName);
    Sheet->Cells(1, 1).SetValue(1);
    EXPECT_EQ(Save().SheetName, Sheet->Name());
}

TEST_F(ExcelTest, CellsRangesAndSelectionFollowTheAutomationMembers)
{
    TExcelRange Cell = Sheet->Cells(3, 2);
    EXPECT_TRUE(Cell.Value().VarType() == varEmpty);
    Cell.SetValue(QStringLiteral("值"));
    EXPECT_EQ(Sheet->Cells(3, 2).Value().AsString(), QStringLiteral("值"));
    Sheet->Cells(3, 2).SetValue(Variant::Null());
    EXPECT_TRUE(Sheet->Cells(3, 2).Value().VarType() == varEmpty);

    // Range takes its corners in any order.
    const TExcelRange Area = Sheet->Range(Sheet->Cells(4, 5), Sheet->Cells(2, 3));
    EXPECT_EQ(Area.Row(), 2);
    EXPECT_EQ(Area.Column(), 3);
    EXPECT_EQ(Area.LastRow(), 4);
    EXPECT_EQ(Area.LastColumn(), 5);

    EXPECT_THROW(Excel.Selection(), EOleException);
    Area.Select();
    EXPECT_EQ(Excel.Selection().LastColumn(), 5);
    EXPECT_EQ(Excel.Selection().HorizontalAlignment(), xlGeneral);
    Excel.Selection().SetHorizontalAlignment(xlCenter);
    EXPECT_EQ(Sheet->Cells(4, 5).HorizontalAlignment(), xlCenter);
    EXPECT_THROW(Sheet->Cells(1, 1).SetHorizontalAlignment(12345), EOleException);

    EXPECT_THROW(Sheet->Cells(0, 1), EOleException);
    EXPECT_THROW(Sheet->Cells(1, xlMaxColumns + 1), EOleException);
    EXPECT_THROW(Sheet->Cells(xlMaxRows + 1, 1), EOleException);
    EXPECT_THROW(Excel.WorkBooks()[2], EOleException);
    EXPECT_THROW(Excel.WorkBooks().Add(-4108), EOleException);
    EXPECT_THROW(Excel.WorkBooks()[1].WorkSheets(2), EOleException);

    Excel.Quit();
    EXPECT_EQ(Excel.WorkBooks().Count(), 0);
    EXPECT_THROW(Excel.Selection(), EOleException);
}

TEST_F(ExcelTest, MergingKeepsTheTopLeftValueAndReplacesOverlappedAreas)
{
    Sheet->Cells(1, 1).SetValue(QStringLiteral("左上"));
    Sheet->Cells(1, 2).SetValue(QStringLiteral("丢弃"));
    Sheet->Range(Sheet->Cells(1, 1), Sheet->Cells(1, 2)).SetMergeCells(true);
    EXPECT_TRUE(Sheet->Cells(1, 2).MergeCells());
    EXPECT_TRUE(Sheet->Cells(1, 2).Value().VarType() == varEmpty);
    EXPECT_EQ(Sheet->Cells(1, 1).Value().AsString(), QStringLiteral("左上"));

    Sheet->Range(Sheet->Cells(1, 2), Sheet->Cells(2, 3)).SetMergeCells(true);
    Sheet->Range(Sheet->Cells(5, 1), Sheet->Cells(5, 2)).SetMergeCells(true);
    Sheet->Range(Sheet->Cells(5, 1), Sheet->Cells(5, 2)).SetMergeCells(false);
    EXPECT_FALSE(Sheet->Cells(1, 1).MergeCells());
    EXPECT_FALSE(Sheet->Cells(5, 1).MergeCells());
    Sheet->Cells(7, 7).SetMergeCells(true);  // one cell is no area

    EXPECT_EQ(Save().Merged, QStringList{"B1:C2"});
}

TEST_F(ExcelTest, SaveAsReplacesAFileKeepingItsRightsAndLeavesNothingElseBehind)
{
    const QString Target = Path(QStringLiteral("报表.xlsx"));
    {
        QFile Old(Target);
        ASSERT_TRUE(Old.open(QIODevice::WriteOnly));
        Old.write("old");
    }
    const auto Rights = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup
                      | QFile::WriteGroup | QFile::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(Target, Rights));
    Sheet->Cells(1, 1).SetValue(7);
    const TXlsxReadBack Book = Save(QStringLiteral("报表.xlsx"));
    EXPECT_EQ(Book.Cells["A1"].Value, "7");
    EXPECT_EQ(QFile::permissions(Target), Rights);
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("报表.xlsx")});
    EXPECT_EQ(Excel.WorkBooks()[1].FullName(), Target);

    // A new file is readable by others as any new file is, not private as a temporary one.
    const mode_t Mask = ::umask(022);
    Excel.WorkBooks()[1].SaveAs(Path(QStringLiteral("new.xlsx")));
    ::umask(Mask);
    EXPECT_TRUE(QFile::permissions(Path(QStringLiteral("new.xlsx"))) & QFile::ReadOther);
}

TEST_F(ExcelTest, SaveFailuresRaiseAndLeaveTheTargetAsItWas)
{
    Sheet->Cells(1, 1).SetValue(1);
    TWorkbook& Book = Excel.WorkBooks()[1];
    auto ExpectFailure = [&](const QString& File, const char* Reason) {
        try {
            Book.SaveAs(File);
            ADD_FAILURE() << "saved " << File.toStdString();
        } catch (const EOleException& E) {
            EXPECT_TRUE(E.Message().contains(QDir::toNativeSeparators(File))) << E.what();
            EXPECT_TRUE(E.Message().contains(QString::fromUtf8(Reason), Qt::CaseInsensitive)) << E.what();
        }
        EXPECT_TRUE(Book.FullName().isEmpty());
    };

    ExpectFailure(Path(QStringLiteral("missing/book.xlsx")), "");
    ExpectFailure(Dir.path(), "folder");

    const QString Held = Path(QStringLiteral("held.xlsx"));
    QFile(Held).open(QIODevice::WriteOnly);
    QFile Lock(Path(QStringLiteral(".~lock.held.xlsx#")));
    ASSERT_TRUE(Lock.open(QIODevice::WriteOnly));
    Lock.close();
    EXPECT_TRUE(WorkbookFileInUse(Held));
    ExpectFailure(Held, "open in another program");
    EXPECT_EQ(QFileInfo(Held).size(), 0);
    Lock.remove();
    EXPECT_FALSE(WorkbookFileInUse(Held));

    const TPermissionsApply Permissions;
    {
        const TWriteProtected ReadOnly(Held);
        ExpectFailure(Held, "read-only");
    }
    EXPECT_EQ(QFileInfo(Held).size(), 0);
    {
        const TWriteProtected Folder(Dir.path());
        ExpectFailure(Path(QStringLiteral("new.xlsx")), "permission");
    }
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("held.xlsx")});
}

} // namespace

// Stands for the desktop's program for .xlsx files.
class TDesktopStandIn : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& Url) { Opened << Url; }
};

TEST_F(ExcelTest, MakingTheApplicationVisibleOpensEverySavedWorkbook)
{
    TDesktopStandIn Desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &Desktop, "Open");
    EXPECT_FALSE(Excel.SetVisible(true));  // nothing saved yet: nothing to show
    EXPECT_TRUE(Desktop.Opened.isEmpty());

    Sheet->Cells(1, 1).SetValue(1);
    Excel.WorkBooks()[1].SaveAs(Path(QStringLiteral("shown.xlsx")));
    const bool Shown = Excel.SetVisible(true);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_TRUE(Shown);
    EXPECT_TRUE(Excel.Visible());
    EXPECT_EQ(Desktop.Opened, QList<QUrl>{QUrl::fromLocalFile(Path(QStringLiteral("shown.xlsx")))});
}

#include "ExcelTest.moc"
