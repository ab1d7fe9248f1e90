// A column's drop-down lookup grid: made on first need and kept in step with the column's
// drop-down settings.
#include "datagrid/DBLookupGridsEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

using namespace Qt::StringLiterals;

struct TColumnEh::TDropDownGridEh {
    // The source of a lookup field's list dataset, when the drop-down box names none.
    TDataSource FieldListSource{nullptr};
    TPopupDataGridEh Grid{nullptr};
};

void TColumnEh::TDropDownGridDeleterEh::operator()(TDropDownGridEh* DropDown) const { delete DropDown; }

TPopupDataGridEh* TColumnEh::ObtainDropDownGrid()
{
    if (!FDropDownGrid) {
        FDropDownGrid.reset(new TDropDownGridEh);
        FDropDownGrid->Grid.SetName(u"DataList"_s);
    }
    TPopupDataGridEh* grid = &FDropDownGrid->Grid;
    const TField* field = Field();
    TDataSource* source = FDropDownBox->ListSource();
    if (source == nullptr) {
        FDropDownGrid->FieldListSource.SetDataSet(FieldLookupDataSet());
        source = &FDropDownGrid->FieldListSource;
    }
    grid->SetListSource(source);
    if (field != nullptr && field->Lookup())
        grid->SetKeyField(field->LookupKeyFields());
    grid->SetListField(LookupDisplayFields());
    grid->SetSpecRow(FDropDownSpecRow.get());
    grid->SetLookupOptions(FDropDownBox->Options());
    grid->SetShowTitles(FDropDownBox->ShowTitles());
    grid->SetUseMultiTitle(FDropDownBox->UseMultiTitle());
    grid->SetAutoFitColWidths(FDropDownBox->AutoFitColWidths());
    grid->FitHeightToRows(FDropDownBox->Rows() > 0 ? FDropDownBox->Rows() : static_cast<int>(FDropDownRows));
    return grid;
}

void TColumnEh::ListSourceChanged(TDataSource* Source)
{
    if (FDropDownGrid && Source != nullptr)
        Source->FreeNotification(&FDropDownGrid->Grid);
}

TDBLookupGridEhOptions TColumnEh::GetDropDownOptions() { return FDropDownBox->Options(); }

void TColumnEh::SetDropDownOptions(TDBLookupGridEhOptions Value)
{
    FDropDownBox->SetOptions(Value);
    if (FDropDownGrid)
        FDropDownGrid->Grid.SetLookupOptions(Value);
}
