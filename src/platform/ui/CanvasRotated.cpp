// TCanvas: text turned a quarter turn and bitmaps laid over the canvas at a given opacity.
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/QtConvert.h"

#include <QPainter>

void TCanvas::TextOutTurned(int X, int Y, const String& Text, const TRect& Clip)
{
    QPainter* painter = StylePainter();
    if (painter == nullptr)
        return;
    painter->save();
    painter->setClipRect(ToQRect(Clip), Qt::IntersectClip);
    painter->setFont(FFont.Handle());
    painter->setPen(ToQColor(FFont.Color()));
    painter->translate(X, Y);
    painter->rotate(-90);
    painter->drawText(0, FFont.FontMetrics().ascent(), Text);
    painter->restore();
}

void TCanvas::DrawBlended(const TRect& Dest, TBitmap* Source, const TRect& SourceRect, int Alpha)
{
    QPainter* painter = StylePainter();
    if (painter == nullptr)
        return;
    painter->save();
    painter->setOpacity(Alpha / 255.0);
    painter->drawImage(ToQRect(Dest), Source->Image(), ToQRect(SourceRect));
    painter->restore();
}
