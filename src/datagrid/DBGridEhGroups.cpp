// The grid's grouping: its levels and groups object, the grouped rows and moving over them.
#include "datagrid/DBGridEh.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"

#include <algorithm>

namespace {

constexpr int GroupIndentStep = 18;

}  // namespace

// --- Levels ---------------------------------------------------------------------------------

TCustomDBGridEh* TDBGridEhDataGroupLevelEh::Grid() const
{
    TGridDataGroupsEh* groups = DataGroups();
    return groups != nullptr ? static_cast<TDBGridEhDataGroupsEh*>(groups)->OwningGrid() : nullptr;
}

void TDBGridEhDataGroupLevelEh::SetColumnName(const String& Value)
{
    FColumnName = Value;
    if (TCustomDBGridEh* grid = Grid(); grid != nullptr && !grid->Loading())
        ResolveColumnName();
}

void TDBGridEhDataGroupLevelEh::ResolveColumnName()
{
    TCustomDBGridEh* grid = Grid();
    ChangeColumn(grid != nullptr && !FColumnName.isEmpty() ? grid->ColumnByFieldName(FColumnName) : nullptr);
}

void TDBGridEhDataGroupLevelEh::GetKeyValue(Variant& Value)
{
    TGridDataGroupLevelEh::GetKeyValue(Value);
    if (OnGetKeyValue)
        OnGetKeyValue(Grid(), this, Value);
}

String TDBGridEhDataGroupLevelEh::KeyValueText(TGroupDataTreeNodeEh* Node)
{
    String text = VarToStr(Node->Value());
    if (OnGetKeyValueAsText)
        OnGetKeyValueAsText(Grid(), Node, Node->Value(), text);
    return text;
}

String TDBGridEhDataGroupLevelEh::GetGroupRowText(TGroupDataTreeNodeEh* Node)
{
    String text;
    if (GroupColumn() != nullptr)
        text = GroupColumn()->Title()->Caption() + QStringLiteral(": ");
    text += KeyValueText(Node) + QStringLiteral(" (") + String::number(Node->ChildCount()) + QStringLiteral(")");
    TCustomDBGridEh* grid = Grid();
    if (grid != nullptr && grid->OnDataGroupGetRowText)
        grid->OnDataGroupGetRowText(grid, Node, text);
    if (OnGetGroupRowText)
        OnGetGroupRowText(grid, Node, text);
    return text;
}

// --- The groups object ----------------------------------------------------------------------

TDBGridEhDataGroupsEh::TDBGridEhDataGroupsEh(TCustomDBGridEh* Grid)
    : TGridDataGroupsEh(static_cast<IGridDataGroupsHostEh*>(this)), FOwningGrid(Grid)
{
    Initialize();
}

std::unique_ptr<TGridDataGroupLevelsEh> TDBGridEhDataGroupsEh::CreateGroupLevels()
{
    return std::make_unique<TGridDataGroupLevelsEh>(this, CollectionItemClass<TDBGridEhDataGroupLevelEh>());
}

TDBGridEhDataGroupLevelEh* TDBGridEhDataGroupsEh::GroupLevel(int Index) const
{
    return static_cast<TDBGridEhDataGroupLevelEh*>(GroupLevels()->LevelAt(Index));
}

TDBGridEhDataGroupLevelEh* TDBGridEhDataGroupsEh::ActiveGroupLevel(int Index) const
{
    return static_cast<TDBGridEhDataGroupLevelEh*>(ActiveLevel(Index));
}

bool TDBGridEhDataGroupsEh::IsGroupingActive() const
{
    return Active() && FOwningGrid->HasMemTableLink() && FOwningGrid->DataLink()->Active() && ActiveLevelCount() > 0;
}

void TDBGridEhDataGroupsEh::ResolveColumnNames()
{
    for (int I = 0; I < GroupLevels()->Count(); ++I)
        GroupLevel(I)->ResolveColumnName();
}

void TDBGridEhDataGroupsEh::ActiveChanged() { FOwningGrid->GroupingStructureChanged(); }

void TDBGridEhDataGroupsEh::StructureChanged() { FOwningGrid->GroupingStructureChanged(); }

void TDBGridEhDataGroupsEh::RebuildActiveLevels()
{
    TGridDataGroupsEh::RebuildActiveLevels();
    if (FOwningGrid->DataLink()->Active())
        FOwningGrid->RaiseSortMarkingChanged();
}

void TDBGridEhDataGroupsEh::SortLevelNodes(int LevelNo, TSortOrderEh SortOrder)
{
    TGridDataGroupsEh::SortLevelNodes(LevelNo, SortOrder);
    if (FOwningGrid->DataLink()->Active())
        FOwningGrid->RaiseSortMarkingChanged();
}

void TDBGridEhDataGroupsEh::GroupPanelChanged() { FOwningGrid->UpdateGroupPanelHeight(); }

IMemTableEh* TDBGridEhDataGroupsEh::GroupingMemTable() { return FOwningGrid->MemTable(); }

TFont* TDBGridEhDataGroupsEh::GroupingParentFont() { return FOwningGrid->Font(); }

TColor TDBGridEhDataGroupsEh::GroupingParentColor() { return FOwningGrid->FixedColor(); }

int TDBGridEhDataGroupsEh::GroupNodeRowHeight(TGroupDataTreeNodeEh* Node) { return FOwningGrid->GroupRowHeight(Node); }

int TDBGridEhDataGroupsEh::GroupedRecordRowHeight() { return FOwningGrid->ComputedRowHeight(); }

void TDBGridEhDataGroupsEh::GroupedRowsChanged()
{
    if (IsGroupingActive())
        FOwningGrid->ResetGroupedRowCount();
}

void TDBGridEhDataGroupsEh::GroupedRowChanged(int Index)
{
    if (IsGroupingActive())
        FOwningGrid->InvalidateRowCells(FOwningGrid->RowsAboveData() + Index);
}

void TDBGridEhDataGroupsEh::GroupingLookChanged() { FOwningGrid->InvalidateGrid(); }

void TDBGridEhDataGroupsEh::GroupLevelsChanged()
{
    FOwningGrid->UpdateGroupPanelHeight();
    FOwningGrid->InvalidateGrid();
}

// --- The grid's grouped rows ----------------------------------------------------------------

bool TCustomDBGridEh::GroupingInEffect() const { return FDataGrouping->IsGroupingActive(); }

int TCustomDBGridEh::GroupIndent() const
{
    return GroupingInEffect() ? FDataGrouping->ActiveLevelCount() * GroupIndentStep : 0;
}

int TCustomDBGridEh::GroupRowHeight(TGroupDataTreeNodeEh* Node)
{
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Node->DataGroupLevel() != nullptr ? Node->DataGroupLevel()->Font() : Font());
    const int lineWidth = FDBOptions.Contains(dgRowLines) ? 1 : 0;
    return canvas->TextHeight(QStringLiteral("Wg")) + (Flat() ? 1 : 3) + lineWidth;
}

TGroupDataTreeNodeEh* TCustomDBGridEh::GroupNodeOfRow(int Index) const
{
    return GroupingInEffect() ? FDataGrouping->GroupDataTree()->ShownRowNode(Index) : nullptr;
}

void TCustomDBGridEh::ResetGroupedRowCount()
{
    if (!HandleAllocated())
        return;
    RecomputeRowMetrics();
    UpdateVertScrollBar();
    InvalidateGrid();
}

void TCustomDBGridEh::GroupingStructureChanged()
{
    if (GroupingInEffect()) {
        FDataGrouping->GroupDataTree()->BuildFromRecords(FMemTable);
        if (FMemTable->MemTableCurrentIndex() >= 0)
            FocusRecordInGroups(FMemTable->MemTableCurrentIndex(), false);
    } else {
        FDataGrouping->GroupDataTree()->FreeAllNodes();
    }
    UpdateGroupPanelHeight();
    // The first visible column's width carries the group indent.
    NotifyLayoutChanged();
    // The rows follow the tree just built (or the records, ungrouped), without building it again.
    if (HasMemTableLink())
        ResetGroupedRowCount();
    if (OnActiveGroupingStructChanged)
        OnActiveGroupingStructChanged(this);
}

void TCustomDBGridEh::FocusGroupTreeNode(TGroupDataTreeNodeEh* Node, bool Show)
{
    TGridGroupDataTreeEh* tree = FDataGrouping->GroupDataTree();
    tree->ExpandParentsOf(Node);
    // A node past the rows (none shown yet) stays on the last row.
    const int row = std::min(RowCount() - 1, tree->ShownRowIndexOf(Node) + RowsAboveData());
    if (row != Row() && row >= RowsAboveData()) {
        InvalidateRowCells(Row());
        if (!FDBOptions.Contains(dgAlwaysShowEditor) && EditorMode())
            LeaveEditorMode();
        MoveCurrentCell(std::max(Col(), FixedCols()), row, false, Show, true);
        ReloadAllEditors();
        InvalidateRowCells(row);
        SyncDataSetToGroupNode();
    }
    const TColumnEh* column = FocusedColumn();
    if (EditorMode() && column != nullptr && column->Field() != nullptr && column->ComputeEditorText() != FEditText)
        ReloadAllEditors();
}

void TCustomDBGridEh::FocusShownGroupNode(TGroupDataTreeNodeEh* Node, bool Show)
{
    TGridGroupDataTreeEh* tree = FDataGrouping->GroupDataTree();
    TBaseTreeNodeEh* shown = Node;
    if (!tree->IsNodeShown(Node, true))
        shown = tree->NearestShownAncestor(Node, true);
    if (shown != nullptr && shown != tree->Root())
        FocusGroupTreeNode(static_cast<TGroupDataTreeNodeEh*>(shown), Show);
}

void TCustomDBGridEh::FocusRecordInGroups(int RecordIndex, bool Show)
{
    TGroupDataTreeNodeEh* node = FDataGrouping->GroupDataTree()->FindDataNode(RecordIndex);
    if (node == nullptr)
        return;
    if (Show)
        FocusGroupTreeNode(node, true);
    else
        FocusShownGroupNode(node, false);
}

void TCustomDBGridEh::SyncDataSetToGroupNode()
{
    if (!FDataLink->Active() || FSyncingToGroupNode)
        return;
    TGroupDataTreeNodeEh* node = GroupNodeOfRow(Row() - RowsAboveData());
    while (node != nullptr && node->IsGroup())
        node = node->ChildNode(0);
    if (node == nullptr)
        return;
    FSyncingToGroupNode = true;
    try {
        TDataSet* data = FDataLink->DataSet();
        if (data->RecNo() <= 0)
            data->SetRecNo(node->RecNo() + 1);
        else
            data->MoveBy(node->RecNo() + 1 - data->RecNo());
    } catch (...) {
        FSyncingToGroupNode = false;
        throw;
    }
    FSyncingToGroupNode = false;
}

int TCustomDBGridEh::MoveInGroupTree(int Distance)
{
    FDataLink->UpdateRecord();
    TDataSet* data = FDataLink->DataSet();
    if (Distance != 0 && (data->State() == TDataSetState::dsEdit || data->State() == TDataSetState::dsInsert)) {
        if (data->Modified())
            data->Post();
        else
            data->Cancel();
    }
    TGridGroupDataTreeEh* tree = FDataGrouping->GroupDataTree();
    const int from = Row() - RowsAboveData();
    const int to = std::clamp(from + Distance, 0, std::max(0, tree->ShownRowCount() - 1));
    if (TGroupDataTreeNodeEh* node = tree->ShownRowNode(to)) {
        FocusGroupTreeNode(node, true);
        SyncDataSetToGroupNode();
    }
    return to - from;
}

void TCustomDBGridEh::InsertIntoCurrentGroups()
{
    TDataSet* data = FDataLink->DataSet();
    const int current = FMemTable->MemTableCurrentIndex();
    if (current >= 0)
        FDataGrouping->RememberInsertKey(FDataGrouping->RecordGroupKey(current));
    data->Insert();
    FDataGrouping->ApplyRememberedInsertKey();
}

bool TCustomDBGridEh::IsAncestorGroup(const TGroupDataTreeNodeEh* Group, const TGroupDataTreeNodeEh* Node)
{
    for (const TBaseTreeNodeEh* parent = Node->Parent(); parent != nullptr; parent = parent->Parent())
        if (parent == Group)
            return true;
    return false;
}
