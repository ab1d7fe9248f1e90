#pragma once
// What XOR drawing outside painting has done to a window. The platform draws sizing lines and
// focus rectangles straight onto the screen; here a canvas attached to an overlay XORs them into
// this image instead (starting all zero = no change), and the window's paint XORs the image over
// everything it painted. Drawing the same thing twice clears it again, as on the screen.
//
// A window keeps one overlay the size of its client area, attached to its canvas outside
// painting (TCanvas::SetOverlay), with OnChange asking for a repaint; its paint event runs
// Canvas->BeginPaint(&painter), Paint(), Canvas->EndPaint(), then PaintOnto(painter).
#include <QImage>

#include <functional>

class QPainter;

class TXorOverlay {
public:
    // Resizing forgets what was drawn. The image itself is made at the first drawing: a window
    // resized often (a grid's scroll bar coming and going at every requery) pays nothing.
    void SetSize(int Width, int Height);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void Clear();
    // True while nothing has been drawn since the last Clear or SetSize.
    bool IsEmpty() const { return !FDrawn; }

    // XORs the overlay onto Painter, the last step of a window's paint.
    void PaintOnto(QPainter& Painter) const;

    // The image XOR drawing goes to; TCanvas draws there, then calls Changed.
    QImage& Image();
    void Changed();

    // Told after each drawing into the overlay: the window repaints (update()) to show it.
    std::function<void()> OnChange;

private:
    QImage FImage;  // null until drawn into
    int FWidth = 0;
    int FHeight = 0;
    bool FDrawn = false;
};
