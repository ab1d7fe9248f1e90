#pragma once
// Inside the canvas's implementation only: the painter one drawing operation goes to.
#include "platform/ui/Canvas.h"

#include <QColor>
#include <QPainter>

#include <optional>

class TCanvas::TTarget {
public:
    // Finds where the canvas draws now and applies the canvas's clip there.
    explicit TTarget(TCanvas& Canvas);
    // Ends a painter opened for this operation and tells the canvas's OnChange.
    ~TTarget();
    TTarget(const TTarget&) = delete;
    TTarget& operator=(const TTarget&) = delete;

    explicit operator bool() const { return FPainter != nullptr; }
    QPainter& Painter() const { return *FPainter; }

    // Prepares drawing in a pen mode; false when the mode draws nothing here (pmNop, and
    // everything but the XOR family on an overlay).
    bool UseMode(TPenMode Mode);
    // Prepares plain copying (fills, text, pictures); false on an overlay.
    bool UseCopy() { return UseMode(TPenMode::pmCopy); }
    // The colour to paint with so that Color comes out under the current mode.
    QColor ModeColor(TColor Color) const;

private:
    TCanvas& FCanvas;
    QPainter* FPainter = nullptr;
    std::optional<QPainter> FOverlayPainter;
    TPenMode FMode = TPenMode::pmCopy;
};

// The painter's pen for a canvas pen drawn in Color.
QPen ToQPen(const TPen& Pen, const QColor& Color);
// Paints R's one-pixel outline, each pixel once.
void FillFrame(QPainter& Painter, const QRect& R, const QColor& Color);
