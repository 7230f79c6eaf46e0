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

std::string DateText(int y, int m, int d) {
    return std::to_string(y) + Two(m) + Two(d);
}

int MonthLength(int y, int m) {
    static const int kLength[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kLength[m - 1];
}

// The day after, one calendar step at a time.
void NextDay(int& y, int& m, int& d) {
    if (++d > MonthLength(y, m)) {
        d = 1;
        if (++m > 12) {
            m = 1;
            ++y;
        }
    }
}

// The period written out from its description: one month back, the missing
// day rolling into the next month, start excluded, end included.
struct PlainPeriod {
    std::string startText, endText;
    std::vector<std::string> days;  // days[i] is dayIndex i + 1
};

PlainPeriod MakePeriod(Date selected) {
    int y = selected.year, m = selected.month - 1, d = selected.day;
    if (m == 0) {
        m = 12;
        --y;
    }
    while (d > MonthLength(y, m)) {
        d -= MonthLength(y, m);
        if (++m > 12) {
            m = 1;
            ++y;
        }
    }
    PlainPeriod p;
    p.startText = DateText(y, m, d);
    p.endText = DateText(selected.year, selected.month, selected.day);
    while (DateText(y, m, d) < p.endText) {
        NextDay(y, m, d);
        p.days.push_back(DateText(y, m, d));
    }
    return p;
}

struct Plain {
    std::map<std::string, int> n;  // every statistic by name
};

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

void RangeCount(Plain& out, const std::string& prefix, int v, TargetRange r) {
    out.n[prefix + (v < r.low ? "Low" : v > r.high ? "High" : "Target")]++;
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

Plain PlainStatistics(const ReadingList& list, const UserSettings& st, Date selected) {
    Plain out;
    std::vector<std::string> starts;
    for (const TimeOfDay& t : st.slotStart)
        starts.push_back(Two(t.hour) + Two(t.minute));
    const PlainPeriod period = MakePeriod(selected);

    std::vector<int> all, inPeriod;
    std::map<std::string, std::vector<int>> byDate;
    std::map<int, std::vector<int>> byDay;
    std::map<std::pair<int, int>, std::vector<int>> byDayCombined, byDaySeparate;
    std::map<int, std::vector<int>> byCombined, bySeparate;
    out.n["ReadingCount"] = static_cast<int>(list.size());
    out.n["ControlCount"] = 0;
    for (const Reading& r : list) {
        if (r.marker == 5) {
            out.n["ControlCount"]++;
            continue;
        }
        const int v = std::stoi(r.valueText);
        const std::string date = r.timestamp.substr(0, 8), time = r.timestamp.substr(8, 4);
        all.push_back(v);
        byDate[date].push_back(v);
        RangeCount(out, "Overall", v, st.overall);
        const int slot = FullSlot(time, starts);
        const bool counted = slot != 0 || time < starts[1] || time >= starts[7];
        const TargetRange slotRange = (slot == 2 || slot == 4 || slot == 6)   ? st.beforeMeal
                                      : (slot == 3 || slot == 5 || slot == 7) ? st.afterMeal
                                                                              : st.overall;
        if (counted)
            RangeCount(out, "OverallSlot", v, slotRange);
        if (date > period.startText && date <= period.endText) {
            const int day = static_cast<int>(
                std::find(period.days.begin(), period.days.end(), date) - period.days.begin());
            inPeriod.push_back(v);
            RangeCount(out, "Period", v, st.overall);
            if (counted)
                RangeCount(out, "PeriodSlot", v, slotRange);
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
    out.n["OverallMean"] = MeanOf(all);
    out.n["OverallMax"] = all.empty() ? 0 : *std::max_element(all.begin(), all.end());
    out.n["OverallMin"] = all.empty() ? 1000 : *std::min_element(all.begin(), all.end());
    out.n["OverallSD"] = Sd(all, out.n["OverallMean"]);
    std::vector<int> dailyMeans;
    for (const auto& [date, values] : byDate)
        dailyMeans.push_back(MeanOf(values));
    out.n["OverallDays"] = static_cast<int>(dailyMeans.size());
    out.n["OverallDailyMean"] = MeanOf(dailyMeans);

    out.n["PeriodDays"] = list.empty() ? 0 : static_cast<int>(period.days.size());
    out.n["PeriodReadingCount"] = static_cast<int>(inPeriod.size());
    out.n["PeriodReadingDays"] = static_cast<int>(byDay.size());
    out.n["PeriodMean"] = MeanOf(inPeriod);
    out.n["PeriodSD"] = Sd(inPeriod, out.n["PeriodMean"]);
    out.n["PeriodMax"] = inPeriod.empty() ? 0 : *std::max_element(inPeriod.begin(), inPeriod.end());
    out.n["PeriodMin"] =
        inPeriod.empty() ? 1000 : *std::min_element(inPeriod.begin(), inPeriod.end());
    dailyMeans.clear();
    for (const auto& [day, values] : byDay) {
        dailyMeans.push_back(MeanOf(values));
        out.n["DayCount" + std::to_string(day)] = static_cast<int>(values.size());
        out.n["DayMean" + std::to_string(day)] = MeanOf(values);
    }
    out.n["PeriodDailyMean"] = MeanOf(dailyMeans);
    for (const auto& [key, values] : byDayCombined) {
        const std::string at = std::to_string(key.first) + "/" + std::to_string(key.second);
        out.n["DayCombinedCount" + at] = static_cast<int>(values.size());
        out.n["DayCombinedMean" + at] = MeanOf(values);
    }
    for (const auto& [key, values] : byDaySeparate) {
        const std::string at = std::to_string(key.first) + "/" + std::to_string(key.second);
        out.n["DaySeparateCount" + at] = static_cast<int>(values.size());
        out.n["DaySeparateMean" + at] = MeanOf(values);
    }
    for (const auto& [k, values] : byCombined) {
        out.n["CombinedCount" + std::to_string(k)] = static_cast<int>(values.size());
        out.n["CombinedMean" + std::to_string(k)] = MeanOf(values);
        out.n["CombinedSD" + std::to_string(k)] = Sd(values, MeanOf(values));
    }
    for (const auto& [k, values] : bySeparate) {
        out.n["SeparateCount" + std::to_string(k)] = static_cast<int>(values.size());
        out.n["SeparateMean" + std::to_string(k)] = MeanOf(values);
        out.n["SeparateSD" + std::to_string(k)] = Sd(values, MeanOf(values));
    }
    return out;
}

// The computed statistics under the same names; zeros left out, as above.
Plain Named(const Statistics& s) {
    Plain out;
    const OverallStats& o = s.overall;
    const PeriodStats& p = s.period;
    out.n = {{"ReadingCount", o.readingCount},
             {"ControlCount", o.controlCount},
             {"OverallMean", o.overallMean},
             {"OverallMax", o.overallMax},
             {"OverallMin", o.overallMin},
             {"OverallSD", o.overallSD},
             {"OverallDays", o.overallDays},
             {"OverallDailyMean", o.overallDailyMean},
             {"OverallLow", o.overallLowCount},
             {"OverallTarget", o.overallTargetCount},
             {"OverallHigh", o.overallHighCount},
             {"OverallSlotLow", o.overallSlotLowCount},
             {"OverallSlotTarget", o.overallSlotTargetCount},
             {"OverallSlotHigh", o.overallSlotHighCount},
             {"PeriodDays", p.periodDays},
             {"PeriodReadingCount", p.periodReadingCount},
             {"PeriodReadingDays", p.periodReadingDays},
             {"PeriodMean", p.periodMean},
             {"PeriodDailyMean", p.periodDailyMean},
             {"PeriodSD", p.periodSD},
             {"PeriodMax", p.periodMax},
             {"PeriodMin", p.periodMin},
             {"PeriodLow", p.periodLowCount},
             {"PeriodTarget", p.periodTargetCount},
             {"PeriodHigh", p.periodHighCount},
             {"PeriodSlotLow", p.periodSlotLowCount},
             {"PeriodSlotTarget", p.periodSlotTargetCount},
             {"PeriodSlotHigh", p.periodSlotHighCount}};
    const auto put = [&out](const std::string& name, int value) {
        if (value != 0)
            out.n[name] = value;
    };
    for (int d = 0; d < kPeriodDaySlots; ++d) {
        put("DayCount" + std::to_string(d), s.perDay.dayCount[d]);
        put("DayMean" + std::to_string(d), s.perDay.dayMean[d]);
        for (int k = 0; k < kCombinedSlotCount; ++k) {
            const std::string at = std::to_string(d) + "/" + std::to_string(k);
            put("DayCombinedCount" + at, s.perDay.dayCombinedCount[d][k]);
            put("DayCombinedMean" + at, s.perDay.dayCombinedMean[d][k]);
        }
        for (int k = 0; k < kSeparateSlotCount; ++k) {
            const std::string at = std::to_string(d) + "/" + std::to_string(k);
            put("DaySeparateCount" + at, s.perDay.daySeparateCount[d][k]);
            put("DaySeparateMean" + at, s.perDay.daySeparateMean[d][k]);
        }
    }
    for (int k = 0; k < kCombinedSlotCount; ++k) {
        put("CombinedCount" + std::to_string(k), s.perSlot.combinedCount[k]);
        put("CombinedMean" + std::to_string(k), s.perSlot.combinedMean[k]);
        put("CombinedSD" + std::to_string(k), s.perSlot.combinedSD[k]);
    }
    for (int k = 0; k < kSeparateSlotCount; ++k) {
        put("SeparateCount" + std::to_string(k), s.perSlot.separateCount[k]);
        put("SeparateMean" + std::to_string(k), s.perSlot.separateMean[k]);
        put("SeparateSD" + std::to_string(k), s.perSlot.separateSD[k]);
    }
    return out;
}

void DropZeros(Plain& p) {
    for (auto it = p.n.begin(); it != p.n.end();) {
        const bool keep =
            it->second != 0 || it->first.find_first_of("0123456789") == std::string::npos;
        it = keep ? std::next(it) : p.n.erase(it);
    }
}

// Fills the plain side with every named scalar the computed side has, as 0.
void AddMissingScalars(Plain& plain, const Plain& computed) {
    for (const auto& [name, value] : computed.n) {
        if (name.find_first_of("0123456789") == std::string::npos)
            plain.n.emplace(name, 0);
    }
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
    p.selected = {pick(2002, 2013), pick(1, 12), 1};
    p.selected.day = pick(1, MonthLength(p.selected.year, p.selected.month));
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
        int y, m, d;
        if (rng() % 2 == 0) {
            const int64_t day = DaysFromCivil(p.selected) - pick(0, 40) + pick(0, 5);
            const Date near = CivilFromDays(day);
            y = near.year, m = near.month, d = near.day;
        } else {
            y = pick(2001, 2013), m = pick(1, 12), d = pick(1, MonthLength(y, m));
        }
        const std::string user =
            users == 1 ? "001" : (rng() % users == 0 ? "121" : "00" + std::to_string(pick(1, 2)));
        readings.push_back(test::MakeReading(DateText(y, m, d), Two(pick(0, 23)) + Two(pick(0, 59)),
                                             pick(10, 600), rng() % 8 == 0 ? 5 : pick(0, 4), user));
    }
    p.list = test::SortedList(std::move(readings));
    return p;
}

TEST(StatisticsProperty, AgreesWithAPlainComputation) {
    std::mt19937 rng(20110630);
    for (int n = 0; n < 3000; ++n) {
        const Patient p = RandomPatient(rng);
        const Plain computed = Named(Recompute(p.list, p.settings, p.selected));
        Plain plain = PlainStatistics(p.list, p.settings, p.selected);
        DropZeros(plain);
        AddMissingScalars(plain, computed);
        ASSERT_EQ(computed.n, plain.n) << "patient " << n << ", " << p.list.size() << " readings, "
                                       << FormatIsoDate(p.selected);
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
