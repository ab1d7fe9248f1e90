// Where a drop-down goes: below or above its owner's rectangle or edit, cut to the monitor's work
// area, with its size grip moved to the side away from the owner.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/PlatformMetrics.h"

#include <algorithm>

TPoint PlaceDropDownAtRect(const TRect& Rect, TControl* DropDown, TDropDownAlign Alignment)
{
    const TRect Work = PlatformMetrics().MonitorNearest(Rect).WorkArea;
    // Rooms are never negative, so an owner reaching past the work area cannot ask for a
    // negative size.
    const int RoomAbove = std::max(Rect.Top - Work.Top, 0);
    const int RoomBelow = std::max(Work.Bottom - Rect.Bottom, 0);

    // The drop-down may round a cut height (to whole rows), so positions take the height it kept.
    TPoint Result;
    const bool FitsBelow = DropDown->Height() <= RoomBelow;
    const bool FitsAbove = DropDown->Height() <= RoomAbove;
    if (!FitsBelow && (FitsAbove || RoomAbove > RoomBelow)) {
        if (!FitsAbove)
            DropDown->SetHeight(RoomAbove);
        Result.Y = Rect.Top - DropDown->Height();
        SendMessage(DropDown, WM_SIZEGRIPSIDE, sgsTop);
    } else {
        if (!FitsBelow)
            DropDown->SetHeight(RoomBelow);
        Result.Y = Rect.Bottom;
        SendMessage(DropDown, WM_SIZEGRIPSIDE, sgsBottom);
    }

    Result.X = Rect.Left;
    if (Alignment == TDropDownAlign::daRight)
        Result.X += Rect.Width() - DropDown->Width();
    else if (Alignment == TDropDownAlign::daCenter)
        Result.X -= (DropDown->Width() - Rect.Width()) / 2;
    if (DropDown->Width() > Work.Width())
        DropDown->SetWidth(Work.Width());
    WPARAM Side = Alignment == TDropDownAlign::daRight ? sgsLeft : sgsRight;
    if (Result.X + DropDown->Width() > Work.Right) {
        Result.X = Work.Right - DropDown->Width();
        Side = sgsLeft;
    } else if (Result.X < Work.Left) {
        Result.X = Work.Left;
        Side = sgsRight;
    }
    SendMessage(DropDown, WM_SIZEGRIPSIDE, Side);
    return Result;
}

TPoint PlaceDropDownUnderEdit(const TControl* Edit, TControl* DropDown, TDropDownAlign Alignment)
{
    const TPoint Origin = Edit->Parent() != nullptr ? Edit->Parent()->ClientToScreen({Edit->Left(), Edit->Top()})
                                                    : TPoint{Edit->Left(), Edit->Top()};
    return PlaceDropDownAtRect(Bounds(Origin.X, Origin.Y, Edit->Width(), Edit->Height()), DropDown, Alignment);
}
