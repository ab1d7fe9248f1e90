#pragma once
// TStringList: the platform's own string list. It keeps its texts in memory, can keep them
// sorted (binary search, insertion at the sorted place), reports changes through OnChanging and
// OnChange, and may own the objects stored with its texts.
#include "platform/core/Strings.h"

#include <functional>
#include <vector>

// What a sorted list does with a text it already holds.
enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// <0, 0, >0 as the item at Index1 sorts before, with, after the item at Index2.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
    ~TStringList() override;

    int Count() const override { return static_cast<int>(FList.size()); }
    String Strings(int Index) const override;
    void SetStrings(int Index, const String& S) override;
    TObject* Objects(int Index) const override;
    // Stores Object with the text; a previous object is not freed, even when owned.
    void SetObjects(int Index, TObject* Object) override;

    // On a sorted list, adds at the sorted place and applies Duplicates.
    int Add(const String& S) override;
    int AddObject(const String& S, TObject* Object) override;
    void Insert(int Index, const String& S) override;
    void InsertObject(int Index, const String& S, TObject* Object) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;

    int IndexOf(const String& S) const override;
    // Binary search, for sorted lists: true when S is present, Index then being its first
    // position; otherwise Index is where S belongs.
    bool Find(const String& S, int& Index) const;
    // Both leave a sorted list alone: it is in order already.
    void Sort();
    void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    int CompareStrings(const String& S1, const String& S2) const override;
    void SetUpdateState(bool Updating) override;
    // Fire OnChange / OnChanging, unless inside BeginUpdate/EndUpdate.
    virtual void Changed();
    virtual void Changing();
    const char* ClassName() const override { return "TStringList"; }

private:
    struct TStringItem {
        String FString;
        TObject* FObject = nullptr;
    };

    static int CompareItems(TStringList* List, int Index1, int Index2);
    void CheckIndex(int Index) const;
    void InsertItem(int Index, const String& S, TObject* Object);
    void SortItems(const TStringListSortCompare& Compare);

    std::vector<TStringItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = TDuplicates::dupIgnore;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
};
