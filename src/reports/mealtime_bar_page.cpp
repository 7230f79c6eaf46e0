#include "mealtime_bar_page.h"

#include "page_stub.h"

namespace dorvel::reports {

void DrawMealtimeBarScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPageStubScreen(surface, data, growth, "MealtimeBar");
}

void DrawMealtimeBarPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    DrawPageStubPaper(surface, paper, data, "MealtimeBar");
}

}  // namespace dorvel::reports
