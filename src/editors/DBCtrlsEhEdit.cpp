// TCustomDBEditEh: construction and properties, reading the field into the edit and writing
// it back, keys, messages, focus, geometry and painting; and its edit image.
#include "editors/DBCtrlsEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/TypedFields.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/ImageList.h"

#include <cmath>
#include <limits>

namespace {

bool IsEditState(TDataSetState State) { return State == TDataSetState::dsEdit || State == TDataSetState::dsInsert; }

}  // namespace

// --- TEditImageEh ---------------------------------------------------------------------------

TEditImageEh::TEditImageEh(TCustomDBEditEh* EditControl) : FEditControl(EditControl) {}

TPersistent* TEditImageEh::GetOwner() { return FEditControl; }

void TEditImageEh::Changed()
{
    if (FEditControl != nullptr)
        FEditControl->Perform(CM_EDITIMAGECHANGEDEH);
}

void TEditImageEh::SetImageIndex(int Value)
{
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    if (FEditControl != nullptr)
        FEditControl->Invalidate();
}

void TEditImageEh::SetImages(TImageList* Value)
{
    if (Value == FImages)
        return;
    FImages = Value;
    if (Value != nullptr && FEditControl != nullptr)
        Value->FreeNotification(FEditControl);
    Changed();
}

void TEditImageEh::SetUseImageHeight(bool Value)
{
    if (Value == FUseImageHeight)
        return;
    FUseImageHeight = Value;
    Changed();
}

void TEditImageEh::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed();
}

void TEditImageEh::SetWidth(int Value)
{
    if (Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

void TEditImageEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TEditImageEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetImageIndex(source->FImageIndex);
    SetImages(source->FImages);
    SetVisible(source->FVisible);
    SetWidth(source->FWidth);
}

// --- Construction -----------------------------------------------------------------------------

TCustomDBEditEh::TCustomDBEditEh(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    SetControlStyle(ControlStyle() | csCaptureMouse);
    FDataLink = MakeFieldDataLink();
    FDataLink->SetControl(this);
    FDataLink->OnDataChange = [this](TObject*) { HandleLinkDataChange(); };
    FDataLink->OnEditingChange = [this](TObject*) { EditingStateChanged(); };
    FDataLink->OnUpdateData = [this](TObject*) { PostEditToField(); };
    FDataLink->OnActiveChange = [this](TObject*) { LinkActivityChanged(); };
    RenewEditButton();
    FEditButtons = MakeEditButtons();
    FEditButtons->OnItemUpdate = [this](TCollectionItem*) { EditButtonsChanged(); };
    FEditImage = MakeEditImage();
    FMRUList = std::make_unique<TMRUListEh>(this);
    FMRUList->OnDroppedDown = [this](TObject*) { ShowMRUList(); };
    FMRUList->OnClosedUp = [this](TObject*, bool Accept) { HideMRUList(Accept); };
    RefreshReadOnlyState();
    RefreshImageIndex();
}

TCustomDBEditEh::~TCustomDBEditEh()
{
    // Nothing may call back into the edit while its parts go.
    FEditButton->OnChanged = nullptr;
    FEditButtons->OnItemUpdate = nullptr;
    FMRUList->OnDroppedDown = nullptr;
    FMRUList->OnClosedUp = nullptr;
    FEditImage.reset();
    FEditButton.reset();
    FEditButtons.reset();
    FDataLink.reset();
    FCanvas.reset();
    FMRUList.reset();
}

void TCustomDBEditEh::RenewEditButton()
{
    FEditButton = MakeEditButton();
    FEditButton->OnChanged = [this](TObject*) { EditButtonsChanged(); };
    EditButtonsChanged();
}

bool TCustomDBEditEh::IsButtonUsable() { return Enabled() && FDataLink->IsOperational(); }

std::unique_ptr<TFieldDataLinkEh> TCustomDBEditEh::MakeFieldDataLink() { return std::make_unique<TFieldDataLinkEh>(); }

std::unique_ptr<TEditButtonEh> TCustomDBEditEh::MakeEditButton() { return std::make_unique<TEditButtonEh>(this); }

TEditButtonControlEh* TCustomDBEditEh::MakeEditButtonControl()
{
    auto* control = new TEditButtonControlEh(this);
    control->SetBounds(0, 0, 10, 17);
    control->SetParent(this);
    return control;
}

std::unique_ptr<TEditButtonsEh> TCustomDBEditEh::MakeEditButtons()
{
    return std::make_unique<TEditButtonsEh>(this, CollectionItemClass<TVisibleEditButtonEh>());
}

std::unique_ptr<TEditImageEh> TCustomDBEditEh::MakeEditImage() { return std::make_unique<TEditImageEh>(this); }

bool TCustomDBEditEh::HoldsOwnValue() const { return FDataLink->OwnValueMode(); }

TAlignment TCustomDBEditEh::InitialAlignment() const
{
    const TField* field = Field();
    return field != nullptr ? field->Alignment() : TAlignment::taLeftJustify;
}

String TCustomDBEditEh::InitialEditMask() const
{
    const TField* field = Field();
    return field != nullptr ? field->EditMask() : String();
}

int TCustomDBEditEh::InitialImageIndex() const { return -1; }

String TCustomDBEditEh::GetDataField() const { return FDataLink->FieldName(); }

TDataSource* TCustomDBEditEh::GetDataSource() const { return FDataLink->DataSource(); }

String TCustomDBEditEh::PaintCopyText()
{
    const TField* field = Field();
    if (field == nullptr)
        return EditText();
    return ApplyCharCase(field->DisplayText());
}

// Own-value mode answers the value last written (Null at first) until the user edits the text;
// bound, the text.
Variant TCustomDBEditEh::FetchValue()
{
    if (HoldsOwnValue() && !FDataLink->Modified())
        return FDataLink->OwnValue();
    return Variant(Text());
}

bool TCustomDBEditEh::AcceptsChar(Char Key)
{
    const TField* field = Field();
    return field == nullptr || field->IsValidChar(Key);
}

void TCustomDBEditEh::LinkActivityChanged()
{
    ClearFieldMaxLength();
    SyncEditButtonControls();
}

// --- Properties -------------------------------------------------------------------------------

void TCustomDBEditEh::SetText(const String& Value) { WriteThrough([&] { PutText(Value); }); }

void TCustomDBEditEh::AssignValue(const Variant& Value) { WriteThrough([&] { PutValue(Value); }); }

void TCustomDBEditEh::Clear() { SetText(String()); }

void TCustomDBEditEh::PutText(const String& Text) { TCustomMaskEdit::SetText(Text); }

void TCustomDBEditEh::PutValue(const Variant& Value) { PutText(VariantToTextSafe(Value)); }

void TCustomDBEditEh::ShowEditText(const String& Value)
{
    if (EditText() != Value)
        SetEditText(Value);
}

TAlignment TCustomDBEditEh::Alignment() const { return FAlignmentAssigned ? FAlignment : InitialAlignment(); }

void TCustomDBEditEh::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    FAlignmentAssigned = true;
    RefreshWindowAlignment();
}

// Focused, the window shows its text left-aligned, as the edit window does; otherwise aligned.
void TCustomDBEditEh::RefreshWindowAlignment()
{
    TCustomMaskEdit::SetAlignment(FFocused && !FWordWrap ? TAlignment::taLeftJustify : Alignment());
}

void TCustomDBEditEh::SetEditMask(const String& Value)
{
    if (FEditMaskAssigned && Value == EditMask())
        return;
    TCustomMaskEdit::SetEditMask(Value);
    FEditMaskAssigned = true;
    if (HoldsOwnValue())
        WriteTextToField();
    else
        HandleLinkDataChange();
}

void TCustomDBEditEh::ApplyEditMask(const String& Value) { TCustomMaskEdit::SetEditMask(Value); }

void TCustomDBEditEh::SetReadOnly(bool Value)
{
    TCustomMaskEdit::SetReadOnly(Value);
    EditingStateChanged();
}

void TCustomDBEditEh::ApplyReadOnly(bool Value)
{
    if (HandleAllocated())
        Perform(EM_SETREADONLY, Value ? 1 : 0);
}

void TCustomDBEditEh::SetDataSource(TDataSource* Value)
{
    FDataLink->SetDataSource(Value);
    if (Value != nullptr)
        Value->FreeNotification(this);
    HandleLinkDataChange();
    Invalidate();
}

void TCustomDBEditEh::SetDataField(const String& Value)
{
    ClearFieldMaxLength();
    FDataLink->SetFieldName(Value);
    SyncEditButtonControls();
    Invalidate();
}

void TCustomDBEditEh::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    RecreateWnd();
}

void TCustomDBEditEh::SetWordWrap(bool Value)
{
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    RefreshWindowAlignment();
}

void TCustomDBEditEh::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    ApplyFixedHeight();
}

void TCustomDBEditEh::SetAlwaysShowBorder(bool Value)
{
    FAlwaysShowBorder = Value;
    RefreshActiveBorder();
}

void TCustomDBEditEh::SetHighlightRequired(bool Value)
{
    if (Value == FHighlightRequired)
        return;
    FHighlightRequired = Value;
    Invalidate();
}

void TCustomDBEditEh::SetTooltips(bool Value)
{
    FTooltips = Value;
    RefreshShowHint();
}

void TCustomDBEditEh::SetShowHint(bool Value)
{
    FOwnShowHint = Value;
    RefreshShowHint();
}

void TCustomDBEditEh::RefreshShowHint() { TCustomMaskEdit::SetShowHint(FTooltips || FOwnShowHint); }

void TCustomDBEditEh::SetImages(TImageList* Value)
{
    FEditImage->SetImages(Value);
    FEditImage->SetVisible(true);
}

void TCustomDBEditEh::SetOnGetImageIndex(TGetImageIndexEventEh Value)
{
    FOnGetImageIndex = std::move(Value);
    RefreshImageIndex();
}

// --- Reading and writing the field --------------------------------------------------------

void TCustomDBEditEh::HandleLinkDataChange()
{
    FieldDataChanged();
    SyncEditButtonControls();
    RefreshImageIndex();
}

void TCustomDBEditEh::FieldDataChanged()
{
    if (TField* field = Field()) {
        RefreshWindowAlignment();
        if (!FEditMaskAssigned)
            ApplyEditMask(InitialEditMask());
        if (IsSizedStringField(field) && MaxLength() == 0)
            SetMaxLength(field->Size());
        const bool memo = dynamic_cast<TMemoField*>(field) != nullptr;
        if (FFocused && FDataLink->CanModifyField())
            PutText(memo ? field->AsString() : field->Text());
        else
            ShowEditText(memo ? field->AsString() : field->DisplayText());
    } else {
        if (!FEditMaskAssigned)
            ApplyEditMask(String());
        ShowEditText(FDataLink->OwnValueMode() ? VariantToTextSafe(FDataLink->OwnValue()) : String());
    }
    RefreshReadOnlyState();
    SetModified(false);
}

void TCustomDBEditEh::PostEditToField()
{
    if (Focused())
        ValidateEdit();
    bool handled = false;
    if (OnUpdateData) {
        FPosting = true;
        try {
            OnUpdateData(this, handled);
        } catch (...) {
            FPosting = false;
            throw;
        }
        FPosting = false;
    }
    if (!handled)
        WriteTextToField();
    SetModified(false);
    if (FMRUList->AutoAdd() && FMRUList->Active() && Showing())
        FMRUList->AddRecentText(Text());
}

void TCustomDBEditEh::WriteTextToField()
{
    FDataLink->SetFieldText(HoldsOwnValue() ? EditText() : Text());
}

void TCustomDBEditEh::ClearFieldMaxLength()
{
    const TDataSource* source = GetDataSource();
    if (MaxLength() <= 0 || source == nullptr || source->DataSet() == nullptr)
        return;
    const TField* field = source->DataSet()->FindField(GetDataField());
    if (field != nullptr && IsSizedStringField(field) && field->Size() == MaxLength())
        SetMaxLength(0);
}

void TCustomDBEditEh::EditingStateChanged() { RefreshReadOnlyState(); }

void TCustomDBEditEh::RefreshReadOnlyState()
{
    const TDataSet* dataSet = FDataLink->DataSet();
    bool writable = !ReadOnly() &&
                    (FDataLink->IsEditing() || (OnUpdateData && dataSet != nullptr && IsEditState(dataSet->State())));
    const bool holderAllows = FInplaceInterface == nullptr || FInplaceInterface->CanEditorModify(this);
    // Focused with a field that can change, the window stays writable so an input method can
    // write into it; every change still asks TryEdit first.
    if (!writable && FFocused && !ReadOnly() && FDataLink->CanModifyField())
        writable = true;
    ApplyReadOnly(!(writable && holderAllows));
}

bool TCustomDBEditEh::EditCanModify() { return FDataLink->TryEdit(); }

// Every change the user makes marks the link modified, so leaving the edit posts it; text set
// by code reports no change.
void TCustomDBEditEh::Change()
{
    FDataLink->SetModified(true);
    FUserTextChanged = true;
    RefreshImageIndex();
    TCustomMaskEdit::Change();
}

void TCustomDBEditEh::RefreshImageIndex()
{
    if (!FEditImage->Visible() || FEditImage->Images() == nullptr)
        return;
    int index = InitialImageIndex();
    const Variant value = FetchValue();
    switch (VarType(value)) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency: {
        // A value beyond the index range leaves the index as it is.
        const double rounded = std::nearbyint(value.AsDouble());
        if (std::isfinite(rounded) && std::abs(rounded) <= std::numeric_limits<int>::max())
            index = static_cast<int>(rounded);
        break;
    }
    default: break;
    }
    if (FOnGetImageIndex)
        FOnGetImageIndex(this, index);
    FEditImage->SetImageIndex(index);
}

// --- Keys -------------------------------------------------------------------------------------

void TCustomDBEditEh::KeyDown(WORD& Key, TShiftState Shift)
{
    if (FInplaceInterface != nullptr)
        FInplaceInterface->EditorKeyDown(this, Key, Shift);
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

// --- Window and geometry ----------------------------------------------------------------------

void TCustomDBEditEh::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    ApplyFixedHeight();
    if (FFocused)
        RefreshActiveBorder();
    RebuildEditButtonControls();
    SyncEditButtonControls();
    RefreshImageWidth();
    RefreshImageIndex();
    ApplyTextRect();
    RefreshReadOnlyState();
}

void TCustomDBEditEh::Resize()
{
    TCustomMaskEdit::Resize();
    if (!HandleAllocated())
        return;
    RebuildEditButtonControls();
    ApplyTextRect();
}

void TCustomDBEditEh::RefreshImageWidth()
{
    const TImageList* images = FEditImage->Images();
    FImageWidth = FEditImage->Visible() && images != nullptr
                      ? (FEditImage->Width() > 0 ? FEditImage->Width() : images->Width()) + 4
                      : 0;
}

void TCustomDBEditEh::ApplyFixedHeight()
{
    if (FAutoSize && BorderStyle() == TBorderStyle::bsSingle) {
        SetControlStyle(ControlStyle() | csFixedHeight);
        SetHeight(FitHeightToFont());
    } else {
        SetControlStyle(ControlStyle() - csFixedHeight);
    }
}

int TCustomDBEditEh::FitHeightToFont()
{
    // One border pixel on each of the frame's lines and the text's own leading.
    const int extra = (Ctl3D() ? 8 : 6) - (FFlat ? 2 : 0);
    TCanvas* canvas = ControlCanvas();
    canvas->Font()->Assign(Font());
    int height = canvas->TextHeight(QStringLiteral("0"));
    const TImageList* images = FEditImage->Images();
    if (FEditImage->Visible() && FEditImage->UseImageHeight() && images != nullptr)
        height = std::max(height, images->Height());
    return extra + height;
}

TRect TCustomDBEditEh::ButtonAreaRect() const
{
    const TRect client = ClientRect();
    return Rect(client.Right - FButtonWidth, client.Top, client.Right, client.Bottom);
}

TRect TCustomDBEditEh::ImageAreaRect() const
{
    const TRect client = ClientRect();
    return Rect(client.Left, client.Top, client.Left + FImageWidth, client.Bottom);
}

TRect TCustomDBEditEh::ComputeTextRect(const TRect& Client)
{
    TRect rect = Client;
    rect.Right -= FButtonWidth;
    if (FEditImage->Visible() && FEditImage->Images() != nullptr)
        rect.Left += FImageWidth;
    return rect;
}

void TCustomDBEditEh::ApplyTextRect()
{
    if (!HandleAllocated())
        return;
    TRect rect = ComputeTextRect(ClientRect());
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
    Perform(EM_SCROLLCARET);
}

TCanvas* TCustomDBEditEh::ControlCanvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TCanvas>();
    return FCanvas.get();
}

// --- Painting ---------------------------------------------------------------------------------

void TCustomDBEditEh::PaintWindow(HDC DC)
{
    TCanvas* canvas = ControlCanvas();
    canvas->BeginPaint(DC);
    TImageList* images = FEditImage->Images();
    if (FImageWidth > 0 && images != nullptr && FEditImage->ImageIndex() >= 0) {
        TRect area = ImageAreaRect();
        area.Inflate(-2, -1);
        images->Draw(canvas, area.Left, area.Top + (area.Height() - images->Height()) / 2, FEditImage->ImageIndex(),
                     Enabled());
    }
    PaintRequiredMark(canvas);
    canvas->EndPaint();
}

void TCustomDBEditEh::PaintRequiredMark(TCanvas* Canvas)
{
    if (!FHighlightRequired || !FDataLink->IsOperational())
        return;
    bool due = false;
    if (FDataLink->OwnValueMode()) {
        due = VarIsNull(FetchValue()) || Text().isEmpty();
    } else {
        const TField* field = Field();
        due = IsEditState(FDataLink->DataSet()->State()) && field->Required() && field->IsNull();
    }
    if (OnCheckDrawRequiredState)
        OnCheckDrawRequiredState(this, due);
    if (!due)
        return;
    const TRect text = ComputeTextRect(ClientRect());
    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetStyle(TPenStyle::psDot);
    Canvas->Pen()->SetWidth(1);
    Canvas->MoveTo(text.Left + 2, ClientHeight() - 1);
    Canvas->LineTo(text.Right - 3, ClientHeight() - 1);
}
