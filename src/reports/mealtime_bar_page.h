#pragma once

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The average bar graph by mealtime: one bar per meal-time slot.
void DrawMealtimeBarScreen(Surface& surface, const ReportData& data, Growth growth);
void DrawMealtimeBarPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data);

}  // namespace dorvel::reports
