#pragma once
// The quicksort the library's lists share: Hoare's partition around the middle item, the left
// part recursing and the right part looping. Callers that show the order of equal items (group
// rows, selected records) depend on this exact sequence of exchanges, so it is not replaced by
// std::sort, which also needs a strict weak order the callers' comparisons may not give.
#include <utility>

// Sorts positions L..R. CompareAt(I, P) compares the item at I with the one at P, the pivot's
// current position; Exchange(I, J) swaps two items. The scans stop at the range's ends, so a
// comparison that is not consistent (an item "less than" itself) cannot run past them.
template <class TCompareAt, class TExchange>
void QuickSortEh(int L, int R, TCompareAt&& CompareAt, TExchange&& Exchange)
{
    int I = L;
    do {
        I = L;
        int J = R;
        int P = (L + R) / 2;
        do {
            while (I < R && CompareAt(I, P) < 0)
                ++I;
            while (J > L && CompareAt(J, P) > 0)
                --J;
            if (I <= J) {
                if (I != J) {
                    Exchange(I, J);
                    if (P == I)
                        P = J;
                    else if (P == J)
                        P = I;
                }
                ++I;
                --J;
            }
        } while (I <= J);
        if (L < J)
            QuickSortEh(L, J, CompareAt, Exchange);
        L = I;
    } while (I < R);
}
