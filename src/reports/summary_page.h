#pragma once

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The summary: overall and period statistics, range distribution, time of day.
void DrawSummaryScreen(Surface& surface, const ReportData& data, Growth growth);
void DrawSummaryPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data);

}  // namespace dorvel::reports
