// TCustomDBEditEh's drop-down of recently used texts, and its in-place mode inside a holder
// window that sees its messages and keys first.
#include "editors/DBCtrlsEh.h"

#include "platform/core/EditMask.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PlatformMetrics.h"

// --- The MRU list -----------------------------------------------------------------------------

TMRUListboxEh* TCustomDBEditEh::MakeMRUListbox()
{
    TMRUListboxEh* box = NewMRUListbox(this);
    box->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button == TMouseButton::mbLeft && FMRUListbox != nullptr)
            FMRUList->ListClosedUp(FMRUListbox->ClientRect().Contains(Point(X, Y)));
    };
    box->OnResize = [this](TObject*) {
        if (!FPlacingMRUList)
            RememberMRUListSize();
    };
    return box;
}

TMRUListboxEh* TCustomDBEditEh::ObtainMRUListbox()
{
    if (FMRUListbox == nullptr)
        FMRUListbox = MakeMRUListbox();
    return FMRUListbox;
}

bool TCustomDBEditEh::MRUListShown() const { return FMRUListbox != nullptr && FMRUListbox->Visible(); }

String TCustomDBEditEh::EmptyEditText() const
{
    return IsMasked() ? FormatMaskText(EditMask(), String()) : String();
}

void TCustomDBEditEh::AcceptMRUItem(const String& Text, bool& Accept)
{
    const String typed = EditText();
    const auto sensitivity = FMRUList->CaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    Accept = Text.left(typed.size()).compare(typed, sensitivity) == 0;
    if (FMRUList->OnFilterItem)
        FMRUList->OnFilterItem(FMRUList.get(), Text, Accept);
}

void TCustomDBEditEh::ShowMRUList()
{
    TMRUListboxEh* box = ObtainMRUListbox();
    const auto accepts = [this](const String& Text, bool& Accept) { AcceptMRUItem(Text, Accept); };
    if (FillMRUListbox(box, FMRUList->Items(), accepts) == 0) {
        HideMRUList(false);
        return;
    }
    const bool shown = MRUListShown();
    FPlacingMRUList = true;
    PlaceMRUListbox(box, this, FMRUList.get(), !shown);
    FPlacingMRUList = false;
    box->Perform(CM_CHANGED);
    if (!shown) {
        box->Show();
        FDroppedDown = true;
    }
}

void TCustomDBEditEh::HideMRUList(bool Accept)
{
    if (!MRUListShown())
        return;
    if (GetCaptureControl() == FMRUListbox)
        ReleaseCapture();
    FMRUListbox->Hide();
    FDroppedDown = false;
    const int index = FMRUListbox->ItemIndex();
    if (!Accept || ReadOnly() || !FDataLink->TryEdit() || index < 0)
        return;
    PutUserText(FMRUListbox->ItemText(index));
    if (Focused())
        SelectAll();
}

void TCustomDBEditEh::PutUserText(const String& Text)
{
    PutText(Text);
    FDataLink->SetModified(true);
}

void TCustomDBEditEh::RememberMRUListSize()
{
    if (!MRUListShown())
        return;
    FMRUList->SetRows(FMRUListbox->RowCount());
    FMRUList->SetWidth(FMRUListbox->Width());
}

// Runs after every change the user made: the list follows the text while it shows, and drops
// down when the user starts typing into a focused edit.
void TCustomDBEditEh::TextChangedByUser()
{
    const bool empty = EditText() == EmptyEditText();
    if (MRUListShown()) {
        if (empty)
            HideMRUList(false);
        else
            ShowMRUList();
    } else if (FMRUList->Active() && Showing() && !FDroppedDown && FFocused && !empty) {
        FMRUList->ListDroppedDown();
    }
}

bool TCustomDBEditEh::RouteKeyToList(TMessage& Message, TWinControl* List, const std::function<void(bool)>& Close)
{
    const auto key = static_cast<WORD>(Message.WParam);
    if (Message.Msg == WM_CHAR && FSwallowListKeyChar) {
        FSwallowListKeyChar = false;
        if (key == VK_RETURN || key == VK_ESCAPE)
            return true;
    }
    if (List == nullptr || !List->Visible())
        return false;
    if (key == VK_RETURN || key == VK_ESCAPE) {
        // The key's character follows its key-down; the list it closed takes that too.
        FSwallowListKeyChar = Message.Msg != WM_CHAR;
        Close(key == VK_RETURN);
        return true;
    }
    if (Message.Msg == WM_CHAR)
        return false;
    const bool alt = Message.Msg == WM_SYSKEYDOWN;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool paging = key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN;
    if ((paging && !alt) || (ctrl && (key == VK_HOME || key == VK_END))) {
        List->Perform(WM_KEYDOWN, key, Message.LParam);
        return true;
    }
    return false;
}

bool TCustomDBEditEh::RouteWheelToList(TMessage& Message, TWinControl* List)
{
    if (List == nullptr || !List->Visible())
        return false;
    Message.Result = List->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
    return Message.Result != 0;
}

bool TCustomDBEditEh::OwnsWindow(TControl* Control) const
{
    const auto within = [Control](const TWinControl* Window) {
        return Window != nullptr && (Control == Window || Window->ContainsControl(Control));
    };
    return within(this) || within(FMRUListbox);
}

// --- In-place mode ----------------------------------------------------------------------------

void TCustomDBEditEh::SetInplaceEditHolder(TWinControl* Holder)
{
    FInplaceHolder = nullptr;
    FInplaceInterface = nullptr;
    if (Holder == nullptr)
        return;
    auto* holder = dynamic_cast<IInplaceEditHolderEh*>(Holder);
    if (holder == nullptr)
        throw Exception(QStringLiteral("InplaceEditHolder have to support IInplaceEditHolderEh interface"));
    FInplaceHolder = Holder;
    FInplaceInterface = holder;
    Holder->FreeNotification(this);
}

bool TCustomDBEditEh::HolderHandled(TMessage& Message)
{
    if (FInplaceInterface == nullptr)
        return false;
    Message.Result = 0;
    FInplaceInterface->EditorWndProc(this, Message);
    return Message.Result != 0;
}

void TCustomDBEditEh::TurnIntoDoubleClick(TMessage& Message)
{
    TPoint last;
    std::uint32_t time = 0;
    if (FInplaceInterface == nullptr || !FInplaceInterface->GetLastMouseDown(last, time))
        return;
    const TPoint at = ClientToScreen(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
    if (IsWithinDoubleClick(last, at, PlatformMetrics().TickCount() - time))
        Message.Msg = WM_LBUTTONDBLCLK;
}

void TCustomDBEditEh::MoveToRect(const TRect& Rect)
{
    if (FInplaceHolder == nullptr) {
        SetBoundsRect(Rect);
        return;
    }
    if (Rect.IsEmpty()) {
        HideInplace();
        return;
    }
    HandleNeeded();
    Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(FInplaceHolder));
    SetBoundsRect(Rect);
    Show();
    Invalidate();
    if (FInplaceHolder->Focused())
        SetFocus();
}

void TCustomDBEditEh::HideInplace()
{
    if (!Visible())
        return;
    const bool hadFocus = Focused();
    Hide();
    if (hadFocus && FInplaceHolder != nullptr && FInplaceHolder->CanFocus())
        FInplaceHolder->SetFocus();
}

void TCustomDBEditEh::SetFocus()
{
    // Hosted, the window takes the focus itself: the holder stays the form's focused control.
    if (FInplaceHolder != nullptr) {
        if (Visible())
            ::SetFocus(Handle());
        return;
    }
    TCustomMaskEdit::SetFocus();
}
