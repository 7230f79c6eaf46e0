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

namespace {

int PagesOfReport(int pageIndex, const JobSizes& sizes, bool certificate) {
    switch (pageIndex) {
        case 0:
            return 1;
        case 1:
            return certificate ? DataPages(sizes.listedReadings) : 1;
        case 8:
            return std::max(1, sizes.listSheets);
        default:
            return certificate ? sizes.monthPages : 1;
    }
}

}  // namespace

PageCount CountPages(const PrintChoices& choices, int shownPageIndex, const JobSizes& sizes) {
    PageCount result;
    if (choices.printRange == 0) {
        if (shownPageIndex >= 0 && shownPageIndex < kReportKinds &&
            choices.marked[static_cast<size_t>(shownPageIndex)]) {
            result.pages = PagesOfReport(shownPageIndex, sizes, false);
            result.boundary[static_cast<size_t>(shownPageIndex + 1)] = result.pages;
        }
        return result;
    }
    int total = 0;
    for (int index = 0; index < kReportKinds; ++index) {
        if (!choices.marked[static_cast<size_t>(index)])
            continue;
        total += PagesOfReport(index, sizes, true);
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

}  // namespace dorvel::reports
