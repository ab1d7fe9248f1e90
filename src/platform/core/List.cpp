// TList's operations on its pointers, raising EListError for indexes out of range.
#include "platform/core/List.h"

#include "platform/core/Exceptions.h"

#include <algorithm>

namespace {

[[noreturn]] void ListError(const char* Format, int Value)
{
    throw EListError(QString::fromUtf8(Format).arg(Value));
}

}  // namespace

int TList::Add(void* Item)
{
    FItems.push_back(Item);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item)
{
    if (Index < 0 || Index > Count())
        ListError("列表索引越界 (%1)", Index);
    FItems.insert(FItems.begin() + Index, Item);
}

void TList::Delete(int Index)
{
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
}

int TList::Remove(const void* Item)
{
    const int index = IndexOf(Item);
    if (index >= 0)
        Delete(index);
    return index;
}

void* TList::Extract(void* Item)
{
    return Remove(Item) >= 0 ? Item : nullptr;
}

int TList::IndexOf(const void* Item) const
{
    const auto found = std::find(FItems.begin(), FItems.end(), Item);
    return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TList::Clear()
{
    FItems = std::vector<void*>();
}

void TList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[Index1], FItems[Index2]);
}

void TList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    const auto current = FItems.begin() + CurIndex;
    const auto target = FItems.begin() + NewIndex;
    if (CurIndex < NewIndex)
        std::rotate(current, current + 1, target + 1);
    else
        std::rotate(target, current, current + 1);
}

void TList::Sort(const TListSortCompare& Compare)
{
    std::stable_sort(FItems.begin(), FItems.end(),
                     [&Compare](void* Item1, void* Item2) { return Compare(Item1, Item2) < 0; });
}

void TList::SetCapacity(int Value)
{
    if (Value < Count())
        ListError("列表容量越界 (%1)", Value);
    if (Value >= Capacity()) {
        FItems.reserve(Value);
        return;
    }
    std::vector<void*> items;
    items.reserve(Value);
    items.assign(FItems.begin(), FItems.end());
    FItems.swap(items);
}

void* TList::Items(int Index) const
{
    CheckIndex(Index);
    return FItems[Index];
}

void TList::SetItems(int Index, void* Item)
{
    CheckIndex(Index);
    FItems[Index] = Item;
}

void TList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        ListError("列表索引越界 (%1)", Index);
}
