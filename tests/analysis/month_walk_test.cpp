#include <gtest/gtest.h>

#include "analysis/month_walk.h"
#include "make_reading.h"

namespace dorvel {
namespace {

TEST(MonthWalk, StepsBackToJanuary2002) {
    const std::vector<Date> steps = MonthSteps({2003, 2, 31});
    ASSERT_EQ(steps.size(), 14u);
    EXPECT_EQ(steps.front(), (Date{2003, 2, 31}));  // the day number is kept as it is
    EXPECT_EQ(steps[1], (Date{2003, 1, 31}));
    EXPECT_EQ(steps[2], (Date{2002, 12, 31}));
    EXPECT_EQ(steps.back(), (Date{2002, 1, 31}));
    EXPECT_EQ(MonthSteps({2001, 6, 1}).size(), 1u);
}

// Periods that roll over in short months: see the comparison with one
// Recompute per month in the property test.
TEST(MonthWalk, OnlyMonthsWhosePeriodHoldsReadings) {
    const ReadingList list = test::SortedList({
        test::MakeReading("20110310", "0800", 100), test::MakeReading("20110920", "0800", 100),
        test::MakeReading("20110921", "0800", 100, 5),  // control readings make no page
        test::MakeReading("20120101", "0800", 100, 5),
        test::MakeReading("20010101", "0800", 100),  // before the walk
    });
    const std::vector<Date> months = MonthsWithReadings(list, {2012, 1, 15});
    EXPECT_EQ(months, (std::vector<Date>{{2011, 10, 15}, {2011, 3, 15}}));
    EXPECT_TRUE(MonthsWithReadings(ReadingList{}, {2012, 1, 15}).empty());
}

}  // namespace
}  // namespace dorvel
