// The data grid's cells: which area a cell lies in, and the painters of indicator, title, data
// and footer cells. A data cell is painted with the dataset on its row's record, so fields and
// the cell events read that record.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhDraw.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"

#include <algorithm>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

// The incremental search's arrow colour.
constexpr TColor IncSearchArrowColor = RGB(255, 255, 0);

// Puts display row Index's record under the fields while a cell is painted.
class TRowRecordScope {
public:
    TRowRecordScope(TCustomDBGridEh* Grid, int Index) : FGrid(Grid) { FGrid->SwitchToRowRecord(Index); }
    ~TRowRecordScope() { FGrid->RestoreRowRecord(); }
    TRowRecordScope(const TRowRecordScope&) = delete;
    TRowRecordScope& operator=(const TRowRecordScope&) = delete;

private:
    TCustomDBGridEh* FGrid;
};

bool DataSetEditingRecord(const TDataSet* DataSet)
{
    return DataSet != nullptr &&
           (DataSet->State() == TDataSetState::dsEdit || DataSet->State() == TDataSetState::dsInsert);
}

}  // namespace

// --- Classification -------------------------------------------------------------------------------

TCustomDBGridEh::TCellAreaEh TCustomDBGridEh::GetCellType(int ACol, int ARow, int& AreaCol, int& AreaRow)
{
    TCellAreaEh area;
    const int indicator = IndicatorOffset();
    area.Col = ACol < indicator ? TCellAreaColEh::cacIndicator : TCellAreaColEh::cacData;
    AreaCol = ACol < indicator ? ACol : ACol - indicator;
    const int titleRows = TitleRowsShown();
    const int above = RowsAboveData();
    // Footer rows are the contra rows after the last data row.
    if (ARow < titleRows) {
        area.Row = TCellAreaRowEh::carTitle;
        AreaRow = ARow;
    } else if (ARow < above) {
        area.Row = TCellAreaRowEh::carFilter;
        AreaRow = ARow - titleRows;
    } else if (ARow < RowCount()) {
        area.Row = TCellAreaRowEh::carData;
        AreaRow = ARow - above;
    } else {
        area.Row = TCellAreaRowEh::carFooter;
        AreaRow = ARow - RowCount();
    }
    return area;
}

void TCustomDBGridEh::PaintCell(int ACol, int ARow, TGridDrawState State, TRect ARect)
{
    int areaCol = 0;
    int areaRow = 0;
    const TCellAreaEh area = GetCellType(ACol, ARow, areaCol, areaRow);
    // A cell shows what it can: a field that fails to read leaves it filled, never a failed paint.
    try {
        if (area.Col == TCellAreaColEh::cacIndicator)
            PaintIndicatorCell(ACol, ARow, areaCol, areaRow, ARect, State, area);
        else if (areaCol >= Columns()->Count())
            Canvas()->FillRect(ARect);
        else if (area.Row == TCellAreaRowEh::carFooter)
            PaintFooterCell(ACol, ARow, areaCol, areaRow, ARect, State, area);
        else if (area.Row == TCellAreaRowEh::carData)
            PaintDataCell(ACol, ARow, areaCol, areaRow, ARect, State, area);
        else
            PaintTitleCell(ACol, ARow, areaCol, areaRow, ARect, State, area);
    } catch (const std::exception&) {
        Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas()->FillRect(ARect);
    }
}

// --- Looks ----------------------------------------------------------------------------------------

bool TCustomDBGridEh::UseCell3DLook(TCellAreaEh Area, int AreaCol)
{
    if (Area.Row == TCellAreaRowEh::carFooter)
        return OptionsEh().Contains(dghFooter3D);
    if (Area.Col == TCellAreaColEh::cacIndicator || Area.Row != TCellAreaRowEh::carData)
        return OptionsEh().Contains(dghFixed3D);
    if (AreaCol < FrozenCols())
        return OptionsEh().Contains(dghFrozen3D);
    return OptionsEh().Contains(dghData3D);
}

bool TCustomDBGridEh::UseCellThemedLook(bool Raised) { return Raised && ThemesActive() && !Flat(); }

bool TCustomDBGridEh::CellInSelection(int, int, int) { return false; }

bool TCustomDBGridEh::PickDataCellHighlight(int DataCol, int DataRow, TGridDrawState& State, TColor& Background,
                                            TFont* Font)
{
    TDataCellHighlightEh cell;
    cell.InSelection = DataLink()->Active() && CellInSelection(DataColToGridCol(DataCol), DataRow + RowsAboveData(), DataCol);
    cell.NothingSelected = !cell.InSelection;
    cell.GridFocused = HoldsWindowFocus();
    cell.HighlightFocus = OptionsEh().Contains(dghHighlightFocus);
    cell.RowHighlight = OptionsEh().Contains(dghRowHighlight);
    cell.RowSelect = Options().Contains(dgRowSelect);
    cell.AlwaysShowSelection = Options().Contains(dgAlwaysShowSelection);
    cell.CurrentRow = IsCurrentRecordRow(DataRow);
    cell.CurrentCell = cell.CurrentRow && DataColToGridCol(DataCol) == Col();
    cell.UpdatesSuppressed = ImmediateUpdateSuspended();
    return PickDataCellHighlightColors(cell, State, Background, Font);
}

void TCustomDBGridEh::PickFooterCellHighlight(TCellAreaEh Area, TGridDrawState State, TColor& Background, TFont* Font)
{
    const bool indicatorOrTitle =
        Area.Col == TCellAreaColEh::cacIndicator ||
        Area.Row == TCellAreaRowEh::carTitle || Area.Row == TCellAreaRowEh::carFilter;
    PickFixedCellHighlightColors(State.Contains(gdSelected), indicatorOrTitle, HoldsWindowFocus(), Background, Font);
}

// --- Indicator ------------------------------------------------------------------------------------

void TCustomDBGridEh::PaintIndicatorCell(int, int, int, int AreaRow, TRect ARect, TGridDrawState State,
                                         TCellAreaEh Area)
{
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    TColor background = Area.Row == TCellAreaRowEh::carFooter ? FooterColor() : FixedColor();
    if (Area.Row != TCellAreaRowEh::carData)
        PickFooterCellHighlight(Area, State, background, canvas->Font());
    const bool raised = UseCell3DLook(Area, 0);
    const bool themed = UseCellThemedLook(raised);
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(background);
    if (Area.Row == TCellAreaRowEh::carData && themed && IsCurrentRecordRow(AreaRow))
        canvas->Brush()->SetColor(BlendColors(background, clBlack, 10));
    FillFixedCellBackground(canvas, ARect, themed, raised, Flat(), TRect(), false, false);

    const bool showRecNo = OptionsEh().Contains(dghShowRecNo);
    TDataSet* dataSet = DataLink()->Active() ? DataLink()->DataSet() : nullptr;
    TRect glyphArea = ARect;
    String number;
    if (Area.Row == TCellAreaRowEh::carData && dataSet != nullptr && AreaRow < DisplayRecordCount()) {
        const bool current = IsCurrentRecordRow(AreaRow);
        if (showRecNo) {
            TRowRecordScope record(this, AreaRow);
            const bool inserting = current && dataSet->State() == TDataSetState::dsInsert;
            const int recNo = dataSet->RecNo();
            if (!inserting && recNo >= 1)
                number = QString::number(recNo);
        }
        if (current && Options().Contains(dgIndicator)) {
            const int kind = dataSet->State() == TDataSetState::dsEdit     ? igkEditingEh
                             : dataSet->State() == TDataSetState::dsInsert ? igkInsertingEh
                                                                            : igkCurrentEh;
            if (showRecNo)
                glyphArea.Left = std::max(ARect.Left, ARect.Right - GridIndicatorImages()->Width() - 1);
            PaintIndicatorGlyph(canvas, glyphArea, kind, ThemesActive(), IncSearchArrowColor);
            if (showRecNo)
                ARect.Right = glyphArea.Left;
        }
    } else if (Area.Row == TCellAreaRowEh::carFooter && AreaRow == 0 && showRecNo && dataSet != nullptr) {
        number = QString::number(dataSet->RecordCount());
    }
    if (!number.isEmpty()) {
        canvas->Font()->SetSize(std::max(1, Font()->Size() - 1));
        WriteTextInCell(canvas, ARect, false, TAlignment::taRightJustify, TTextLayout::tlCenter, false, false, number,
                        0, 1);
    }
}

// --- Titles ---------------------------------------------------------------------------------------

void TCustomDBGridEh::PaintTitleCell(int, int, int AreaCol, int, TRect ARect, TGridDrawState State, TCellAreaEh Area)
{
    TCanvas* canvas = Canvas();
    TColumnEh* column = Columns()->ColumnAt(AreaCol);
    TColumnTitleEh* title = column->Title();
    TColor background = title->Color();
    TSortMarkerEh marker = title->SortMarker();
    if (Area.Row == TCellAreaRowEh::carFilter) {
        // No column offers a filter row here: the cell is the title's colour.
        PickFooterCellHighlight(Area, State, background, canvas->Font());
        canvas->Brush()->SetColor(background);
        canvas->FillRect(ARect);
        return;
    }
    canvas->Font()->Assign(title->Font());
    if (OnGetBtnParams && column->Field() != nullptr) {
        OnGetBtnParams(this, column, canvas->Font(), background, marker, false);
        canvas->Font()->Assign(title->Font());
        OnGetBtnParams(this, column, canvas->Font(), background, marker, false);
    }
    PickFooterCellHighlight(Area, State, background, canvas->Font());
    const bool raised = UseCell3DLook(Area, AreaCol);
    const bool themed = UseCellThemedLook(raised);
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(background);

    String caption = title->Caption();
    TRect leafRect = ARect;
    THeadTreeNode* leaf = LeafOfColumn(AreaCol);
    if (MultiTitleInEffect() && leaf != nullptr) {
        caption = leaf->Caption;
        leafRect = TitleLeafRect(leaf, ARect);
        TFont leafFont;
        leafFont.Assign(canvas->Font());
        canvas->Font()->Assign(TitleFont());
        canvas->Brush()->SetColor(FixedColor());
        PaintTitlePartsAbove(canvas, leaf, ARect, title->EndEllipsis(), raised && !(Flat() && themed),
                             FixedCellLineColor());
        canvas->Font()->Assign(&leafFont);
        canvas->Brush()->SetColor(background);
    }
    FillFixedCellBackground(canvas, leafRect, themed, raised, Flat(), TRect(), false, false);
    TTitleLookEh look;
    look.Raised = raised;
    look.Flat = Flat();
    look.Highlighted = State.Contains(gdSelected);
    look.SortMarker = marker;
    look.SortedColumns = SortedColumns()->Count();
    look.VerticalMargin = VTitleMargin();
    PaintColumnTitleContents(canvas, leafRect, column, caption, TitleImages(), look);
}

// --- Data -----------------------------------------------------------------------------------------

void TCustomDBGridEh::PaintDataCell(int ACol, int ARow, int AreaCol, int AreaRow, TRect ARect, TGridDrawState State,
                                    TCellAreaEh Area)
{
    TCanvas* canvas = Canvas();
    TColumnEh* column = Columns()->ColumnAt(AreaCol);
    canvas->Font()->Assign(column->Font());
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(column->Color());
    if (!DataLink()->Active() || AreaRow >= DisplayRecordCount()) {
        canvas->FillRect(ARect);
        return;
    }
    TRowRecordScope record(this, AreaRow);

    TColCellParamsEh& params = FCellParams;
    column->InitCellParams(&params);
    params.State = State;
    params.Col = ACol;
    params.Row = ARow;
    params.CellRect = ARect;
    params.Frozen = AreaCol < FrozenCols();
    RaiseGetCellParams(column, params.Font(), params.Background, State);
    column->FireGetCellParams(false, &params);

    bool raised = UseCell3DLook(Area, AreaCol);
    if (params.Frozen && !raised)
        raised = OptionsEh().Contains(dghFixed3D);
    const bool themed = UseCellThemedLook(raised);
    const bool currentRow = IsCurrentRecordRow(AreaRow);
    const bool currentCell = currentRow && ACol == Col();

    TRect contents = ARect;
    const bool buttons = column->AlwaysShowEditButton() && !params.Frozen;
    if (buttons)
        contents.Right = std::max(contents.Left, contents.Right - column->EditButtonsTotalWidth());
    if (params.Frozen && !params.KeepOwnColors)
        params.Background = FixedColor();
    TGridDrawState state = State;
    bool highlighted = false;
    const bool keepsOwn = params.KeepOwnColors && currentRow && (currentCell || Options().Contains(dgRowSelect));
    if (!keepsOwn)
        highlighted = PickDataCellHighlight(AreaCol, AreaRow, state, params.Background, params.Font());
    params.State = state;

    if (column->HideDuplicates() && !params.Frozen && AreaRow > 0) {
        // The row above shows the same text: this row's is left out, so equal values read as one block.
        const String text = params.Text;
        SwitchToRowRecord(AreaRow - 1);
        TColCellParamsEh above;
        column->InitCellParams(&above);
        TColor aboveBackground = above.Background;
        RaiseGetCellParams(column, above.Font(), aboveBackground, TGridDrawState());
        column->FireGetCellParams(false, &above);
        SwitchToRowRecord(AreaRow);
        if (above.Text == text) {
            params.Text.clear();
            params.ImageIndex = -1;
        }
    }

    if (DefaultDrawing() && ARect.Width() > 0) {
        TDataCellLookEh look;
        look.Raised = raised;
        look.Themed = themed;
        look.Flat = Flat();
        look.DrawGraphicData = DrawGraphicData();
        canvas->Brush()->SetColor(params.Background);
        if (params.Frozen)
            FillFixedCellBackground(canvas, contents, themed, raised, Flat(), TRect(), false, false);
        PaintDataCellContents(canvas, contents, column, &params, look, !params.Frozen);
        if (buttons) {
            const bool focusedLook = currentCell || (currentRow && OptionsEh().Contains(dghRowHighlight));
            canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
            canvas->Brush()->SetColor(params.Background);
            PaintCellEditButtons(canvas, TRect{contents.Right, ARect.Top, ARect.Right, ARect.Bottom}, column,
                                 EditButtonHeight(), Flat(), CellButtonTransparency(Designing(), focusedLook, currentRow));
        }
        TField* field = column->Field();
        if (!params.Frozen && column->HighlightRequired() && currentRow && field != nullptr && field->Required() &&
            field->IsNull() && DataSetEditingRecord(DataLink()->DataSet()))
            PaintRequiredValueMark(canvas, ARect);
        if (raised && !themed) {
            TRect frame = ARect;
            canvas->DrawEdge(frame, highlighted ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_RECT);
        }
    }
    if (!Columns()->IsCustomized())
        RaiseDrawDataCell(ARect, column->Field(), state);
    RaiseDrawColumnCell(ARect, AreaCol, column, state);
}

void TCustomDBGridEh::RaiseDrawColumnCell(const TRect& Rect, int DataCol, TColumnEh* Column, TGridDrawState State)
{
    if (OnDrawColumnCell)
        OnDrawColumnCell(this, Rect, DataCol, Column, State);
}

void TCustomDBGridEh::RaiseDrawDataCell(const TRect& Rect, TField* Field, TGridDrawState State)
{
    if (OnDrawDataCell)
        OnDrawDataCell(this, Rect, Field, State);
}

// --- Footers --------------------------------------------------------------------------------------

void TCustomDBGridEh::PaintFooterCell(int, int, int AreaCol, int AreaRow, TRect ARect, TGridDrawState State,
                                      TCellAreaEh Area)
{
    TCanvas* canvas = Canvas();
    TColumnEh* column = Columns()->ColumnAt(AreaCol);
    TColumnFooterEh* footer = column->FooterForRow(AreaRow);
    canvas->Font()->Assign(footer->Font());
    TColor background = footer->Color();
    TAlignment alignment = footer->Alignment();
    String text;
    ComputeFooterText(AreaRow, column, text);
    RaiseGetFooterParams(AreaCol, AreaRow, column, canvas->Font(), background, alignment, State, text);
    PickFooterCellHighlight(Area, State, background, canvas->Font());
    const bool raised = UseCell3DLook(Area, AreaCol);
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(background);
    TRect area = ARect;
    if (raised)
        area.Inflate(-1, -1);
    const int margin = raised ? 1 : 2;
    canvas->FillRect(ARect);
    const bool wrap = footer->WordWrap() && ARect.Height() > 2 * canvas->GetTextMetrics().tmHeight;
    WriteTextInCell(canvas, area, false, alignment, TTextLayout::tlCenter, footer->EndEllipsis(), wrap, text,
                    Flat() ? margin - 1 : margin, margin);
    if (raised) {
        TRect frame = ARect;
        canvas->DrawEdge(frame, BDR_RAISEDINNER, BF_RECT);
    }
    if (OnDrawFooterCell)
        OnDrawFooterCell(this, AreaCol, AreaRow, column, ARect, State);
}
