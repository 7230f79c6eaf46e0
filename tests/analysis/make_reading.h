#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/reading.h"

namespace dorvel::test {

// A reading from its parts in their stored text form.
inline Reading MakeReading(std::string_view date, std::string_view time, int value, int marker = 0,
                           std::string_view user = "001", int temperature = 235) {
    Reading r;
    r.timestamp = std::string(date) + std::string(time);
    r.meterUserId = user;
    r.marker = marker;
    const std::string digits = std::to_string(value);
    r.valueText = std::string(3 - std::min<size_t>(3, digits.size()), '0') + digits;
    r.temperature = temperature;
    return r;
}

inline ReadingList SortedList(std::vector<Reading> readings) {
    ReadingList list(std::move(readings));
    list.Sort();
    return list;
}

}  // namespace dorvel::test
