#include "day_graph_page.h"

#include "page_stub.h"

namespace dorvel::reports {

void DrawDayGraphScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPageStubScreen(surface, data, growth, "DayGraph");
}

void DrawDayGraphPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    DrawPageStubPaper(surface, paper, data, "DayGraph");
}

}  // namespace dorvel::reports
