#pragma once
// TCustomGridEh, the base grid class; GridsEh.h maps which source holds which of its operations.
#include "controls/GridsEhTypes.h"

#include <memory>

class TCustomGridEh : public TCustomControl {
public:
    explicit TCustomGridEh(TComponent* AOwner);
    ~TCustomGridEh() override;

    // Counts.
    int ColCount() const { return FColCount; }
    void ChangeColCount(int Value);
    int RowCount() const { return FRowCount; }
    void ChangeRowCount(int Value);
    void ChangeDimensions(int NewColCount, int NewRowCount);
    int FixedCols() const { return FFixedCols; }
    void ChangeFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void ChangeFixedRows(int Value);
    int FrozenFixedCols() const { return FFrozenFixedCols; }
    void ChangeFrozenFixedCols(int Value);
    int FrozenFixedRows() const { return FFrozenFixedRows; }
    void ChangeFrozenFixedRows(int Value);
    int ContraColCount() const { return FContraColCount; }
    void ApplyContraColCount(int Value);
    int ContraRowCount() const { return FContraRowCount; }
    void ChangeContraRowCount(int Value);
    int TotalColCount() const { return FColCount + FContraColCount; }
    int TotalRowCount() const { return FRowCount + FContraRowCount; }

    // Extents.
    int ColWidthAt(int Index) const;
    int RowHeightAt(int Index) const;
    bool ColTabStopAt(int Index) const;
    void ChangeColWidth(int Index, int Width);
    void ChangeRowHeight(int Index, int Height);
    void ChangeColTabStop(int Index, bool Value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void ChangeDefaultRowHeight(int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    const TGridExtentsEh& ColWidthsExtents() const { return FColWidths; }
    const TGridExtentsEh& RowHeightsExtents() const { return FRowHeights; }
    const TGridExtentsEh& TabStopsExtents() const { return FTabStops; }

    // Position and selection.
    int Col() const { return FCurrent.X; }
    void ChangeCol(int Value);
    int Row() const { return FCurrent.Y; }
    void MoveToRow(int ARow);
    TGridCoord AnchorCell() const { return FAnchor; }
    int LeftCol() const { return FTopLeft.X; }
    void ChangeLeftCol(int Value);
    int TopRow() const { return FTopLeft.Y; }
    void ChangeTopRow(int Value);
    int HorzPixelOffset() const { return FHorzPixelOffset; }
    int VertPixelOffset() const { return FVertPixelOffset; }
    void GoToCell(int ACol, int ARow, bool ShowCol, bool ShowRow, bool MoveAnchor);
    void MoveCurrentCell(int ACol, int ARow, bool ShowCol, bool ShowRow, bool MoveAnchor);
    void ExtendSelectionTo(TGridCoord Cell, bool Show);
    void HomeCurrentCell();
    TGridCellRangeEh GetSelectionRange() const;
    void SetTopLeftCell(int NewLeftCol, int NewTopRow);
    void ScrollCellIntoView(TGridCoord Cell, bool Horz, bool Vert);
    int FullyShownColCount() const;
    int FullyShownRowCount() const;
    TGridCoord HoverCell() const { return FHoverCell; }

    // Geometry.
    void ComputeLayout(TGridLayoutEh& Layout) const;
    void ComputeLayoutForSize(TGridLayoutEh& Layout, int AWidth, int AHeight) const;
    TGridCoord CellFromPoint(int X, int Y) const;
    TGridCoord LocateCellInLayout(int X, int Y, const TGridLayoutEh& Layout) const;
    TRect CellPixelRect(int ACol, int ARow) const;
    TRect RangePixelRect(int ALeft, int ATop, int ARight, int ABottom) const;
    TRect VisibleRangeRect(const TGridCellRangeEh& Range, bool IncludeLines) const;
    TRect VisibleRangeRectInLayout(const TGridCellRangeEh& Range, const TGridLayoutEh& Layout, bool IncludeLines) const;
    // The first scrolled cell that shows Cell as the last one fully visible on the axis.
    int TopLeftShowingCell(int Cell, const TGridAxisLayoutEh& Axis) const;
    // The same, with the part of the cell before it that would still show (pixel scrolling).
    int TopLeftShowingCellWithOverhang(int Cell, const TGridAxisLayoutEh& Axis, int& Overhang) const;
    int HorzCellsEdge() const;
    int VertCellsEdge() const;

    // Invalidation.
    void InvalidateOneCell(int ACol, int ARow);
    void InvalidateColumn(int ACol);
    void InvalidateRowCells(int ARow);
    void InvalidateGrid();
    void RepaintRegionOfRange(const TGridCellRangeEh& Range);
    void RepaintSelectionChange(const TGridCellRangeEh& OldSelection);

    // Options and look.
    TGridBaseOptionsEh Options() const { return FOptions; }
    void ChangeOptions(TGridBaseOptionsEh Value);
    TGridBaseOptionsEh DesignOptions() const { return FDesignOptions; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void ChangeScrollBars(TScrollStyle Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TColor FlatLineColor() const { return FFlatLineColor; }
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    bool StoreExtents() const { return FStoreExtents; }
    void SetStoreExtents(bool Value) { FStoreExtents = Value; }
    bool FullRepaintOnResize() const { return FFullRepaint; }
    void SetFullRepaintOnResize(bool Value) { FFullRepaint = Value; }
    // Made by CreateLineColorsObject on first use, like the editor by CreateEditorObject, so a
    // descendant's override is the one that runs.
    TGridLineColorsEh* GridLineColors();
    TGridOutBoundaryDataEh* OutBoundaryData() const { return FOutBoundary.get(); }

    // The in-place editor.
    bool EditorMode() const { return FEditorMode; }
    void ChangeEditorMode(bool Value);
    TGridCoord EditorCell() const { return FEditorCell; }
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit.get(); }
    bool MayModify() const { return FMayModify; }
    void DismissEditor();
    void ReloadEditor();
    void StartEditingWithChar(Char Key);
    void HandleExit();

    // Streaming of "ColWidths" and "RowHeights".
    void DefineProperties(TGridFilerEh& Filer);

    // While suspended, painting and scroll-bar refreshes are skipped.
    void SuspendScrollUpdates() { ++FScrollUpdateSuspension; }
    void ResumeScrollUpdates();
    bool ScrollUpdatesSuspended() const { return FScrollUpdateSuspension > 0; }

    bool HasInputFocus() const;
    void RelocateColumn(int FromIndex, int ToIndex);
    void RelocateRow(int FromIndex, int ToIndex);
    // Starts moving column Index with the mouse at (X, Y).
    void StartColumnMove(int Index, int X, int Y, const TGridLayoutEh& Layout);

    TGridEhCellMouseEvent OnCellMouseClick;

protected:
    const char* ClassName() const override { return "TCustomGridEh"; }
    void CreateParams(TCreateParams& Params) override;
    // A new window starts with empty scroll bars: they are set from the grid again.
    void CreateWnd() override;
    void Paint() override;

    // Input: keys, mouse, wheel, and the window messages the grid answers itself.
    void Dispatch(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

    // The virtual operations of the grid, in the order descendants meet them.
    virtual void HideMoveMarker();
    virtual bool MayStartColumnDrag(int& Origin, int& Destination, TPoint MousePt);
    virtual bool MayStartRowDrag(int& Origin, int& Destination, TPoint MousePt);
    virtual bool EditorAcceptsKey(Char Key);
    virtual bool EditorMayModify();
    virtual bool EditorAllowed();
    virtual bool GridAcceptsKey(WORD Key, TShiftState Shift);
    virtual TRect CellDisplayRect(int ACol, int ARow);
    // The part of a focused cell's painted rectangle that its focus rectangle frames.
    virtual TRect CellFocusRect(int ACol, int ARow, const TRect& CellRect);
    virtual bool MouseUpMayClickCell(const TMessage& Message);
    virtual bool MayMoveColumnTo(int Origin, int& Destination, TPoint MousePt);
    virtual bool MayMoveRowTo(int Origin, int& Destination, TPoint MousePt);
    virtual std::unique_ptr<TInplaceEdit> CreateEditorObject();
    virtual std::unique_ptr<TGridLineColorsEh> CreateLineColorsObject();
    virtual bool MayDropColumn(int& Origin, int& Destination, TPoint MousePt);
    virtual bool MayDropRow(int& Origin, int& Destination, TPoint MousePt);
    // 0: no limit; -1: the cell is read-only.
    virtual int EditorMaxLength();
    virtual String GetCellEditMask(int ACol, int ARow);
    virtual String GetCellEditText(int ACol, int ARow);
    virtual int HorzPixelStep();
    virtual int VertPixelStep();
    virtual bool IsHorzPixelScroll();
    virtual bool IsVertPixelScroll();
    virtual bool TracksHoverAt(int ACol, int ARow);
    virtual bool MaySelectCell(int ACol, int ARow);
    virtual void ResizeAxisAt(int Index, int Delta, bool Rows);
    virtual void DetectSizingAt(int X, int Y, const TGridLayoutEh& Layout, int& Offset, int& Pos, int& Index,
                                TGridMouseModeEh& Mode);
    virtual void CancelMouseMode();
    virtual void RaiseCellMouseClick(TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void QueryCellLines(int ACol, int ARow, bool& ExtendLine, TColor& LineColor, bool& DrawLine,
                                TGridCellLineKindEh LineKind);
    virtual void ColumnRelocated(int FromIndex, int ToIndex);
    virtual void AfterColWidthsChange();
    // Where the sizing line starts and ends along its length.
    virtual void SizingLineSpan(const TGridLayoutEh& Layout, int& Start, int& End);
    virtual void RemoveColumn(int Index);
    virtual void RemoveRow(int Index);
    virtual void PaintCell(int ACol, int ARow, TGridDrawState State, TRect ARect) = 0;
    virtual void PaintOuterBands();
    virtual void PaintOuterBand(const TRect& ARect);
    virtual void DrawSizingLine(const TGridLayoutEh& Layout);
    virtual void FlatChanged();
    virtual void SelectCellAndNotify(int ACol, int ARow, bool MoveAnchor);
    virtual void LeaveEditorMode();
    virtual void BoundaryLayoutChanged();
    virtual void AfterRowHeightsChange();
    virtual void RowRelocated(int FromIndex, int ToIndex);
    virtual void ScrollClientArea(int DX, int DY);
    virtual void ApplyContraCounts(int ContraCols, int ContraRows);
    virtual void PutCellEditText(int ACol, int ARow, const String& Text);
    virtual void EnterEditorMode();
    virtual void CountsChanged(int OldColCount, int OldRowCount);
    virtual void StepAnchorCell(TGridScrollDirectionsEh Directions);
    virtual void ResyncAfterScroll();
    virtual void UpdateFlatLineColor();
    virtual void SyncEditor();
    virtual void StoreEditorText();
    virtual void TrackHoverCell(int X, int Y);
    virtual void DefaultCellMouseClick(TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y);

    // Painting helpers.
    void PaintGrid();
    void DrawVertLines(const TGridLayoutEh& Layout, int FromY, int ToY);
    void DrawFixedCellEdges(const TRect& ARect, unsigned LeadingSides, unsigned TrailingSides, bool Down);

    // Scrolling and scroll bars.
    void ApplyScrollBarAction(int Axis, int ScrollCode, bool MirrorForRightToLeft, int ThumbPos);
    void ScrollByPixels(int DX, int DY);
    void ScrollDataArea(int DX, int DY, const TGridLayoutEh& Layout);
    void ScrollContentFrom(TGridCoord OldTopLeft, TPoint OldPixelOffsets);
    void RefreshScrollBars();
    void SyncScrollBarPositions();
    void UpdateScrollBarInfo(int Bar, int Min, int Pos, int Page, int Max);

    // Mouse modes: sizing, moving and auto-scrolling.
    TGridMouseModeEh MouseMode() const { return FMouseMode; }
    void DrawMoveIndicator(const TGridLayoutEh& Layout);
    void TrackMoveTarget(int X, int Y, const TGridLayoutEh& Layout);
    // The sizing mode a press at (X, Y) would start, gmmNone outside every sizing zone, and the
    // index of the column or row it would size.
    TGridMouseModeEh SizingModeAt(int X, int Y, int* Index = nullptr);
    bool IsOverSizingZone(int X, int Y);

    // The editor, grid side.
    bool EnsureEditor();

    // Scroll state of the two axes.
    const TGridAxisExtentsEh& HorzExtents() const { return FHorzExtents; }
    const TGridAxisExtentsEh& VertExtents() const { return FVertExtents; }
    void RecomputeColExtents();
    void RecomputeRowExtents();
    // Makes NewTopLeft with the pixel offsets the first shown cells and scrolls the contents.
    void PlaceTopLeft(TGridCoord NewTopLeft, int NewHorzOffset, int NewVertOffset);

    // The mouse state that input handling keeps.
    TPoint FLastMousePoint;
    TGridCoord FLastMouseDownCell{-1, -1};
    TGridMouseModeEh FMouseMode = TGridMouseModeEh::gmmNone;
    int FSizingIndex = 0;
    int FSizingPos = 0;
    int FSizingOffset = 0;
    TGridCoord FHoverCell{-1, -1};
    TGridCoord FHoverCellOffset{-1, -1};
    int FMoveOrigin = 0;
    int FMoveTarget = 0;
    bool FDropAfter = false;

private:
    friend class TGridOutBoundaryDataEh;
    // The editor hands keys back to the grid's handlers and asks the grid's editor operations.
    friend class TInplaceEdit;
    struct TPaintSegment;
    struct TPaintContext;

    // Paint the lines or the cells of one area; the canvas is clipped to the area meanwhile.
    void PaintAreaLines(TPaintContext& Context, const TPaintSegment& Cols, const TPaintSegment& Rows);
    void PaintAreaCells(TPaintContext& Context, const TPaintSegment& Cols, const TPaintSegment& Rows);
    void FillEmptySpace(const TGridLayoutEh& Layout);
    TGridDrawState CellDrawState(const TPaintContext& Context, int ACol, int ARow, bool FixedArea) const;
    void InvalidateClientRect(const TRect& ARect);
    TGridExtentsEh& AxisExtents(bool Rows) { return Rows ? FRowHeights : FColWidths; }
    int& AxisPixelOffset(bool Rows) { return Rows ? FVertPixelOffset : FHorzPixelOffset; }
    void ComputeAxisLayout(TGridAxisLayoutEh& Axis, bool Horizontal, int ClientExtent) const;
    int LocateCellOnAxis(int Pos, const TGridAxisLayoutEh& Axis) const;
    bool RangeOnAxis(const TGridAxisLayoutEh& Axis, int First, int Last, bool IncludeLines, int& Start, int& End) const;
    // The line width an axis lays its cells out with: 0 when none of its line options is on.
    int AxisLineWidth(bool Rows) const;
    // Extent + line over the cells From .. To - 1 of an axis.
    int SumExtents(bool Rows, int From, int To) const;
    // Checks, in debug builds, what counts and extent arrays keep between operations.
    void AssertCountInvariants() const;
    void RecomputeAxisExtents(bool Rows);
    void UpdatePageExtents(const TGridLayoutEh& Layout);
    void ChangeExtent(bool Rows, int Index, int Value);
    void ChangeAxisCount(bool Rows, int Value);
    void ChangeFixedCount(bool Rows, int Value);
    void ChangeFrozenFixedCount(bool Rows, int Value);
    void SizeAdjustAxis(int Index, int Delta, bool Rows);
    void ClampAnchorForRowSelect();
    void ClampFrozenCounts();
    void RestoreDimensions(int OldColCount, int OldRowCount, TGridExtentsEh&& Widths, TGridExtentsEh&& Heights,
                           TGridExtentsEh&& TabStops);
    void ApplyDimensions(int OldColCount, int OldRowCount, TGridCoord OldTopLeft);
    void InvalidateCountChange(int OldColCount, int OldRowCount);
    void SplitSelectionChange(const TRect& OldRect, const TRect& NewRect);
    void PlaceAnchor(TGridCoord Cell);

    // Input helpers.
    TGridCoord TabTarget(bool Forward) const;
    unsigned DialogCode() const;
    void HandleChar(TMessage& Message);
    void HandleFocusMessage(TMessage& Message);
    void HandleMouseButtonMessage(TMessage& Message);
    void HandleSetCursor(TMessage& Message);
    void HandleAutoScrollTimer();
    bool TryStartMove(TGridCoord Cell, int X, int Y);
    void FinishSizing(const TGridLayoutEh& Layout);
    void FinishMove(int X, int Y);
    bool DropAfterAt(int Target, int Pos, const TGridAxisLayoutEh& Axis) const;
    void HandleScrollMessage(TMessage& Message);
    bool ScrollsByPixels(bool Horz);
    void ApplyPixelScrollAction(bool Horz, int ScrollCode, int ThumbPos);
    void PlacePixelPosition(bool Horz, int Position, int& First, int& Offset) const;

    TGridCoord FAnchor{1, 1};
    bool FMayModify = true;
    int FColCount = 5;
    TGridExtentsEh FColWidths;
    int FContraColCount = 0;
    int FContraRowCount = 0;
    TGridCoord FCurrent{1, 1};
    int FDefaultColWidth = 64;
    bool FDefaultDrawing = true;
    int FDefaultRowHeight = 24;
    bool FEditorMode = false;
    TColor FFixedColor = clBtnFace;
    int FFixedCols = 1;
    int FFixedRows = 1;
    bool FFlat = false;
    int FFrozenFixedCols = 0;
    int FFrozenFixedRows = 0;
    std::unique_ptr<TGridLineColorsEh> FLineColors;
    int FGridLineWidth = 1;
    TGridCoord FEditorCell{-1, -1};
    TGridBaseOptionsEh FOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    int FRowCount = 5;
    TGridExtentsEh FRowHeights;
    TScrollStyle FScrollBars = TScrollStyle::ssBoth;
    TGridExtentsEh FTabStops;
    TGridCoord FTopLeft{1, 1};
    std::unique_ptr<TGridOutBoundaryDataEh> FOutBoundary;
    TGridBaseOptionsEh FDesignOptions = goRowSizing | goColSizing | goColMoving;
    int FHorzPixelOffset = 0;
    int FVertPixelOffset = 0;
    TGridAxisExtentsEh FHorzExtents;
    TGridAxisExtentsEh FVertExtents;
    TColor FFlatLineColor = 0;
    int FScrollUpdateSuspension = 0;
    // A paint skipped while suspended; the last resume repaints everything.
    bool FPaintSkipped = false;
    bool FStoreExtents = true;
    bool FFullRepaint = false;
    TGridLinesCacheEh FLinesCache;
    // The last thumb track position of each bar: the scroll message carries only 16 bits of it.
    int FThumbTrackPos[2] = {0, 0};
    // Declared last so it is freed first, while the rest of the grid still stands.
    std::unique_ptr<TInplaceEdit> FInplaceEdit;
};
