#pragma once
// A grid for tests: records the cells it is asked to paint, optionally writes their text, and
// paints itself into an image of its client size.
#include "controls/GridsEh.h"

#include <QImage>
#include <QPainter>

#include <vector>

class TTestGrid : public TCustomGridEh {
public:
    using TCustomGridEh::TCustomGridEh;

    struct TPaintedCell {
        TGridCoord Cell;
        TGridDrawState State;
        TRect Rect;
    };
    std::vector<TPaintedCell> Painted;
    bool DrawCellText = false;

    // Paints the client area into an image; Clip limits the painting when not empty.
    QImage PaintToImage(const TRect& Clip = {})
    {
        QImage image(ClientWidth(), ClientHeight(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        if (!Clip.IsEmpty())
            painter.setClipRect(Clip.Left, Clip.Top, Clip.Width(), Clip.Height());
        Painted.clear();
        Canvas()->BeginPaint(&painter);
        Paint();
        Canvas()->EndPaint();
        return image;
    }

    const TPaintedCell* PaintedAt(int ACol, int ARow) const
    {
        for (const TPaintedCell& cell : Painted)
            if (cell.Cell == TGridCoord{ACol, ARow})
                return &cell;
        return nullptr;
    }

    using TCustomGridEh::HorzExtents;
    using TCustomGridEh::PaintGrid;
    using TCustomGridEh::RemoveRow;
    using TCustomGridEh::ResizeAxisAt;
    using TCustomGridEh::SelectCellAndNotify;
    using TCustomGridEh::VertExtents;

protected:
    void PaintCell(int ACol, int ARow, TGridDrawState State, TRect ARect) override
    {
        Painted.push_back({{ACol, ARow}, State, ARect});
        if (DrawCellText) {
            Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
            Canvas()->Font()->SetColor(clBlack);
            Canvas()->TextOut(ARect.Left + 2, ARect.Top + 2, QStringLiteral("%1:%2").arg(ACol).arg(ARow));
            Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
        }
    }
};

inline TColor PixelColor(const QImage& Image, int X, int Y)
{
    const QRgb pixel = Image.pixel(X, Y);
    return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}
