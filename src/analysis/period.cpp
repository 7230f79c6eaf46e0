#include "period.h"

namespace dorvel {

DateKey DateKeyOf(std::string_view yyyymmdd) {
    DateKey key = 0;
    for (size_t i = 0; i < 8; ++i) {
        const auto byte = i < yyyymmdd.size() ? static_cast<unsigned char>(yyyymmdd[i]) : 0u;
        key = (key << 8) | byte;
    }
    return key;
}

DateKey DateKeyOf(const Date& date) {
    char text[8];
    int parts[3] = {date.year, date.month, date.day};
    int widths[3] = {4, 2, 2};
    int pos = 0;
    for (int p = 0; p < 3; ++p) {
        int value = parts[p];
        for (int w = widths[p] - 1; w >= 0; --w) {
            text[pos + w] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
        pos += widths[p];
    }
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
