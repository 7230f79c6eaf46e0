#include "range_bar_page.h"

#include "page_stub.h"

namespace dorvel::reports {

void DrawRangeBarScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPageStubScreen(surface, data, growth, "RangeBar");
}

void DrawRangeBarPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    DrawPageStubPaper(surface, paper, data, "RangeBar");
}

}  // namespace dorvel::reports
