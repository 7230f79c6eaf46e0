#pragma once

#include <array>
#include <cstdint>

#include "store/calendar.h"
#include "store/reading.h"

namespace dorvel {

inline constexpr int kPageWindowSize = 30;

// One line of the data list page. An unfilled line holds -1 in the numbers,
// marker 0 and 2005-01-01 00:00.
struct PageEntry {
    int32_t value = -1;        // mg/dL
    int32_t temperature = -1;  // tenths of a degree Celsius
    int32_t marker = 0;
    int32_t meterUser = -1;
    DateTime when{{2005, 1, 1}, {0, 0, 0}};

    bool filled() const { return value != -1 || meterUser != -1; }
    friend bool operator==(const PageEntry&, const PageEntry&) = default;
};

// Entry 0 is the newest reading of the screen page; the entries run back in time.
struct PageWindow {
    std::array<PageEntry, kPageWindowSize> entries{};
    int filled = 0;
};

// Where the data list stands; the document owns one.
struct ListCursor {
    int32_t readingCount = 0;   // records of the patient, control readings included
    int32_t dataListStart = 0;  // readings up to and including the newest one shown
    bool jumpToNewest = false;  // the next build starts at the newest reading
    int controlDisplay = 0;     // 0 control readings listed, 1 left out
};

// Settles the cursor on a list of `count` listed readings: a pending jump
// goes to the newest reading, and the start stays inside 1..count and covers
// at least a full page when there is one. An empty list leaves it at 0.
void SettleListCursor(int32_t& dataListStart, bool& jumpToNewest, int32_t count);

// Builds the screen page of the data list at the cursor and settles the
// cursor (jump flag, bounds).
//
// While control readings are left out, dataListStart counts only the listed
// readings, so the page can still be moved back through them.
PageWindow BuildPageWindow(const ReadingList& list, ListCursor& cursor);

}  // namespace dorvel
