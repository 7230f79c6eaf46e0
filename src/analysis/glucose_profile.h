#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "analysis/period.h"
#include "store/reading.h"

namespace dorvel {

// The glucose profile of a period: how the readings fall into the five
// consensus ranges, how much they vary, and the modal day (every day of the
// period laid over one 24-hour day). Meter readings are samples, not a
// continuous trace, so everything here counts readings, not time.
//
// The figures are computed in floating point from the integer mg/dL values
// and rounded only for display, "half up" (see RoundHalfUp).

// The five ranges, always judged on the integer mg/dL value.
enum class ConsensusRange { VeryLow, Low, Target, High, VeryHigh };
inline constexpr int kConsensusRangeCount = 5;
// Lowest value of Low, Target, High and VeryHigh: below 54 is very low,
// 54..69 low, 70..180 target, 181..250 high, above 250 very high.
inline constexpr std::array<int32_t, 4> kConsensusBorders = {54, 70, 181, 251};
ConsensusRange ConsensusRangeOf(int32_t mgdl);

// The percentiles of each hour of the modal day.
inline constexpr std::array<int, 5> kProfilePercentiles = {5, 25, 50, 75, 95};
inline constexpr int kHoursPerDay = 24;
// An hour with fewer readings shows them one by one rather than as bands.
inline constexpr int kBandMinimumReadings = 5;
// The glucose management indicator needs readings on at least this many days.
inline constexpr int kGmiMinimumDays = 14;

struct HourProfile {
    int32_t count = 0;
    // The 5th, 25th, 50th, 75th and 95th percentile; all 0 for an hour
    // without readings, where they do not exist.
    std::array<double, kProfilePercentiles.size()> percentile{};
    // The readings themselves when there are fewer than kBandMinimumReadings,
    // ascending; the first `count` entries hold them.
    std::array<int32_t, kBandMinimumReadings - 1> few{};

    bool HasBands() const { return count >= kBandMinimumReadings; }
};

struct GlucoseProfile {
    int32_t readingCount = 0;  // non-control readings in the period
    int32_t periodDays = 0;
    int32_t readingDays = 0;  // period days with at least one reading
    std::array<int32_t, kConsensusRangeCount> rangeCount{};
    std::optional<double> mean;  // exact mean; none without readings
    double readingsPerDay = 0;
    std::optional<double> cv;   // coefficient of variation in percent; none below two readings
    std::optional<double> gmi;  // glucose management indicator in percent; none below 14 days
    std::array<HourProfile, kHoursPerDay> hours{};

    int32_t RangeCount(ConsensusRange range) const {
        return rangeCount[static_cast<size_t>(range)];
    }
    // The share of the range in percent; none without readings.
    std::optional<double> RangePercent(ConsensusRange range) const;
    // The indicator as an HbA1c in mmol/mol, from the unrounded percentage.
    std::optional<double> GmiMmolPerMol() const;
};

// The profile of the non-control readings of `list` whose date lies in `period`.
GlucoseProfile ComputeGlucoseProfile(const ReadingList& list, const AnalysisPeriod& period);

// The percentile `p` (0..100) of the ascending values: linear interpolation
// between the ranks around (k - 1) * p / 100. `sorted` must not be empty.
double Percentile(const int32_t* sorted, size_t k, int p);

// Display rounding, "half up": floor(x + 0.5) to an integer, and to one
// decimal floor(10x + 0.5) / 10, given here as a count of tenths.
int64_t RoundHalfUp(double x);
int64_t TenthsHalfUp(double x);

}  // namespace dorvel
