#include <gtest/gtest.h>

#include "analysis/period.h"

namespace dorvel {
namespace {

TEST(Period, MonthEndingOnTheSelectedDate) {
    struct {
        Date selected;
        Date start;
        int days;
    } const cases[] = {
        {{2011, 6, 30}, {2011, 5, 30}, 31},  {{2011, 1, 15}, {2010, 12, 15}, 31},
        {{2010, 12, 31}, {2010, 12, 1}, 30},  // 31 November rolls over
        {{2011, 3, 31}, {2011, 3, 3}, 28},    // 31 February
        {{2012, 3, 31}, {2012, 3, 2}, 29},    // 31 February of a leap year
        {{2011, 4, 15}, {2011, 3, 15}, 31},   // a daylight-saving change inside
        {{2011, 3, 1}, {2011, 2, 1}, 28},
    };
    for (const auto& c : cases) {
        const AnalysisPeriod p = ComputePeriod(c.selected);
        EXPECT_EQ(p.start, c.start) << FormatIsoDate(c.selected);
        EXPECT_EQ(p.end, c.selected);
        EXPECT_EQ(p.days, c.days) << FormatIsoDate(c.selected);
    }
    // A selected day that its month lacks rolls over at the end as well.
    const AnalysisPeriod rolled = ComputePeriod({2010, 11, 31});
    EXPECT_EQ(rolled.end, (Date{2010, 12, 1}));
    EXPECT_EQ(rolled.start, (Date{2010, 10, 31}));
    EXPECT_EQ(rolled.days, 31);
}

TEST(Period, StartDayExcludedEndDayIncluded) {
    const AnalysisPeriod p = ComputePeriod({2011, 6, 30});
    EXPECT_FALSE(p.InPeriod("20110530"));
    EXPECT_EQ(p.DayIndex("20110531"), 1);
    EXPECT_EQ(p.DayIndex("20110630"), 31);
    EXPECT_FALSE(p.InPeriod("20110701"));
    EXPECT_EQ(p.DayIndex("20110601"), 2);

    const AnalysisPeriod december = ComputePeriod({2010, 12, 31});
    EXPECT_FALSE(december.InPeriod("20101201"));
    EXPECT_EQ(december.DayIndex("20101202"), 1);
    EXPECT_EQ(december.DayIndex("20101231"), 30);
}

TEST(Period, MalformedDatesNeverGetADay) {
    // These sort between the period's keys byte for byte but are no dates;
    // counting them would put a reading before day 1 of the arrays.
    const AnalysisPeriod p = ComputePeriod({2011, 6, 30});
    for (const char* date : {"20110600", "2011060:", "20110631", "2011061", ""}) {
        EXPECT_FALSE(p.InPeriod(date)) << date;
        EXPECT_EQ(p.DayIndex(date), std::nullopt) << date;
    }
}

}  // namespace
}  // namespace dorvel
