// The filter row under the titles: the grid-wide settings, which columns have a filter cell,
// activating and leaving the row, placing and loading its editor, painting a filter cell, and
// applying all column conditions.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"
#include "datagrid/DBGridEhDraw.h"
#include "datagrid/DBGridEhFilterRow.h"
#include "datagrid/DBGridEhStyle.h"

#include "platform/data/DataSet.h"

// --- Grid-wide settings -------------------------------------------------------------------------

void TSTDBGridEhFilter::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TSTDBGridEhFilter*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetVisible(source->FVisible);
    FLocal = source->FLocal;
}

TPersistent* TSTDBGridEhFilter::GetOwner() { return FGrid; }

void TSTDBGridEhFilter::SetLocation(TSTFilterLocationEh Value)
{
    if (Value == FLocation)
        return;
    FLocation = Value;
    FGrid->DeactivateFilterRow();
    FGrid->NotifyLayoutChanged();
}

void TSTDBGridEhFilter::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    if (!Value)
        FGrid->DeactivateFilterRow();
    FGrid->NotifyLayoutChanged();
}

void TCustomDBGridEh::SetSTFilter(TSTDBGridEhFilter* Value) { FSTFilter->Assign(Value); }

// --- Filter cells -------------------------------------------------------------------------------

bool TCustomDBGridEh::FilterRowUnderTitles() const
{
    return FSTFilter->Visible() && FSTFilter->Location() == TSTFilterLocationEh::stflUnderTitleFilterEh;
}

int TCustomDBGridEh::FilterRowInTitleArea() { return FilterRowUnderTitles() ? 1 : 0; }

bool TCustomDBGridEh::ColumnHasFilterCell(int Index) const
{
    if (Index < 0 || Index >= Columns()->Count())
        return false;
    const TColumnEh* column = Columns()->ColumnAt(Index);
    return column->Visible() && column->STFilter()->Visible();
}

String TCustomDBGridEh::FilterCellText(int Index) const
{
    return ColumnHasFilterCell(Index) ? Columns()->ColumnAt(Index)->STFilter()->TypedText() : String();
}

bool TCustomDBGridEh::IsFilterRowPoint(int, int ARow, TPoint)
{
    return FilterRowInTitleArea() > 0 && ARow == RowsAboveData() - 1;
}

void TCustomDBGridEh::SetFilterRowActive(bool Value)
{
    if (Value == FFilterRowActive)
        return;
    FFilterRowActive = Value;
    InvalidateTitleRows();
}

// --- Activating and leaving ---------------------------------------------------------------------

void TCustomDBGridEh::ActivateFilterCell(int Index)
{
    if (!FilterRowUnderTitles() || !ColumnHasFilterCell(Index))
        return;
    if (DataLink()->Active())
        DataLink()->DataSet()->CheckBrowseMode();
    if (FFilterEditor == nullptr) {
        FFilterEditor = CreateFilterEditorObject();
        FFilterEditor->SetVisible(false);
        FFilterEditor->SetParent(this);
        FFilterEditor->SetInplaceEditHolder(this);
        FFilterEditor->Font()->Assign(Font());
        FFilterEditor->Font()->SetColor(clBlue);
        FFilterEditor->SetColor(MixColors(clWindow, FixedColor(), 8));
        FFilterEditor->SetFlat(Flat());
        FFilterEditor->OnKeyPress = [this](TObject* Sender, Char& Key) { FilterEditKeyPress(Sender, Key); };
    }
    if (FFilterEditor->Visible() && FFilterColumn != Index)
        HideFilterEditor();
    FFilterColumn = Index;
    SetFilterRowActive(true);
    ChangeEditorMode(false);
    const int gridCol = DataColToGridCol(Index);
    if (Options().Contains(dgRowSelect))
        ScrollCellIntoView(TGridCoord{gridCol, Row()}, true, false);
    else
        FocusDataColumn(Index);
    InvalidateTitleRows();
    UpdateFilterEditor(true);
}

TInplaceFilterEditEh* TCustomDBGridEh::CreateFilterEditorObject() { return new TInplaceFilterEditEh(this); }

void TCustomDBGridEh::HideFilterEditor()
{
    if (FFilterEditor == nullptr || !FFilterEditor->Visible())
        return;
    FFilterEditor->HideInplace();
    const int index = FFilterColumn;
    // The text goes to its column last: a text that does not parse raises with the row left.
    InvalidateOneCell(DataColToGridCol(index), RowsAboveData() - 1);
    CommitFilterCellText();
    FFilterEditor->SetColumn(nullptr);
}

void TCustomDBGridEh::DeactivateFilterRow()
{
    if (FSTFilter->Updating())
        return;
    const bool wasActive = FFilterRowActive;
    LeaveFilterRow();
    if (wasActive)
        RefreshEditorState();
}

void TCustomDBGridEh::LeaveFilterRow()
{
    SetFilterRowActive(false);
    HideFilterEditor();
}

void TCustomDBGridEh::RefreshEditorState()
{
    ChangeEditorMode(Options().Contains(dgAlwaysShowEditor) && !FFilterRowActive);
}

void TCustomDBGridEh::EnterEditorMode()
{
    // The filter row's text goes to its column before the cell editor opens; the opening under
    // way is the editor state, so none is refreshed here.
    if (FFilterRowActive && !FSTFilter->Updating())
        LeaveFilterRow();
    ScrollRowPanelColumnIntoView();
    TCustomGridEh::EnterEditorMode();
}

bool TCustomDBGridEh::CanShowFilterEditor()
{
    return FFilterRowActive && Selection()->SelectionType() == TDBGridEhSelectionType::gstNon;
}

void TCustomDBGridEh::CommitFilterCellText()
{
    TColumnEh* column = FFilterEditor == nullptr ? nullptr : FFilterEditor->Column();
    if (column != nullptr && column->Field() != nullptr)
        column->STFilter()->SetExpressionText(FFilterEditor->Text());
}

void TCustomDBGridEh::StoreFilterEditorText()
{
    if (FFilterEditor != nullptr && FFilterEditor->Visible())
        CommitFilterCellText();
}

// --- The editor ---------------------------------------------------------------------------------

void TCustomDBGridEh::UpdateFilterEditor(bool Reload)
{
    if (FSTFilter->Updating() || FFilterEditor == nullptr)
        return;
    if (!FilterRowUnderTitles() || !ColumnHasFilterCell(FFilterColumn) || !FFilterRowActive) {
        DeactivateFilterRow();
        return;
    }
    TRect cell = CellPixelRect(DataColToGridCol(FFilterColumn), RowsAboveData() - 1);
    if (Columns()->ColumnAt(FFilterColumn)->STFilter()->Executing()) {
        FFilterEditor->SetBoundsRect(cell);
        return;
    }
    cell.Left += 1;
    if (!CanShowFilterEditor()) {
        FFilterEditor->HideInplace();
        return;
    }
    if (Reload) {
        LoadFilterEditor(FFilterColumn);
        FFilterEditor->SelectAll();
    }
    const bool wasFocused = HasInputFocus() || FFilterEditor->Focused();
    FFilterEditor->MoveToRect(cell);
    if (wasFocused && FFilterEditor->Visible() && !FFilterEditor->Focused())
        FFilterEditor->SetFocus();
}

void TCustomDBGridEh::LoadFilterEditor(int Index)
{
    TColumnEh* column = Columns()->ColumnAt(Index);
    TSTColumnFilterEh* filter = column->STFilter();
    FFilterEditor->SetColumn(column);
    FFilterEditor->Items()->Clear();
    FFilterEditor->OnAcceptCloseUp = [this](TObject* Sender, bool& Accept) { FilterEditCloseUp(Sender, Accept); };
    FFilterEditor->OnCloseUp = [this](TObject*, bool Accept) {
        if (Accept && Center() != nullptr && Center()->FilterEditApplyOnChange() != 0)
            ApplyFilterRow();
    };
    FFilterEditor->OnItemsRequest = [this](TObject* Sender) { FilterEditRequestItems(Sender); };
    FFilterEditor->SetValue(Variant::Null());
    FFilterEditor->EditButton()->SetVisible(true);
    FFilterEditor->DropDownBox()->SetSizable(true);
    if (!filter->EffectiveKeyField().isEmpty())
        FFilterEditor->SetKeyDisplayText(filter->KeyValue(), filter->TypedText());
    else
        FFilterEditor->SetText(filter->TypedText());
    FFilterEditor->DropDownBox()->SetWidth(filter->DropDownWidth() > 0 ? filter->DropDownWidth() : 100);
    FFilterEditor->DropDownBox()->SetRows(filter->DropDownRows() > 0 ? filter->DropDownRows() : 17);
}

// --- Painting -----------------------------------------------------------------------------------

void TCustomDBGridEh::PaintFilterCell(TColumnEh* Column, int AreaCol, TRect ARect, TGridDrawState State,
                                      TCellAreaEh Area)
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(clBlack);
    canvas->Font()->Assign(Font());
    canvas->Font()->SetColor(clBlue);
    TColor background = MixColors(clWindow, FixedColor(), 8);
    PickFooterCellHighlight(Area, State, background, canvas->Font());
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(background);
    TRect textRect = ARect;
    const bool dropDown = Column->Field() != nullptr;
    const int buttonWidth = EditButtonWidth() + (Flat() ? 1 : 0);
    if (dropDown)
        textRect.Right = std::max(textRect.Left, textRect.Right - buttonWidth);
    WriteTextInCell(canvas, textRect, true, TAlignment::taLeftJustify, Column->Layout(), false, false,
                    FilterCellText(AreaCol), 1, 1);
    if (!dropDown)
        return;
    const bool editing = FFilterRowActive && FFilterColumn == AreaCol;
    const int transparency = Designing() ? 30 : editing ? 0 : State.Contains(gdHotTrack) ? 30 : 80;
    const TRect button{textRect.Right, ARect.Top, ARect.Right, std::min(ARect.Bottom, ARect.Top + EditButtonHeight())};
    PaintCellButton(canvas, button, TEditButtonStyleEh::ebsDropDownEh, nullptr, Flat(), false, transparency);
    if (button.Bottom < ARect.Bottom)
        canvas->FillRect(TRect{button.Left, button.Bottom, button.Right, ARect.Bottom});
}

// --- Applying -----------------------------------------------------------------------------------

void TCustomDBGridEh::ApplyFilterRow()
{
    // A text that does not parse raises here, before anything is applied.
    StoreFilterEditorText();
    struct TAfterApply {
        TCustomDBGridEh* Grid;
        ~TAfterApply()
        {
            Grid->UpdateFilterEditor(true);
            if (Grid->SumList()->Active())
                Grid->SumList()->RecalculateAll();
            Grid->Invalidate();
        }
    } after{this};
    if (OnApplyFilter)
        OnApplyFilter(this);
    else
        DefaultApplyFilter();
}

void TCustomDBGridEh::DefaultApplyFilter()
{
    if (Center() == nullptr)
        return;
    SuspendImmediateUpdate();
    struct TResume {
        TCustomDBGridEh* Grid;
        ~TResume() { Grid->ResumeImmediateUpdate(); }
    } resume{this};
    Center()->ApplyFilter(this);
}

void TCustomDBGridEh::ClearAllColumnFilters()
{
    DeactivateFilterRow();
    for (int i = 0; i < Columns()->Count(); ++i)
        Columns()->ColumnAt(i)->STFilter()->ClearFilter();
    Invalidate();
}

void TCustomDBGridEh::ForgetFilterColumn(TColumnEh* Column)
{
    if (FFilterEditor != nullptr && FFilterEditor->Column() == Column) {
        FFilterEditor->SetColumn(nullptr);
        FFilterEditor->HideInplace();
        FFilterRowActive = false;
        FFilterColumn = -1;
    }
    if (FTitleFilterColumn == Column) {
        if (TitleFilterListShown())
            FTitleFilterList->Hide();
        FTitleFilterColumn = nullptr;
    }
}
