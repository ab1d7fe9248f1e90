// The record lists: columns, totals, row numbers, sorting, editing, selection, deletion and copy.
#include "AppTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "platform/data/DataSource.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Button.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/Memo.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/QtConvert.h"
#include "platform/ui/PaintedTextSupport.h"
#include "platform/ui/UiTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {

// The windows over a database with records of this year on every page.
class TRecordGridsTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        ReleaseKeyboardModifiers();
        OpenWindows();
        RegisterThreeRecordsOfThisYear();
    }

    static QStringList Titles(TDBGridEh* Grid)
    {
        QStringList titles;
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            titles << Grid->Columns()->ColumnAt(i)->Title()->Caption();
        return titles;
    }

    // Where the grid's client area starts in its window, past the frame.
    static QPoint ClientOffset(TDBGridEh* Grid)
    {
        const TPoint client = Grid->ClientToScreen(TPoint{0, 0});
        return QPoint(client.X, client.Y) - Grid->Handle()->mapToGlobal(QPoint(0, 0));
    }

    // The grid's client area as the screen shows it, so that cell rectangles index its pixels.
    static QImage Screen(TDBGridEh* Grid)
    {
        const QPoint offset = ClientOffset(Grid);
        return Grid->Handle()->grab().toImage().copy(offset.x(), offset.y(), Grid->ClientWidth(), Grid->ClientHeight());
    }
};

}  // namespace

TEST_F(TRecordGridsTest, EachPageListsItsTableWithRowNumbersFirstAndTheIdHidden)
{
    EXPECT_EQ(Titles(MF1->DBGridEh1),
              QStringList({"序号", "姓名", "部门", "数量", "单位", "物品名称", "类型", "日期", "时间", "备注", "id"}));
    EXPECT_EQ(MF1->DBGridEh1->Columns()->ColumnAt(0)->Field(), nullptr);
    EXPECT_FALSE(MF1->DBGridEh1->Columns()->ColumnAt(10)->Visible());
    EXPECT_EQ(MF1->DBGridEh1->DataSource()->DataSet()->RecordCount(), 3);
    EXPECT_EQ(MF1->DBGridEh2->FrozenCols(), 3);
    EXPECT_EQ(MF1->DBGridEh3->FrozenCols(), 2);
    for (TDBGridEh* grid : {MF1->DBGridEh1, MF1->DBGridEh2, MF1->DBGridEh3})
        EXPECT_EQ(grid->Columns()->ColumnAt(1)->Title()->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(Titles(Form3->DBGridEh4), QStringList({"序号", "姓名", "部门", "编号", "id"}));
    EXPECT_EQ(Form3->DBGridEh5->FrozenCols(), 2);
}

TEST_F(TRecordGridsTest, TheStockInListTotalsItsQuantityAndAmountUnderThem)
{
    TDBGridEh* grid = MF1->DBGridEh3;
    ASSERT_EQ(grid->FooterRowCount(), 1);
    const auto footer = [grid](const char* Field) {
        String text;
        grid->ComputeFooterText(0, grid->ColumnByFieldName(String::fromUtf8(Field)), text);
        return text;
    };
    EXPECT_EQ(footer("类型"), QStringLiteral("总数量"));
    EXPECT_EQ(footer("数量"), QStringLiteral("6"));
    EXPECT_EQ(footer("单价"), QStringLiteral("总金额"));
    EXPECT_EQ(footer("金额"), QStringLiteral("15"));
}

TEST_F(TRecordGridsTest, CellsAreFramedInThePageColour)
{
    MF1->PageControl1->SetActivePage(MF1->TabSheet1);
    MF1->ColorBox1->SetSelected(TColor(255));  // red
    TDBGridEh* grid = MF1->DBGridEh1;
    const QImage screen = Screen(grid);
    const TRect name = grid->CellPixelRect(2, 1);
    // The frame lies one pixel outside the cell, on the line between it and its neighbours.
    EXPECT_EQ(FromQRgb(screen.pixel(name.Left - 1, (name.Top + name.Bottom) / 2)), TColor(255));
    EXPECT_EQ(FromQRgb(screen.pixel((name.Left + name.Right) / 2, name.Bottom)), TColor(255));
}

TEST_F(TRecordGridsTest, RowNumbersCountDownFromTheNewestRecordOnAScrolledList)
{
    for (int i = 0; i < 37; ++i)
        Execute("insert into oprint(姓名,部门,数量,物品名称,日期) values('李四','制造部',1,'笔',date('now'));");
    MF1->PageControl1->SetActivePage(MF1->TabSheet1);
    MF1->BitBtn1->Click();
    TDBGridEh* grid = MF1->DBGridEh1;
    TADOQuery* data = MF1->dbouser1;
    ASSERT_EQ(data->RecordCount(), 40);
    data->SetRecNo(30);  // far below the first screen: the list scrolls to show it

    const int numberCol = grid->DataColToGridCol(0);
    const auto painted = [&](int Row) {
        const TRect cell = grid->CellPixelRect(numberCol, Row);
        const QRect area = QRect(cell.Left, cell.Top, cell.Width(), cell.Height()).translated(ClientOffset(grid));
        return PaintedTextsIn(grid->Handle(), area);
    };
    ASSERT_GT(grid->DataLink()->RecordCount(), 3);
    ASSERT_EQ(painted(grid->Row()), QStringList({"11"}));  // 40 records, the 30th from the newest
    EXPECT_NE(painted(1), QStringList({"40"}));
    for (int row = 1; row <= grid->DataLink()->RecordCount(); ++row)
        EXPECT_EQ(painted(row), QStringList({QString::number(11 - (row - grid->Row()))})) << "row " << row;
}

TEST_F(TRecordGridsTest, TheSettingsListsNumberTheirRowsFromOne)
{
    Execute("insert into ouser(姓名,姓名编号,部门) values('甲','j','办公室');"
            "insert into ouser(姓名,姓名编号,部门) values('乙','y','办公室');"
            "insert into ouser(姓名,姓名编号,部门) values('丙','b','办公室');");
    Form3->FormShow(Form3);
    Form3->PageControl1->SetActivePage(Form3->TabSheet1);
    Form3->Show();
    Form3->BitBtn10->Click();
    TDBGridEh* grid = Form3->DBGridEh4;
    const int numberCol = grid->DataColToGridCol(0);
    QStringList numbers;
    for (int row = 1; row <= grid->DataSource()->DataSet()->RecordCount(); ++row) {
        const TRect cell = grid->CellPixelRect(numberCol, row);
        numbers << PaintedTextsIn(grid->Handle(),
                                  QRect(cell.Left, cell.Top, cell.Width(), cell.Height()).translated(ClientOffset(grid)));
    }
    EXPECT_EQ(numbers, QStringList({"1", "2", "3"}));
    Form3->Close();
}

TEST_F(TRecordGridsTest, TitleClicksSortAscendingThenToggleAndMoveTheMarkToAnotherColumn)
{
    TDBGridEh* grid = MF1->DBGridEh1;
    TColumnEh* quantity = grid->ColumnByFieldName(QStringLiteral("数量"));
    TColumnEh* name = grid->ColumnByFieldName(QStringLiteral("姓名"));
    const auto quantities = [] {
        QStringList values;
        for (MF1->dbouser1->First(); !MF1->dbouser1->Eof(); MF1->dbouser1->Next())
            values << MF1->dbouser1->FieldByName(QStringLiteral("数量"))->AsString();
        return values;
    };

    grid->OnTitleClick(grid, quantity);
    EXPECT_EQ(quantity->Title()->Caption(), QStringLiteral("▲数量"));
    EXPECT_TRUE(quantity->Title()->Font()->Style().Contains(TFontStyle::fsBold));
    EXPECT_EQ(quantities(), QStringList({"1", "2", "3"}));

    grid->OnTitleClick(grid, quantity);
    EXPECT_EQ(quantity->Title()->Caption(), QStringLiteral("▼数量"));
    EXPECT_EQ(quantities(), QStringList({"3", "2", "1"}));

    grid->OnTitleClick(grid, name);
    EXPECT_EQ(quantity->Title()->Caption(), QStringLiteral("数量"));
    EXPECT_FALSE(quantity->Title()->Font()->Style().Contains(TFontStyle::fsBold));
    EXPECT_EQ(name->Title()->Caption(), QStringLiteral("▲姓名"));
    EXPECT_EQ(MF1->dbouser1->Sort(), QStringLiteral("姓名 ASC"));
}

TEST_F(TRecordGridsTest, TheRowNumberTitleCannotSortAndTheOrderStays)
{
    TDBGridEh* grid = MF1->DBGridEh1;
    grid->OnTitleClick(grid, grid->ColumnByFieldName(QStringLiteral("数量")));
    EXPECT_ANY_THROW(grid->OnTitleClick(grid, grid->Columns()->ColumnAt(0)));
    EXPECT_EQ(MF1->dbouser1->Sort(), QStringLiteral("数量 ASC"));
}

TEST_F(TRecordGridsTest, EditingIsSwitchedOnByTheMenuAndOffByAQueryOrAPageSwitch)
{
    MF1->Me1->Click();
    for (TDBGridEh* grid : {MF1->DBGridEh1, MF1->DBGridEh2, MF1->DBGridEh3})
        EXPECT_FALSE(grid->ReadOnly());
    EXPECT_TRUE(MF1->Me2->Visible());
    EXPECT_FALSE(MF1->Me1->Visible());

    MF1->BitBtn1->Click();
    EXPECT_TRUE(MF1->DBGridEh1->ReadOnly());
    EXPECT_TRUE(MF1->Me1->Visible());

    MF1->Me1->Click();
    MF1->PageControl1->SetActivePage(MF1->TabSheet2);
    EXPECT_TRUE(MF1->DBGridEh2->ReadOnly());
    EXPECT_TRUE(MF1->Mdel2->Visible());
    EXPECT_FALSE(MF1->Mdel1->Visible());
    EXPECT_TRUE(MF1->Msa2->Visible());
    EXPECT_FALSE(MF1->Msa3->Visible());
}

TEST_F(TRecordGridsTest, ADoubleClickedCellQueriesThePageByItsFieldAndValue)
{
    Execute("insert into oprint(姓名,部门,数量,物品名称,日期) values('李四','制造部',1,'笔',date('now'));");
    MF1->PageControl1->SetActivePage(MF1->TabSheet1);
    MF1->BitBtn1->Click();
    TDBGridEh* grid = MF1->DBGridEh1;
    ASSERT_EQ(MF1->dbouser1->RecordCount(), 4);
    // The newest record, 李四's, is the top row: a double click on its department.
    const TRect cell = grid->CellPixelRect(grid->DataColToGridCol(grid->ColumnByFieldName(QStringLiteral("部门"))->Index()), 1);
    const QPoint at = ClientOffset(grid) + QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    ClickAt(grid->Handle(), at);
    SendMouse(grid->Handle(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(grid->Handle(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(MF1->dbouser1->RecordCount(), 1);
    EXPECT_EQ(MF1->dbouser1->FieldByName(QStringLiteral("姓名"))->AsString(), QStringLiteral("李四"));
}

TEST_F(TRecordGridsTest, ReleasesOverAnyListCycleTheTips)
{
    MF1->PageControl1->SetActivePage(MF1->TabSheet1);
    const TRect cell = MF1->DBGridEh1->CellPixelRect(2, 1);
    const QPoint at = ClientOffset(MF1->DBGridEh1) + QPoint(cell.Left + 3, cell.Top + 3);
    QStringList tips;
    for (int i = 0; i < 4; ++i) {
        ClickAt(MF1->DBGridEh1->Handle(), at, Qt::RightButton);
        tips << MF1->DBGridEh1->Hint().section(u'\n', 1, 1);
    }
    EXPECT_EQ(tips, QStringList({"*单击标题排序；\r", "*可以选中（多）行，点击右键菜单删除记录；\r",
                                 "*编辑数据时使用↑或↓键保存(或者用鼠标点击上方或下方单元格）；", "*单击标题排序；\r"}));
}

TEST_F(TRecordGridsTest, AShiftReleaseSelectsTheRowsFromTheAnchorAndAQueryForgetsTheAnchor)
{
    Execute("insert into oprint(姓名,部门,数量,物品名称,日期) values('李四','制造部',4,'笔','2026-02-01');"
            "insert into oprint(姓名,部门,数量,物品名称,日期) values('王五','制造部',5,'笔','2026-03-01');");
    MF1->BitBtn4->Click();  // every record, newest first
    TADOQuery* data = MF1->dbouser1;
    TDBGridEh* grid = MF1->DBGridEh1;
    ASSERT_EQ(data->RecordCount(), 5);
    const auto selected = [&] {
        QStringList names;
        for (int i = 0; i < grid->SelectedRows()->ItemCount(); ++i) {
            data->SetBookmark(grid->SelectedRows()->BookmarkAt(i));
            names << data->FieldByName(QStringLiteral("数量"))->AsString();
        }
        return names;
    };
    data->SetRecNo(1);
    MF1->HandleGridMouseUp(data, grid, TMouseButton::mbLeft, TShiftState());
    data->SetRecNo(4);
    MF1->HandleGridMouseUp(data, grid, TMouseButton::mbLeft, ssShift);
    EXPECT_EQ(data->RecNo(), 4);
    QStringList rows = selected();
    rows.sort();
    EXPECT_EQ(rows, QStringList({"3", "4", "5"}));  // rows 1 to 3 of the newest-first list

    // The anchor is used up: the next Shift release anchors again instead.
    grid->SelectedRows()->RemoveAll();
    data->SetRecNo(2);
    MF1->HandleGridMouseUp(data, grid, TMouseButton::mbLeft, TShiftState());
    MF1->BitBtn4->Click();
    data->SetRecNo(5);
    MF1->HandleGridMouseUp(data, grid, TMouseButton::mbLeft, ssShift);
    EXPECT_EQ(grid->SelectedRows()->ItemCount(), 0);
    EXPECT_FALSE(data->ControlsDisabled());
}

TEST_F(TRecordGridsTest, TheSelectedRecordsAreDeletedAfterAskingAndThePageIsQueriedAgain)
{
    TADOQuery* data = MF1->dbouser1;
    TDBGridEh* grid = MF1->DBGridEh1;
    data->SetRecNo(1);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    data->SetRecNo(3);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    FDialogs.Answer(IDOK);
    MF1->Mdel1->Click();
    EXPECT_EQ(Rows("select 数量 from oprint"), QStringList({"2"}));
    EXPECT_EQ(MF1->Memo1->Text(), QStringLiteral("1"));
    EXPECT_EQ(Messages(), QStringList({"警告：确认删除选中的记录吗？"}));
}

TEST_F(TRecordGridsTest, ASummaryListDeletesNothingAndSaysSo)
{
    MF1->ShowSummary(1, u'a');
    TDBGridEh* grid = MF1->DBGridEh1;
    ASSERT_GT(MF1->dbouser1->RecordCount(), 0);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    FDialogs.Answer(IDOK);
    MF1->Mdel1->Click();
    EXPECT_EQ(Rows("select count(*) from oprint"), QStringList({"3"}));
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_EQ(Messages()[1], QStringLiteral("汇总结果不是登记的记录，不能删除！"));
}

TEST_F(TRecordGridsTest, ThePagesDeleteItemShowsOnlyOverASelectedCurrentRow)
{
    TDBGridEh* grid = MF1->DBGridEh1;
    grid->OnMouseMove(grid, TShiftState(), 5, 5);
    EXPECT_FALSE(MF1->Mdel1->Visible());
    grid->SelectedRows()->SetCurrentRowSelected(true);
    grid->OnMouseMove(grid, TShiftState(), 5, 5);
    EXPECT_TRUE(MF1->Mdel1->Visible());
    EXPECT_FALSE(MF1->Mdel2->Visible());
}

TEST_F(TRecordGridsTest, CopyPutsTheFocusedListsSelectionOnTheClipboard)
{
    QGuiApplication::clipboard()->clear();
    MF1->PageControl1->SetActivePage(MF1->TabSheet1);
    MF1->DBGridEh1->SetFocus();
    MF1->dbouser1->SetRecNo(2);
    MF1->DBGridEh1->SelectedRows()->SetCurrentRowSelected(true);
    MF1->Mc1->Click();
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.contains(QStringLiteral("张三\t办公室\t2"))) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("办公室")), 1);
    QGuiApplication::clipboard()->clear();
}

TEST_F(TRecordGridsTest, ClickingATitleWithTheMouseSortsByItAndAQueryKeepsTheMark)
{
    MF1->PageControl1->SetActivePage(MF1->TabSheet1);
    TDBGridEh* grid = MF1->DBGridEh1;
    TColumnEh* quantity = grid->ColumnByFieldName(QStringLiteral("数量"));
    const TRect title = grid->CellPixelRect(grid->DataColToGridCol(quantity->Index()), 0);
    const QPoint at = ClientOffset(grid) + QPoint((title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2);
    const auto firstQuantity = [] {
        MF1->dbouser1->First();
        return MF1->dbouser1->FieldByName(QStringLiteral("数量"))->AsInteger();
    };
    ClickAt(grid->Handle(), at);
    EXPECT_EQ(quantity->Title()->Caption(), QStringLiteral("▲数量"));
    EXPECT_EQ(firstQuantity(), 1);
    ClickAt(grid->Handle(), at);
    EXPECT_EQ(quantity->Title()->Caption(), QStringLiteral("▼数量"));
    EXPECT_EQ(MF1->dbouser1->Sort(), QStringLiteral("数量 DESC"));
    ClickAt(grid->Handle(), at);
    EXPECT_EQ(firstQuantity(), 1);
    // A query brings the statement's order back (newest first: 3); the mark stays until the next click.
    MF1->BitBtn1->Click();
    EXPECT_EQ(quantity->Title()->Caption(), QStringLiteral("▲数量"));
    EXPECT_EQ(firstQuantity(), 3);
}

TEST_F(TRecordGridsTest, ADeleteOfSelectedRecordsThatFailsPartWayDeletesNone)
{
    TADOQuery* data = MF1->dbouser1;
    TDBGridEh* grid = MF1->DBGridEh1;
    for (int recNo : {1, 2, 3}) {
        data->SetRecNo(recNo);
        grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    // The record of quantity 2 cannot be deleted: the delete stops there.
    Execute("create trigger keep before delete on oprint when old.数量 = 2 begin select raise(abort, 'kept'); end;");
    FDialogs.Answer(IDOK);
    EXPECT_ANY_THROW(MF1->DeleteSelectedGridRows(grid, MF1->BitBtn1));
    EXPECT_EQ(Rows("select count(*) from oprint"), QStringList({"3"}));
    EXPECT_EQ(data->RecordCount(), 3);
    EXPECT_FALSE(MF1->ADOCon1->InTransaction());
}

TEST_F(TRecordGridsTest, ASortByTitleKeepsTheSelectedRecordsAndTheCurrentOne)
{
    MF1->PageControl1->SetActivePage(MF1->TabSheet1);
    TDBGridEh* grid = MF1->DBGridEh1;
    TADOQuery* data = MF1->dbouser1;
    const auto quantity = [data] { return data->FieldByName(QStringLiteral("数量"))->AsString(); };
    // Newest first: the quantities read 3, 2, 1; select 1 and 3 and stay on 3.
    for (int recNo : {3, 1}) {
        data->SetRecNo(recNo);
        grid->SelectedRows()->SetCurrentRowSelected(true);
    }

    grid->OnTitleClick(grid, grid->ColumnByFieldName(QStringLiteral("数量")));
    ASSERT_EQ(data->Sort(), QStringLiteral("数量 ASC"));
    EXPECT_EQ(quantity(), QStringLiteral("3"));
    EXPECT_EQ(data->RecNo(), 3);
    QStringList selected;
    for (int i = 0; i < grid->SelectedRows()->ItemCount(); ++i) {
        ASSERT_TRUE(data->BookmarkValid(grid->SelectedRows()->BookmarkAt(i)));
        data->SetBookmark(grid->SelectedRows()->BookmarkAt(i));
        selected << quantity();
    }
    selected.sort();
    EXPECT_EQ(selected, QStringList({"1", "3"}));

    // Drawn where the records now stand: the first row selected, the second not.
    data->SetRecNo(3);
    const QImage screen = Screen(grid);
    const auto background = [&](int Row) {
        const TRect cell = grid->CellPixelRect(grid->DataColToGridCol(grid->ColumnByFieldName(QStringLiteral("备注"))->Index()), Row);
        return screen.pixel(cell.Left + 2, cell.Top + 2);
    };
    EXPECT_NE(background(1), background(2));
}

namespace {

// The first and last pixel columns in Area holding dark ink; {-1, -1} when none.
std::pair<int, int> InkSpan(const QImage& Image, const QRect& Area)
{
    std::pair<int, int> span{-1, -1};
    for (int x = Area.left(); x <= Area.right(); ++x)
        for (int y = Area.top(); y <= Area.bottom(); ++y)
            if (qGray(Image.pixel(x, y)) < 128) {
                span = {span.first < 0 ? x : span.first, x};
                break;
            }
    return span;
}

}  // namespace

TEST_F(TRecordGridsTest, TimesAndDatesShowWholeInTheColumnsTheListsGiveThem)
{
    Execute("delete from oprint; delete from ruku;"
            "insert into oprint(姓名,数量,日期,时间) values('张三',1,date('now','localtime'),'16:48:08');"
            "insert into gift(来客姓名,数量,日期,时间) values('王五',1,date('now','localtime'),'16:48:08');"
            "insert into ruku(物品名称,数量,日期,时间) values('纸',1,date('now','localtime'),'16:48:08');");
    for (TBitBtn* query : {MF1->BitBtn1, MF1->BitBtn8, MF1->BitBtn11})
        query->Click();
    const struct {
        TDBGridEh* Grid;
        const char* Field;
    } cells[] = {{MF1->DBGridEh1, "时间"}, {MF1->DBGridEh1, "日期"}, {MF1->DBGridEh2, "日期"},
                 {MF1->DBGridEh3, "时间"}, {MF1->DBGridEh3, "日期"}};
    for (const auto& [grid, field] : cells) {
        TColumnEh* column = grid->ColumnByFieldName(String::fromUtf8(field));
        const TRect cell = grid->CellPixelRect(grid->DataColToGridCol(column->Index()), 1);
        const QImage screen = Screen(grid);
        // Inside the focused cell's frame.
        const QRect area = QRect(cell.Left, cell.Top, cell.Width(), cell.Height()).adjusted(1, 1, -1, -1);
        const std::pair<int, int> shown = InkSpan(screen, area);

        // The same text in the same font with room to spare.
        const String text = column->Field()->DisplayText();
        QImage whole(200, cell.Height(), QImage::Format_RGB32);
        whole.fill(Qt::white);
        QPainter painter(&whole);
        painter.setFont(column->Font()->Handle());
        painter.drawText(QPoint(50, column->Font()->FontMetrics().ascent()), text);
        painter.end();
        const std::pair<int, int> full = InkSpan(whole, whole.rect());
        // A pixel either way for the shading behind the current row.
        EXPECT_NEAR(shown.second - shown.first, full.second - full.first, 1) << grid->Name().toStdString() << " " << field;
    }
}

TEST_F(TRecordGridsTest, AnEditedQuantityAndDateArePostedByIdAndAQuantityBelowOneIsRefused)
{
    MF1->Me1->Click();
    TDBGridEh* grid = MF1->DBGridEh1;
    TDataSet* list = grid->DataSource()->DataSet();
    grid->SetFocus();
    list->First();
    const String id = list->FieldByName(QStringLiteral("id"))->AsString();
    const String quantityBefore = list->FieldByName(QStringLiteral("数量"))->AsString();
    const int totalBefore = MF1->Memo2->Text().toInt();
    const auto type = [grid](const char* Field, const QString& Text) {
        grid->FocusDataColumn(grid->ColumnByFieldName(String::fromUtf8(Field))->Index());
        SendKey(grid->Handle(), Qt::Key_F2);
        QWidget* editor = grid->InplaceEditor()->Handle();
        SendKey(editor, Qt::Key_A, QString(), Qt::ControlModifier);
        ReleaseKeyboardModifiers();
        CommitText(editor, Text);
    };
    const auto storedRow = [&id] {
        return Rows(QStringLiteral("select 数量, substr(日期,1,10) from oprint where id=%1").arg(id).toUtf8().constData());
    };

    // Below 1: said as at registration, and nothing reaches the file.
    type("数量", QStringLiteral("0"));
    SendKey(grid->InplaceEditor()->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    SendKey(grid->Handle(), Qt::Key_Down);
    EXPECT_TRUE(Messages().contains(QStringLiteral("请确认物品数量 ！")));
    EXPECT_EQ(list->FieldByName(QStringLiteral("id"))->AsString(), id) << "the refused record stays current";
    SendKey(grid->Handle(), Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_EQ(list->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(storedRow().value(0).section(u'|', 0, 0), quantityBefore);

    type("数量", QStringLiteral("9"));
    SendKey(grid->InplaceEditor()->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    type("日期", QStringLiteral("2025-03-04"));
    SendKey(grid->InplaceEditor()->Handle(), Qt::Key_Return, QStringLiteral("\r"));
    SendKey(grid->Handle(), Qt::Key_Down);
    EXPECT_EQ(list->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(storedRow(), QStringList{QStringLiteral("9|2025-03-04")});
    EXPECT_EQ(MF1->Memo2->Text().toInt(), totalBefore + 9 - quantityBefore.toInt());
}
