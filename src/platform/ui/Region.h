#pragma once
// TRegion: an area of pixels for clipping, the platform's HRGN held by value.
#include "platform/ui/Types.h"

#include <QRegion>

#include <span>

// Polygon fill modes: even-odd and non-zero winding.
enum : int { ALTERNATE = 1, WINDING = 2 };
// Ways of combining a clip with a region; the answers of the clip calls.
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class TRegion {
public:
    TRegion() = default;
    explicit TRegion(const TRect& R);
    // The polygon through Points, closed back to the first point, filled by FillMode.
    TRegion(std::span<const TPoint> Points, int FillMode);
    explicit TRegion(QRegion Region) : FRegion(std::move(Region)) {}

    bool IsEmpty() const { return FRegion.isEmpty(); }
    TRect BoundingRect() const;
    bool Contains(TPoint P) const;
    // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF or RGN_COPY (which takes Other).
    TRegion Combined(const TRegion& Other, int Mode) const;
    // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
    int Kind() const;

    const QRegion& Handle() const { return FRegion; }

    bool operator==(const TRegion&) const = default;

private:
    QRegion FRegion;
};

class TWinControl;

// The window's shape: only Region's pixels of it show and take the mouse; nullptr gives the
// whole rectangle back.
void SetWindowRgn(TWinControl* Control, const TRegion* Region);
// The shape set; empty when the window is a whole rectangle.
TRegion GetWindowRgn(TWinControl* Control);
