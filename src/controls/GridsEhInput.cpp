// Mouse state of the base grid: sizing line, hover tracking, anchor stepping and cell clicks.
#include "controls/GridsEh.h"

#include <algorithm>

void TCustomGridEh::HideMoveMarker() {}

void TCustomGridEh::DetectSizingAt(int, int, const TGridLayoutEh&, int&, int&, int&, TGridMouseModeEh& Mode)
{
    Mode = TGridMouseModeEh::gmmNone;
}

void TCustomGridEh::CancelMouseMode()
{
    FMouseMode = TGridMouseModeEh::gmmNone;
}

void TCustomGridEh::RaiseCellMouseClick(TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnCellMouseClick)
        OnCellMouseClick(this, Cell, Button, Shift, X, Y);
    else
        DefaultCellMouseClick(Cell, Button, Shift, X, Y);
}

bool TCustomGridEh::MouseUpMayClickCell(const TMessage& Message)
{
    return FMouseMode == TGridMouseModeEh::gmmNone && GET_X_LPARAM(Message.LParam) >= 0 &&
           GET_Y_LPARAM(Message.LParam) >= 0;
}

void TCustomGridEh::SizingLineSpan(const TGridLayoutEh& Layout, int& Start, int& End)
{
    const TGridAxisLayoutEh& across = FMouseMode == TGridMouseModeEh::gmmColSizing ? Layout.Vert : Layout.Horz;
    Start = across.NearBand;
    End = across.GridBoundary;
}

void TCustomGridEh::DrawSizingLine(const TGridLayoutEh& Layout)
{
    int start = 0;
    int end = 0;
    SizingLineSpan(Layout, start, end);
    TCanvas* canvas = Canvas();
    TPen saved;
    saved.Assign(canvas->Pen());
    canvas->Pen()->SetStyle(TPenStyle::psDot);
    canvas->Pen()->SetMode(TPenMode::pmXor);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clWhite);
    if (FMouseMode == TGridMouseModeEh::gmmColSizing) {
        canvas->MoveTo(FSizingPos, start);
        canvas->LineTo(FSizingPos, end);
    } else {
        canvas->MoveTo(start, FSizingPos);
        canvas->LineTo(end, FSizingPos);
    }
    canvas->SetPen(&saved);
}

void TCustomGridEh::StepAnchorCell(TGridScrollDirectionsEh Directions)
{
    TGridCoord anchor = FAnchor;
    if (Directions.Contains(gsdLeft))
        anchor.X = std::max(anchor.X - 1, FFixedCols);
    if (Directions.Contains(gsdRight))
        anchor.X = std::min(anchor.X + 1, FColCount - 1);
    if (Directions.Contains(gsdUp))
        anchor.Y = std::max(anchor.Y - 1, FFixedRows);
    if (Directions.Contains(gsdDown))
        anchor.Y = std::min(anchor.Y + 1, FRowCount - 1);
    if (anchor != FAnchor)
        ExtendSelectionTo(anchor, true);
}

void TCustomGridEh::ResyncAfterScroll()
{
    if (HandleAllocated() && FHoverCell.X >= 0) {
        const TPoint mouse = ScreenToClient(GetCursorPos());
        TrackHoverCell(mouse.X, mouse.Y);
    }
}

void TCustomGridEh::TrackHoverCell(int X, int Y)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    const bool tracked = cell.X >= 0 && TracksHoverAt(cell.X, cell.Y);
    const TGridCoord hover = tracked ? cell : TGridCoord{-1, -1};
    if (hover != FHoverCell) {
        InvalidateOneCell(FHoverCell.X, FHoverCell.Y);
        FHoverCell = hover;
        InvalidateOneCell(FHoverCell.X, FHoverCell.Y);
    }
    if (tracked) {
        const TRect rect = CellPixelRect(cell.X, cell.Y);
        FHoverCellOffset = {X - rect.Left, Y - rect.Top};
    } else
        FHoverCellOffset = {-1, -1};
}
