#include "record_sort.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "store/reading.h"

namespace dorvel {

namespace {

bool Less(const char* a, const char* b) {
    return std::memcmp(a, b, kRecordSize) < 0;
}
bool Same(const char* a, const char* b) {
    return std::memcmp(a, b, kRecordSize) == 0;
}

// Pointers to the whole records of `image`, ascending and distinct.
std::vector<const char*> SortedRecords(std::string_view image) {
    const size_t n = image.size() / kRecordSize;
    std::vector<const char*> records(n);
    for (size_t i = 0; i < n; ++i) {
        records[i] = image.data() + i * kRecordSize;
    }
    if (!std::is_sorted(records.begin(), records.end(), Less)) {
        std::sort(records.begin(), records.end(), Less);
    }
    records.erase(std::unique(records.begin(), records.end(), Same), records.end());
    return records;
}

std::string Join(const std::vector<const char*>& records) {
    std::string image;
    image.reserve(records.size() * kRecordSize);
    for (const char* r : records) {
        image.append(r, kRecordSize);
    }
    return image;
}

}  // namespace

void SortRecords(std::string& image) {
    image = Join(SortedRecords(image));
}

std::string MergeRecords(std::string_view old, std::string_view fresh, size_t* uniqueOld) {
    const std::vector<const char*> a = SortedRecords(old);
    const std::vector<const char*> b = SortedRecords(fresh);
    if (uniqueOld != nullptr)
        *uniqueOld = a.size();
    std::vector<const char*> merged;
    merged.reserve(a.size() + b.size());
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(merged), Less);
    merged.erase(std::unique(merged.begin(), merged.end(), Same), merged.end());
    return Join(merged);
}

}  // namespace dorvel
