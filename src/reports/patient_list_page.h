#pragma once

#include <array>
#include <string_view>

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The physician's patient list: every patient with the count of readings
// and the carer, from the patient list image.
void DrawPatientListScreen(Surface& surface, const ReportData& data, Growth growth);
// Pixels the screen table needs at the base size (more than the window for a long list).
int PatientListScreenHeight(const ReportData& data);
// Sheet 1.. of the paper table; each sheet goes on with the next rows.
void DrawPatientListPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data,
                          int sheet);
int PatientListSheets(const ReportData& data);

// Rows of the list: one per patient of the image.
int PatientListRows(std::string_view image);

// Rows on one sheet: the last one ends above the footer, which on the
// patient list begins at 35/40 of the height.
inline constexpr int kPatientListRowsPerSheet = 33;

inline constexpr std::array<std::string_view, 5> kPatientListScreenTitles = {
    "Anzahl", "Patient(ID)", "Name des Patienten", "Anzahl der Messungen", "Name des Betreuers"};
inline constexpr std::array<std::string_view, 5> kPatientListPaperTitles = {
    "Anzahl", "Patienten (ID)", "Name des Patienten", "Anzahl der Messungen", "Name Betreuer"};

}  // namespace dorvel::reports
