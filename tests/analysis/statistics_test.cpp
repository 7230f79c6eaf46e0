// Hand-worked figures at the borders; the random comparison with a plain
// second computation covers the rest of the statistics.
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
