// The window with the largest patient the data model allows (45,454
// readings): start-up to the first painted window, switching pages and
// stepping a month, each with the repaint it causes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/dorvel_app.h"
#include "store/data_folder.h"
#include "store/file_io.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace {

using namespace dorvel;

// Nobody answers: a bench never asks anything.
class SilentPrompter : public Prompter {
  public:
    void Message(QWidget*, const QString&, const QString&) override {}
    bool AskOkCancel(QWidget*, const QString&, const QString&) override { return false; }
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
    int Exec(QDialog&) override { return 0; }
    bool OpenWithDesktop(const QString&) override { return true; }
};

// A working folder with one patient of 45,454 readings, remembered as the last one.
class BigPatientFolder {
  public:
    BigPatientFolder() {
        const std::string data = ResolveDataFolder(work_.path());
        EnsureDataFolder(data);
        WriteFileAtomic(PatientFilePath(data, "BIG", kDataFileExtension),
                        test::RandomStoredRecords(kMaxRecords, 7));
        auto store = MakeFilePatientStore();
        PatientProfile profile;
        profile.name = "Big Patient";
        store->WriteProfile(data, "BIG", profile, UserSettings{});
    }
    const std::string& path() const { return work_.path(); }

  private:
    test::TempFolder work_;
};

const BigPatientFolder& Folder() {
    static const BigPatientFolder folder;
    return folder;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

std::unique_ptr<CDorvelApp> StartApp() {
    return std::make_unique<CDorvelApp>(Folder().path(), MakeFilePatientStore(),
                                        std::make_unique<SilentPrompter>(), nullptr);
}

// Runs the event loop until the widget has painted (at most two seconds).
bool WaitForPaint(PaintCounter& counter, int before) {
    QElapsedTimer limit;
    limit.start();
    while (counter.paints == before && limit.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return counter.paints > before;
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
    Folder();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto app = StartApp();
        PaintCounter counter;
        app->frame().page(kStartPage)->installEventFilter(&counter);
        app->frame().show();
        if (!WaitForPaint(counter, 0)) {
            state.SkipWithError("the window never painted");
            break;
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        state.counters["readings"] = static_cast<double>(app->doc().readings.size());
        app->frame().page(kStartPage)->removeEventFilter(&counter);
        app.reset();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// One shown window for the per-command benchmarks.
CDorvelApp& ShownApp() {
    static std::unique_ptr<CDorvelApp> app = [] {
        auto a = StartApp();
        a->frame().show();
        QCoreApplication::processEvents();
        return a;
    }();
    return *app;
}

// Runs a command and paints the page it leaves on screen at once, the way
// the page's own repaint would.
void RunAndPaint(CMainFrame& frame, int command) {
    frame.Run(command);
    frame.page(frame.doc().currentPage)->repaint();
}

void BM_SwitchPage(benchmark::State& state) {
    CMainFrame& frame = ShownApp().frame();
    const int commands[] = {kCmdDataList, kCmdSummary, kCmdLogbook, kCmdDayGraph};
    size_t i = 0;
    for (auto _ : state) {
        RunAndPaint(frame, commands[i++ % std::size(commands)]);
    }
}
BENCHMARK(BM_SwitchPage)->Unit(benchmark::kMillisecond);

void BM_StepMonth(benchmark::State& state) {
    CMainFrame& frame = ShownApp().frame();
    frame.Run(static_cast<int>(state.range(0)));
    size_t i = 0;
    for (auto _ : state) {
        RunAndPaint(frame, (i++ % 2) ? kCmdNextMonth : kCmdPrevMonth);
    }
}
// On the summary the period moves; on the data list the list pages by 30.
BENCHMARK(BM_StepMonth)->Arg(kCmdSummary)->Arg(kCmdDataList)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The file store keeps the last patient in the user's settings: never the real ones.
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
