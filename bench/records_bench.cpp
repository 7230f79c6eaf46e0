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

// A header holds at most three digits, so the 1,000 records go to the
// decoder as a payload; judging a reply is measured on the largest one a
// header can announce.
const std::string& Payload1000() {
    static const std::string payload = test::RandomMeterRecords(1000, 11, 3);
    return payload;
}

void BM_ParseReply999(benchmark::State& state) {
    const std::string reply = test::DownloadReply(Payload1000().substr(0, 999 * 22));
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseReply(reply));
}
BENCHMARK(BM_ParseReply999)->Unit(benchmark::kMicrosecond);

void BM_DecodeSortWrite1000(benchmark::State& state) {
    test::TempFolder dir;
    for (auto _ : state) {
        const DecodeOutcome out = RecordDecoder(Payload1000(), 1000, dir.path());
        if (out.recordCount < 900)
            state.SkipWithError("records lost");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_DecodeSortWrite1000)->Unit(benchmark::kMillisecond);

std::string Converted1000() {
    std::string converted;
    for (size_t i = 0; i < 1000; ++i)
        converted += DecodeRecord(Payload1000().substr(i * 22, 22));
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
    // A patient file as an import leaves it: in record order.
    std::string old = test::RandomStoredRecords(kFullPatient, 3, 1, 20);
    SortRecords(old);
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
