#pragma once

#include <string_view>

#include "analysis/statistics.h"
#include "page_frame.h"
#include "store/calendar.h"
#include "store/reading.h"
#include "store/user_settings.h"

namespace dorvel::reports {

// Everything a report page draws from: the patient's readings and settings,
// the statistics of the period that ends on the selected date, the data
// list's cursor, the profile lines of header and footer and the patient list.
// The window, the printer and the command line all build one of these, so
// every road draws the same numbers.
struct ReportData {
    const ReadingList* readings = nullptr;  // never null once made
    UserSettings settings;
    RunSettings run;
    Date today;
    Date selectedDate;
    Statistics stats;       // of the period that ends on `selectedDate`
    int dataListStart = 0;  // the data list's cursor
    PatientFacts facts;
    std::string_view patientList;  // the patient list image (Windows-1252); must outlive the data
};

// The data of a patient for the period that ends on `selectedDate`, the
// statistics computed.
ReportData MakeReportData(const ReadingList& readings, const UserSettings& settings,
                          const RunSettings& run, const Date& today, const Date& selectedDate);

}  // namespace dorvel::reports
