#include <gtest/gtest.h>

#include "analysis/statistics.h"
#include "make_reading.h"

namespace dorvel {
namespace {

using test::MakeReading;
using test::SortedList;

const Date kSelected{2011, 6, 30};

Statistics Compute(std::vector<Reading> readings, const UserSettings& settings = {}) {
    return Recompute(SortedList(std::move(readings)), settings, kSelected);
}

TEST(Statistics, MeansAndSpreadsTruncate) {
    struct {
        std::vector<int> day1, day2;
        int mean, sd, dailyMean;
    } const cases[] = {
        {{100, 101}, {}, 100, 0, 100},   // sum of squares 1, 1 / 2 = 0
        {{100, 200}, {}, 150, 50, 150},  // trunc(sqrt(5000 / 2))
        {{123}, {}, 123, 0, 123},
        {{100, 200}, {90}, 130, 49, 120},  // daily means (150 + 90) / 2
    };
    for (const auto& c : cases) {
        std::vector<Reading> readings;
        int minute = 0;
        for (int v : c.day1)
            readings.push_back(MakeReading("20110610", "12" + std::to_string(10 + minute++), v));
        for (int v : c.day2)
            readings.push_back(MakeReading("20110611", "12" + std::to_string(10 + minute++), v));
        const Statistics s = Compute(readings);
        EXPECT_EQ(s.overall.overallMean, c.mean);
        EXPECT_EQ(s.overall.overallSD, c.sd);
        EXPECT_EQ(s.overall.overallDailyMean, c.dailyMean);
        EXPECT_EQ(s.period.periodMean, c.mean);
        EXPECT_EQ(s.period.periodSD, c.sd);
        EXPECT_EQ(s.period.periodDailyMean, c.dailyMean);
    }
}

TEST(Statistics, ControlReadingsEnterNothingButTheirCount) {
    const Statistics s = Compute({
        MakeReading("20110610", "0800", 100), MakeReading("20110610", "0900", 400, kControlMarker),
        MakeReading("20110610", "1000", 200), MakeReading("20110611", "0800", 90),
        MakeReading("20110611", "2300", 30, kControlMarker),  // last in the list
    });
    EXPECT_EQ(s.overall.readingCount, 5);
    EXPECT_EQ(s.overall.controlCount, 2);
    EXPECT_EQ(s.overall.overallMean, 130);
    EXPECT_EQ(s.overall.overallDays, 2);
    EXPECT_EQ(s.overall.overallDailyMean, 120);
    EXPECT_EQ(s.overall.overallMax, 200);
    EXPECT_EQ(s.overall.overallMin, 90);
    EXPECT_EQ(s.overall.overallLowCount + s.overall.overallTargetCount + s.overall.overallHighCount,
              3);
    EXPECT_EQ(s.period.periodReadingCount, 3);
    EXPECT_EQ(s.period.periodReadingDays, 2);
    EXPECT_EQ(s.perDay.dayCount[10], 2);  // 10 June is day 11
    EXPECT_EQ(s.perDay.dayMean[10], 150);
    EXPECT_EQ(s.perDay.dayMean[11], 90);
}

TEST(Statistics, PerDayAndPerSlot) {
    const Statistics s = Compute({
        MakeReading("20110531", "0600", 80),   // day 1, breakfast before
        MakeReading("20110531", "0900", 160),  // day 1, breakfast after
        MakeReading("20110630", "0700", 100),  // day 31
        MakeReading("20110630", "2000", 300),  // day 31, Abend: combined only
        MakeReading("20110530", "0600", 500),  // the excluded start day
    });
    EXPECT_EQ(s.period.periodDays, 31);
    EXPECT_EQ(s.period.periodReadingCount, 4);
    EXPECT_EQ(s.perDay.dayCount[0], 2);
    EXPECT_EQ(s.perDay.dayCount[30], 2);
    EXPECT_EQ(s.perDay.dayCombinedCount[0][1], 2);
    EXPECT_EQ(s.perDay.dayCombinedMean[0][1], 120);
    EXPECT_EQ(s.perDay.daySeparateMean[0][0], 80);
    EXPECT_EQ(s.perDay.daySeparateMean[0][1], 160);
    EXPECT_EQ(s.perDay.dayCombinedMean[30][4], 300);
    EXPECT_EQ(s.perSlot.combinedCount[1], 3);
    EXPECT_EQ(s.perSlot.combinedMean[1], 113);  // 340 / 3
    EXPECT_EQ(s.perSlot.combinedSD[1], 33);     // (33² + 47² + 13²) / 3 = 1155 -> 33
    EXPECT_EQ(s.perSlot.separateCount[0], 2);
    EXPECT_EQ(s.perSlot.separateMean[0], 90);
    EXPECT_EQ(s.perSlot.separateSD[0], 10);
    EXPECT_EQ(s.perSlot.separateSD[1], 0);  // one reading
    EXPECT_EQ(s.period.periodMax, 300);
    EXPECT_EQ(s.period.periodMin, 80);
    EXPECT_EQ(s.overall.overallMax, 500);
}

TEST(Statistics, SlotDependentRangeCounts) {
    const Statistics s = Compute({
        MakeReading("20110610", "0600", 65),   // before breakfast 65..120: target
        MakeReading("20110610", "0601", 64),   // low
        MakeReading("20110610", "0602", 121),  // high
        MakeReading("20110610", "0900", 121),  // after breakfast 100..155: target
        MakeReading("20110610", "0200", 121),  // Schlaf, overall 65..155: target
        MakeReading("20100101", "0600", 130),  // outside the period: high
    });
    EXPECT_EQ(s.overall.overallSlotLowCount, 1);
    EXPECT_EQ(s.overall.overallSlotTargetCount, 3);
    EXPECT_EQ(s.overall.overallSlotHighCount, 2);
    EXPECT_EQ(s.period.periodSlotLowCount, 1);
    EXPECT_EQ(s.period.periodSlotTargetCount, 3);
    EXPECT_EQ(s.period.periodSlotHighCount, 1);
    EXPECT_EQ(s.overall.overallLowCount, 1);  // against 65..155 only
    EXPECT_EQ(s.overall.overallTargetCount, 5);
    EXPECT_EQ(s.period.periodTargetCount, 4);
}

TEST(Statistics, OneDateOfTwoMeterUsersIsOneDay) {
    // The list groups by user, so 10 June appears twice in it.
    const Statistics s = Compute({
        MakeReading("20110610", "0800", 100, 0, "001"),
        MakeReading("20110611", "0800", 300, 0, "001"),
        MakeReading("20110610", "0900", 200, 0, "121"),
    });
    EXPECT_EQ(s.overall.overallDays, 2);
    EXPECT_EQ(s.overall.overallDailyMean, 225);  // (150 + 300) / 2
    EXPECT_EQ(s.period.periodReadingDays, 2);
    EXPECT_EQ(s.period.periodDailyMean, 225);
}

TEST(Statistics, ListsWithoutReadings) {
    Statistics previous = Compute({MakeReading("20110610", "0800", 100)});
    ASSERT_EQ(previous.overall.overallMean, 100);
    for (const auto& readings :
         {std::vector<Reading>{}, std::vector<Reading>{MakeReading("20110610", "0800", 99, 5)}}) {
        const Statistics s = Compute(readings);
        EXPECT_EQ(s.overall.readingCount, static_cast<int>(readings.size()));
        EXPECT_EQ(s.overall.overallMean, 0);
        EXPECT_EQ(s.overall.overallMax, 0);
        EXPECT_EQ(s.overall.overallMin, 1000);
        EXPECT_EQ(s.period.periodMax, 0);
        EXPECT_EQ(s.period.periodMin, 1000);
        EXPECT_EQ(s.overall.overallDays, 0);
        EXPECT_EQ(s.period.periodDays, readings.empty() ? 0 : 31);
        EXPECT_EQ(s.perDay, PerDayStats{});
        EXPECT_EQ(s.perSlot, PerSlotStats{});
    }
}

TEST(Statistics, WideAccumulators) {
    // 45,454 readings far from their mean overflow a 32-bit sum of squares.
    std::vector<Reading> readings;
    for (int i = 0; i < 45454; ++i) {
        const std::string day = std::to_string(10 + i % 20);
        const std::string minute = (i / 20) % 60 < 10 ? "0" + std::to_string((i / 20) % 60)
                                                      : std::to_string((i / 20) % 60);
        readings.push_back(MakeReading(
            "201106" + day, std::to_string(10 + (i / 1200) % 10) + minute, i % 2 ? 600 : 10));
    }
    const Statistics s = Compute(readings);
    EXPECT_EQ(s.overall.overallMean, 305);
    EXPECT_EQ(s.overall.overallSD, 295);
    EXPECT_EQ(s.period.periodSD, 295);
}

TEST(Statistics, DisplayConversionsTruncate) {
    for (const auto& [mgdl, mmol] :
         {std::pair{600, 33.3}, {100, 5.5}, {10, 0.5}, {65, 3.6}, {180, 10.0}, {1, 0.0}, {0, 0.0}})
        EXPECT_DOUBLE_EQ(ToMmolPerL(mgdl), mmol) << mgdl;
    for (const auto& [tenths, fahrenheit] : {std::pair{235, 74}, {0, 0}, {-50, 0}, {100, 50}})
        EXPECT_EQ(ToFahrenheit(tenths), fahrenheit) << tenths;
}

}  // namespace
}  // namespace dorvel
