#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorvel {

// A civil (proleptic Gregorian) date. Plain value; no time zone.
struct Date {
    int year = 2002;
    int month = 1;
    int day = 1;

    friend bool operator==(const Date&, const Date&) = default;
    friend auto operator<=>(const Date&, const Date&) = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;

    int SecondsOfDay() const { return hour * 3600 + minute * 60 + second; }
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
    friend auto operator<=>(const TimeOfDay&, const TimeOfDay&) = default;
};

struct DateTime {
    Date date;
    TimeOfDay time;

    friend bool operator==(const DateTime&, const DateTime&) = default;
    friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12
bool IsValidDate(const Date& date);
bool IsValidTime(const TimeOfDay& time);

// Days since 1970-01-01 and back. Accept any day number within the month
// (0, 31 in a 30-day month, ...) and normalise it the way mktime does.
int64_t DaysFromCivil(int year, int month, int day);
inline int64_t DaysFromCivil(const Date& d) {
    return DaysFromCivil(d.year, d.month, d.day);
}
Date CivilFromDays(int64_t days);

// Monday = 0 ... Sunday = 6
int Weekday(const Date& date);
// "Mon" ... "Sun", as the English dates of profiles, pages and exports show it.
std::string_view WeekdayAbbreviation(const Date& date);
// A full date with its English weekday in the user's date format:
// "%Y-%m-%d %a" (0), "%m/%d/%Y %a" (1), "%d/%m/%Y %a" (2 and anything else).
std::string DateWithWeekday(const Date& date, int dateFormat);

// "YYYY-MM-DD" (exactly that shape, a date that exists) or nothing.
std::optional<Date> ParseIsoDate(std::string_view text);
std::string FormatIsoDate(const Date& date);

}  // namespace dorvel
