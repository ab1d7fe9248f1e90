// TCustomDBComboBoxEh: text and key modes, choosing, stepping and typing ahead through the
// items, and the drop-down list on the popup list box. In order:
//   construction and modes   the item lists, key-based or text mode, usable items
//   items                    finding, selecting and showing items; values to and from the field
//   typing                   type-ahead in both modes, stepping, keys and the wheel
//   messages                 keys and wheel for the open list, paste, a key combo's mouse
//   the drop-down list       opening, sizing and closing it
#include "editors/DBCtrlsEh.h"

#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/ImageList.h"

#include <algorithm>

void TDropDownBoxEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TDropDownBoxEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FAlign = source->FAlign;
    FAutoDrop = source->FAutoDrop;
    FRows = source->FRows;
    FSizable = source->FSizable;
    FWidth = source->FWidth;
}

// --- Construction and modes -------------------------------------------------------------------

TCustomDBComboBoxEh::TCustomDBComboBoxEh(TComponent* AOwner)
    : TCustomDBEditEh(AOwner), FItems(std::make_unique<TStringList>()), FKeyItems(std::make_unique<TStringListEh>())
{
    FKeyItems->SetCaseSensitive(true);
    FItems->OnChange = [this](TObject*) { ItemListChanged(); };
    FKeyItems->OnChange = [this](TObject*) { KeyListChanged(); };
    FDropDownBox = MakeDropDownBox();
    RenewEditButton();
}

TCustomDBComboBoxEh::~TCustomDBComboBoxEh()
{
    FItems->OnChange = nullptr;
    FKeyItems->OnChange = nullptr;
}

std::unique_ptr<TDropDownBoxEh> TCustomDBComboBoxEh::MakeDropDownBox() { return std::make_unique<TDropDownBoxEh>(); }

std::unique_ptr<TEditButtonEh> TCustomDBComboBoxEh::MakeEditButton()
{
    return std::make_unique<TVisibleEditButtonEh>(static_cast<TWinControl*>(this));
}

TAlignment TCustomDBComboBoxEh::InitialAlignment() const
{
    return FKeyBased ? TAlignment::taLeftJustify : TCustomDBEditEh::InitialAlignment();
}

Variant TCustomDBComboBoxEh::FetchValue() { return FKeyBased ? FKeyValue : TCustomDBEditEh::FetchValue(); }

bool TCustomDBComboBoxEh::AcceptsChar(Char Key) { return FKeyBased || TCustomDBEditEh::AcceptsChar(Key); }

// A key combo's text changes only by choosing an item. Its window is not made read-only for
// that: focused, it stays writable so an input method can send the characters that search.
bool TCustomDBComboBoxEh::EditCanModify() { return !FKeyBased && TCustomDBEditEh::EditCanModify(); }

void TCustomDBComboBoxEh::ItemListChanged()
{
    FUsableCount = FKeyBased ? std::min(FItems->Count(), FKeyItems->Count()) : FItems->Count();
    RefreshReadOnlyState();
    SyncItemIndexToText();
    ClearFieldMaxLength();
}

void TCustomDBComboBoxEh::KeyListChanged()
{
    const bool keyBased = FKeyItems->Count() > 0;
    if (keyBased && !FKeyBased)
        TCustomDBEditEh::PutText(String());
    FKeyBased = keyBased;
    ItemListChanged();
    HandleLinkDataChange();
}

void TCustomDBComboBoxEh::ClearFieldMaxLength()
{
    if (FKeyBased) {
        if (MaxLength() > 0)
            SetMaxLength(0);
        return;
    }
    TCustomDBEditEh::ClearFieldMaxLength();
}

// --- Items ------------------------------------------------------------------------------------

int TCustomDBComboBoxEh::FindItemIndex(const String& Text, bool Prefix) const
{
    for (int i = 0; i < FUsableCount; ++i) {
        const String item = Prefix ? FItems->Strings(i).left(Text.size()) : FItems->Strings(i);
        if (AnsiSameText(item, Text))
            return i;
    }
    return -1;
}

void TCustomDBComboBoxEh::RequestItems()
{
    if (FItems->Count() == 0 && OnItemsRequest)
        OnItemsRequest(this);
}

void TCustomDBComboBoxEh::SelectItemByIndex(int Index)
{
    if (Index == FItemIndex)
        return;
    RequestItems();
    if (!IsPositionUsable(Index)) {
        FItemIndex = -1;
        FKeyValue = Variant::Null();
    } else {
        FItemIndex = Index;
        if (FKeyBased)
            FKeyValue = Variant(FKeyItems->Strings(Index));
    }
    RefreshImageIndex();
    if (ListVisible())
        FPopupListbox->SetItemIndex(FItemIndex);
    TCustomDBEditEh::PutText(FItemIndex >= 0 ? FItems->Strings(FItemIndex) : String());
}

void TCustomDBComboBoxEh::SelectItemByUser(int Index)
{
    SelectItemByIndex(Index);
    DataLink()->SetModified(true);
}

void TCustomDBComboBoxEh::SyncItemIndexToText()
{
    if (FKeyBased)
        return;
    FItemIndex = FItems->IndexOf(Text());
    if (ListVisible() && OpenListFollowsText())
        FPopupListbox->SetItemIndex(FItemIndex);
    RefreshImageIndex();
}

void TCustomDBComboBoxEh::ApplyItemIndex(int Index) { WriteThrough([&] { SelectItemByIndex(Index); }); }

void TCustomDBComboBoxEh::Clear()
{
    if (FKeyBased)
        SetValue(Variant::Null());
    else
        SetText(String());
}

void TCustomDBComboBoxEh::PutText(const String& Text)
{
    if (!FKeyBased) {
        TCustomDBEditEh::PutText(Text);
        SyncItemIndexToText();
        return;
    }
    const int index = FItems->IndexOf(Text);
    if (IsPositionUsable(index))
        SelectItemByIndex(index);
}

// A key that is in no usable entry shows nothing and stays the value, never replaced by another.
void TCustomDBComboBoxEh::PutValue(const Variant& Value)
{
    if (!FKeyBased) {
        TCustomDBEditEh::PutValue(Value);
        SyncItemIndexToText();
        return;
    }
    FKeyValue = Value;
    const int index = VarIsNull(Value) ? -1 : FKeyItems->IndexOf(VariantToTextSafe(Value));
    FItemIndex = IsPositionUsable(index) ? index : -1;
    TCustomDBEditEh::PutText(FItemIndex >= 0 ? FItems->Strings(FItemIndex) : String());
    RefreshImageIndex();
    if (ListVisible())
        FPopupListbox->SetItemIndex(FItemIndex);
}

void TCustomDBComboBoxEh::FieldDataChanged()
{
    TFieldDataLinkEh* link = DataLink();
    if (TField* field = link->Field()) {
        RefreshWindowAlignment();
        if (!EditMaskAssigned())
            ApplyEditMask(InitialEditMask());
        if (!FKeyBased && IsSizedStringField(field) && MaxLength() == 0)
            SetMaxLength(field->Size());
        if (FKeyBased || (FocusedState() && link->CanModifyField()))
            PutValue(field->IsNull() ? Variant::Null() : Variant(field->Text()));
        else
            ShowEditText(field->DisplayText());
    } else if (link->OwnValueMode()) {
        if (!EditMaskAssigned())
            ApplyEditMask(String());
        if (FKeyBased)
            PutValue(link->OwnValue());
        else
            ShowEditText(VariantToTextSafe(link->OwnValue()));
    } else {
        if (!EditMaskAssigned())
            ApplyEditMask(String());
        ShowEditText(String());
    }
    // The text shown unfocused comes from no PutText: the item follows it here.
    SyncItemIndexToText();
    SetModified(false);
}

void TCustomDBComboBoxEh::WriteTextToField()
{
    TFieldDataLinkEh* link = DataLink();
    // A key combo without a value empties its field, as its Delete key promises.
    if (FKeyBased && VarIsNull(FKeyValue))
        link->PutFieldValue(FKeyValue);
    else
        link->SetFieldText(link->OwnValueMode() && !FKeyBased ? EditText() : VariantToTextSafe(Value()));
}

void TCustomDBComboBoxEh::PostEditToField()
{
    if (OnNotInList && FItemIndex == -1) {
        bool recheck = false;
        OnNotInList(this, EditText(), recheck);
    }
    TCustomDBEditEh::PostEditToField();
}

String TCustomDBComboBoxEh::PaintCopyText()
{
    const TField* field = Field();
    if (!FKeyBased || field == nullptr)
        return TCustomDBEditEh::PaintCopyText();
    const int index = FKeyItems->IndexOf(field->Text());
    return IsPositionUsable(index) ? ApplyCharCase(FItems->Strings(index)) : String();
}

void TCustomDBComboBoxEh::RefreshImageIndex()
{
    FItemImageIndex = FItemIndex;
    if (OnGetItemImageIndex)
        OnGetItemImageIndex(this, FItemIndex, FItemImageIndex);
    TCustomDBEditEh::RefreshImageIndex();
}

// --- Typing -----------------------------------------------------------------------------------

bool TCustomDBComboBoxEh::LocateItemByText(const String& Text, bool Prefix)
{
    if (!DataLink()->TryEdit())
        return false;
    const int previous = FItemIndex;
    try {
        const int index = FindItemIndex(Text, Prefix);
        if (index < 0) {
            // A key combo keeps its item, shown whole again: a composition may have taken the
            // selected tail off the window.
            if (!FKeyBased)
                SelectItemByUser(-1);
            else
                ShowEditText(FItemIndex >= 0 ? FItems->Strings(FItemIndex) : String());
        } else {
            SelectItemByUser(index);
            // The caret at the end, the completed tail selected.
            const int length = static_cast<int>(EditText().size());
            Perform(EM_SETSEL, static_cast<WPARAM>(length), std::min<int>(Text.size(), length));
        }
    } catch (const Exception&) {
        SelectItemByIndex(previous);
        return false;
    }
    return FItemIndex != previous;
}

bool TCustomDBComboBoxEh::HandleTypedText(const String& Str)
{
    TFieldDataLinkEh* link = DataLink();
    if (!(link->OwnValueMode() || link->Field() != nullptr) || !link->TryEdit())
        return false;
    if (Str.size() == 1 && Str.front() == u'\b') {
        // The selection, anchored at the end, takes one more character.
        const int length = static_cast<int>(EditText().size());
        const int start = SelLength() >= length ? length - 1 : SelStart() - 1;
        Perform(EM_SETSEL, static_cast<WPARAM>(length), std::max(start, 0));
        return false;
    }
    const String search = EditText().left(SelStart()) + Str;
    RequestItems();
    return LocateItemByText(search, true);
}

void TCustomDBComboBoxEh::CompleteTypedText(Char Typed, int CaretBefore)
{
    const int length = static_cast<int>(EditText().size());
    if (SelStart() == length && SelLength() == 0 && Typed != u'\b') {
        HandleTypedText(String());
        return;
    }
    const int previous = FItemIndex;
    if (LocateItemByText(EditText(), false) && FItemIndex != previous)
        Perform(EM_SETSEL, static_cast<WPARAM>(EditText().size()), CaretBefore);
}

void TCustomDBComboBoxEh::Change()
{
    TCustomDBEditEh::Change();
    SyncItemIndexToText();
}

void TCustomDBComboBoxEh::StepItem(bool Previous)
{
    if (!DataLink()->TryEdit())
        return;
    int index = FItemIndex;
    if (Previous)
        index = index > 0 ? index - 1 : index == -1 ? FUsableCount - 1 : index;
    else if (index < FUsableCount - 1)
        ++index;
    if (index == FItemIndex)
        return;
    SelectItemByUser(index);
    SelectAll();
}

void TCustomDBComboBoxEh::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomDBEditEh::KeyDown(Key, Shift);
    if (Key == 0 || ReadOnly())
        return;
    const bool wholeSelected = SelLength() == static_cast<int>(EditText().size());
    if ((Key == VK_UP || Key == VK_DOWN) && (!WordWrap() || wholeSelected) && !ListVisible() &&
        DataLink()->TryEdit()) {
        StepItem(Key == VK_UP);
        Key = 0;
        return;
    }
    const TField* field = Field();
    if (Key == VK_DELETE && FKeyBased && (DataLink()->OwnValueMode() || (field != nullptr && !field->Required())) &&
        DataLink()->TryEdit()) {
        PutValue(Variant::Null());
        DataLink()->SetModified(true);
        Key = 0;
    }
}

void TCustomDBComboBoxEh::KeyPress(Char& Key)
{
    TCustomDBEditEh::KeyPress(Key);
    if (Key.isNull())
        return;
    if (Key == u'\b' && FKeyBased && !ReadOnly()) {
        HandleTypedText(String(Key));
        Key = Char();
        return;
    }
    if (Key.unicode() < 32)
        return;
    if (FDropDownBox->AutoDrop() && !ListVisible())
        OpenDropDown();
    if (FKeyBased && !ReadOnly()) {
        HandleTypedText(String(Key));
        Key = Char();
    }
}

bool TCustomDBComboBoxEh::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomDBEditEh::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (Shift != TShiftState() || ReadOnly() || WheelDelta == 0 || !DataLink()->TryEdit())
        return false;
    StepItem(WheelDelta > 0);
    return true;
}

// --- Messages ---------------------------------------------------------------------------------

void TCustomDBComboBoxEh::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
        if (RouteKeyToList(Message, FPopupListbox, [this](bool Accept) { CloseDropDown(Accept); }))
            return;
        break;
    case CM_MOUSEWHEEL:
        if (RouteWheelToList(Message, FPopupListbox))
            return;
        break;
    case WM_PASTE:
        if (FKeyBased) {
            if (!Clipboard()->AsText().isEmpty())
                HandleTypedText(Clipboard()->AsText());
            return;
        }
        break;
    case WM_KILLFOCUS: CloseDropDown(false); break;
    default: break;
    }
    if (Message.Msg != WM_CHAR || FKeyBased) {
        TCustomDBEditEh::WndProc(Message);
        return;
    }
    // A text combo completes what was typed at the end of its text.
    const int caretBefore = SelStart();
    const Char typed(static_cast<char16_t>(Message.WParam));
    const String before = EditText();
    TCustomDBEditEh::WndProc(Message);
    const bool dropped = EditText() == before && typed != u'\b';
    if (!dropped && typed != u'.' && GetKeyState(VK_CONTROL) >= 0)
        CompleteTypedText(typed, caretBefore);
}

void TCustomDBComboBoxEh::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_CANCELMODE) {
        auto* sender = reinterpret_cast<TControl*>(Message.LParam);
        if (!OwnsWindow(sender) &&
            !(FPopupListbox != nullptr && (sender == FPopupListbox || FPopupListbox->ContainsControl(sender))))
            CloseDropDown(false);
    }
    TCustomDBEditEh::Dispatch(Message);
}

void TCustomDBComboBoxEh::DefaultHandler(TMessage& Message)
{
    if (FKeyBased && Message.Msg >= WM_LBUTTONDOWN && Message.Msg <= WM_MBUTTONDBLCLK) {
        HandleKeyComboMouse(Message);
        return;
    }
    TCustomDBEditEh::DefaultHandler(Message);
}

// A key combo's text is no text to place a caret in: a press opens or closes the list.
void TCustomDBComboBoxEh::HandleKeyComboMouse(TMessage& Message)
{
    const TPoint at = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    if (Message.Msg == WM_LBUTTONUP) {
        SetNoClickCloseUp(false);
        return;
    }
    if (Message.Msg != WM_LBUTTONDOWN || ButtonAreaRect().Contains(at))
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    if (ListVisible()) {
        if (!NoClickCloseUp())
            CloseDropDown(false);
    } else if (IsButtonUsable()) {
        OpenDropDown();
        SetNoClickCloseUp(true);
    }
}

// --- The drop-down list -----------------------------------------------------------------------

bool TCustomDBComboBoxEh::ListVisible() const { return FPopupListbox != nullptr && FPopupListbox->Visible(); }

TPopupListboxEh* TCustomDBComboBoxEh::ObtainPopupListbox()
{
    if (FPopupListbox == nullptr)
        FPopupListbox = NewPopupListbox(this, [this](bool Accept) { CloseDropDown(Accept); });
    return FPopupListbox;
}

int TCustomDBComboBoxEh::WidestItemWidth()
{
    TCanvas* canvas = ControlCanvas();
    canvas->Font()->Assign(Font());
    int widest = 0;
    for (int i = 0; i < FItems->Count(); ++i)
        widest = std::max(widest, canvas->TextWidth(FItems->Strings(i)));
    return widest;
}

void TCustomDBComboBoxEh::PrimaryButtonDown(bool LowerHalf)
{
    if (!IsSpinButtonStyle(EditButton()->Style())) {
        TCustomDBEditEh::PrimaryButtonDown(LowerHalf);
        return;
    }
    if (DataLink()->TryEdit())
        StepItem(!LowerHalf);
}

void TCustomDBComboBoxEh::OpenDropDown()
{
    if (ListVisible())
        return;
    TCustomDBEditEh::OpenDropDown();
    if (OnDropDown)
        OnDropDown(this);
    TPopupListboxEh* list = ObtainPopupListbox();
    RequestItems();
    list->SetColor(Color());
    list->SetFont(Font());
    TImageList* images = Images();
    list->SetImageList(images);
    ControlCanvas()->Font()->Assign(Font());
    int itemHeight = ControlCanvas()->TextHeight(QStringLiteral("0"));
    if (images != nullptr && EditImage()->UseImageHeight() && itemHeight < images->Height() + 1)
        itemHeight = images->Height() + 1;
    list->SetItemHeight(itemHeight);
    list->SetSourceItems(FItems.get());
    list->SetItemIndex(FItemIndex);
    const int rows = std::max(std::min(FDropDownBox->Rows(), FItems->Count()), 1);
    int width = Width();
    if (FDropDownBox->Width() == -1)
        width = WidestItemWidth() + 5 + (images != nullptr ? images->Width() + 4 : 0) + list->FrameHeight();
    else if (FDropDownBox->Width() > 0)
        width = FDropDownBox->Width();
    list->SetWidth(std::max(width, Width()));
    list->SetHeightByRows(rows);
    const TPoint at = PlaceDropDownUnderEdit(this, list, FDropDownBox->Align());
    list->SetBounds(at.X, at.Y, list->Width(), list->Height());
    list->SizeGrip()->ShowGrip(FDropDownBox->Sizable());
    list->Show();
    SetDroppedDown(true);
    list->SetUserSized(false);
}

void TCustomDBComboBoxEh::CloseDropDown(bool Accept)
{
    if (!ListVisible())
        return;
    if (GetCaptureControl() == FPopupListbox)
        ReleaseCapture();
    FPopupListbox->Hide();
    if (FPopupListbox->UserSized()) {
        FDropDownBox->SetRows(FPopupListbox->RowCount());
        FDropDownBox->SetWidth(FPopupListbox->Width());
    }
    TCustomDBEditEh::CloseDropDown(Accept);
    SetDroppedDown(false);
    if (OnAcceptCloseUp)
        OnAcceptCloseUp(this, Accept);
    if (Accept && !ReadOnly() && DataLink()->TryEdit()) {
        SelectItemByUser(FPopupListbox->ItemIndex());
        if (Focused())
            SelectAll();
    }
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}
