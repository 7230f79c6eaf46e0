#pragma once

#include <cstdio>
#include <string>

#include "store/calendar.h"
#include "store/decimal.h"

namespace dorvel::reports {

// printf into a string. Only for integers and text: a floating-point value
// goes through OneDecimal or TwoDecimals (store/decimal.h), whose decimal
// point no locale can turn into a comma.
template <typename... Args>
std::string Printf(const char* format, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

// A glucose value as the reports show it: "%d" in mg/dL (unit 0), or the
// truncated mmol/L value with "%2.1f" (unit 1). `width` pads an mg/dL value
// on the left like "%3d".
std::string GlucoseText(int mgdl, int unit, int width = 0);

// A clock time: "%I:%M %p" for time format 0, "%H:%M" for 1.
std::string ClockText(const TimeOfDay& time, int timeFormat);

// The minute before `time`, across midnight: where a slot ends when the
// next one starts at `time`.
TimeOfDay MinuteBefore(const TimeOfDay& time);

}  // namespace dorvel::reports
