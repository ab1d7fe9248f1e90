#pragma once
// TCanvas: the platform's drawing surface with its pen, brush and font, on a QPainter.
//
// Where drawing lands, first match wins:
//  - between BeginPaint and EndPaint: the painter given (a window's paint, or any QPainter);
//  - with an overlay attached (SetOverlay): the overlay, XOR drawing only (see XorOverlay.h);
//  - a bitmap's canvas: the bitmap's image;
//  - otherwise nowhere: the canvas only measures (TextWidth, DrawText with DT_CALCRECT ...).
#include "platform/core/Persistent.h"
#include "platform/core/String.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Region.h"
#include "platform/ui/Types.h"

#include <QRegion>

#include <memory>
#include <optional>
#include <span>
#include <vector>

class QImage;
class QPainter;
class TBitmap;
class TXorOverlay;

// DrawText / DrawTextEx formats.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_EDITCONTROL = 0x2000,
    DT_END_ELLIPSIS = 0x8000,
};

// The platform's DRAWTEXTPARAMS: tab stops in average character widths, margins in pixels;
// uiLengthDrawn receives the number of characters processed.
struct TDrawTextParams {
    unsigned cbSize = sizeof(TDrawTextParams);
    int iTabLength = 0;
    int iLeftMargin = 0;
    int iRightMargin = 0;
    unsigned uiLengthDrawn = 0;
};

// ExtTextOut options.
enum : unsigned { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4 };
// Background modes of text.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// DrawEdge borders and sides.
enum : unsigned {
    BDR_RAISEDOUTER = 0x1,
    BDR_SUNKENOUTER = 0x2,
    BDR_RAISEDINNER = 0x4,
    BDR_SUNKENINNER = 0x8,
    BDR_OUTER = 0x3,
    BDR_INNER = 0xC,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
    BF_LEFT = 0x1,
    BF_TOP = 0x2,
    BF_RIGHT = 0x4,
    BF_BOTTOM = 0x8,
    BF_TOPLEFT = BF_TOP | BF_LEFT,
    BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x800,
    BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000,
};

// DrawFrameControl types and states.
enum : unsigned {
    DFC_SCROLL = 3,
    DFC_BUTTON = 4,
    DFCS_BUTTONCHECK = 0x0,
    DFCS_BUTTONRADIO = 0x4,
    DFCS_BUTTON3STATE = 0x8,
    DFCS_BUTTONPUSH = 0x10,
    DFCS_SCROLLUP = 0x0,
    DFCS_SCROLLDOWN = 0x1,
    DFCS_SCROLLLEFT = 0x2,
    DFCS_SCROLLRIGHT = 0x3,
    DFCS_SCROLLCOMBOBOX = 0x5,
    DFCS_INACTIVE = 0x100,
    DFCS_PUSHED = 0x200,
    DFCS_CHECKED = 0x400,
    DFCS_FLAT = 0x4000,
    DFCS_MONO = 0x8000,
};

// GradientFill modes: colour changing from left to right, or from top to bottom.
enum : unsigned { GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1 };

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // Draws through Painter until EndPaint; the painter's own clip stays the outer limit of
    // every clip set here, and its state is restored at EndPaint.
    void BeginPaint(QPainter* Painter);
    void EndPaint();
    bool Painting() const { return FPaintPainter != nullptr; }
    // Outside painting, drawing goes to Overlay (nullptr detaches). Only the XOR family of pen
    // modes (pmXor, pmNot, pmNotXor) and DrawFocusRect change an overlay; other drawing there
    // would be painted over by the next paint anyway and is dropped.
    void SetOverlay(TXorOverlay* Overlay);
    TXorOverlay* Overlay() const { return FOverlay; }
    // True when drawing lands somewhere.
    bool HandleAllocated() const;

    TFont* Font() { return &FFont; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }
    TPen* Pen() { return &FPen; }
    void SetPen(TPen* Value) { FPen.Assign(Value); }
    TBrush* Brush() { return &FBrush; }
    void SetBrush(TBrush* Value) { FBrush.Assign(Value); }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint Value) { FPenPos = Value; }

    // Lines with the pen. LineTo leaves out its end point and moves the pen there.
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(std::span<const TPoint> Points);
    // Several polylines in one call: Counts[i] points each, taken in turn from Points.
    void PolyPolyline(std::span<const TPoint> Points, std::span<const int> Counts);
    // Outlined with the pen, filled with the brush (alternate fill).
    void Polygon(std::span<const TPoint> Points);
    void Rectangle(const TRect& R);
    void Rectangle(int X1, int Y1, int X2, int Y2) { Rectangle(Rect(X1, Y1, X2, Y2)); }
    void Ellipse(const TRect& R);

    // Brush-only operations: the pen is not used.
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    // Inverts every other pixel of R's outline; a second call restores them.
    void DrawFocusRect(const TRect& R);
    // From StartColor at the left (top) edge towards EndColor at the right (bottom) edge.
    void GradientFill(const TRect& R, TColor StartColor, TColor EndColor, unsigned Mode);

    // Reading works on bitmap canvases only (CLR_INVALID elsewhere or outside the image).
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Value);

    // Text at (X, Y) = top left of its cell; the pen moves to the end of the text.
    void TextOut(int X, int Y, const String& Text);
    // Text at (X, Y) clipped to R; R is filled with the brush first unless the brush is clear.
    void TextRect(const TRect& R, int X, int Y, const String& Text);
    int TextWidth(const String& Text) const;
    int TextHeight(const String& Text) const;
    TSize TextExtent(const String& Text) const;
    TTextMetric GetTextMetrics() const { return FFont.Metrics(); }

    // The platform's DrawText: lays Text out in R by Format and returns the height of the text
    // (with DT_VCENTER or DT_BOTTOM, the offset from R.Top to its bottom). With DT_CALCRECT it
    // draws nothing and sets R's bottom (and its right unless word-breaking) to bound the text.
    int DrawText(const String& Text, TRect& R, unsigned Format);
    int DrawTextEx(const String& Text, TRect& R, unsigned Format, TDrawTextParams* Params);
    // Text with its cell's top left at (X, Y); ETO_OPAQUE fills R with the background colour,
    // ETO_CLIPPED clips the text to R.
    bool ExtTextOut(int X, int Y, unsigned Options, const TRect* R, const String& Text);

    // Text colours of the device: set from the font's colour and the brush (solid -> OPAQUE
    // with its colour, clear -> TRANSPARENT) whenever those change, or directly. Each setter
    // returns the previous value.
    TColor SetTextColor(TColor Value);
    TColor TextColor() const { return FTextColor; }
    TColor SetBkColor(TColor Value);
    TColor BkColor() const { return FBkColor; }
    int SetBkMode(int Value);
    int BkMode() const { return FBkMode; }

    // Raised and sunken 3-D borders in the system colours; BF_ADJUST shrinks R by them.
    bool DrawEdge(TRect& R, unsigned Edge, unsigned Flags);
    // Classic buttons, check boxes, radio buttons and scroll arrows in the system colours.
    bool DrawFrameControl(TRect& R, unsigned Type, unsigned State);

    void Draw(int X, int Y, TBitmap* Graphic);
    void StretchDraw(const TRect& R, TBitmap* Graphic);
    // Copies Source's pixels in SourceRect to Dest, stretched to fit; only bitmap canvases can
    // be copied from.
    void CopyRect(const TRect& Dest, const TCanvas* Source, const TRect& SourceRect);

    // Clipping. ClipRect bounds what can be drawn.
    TRect ClipRect() const;
    bool RectVisible(const TRect& R) const;
    int IntersectClipRect(const TRect& R);
    // nullptr removes the clip set through the canvas.
    int SelectClipRgn(const TRegion* Region);
    int ExtSelectClipRgn(const TRegion* Region, int Mode);
    // 1 with the clip in Region, 0 when no clip is set.
    int GetClipRgn(TRegion& Region) const;
    // Saves clip, pen position and text colours; RestoreDC(-1) returns to the last save.
    int SaveDC();
    bool RestoreDC(int SavedDC);

    // Called after every drawing operation that had somewhere to land.
    TNotifyEvent OnChange;

    // Text turned a quarter turn anticlockwise, reading upwards from (X, Y) with its top edge
    // facing left at X, in the font and its colour, clipped to Clip as well (CanvasRotated.cpp).
    void TextOutTurned(int X, int Y, const String& Text, const TRect& Clip);
    // Source's pixels in SourceRect laid over Dest at Alpha (0 transparent .. 255 opaque).
    void DrawBlended(const TRect& Dest, TBitmap* Source, const TRect& SourceRect, int Alpha);

    // The painter, prepared with the canvas's clip, for drawing code of the window layer
    // (theme services); nullptr when drawing lands nowhere or only in an overlay.
    QPainter* StylePainter();

protected:
    const char* ClassName() const override { return "TCanvas"; }
    // The canvas's own device: a bitmap canvas's image, none for the base.
    virtual QImage* DeviceImage() const { return nullptr; }
    // Closes the painter open on the device image, before the image changes.
    void ReleaseDevice();

private:
    struct TSavedState;
    class TTarget;
    friend class TTarget;

    void Changed();
    void FontChanged();
    void BrushChanged();
    TRect DeviceRect() const;
    void ClipChanged();
    std::optional<QRegion> EffectiveClip() const;

    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TPoint FPenPos;
    TColor FTextColor;
    TColor FBkColor;
    int FBkMode = OPAQUE;
    std::optional<QRegion> FClip;
    std::vector<TSavedState> FSaved;
    QPainter* FPaintPainter = nullptr;
    std::optional<QRegion> FPaintClip;
    TXorOverlay* FOverlay = nullptr;
    std::unique_ptr<QPainter> FDevicePainter;
    bool FClipApplied = false;
};
