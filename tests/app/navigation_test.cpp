#include <gtest/gtest.h>

#include "app/navigation.h"

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
        {{2002, 1, 10}, NavStep::PreviousYear, today, {2002, 1, 10}},
        {{2010, 5, 10}, NavStep::PreviousYear, today, {2009, 5, 10}},
        // Forwards, never past the current month.
        {{2026, 3, 10}, NavStep::NextMonth, today, {2026, 3, 10}},
        {{2026, 3, 10}, NavStep::NextYear, today, {2026, 3, 10}},
        {{2025, 8, 10}, NavStep::NextYear, today, {2026, 3, 10}},
        {{2025, 2, 10}, NavStep::NextYear, today, {2026, 2, 10}},
        {{2024, 8, 10}, NavStep::NextYear, today, {2025, 8, 10}},
        {{2025, 12, 10}, NavStep::NextMonth, today, {2026, 1, 10}},
        {{2026, 1, 10}, NavStep::NextMonth, today, {2026, 2, 10}},
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
    c = StepDataList(c, NavStep::PreviousMonth, 100);
    EXPECT_EQ(c.start, 30) << "never below one full screen page";
    c = StepDataList(c, NavStep::NextMonth, 100);
    EXPECT_EQ(c.start, 60);
    c = StepDataList(c, NavStep::NextYear, 100);
    EXPECT_EQ(c.start, 100);
    EXPECT_FALSE(c.jumpToNewest);
    c = StepDataList(c, NavStep::NextMonth, 100);
    EXPECT_EQ(c.start, 100) << "never past the newest reading";
    c = StepDataList(c, NavStep::PreviousYear, 100);
    EXPECT_EQ(c.start, 30);
    // Short and empty lists.
    EXPECT_EQ(StepDataList({45, false}, NavStep::PreviousYear, 12).start, 12);
    EXPECT_EQ(StepDataList({45, false}, NavStep::NextMonth, 0).start, 0);
}

}  // namespace
}  // namespace dorvel
