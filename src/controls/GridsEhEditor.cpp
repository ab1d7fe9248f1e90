// The in-place editor: TInplaceEdit and the grid's operations that create, load, place, store
// and dismiss it.
#include "controls/GridsEh.h"

#include "platform/ui/Forms.h"
#include "platform/ui/PlatformMetrics.h"

namespace {

// The character index that EM_SETSEL takes as "after the last character".
constexpr WPARAM SelectionEnd = 0x7FFFFFFF;

// Gives the keyboard focus to Control's window itself. The form's focus bookkeeping keeps the
// grid as its focused control throughout (the editor's WM_SETFOCUS sees to that), so asking the
// form would change nothing while the editor holds the window focus.
void FocusWindow(TWinControl& Control)
{
    ::SetFocus(Control.Handle());
}

}  // namespace

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    SetVisible(false);
    SetCtl3D(false);
    SetTabStop(false);
    SetBorderStyle(TBorderStyle::bsNone);
}

void TInplaceEdit::ShowAtRect(const TRect& Rect, bool Redraw)
{
    if (Rect.IsEmpty()) {
        HideEditorWindow();
        return;
    }
    HandleNeeded();
    Redraw = Redraw || !IsWindowShown();
    Invalidate();
    SetBoundsRect(Rect);
    SetVisible(true);
    ApplyTextMargins();
    if (Redraw)
        Invalidate();
    if (FGrid->Focused())
        FocusWindow(*this);
}

void TInplaceEdit::HideEditorWindow()
{
    if (!HandleAllocated() || !Visible())
        return;
    Invalidate();
    // The grid takes the focus before the window goes, so the focus never passes to a neighbour.
    if (Focused())
        FocusWindow(*FGrid);
    SetVisible(false);
}

void TInplaceEdit::ApplyTextMargins()
{
    TRect format = Rect(2, 2, Width() - 2, Height());
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
    Perform(EM_SCROLLCARET);
}

void TInplaceEdit::LoadCellContents()
{
    const int col = FGrid->Col();
    const int row = FGrid->Row();
    // Cleared first, so the old text is not laid on the new mask.
    SetText(String());
    SetEditMask(FGrid->GetCellEditMask(col, row));
    SetText(FGrid->GetCellEditText(col, row));
    SetMaxLength(FGrid->EditorMaxLength());
}

void TInplaceEdit::CollapseSelection()
{
    Perform(EM_SETSEL, SelectionEnd, -1);
}

bool TInplaceEdit::IsWindowShown() const
{
    return HandleAllocated() && Showing();
}

void TInplaceEdit::FocusWhenShown()
{
    if (IsWindowShown())
        FocusWindow(*this);
}

void TInplaceEdit::Invalidate()
{
    TCustomMaskEdit::Invalidate();
    if (FGrid == nullptr || Parent() != FGrid)
        return;
    TRect area = ClientRect();
    const TPoint origin = FGrid->ScreenToClient(ClientOrigin());
    area.Offset(origin.X, origin.Y);
    FGrid->InvalidateRect(&area);
}

bool TInplaceEdit::EditCanModify()
{
    return FGrid->EditorMayModify();
}

void TInplaceEdit::Change()
{
    TCustomMaskEdit::Change();
    FGrid->Perform(WM_COMMAND, MAKEWPARAM(0, static_cast<int>(EN_CHANGE)), reinterpret_cast<LPARAM>(Handle()));
}

void TInplaceEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS: {
        // The grid stays the form's focused control while its editor has the window focus.
        TCustomForm* form = GetParentForm(this);
        if (form == nullptr || form->SetFocusedControl(FGrid))
            Dispatch(Message);
        return;
    }
    case WM_LBUTTONDOWN:
        if (FClickTime != 0 && GetTickCount() - FClickTime < GetDoubleClickTime())
            Message.Msg = WM_LBUTTONDBLCLK;
        FClickTime = 0;
        break;
    case WM_GETDLGCODE:
        TCustomMaskEdit::WndProc(Message);
        // A cell editor keeps Enter and Esc from the form's default and cancel buttons.
        Message.Result |= DLGC_WANTALLKEYS;
        if (FGrid->Options().Contains(goTabs))
            Message.Result |= DLGC_WANTTAB;
        return;
    default: break;
    }
    TCustomMaskEdit::WndProc(Message);
}

void TInplaceEdit::SendKeyToGrid(WORD& Key, TShiftState Shift)
{
    FGrid->KeyDown(Key, Shift);
    Key = 0;
}

void TInplaceEdit::ShowKeyToGridEvent(WORD& Key, TShiftState Shift)
{
    if (FGrid->OnKeyDown)
        FGrid->OnKeyDown(FGrid, Key, Shift);
}

int TInplaceEdit::CaretIndex() const
{
    const TPoint caret = CaretPos();
    const LRESULT index = const_cast<TInplaceEdit*>(this)->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(caret.X, caret.Y));
    return LOWORD(static_cast<std::uintptr_t>(index));
}

bool TInplaceEdit::CaretAtTextStart() const
{
    const int start = SelStart();
    const int end = start + SelLength();
    const int length = static_cast<int>(EditText().size());
    return CaretIndex() == 0 && start == 0 && (end == 0 || end == length);
}

bool TInplaceEdit::CaretAtTextEnd() const
{
    const int start = SelStart();
    const int end = start + SelLength();
    const int length = static_cast<int>(EditText().size());
    return CaretIndex() == length && (start == end || end == length);
}

void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool alwaysShown = FGrid->Options().Contains(goAlwaysShowEditor);
    switch (Key) {
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN: SendKeyToGrid(Key, Shift); break;
    case VK_TAB:
        if (!Shift.Contains(ssAlt))
            SendKeyToGrid(Key, Shift);
        break;
    case VK_END:
    case VK_RIGHT:
        if (alwaysShown && (ctrl || CaretAtTextEnd()))
            SendKeyToGrid(Key, Shift);
        break;
    case VK_HOME:
    case VK_LEFT:
        if (alwaysShown && (ctrl || CaretAtTextStart()))
            SendKeyToGrid(Key, Shift);
        break;
    case VK_INSERT:
        if (Shift.Empty())
            SendKeyToGrid(Key, Shift);
        else if (Shift == ssShift && !FGrid->EditorMayModify())
            Key = 0;
        break;
    case VK_DELETE:
        if (ctrl)
            SendKeyToGrid(Key, Shift);
        else if (!FGrid->EditorMayModify())
            Key = 0;
        break;
    case VK_F2:
        ShowKeyToGridEvent(Key, Shift);
        if (Key == VK_F2) {
            CollapseSelection();
            return;
        }
        break;
    default: break;
    }
    if (Key == 0)
        return;
    ShowKeyToGridEvent(Key, Shift);
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::SelectOnEnter()
{
    const int start = SelStart();
    const int end = start + SelLength();
    if (start == 0 && end == static_cast<int>(EditText().size()))
        CollapseSelection();
    else
        SelectAll();
}

void TInplaceEdit::KeyPress(Char& Key)
{
    FGrid->KeyPress(Key);
    const char16_t code = Key.unicode();
    const bool changesText = code == 8 || code == 22 || code == 24 || code >= 32;
    if (code > 31 && !FGrid->EditorAcceptsKey(Key)) {
        MessageBeep(0);
        Key = Char();
    } else if (changesText && !FGrid->EditorMayModify()) {
        Key = Char();
    } else if (code == 13 || code == 9 || code == 27) {
        if (code == 13)
            SelectOnEnter();
        Key = Char();
    }
    if (!Key.isNull())
        TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(WORD& Key, TShiftState Shift)
{
    FGrid->KeyUp(Key, Shift);
}

void TInplaceEdit::DblClick()
{
    FGrid->DblClick();
}

bool TInplaceEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    return FGrid->DoMouseWheel(Shift, WheelDelta, MousePos);
}

// The grid side.

std::unique_ptr<TInplaceEdit> TCustomGridEh::CreateEditorObject()
{
    return std::make_unique<TInplaceEdit>(nullptr);
}

bool TCustomGridEh::EnsureEditor()
{
    if (FInplaceEdit)
        return false;
    FInplaceEdit = CreateEditorObject();
    FInplaceEdit->SetGrid(this);
    FInplaceEdit->SetParent(this);
    return true;
}

void TCustomGridEh::SyncEditor()
{
    if (!EditorAllowed())
        return;
    const bool created = EnsureEditor();
    if (created || FCurrent != FEditorCell) {
        if (!created)
            DismissEditor();
        FEditorCell = FCurrent;
        FInplaceEdit->LoadCellContents();
        FMayModify = EditorMaxLength() != -1;
        FInplaceEdit->SelectAll();
    }
    if (EditorAllowed())
        FInplaceEdit->PlaceAndRedraw(CellDisplayRect(FCurrent.X, FCurrent.Y));
}

void TCustomGridEh::DismissEditor()
{
    // The cell is released and the window hidden even when storing the text raises.
    const auto release = [this] {
        FEditorCell = {-1, -1};
        if (FInplaceEdit)
            FInplaceEdit->HideEditorWindow();
    };
    try {
        if (FInplaceEdit)
            StoreEditorText();
    } catch (...) {
        release();
        throw;
    }
    release();
}

void TCustomGridEh::StoreEditorText()
{
    if (FInplaceEdit && FEditorCell.X >= 0 && FEditorCell.Y >= 0)
        PutCellEditText(FEditorCell.X, FEditorCell.Y, FInplaceEdit->CellText());
}

void TCustomGridEh::ReloadEditor()
{
    FEditorCell = {-1, -1};
    SyncEditor();
}

void TCustomGridEh::StartEditingWithChar(Char Key)
{
    EnterEditorMode();
    if (FInplaceEdit)
        PostMessage(FInplaceEdit.get(), WM_CHAR, Key.unicode());
}
