#pragma once
// Drawing the grids and edits share: colours, gradients, dotted and tree lines, the drop-downs'
// border, the button-face painters with their glyph sizes, and the cache of rendered faces.
#include "platform/core/Alignment.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Label.h"
#include "platform/ui/Types.h"

#include <functional>
#include <memory>
#include <span>
#include <vector>

class TBitmap;
class TCanvas;
class TImageList;

// --- Drawing ------------------------------------------------------------------------------

// Each RGB channel Percent % of the way from Color1 to Color2, rounded half to even.
TColor BlendColors(TColor Color1, TColor Color2, int Percent);
// Rows from Color1 at the top to Color2 at the bottom; a rectangle one row high or less
// draws nothing.
void DrawGradientRect(TCanvas* Canvas, const TRect& Rect, TColor Color1, TColor Color2);
// One line per pair of Points (offset by Origin), the pen running from Color2 for the first
// line to Color1 for the last.
void DrawShadedSegments(TCanvas* Canvas, TPoint Origin, std::span<const TPoint> Points, TColor Color1, TColor Color2);
// The colour as the image list takes it: RGB, with clNone as CLR_NONE and clDefault as CLR_DEFAULT.
TColor ColorForImageList(TColor Color);
// Image Index centred in Rect, clipped to it when larger; Selected blends it with the highlight.
void DrawImageListCentered(TCanvas* Canvas, const TRect& Rect, TImageList* Images, bool Selected, int Index);
// Dots one pixel long, two pen widths apart, from Start along Length pixels. Parity picks the
// checkerboard cells the dots fall on ((x + y) odd when true), so neighbouring lines line up.
void DrawDottedLine(TCanvas* Canvas, TPoint Start, int Length, bool Parity, bool Horizontal);
// The drop-downs' raised border: an outer and an inner raised edge, one pixel each.
void DrawRaisedPopupBorder(TCanvas* Canvas, TRect Rect);
// A drop-down's non-client frame on DC: its border (PaintBorder) with the 3D look, else one
// window-frame line.
void PaintPopupFrame(HDC DC, TWinControl* Popup, const std::function<void(TCanvas*, TRect)>& PaintBorder);

// One tree level's picture: an expand box (minus or plus) with connectors up, down and to the
// right, or connectors alone (cross and vertical line).
enum class TTreeElementEh {
    tehMinusUpDown, tehMinusUp, tehMinusDown, tehMinus,
    tehPlusUpDown, tehPlusUp, tehPlusDown, tehPlus,
    tehCrossUpDown, tehCrossUp, tehCrossDown, tehVLine
};
void DrawTreeElement(TCanvas* Canvas, const TRect& Rect, TTreeElementEh Style, bool ShiftLeft, double ScaleY,
                     double ScaleX, bool Parity);

// --- Button faces -------------------------------------------------------------------------

// The faces the button painters draw, in the painters' own numbering.
enum class TDrawButtonStyleEh {
    dbsDropDownEh, dbsEllipsisEh, dbsUpDownEh, dbsCheckBoxEh, dbsPlusEh, dbsMinusEh, dbsAltDropDownEh, dbsAltUpDownEh
};

// The part of a button the mouse holds: none, the whole button or a spin pair's upper half,
// or a spin pair's lower half.
enum : int { bppNoneEh = 0, bppUpperEh = 1, bppLowerEh = 2 };

// Face DrawStyle in Rect through the shared bitmap cache. Spin pairs paint their halves apart
// (PressedPart says which is pressed); flat classic faces get a one-pixel frame in FrameColor.
// CheckState is used by check boxes only. An empty Rect draws nothing.
void PaintButtonFace(TCanvas* Canvas, const TRect& Rect, TColor FrameColor, TCheckBoxState CheckState, bool Enabled,
                     bool Hot, bool Flat, int PressedPart, TDrawButtonStyleEh DrawStyle);
// One face, or one half of a spin pair, drawn directly by the painter of its style.
void PaintStyledButtonFace(TCanvas* Canvas, TDrawButtonStyleEh DrawStyle, const TRect& Rect, bool DownHalf,
                           bool Pressed, bool Hot, bool Flat, bool Enabled);
void PaintCheckBoxFace(TCanvas* Canvas, const TRect& Rect, TCheckBoxState CheckState, bool Hot, bool Pressed,
                       bool Flat, bool Enabled);

// The per-style painters.
void PaintDropDownFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled);
void PaintEllipsisFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled);
void PaintUpDownFace(TCanvas* Canvas, const TRect& Rect, bool DownHalf, bool Pressed, bool Hot, bool Flat,
                     bool Enabled);
void PaintPlusMinusFace(TCanvas* Canvas, const TRect& Rect, bool Plus, bool Pressed, bool Hot, bool Flat,
                        bool Enabled);
void PaintAltDropDownFace(TCanvas* Canvas, const TRect& Rect, bool Pressed, bool Hot, bool Flat, bool Enabled);
// A plain face with an arrow pointing up or down.
void PaintSpinArrowFace(TCanvas* Canvas, const TRect& Rect, bool Up, bool Pressed, bool Hot, bool Flat,
                        bool Enabled);

// Glyph sizes inside a face.
struct TEllipsisDotsEh {
    int Size;  // side of each square dot
    int Gap;   // between two dots
};
TEllipsisDotsEh EllipsisDotsForWidth(int InnerWidth);
struct TPlusMinusBarsEh {
    int Length;
    int Thickness;
};
// M is the smaller inner side of the face.
TPlusMinusBarsEh PlusMinusBarsForSide(int M, bool Plus, bool Flat);
// The width of an arrow's widest row in a face whose smaller side is SmallerSide.
int SpinArrowWidth(int SmallerSide);

// The box of a check box placed in Rect: the default size, cut to Rect; moved right, centred
// or down only when Rect is wider or higher than the default box.
TRect PlaceCheckBoxInRect(const TRect& Rect, TAlignment HorzAlignment, TTextLayout VertLayout);
// The system's check-box size.
TSize DefaultCheckBoxSize();
// Two thirds of the screen font's character height, even with themes and odd without, at most
// a scroll bar's width.
int ComputeEditButtonWidth();
// The height of a button Width wide: half as high again when Flat.
int EditButtonHeightForWidth(int Width, bool Flat);

// --- Button bitmap cache ------------------------------------------------------------------

// What a cached face looks like; every field takes part in the lookup.
struct TButtonBitmapKeyEh {
    int Width = 0;
    int Height = 0;
    TDrawButtonStyleEh DrawStyle = TDrawButtonStyleEh::dbsDropDownEh;
    bool Flat = false;
    bool Pressed = false;
    bool Hot = false;
    bool Enabled = true;
    bool DownHalf = false;
    TCheckBoxState CheckState = TCheckBoxState::cbUnchecked;

    bool operator==(const TButtonBitmapKeyEh&) const = default;
};

// One rendered face.
class TButtonBitmapInfoBitmapEh {
public:
    // Negative sizes of Key are kept as 0 (an empty face).
    explicit TButtonBitmapInfoBitmapEh(const TButtonBitmapKeyEh& Key);
    ~TButtonBitmapInfoBitmapEh();

    const TButtonBitmapKeyEh& Key() const { return FKey; }
    TBitmap* Bitmap() const { return FBitmap.get(); }

private:
    TButtonBitmapKeyEh FKey;
    std::unique_ptr<TBitmap> FBitmap;
};

// Each distinct face rendered once, in order of first use. A face rendered under the other
// theme state is stale: the cache empties itself when the state changes.
class TButtonsBitmapCache {
public:
    TButtonsBitmapCache();
    ~TButtonsBitmapCache();

    // The face for Key, rendered on first request.
    TBitmap* BitmapFor(const TButtonBitmapKeyEh& Key);
    int Count() const { return static_cast<int>(FEntries.size()); }
    TButtonBitmapInfoBitmapEh* EntryAt(int Index) const { return FEntries.at(static_cast<std::size_t>(Index)).get(); }
    void Clear();

private:
    std::vector<std::unique_ptr<TButtonBitmapInfoBitmapEh>> FEntries;
    bool FThemed = false;
};

// The cache every control of the process shares. It is emptied when the application's palette
// or style changes.
TButtonsBitmapCache& ButtonsBitmapCache();
void FlushButtonBitmapCache();
