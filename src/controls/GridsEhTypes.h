#pragma once
// The base grid's vocabulary: cells and cell ranges, draw states and options, the grid error,
// extent arrays, the layout of an axis, line colours, the outer bands, the grid-line cache, the
// filer of stored extents and the cell mouse event.
#include "platform/core/Exceptions.h"
#include "platform/core/Persistent.h"
#include "platform/core/String.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
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
