// The data grid's cell editor: the keys it shares with its open drop-down, its recent texts
// and the grid, what key-list and lookup cells let Delete and Backspace do, the wheel, losing
// the focus and a press elsewhere.
#include "datagrid/DBGridEhInplaceEdit.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBLookupGridsEh.h"
#include "controls/ToolCtrlsEhUtils.h"
#include "editors/CalculatorEh.h"

#include "platform/core/FormatSettings.h"
#include "platform/data/Field.h"

#include <algorithm>

void TDBGridInplaceEdit::WndProc(TMessage& Message)
{
    const bool keyMessage = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN || Message.Msg == WM_CHAR;
    const TShiftState shift = keyMessage ? KeyDataToShiftState(Message.LParam) : TShiftState();
    // The character of an Enter or Esc whose key-down a drop-down took follows at once, if at all.
    if (Message.Msg == WM_CHAR && FSwallowListKeyChar) {
        FSwallowListKeyChar = false;
        if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE || Message.WParam == u'\n')
            return;
    }
    if (Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN)
        FSwallowListKeyChar = false;
    if (keyMessage && UsesListKeys()) {
        if (HandleListKeys(Message, shift))
            return;
        const TColumnEh* column = FocusedColumn();
        if (Message.Msg == WM_CHAR && Message.WParam >= 32 && !FListVisible && column != nullptr &&
            column->AutoDropDown())
            DropDownActiveList();
        if (FListVisible && RouteKeyToOpenList(Message, shift))
            return;
    }
    if (keyMessage && FMRUDroppedDown && RouteKeyToMRUList(Message, shift))
        return;
    if (Message.Msg == WM_KILLFOCUS) {
        // The drop-downs never take the focus: losing it means the user went elsewhere.
        CloseActiveList(false);
        CloseMRUList(false);
    }
    const bool userInput = keyMessage || Message.Msg == WM_PASTE || Message.Msg == WM_CUT ||
                           Message.Msg == WM_CLEAR || Message.Msg == WM_UNDO;
    if (userInput)
        DropAcceptFailureBlank();
    const String before = userInput ? EditText() : String();
    const bool mruWasShown = FMRUDroppedDown;
    if (Message.Msg != WM_PASTE || !HandleWMPaste())
        TInplaceEdit::WndProc(Message);
    if (!userInput || EditText() == before)
        return;
    TextChangedByUser();
    // Backspace down to nothing offers every remembered text.
    if (Message.Msg == WM_CHAR && Message.WParam == VK_BACK && !mruWasShown && EditText() == EmptyEditText() &&
        FMRUList != nullptr && FMRUList->Active() && IsWindowShown() && !FListVisible)
        DropDownMRUList();
}

bool TDBGridInplaceEdit::HandleListKeys(TMessage& Message, TShiftState Shift)
{
    const auto key = static_cast<WORD>(Message.WParam);
    if (Message.Msg == WM_CHAR)
        return false;
    const bool alt = Shift.Contains(ssAlt);
    const bool calculatorOpen = FListVisible && FActiveList == FCalculator;
    if ((key == VK_RETURN || key == VK_ESCAPE) && !alt && FListVisible && !calculatorOpen) {
        // The key was the list's, even when accepting fails.
        FSwallowListKeyChar = true;
        // With OnNotInList a text no list record reads stays as typed, for the handler to judge.
        if (key == VK_RETURN && FActiveList == FDataList && TextNotInLookupList()) {
            FTextBeforeDropDown = Text();
            CloseActiveList(false);
        } else {
            CloseActiveList(key == VK_RETURN);
        }
        return true;
    }
    if (key == VK_RETURN && Shift == TShiftState(ssCtrl) && !FListVisible) {
        DropDownActiveList();
        FSwallowListKeyChar = true;
        return true;
    }
    if ((key == VK_UP || key == VK_DOWN) && alt) {
        if (FListVisible)
            CloseActiveList(true);
        else
            DropDownActiveList();
        return true;
    }
    return false;
}

// Keys for the open drop-down: the calculator takes what it types, the lists their moves.
bool TDBGridInplaceEdit::RouteKeyToOpenList(TMessage& Message, TShiftState Shift)
{
    const auto key = static_cast<WORD>(Message.WParam);
    if (FActiveList == FCalculator) {
        if (key != VK_BACK && key != VK_RETURN && key != VK_ESCAPE && (key < 32 || key > 126))
            return false;
        // An Esc that closes the calculator is a key-down; its character must not reach the grid.
        FSwallowListKeyChar = Message.Msg != WM_CHAR && key == VK_ESCAPE;
        FCalculator->Perform(Message.Msg, Message.WParam, Message.LParam);
        return true;
    }
    if (Message.Msg == WM_CHAR)
        return false;
    const bool paging = (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) && !Shift.Contains(ssShift);
    const bool ctrlEnds = Shift.Contains(ssCtrl) && (key == VK_HOME || key == VK_END);
    const bool calendarSide = UsesCalendar() && (key == VK_LEFT || key == VK_RIGHT);
    if (!paging && !ctrlEnds && !calendarSide)
        return false;
    if (FActiveList == FDataList) {
        FDataList->ForwardKey(key, Shift);
        SetText(FDataList->DisplayText());
        SelectAll();
        return true;
    }
    FActiveList->Perform(WM_KEYDOWN, key, Message.LParam);
    if (FActiveList == FPickListBox)
        ShowPickListChoice();
    return true;
}

void TDBGridInplaceEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomDBGridEh* grid = OwnerGrid();
    if (Key == VK_RETURN && Shift == TShiftState(ssCtrl) &&
        (FEditStyle == TCellButtonKindEh::cbkEllipsis || FEditStyle == TCellButtonKindEh::cbkDropDown)) {
        FSwallowListKeyChar = true;
        grid->RaiseEditButtonClick();
        Key = 0;
        return;
    }
    // With Enter as Tab the grid moves on, unless Enter takes the open recent-texts entry.
    if (Key == VK_RETURN && grid->OptionsEh().Contains(dghEnterAsTab) && !FMRUDroppedDown) {
        FSwallowListKeyChar = true;
        grid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    // Ctrl+' copies the previous record's value: the grid's key.
    if (Key == 222 && Shift == TShiftState(ssCtrl)) {
        grid->KeyDown(Key, Shift);
        Key = 0;
        return;
    }
    if (PressButtonByShortCut(Key, Shift)) {
        Key = 0;
        return;
    }
    if ((Key == VK_DELETE || Key == VK_BACK) && Shift.Empty() && InKeyOnlyCell())
        KeyListDeleteKey(Key);
    // The window moves the caret between the lines itself.
    if ((Key == VK_UP || Key == VK_DOWN) && ArrowStaysInText(Key))
        return;
    if (Key != 0)
        TInplaceEdit::KeyDown(Key, Shift);
}

bool TDBGridInplaceEdit::ArrowStaysInText(WORD Key) const
{
    if (!MultiLine())
        return false;
    if (!OwnerGrid()->Options().Contains(dgAlwaysShowEditor))
        return true;
    auto* self = const_cast<TDBGridInplaceEdit*>(this);
    const int length = static_cast<int>(EditText().size());
    const bool wholeText = SelStart() == 0 && SelLength() == length;
    const auto caretLine = static_cast<int>(self->Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(-1)));
    const int edgeLine = Key == VK_UP ? 0 : static_cast<int>(self->Perform(EM_GETLINECOUNT)) - 1;
    return !wholeText && caretLine != edgeLine;
}

bool TDBGridInplaceEdit::InKeyOnlyCell() const
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr)
        return false;
    const TColumnCellKindEh kind = column->ClassifyCellKind();
    return (kind == TColumnCellKindEh::cckKeyPickList || kind == TColumnCellKindEh::cckLookupField) &&
           column->CanEditCell(false);
}

// A key-list cell holds one of its keys or none: Delete clears it only when the whole text is
// selected, and Backspace only moves the caret, so no half text reaches the key lookup. With
// OnNotInList the cell takes any text, and both delete as in any text.
void TDBGridInplaceEdit::KeyListDeleteKey(WORD& Key)
{
    const bool back = Key == VK_BACK;
    Key = 0;
    const bool wholeText = SelStart() == 0 && SelLength() == static_cast<int>(EditText().size());
    if (FocusedColumn()->OnNotInList && !(wholeText && !back)) {
        DeleteAsText(back);
        return;
    }
    if (back) {
        SetSelStart(std::max(SelStart() - 1, 0));
        SetSelLength(0);
        return;
    }
    if (!wholeText || !OwnerGrid()->TryBeginCellEdit())
        return;
    // A lookup cell cleared has no key; a key-list cell's empty text stores none.
    if (FocusedColumn()->ClassifyCellKind() == TColumnCellKindEh::cckLookupField) {
        OwnerGrid()->SetEditedKeyValue(Variant::Null());
        if (FDataList != nullptr)
            FDataList->SetKeyValue(Variant::Null());
    }
    ShowEditedText(String());
}

// The selection, or with none the character before the caret (Back) or after it, leaves the
// text; the key and the open list follow the text that is left.
void TDBGridInplaceEdit::DeleteAsText(bool Back)
{
    int start = SelStart();
    int length = SelLength();
    if (length == 0) {
        if (Back ? start == 0 : start >= static_cast<int>(EditText().size()))
            return;
        start -= Back ? 1 : 0;
        length = 1;
    }
    if (!OwnerGrid()->TryBeginCellEdit())
        return;
    const String text = EditText().left(start) + EditText().mid(start + length);
    SetText(text);
    SetSelStart(start);
    SyncLookupKeyFromText();
    if (FListVisible && FActiveList == FDataList)
        FDataList->SetKeyValue(OwnerGrid()->EditedKeyValue());
    else if (FListVisible && FActiveList == FPickListBox)
        FPickListBox->SetItemIndex(LocateInStrings(FPickItems.get(), text, false));
}

void TDBGridInplaceEdit::KeyPress(Char& Key)
{
    // Ctrl+Enter types a line feed, which only a word-wrapped cell takes.
    if (Key == Char(u'\n') && !MultiLine() && GetKeyState(VK_CONTROL) < 0) {
        Key = Char();
        return;
    }
    const TColumnEh* column = FocusedColumn();
    const bool numeric = column != nullptr && column->Field() != nullptr && IsNumericFieldType(column->Field()->DataType());
    if (numeric && (Key == u'.' || Key == u','))
        Key = FormatSettings().DecimalSeparator;
    // Backspace moved the caret at its key-down: its character deletes nothing here.
    if (Key == Char(VK_BACK) && InKeyOnlyCell()) {
        Key = Char();
        return;
    }
    if (Key.unicode() >= 32) {
        String typed(Key);
        CompleteTypedText(typed);
        if (typed.isEmpty()) {
            Key = Char();
            return;
        }
    }
    TInplaceEdit::KeyPress(Key);
}

bool TDBGridInplaceEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    // A shown list, the recent texts' too, keeps the editor on its record.
    if (FListVisible || FMRUDroppedDown)
        return true;
    return TInplaceEdit::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TDBGridInplaceEdit::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_CANCELMODE) {
        // A press on another control closes the drop-downs, unless it is on them.
        auto* sender = reinterpret_cast<TControl*>(Message.LParam);
        const auto within = [sender](const TWinControl* Window) {
            return Window != nullptr && (sender == Window || Window->ContainsControl(sender));
        };
        if (!within(this) && FListVisible && !within(FActiveList))
            CloseActiveList(false);
        if (!within(this) && !within(FMRUListbox))
            CloseMRUList(false);
    }
    TInplaceEdit::Dispatch(Message);
}
