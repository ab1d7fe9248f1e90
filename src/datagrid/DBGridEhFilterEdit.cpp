// The filter cell's editor: the combo box the grid hosts over a filter cell, its list of
// commands and values, and what Enter, Space and the list's close-up do.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhFilterRow.h"

// --- The editor ---------------------------------------------------------------------------------

TInplaceFilterEditEh::TInplaceFilterEditEh(TCustomDBGridEh* Grid) : TCustomDBComboBoxEh(Grid) {}

void TInplaceFilterEditEh::SetKeyDisplayText(const Variant& Value, const String& Text)
{
    SetValue(Value);
    SetText(Text);
}

void TInplaceFilterEditEh::CloseDropDown(bool Accept)
{
    if (FColumn != nullptr && FColumn->STFilter()->Executing())
        return;
    TCustomDBComboBoxEh::CloseDropDown(Accept);
}

// One pixel lower, so the text stands where the painted filter cell has it.
TRect TInplaceFilterEditEh::ComputeTextRect(const TRect& Client)
{
    TRect rect = TCustomDBComboBoxEh::ComputeTextRect(Client);
    rect.Top += 1;
    rect.Bottom += 1;
    return rect;
}

// --- The grid's handlers ------------------------------------------------------------------------

void TCustomDBGridEh::FilterEditKeyPress(TObject*, Char& Key)
{
    if (Key == Char(13)) {
        Key = Char();
        ApplyFilterRow();
        return;
    }
    if (Key != Char(' ') || !CurrentShiftState().Empty() || FFilterEditor == nullptr || !FFilterEditor->ListVisible())
        return;
    TColumnEh* column = FFilterEditor->Column();
    if (column == nullptr)
        return;
    Key = Char();
    PressFilterListSpace(FFilterEditor->PopupListbox(), column->STFilter(), [this] { FFilterEditor->CloseDropDown(true); });
}

void TCustomDBGridEh::FilterEditCloseUp(TObject*, bool& Accept)
{
    TColumnEh* column = FFilterEditor->Column();
    if (column == nullptr)
        return;
    TSTColumnFilterEh* filter = column->STFilter();
    filter->SetPressedItem(-1);
    TPopupListboxEh* list = FFilterEditor->PopupListbox();
    filter->SetDropDownWidth(list->Width());
    filter->SetDropDownRows(list->RowCount());
    if (Accept) {
        // The item sets the editor's text, not the list.
        Accept = false;
        PerformFilterListItem(list, filter, false);
    }
    filter->SetKeepMarks(false);
}

void TCustomDBGridEh::FilterEditRequestItems(TObject*)
{
    TColumnEh* column = FFilterEditor->Column();
    if (column == nullptr)
        return;
    TSTColumnFilterEh* filter = column->STFilter();
    TStrings* items = FFilterEditor->Items();
    int width = FFilterEditor->DropDownBox()->Width();
    FillFilterList(filter, items, width, FFilterEditor->PopupListbox());
    FFilterEditor->DropDownBox()->SetWidth(width);
    filter->SetDropDownWidth(width);
    if (TPopupListboxEh* list = FFilterEditor->PopupListbox())
        list->SetUseItemObjects(true);
    filter->MarkItemsFromExpression(items);
}
