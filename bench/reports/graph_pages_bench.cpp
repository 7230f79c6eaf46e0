// Drawing the day graph and the mealtime graph of the largest patient the
// data model allows, on screen and as a printed body.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include "reports/painter_surface.h"
#include "reports/print_job.h"
#include "reports/report_pages.h"
#include "support/records.h"

namespace {

using namespace dorvel;

// About ten readings a day: the days of the period up to the 28th hold
// readings in nearly every slot.
const reports::ReportData& BigPatient(int separateMeals) {
    static const ReadingList list = ReadingsFromImage(test::RandomStoredRecords(kMaxRecords, 7));
    static const auto make = [](int separate) {
        UserSettings settings;
        settings.separateMeals = separate;
        return reports::MakeReportData(list, settings, RunSettings{}, Date{2025, 6, 30},
                                       Date{2025, 6, 30});
    };
    static const reports::ReportData combined = make(0);
    static const reports::ReportData separate = make(1);
    return separateMeals ? separate : combined;
}

void BM_Screen(benchmark::State& state) {
    const int page = static_cast<int>(state.range(0));
    const reports::ReportData& data = BigPatient(static_cast<int>(state.range(1)));
    QImage image(reports::kBaseScreenWidth + 1, reports::kBaseScreenHeight + 1,
                 QImage::Format_RGB32);
    QPainter painter(&image);
    for (auto _ : state) {
        reports::PainterSurface surface(painter);
        reports::DrawReportScreen(page, surface, data, reports::Growth{});
    }
}
BENCHMARK(BM_Screen)
    ->ArgNames({"index", "separate"})
    ->ArgsProduct({{reports::kDayGraphIndex}, {0}})
    ->ArgsProduct({{reports::kMealtimeGraphIndex}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The printed body on an A4 sheet of a PDF, as the print job draws it. With
// page 1 every drawing also ends its page, which adds the writer's
// compression of the page's contents.
void BM_Paper(benchmark::State& state) {
    const int page = static_cast<int>(state.range(0));
    const reports::ReportData& data = BigPatient(static_cast<int>(state.range(1)));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(1440);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(4, 4, 4, 4), QPageLayout::Millimeter));
    QPainter painter(&writer);
    const reports::PaperMetrics paper = reports::PaperOf(writer);
    const reports::PrintFonts fonts = reports::PrintFonts::ForScale(paper.scale);
    for (auto _ : state) {
        reports::PainterSurface surface(painter);
        reports::DrawReportPaper(page, surface, paper, fonts, data, 1);
        if (state.range(2))
            writer.newPage();
    }
}
BENCHMARK(BM_Paper)
    ->ArgNames({"index", "separate", "page"})
    ->ArgsProduct({{reports::kDayGraphIndex}, {0}, {0, 1}})
    ->ArgsProduct({{reports::kMealtimeGraphIndex}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
