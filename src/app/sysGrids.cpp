// The settings window's lists: their columns, row numbers and frames, the editors following the
// row under the mouse, the double-click filter and the wheel.
#include "app/sys.h"

#include "app/RecordGrids.h"
#include "app/orecord.h"
#include "datagrid/DBGridEh.h"
#include "platform/ado/ADODB.h"
#include "platform/core/StringLiterals.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"

namespace {

// Below a page's editors and buttons, to the bottom of the page.
TRect ListBelow(int Top) { return TRect{4, Top, 462, 264}; }

const String ListHint = u"*可以选中（多）行，点击右键菜单删除记录；"_s;

}  // namespace

void TForm3::CreateGrids()
{
    DBGridEh4 = AddRecordGrid(this, TabSheet1, "DBGridEh4", ListBelow(66), Dsu1, PMenu1, 0,
                              {{"姓名", 100}, {"部门", 120}, {"姓名编号", 100, "编号"}});
    DBGridEh1 = AddRecordGrid(this, TabSheet2, "DBGridEh1", ListBelow(66), dsdept1, PMenu1, 0,
                              {{"部门编号", 100, "编号"}, {"部门", 200}});
    DBGridEh2 = AddRecordGrid(this, TabSheet3, "DBGridEh2", ListBelow(94), DSpty1, PMenu1, 2,
                              {{"物品名称", 110}, {"编号", 70}, {"单位", 40}, {"类型", 100}, {"礼品", 60}});
    DBGridEh3 = AddRecordGrid(this, TabSheet4, "DBGridEh3", ListBelow(66), Dsrm1, PMenu1, 0, {{"备注", 360}});
    DBGridEh5 = AddRecordGrid(this, TabSheet5, "DBGridEh5", ListBelow(152), Dgys1, PMenu1, 2,
                              {{"供应商", 110}, {"供应商编号", 70, "编号"}, {"联系人", 60}, {"电话", 90}, {"手机", 90},
                               {"传真", 90}, {"QQ", 80}, {"邮箱", 120}, {"供应商地址", 150}, {"备注", 120}});
    for (TDBGridEh* grid : {DBGridEh4, DBGridEh1, DBGridEh2, DBGridEh3, DBGridEh5}) {
        grid->SetHint(ListHint);
        grid->SetShowHint(true);
    }
}

void TForm3::BindGridEvents()
{
    const auto bind = [this](TDBGridEh* Grid, TSettingsPage Page, TADOQuery* List, const char* Table,
                             const char* OrderBy, TMenuItem* Delete) {
        Grid->OnDrawColumnCell = [this, Grid](TObject*, const TRect& Rect, int DataCol, TColumnEh*, TGridDrawState) {
            DrawRowNumberCell(Grid, Rect, DataCol);
            MF1->FrameCellInLineColour(Grid, MF1->ColorBox1, Rect);
        };
        // The editors show the row under the mouse: what was typed and not stored is replaced.
        // The page's delete item shows while that row is selected.
        Grid->OnMouseMove = [this, Grid, Page, Delete](TObject*, TShiftState, int, int) {
            ShowRowInEditors(Page);
            const bool selected = Grid->DataLink()->Active() && Grid->SelectedRows()->IsCurrentRowSelected();
            HideDeleteMenuItems();
            Delete->SetVisible(selected);
        };
        Grid->OnTitleClick = [Grid, List](TObject*, TColumnEh* Column) { MF1->SortGridByTitle(List, Grid, Column); };
        Grid->OnDblClick = [this, Grid, List, Table, OrderBy](TObject*) {
            String field, value;
            if (FocusedCell(Grid, field, value))
                FilterByCellValue(List, String::fromUtf8(Table), field, value, String::fromUtf8(OrderBy));
        };
        // The deleted rows leave the list through the dataset: no query runs again.
        Delete->OnClick = [this, Grid](TObject*) { DeleteSelectedRecords(Handle(), Grid); };
    };
    bind(DBGridEh4, TSettingsPage::spUsers, ADOQsu1, "ouser", "部门 asc, 姓名 asc", N1);
    bind(DBGridEh1, TSettingsPage::spDepartments, sdept1, "dept", "部门编号", N2);
    bind(DBGridEh2, TSettingsPage::spItems, ADOQp1, "ptype", "物品名称", N3);
    bind(DBGridEh3, TSettingsPage::spRemarks, ADOQremark1, "rmark", "备注", N4);
    bind(DBGridEh5, TSettingsPage::spSuppliers, ADOQgys, "supplier", "供应商", N5);
    N6->OnClick = [this](TObject*) { CopyActiveGridSelection(ActiveControl()); };
}

void TForm3::DrawRowNumberCell(TDBGridEh* Grid, const TRect& Rect, int DataCol)
{
    if (DataCol == 0)
        DrawRowNumber(Grid, Rect, Grid->DataSource()->DataSet()->RecNo());
}

void TForm3::FormActivate(TObject* Sender)
{
    Application->OnMessage = [this](TMsg& Msg, bool& Handled) { OnMouseWheel(Msg, Handled); };
}

void TForm3::OnMouseWheel(TMsg& Msg, bool& Handled)
{
    PageFocusedGridsOnWheel(Msg, Handled, {DBGridEh4, DBGridEh1, DBGridEh2, DBGridEh3, DBGridEh5});
}
