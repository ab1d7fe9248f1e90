// Regions on QRegion: built from rectangles and polygons, combined, tested, set on a window.
#include "platform/ui/Region.h"

#include "platform/ui/Controls.h"
#include "platform/ui/QtConvert.h"

#include <QPolygon>
#include <QWidget>

TRegion::TRegion(const TRect& R) : FRegion(ToQRect(R)) {}

TRegion::TRegion(std::span<const TPoint> Points, int FillMode)
{
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(Points.size()));
    for (TPoint point : Points)
        polygon.append(ToQPoint(point));
    FRegion = QRegion(polygon, FillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
}

TRect TRegion::BoundingRect() const
{
    return FromQRect(FRegion.boundingRect());
}

bool TRegion::Contains(TPoint P) const
{
    return FRegion.contains(ToQPoint(P));
}

TRegion TRegion::Combined(const TRegion& Other, int Mode) const
{
    switch (Mode) {
    case RGN_AND:
        return TRegion(FRegion.intersected(Other.FRegion));
    case RGN_OR:
        return TRegion(FRegion.united(Other.FRegion));
    case RGN_XOR:
        return TRegion(FRegion.xored(Other.FRegion));
    case RGN_DIFF:
        return TRegion(FRegion.subtracted(Other.FRegion));
    default:
        return Other;
    }
}

int TRegion::Kind() const
{
    if (FRegion.isEmpty())
        return NULLREGION;
    return FRegion.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void SetWindowRgn(TWinControl* Control, const TRegion* Region)
{
    if (Region != nullptr)
        Control->Handle()->setMask(Region->Handle());
    else
        Control->Handle()->clearMask();
}

TRegion GetWindowRgn(TWinControl* Control) { return TRegion(Control->Handle()->mask()); }
