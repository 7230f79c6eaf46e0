#include "calendar.h"

#include <cstdio>

#include "decimal.h"

namespace dorvel {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDays[month - 1];
}

bool IsValidDate(const Date& d) {
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= DaysInMonth(d.year, d.month);
}

bool IsValidTime(const TimeOfDay& t) {
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 59;
}

// Howard Hinnant's days_from_civil, extended so that months outside 1..12 roll over years.
int64_t DaysFromCivil(int year, int month, int day) {
    int64_t y = year;
    int64_t m = month - 1;
    y += m >= 0 ? m / 12 : (m - 11) / 12;
    m = ((m % 12) + 12) % 12 + 1;
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + 1 - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + (day - 1);
}

Date CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    return Date{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

int Weekday(const Date& date) {
    const int64_t days = DaysFromCivil(date);  // 1970-01-01 was a Thursday
    return static_cast<int>(((days % 7) + 7 + 3) % 7);
}

std::string_view WeekdayAbbreviation(const Date& date) {
    static constexpr std::string_view kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    return kDays[Weekday(date)];
}

std::string DateWithWeekday(const Date& date, int dateFormat) {
    const std::string_view day = WeekdayAbbreviation(date);
    const int dayWidth = static_cast<int>(day.size());
    char buffer[64];
    if (dateFormat == 0) {
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %.*s", date.year, date.month, date.day,
                      dayWidth, day.data());
    } else if (dateFormat == 1) {
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %.*s", date.month, date.day, date.year,
                      dayWidth, day.data());
    } else {
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %.*s", date.day, date.month, date.year,
                      dayWidth, day.data());
    }
    return buffer;
}

std::optional<Date> ParseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    if (!AllDigits(text.substr(0, 4)) || !AllDigits(text.substr(5, 2)) ||
        !AllDigits(text.substr(8, 2))) {
        return std::nullopt;
    }
    Date d{LeadingInt(text.substr(0, 4)), LeadingInt(text.substr(5, 2)),
           LeadingInt(text.substr(8, 2))};
    if (!IsValidDate(d))
        return std::nullopt;
    return d;
}

std::string FormatIsoDate(const Date& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buffer;
}

}  // namespace dorvel
