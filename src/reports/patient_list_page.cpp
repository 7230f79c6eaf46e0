#include "patient_list_page.h"

#include "page_stub.h"

namespace dorvel::reports {

void DrawPatientListScreen(Surface& surface, const ReportData& data, Growth growth) {
    DrawPageStubScreen(surface, data, growth, "PatientList");
}

int PatientListScreenHeight(const ReportData&) {
    return kBaseScreenHeight;
}

void DrawPatientListPaper(Surface& surface, const PaperMetrics& paper, const ReportData& data,
                          int) {
    DrawPageStubPaper(surface, paper, data, "PatientList");
}

int PatientListSheets(const ReportData&) {
    return 1;
}

}  // namespace dorvel::reports
