#include <gtest/gtest.h>

#include "analysis/page_window.h"
#include "make_reading.h"

namespace dorvel {
namespace {

// `count` readings of one user whose values give their list position (value = 100 + position).
ReadingList Numbered(int count, int controlEvery = 0) {
    std::vector<Reading> readings;
    for (int i = 0; i < count; ++i) {
        const int marker = controlEvery > 0 && i % controlEvery == controlEvery - 1 ? 5 : 0;
        char time[5];
        std::snprintf(time, sizeof time, "%02d%02d", i / 60, i % 60);
        readings.push_back(test::MakeReading("20110610", time, 100 + i, marker));
    }
    return test::SortedList(std::move(readings));
}

std::vector<int> Positions(const PageWindow& w) {
    std::vector<int> positions;
    for (int i = 0; i < w.filled; ++i)
        positions.push_back(w.entries[i].value - 100);
    return positions;
}

std::vector<int> Downward(int from, int to) {  // from down to `to`
    std::vector<int> v;
    for (int i = from; i >= to; --i)
        v.push_back(i);
    return v;
}

TEST(PageWindow, CursorPositionsAndBounds) {
    const ReadingList list = Numbered(45);
    struct {
        int start;
        int settled;
        std::vector<int> shown;
    } const cases[] = {
        {45, 45, Downward(44, 15)}, {10, 30, Downward(29, 0)}, {0, 30, Downward(29, 0)},
        {99, 45, Downward(44, 15)}, {31, 31, Downward(30, 1)},
    };
    for (const auto& c : cases) {
        ListCursor cursor{0, c.start, false, 0};
        const PageWindow w = BuildPageWindow(list, cursor);
        EXPECT_EQ(cursor.dataListStart, c.settled) << c.start;
        EXPECT_EQ(cursor.readingCount, 45);
        EXPECT_EQ(Positions(w), c.shown) << c.start;
    }

    ListCursor jump{0, 31, true, 0};
    EXPECT_EQ(Positions(BuildPageWindow(list, jump)), Downward(44, 15));
    EXPECT_EQ(jump.dataListStart, 45);
    EXPECT_FALSE(jump.jumpToNewest);
}

TEST(PageWindow, ShortListLeavesEmptyEntries) {
    ListCursor cursor{0, 45, false, 0};
    const PageWindow w = BuildPageWindow(Numbered(12), cursor);
    EXPECT_EQ(cursor.dataListStart, 12);
    EXPECT_EQ(Positions(w), Downward(11, 0));
    const PageEntry& newest = w.entries[0];
    EXPECT_EQ(newest.temperature, 235);
    EXPECT_EQ(newest.meterUser, 1);
    EXPECT_EQ(newest.when, (DateTime{{2011, 6, 10}, {0, 11, 0}}));
    for (int i = 12; i < kPageWindowSize; ++i) {
        EXPECT_EQ(w.entries[i], PageEntry{}) << i;
        EXPECT_EQ(w.entries[i].when, (DateTime{{2005, 1, 1}, {0, 0, 0}}));
        EXPECT_EQ(w.entries[i].value, -1);
    }

    ListCursor empty{7, 45, true, 0};
    const PageWindow none = BuildPageWindow(ReadingList{}, empty);
    EXPECT_EQ(none.filled, 0);
    EXPECT_EQ(empty.dataListStart, 0);
    EXPECT_EQ(empty.readingCount, 0);
}

TEST(PageWindow, ControlReadingsListedOrLeftOut) {
    const ReadingList list = Numbered(45, 3);  // every third reading is a control reading
    ListCursor shown{0, 45, false, 0};
    const PageWindow all = BuildPageWindow(list, shown);
    EXPECT_EQ(all.entries[0].marker, 5);  // position 44
    EXPECT_EQ(Positions(all), Downward(44, 15));

    ListCursor hidden{0, 0, true, 1};
    const PageWindow listed = BuildPageWindow(list, hidden);
    EXPECT_EQ(hidden.dataListStart, 30);  // 45 - 15 control readings
    EXPECT_EQ(hidden.readingCount, 45);
    std::vector<int> expected;
    for (int i = 44; i >= 0 && expected.size() < 30; --i) {
        if (i % 3 != 2)
            expected.push_back(i);
    }
    EXPECT_EQ(Positions(listed), expected);

    // The cursor moves back through the listed readings too.
    ListCursor older{0, 20, false, 1};
    const PageWindow clipped = BuildPageWindow(Numbered(60, 3), older);
    EXPECT_EQ(older.dataListStart, 30);
    ListCursor back{0, 35, false, 1};
    const PageWindow page = BuildPageWindow(Numbered(60, 3), back);
    EXPECT_EQ(back.dataListStart, 35);
    EXPECT_EQ(Positions(page).front(), 51);  // the 35th listed reading
    EXPECT_EQ(Positions(page).back(), 7);
    EXPECT_EQ(Positions(clipped).front(), 43);
}

}  // namespace
}  // namespace dorvel
