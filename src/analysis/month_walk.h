#pragma once

#include <vector>

#include "store/calendar.h"
#include "store/reading.h"

namespace dorvel {

inline constexpr Date kEarliestMonth{2002, 1, 1};

// The selected dates of the monthly report pages of a print job, newest
// first: starting at `today` and stepping back one month at a time (same day
// number) to January 2002, every step whose period holds at least one
// reading. Recompute on one of these dates gives the statistics of its page.
//
// One pass over the readings, however many months there are.
std::vector<Date> MonthsWithReadings(const ReadingList& list, const Date& today);

// The month steps themselves, newest first, with or without readings.
std::vector<Date> MonthSteps(const Date& today);

}  // namespace dorvel
