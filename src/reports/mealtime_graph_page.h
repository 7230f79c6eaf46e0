#pragma once

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The mealtime graph: per day of the period one line for each meal-time slot.
void DrawMealtimeGraphScreen(Surface& surface, const ReportData& data, Growth growth);
void DrawMealtimeGraphPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data);

}  // namespace dorvel::reports
