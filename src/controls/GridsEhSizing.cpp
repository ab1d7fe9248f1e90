// Sizing and moving columns and rows with the mouse: the sizing zones around cell borders, the
// XOR sizing line, the drop indicator (an XOR line for rows, the move marker window for
// columns), following the drop target with scrolling at the edges, and the drag windows.
#include "controls/GridsEh.h"

#include "platform/ui/Forms.h"

#include <algorithm>

namespace {

constexpr WPARAM AutoScrollTimer = 1;
constexpr unsigned AutoScrollInterval = 60;
// Width of the row drop line.
constexpr int RowMoveLineWidth = 5;
// The move marker: its arrowheads are 7 pixels wide; the window sits 3 pixels before the line
// and 4 pixels before its start.
constexpr int MarkerSize = 7;
constexpr TPoint MarkerOffset{3, 4};

// Where cell Index starts: a fixed or contra cell, or a scrolled cell from the first shown one.
int CellStart(const TGridAxisLayoutEh& Axis, int Index)
{
    int pos = Axis.NearBand;
    int from = 0;
    if (Index >= Axis.CellCount) {
        pos = Axis.ContraStart + Axis.LineWidth;
        from = Axis.CellCount;
    } else if (Index >= Axis.FixedCellCount) {
        pos = Axis.ScrolledOrigin;
        from = Axis.FirstScrolledCell;
    }
    for (int i = from; i < Index; ++i)
        pos += Axis.Extent(i) + Axis.LineWidth;
    return pos;
}

// The cell border whose sizing zone holds At: frozen fixed cells, then the scrolled cells up to
// the drawn edge, then the contra cells, which are sized at their leading border.
bool FindSizingBorder(const TGridAxisLayoutEh& Axis, int At, int& Border, int& Index)
{
    const int line = Axis.LineWidth;
    const int before = line <= 6 ? (7 - line) / 2 : 0;
    const int zone = line <= 6 ? 7 : line;
    auto hits = [&](int CellBorder, int Cell) {
        if (At < CellBorder - before || At >= CellBorder - before + zone)
            return false;
        Border = CellBorder;
        Index = Cell;
        return true;
    };
    int edge = Axis.FrozenStart;
    for (int i = Axis.FixedCellCount - Axis.FrozenCellCount; i < Axis.FixedCellCount; ++i) {
        edge += Axis.Extent(i);
        if (hits(edge, i))
            return true;
        edge += line;
    }
    edge = Axis.ScrolledOrigin;
    for (int i = Axis.FirstScrolledCell; i < Axis.CellCount && edge < Axis.DrawnEdge; ++i) {
        const int end = edge + Axis.Extent(i);
        // A cell cut off by the drawn edge is sized at that edge.
        if (hits(std::min(end, Axis.DrawnEdge), i))
            return true;
        edge = end + line;
    }
    edge = Axis.ContraStart;
    for (int i = Axis.CellCount; i < Axis.TotalCellCount; ++i) {
        if (hits(edge, i))
            return true;
        edge += line + Axis.Extent(i);
    }
    return false;
}

TGridMoveLineEh* GMoveLine = nullptr;
TGridDragBoxEh* GDragBox = nullptr;

} // namespace

void DrawXorLine(TCanvas* Canvas, TPoint From, TPoint To, int Width)
{
    TPen saved;
    saved.Assign(Canvas->Pen());
    Canvas->Pen()->SetStyle(TPenStyle::psDot);
    Canvas->Pen()->SetMode(TPenMode::pmXor);
    Canvas->Pen()->SetWidth(Width);
    Canvas->Pen()->SetColor(clWhite);
    Canvas->MoveTo(From.X, From.Y);
    Canvas->LineTo(To.X, To.Y);
    Canvas->SetPen(&saved);
}

// Sizing.

void TCustomGridEh::DetectSizingAt(int X, int Y, const TGridLayoutEh& Layout, int& Offset, int& Pos, int& Index,
                                   TGridMouseModeEh& Mode)
{
    Mode = TGridMouseModeEh::gmmNone;
    const TGridAxisLayoutEh& horz = Layout.Horz;
    const TGridAxisLayoutEh& vert = Layout.Vert;
    const bool colZone = FOptions.Contains(goColSizing) && Y >= vert.NearBand && Y < vert.FrozenStart &&
                         X >= horz.FrozenStart;
    const bool rowZone = FOptions.Contains(goRowSizing) && Y >= vert.FrozenStart && X >= horz.NearBand &&
                         X < horz.FrozenStart;
    if (!colZone && !rowZone)
        return;
    const int at = colZone ? X : Y;
    int border = 0;
    int cell = 0;
    if (!FindSizingBorder(colZone ? horz : vert, at, border, cell))
        return;
    Offset = border - at;
    Pos = border;
    Index = cell;
    Mode = colZone ? TGridMouseModeEh::gmmColSizing : TGridMouseModeEh::gmmRowSizing;
}

TGridMouseModeEh TCustomGridEh::SizingModeAt(int X, int Y, int* Index)
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    int offset = 0;
    int pos = 0;
    int index = 0;
    TGridMouseModeEh mode = TGridMouseModeEh::gmmNone;
    DetectSizingAt(X, Y, layout, offset, pos, index, mode);
    if (Index != nullptr)
        *Index = index;
    return mode;
}

bool TCustomGridEh::IsOverSizingZone(int X, int Y)
{
    return SizingModeAt(X, Y) != TGridMouseModeEh::gmmNone;
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
    if (FMouseMode == TGridMouseModeEh::gmmColSizing)
        DrawXorLine(Canvas(), Point(FSizingPos, start), Point(FSizingPos, end), 1);
    else
        DrawXorLine(Canvas(), Point(start, FSizingPos), Point(end, FSizingPos), 1);
}

void TCustomGridEh::FinishSizing(const TGridLayoutEh& Layout)
{
    DrawSizingLine(Layout);
    const bool rows = FMouseMode == TGridMouseModeEh::gmmRowSizing;
    const TGridAxisLayoutEh& axis = rows ? Layout.Vert : Layout.Horz;
    const int start = CellStart(axis, FSizingIndex);
    // A contra cell hangs from the far edge: it keeps its end and grows from the line.
    const int extent = FSizingIndex >= axis.CellCount ? start + axis.Extent(FSizingIndex) - FSizingPos - axis.LineWidth
                                                      : FSizingPos - start;
    FMouseMode = TGridMouseModeEh::gmmNone;
    if (extent <= 1)
        return;
    if (rows)
        ChangeRowHeight(FSizingIndex, extent);
    else
        ChangeColWidth(FSizingIndex, extent);
}

// Moving.

bool TCustomGridEh::TryStartMove(TGridCoord Cell, int X, int Y)
{
    const bool inFixedCols = Cell.X >= 0 && Cell.X < FFixedCols - FFrozenFixedCols;
    const bool inFixedRows = Cell.Y >= 0 && Cell.Y < FFixedRows - FFrozenFixedRows;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    if (FOptions.Contains(goRowMoving) && inFixedCols && Cell.Y >= FFixedRows && Cell.Y < FRowCount) {
        int origin = Cell.Y;
        int target = Cell.Y;
        if (!MayStartRowDrag(origin, target, Point(X, Y)))
            return false;
        FMoveOrigin = origin;
        FMoveTarget = target;
        FDropAfter = origin < target;
        FMouseMode = TGridMouseModeEh::gmmRowMoving;
        DrawMoveIndicator(layout);
        SetTimer(AutoScrollTimer, AutoScrollInterval);
        return true;
    }
    if (FOptions.Contains(goColMoving) && inFixedRows && Cell.X >= FFixedCols && Cell.X < FColCount) {
        StartColumnMove(Cell.X, X, Y, layout);
        return FMouseMode == TGridMouseModeEh::gmmColMoving;
    }
    return false;
}

void TCustomGridEh::StartColumnMove(int Index, int X, int Y, const TGridLayoutEh& Layout)
{
    FMoveOrigin = Index;
    int target = LocateCellInLayout(X, Y, Layout).X;
    if (target < Layout.Horz.FirstScrolledCell || target >= FColCount)
        target = Layout.Horz.FirstScrolledCell;
    int origin = Index;
    if (!MayStartColumnDrag(origin, target, Point(X, Y)))
        return;
    FMoveOrigin = origin;
    FMoveTarget = target;
    FDropAfter = DropAfterAt(target, X, Layout.Horz);
    FMouseMode = TGridMouseModeEh::gmmColMoving;
    Update();
    DrawMoveIndicator(Layout);
    SetTimer(AutoScrollTimer, AutoScrollInterval);
}

bool TCustomGridEh::DropAfterAt(int Target, int Pos, const TGridAxisLayoutEh& Axis) const
{
    if (FMoveOrigin >= Target)
        return false;
    // A hidden (zero-width) cell dropped on the left half of the next shown one goes before it.
    if (Axis.Extent(FMoveOrigin) > 0)
        return true;
    int nextShown = FMoveOrigin + 1;
    while (nextShown < Axis.CellCount && Axis.Extent(nextShown) <= 0)
        ++nextShown;
    return Target != nextShown || Pos >= CellStart(Axis, Target) + Axis.Extent(Target) / 2;
}

void TCustomGridEh::TrackMoveTarget(int X, int Y, const TGridLayoutEh& Layout)
{
    const bool rows = FMouseMode == TGridMouseModeEh::gmmRowMoving;
    const TGridAxisLayoutEh& axis = rows ? Layout.Vert : Layout.Horz;
    const int pos = rows ? Y : X;
    const bool before = pos < axis.FixedBoundary;
    const bool beyond = pos >= axis.LastFullVisibleEnd;
    const bool canScrollBack = axis.FirstScrolledCell > axis.FixedCellCount || axis.PixelOffset > 0;
    const bool canScrollForward = axis.LastFullVisibleCell < axis.CellCount - 1;
    const TGridCoord under = LocateCellInLayout(X, Y, Layout);
    int target = before ? axis.FirstScrolledCell : beyond ? axis.LastFullVisibleCell : rows ? under.Y : under.X;
    if (target < axis.FixedCellCount || target >= axis.CellCount)
        return;
    const bool scrolls = (before && canScrollBack) || (beyond && canScrollForward);
    if (!scrolls && target == FMoveTarget && DropAfterAt(target, pos, axis) == FDropAfter)
        return;
    if (rows)
        DrawMoveIndicator(Layout);
    TGridLayoutEh layout = Layout;
    if (scrolls) {
        ApplyScrollBarAction(rows ? SB_VERT : SB_HORZ, before ? SB_LINEUP : SB_LINEDOWN, false, 0);
        Update();
        ComputeLayout(layout);
        const TGridAxisLayoutEh& scrolled = rows ? layout.Vert : layout.Horz;
        target = before ? scrolled.FirstScrolledCell : scrolled.LastFullVisibleCell;
    }
    const TGridAxisLayoutEh& current = rows ? layout.Vert : layout.Horz;
    const bool dropAfter = DropAfterAt(target, pos, current);
    const TPoint mouse = Point(X, Y);
    if (rows ? MayMoveRowTo(FMoveOrigin, target, mouse) : MayMoveColumnTo(FMoveOrigin, target, mouse)) {
        FMoveTarget = target;
        FDropAfter = dropAfter;
    }
    DrawMoveIndicator(layout);
}

void TCustomGridEh::DrawMoveIndicator(const TGridLayoutEh& Layout)
{
    if (FMouseMode == TGridMouseModeEh::gmmRowMoving) {
        const int top = CellStart(Layout.Vert, FMoveTarget);
        const int y = FMoveOrigin < FMoveTarget ? top + Layout.Vert.Extent(FMoveTarget) : top;
        DrawXorLine(Canvas(), Point(0, y), Point(Layout.Horz.ClientExtent, y), RowMoveLineWidth);
        return;
    }
    const int left = CellStart(Layout.Horz, FMoveTarget);
    const int x = FDropAfter ? left + Layout.Horz.Extent(FMoveTarget) : left - 1;
    const TPoint at = ClientToScreen(Point(x, Layout.Vert.NearBand));
    TGridMoveLineEh* marker = GridMoveLineInstance();
    if (marker->IsShown())
        marker->MoveMarker(at);
    else
        marker->ShowMarker(at, Layout.Vert.GridBoundary - Layout.Vert.NearBand, true);
}

void TCustomGridEh::HideMoveMarker()
{
    if (TGridMoveLineEh* marker = ExistingGridMoveLine())
        marker->Hide();
}

void TCustomGridEh::FinishMove(int X, int Y)
{
    const bool rows = FMouseMode == TGridMouseModeEh::gmmRowMoving;
    if (rows) {
        TGridLayoutEh layout;
        ComputeLayout(layout);
        DrawMoveIndicator(layout);
    } else {
        HideMoveMarker();
    }
    KillTimer(AutoScrollTimer);
    int origin = FMoveOrigin;
    int target = FMoveTarget;
    const TPoint mouse = Point(X, Y);
    const bool drop = rows ? MayDropRow(origin, target, mouse) : MayDropColumn(origin, target, mouse);
    FMouseMode = TGridMouseModeEh::gmmNone;
    if (drop && origin != target) {
        if (rows)
            RelocateRow(origin, target);
        else
            RelocateColumn(origin, target);
    }
    SyncEditor();
}

// Drag windows.

TGridDragWinEh::TGridDragWinEh(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetVisible(false);
    SetColor(cl3DDkShadow);
}

TGridDragWinEh::~TGridDragWinEh()
{
    if (GDragBox == this)
        GDragBox = nullptr;
    if (GMoveLine == this)
        GMoveLine = nullptr;
}

void TGridDragWinEh::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WindowClassStyle |= CS_SAVEBITS;
}

void TGridDragWinEh::CreateWnd()
{
    TCustomControl::CreateWnd();
    if (FAlpha < 255)
        SetWindowAlpha(FAlpha);
}

void TGridDragWinEh::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void TGridDragWinEh::MoveToClientPoint(TControl* Control, TPoint Point)
{
    const TPoint at = Control->ClientToScreen(Point);
    SetBounds(at.X, at.Y, Width(), Height());
}

void TGridDragWinEh::ShowAt(TPoint ScreenPoint, int AWidth, int AHeight)
{
    SetBounds(ScreenPoint.X, ScreenPoint.Y, AWidth, AHeight);
    Show();
}

TGridMoveLineEh::TGridMoveLineEh(TComponent* AOwner) : TGridDragWinEh(AOwner)
{
    SetColor(clWhite);
    SetAlpha(255);
    SetBounds(0, 0, MarkerSize, MarkerSize);
}

void TGridMoveLineEh::ShowMarker(TPoint ScreenPoint, int Length, bool Vertical)
{
    FVertical = Vertical;
    const int length = Length + 8;
    ShowAt(Point(ScreenPoint.X - MarkerOffset.X, ScreenPoint.Y - MarkerOffset.Y), Vertical ? MarkerSize : length,
           Vertical ? length : MarkerSize);
    Invalidate();
}

void TGridMoveLineEh::MoveMarker(TPoint ScreenPoint)
{
    SetBounds(ScreenPoint.X - MarkerOffset.X, ScreenPoint.Y - MarkerOffset.Y, Width(), Height());
}

void TGridMoveLineEh::Paint()
{
    // Arrowheads of 7, 5 and 3 pixels at both ends of a one-pixel line, in red on white.
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    canvas->Brush()->SetColor(clRed);
    const int length = FVertical ? Height() : Width();
    auto bar = [&](int Along, int From, int Size) {
        const TRect rect = FVertical ? Bounds(From, Along, Size, 1) : Bounds(Along, From, 1, Size);
        canvas->FillRect(rect);
    };
    for (int i = 0; i < 3; ++i) {
        bar(i, i, MarkerSize - 2 * i);
        bar(length - 1 - i, i, MarkerSize - 2 * i);
    }
    const TRect line = FVertical ? Rect(3, 3, 4, length - 3) : Rect(3, 3, length - 3, 4);
    canvas->FillRect(line);
}

TGridDragBoxEh* GridDragBoxInstance()
{
    if (GDragBox == nullptr)
        GDragBox = new TGridDragBoxEh(Application);
    return GDragBox;
}

TGridMoveLineEh* GridMoveLineInstance()
{
    if (GMoveLine == nullptr)
        GMoveLine = new TGridMoveLineEh(Application);
    return GMoveLine;
}

TGridMoveLineEh* ExistingGridMoveLine()
{
    return GMoveLine;
}
