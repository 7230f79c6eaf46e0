#include "mealtime_graph_page.h"

#include "page_stub.h"

namespace dorvel::reports {

void DrawMealtimeGraphScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPageStubScreen(surface, data, growth, "MealtimeGraph");
}

void DrawMealtimeGraphPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    DrawPageStubPaper(surface, paper, data, "MealtimeGraph");
}

}  // namespace dorvel::reports
