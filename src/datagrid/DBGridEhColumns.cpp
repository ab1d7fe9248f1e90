// A column's soft properties, its binding to the field and the cell parameters it starts a paint with.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhFonts.h"

#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"

#include <algorithm>

using enum TColumnEhAssignedValue;

namespace {

bool IsWrappedTextType(TFieldType Type)
{
    switch (Type) {
    case TFieldType::ftString:
    case TFieldType::ftMemo:
    case TFieldType::ftFmtMemo:
    case TFieldType::ftWideString:
    case TFieldType::ftOraClob:
        return true;
    default:
        return false;
    }
}

// The defaults the soft properties read while the column holds no value of its own.
TAlignment DefaultAlignment(const TColumnEh& C)
{
    const TField* field = C.Field();
    return field != nullptr ? field->Alignment() : TAlignment::taLeftJustify;
}

TColor DefaultColor(const TColumnEh& C, TColor Own)
{
    const TCustomDBGridEh* grid = C.OwningGrid();
    return grid != nullptr ? grid->Color() : Own;
}

bool DefaultReadOnly(const TColumnEh& C)
{
    const TCustomDBGridEh* grid = C.OwningGrid();
    const TField* field = C.Field();
    return (grid != nullptr && grid->ReadOnly()) || (field != nullptr && field->ReadOnly());
}

bool DefaultWordWrap(const TColumnEh& C)
{
    const TField* field = C.Field();
    return C.OwningGrid() != nullptr && field != nullptr && IsWrappedTextType(field->DataType());
}

String DefaultLookupDisplayFields(const TColumnEh& C)
{
    const TField* field = C.Field();
    return field != nullptr ? field->LookupResultField() : String();
}

bool DefaultCheckboxes(const TColumnEh& C)
{
    const TField* field = C.Field();
    return field != nullptr && field->DataType() == TFieldType::ftBoolean;
}

bool DefaultTextEditing(const TColumnEh& C)
{
    const TColumnCellKindEh kind = C.ClassifyCellKind();
    return kind != TColumnCellKindEh::cckImageList && kind != TColumnCellKindEh::cckCheckbox;
}

using TDefs = TColumnDefValuesEh;

// A flag of the grid-wide column defaults; off without a grid.
bool DefaultFlag(const TColumnEh& C, bool (TDefs::*Flag)() const)
{
    const TCustomDBGridEh* grid = C.OwningGrid();
    return grid != nullptr && (grid->ColumnDefValues()->*Flag)();
}

TTextLayout DefaultLayout(const TColumnEh& C)
{
    const TCustomDBGridEh* grid = C.OwningGrid();
    return grid != nullptr ? grid->ColumnDefValues()->Layout() : TTextLayout::tlTop;
}

// The grid's setting, or the column's own without a grid.
template <class T, class R>
T GridOrOwn(const TColumnEh& C, R (TCustomDBGridEh::*Setting)() const, const T& Own)
{
    const TCustomDBGridEh* grid = C.OwningGrid();
    return grid != nullptr ? (grid->*Setting)() : Own;
}

} // namespace

TColumnEh::TColumnEh(TCollection* Collection) : TCollectionItem(Collection), FFont(std::make_unique<TFont>())
{
    TCustomDBGridEh* grid = OwningGrid();
    if (grid != nullptr)
        grid->LockLayout();
    FollowFont(*FFont, *DefaultFont(), FRefreshingFont);
    FFont->OnChange = [this](TObject*) { FontChanged(); };
    FTitle = MakeTitle();
    FFooter = MakeFooter();
    FFooters = MakeFooters();
    FDesignWidth = Width();
    FEditButtons = MakeEditButtons();
    FEditButtons->OnItemUpdate = [this](TCollectionItem*) { SignalChanged(false); };
    FDropDownSpecRow = std::make_unique<TSpecRowEh>(this);
    FDropDownSpecRow->OnChanged = [this](TObject*) { DropDownSpecRowChanged(); };
    FMRUList = std::make_unique<TMRUListEh>(this);
    FDropDownBox = std::make_unique<TColumnDropDownBoxEh>(this);
    FSTFilter = MakeSTFilter();
    FImageChangeLink = std::make_unique<TChangeLink>();
    FImageChangeLink->OnChange = [this](TObject*) { ImageListChanged(); };
    if (grid != nullptr)
        grid->UnlockLayout();
}

TColumnEh::~TColumnEh()
{
    if (TCustomDBGridEh* grid = OwningGrid())
        grid->ColumnDestroyed(this);
    // The footers give their aggregates back to the grid's sum list while the column still
    // belongs to the grid.
    FFooters.reset();
    FFooter.reset();
}

std::unique_ptr<TEditButtonsEh> TColumnEh::MakeEditButtons()
{
    return std::make_unique<TEditButtonsEh>(this, CollectionItemClass<TVisibleEditButtonEh>());
}

std::unique_ptr<TColumnFooterEh> TColumnEh::MakeFooter() { return std::make_unique<TColumnFooterEh>(this); }

std::unique_ptr<TColumnFootersEh> TColumnEh::MakeFooters() { return std::make_unique<TColumnFootersEh>(this); }

std::unique_ptr<TColumnTitleEh> TColumnEh::MakeTitle() { return std::make_unique<TColumnTitleEh>(this); }

void TColumnEh::DropDownSpecRowChanged() { SignalChanged(false); }

TDBGridColumnsEh* TColumnEh::Columns() const { return dynamic_cast<TDBGridColumnsEh*>(Collection()); }

TCustomDBGridEh* TColumnEh::OwningGrid() const
{
    const TDBGridColumnsEh* columns = Columns();
    return columns != nullptr ? columns->Grid() : nullptr;
}

bool TColumnEh::GridLoading() const
{
    const TCustomDBGridEh* grid = OwningGrid();
    return grid != nullptr && grid->Loading();
}

bool TColumnEh::LinkActiveWithField() const
{
    const TCustomDBGridEh* grid = OwningGrid();
    return grid != nullptr && grid->DataLink()->Active() && Field() != nullptr;
}

String TColumnEh::DisplayName() const { return FFieldName.isEmpty() ? TCollectionItem::DisplayName() : FFieldName; }

String TColumnEh::StorageName() const { return u"Column_"_qs + IntToStr(Index()) + u"_"_qs + FFieldName; }

// --- Soft-property rules ------------------------------------------------------------------------

template <class T>
void TColumnEh::WriteSoft(T& Stored, const T& Value, TColumnEhAssignedValue Bit, bool Signal)
{
    if (Assigned(Bit) && Stored == Value)
        return;
    Stored = Value;
    FAssigned.Include(Bit);
    if (Signal)
        SignalChanged(false);
}

template <class T>
void TColumnEh::WriteSoftIfDiffers(T& Stored, const T& Value, const T& Default, TColumnEhAssignedValue Bit, bool Loading)
{
    if (Assigned(Bit) || Value != Default || Loading) {
        Stored = Value;
        FAssigned.Include(Bit);
    }
    SignalChanged(false);
}

bool TColumnEh::IsStored(TColumnEhAssignedValue Value) const
{
    if (!Assigned(Value))
        return false;
    switch (Value) {
    case cavFont:
    case cavCheckboxes:
    case cavBiDiMode:
        return true;
    case cavColor: return FColor != DefaultColor(*this, FColor);
    case cavWidth: return FWidth != DefaultWidth();
    case cavAlignment: return FAlignment != DefaultAlignment(*this);
    case cavReadOnly: return FReadOnly != DefaultReadOnly(*this);
    case cavImeMode: return OwningGrid() == nullptr || FImeMode != OwningGrid()->ImeMode();
    case cavImeName: return OwningGrid() == nullptr || FImeName != OwningGrid()->ImeName();
    case cavWordWrap: return FWordWrap != DefaultWordWrap(*this);
    case cavLookupDisplayFields: return FLookupDisplayFields != DefaultLookupDisplayFields(*this);
    case cavAlwaysShowEditButton: return FAlwaysShowEditButton != DefaultFlag(*this, &TDefs::AlwaysShowEditButton);
    case cavEndEllipsis: return FEndEllipsis != DefaultFlag(*this, &TDefs::EndEllipsis);
    case cavAutoDropDown: return FAutoDropDown != DefaultFlag(*this, &TDefs::AutoDropDown);
    case cavDblClickNextVal: return FDblClickNextVal != DefaultFlag(*this, &TDefs::DblClickNextVal);
    case cavToolTips: return FToolTips != DefaultFlag(*this, &TDefs::ToolTips);
    case cavDropDownSizing: return FDropDownSizing != DefaultFlag(*this, &TDefs::DropDownSizing);
    case cavDropDownShowTitles: return FDropDownShowTitles != DefaultFlag(*this, &TDefs::DropDownShowTitles);
    case cavLayout: return FLayout != DefaultLayout(*this);
    case cavHighlightRequired: return FHighlightRequired != DefaultFlag(*this, &TDefs::HighlightRequired);
    case cavTextEditing: return FTextEditing != DefaultTextEditing(*this);
    default: return FTitle->IsStored(Value);
    }
}

// --- Soft properties ----------------------------------------------------------------------------

TAlignment TColumnEh::Alignment() const { return Assigned(cavAlignment) ? FAlignment : DefaultAlignment(*this); }

void TColumnEh::SetAlignment(TAlignment Value)
{
    if (IsDefaultColumn()) {
        if (LinkActiveWithField())
            Field()->SetAlignment(Value);
        return;
    }
    WriteSoft(FAlignment, Value, cavAlignment);
}

bool TColumnEh::AlwaysShowEditButton() const
{
    return Assigned(cavAlwaysShowEditButton) ? FAlwaysShowEditButton : DefaultFlag(*this, &TDefs::AlwaysShowEditButton);
}

void TColumnEh::SetAlwaysShowEditButton(bool Value) { WriteSoft(FAlwaysShowEditButton, Value, cavAlwaysShowEditButton); }

bool TColumnEh::AutoDropDown() const
{
    return Assigned(cavAutoDropDown) ? FAutoDropDown : DefaultFlag(*this, &TDefs::AutoDropDown);
}

void TColumnEh::SetAutoDropDown(bool Value) { WriteSoft(FAutoDropDown, Value, cavAutoDropDown, false); }

TBiDiMode TColumnEh::BiDiMode() const
{
    return Assigned(cavBiDiMode) ? FBiDiMode : GridOrOwn(*this, &TCustomDBGridEh::BiDiMode, FBiDiMode);
}

void TColumnEh::SetBiDiMode(TBiDiMode Value) { WriteSoft(FBiDiMode, Value, cavBiDiMode); }

bool TColumnEh::Checkboxes() const { return Assigned(cavCheckboxes) ? FCheckboxes : DefaultCheckboxes(*this); }

void TColumnEh::SetCheckboxes(bool Value) { WriteSoft(FCheckboxes, Value, cavCheckboxes); }

TColor TColumnEh::Color() const { return Assigned(cavColor) ? FColor : DefaultColor(*this, FColor); }

void TColumnEh::SetColor(TColor Value) { WriteSoft(FColor, Value, cavColor); }

bool TColumnEh::DblClickNextVal() const
{
    return Assigned(cavDblClickNextVal) ? FDblClickNextVal : DefaultFlag(*this, &TDefs::DblClickNextVal);
}

void TColumnEh::SetDblClickNextVal(bool Value) { WriteSoft(FDblClickNextVal, Value, cavDblClickNextVal, false); }

bool TColumnEh::DropDownShowTitles() const
{
    return Assigned(cavDropDownShowTitles) ? FDropDownShowTitles : DefaultFlag(*this, &TDefs::DropDownShowTitles);
}

void TColumnEh::SetDropDownShowTitles(bool Value) { WriteSoft(FDropDownShowTitles, Value, cavDropDownShowTitles, false); }

bool TColumnEh::DropDownSizing() const
{
    return Assigned(cavDropDownSizing) ? FDropDownSizing : DefaultFlag(*this, &TDefs::DropDownSizing);
}

void TColumnEh::SetDropDownSizing(bool Value) { WriteSoft(FDropDownSizing, Value, cavDropDownSizing, false); }

bool TColumnEh::EndEllipsis() const
{
    return Assigned(cavEndEllipsis) ? FEndEllipsis : DefaultFlag(*this, &TDefs::EndEllipsis);
}

void TColumnEh::SetEndEllipsis(bool Value) { WriteSoft(FEndEllipsis, Value, cavEndEllipsis); }

TFont* TColumnEh::DefaultFont() const
{
    const TCustomDBGridEh* grid = OwningGrid();
    return grid != nullptr ? grid->Font() : FFont.get();
}

TFont* TColumnEh::Font() const
{
    if (!Assigned(cavFont))
        FollowFont(*FFont, *DefaultFont(), FRefreshingFont);
    return FFont.get();
}

void TColumnEh::SetFont(TFont* Value) { FFont->Assign(Value); }

void TColumnEh::FontChanged()
{
    if (FRefreshingFont)
        return;
    FAssigned.Include(cavFont);
    SignalChanged(true);
}

void TColumnEh::RefreshDefaultFont() const
{
    if (!Assigned(cavFont))
        FollowFont(*FFont, *DefaultFont(), FRefreshingFont, true);
}

bool TColumnEh::HighlightRequired() const
{
    return Assigned(cavHighlightRequired) ? FHighlightRequired : DefaultFlag(*this, &TDefs::HighlightRequired);
}

void TColumnEh::SetHighlightRequired(bool Value) { WriteSoft(FHighlightRequired, Value, cavHighlightRequired); }

TImeMode TColumnEh::ImeMode() const
{
    return Assigned(cavImeMode) ? FImeMode : GridOrOwn(*this, &TCustomDBGridEh::ImeMode, FImeMode);
}

void TColumnEh::SetImeMode(TImeMode Value) { WriteSoftIfDiffers(FImeMode, Value, ImeMode(), cavImeMode, false); }

TImeName TColumnEh::ImeName() const
{
    return Assigned(cavImeName) ? FImeName : GridOrOwn(*this, &TCustomDBGridEh::ImeName, FImeName);
}

void TColumnEh::SetImeName(const TImeName& Value) { WriteSoftIfDiffers(FImeName, Value, ImeName(), cavImeName, false); }

TTextLayout TColumnEh::Layout() const { return Assigned(cavLayout) ? FLayout : DefaultLayout(*this); }

void TColumnEh::SetLayout(TTextLayout Value) { WriteSoft(FLayout, Value, cavLayout); }

String TColumnEh::LookupDisplayFields() const
{
    return Assigned(cavLookupDisplayFields) ? FLookupDisplayFields : DefaultLookupDisplayFields(*this);
}

void TColumnEh::SetLookupDisplayFields(const String& Value)
{
    WriteSoftIfDiffers(FLookupDisplayFields, Value, DefaultLookupDisplayFields(*this), cavLookupDisplayFields, false);
}

bool TColumnEh::ReadOnly() const { return Assigned(cavReadOnly) ? FReadOnly : DefaultReadOnly(*this); }

void TColumnEh::SetReadOnly(bool Value)
{
    if (IsDefaultColumn()) {
        if (LinkActiveWithField())
            Field()->SetReadOnly(Value);
        return;
    }
    WriteSoft(FReadOnly, Value, cavReadOnly);
}

bool TColumnEh::TextEditing() const { return Assigned(cavTextEditing) ? FTextEditing : DefaultTextEditing(*this); }

void TColumnEh::SetTextEditing(bool Value)
{
    WriteSoftIfDiffers(FTextEditing, Value, DefaultTextEditing(*this), cavTextEditing, GridLoading());
}

bool TColumnEh::ToolTips() const
{
    return Assigned(cavToolTips) ? FToolTips : DefaultFlag(*this, &TDefs::ToolTips);
}

void TColumnEh::SetToolTips(bool Value) { WriteSoft(FToolTips, Value, cavToolTips, false); }

bool TColumnEh::WordWrap() const { return Assigned(cavWordWrap) ? FWordWrap : DefaultWordWrap(*this); }

void TColumnEh::SetWordWrap(bool Value)
{
    WriteSoftIfDiffers(FWordWrap, Value, DefaultWordWrap(*this), cavWordWrap, GridLoading());
}

void TColumnEh::ResetToDefaults()
{
    const bool hadFont = Assigned(cavFont);
    FTitle->ResetToDefaults();
    FAssigned.Clear();
    RefreshDefaultFont();
    FPickList.reset();
    FButtonStyle = TColumnButtonStyleEh::cbsAuto;
    SignalChanged(hadFont);
    FKeyList.reset();
}

// --- Widths -------------------------------------------------------------------------------------

int TColumnEh::Width() const { return Assigned(cavWidth) ? FWidth : DefaultWidth(); }

int TColumnEh::ZeroWidth() const { return Font()->FontMetrics().horizontalAdvance(QLatin1Char('0')); }

int TColumnEh::DefaultWidth() const
{
    const TCustomDBGridEh* grid = OwningGrid();
    if (grid == nullptr)
        return 64;
    const TField* field = Field();
    if (field == nullptr)
        return grid->DefaultColWidth();
    return ZeroWidth() * field->DisplayWidth() + 4;
}

void TColumnEh::SetWidth(int Value)
{
    TCustomDBGridEh* grid = OwningGrid();
    if (IsDefaultColumn() && grid != nullptr) {
        TField* field = Field();
        const int zero = ZeroWidth();
        if (grid->HandleAllocated() && field != nullptr && zero > 0)
            field->SetDisplayWidth((Value + Font()->Metrics().tmAveCharWidth / 2 - 3) / zero);
        if (grid->DataLink()->InLayoutChange() && !Assigned(cavWidth)) {
            SignalChanged(false);
            return;
        }
    }
    StoreWidth(Value);
    SignalChanged(false);
}

void TColumnEh::StoreWidth(int Value)
{
    if ((Assigned(cavWidth) || Value != DefaultWidth()) && Value != -1) {
        FWidth = ClampWidth(Value);
        FAssigned.Include(cavWidth);
    }
}

int TColumnEh::ClampWidth(int W) const
{
    if (FMaxWidth > 0 && W > FMaxWidth)
        W = FMaxWidth;
    if (FMinWidth > 0 && W < FMinWidth)
        W = FMinWidth;
    return W;
}

void TColumnEh::SetMinWidth(int Value)
{
    FMinWidth = Value;
    if (Value > 0 && Width() < Value)
        SetWidth(Value);
}

void TColumnEh::SetMaxWidth(int Value)
{
    FMaxWidth = Value;
    if (Value > 0 && Width() > Value)
        SetWidth(Value);
}

void TColumnEh::SetAutoFitColWidth(bool Value)
{
    FAutoFitColWidth = Value;
    const TCustomDBGridEh* grid = OwningGrid();
    if (grid != nullptr && grid->AutoFitColWidths() && !grid->Loading() && !grid->Designing())
        SetWidth(FDesignWidth);
    SignalChanged(false);
}

// --- Field binding ------------------------------------------------------------------------------

TField* TColumnEh::Field() const
{
    if (FField != nullptr || FFieldName.isEmpty())
        return FField;
    const TCustomDBGridEh* grid = OwningGrid();
    TDataSet* data = grid != nullptr ? grid->DataLink()->DataSet() : nullptr;
    if (data == nullptr || (!data->Active() && data->DefaultFields()))
        return nullptr;
    TField* found = data->FindField(FFieldName);
    if (found != nullptr) {
        auto* self = const_cast<TColumnEh*>(this);
        self->FField = found;
        self->FFieldName = found->FieldName();
        found->FreeNotification(const_cast<TCustomDBGridEh*>(grid));
        self->RefreshFooterSums();
    }
    return found;
}

void TColumnEh::BindField(TField* Value)
{
    if (FField == Value)
        return;
    FField = Value;
    if (Value != nullptr) {
        FFieldName = Value->FieldName();
        if (TCustomDBGridEh* grid = OwningGrid())
            Value->FreeNotification(grid);
    }
    if (IsDefaultColumn()) {
        if (Value == nullptr)
            FFieldName.clear();
        ResetToDefaults();
        FDesignWidth = Width();
    }
    RefreshFooterSums();
    SignalChanged(false);
}

void TColumnEh::SetFieldName(const String& Value)
{
    TField* field = nullptr;
    const TCustomDBGridEh* grid = OwningGrid();
    TDataSet* data = grid != nullptr ? grid->DataLink()->DataSet() : nullptr;
    if (!Value.isEmpty() && !GridLoading() && data != nullptr)
        field = data->FindField(Value);
    FFieldName = Value;
    BindField(field);
    FDesignWidth = Width();
    SignalChanged(false);
}

void TColumnEh::SetIndex(int Value)
{
    const TCustomDBGridEh* grid = OwningGrid();
    if (IsDefaultColumn() && grid != nullptr && grid->DataLink()->Active() && Field() != nullptr && Value >= 0 &&
        Value < Collection()->Count()) {
        const TField* target = Columns()->ColumnAt(Value)->Field();
        if (target != nullptr)
            Field()->SetIndex(target->Index());
    }
    TCollectionItem::SetIndex(Value);
}

// --- Plain properties ---------------------------------------------------------------------------

void TColumnEh::SetButtonStyle(TColumnButtonStyleEh Value)
{
    if (FButtonStyle == Value)
        return;
    FButtonStyle = Value;
    SignalChanged(false);
}

void TColumnEh::SetDisplayFormat(const String& Value)
{
    if (FDisplayFormat == Value)
        return;
    FDisplayFormat = Value;
    SignalChanged(false);
}

void TColumnEh::SetDropDownWidth(int Value)
{
    FDropDownWidth = Value;
    SignalChanged(false);
}

void TColumnEh::SetEditMask(const String& Value)
{
    if (FEditMask == Value)
        return;
    FEditMask = Value;
    SignalChanged(false);
}

void TColumnEh::SetHideDuplicates(bool Value)
{
    if (FHideDuplicates == Value)
        return;
    FHideDuplicates = Value;
    SignalChanged(false);
}

void TColumnEh::SetNotInKeyListIndex(int Value)
{
    FNotInKeyListIndex = Value;
    if (TCustomDBGridEh* grid = OwningGrid())
        grid->InvalidateGrid();
}

void TColumnEh::SetShowImageAndText(bool Value)
{
    if (FShowImageAndText == Value)
        return;
    FShowImageAndText = Value;
    SignalChanged(false);
}

void TColumnEh::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    SignalChanged(true);
}

void TColumnEh::SetInRowLinePos(int Value)
{
    if (FInRowLinePos == Value)
        return;
    FInRowLinePos = Value;
    SignalChanged(true);
}

void TColumnEh::SetInRowLineHeight(int Value)
{
    if (FInRowLineHeight == Value)
        return;
    FInRowLineHeight = Value;
    SignalChanged(true);
}

TStrings* TColumnEh::PickList()
{
    if (FPickList == nullptr)
        FPickList = std::make_unique<TStringList>();
    return FPickList.get();
}

void TColumnEh::SetPickList(TStrings* Value)
{
    if (Value == nullptr)
        FPickList.reset();
    else
        PickList()->Assign(Value);
}

TStrings* TColumnEh::KeyList()
{
    if (FKeyList == nullptr)
        FKeyList = std::make_unique<TStringList>();
    return FKeyList.get();
}

void TColumnEh::SetKeyList(TStrings* Value)
{
    if (Value == nullptr)
        FKeyList.reset();
    else
        KeyList()->Assign(Value);
    if (TCustomDBGridEh* grid = OwningGrid())
        grid->InvalidateGrid();
}

void TColumnEh::SetImageList(TImageList* Value)
{
    if (FImageList == Value)
        return;
    // A list being freed has let its links go already.
    if (TImageList* registered = FImageChangeLink->Sender())
        registered->UnRegisterChanges(FImageChangeLink.get());
    FImageList = Value;
    if (Value != nullptr)
        Value->RegisterChanges(FImageChangeLink.get());
    if (TCustomDBGridEh* grid = OwningGrid()) {
        if (Value != nullptr)
            Value->FreeNotification(grid);
        grid->InvalidateGrid();
    }
}

void TColumnEh::ImageListChanged()
{
    if (TCustomDBGridEh* grid = OwningGrid())
        grid->InvalidateGrid();
}

void TColumnEh::SetPopupMenu(TPopupMenu* Value)
{
    FPopupMenu = Value;
    if (TCustomDBGridEh* grid = OwningGrid(); grid != nullptr && Value != nullptr)
        Value->FreeNotification(grid);
}

// --- Cell kind and writability ------------------------------------------------------------------

TColumnCellKindEh TColumnEh::ClassifyCellKind() const
{
    if (Checkboxes())
        return TColumnCellKindEh::cckCheckbox;
    const TField* field = Field();
    const TCustomDBGridEh* grid = OwningGrid();
    if (field != nullptr && field->IsBlob() && field->DataType() == TFieldType::ftGraphic && grid != nullptr &&
        grid->DrawGraphicData())
        return TColumnCellKindEh::cckGraphic;
    if (field != nullptr && field->Lookup())
        return TColumnCellKindEh::cckLookupField;
    if (HasPickList() && !HasKeyList())
        return TColumnCellKindEh::cckPickList;
    if (FImageList != nullptr && !FShowImageAndText)
        return TColumnCellKindEh::cckImageList;
    if (HasPickList())
        return TColumnCellKindEh::cckKeyPickList;
    return TColumnCellKindEh::cckText;
}

bool TColumnEh::IsWritable() const
{
    const TField* field = Field();
    return FVisible && field != nullptr && field->CanModify() && !ReadOnly();
}

// --- Assign -------------------------------------------------------------------------------------

void TColumnEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TColumnEh*>(Source);
    if (source == nullptr) {
        TCollectionItem::Assign(Source);
        return;
    }
    if (Collection() != nullptr)
        Collection()->BeginUpdate();
    ResetToDefaults();
    SetFieldName(source->FieldName());
    if (source->Assigned(cavColor))
        SetColor(source->Color());
    if (source->Assigned(cavWidth))
        SetWidth(source->Width());
    if (source->Assigned(cavFont))
        SetFont(source->Font());
    if (source->Assigned(cavImeMode))
        SetImeMode(source->ImeMode());
    if (source->Assigned(cavImeName))
        SetImeName(source->ImeName());
    if (source->Assigned(cavAlignment))
        SetAlignment(source->Alignment());
    if (source->Assigned(cavReadOnly))
        SetReadOnly(source->ReadOnly());
    FTitle->Assign(source->Title());
    FDropDownRows = source->FDropDownRows;
    SetButtonStyle(source->ButtonStyle());
    SetPickList(source->FPickList.get());
    SetPopupMenu(source->PopupMenu());
    FDesignWidth = source->FDesignWidth;
    FAutoFitColWidth = source->FAutoFitColWidth;
    if (source->Assigned(cavWordWrap))
        SetWordWrap(source->WordWrap());
    SetEndEllipsis(source->EndEllipsis());
    SetDropDownWidth(source->DropDownWidth());
    if (source->Assigned(cavLookupDisplayFields))
        SetLookupDisplayFields(source->LookupDisplayFields());
    SetAutoDropDown(source->AutoDropDown());
    SetAlwaysShowEditButton(source->AlwaysShowEditButton());
    SetWordWrap(source->WordWrap());
    FFooter->Assign(source->Footer());
    SetKeyList(source->FKeyList.get());
    if (source->Assigned(cavCheckboxes))
        SetCheckboxes(source->Checkboxes());
    FIncrement = source->FIncrement;
    SetToolTips(source->ToolTips());
    FFooters->Assign(source->Footers());
    FTag = source->FTag;
    SetVisible(source->Visible());
    SetImageList(source->ImageList());
    SetNotInKeyListIndex(source->NotInKeyListIndex());
    SetMinWidth(source->MinWidth());
    SetMaxWidth(source->MaxWidth());
    SetDblClickNextVal(source->DblClickNextVal());
    SetDropDownSizing(source->DropDownSizing());
    SetDropDownShowTitles(source->DropDownShowTitles());
    FEditButtons->Assign(source->EditButtons());
    FDropDownBox->Assign(source->DropDownBox());
    FMRUList->Assign(source->MRUList());
    // A copy keeps the column's filter-list settings too, so copying a column set loses none.
    FSTFilter->Assign(source->STFilter());
    SetDisplayFormat(source->DisplayFormat());
    SetEditMask(source->EditMask());
    SetShowImageAndText(source->ShowImageAndText());
    SetHideDuplicates(source->HideDuplicates());
    SetInRowLinePos(source->FInRowLinePos);
    SetInRowLineHeight(source->FInRowLineHeight);
    SetLayout(source->Layout());
    FOnGetCellParams = source->FOnGetCellParams;
    if (Collection() != nullptr)
        Collection()->EndUpdate();
}
