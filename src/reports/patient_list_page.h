#pragma once

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

}  // namespace dorvel::reports
