// The themed-or-classic switch and input helpers: the shift state held now, double-click limits
// and the pending press a closing menu leaves behind.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/Themes.h"

#include <cstdlib>

bool ThemesActive() { return ThemeServices().ThemesEnabled(); }

TShiftState CurrentShiftState()
{
    TShiftState Result;
    if (GetKeyState(VK_SHIFT) < 0)
        Result.Include(ssShift);
    if (GetKeyState(VK_MENU) < 0)
        Result.Include(ssAlt);
    if (GetKeyState(VK_CONTROL) < 0)
        Result.Include(ssCtrl);
    return Result;
}

bool IsWithinDoubleClick(TPoint PrevPoint, TPoint Point, std::uint32_t Elapsed)
{
    return Elapsed <= GetDoubleClickTime() && std::abs(Point.X - PrevPoint.X) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
           std::abs(Point.Y - PrevPoint.Y) <= GetSystemMetrics(SM_CYDOUBLECLK);
}

bool TakePendingMouseDown(TControl* Control)
{
    const TWinControl* Parent = Control->Parent();
    if (Parent == nullptr || GetKeyState(VK_LBUTTON) >= 0)
        return false;
    return Parent->ControlAtPos(Parent->ScreenToClient(GetCursorPos()), true, false) == Control;
}

bool TakePendingMouseDownInClient(TControl* Control)
{
    return GetKeyState(VK_LBUTTON) < 0 && Control->ClientRect().Contains(Control->ScreenToClient(GetCursorPos()));
}
