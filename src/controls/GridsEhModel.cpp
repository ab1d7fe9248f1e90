// The base grid's model: construction, options and look, the current cell, the selection,
// scrolling cells into view, invalidation, and the default answers of the virtual operations.
#include "controls/GridsEh.h"

#include "platform/ui/Forms.h"

#include <algorithm>
#include <cassert>

TCustomGridEh::TCustomGridEh(TComponent* AOwner)
    : TCustomControl(AOwner), FOutBoundary(std::make_unique<TGridOutBoundaryDataEh>(this))
{
    SetControlStyle(csCaptureMouse | csOpaque | csDoubleClicks | csNeedsBorderPaint);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SetBorderStyle(TBorderStyle::bsSingle);
    SetBounds(Left(), Top(), FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
    HomeCurrentCell();
    FLastMouseDownCell = CellFromPoint(-1, -1);
    RecomputeColExtents();
    RecomputeRowExtents();
}

TCustomGridEh::~TCustomGridEh() = default;

void TCustomGridEh::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth)
        Params.Style |= WS_HSCROLL;
    if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth)
        Params.Style |= WS_VSCROLL;
}

void TCustomGridEh::CreateWnd()
{
    TCustomControl::CreateWnd();
    RefreshScrollBars();
}

void TCustomGridEh::ChangeOptions(TGridBaseOptionsEh Value)
{
    if (Value.Contains(goRowSelect))
        Value.Exclude(goAlwaysShowEditor);
    if (Value == FOptions)
        return;
    FOptions = Value;
    if (!FEditorMode) {
        if (FOptions.Contains(goAlwaysShowEditor))
            EnterEditorMode();
        else
            LeaveEditorMode();
    }
    if (FOptions.Contains(goRowSelect))
        MoveCurrentCell(FCurrent.X, FCurrent.Y, false, false, true);
    RecomputeColExtents();
    RecomputeRowExtents();
    RefreshScrollBars();
    InvalidateGrid();
}

void TCustomGridEh::ChangeScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars)
        return;
    FScrollBars = Value;
    RecreateWnd();
}

void TCustomGridEh::SetFixedColor(TColor Value)
{
    if (Value == FFixedColor)
        return;
    FFixedColor = Value;
    InvalidateGrid();
}

void TCustomGridEh::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    UpdateFlatLineColor();
    FlatChanged();
    InvalidateGrid();
}

void TCustomGridEh::SetDefaultDrawing(bool Value)
{
    if (Value == FDefaultDrawing)
        return;
    FDefaultDrawing = Value;
    InvalidateGrid();
}

void TCustomGridEh::ChangeEditorMode(bool Value)
{
    if (Value)
        EnterEditorMode();
    else
        LeaveEditorMode();
}

void TCustomGridEh::HandleExit()
{
    if (!FOptions.Contains(goAlwaysShowEditor))
        LeaveEditorMode();
}

void TCustomGridEh::ResumeScrollUpdates()
{
    assert(FScrollUpdateSuspension > 0 && "ResumeScrollUpdates without its SuspendScrollUpdates");
    if (FScrollUpdateSuspension == 0)
        return;
    // A paint skipped meanwhile left the window's pixels stale; repaint them once at the end.
    if (--FScrollUpdateSuspension == 0 && FPaintSkipped) {
        FPaintSkipped = false;
        InvalidateGrid();
    }
}

namespace {

bool WindowOrChildFocused(const TWinControl* Control)
{
    if (Control->Focused())
        return true;
    for (int i = 0; i < Control->ControlCount(); ++i)
        if (const auto* child = dynamic_cast<const TWinControl*>(Control->Controls(i)); child && WindowOrChildFocused(child))
            return true;
    return false;
}

} // namespace

bool TCustomGridEh::HasInputFocus() const
{
    if (const TCustomForm* form = GetParentForm(this))
        return form->ActiveControl() == this;
    return HandleAllocated() && WindowOrChildFocused(this);
}

// Current cell and selection.

TGridCellRangeEh TCustomGridEh::GetSelectionRange() const
{
    return {std::min(FCurrent.X, FAnchor.X), std::min(FCurrent.Y, FAnchor.Y), std::max(FCurrent.X, FAnchor.X),
            std::max(FCurrent.Y, FAnchor.Y)};
}

void TCustomGridEh::MoveCurrentCell(int ACol, int ARow, bool ShowCol, bool ShowRow, bool MoveAnchor)
{
    if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount)
        RaiseGridOperationError(SGridIndexOutOfRange);
    if (!MaySelectCell(ACol, ARow))
        return;
    const TGridCellRangeEh oldSelection = GetSelectionRange();
    const TGridCoord oldCurrent = FCurrent;
    FCurrent = {ACol, ARow};
    if (!FOptions.Contains(goAlwaysShowEditor))
        LeaveEditorMode();
    if (MoveAnchor || !FOptions.Contains(goRangeSelect))
        PlaceAnchor(FCurrent);
    if (FOptions.Contains(goRowSelect))
        FCurrent.X = FTopLeft.X;
    ScrollCellIntoView(FCurrent, ShowCol && !FOptions.Contains(goRowSelect), ShowRow);
    RepaintSelectionChange(oldSelection);
    InvalidateOneCell(oldCurrent.X, oldCurrent.Y);
    InvalidateOneCell(FCurrent.X, FCurrent.Y);
}

void TCustomGridEh::PlaceAnchor(TGridCoord Cell)
{
    FAnchor = Cell;
    if (FOptions.Contains(goRowSelect))
        FAnchor.X = FColCount - 1;
}

void TCustomGridEh::GoToCell(int ACol, int ARow, bool ShowCol, bool ShowRow, bool MoveAnchor)
{
    MoveCurrentCell(ACol, ARow, ShowCol, ShowRow, MoveAnchor);
    SyncEditor();
    Click();
}

void TCustomGridEh::ChangeCol(int Value)
{
    if (Value != FCurrent.X)
        GoToCell(Value, FCurrent.Y, true, true, true);
}

void TCustomGridEh::MoveToRow(int ARow)
{
    if (ARow != FCurrent.Y)
        GoToCell(FCurrent.X, ARow, true, true, true);
}

void TCustomGridEh::ExtendSelectionTo(TGridCoord Cell, bool Show)
{
    if (!FOptions.Contains(goRangeSelect) || FOptions.Contains(goEditing)) {
        MoveCurrentCell(Cell.X, Cell.Y, Show, Show, true);
        return;
    }
    if (Cell.X < 0 || Cell.X >= FColCount || Cell.Y < 0 || Cell.Y >= FRowCount)
        RaiseGridOperationError(SGridIndexOutOfRange);
    const TGridCellRangeEh oldSelection = GetSelectionRange();
    PlaceAnchor(Cell);
    if (Show)
        ScrollCellIntoView(Cell, !FOptions.Contains(goRowSelect), true);
    RepaintSelectionChange(oldSelection);
}

void TCustomGridEh::HomeCurrentCell()
{
    FTopLeft = {FFixedCols, FFixedRows};
    FHorzPixelOffset = 0;
    FVertPixelOffset = 0;
    FCurrent = FTopLeft;
    PlaceAnchor(FCurrent);
}

void TCustomGridEh::SetTopLeftCell(int NewLeftCol, int NewTopRow)
{
    NewLeftCol = std::clamp(NewLeftCol, FFixedCols, FColCount - 1);
    NewTopRow = std::clamp(NewTopRow, FFixedRows, FRowCount - 1);
    if (NewLeftCol == FTopLeft.X && NewTopRow == FTopLeft.Y)
        return;
    PlaceTopLeft({NewLeftCol, NewTopRow}, NewLeftCol == FTopLeft.X ? FHorzPixelOffset : 0,
                 NewTopRow == FTopLeft.Y ? FVertPixelOffset : 0);
}

void TCustomGridEh::ChangeLeftCol(int Value)
{
    SetTopLeftCell(Value, FTopLeft.Y);
}

void TCustomGridEh::ChangeTopRow(int Value)
{
    SetTopLeftCell(FTopLeft.X, Value);
}

void TCustomGridEh::PlaceTopLeft(TGridCoord NewTopLeft, int NewHorzOffset, int NewVertOffset)
{
    const TGridCoord oldTopLeft = FTopLeft;
    const TPoint oldOffsets{FHorzPixelOffset, FVertPixelOffset};
    if (NewTopLeft == oldTopLeft && NewHorzOffset == oldOffsets.X && NewVertOffset == oldOffsets.Y)
        return;
    // The sums before the first shown cells move by the cells passed, not by a walk from the start.
    auto moveBase = [this](TGridAxisExtentsEh& Axis, bool Rows, int OldFirst, int NewFirst) {
        if (NewFirst > OldFirst)
            Axis.BeforeFirst += SumExtents(Rows, OldFirst, NewFirst);
        else
            Axis.BeforeFirst -= SumExtents(Rows, NewFirst, OldFirst);
    };
    moveBase(FHorzExtents, false, oldTopLeft.X, NewTopLeft.X);
    moveBase(FVertExtents, true, oldTopLeft.Y, NewTopLeft.Y);
    FTopLeft = NewTopLeft;
    FHorzPixelOffset = NewHorzOffset;
    FVertPixelOffset = NewVertOffset;
    ScrollContentFrom(oldTopLeft, oldOffsets);
}

void TCustomGridEh::ScrollCellIntoView(TGridCoord Cell, bool Horz, bool Vert)
{
    if (!HandleAllocated())
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const bool pixelScroll[2] = {IsHorzPixelScroll(), IsVertPixelScroll()};
    TGridCoord topLeft = FTopLeft;
    int offsets[2] = {FHorzPixelOffset, FVertPixelOffset};
    auto place = [&](const TGridAxisLayoutEh& Axis, int Index, int& First, int& Offset, bool Pixel) {
        if (Index < Axis.FixedCellCount || Index >= Axis.CellCount)
            return;
        if (Index <= First) {
            First = Index;
            Offset = 0;
        } else if (Index > Axis.LastFullVisibleCell) {
            int overhang = 0;
            First = TopLeftShowingCellWithOverhang(Index, Axis, overhang);
            Offset = 0;
            if (Pixel && overhang > 0) {
                int previous = First - 1;
                while (previous > Axis.FixedCellCount && Axis.Extent(previous) <= 0)
                    --previous;
                First = previous;
                Offset = overhang;
            }
        }
    };
    if (Horz)
        place(layout.Horz, Cell.X, topLeft.X, offsets[0], pixelScroll[0]);
    if (Vert)
        place(layout.Vert, Cell.Y, topLeft.Y, offsets[1], pixelScroll[1]);
    PlaceTopLeft(topLeft, offsets[0], offsets[1]);
}

// Invalidation.

void TCustomGridEh::InvalidateClientRect(const TRect& ARect)
{
    if (HandleAllocated() && !ARect.IsEmpty())
        InvalidateRect(&ARect);
}

void TCustomGridEh::InvalidateGrid()
{
    Invalidate();
}

void TCustomGridEh::InvalidateOneCell(int ACol, int ARow)
{
    RepaintRegionOfRange({ACol, ARow, ACol, ARow});
}

void TCustomGridEh::RepaintRegionOfRange(const TGridCellRangeEh& Range)
{
    if (HandleAllocated())
        InvalidateClientRect(VisibleRangeRect(Range, true));
}

void TCustomGridEh::InvalidateColumn(int ACol)
{
    if (!HandleAllocated())
        return;
    const int lastRow = std::min(FTopLeft.Y + FullyShownRowCount() + 1, FRowCount - 1);
    RepaintRegionOfRange({ACol, 0, ACol, lastRow});
    if (FContraRowCount > 0)
        RepaintRegionOfRange({ACol, FRowCount, ACol, TotalRowCount() - 1});
}

void TCustomGridEh::InvalidateRowCells(int ARow)
{
    if (!HandleAllocated())
        return;
    const int lastCol = std::min(FTopLeft.X + FullyShownColCount() + 1, FColCount - 1);
    RepaintRegionOfRange({0, ARow, lastCol, ARow});
    if (FContraColCount > 0)
        RepaintRegionOfRange({FColCount, ARow, TotalColCount() - 1, ARow});
}

void TCustomGridEh::RepaintSelectionChange(const TGridCellRangeEh& OldSelection)
{
    if (!HandleAllocated())
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    SplitSelectionChange(VisibleRangeRectInLayout(OldSelection, layout, true),
                         VisibleRangeRectInLayout(GetSelectionRange(), layout, true));
}

void TCustomGridEh::SplitSelectionChange(const TRect& OldRect, const TRect& NewRect)
{
    TRect common;
    if (!IntersectRect(common, OldRect, NewRect)) {
        InvalidateClientRect(OldRect);
        InvalidateClientRect(NewRect);
        return;
    }
    // Only the strips of the union outside the common part change.
    const TRect all = OldRect.United(NewRect);
    InvalidateClientRect(Rect(all.Left, all.Top, all.Right, common.Top));
    InvalidateClientRect(Rect(all.Left, common.Bottom, all.Right, all.Bottom));
    InvalidateClientRect(Rect(all.Left, common.Top, common.Left, common.Bottom));
    InvalidateClientRect(Rect(common.Right, common.Top, all.Right, common.Bottom));
}

// Default answers of the virtual operations.

bool TCustomGridEh::MayStartColumnDrag(int&, int&, TPoint)
{
    return true;
}

bool TCustomGridEh::MayStartRowDrag(int&, int&, TPoint)
{
    return true;
}

bool TCustomGridEh::EditorAcceptsKey(Char)
{
    return true;
}

bool TCustomGridEh::EditorMayModify()
{
    return FMayModify;
}

bool TCustomGridEh::EditorAllowed()
{
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode && HandleAllocated() &&
           (FOptions.Contains(goAlwaysShowEditor) || HasInputFocus());
}

bool TCustomGridEh::GridAcceptsKey(WORD, TShiftState)
{
    return true;
}

TRect TCustomGridEh::CellDisplayRect(int ACol, int ARow)
{
    return CellPixelRect(ACol, ARow);
}

TRect TCustomGridEh::CellFocusRect(int, int, const TRect& CellRect)
{
    return CellRect;
}

bool TCustomGridEh::MayMoveColumnTo(int, int&, TPoint)
{
    return true;
}

bool TCustomGridEh::MayMoveRowTo(int, int&, TPoint)
{
    return true;
}

std::unique_ptr<TGridLineColorsEh> TCustomGridEh::CreateLineColorsObject()
{
    return std::make_unique<TGridLineColorsEh>(this);
}

TGridLineColorsEh* TCustomGridEh::GridLineColors()
{
    if (!FLineColors)
        FLineColors = CreateLineColorsObject();
    return FLineColors.get();
}

bool TCustomGridEh::MayDropColumn(int& Origin, int& Destination, TPoint)
{
    if (Origin < Destination && !FDropAfter)
        --Destination;
    return true;
}

bool TCustomGridEh::MayDropRow(int&, int&, TPoint)
{
    return true;
}

int TCustomGridEh::EditorMaxLength()
{
    return 0;
}

String TCustomGridEh::GetCellEditMask(int, int)
{
    return {};
}

String TCustomGridEh::GetCellEditText(int, int)
{
    return {};
}

int TCustomGridEh::HorzPixelStep()
{
    return std::max(1, FHorzExtents.Page / 20);
}

int TCustomGridEh::VertPixelStep()
{
    return std::max(1, FVertExtents.Page / 20);
}

bool TCustomGridEh::IsHorzPixelScroll()
{
    return FOptions.Contains(goRowSelect);
}

bool TCustomGridEh::IsVertPixelScroll()
{
    return false;
}

bool TCustomGridEh::TracksHoverAt(int, int)
{
    return false;
}

bool TCustomGridEh::MaySelectCell(int, int)
{
    return true;
}

void TCustomGridEh::ColumnRelocated(int, int) {}

void TCustomGridEh::AfterColWidthsChange()
{
    RefreshScrollBars();
    SyncEditor();
}

void TCustomGridEh::AfterRowHeightsChange()
{
    RefreshScrollBars();
    SyncEditor();
}

void TCustomGridEh::FlatChanged() {}

void TCustomGridEh::SelectCellAndNotify(int ACol, int ARow, bool MoveAnchor)
{
    GoToCell(ACol, ARow, true, true, MoveAnchor);
}

void TCustomGridEh::LeaveEditorMode()
{
    FEditorMode = false;
    DismissEditor();
}

void TCustomGridEh::EnterEditorMode()
{
    FEditorMode = true;
    SyncEditor();
}

void TCustomGridEh::BoundaryLayoutChanged()
{
    InvalidateGrid();
}

void TCustomGridEh::RowRelocated(int, int) {}

void TCustomGridEh::PutCellEditText(int, int, const String&) {}

void TCustomGridEh::CountsChanged(int, int) {}

void TCustomGridEh::UpdateFlatLineColor()
{
    FFlatLineColor = FFlat ? clGray : 0;
}

void TCustomGridEh::DefaultCellMouseClick(TGridCoord, TMouseButton, TShiftState, int, int) {}
