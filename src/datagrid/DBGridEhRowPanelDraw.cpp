// Row panel mode, painting: the title panel, each record's panel and the footer panels, every
// column's part painted at its place by the ordinary title, data and footer painters, with the
// grid lines right of and below each part.
#include "datagrid/DBGridEh.h"

#include "platform/ui/Canvas.h"

namespace {

// Column's part inside the panel that starts at the top left of CellRect.
TRect PanelPartRect(const TColumnEh* Column, const TRect& CellRect)
{
    TRect part = Column->RowPanelRect();
    part.Offset(CellRect.Left, CellRect.Top);
    return part;
}

// Without state marks of their own, the parts take them from the panel: focused, selected and
// hot are decided per part.
TGridDrawState PanelPartState(TGridDrawState State, bool Focused, bool Hot)
{
    TGridDrawState state = State;
    state.Exclude(gdFocused);
    state.Exclude(gdSelected);
    state.Exclude(gdHotTrack);
    if (Focused)
        state.Include(gdFocused);
    if (Hot)
        state.Include(gdHotTrack);
    return state;
}

}  // namespace

void TCustomDBGridEh::PaintRowPanelLines(const TRect& ARect, TColor LineColor)
{
    TCanvas* canvas = Canvas();
    const int lineWidth = GridLineWidth();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(LineColor);
    for (int i = 0; i < Columns()->Count(); ++i) {
        const TColumnEh* column = Columns()->ColumnAt(i);
        if (!column->Visible())
            continue;
        const TRect part = PanelPartRect(column, ARect);
        if (Options().Contains(dgColLines) && part.Right < ARect.Right)
            canvas->FillRect(TRect{part.Right, part.Top, part.Right + lineWidth, part.Bottom + lineWidth});
        if (Options().Contains(dgRowLines) && part.Bottom < ARect.Bottom)
            canvas->FillRect(TRect{part.Left, part.Bottom, part.Right + lineWidth, part.Bottom + lineWidth});
    }
}

void TCustomDBGridEh::PaintRowPanelTitleCell(int, int ARow, TRect ARect, TGridDrawState State, TCellAreaEh Area)
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(FixedColor());
    canvas->FillRect(ARect);
    for (int i = 0; i < Columns()->Count(); ++i)
        if (Columns()->ColumnAt(i)->Visible())
            PaintTitleCell(DataColToGridCol(i), ARow, i, 0, PanelPartRect(Columns()->ColumnAt(i), ARect), State, Area);
    PaintRowPanelLines(ARect, FixedCellLineColor());
}

void TCustomDBGridEh::PaintRowPanelDataCell(int ACol, int ARow, int AreaRow, TRect ARect, TGridDrawState State,
                                            TCellAreaEh Area)
{
    if (PaintGroupRowCell(ACol, AreaRow, ARect))
        return;
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ARect);
    const bool current = DataLink()->Active() && AreaRow < DisplayRecordCount() && IsActiveRecordRow(AreaRow);
    const bool hotRow = HoverCell().Y == ARow;
    const int hot = hotRow ? HotPanelColumn() : -1;
    for (int i = 0; i < Columns()->Count(); ++i) {
        if (!Columns()->ColumnAt(i)->Visible())
            continue;
        const bool focused = current && (i == FFocusedPanelColumn || Options().Contains(dgRowSelect));
        PaintDataCell(ACol, ARow, i, AreaRow, PanelPartRect(Columns()->ColumnAt(i), ARect),
                      PanelPartState(State, focused, i == hot), Area);
    }
    // One line of cells reads as a plain grid; its lines, and the current record's, are darker.
    const bool oneLine = FRowPanelHeight < RowPanelLinePitch();
    PaintRowPanelLines(ARect, current || oneLine ? GridLineColors()->DarkLineColor()
                                                 : GridLineColors()->BrightLineColor());
}

void TCustomDBGridEh::PaintRowPanelFooterCell(int ACol, int ARow, int AreaRow, TRect ARect, TGridDrawState State,
                                              TCellAreaEh Area)
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ARect);
    for (int i = 0; i < Columns()->Count(); ++i)
        if (Columns()->ColumnAt(i)->Visible())
            PaintFooterCell(ACol, ARow, i, AreaRow, PanelPartRect(Columns()->ColumnAt(i), ARect), State, Area);
    PaintRowPanelLines(ARect, GridLineColors()->ContraRowsLineColor());
}
