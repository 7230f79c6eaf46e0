#include "record_sort.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "store/reading.h"

namespace dorvel {

void SortRecords(std::string& image) {
    const size_t n = image.size() / kRecordSize;
    std::vector<const char*> records(n);
    for (size_t i = 0; i < n; ++i)
        records[i] = image.data() + i * kRecordSize;
    auto less = [](const char* a, const char* b) { return std::memcmp(a, b, kRecordSize) < 0; };
    auto same = [](const char* a, const char* b) { return std::memcmp(a, b, kRecordSize) == 0; };
    std::sort(records.begin(), records.end(), less);
    records.erase(std::unique(records.begin(), records.end(), same), records.end());
    std::string sorted;
    sorted.reserve(records.size() * kRecordSize);
    for (const char* r : records)
        sorted.append(r, kRecordSize);
    image = std::move(sorted);
}

}  // namespace dorvel
