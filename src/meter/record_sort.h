#pragma once

#include <string>
#include <string_view>

namespace dorvel {

// Sorts the whole 22-byte records of `image` ascending (byte order over all
// 22 characters: user, marker, date, time, value, temperature) and drops
// exact duplicates. A trailing part shorter than a record is discarded.
// O(n log n); gives the same records in the same order as the exchange sort
// with duplicate marks followed by the cut at the first mark.
void SortRecords(std::string& image);

// The records of `old` and `fresh` together, sorted and without duplicates
// (the same as SortRecords on old + fresh). Linear in the old records when
// they are already in order, as a file written by an import is.
// `uniqueOld` receives the number of distinct records of `old`.
std::string MergeRecords(std::string_view old, std::string_view fresh, size_t* uniqueOld = nullptr);

}  // namespace dorvel
