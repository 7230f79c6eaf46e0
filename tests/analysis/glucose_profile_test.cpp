// The glucose profile of a period: consensus ranges, variability, modal day.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

Reading June(int day, std::string_view time, int value, int marker = 0) {
    return MakeReading((day < 10 ? "2011060" : "201106") + std::to_string(day), time, value,
                       marker);
}

GlucoseProfile ProfileOf(std::vector<Reading> readings) {
    return ComputeGlucoseProfile(test::SortedList(std::move(readings)), kJune);
}

std::vector<int64_t> Shown(const HourProfile& hour) {
    std::vector<int64_t> shown;
    for (double p : hour.percentile)
        shown.push_back(RoundHalfUp(p));
    return shown;
}

// Range borders, period days and control readings are compared at random below.
TEST(GlucoseProfile, ANonexistentDayIsNoReadingAndPercentsNeedReadings) {
    const GlucoseProfile g =
        ProfileOf({June(10, "0800", 53), June(10, "0900", 100), June(10, "1000", 300),
                   MakeReading("20110532", "1200", 99)});
    EXPECT_EQ(g.rangeCount, (std::array<int32_t, 5>{1, 0, 1, 0, 1}));
    EXPECT_EQ(TenthsHalfUp(*g.RangePercent(ConsensusRange::Target)), 333);
    EXPECT_FALSE(ProfileOf({}).RangePercent(ConsensusRange::Target).has_value());
}

TEST(GlucoseProfile, HoursWithOneTwoAndFiveReadings) {
    GlucoseProfile g = ProfileOf({June(3, "0730", 123)});
    EXPECT_FALSE(g.cv.has_value());
    EXPECT_EQ(Shown(g.hours[7]), (std::vector<int64_t>{123, 123, 123, 123, 123}));
    EXPECT_EQ(g.hours[7].few[0], 123);

    // 100.05, 100.25, 100.5, 100.75 and 100.95 round half up; the CV is 0.5 / 100.5.
    g = ProfileOf({June(1, "1405", 101), June(2, "1450", 100)});
    EXPECT_EQ(Shown(g.hours[14]), (std::vector<int64_t>{100, 100, 101, 101, 101}));
    EXPECT_FALSE(g.hours[14].HasBands());
    EXPECT_EQ(TenthsHalfUp(*g.cv), 5);

    // Five make bands: ranks 0.2, 1, 2, 3 and 3.8 of 60 80 100 140 200.
    g = ProfileOf({June(6, "0015", 60), June(8, "0015", 80), June(9, "0015", 100),
                   June(14, "0015", 140), June(20, "0015", 200)});
    EXPECT_TRUE(g.hours[0].HasBands());
    EXPECT_EQ(g.hours[0].percentile, (std::array<double, 5>{64, 80, 100, 140, 188}));
}

TEST(GlucoseProfile, IndicatorNeedsFourteenDays) {
    // 150 and 151 a day: 3.31 + 0.02392 x 150.5 = 6.90996 %, from which
    // 10.929 x (6.90996 - 2.15) = 52.02 mmol/mol.
    std::vector<Reading> days;
    for (int d = 1; d <= 13; ++d) {
        days.push_back(June(d, "0800", 150));
        days.push_back(June(d, "2000", 151));
    }
    EXPECT_FALSE(ProfileOf(days).gmi.has_value());
    days.push_back(June(20, "0800", 150));
    days.push_back(June(20, "2000", 151));
    const GlucoseProfile g = ProfileOf(days);
    EXPECT_EQ(TenthsHalfUp(*g.gmi), 69);
    EXPECT_EQ(RoundHalfUp(*g.GmiMmolPerMol()), 52);
    EXPECT_EQ(TenthsHalfUp(g.readingsPerDay), 9);  // 28 readings in 31 days

    // 139 x 90 and 160 x 89 mg/dL: the mean 26750 / 299 gives exactly 5.45 %, shown 5.5.
    std::vector<Reading> tie;
    for (int i = 0; i < 299; ++i)
        tie.push_back(June(i % 30 + 1, "1200", i < 139 ? 90 : 89));
    EXPECT_EQ(TenthsHalfUp(*ProfileOf(tie).gmi), 55);
}

// The figures written out plainly: dates compared as texts, the CV from its
// definition, percentiles rounded in integers (100 times the interpolated
// value is whole).
struct Plain {
    std::array<int32_t, 5> ranges{};
    int days = 0;
    std::optional<int64_t> cvTenths, gmiTenths;
    std::array<std::vector<int64_t>, 24> percentiles;
};

Plain PlainProfile(const ReadingList& list, const AnalysisPeriod& period) {
    const std::string from = FormatIsoDate(period.start), to = FormatIsoDate(period.end);
    Plain out;
    std::vector<int> values;
    std::set<std::string> dates;
    std::map<int, std::vector<int>> byHour;
    for (const Reading& r : list) {
        const std::string t = r.timestamp;
        const std::string date = t.substr(0, 4) + "-" + t.substr(4, 2) + "-" + t.substr(6, 2);
        if (r.marker == 5 || date <= from || date > to)
            continue;
        const int v = std::stoi(r.valueText);
        values.push_back(v);
        dates.insert(date);
        out.ranges[v < 54 ? 0 : v < 70 ? 1 : v <= 180 ? 2 : v <= 250 ? 3 : 4]++;
        byHour[std::stoi(t.substr(8, 2))].push_back(v);
    }
    out.days = static_cast<int>(dates.size());
    const double n = static_cast<double>(values.size());
    int64_t sum = 0;
    for (int v : values)
        sum += v;
    const double mean = static_cast<double>(sum) / n;
    double squares = 0;
    for (int v : values)
        squares += (v - mean) * (v - mean);
    if (values.size() >= 2)
        out.cvTenths = TenthsHalfUp(100 * std::sqrt(squares / n) / mean);
    // 10 x (3.31 + 0.02392 x sum / n) + 0.5 in integers.
    if (out.days >= 14)
        out.gmiTenths = (336000 * std::ssize(values) + 2392 * sum) / (10000 * std::ssize(values));
    for (auto& [hour, x] : byHour) {
        std::sort(x.begin(), x.end());
        for (int p : {5, 25, 50, 75, 95}) {
            const int64_t rank100 = static_cast<int64_t>(x.size() - 1) * p, f = rank100 % 100;
            const auto i = static_cast<size_t>(rank100 / 100);
            const int64_t hundredfold = 100 * x[i] + (f == 0 ? 0 : f * (x[i + 1] - x[i]));
            out.percentiles[hour].push_back((hundredfold + 50) / 100);
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
        // Few hours give bands; a narrow spread puts ranks on ties.
        const int hours = pick(1, 24), spread = pick(0, 3) == 0 ? 3 : 590;
        std::vector<Reading> readings;
        for (int i = pick(0, 150); i > 0; --i) {
            const Date d = CivilFromDays(DaysFromCivil(selected) - pick(0, 33));
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d", d.year, d.month, d.day,
                          pick(0, hours - 1), pick(0, 59));
            readings.push_back(MakeReading(std::string_view(stamp, 8), stamp + 8,
                                           pick(10, 10 + spread), rng() % 8 == 0 ? 5 : pick(0, 4),
                                           rng() % 3 == 0 ? "121" : "001"));
        }
        const ReadingList list = test::SortedList(std::move(readings));
        const GlucoseProfile g = ComputeGlucoseProfile(list, ComputePeriod(selected));
        const Plain plain = PlainProfile(list, ComputePeriod(selected));
        ASSERT_EQ(g.rangeCount, plain.ranges) << n;
        ASSERT_EQ(g.readingDays, plain.days) << n;
        ASSERT_EQ(g.cv ? std::optional(TenthsHalfUp(*g.cv)) : std::nullopt, plain.cvTenths) << n;
        ASSERT_EQ(g.gmi ? std::optional(TenthsHalfUp(*g.gmi)) : std::nullopt, plain.gmiTenths) << n;
        for (size_t h = 0; h < 24; ++h) {
            ASSERT_EQ(g.hours[h].count > 0 ? Shown(g.hours[h]) : std::vector<int64_t>{},
                      plain.percentiles[h])
                << n << ", hour " << h;
        }
    }
}

}  // namespace
}  // namespace dorvel
