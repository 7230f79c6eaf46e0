#include "navigation.h"

#include <algorithm>

namespace dorvel {

Date StepPeriod(Date selected, NavStep step, const Date& today) {
    int year = selected.year;
    int month = selected.month;
    const int d = today.day;
    if (selected.day > d) {
        month += 1;  // the day runs past today's: the period starts from next month
    }
    switch (step) {
        case NavStep::PreviousYear:
            if (year <= kEarliestYear) {
                year = kEarliestYear;
                month = 1;
            } else {
                year -= 1;
            }
            break;
        case NavStep::PreviousMonth:
            if (year >= kEarliestYear && month >= 2) {
                month -= 1;
            } else if (year >= kEarliestYear + 1) {
                year -= 1;
                month = 12;
            } else {
                year = kEarliestYear;
                month = 1;
            }
            break;
        case NavStep::NextMonth:
            if (year < today.year) {
                if (month >= 12) {
                    year += 1;
                    month = 1;
                } else {
                    month += 1;
                }
            } else if (month < today.month) {
                month += 1;
            } else {
                year = today.year;
                month = today.month;
            }
            break;
        case NavStep::NextYear:
            if (year < today.year) {
                year += 1;
                if (year == today.year) {
                    month = std::min(month, today.month);
                }
            } else {
                year = today.year;
                month = today.month;
            }
            break;
    }
    // A month of 13 left by the day alignment rolls into the next year, as the
    // calendar arithmetic of the period selection would.
    if (month > 12) {
        year += (month - 1) / 12;
        month = (month - 1) % 12 + 1;
    }
    Date result{year, month, d};
    // Never past the current month, never before January 2002.
    if (result.year > today.year || (result.year == today.year && result.month > today.month)) {
        result = Date{today.year, today.month, d};
    }
    if (result.year < kEarliestYear) {
        result = Date{kEarliestYear, 1, d};
    }
    result.day = std::min(d, DaysInMonth(result.year, result.month));
    return result;
}

DataListCursor ClampDataList(DataListCursor cursor, int count) {
    SettleListCursor(cursor.start, cursor.jumpToNewest, count);
    return cursor;
}

DataListCursor StepDataList(DataListCursor cursor, NavStep step, int count) {
    switch (step) {
        case NavStep::PreviousYear:
            cursor.start = kDataListStep;
            break;
        case NavStep::PreviousMonth:
            cursor.start -= kDataListStep;
            break;
        case NavStep::NextMonth:
            cursor.start += kDataListStep;
            break;
        case NavStep::NextYear:
            cursor.jumpToNewest = true;
            break;
    }
    return ClampDataList(cursor, count);
}

}  // namespace dorvel
