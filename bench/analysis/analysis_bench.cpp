// Recompute and the print job's month walk over the largest patient the data model holds.
#include <benchmark/benchmark.h>

#include "analysis/month_walk.h"
#include "analysis/statistics.h"
#include "support/records.h"

namespace {

using namespace dorvel;

const Date kToday{2026, 3, 14};

const ReadingList& FullPatient() {
    static const ReadingList list = ReadingsFromImage(test::RandomStoredRecords(kMaxRecords, 7));
    return list;
}

void BM_Recompute(benchmark::State& state) {
    const ReadingList& list = FullPatient();
    const UserSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(Recompute(list, settings, kToday));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(list.size()));
}
BENCHMARK(BM_Recompute)->Unit(benchmark::kMillisecond);

void BM_MonthWalk(benchmark::State& state) {
    const ReadingList& list = FullPatient();
    for (auto _ : state)
        benchmark::DoNotOptimize(MonthsWithReadings(list, kToday));
}
BENCHMARK(BM_MonthWalk)->Unit(benchmark::kMillisecond);

// The same answer the slow way: one Recompute per month step.
void BM_MonthWalkByRecompute(benchmark::State& state) {
    const ReadingList& list = FullPatient();
    const UserSettings settings;
    for (auto _ : state) {
        std::vector<Date> months;
        for (const Date& step : MonthSteps(kToday)) {
            if (Recompute(list, settings, step).period.periodReadingDays > 0)
                months.push_back(step);
        }
        benchmark::DoNotOptimize(months);
    }
}
BENCHMARK(BM_MonthWalkByRecompute)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
