// The glucose profile of the largest patient the data model allows: its
// statistics alone, and the page on screen and on paper with them.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <random>

#include "analysis/glucose_profile.h"
#include "reports/painter_surface.h"
#include "reports/report_pages.h"
#include "support/records.h"

namespace {

using namespace dorvel;

constexpr Date kSelected{2011, 6, 30};

// 45,454 readings. All in the month that ends on the selected date is the
// worst case: every reading enters the ranges and the hourly percentiles.
const ReadingList& BigPatient(bool oneMonth) {
    static const ReadingList month = [] {
        std::mt19937 rng(16);
        std::string image;
        for (size_t i = 0; i < kMaxRecords; ++i) {
            image += test::StoredRecord(1, i % 50 == 0 ? 5 : 0, 2011, 6, 1 + int(rng() % 30),
                                        int(rng() % 24), int(rng() % 60), 20 + int(rng() % 500));
        }
        ReadingList list = ReadingsFromImage(image);
        list.Sort();
        return list;
    }();
    static const ReadingList years = ReadingsFromImage(test::RandomStoredRecords(kMaxRecords, 7));
    return oneMonth ? month : years;
}

reports::ReportData DataOf(const ReadingList& list) {
    return reports::MakeReportData(list, UserSettings{}, RunSettings{}, kSelected, kSelected);
}

void BM_GlucoseProfileStatistics(benchmark::State& state) {
    const ReadingList& list = BigPatient(state.range(0) == 1);
    const AnalysisPeriod period = ComputePeriod(kSelected);
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeGlucoseProfile(list, period));
}
BENCHMARK(BM_GlucoseProfileStatistics)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The page computes its statistics as it draws, so this is both together.
void BM_GlucoseProfileScreen(benchmark::State& state) {
    const ReadingList& list = BigPatient(state.range(0) == 1);
    const reports::ReportData data = DataOf(list);
    QImage image(811, 651, QImage::Format_RGB32);
    QPainter painter(&image);
    for (auto _ : state) {
        reports::PainterSurface surface(painter);
        reports::DrawReportScreen(reports::kGlucoseProfileIndex, surface, data, reports::Growth{});
    }
}
BENCHMARK(BM_GlucoseProfileScreen)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_GlucoseProfilePaper(benchmark::State& state) {
    const ReadingList& list = BigPatient(true);
    const reports::ReportData data = DataOf(list);
    const reports::PaperMetrics paper = reports::PaperMetrics::FromMillimetres(202, 289);
    const reports::PrintFonts fonts = reports::PrintFonts::ForScale(paper.scale);
    for (auto _ : state) {
        QPicture picture;
        QPainter painter(&picture);
        reports::PainterSurface surface(painter);
        reports::DrawReportPaper(reports::kGlucoseProfileIndex, surface, paper, fonts, data, 1);
    }
}
BENCHMARK(BM_GlucoseProfilePaper)->Unit(benchmark::kMillisecond);

}  // namespace
