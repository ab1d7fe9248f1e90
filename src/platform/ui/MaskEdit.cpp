// TCustomMaskEdit: typing, deleting and moving over the positions of an edit mask.
#include "platform/ui/MaskEdit.h"

#include "platform/ui/Clipboard.h"

#include <algorithm>

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

bool TCustomMaskEdit::IsLiteral(int Position) const
{
    return Position >= 0 && Position < MaskLength() &&
           FMask.Positions[static_cast<std::size_t>(Position)].Kind == TMaskCharKind::Literal;
}

int TCustomMaskEdit::NextEditable(int Position) const
{
    while (IsLiteral(Position))
        ++Position;
    return Position;
}

int TCustomMaskEdit::PriorEditable(int Position) const
{
    while (IsLiteral(Position))
        --Position;
    return Position;
}

void TCustomMaskEdit::GetSel(int& Start, int& End) const
{
    Start = SelStart();
    End = Start + SelLength();
}

void TCustomMaskEdit::SetWindowText(const String& Value)
{
    TMessage message{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&Value), 0};
    TCustomEdit::Dispatch(message);
}

void TCustomMaskEdit::SetEditText(const String& Value)
{
    SetWindowText(Value);
    if (HandleAllocated() && Focused())
        CheckCursor();
}

void TCustomMaskEdit::SetEditMask(const String& Value)
{
    if (Value == FEditMask)
        return;
    const String value = Text();
    FEditMask = Value;
    FMask = ParseEditMask(Value);
    SetWindowText(IsMasked() ? MaskEditText(FMask, value) : value);
}

void TCustomMaskEdit::Dispatch(TMessage& Message)
{
    if (!IsMasked()) {
        TCustomEdit::Dispatch(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_GETTEXT: *reinterpret_cast<String*>(Message.LParam) = MaskEditValue(FMask, WindowText()); return;
    case WM_SETTEXT: SetWindowText(MaskEditText(FMask, *reinterpret_cast<const String*>(Message.LParam))); return;
    case CM_ENTER:
        if (!FReEnter)
            FOldValue = EditText();
        FReEnter = false;
        TCustomEdit::Dispatch(Message);
        CheckCursor();
        return;
    case CM_EXIT:
        ValidateEdit();
        CheckCursor();
        TCustomEdit::Dispatch(Message);
        return;
    // Esc reaches a modified masked edit, which resets, before the form's cancel button.
    case CM_WANTSPECIALKEY:
        if (Message.WParam == VK_ESCAPE && Modified()) {
            Message.Result = 1;
            return;
        }
        TCustomEdit::Dispatch(Message);
        return;
    case WM_LBUTTONUP:
        TCustomEdit::Dispatch(Message);
        CheckCursor();
        return;
    case WM_CUT:
    case WM_CLEAR: {
        int start = 0;
        int end = 0;
        GetSel(start, end);
        if (start == end || !MayChangeText())
            return;
        if (Message.Msg == WM_CUT)
            Clipboard()->SetAsText(SelText());
        String text = EditText();
        BlankRange(text, start, end);
        UserEdit([&] { ReplaceText(text, start, 0); });
        SetCursor(start);
        return;
    }
    default: TCustomEdit::Dispatch(Message); return;
    }
}

void TCustomMaskEdit::ValidateEdit()
{
    int errorPos = 0;
    if (!IsMasked() || !Modified() || MaskValidateText(FMask, EditText(), errorPos))
        return;
    if (!Focused()) {
        FReEnter = true;
        SetFocus();
    }
    SetCursor(errorPos);
    MessageBeep(0);
    throw EDBEditError(QString::fromUtf8(SMaskEditErr));
}

void TCustomMaskEdit::Reset()
{
    if (!Modified())
        return;
    SetEditText(FOldValue);
    SetModified(false);
}

void TCustomMaskEdit::SetCursor(int Position)
{
    const int length = static_cast<int>(EditText().size());
    Position = std::clamp(Position, 0, length);
    if (IsMasked() && Position < MaskLength() && Position < length)
        Perform(EM_SETSEL, static_cast<WPARAM>(Position + 1), Position);
    else
        Perform(EM_SETSEL, static_cast<WPARAM>(Position), Position);
}

void TCustomMaskEdit::CheckCursor()
{
    if (!IsMasked() || !HandleAllocated())
        return;
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (end - start <= 1)
        SetCursor(start);
}

bool TCustomMaskEdit::PlaceChar(String& Text, int& Position, Char Ch) const
{
    if (IsLiteral(Position) && FMask.Positions[static_cast<std::size_t>(Position)].Literal == Ch) {
        ++Position;
        return true;
    }
    const int at = NextEditable(Position);
    if (at >= MaskLength() || at >= Text.size() || !MaskAcceptChar(FMask, at, Ch))
        return false;
    Text[at] = Ch;
    Position = at + 1;
    return true;
}

void TCustomMaskEdit::BlankRange(String& Text, int Start, int End) const
{
    for (int p = Start; p < End && p < Text.size(); ++p)
        if (!IsLiteral(p))
            Text[p] = p < MaskLength() ? FMask.Blank : Char(u' ');
}

void TCustomMaskEdit::InsertUserText(const String& S)
{
    if (!IsMasked()) {
        TCustomEdit::InsertUserText(S);
        return;
    }
    int start = 0;
    int end = 0;
    GetSel(start, end);
    String text = EditText();
    if (end - start > 1)
        BlankRange(text, start, end);
    int position = start;
    bool placed = false;
    for (const Char ch : S)
        placed = PlaceChar(text, position, ch) || placed;
    if (!placed) {
        MessageBeep(0);
        return;
    }
    UserEdit([&] { ReplaceText(text, position, 0); });
    SetCursor(NextEditable(position));
}

void TCustomMaskEdit::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (!IsMasked() || Key == 0 || Shift.Contains(ssAlt))
        return;
    const bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
    switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
        ArrowKeys(Key, Shift);
        if (plain)
            Key = 0;
        return;
    case VK_UP:
    case VK_DOWN: Key = 0; return;
    case VK_HOME:
    case VK_END:
        HomeEndKeys(Key, Shift);
        Key = 0;
        return;
    case VK_DELETE:
        if (!plain)
            return;
        [[fallthrough]];
    case VK_BACK:
        if (MayChangeText())
            DeleteKeys(Key);
        Key = 0;
        return;
    default: return;
    }
}

void TCustomMaskEdit::KeyPress(Char& Key)
{
    TCustomEdit::KeyPress(Key);
    // Copy, paste and cut go to their messages; Backspace was handled as its key went down.
    if (!IsMasked() || Key.isNull() || Key == u'\x03' || Key == u'\x16' || Key == u'\x18')
        return;
    if (Key == u'\x1b') {
        Reset();
        Key = Char();
        return;
    }
    if (Key == u'\b') {
        Key = Char();
        return;
    }
    if (Key.unicode() < 32)
        return;
    if (MayChangeText())
        InsertUserText(ApplyCharCase(String(Key)));
    Key = Char();
}

void TCustomMaskEdit::DeleteKeys(WORD Key)
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    String text = EditText();
    if (end - start > 1) {
        BlankRange(text, start, end);
    } else if (Key == VK_BACK) {
        start = PriorEditable(start - 1);
        if (start < 0)
            return;
        BlankRange(text, start, start + 1);
    } else {
        BlankRange(text, start, start + 1);
    }
    UserEdit([&] { ReplaceText(text, start, 0); });
    SetCursor(start);
}

void TCustomMaskEdit::ArrowKeys(WORD Key, TShiftState Shift)
{
    if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl))
        return;
    const int start = SelStart();
    if (Key == VK_LEFT) {
        const int prior = PriorEditable(start - 1);
        SetCursor(prior >= 0 ? prior : start);
    } else {
        SetCursor(NextEditable(start + 1));
    }
}

void TCustomMaskEdit::HomeEndKeys(WORD Key, TShiftState Shift)
{
    const int target = Key == VK_HOME ? NextEditable(0) : static_cast<int>(EditText().size());
    if (Shift.Contains(ssShift)) {
        const int anchor = Key == VK_HOME ? SelStart() + SelLength() : SelStart();
        Perform(EM_SETSEL, static_cast<WPARAM>(anchor), target);
        return;
    }
    SetCursor(target);
}
