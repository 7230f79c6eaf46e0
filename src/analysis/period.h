#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/calendar.h"

namespace dorvel {

// A date as its eight "YYYYMMDD" bytes packed big-endian: comparing keys as
// numbers is comparing the bytes.
using DateKey = uint64_t;

DateKey DateKeyOf(std::string_view yyyymmdd);  // missing bytes count as 0
DateKey DateKeyOf(const Date& date);

// The month that ends on the selected date: the start day is excluded, the end day included.
struct AnalysisPeriod {
    Date start;    // the selected date one month earlier, normalised (31 November is 1 December)
    Date end;      // the selected date, normalised the same way
    int days = 0;  // calendar days from start to end: 28..31
    DateKey startKey = 0;
    DateKey endKey = 0;
    int64_t startDay = 0;  // day number of `start` (days since 1970-01-01)

    // The byte comparison of the date keys alone.
    bool KeyInRange(DateKey key) const;
    // Whether a reading dated `yyyymmdd` belongs to the period. Only a real
    // date does: a malformed date field never gets a day slot of its own.
    bool InPeriod(std::string_view yyyymmdd) const;

    // 1..days for a date in the period, nothing otherwise. Counts calendar
    // days, so a daylight-saving change in the month moves no reading.
    std::optional<int> DayIndex(std::string_view yyyymmdd) const;

    friend bool operator==(const AnalysisPeriod&, const AnalysisPeriod&) = default;
};

// Day fields outside the month roll over the way a normalising date constructor does it.
AnalysisPeriod ComputePeriod(const Date& selected);

// The date of an eight-digit "YYYYMMDD" field when it is a real date.
std::optional<Date> ParseDateKey(std::string_view yyyymmdd);

}  // namespace dorvel
