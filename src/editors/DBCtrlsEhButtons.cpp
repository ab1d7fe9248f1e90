// TCustomDBEditEh's edit-button strip: its layout at the right edge, its enabling, and the
// down and click protocol that opens and closes the drop-downs.
#include "editors/DBCtrlsEh.h"

#include "platform/ui/Menus.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/Shape.h"

#include <algorithm>

namespace {

// The library's flat button width, computed once from the screen font.
int FlatEditButtonWidth()
{
    static const int width = ComputeEditButtonWidth();
    return width;
}

}  // namespace

TEditButtonEh* TCustomDBEditEh::ButtonOfEntry(int Index) const
{
    return Index == 0 ? FEditButton.get() : FEditButtons->ItemAt(Index - 1);
}

TEditButtonControlEh* TCustomDBEditEh::ButtonControl(int Index) const { return FButtonControls.Control(Index); }

TShape* TCustomDBEditEh::ButtonSeparator(int Index) const { return FButtonControls.Separator(Index); }

int TCustomDBEditEh::ButtonControlIndex(TObject* Sender) const { return FButtonControls.IndexOf(Sender); }

void TCustomDBEditEh::RebuildEditButtonControls()
{
    const std::size_t count = static_cast<std::size_t>(FEditButtons->Count()) + 1;
    std::vector<TEditButtonEntryEh>& entries = FButtonControls.Entries;
    while (entries.size() > count) {
        delete entries.back().Control;
        delete entries.back().Separator;
        entries.pop_back();
    }
    FButtonControls.Grow(count, this, [this] { return MakeEditButtonControl(); });
    const int stripHeight = ClientHeight();
    const bool separated = FFlat && !ThemesActive();
    int commonHeight = stripHeight;
    std::vector<int> widths(count);
    for (std::size_t i = 0; i < count; ++i) {
        const TEditButtonEh* button = ButtonOfEntry(static_cast<int>(i));
        TEditButtonControlEh* control = entries[i].Control;
        control->SetTag(static_cast<std::intptr_t>(i));
        control->SetVisible(button->Visible());
        control->SetEnabled(button->Enabled());
        control->SetStyle(button->Style());
        control->SetGlyph(button->Glyph());
        control->SetNumGlyphs(button->NumGlyphs());
        control->SetHint(button->Hint());
        control->SetFlat(FFlat);
        control->OnDown = [this, control](TObject*, bool TopButton, bool& AutoRepeat, bool& Handled) {
            HandleEditButtonDown(control, TopButton, AutoRepeat, Handled);
        };
        control->OnClick = [this, control](TObject*) { HandleEditButtonClick(control); };
        control->OnMouseMove = [this, control](TObject*, TShiftState Shift, int X, int Y) {
            HandleEditButtonMouseMove(control, Shift, X, Y);
        };
        control->OnMouseUp = [this, control](TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
            HandleEditButtonMouseUp(control, Button, Shift, X, Y);
        };
        int width = 0;
        if (button->Visible()) {
            width = button->Width() > 0 ? button->Width() : FFlat ? FlatEditButtonWidth() : GetSystemMetrics(SM_CXVSCROLL);
            commonHeight = std::min(commonHeight, EditButtonHeightInStrip(stripHeight, width, FFlat));
        }
        widths[i] = width;
        entries[i].Separator->SetVisible(button->Visible() && separated);
    }
    FButtonWidth = ClientWidth() - FButtonControls.Place(ClientWidth(), widths, commonHeight);
    FButtonHeight = commonHeight;
}

void TCustomDBEditEh::SyncEditButtonControls()
{
    const bool usable = IsButtonUsable();
    for (std::size_t i = 0; i < FButtonControls.Count(); ++i) {
        const TEditButtonEntryEh& entry = FButtonControls.Entries[i];
        entry.Control->SetEnabled(Enabled() ? ButtonOfEntry(static_cast<int>(i))->Enabled() : usable);
        entry.Control->SetActive(FBorderActive);
        entry.Separator->SetColors(FBorderActive ? clBtnShadow : Color());
    }
}

void TCustomDBEditEh::EditButtonsChanged()
{
    if (!HandleAllocated())
        return;
    RebuildEditButtonControls();
    SyncEditButtonControls();
    ApplyTextRect();
    Invalidate();
}

void TCustomDBEditEh::HandleEditButtonDown(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)
{
    const int index = ButtonControlIndex(Sender);
    if (index < 0)
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    Handled = false;
    TEditButtonEh* button = ButtonOfEntry(index);
    if (index == 0 && OnButtonDown)
        OnButtonDown(Sender, TopButton, AutoRepeat, Handled);
    else if (index > 0 && button->OnDown)
        button->OnDown(Sender, TopButton, AutoRepeat, Handled);
    if (Handled)
        return;
    if (TPopupMenu* menu = button->DropdownMenu()) {
        ButtonControl(index)->DropDownMenu(menu);
    } else if (index == 0 && button->Action() == nullptr) {
        PrimaryButtonDown(!TopButton);
    }
}

void TCustomDBEditEh::PrimaryButtonDown(bool)
{
    if (IsSpinButtonStyle(FEditButton->Style()) || FDroppedDown)
        return;
    OpenDropDown();
    // The click that ends this press must not close what it opened.
    FNoClickCloseUp = true;
}

void TCustomDBEditEh::HandleEditButtonClick(TObject* Sender)
{
    const int index = ButtonControlIndex(Sender);
    if (index < 0)
        return;
    bool handled = false;
    ButtonOfEntry(index)->PerformClick(Sender, handled);
    if (index == 0 && !handled && OnButtonClick)
        OnButtonClick(Sender, handled);
    if (!handled && FDroppedDown && !FNoClickCloseUp && index == 0)
        CloseDropDown(false);
    FNoClickCloseUp = false;
}

void TCustomDBEditEh::HandleEditButtonMouseMove(TObject*, TShiftState, int, int) {}

void TCustomDBEditEh::HandleEditButtonMouseUp(TObject* Sender, TMouseButton, TShiftState, int X, int Y)
{
    const auto* control = dynamic_cast<const TControl*>(Sender);
    if (control != nullptr && !control->ClientRect().Contains(Point(X, Y)))
        FNoClickCloseUp = false;
}

void TCustomDBEditEh::PressButtonControl(int Index)
{
    TEditButtonControlEh* control = ButtonControl(Index);
    if (control == nullptr)
        return;
    bool autoRepeat = false;
    bool handled = false;
    HandleEditButtonDown(control, true, autoRepeat, handled);
    HandleEditButtonClick(control);
}

bool TCustomDBEditEh::FireButtonShortCut(WORD Key, TShiftState Shift)
{
    const TShortCut shortCut = ShortCut(Key, Shift);
    if (shortCut == scNone)
        return false;
    // The main button serves only a usable control; the extra ones always.
    if (FEditButton->ShortCut() == shortCut && IsButtonUsable()) {
        PressButtonControl(0);
        return true;
    }
    for (int i = 0; i < FEditButtons->Count(); ++i)
        if (FEditButtons->ItemAt(i)->ShortCut() == shortCut) {
            PressButtonControl(i + 1);
            return true;
        }
    return false;
}

void TCustomDBEditEh::OpenDropDown()
{
    if (TEditButtonControlEh* control = ButtonControl(0))
        control->SetAlwaysDown(true);
    HideMRUList(false);
}

void TCustomDBEditEh::CloseDropDown(bool)
{
    if (TEditButtonControlEh* control = ButtonControl(0))
        control->SetAlwaysDown(false);
}
