#pragma once

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The bar graph by target range: readings low, in range and high.
void DrawRangeBarScreen(Surface& surface, const ReportData& data, Growth growth);
void DrawRangeBarPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data);

}  // namespace dorvel::reports
