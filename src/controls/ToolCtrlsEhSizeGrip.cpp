// TSizeGripEh: the triangular grip that resizes a drop-down from one of its corners.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/Region.h"
#include "platform/ui/WindowCalls.h"


#include <algorithm>
#include <array>

namespace {

// A drop-down's span along one axis, Start and Extent, once the grip moved Moved pixels from
// where the drag began with the span DownExtent long: a grip on the far side moves the far
// edge, up to WorkEnd; one on the near side moves the near edge, down to WorkStart.
void DragSpan(bool FarSide, int Moved, int DownExtent, int WorkStart, int WorkEnd, int& Start, int& Extent)
{
    if (FarSide) {
        Extent = DownExtent + Moved;
        Extent -= std::max(Start + Extent - WorkEnd, 0);
    } else {
        const int End = Start + Extent;
        Extent = std::min(DownExtent - Moved, End - WorkStart);
        Start = End - Extent;
    }
}

}  // namespace

TSizeGripEh::TSizeGripEh(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
    SetColor(clBtnFace);
    SetCursor(crSizeNWSE);
}

bool TSizeGripEh::OnRightSide() const
{
    return FPosition == TSizeGripPosition::sgpTopRight || FPosition == TSizeGripPosition::sgpBottomRight;
}

bool TSizeGripEh::OnBottomSide() const
{
    return FPosition == TSizeGripPosition::sgpBottomRight || FPosition == TSizeGripPosition::sgpBottomLeft;
}

void TSizeGripEh::SetPosition(TSizeGripPosition Value)
{
    if (Value == FPosition)
        return;
    FPosition = Value;
    ApplyTriangleRegion();
    Invalidate();
}

void TSizeGripEh::SetTriangleShape(bool Value)
{
    if (Value == FTriangleWindow)
        return;
    FTriangleWindow = Value;
    ApplyTriangleRegion();
}

void TSizeGripEh::SnapToSide(WPARAM Side)
{
    // A corner is a horizontal and a vertical side; the named side replaces its kind.
    bool right = OnRightSide();
    bool bottom = OnBottomSide();
    switch (Side) {
    case sgsLeft: right = false; break;
    case sgsRight: right = true; break;
    case sgsTop: bottom = false; break;
    case sgsBottom: bottom = true; break;
    default: return;
    }
    using enum TSizeGripPosition;
    SetPosition(bottom ? (right ? sgpBottomRight : sgpBottomLeft) : (right ? sgpTopRight : sgpTopLeft));
}

void TSizeGripEh::ShowGrip(bool Value)
{
    ShowWindow(Handle(), Value ? SW_SHOW : SW_HIDE);
}

void TSizeGripEh::UpdatePosition()
{
    const TWinControl* parent = Parent();
    if (parent == nullptr)
        return;
    const int right = parent->ClientWidth() - Width();
    const int bottom = parent->ClientHeight() - Height();
    SetBounds(OnRightSide() ? right : 0, OnBottomSide() ? bottom : 0, Width(), Height());
    Invalidate();
}

void TSizeGripEh::CreateWnd()
{
    TCustomControl::CreateWnd();
    ApplyTriangleRegion();
}

void TSizeGripEh::ApplyTriangleRegion()
{
    if (!HandleAllocated())
        return;
    const int w = Width();
    const int h = Height();
    if (FTriangleWindow && w > 0 && h > 0) {
        // The right angle lies in the grip's corner; GDI regions leave out their right and
        // bottom edges, as Qt's polygon regions do.
        std::array<TPoint, 3> points;
        switch (FPosition) {
        case TSizeGripPosition::sgpBottomRight: points = {Point(0, h), Point(w, h), Point(w, 0)}; break;
        case TSizeGripPosition::sgpBottomLeft: points = {Point(w, h), Point(0, h), Point(0, 0)}; break;
        case TSizeGripPosition::sgpTopLeft: points = {Point(w - 1, 0), Point(0, 0), Point(0, h - 1)}; break;
        case TSizeGripPosition::sgpTopRight: points = {Point(w, h - 1), Point(w, 0), Point(1, 0)}; break;
        }
        const TRegion region(points, WINDING);
        SetWindowRgn(this, &region);
    } else {
        SetWindowRgn(this, nullptr);
    }
    UpdatePosition();
    const bool falling = FPosition == TSizeGripPosition::sgpTopLeft || FPosition == TSizeGripPosition::sgpBottomRight;
    SetCursor(falling ? crSizeNWSE : crSizeNESW);
}

void TSizeGripEh::Paint()
{
    TCanvas* canvas = Canvas();
    const int w = Width();
    const int h = Height();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    // Lines parallel to the hypotenuse, every 4 pixels: highlight, two shadows, face. They are
    // laid out for the bottom-right corner and mirrored into the grip's own corner.
    const auto place = [&](int X, int Y) {
        return Point(OnRightSide() ? X : w - 1 - X, OnBottomSide() ? Y : h - 1 - Y);
    };
    static constexpr std::array<TColor, 4> Colors{clBtnHighlight, clBtnShadow, clBtnShadow, clBtnFace};
    const int side = std::min(w, h);
    for (int k = 0; k < side; ++k) {
        canvas->Pen()->SetColor(Colors[static_cast<std::size_t>(k % 4)]);
        const TPoint from = place(w - side + k, h - 1);
        const TPoint to = place(w - 1, h - side + k);
        canvas->MoveTo(from.X, from.Y);
        canvas->LineTo(to.X, to.Y);
        canvas->SetPixels(to.X, to.Y, Colors[static_cast<std::size_t>(k % 4)]);
    }
}

void TSizeGripEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const TWinControl* parent = Parent();
    if (Button != TMouseButton::mbLeft || parent == nullptr)
        return;
    FDownPos = ClientToScreen(Point(X, Y));
    FLastPos = FDownPos;
    FDownWidth = parent->Width();
    FDownHeight = parent->Height();
}

void TSizeGripEh::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!Shift.Contains(ssLeft) || !MouseCapture() || Parent() == nullptr)
        return;
    const TPoint at = ClientToScreen(Point(X, Y));
    if (at != FLastPos)
        DragTo(at);
}

void TSizeGripEh::DragTo(TPoint ScreenPos)
{
    TWinControl* parent = Parent();
    const int oldClientWidth = parent->ClientWidth();
    const int oldClientHeight = parent->ClientHeight();
    // The monitor that holds the drop-down bounds it, as it bounded where it opened.
    const TRect work = PlatformMetrics().MonitorNearest(parent->BoundsRect()).WorkArea;
    const TRect bounds = parent->BoundsRect();
    int left = bounds.Left;
    int width = bounds.Width();
    DragSpan(OnRightSide(), ScreenPos.X - FDownPos.X, FDownWidth, work.Left, work.Right, left, width);
    int top = bounds.Top;
    int height = bounds.Height();
    DragSpan(OnBottomSide(), ScreenPos.Y - FDownPos.Y, FDownHeight, work.Top, work.Bottom, top, height);
    parent->SetBounds(left, top, width, height);
    // The drop-down may keep another size (whole rows, a minimum): the edges opposite the grip
    // stay where they were.
    if (!OnRightSide() || !OnBottomSide())
        parent->SetBounds(OnRightSide() ? left : bounds.Right - parent->Width(),
                          OnBottomSide() ? top : bounds.Bottom - parent->Height(), parent->Width(), parent->Height());

    FLastPos = ScreenPos;
    if ((parent->ClientWidth() != oldClientWidth || parent->ClientHeight() != oldClientHeight) && OnParentResized)
        OnParentResized(this);
    UpdatePosition();
}
