#pragma once
// Conversions between the platform's records and Qt's, for use inside the window layer only:
// everything above it speaks TRect, TPoint and TColor.
#include "platform/ui/Colors.h"
#include "platform/ui/Types.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

inline QPoint ToQPoint(TPoint P) { return {P.X, P.Y}; }
inline TPoint FromQPoint(QPoint P) { return {P.x(), P.y()}; }
inline QSize ToQSize(TSize S) { return {S.cx, S.cy}; }
inline TSize FromQSize(QSize S) { return {S.width(), S.height()}; }
// QRect's right() is inclusive; TRect's Right is not.
inline QRect ToQRect(const TRect& R) { return {R.Left, R.Top, R.Width(), R.Height()}; }
inline TRect FromQRect(const QRect& R) { return Bounds(R.x(), R.y(), R.width(), R.height()); }

// Opaque; system colours resolved.
inline QColor ToQColor(TColor C)
{
    const TColor rgb = ColorToRGB(C);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}
inline TColor FromQColor(const QColor& C) { return RGB(C.red(), C.green(), C.blue()); }
// The 0xAARRGGBB pixel value of QImage for a colour, opaque.
inline unsigned ToQRgb(TColor C)
{
    const TColor rgb = ColorToRGB(C);
    return 0xFF000000u | (static_cast<unsigned>(GetRValue(rgb)) << 16) | (static_cast<unsigned>(GetGValue(rgb)) << 8) |
           static_cast<unsigned>(GetBValue(rgb));
}
inline TColor FromQRgb(unsigned Pixel) { return RGB((Pixel >> 16) & 0xFF, (Pixel >> 8) & 0xFF, Pixel & 0xFF); }
