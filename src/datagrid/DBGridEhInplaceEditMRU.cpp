// The data grid's cell editor: the focused column's recently used texts, offered under the
// editor while the user types and taken with Enter or a click.
#include "datagrid/DBGridEhInplaceEdit.h"

#include "datagrid/DBGridEh.h"
#include "controls/VoDorVCL.h"

#include "platform/core/EditMask.h"

TMRUListboxEh* TDBGridInplaceEdit::MakeMRUListbox()
{
    TMRUListboxEh* box = NewMRUListbox(this);
    box->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button == TMouseButton::mbLeft)
            CloseMRUList(FMRUListbox->ClientRect().Contains(Point(X, Y)));
    };
    box->OnResize = [this](TObject*) {
        if (!FPlacingMRUList)
            RememberMRUListSize();
    };
    return box;
}

String TDBGridInplaceEdit::EmptyEditText() const
{
    return IsMasked() ? FormatMaskText(EditMask(), String()) : String();
}

void TDBGridInplaceEdit::AcceptMRUItem(const String& Text, bool& Accept)
{
    const String typed = EditText();
    const String head = Text.left(static_cast<int>(typed.size()));
    Accept = FMRUList->CaseSensitive() ? CompareTextWithCase(head, typed) == 0 : CompareTextNoCase(head, typed) == 0;
    if (FMRUList->OnFilterItem)
        FMRUList->OnFilterItem(FocusedColumn(), Text, Accept);
}

void TDBGridInplaceEdit::DropDownMRUList()
{
    if (FMRUList == nullptr)
        return;
    if (FMRUListbox == nullptr)
        FMRUListbox = MakeMRUListbox();
    const auto accepts = [this](const String& Text, bool& Accept) { AcceptMRUItem(Text, Accept); };
    if (FillMRUListbox(FMRUListbox, FMRUList->Items(), accepts) == 0) {
        CloseMRUList(false);
        return;
    }
    FPlacingMRUList = true;
    PlaceMRUListbox(FMRUListbox, this, FMRUList, !FMRUDroppedDown);
    FPlacingMRUList = false;
    FMRUListbox->Perform(CM_CHANGED);
    if (!FMRUDroppedDown) {
        FMRUListbox->Show();
        FMRUDroppedDown = true;
        FMRUListbox->SetUserSized(false);
    }
}

void TDBGridInplaceEdit::CloseMRUList(bool Accept)
{
    if (!FMRUDroppedDown)
        return;
    if (GetCaptureControl() == FMRUListbox)
        ReleaseCapture();
    FMRUListbox->Hide();
    FMRUDroppedDown = false;
    // With nothing selected there is no entry to take: the typed text stays.
    const int index = FMRUListbox->ItemIndex();
    if (!Accept || index < 0 || ReadOnly() || !OwnerGrid()->TryBeginCellEdit())
        return;
    ShowEditedText(FMRUListbox->ItemText(index));
    if (Focused())
        SelectAll();
}

void TDBGridInplaceEdit::RememberMRUListSize()
{
    if (!FMRUDroppedDown)
        return;
    FMRUList->SetRows(FMRUListbox->RowCount());
    FMRUList->SetWidth(FMRUListbox->Width());
}

// The image follows the text; the list follows it while it shows, and drops down when the user
// starts typing.
void TDBGridInplaceEdit::TextChangedByUser()
{
    RefreshImageIndex();
    const bool empty = EditText() == EmptyEditText();
    if (FMRUDroppedDown) {
        if (empty)
            CloseMRUList(false);
        else
            DropDownMRUList();
    } else if (FMRUList != nullptr && FMRUList->Active() && IsWindowShown() && !FListVisible && !empty) {
        DropDownMRUList();
    }
}

// Paging and the arrows move in the open list; Enter takes its entry and Esc closes it.
bool TDBGridInplaceEdit::RouteKeyToMRUList(TMessage& Message, TShiftState Shift)
{
    const auto key = static_cast<WORD>(Message.WParam);
    if (Message.Msg != WM_KEYDOWN)
        return false;
    if (key == VK_RETURN || key == VK_ESCAPE) {
        CloseMRUList(key == VK_RETURN);
        FSwallowListKeyChar = true;
        return true;
    }
    const bool paging = key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN;
    if (paging || (Shift.Contains(ssCtrl) && (key == VK_HOME || key == VK_END))) {
        FMRUListbox->Perform(WM_KEYDOWN, key, Message.LParam);
        return true;
    }
    return false;
}
