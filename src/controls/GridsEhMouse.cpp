// Mouse: selecting cells, starting and ending sizing and moving, auto-scrolling on timer 1,
// the wheel, hover tracking, cell clicks, the sizing cursor, and the window messages the grid
// answers itself.
#include "controls/GridsEh.h"

#include "platform/ui/Forms.h"
#include "platform/ui/PlatformMetrics.h"

#include <algorithm>
#include <cmath>

namespace {

// Timer 1 steps auto-scrolling while the mouse selects or moves cells.
constexpr WPARAM AutoScrollTimer = 1;
constexpr unsigned AutoScrollInterval = 60;
// After a step that scrolled forward with the mouse inside the grid, the next one waits longer.
constexpr unsigned SlowAutoScrollInterval = 360;

bool IsMouseMoving(TGridMouseModeEh Mode)
{
    return Mode == TGridMouseModeEh::gmmRowMoving || Mode == TGridMouseModeEh::gmmColMoving;
}

bool IsMouseSizing(TGridMouseModeEh Mode)
{
    return Mode == TGridMouseModeEh::gmmRowSizing || Mode == TGridMouseModeEh::gmmColSizing;
}

// Every monitor together.
TRect DesktopRect()
{
    TRect desktop;
    for (const TMonitorArea& monitor : PlatformMetrics().Monitors())
        desktop = desktop.IsEmpty() ? monitor.Bounds : desktop.United(monitor.Bounds);
    return desktop;
}

} // namespace

unsigned ColumnMoveScrollInterval(int EdgeRoom, int MouseDistance)
{
    // An edge at or past the desktop's edge still leaves one pixel, so the interval stays positive.
    const int room = std::clamp(EdgeRoom, 1, 200);
    const int distance = std::min(room, MouseDistance);
    return static_cast<unsigned>(std::lround(room / static_cast<double>(std::max(distance - 10, 1)) * 1.5)) +
           AutoScrollInterval;
}

void TCustomGridEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CHAR: HandleChar(Message); return;
    case WM_GETDLGCODE: Message.Result = static_cast<LRESULT>(DialogCode()); return;
    case CM_WANTSPECIALKEY:
        Message.Result = FOptions.Contains(goEditing) && Message.WParam == VK_RETURN ? 1 : 0;
        return;
    case WM_COMMAND:
        if (HIWORD(Message.WParam) == EN_CHANGE) {
            const TWinControl* sender = FindControl(reinterpret_cast<HWND>(Message.LParam));
            if (sender != nullptr && sender->Parent() == this) {
                StoreEditorText();
                return;
            }
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: HandleFocusMessage(Message); return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: HandleMouseButtonMessage(Message); return;
    case WM_NCHITTEST:
        TCustomControl::Dispatch(Message);
        FLastMousePoint = ScreenToClient(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        return;
    case WM_SETCURSOR: HandleSetCursor(Message); return;
    case WM_SIZE:
        TCustomControl::Dispatch(Message);
        RefreshScrollBars();
        // Contra cells hang from the far edges, so a new size moves them.
        if (FContraColCount > 0 || FContraRowCount > 0)
            InvalidateGrid();
        return;
    case CM_SHOWINGCHANGED:
        TCustomControl::Dispatch(Message);
        RefreshScrollBars();
        return;
    case WM_HSCROLL:
    case WM_VSCROLL: HandleScrollMessage(Message); return;
    case WM_TIMER:
        if (Message.WParam == AutoScrollTimer) {
            HandleAutoScrollTimer();
            return;
        }
        break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        TCustomControl::Dispatch(Message);
        CancelMouseMode();
        return;
    case CM_MOUSELEAVE:
        TCustomControl::Dispatch(Message);
        if (HandleAllocated()) {
            const TPoint mouse = ScreenToClient(GetCursorPos());
            TrackHoverCell(mouse.X, mouse.Y);
        }
        return;
    default: break;
    }
    TCustomControl::Dispatch(Message);
}

void TCustomGridEh::HandleMouseButtonMessage(TMessage& Message)
{
    const unsigned msg = Message.Msg;
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
    const bool doubleClick = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    const TMouseButton button = msg <= WM_LBUTTONDBLCLK   ? TMouseButton::mbLeft
                                : msg <= WM_RBUTTONDBLCLK ? TMouseButton::mbRight
                                                          : TMouseButton::mbMiddle;
    const TPoint at = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    const std::uint32_t time = GetTickCount();
    if (down)
        FLastMouseDownCell = CellFromPoint(at.X, at.Y);
    TCustomControl::Dispatch(Message);
    if (down) {
        // A press in the editor soon after this one is a double click. Stamped after the press
        // was handled, since a press on the current cell is what makes the editor the first time.
        if (FInplaceEdit)
            FInplaceEdit->SetClickTime(time);
        return;
    }
    // Asked after the button's own handling, which ends any mouse mode.
    if (!MouseUpMayClickCell(Message))
        return;
    const TGridCoord cell = CellFromPoint(at.X, at.Y);
    if (cell.X < 0 || cell != FLastMouseDownCell)
        return;
    TShiftState shift = KeysToShiftState(static_cast<unsigned>(Message.WParam));
    if (doubleClick)
        shift.Include(ssDouble);
    const TRect rect = CellPixelRect(cell.X, cell.Y);
    RaiseCellMouseClick(cell, button, shift, at.X - rect.Left, at.Y - rect.Top);
}

bool TCustomGridEh::MouseUpMayClickCell(const TMessage& Message)
{
    return FMouseMode == TGridMouseModeEh::gmmNone && GET_X_LPARAM(Message.LParam) >= 0 &&
           GET_Y_LPARAM(Message.LParam) >= 0;
}

void TCustomGridEh::RaiseCellMouseClick(TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnCellMouseClick)
        OnCellMouseClick(this, Cell, Button, Shift, X, Y);
    else
        DefaultCellMouseClick(Cell, Button, Shift, X, Y);
}

void TCustomGridEh::HandleSetCursor(TMessage& Message)
{
    if (LOWORD(static_cast<std::uintptr_t>(Message.LParam)) == static_cast<unsigned>(HTCLIENT)) {
        const TGridMouseModeEh mode = SizingModeAt(FLastMousePoint.X, FLastMousePoint.Y);
        if (mode != TGridMouseModeEh::gmmNone) {
            ::SetCursor(mode == TGridMouseModeEh::gmmRowSizing ? crVSplit : crHSplit);
            Message.Result = 1;
            return;
        }
    }
    TCustomControl::Dispatch(Message);
}

void TCustomGridEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    DismissEditor();
    if (CanFocus() || GetParentForm(this) == nullptr) {
        SetFocus();
        if (!HasInputFocus()) {
            SetMouseCapture(false);
            return;
        }
    }
    if (Button == TMouseButton::mbLeft && Shift.Contains(ssDouble))
        DblClick();
    else if (Button == TMouseButton::mbLeft) {
        TGridLayoutEh layout;
        ComputeLayout(layout);
        DetectSizingAt(X, Y, layout, FSizingOffset, FSizingPos, FSizingIndex, FMouseMode);
        if (IsMouseSizing(FMouseMode)) {
            DrawSizingLine(layout);
            return;
        }
        const TGridCoord cell = LocateCellInLayout(X, Y, layout);
        const bool dataCell = cell.X >= FFixedCols - FFrozenFixedCols && cell.X < FColCount &&
                              cell.Y >= FFixedRows - FFrozenFixedRows && cell.Y < FRowCount;
        if (!dataCell)
            TryStartMove(cell, X, Y);
        else if (FOptions.Contains(goEditing)) {
            if (cell == FCurrent)
                EnterEditorMode();
            else {
                MoveCurrentCell(cell.X, cell.Y, true, true, true);
                SyncEditor();
            }
            Click();
        } else {
            FMouseMode = TGridMouseModeEh::gmmSelecting;
            SetTimer(AutoScrollTimer, AutoScrollInterval);
            if (Shift.Contains(ssShift))
                ExtendSelectionTo(cell, true);
            else
                MoveCurrentCell(cell.X, cell.Y, true, true, true);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGridEh::MouseMove(TShiftState Shift, int X, int Y)
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    if (IsMouseSizing(FMouseMode)) {
        DrawSizingLine(layout);
        FSizingPos = (FMouseMode == TGridMouseModeEh::gmmColSizing ? X : Y) + FSizingOffset;
        DrawSizingLine(layout);
    } else if (IsMouseMoving(FMouseMode)) {
        TrackMoveTarget(X, Y, layout);
    } else if (FMouseMode == TGridMouseModeEh::gmmSelecting) {
        // Only cells on screen count, and the one just past the last fully shown.
        const TGridCoord cell = LocateCellInLayout(X, Y, layout);
        const bool inside = cell.X >= FFixedCols - FFrozenFixedCols &&
                            cell.X <= std::min(layout.Horz.LastFullVisibleCell + 1, FColCount - 1) &&
                            cell.Y >= FFixedRows - FFrozenFixedRows &&
                            cell.Y <= std::min(layout.Vert.LastFullVisibleCell + 1, FRowCount - 1);
        if (inside && cell != FAnchor)
            ExtendSelectionTo(cell, true);
    } else {
        TrackHoverCell(X, Y);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGridEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    switch (FMouseMode) {
    case TGridMouseModeEh::gmmSelecting:
        MouseMove(Shift, X, Y);
        KillTimer(AutoScrollTimer);
        FMouseMode = TGridMouseModeEh::gmmNone;
        SyncEditor();
        Click();
        break;
    case TGridMouseModeEh::gmmRowSizing:
    case TGridMouseModeEh::gmmColSizing: {
        TGridLayoutEh layout;
        ComputeLayout(layout);
        FinishSizing(layout);
        break;
    }
    case TGridMouseModeEh::gmmRowMoving:
    case TGridMouseModeEh::gmmColMoving: FinishMove(X, Y); break;
    case TGridMouseModeEh::gmmNone: SyncEditor(); break;
    }
    FMouseMode = TGridMouseModeEh::gmmNone;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TCustomGridEh::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (!TCustomControl::DoMouseWheelDown(Shift, MousePos)) {
        if (IsVertPixelScroll())
            ScrollByPixels(0, VertPixelStep());
        else if (FCurrent.Y < FRowCount - 1)
            MoveToRow(FCurrent.Y + 1);
    }
    return true;
}

bool TCustomGridEh::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (!TCustomControl::DoMouseWheelUp(Shift, MousePos)) {
        if (IsVertPixelScroll())
            ScrollByPixels(0, -VertPixelStep());
        else if (FCurrent.Y > FFixedRows)
            MoveToRow(FCurrent.Y - 1);
    }
    return true;
}

void TCustomGridEh::HandleAutoScrollTimer()
{
    if (FMouseMode != TGridMouseModeEh::gmmSelecting && !IsMouseMoving(FMouseMode))
        return;
    const TPoint screenMouse = GetCursorPos();
    const TPoint mouse = ScreenToClient(screenMouse);
    TGridLayoutEh layout;
    ComputeLayout(layout);
    if (FMouseMode == TGridMouseModeEh::gmmSelecting) {
        TGridScrollDirectionsEh directions;
        if (mouse.X < layout.Horz.FixedBoundary)
            directions.Include(gsdLeft);
        else if (mouse.X > layout.Horz.DrawnEdge)
            directions.Include(gsdRight);
        if (mouse.Y < layout.Vert.FixedBoundary)
            directions.Include(gsdUp);
        else if (mouse.Y > layout.Vert.DrawnEdge)
            directions.Include(gsdDown);
        if (!directions.Empty())
            StepAnchorCell(directions);
        return;
    }
    if (FMouseMode == TGridMouseModeEh::gmmRowMoving) {
        TrackMoveTarget(mouse.X, mouse.Y, layout);
        return;
    }
    const int oldPosition = FHorzExtents.BeforeFirst + FHorzPixelOffset;
    TrackMoveTarget(mouse.X, mouse.Y, layout);
    unsigned interval = AutoScrollInterval;
    if (FMoveTarget >= FFixedCols) {
        const int boundary = ClientToScreen(Point(layout.Horz.FixedBoundary, 0)).X;
        const int edge = ClientToScreen(Point(layout.Horz.DrawnEdge, 0)).X;
        if (screenMouse.X < boundary)
            interval = ColumnMoveScrollInterval(boundary - DesktopRect().Left, boundary - screenMouse.X);
        else if (screenMouse.X > edge)
            interval = ColumnMoveScrollInterval(DesktopRect().Right - edge, screenMouse.X - edge);
        else if (FHorzExtents.BeforeFirst + FHorzPixelOffset > oldPosition)
            interval = SlowAutoScrollInterval;
    }
    SetTimer(AutoScrollTimer, interval);
}

void TCustomGridEh::CancelMouseMode()
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    switch (FMouseMode) {
    case TGridMouseModeEh::gmmSelecting: KillTimer(AutoScrollTimer); break;
    case TGridMouseModeEh::gmmRowSizing:
    case TGridMouseModeEh::gmmColSizing: DrawSizingLine(layout); break;
    case TGridMouseModeEh::gmmRowMoving:
        DrawMoveIndicator(layout);
        KillTimer(AutoScrollTimer);
        break;
    case TGridMouseModeEh::gmmColMoving:
        HideMoveMarker();
        KillTimer(AutoScrollTimer);
        break;
    case TGridMouseModeEh::gmmNone: break;
    }
    FMouseMode = TGridMouseModeEh::gmmNone;
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
    // The pixels under the editor moved with the contents: only its window follows its cell.
    if (FInplaceEdit && FEditorCell == FCurrent && EditorAllowed())
        FInplaceEdit->PlaceWithoutRedraw(CellDisplayRect(FCurrent.X, FCurrent.Y));
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
