// The buttons in the title rows: the indicator title with its menu or select-all toggle, and the
// filter button at the right of a title cell when the filter row lies in the titles.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"
#include "datagrid/DBGridEhDraw.h"
#include "datagrid/DBGridEhFilterRow.h"
#include "datagrid/DBGridEhIndicatorTitle.h"

#include "platform/ui/Menus.h"
#include "platform/ui/Themes.h"

// --- The indicator title's settings -------------------------------------------------------------

void TDBGridEhIndicatorTitle::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TDBGridEhIndicatorTitle*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetDropdownMenu(source->FDropdownMenu);
    SetShowDropDownSign(source->FShowDropDownSign);
    FTitleButton = source->FTitleButton;
    FUseGlobalMenu = source->FUseGlobalMenu;
}

TPersistent* TDBGridEhIndicatorTitle::GetOwner() { return FGrid; }

void TDBGridEhIndicatorTitle::SetDropdownMenu(TPopupMenu* Value)
{
    if (Value == FDropdownMenu)
        return;
    FDropdownMenu = Value;
    if (Value != nullptr)
        Value->FreeNotification(FGrid);
}

void TDBGridEhIndicatorTitle::SetShowDropDownSign(bool Value)
{
    if (Value == FShowDropDownSign)
        return;
    FShowDropDownSign = Value;
    FGrid->InvalidateOneCell(0, 0);
}

void TDBGridEhIndicatorTitle::SetPressed(bool Value)
{
    if (Value == FPressed)
        return;
    FPressed = Value;
    FGrid->InvalidateOneCell(0, 0);
}

void TCustomDBGridEh::SetIndicatorTitle(TDBGridEhIndicatorTitle* Value) { FIndicatorTitle->Assign(Value); }

// --- A press on the indicator title -------------------------------------------------------------

void TCustomDBGridEh::RaiseIndicatorTitleMouseDown(TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnIndicatorTitleMouseDown)
        OnIndicatorTitleMouseDown(this, Cell, Button, Shift, X, Y);
    else
        ClickIndicatorTitle(Cell, Point(X, Y));
}

void TCustomDBGridEh::ClickIndicatorTitle(TGridCoord, TPoint)
{
    if (FIndicatorTitle->TitleButton()) {
        OpenIndicatorTitleMenu();
        return;
    }
    if (!Options().Contains(dgMultiSelect) || !DataLink()->Active() ||
        !IsSelectionTypeAllowed(TDBGridEhSelectionType::gstAll))
        return;
    if (Selection()->SelectionType() == TDBGridEhSelectionType::gstNon)
        Selection()->SelectAllCells();
    else
        Selection()->ResetSelection();
}

void TCustomDBGridEh::OpenIndicatorTitleMenu()
{
    FIndicatorTitle->SetPressed(true);
    TPopupMenu* menu = nullptr;
    try {
        if (OnBuildIndicatorTitleMenu)
            OnBuildIndicatorTitleMenu(this, menu);
        else
            DefaultBuildIndicatorTitleMenu(menu);
    } catch (...) {
        FIndicatorTitle->SetPressed(false);
        throw;
    }
    if (menu == nullptr || menu->Items()->Count() == 0) {
        // Nothing to show: the press stays down as a button's until the release.
        if (!MouseCapture())
            FIndicatorTitle->SetPressed(false);
        return;
    }
    const TRect cell = CellPixelRect(0, 0);
    const TPoint at = ClientToScreen(Point(cell.Left, cell.Bottom));
    // A menu the handler made without an owner has no one else to free it.
    const bool ownerless = menu->Owner() == nullptr && menu != DBGridEhIndicatorTitlePopupMenu();
    FIndicatorTitle->ShowMenu(menu, ownerless, at.X, at.Y);
}

void TCustomDBGridEh::DefaultBuildIndicatorTitleMenu(TPopupMenu*& Menu)
{
    if (Center() != nullptr)
        Center()->BuildIndicatorTitleMenu(this, Menu);
}

// --- The title filter button --------------------------------------------------------------------

bool TCustomDBGridEh::TitleFilterButtonRect(TPoint Point, TRect CellRect, TRect& ButtonRect, TColumnEh*)
{
    if (OptionsEh().Contains(dghFixed3D))
        CellRect = TRect{CellRect.Left + 1, CellRect.Top + 1, CellRect.Right - 1, CellRect.Bottom - 1};
    // EditButtonWidth is the flat button's width in Flat mode, else the scroll bar's.
    const int buttonWidth = EditButtonWidth() + (Flat() && !ThemeServices().ThemesEnabled() ? 1 : 0);
    const int width = std::min((CellRect.Right - CellRect.Left) / 2, buttonWidth);
    const int height = std::min(CellRect.Bottom - CellRect.Top, EditButtonHeight());
    const int top = CellRect.Top + (CellRect.Bottom - CellRect.Top - height) / 2;
    ButtonRect = TRect{CellRect.Right - width, top, CellRect.Right, top + height};
    return ButtonRect.Contains(Point);
}

bool TCustomDBGridEh::TitleFilterButtonShown(int DataCol) const
{
    return FDBOptions.Contains(dgTitles) && FSTFilter->Visible() &&
           FSTFilter->Location() == TSTFilterLocationEh::stflInTitleFilterEh && ColumnHasFilterCell(DataCol);
}

int TCustomDBGridEh::HitTitleFilterButton(TGridCoord Cell, TPoint Point)
{
    TColumnEh* column = ColumnAtGridCol(Cell.X);
    if (!IsTitleRow(Cell.Y) || column == nullptr || !TitleFilterButtonShown(column->Index()))
        return 0;
    // In a multi-level title only the column's own caption part holds the button.
    TRect cell = CellPixelRect(Cell.X, Cell.Y);
    if (THeadTreeNode* leaf = LeafOfColumn(column->Index()); leaf != nullptr && MultiTitleInEffect())
        cell = TitleLeafRect(leaf, cell);
    TRect button;
    return TitleFilterButtonRect(Point, cell, button, column) ? 8 : 0;
}
