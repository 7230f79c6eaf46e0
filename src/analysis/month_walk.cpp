#include "month_walk.h"

#include <algorithm>
#include <cstdint>

#include "analysis/period.h"

namespace dorvel {

std::vector<Date> MonthSteps(const Date& today) {
    std::vector<Date> steps;
    Date step = today;
    steps.push_back(step);
    while (step.year > kEarliestMonth.year ||
           (step.year == kEarliestMonth.year && step.month > kEarliestMonth.month)) {
        if (--step.month == 0) {
            step.month = 12;
            --step.year;
        }
        steps.push_back(step);
    }
    return steps;
}

std::vector<Date> MonthsWithReadings(const ReadingList& list, const Date& today) {
    const std::vector<Date> steps = MonthSteps(today);
    std::vector<AnalysisPeriod> periods;
    periods.reserve(steps.size());
    int64_t first = INT64_MAX;
    int64_t last = INT64_MIN;
    for (const Date& step : steps) {
        periods.push_back(ComputePeriod(step));
        first = std::min(first, periods.back().startDay + 1);
        last = std::max(last, periods.back().startDay + periods.back().days);
    }

    // readingsUpTo[k]: whether any reading lies on a day of first .. first + k - 1,
    // as a running count so each period is answered by one subtraction.
    std::vector<int32_t> readingsUpTo(static_cast<size_t>(std::max<int64_t>(last - first + 2, 1)));
    for (const Reading& r : list) {
        if (r.IsControl())
            continue;
        const auto date = ParseDateKey(r.timestamp);
        if (!date)
            continue;  // never in any period
        const int64_t day = DaysFromCivil(*date);
        if (day >= first && day <= last)
            readingsUpTo[static_cast<size_t>(day - first + 1)] = 1;
    }
    for (size_t k = 1; k < readingsUpTo.size(); ++k)
        readingsUpTo[k] += readingsUpTo[k - 1];

    std::vector<Date> months;
    for (size_t i = 0; i < steps.size(); ++i) {
        const AnalysisPeriod& p = periods[i];
        if (p.days <= 0)
            continue;
        const auto lo = static_cast<size_t>(p.startDay + 1 - first);
        const auto hi = static_cast<size_t>(p.startDay + p.days - first + 1);
        if (readingsUpTo[hi] - readingsUpTo[lo] > 0)
            months.push_back(steps[i]);
    }
    return months;
}

}  // namespace dorvel
