// What the application adds to its record lists: sorting by a title click, the switch between
// read-only and editable lists, and the grid menu of each page.
#include "app/orecord.h"

#include "datagrid/DBGridEh.h"
#include "platform/ado/ADODB.h"
#include "platform/ui/Menus.h"

namespace {

const String Ascending = QStringLiteral("▲");
const String Descending = QStringLiteral("▼");

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
    const String ascending = Column->FieldName() + QStringLiteral(" ASC");
    const bool toAscending = Query->Sort() != ascending;
    // A column without a field ("序号") cannot sort: the dataset's error reaches the user and the
    // order stays.
    Query->SetSort(toAscending ? ascending : Column->FieldName() + QStringLiteral(" DESC"));
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

void TMF1::Me2Click(TObject* Sender) { MakeRecordGridsReadOnly(); }

void TMF1::SwitchEditMenuForTab(TMenuItem* Delete, TMenuItem* QueryAll)
{
    for (TMenuItem* item : {Mdel1, Mdel2, Mdel3})
        item->SetVisible(item == Delete);
    for (TMenuItem* item : {Msa1, Msa2, Msa3})
        item->SetVisible(item == QueryAll);
    MakeRecordGridsReadOnly();
}
