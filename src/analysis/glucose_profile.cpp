#include "glucose_profile.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "store/decimal.h"

namespace dorvel {

namespace {

// Meter values are three digits; counting them per hour is cheaper than
// sorting a long month. A value outside (only a damaged record holds one)
// takes the slow way with its hour.
constexpr int32_t kCountedValues = 1000;
// The readings of each hour, and of readings whose time names no hour.
constexpr size_t kNoHour = kHoursPerDay;

struct HourValues {
    std::array<int32_t, kCountedValues> count{};
    std::vector<int32_t> others;
    int32_t total = 0;

    void Add(int32_t v) {
        if (v >= 0 && v < kCountedValues)
            ++count[static_cast<size_t>(v)];
        else
            others.push_back(v);
        ++total;
    }
    template <typename F>
    void ForEach(F f) const {
        for (size_t v = 0; v < count.size(); ++v) {
            if (count[v] > 0)
                f(static_cast<int32_t>(v), count[v]);
        }
        for (const int32_t v : others)
            f(v, 1);
    }
    // The values in ascending order.
    std::vector<int32_t> Sorted() const {
        std::vector<int32_t> sorted;
        sorted.reserve(static_cast<size_t>(total));
        for (size_t v = 0; v < count.size(); ++v)
            sorted.insert(sorted.end(), static_cast<size_t>(count[v]), static_cast<int32_t>(v));
        if (!others.empty()) {
            sorted.insert(sorted.end(), others.begin(), others.end());
            std::sort(sorted.begin(), sorted.end());
        }
        return sorted;
    }
};

// The hour of a "YYYYMMDDhhmm" timestamp, or kNoHour when its hour field is no hour.
size_t HourOf(std::string_view timestamp) {
    if (timestamp.size() < 10)
        return kNoHour;
    const char h = timestamp[8];
    const char l = timestamp[9];
    if (h < '0' || h > '9' || l < '0' || l > '9')
        return kNoHour;
    const auto hour = static_cast<size_t>((h - '0') * 10 + (l - '0'));
    return hour < kHoursPerDay ? hour : kNoHour;
}

int32_t ValueOf(const std::string& text) {
    if (text.size() == 3 && text[0] >= '0' && text[0] <= '9' && text[1] >= '0' && text[1] <= '9' &&
        text[2] >= '0' && text[2] <= '9') {
        return (text[0] - '0') * 100 + (text[1] - '0') * 10 + (text[2] - '0');
    }
    return LeadingInt(text);
}

HourProfile ProfileOfHour(const HourValues& values) {
    HourProfile hour;
    hour.count = values.total;
    if (values.total == 0)
        return hour;
    const std::vector<int32_t> sorted = values.Sorted();
    for (size_t i = 0; i < kProfilePercentiles.size(); ++i)
        hour.percentile[i] = Percentile(sorted.data(), sorted.size(), kProfilePercentiles[i]);
    if (!hour.HasBands())
        std::copy(sorted.begin(), sorted.end(), hour.few.begin());
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
    std::vector<HourValues> byHour(kHoursPerDay + 1);
    std::array<bool, 32> dayHasReadings{};
    int64_t sum = 0;
    // Readings come in runs of one date; its day is looked up once per run.
    DateKey runKey = 0;
    std::optional<int> runDay;
    for (const Reading& r : list) {
        if (r.IsControl())
            continue;
        const std::string_view ts = r.timestamp;
        const std::string_view date = ts.substr(0, std::min<size_t>(8, ts.size()));
        const DateKey key = DateKeyOf(date);
        // The key test first: most of a long history lies outside the month.
        if (!period.KeyInRange(key))
            continue;
        if (key != runKey) {
            runKey = key;
            runDay = period.DayIndex(date);
        }
        if (!runDay)
            continue;
        const int32_t v = ValueOf(r.valueText);
        sum += v;
        ++profile.readingCount;
        ++profile.rangeCount[static_cast<size_t>(ConsensusRangeOf(v))];
        if (*runDay >= 1 && *runDay <= static_cast<int>(dayHasReadings.size()))
            dayHasReadings[static_cast<size_t>(*runDay - 1)] = true;
        byHour[HourOf(ts)].Add(v);
    }

    const int64_t n = profile.readingCount;
    profile.readingDays =
        static_cast<int32_t>(std::count(dayHasReadings.begin(), dayHasReadings.end(), true));
    if (period.days > 0)
        profile.readingsPerDay = static_cast<double>(n) / period.days;
    if (n > 0) {
        const double mean = static_cast<double>(sum) / static_cast<double>(n);
        profile.mean = mean;
        if (n >= 2 && mean > 0) {
            double squares = 0;
            for (const HourValues& hour : byHour) {
                hour.ForEach(
                    [&](int32_t v, int32_t times) { squares += times * (v - mean) * (v - mean); });
            }
            profile.cv = 100.0 * std::sqrt(squares / static_cast<double>(n)) / mean;
        }
        // 3.31 + 0.02392 x sum / n as one division of exact integers: the
        // figure is the double nearest to its true value, so a mean that puts
        // it exactly halfway between two tenths (26750 / 299 gives 5.45 %)
        // rounds up as it reads. Multiplying the rounded mean fell short.
        if (profile.readingDays >= kGmiMinimumDays) {
            const double nd = static_cast<double>(n);
            profile.gmi = (331000.0 * nd + 2392.0 * static_cast<double>(sum)) / (100000.0 * nd);
        }
    }
    for (size_t h = 0; h < kHoursPerDay; ++h)
        profile.hours[h] = ProfileOfHour(byHour[h]);
    return profile;
}

}  // namespace dorvel
