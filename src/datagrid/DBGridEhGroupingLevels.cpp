// The grouping settings, their level collection and levels, and the records' group keys.
#include "datagrid/DBGridEhColumns.h"
#include "datagrid/DBGridEhGrouping.h"
#include "datagrid/MemTableEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

// --- Reading a record -----------------------------------------------------------------------

TMemTableReadScopeEh::TMemTableReadScopeEh(IMemTableEh* Table, int RecNo)
{
    if (Table != nullptr && Table->MemTableCurrentIndex() != RecNo) {
        Table->BeginInstantRead(RecNo);
        FTable = Table;
    }
}

TMemTableReadScopeEh::~TMemTableReadScopeEh()
{
    if (FTable != nullptr)
        FTable->EndInstantRead();
}

// --- The settings ---------------------------------------------------------------------------

TGridDataGroupsEh::TGridDataGroupsEh(IGridDataGroupsHostEh* Grid)
    : FGrid(Grid), FGroupDataTree(std::make_unique<TGridGroupDataTreeEh>(this))
{
}

TGridDataGroupsEh::~TGridDataGroupsEh()
{
    // The tree's nodes point at levels: they go first; the grid hears nothing more.
    FActive = false;
    FDestroying = true;
    FGroupDataTree->FreeAllNodes();
    if (FGroupLevels != nullptr)
        FGroupLevels->Clear();
}

void TGridDataGroupsEh::Initialize()
{
    if (FGroupLevels == nullptr)
        FGroupLevels = CreateGroupLevels();
}

std::unique_ptr<TGridDataGroupLevelsEh> TGridDataGroupsEh::CreateGroupLevels()
{
    return std::make_unique<TGridDataGroupLevelsEh>(this, CollectionItemClass<TGridDataGroupLevelEh>());
}

void TGridDataGroupsEh::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    ActiveChanged();
}

void TGridDataGroupsEh::SetGroupPanelVisible(bool Value)
{
    if (FGroupPanelVisible == Value)
        return;
    FGroupPanelVisible = Value;
    GroupPanelChanged();
}

TColor TGridDataGroupsEh::Color() const { return FParentColor ? FGrid->GroupingParentColor() : FColor; }

void TGridDataGroupsEh::SetColor(TColor Value)
{
    if (!FParentColor && FColor == Value)
        return;
    FColor = Value;
    FParentColor = false;
    LookChanged();
}

void TGridDataGroupsEh::SetParentColor(bool Value)
{
    if (FParentColor == Value)
        return;
    FParentColor = Value;
    LookChanged();
}

TFont* TGridDataGroupsEh::Font()
{
    if (FParentFont)
        FFont->Assign(FGrid->GroupingParentFont());
    return FFont.get();
}

void TGridDataGroupsEh::SetFont(TFont* Value)
{
    FFont->Assign(Value);
    FParentFont = false;
    LookChanged();
}

void TGridDataGroupsEh::SetParentFont(bool Value)
{
    if (FParentFont == Value)
        return;
    FParentFont = Value;
    LookChanged();
}

void TGridDataGroupsEh::LookChanged() { FGrid->GroupingLookChanged(); }

void TGridDataGroupsEh::RebuildActiveLevels()
{
    FActiveLevels.clear();
    FActiveColumns.clear();
    for (int I = 0; I < FGroupLevels->Count(); ++I) {
        TGridDataGroupLevelEh* level = FGroupLevels->LevelAt(I);
        if (level->Column() != nullptr) {
            FActiveLevels.push_back(level);
            FActiveColumns.push_back(level->Column());
        }
    }
}

void TGridDataGroupsEh::CheckActiveLevels()
{
    int depth = 0;
    int I = 0;
    for (; I < FGroupLevels->Count(); ++I) {
        TGridDataGroupLevelEh* level = FGroupLevels->LevelAt(I);
        if (level->Column() == nullptr)
            continue;
        if (depth >= ActiveLevelCount() || ActiveLevel(depth) != level || ActiveColumn(depth) != level->Column())
            break;
        ++depth;
    }
    if (I == FGroupLevels->Count() && depth == ActiveLevelCount())
        return;
    FGroupDataTree->DropLevelsFrom(depth + 1);
    RebuildActiveLevels();
    if (FActive)
        StructureChanged();
}

Variant TGridDataGroupsEh::RecordGroupKey(int RecNo)
{
    TMemTableReadScopeEh reading(FGrid->GroupingMemTable(), RecNo);
    Variant key = VarArrayCreate(0, ActiveLevelCount());
    for (int I = 0; I < ActiveLevelCount(); ++I)
        ActiveLevel(I)->GetKeyValue(key[I]);
    key[ActiveLevelCount()] = RecNo;
    return key;
}

void TGridDataGroupsEh::ApplyRememberedInsertKey()
{
    const Variant key = FInsertKey;
    FInsertKey = Variant();
    // A key remembered under other levels is left alone.
    if (!VarIsArray(key) || VarArrayHighBound(key, 1) != ActiveLevelCount())
        return;
    for (int I = 0; I < ActiveLevelCount(); ++I)
        if (TField* field = ActiveColumn(I)->Field())
            field->SetValue(key[I]);
}

void TGridDataGroupsEh::SortLevelNodes(int LevelNo, TSortOrderEh SortOrder)
{
    FGroupDataTree->SortLevel(LevelNo, SortOrder);
}

void TGridDataGroupsEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TGridDataGroupsEh*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    SetActive(source->Active());
    FGroupLevels->Assign(source->GroupLevels());
    SetGroupPanelVisible(source->GroupPanelVisible());
}

// --- The level collection -------------------------------------------------------------------

TGridDataGroupLevelsEh::TGridDataGroupLevelsEh(TGridDataGroupsEh* DataGroups, TCollectionItemClass ItemClass)
    : TCollection(std::move(ItemClass)), FDataGroups(DataGroups)
{
}

TGridDataGroupLevelEh* TGridDataGroupLevelsEh::AddLevel() { return static_cast<TGridDataGroupLevelEh*>(Add()); }

TGridDataGroupLevelEh* TGridDataGroupLevelsEh::LevelAt(int Index) const
{
    return static_cast<TGridDataGroupLevelEh*>(Items(Index));
}

IGridDataGroupsHostEh* TGridDataGroupLevelsEh::OwnerGrid() const { return FDataGroups->Grid(); }

TPersistent* TGridDataGroupLevelsEh::GetOwner() { return FDataGroups; }

void TGridDataGroupLevelsEh::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    FDataGroups->CheckActiveLevels();
    if (!FDataGroups->FDestroying)
        OwnerGrid()->GroupLevelsChanged();
}

void TGridDataGroupLevelsEh::LevelSortOrderChanged(TGridDataGroupLevelEh* Level)
{
    if (const int index = Level->ActiveIndex(); index >= 0)
        FDataGroups->SortLevelNodes(index, Level->SortOrder());
}

// --- A level --------------------------------------------------------------------------------

TGridDataGroupLevelEh::TGridDataGroupLevelEh(TCollection* Collection) : TCollectionItem(Collection) {}

TGridDataGroupLevelEh::~TGridDataGroupLevelEh() = default;

TGridDataGroupsEh* TGridDataGroupLevelEh::DataGroups() const
{
    auto* levels = static_cast<TGridDataGroupLevelsEh*>(Collection());
    return levels != nullptr ? levels->DataGroups() : nullptr;
}

void TGridDataGroupLevelEh::ChangeColumn(TColumnEh* Value)
{
    if (FColumn == Value)
        return;
    FColumn = Value;
    Changed(false);
}

void TGridDataGroupLevelEh::SetSortOrder(TSortOrderEh Value)
{
    if (FSortOrder == Value)
        return;
    FSortOrder = Value;
    if (Collection() != nullptr)
        static_cast<TGridDataGroupLevelsEh*>(Collection())->LevelSortOrderChanged(this);
}

TColor TGridDataGroupLevelEh::Color() const
{
    TGridDataGroupsEh* groups = DataGroups();
    return FParentColor && groups != nullptr ? groups->Color() : FColor;
}

void TGridDataGroupLevelEh::SetColor(TColor Value)
{
    if (!FParentColor && FColor == Value)
        return;
    FColor = Value;
    FParentColor = false;
    LookChanged();
}

void TGridDataGroupLevelEh::SetParentColor(bool Value)
{
    if (FParentColor == Value)
        return;
    FParentColor = Value;
    LookChanged();
}

TFont* TGridDataGroupLevelEh::Font()
{
    if (TGridDataGroupsEh* groups = DataGroups(); FParentFont && groups != nullptr)
        FFont->Assign(groups->Font());
    return FFont.get();
}

void TGridDataGroupLevelEh::SetFont(TFont* Value)
{
    FFont->Assign(Value);
    FParentFont = false;
    LookChanged();
}

void TGridDataGroupLevelEh::SetParentFont(bool Value)
{
    if (FParentFont == Value)
        return;
    FParentFont = Value;
    LookChanged();
}

void TGridDataGroupLevelEh::GetKeyValue(Variant& Value)
{
    if (KeyValueHandler) {
        KeyValueHandler(this, Value);
        return;
    }
    TField* field = FColumn != nullptr ? FColumn->Field() : nullptr;
    if (field != nullptr && field->DataSet() != nullptr && field->DataSet()->Active())
        Value = field->Value();
}

String TGridDataGroupLevelEh::KeyValueText(TGroupDataTreeNodeEh*) { return String(); }

void TGridDataGroupLevelEh::LookChanged()
{
    if (TGridDataGroupsEh* groups = DataGroups())
        groups->LookChanged();
}

int TGridDataGroupLevelEh::ActiveIndex() const
{
    TGridDataGroupsEh* groups = DataGroups();
    if (groups == nullptr)
        return -1;
    for (int I = 0; I < groups->ActiveLevelCount(); ++I)
        if (groups->ActiveLevel(I) == this)
            return I;
    return -1;
}

void TGridDataGroupLevelEh::CollapseAllGroups()
{
    if (const int index = ActiveIndex(); index >= 0)
        DataGroups()->GroupDataTree()->CollapseLevel(index + 1);
}

void TGridDataGroupLevelEh::ExpandAllGroups()
{
    if (const int index = ActiveIndex(); index >= 0)
        DataGroups()->GroupDataTree()->ExpandLevel(index + 1);
}

void TGridDataGroupLevelEh::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TGridDataGroupLevelEh*>(Source);
    if (source == nullptr) {
        TCollectionItem::Assign(Source);
        return;
    }
    FSortOrder = source->FSortOrder;
    FColor = source->FColor;
    FParentColor = source->FParentColor;
    FFont->Assign(source->FFont.get());
    FParentFont = source->FParentFont;
    KeyValueHandler = source->KeyValueHandler;
    ChangeColumn(source->Column());
}
