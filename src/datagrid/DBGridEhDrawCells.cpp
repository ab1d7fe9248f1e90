// The data grid's cells: which area a cell lies in, and the painters of indicator, title, data
// and footer cells. A data cell is painted with the dataset on its row's record, so fields and
// the cell events read that record.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhDraw.h"
#include "datagrid/DBGridEhStyle.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"

#include <algorithm>
#include <exception>

namespace {

// The arrow's colour during an incremental search: the search highlight's yellow.
constexpr TColor IncSearchArrowColor = RGB(255, 255, 0);

bool DataSetEditingRecord(const TDataSet* DataSet)
{
    return DataSet != nullptr &&
           (DataSet->State() == TDataSetState::dsEdit || DataSet->State() == TDataSetState::dsInsert);
}

// A footer that computes its number: cut at the cell's edge, the number would read as another
// one, so one that does not fit ends with the ellipsis.
bool ShowsTotal(const TColumnFooterEh* Footer)
{
    const TFooterValueType kind = Footer->ValueType();
    return kind == TFooterValueType::fvtSum || kind == TFooterValueType::fvtAvg || kind == TFooterValueType::fvtCount;
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
        // Above an open detail panel every cell of the row, its indicator too, keeps the
        // record's own height; the panel's band is the grid's colour where the container
        // leaves it uncovered.
        if (FRowDetailPanel->Visible() && ARow == Row() && area.Row == TCellAreaRowEh::carData &&
            DataLink()->Active()) {
            Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
            Canvas()->Brush()->SetColor(Color());
            Canvas()->FillRect(ARect);
            ARect = RecordPartOfCell(ARow, ARect);
        }
        if (area.Col == TCellAreaColEh::cacIndicator)
            PaintIndicatorCell(ACol, ARow, areaCol, areaRow, ARect, State, area);
        else if (RowPanel()->Active() && area.Row == TCellAreaRowEh::carFooter)
            PaintRowPanelFooterCell(ACol, ARow, areaRow, ARect, State, area);
        else if (RowPanel()->Active() && area.Row == TCellAreaRowEh::carData)
            PaintRowPanelDataCell(ACol, ARow, areaRow, ARect, State, area);
        else if (RowPanel()->Active() && area.Row == TCellAreaRowEh::carTitle)
            PaintRowPanelTitleCell(ACol, ARow, ARect, State, area);
        else if (areaCol >= Columns()->Count() || RowPanel()->Active())
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

bool TCustomDBGridEh::IsActiveRecordRow(int Index) const
{
    if (RowRecordSwitched() && !IsMemTableMode())
        return Index == FSavedRecord;
    return IsCurrentRecordRow(Index);
}

String TCustomDBGridEh::CellTextOfRow(TColumnEh* Column, int Index)
{
    const int switched = FSwitchedRow;
    SwitchToRowRecord(Index);
    TColCellParamsEh params;
    Column->InitCellParams(&params);
    RaiseGetCellParams(Column, params.Font(), params.Background, TGridDrawState());
    Column->FireGetCellParams(false, &params);
    if (switched >= 0)
        SwitchToRowRecord(switched);
    else
        RestoreRowRecord();
    return params.Text;
}

bool TCustomDBGridEh::RepeatsRowAbove(TColumnEh* Column, int Index)
{
    if (!Column->HideDuplicates() || !DataLink()->Active() || Index <= 0 || Index >= DisplayRecordCount())
        return false;
    Column->Field();  // bound before any record is switched in, as for painting
    return CellTextOfRow(Column, Index) == CellTextOfRow(Column, Index - 1);
}

void TCustomDBGridEh::QueryCellLines(int ACol, int ARow, bool& ExtendLine, TColor& LineColor, bool& DrawLine,
                                     TGridCellLineKindEh LineKind)
{
    TCustomGridEh::QueryCellLines(ACol, ARow, ExtendLine, LineColor, DrawLine, LineKind);
    int areaCol = 0;
    int areaRow = 0;
    const TCellAreaEh area = GetCellType(ACol, ARow, areaCol, areaRow);
    if (!DrawLine || area.Col != TCellAreaColEh::cacData || areaCol >= Columns()->Count())
        return;
    if (LineKind == TGridCellLineKindEh::glkRightLine && area.Row == TCellAreaRowEh::carTitle && MultiTitleInEffect())
        DrawLine = false;
    else if (LineKind == TGridCellLineKindEh::glkRightLine && area.Row == TCellAreaRowEh::carData &&
             GroupNodeOfRow(areaRow) != nullptr && GroupNodeOfRow(areaRow)->IsGroup())
        DrawLine = false;  // a group row reads across the columns
    else if (LineKind == TGridCellLineKindEh::glkBottomLine && area.Row == TCellAreaRowEh::carData &&
             areaCol >= FrozenCols() && RepeatsRowAbove(Columns()->ColumnAt(areaCol), areaRow + 1))
        DrawLine = false;
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

// Asked while the cell's row has its record switched in: the selection finds that record by its
// bookmark. Without a selection no bookmark is read.
bool TCustomDBGridEh::CellInSelection(int, int, int DataCol)
{
    if (FSelection->SelectsNothing())
        return false;
    return FSelection->IsCellSelected(DataCol, DataLink()->DataSet()->Bookmark());
}

bool TCustomDBGridEh::RowRecordSelected(int AreaRow)
{
    if (FSelection->SelectionType() != TDBGridEhSelectionType::gstRecordBookmarks || FSelection->SelectsNothing())
        return false;
    TRowRecordScope record(this, AreaRow);
    return FSelectedRows->IsCurrentRowSelected();
}

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
    cell.CurrentRow = IsActiveRecordRow(DataRow);
    cell.CurrentColumn = IsFocusedDataCell(DataColToGridCol(DataCol), DataCol);
    cell.CurrentCell = cell.CurrentRow && cell.CurrentColumn;
    cell.UpdatesSuppressed = ImmediateUpdateSuspended();
    const TGridCoord hover = HoverCell();
    cell.HotRow = OptionsEh().Contains(dghHotTrack) && hover.Y == DataRow + RowsAboveData() && hover.X >= IndicatorOffset();
    cell.HotCell = cell.HotRow && (RowPanel()->Active() ? HotPanelColumn() == DataCol : hover.X == DataColToGridCol(DataCol));
    if (FStyle != nullptr)
        return FStyle->PickDataCellColors(cell, State, Background, Font);
    return PickDataCellHighlightColors(cell, State, Background, Font);
}

void TCustomDBGridEh::PickFooterCellHighlight(TCellAreaEh Area, TGridDrawState State, TColor& Background, TFont* Font)
{
    const bool indicatorOrTitle =
        Area.Col == TCellAreaColEh::cacIndicator ||
        Area.Row == TCellAreaRowEh::carTitle || Area.Row == TCellAreaRowEh::carFilter;
    if (FStyle != nullptr)
        FStyle->PickOtherCellColors(State.Contains(gdSelected), indicatorOrTitle, HoldsWindowFocus(), Background, Font);
    else
        PickFixedCellHighlightColors(State.Contains(gdSelected), indicatorOrTitle, HoldsWindowFocus(), Background, Font);
}

// --- Indicator ------------------------------------------------------------------------------------

void TCustomDBGridEh::PaintIndicatorCell(int, int, int, int AreaRow, TRect ARect, TGridDrawState State,
                                         TCellAreaEh Area)
{
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    TColor background = Area.Row == TCellAreaRowEh::carFooter ? FooterColor() : FixedColor();
    TDataSet* dataSet = DataLink()->Active() ? DataLink()->DataSet() : nullptr;
    const bool dataRow = Area.Row == TCellAreaRowEh::carData && dataSet != nullptr && AreaRow < DisplayRecordCount();
    // Selected records, and the title cell while everything is selected, show highlighted.
    const bool selected = dataRow ? RowRecordSelected(AreaRow)
                                  : Area.Row == TCellAreaRowEh::carTitle &&
                                        FSelection->SelectionType() == TDBGridEhSelectionType::gstAll;
    if (selected)
        State = State | gdSelected;
    if (Area.Row != TCellAreaRowEh::carData || selected)
        PickFooterCellHighlight(Area, State, background, canvas->Font());
    const bool raised = UseCell3DLook(Area, 0);
    const bool themed = UseCellThemedLook(raised);
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(background);
    if (Area.Row == TCellAreaRowEh::carData && themed && IsActiveRecordRow(AreaRow))
        canvas->Brush()->SetColor(BlendColors(background, clBlack, 10));
    FillFixedCellBackground(canvas, ARect, themed, raised, Flat(), TRect(), false, false);

    const bool showRecNo = OptionsEh().Contains(dghShowRecNo);
    TRect glyphArea = ARect;
    String number;
    if (dataRow) {
        const bool current = IsActiveRecordRow(AreaRow);
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
                             : selected                                     ? igkCurrentSelectedEh
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

void TCustomDBGridEh::PaintTitleCell(int ACol, int ARow, int AreaCol, int, TRect ARect, TGridDrawState State,
                                     TCellAreaEh Area)
{
    TCanvas* canvas = Canvas();
    TColumnEh* column = Columns()->ColumnAt(AreaCol);
    TColumnTitleEh* title = column->Title();
    TColor background = title->Color();
    TSortMarkerEh marker = title->SortMarker();
    if (Area.Row == TCellAreaRowEh::carFilter && ColumnHasFilterCell(AreaCol)) {
        PaintFilterCell(column, AreaCol, ARect, State, Area);
        return;
    }
    if (Area.Row == TCellAreaRowEh::carFilter) {
        // A column without a filter cell: the cell is the title's colour.
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
    const int lineWidth = MultiTitleInEffect() && Options().Contains(dgColLines) ? GridLineWidth() : 0;
    if (lineWidth > 0) {
        // The base grid leaves this line to the title: the lowest part's right edge.
        leafRect.Right -= lineWidth;
        const TColor brush = canvas->Brush()->Color();
        canvas->Brush()->SetColor(FixedCellLineColor());
        canvas->FillRect(TRect{leafRect.Right, leafRect.Top, ARect.Right, ARect.Bottom});
        canvas->Brush()->SetColor(brush);
    }
    FillFixedCellBackground(canvas, leafRect, themed, raised, Flat(), TRect(), false, false);
    TTitleLookEh look;
    look.Raised = raised;
    look.Flat = Flat();
    look.Highlighted = State.Contains(gdSelected);
    look.SortMarker = marker;
    look.SortedColumns = SortedColumns()->Count();
    look.VerticalMargin = VTitleMargin();
    look.Filtered = column->STFilter()->Expression().Operator1 != TSTFilterCompareKindEh::fcNone;
    if (TitleFilterButtonShown(AreaCol)) {
        TitleFilterButtonRect(TPoint{}, leafRect, look.FilterButton, column);
        const bool down = TitleFilterListShown() && FTitleFilterColumn == column;
        const bool hot = HoverCell().X == ACol && HoverCell().Y == ARow;
        look.FilterButtonTransparency = Designing() ? 30 : down ? 0 : hot ? 30 : 80;
    }
    PaintColumnTitleContents(canvas, leafRect, column, caption, TitleImages(), look);
}

// --- Data -----------------------------------------------------------------------------------------

void TCustomDBGridEh::PaintDataCell(int ACol, int ARow, int AreaCol, int AreaRow, TRect ARect, TGridDrawState State,
                                    TCellAreaEh Area)
{
    if (PaintGroupRowCell(ACol, AreaRow, ARect))
        return;
    TCanvas* canvas = Canvas();
    TColumnEh* column = Columns()->ColumnAt(AreaCol);
    canvas->Font()->Assign(column->Font());
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(column->Color());
    if (!DataLink()->Active() || AreaRow >= DisplayRecordCount()) {
        canvas->FillRect(ARect);
        return;
    }
    // Binding a column to its field refreshes the footer sums, which walks the dataset: never
    // while another row's record is switched in.
    column->Field();
    TRowRecordScope record(this, AreaRow);

    TColCellParamsEh& params = FCellParams;
    column->InitCellParams(&params);
    const TDataSet* dataSet = DataLink()->DataSet();
    params.Background = OddEvenRowColor(column->Color(), Color(), OddRowColor(), EvenRowColor(), dataSet->IsSequenced(),
                                        dataSet->RecNo());
    params.State = State;
    params.Col = ACol;
    params.Row = ARow;
    params.CellRect = ARect;
    params.Frozen = AreaCol < FrozenCols();
    RaiseGetCellParams(column, params.Font(), params.Background, State);
    column->FireGetCellParams(false, &params);

    bool processed = false;
    const TGridCoord cell{ACol, ARow};
    const TGridCoord areaCell{AreaCol, AreaRow};
    if (OnAdvDrawDataCell)
        OnAdvDrawDataCell(this, cell, areaCell, column, ARect, &params, processed);
    if (!processed && column->OnAdvDrawDataCell)
        column->OnAdvDrawDataCell(this, cell, areaCell, column, ARect, &params, processed);
    if (!processed)
        PaintDefaultDataCell(ACol, AreaCol, AreaRow, ARect, params.State, Area, column);
}

void TCustomDBGridEh::PaintDefaultDataCell(int ACol, int AreaCol, int AreaRow, const TRect& ARect,
                                           TGridDrawState State, TCellAreaEh Area, TColumnEh* Column)
{
    TCanvas* canvas = Canvas();
    TColCellParamsEh& params = FCellParams;
    bool raised = UseCell3DLook(Area, AreaCol);
    if (params.Frozen && !raised)
        raised = OptionsEh().Contains(dghFixed3D);
    const bool themed = UseCellThemedLook(raised);
    const bool currentRow = IsActiveRecordRow(AreaRow);
    const bool currentCell = currentRow && IsFocusedDataCell(ACol, AreaCol);

    TRect contents = ARect;
    const bool buttons = Column->AlwaysShowEditButton() && !params.Frozen;
    if (buttons)
        contents.Right = std::max(contents.Left, contents.Right - Column->EditButtonsTotalWidth());
    if (params.Frozen && !params.KeepOwnColors)
        params.Background = FixedColor();
    TGridDrawState state = State;
    bool highlighted = false;
    const bool keepsOwn = params.KeepOwnColors && currentRow && (currentCell || Options().Contains(dgRowSelect));
    if (!keepsOwn)
        highlighted = PickDataCellHighlight(AreaCol, AreaRow, state, params.Background, params.Font());
    params.State = state;

    if (!params.Frozen && RepeatsRowAbove(Column, AreaRow)) {
        params.Text.clear();
        params.ImageIndex = -1;
    }

    if (DefaultDrawing() && ARect.Width() > 0) {
        // The first visible column starts with the group indent and the tree outline.
        if (VisibleColumns()->Count() > 0 && VisibleColumns()->ColumnAt(0) == Column) {
            contents.Left += PaintGroupRecordIndent(AreaRow, contents);
            if (MemTableTreeMode())
                contents.Left += PaintDataCellTreePart(AreaRow, contents, params.Background);
            contents.Left += PaintRowDetailSign(AreaCol, AreaRow, state, contents);
        }
        TDataCellLookEh look;
        look.Raised = raised;
        look.Themed = themed;
        look.Flat = Flat();
        look.DrawGraphicData = DrawGraphicData();
        canvas->Brush()->SetColor(params.Background);
        // A highlighted frozen cell shows its highlight as any other cell does, or its text
        // (in the highlight's text colour) would stand on the fixed face.
        if (params.Frozen && highlighted)
            canvas->FillRect(contents);
        else if (params.Frozen)
            FillFixedCellBackground(canvas, contents, themed, raised, Flat(), TRect(), false, false);
        PaintDataCellContents(canvas, contents, Column, &params, look, !params.Frozen);
        if (buttons) {
            const bool focusedLook = currentCell || (currentRow && OptionsEh().Contains(dghRowHighlight));
            canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
            canvas->Brush()->SetColor(params.Background);
            PaintCellEditButtons(canvas, TRect{contents.Right, ARect.Top, ARect.Right, ARect.Bottom}, Column,
                                 EditButtonHeight(), Flat(), CellButtonTransparency(Designing(), focusedLook, currentRow));
        }
        TField* field = Column->Field();
        if (!params.Frozen && Column->HighlightRequired() && currentRow && field != nullptr && field->Required() &&
            DataSetEditingRecord(DataLink()->DataSet())) {
            bool mark = field->IsNull();
            if (Column->OnCheckDrawRequiredState)
                Column->OnCheckDrawRequiredState(Column, params.Text, mark);
            if (mark)
                PaintRequiredValueMark(canvas, ARect);
        }
        if (raised && !themed)
            Draw3DCellFrame(canvas, ARect, highlighted);
    }
    if (!Columns()->IsCustomized())
        RaiseDrawDataCell(ARect, Column->Field(), state);
    RaiseDrawColumnCell(ARect, AreaCol, Column, state);
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
    WriteTextInCell(canvas, area, false, alignment, TTextLayout::tlCenter, footer->EndEllipsis() || ShowsTotal(footer),
                    wrap, text, Flat() ? margin - 1 : margin, margin);
    if (raised)
        Draw3DCellFrame(canvas, ARect, false);
    if (OnDrawFooterCell)
        OnDrawFooterCell(this, AreaCol, AreaRow, column, ARect, State);
}
