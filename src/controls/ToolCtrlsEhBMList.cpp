// TBMListEh: the list of record bookmarks in the dataset's bookmark order.
#include "controls/ToolCtrlsEh.h"

#include "controls/QuickSortEh.h"
#include "controls/VoDorVCL.h"
#include "platform/core/Exceptions.h"
#include "platform/data/DataSet.h"
#include "platform/data/DatabaseError.h"

#include <algorithm>
#include <cassert>

TBMListEh::TBMListEh() = default;

TBMListEh::~TBMListEh() = default;

void TBMListEh::RaiseListError(const String& Message) { throw Exception(Message); }

void TBMListEh::ListError(const String& Message)
{
    RaiseListError(Message);
    // A descendant that returned instead of raising still must not go on.
    throw Exception(Message);
}

void TBMListEh::StringsChanged()
{
    FCacheBookmark.clear();
    FCacheIndex = -1;
}

void TBMListEh::Changed()
{
    // One entry or none is in any order.
    if (FItems.size() < 2)
        FInBookmarkOrder = true;
    StringsChanged();
}

void TBMListEh::InsertAt(int Index, const TBookmark& Bookmark)
{
    if (Index < 0 || Index > ItemCount())
        ListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.insert(FItems.begin() + Index, Bookmark);
    Changed();
}

void TBMListEh::DeleteAt(int Index)
{
    if (Index < 0 || Index >= ItemCount())
        ListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TBMListEh::AppendBookmark(const TBookmark& Bookmark)
{
    FItems.push_back(Bookmark);
    Changed();
}

int TBMListEh::CompareItems(const TBookmark& A, const TBookmark& B)
{
    const TDataSet* DataSet = GetDataSet();
    if (DataSet == nullptr)
        ListError(DBConsts::SDataSetClosed);
    return CompareBookmarkStrings(DataSet, A, B);
}

bool TBMListEh::FindBookmark(const TBookmark& Bookmark, int& Index)
{
    if (FCacheIndex >= 0 && Bookmark == FCacheBookmark) {
        Index = FCacheIndex;
        return FCacheFound;
    }
    bool Found = false;
    int L = 0;
    if (FInBookmarkOrder) {
        int H = ItemCount() - 1;
        while (L <= H) {
            const int I = (L + H) / 2;
            const int Cmp = CompareItems(FItems[static_cast<std::size_t>(I)], Bookmark);
            if (Cmp < 0) {
                L = I + 1;
            } else {
                H = I - 1;
                if (Cmp == 0) {
                    Found = true;
                    L = I;
                }
            }
        }
    } else {
        // Bookmarks are canonical: one record, one byte string.
        const auto It = std::find(FItems.begin(), FItems.end(), Bookmark);
        Found = It != FItems.end();
        L = static_cast<int>(It - FItems.begin());
    }
    AssertOrderAround(L);
    FCacheBookmark = Bookmark;
    FCacheIndex = L;
    FCacheFound = Found;
    Index = L;
    return Found;
}

int TBMListEh::IndexOfBookmark(const TBookmark& Bookmark)
{
    int Index = -1;
    return FindBookmark(Bookmark, Index) ? Index : -1;
}

TBookmark TBMListEh::CurrentBookmark()
{
    const TDataSet* DataSet = GetDataSet();
    if (!FLinkActive || DataSet == nullptr)
        ListError(DBConsts::SDataSetClosed);
    return DataSet->Bookmark();
}

bool TBMListEh::IsCurrentRowSelected()
{
    const TBookmark Bookmark = CurrentBookmark();
    int Index = -1;
    return !Bookmark.isEmpty() && FindBookmark(Bookmark, Index);
}

void TBMListEh::SetCurrentRowSelected(bool Value)
{
    const TBookmark Bookmark = CurrentBookmark();
    if (Bookmark.isEmpty())
        return;
    if (Value && !FInBookmarkOrder)
        RestoreBookmarkOrder();
    int Index = -1;
    if (FindBookmark(Bookmark, Index) == Value)
        return;
    if (Value) {
        InsertAt(Index, Bookmark);
        AssertOrderAround(Index);
    } else {
        DeleteAt(Index);
    }
}

void TBMListEh::AssertOrderAround([[maybe_unused]] int Index)
{
#ifndef NDEBUG
    // The binary search is right only while every entry sorts before the next.
    if (!FInBookmarkOrder || GetDataSet() == nullptr)
        return;
    const auto inOrder = [this](int I) {
        return I < 0 || I + 1 >= ItemCount() ||
               CompareItems(FItems[static_cast<std::size_t>(I)], FItems[static_cast<std::size_t>(I + 1)]) < 0;
    };
    assert(inOrder(Index - 1) && inOrder(Index));
#endif
}

void TBMListEh::RestoreBookmarkOrder()
{
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const TBookmark& A, const TBookmark& B) { return CompareItems(A, B) < 0; });
    FInBookmarkOrder = true;
    Changed();
}

void TBMListEh::SetLinkActive(bool Value)
{
    RemoveAll();
    SelectionChanged();
    FLinkActive = Value;
}

void TBMListEh::RemoveAll()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
    SelectionChanged();
    InvalidateView();
}

void TBMListEh::SortWith(const TBMListSortCompareEh& Compare)
{
    if (ItemCount() <= 1)
        return;
    FInBookmarkOrder = false;
    try {
        QuickSortEh(
            0, ItemCount() - 1, [&](int I, int P) { return Compare(this, I, P); },
            [this](int I, int J) { std::swap(FItems[static_cast<std::size_t>(I)], FItems[static_cast<std::size_t>(J)]); });
    } catch (...) {
        Changed();
        throw;
    }
    Changed();
}

void TBMListEh::DeleteListedRecords()
{
    TDataSet* DataSet = GetDataSet();
    if (DataSet == nullptr || !DataSet->Active())
        ListError(DBConsts::SDataSetClosed);
    DataSet->DisableControls();
    try {
        // From the last entry, so the indexes still to come stay valid.
        for (int I = ItemCount() - 1; I >= 0; --I) {
            const TBookmark Bookmark = FItems[static_cast<std::size_t>(I)];
            // A record deleted elsewhere since it was listed must not take another one with it.
            if (DataSet->BookmarkValid(Bookmark)) {
                DataSet->SetBookmark(Bookmark);
                DataSet->Delete();
            }
            DeleteAt(I);
        }
    } catch (...) {
        DataSet->EnableControls();
        throw;
    }
    DataSet->EnableControls();
    SelectionChanged();
}
