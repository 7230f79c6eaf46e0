#include "glucose_profile.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace dorvel {

namespace {

// The hour of a "YYYYMMDDhhmm" timestamp, or -1 when its hour field is no hour.
int HourOf(std::string_view timestamp) {
    if (timestamp.size() < 10)
        return -1;
    const char h = timestamp[8];
    const char l = timestamp[9];
    if (h < '0' || h > '9' || l < '0' || l > '9')
        return -1;
    const int hour = (h - '0') * 10 + (l - '0');
    return hour < kHoursPerDay ? hour : -1;
}

HourProfile ProfileOfHour(std::vector<int32_t>& values) {
    HourProfile hour;
    hour.count = static_cast<int32_t>(values.size());
    if (values.empty())
        return hour;
    std::sort(values.begin(), values.end());
    for (size_t i = 0; i < kProfilePercentiles.size(); ++i)
        hour.percentile[i] = Percentile(values.data(), values.size(), kProfilePercentiles[i]);
    if (!hour.HasBands())
        std::copy(values.begin(), values.end(), hour.few.begin());
    return hour;
}

}  // namespace

ConsensusRange ConsensusRangeOf(int32_t mgdl) {
    int range = 0;
    while (range < static_cast<int>(kConsensusBorders.size()) &&
           mgdl >= kConsensusBorders[static_cast<size_t>(range)])
        ++range;
    return static_cast<ConsensusRange>(range);
}

double Percentile(const int32_t* sorted, size_t k, int p) {
    // r = (k - 1) p / 100 split into its whole and its hundredths in
    // integers, so a rank that falls on a value or halfway between two is
    // exact and rounds the way it reads.
    const int64_t rank = static_cast<int64_t>(k - 1) * p;
    const auto whole = static_cast<size_t>(rank / 100);
    const int64_t hundredths = rank % 100;
    if (hundredths == 0)
        return sorted[whole];
    const int64_t step = int64_t{sorted[whole + 1]} - sorted[whole];
    return sorted[whole] + static_cast<double>(hundredths * step) / 100.0;
}

int64_t RoundHalfUp(double x) {
    return static_cast<int64_t>(std::floor(x + 0.5));
}

int64_t TenthsHalfUp(double x) {
    return static_cast<int64_t>(std::floor(10 * x + 0.5));
}

std::optional<double> GlucoseProfile::RangePercent(ConsensusRange range) const {
    if (readingCount == 0)
        return std::nullopt;
    return 100.0 * RangeCount(range) / readingCount;
}

std::optional<double> GlucoseProfile::GmiMmolPerMol() const {
    if (!gmi)
        return std::nullopt;
    return 10.929 * (*gmi - 2.15);
}

GlucoseProfile ComputeGlucoseProfile(const ReadingList& list, const AnalysisPeriod& period) {
    GlucoseProfile profile;
    profile.periodDays = period.days;
    std::array<std::vector<int32_t>, kHoursPerDay> byHour;
    std::vector<int32_t> all;
    std::array<bool, 32> dayHasReadings{};
    int64_t sum = 0;
    for (const Reading& r : list) {
        if (r.IsControl())
            continue;
        const std::string_view ts = r.timestamp;
        const std::string_view date = ts.substr(0, std::min<size_t>(8, ts.size()));
        // The key test first: most of a long history lies outside the month.
        if (!period.KeyInRange(DateKeyOf(date)))
            continue;
        const std::optional<int> day = period.DayIndex(date);
        if (!day)
            continue;
        const int32_t v = r.Value().value;
        all.push_back(v);
        sum += v;
        ++profile.rangeCount[static_cast<size_t>(ConsensusRangeOf(v))];
        if (*day >= 1 && *day <= static_cast<int>(dayHasReadings.size()))
            dayHasReadings[static_cast<size_t>(*day - 1)] = true;
        if (const int hour = HourOf(ts); hour >= 0)
            byHour[static_cast<size_t>(hour)].push_back(v);
    }

    const auto n = static_cast<int64_t>(all.size());
    profile.readingCount = static_cast<int32_t>(n);
    profile.readingDays =
        static_cast<int32_t>(std::count(dayHasReadings.begin(), dayHasReadings.end(), true));
    if (period.days > 0)
        profile.readingsPerDay = static_cast<double>(n) / period.days;
    if (n > 0) {
        const double mean = static_cast<double>(sum) / static_cast<double>(n);
        profile.mean = mean;
        if (n >= 2 && mean > 0) {
            double squares = 0;
            for (const int32_t v : all)
                squares += (v - mean) * (v - mean);
            profile.cv = 100.0 * std::sqrt(squares / static_cast<double>(n)) / mean;
        }
        if (profile.readingDays >= kGmiMinimumDays)
            profile.gmi = 3.31 + 0.02392 * mean;
    }
    for (size_t h = 0; h < byHour.size(); ++h)
        profile.hours[h] = ProfileOfHour(byHour[h]);
    return profile;
}

}  // namespace dorvel
