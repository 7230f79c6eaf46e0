#pragma once

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// The glucose profile: readings in the consensus ranges, variability, modal day.
void DrawGlucoseProfileScreen(Surface& surface, const ReportData& data, Growth growth);
void DrawGlucoseProfilePaper(Surface& surface, const PaperMetrics& paper, const ReportData& data);

}  // namespace dorvel::reports
