// Drawing the logbook and the summary of the largest patient the data model
// allows, and printing the certificate of both for every month of 25 years.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "reports/painter_surface.h"
#include "reports/report_pages.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace {

using namespace dorvel;

constexpr Date kToday{2026, 12, 31};

// 45,454 readings over the 25 years before the end of 2026.
const ReadingList& BigPatient() {
    static const ReadingList list =
        ReadingsFromImage(test::RandomStoredRecords(kMaxRecords, 11, 1, 25));
    return list;
}

// The statistics are computed once, as the window has them before it paints.
void DrawScreen(benchmark::State& state, int pageIndex) {
    const ReadingList& list = BigPatient();
    UserSettings settings;
    settings.separateMeals = static_cast<int>(state.range(0));
    const reports::ReportData data =
        reports::MakeReportData(list, settings, RunSettings{}, kToday, kToday);
    QImage image(reports::kBaseScreenWidth + 1, reports::kBaseScreenHeight + 1,
                 QImage::Format_RGB32);
    QPainter painter(&image);
    for (auto _ : state) {
        reports::PainterSurface surface(painter);
        reports::DrawReportScreen(pageIndex, surface, data, reports::Growth{});
    }
}

void BM_DrawLogbookScreen(benchmark::State& state) {
    DrawScreen(state, reports::kLogbookIndex);
}
BENCHMARK(BM_DrawLogbookScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DrawSummaryScreen(benchmark::State& state) {
    DrawScreen(state, reports::kSummaryIndex);
}
BENCHMARK(BM_DrawSummaryScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The certificate as "&Markierung" prints it from the logbook with the
// summary marked too: the cover sheet, then both reports once per month
// with readings, each month with its own statistics.
void BM_CertificateOfBothPages(benchmark::State& state) {
    const ReadingList& list = BigPatient();
    const reports::ReportData data =
        reports::MakeReportData(list, UserSettings{}, RunSettings{}, kToday, kToday);
    reports::PrintChoices choices;
    choices.Open(reports::kSummaryIndex);
    choices.Open(reports::kLogbookIndex);
    choices.ChooseRange(1, reports::kLogbookIndex);
    test::TempFolder folder;
    int pages = 0;
    for (auto _ : state) {
        const reports::PrintJob job =
            reports::MakeReportPrintJob(data, reports::kLogbookIndex, choices);
        reports::PrintToPdf(folder.File("certificate.pdf"), job, &pages);
    }
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = benchmark::Counter(
        static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CertificateOfBothPages)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
