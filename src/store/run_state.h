#pragma once

#include "calendar.h"
#include "clock.h"
#include "user_settings.h"

namespace dorvel {

// The day that ends the analysis period (year, month, day).
using SelectedDate = Date;

// The earliest month the period navigation may reach.
inline constexpr Date kEarliestSelectableMonth{2002, 1, 1};

// What lives only for one run: the display switches, back to 0 at every
// start, and the SelectedDate, today at start. The document owns one.
struct RunState {
    RunSettings switches;
    SelectedDate selectedDate;

    static RunState AtStart(const Clock& clock) { return {RunSettings{}, clock.Today()}; }
};

}  // namespace dorvel
