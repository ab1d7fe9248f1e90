// What the application adds to its record lists: sorting by a title click, the switch between
// read-only and editable lists, and the grid menu of each page.
#include "app/orecord.h"

#include "app/RecordGrids.h"
#include "datagrid/DBGridEh.h"
#include "platform/ado/ADODB.h"
#include "platform/core/ScopeExit.h"
#include "platform/core/StringLiterals.h"
#include "platform/data/DataSet.h"
#include "platform/ui/Button.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

#include <utility>

namespace {

const String Ascending = u"▲"_s;
const String Descending = u"▼"_s;

// The lists' tips by the release count modulo 3.
const String GridTips[3] = {
    u"小提示：\r\n*编辑数据时使用↑或↓键保存(或者用鼠标点击上方或下方单元格）；"_s,
    u"小提示：\r\n*单击标题排序；\r\n*双击单元格，按单元格内容查询；"_s,
    u"小提示：\r\n*可以选中（多）行，点击右键菜单删除记录；\r\n*使用Ctrl或Shift+鼠标左键可选中多行删除、复制；"_s,
};

void SetGridsReadOnly(std::initializer_list<TDBGridEh*> Grids, bool ReadOnly)
{
    for (TDBGridEh* grid : Grids)
        grid->SetReadOnly(ReadOnly);
}

}  // namespace

void TMF1::SortGridByTitle(TADOQuery* Query, TDBGridEh* Grid, TColumnEh* Column)
{
    for (int i = 0; i < Grid->Columns()->Count(); ++i) {
        TColumnTitleEh* title = Grid->Columns()->ColumnAt(i)->Title();
        const String caption = title->Caption();
        if (caption.startsWith(Ascending) || caption.startsWith(Descending))
            title->SetCaption(caption.mid(1));
        title->Font()->SetColor(clWindowText);
        title->Font()->SetStyle(TFontStyles());
    }
    const String ascending = Column->FieldName() + u" ASC"_s;
    const bool toAscending = Query->Sort() != ascending;
    // A column without a field ("序号") cannot sort: the dataset's error reaches the user and the
    // order stays.
    Query->SetSort(toAscending ? ascending : Column->FieldName() + u" DESC"_s);
    TColumnTitleEh* title = Column->Title();
    title->Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
    title->SetCaption((toAscending ? Ascending : Descending) + title->Caption());
}

void TMF1::MakeRecordGridsReadOnly()
{
    SetGridsReadOnly({DBGridEh1, DBGridEh2, DBGridEh3}, true);
    Me1->SetVisible(true);
    Me2->SetVisible(false);
}

void TMF1::Me1Click(TObject* Sender)
{
    SetGridsReadOnly({DBGridEh1, DBGridEh2, DBGridEh3}, false);
    Me2->SetVisible(true);
    Me1->SetVisible(false);
}

void TMF1::Me2Click(TObject* Sender)
{
    if (PostRecordGridEdits())
        MakeRecordGridsReadOnly();
}

// A list made read-only or closed with its edit open would keep the edit mark and drop the
// edit unasked; a refused post keeps the record current, as the list's own posting does.
bool TMF1::PostRecordGridEdits()
{
    for (const TRecordPage& page : FPages) {
        TDataSet* data = page.Query;
        if (data->State() != TDataSetState::dsEdit && data->State() != TDataSetState::dsInsert)
            continue;
        try {
            data->Post();
        } catch (...) {
            Application->HandleException(this);
            if (page.Grid->CanFocus())
                page.Grid->SetFocus();
            return false;
        }
    }
    return true;
}

void TMF1::SwitchEditMenuForTab(TMenuItem* Delete, TMenuItem* QueryAll)
{
    for (TMenuItem* item : {Mdel1, Mdel2, Mdel3})
        item->SetVisible(item == Delete);
    for (TMenuItem* item : {Msa1, Msa2, Msa3})
        item->SetVisible(item == QueryAll);
    MakeRecordGridsReadOnly();
}

void TMF1::Mc1Click(TObject* Sender) { CopyActiveGridSelection(ActiveControl()); }

void TMF1::DeleteSelectedGridRows(TDBGridEh* Grid, TBitBtn* RequeryButton)
{
    if (DeleteSelectedRecords(Handle(), Grid))
        RequeryButton->Click();
}

void TMF1::HandleGridMouseUp(TDataSet* DataSet, TDBGridEh* Grid, TMouseButton Button, TShiftState Shift)
{
    ++GridTipCounter;
    Grid->SetHint(GridTips[GridTipCounter % 3]);
    if (Button != TMouseButton::mbLeft)
        return;
    if (RangeAnchor.Grid == Grid && Shift.Contains(ssShift))
        SelectRowRange(DataSet, Grid);
    else
        RangeAnchor = {Grid, DataSet->Bookmark()};
}

// The rows from the anchor up to the clicked row, which keeps what the click made of it. An
// anchor whose record has gone selects nothing; either way it is used up.
void TMF1::SelectRowRange(TDataSet* DataSet, TDBGridEh* Grid)
{
    const TBookmark anchor = std::exchange(RangeAnchor, {}).Bookmark;
    if (!DataSet->BookmarkValid(anchor))
        return;
    const int current = DataSet->RecNo();
    DataSet->DisableControls();
    const TScopeExit enable([DataSet] { DataSet->EnableControls(); });
    DataSet->SetBookmark(anchor);
    TBookmarkListEh* rows = Grid->SelectedRows();
    rows->SetCurrentRowSelected(true);
    const int step = DataSet->RecNo() < current ? 1 : -1;
    while (DataSet->RecNo() != current && !(step > 0 ? DataSet->Eof() : DataSet->Bof())) {
        rows->SetCurrentRowSelected(true);
        DataSet->MoveBy(step);
    }
}

void TMF1::ShowDeleteItemForSelection(TDBGridEh* Grid, TMenuItem* Delete)
{
    if (!Grid->DataLink()->Active() || !Grid->SelectedRows()->IsCurrentRowSelected()) {
        Delete->SetVisible(false);
        return;
    }
    for (TMenuItem* item : {Mdel1, Mdel2, Mdel3})
        item->SetVisible(item == Delete);
}
