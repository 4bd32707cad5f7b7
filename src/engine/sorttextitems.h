#pragma once

#include <string>
#include <utility>

namespace tessaly {

// Sorts the rows low..high of a list in place by the text of one column, with plain
// character-by-character comparison. A quick sort whose pivot is the text of the middle row; rows
// whose texts are equal are never exchanged, so the order of equal rows follows from the sort's
// steps and is the same on every run. `text(row)` gives the sorted column's text of a row and
// `swap(a, b)` exchanges two whole rows.
template <typename TextOf, typename SwapRows>
void SortTextItems(TextOf&& text, SwapRows&& swap, bool ascending, int low, int high) {
    if (high <= low)
        return;
    int lo = low;
    int hi = high;
    const std::string middle = text((low + high) / 2);
    while (lo <= hi) {
        if (ascending) {
            while (lo < high && text(lo) < middle)
                ++lo;
            while (hi > low && text(hi) > middle)
                --hi;
        } else {
            while (lo < high && text(lo) > middle)
                ++lo;
            while (hi > low && text(hi) < middle)
                --hi;
        }
        if (lo <= hi) {
            if (text(lo) != text(hi))
                swap(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortTextItems(text, swap, ascending, low, hi);
    if (lo < high)
        SortTextItems(text, swap, ascending, lo, high);
}

} // namespace tessaly
