// The lookup grid's columns: each with its cell of the special row.
#include "datagrid/DBLookupGridsEh.h"

// --- The special cell -------------------------------------------------------------------------------

TGridColumnSpecCellEh::TGridColumnSpecCellEh(TDBLookupGridColumnEh* Column)
    : FColumn(Column), FFont(std::make_unique<TFont>())
{
    FFont->OnChange = [this](TObject*) {
        if (!FRefreshingFont)
            FFontAssigned = true;
    };
}

TGridColumnSpecCellEh::~TGridColumnSpecCellEh() = default;

TPersistent* TGridColumnSpecCellEh::GetOwner() { return FColumn; }

TSpecRowEh* TGridColumnSpecCellEh::GridSpecRow() const
{
    const TDBLookupGridEh* grid = FColumn != nullptr ? FColumn->LookupGrid() : nullptr;
    return grid != nullptr ? grid->SpecRow() : nullptr;
}

void TGridColumnSpecCellEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TGridColumnSpecCellEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetText(source->Text());
    SetColor(source->Color());
    if (source->FontAssigned())
        SetFont(source->Font());
}

String TGridColumnSpecCellEh::Text() const
{
    if (FTextAssigned)
        return FText;
    const TSpecRowEh* row = GridSpecRow();
    return row != nullptr ? row->CellTextAt(FColumn->Index()) : String();
}

void TGridColumnSpecCellEh::SetText(const String& Value)
{
    FText = Value;
    FTextAssigned = true;
}

TColor TGridColumnSpecCellEh::Color() const
{
    if (FColorAssigned)
        return FColor;
    const TSpecRowEh* row = GridSpecRow();
    return row != nullptr ? row->Color() : FColor;
}

void TGridColumnSpecCellEh::SetColor(TColor Value)
{
    FColor = Value;
    FColorAssigned = true;
}

TFont* TGridColumnSpecCellEh::Font() const
{
    if (!FFontAssigned) {
        if (const TSpecRowEh* row = GridSpecRow()) {
            // Refreshed from the special row's font without counting as an own font.
            FRefreshingFont = true;
            FFont->Assign(row->Font());
            FRefreshingFont = false;
        }
    }
    return FFont.get();
}

void TGridColumnSpecCellEh::SetFont(TFont* Value) { FFont->Assign(Value); }

// --- The lookup column ------------------------------------------------------------------------------

TDBLookupGridColumnEh::TDBLookupGridColumnEh(TCollection* Collection)
    : TColumnEh(Collection), FSpecCell(std::make_unique<TGridColumnSpecCellEh>(this))
{
}

TDBLookupGridColumnEh::~TDBLookupGridColumnEh() = default;

TDBLookupGridEh* TDBLookupGridColumnEh::LookupGrid() const { return dynamic_cast<TDBLookupGridEh*>(OwningGrid()); }

void TDBLookupGridColumnEh::Assign(TPersistent* Source)
{
    TColumnEh::Assign(Source);
    if (auto* source = dynamic_cast<TDBLookupGridColumnEh*>(Source))
        FSpecCell->Assign(source->SpecCell());
}
