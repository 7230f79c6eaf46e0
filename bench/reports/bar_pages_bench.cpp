// Drawing the two bar graph pages of the largest patient the data model
// allows, on screen and on paper.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "reports/painter_surface.h"
#include "reports/report_pages.h"
#include "support/records.h"

namespace {

using namespace dorvel;

const ReadingList& BigPatient() {
    static const ReadingList list = ReadingsFromImage(test::RandomStoredRecords(kMaxRecords, 7));
    return list;
}

// The statistics are the document's; a page only draws them.
reports::ReportData DataOf(int separateMeals) {
    UserSettings settings;
    settings.separateMeals = separateMeals;
    const Date today{2025, 12, 31};
    return reports::MakeReportData(BigPatient(), settings, RunSettings{}, today, today);
}

void BM_Screen(benchmark::State& state, int page) {
    const reports::ReportData data = DataOf(static_cast<int>(state.range(0)));
    QImage image(811, 651, QImage::Format_RGB32);
    QPainter painter(&image);
    for (auto _ : state) {
        reports::PainterSurface surface(painter);
        reports::DrawReportScreen(page, surface, data, reports::Growth{});
    }
}

// An A4 sheet in twips, painted at about 150 dpi.
void BM_Paper(benchmark::State& state, int page) {
    const reports::ReportData data = DataOf(static_cast<int>(state.range(0)));
    const reports::PaperMetrics paper = reports::PaperMetrics::FromMillimetres(202, 289);
    const reports::PrintFonts fonts = reports::PrintFonts::ForScale(paper.scale);
    QImage image(1193, 1707, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(150.0 / 1440.0, 150.0 / 1440.0);
    for (auto _ : state) {
        reports::PainterSurface surface(painter);
        reports::DrawReportPaper(page, surface, paper, fonts, data, 1);
    }
}

BENCHMARK_CAPTURE(BM_Screen, range_bars, reports::kRangeBarIndex)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Screen, mealtime_bars, reports::kMealtimeBarIndex)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Paper, range_bars, reports::kRangeBarIndex)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Paper, mealtime_bars, reports::kMealtimeBarIndex)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
