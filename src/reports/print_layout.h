#pragma once

#include <array>
#include <vector>

#include "analysis/month_walk.h"
#include "store/calendar.h"
#include "store/reading.h"

namespace dorvel::reports {

// Kinds 1..10 of a print job; the report of kind k is page index k - 1 (0 the
// cover sheet, 1 the data list ... 8 the patient list, 9 the glucose profile).
inline constexpr int kReportKinds = 10;

// The choices of the print dialog that outlive it, and the reports it marked.
struct PrintChoices {
    int printRange = 0;  // 0 this page only, 1 the certificate of every marked report
    bool printDiagnosisDate = false;
    // Indexed by page index: 0 cover sheet, 1 data list ... 8 patient list,
    // 9 glucose profile.
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

// The last page number of each kind in the job (index = kind 1..10, 0 unused);
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

// The certificate's data list: 30 listed readings to a page, at least one
// page (a patient without readings still gets the empty table).
inline int DataPages(int listedReadings) {
    return listedReadings <= 0 ? 1 : (listedReadings + 29) / 30;
}

// What the reports of a job need in pages.
struct JobSizes {
    int listedReadings = 0;  // the readings the data list shows (control readings hidden or not)
    int monthPages = 0;      // months with readings (the month walk)
    int listSheets = 1;      // sheets of the patient list
};

// The pages of a job: with "this page" the report shown (the patient list
// on all its sheets), with the certificate the cover sheet, the data pages,
// each monthly report once per month with readings and the patient list
// once, in kind order.
PageCount CountPages(const PrintChoices& choices, int shownPageIndex, const JobSizes& sizes);

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
