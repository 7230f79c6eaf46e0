// The glucose profile of a period: consensus ranges, variability, modal day.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "analysis/glucose_profile.h"
#include "make_reading.h"

namespace dorvel {
namespace {

using test::MakeReading;

// The period of 2011-06-30: 31 May to 30 June, 31 days.
const AnalysisPeriod kJune = ComputePeriod(Date{2011, 6, 30});

std::string June(int day) {
    char text[32];
    std::snprintf(text, sizeof text, "201106%02d", day);
    return text;
}

GlucoseProfile ProfileOf(std::vector<Reading> readings) {
    return ComputeGlucoseProfile(test::SortedList(std::move(readings)), kJune);
}

TEST(GlucoseProfile, RangeBordersLieOnTheMgDlIntegers) {
    std::vector<Reading> readings;
    for (int v : {53, 54, 69, 70, 180, 181, 250, 251})
        readings.push_back(MakeReading(June(10), "0800", v));
    const GlucoseProfile g = ProfileOf(readings);
    EXPECT_EQ(g.rangeCount, (std::array<int32_t, 5>{1, 2, 2, 2, 1}));
    EXPECT_EQ(TenthsHalfUp(*g.RangePercent(ConsensusRange::Low)), 250);
    EXPECT_EQ(TenthsHalfUp(*g.RangePercent(ConsensusRange::VeryHigh)), 125);
}

TEST(GlucoseProfile, ReadingsOutsideThePeriodAndControlReadingsAreLeftOut) {
    const GlucoseProfile g = ProfileOf({
        MakeReading(June(10), "0800", 100), MakeReading(June(10), "0900", 40, kControlMarker),
        MakeReading("20110530", "1200", 300),  // the period's start day is excluded
        MakeReading("20110701", "0000", 300), MakeReading("20110631", "1200", 300),  // no such day
        MakeReading(June(30), "2359", 200),  // the end day is included
    });
    EXPECT_EQ(g.readingCount, 2);
    EXPECT_EQ(g.readingDays, 2);
    EXPECT_EQ(g.rangeCount, (std::array<int32_t, 5>{0, 0, 1, 1, 0}));
    EXPECT_DOUBLE_EQ(*g.mean, 150);
    EXPECT_EQ(g.hours[8].count, 1);
    EXPECT_EQ(g.hours[9].count, 0);
    EXPECT_EQ(g.hours[23].few[0], 200);
}

TEST(GlucoseProfile, OneReadingHasNoVariationAndIsItsOwnPercentiles) {
    const GlucoseProfile g = ProfileOf({MakeReading(June(3), "0730", 123)});
    EXPECT_EQ(g.readingCount, 1);
    EXPECT_FALSE(g.cv.has_value());
    EXPECT_FALSE(g.gmi.has_value());
    EXPECT_EQ(TenthsHalfUp(g.readingsPerDay), 0);  // 1 / 31 days
    const HourProfile& hour = g.hours[7];
    EXPECT_FALSE(hour.HasBands());
    EXPECT_EQ(hour.few[0], 123);
    for (double p : hour.percentile)
        EXPECT_EQ(p, 123);

    const GlucoseProfile none = ProfileOf({});
    EXPECT_FALSE(none.mean.has_value());
    EXPECT_FALSE(none.RangePercent(ConsensusRange::Target).has_value());
    EXPECT_EQ(none.periodDays, 31);
}

TEST(GlucoseProfile, PercentilesInterpolateBetweenRanksAndRoundHalfUp) {
    // Two readings in one hour: 100.05, 100.25, 100.5, 100.75, 100.95.
    GlucoseProfile g =
        ProfileOf({MakeReading(June(1), "1405", 101), MakeReading(June(2), "1450", 100)});
    EXPECT_EQ(g.hours[14].count, 2);
    std::vector<int64_t> shown;
    for (double p : g.hours[14].percentile)
        shown.push_back(RoundHalfUp(p));
    EXPECT_EQ(shown, (std::vector<int64_t>{100, 100, 101, 101, 101}));
    EXPECT_EQ(g.hours[14].few[0], 100);
    EXPECT_EQ(g.hours[14].few[1], 101);

    // Five readings make bands: ranks 0.2, 1, 2, 3, 3.8 of 60 80 100 140 200.
    std::vector<Reading> five;
    for (int v : {140, 60, 200, 100, 80})
        five.push_back(MakeReading(June(v / 10), "0015", v));
    g = ProfileOf(five);
    EXPECT_TRUE(g.hours[0].HasBands());
    EXPECT_EQ(g.hours[0].percentile, (std::array<double, 5>{64, 80, 100, 140, 188}));
}

TEST(GlucoseProfile, VariationAndIndicatorFollowTheExactMean) {
    // 100 and 200: sigma 50 around 150, 33.3 %. 100 and 300: 50 %.
    GlucoseProfile g =
        ProfileOf({MakeReading(June(1), "0800", 100), MakeReading(June(1), "0900", 200)});
    EXPECT_EQ(TenthsHalfUp(*g.cv), 333);
    g = ProfileOf({MakeReading(June(1), "0800", 100), MakeReading(June(1), "0900", 301)});
    EXPECT_EQ(TenthsHalfUp(*g.cv), 501);  // 100.5 / 200.5

    // 13 days are not enough for the indicator, 14 are: 3.31 + 0.02392 x 150.5
    // = 6.90996 %, 10.929 x (6.90996 - 2.15) = 52.02 mmol/mol. 28 readings
    // on 14 of 31 days are 0.9 a day.
    std::vector<Reading> days;
    for (int d = 1; d <= 13; ++d) {
        days.push_back(MakeReading(June(d), "0800", 150));
        days.push_back(MakeReading(June(d), "2000", 151));
    }
    EXPECT_FALSE(ProfileOf(days).gmi.has_value());
    days.push_back(MakeReading(June(20), "0800", 150));
    days.push_back(MakeReading(June(20), "2000", 151));
    g = ProfileOf(days);
    EXPECT_EQ(g.readingDays, 14);
    EXPECT_EQ(TenthsHalfUp(*g.gmi), 69);
    EXPECT_EQ(RoundHalfUp(*g.GmiMmolPerMol()), 52);
    EXPECT_EQ(TenthsHalfUp(g.readingsPerDay), 9);
}

// ---- against a plain second computation ----

struct Plain {
    std::array<int32_t, 5> ranges{};
    int days = 0;
    std::optional<double> cv, gmi;
    std::array<std::vector<int64_t>, 24> shownPercentiles;  // rounded half up
    std::array<std::vector<double>, 24> percentiles;
};

// Percentile p of ascending values, rounded half up in integers: 100 times
// the interpolated value is a whole number.
int64_t ShownPercentile(const std::vector<int>& x, int p) {
    const int64_t rank100 = static_cast<int64_t>(x.size() - 1) * p;
    const size_t i = static_cast<size_t>(rank100 / 100);
    const int64_t f = rank100 % 100;
    const int64_t next = f == 0 ? x[i] : x[i + 1];
    const int64_t hundredfold = 100 * x[i] + f * (next - x[i]);
    return (hundredfold + 50) / 100;  // the values are positive
}

Plain PlainProfile(const ReadingList& list, const AnalysisPeriod& period) {
    const auto key = [](const Date& d) {
        char text[32];
        std::snprintf(text, sizeof text, "%04d%02d%02d", d.year, d.month, d.day);
        return std::string(text);
    };
    const std::string from = key(period.start), to = key(period.end);
    Plain out;
    std::vector<int> values;
    std::set<std::string> dates;
    std::map<int, std::vector<int>> byHour;
    for (const Reading& r : list) {
        const std::string date = r.timestamp.substr(0, 8);
        if (r.marker == 5 || date <= from || date > to)
            continue;
        const int v = std::stoi(r.valueText);
        values.push_back(v);
        dates.insert(date);
        const int range = v < 54 ? 0 : v < 70 ? 1 : v <= 180 ? 2 : v <= 250 ? 3 : 4;
        out.ranges[static_cast<size_t>(range)]++;
        byHour[std::stoi(r.timestamp.substr(8, 2))].push_back(v);
    }
    out.days = static_cast<int>(dates.size());
    int64_t sum = 0, squares = 0;
    for (int v : values) {
        sum += v;
        squares += int64_t{v} * v;
    }
    const auto n = static_cast<int64_t>(values.size());
    if (n >= 2)  // sigma / mu = sqrt(n Q - S^2) / S
        out.cv = 100.0 * std::sqrt(static_cast<double>(n * squares - sum * sum)) /
                 static_cast<double>(sum);
    if (out.days >= 14)
        out.gmi = 3.31 + 0.02392 * static_cast<double>(sum) / static_cast<double>(n);
    for (auto& [hour, x] : byHour) {
        std::sort(x.begin(), x.end());
        for (int p : {5, 25, 50, 75, 95}) {
            out.shownPercentiles[hour].push_back(ShownPercentile(x, p));
            const double r = static_cast<double>(x.size() - 1) * p / 100.0;
            const size_t i = static_cast<size_t>(r);
            const double f = r - static_cast<double>(i);
            out.percentiles[hour].push_back(i + 1 < x.size() ? x[i] + f * (x[i + 1] - x[i]) : x[i]);
        }
    }
    return out;
}

TEST(GlucoseProfileProperty, AgreesWithAPlainComputation) {
    std::mt19937 rng(20190701);
    const auto pick = [&rng](int lo, int hi) {
        return lo + static_cast<int>(rng() % (hi - lo + 1));
    };
    for (int n = 0; n < 2000; ++n) {
        const Date selected = CivilFromDays(DaysFromCivil(2011, 1, 1) + pick(0, 400));
        const AnalysisPeriod period = ComputePeriod(selected);
        std::vector<Reading> readings;
        const int count = pick(0, 150);
        // Few hours make bands; values often close, so ranks fall on ties.
        const int hours = pick(1, 24);
        const int spread = pick(0, 3) == 0 ? 3 : 590;
        for (int i = 0; i < count; ++i) {
            const Date date = CivilFromDays(DaysFromCivil(selected) - pick(0, 33));
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "%04d%02d%02d", date.year, date.month, date.day);
            char time[32];
            std::snprintf(time, sizeof time, "%02d%02d", pick(0, hours - 1), pick(0, 59));
            readings.push_back(MakeReading(stamp, time, pick(10, 10 + spread),
                                           rng() % 8 == 0 ? kControlMarker : pick(0, 4),
                                           rng() % 3 == 0 ? "121" : "001"));
        }
        const ReadingList list = test::SortedList(std::move(readings));
        const GlucoseProfile g = ComputeGlucoseProfile(list, period);
        const Plain plain = PlainProfile(list, period);
        const std::string which = "patient " + std::to_string(n);
        ASSERT_EQ(g.rangeCount, plain.ranges) << which;
        ASSERT_EQ(g.readingDays, plain.days) << which;
        ASSERT_EQ(g.cv.has_value(), plain.cv.has_value()) << which;
        if (g.cv) {
            ASSERT_NEAR(*g.cv, *plain.cv, 1e-9) << which;
            ASSERT_EQ(TenthsHalfUp(*g.cv), TenthsHalfUp(*plain.cv)) << which;
        }
        ASSERT_EQ(g.gmi.has_value(), plain.gmi.has_value()) << which;
        if (g.gmi) {
            ASSERT_EQ(TenthsHalfUp(*g.gmi), TenthsHalfUp(*plain.gmi)) << which;
        }
        for (size_t h = 0; h < 24; ++h) {
            ASSERT_EQ(static_cast<size_t>(g.hours[h].count) > 0, !plain.percentiles[h].empty());
            for (size_t i = 0; i < plain.percentiles[h].size(); ++i) {
                ASSERT_NEAR(g.hours[h].percentile[i], plain.percentiles[h][i], 1e-9) << which;
                ASSERT_EQ(RoundHalfUp(g.hours[h].percentile[i]), plain.shownPercentiles[h][i])
                    << which << ", hour " << h << ", percentile " << i;
            }
        }
    }
}

}  // namespace
}  // namespace dorvel
