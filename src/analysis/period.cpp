#include "period.h"

#include <cstdio>

#include "byte_key.h"

namespace dorvel {

DateKey DateKeyOf(std::string_view yyyymmdd) {
    return PackedBytes<DateKey, 8>(yyyymmdd);
}

DateKey DateKeyOf(const Date& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year % 10000, date.month % 100,
                  date.day % 100);
    return DateKeyOf(std::string_view(text, 8));
}

std::optional<Date> ParseDateKey(std::string_view t) {
    if (t.size() < 8)
        return std::nullopt;
    int digits[8];
    for (int i = 0; i < 8; ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        digits[i] = t[i] - '0';
    }
    const Date d{digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3],
                 digits[4] * 10 + digits[5], digits[6] * 10 + digits[7]};
    if (!IsValidDate(d))
        return std::nullopt;
    return d;
}

AnalysisPeriod ComputePeriod(const Date& selected) {
    AnalysisPeriod p;
    const int64_t endDay = DaysFromCivil(selected.year, selected.month, selected.day);
    // Month 0 is December of the year before; DaysFromCivil rolls it over.
    p.startDay = DaysFromCivil(selected.year, selected.month - 1, selected.day);
    p.end = CivilFromDays(endDay);
    p.start = CivilFromDays(p.startDay);
    p.days = static_cast<int>(endDay - p.startDay);
    p.startKey = DateKeyOf(p.start);
    p.endKey = DateKeyOf(p.end);
    return p;
}

bool AnalysisPeriod::KeyInRange(DateKey key) const {
    return key > startKey && key <= endKey;
}

bool AnalysisPeriod::InPeriod(std::string_view yyyymmdd) const {
    return DayIndex(yyyymmdd).has_value();
}

std::optional<int> AnalysisPeriod::DayIndex(std::string_view yyyymmdd) const {
    if (!KeyInRange(DateKeyOf(yyyymmdd)))
        return std::nullopt;
    const std::optional<Date> date = ParseDateKey(yyyymmdd);
    if (!date)
        return std::nullopt;
    // A real date inside the key range is 1..days after the start.
    return static_cast<int>(DaysFromCivil(*date) - startDay);
}

}  // namespace dorvel
