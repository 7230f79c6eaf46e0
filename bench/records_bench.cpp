// Decoding, sorting and writing a meter reply, and merging into a large
// patient file, each beside the quadratic exchange sort on the same data.
#include <benchmark/benchmark.h>

#include "meter/protocol.h"
#include "meter/received_data.h"
#include "meter/record_sort.h"
#include "support/exchange_sort.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace {

using namespace dorvel;

const std::string& Reply1000() {
    static const std::string reply = test::DownloadReply(test::RandomMeterRecords(1000, 11, 3));
    return reply;
}

void BM_DecodeSortWrite1000(benchmark::State& state) {
    test::TempFolder dir;
    for (auto _ : state) {
        const ReplyVerdict v = ParseReply(Reply1000());
        benchmark::DoNotOptimize(RecordDecoder(v.payload, v.count, dir.path()));
    }
}
BENCHMARK(BM_DecodeSortWrite1000)->Unit(benchmark::kMillisecond);

std::string Converted1000() {
    const ReplyVerdict v = ParseReply(Reply1000());
    std::string converted;
    for (int i = 0; i < v.count; ++i)
        converted += DecodeRecord(v.payload.substr(i * 22, 22));
    return converted;
}

void BM_Sort1000(benchmark::State& state) {
    const std::string converted = Converted1000();
    for (auto _ : state) {
        std::string image = converted;
        SortRecords(image);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_Sort1000)->Unit(benchmark::kMicrosecond);

void BM_Sort1000_ExchangeSort(benchmark::State& state) {
    const std::string converted = Converted1000();
    for (auto _ : state)
        benchmark::DoNotOptimize(test::ExchangeSortRecords(converted));
}
BENCHMARK(BM_Sort1000_ExchangeSort)->Unit(benchmark::kMicrosecond);

const size_t kFullPatient = 45454 - 1000;

void BM_Merge1000IntoFullPatient(benchmark::State& state) {
    test::TempFolder dir;
    const std::string old = test::RandomStoredRecords(kFullPatient, 3, 1, 20);
    const std::string fresh = test::RandomStoredRecords(1000, 4, 2, 1);
    for (auto _ : state) {
        state.PauseTiming();
        dir.Write("P.gdt", old);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ImportIntoPatient(dir.path(), "P", fresh));
    }
}
BENCHMARK(BM_Merge1000IntoFullPatient)->Unit(benchmark::kMillisecond);

// The same merge with the exchange sort: one iteration takes many seconds.
void BM_Merge1000IntoFullPatient_ExchangeSort(benchmark::State& state) {
    const std::string old = test::RandomStoredRecords(kFullPatient, 3, 1, 20);
    const std::string fresh = test::RandomStoredRecords(1000, 4, 2, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(test::ExchangeSortRecords(old + fresh));
}
BENCHMARK(BM_Merge1000IntoFullPatient_ExchangeSort)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
