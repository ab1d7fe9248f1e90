// The cell parameters: filled from a column and the current record, then offered to the grid's
// and the column's handlers.
#include "datagrid/DBGridEh.h"

void TColumnEh::InitCellParams(TColCellParamsEh* Params) const
{
    Params->Col = -1;
    Params->Row = -1;
    Params->State = TGridDrawState();
    Params->Font()->Assign(Font());
    Params->Background = Color();
    Params->Alignment = Alignment();
    Params->ImageIndex = ValueListIndex();
    Params->Text = ComputeDisplayText();
    Params->CheckboxState = CurrentCheckboxState();
    Params->ReadOnly = ReadOnly();
    Params->TextEditing = TextEditing();
    Params->Frozen = false;
    Params->KeepOwnColors = false;
}

void TColumnEh::FireGetCellParams(bool EditMode, TColCellParamsEh* Params)
{
    if (FOnGetCellParams)
        FOnGetCellParams(this, EditMode, Params);
}

void TColumnEh::SetOnGetCellParams(TGetColCellParamsEventEh Value)
{
    FOnGetCellParams = std::move(Value);
    if (TCustomDBGridEh* grid = OwningGrid())
        grid->InvalidateGrid();
}

bool TColumnEh::EffectiveTextEditing()
{
    TCustomDBGridEh* grid = OwningGrid();
    TColCellParamsEh own;
    TColCellParamsEh* params = grid != nullptr ? grid->CellParams() : &own;
    InitCellParams(params);
    if (!GridLoading())
        FireGetCellParams(false, params);
    return params->TextEditing;
}

bool TColumnEh::CellParamsAllowEditing()
{
    TCustomDBGridEh* grid = OwningGrid();
    TColCellParamsEh own;
    TColCellParamsEh* params = grid != nullptr ? grid->CellParams() : &own;
    // The whole set, not only ReadOnly: a handler deciding by the text or the state sees this record's.
    InitCellParams(params);
    FireGetCellParams(true, params);
    return !params->ReadOnly;
}

void TCustomDBGridEh::RaiseGetCellParams(TColumnEh* Column, TFont* AFont, TColor& Background, TGridDrawState State)
{
    if (OnGetCellParams)
        OnGetCellParams(this, Column, AFont, Background, State);
}
