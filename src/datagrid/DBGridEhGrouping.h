#pragma once
// DBGridEhGrouping: the model of the grid's grouping of records by column values: the settings
// with their levels, the group tree of group and record nodes built on the in-memory tree, and
// the flat list of the rows shown (group rows and the records under expanded groups).
//
// Records are read through the dataset's memory-table interface. The grid's side (painting,
// the group panel, keeping the tree in step) is DBGridEhGroups*.cpp.
//
// Where the operations live:
//   DBGridEhGroupingLevels.cpp  the settings, the level collection and its levels, group keys
//   DBGridEhGroupingTree.cpp    the group tree: building, record changes, levels, shown rows
//
// Depths: active level I holds its groups at tree level I + 1; record nodes sit one deeper than
// the last active level.
#include "controls/MemTreeEh.h"
#include "platform/core/Collection.h"
#include "platform/core/Variant.h"
#include "platform/ui/Graphics.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class IMemTableEh;
class TColumnEh;
class TGridDataGroupLevelEh;
class TGridDataGroupsEh;
class TGridGroupDataTreeEh;
class TGroupDataTreeNodeEh;

enum class TSortOrderEh { soAscEh, soDescEh };

// What the grouping model asks of the grid that shows it.
class IGridDataGroupsHostEh {
public:
    virtual ~IGridDataGroupsHostEh() = default;
    // The dataset's memory table; nullptr when it offers none.
    virtual IMemTableEh* GroupingMemTable() = 0;
    virtual TFont* GroupingParentFont() = 0;
    virtual TColor GroupingParentColor() = 0;
    // The height of a group row, and of the record row whose record the memory table reads now.
    virtual int GroupNodeRowHeight(TGroupDataTreeNodeEh* Node) = 0;
    virtual int GroupedRecordRowHeight() = 0;
    // The shown rows were rebuilt.
    virtual void GroupedRowsChanged() = 0;
    // The shown row Index of an unmoved record may need another height.
    virtual void GroupedRowChanged(int Index) = 0;
    // Colours or fonts changed: a repaint.
    virtual void GroupingLookChanged() = 0;
    // The levels changed: the grid's layout follows.
    virtual void GroupLevelsChanged() = 0;
};

class TGroupDataTreeNodeEh : public TBaseTreeNodeEh {
public:
    TGridDataGroupLevelEh* DataGroupLevel() const { return FDataGroupLevel; }
    bool IsGroup() const { return FIsGroup; }
    // A record node's record number, 0-based in the memory table.
    int RecNo() const { return FRecNo; }
    // A record node's group key: the level values, then its record number.
    const Variant& Key() const { return FKey; }
    // What insertion compares: the level's value of a group, the record number of a record.
    const Variant& Value() const { return FValue; }
    TGroupDataTreeNodeEh* ParentNode() const { return static_cast<TGroupDataTreeNodeEh*>(Parent()); }
    TGroupDataTreeNodeEh* ChildNode(int Index) const { return static_cast<TGroupDataTreeNodeEh*>(GetChild(Index)); }

    // Recomputed first when stale.
    int RowHeight();
    void MarkHeightStale() { FHeightStale = true; }
    void RecalcRowHeight();

private:
    friend class TGridGroupDataTreeEh;

    void MakeGroup(TGridDataGroupLevelEh* Level, const Variant& Value, bool Expanded);
    void MakeRecord(int RecNo, const Variant& Key);
    void Renumber(int RecNo);

    TGridDataGroupLevelEh* FDataGroupLevel = nullptr;
    int FRecNo = -1;
    Variant FKey;
    bool FIsGroup = false;
    Variant FValue;
    int FRowHeight = 0;
    bool FHeightStale = true;
    // Its row at the last rebuild of the shown rows.
    int FShownRow = -1;
};

class TGridGroupDataTreeEh : public TTreeListEh {
public:
    explicit TGridGroupDataTreeEh(TGridDataGroupsEh* DataGroups);

    TGridDataGroupsEh* DataGroups() const { return FDataGroups; }

    // The shown rows: groups and the records under expanded groups, depth-first.
    int ShownRowCount() const { return static_cast<int>(FShownRows.size()); }
    TGroupDataTreeNodeEh* ShownRowNode(int Index) const;
    // -1 when Node is not shown.
    int ShownRowIndexOf(const TGroupDataTreeNodeEh* Node) const;
    // The first shown record node of RecNo; -1 when none.
    int ShownRowOfRecord(int RecNo) const;
    void RebuildShownRows();

    // Expansion changes inside the bracket rebuild the shown rows once, at its end.
    void BeginTreeUpdate() { ++FUpdateCount; }
    void EndTreeUpdate();

    // The first record node of RecNo, depth-first; nullptr when none. Looked up in a map by
    // record number, made again after nodes were removed or renumbered.
    TGroupDataTreeNodeEh* FindDataNode(int RecNo) const;
    void RecalcAllRowHeights();

    // Where V goes among Parent's children, kept ordered by Value in SortOrder: Mode 2 with a
    // child = that group exists (no child: append), Mode 4 = before the child, Mode 0 = after
    // the last child.
    struct TChildPlace {
        TGroupDataTreeNodeEh* Node = nullptr;
        int Mode = namAddLastChild;
    };
    TChildPlace FindChildPlace(TBaseTreeNodeEh* Parent, const Variant& V, TSortOrderEh SortOrder) const;
    // Places a record node by Key, creating the groups it needs; answers it.
    TGroupDataTreeNodeEh* InsertRecordKey(const Variant& Key);
    // The whole tree again from the memory table's records; groups whose level is unchanged
    // keep their expanded state.
    void BuildFromRecords(IMemTableEh* Source);

    // The memory table's record notifications.
    void RecordChanged(int RecNo);
    void RecordDeleted(int RecNo);
    // A posted record: its groups are expanded, so the user sees it.
    void RecordInserted(int RecNo);

    // Tree levels (active level I + 1).
    void CollapseLevel(int Level);
    void ExpandLevel(int Level);
    // The children of every node at tree level Level.
    void SortLevel(int Level, TSortOrderEh SortOrder);
    // Frees the group nodes from tree level Depth down; Depth 1 or less frees every node.
    void DropLevelsFrom(int Depth);
    // Expands every group above Node.
    void ExpandParentsOf(TGroupDataTreeNodeEh* Node);

    void ExpandedChanged(TBaseTreeNodeEh* Node) override;

protected:
    void NodesRemoved() override;

private:
    TGroupDataTreeNodeEh* NextNode(TBaseTreeNodeEh* Node) const;
    // Every node at tree level Level, depth-first.
    std::vector<TGroupDataTreeNodeEh*> NodesAtLevel(int Level) const;
    void RemoveStaleNodes();
    void RemoveEmptyGroups();
    // Frees Node and every group above it left empty.
    void RemoveDataNode(TGroupDataTreeNodeEh* Node);
    void RegroupDataNode(TGroupDataTreeNodeEh* Node, const Variant& Key);
    // Record numbers from From on move by Delta.
    void RenumberRecords(int From, int Delta);
    // A record node for RecNo with Key, read while the memory table reads RecNo.
    TGroupDataTreeNodeEh* AddRecordNode(int RecNo, const Variant& Key);
    void IndexRecordNodes() const;
    void IndexRecordNode(TGroupDataTreeNodeEh* Node) const;

    // While the tree is built from all records: the group of each value met so far, by parent
    // and exact value, so a record finds its groups without comparing texts by collation. An
    // identical value always falls into the same group.
    class TKnownGroups {
    public:
        void Start();
        void Stop();
        // nullptr when not building, or for a value not met or not told exactly.
        TGroupDataTreeNodeEh* Find(const TBaseTreeNodeEh* Parent, const Variant& Value) const;
        void Remember(const TBaseTreeNodeEh* Parent, const Variant& Value, TGroupDataTreeNodeEh* Group);

    private:
        struct TKey {
            const TBaseTreeNodeEh* Parent;
            TVarType Type;
            String Text;
            bool operator==(const TKey&) const = default;
        };
        struct THash {
            std::size_t operator()(const TKey& Key) const;
        };
        std::unordered_map<TKey, TGroupDataTreeNodeEh*, THash> FGroups;
        bool FOn = false;
    };

    TGridDataGroupsEh* FDataGroups;
    std::vector<TGroupDataTreeNodeEh*> FShownRows;
    int FUpdateCount = 0;
    TKnownGroups FKnownGroups;
    // Record number -> its node, while valid.
    mutable std::vector<TGroupDataTreeNodeEh*> FRecordNodes;
    mutable bool FRecordNodesValid = false;
};

class TGridDataGroupLevelsEh : public TCollection {
public:
    TGridDataGroupLevelsEh(TGridDataGroupsEh* DataGroups, TCollectionItemClass ItemClass);

    TGridDataGroupsEh* DataGroups() const { return FDataGroups; }
    TGridDataGroupLevelEh* AddLevel();
    TGridDataGroupLevelEh* LevelAt(int Index) const;
    IGridDataGroupsHostEh* OwnerGrid() const;
    void LevelSortOrderChanged(TGridDataGroupLevelEh* Level);

protected:
    void Update(TCollectionItem* Item) override;
    TPersistent* GetOwner() override;

private:
    TGridDataGroupsEh* FDataGroups;
};

class TGridDataGroupLevelEh : public TCollectionItem {
public:
    explicit TGridDataGroupLevelEh(TCollection* Collection);
    ~TGridDataGroupLevelEh() override;

    TGridDataGroupsEh* DataGroups() const;
    TColumnEh* Column() const { return FColumn; }
    // Nothing when unchanged; else the collection hears of it (active levels are checked).
    void ChangeColumn(TColumnEh* Value);
    TSortOrderEh SortOrder() const { return FSortOrder; }
    void SetSortOrder(TSortOrderEh Value);
    TColor Color() const;
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    // The groups' font with ParentFont, else the own.
    TFont* Font();
    void SetFont(TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    // Replaces the field's value as the record's key value.
    std::function<void(TGridDataGroupLevelEh* Level, Variant& Value)> KeyValueHandler;

    // The key value of the record the memory table reads: the handler's, else the column's
    // field value when its dataset is open, else Value as it is.
    virtual void GetKeyValue(Variant& Value);
    // The key value as text; empty here.
    virtual String KeyValueText(TGroupDataTreeNodeEh* Node);
    virtual void LookChanged();
    // Its index among the active levels; -1 when inactive.
    int ActiveIndex() const;
    void CollapseAllGroups();
    void ExpandAllGroups();

    void Assign(TPersistent* Source) override;

protected:
    const char* ClassName() const override { return "TGridDataGroupLevelEh"; }

private:
    TColumnEh* FColumn = nullptr;
    TSortOrderEh FSortOrder = TSortOrderEh::soAscEh;
    TColor FColor = clWindow;
    bool FParentColor = true;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    bool FParentFont = true;
};

class TGridDataGroupsEh : public TPersistent {
public:
    explicit TGridDataGroupsEh(IGridDataGroupsHostEh* Grid);
    ~TGridDataGroupsEh() override;
    // Makes the level collection; a descendant's levels come from its own CreateGroupLevels.
    void Initialize();

    IGridDataGroupsHostEh* Grid() const { return FGrid; }
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool GroupPanelVisible() const { return FGroupPanelVisible; }
    void SetGroupPanelVisible(bool Value);
    bool DefaultStateExpanded() const { return FDefaultStateExpanded; }
    void SetDefaultStateExpanded(bool Value) { FDefaultStateExpanded = Value; }
    TColor Color() const;
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* Font();
    void SetFont(TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TGridDataGroupLevelsEh* GroupLevels() const { return FGroupLevels.get(); }
    TGridGroupDataTreeEh* GroupDataTree() const { return FGroupDataTree.get(); }

    // The levels with a column, in collection order, and their columns.
    TGridDataGroupLevelEh* ActiveLevel(int Index) const { return FActiveLevels[static_cast<std::size_t>(Index)]; }
    int ActiveLevelCount() const { return static_cast<int>(FActiveLevels.size()); }
    TColumnEh* ActiveColumn(int Index) const { return FActiveColumns[static_cast<std::size_t>(Index)]; }
    // After a level update: when the active levels changed, the groups from the first changed
    // depth down are dropped and the levels rebuilt.
    void CheckActiveLevels();
    // Grouping is in effect: Active here.
    virtual bool IsGroupingActive() const { return FActive; }

    // RecNo's group key: the active levels' values, then RecNo.
    Variant RecordGroupKey(int RecNo);
    // The key of the record an insert starts on; applied to the new record's grouped fields
    // while the dataset inserts, so the record is posted into that record's groups.
    void RememberInsertKey(const Variant& Key) { FInsertKey = Key; }
    void ApplyRememberedInsertKey();

    void Assign(TPersistent* Source) override;

protected:
    virtual std::unique_ptr<TGridDataGroupLevelsEh> CreateGroupLevels();
    virtual void ActiveChanged() {}
    virtual void StructureChanged() {}
    virtual void LookChanged();
    virtual void RebuildActiveLevels();
    virtual void SortLevelNodes(int LevelNo, TSortOrderEh SortOrder);
    // The grouping panel's height or contents changed.
    virtual void GroupPanelChanged() {}
    const char* ClassName() const override { return "TGridDataGroupsEh"; }

private:
    friend class TGridDataGroupLevelsEh;
    friend class TGridDataGroupLevelEh;

    IGridDataGroupsHostEh* FGrid;
    bool FActive = false;
    bool FGroupPanelVisible = false;
    bool FDefaultStateExpanded = false;
    TColor FColor = clWindow;
    bool FParentColor = true;
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    bool FParentFont = true;
    std::unique_ptr<TGridDataGroupLevelsEh> FGroupLevels;
    std::unique_ptr<TGridGroupDataTreeEh> FGroupDataTree;
    std::vector<TGridDataGroupLevelEh*> FActiveLevels;
    std::vector<TColumnEh*> FActiveColumns;
    Variant FInsertKey;
    bool FDestroying = false;
};

// Positions the memory table's reading on a record for the scope, when it reads another.
class TMemTableReadScopeEh {
public:
    TMemTableReadScopeEh(IMemTableEh* Table, int RecNo);
    ~TMemTableReadScopeEh();
    TMemTableReadScopeEh(const TMemTableReadScopeEh&) = delete;
    TMemTableReadScopeEh& operator=(const TMemTableReadScopeEh&) = delete;

private:
    IMemTableEh* FTable = nullptr;
};
