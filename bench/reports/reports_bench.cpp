// Drawing the data list page on screen, and printing a certificate of the
// largest patient the data model allows into a PDF.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "reports/data_list_page.h"
#include "reports/painter_surface.h"
#include "reports/print_job.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace {

using namespace dorvel;

const ReadingList& BigPatient() {
    static const ReadingList list = ReadingsFromImage(test::RandomStoredRecords(kMaxRecords, 7));
    return list;
}

void BM_DrawDataListScreen(benchmark::State& state) {
    const ReadingList& list = BigPatient();
    QImage image(811, 651, QImage::Format_RGB32);
    QPainter painter(&image);
    const reports::DataListView view = reports::MakeDataListView(
        list, static_cast<int>(list.size()), UserSettings{}, RunSettings{});
    for (auto _ : state) {
        reports::PainterSurface surface(painter);
        reports::DrawDataListScreen(surface, view, reports::Growth{});
    }
}
BENCHMARK(BM_DrawDataListScreen)->Unit(benchmark::kMillisecond);

void BM_PdfCertificate(benchmark::State& state) {
    const ReadingList& list = BigPatient();
    test::TempFolder folder;
    reports::PrintJob job;
    job.facts.patientId = "BIG";
    job.choices.Open(reports::kDataListIndex);
    job.choices.ChooseRange(1, reports::kDataListIndex);
    job.sizes.listedReadings = static_cast<int>(list.size());
    job.body = reports::DataListBody(list, UserSettings{}, RunSettings{}, job.facts, 1,
                                     job.sizes.listedReadings);
    int pages = 0;
    for (auto _ : state) {
        reports::PrintToPdf(folder.File("big.pdf"), job, &pages);
    }
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = benchmark::Counter(
        static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PdfCertificate)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
