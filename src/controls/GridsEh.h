#pragma once
// GridsEh: the base grid. TCustomGridEh is a window of cells in columns and rows: fixed cells at
// the top and left that never scroll, frozen fixed cells that do not scroll but look and act like
// data cells, contra cells pinned to the right and bottom edges, four outer bands around them, a
// current cell with an anchor that spans the selection, and an in-place editor over the current
// cell. It knows nothing of data; descendants paint the cells (PaintCell) and override the
// virtual operations to add their behaviour.
//
// Where the operations live:
//   GridsEhModel.cpp      construction, options and look, the current cell, the selection,
//                         scrolling cells into view, invalidation, default virtual answers
//   GridsEhExtents.cpp    counts, extent arrays (widths, heights, tab stops), contra cells,
//                         moving columns and rows
//   GridsEhLayout.cpp     where cells lie for a client size, hit testing, cell rectangles
//   GridsEhScrolling.cpp  scroll-bar actions, moving the window contents, the bars kept in step
//   GridsEhPaint.cpp      painting of the cell areas, their lines and cells
//   GridsEhLines.cpp      grid line colours, the outer bands, the per-colour line cache
//   GridsEhKeys.cpp       keyboard navigation, Enter and typed characters, focus
//   GridsEhMouse.cpp      selecting, starting sizing and moving, wheel, hover, cell clicks
//   GridsEhSizing.cpp     sizing and moving columns and rows, the drag windows
//   GridsEhEditor.cpp     the in-place editor and the grid's operations on it
#include "platform/core/Exceptions.h"
#include "platform/core/Persistent.h"
#include "platform/core/String.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/MaskEdit.h"
#include "platform/ui/Messages.h"
#include "platform/ui/SmallSet.h"
#include "platform/ui/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TCanvas;
class TCustomGridEh;
class TInplaceEdit;

// A cell: X is the column, Y the row; -1 means none.
struct TGridCoord {
    int X = 0;
    int Y = 0;

    constexpr bool operator==(const TGridCoord&) const = default;
};

// A rectangle of cells: first and last column (Left, Right) and row (Top, Bottom).
struct TGridCellRangeEh {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr bool operator==(const TGridCellRangeEh&) const = default;
};

using TGridDrawState = TSmallSet<struct TGridDrawStateTag>;
constexpr TGridDrawState gdSelected{0x01};
constexpr TGridDrawState gdFocused{0x02};
constexpr TGridDrawState gdFixed{0x04};
constexpr TGridDrawState gdHotTrack{0x08};
constexpr TGridDrawState gdCurrent{0x10};

// The option set of the base grid (16 bits).
using TGridBaseOptionsEh = TSmallSet<struct TGridBaseOptionsTag>;
constexpr TGridBaseOptionsEh goFixedVertLine{1u << 0};
constexpr TGridBaseOptionsEh goFixedHorzLine{1u << 1};
constexpr TGridBaseOptionsEh goVertLine{1u << 2};
constexpr TGridBaseOptionsEh goHorzLine{1u << 3};
constexpr TGridBaseOptionsEh goRangeSelect{1u << 4};
constexpr TGridBaseOptionsEh goDrawFocusSelected{1u << 5};
constexpr TGridBaseOptionsEh goRowSizing{1u << 6};
constexpr TGridBaseOptionsEh goColSizing{1u << 7};
constexpr TGridBaseOptionsEh goRowMoving{1u << 8};
constexpr TGridBaseOptionsEh goColMoving{1u << 9};
constexpr TGridBaseOptionsEh goEditing{1u << 10};
constexpr TGridBaseOptionsEh goTabs{1u << 11};
constexpr TGridBaseOptionsEh goRowSelect{1u << 12};
constexpr TGridBaseOptionsEh goAlwaysShowEditor{1u << 13};
constexpr TGridBaseOptionsEh goThumbTracking{1u << 14};
constexpr TGridBaseOptionsEh goExtendVertLines{1u << 15};

enum class TGridMouseModeEh : std::uint8_t { gmmNone, gmmSelecting, gmmRowSizing, gmmColSizing, gmmRowMoving, gmmColMoving };

// Which line of a cell a line query asks about: the horizontal kinds are even, the vertical odd.
enum class TGridCellLineKindEh { glkTopLine, glkLeftLine, glkBottomLine, glkRightLine };

// Directions in which auto-scrolling steps the anchor cell.
using TGridScrollDirectionsEh = TSmallSet<struct TGridScrollDirectionsTag>;
constexpr TGridScrollDirectionsEh gsdLeft{0x1};
constexpr TGridScrollDirectionsEh gsdRight{0x2};
constexpr TGridScrollDirectionsEh gsdUp{0x4};
constexpr TGridScrollDirectionsEh gsdDown{0x8};


class EInvalidGridOperationEh : public Exception {
public:
    using Exception::Exception;
};

extern const char* const SGridIndexOutOfRange;
extern const char* const STooManyDeleted;
extern const char* const SGridTooLarge;
extern const char* const SFixedColTooBig;
extern const char* const SFixedRowTooBig;
extern const char* const SContraColCountNegative;
extern const char* const SContraRowCountNegative;

[[noreturn]] void RaiseGridOperationError(const char* Msg);

// Per-cell extents of one axis (widths, heights or tab-stop flags). Empty means every cell has
// the default; the first individual value fills it with the default for every cell.
using TGridExtentsEh = std::vector<int>;

// The most cells an extent array holds.
constexpr int MaxGridExtentCount = 134217725;

// Inserts Amount cells taking Default at Index (Amount > 0) or deletes the cells
// Index .. Index - Amount - 1 (Amount < 0); later cells keep their values.
void ShiftExtentEntries(TGridExtentsEh& Extents, int Index, int Amount, int Default);
// Grows (new cells take Default) or truncates the array to NewCount cells.
void SetExtentCount(TGridExtentsEh& Extents, int NewCount, int Default);
// The value of cell From goes to cell To; the cells between shift one place toward From.
void MoveExtentEntry(TGridExtentsEh& Extents, int FromIndex, int ToIndex);
bool ExtentArraysEqual(const TGridExtentsEh& A, const TGridExtentsEh& B);

// Draws a dotted line on Canvas in XOR, so drawing it again erases it: the sizing and moving
// lines that follow the pointer.
void DrawXorLine(TCanvas* Canvas, TPoint From, TPoint To, int Width);

// The layout of one axis for a client size: where the fixed, frozen, scrolled and contra cells
// lie, in client pixels. Computed on demand from the extents, never kept between messages.
struct TGridAxisLayoutEh {
    int LineWidth = 0;              // GridLineWidth when the axis shows lines, else 0
    int FixedBoundary = 0;          // near band + fixed cells with their lines
    int DrawnEdge = 0;              // end of the last drawn scrolled cell, capped at ContraStart
    int ScrollLimit = 0;            // the scrolled cells end before it (= ContraStart)
    int LastFullVisibleCell = 0;    // FirstScrolledCell when no scrolled cell is fully shown
    int LastFullVisibleEnd = 0;     // its end; FixedBoundary when none
    int FixedCellCount = 0;
    int FirstScrolledCell = 0;      // LeftCol or TopRow
    int CellCount = 0;              // ColCount or RowCount
    int FrozenStart = 0;            // FixedBoundary minus the frozen fixed cells with their lines
    int FrozenCellCount = 0;
    int ContraCellCount = 0;
    int ContraStart = 0;            // client extent minus the contra cells (and one more line)
    int UsableEnd = 0;              // client extent minus the far band
    int ClientExtent = 0;
    int GridBoundary = 0;           // DrawnEdge without contra cells, else UsableEnd
    int TotalCellCount = 0;         // CellCount + ContraCellCount
    int PixelOffset = 0;            // pixels of FirstScrolledCell scrolled out of view
    int ScrolledOrigin = 0;         // FixedBoundary - PixelOffset
    int NearBand = 0;               // left or top outer band
    int FarBand = 0;                // right or bottom outer band

    // The extent of cell Index on this axis (column width or row height).
    int (TCustomGridEh::*ExtentFunc)(int Index) const = nullptr;
    const TCustomGridEh* Grid = nullptr;
    int Extent(int Index) const { return (Grid->*ExtentFunc)(Index); }
};

struct TGridLayoutEh {
    TGridAxisLayoutEh Horz;
    TGridAxisLayoutEh Vert;
};

// Scroll state kept per axis between messages: the pixel sums that pixel scrolling measures.
struct TGridAxisExtentsEh {
    int Total = 0;          // extent + line over all scrolled cells
    int BeforeFirst = 0;    // extent + line over the scrolled cells before the first shown one
    int Page = 0;           // scroll limit - fixed boundary, never below 0
};

// The colours of the grid lines. Every colour left at clDefault takes its default.
class TGridLineColorsEh : public TPersistent {
public:
    explicit TGridLineColorsEh(TCustomGridEh* Grid);

    void Assign(TPersistent* Source) override;

    virtual TColor DarkLineColor() const;
    virtual TColor BrightLineColor() const;
    virtual TColor CellLineColor(int ACol, int ARow) const;
    virtual TColor ContraColBorderColor(int ACol) const;
    virtual TColor ContraRowBorderColor(int ARow) const;
    virtual TColor FrozenColBorderColor(int ACol) const;
    virtual TColor FrozenRowBorderColor(int ARow) const;

    // The role colours. Those without a user in the base grid are kept for descendants.
    enum TRole {
        lcrFixedVertLine, lcrFixedHorzLine, lcrVertLine, lcrHorzLine, lcrFrozenVertLine, lcrFrozenHorzLine,
        lcrFrozenColsEdge, lcrFrozenRowsEdge, lcrContraRowsVertLine, lcrContraRowsHorzLine, lcrContraRowsLine,
        lcrContraColsVertLine, lcrContraColsHorzLine, lcrContraColsLine, lcrContraColsStart, lcrContraRowsStart,
        lcrRoleCount
    };
    virtual TColor RoleColor(TRole Role) const;
    TColor FrozenColsEdgeColor() const { return RoleColor(lcrFrozenColsEdge); }
    TColor ContraRowsLineColor() const { return RoleColor(lcrContraRowsLine); }
    TColor ContraColsLineColor() const { return RoleColor(lcrContraColsLine); }
    TColor ContraColsStartColor() const { return RoleColor(lcrContraColsStart); }
    TColor ContraRowsStartColor() const { return RoleColor(lcrContraRowsStart); }

    // The stored colours; clDefault means "use the default".
    TColor DarkColor() const { return FDarkColor; }
    void SetDarkColor(TColor Value);
    TColor BrightColor() const { return FBrightColor; }
    void SetBrightColor(TColor Value);
    TColor StoredRoleColor(TRole Role) const { return FRoleColors[Role]; }
    void SetRoleColor(TRole Role, TColor Value);

protected:
    const char* ClassName() const override { return "TGridLineColorsEh"; }
    TCustomGridEh* Grid() const { return FGrid; }

private:
    TCustomGridEh* FGrid;
    TColor FDarkColor = clDefault;
    TColor FBrightColor = clDefault;
    TColor FRoleColors[lcrRoleCount];
};

// The four outer bands around the cells, painted by PaintOuterBand.
class TGridOutBoundaryDataEh : public TPersistent {
public:
    enum TAreaKind { oakTop, oakLeft, oakBottom, oakRight };

    explicit TGridOutBoundaryDataEh(TCustomGridEh* Grid);

    int LeftExtent() const { return FExtents[oakLeft]; }
    int TopExtent() const { return FExtents[oakTop]; }
    int RightExtent() const { return FExtents[oakRight]; }
    int BottomExtent() const { return FExtents[oakBottom]; }
    void ChangeLeftExtent(int Value) { ChangeExtent(oakLeft, Value); }
    void ChangeTopExtent(int Value) { ChangeExtent(oakTop, Value); }
    void ChangeRightExtent(int Value) { ChangeExtent(oakRight, Value); }
    void ChangeBottomExtent(int Value) { ChangeExtent(oakBottom, Value); }

    // Corner flags: which band owns each corner.
    bool TopStartsAfterLeft() const { return FTopStartsAfterLeft; }
    void SetTopStartsAfterLeft(bool Value);
    bool TopStopsBeforeRight() const { return FTopStopsBeforeRight; }
    void SetTopStopsBeforeRight(bool Value);
    bool BottomStartsAfterLeft() const { return FBottomStartsAfterLeft; }
    void SetBottomStartsAfterLeft(bool Value);
    bool BottomStopsBeforeRight() const { return FBottomStopsBeforeRight; }
    void SetBottomStopsBeforeRight(bool Value);

    // The band's client rectangle; false when its extent is 0.
    bool AreaRect(TRect& Rect, TAreaKind Kind) const;
    void InvalidateArea(TAreaKind Kind) const;

protected:
    const char* ClassName() const override { return "TGridOutBoundaryDataEh"; }

private:
    void ChangeExtent(TAreaKind Kind, int Value);
    void SetCornerFlag(bool& Flag, bool Value);

    TCustomGridEh* FGrid;
    int FExtents[4] = {0, 0, 0, 0};
    bool FTopStartsAfterLeft = false;
    bool FTopStopsBeforeRight = false;
    bool FBottomStartsAfterLeft = false;
    bool FBottomStopsBeforeRight = false;
};

// Grid line segments gathered per colour, drawn together per colour.
class TGridLinesEh {
public:
    explicit TGridLinesEh(TColor Color) : FColor(Color) {}
    TColor Color() const { return FColor; }
    const std::vector<TPoint>& Points() const { return FPoints; }
    void Add(int X1, int Y1, int X2, int Y2);
    void Clear() { FPoints.clear(); }

private:
    TColor FColor;
    std::vector<TPoint> FPoints;
};

class TGridLinesCacheEh {
public:
    TGridLinesEh& LinesForColor(TColor Color);
    void AddLine(TColor Color, int X1, int Y1, int X2, int Y2);
    // Draws every colour's segments with a pen of the grid's line width, then clears.
    void Flush(const TCustomGridEh& Grid, TCanvas& Canvas);
    void Clear();

private:
    std::vector<TGridLinesEh> FLines;
};

// A stored window description as the grid's extents see it: named lists of integers.
class TGridFilerEh {
public:
    virtual ~TGridFilerEh() = default;
    // Reading calls Reader with the stored list when the description has one; writing stores
    // Writer's list when HasData.
    virtual void DefineIntegerList(const String& Name, const std::function<void(const std::vector<int>&)>& Reader,
                                   const std::function<std::vector<int>()>& Writer, bool HasData) = 0;
};

using TGridEhCellMouseEvent =
    std::function<void(TObject* Grid, TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y)>;

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
    // The sizing mode a press at (X, Y) would start; gmmNone outside every sizing zone.
    TGridMouseModeEh SizingModeAt(int X, int Y);
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

// How often auto-scrolling steps while a column is dragged past an edge of the grid: slower
// near the edge, faster far from it. EdgeRoom is the room between that edge and the desktop's
// edge beyond it, MouseDistance how far the mouse is past the grid's edge (both in pixels).
unsigned ColumnMoveScrollInterval(int EdgeRoom, int MouseDistance);

// Drag feedback windows: popups that never take the focus, shared by every grid.
class TGridDragWinEh : public TCustomControl {
public:
    explicit TGridDragWinEh(TComponent* AOwner);
    // Forgets the window as a shared drag window: its owner may free it (the application's windows
    // are freed when it ends) while the grid unit still holds it.
    ~TGridDragWinEh() override;

    // Moves the window to a client point of Control.
    void MoveToClientPoint(TControl* Control, TPoint Point);
    // Shows the window at a screen point with a size, on top and without activating it.
    void ShowAt(TPoint ScreenPoint, int AWidth, int AHeight);
    bool IsShown() const { return Visible(); }

protected:
    const char* ClassName() const override { return "TGridDragWinEh"; }
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    // 0..255; below 255 the window is translucent.
    int Alpha() const { return FAlpha; }
    void SetAlpha(int Value) { FAlpha = Value; }

private:
    int FAlpha = 200;
};

// The translucent box a grid drags with a cell.
class TGridDragBoxEh : public TGridDragWinEh {
public:
    using TGridDragWinEh::TGridDragWinEh;

protected:
    const char* ClassName() const override { return "TGridDragBoxEh"; }
};

// The red marker that shows where a dragged column will drop: an arrowhead at each end of a
// line, vertical (between columns) or horizontal.
class TGridMoveLineEh : public TGridDragWinEh {
public:
    explicit TGridMoveLineEh(TComponent* AOwner);

    // Shows the marker with its line of Length starting at a screen point.
    void ShowMarker(TPoint ScreenPoint, int Length, bool Vertical);
    // Moves the shown marker, keeping its size.
    void MoveMarker(TPoint ScreenPoint);
    bool Vertical() const { return FVertical; }

protected:
    const char* ClassName() const override { return "TGridMoveLineEh"; }
    void Paint() override;

private:
    bool FVertical = true;
};

// The shared drag windows, made on first use and owned by the application.
TGridDragBoxEh* GridDragBoxInstance();
TGridMoveLineEh* GridMoveLineInstance();
// The move marker when one was made; nullptr before the first column move.
TGridMoveLineEh* ExistingGridMoveLine();

// The borderless masked edit a grid places over its current cell while the cell is edited. It
// takes mask, text and maximum length from the grid, hands navigation keys back to the grid, and
// asks the grid's EditorMayModify at the moment of every change, whatever its path: typed or
// committed by an input method, Backspace or Delete, pasted, cut, cleared or dropped. Its
// visibility is driven by the grid alone.
class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);

    TCustomGridEh* Grid() const { return FGrid; }
    void SetGrid(TCustomGridEh* Value) { FGrid = Value; }
    // The time (GetTickCount) of the grid's last button-down; 0 when none is pending. A press
    // in the editor within the double-click time after it counts as a double click.
    std::uint32_t ClickTime() const { return FClickTime; }
    void SetClickTime(std::uint32_t Value) { FClickTime = Value; }

    // Shows the editor at Rect (grid client coordinates); an empty Rect hides it. It takes the
    // focus when the grid has it.
    void ShowAtRect(const TRect& Rect, bool Redraw);
    void PlaceWithoutRedraw(const TRect& Rect) { ShowAtRect(Rect, false); }
    void PlaceAndRedraw(const TRect& Rect) { ShowAtRect(Rect, true); }
    // Hides a shown editor; the focus it had goes to the grid.
    void HideEditorWindow();
    // Loads the edit mask, text and maximum length of the grid's current cell.
    virtual void LoadCellContents();
    // Caret at the end of the text, nothing selected.
    void CollapseSelection();
    bool IsWindowShown() const;
    void FocusWhenShown();
    // Repaints the grid area under the editor with it.
    void Invalidate() override;

    void WndProc(TMessage& Message) override;

protected:
    // Sets the formatting rectangle; runs after every placement.
    virtual void ApplyTextMargins();
    bool EditCanModify() override;
    // Tells the grid (WM_COMMAND, EN_CHANGE), which stores the text.
    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    const char* ClassName() const override { return "TInplaceEdit"; }

private:
    void SendKeyToGrid(WORD& Key, TShiftState Shift);
    void ShowKeyToGridEvent(WORD& Key, TShiftState Shift);
    int CaretIndex() const;
    bool CaretAtTextStart() const;
    bool CaretAtTextEnd() const;
    void SelectOnEnter();

    TCustomGridEh* FGrid = nullptr;
    std::uint32_t FClickTime = 0;
};
