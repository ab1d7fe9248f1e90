// Row panel mode, mouse: finding the panel cell under a point, presses on title and data cells,
// sizing a cell's width (with snapping) and height by its borders in the title panel, and moving
// a cell by its title to another line or place.
#include "datagrid/DBGridEh.h"

#include "platform/ui/Canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// A panel cell's right edge closer than this to another cell's left edge snaps onto it.
constexpr int PanelSnapDistance = 4;
// The mouse moves this far with a title held down before the cell starts to move.
constexpr int PanelMoveThreshold = 3;
// The room either side of a cell border that starts its sizing.
constexpr int PanelSizingZone = 3;
// The outline that follows a moved cell.
constexpr TColor PanelMoveOutlineColor = RGB(128, 128, 128);

}  // namespace

// --- Where a point lies -------------------------------------------------------------------------

TPoint TCustomDBGridEh::RowPanelOrigin(int ARow) const
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    return Point(layout.Horz.ScrolledOrigin, CellPixelRect(IndicatorOffset(), ARow).Top);
}

TRect TCustomDBGridEh::PanelCellClientRect(int Index, int ARow) const
{
    return PanelCellClientRect(Index, RowPanelOrigin(ARow));
}

TRect TCustomDBGridEh::PanelCellClientRect(int Index, TPoint Origin) const
{
    TRect cell = Columns()->ColumnAt(Index)->RowPanelRect();
    cell.Offset(Origin.X, Origin.Y);
    return cell;
}

int TCustomDBGridEh::PanelCellAtPoint(int X, int Y)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    if (!FRowPanel->Active() || cell.X != IndicatorOffset() || cell.Y < 0)
        return -1;
    const TPoint origin = RowPanelOrigin(cell.Y);
    for (int i = 0; i < Columns()->Count(); ++i)
        if (Columns()->ColumnAt(i)->Visible() && PointWithinRect(Point(X, Y), PanelCellClientRect(i, origin)))
            return i;
    return -1;
}

int TCustomDBGridEh::HotPanelColumn()
{
    const TGridCoord hover = HoverCell();
    if (hover.X != IndicatorOffset() || hover.Y < 0)
        return -1;
    const TPoint origin = RowPanelOrigin(hover.Y);
    const TRect cell = CellPixelRect(hover.X, hover.Y);
    const TColumnEh* column = RowPanelColumnAt(
        Point(cell.Left + FHoverCellOffset.X - origin.X, cell.Top + FHoverCellOffset.Y - origin.Y));
    return column != nullptr ? column->Index() : -1;
}

void TCustomDBGridEh::DetectSizingAt(int X, int Y, const TGridLayoutEh& Layout, int& Offset, int& Pos, int& Index,
                                     TGridMouseModeEh& Mode)
{
    if (!FRowPanel->Active()) {
        TCustomGridEh::DetectSizingAt(X, Y, Layout, Offset, Pos, Index, Mode);
        return;
    }
    Mode = TGridMouseModeEh::gmmNone;
    const TGridCoord cell = LocateCellInLayout(X, Y, Layout);
    if (!TCustomGridEh::Options().Contains(goColSizing) || cell.X != IndicatorOffset() || !IsTitleRow(cell.Y))
        return;
    const int lineWidth = GridLineWidth();
    auto near = [&](int At, int Border) { return At >= Border - PanelSizingZone && At < Border + lineWidth + PanelSizingZone; };
    const TPoint origin{Layout.Horz.ScrolledOrigin, CellPixelRect(IndicatorOffset(), cell.Y).Top};
    for (int i = 0; i < Columns()->Count(); ++i) {
        if (!Columns()->ColumnAt(i)->Visible())
            continue;
        const TRect part = PanelCellClientRect(i, origin);
        if (Y >= part.Top && Y < part.Bottom && near(X, part.Right)) {
            Mode = TGridMouseModeEh::gmmColSizing;
            Pos = part.Right;
            Offset = Pos - X;
        } else if (X >= part.Left && X < part.Right && near(Y, part.Bottom)) {
            Mode = TGridMouseModeEh::gmmRowSizing;
            Pos = part.Bottom;
            Offset = Pos - Y;
        } else {
            continue;
        }
        Index = i;
        return;
    }
}

// --- Press --------------------------------------------------------------------------------------

bool TCustomDBGridEh::PanelMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FPanelPress = TPanelPressEh();
    const bool left = Button == TMouseButton::mbLeft;
    if (IsOverSizingZone(X, Y)) {
        int index = 0;
        const TGridMouseModeEh mode = SizingModeAt(X, Y, &index);
        if (left && Shift.Contains(ssDouble) && mode == TGridMouseModeEh::gmmColSizing) {
            FitPanelCellWidth(index);
            return true;
        }
        DataLink()->UpdateRecord();
        TCustomGridEh::MouseDown(Button, Shift, X, Y);
        FPanelSizingStart = FSizingPos;
        return true;
    }
    const TGridCoord cell = CellFromPoint(X, Y);
    if (cell.X != IndicatorOffset())
        return false;
    const int index = PanelCellAtPoint(X, Y);
    if (left && Shift.Contains(ssDouble)) {
        DblClickStepCell(index >= 0 ? Columns()->ColumnAt(index) : nullptr, cell.Y, Shift);
        DblClick();
    } else if (IsTitleRow(cell.Y)) {
        if (left && index >= 0) {
            FPanelPress = {index, -1, Point(X, Y), cell};
            PanelTitlePress(index, X, Y);
        }
    } else if (IsDataRow(cell.Y)) {
        FPanelPress = {-1, index, Point(X, Y), cell};
        PanelCellPress(Button, Shift, index, cell, X, Y);
    } else {
        return false;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return true;
}

void TCustomDBGridEh::PanelTitlePress(int Index, int X, int Y)
{
    TColumnEh* column = Columns()->ColumnAt(Index);
    TRect button;
    if (TitleFilterButtonShown(Index) &&
        TitleFilterButtonRect(Point(X, Y), PanelCellClientRect(Index, FPanelPress.Cell.Y), button, column)) {
        if (TitleFilterListShown() && FTitleFilterColumn == column)
            CloseFilterDropDown(false);
        else
            DropDownTitleFilter(column);
        return;
    }
    const int col = DataColToGridCol(Index);
    if (Designing() || !TitleActsAsButton(col))
        return;
    FTitlePress.Button = true;
    FTitlePress.Col = col;
    UpdatePressedLook(X, Y);
}

void TCustomDBGridEh::PanelCellPress(TMouseButton Button, TShiftState Shift, int Index, TGridCoord Cell, int X, int Y)
{
    const bool pressedCurrent = Cell.Y == Row() && Index == FFocusedPanelColumn;
    const bool editorShown = EditorMode();
    DataLink()->UpdateRecord();
    if (!EditorAlwaysShown())
        ChangeEditorMode(false);
    MoveByRecords(Cell.Y - Row());
    if (Index >= 0)
        MoveToDataColumn(Index, 0, false);
    if (Button == TMouseButton::mbLeft && Options().Contains(dgMultiSelect) && Options().Contains(dgRowSelect) &&
        DataLink()->Active())
        SelectPressedRow(Shift.Contains(ssCtrl));
    if (DataLink()->Active() && HitRowDetailSign(Button, Shift, X, Y)) {
        if (Cell.Y == Row())
            FRowDetailPanel->SwitchVisible(!FRowDetailPanel->Visible());
        return;
    }
    if (Index < 0)
        return;
    TColumnEh* column = Columns()->ColumnAt(Index);
    if (IsCheckOrImageKind(column->ClassifyCellKind())) {
        FPress.CheckCell = true;
        return;
    }
    const TRect part = PanelCellClientRect(Index, Cell.Y);
    const bool onButtons = X >= part.Right - column->EditButtonsTotalWidth();
    if (EditorAlwaysShown() || (pressedCurrent && !editorShown) || onButtons)
        ChangeEditorMode(true);
    if (onButtons && Button == TMouseButton::mbLeft)
        ForwardPressToEditorButton(X, Y);
}

void TCustomDBGridEh::ForwardPressToEditorButton(int X, int Y)
{
    TInplaceEdit* editor = InplaceEditor();
    if (!EditorMode() || editor == nullptr || !editor->IsWindowShown())
        return;
    const TPoint at = editor->ScreenToClient(ClientToScreen(Point(X, Y)));
    // Only a press that lies on one of the editor's buttons; the text part needs no second press.
    if (TControl* button = editor->ControlAtPos(at); button != nullptr)
        button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.X - button->Left(), at.Y - button->Top()));
}

void TCustomDBGridEh::PanelCellClickRelease(TShiftState Shift, int X, int Y)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    const int index = PanelCellAtPoint(X, Y);
    // A press on the detail sign toggled the panel and marked no check cell.
    if (index >= 0 && cell == FPress.Cell && index == FPanelPress.Data)
        ReleaseCheckCell(Columns()->ColumnAt(index), cell.Y, Shift);
}

void TCustomDBGridEh::FitPanelCellWidth(int Index)
{
    TColumnEh* column = Columns()->ColumnAt(Index);
    const TRect cell = column->RowPanelRect();
    const int edge = cell.Right + (Options().Contains(dgColLines) ? GridLineWidth() : 0);
    int nearest = INT_MAX;
    for (int i = 0; i < Columns()->Count(); ++i) {
        const TColumnEh* other = Columns()->ColumnAt(i);
        const TRect place = other->RowPanelRect();
        const bool sharesLine = place.Top < cell.Bottom && cell.Top < place.Bottom;
        if (i != Index && other->Visible() && sharesLine && place.Left >= edge && place.Left < FRowPanelWidth)
            nearest = std::min(nearest, place.Left);
    }
    const int grow = nearest != INT_MAX ? nearest - edge : FRowPanelWidth - cell.Right + 1;
    column->SetWidth(column->Width() + grow);
}

// --- Sizing -------------------------------------------------------------------------------------

int TCustomDBGridEh::SnapPanelCellWidth(int Index, int NewWidth)
{
    const TColumnEh* column = Columns()->ColumnAt(Index);
    const TRect cell = column->RowPanelRect();
    // The part of the cell's width that is the tree or group indent, not the column's own.
    const int indent = cell.Width() - column->Width();
    const int edge = cell.Left + indent + NewWidth + GridLineWidth();
    for (int i = 0; i < Columns()->Count(); ++i) {
        const TColumnEh* other = Columns()->ColumnAt(i);
        const int left = other->RowPanelRect().Left;
        if (i != Index && other->Visible() && left > cell.Left && std::abs(left - edge) < PanelSnapDistance)
            return left - cell.Left - indent - GridLineWidth();
    }
    return NewWidth;
}

void TCustomDBGridEh::ApplyPanelCellWidth(int Index, int NewWidth, bool Followers)
{
    if (NewWidth <= 1)
        return;
    TColumnEh* sized = Columns()->ColumnAt(Index);
    const int delta = NewWidth - sized->Width();
    const int right = sized->RowPanelRect().Right;
    Columns()->BeginUpdate();
    try {
        for (int i = 0; i < Columns()->Count() && Followers; ++i) {
            TColumnEh* other = Columns()->ColumnAt(i);
            if (i != Index && other->Visible() && other->RowPanelRect().Right == right)
                other->SetWidth(std::max(2, other->Width() + delta));
        }
        sized->SetWidth(NewWidth);
    } catch (...) {
        Columns()->EndUpdate();
        throw;
    }
    Columns()->EndUpdate();
}

void TCustomDBGridEh::ApplyPanelCellHeight(int Index, int Delta, bool Followers)
{
    TColumnEh* sized = Columns()->ColumnAt(Index);
    const int pitch = RowPanelLinePitch();
    const int lines = sized->InRowLineHeight();
    const int newLines = static_cast<int>(std::lround(static_cast<double>(lines * pitch + Delta) / pitch));
    if (newLines <= 0)
        return;
    const int change = newLines - lines;
    const int bottom = sized->InRowLinePos() + lines;
    Columns()->BeginUpdate();
    try {
        for (int i = 0; i < Columns()->Count() && Followers; ++i) {
            TColumnEh* other = Columns()->ColumnAt(i);
            if (i != Index && other->InRowLinePos() + other->InRowLineHeight() == bottom)
                other->SetInRowLineHeight(std::max(1, other->InRowLineHeight() + change));
        }
        sized->SetInRowLineHeight(newLines);
    } catch (...) {
        Columns()->EndUpdate();
        throw;
    }
    Columns()->EndUpdate();
}

void TCustomDBGridEh::PanelCellRelease(TShiftState Shift, int X, int Y)
{
    const TGridMouseModeEh mode = MouseMode();
    const bool followers = !Shift.Contains(ssShift);
    if (mode == TGridMouseModeEh::gmmRowSizing || mode == TGridMouseModeEh::gmmColSizing) {
        TGridLayoutEh layout;
        ComputeLayout(layout);
        DrawSizingLine(layout);
        const int delta = FSizingPos - FPanelSizingStart;
        FMouseMode = TGridMouseModeEh::gmmNone;
        if (mode == TGridMouseModeEh::gmmRowSizing)
            ApplyPanelCellHeight(FSizingIndex, delta, followers);
        else
            ApplyPanelCellWidth(FSizingIndex, SnapPanelCellWidth(FSizingIndex, Columns()->ColumnAt(FSizingIndex)->Width() + delta),
                                followers);
    } else if (FTitlePress.Button) {
        const int col = FTitlePress.Col;
        const bool onTitle = PointWithinRect(Point(X, Y), ClientRect()) && IsTitleRow(CellFromPoint(X, Y).Y) &&
                             PanelCellAtPoint(X, Y) == GridColToDataCol(col);
        EndMouseTracking();
        if (onTitle)
            ClickTitleButton(col, Shift.Contains(ssCtrl));
    }
    FMouseMode = TGridMouseModeEh::gmmNone;
}

// --- Moving a cell ------------------------------------------------------------------------------

bool TCustomDBGridEh::PanelMoveShouldStart(int X, int Y)
{
    const bool allowed = Designing() || OptionsEh().Contains(dghColumnMove);
    return FPanelPress.Title >= 0 && MouseCapture() && allowed && TitleRowsShown() > 0 &&
           MouseMode() == TGridMouseModeEh::gmmNone && FDBMouseMode == TDBGridMouseModeEh::dmmNone &&
           (std::abs(X - FPanelPress.At.X) > PanelMoveThreshold || std::abs(Y - FPanelPress.At.Y) > PanelMoveThreshold);
}

void TCustomDBGridEh::BeginRowPanelColumnMove(int Index, int X, int Y)
{
    // The pressed title button lets go; the mouse stays captured for the move.
    if (FTitlePress.Button) {
        UpdatePressedLook(-1, -1);
        FTitlePress = TTitlePressEh();
    }
    BeginRowPanelMove(PanelCellClientRect(Index, FPanelPress.Cell.Y), Index, FPanelPress.At);
    TrackRowPanelMove(TMouseButton::mbLeft, X, Y);
}

void TCustomDBGridEh::BeginRowPanelMove(const TRect& CellRect, int Index, TPoint PressPoint)
{
    FMouseMode = TGridMouseModeEh::gmmColMoving;
    FPanelMove = TPanelMoveEh();
    FPanelMove.Column = Index;
    FPanelMove.Target = Index;
    FPanelMove.StartLine = Columns()->ColumnAt(Index)->InRowLinePos();
    FPanelMove.TargetLine = FPanelMove.StartLine;
    FPanelMove.Grab = Point(CellRect.Left - PressPoint.X, CellRect.Top - PressPoint.Y);
    FPanelMove.DragBox = CellRect;
    ShowPanelMoveMarker(true);
    GridDragBoxInstance()->ShowAt(ClientToScreen(CellRect.TopLeft()), CellRect.Width(), CellRect.Height());
}

void TCustomDBGridEh::TrackRowPanelMove(TMouseButton, int X, int Y)
{
    const bool overGroupPanel = DataGrouping()->GroupPanelVisible() && Y < OutBoundaryData()->TopExtent();
    ShowPanelDragBox(X, Y);
    if (overGroupPanel) {
        // The group panel takes the cell on release, as it takes a title.
        ShowPanelMoveMarker(false);
        return;
    }
    const TPoint origin = RowPanelOrigin(FPanelPress.Cell.Y);
    const int pitch = RowPanelLinePitch();
    const int lineCount = std::max(1, (FRowPanelHeight + 1) / pitch);
    const int line = std::clamp((Y + FPanelMove.Grab.Y - origin.Y) / pitch, 0, lineCount - 1);
    const int lineTop = line * pitch;
    int target = -1;
    int targetRight = INT_MIN;
    for (int i = 0; i < Columns()->Count(); ++i) {
        const TColumnEh* column = Columns()->ColumnAt(i);
        const TRect cell = column->RowPanelRect();
        if (column->Visible() && cell.Top <= lineTop && lineTop < cell.Bottom && cell.Right + origin.X < X &&
            cell.Right > targetRight) {
            target = i;
            targetRight = cell.Right;
        }
    }
    const bool changed = line != FPanelMove.TargetLine || target != FPanelMove.Target;
    FPanelMove.TargetLine = line;
    FPanelMove.Target = target;
    if (changed || !FPanelMove.MarkerShown)
        ShowPanelMoveMarker(true);
}

void TCustomDBGridEh::ShowPanelDragBox(int X, int Y)
{
    TRect box = FPanelMove.DragBox;
    box.Offset(X + FPanelMove.Grab.X - box.Left, Y + FPanelMove.Grab.Y - box.Top);
    TGridLayoutEh layout;
    ComputeLayout(layout);
    const int view = layout.Horz.ClientExtent - layout.Horz.FixedBoundary;
    // Past either side of the data the panel scrolls, half a view at a time.
    const int scroll = box.Left < layout.Horz.FixedBoundary ? -view / 2 : box.Right > ClientWidth() ? view / 2 : 0;
    if (scroll != 0) {
        ScrollByPixels(scroll, 0);
        StartAutoScrollTimer(60);
        FPanelMove.MarkerShown = false;
    } else {
        StopAutoScrollTimer();
    }
    // Kept inside the client area.
    box.Offset(std::clamp(box.Left, 0, std::max(0, ClientWidth() - box.Width())) - box.Left,
               std::clamp(box.Top, 0, std::max(0, ClientHeight() - box.Height())) - box.Top);
    FPanelMove.DragBox = box;
    GridDragBoxInstance()->MoveToClientPoint(this, box.TopLeft());
}

void TCustomDBGridEh::TogglePanelMoveOutline()
{
    const TRect cell = PanelCellClientRect(FPanelMove.Column, FPanelPress.Cell.Y);
    TCanvas* canvas = Canvas();
    TPen saved;
    saved.Assign(canvas->Pen());
    canvas->Pen()->SetStyle(TPenStyle::psSolid);
    canvas->Pen()->SetMode(TPenMode::pmXor);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(PanelMoveOutlineColor);
    const TPoint outline[] = {{cell.Left, cell.Top},
                              {cell.Right - 1, cell.Top},
                              {cell.Right - 1, cell.Bottom - 1},
                              {cell.Left, cell.Bottom - 1},
                              {cell.Left, cell.Top}};
    canvas->Polyline(outline);
    canvas->SetPen(&saved);
    FPanelMove.OutlineShown = !FPanelMove.OutlineShown;
}

void TCustomDBGridEh::ShowPanelMoveMarker(bool Show)
{
    if (Show != FPanelMove.OutlineShown)
        TogglePanelMoveOutline();
    FPanelMove.MarkerShown = Show;
    if (!Show) {
        HideMoveMarker();
        return;
    }
    const TPoint origin = RowPanelOrigin(FPanelPress.Cell.Y);
    const int x = FPanelMove.Target >= 0 ? Columns()->ColumnAt(FPanelMove.Target)->RowPanelRect().Right + origin.X
                                         : origin.X - 1;
    const TPoint at = ClientToScreen(Point(x, origin.Y + FPanelMove.TargetLine * RowPanelLinePitch()));
    TGridMoveLineEh* marker = GridMoveLineInstance();
    if (marker->IsShown())
        marker->MoveMarker(at);
    else
        marker->ShowMarker(at, RowPanelLineHeight(), true);
}

int TCustomDBGridEh::PanelMoveTargetIndex()
{
    // After the target in the collection, so the layout places the cell right of it; before
    // every column when dropped at a line's start.
    const int from = FPanelMove.Column;
    const int target = FPanelMove.Target;
    if (target < 0)
        return 0;
    return from > target ? target + 1 : target;
}

void TCustomDBGridEh::EndRowPanelMove(bool Drop)
{
    ShowPanelMoveMarker(false);
    GridDragBoxInstance()->Hide();
    StopAutoScrollTimer();
    FMouseMode = TGridMouseModeEh::gmmNone;
    if (Drop && FPanelMove.Target != FPanelMove.Column) {
        TColumnEh* moved = Columns()->ColumnAt(FPanelMove.Column);
        const int index = PanelMoveTargetIndex();
        Columns()->BeginUpdate();
        try {
            moved->SetInRowLinePos(FPanelMove.TargetLine);
            moved->SetIndex(index);
        } catch (...) {
            Columns()->EndUpdate();
            FPanelMove = TPanelMoveEh();
            throw;
        }
        Columns()->EndUpdate();
    }
    FPanelMove = TPanelMoveEh();
}

bool TCustomDBGridEh::ReleasePanelMove(TMouseButton Button, int X, int Y)
{
    if (!RowPanelMoving())
        return false;
    TColumnEh* moved = Columns()->ColumnAt(FPanelMove.Column);
    const bool left = Button == TMouseButton::mbLeft;
    if (left && DataGrouping()->GroupPanelVisible() && Y >= 0 && Y < OutBoundaryData()->TopExtent()) {
        EndRowPanelMove(false);
        DropColumnOnGroupPanel(moved, X);
        return true;
    }
    EndRowPanelMove(left && PointWithinRect(Point(X, Y), ClientRect()));
    return true;
}

void TCustomDBGridEh::CancelMouseMode()
{
    if (RowPanelMoving())
        EndRowPanelMove(false);
    // A press held as a button's waits for a release that a lost capture never brings.
    FIndicatorTitle->ReleasePress();
    TCustomGridEh::CancelMouseMode();
}
