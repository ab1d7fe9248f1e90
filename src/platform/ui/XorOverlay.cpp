#include "platform/ui/XorOverlay.h"

#include <QPainter>

void TXorOverlay::SetSize(int Width, int Height)
{
    if (Width == FImage.width() && Height == FImage.height())
        return;
    FImage = QImage(Width, Height, QImage::Format_RGB32);
    Clear();
}

void TXorOverlay::Clear()
{
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
    FDrawn = true;
    return FImage;
}

void TXorOverlay::Changed()
{
    if (OnChange)
        OnChange();
}
