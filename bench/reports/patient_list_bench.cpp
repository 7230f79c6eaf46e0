// The physician's patient list of a clinic: drawing its sheets and its
// screen table, and rebuilding it from a folder of full patients.
//
// The clinic folder is generated once and reused. Its size and place come
// from the environment, so a quick run needs little disk:
//   DORVEL_BENCH_PATIENTS  patients in the folder (default 20)
//   DORVEL_BENCH_READINGS  readings of each (default 45,454, the most a file holds)
//   DORVEL_BENCH_DATA      folder that keeps the generated clinic between runs
//                          (default: a temporary folder, removed at the end)
// The full clinic is 2,000 patients of 45,454 readings, about 2 GB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "reports/painter_surface.h"
#include "reports/patient_list_page.h"
#include "reports/print_job.h"
#include "reports/recording_surface.h"
#include "reports/report_pages.h"
#include "reports/report_text.h"
#include "store/data_folder.h"
#include "store/patient_data_file.h"
#include "store/patient_list.h"
#include "store/profile_file.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace {

using namespace dorvel;
namespace fs = std::filesystem;

int EnvInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

std::string PatientId(int k) {
    return reports::Printf("P%04d", k);
}

// The image a rebuild of a 2,000-patient folder gives, names and carers
// of ordinary length.
const std::string& ClinicListImage() {
    static const std::string image = [] {
        std::string list;
        for (int k = 1; k <= 2000; ++k) {
            for (const std::string& field :
                 {PatientId(k), reports::Printf("Patientin Nummer %d M\xFCller", k),
                  std::to_string(45454 - k % 97), std::string("Schwester Anna")}) {
                list += field;
                list.push_back('\0');
            }
        }
        return list;
    }();
    return image;
}

struct ListPage {
    ReadingList readings;
    reports::ReportData data;
    ListPage() {
        data = reports::MakeReportData(readings, UserSettings{}, RunSettings{}, Date{2026, 3, 10},
                                       Date{2026, 3, 10});
        data.patientList = ClinicListImage();
    }
};

// One sheet after the other on an A4 page at 150 dpi, header and footer
// included, as the print job draws them.
void BM_PatientListSheet(benchmark::State& state) {
    const ListPage page;
    const int sheets = reports::PatientListSheets(page.data);
    const reports::PaperMetrics paper = reports::PaperMetrics::FromMillimetres(202, 289);
    const reports::PrintFonts fonts = reports::PrintFonts::ForScale(paper.scale);
    QImage image(1193, 1707, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(150.0 / 1440.0, 150.0 / 1440.0);
    const reports::FrameStyle style = reports::FrameStyleOf(reports::kPatientListIndex);
    int sheet = 0;
    for (auto _ : state) {
        sheet = sheet % sheets + 1;
        reports::PainterSurface surface(painter);
        reports::DrawHeader(surface, paper, fonts, reports::kPatientListKind, page.data.facts,
                            style, false);
        reports::DrawReportPaper(reports::kPatientListIndex, surface, paper, fonts, page.data,
                                 sheet);
        reports::DrawFooter(surface, paper, fonts, reports::kPatientListKind, page.data.facts,
                            style);
    }
    state.counters["sheets"] = sheets;
}
BENCHMARK(BM_PatientListSheet)->Unit(benchmark::kMillisecond);

void BM_PatientListSheetRecorded(benchmark::State& state) {
    const ListPage page;
    const int sheets = reports::PatientListSheets(page.data);
    const reports::PaperMetrics paper = reports::PaperMetrics::FromMillimetres(202, 289);
    const reports::PrintFonts fonts = reports::PrintFonts::ForScale(paper.scale);
    int sheet = 0;
    for (auto _ : state) {
        sheet = sheet % sheets + 1;
        reports::RecordingSurface surface;
        reports::DrawReportPaper(reports::kPatientListIndex, surface, paper, fonts, page.data,
                                 sheet);
    }
}
BENCHMARK(BM_PatientListSheetRecorded)->Unit(benchmark::kMillisecond);

// The whole list printed into a PDF file.
void BM_PatientListPdf(benchmark::State& state) {
    const ListPage page;
    test::TempFolder folder;
    reports::PrintChoices choices;
    choices.Open(reports::kPatientListIndex);
    const reports::PrintJob job =
        reports::MakeReportPrintJob(page.data, reports::kPatientListIndex, choices);
    int sheets = 0;
    for (auto _ : state)
        reports::PrintToPdf(folder.File("list.pdf"), job, &sheets);
    state.counters["sheets"] = sheets;
    state.counters["per_sheet"] = benchmark::Counter(
        sheets, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PatientListPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

// The screen table: range(0) 0 draws all of it (a picture of the page),
// 1 what a window of 600 pixels shows halfway down the list.
void BM_PatientListScreen(benchmark::State& state) {
    const ListPage page;
    QImage image(811, 651, QImage::Format_RGB32);
    QPainter painter(&image);
    const int middle = reports::PatientListScreenHeight(page.data) / 2;
    painter.translate(0, -middle);
    for (auto _ : state) {
        reports::PainterSurface surface(painter);
        if (state.range(0) == 1)
            surface.SetClipBox(reports::Rect{0, middle, 811, middle + 600});
        reports::DrawReportScreen(reports::kPatientListIndex, surface, page.data,
                                  reports::Growth{});
    }
}
BENCHMARK(BM_PatientListScreen)->ArgName("window")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- the clinic folder ----

struct Clinic {
    std::string folder;
    int patients = 0;
    int readings = 0;
    uint64_t dataBytes = 0;
};

// Generates the clinic once; a folder that holds the same clinic already
// (its stamp written last) is taken as it is.
const Clinic& TheClinic() {
    static std::optional<test::TempFolder> temporary;
    static const Clinic clinic = [] {
        Clinic c;
        c.patients = EnvInt("DORVEL_BENCH_PATIENTS", 20);
        c.readings = std::min(EnvInt("DORVEL_BENCH_READINGS", static_cast<int>(kMaxRecords)),
                              static_cast<int>(kMaxRecords));
        const char* root = std::getenv("DORVEL_BENCH_DATA");
        std::string base;
        if (root != nullptr && *root != '\0') {
            base = root;
        } else {
            temporary.emplace();
            base = temporary->path();
        }
        c.folder = base + reports::Printf("/clinic-%dx%d/DATA", c.patients, c.readings);
        c.dataBytes = static_cast<uint64_t>(c.patients) * c.readings * kRecordSize;
        const std::string stamp = c.folder + "/.generated";
        if (fs::exists(stamp))
            return c;
        fs::create_directories(c.folder);
        std::string records = test::RandomStoredRecords(static_cast<size_t>(c.readings), 11);
        for (int k = 1; k <= c.patients; ++k) {
            PatientProfile profile;
            profile.name = reports::Printf("Patientin Nummer %d", k);
            profile.carer = "Schwester Anna";
            std::ofstream(c.folder + "/" + PatientId(k) + ".info", std::ios::binary)
                << FormatProfile(profile, UserSettings{});
            // Every patient a few more control readings than the one before.
            records[(static_cast<size_t>(k) * 7919 % static_cast<size_t>(c.readings)) *
                        kRecordSize +
                    3] = '5';
            std::ofstream(c.folder + "/" + PatientId(k) + ".gdt", std::ios::binary) << records;
        }
        std::ofstream(stamp) << c.patients << " " << c.readings << "\n";
        return c;
    }();
    return clinic;
}

void ReportPerPatient(benchmark::State& state, const Clinic& clinic) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * clinic.dataBytes));
    state.counters["patients"] = clinic.patients;
    state.counters["per_patient"] =
        benchmark::Counter(clinic.patients, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}

// Drops the folder's files from the page cache, so the next pass reads
// from the disk.
void EvictClinic(const Clinic& clinic) {
    for (const auto& entry : fs::directory_iterator(clinic.folder)) {
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// range(0): 1 reads every file from the disk, 0 from the page cache.
void BM_RebuildClinicList(benchmark::State& state) {
    const Clinic& clinic = TheClinic();
    const bool cold = state.range(0) == 1;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            EvictClinic(clinic);
            state.ResumeTiming();
        }
        const PatientListRebuild rebuild = RebuildPatientList(clinic.folder);
        if (reports::PatientListRows(rebuild.image.bytes) != clinic.patients)
            state.SkipWithError("the list misses patients");
    }
    ReportPerPatient(state, clinic);
}
BENCHMARK(BM_RebuildClinicList)
    ->ArgName("cold")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// What the counts need read and no more: the first work buffer of every
// data file, in the same order, with nothing done with the bytes.
void BM_ReadClinicBytes(benchmark::State& state) {
    const Clinic& clinic = TheClinic();
    const bool cold = state.range(0) == 1;
    std::vector<char> buffer(kRecordSize * 8192);
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            EvictClinic(clinic);
            state.ResumeTiming();
        }
        for (int k = 1; k <= clinic.patients; ++k) {
            const int fd =
                ::open(PatientFilePath(clinic.folder, PatientId(k), kDataFileExtension).c_str(),
                       O_RDONLY | O_CLOEXEC);
            size_t left = kWorkBufferSize;
            ssize_t n = 0;
            while (left > 0 && (n = ::read(fd, buffer.data(), std::min(buffer.size(), left))) > 0)
                left -= static_cast<size_t>(n);
            ::close(fd);
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    ReportPerPatient(state, clinic);
}
BENCHMARK(BM_ReadClinicBytes)
    ->ArgName("cold")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// The counts as the loader would make them: each file read whole into its
// image, then counted.
void BM_CountByLoadingImages(benchmark::State& state) {
    const Clinic& clinic = TheClinic();
    for (auto _ : state) {
        int total = 0;
        for (int k = 1; k <= clinic.patients; ++k) {
            total += CountedReadings(
                ReadRecordFile(PatientFilePath(clinic.folder, PatientId(k), kDataFileExtension))
                    .image);
        }
        benchmark::DoNotOptimize(total);
    }
    ReportPerPatient(state, clinic);
}
BENCHMARK(BM_CountByLoadingImages)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
