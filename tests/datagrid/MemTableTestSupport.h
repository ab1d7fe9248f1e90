#pragma once
// A memory dataset that offers the grid's memory-table interface over its own records: reads any
// record on request, tells its observers of every record posted, deleted or moved, moves records
// and, in tree mode, keeps them as an outline: each record's level field gives its depth, a node's
// branch is the records after it that lie deeper, and a collapsed node hides its branch.
#include "controls/ToolCtrlsEh.h"
#include "datagrid/MemTableEh.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

class TMemTableDataSet : public TMemoryDataSet, public IMemTableEh {
public:
    explicit TMemTableDataSet(TComponent* AOwner) : TMemoryDataSet(AOwner)
    {
        FSelfSource->SetDataSet(this);
        BeforePost = [this](TDataSet*) { FPostedKind = State() == TDataSetState::dsInsert ? TMemTableChangeKindEh::mtcInserted : TMemTableChangeKindEh::mtcChanged; };
        AfterPost = [this](TDataSet*) { Notify(RecNo() - 1, FPostedKind, -1); };
        BeforeDelete = [this](TDataSet*) { FDeletedIndex = RecNo() - 1; };
        AfterDelete = [this](TDataSet*) { Notify(FDeletedIndex, TMemTableChangeKindEh::mtcDeleted, -1); };
        OnFilterRecord = [this](TDataSet*, bool& Accept) {
            if (MemTableTreeMode())
                Accept = !FHidden.contains(FieldByName(FKeyField)->AsInteger());
        };
    }
    // Closed first, so its viewers let go while the interface is whole.
    ~TMemTableDataSet() override
    {
        Close();
        FValueLists.clear();
        FSelfSource.reset();
    }

    IMemTableEh* MemTableInterface() override { return this; }
    int MemTableRecordCount() const override { return RecordCount(); }
    int MemTableCurrentIndex() const override { return RecNo() - 1; }
    // The current record is read as it stands, also while edited.
    int BeginInstantRead(int Index) override
    {
        InstantIndex = Index;
        BeginRecordRead(Index == RecNo() - 1 ? -1 : Index);
        return RecNo() - 1;
    }
    void EndInstantRead() override
    {
        InstantIndex = -1;
        EndRecordRead();
    }
    void RegisterObserver(IMemTableDataObserverEh* Observer) override { Observers.push_back(Observer); }
    void UnregisterObserver(IMemTableDataObserverEh* Observer) override { std::erase(Observers, Observer); }
    void SetViewRowCount(int Count) override { ViewRows = Count; }
    // One list per field, read over the table's own records.
    std::shared_ptr<IMemTableDataFieldValueListEh> FieldValueList(const String& FieldName) override
    {
        if (FindField(FieldName) == nullptr)
            return nullptr;
        std::shared_ptr<TDatasetFieldValueListEh>& list = FValueLists[FieldName];
        if (list == nullptr) {
            list = std::make_shared<TDatasetFieldValueListEh>();
            list->SetDataSource(FSelfSource.get());
            list->SetFieldName(FieldName);
        }
        return list;
    }

    // Tree mode over the open table: KeyField an autoincrement field (the record's id), LevelField
    // an integer field with each record's depth (1 at the top). Every node starts collapsed.
    void SetTreeMode(const String& KeyField, const String& LevelField)
    {
        FKeyField = KeyField;
        FLevelField = LevelField;
        FExpanded.clear();
        ShowExpandedNodes();
        SetFiltered(true);
    }
    void SetNodeExpanded(int Index, bool Value)
    {
        if (TreeNodeExpanded(Index) != Value)
            ToggleTreeNode(Index);
    }

    bool MemTableTreeMode() const override { return !FLevelField.isEmpty(); }
    int TreeNodeLevel(int Index) override
    {
        const int at = OutlineIndexOf(Index);
        return at < 0 ? 0 : Outline()[static_cast<std::size_t>(at)].Level;
    }
    bool TreeNodeHasChildren(int Index) override
    {
        const int at = OutlineIndexOf(Index);
        const std::vector<TNode>& outline = Outline();
        return at >= 0 && at + 1 < static_cast<int>(outline.size()) &&
               outline[static_cast<std::size_t>(at) + 1].Level > outline[static_cast<std::size_t>(at)].Level;
    }
    bool TreeNodeExpanded(int Index) override
    {
        const int at = OutlineIndexOf(Index);
        return at >= 0 && FExpanded.contains(Outline()[static_cast<std::size_t>(at)].Id);
    }
    bool TreeLevelContinues(int Index, int Level) override
    {
        const std::vector<TNode>& outline = Outline();
        const int at = OutlineIndexOf(Index);
        for (std::size_t next = static_cast<std::size_t>(at) + 1; at >= 0 && next < outline.size(); ++next)
            if (outline[next].Level <= Level)
                return outline[next].Level == Level;
        return false;
    }
    int ToggleTreeNode(int Index) override
    {
        const int at = OutlineIndexOf(Index);
        if (at < 0 || !TreeNodeHasChildren(Index))
            return MemTableCurrentIndex();
        const TRecordId node = Outline()[static_cast<std::size_t>(at)].Id;
        const std::vector<TRecordId> before = ShownIds();
        const TRecordId current = before[static_cast<std::size_t>(std::max(0, MemTableCurrentIndex()))];
        if (!FExpanded.erase(node))
            FExpanded.insert(node);
        ShowExpandedNodes();
        const std::vector<TRecordId> shown = ShownIds();
        const auto stays = std::find(shown.begin(), shown.end(), current);
        const auto target = stays != shown.end() ? stays : std::find(shown.begin(), shown.end(), node);
        return static_cast<int>(target - shown.begin());
    }
    bool MoveRecords(const std::vector<TBookmark>& Bookmarks, int ToIndex, int Level, bool CheckOnly) override
    {
        const std::vector<TRecordId> shown = ShownIds();
        if (ToIndex < 0 || ToIndex >= static_cast<int>(shown.size()) || (MemTableTreeMode() && Level < 1))
            return false;
        const int level = MemTableTreeMode() ? Level : 0;
        const TBranches branches = TakeBranches(Bookmarks, level);
        const std::vector<TNode>& outline = Outline();
        const TRecordId target = shown[static_cast<std::size_t>(ToIndex)];
        const auto targetAt = static_cast<std::size_t>(
            std::find_if(outline.begin(), outline.end(), [&](const TNode& Node) { return Node.Id == target; }) - outline.begin());
        if (branches.Moved.empty() || branches.Taken[targetAt])
            return false;
        std::vector<TNode> rest;
        for (std::size_t at = 0; at < outline.size(); ++at)
            if (!branches.Taken[at])
                rest.push_back(outline[at]);
        const TNode targetNode = outline[targetAt];
        const std::size_t place = PlaceAt(rest, targetNode, level, static_cast<int>(targetAt) > branches.First);
        const int before = place > 0 ? rest[place - 1].Level : 0;
        const int after = place < rest.size() ? rest[place].Level : 0;
        // The records around keep their parents: nothing deeper than one below the record before,
        // nothing after that would fall into the moved branches.
        if (MemTableTreeMode() && (level > before + 1 || after > level))
            return false;
        if (CheckOnly)
            return true;
        rest.insert(rest.begin() + static_cast<std::ptrdiff_t>(place), branches.Moved.begin(), branches.Moved.end());
        // Records moved into a node show there.
        if (level > targetNode.Level)
            FExpanded.insert(target);
        MoveNodes(rest, branches.Moved, shown);
        return true;
    }

    std::vector<IMemTableDataObserverEh*> Observers;
    int InstantIndex = -1;
    int ViewRows = 0;

private:
    struct TNode {
        TRecordId Id = 0;
        int Level = 0;
    };

    // The branches of the records of Bookmarks in table order, at Level in tree mode; a record
    // inside a branch already taken goes with it.
    struct TBranches {
        std::vector<bool> Taken;
        std::vector<TNode> Moved;
        int First = -1;  // the outline index of the first record taken
    };
    TBranches TakeBranches(const std::vector<TBookmark>& Bookmarks, int Level)
    {
        const std::vector<TNode>& outline = Outline();
        TBranches branches{std::vector<bool>(outline.size(), false), {}, -1};
        for (std::size_t at = 0; at < outline.size(); ++at) {
            const bool listed = std::any_of(Bookmarks.begin(), Bookmarks.end(), [&](const TBookmark& Bookmark) {
                TRecordId id = 0;
                return RecordIdOfBookmark(Bookmark, id) && id == outline[at].Id;
            });
            if (!listed || branches.Taken[at])
                continue;
            branches.First = branches.First < 0 ? static_cast<int>(at) : branches.First;
            const int shift = MemTableTreeMode() ? Level - outline[at].Level : 0;
            for (std::size_t branch = at;
                 branch < outline.size() && (branch == at || outline[branch].Level > outline[at].Level); ++branch) {
                branches.Taken[branch] = true;
                branches.Moved.push_back({outline[branch].Id, outline[branch].Level + shift});
            }
        }
        return branches;
    }

    // Where in Rest moved records at Level go for Target: into it as its first children when
    // deeper, else after its branch when they come from above it, else before it.
    static std::size_t PlaceAt(const std::vector<TNode>& Rest, TNode Target, int Level, bool FromAbove)
    {
        auto place = static_cast<std::size_t>(
            std::find_if(Rest.begin(), Rest.end(), [&](const TNode& Node) { return Node.Id == Target.Id; }) - Rest.begin());
        if (Level > Target.Level)
            return place + 1;
        if (!FromAbove)
            return place;
        for (++place; place < Rest.size() && Rest[place].Level > Target.Level; ++place) {
        }
        return place;
    }

    void Notify(int Index, TMemTableChangeKindEh Kind, int OldIndex)
    {
        FOutline.clear();
        for (IMemTableDataObserverEh* observer : std::vector<IMemTableDataObserverEh*>(Observers))
            observer->MemTableRecordChanged(this, Index, Kind, OldIndex);
    }

    int CursorFieldIndex(const String& Name) const
    {
        const std::vector<TCursorField>& fields = Cursor()->Fields();
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].Name.compare(Name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        return -1;
    }

    // Every record in table order with its depth (0 outside tree mode), read once per change.
    const std::vector<TNode>& Outline()
    {
        if (!FOutline.empty() || Cursor() == nullptr)
            return FOutline;
        const int levelField = MemTableTreeMode() ? CursorFieldIndex(FLevelField) : -1;
        for (int at = 0; at < Cursor()->RecordCount(); ++at)
            FOutline.push_back({Cursor()->IdAt(at),
                                levelField < 0 ? 0 : Cursor()->ValuesAt(at)[static_cast<std::size_t>(levelField)].AsInteger()});
        return FOutline;
    }

    std::vector<TRecordId> ShownIds()
    {
        std::vector<TRecordId> shown;
        for (const TNode& node : Outline())
            if (!FHidden.contains(node.Id))
                shown.push_back(node.Id);
        return shown;
    }

    int OutlineIndexOf(int Index)
    {
        const std::vector<TRecordId> shown = ShownIds();
        if (!MemTableTreeMode() || Index < 0 || Index >= static_cast<int>(shown.size()))
            return -1;
        const std::vector<TNode>& outline = Outline();
        const auto found = std::find_if(outline.begin(), outline.end(), [&](const TNode& Node) {
            return Node.Id == shown[static_cast<std::size_t>(Index)];
        });
        return static_cast<int>(found - outline.begin());
    }

    // Hides the branches of collapsed nodes and shows the result.
    void ShowExpandedNodes()
    {
        FOutline.clear();
        FHidden.clear();
        int hiddenBelow = 0;  // depth under which records are hidden; 0 for none
        for (const TNode& node : Outline()) {
            if (hiddenBelow > 0 && node.Level > hiddenBelow) {
                FHidden.insert(node.Id);
                continue;
            }
            hiddenBelow = FExpanded.contains(node.Id) ? 0 : node.Level;
        }
        Refresh();
    }

    // Takes the new order and the moved records' depths, then tells of each record moved.
    void MoveNodes(const std::vector<TNode>& Order, const std::vector<TNode>& Moved, const std::vector<TRecordId>& OldShown)
    {
        const int levelField = MemTableTreeMode() ? CursorFieldIndex(FLevelField) : -1;
        for (const TNode& node : Moved)
            if (levelField >= 0)
                Cursor()->Update(node.Id, {{levelField, Variant(node.Level)}});
        std::vector<TRecordId> ids;
        for (const TNode& node : Order)
            ids.push_back(node.Id);
        FOutline.clear();
        ArrangeRecords(ids);
        if (MemTableTreeMode())
            ShowExpandedNodes();
        const std::vector<TRecordId> shown = ShownIds();
        for (const TNode& node : Moved) {
            const auto now = std::find(shown.begin(), shown.end(), node.Id);
            const auto before = std::find(OldShown.begin(), OldShown.end(), node.Id);
            if (now != shown.end())
                Notify(static_cast<int>(now - shown.begin()), TMemTableChangeKindEh::mtcMoved,
                       before == OldShown.end() ? -1 : static_cast<int>(before - OldShown.begin()));
        }
    }

    String FKeyField;
    String FLevelField;
    std::set<TRecordId> FExpanded;
    std::set<TRecordId> FHidden;
    std::vector<TNode> FOutline;

    TMemTableChangeKindEh FPostedKind = TMemTableChangeKindEh::mtcChanged;
    int FDeletedIndex = -1;
    std::unique_ptr<TDataSource> FSelfSource = std::make_unique<TDataSource>(nullptr);
    std::map<String, std::shared_ptr<TDatasetFieldValueListEh>> FValueLists;
};
