// TCustomDBEditEh's keys, messages and focus: what it checks before the masked edit sees a key,
// the messages it answers, and what entering and leaving it do.
#include "editors/DBCtrlsEh.h"

#include "platform/data/DataSource.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/ImageList.h"

// --- Keys -------------------------------------------------------------------------------------

void TCustomDBEditEh::HolderKeyDown(WORD& Key, TShiftState Shift)
{
    if (FInplaceInterface != nullptr)
        FInplaceInterface->EditorKeyDown(this, Key, Shift);
}

void TCustomDBEditEh::KeyDown(WORD& Key, TShiftState Shift)
{
    HolderKeyDown(Key, Shift);
    if (Key == 0)
        return;
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (FireButtonShortCut(Key, Shift)) {
        Key = 0;
        return;
    }
    if (Key == 'A' && Shift == ssCtrl) {
        SelectAll();
        return;
    }
    const bool edits = Key == VK_DELETE || (Key == VK_INSERT && Shift == ssShift) ||
                       (Key == VK_RETURN && FWantReturns) || (Key == VK_TAB && FWantTabs);
    if (edits && !ReadOnly())
        FDataLink->TryEdit();
}

void TCustomDBEditEh::KeyPress(Char& Key)
{
    if (FInplaceInterface != nullptr)
        FInplaceInterface->EditorKeyPress(this, Key);
    if (Key.isNull())
        return;
    TCustomMaskEdit::KeyPress(Key);
    if (Key.isNull())
        return;
    const char16_t code = Key.unicode();
    if (code > 31 && Field() != nullptr && !AcceptsChar(Key)) {
        MessageBeep(0);
        Key = Char();
        return;
    }
    if ((code == 8 || code == 22 || code == 24 || code >= 32) && !ReadOnly())
        FDataLink->TryEdit();
    if (code == 27) {
        FDataLink->ReloadRecord();
        SelectAll();
        Key = Char();
    }
}

void TCustomDBEditEh::KeyUp(WORD& Key, TShiftState Shift)
{
    if (FInplaceInterface != nullptr)
        FInplaceInterface->EditorKeyUp(this, Key, Shift);
    if (Key != 0)
        TCustomMaskEdit::KeyUp(Key, Shift);
}

unsigned TCustomDBEditEh::DialogCode()
{
    unsigned code = EditDialogCode;
    if (FWantTabs)
        code |= DLGC_WANTTAB;
    if (FWantReturns)
        code |= DLGC_WANTALLKEYS;
    if (FInplaceHolder != nullptr && (static_cast<unsigned>(FInplaceHolder->Perform(WM_GETDLGCODE)) & DLGC_WANTTAB))
        code |= DLGC_WANTTAB;
    return code;
}

// --- Messages ---------------------------------------------------------------------------------

bool TCustomDBEditEh::IsMouseButtonMessage(unsigned Msg) const { return Msg >= WM_LBUTTONDOWN && Msg <= WM_MBUTTONDBLCLK; }

bool TCustomDBEditEh::OverStripOrImage(TPoint At) const
{
    return ButtonAreaRect().Contains(At) || (FImageWidth > 0 && ImageAreaRect().Contains(At));
}

void TCustomDBEditEh::WndProc(TMessage& Message)
{
    if (HolderHandled(Message))
        return;
    const bool listWasShown = MRUListShown();
    switch (Message.Msg) {
    case WM_SETFOCUS:
        // Hosted, the holder is the form's focused control.
        if (FInplaceHolder != nullptr) {
            TCustomForm* form = GetParentForm(this);
            if (form != nullptr && !form->SetFocusedControl(FInplaceHolder))
                return;
            TControl::WndProc(Message);
            return;
        }
        break;
    case WM_KILLFOCUS:
        HideMRUList(false);
        if (TControl* capture = GetCaptureControl(); capture != nullptr && capture->Parent() == this)
            capture->Perform(WM_CANCELMODE);
        break;
    case WM_LBUTTONDOWN: TurnIntoDoubleClick(Message); break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
        if (RouteKeyToList(Message, FMRUListbox, [this](bool Accept) { FMRUList->ListClosedUp(Accept); }))
            return;
        break;
    case CM_MOUSEWHEEL:
        if (RouteWheelToList(Message, FMRUListbox))
            return;
        break;
    default: break;
    }
    TCustomMaskEdit::WndProc(Message);
    if (FUserTextChanged) {
        FUserTextChanged = false;
        TextChangedByUser();
    }
    // Backspace down to nothing offers every remembered text.
    if (Message.Msg == WM_CHAR && Message.WParam == 8 && !listWasShown && EditText() == EmptyEditText() &&
        FMRUList->Active() && Showing() && !FDroppedDown)
        FMRUList->ListDroppedDown();
}

void TCustomDBEditEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_ENTER:
        SetFocusedState(true);
        TCustomMaskEdit::Dispatch(Message);
        return;
    case CM_EXIT: HandleExit(Message); return;
    case WM_GETDLGCODE: Message.Result = DialogCode(); return;
    case CM_GETDATALINK: Message.Result = reinterpret_cast<LRESULT>(FDataLink.get()); return;
    case CM_WANTSPECIALKEY: {
        const auto key = static_cast<WORD>(Message.WParam);
        if ((key == VK_RETURN || key == VK_ESCAPE) && MRUListShown() && FMRUListbox->ItemIndex() >= 0) {
            Message.Result = 1;
            return;
        }
        TCustomMaskEdit::Dispatch(Message);
        if ((key == VK_ESCAPE && Modified()) || (key == VK_RETURN && InplaceMode()))
            Message.Result = 1;
        return;
    }
    case CM_HINTSHOW:
        if (!HintShow(Message))
            TCustomMaskEdit::Dispatch(Message);
        return;
    case CM_EDITIMAGECHANGEDEH:
        if (HandleAllocated())
            RecreateWnd();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FMouseAbove = Message.Msg == CM_MOUSEENTER;
        RefreshActiveBorder();
        TCustomMaskEdit::Dispatch(Message);
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        SyncEditButtonControls();
        return;
    case CM_FONTCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        ApplyFixedHeight();
        ApplyTextRect();
        return;
    case CM_SYSCOLORCHANGE:
        FlushButtonBitmapCache();
        TCustomMaskEdit::Dispatch(Message);
        return;
    case CM_CANCELMODE:
        if (!OwnsWindow(reinterpret_cast<TControl*>(Message.LParam)))
            HideMRUList(false);
        TCustomMaskEdit::Dispatch(Message);
        return;
    case WM_SETCURSOR:
        if (OverStripOrImage(ScreenToClient(GetCursorPos()))) {
            ::SetCursor(crArrow);
            Message.Result = 1;
            return;
        }
        TCustomMaskEdit::Dispatch(Message);
        return;
    default: TCustomMaskEdit::Dispatch(Message); return;
    }
}

void TCustomDBEditEh::DefaultHandler(TMessage& Message)
{
    if (Message.Msg == WM_CHAR) {
        const auto ch = Message.WParam;
        if ((ch == VK_RETURN && !FWantReturns) || (ch == VK_TAB && !FWantTabs) || ch == 10)
            return;
    }
    if (IsMouseButtonMessage(Message.Msg) && !MouseCapture() &&
        OverStripOrImage(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam))))
        return;
    TCustomMaskEdit::DefaultHandler(Message);
}

bool TCustomDBEditEh::ExecuteAction(TBasicAction* Action)
{
    return TCustomMaskEdit::ExecuteAction(Action) || FDataLink->ExecuteAction(Action);
}

bool TCustomDBEditEh::UpdateAction(TBasicAction* Action)
{
    return TCustomMaskEdit::UpdateAction(Action) || FDataLink->UpdateAction(Action);
}

bool TCustomDBEditEh::HintShow(TMessage& Message)
{
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    if (FTooltips) {
        TCanvas* canvas = ControlCanvas();
        canvas->Font()->Assign(Font());
        const TRect textRect = ComputeTextRect(ClientRect());
        TRect measured = Rect(0, 0, textRect.Width(), 0);
        canvas->DrawText(Text(), measured, DT_CALCRECT | DT_NOPREFIX | (FWordWrap ? unsigned(DT_WORDBREAK) : 0u));
        if (measured.Width() > textRect.Width() - 2 || measured.Height() > textRect.Height()) {
            if (!FToolTipsWindow)
                FToolTipsWindow = new TToolTipsWindow(this);
            FToolTipsWindow->Font()->Assign(Font());
            info->HintStr = Text();
            info->HintPos = ClientToScreen(Point(0, Height()));
            info->HintWindow = FToolTipsWindow;
            Message.Result = 0;
            return true;
        }
    }
    if (!FOwnShowHint) {
        Message.Result = 1;
        return true;
    }
    return false;
}

// --- Focus ------------------------------------------------------------------------------------

void TCustomDBEditEh::SetFocusedState(bool Value)
{
    if (Value == FFocused)
        return;
    FFocused = Value;
    RefreshWindowAlignment();
    // The record again: focused the edit shows the field's edit text, else its display text.
    FDataLink->ReloadRecord();
    RefreshActiveBorder();
}

void TCustomDBEditEh::HandleExit(TMessage& Message)
{
    TCustomMaskEdit::Dispatch(Message);
    try {
        FDataLink->UpdateRecord();
    } catch (...) {
        // The text stays for correction, with the focus back on it.
        SelectAll();
        if (!Focused())
            SetFocus();
        throw;
    }
    SetFocusedState(false);
}

void TCustomDBEditEh::RefreshActiveBorder()
{
    if (ComponentState().Contains(TComponentStateFlag::csLoading))
        return;
    const bool active = FFocused || FMouseAbove || FAlwaysShowBorder;
    if (active == FBorderActive)
        return;
    FBorderActive = active;
    SyncEditButtonControls();
}

void TCustomDBEditEh::Loaded()
{
    TCustomMaskEdit::Loaded();
    ClearFieldMaxLength();
    RefreshActiveBorder();
}

void TCustomDBEditEh::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == GetDataSource())
        SetDataSource(nullptr);
    if (AComponent == FEditImage->Images())
        FEditImage->SetImages(nullptr);
    if (AComponent == FMRUListbox)
        FMRUListbox = nullptr;
    if (AComponent == FToolTipsWindow)
        FToolTipsWindow = nullptr;
}
