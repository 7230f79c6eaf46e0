#include "logbook_page.h"

#include "page_stub.h"

namespace dorvel::reports {

void DrawLogbookScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPageStubScreen(surface, data, growth, "Logbook");
}

void DrawLogbookPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    DrawPageStubPaper(surface, paper, data, "Logbook");
}

}  // namespace dorvel::reports
