// TCustomDBEditEh: construction and properties, reading the field into the edit and writing
// it back; and its edit image. Keys, messages and focus live in DBCtrlsEhEditMessages.cpp,
// geometry and painting in DBCtrlsEhEditPaint.cpp. In order:
//   TEditImageEh                   the image settings
//   construction                   the parts and the base behaviour of the virtual slots
//   properties                     Text, Value, alignment, mask, read-only, source and field ...
//   reading and writing the field  FieldDataChanged, PostEditToField, read-only state, image index
#include "editors/DBCtrlsEh.h"

#include "platform/core/ScopeExit.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/TypedFields.h"
#include "platform/ui/ImageList.h"

#include <cmath>
#include <limits>

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
    RefreshMultiLine();
    RefreshWindowAlignment();
}

void TCustomDBEditEh::SetWantReturns(bool Value)
{
    if (Value == FWantReturns)
        return;
    FWantReturns = Value;
    RefreshMultiLine();
}

void TCustomDBEditEh::SetPasswordChar(Char Value)
{
    TCustomMaskEdit::SetPasswordChar(Value);
    RefreshMultiLine();
}

// A masked password never shows on several lines.
void TCustomDBEditEh::RefreshMultiLine() { SetMultiLine((FWordWrap || FWantReturns) && PasswordChar().isNull()); }

void TCustomDBEditEh::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    ApplyFixedHeight();
}

void TCustomDBEditEh::SetAlwaysShowBorder(bool Value)
{
    if (Value == FAlwaysShowBorder)
        return;
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
    if (Value == FTooltips)
        return;
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

bool UpdateDataHandled(const TUpdateDataEventEh& Handler, TObject* Sender, bool& Posting)
{
    bool handled = false;
    if (Handler) {
        Posting = true;
        const TScopeExit posted([&Posting] { Posting = false; });
        Handler(Sender, handled);
    }
    return handled;
}

void TCustomDBEditEh::PostEditToField()
{
    if (Focused())
        ValidateEdit();
    if (!UpdateDataHandled(OnUpdateData, this, FPosting))
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
    bool writable = !ReadOnly() && (FDataLink->IsEditing() || (OnUpdateData && FDataLink->DataSetEditing()));
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
