// A column's drop-down box settings, kept until the lookup list is first dropped down.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSource.h"

TColumnDropDownBoxEh::TColumnDropDownBoxEh(TColumnEh* Column) : FColumn(Column), FSpecRow(std::make_unique<TSpecRowEh>(this)) {}

TColumnDropDownBoxEh::~TColumnDropDownBoxEh() = default;

TPersistent* TColumnDropDownBoxEh::GetOwner() { return FColumn; }

void TColumnDropDownBoxEh::SetListSource(TDataSource* Value)
{
    FListSource = Value;
    if (Value == nullptr || FColumn == nullptr)
        return;
    if (TCustomDBGridEh* grid = FColumn->OwningGrid())
        Value->FreeNotification(grid);
}

void TColumnDropDownBoxEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TColumnDropDownBoxEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FAlign = source->FAlign;
    FAutoDrop = source->FAutoDrop;
    FAutoFitColWidths = source->FAutoFitColWidths;
    FOptions = source->FOptions;
    FRows = source->FRows;
    FWidth = source->FWidth;
    FSizable = source->FSizable;
    FShowTitles = source->FShowTitles;
    FUseMultiTitle = source->FUseMultiTitle;
    SetListSource(source->FListSource);
}
