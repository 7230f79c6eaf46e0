#pragma once

#include <array>
#include <cstdint>

#include "analysis/meal_slots.h"
#include "analysis/period.h"
#include "store/reading.h"
#include "store/user_settings.h"

namespace dorvel {

inline constexpr int kPeriodDaySlots = 32;  // one more than the longest period
inline constexpr int32_t kNoMaximum = 0;
inline constexpr int32_t kNoMinimum = 1000;

// Means truncate; standard deviations are population deviations whose
// integer variance is taken before a truncated square root. Everything is in
// mg/dL; "reading" means a reading that is not a control-solution check.
struct OverallStats {
    int32_t readingCount = 0;  // records, control readings included
    int32_t controlCount = 0;
    int32_t overallMean = 0;
    int32_t overallMax = 0;
    int32_t overallMin = 0;
    int32_t overallSD = 0;
    int32_t overallDays = 0;  // calendar days with at least one reading
    int32_t overallDailyMean = 0;
    int32_t overallLowCount = 0;  // against the overall target range
    int32_t overallTargetCount = 0;
    int32_t overallHighCount = 0;
    int32_t overallSlotLowCount = 0;  // against the range of each reading's slot
    int32_t overallSlotTargetCount = 0;
    int32_t overallSlotHighCount = 0;

    friend bool operator==(const OverallStats&, const OverallStats&) = default;
};

struct PeriodStats {
    int32_t periodDays = 0;
    int32_t periodReadingCount = 0;
    int32_t periodReadingDays = 0;
    int32_t periodMean = 0;
    int32_t periodDailyMean = 0;
    int32_t periodSD = 0;
    int32_t periodMax = 0;
    int32_t periodMin = 0;
    int32_t periodLowCount = 0;
    int32_t periodTargetCount = 0;
    int32_t periodHighCount = 0;
    int32_t periodSlotLowCount = 0;
    int32_t periodSlotTargetCount = 0;
    int32_t periodSlotHighCount = 0;

    friend bool operator==(const PeriodStats&, const PeriodStats&) = default;
};

template <int N>
using DaySlotTable = std::array<std::array<int32_t, N>, kPeriodDaySlots>;

// Per period day, indexed with dayIndex - 1; a day or slot without readings holds 0.
struct PerDayStats {
    std::array<int32_t, kPeriodDaySlots> dayCount{};
    std::array<int32_t, kPeriodDaySlots> dayMean{};
    DaySlotTable<kCombinedSlotCount> dayCombinedCount{};
    DaySlotTable<kCombinedSlotCount> dayCombinedMean{};
    DaySlotTable<kSeparateSlotCount> daySeparateCount{};
    DaySlotTable<kSeparateSlotCount> daySeparateMean{};

    friend bool operator==(const PerDayStats&, const PerDayStats&) = default;
};

// Per slot over the whole period.
struct PerSlotStats {
    std::array<int32_t, kCombinedSlotCount> combinedCount{};
    std::array<int32_t, kCombinedSlotCount> combinedMean{};
    std::array<int32_t, kCombinedSlotCount> combinedSD{};
    std::array<int32_t, kSeparateSlotCount> separateCount{};
    std::array<int32_t, kSeparateSlotCount> separateMean{};
    std::array<int32_t, kSeparateSlotCount> separateSD{};

    friend bool operator==(const PerSlotStats&, const PerSlotStats&) = default;
};

// Every number the reports show. A default-constructed value is all zeros:
// what the program shows before the first computation.
struct Statistics {
    AnalysisPeriod analysisPeriod;
    OverallStats overall;
    PeriodStats period;
    PerDayStats perDay;
    PerSlotStats perSlot;

    friend bool operator==(const Statistics&, const Statistics&) = default;
};

// Computes every statistic of `list` for the period that ends on `selectedDate`.
//
// An empty list gives the results of a list without readings (minima 1000,
// everything else 0, PeriodDays 0) rather than keeping those of an earlier
// list: an earlier list may have been another patient's.
Statistics Recompute(const ReadingList& list, const UserSettings& settings,
                     const Date& selectedDate);

// Display conversions. Values stay in mg/dL and tenths of a degree Celsius everywhere else.
double ToMmolPerL(int mgdl);          // truncated to one decimal: 100 -> 5.5, 600 -> 33.3
int ToFahrenheit(int tenthsCelsius);  // truncated: 235 -> 74

// Integer square root of the integer variance, as every SD here is taken.
int32_t TruncatedSqrt(int64_t value);

}  // namespace dorvel
