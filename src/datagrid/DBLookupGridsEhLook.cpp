// The lookup grid's look: its height fitted to whole rows, the special row's cells under the
// titles, the key's row highlighted, and the options that switch the data grid's.
#include "datagrid/DBLookupGridsEh.h"

#include "controls/ToolCtrlsEhUtils.h"
#include "datagrid/DBGridEhDraw.h"
#include "platform/core/ScopeExit.h"
#include "platform/data/DataSet.h"

#include <algorithm>

// --- Options ----------------------------------------------------------------------------------------

void TDBLookupGridEh::SetLookupOptions(TDBLookupGridEhOptions Value)
{
    if (Value == FLookupOptions)
        return;
    FLookupOptions = Value;
    TDBGridOptions options = Options() - (dgColumnResize | dgColLines | dgRowLines);
    if (Value.Contains(dlgColumnResizeEh))
        options.Include(dgColumnResize);
    if (Value.Contains(dlgColLinesEh))
        options.Include(dgColLines);
    if (Value.Contains(dlgRowLinesEh))
        options.Include(dgRowLines);
    SetOptions(options);
    TDBGridEhOptions optionsEh = OptionsEh() - (dghAutoSortMarking | dghMultiSortMarking);
    if (Value.Contains(dlgAutoSortMarkingEh))
        optionsEh.Include(dghAutoSortMarking);
    if (Value.Contains(dlgMultiSortMarkingEh))
        optionsEh.Include(dghMultiSortMarking);
    SetOptionsEh(optionsEh);
    FitHeightToRows(FRows);
}

void TDBLookupGridEh::SetShowTitles(bool Value)
{
    if (Value == ShowTitles())
        return;
    TDBGridOptions options = Options();
    if (Value)
        options.Include(dgTitles);
    else
        options.Exclude(dgTitles);
    SetOptions(options);
    FitHeightToRows(FRows);
}

void TDBLookupGridEh::SetUseMultiTitle(bool Value)
{
    TCustomDBGridEh::SetUseMultiTitle(Value);
    FitHeightToRows(FRows);
}

void TDBLookupGridEh::SetAutoFitColWidths(bool Value)
{
    if (Value == FListAutoFitColWidths)
        return;
    FListAutoFitColWidths = Value;
    // The data grid hides the horizontal bar while fitting; the vertical one stays its own.
    TCustomDBGridEh::SetAutoFitColWidths(Value);
    FitHeightToRows(FRows);
    UpdateVertScrollBar();
    UpdateListLayout();
}

void TDBLookupGridEh::UpdateListLayout()
{
    if (FInLayoutUpdate)
        return;
    FInLayoutUpdate = true;
    TScopeExit done([this] { FInLayoutUpdate = false; });
    FitHeightToRows(FRows);
}

void TDBLookupGridEh::AfterColWidthsChange()
{
    TCustomDBGridEh::AfterColWidthsChange();
    if (FListAutoFitColWidths && HandleAllocated())
        SetClientWidth(ColumnsTotalWidth());
}

// --- Heights ----------------------------------------------------------------------------------------

int TDBLookupGridEh::BorderSize() { return HandleAllocated() ? Height() - ClientHeight() : 0; }

int TDBLookupGridEh::SpecRowHeight()
{
    return DefaultRowHeight() + (Options().Contains(dgRowLines) ? GridLineWidth() : 0);
}

int TDBLookupGridEh::DataRowHeight() { return SpecRowHeight(); }

int TDBLookupGridEh::TitleRowsHeight()
{
    if (!Options().Contains(dgTitles))
        return 0;
    return RowHeightAt(0) + (Options().Contains(dgRowLines) ? GridLineWidth() : 0);
}

void TDBLookupGridEh::FitHeightToRows(int ARows)
{
    FRows = std::clamp(ARows, 1, 100);
    FSpecRowHeight = SpecRowShown() ? SpecRowHeight() : 0;
    SetHeight(TitleRowsHeight() + FRows * DataRowHeight() + BorderSize() + FSpecRowHeight);
}

void TDBLookupGridEh::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FSpecRowHeight = SpecRowShown() ? SpecRowHeight() : 0;
    const int fixed = BorderSize() + TitleRowsHeight() + FSpecRowHeight;
    const int rowHeight = std::max(1, DataRowHeight());
    FRows = std::max(1, (AHeight - fixed) / rowHeight);
    TCustomDBGridEh::SetBounds(ALeft, ATop, AWidth, fixed + FRows * rowHeight);
}

void TDBLookupGridEh::CreateWnd()
{
    // The rows asked for before the window had its border: sizes set while the window is made
    // read their rows from a height fitted without it.
    const int rows = FRows;
    TCustomDBGridEh::CreateWnd();
    FitHeightToRows(rows);
}

int TDBLookupGridEh::ColumnsTotalWidth()
{
    const int line = Options().Contains(dgColLines) ? GridLineWidth() : 0;
    int total = 0;
    for (int i = 0; i < VisibleColumns()->Count(); ++i)
        total += VisibleColumns()->ColumnAt(i)->Width() + line;
    return total;
}

void TDBLookupGridEh::DataAreaRect(TRect& Rect)
{
    const int firstRow = RowsAboveData();
    const int lastRow = std::max(firstRow, RowCount() - 1);
    Rect = CellRangePixelRect(IndicatorOffset(), firstRow, ColCount() - 1, lastRow);
}

int TDBLookupGridEh::FilterRowInTitleArea() { return TCustomDBGridEh::FilterRowInTitleArea() + (SpecRowShown() ? 1 : 0); }

// --- Painting ---------------------------------------------------------------------------------------

bool TDBLookupGridEh::UseCell3DLook(TCellAreaEh Area, int AreaCol)
{
    if (Area.Row == TCellAreaRowEh::carFilter && SpecRowShown())
        return false;
    return TCustomDBGridEh::UseCell3DLook(Area, AreaCol);
}

void TDBLookupGridEh::PaintTitleCell(int ACol, int ARow, int AreaCol, int AreaRow, TRect ARect, TGridDrawState State,
                                     TCellAreaEh Area)
{
    // The special row is the last row above the data.
    if (Area.Row == TCellAreaRowEh::carFilter && SpecRowShown() && ARow == RowsAboveData() - 1)
        PaintSpecRowCell(AreaCol, ARect);
    else
        TCustomDBGridEh::PaintTitleCell(ACol, ARow, AreaCol, AreaRow, ARect, State, Area);
}

void TDBLookupGridEh::PaintSpecRowCell(int AreaCol, TRect ARect)
{
    TCanvas* canvas = Canvas();
    auto* column = dynamic_cast<TDBLookupGridColumnEh*>(Columns()->ColumnAt(AreaCol));
    canvas->Font()->Assign(column != nullptr ? column->SpecCell()->Font() : FSpecRow->Font());
    TColor background = column != nullptr ? column->SpecCell()->Color() : FSpecRow->Color();
    if (FSpecRowSelected) {
        background = clHighlight;
        canvas->Font()->SetColor(clHighlightText);
    }
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(background);
    const String text = column != nullptr ? column->SpecCell()->Text() : FSpecRow->CellTextAt(AreaCol);
    const TAlignment alignment = column != nullptr ? column->Alignment() : TAlignment::taLeftJustify;
    WriteTextInCell(canvas, ARect, true, alignment, TTextLayout::tlCenter, false, false, text, 0, 2);
    if (FSpecRowSelected) {
        // One focus rectangle across the data columns of the row.
        TRect row = CellRangePixelRect(IndicatorOffset(), RowsAboveData() - 1, ColCount() - 1, RowsAboveData() - 1);
        row.Top = ARect.Top;
        row.Bottom = ARect.Bottom;
        canvas->Font()->SetColor(clWindowText);
        canvas->Brush()->SetColor(clWindow);
        canvas->DrawFocusRect(row);
    }
}

bool TDBLookupGridEh::PickDataCellHighlight(int, int DataRow, TGridDrawState& State, TColor& Background, TFont* Font)
{
    State.Exclude(gdSelected);
    State.Exclude(gdFocused);
    if (!FListActive || VarIsNull(FKeyValue) || FSpecRowSelected || !BufferRowHoldsKey(DataRow))
        return false;
    Background = clHighlight;
    Font->SetColor(clHighlightText);
    return true;
}
