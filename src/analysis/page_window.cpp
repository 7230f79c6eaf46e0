#include "page_window.h"

#include <algorithm>
#include <vector>

#include "store/decimal.h"

namespace dorvel {

namespace {

PageEntry EntryOf(const Reading& r) {
    PageEntry e;
    e.value = r.Value().value;
    e.temperature = r.temperature;
    e.marker = r.marker;
    e.meterUser = LeadingInt(r.meterUserId);
    e.when = r.When();
    return e;
}

// The cursor kept inside 1..count, and at least a full page when there is one.
int32_t SettleStart(int32_t start, int32_t count) {
    if (start < kPageWindowSize)
        start = count >= kPageWindowSize ? kPageWindowSize : count;
    return std::min(start, count);
}

}  // namespace

PageWindow BuildPageWindow(const ReadingList& list, ListCursor& cursor) {
    PageWindow window;
    if (list.empty()) {
        cursor.dataListStart = 0;
        cursor.readingCount = 0;
        cursor.jumpToNewest = false;
        return window;
    }
    cursor.readingCount = static_cast<int32_t>(list.size());

    if (cursor.controlDisplay == 0) {
        const int32_t count = cursor.readingCount;
        if (cursor.jumpToNewest) {
            cursor.dataListStart = count;
            cursor.jumpToNewest = false;
        }
        cursor.dataListStart = SettleStart(cursor.dataListStart, count);
        const int n = std::min(kPageWindowSize, cursor.dataListStart);
        for (int i = 0; i < n; ++i)
            window.entries[i] = EntryOf(list[static_cast<size_t>(cursor.dataListStart - 1 - i)]);
        window.filled = n;
        return window;
    }

    // Control readings left out: the same walk over the listed readings only.
    std::vector<size_t> listed;
    listed.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        if (!list[i].IsControl())
            listed.push_back(i);
    }
    const auto count = static_cast<int32_t>(listed.size());
    if (cursor.jumpToNewest) {
        cursor.dataListStart = count;
        cursor.jumpToNewest = false;
    }
    cursor.dataListStart = SettleStart(cursor.dataListStart, count);
    const int n = std::min(kPageWindowSize, cursor.dataListStart);
    for (int i = 0; i < n; ++i)
        window.entries[i] =
            EntryOf(list[listed[static_cast<size_t>(cursor.dataListStart - 1 - i)]]);
    window.filled = n;
    return window;
}

}  // namespace dorvel
