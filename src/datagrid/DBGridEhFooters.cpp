// Footers: a column's footer cells, their collection and the grid's sum list that feeds them.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhFonts.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

#include <cassert>

// --- Footer -------------------------------------------------------------------------------------

TColumnFooterEh::TColumnFooterEh(TCollection* Collection) : TCollectionItem(Collection)
{
    if (auto* footers = dynamic_cast<TColumnFootersEh*>(Collection))
        FColumn = footers->Column();
    Init();
    if (TCustomDBGridEh* grid = FColumn != nullptr ? FColumn->OwningGrid() : nullptr)
        grid->InvalidateFooterRows();
}

TColumnFooterEh::TColumnFooterEh(TColumnEh* Column) : TCollectionItem(nullptr), FColumn(Column) { Init(); }

void TColumnFooterEh::Init()
{
    FFont = std::make_unique<TFont>();
    if (const TFont* font = DefaultFont())
        FollowFont(*FFont, *font, FRefreshingFont);
    FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TColumnFooterEh::~TColumnFooterEh()
{
    FreeSumItem();
    if (TCustomDBGridEh* grid = FColumn != nullptr ? FColumn->OwningGrid() : nullptr)
        grid->InvalidateFooterRows();
}

void TColumnFooterEh::FreeSumItem()
{
    delete FSumItem;
    FSumItem = nullptr;
}

void TColumnFooterEh::Signal(bool AllItems)
{
    if (FColumn != nullptr)
        FColumn->SignalChanged(AllItems);
}

TAlignment TColumnFooterEh::Alignment() const
{
    if (FAssigned & AlignmentBit)
        return FAlignment;
    const TField* field = FColumn != nullptr ? FColumn->Field() : nullptr;
    return field != nullptr ? field->Alignment() : TAlignment::taLeftJustify;
}

void TColumnFooterEh::SetAlignment(TAlignment Value)
{
    if ((FAssigned & AlignmentBit) && FAlignment == Value)
        return;
    FAlignment = Value;
    FAssigned |= AlignmentBit;
    Signal(false);
}

TColor TColumnFooterEh::Color() const
{
    if (FAssigned & ColorBit)
        return FColor;
    const TCustomDBGridEh* grid = FColumn != nullptr ? FColumn->OwningGrid() : nullptr;
    return grid != nullptr ? grid->FooterColor() : clWindow;
}

void TColumnFooterEh::SetColor(TColor Value)
{
    if ((FAssigned & ColorBit) && FColor == Value)
        return;
    FColor = Value;
    FAssigned |= ColorBit;
    Signal(false);
}

bool TColumnFooterEh::ToolTips() const
{
    if (FAssigned & ToolTipsBit)
        return FToolTips;
    const TCustomDBGridEh* grid = FColumn != nullptr ? FColumn->OwningGrid() : nullptr;
    return grid != nullptr && grid->ColumnDefValues()->Footer()->ToolTips();
}

void TColumnFooterEh::SetToolTips(bool Value)
{
    if (!(FAssigned & ToolTipsBit) || FToolTips != Value) {
        FToolTips = Value;
        FAssigned |= ToolTipsBit;
    }
}

bool TColumnFooterEh::IsAlignmentStored() const
{
    if (!(FAssigned & AlignmentBit))
        return false;
    const TField* field = FColumn != nullptr ? FColumn->Field() : nullptr;
    return FAlignment != (field != nullptr ? field->Alignment() : TAlignment::taLeftJustify);
}

bool TColumnFooterEh::IsColorStored() const
{
    if (!(FAssigned & ColorBit))
        return false;
    const TCustomDBGridEh* grid = FColumn != nullptr ? FColumn->OwningGrid() : nullptr;
    return FColor != (grid != nullptr ? grid->FooterColor() : clWindow);
}

bool TColumnFooterEh::IsToolTipsStored() const { return (FAssigned & ToolTipsBit) && FToolTips; }

TFont* TColumnFooterEh::DefaultFont() const
{
    if (FColumn == nullptr)
        return nullptr;
    const TCustomDBGridEh* grid = FColumn->OwningGrid();
    return grid != nullptr ? grid->FooterFont() : FColumn->Font();
}

TFont* TColumnFooterEh::Font() const
{
    if (!(FAssigned & FontBit))
        if (const TFont* font = DefaultFont())
            FollowFont(*FFont, *font, FRefreshingFont);
    return FFont.get();
}

void TColumnFooterEh::SetFont(TFont* Value) { FFont->Assign(Value); }

void TColumnFooterEh::FontChanged()
{
    if (FRefreshingFont)
        return;
    FAssigned |= FontBit;
    Signal(true);
}

void TColumnFooterEh::RefreshDefaultFont() const
{
    if (!(FAssigned & FontBit))
        if (const TFont* font = DefaultFont())
            FollowFont(*FFont, *font, FRefreshingFont, true);
}

void TColumnFooterEh::SetDisplayFormat(const String& Value)
{
    if (FDisplayFormat == Value)
        return;
    FDisplayFormat = Value;
    Signal(false);
}

void TColumnFooterEh::SetEndEllipsis(bool Value)
{
    FEndEllipsis = Value;
    Signal(false);
}

void TColumnFooterEh::SetValue(const String& Value)
{
    FValue = Value;
    Signal(false);
}

void TColumnFooterEh::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    Signal(false);
}

void TColumnFooterEh::SetFieldName(const String& Value)
{
    FFieldName = Value;
    if (FColumn != nullptr)
        FColumn->RefreshFooterSums();
    Signal(false);
}

void TColumnFooterEh::SetValueType(TFooterValueType Value)
{
    if (FValueType == Value)
        return;
    FValueType = Value;
    if (FColumn != nullptr)
        FColumn->RefreshFooterSums();
    Signal(false);
}

void TColumnFooterEh::ResetToDefaults()
{
    const bool hadFont = FAssigned & FontBit;
    FAssigned = 0;
    RefreshDefaultFont();
    Signal(hadFont);
}

void TColumnFooterEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TColumnFooterEh*>(Source);
    if (source == nullptr) {
        TCollectionItem::Assign(Source);
        return;
    }
    if (source->FAssigned & AlignmentBit)
        SetAlignment(source->Alignment());
    if (source->FAssigned & ColorBit)
        SetColor(source->Color());
    if (source->FAssigned & FontBit)
        SetFont(source->Font());
    SetEndEllipsis(source->EndEllipsis());
    SetValueType(source->ValueType());
    SetFieldName(source->FieldName());
    SetValue(source->Value());
    SetWordWrap(source->WordWrap());
    SetDisplayFormat(source->DisplayFormat());
    SetToolTips(source->ToolTips());
}

String TColumnFooterEh::SumFieldName() const { return FFieldName.isEmpty() ? FColumn->FieldName() : FFieldName; }

void TColumnFooterEh::SyncSum()
{
    TCustomDBGridEh* grid = FColumn != nullptr ? FColumn->OwningGrid() : nullptr;
    if (grid == nullptr)
        return;
    TGroupOperation operation;
    switch (FValueType) {
    case TFooterValueType::fvtSum: operation = TGroupOperation::goSum; break;
    case TFooterValueType::fvtAvg: operation = TGroupOperation::goAvg; break;
    case TFooterValueType::fvtCount: operation = TGroupOperation::goCount; break;
    default:
        FreeSumItem();
        return;
    }
    const String fieldName = operation == TGroupOperation::goCount ? String() : SumFieldName();
    // A column binds its field again after every data event; an item already in step must not
    // set off a recalculation, which walks the whole dataset.
    if (FSumItem != nullptr && FSumItem->GroupOperation() == operation && FSumItem->FieldName() == fieldName)
        return;
    TDBSumCollection* sums = grid->SumList()->SumCollection();
    sums->BeginUpdate();
    try {
        if (FSumItem == nullptr)
            FSumItem = static_cast<TDBSum*>(sums->Add());
        FSumItem->SetGroupOperation(operation);
        FSumItem->SetFieldName(fieldName);
    } catch (...) {
        sums->EndUpdate();
        throw;
    }
    sums->EndUpdate();
}

// --- Footers ------------------------------------------------------------------------------------

TColumnFootersEh::TColumnFootersEh(TColumnEh* Column) : TCollection(CollectionItemClass<TColumnFooterEh>()), FColumn(Column) {}

TPersistent* TColumnFootersEh::GetOwner() { return FColumn; }

TColumnFooterEh* TColumnEh::FooterForRow(int Index) const
{
    return Index >= 0 && Index < FFooters->Count() ? FFooters->FooterAt(Index) : FFooter.get();
}

void TColumnEh::RefreshFooterSums()
{
    if (FFooter == nullptr || FFooters == nullptr)
        return;
    // The sums walk the dataset: never while another row's record is switched in.
    assert(OwningGrid() == nullptr || !OwningGrid()->RowRecordSwitched());
    FFooter->SyncSum();
    for (int i = 0; i < FFooters->Count(); ++i)
        FFooters->FooterAt(i)->SyncSum();
}

// --- Sum list -----------------------------------------------------------------------------------

TDBGridEhSumList::TDBGridEhSumList(TCustomDBGridEh* Grid) : TDBSumListProducer(Grid)
{
    SetDesignTimeWork(true);
    SetActive(false);
}

bool TDBGridEhSumList::GridDesigning() const
{
    const TComponent* owner = OwnerComponent();
    return owner != nullptr && owner->ComponentState().Contains(TComponentStateFlag::csDesigning);
}

void TDBGridEhSumList::HookDataSetEvents()
{
    if (GridDesigning())
        MarkEventsHooked(true);
    else
        TDBSumListProducer::HookDataSetEvents();
}

void TDBGridEhSumList::UnhookDataSetEvents()
{
    if (GridDesigning())
        MarkEventsHooked(false);
    else
        TDBSumListProducer::UnhookDataSetEvents();
}
