#pragma once

#include <array>
#include <vector>

#include "analysis/month_walk.h"
#include "store/calendar.h"
#include "store/reading.h"

namespace dorvel::reports {

inline constexpr int kReportKinds = 9;  // kinds 1..9, page indexes 0..8

// The choices of the print dialog that outlive it, and the reports it marked.
struct PrintChoices {
    int printRange = 0;  // 0 this page only, 1 the certificate of every marked report
    bool printDiagnosisDate = false;
    // Indexed by page index: 0 cover sheet, 1 data list ... 8 patient list.
    // Marks are only ever added while the program runs.
    std::array<bool, kReportKinds> marked{};

    // The dialog opens on the page shown: both choices back to 0, that
    // page's report marked.
    void Open(int shownPageIndex);
    // A range button was clicked; a change to "this page" marks the page
    // shown again, a change to the certificate marks the cover sheet.
    void ChooseRange(int range, int shownPageIndex);
    // The patient list cannot print the certificate.
    static bool CertificateAllowed(int shownPageIndex) { return shownPageIndex != 8; }
};

// The last page number of each kind in the job (index = kind 1..9, 0 unused);
// 0 for a kind that is not printed.
using PageBoundaries = std::array<int, kReportKinds + 1>;

struct PageCount {
    int pages = 0;
    PageBoundaries boundary{};
};

// Pages of each monthly report in a certificate: the months from `today`
// back to January 2002 whose period holds readings.
inline int MonthPages(const ReadingList& list, const Date& today) {
    return static_cast<int>(MonthsWithReadings(list, today).size());
}

inline int DataPages(int readingCount) {
    return readingCount / 30 + 1;
}

// `monthPages` is the number of months with readings (the month walk).
PageCount CountPages(const PrintChoices& choices, int shownPageIndex, int readingCount,
                     int monthPages);

struct PagePlace {
    int kind = 0;  // 0: the page belongs to no kind and prints no title
    int inKind = 0;
};
PagePlace PlaceOfPage(int pageNumber, const PageBoundaries& boundary);

// The list cursor that a data page of the certificate shows.
inline int DataListStartForPage(int readingCount, int pageInKind) {
    return readingCount - (pageInKind - 1) * 30;
}

}  // namespace dorvel::reports
