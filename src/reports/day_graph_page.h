#pragma once

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The day graph: the mean of each day of the period over the range bands.
void DrawDayGraphScreen(Surface& surface, const ReportData& data, Growth growth);
void DrawDayGraphPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data);

}  // namespace dorvel::reports
