// The record lists' shared build: the grid options, the row-number and id columns, and the
// columns of the data in between.
#include "app/RecordGrids.h"

#include "app/FormBuilding.h"
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhImpExp.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr int RowNumberWidth = 36;

const String EmptyListText = u"记录列表内容为空，无法删除！"_s;

TColumnEh* AddColumn(TDBGridEh* Grid, const char* FieldName, int Width)
{
    TColumnEh* column = Grid->Columns()->Add();
    column->SetFieldName(String::fromUtf8(FieldName));
    column->SetWidth(Width);
    column->Title()->SetAlignment(TAlignment::taCenter);
    return column;
}

}  // namespace

TDBGridEh* AddRecordGrid(TComponent* Owner, TWinControl* Parent, const char* Name, const TRect& Bounds,
                         TDataSource* Source, TPopupMenu* Menu, int FrozenCols,
                         std::initializer_list<TRecordColumn> Columns)
{
    auto* grid = Place<TDBGridEh>(Owner, Parent, Name, Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    grid->SetOptions(dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs |
                     dgConfirmDelete | dgCancelOnExit | dgMultiSelect);
    grid->SetEditActions(geaCopyEh | geaSelectAllEh);
    grid->VertScrollBar()->SetVisibleMode(TScrollBarVisibleModeEh::sbAlwaysShowEh);
    grid->SetFooterColor(clWindow);
    grid->SetPopupMenu(Menu);
    grid->Columns()->BeginUpdate();
    // "序号" names no field: the application paints the row numbers into it.
    AddColumn(grid, "序号", RowNumberWidth);
    for (const TRecordColumn& spec : Columns) {
        TColumnEh* column = AddColumn(grid, spec.FieldName, spec.Width);
        if (spec.Title != nullptr)
            column->Title()->SetCaption(String::fromUtf8(spec.Title));
        column->SetAlignment(spec.Alignment);
    }
    AddColumn(grid, "id", 40)->SetVisible(false);
    grid->Columns()->EndUpdate();
    grid->SetFrozenCols(FrozenCols);
    grid->SetDataSource(Source);
    return grid;
}

bool FocusedCell(TDBGridEh* Grid, String& FieldName, String& Value)
{
    const TColumnEh* column = Grid->FocusedColumn();
    if (column == nullptr)
        return false;
    const TField* field = Grid->FocusedColumnField();
    FieldName = column->FieldName();
    Value = field != nullptr ? field->AsString() : String();
    return true;
}

void DrawRowNumber(TDBGridEh* Grid, const TRect& Rect, int Number)
{
    Grid->Canvas()->TextRect(Rect, Rect.Left + 2, Rect.Top + 2, IntToStr(Number));
}

void CopyActiveGridSelection(TWinControl* ActiveControl)
{
    auto* grid = dynamic_cast<TDBGridEh*>(ActiveControl);
    if (grid != nullptr && grid->DataLink()->Active() && grid->EditActions().Contains(geaCopyEh))
        CopyGridSelectionToClipboard(grid, false);
}

bool DeleteSelectedRecords(HWND Owner, TDBGridEh* Grid)
{
    TDataSet* data = Grid->DataSource()->DataSet();
    if (data->RecordCount() < 1) {
        ShowMessage(EmptyListText);
        return false;
    }
    if (MessageBox(Owner, u"警告：确认删除选中的记录吗？"_s, u"确认删除"_s,
                   MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return false;
    if (data->IsEmpty()) {
        ShowMessage(EmptyListText);
        return false;
    }
    if (!data->CanModify()) {
        MessageBox(Owner, u"汇总结果不是登记的记录，不能删除！"_s, u"提示"_s, MB_OK | MB_ICONWARNING);
        return false;
    }
    DeleteInOneTransaction(data, [Grid] { Grid->SelectedRows()->DeleteListedRecords(); });
    return true;
}
