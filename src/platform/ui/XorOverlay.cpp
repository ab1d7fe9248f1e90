// The overlay's image: sized to its window, cleared, and XORed over the window's paint.
#include "platform/ui/XorOverlay.h"

#include <QPainter>

void TXorOverlay::SetSize(int Width, int Height)
{
    if (Width == FWidth && Height == FHeight)
        return;
    FWidth = Width;
    FHeight = Height;
    FImage = QImage();
    FDrawn = false;
}

void TXorOverlay::Clear()
{
    if (FDrawn)
        FImage.fill(0u);
    FDrawn = false;
}

void TXorOverlay::PaintOnto(QPainter& Painter) const
{
    if (!FDrawn)
        return;
    Painter.save();
    Painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    Painter.drawImage(0, 0, FImage);
    Painter.restore();
}

QImage& TXorOverlay::Image()
{
    if (FImage.isNull()) {
        FImage = QImage(FWidth, FHeight, QImage::Format_RGB32);
        FImage.fill(0u);
    }
    FDrawn = true;
    return FImage;
}

void TXorOverlay::Changed()
{
    if (OnChange)
        OnChange();
}
