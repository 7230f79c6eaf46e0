#include "statistics.h"

#include "store/decimal.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace dorvel {

namespace {

// One reading reduced to what the passes look at; the timestamp bytes are
// split once instead of in every pass.
struct Row {
    DateKey date = 0;
    TimeKey time = 0;
    int32_t value = 0;
    int8_t day = -1;       // dayIndex - 1 in the period, -1 outside it
    int8_t combined = -1;  // slot in each scheme, -1 for none; set for period readings only
    int8_t separate = -1;
};

int32_t ValueOf(const std::string& text) {
    // The common case is three digits; anything else goes the general way.
    if (text.size() == 3 && text[0] >= '0' && text[0] <= '9' && text[1] >= '0' && text[1] <= '9' &&
        text[2] >= '0' && text[2] <= '9') {
        return (text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0');
    }
    return LeadingInt(text);
}

int32_t Mean(int64_t sum, int64_t count) {
    return count > 0 ? static_cast<int32_t>(sum / count) : 0;
}

int32_t SpreadOf(int64_t sumOfSquares, int64_t count) {
    return count > 1 ? TruncatedSqrt(sumOfSquares / count) : 0;
}

int64_t Square(int64_t x) {
    return x * x;
}

void Count(RangeClass c, int32_t& low, int32_t& target, int32_t& high) {
    switch (c) {
        case RangeClass::Low:
            ++low;
            break;
        case RangeClass::Target:
            ++target;
            break;
        case RangeClass::High:
            ++high;
            break;
    }
}

// Mean of the daily means over calendar dates. The list is ordered by meter
// user first, so with several users one date can appear in more than one
// stretch of the list; it is still one day.
void DailyMeans(const std::vector<Row>& rows, int32_t& days, int32_t& dailyMean) {
    const auto byDate = [](const Row& a, const Row& b) { return a.date < b.date; };
    const std::vector<Row>* ordered = &rows;
    std::vector<Row> sorted;
    if (!std::is_sorted(rows.begin(), rows.end(), byDate)) {
        sorted = rows;
        std::stable_sort(sorted.begin(), sorted.end(), byDate);
        ordered = &sorted;
    }
    int64_t dailyMeanSum = 0;
    int64_t dayCount = 0;
    size_t i = 0;
    while (i < ordered->size()) {
        int64_t sum = 0;
        int64_t n = 0;
        const DateKey date = (*ordered)[i].date;
        for (; i < ordered->size() && (*ordered)[i].date == date; ++i) {
            sum += (*ordered)[i].value;
            ++n;
        }
        dailyMeanSum += sum / n;
        ++dayCount;
    }
    days = static_cast<int32_t>(dayCount);
    dailyMean = Mean(dailyMeanSum, dayCount);
}

}  // namespace

int32_t TruncatedSqrt(int64_t value) {
    if (value <= 0)
        return 0;
    return static_cast<int32_t>(std::sqrt(static_cast<double>(value)));
}

Statistics Recompute(const ReadingList& list, const UserSettings& settings,
                     const Date& selectedDate) {
    Statistics s;
    s.analysisPeriod = ComputePeriod(selectedDate);
    const AnalysisPeriod& period = s.analysisPeriod;
    OverallStats& o = s.overall;
    PeriodStats& p = s.period;
    o.overallMin = kNoMinimum;
    o.overallMax = kNoMaximum;
    p.periodMin = kNoMinimum;
    p.periodMax = kNoMaximum;
    if (list.empty())
        return s;  // PeriodDays stays 0 as well
    p.periodDays = period.days;

    const SlotKeys keys(settings);
    std::vector<Row> rows;
    rows.reserve(list.size());

    // Pass 1: everything that needs only the reading itself.
    o.readingCount = static_cast<int32_t>(list.size());
    int64_t sum = 0;
    for (const Reading& r : list) {
        if (r.IsControl()) {
            ++o.controlCount;
            continue;
        }
        const std::string_view ts = r.timestamp;
        Row row;
        row.date = DateKeyOf(ts.substr(0, std::min<size_t>(8, ts.size())));
        row.time = TimeKeyOf(ts.size() > 8 ? ts.substr(8) : std::string_view());
        row.value = ValueOf(r.valueText);
        if (period.KeyInRange(row.date)) {
            if (const auto index = period.DayIndex(ts.substr(0, 8));
                index && *index <= kPeriodDaySlots) {
                row.day = static_cast<int8_t>(*index - 1);
                row.combined = static_cast<int8_t>(CombinedSlotOf(row.time, keys).value_or(-1));
                row.separate = static_cast<int8_t>(SeparateSlotOf(row.time, keys).value_or(-1));
            }
        }
        const int32_t v = row.value;
        sum += v;
        o.overallMax = std::max(o.overallMax, v);
        o.overallMin = std::min(o.overallMin, v);
        Count(RangeClassOf(v, settings.overall), o.overallLowCount, o.overallTargetCount,
              o.overallHighCount);
        const RangeClass c = RangeClassOf(v, SlotCountRange(row.time, keys, settings));
        Count(c, o.overallSlotLowCount, o.overallSlotTargetCount, o.overallSlotHighCount);
        if (row.day >= 0)
            Count(c, p.periodSlotLowCount, p.periodSlotTargetCount, p.periodSlotHighCount);
        rows.push_back(row);
    }
    const int64_t m = static_cast<int64_t>(rows.size());
    o.overallMean = Mean(sum, m);

    // Pass 2: spread and daily means over all readings.
    int64_t squares = 0;
    for (const Row& row : rows)
        squares += Square(row.value - o.overallMean);
    o.overallSD = SpreadOf(squares, m);
    DailyMeans(rows, o.overallDays, o.overallDailyMean);

    // Period pass: per day and per day and slot.
    std::array<int64_t, kPeriodDaySlots> daySum{};
    std::array<std::array<int64_t, kCombinedSlotCount>, kPeriodDaySlots> dayCombinedSum{};
    std::array<std::array<int64_t, kSeparateSlotCount>, kPeriodDaySlots> daySeparateSum{};
    PerDayStats& pd = s.perDay;
    for (const Row& row : rows) {
        if (row.day < 0)
            continue;
        const int32_t v = row.value;
        p.periodMax = std::max(p.periodMax, v);
        p.periodMin = std::min(p.periodMin, v);
        Count(RangeClassOf(v, settings.overall), p.periodLowCount, p.periodTargetCount,
              p.periodHighCount);
        const int d = row.day;
        daySum[d] += v;
        ++pd.dayCount[d];
        if (const int k = row.combined; k >= 0) {
            dayCombinedSum[d][k] += v;
            ++pd.dayCombinedCount[d][k];
        }
        if (const int k = row.separate; k >= 0) {
            daySeparateSum[d][k] += v;
            ++pd.daySeparateCount[d][k];
        }
    }

    // Period totals, day by day.
    PerSlotStats& ps = s.perSlot;
    int64_t periodSum = 0;
    int64_t dailyMeanSum = 0;
    std::array<int64_t, kCombinedSlotCount> combinedSum{};
    std::array<int64_t, kSeparateSlotCount> separateSum{};
    for (int d = 0; d < period.days && d < kPeriodDaySlots; ++d) {
        if (pd.dayCount[d] > 0) {
            periodSum += daySum[d];
            p.periodReadingCount += pd.dayCount[d];
            pd.dayMean[d] = Mean(daySum[d], pd.dayCount[d]);
            dailyMeanSum += pd.dayMean[d];
            ++p.periodReadingDays;
        }
        for (int k = 0; k < kCombinedSlotCount; ++k) {
            if (pd.dayCombinedCount[d][k] > 0) {
                combinedSum[k] += dayCombinedSum[d][k];
                ps.combinedCount[k] += pd.dayCombinedCount[d][k];
                pd.dayCombinedMean[d][k] = Mean(dayCombinedSum[d][k], pd.dayCombinedCount[d][k]);
            }
        }
        for (int k = 0; k < kSeparateSlotCount; ++k) {
            if (pd.daySeparateCount[d][k] > 0) {
                separateSum[k] += daySeparateSum[d][k];
                ps.separateCount[k] += pd.daySeparateCount[d][k];
                pd.daySeparateMean[d][k] = Mean(daySeparateSum[d][k], pd.daySeparateCount[d][k]);
            }
        }
    }
    p.periodMean = Mean(periodSum, p.periodReadingCount);
    p.periodDailyMean = Mean(dailyMeanSum, p.periodReadingDays);
    for (int k = 0; k < kCombinedSlotCount; ++k)
        ps.combinedMean[k] = Mean(combinedSum[k], ps.combinedCount[k]);
    for (int k = 0; k < kSeparateSlotCount; ++k)
        ps.separateMean[k] = Mean(separateSum[k], ps.separateCount[k]);

    // Period spreads: around the period mean and around each slot's mean.
    int64_t periodSquares = 0;
    std::array<int64_t, kCombinedSlotCount> combinedSquares{};
    std::array<int64_t, kSeparateSlotCount> separateSquares{};
    for (const Row& row : rows) {
        if (row.day < 0)
            continue;
        periodSquares += Square(row.value - p.periodMean);
        if (const int k = row.combined; k >= 0)
            combinedSquares[k] += Square(row.value - ps.combinedMean[k]);
        if (const int k = row.separate; k >= 0)
            separateSquares[k] += Square(row.value - ps.separateMean[k]);
    }
    p.periodSD = SpreadOf(periodSquares, p.periodReadingCount);
    for (int k = 0; k < kCombinedSlotCount; ++k)
        ps.combinedSD[k] = SpreadOf(combinedSquares[k], ps.combinedCount[k]);
    for (int k = 0; k < kSeparateSlotCount; ++k)
        ps.separateSD[k] = SpreadOf(separateSquares[k], ps.separateCount[k]);
    return s;
}

double ToMmolPerL(int mgdl) {
    if (mgdl < 1)
        return 0.0;
    const double result = std::floor(mgdl / 18.0 * 10) / 10;
    return result < 0.1 ? 0.0 : result;
}

int ToFahrenheit(int tenthsCelsius) {
    if (tenthsCelsius < 1)
        return 0;
    return static_cast<int>(tenthsCelsius / 10.0 * 1.8 + 32);
}

}  // namespace dorvel
