#pragma once
// The indicator title: the top-left cell of a grid as a button that opens the indicator menu.
#include "platform/core/Persistent.h"

#include <memory>

class TCustomDBGridEh;
class TPopupMenu;

class TDBGridEhIndicatorTitle : public TPersistent {
public:
    explicit TDBGridEhIndicatorTitle(TCustomDBGridEh* Grid) : FGrid(Grid) {}
    void Assign(TPersistent* Source) override;

    // Items appended to the menu after a line; the grid forgets a menu that is freed.
    TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* Value);
    // A drop-down sign at the cell's right.
    bool ShowDropDownSign() const { return FShowDropDownSign; }
    void SetShowDropDownSign(bool Value);
    // A click opens the menu; without it a click toggles selecting everything (dgMultiSelect).
    bool TitleButton() const { return FTitleButton; }
    void SetTitleButton(bool Value) { FTitleButton = Value; }
    // The centre's columns and edit commands head the menu.
    bool UseGlobalMenu() const { return FUseGlobalMenu; }
    void SetUseGlobalMenu(bool Value) { FUseGlobalMenu = Value; }
    // The cell shows pressed from the click until its menu closes, or, with no menu to show,
    // until the mouse button is let go.
    bool Pressed() const { return FPressed; }
    void SetPressed(bool Value);
    // Pops Menu up at a screen point; its close ends the pressed look and, with FreeOnClose,
    // frees it.
    void ShowMenu(TPopupMenu* Menu, bool FreeOnClose, int X, int Y);
    // The release of a press that showed no menu.
    void ReleasePress();

protected:
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TDBGridEhIndicatorTitle"; }

private:
    TCustomDBGridEh* FGrid;
    TPopupMenu* FDropdownMenu = nullptr;
    bool FShowDropDownSign = false;
    bool FTitleButton = false;
    bool FUseGlobalMenu = true;
    bool FPressed = false;
    // The menu shown and not yet closed; only compared, never reached through.
    TPopupMenu* FShownMenu = nullptr;
    // Expires with the title, so a menu closing after it leaves it alone.
    std::shared_ptr<int> FAliveToken = std::make_shared<int>(0);
};
