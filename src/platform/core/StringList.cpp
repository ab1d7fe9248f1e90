// TStringList's storage: texts with their objects, sorted search, change events and owned objects.
#include "platform/core/StringList.h"

#include "platform/core/Collation.h"
#include "platform/core/Exceptions.h"

#include <algorithm>
#include <numeric>

namespace {

[[noreturn]] void IndexError(int Index)
{
    throw EStringListError(QStringLiteral("列表索引越界 (%1)").arg(Index));
}

[[noreturn]] void SortedListError()
{
    throw EStringListError(QStringLiteral("已排序的列表不允许此操作"));
}

}  // namespace

TStringList::~TStringList()
{
    if (FOwnsObjects)
        for (const TStringItem& item : FList)
            delete item.FObject;
}

String TStringList::Strings(int Index) const
{
    CheckIndex(Index);
    return FList[Index].FString;
}

void TStringList::SetStrings(int Index, const String& S)
{
    if (FSorted)
        SortedListError();
    CheckIndex(Index);
    Changing();
    FList[Index].FString = S;
    Changed();
}

TObject* TStringList::Objects(int Index) const
{
    CheckIndex(Index);
    return FList[Index].FObject;
}

void TStringList::SetObjects(int Index, TObject* Object)
{
    CheckIndex(Index);
    Changing();
    FList[Index].FObject = Object;
    Changed();
}

int TStringList::Add(const String& S)
{
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const String& S, TObject* Object)
{
    int index = Count();
    if (FSorted && Find(S, index)) {
        if (FDuplicates == TDuplicates::dupIgnore)
            return index;
        if (FDuplicates == TDuplicates::dupError)
            throw EStringListError(QStringLiteral("字符串列表不允许重复项"));
    }
    InsertItem(index, S, Object);
    return index;
}

void TStringList::Insert(int Index, const String& S)
{
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const String& S, TObject* Object)
{
    if (FSorted)
        SortedListError();
    if (Index < 0 || Index > Count())
        IndexError(Index);
    InsertItem(Index, S, Object);
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    TObject* object = FOwnsObjects ? FList[Index].FObject : nullptr;
    FList.erase(FList.begin() + Index);
    delete object;
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty())
        return;
    Changing();
    std::vector<TStringItem> items;
    items.swap(FList);
    if (FOwnsObjects)
        for (const TStringItem& item : items)
            delete item.FObject;
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[Index1], FList[Index2]);
    Changed();
}

// Moves the item itself: deleting and re-inserting it would free an owned object.
void TStringList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    if (FSorted)
        SortedListError();
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    Changing();
    TStringItem item = std::move(FList[CurIndex]);
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, std::move(item));
    Changed();
}

int TStringList::IndexOf(const String& S) const
{
    if (!FSorted)
        return TStrings::IndexOf(S);
    int index = -1;
    return Find(S, index) ? index : -1;
}

bool TStringList::Find(const String& S, int& Index) const
{
    const auto found = std::lower_bound(FList.begin(), FList.end(), S,
                                        [this](const TStringItem& item, const String& text) {
                                            return CompareStrings(item.FString, text) < 0;
                                        });
    Index = static_cast<int>(found - FList.begin());
    return found != FList.end() && CompareStrings(found->FString, S) == 0;
}

void TStringList::Sort()
{
    CustomSort(CompareItems);
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (!FSorted)
        SortItems(Compare);
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value)
        return;
    if (Value)
        Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (FCaseSensitive == Value)
        return;
    FCaseSensitive = Value;
    if (FSorted)
        SortItems(CompareItems);
}

int TStringList::CompareStrings(const String& S1, const String& S2) const
{
    return CollateCompare(S1, S2, FCaseSensitive ? TCaseSensitivity::Sensitive : TCaseSensitivity::Insensitive);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

int TStringList::CompareItems(TStringList* List, int Index1, int Index2)
{
    return List->CompareStrings(List->FList[Index1].FString, List->FList[Index2].FString);
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        IndexError(Index);
}

void TStringList::InsertItem(int Index, const String& S, TObject* Object)
{
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{S, Object});
    Changed();
}

// Compare reads the items at their places before sorting, so the order is worked out on
// indexes and applied once at the end.
void TStringList::SortItems(const TStringListSortCompare& Compare)
{
    if (FList.size() < 2)
        return;
    Changing();
    std::vector<int> order(FList.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this, &Compare](int Index1, int Index2) { return Compare(this, Index1, Index2) < 0; });
    std::vector<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (const int index : order)
        sorted.push_back(std::move(FList[index]));
    FList = std::move(sorted);
    Changed();
}
