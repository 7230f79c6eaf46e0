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

}  // namespace

void SettleListCursor(int32_t& dataListStart, bool& jumpToNewest, int32_t count) {
    if (count <= 0) {
        dataListStart = 0;
        jumpToNewest = false;
        return;
    }
    if (jumpToNewest) {
        dataListStart = count;
        jumpToNewest = false;
    }
    if (dataListStart < kPageWindowSize)
        dataListStart = std::min(kPageWindowSize, count);
    dataListStart = std::min(dataListStart, count);
}

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
        SettleListCursor(cursor.dataListStart, cursor.jumpToNewest, cursor.readingCount);
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
    SettleListCursor(cursor.dataListStart, cursor.jumpToNewest,
                     static_cast<int32_t>(listed.size()));
    const int n = std::min(kPageWindowSize, cursor.dataListStart);
    for (int i = 0; i < n; ++i)
        window.entries[i] =
            EntryOf(list[listed[static_cast<size_t>(cursor.dataListStart - 1 - i)]]);
    window.filled = n;
    return window;
}

}  // namespace dorvel
