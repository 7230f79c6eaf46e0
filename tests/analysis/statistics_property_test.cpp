// Recompute against a plain second computation over random patients.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "analysis/month_walk.h"
#include "analysis/statistics.h"
#include "make_reading.h"

namespace dorvel {
namespace {

std::string Two(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

std::string DateText(Date d) {
    return std::to_string(d.year) + Two(d.month) + Two(d.day);
}

// The last valid day of the month at or before `d`.
Date ValidDay(int y, int m, int d) {
    while (!IsValidDate({y, m, d}))
        --d;
    return {y, m, d};
}

// The period's days written out from its description: one month back, a day
// that month lacks rolling over into the next, start excluded, end included.
std::vector<std::string> PeriodDays(Date selected) {
    const int y = selected.month == 1 ? selected.year - 1 : selected.year;
    const int m = selected.month == 1 ? 12 : selected.month - 1;
    const Date last = ValidDay(y, m, selected.day);
    const int64_t start = DaysFromCivil(last) + (selected.day - last.day);
    std::vector<std::string> days;
    for (int64_t d = start + 1; d <= DaysFromCivil(selected); ++d)
        days.push_back(DateText(CivilFromDays(d)));
    return days;
}

int Sd(const std::vector<int>& values, int mean) {
    if (values.size() < 2)
        return 0;
    long long squares = 0;
    for (int v : values)
        squares += static_cast<long long>(v - mean) * (v - mean);
    return static_cast<int>(std::sqrt(static_cast<double>(squares / (long long)values.size())));
}

int MeanOf(const std::vector<int>& values) {
    long long sum = 0;
    for (int v : values)
        sum += v;
    return values.empty() ? 0 : static_cast<int>(sum / (long long)values.size());
}

void RangeCount(int v, TargetRange r, int32_t& low, int32_t& target, int32_t& high) {
    ++(v < r.low ? low : v > r.high ? high : target);
}

// Slot numbers by walking the tables in order, with the times as "hhmm" texts.
int FullSlot(const std::string& t, const std::vector<std::string>& s) {
    for (int i = 0; i < 7; ++i)
        if (s[i] <= t && t < s[i + 1])
            return i + 1;
    return s[7] <= t ? 8 : 0;
}

int CombinedSlot(const std::string& t, const std::vector<std::string>& s) {
    const int from[] = {0, 1, 3, 5, 7}, to[] = {1, 3, 5, 7, 8};
    for (int k = 0; k < 5; ++k)
        if (s[from[k]] <= t && (to[k] == 8 || t < s[to[k]]))
            return k;
    return -1;
}

int SeparateSlot(const std::string& t, const std::vector<std::string>& s) {
    for (int k = 0; k < 6; ++k)
        if (s[k + 1] <= t && t < s[k + 2])
            return k;
    return -1;
}

Statistics PlainStatistics(const ReadingList& list, const UserSettings& st, Date selected) {
    Statistics out;
    OverallStats& o = out.overall;
    PeriodStats& p = out.period;
    std::vector<std::string> starts;
    for (const TimeOfDay& t : st.slotStart)
        starts.push_back(Two(t.hour) + Two(t.minute));
    const std::vector<std::string> period = PeriodDays(selected);

    std::vector<int> all, inPeriod;
    std::map<std::string, std::vector<int>> byDate;
    std::map<int, std::vector<int>> byDay, byCombined, bySeparate;
    std::map<std::pair<int, int>, std::vector<int>> byDayCombined, byDaySeparate;
    o.readingCount = static_cast<int>(list.size());
    for (const Reading& r : list) {
        if (r.marker == 5) {
            o.controlCount++;
            continue;
        }
        const int v = std::stoi(r.valueText);
        const std::string date = r.timestamp.substr(0, 8), time = r.timestamp.substr(8, 4);
        all.push_back(v);
        byDate[date].push_back(v);
        RangeCount(v, st.overall, o.overallLowCount, o.overallTargetCount, o.overallHighCount);
        const int slot = FullSlot(time, starts);
        const bool counted = slot != 0 || time < starts[1] || time >= starts[7];
        const TargetRange slotRange = (slot == 2 || slot == 4 || slot == 6)   ? st.beforeMeal
                                      : (slot == 3 || slot == 5 || slot == 7) ? st.afterMeal
                                                                              : st.overall;
        if (counted) {
            RangeCount(v, slotRange, o.overallSlotLowCount, o.overallSlotTargetCount,
                       o.overallSlotHighCount);
        }
        if (const auto at = std::find(period.begin(), period.end(), date); at != period.end()) {
            const int day = static_cast<int>(at - period.begin());
            inPeriod.push_back(v);
            RangeCount(v, st.overall, p.periodLowCount, p.periodTargetCount, p.periodHighCount);
            if (counted) {
                RangeCount(v, slotRange, p.periodSlotLowCount, p.periodSlotTargetCount,
                           p.periodSlotHighCount);
            }
            byDay[day].push_back(v);
            if (const int k = CombinedSlot(time, starts); k >= 0) {
                byDayCombined[{day, k}].push_back(v);
                byCombined[k].push_back(v);
            }
            if (const int k = SeparateSlot(time, starts); k >= 0) {
                byDaySeparate[{day, k}].push_back(v);
                bySeparate[k].push_back(v);
            }
        }
    }
    o.overallMean = MeanOf(all);
    o.overallMax = all.empty() ? 0 : *std::max_element(all.begin(), all.end());
    o.overallMin = all.empty() ? 1000 : *std::min_element(all.begin(), all.end());
    o.overallSD = Sd(all, o.overallMean);
    std::vector<int> dailyMeans;
    for (const auto& [date, values] : byDate)
        dailyMeans.push_back(MeanOf(values));
    o.overallDays = static_cast<int>(dailyMeans.size());
    o.overallDailyMean = MeanOf(dailyMeans);

    p.periodDays = list.empty() ? 0 : static_cast<int>(period.size());
    p.periodReadingCount = static_cast<int>(inPeriod.size());
    p.periodReadingDays = static_cast<int>(byDay.size());
    p.periodMean = MeanOf(inPeriod);
    p.periodSD = Sd(inPeriod, p.periodMean);
    p.periodMax = inPeriod.empty() ? 0 : *std::max_element(inPeriod.begin(), inPeriod.end());
    p.periodMin = inPeriod.empty() ? 1000 : *std::min_element(inPeriod.begin(), inPeriod.end());
    dailyMeans.clear();
    for (const auto& [day, values] : byDay) {
        dailyMeans.push_back(MeanOf(values));
        out.perDay.dayCount[day] = static_cast<int>(values.size());
        out.perDay.dayMean[day] = MeanOf(values);
    }
    p.periodDailyMean = MeanOf(dailyMeans);
    for (const auto& [at, values] : byDayCombined) {
        out.perDay.dayCombinedCount[at.first][at.second] = static_cast<int>(values.size());
        out.perDay.dayCombinedMean[at.first][at.second] = MeanOf(values);
    }
    for (const auto& [at, values] : byDaySeparate) {
        out.perDay.daySeparateCount[at.first][at.second] = static_cast<int>(values.size());
        out.perDay.daySeparateMean[at.first][at.second] = MeanOf(values);
    }
    for (const auto& [k, values] : byCombined) {
        out.perSlot.combinedCount[k] = static_cast<int>(values.size());
        out.perSlot.combinedMean[k] = MeanOf(values);
        out.perSlot.combinedSD[k] = Sd(values, MeanOf(values));
    }
    for (const auto& [k, values] : bySeparate) {
        out.perSlot.separateCount[k] = static_cast<int>(values.size());
        out.perSlot.separateMean[k] = MeanOf(values);
        out.perSlot.separateSD[k] = Sd(values, MeanOf(values));
    }
    return out;
}

struct Patient {
    ReadingList list;
    UserSettings settings;
    Date selected;
};

Patient RandomPatient(std::mt19937& rng) {
    const auto pick = [&rng](int lo, int hi) {
        return lo + static_cast<int>(rng() % (hi - lo + 1));
    };
    Patient p;
    p.selected = ValidDay(pick(2002, 2013), pick(1, 12), pick(1, 31));
    for (TimeOfDay& t : p.settings.slotStart)
        t = {pick(0, 23), pick(0, 59), pick(0, 59)};
    if (rng() % 3 == 0)  // often ascending, as the settings sheet leaves them
        std::sort(p.settings.slotStart.begin(), p.settings.slotStart.end());
    if (rng() % 4 == 0)
        p.settings = UserSettings{};
    for (TargetRange* r : {&p.settings.beforeMeal, &p.settings.afterMeal, &p.settings.overall}) {
        r->low = pick(50, 120);
        r->high = pick(r->low, 250);
    }
    const int users = pick(1, 3);
    const int count = pick(0, 120);
    std::vector<Reading> readings;
    for (int i = 0; i < count; ++i) {
        // Half of the readings near the selected date, the rest over the years.
        const Date date = rng() % 2 == 0
                              ? CivilFromDays(DaysFromCivil(p.selected) - pick(0, 40) + pick(0, 5))
                              : ValidDay(pick(2001, 2013), pick(1, 12), pick(1, 31));
        const std::string user =
            users == 1 ? "001" : (rng() % users == 0 ? "121" : "00" + std::to_string(pick(1, 2)));
        readings.push_back(test::MakeReading(DateText(date), Two(pick(0, 23)) + Two(pick(0, 59)),
                                             pick(10, 600), rng() % 8 == 0 ? 5 : pick(0, 4), user));
    }
    p.list = test::SortedList(std::move(readings));
    return p;
}

TEST(StatisticsProperty, AgreesWithAPlainComputation) {
    std::mt19937 rng(20110630);
    for (int n = 0; n < 3000; ++n) {
        const Patient p = RandomPatient(rng);
        const Statistics computed = Recompute(p.list, p.settings, p.selected);
        const Statistics plain = PlainStatistics(p.list, p.settings, p.selected);
        const std::string which = "patient " + std::to_string(n) + ", " +
                                  std::to_string(p.list.size()) + " readings, " +
                                  FormatIsoDate(p.selected);
        ASSERT_EQ(computed.overall, plain.overall) << which;
        ASSERT_EQ(computed.period, plain.period) << which;
        ASSERT_TRUE(computed.perDay == plain.perDay) << which;
        ASSERT_TRUE(computed.perSlot == plain.perSlot) << which;
    }
}

TEST(StatisticsProperty, MonthWalkAgreesWithOneRecomputePerMonth) {
    std::mt19937 rng(2002);
    for (int n = 0; n < 300; ++n) {
        Patient p = RandomPatient(rng);
        std::vector<Date> slow;
        for (const Date& step : MonthSteps(p.selected)) {
            if (Recompute(p.list, p.settings, step).period.periodReadingDays > 0)
                slow.push_back(step);
        }
        ASSERT_EQ(MonthsWithReadings(p.list, p.selected), slow) << "patient " << n;
    }
}

}  // namespace
}  // namespace dorvel
