// The record lists of the three pages: their columns, the stock-in totals under them, the row
// numbers and the cell frames in each page's line colour.
#include "app/orecord.h"

#include "app/RecordGrids.h"
#include "app/orecordEntry.h"
#include "datagrid/DBGridEh.h"
#include "platform/ado/ADODB.h"
#include "platform/core/StringLiterals.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Memo.h"
#include "platform/data/Field.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Exceptions.h"
#include "platform/ui/Button.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Menus.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/PageControl.h"

namespace {

// Below the totals bar, to the bottom of the page.
const TRect ListBounds{2, 148, 743, 468};

constexpr TAlignment Right = TAlignment::taRightJustify;

// A footer cell of static text in the stock-in list: blue, bold, centred.
void ShowFooterText(TColumnEh* Column, const char* Text)
{
    TColumnFooterEh* footer = Column->Footer();
    footer->SetValueType(TFooterValueType::fvtStaticText);
    footer->SetValue(String::fromUtf8(Text));
    footer->SetAlignment(TAlignment::taCenter);
    footer->Font()->SetColor(clBlue);
    footer->Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
}

void ShowFooterSum(TColumnEh* Column)
{
    Column->Footer()->SetValueType(TFooterValueType::fvtSum);
}

}  // namespace

void TMF1::CreateRecordGrids()
{
    DBGridEh1 = AddRecordGrid(this, TabSheet1, "DBGridEh1", ListBounds, dsouser3, PopupMenu1, 0,
                              {{"姓名", 49}, {"部门", 77}, {"数量", 41}, {"单位", 36}, {"物品名称", 95}, {"类型", 83},
                               {"日期", 66}, {"时间", 48, nullptr, Right}, {"备注", 140}});
    DBGridEh2 = AddRecordGrid(this, TabSheet2, "DBGridEh2", ListBounds, DSg1, PopupMenu1, 3,
                              {{"日期", 60}, {"来客姓名", 77}, {"职务", 79}, {"来客单位", 118}, {"礼品名称", 95},
                               {"数量", 40}, {"单位", 36}, {"类型", 83}, {"领取人", 49}, {"领取部门", 77},
                               {"批准", 49}, {"备注", 162}, {"时间", 48}});
    DBGridEh3 = AddRecordGrid(this, TabSheet3, "DBGridEh3", ListBounds, DSR1, PopupMenu1, 2,
                              {{"物品名称", 95}, {"类型", 83}, {"数量", 51}, {"单位", 36}, {"单价", 56}, {"金额", 79},
                               {"供应商", 83}, {"登记人", 46}, {"日期", 63}, {"时间", 48}, {"申购人", 46},
                               {"申购部门", 83}, {"备注", 140}});
    DBGridEh3->SetFooterRowCount(1);
    ShowFooterText(DBGridEh3->ColumnByFieldName(u"类型"_s), "总数量");
    ShowFooterSum(DBGridEh3->ColumnByFieldName(u"数量"_s));
    ShowFooterText(DBGridEh3->ColumnByFieldName(u"单价"_s), "总金额");
    ShowFooterSum(DBGridEh3->ColumnByFieldName(u"金额"_s));
    DBGridEh3->SumList()->SetActive(true);
}

void TMF1::BindGridEvents()
{
    for (TPageKind kind : PageKinds) {
        const TRecordPage page = Page(kind);
        TDBGridEh* grid = page.Grid;
        TColorBox* lineColour = page.LineColour;
        grid->OnDrawColumnCell = [this, grid, lineColour](TObject*, const TRect& Rect, int DataCol, TColumnEh*,
                                                          TGridDrawState) {
            DrawReverseRowNumber(grid, Rect, DataCol);
            FrameCellInLineColour(grid, lineColour, Rect);
        };
        lineColour->OnChange = [grid](TObject*) { grid->Invalidate(); };
        TADOQuery* query = page.Query;
        grid->OnTitleClick = [this, query, grid](TObject*, TColumnEh* Column) { SortGridByTitle(query, grid, Column); };
        // A double click queries the page by the cell's field and value.
        grid->OnDblClick = [this, kind, grid](TObject*) {
            String field, value;
            if (FocusedCell(grid, field, value))
                QueryByCellValue(Page(kind), field, value);
        };
        // A click into a list gives the wheel back to the lists.
        grid->OnCellClick = [this](TObject*, TColumnEh*) {
            Application->OnMessage = [this](TMsg& Msg, bool& Handled) { OnMouseWheel(Msg, Handled); };
        };
        grid->OnMouseUp = [this, query, grid](TObject*, TMouseButton Button, TShiftState Shift, int, int) {
            HandleGridMouseUp(query, grid, Button, Shift);
        };
        TMenuItem* deleteItem = page.DeleteItem;
        grid->OnMouseMove = [this, grid, deleteItem](TObject*, TShiftState, int, int) {
            ShowDeleteItemForSelection(grid, deleteItem);
        };
        deleteItem->OnClick = [this, grid, requery = page.QueryButton](TObject*) {
            DeleteSelectedGridRows(grid, requery);
        };
        page.ExportButton->OnClick = [this, grid, code = String::fromUtf8(page.ExportCode)](TObject*) {
            ExportGridToExcel(grid, code);
        };
    }
    for (TPageKind kind : PageKinds)
        GuardListEdits(kind);
    Me1->OnClick = [this](TObject* Sender) { Me1Click(Sender); };
    Me2->OnClick = [this](TObject* Sender) { Me2Click(Sender); };
    Mc1->OnClick = [this](TObject* Sender) { Mc1Click(Sender); };
}

TMF1::TSummedValues TMF1::SummedValues(const TDataSet* DataSet)
{
    const auto value = [DataSet](const String& Column) {
        const TField* field = DataSet->FindField(Column);
        return field != nullptr ? field->AsFloat() : 0;
    };
    return {value(u"数量"_s), value(u"金额"_s)};
}

// Quantities and amounts edited in a page's list are held to what a registration takes: a
// whole number of at least 1, and sums the pages can still show. The page's count and total
// follow what is posted and deleted. The sum list hooks the same events, so each handler calls
// the one it replaced.
void TMF1::GuardListEdits(TPageKind Kind)
{
    TADOQuery* query = Page(Kind).Query;
    query->BeforeEdit = [this, previous = query->BeforeEdit](TDataSet* DataSet) {
        if (previous)
            previous(DataSet);
        FStoredBeforeEdit = SummedValues(DataSet);
    };
    query->AfterInsert = [this, previous = query->AfterInsert](TDataSet* DataSet) {
        if (previous)
            previous(DataSet);
        FStoredBeforeEdit = {};
    };
    query->BeforePost = [this, Kind, previous = query->BeforePost](TDataSet* DataSet) {
        if (!EditedRecordIsAccepted(Page(Kind), DataSet))
            Abort();
        if (previous)
            previous(DataSet);
    };
    query->AfterPost = [this, Kind, previous = query->AfterPost](TDataSet* DataSet) {
        if (previous)
            previous(DataSet);
        if (DataSet->State() != TDataSetState::dsBrowse)
            return;
        const double change = SummedValues(DataSet).Quantity - FStoredBeforeEdit.Quantity;
        TMemo* total = Page(Kind).TotalMemo;
        if (change != 0)
            total->SetText(FloatToStr(StrToFloatDef(total->Text(), 0) + change));
    };
    // A record deleted while edited leaves with what is stored, taken as its edit began.
    query->BeforeDelete = [this, previous = query->BeforeDelete](TDataSet* DataSet) {
        if (previous)
            previous(DataSet);
        if (DataSet->State() == TDataSetState::dsBrowse)
            FStoredBeforeEdit = SummedValues(DataSet);
    };
    query->AfterDelete = [this, Kind, previous = query->AfterDelete](TDataSet* DataSet) {
        if (previous)
            previous(DataSet);
        const TRecordPage& page = Page(Kind);
        page.CountMemo->SetText(IntToStr(DataSet->RecordCount()));
        page.TotalMemo->SetText(FloatToStr(StrToFloatDef(page.TotalMemo->Text(), 0) - FStoredBeforeEdit.Quantity));
    };
}

// The refusals are the page's own, as its registration says them.
bool TMF1::EditedRecordIsAccepted(const TRecordPage& Page, const TDataSet* DataSet)
{
    const TField* quantity = DataSet->FindField(u"数量"_s);
    if (quantity == nullptr)
        return true;
    if (quantity->IsNull() || quantity->AsFloat() < 1) {
        Warn(this, String::fromUtf8(QuantityRefusal(Page)));
        return false;
    }
    const TSummedValues edited = SummedValues(DataSet);
    if (!SumsCanHold(Page.Table, "数量", edited.Quantity, FStoredBeforeEdit.Quantity)) {
        Warn(this, QuantityTooLarge);
        return false;
    }
    if (Page.Amount != nullptr && !SumsCanHold(Page.Table, "金额", edited.Amount, FStoredBeforeEdit.Amount)) {
        Warn(this, AmountTooLarge);
        return false;
    }
    return true;
}

const char* TMF1::QuantityRefusal(const TRecordPage& Page)
{
    for (const TRequiredField& required : Page.Required)
        if (required.Check == TEntryCheck::Quantity)
            return required.Refusal;
    return "";
}

void TMF1::DrawReverseRowNumber(TDBGridEh* Grid, const TRect& Rect, int DataCol)
{
    if (DataCol != 0)
        return;
    const TDataSet* data = Grid->DataSource()->DataSet();
    DrawRowNumber(Grid, Rect, data->RecordCount() - data->RecNo() + 1);
}

void TMF1::FrameCellInLineColour(TDBGridEh* Grid, TColorBox* ColorBox, const TRect& Rect)
{
    TCanvas* canvas = Grid->Canvas();
    canvas->Brush()->SetColor(ColorBox->Selected());
    canvas->FrameRect(TRect{Rect.Left - 1, Rect.Top - 1, Rect.Right + 1, Rect.Bottom + 1});
}
