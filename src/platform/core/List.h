#pragma once
// TList: the platform's ordered list of pointers. It never owns what it holds; TListOf<T>
// is the same list for callers that know the type they store.
#include "platform/core/Object.h"

#include <functional>
#include <vector>

// <0, 0, >0 as Item1 sorts before, with, after Item2.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
public:
    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Removes the first occurrence of Item; returns its former index, or -1 when absent.
    int Remove(const void* Item);
    // Removes Item and returns it, or returns nullptr when it is absent.
    void* Extract(void* Item);
    int IndexOf(const void* Item) const;
    // Empties the list and releases its storage.
    void Clear();
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    // Orders the items by Compare; items that compare equal keep their order.
    void Sort(const TListSortCompare& Compare);

    int Count() const { return static_cast<int>(FItems.size()); }
    int Capacity() const { return static_cast<int>(FItems.capacity()); }
    void SetCapacity(int Value);
    void* Items(int Index) const;
    void SetItems(int Index, void* Item);
    void* operator[](int Index) const { return Items(Index); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

private:
    void CheckIndex(int Index) const;

    std::vector<void*> FItems;
};

template <class T>
class TListOf : public TList {
public:
    int Add(T* Item) { return TList::Add(Item); }
    void Insert(int Index, T* Item) { TList::Insert(Index, Item); }
    int Remove(const T* Item) { return TList::Remove(Item); }
    T* Extract(T* Item) { return static_cast<T*>(TList::Extract(Item)); }
    int IndexOf(const T* Item) const { return TList::IndexOf(Item); }
    void Sort(const std::function<int(T* Item1, T* Item2)>& Compare)
    {
        TList::Sort([&Compare](void* Item1, void* Item2) {
            return Compare(static_cast<T*>(Item1), static_cast<T*>(Item2));
        });
    }

    T* Items(int Index) const { return static_cast<T*>(TList::Items(Index)); }
    void SetItems(int Index, T* Item) { TList::SetItems(Index, Item); }
    T* operator[](int Index) const { return Items(Index); }
    T* First() const { return Items(0); }
    T* Last() const { return Items(Count() - 1); }
};
