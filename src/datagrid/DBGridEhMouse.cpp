// Mouse: a press acts on what lies under it (a title button and the sort markers, the
// indicator and the records for row selection, cells for the rectangle selection, the titles for
// column selection, check boxes); the grid's own mouse modes run until the release.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"

#include "platform/data/DataSet.h"

#include <algorithm>

namespace {

constexpr WPARAM AutoScrollTimer = 1;

bool IsPanelSizingMode(TGridMouseModeEh Mode)
{
    return Mode == TGridMouseModeEh::gmmRowSizing || Mode == TGridMouseModeEh::gmmColSizing;
}

} // namespace

bool PointWithinRect(TPoint Point, const TRect& Rect)
{
    return Point.X >= Rect.Left && Point.X <= Rect.Right && Point.Y >= Rect.Top && Point.Y <= Rect.Bottom;
}

// --- Where a point lies -------------------------------------------------------------------------

bool TCustomDBGridEh::IsTitleRow(int ARow) { return ARow >= 0 && ARow < RowsAboveData(); }

bool TCustomDBGridEh::IsDataRow(int ARow)
{
    // A memory table shows every record (or, grouped, every shown group and record) as a row.
    int rows = DataLink()->RecordCount();
    if (IsMemTableMode())
        rows = GroupingInEffect() ? FDataGrouping->GroupDataTree()->ShownRowCount() : FMemTable->MemTableRecordCount();
    return DataLink()->Active() && ARow >= RowsAboveData() && ARow < RowsAboveData() + rows;
}

TColumnEh* TCustomDBGridEh::ColumnAtGridCol(int ACol) const
{
    const int index = ACol - IndicatorOffset();
    return ACol >= IndicatorOffset() && index < Columns()->Count() ? Columns()->ColumnAt(index) : nullptr;
}

bool TCustomDBGridEh::CursorInRect(const TRect& Rect) const
{
    if (!HandleAllocated())
        return false;
    return PointWithinRect(ScreenToClient(GetCursorPos()), Rect);
}

bool TCustomDBGridEh::InColumnSelectZone(int X, int Y)
{
    if (!Options().Contains(dgMultiSelect) || Options().Contains(dgRowSelect) || !DataLink()->Active() ||
        !IsSelectionTypeAllowed(TDBGridEhSelectionType::gstColumns))
        return false;
    const TGridCoord cell = CellFromPoint(X, Y);
    if (!IsTitleRow(cell.Y) || ColumnAtGridCol(cell.X) == nullptr)
        return false;
    // The lowest line of the title: a data row's height, or the whole title when it is lower.
    const TRect rect = CellPixelRect(cell.X, cell.Y);
    const int zone = std::min(rect.Bottom - rect.Top, DefaultRowHeight());
    return Y >= rect.Bottom - zone;
}

// --- Press --------------------------------------------------------------------------------------

void TCustomDBGridEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    HandleMouseDown(Button, Shift, X, Y);
}

void TCustomDBGridEh::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    FPress = TCellPressEh{cell, Shift};
    if (!AcquireFocus())
        return;
    if (PressFilterCell(Button, X, Y))
        return;
    const bool left = Button == TMouseButton::mbLeft;
    if (left && (PressGroupPanelAt(X, Y) || ClickGroupRow(Shift, X, Y))) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (RowPanel()->Active() && PanelMouseDown(Button, Shift, X, Y))
        return;
    TColumnEh* column = ColumnAtGridCol(cell.X);
    if (left && Shift.Contains(ssDouble)) {
        TTitleSizingBorderEh border;
        const bool fitted = OptionsEh().Contains(dghDblClickOptimizeColWidth) && FindTitleSizingBorder(X, Y, border) &&
                            ColumnAtGridCol(border.Col) != nullptr;
        if (fitted)
            OptimizeSelectedColsWidth(ColumnAtGridCol(border.Col));
        else
            DblClickStepCell(column, cell.Y, Shift);
        if (!fitted)
            DblClick();
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (left && StartTitleSizing(X, Y)) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (IsOverSizingZone(X, Y)) {
        DataLink()->UpdateRecord();
        TCustomGridEh::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (left && InColumnSelectZone(X, Y)) {
        PressColumnSelection(column, Shift);
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (IsTitleRow(cell.Y) && column != nullptr && HitTitleFilterButton(cell, Point(X, Y)) != 0) {
        if (TitleFilterListShown() && FTitleFilterColumn == column)
            CloseFilterDropDown(false);
        else
            DropDownTitleFilter(column);
        return;
    }
    if (IsTitleRow(cell.Y) && cell.X >= 0 && cell.X < IndicatorOffset()) {
        if (Center() != nullptr)
            Center()->IndicatorTitleMouseDown(this, cell, X, Y, Shift, Button);
        else
            RaiseIndicatorTitleMouseDown(cell, Button, Shift, X, Y);
        return;
    }
    if (IsTitleRow(cell.Y) && column != nullptr && left && TitleActsAsButton(cell.X)) {
        FTitlePress.Button = true;
        FTitlePress.Col = cell.X;
        UpdatePressedLook(X, Y);
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    // A press on a record's indicator may start its drag, one on a tree node's sign toggles it.
    if (left && ((BeginRecordDrag(X, Y, false) && RecordDragging()) || ToggleTreeNodeAt(X, Y, false))) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (!IsDataRow(cell.Y)) {
        if (DataLink()->Active())
            DataLink()->UpdateRecord();
        TCustomGridEh::MouseDown(Button, Shift, X, Y);
        return;
    }
    const bool onDetailSign = DataLink()->Active() && HitRowDetailSign(Button, Shift, X, Y);
    PressDataRow(Button, Shift, cell, column, onDetailSign);
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomDBGridEh::SelectPressedRow(bool Toggle)
{
    TBookmarkListEh* rows = SelectedRows();
    if (Toggle) {
        rows->SetCurrentRowSelected(!rows->IsCurrentRowSelected());
    } else {
        ClearAllSelections();
        rows->SetCurrentRowSelected(true);
    }
    FRowAnchor = DataLink()->DataSet()->Bookmark();
    FRowAnchorActive = true;
}

void TCustomDBGridEh::PressColumnSelection(TColumnEh* Column, TShiftState Shift)
{
    FDBMouseMode = TDBGridMouseModeEh::dmmSelectColumns;
    StartAutoScrollTimer(60);
    TDBGridEhSelectionCols* columns = FSelection->Columns();
    if (Shift.Contains(ssShift))
        columns->ShiftSelectTo(Column);
    else if (Shift.Contains(ssCtrl))
        columns->ToggleColumn(Column);
    else
        columns->SelectColumn(Column, false);
    InvalidateGrid();
}

void TCustomDBGridEh::PressDataRow(TMouseButton Button, TShiftState Shift, TGridCoord Cell, TColumnEh* Column,
                                   bool OnDetailSign)
{
    TDataSet* data = DataLink()->DataSet();
    const bool left = Button == TMouseButton::mbLeft;
    const bool shift = Shift.Contains(ssShift);
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool onIndicator = Cell.X < IndicatorOffset();
    const bool rowPress = Options().Contains(dgRowSelect) || onIndicator ||
                          !IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle);
    const bool shiftRows = shift && rowPress && Options().Contains(dgMultiSelect);
    const bool pressedCurrent = Cell.Y == Row() && Cell.X == Col();
    FInputClearsSelection = !shift && !ctrl && OptionsEh().Contains(dghClearSelection);
    DataLink()->UpdateRecord();
    const int previousCol = FocusedColumnIndex();
    const TBookmark previousRecord = data->Bookmark();
    const bool editorShown = EditorMode();
    if (!EditorAlwaysShown())
        ChangeEditorMode(false);
    if (!shiftRows)
        MoveByRecords(Cell.Y - Row());
    if (OnDetailSign) {
        if (Cell.Y == Row())
            FRowDetailPanel->SwitchVisible(!FRowDetailPanel->Visible());
        return;
    }
    if (Column != nullptr)
        MoveToDataColumn(Column->Index(), 0, false);
    if (!left)
        return;
    TBookmarkListEh* rows = SelectedRows();
    const bool rowSelection = FSelection->SelectionType() == TDBGridEhSelectionType::gstRecordBookmarks &&
                              rows->ItemCount() > 0;
    // Ctrl toggles at once below: deciding it on release would clear the whole selection.
    if (!shift && !ctrl && rowPress && rowSelection && rows->IsCurrentRowSelected()) {
        // Clearing or toggling is decided on release, so a drag from a selected row keeps it.
        FPress.SelectedRowClick = true;
    } else if (!rowPress && IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRectangle)) {
        FDBMouseMode = TDBGridMouseModeEh::dmmSelectRect;
        if (FInputClearsSelection)
            ClearAllSelections();
        // Shift spans from the rectangle's anchor, or from the cell that was current.
        if (shift && FSelection->SelectionType() != TDBGridEhSelectionType::gstRectangle)
            FSelection->Rect()->SelectTo(previousCol, previousRecord, false);
        FSelection->Rect()->SelectTo(FocusedColumnIndex(), data->Bookmark(), shift);
    } else if (rowPress && IsSelectionTypeAllowed(TDBGridEhSelectionType::gstRecordBookmarks)) {
        if (shiftRows) {
            NavigateRecords(true, Cell.Y - Row(), true, false);
        } else {
            SelectPressedRow(ctrl || !OptionsEh().Contains(dghClearSelection));
        }
        FDBMouseMode = TDBGridMouseModeEh::dmmSelectRows;
    }
    if (Column == nullptr)
        return;
    if (IsCheckOrImageKind(Column->ClassifyCellKind()))
        FPress.CheckCell = true;
    else if (EditorAlwaysShown() || (pressedCurrent && !editorShown && FSelection->SelectionType() ==
                                                                             TDBGridEhSelectionType::gstNon))
        ChangeEditorMode(true);
}

// --- Move ---------------------------------------------------------------------------------------

void TCustomDBGridEh::MouseMove(TShiftState Shift, int X, int Y) { HandleMouseMove(Shift, X, Y); }

void TCustomDBGridEh::HandleMouseMove(TShiftState Shift, int X, int Y)
{
    FLastMousePoint = Point(X, Y);
    if (RowPanelMoving() || (RowPanel()->Active() && PanelMoveShouldStart(X, Y))) {
        if (RowPanelMoving())
            TrackRowPanelMove(TMouseButton::mbLeft, X, Y);
        else
            BeginRowPanelColumnMove(FPanelPress.Title, X, Y);
        TCustomControl::MouseMove(Shift, X, Y);
        return;
    }
    if (FTitlePress.Button) {
        UpdatePressedLook(X, Y);
        TCustomControl::MouseMove(Shift, X, Y);
        return;
    }
    switch (FDBMouseMode) {
    case TDBGridMouseModeEh::dmmSelectRows:
    case TDBGridMouseModeEh::dmmSelectRect: DragSelection(X, Y); break;
    case TDBGridMouseModeEh::dmmSelectColumns:
        if (TColumnEh* column = ColumnAtGridCol(CellFromPoint(X, Y).X); column != nullptr)
            FSelection->Columns()->ShiftSelectTo(column);
        break;
    case TDBGridMouseModeEh::dmmSizeColumn: TrackTitleSizing(X); break;
    case TDBGridMouseModeEh::dmmRecordDrag: TrackRecordDrag(X, Y); break;
    case TDBGridMouseModeEh::dmmNone: TCustomGridEh::MouseMove(Shift, X, Y); return;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomDBGridEh::DragSelection(int X, int Y)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    const bool rows = FDBMouseMode == TDBGridMouseModeEh::dmmSelectRows;
    if (!IsDataRow(cell.Y)) {
        StartAutoScrollTimer(60);
        return;
    }
    StopAutoScrollTimer();
    if (cell.Y != Row())
        NavigateRecords(true, cell.Y - Row(), rows, false);
    if (TColumnEh* column = ColumnAtGridCol(cell.X); column != nullptr && column->Index() != FocusedColumnIndex())
        MoveToDataColumn(column->Index(), 0, !rows);
}

// --- Release ------------------------------------------------------------------------------------

void TCustomDBGridEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) { HandleMouseUp(Button, Shift, X, Y); }

void TCustomDBGridEh::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridCoord cell = CellFromPoint(X, Y);
    const bool left = Button == TMouseButton::mbLeft;
    // A column the base grid moved or sized is no click; a press that moved nothing still is.
    const TGridMouseModeEh mode = MouseMode();
    const bool moving = mode == TGridMouseModeEh::gmmColMoving || mode == TGridMouseModeEh::gmmRowMoving;
    const bool baseMode = mode != TGridMouseModeEh::gmmNone && (!moving || FMoveTarget != FMoveOrigin);
    if (ReleasePanelMove(Button, X, Y)) {
        TCustomGridEh::MouseUp(Button, Shift, X, Y);
        return;
    }
    if (RowPanel()->Active() && (IsPanelSizingMode(mode) || FTitlePress.Button)) {
        PanelCellRelease(Shift, X, Y);
        TCustomGridEh::MouseUp(Button, Shift, X, Y);
        return;
    }
    if (left && (ReleaseGroupPanelAt(X, Y) || (mode == TGridMouseModeEh::gmmColMoving && DropTitleOnGroupPanel(X, Y)))) {
        TCustomControl::MouseUp(Button, Shift, X, Y);
        return;
    }
    if (FDBMouseMode == TDBGridMouseModeEh::dmmRecordDrag) {
        FinishRecordDrag(X, Y, left);
        TCustomGridEh::MouseUp(Button, Shift, X, Y);
        return;
    }
    if (FDBMouseMode == TDBGridMouseModeEh::dmmSizeColumn) {
        // A sized column is no title click.
        FinishTitleSizing();
        TCustomGridEh::MouseUp(Button, Shift, X, Y);
        return;
    }
    if (FPress.SelectedRowClick) {
        FPress.SelectedRowClick = false;
        if (OptionsEh().Contains(dghClearSelection))
            ClearAllSelections();
    }
    if (FTitlePress.Button) {
        const bool onTitle = PointWithinRect(Point(X, Y), ClientRect()) && IsTitleRow(cell.Y) &&
                             cell.X == FTitlePress.Col;
        const int pressedCol = FTitlePress.Col;
        EndMouseTracking();
        if (onTitle)
            ClickTitleButton(pressedCol, Shift.Contains(ssCtrl));
    }
    EndMouseTracking();
    FIndicatorTitle->ReleasePress();
    TCustomGridEh::MouseUp(Button, Shift, X, Y);
    if (baseMode || !left)
        return;
    // In row panel mode the column is the panel cell's.
    const int panelCell = RowPanel()->Active() ? PanelCellAtPoint(X, Y) : -1;
    TColumnEh* column = RowPanel()->Active() ? (panelCell >= 0 ? Columns()->ColumnAt(panelCell) : nullptr)
                                             : ColumnAtGridCol(cell.X);
    if (column != nullptr && IsTitleRow(cell.Y))
        RaiseTitleClick(column);
    else if (column != nullptr && IsDataRow(cell.Y))
        RaiseCellClick(column);
    if (RowPanel()->Active())
        PanelCellClickRelease(Shift, X, Y);
    else if (cell == FPress.Cell)
        ReleaseCheckCell(column, cell.Y, Shift);
    FPress.CheckCell = false;
}

void TCustomDBGridEh::DblClickStepCell(TColumnEh* Column, int ARow, TShiftState Shift)
{
    if (Column != nullptr && IsDataRow(ARow) && Column->DblClickNextVal() &&
        IsCheckOrImageKind(Column->ClassifyCellKind()) && Column->CanEditCell(true))
        Column->StepCellValue(Shift.Contains(ssShift) ? -1 : 1);
}

void TCustomDBGridEh::ReleaseCheckCell(TColumnEh* Column, int ARow, TShiftState Shift)
{
    if (Column != nullptr && FPress.CheckCell && IsDataRow(ARow) && !Column->DblClickNextVal() &&
        !FPress.Shift.Contains(ssDouble) && Column->CanEditCell(true))
        Column->StepCellValue(Shift.Contains(ssShift) ? -1 : 1);
}

void TCustomDBGridEh::ClickTitleButton(int ACol, bool Ctrl)
{
    TColumnEh* column = ColumnAtGridCol(ACol);
    if (column == nullptr)
        return;
    RaiseTitleBtnClick(ACol, column);
    if (!OptionsEh().Contains(dghAutoSortMarking))
        return;
    column->Title()->StepSortMarker(Ctrl);
    for (int row = 0; row < RowsAboveData(); ++row)
        InvalidateRowCells(row);
    if (Ctrl)
        FPendingMultiSort = true;
    else
        RaiseSortMarkingChanged();
}

void TCustomDBGridEh::RaiseSortMarkingChanged()
{
    if (!OptionsEh().Contains(dghAutoSortMarking))
        return;
    if (OnSortMarkingChanged)
        OnSortMarkingChanged(this);
    else
        DefaultSortMarkingChanged();
}

void TCustomDBGridEh::EndPendingMultiSort()
{
    if (!FPendingMultiSort)
        return;
    FPendingMultiSort = false;
    RaiseSortMarkingChanged();
}

void TCustomDBGridEh::KeyUp(WORD& Key, TShiftState Shift)
{
    TCustomGridEh::KeyUp(Key, Shift);
    if (Key == VK_CONTROL)
        EndPendingMultiSort();
}

bool TCustomDBGridEh::TitleActsAsButton(int ACol)
{
    TColumnEh* column = ColumnAtGridCol(ACol);
    if (column == nullptr)
        return false;
    // The title's own setting, which OnCheckButton may overrule.
    bool enabled = column->Title()->TitleButton();
    if (OnCheckButton)
        OnCheckButton(this, column->Index(), column, enabled);
    return enabled;
}

void TCustomDBGridEh::EndMouseTracking()
{
    if (FDBMouseMode == TDBGridMouseModeEh::dmmNone && !FTitlePress.Button)
        return;
    StopAutoScrollTimer();
    if (FTitlePress.Button)
        UpdatePressedLook(-1, -1);
    if (FDBMouseMode == TDBGridMouseModeEh::dmmSizeColumn)
        ToggleTitleSizingLine();
    if (FDBMouseMode == TDBGridMouseModeEh::dmmRecordDrag)
        HideRecordDropMarker();
    FDBMouseMode = TDBGridMouseModeEh::dmmNone;
    FTitlePress = TTitlePressEh();
    SetMouseCapture(false);
}

void TCustomDBGridEh::UpdatePressedLook(int X, int Y)
{
    bool pressed = false;
    if (FTitlePress.Button && FTitlePress.Col >= 0) {
        const TGridCoord cell = CellFromPoint(X, Y);
        const bool onColumn = RowPanel()->Active() ? PanelCellAtPoint(X, Y) == GridColToDataCol(FTitlePress.Col)
                                                   : cell.X == FTitlePress.Col;
        pressed = onColumn && IsTitleRow(cell.Y);
    }
    if (pressed == FTitlePress.Look)
        return;
    FTitlePress.Look = pressed;
    if (RowPanel()->Active())
        InvalidateTitleRows();
    else if (FTitlePress.Col >= 0)
        for (int row = 0; row < RowsAboveData(); ++row)
            InvalidateOneCell(FTitlePress.Col, row);
}

// --- Sizing a column by its title border ------------------------------------------------------

bool TCustomDBGridEh::FindTitleSizingBorder(int X, int Y, TTitleSizingBorderEh& Found)
{
    // The row panel's cells are sized by their own borders.
    if (!EffectiveGridOptions().Contains(goColSizing) || RowPanel()->Active())
        return false;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    if (Y < layout.Vert.NearBand || !IsTitleRow(LocateCellInLayout(X, Y, layout).Y))
        return false;
    // The zone around a border is at least 7 pixels wide, centred on thin lines.
    const TGridAxisLayoutEh& horz = layout.Horz;
    const int line = horz.LineWidth;
    const int before = line <= 6 ? (7 - line) / 2 : 0;
    const int zone = std::max(7, line);
    int left = horz.ScrolledOrigin;
    for (int col = horz.FirstScrolledCell; col < horz.CellCount && left < horz.ClientExtent; ++col) {
        const int right = left + horz.Extent(col);
        // A column reaching past the client area is sized at the area's edge.
        const int border = std::min(right, horz.ClientExtent);
        if (X >= border - before && X < border - before + zone) {
            Found = {col, left, border, border - X};
            return true;
        }
        left = right + line;
    }
    return false;
}

bool TCustomDBGridEh::StartTitleSizing(int X, int Y)
{
    TTitleSizingBorderEh found;
    if (!FindTitleSizingBorder(X, Y, found))
        return false;
    DataLink()->UpdateRecord();
    FDBMouseMode = TDBGridMouseModeEh::dmmSizeColumn;
    FSizingIndex = found.Col;
    FSizingPos = found.Border;
    FSizingOffset = found.Offset;
    FTitleSizingLeft = found.Left;
    ToggleTitleSizingLine();
    return true;
}

void TCustomDBGridEh::TrackTitleSizing(int X)
{
    ToggleTitleSizingLine();
    FSizingPos = X + FSizingOffset;
    if (OptionsEh().Contains(dghTraceColSizing))
        ApplyTitleSizingWidth();
    ToggleTitleSizingLine();
}

void TCustomDBGridEh::FinishTitleSizing()
{
    const bool traced = OptionsEh().Contains(dghTraceColSizing);
    EndMouseTracking();
    if (!traced)
        ApplyTitleSizingWidth();
}

void TCustomDBGridEh::ToggleTitleSizingLine()
{
    // A traced sizing shows the column itself at its new width.
    if (OptionsEh().Contains(dghTraceColSizing))
        return;
    TGridLayoutEh layout;
    ComputeLayout(layout);
    DrawSizingLine(layout);
}

void TCustomDBGridEh::ApplyTitleSizingWidth()
{
    const int width = FSizingPos - FTitleSizingLeft;
    if (width > 1 && width != ColWidthAt(FSizingIndex))
        ChangeColWidth(FSizingIndex, width);
}

void TCustomDBGridEh::DrawSizingLine(const TGridLayoutEh& Layout)
{
    DrawDottedSizingLine(Layout.Horz.GridBoundary, Layout.Vert.GridBoundary);
}

void TCustomDBGridEh::DrawDottedSizingLine(int AWidth, int AHeight)
{
    if (MouseMode() == TGridMouseModeEh::gmmRowSizing)
        DrawXorLine(Canvas(), Point(0, FSizingPos), Point(AWidth, FSizingPos), 1);
    else
        DrawXorLine(Canvas(), Point(FSizingPos, 0), Point(FSizingPos, AHeight), 1);
}

// --- Auto-scroll (timer 1) ----------------------------------------------------------------------

void TCustomDBGridEh::StartAutoScrollTimer(int Interval)
{
    // The platform clamps short intervals; so do we, so a drag never scrolls at full speed.
    const int interval = std::max(Interval, 10);
    if (FAutoScrollInterval == interval)
        return;
    SetTimer(AutoScrollTimer, static_cast<unsigned>(interval));
    FAutoScrollInterval = interval;
}

void TCustomDBGridEh::StopAutoScrollTimer()
{
    if (FAutoScrollInterval < 0)
        return;
    KillTimer(AutoScrollTimer);
    FAutoScrollInterval = -1;
}

void TCustomDBGridEh::PerformAutoScroll()
{
    TGridLayoutEh layout;
    ComputeLayout(layout);
    // Where the pointer was last seen over the grid during the drag.
    const TPoint at = FLastMousePoint;
    if (FDBMouseMode == TDBGridMouseModeEh::dmmSelectColumns) {
        AutoScrollColumns(at, layout);
        return;
    }
    if (FDBMouseMode == TDBGridMouseModeEh::dmmRecordDrag) {
        TrackRecordDrag(at.X, at.Y);
        return;
    }
    if (RowPanelMoving()) {
        TrackRowPanelMove(TMouseButton::mbLeft, at.X, at.Y);
        return;
    }
    const int above = layout.Vert.FixedBoundary - at.Y;
    const int below = at.Y - layout.Vert.DrawnEdge;
    const int before = layout.Horz.FixedBoundary - at.X;
    const int after = at.X - layout.Horz.DrawnEdge;
    const int vertical = above > 0 ? -1 : below > 0 ? 1 : 0;
    const int horizontal = before > 0 ? -1 : after > 0 ? 1 : 0;
    if (vertical == 0 && horizontal == 0) {
        StopAutoScrollTimer();
        return;
    }
    const int distance = std::max({above, below, before, after});
    const int rows = std::min(distance / 6, 8);
    const bool rowMode = FDBMouseMode == TDBGridMouseModeEh::dmmSelectRows;
    if (vertical != 0 && rows > 0)
        NavigateRecords(true, vertical * rows, rowMode, false);
    if (horizontal != 0 && !rowMode)
        MoveToDataColumn(FocusedColumnIndex() + horizontal, horizontal, true);
    StartAutoScrollTimer(std::max(200 - 15 * distance, 0));
}

void TCustomDBGridEh::AutoScrollColumns(TPoint At, const TGridLayoutEh& Layout)
{
    int distance = 0;
    if (At.X > Layout.Horz.DrawnEdge && Layout.Horz.LastFullVisibleCell < ColCount() - 1) {
        distance = At.X - Layout.Horz.DrawnEdge;
        ChangeLeftCol(LeftCol() + 1);
        if (TColumnEh* column = ColumnAtGridCol(std::min(Layout.Horz.LastFullVisibleCell + 1, ColCount() - 1)))
            FSelection->Columns()->ShiftSelectTo(column);
    } else if (At.X < Layout.Horz.FixedBoundary && LeftCol() > FixedCols()) {
        distance = Layout.Horz.FixedBoundary - At.X;
        ChangeLeftCol(LeftCol() - 1);
        if (TColumnEh* column = ColumnAtGridCol(LeftCol()))
            FSelection->Columns()->ShiftSelectTo(column);
    }
    StartAutoScrollTimer(std::max(200 - 10 * distance, 0));
}

void TCustomDBGridEh::DefaultCellMouseClick(TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FCenter != nullptr)
        FCenter->CellMouseClick(this, Cell, Button, Shift, X, Y);
}
