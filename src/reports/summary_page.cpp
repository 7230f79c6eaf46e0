#include "summary_page.h"

#include "page_stub.h"

namespace dorvel::reports {

void DrawSummaryScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPageStubScreen(surface, data, growth, "Summary");
}

void DrawSummaryPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    DrawPageStubPaper(surface, paper, data, "Summary");
}

}  // namespace dorvel::reports
