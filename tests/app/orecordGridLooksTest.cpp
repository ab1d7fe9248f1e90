// How the record lists look while a clerk works in them: the focused cell of a frozen column,
// a total too wide for its footer, and the date being edited in place.
#include "AppTestSupport.h"

#include "datagrid/DBGridEh.h"
#include "controls/GridsEhWindows.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/PaintedTextSupport.h"
#include "platform/ui/QtConvert.h"
#include "platform/ui/UiTestSupport.h"

#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <map>

namespace {

class TRecordGridLooksTest : public TAppTest {
protected:
    void SetUp() override
    {
        TAppTest::SetUp();
        ReleaseKeyboardModifiers();
        OpenWindows();
        Execute("insert into oprint(姓名,部门,数量,物品名称,日期,时间) values('张三','办公室',2,'笔',date('now','localtime'),'09:00:00');"
                "insert into gift(来客姓名,职务,来客单位,数量,礼品名称,日期) values('王五','经理','销售公司',1,'茶叶',date('now','localtime'));"
                "insert into ruku(物品名称,类型,数量,单价,金额,日期) values('纸','A4',3,2.5,7.5,date('now','localtime'));");
        for (TBitBtn* query : {MF1->BitBtn1, MF1->BitBtn8, MF1->BitBtn11})
            query->Click();
    }

    // The page of Grid showing, the grid holding the focus on Field's cell of its first row.
    static void FocusCell(TTabSheet* Page, TDBGridEh* Grid, const char* Field)
    {
        MF1->PageControl1->SetActivePage(Page);
        Grid->SetFocus();
        Grid->SetCurrentGridCol(Grid->DataColToGridCol(Grid->ColumnByFieldName(String::fromUtf8(Field))->Index()));
    }

    static QPoint ClientOffset(TDBGridEh* Grid)
    {
        const TPoint client = Grid->ClientToScreen(TPoint{0, 0});
        return QPoint(client.X, client.Y) - Grid->Handle()->mapToGlobal(QPoint(0, 0));
    }

    static QRect CellArea(TDBGridEh* Grid, int Col, int Row)
    {
        const TRect cell = Grid->CellPixelRect(Col, Row);
        return QRect(cell.Left, cell.Top, cell.Width(), cell.Height());
    }

    // The colour most pixels of the current cell have, inside its frame.
    static QRgb CurrentCellBackground(TDBGridEh* Grid)
    {
        const QImage screen = Grid->Handle()->grab().toImage();
        const QRect area = CellArea(Grid, Grid->Col(), Grid->Row()).translated(ClientOffset(Grid)).adjusted(2, 2, -2, -2);
        std::map<QRgb, int> counts;
        for (int x = area.left(); x <= area.right(); ++x)
            for (int y = area.top(); y <= area.bottom(); ++y)
                ++counts[screen.pixel(x, y) & 0xFFFFFF];
        return std::max_element(counts.begin(), counts.end(), [](const auto& A, const auto& B) { return A.second < B.second; })
            ->first;
    }
};

}  // namespace

// The focused cell of a frozen column is drawn as a focused cell of the scrolled columns is.
TEST_F(TRecordGridLooksTest, TheFocusedCellOfAFrozenColumnLooksLikeAnyFocusedCell)
{
    const struct {
        TTabSheet* Page;
        TDBGridEh* Grid;
        const char* Frozen;
        const char* Scrolled;
    } cases[] = {
        {MF1->TabSheet2, MF1->DBGridEh2, "日期", "职务"},
        {MF1->TabSheet2, MF1->DBGridEh2, "来客姓名", "职务"},
        {MF1->TabSheet3, MF1->DBGridEh3, "物品名称", "类型"},
    };
    for (const auto& [page, grid, frozen, scrolled] : cases) {
        SCOPED_TRACE(frozen);
        FocusCell(page, grid, scrolled);
        ASSERT_GE(grid->Col() - grid->DataColToGridCol(0), grid->FrozenCols());
        const QRgb focused = CurrentCellBackground(grid);
        EXPECT_EQ(focused, ToQColor(clHighlight).rgb() & 0xFFFFFF);
        FocusCell(page, grid, frozen);
        ASSERT_LT(grid->Col() - grid->DataColToGridCol(0), grid->FrozenCols());
        EXPECT_EQ(CurrentCellBackground(grid), focused);
    }
}

// A number wider than its cell, a footer's total or a record's amount, shows its leading digits
// and an ellipsis, all inside the cell.
TEST_F(TRecordGridLooksTest, ANumberTooWideForItsCellShowsItsLeadingDigitsAndAnEllipsis)
{
    Execute("update ruku set 金额=900000000002230");
    MF1->BitBtn11->Click();
    MF1->PageControl1->SetActivePage(MF1->TabSheet3);
    TDBGridEh* grid = MF1->DBGridEh3;
    TColumnEh* amount = grid->ColumnByFieldName(QStringLiteral("金额"));
    String total;
    grid->ComputeFooterText(0, amount, total);
    ASSERT_EQ(total, u"900000000002230");
    MF1->ADOR1->First();
    const int col = grid->DataColToGridCol(amount->Index());
    const struct {
        const char* Name;
        QRect Cell;
        TFont* Font;
        String Text;
    } cases[] = {{"footer", CellArea(grid, col, grid->RowCount()), amount->Footer()->Font(), total},
                 {"record", CellArea(grid, col, grid->TopRow()), amount->Font(), amount->Field()->DisplayText()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QFontMetrics metrics(c.Font->Handle());
        ASSERT_GT(metrics.horizontalAdvance(c.Text), c.Cell.width()) << "the number does not fit";
        const QStringList painted = PaintedTextsIn(grid->Handle(), c.Cell.translated(ClientOffset(grid)));
        ASSERT_EQ(painted.size(), 1) << painted.join(u'|').toStdString();
        const String shown = painted.front();
        EXPECT_TRUE(shown.endsWith(u"...")) << shown.toStdString();
        EXPECT_GT(shown.size(), 3);
        EXPECT_TRUE(c.Text.startsWith(shown.chopped(3))) << shown.toStdString();
        EXPECT_LE(metrics.horizontalAdvance(shown), c.Cell.width());
    }
}

// The date being edited in its cell shows whole beside the calendar button.
TEST_F(TRecordGridLooksTest, TheDateEditedInItsCellShowsWhole)
{
    const struct {
        TTabSheet* Page;
        TDBGridEh* Grid;
    } cases[] = {{MF1->TabSheet1, MF1->DBGridEh1}, {MF1->TabSheet2, MF1->DBGridEh2}, {MF1->TabSheet3, MF1->DBGridEh3}};
    for (const auto& [page, grid] : cases) {
        SCOPED_TRACE(grid->Name().toStdString());
        FocusCell(page, grid, "日期");
        // A page switch leaves the lists read-only.
        MF1->Me1->Click();
        grid->ChangeEditorMode(true);
        TInplaceEdit* editor = grid->InplaceEditor();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->Visible());
        const String date = editor->Text();
        ASSERT_EQ(date, FormatDateTime(QStringLiteral("yyyy-MM-dd"), Date()));
        // The whole date is painted from a point inside the editor, and no part of it lies under
        // the calendar button at its right.
        QWidget* window = editor->Handle();
        TTextRecorder recorder(window->size());
        window->render(&recorder);
        const auto painted = std::find_if(recorder.Texts().begin(), recorder.Texts().end(),
                                          [&](const TPaintedText& Text) { return Text.Text == date; });
        ASSERT_NE(painted, recorder.Texts().end());
        // The button is as wide as a scroll bar (the grid is not flat).
        ASSERT_FALSE(grid->Flat());
        const int buttonsLeft = window->width() - GetSystemMetrics(SM_CXVSCROLL);
        const QFontMetrics metrics(editor->Font()->Handle());
        EXPECT_GE(painted->At.x(), 0);
        EXPECT_LE(painted->At.x() + metrics.horizontalAdvance(date), buttonsLeft);
        grid->ChangeEditorMode(false);
    }
}
