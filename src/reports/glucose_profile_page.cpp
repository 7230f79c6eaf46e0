#include "glucose_profile_page.h"

#include "page_stub.h"

namespace dorvel::reports {

void DrawGlucoseProfileScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPageStubScreen(surface, data, growth, "GlucoseProfile");
}

void DrawGlucoseProfilePaper(Surface& surface, const PaperMetrics& paper, const ReportData& data) {
    DrawPageStubPaper(surface, paper, data, "GlucoseProfile");
}

}  // namespace dorvel::reports
