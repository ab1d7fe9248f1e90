#pragma once
// The data grid's grouping: its levels named by column, with their key and text events, and the
// groups object that shows the group tree in the grid's rows and group panel.
#include "datagrid/DBGridEhGrouping.h"

#include <functional>

class TCustomDBGridEh;
class TDBGridEhDataGroupLevelEh;

using TGroupLevelGetKeyValueEventEh =
    std::function<void(TCustomDBGridEh* Sender, TDBGridEhDataGroupLevelEh* GroupLevel, Variant& KeyValue)>;
using TGroupLevelGetKeyValueAsTextEventEh = std::function<void(
    TCustomDBGridEh* Sender, TGroupDataTreeNodeEh* GroupDataTreeNode, const Variant& KeyValue, String& KeyValueAsText)>;
using TGroupGetRowTextEventEh =
    std::function<void(TCustomDBGridEh* Sender, TGroupDataTreeNodeEh* GroupDataTreeNode, String& GroupRowText)>;

class TDBGridEhDataGroupLevelEh : public TGridDataGroupLevelEh {
public:
    using TGridDataGroupLevelEh::TGridDataGroupLevelEh;

    TCustomDBGridEh* Grid() const;
    TColumnEh* GroupColumn() const { return Column(); }
    // The grouped column's name; set while the grid loads it is only kept until ResolveColumnNames.
    const String& ColumnName() const { return FColumnName; }
    void SetColumnName(const String& Value);
    void ResolveColumnName();

    TGroupLevelGetKeyValueEventEh OnGetKeyValue;
    TGroupLevelGetKeyValueAsTextEventEh OnGetKeyValueAsText;
    TGroupGetRowTextEventEh OnGetGroupRowText;

    void GetKeyValue(Variant& Value) override;
    String KeyValueText(TGroupDataTreeNodeEh* Node) override;
    // Caption ": " key text " (" child count ")", then the grid's and the level's events.
    virtual String GetGroupRowText(TGroupDataTreeNodeEh* Node);

protected:
    const char* ClassName() const override { return "TDBGridEhDataGroupLevelEh"; }

private:
    String FColumnName;
};

class TDBGridEhDataGroupsEh : public TGridDataGroupsEh, private IGridDataGroupsHostEh {
public:
    explicit TDBGridEhDataGroupsEh(TCustomDBGridEh* Grid);

    TCustomDBGridEh* OwningGrid() const { return FOwningGrid; }
    TDBGridEhDataGroupLevelEh* GroupLevel(int Index) const;
    TDBGridEhDataGroupLevelEh* ActiveGroupLevel(int Index) const;
    // Active, a memory table behind an active link, and a level with a column.
    bool IsGroupingActive() const override;
    void ResolveColumnNames();

protected:
    std::unique_ptr<TGridDataGroupLevelsEh> CreateGroupLevels() override;
    void ActiveChanged() override;
    void StructureChanged() override;
    void RebuildActiveLevels() override;
    void SortLevelNodes(int LevelNo, TSortOrderEh SortOrder) override;
    void GroupPanelChanged() override;
    const char* ClassName() const override { return "TDBGridEhDataGroupsEh"; }

private:
    IMemTableEh* GroupingMemTable() override;
    TFont* GroupingParentFont() override;
    TColor GroupingParentColor() override;
    int GroupNodeRowHeight(TGroupDataTreeNodeEh* Node) override;
    int GroupedRecordRowHeight() override;
    void GroupedRowsChanged() override;
    void GroupedRowChanged(int Index) override;
    void GroupingLookChanged() override;
    void GroupLevelsChanged() override;

    TCustomDBGridEh* FOwningGrid;
};
