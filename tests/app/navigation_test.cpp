#include <gtest/gtest.h>

#include "analysis/page_window.h"
#include "app/navigation.h"
#include "support/records.h"

namespace dorvel {
namespace {

struct PeriodCase {
    Date selected;
    NavStep step;
    Date today;
    Date expected;
};

TEST(StepPeriod, LimitsAndDayAlignment) {
    const Date today{2026, 3, 10};
    const PeriodCase cases[] = {
        // Backwards, down to January 2002 and no further.
        {{2003, 1, 10}, NavStep::PreviousMonth, today, {2002, 12, 10}},
        {{2002, 2, 10}, NavStep::PreviousMonth, today, {2002, 1, 10}},
        {{2002, 1, 10}, NavStep::PreviousMonth, today, {2002, 1, 10}},
        {{2002, 7, 10}, NavStep::PreviousYear, today, {2002, 1, 10}},
        {{2010, 5, 10}, NavStep::PreviousYear, today, {2009, 5, 10}},
        // Forwards, never past the current month.
        {{2026, 3, 10}, NavStep::NextMonth, today, {2026, 3, 10}},
        {{2025, 8, 10}, NavStep::NextYear, today, {2026, 3, 10}},
        {{2025, 2, 10}, NavStep::NextYear, today, {2026, 2, 10}},
        {{2025, 12, 10}, NavStep::NextMonth, today, {2026, 1, 10}},
        // A day past today's pushes the start into the following month, day 10.
        {{2025, 5, 31}, NavStep::PreviousMonth, today, {2025, 5, 10}},
        {{2025, 5, 31}, NavStep::NextMonth, today, {2025, 7, 10}},
        {{2025, 5, 3}, NavStep::PreviousMonth, today, {2025, 4, 10}},
        {{2026, 2, 28}, NavStep::NextMonth, today, {2026, 3, 10}},
    };
    for (const auto& c : cases) {
        Date got = StepPeriod(c.selected, c.step, c.today);
        EXPECT_EQ(got, c.expected) << c.selected.year << "-" << c.selected.month << "-"
                                   << c.selected.day << " step " << static_cast<int>(c.step)
                                   << " gave " << got.year << "-" << got.month << "-" << got.day;
    }
}

TEST(StepPeriod, TodaysDayIsLimitedToTheMonth) {
    // Today the 31st: stepping into February must still give a real date.
    Date got = StepPeriod({2025, 3, 31}, NavStep::PreviousMonth, {2026, 1, 31});
    EXPECT_EQ(got, (Date{2025, 2, 28}));
}

TEST(DataListCursor, PagesOfThirtyClampedToTheList) {
    // 100 readings, cursor on the newest page.
    DataListCursor c = ClampDataList({0, true}, 100);
    EXPECT_EQ(c.start, 100);
    c = StepDataList(c, NavStep::PreviousMonth, 100);
    EXPECT_EQ(c.start, 70);
    c = StepDataList(c, NavStep::PreviousMonth, 100);
    c = StepDataList(c, NavStep::PreviousMonth, 100);
    EXPECT_EQ(c.start, 30) << "never below one full screen page";
    c = StepDataList(c, NavStep::NextYear, 100);
    EXPECT_EQ(c.start, 100);
    EXPECT_FALSE(c.jumpToNewest);
    c = StepDataList(c, NavStep::NextMonth, 100);
    EXPECT_EQ(c.start, 100) << "never past the newest reading";
    // Short and empty lists.
    EXPECT_EQ(StepDataList({45, false}, NavStep::PreviousYear, 12).start, 12);
    EXPECT_EQ(StepDataList({45, false}, NavStep::NextMonth, 0).start, 0);
}

// The document's cursor and the page window it feeds settle alike, so the
// rows on screen and the position the toolbar steps from never disagree.
TEST(DataListCursor, SettlesLikeThePageWindow) {
    struct Case {
        int start;
        bool jump;
        int count;
    };
    const Case cases[] = {{0, true, 100},   {0, false, 100},   {29, false, 100},
                          {31, false, 100}, {250, false, 100}, {45, false, 12},
                          {0, true, 12},    {5, true, 0},      {-30, false, 40}};
    for (const Case& c : cases) {
        ReadingList list;
        for (int i = 0; i < c.count; ++i) {
            list.push_back(ReadingFromRecord(
                test::StoredRecord(1, 0, 2025, 1 + i / 28, 1 + i % 28, 6, 0, 60 + i)));
        }
        ListCursor window{0, c.start, c.jump, 0};
        BuildPageWindow(list, window);
        const DataListCursor cursor = ClampDataList({c.start, c.jump}, c.count);
        EXPECT_EQ(cursor.start, window.dataListStart) << c.start << " of " << c.count;
        EXPECT_EQ(cursor.jumpToNewest, window.jumpToNewest);
    }
}

}  // namespace
}  // namespace dorvel
