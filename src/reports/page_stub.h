#pragma once

#include <string_view>

#include "report_data.h"
#include "surface.h"

namespace dorvel::reports {

// A page whose drawing is not built yet: a white sheet with its name.
void DrawPageStubScreen(Surface& surface, const ReportData& data, Growth growth,
                        std::string_view name);
void DrawPageStubPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data,
                       std::string_view name);

}  // namespace dorvel::reports
