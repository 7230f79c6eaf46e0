#pragma once

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The logbook: the period day by day in the five meal-time groups.
void DrawLogbookScreen(Surface& surface, const ReportData& data, Growth growth);
void DrawLogbookPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data);

}  // namespace dorvel::reports
