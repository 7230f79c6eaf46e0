// A download of 500 records at 4800 baud from the virtual meter, measured
// against the time the bytes need on the line (bytes x 10 / 4800 s). The
// "ratio" counter is the figure to watch: at most 1.02.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "meter/meter_link.h"
#include "meter/serial_port.h"
#include "support/meter_sim.h"
#include "support/temp_folder.h"

namespace {

using namespace dorvel;

void BM_Download500AtLineRate(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench_line_time";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    const int records = 500;
    test::MeterSim sim(DORVEL_METER_SIM, {"--generate", std::to_string(records), "--seed", "3"});
    test::TempFolder dir;
    SerialPort port;
    FixedPort chooser(port, sim.device());
    MeterLink link(port, chooser, dir.path(), SessionTiming{}, 1);
    const double bytes = 6.0 + records * 22.0;
    const double lineSeconds = bytes * 10.0 / 4800.0;
    double measured = 0;
    bool ok = true;
    for (auto _ : state) {
        QEventLoop loop;
        QElapsedTimer clock;
        link.callbacks.finished = [&](const SessionResult& r) {
            ok = ok && r.outcome == SessionResult::Outcome::Decoded;
            loop.quit();
        };
        // The clock starts when the request has left, the moment the meter can begin.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!clock.isValid() && link.session().phaseMark() == 'H') {
                clock.start();
                poll.stop();
            }
        });
        poll.start(0);
        link.session().Receive();
        loop.exec();
        measured = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        state.SetIterationTime(measured);
    }
    if (!ok)
        state.SkipWithError("the download did not complete");
    state.counters["line_s"] = lineSeconds;
    state.counters["ratio"] = measured / lineSeconds;
}
BENCHMARK(BM_Download500AtLineRate)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
