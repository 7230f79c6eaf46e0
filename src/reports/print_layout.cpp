#include "print_layout.h"

#include <algorithm>
#include <cstdint>

namespace dorvel::reports {

void PrintChoices::Open(int shownPageIndex) {
    printRange = 0;
    printDiagnosisDate = false;
    if (shownPageIndex >= 0 && shownPageIndex < kReportKinds)
        marked[static_cast<size_t>(shownPageIndex)] = true;
}

void PrintChoices::ChooseRange(int range, int shownPageIndex) {
    if (range == 1 && !CertificateAllowed(shownPageIndex))
        range = 0;
    if (range == printRange)
        return;
    printRange = range;
    if (range == 0) {
        if (shownPageIndex >= 0 && shownPageIndex < kReportKinds)
            marked[static_cast<size_t>(shownPageIndex)] = true;
    } else {
        marked[0] = true;
    }
}

PageCount CountPages(const PrintChoices& choices, int shownPageIndex, int readingCount,
                     int monthPages) {
    PageCount result;
    if (choices.printRange == 0) {
        if (shownPageIndex >= 0 && shownPageIndex < kReportKinds &&
            choices.marked[static_cast<size_t>(shownPageIndex)]) {
            result.boundary[static_cast<size_t>(shownPageIndex + 1)] = 1;
            result.pages = 1;
        }
        return result;
    }
    int total = 0;
    for (int index = 0; index < kReportKinds; ++index) {
        if (!choices.marked[static_cast<size_t>(index)])
            continue;
        if (index == 0)
            total += 1;
        else if (index == 1)
            total += DataPages(readingCount);
        else
            total += monthPages;
        result.boundary[static_cast<size_t>(index + 1)] = total;
    }
    // The job's page numbers are 16-bit.
    result.pages = std::min(total, int{INT16_MAX});
    return result;
}

PagePlace PlaceOfPage(int pageNumber, const PageBoundaries& boundary) {
    if (boundary[1] == 1 && pageNumber == 1)
        return {1, 1};
    int previousEnd = boundary[1];
    for (int kind = 2; kind <= kReportKinds; ++kind) {
        const int end = boundary[static_cast<size_t>(kind)];
        if (end == 0)
            continue;
        if (pageNumber > previousEnd && pageNumber <= end)
            return {kind, pageNumber - previousEnd};
        previousEnd = end;
    }
    return {};
}

std::vector<Date> MonthsWithReadings(const Date& today, const ReadingList& readings) {
    // Day numbers of the readings, sorted, so each month is two binary searches.
    std::vector<int64_t> days;
    days.reserve(readings.size());
    for (const Reading& r : readings) {
        const DateTime when = r.When();
        days.push_back(DaysFromCivil(when.date));
    }
    std::sort(days.begin(), days.end());

    std::vector<Date> months;
    int year = today.year;
    int month = today.month;
    while (year > 2002 || (year == 2002 && month >= 1)) {
        const int64_t end = DaysFromCivil(year, month, today.day);
        const int64_t start = month == 1 ? DaysFromCivil(year - 1, 12, today.day)
                                         : DaysFromCivil(year, month - 1, today.day);
        // Start day excluded, end day included.
        const auto first = std::upper_bound(days.begin(), days.end(), start);
        const auto last = std::upper_bound(days.begin(), days.end(), end);
        if (first != last)
            months.push_back(Date{year, month, today.day});
        if (--month == 0) {
            month = 12;
            --year;
        }
        if (year < 2002)
            break;
    }
    return months;
}

}  // namespace dorvel::reports
