// report and print: one report page as a picture or a printed PDF page, and
// the medical certificate of the marked reports.
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "cli.h"
#include "reports/bmp_writer.h"
#include "reports/data_list_page.h"
#include "reports/painter_surface.h"
#include "reports/print_job.h"
#include "reports/report_pages.h"
#include "store/calendar.h"
#include "store/data_folder.h"
#include "store/patient_data_file.h"
#include "store/patient_list.h"
#include "store/profile_file.h"

namespace dorvel::cli {

namespace {

constexpr int kImageWidth = reports::kBaseScreenWidth + 1;
constexpr int kImageHeight = reports::kBaseScreenHeight + 1;

void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr)
        return;
    // No display is needed: pages are drawn into images and PDF files.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Outside a desktop session (a service, cron, CI) there is no runtime
    // folder; Qt would warn about it on every run. A private one of our own
    // keeps the output to what the command says.
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        static char runtime[] = "/tmp/dorvel-cli-XXXXXX";
        if (mkdtemp(runtime) != nullptr) {
            setenv("XDG_RUNTIME_DIR", runtime, 1);
            std::atexit([] { rmdir(runtime); });
        }
    }
    static int argc = 1;
    static char name[] = "dorvel-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    // Numbers in reports keep their decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
}

std::string LowerExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return {};
    std::string ext = path.substr(dot);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// What the program holds of a patient when it shows or prints the reports.
struct PatientReport {
    ReadingList list;
    ProfileRead profile;
    std::string patientList;  // the rebuilt list file, for the physician's patient list

    // The reports' data: the list must stay where it is while the data lives.
    reports::ReportData Data(const std::string& id, const RunSettings& run, const Date& today,
                             const Date& selected) const {
        reports::ReportData data =
            reports::MakeReportData(list, profile.settings, run, today, selected);
        data.facts.profile = profile.profile;
        data.facts.patientId = id;
        data.patientList = patientList;
        return data;
    }
};

bool LoadPatientReport(Context& ctx, const std::string& id, bool withPatientList,
                       PatientReport& patient) {
    const RecordFile file = ReadRecordFile(PatientFilePath(ctx.dataFolder, id, kDataFileExtension));
    if (file.unreadable) {
        Fail(ctx, file.detail);
        return false;
    }
    patient.list = ReadingsFromImage(file.image);
    // The patient's own units, meal slots and ranges; a profile that cannot
    // be read gives the defaults, as the program itself would show them.
    patient.profile = ReadProfile(ctx.dataFolder, id);
    if (patient.profile.unreadable)
        ctx.err << "Das Patientenprofil kann nicht gelesen werden; es gelten die Vorgaben. ("
                << patient.profile.problem << ")\n";
    // The program rebuilds the list when it starts; its page shows what that gave.
    if (withPatientList)
        patient.patientList = RebuildPatientList(ctx.dataFolder).image.bytes;
    return true;
}

// "1,3,5": report pages 1 to 9, each at most once; nullopt for anything else.
std::optional<std::vector<int>> ParseReportList(const std::string& text) {
    std::vector<int> pages;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (item.size() != 1 || item[0] < '1' || item[0] > '9')
            return std::nullopt;
        const int page = item[0] - '0';
        if (std::find(pages.begin(), pages.end(), page) != pages.end())
            return std::nullopt;
        pages.push_back(page);
        if (comma == std::string::npos)
            return pages;
        start = comma + 1;
    }
}

}  // namespace

int RunReport(Context& ctx, const Args& args) {
    if (args.empty())
        return UsageError(ctx, "report");
    const std::string& id = args[0];
    int page = 0;
    std::string out;
    Date selected = ctx.clock.Today();
    RunSettings run;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--page" && i + 1 < args.size()) {
            const std::string& n = args[++i];
            if (n.size() != 1 || n[0] < '1' || n[0] > '9')
                return Fail(ctx, "--page: eine Seite von 1 bis 9 erwartet: " + n);
            page = n[0] - '0';
        } else if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--date" && i + 1 < args.size()) {
            const auto date = ParseIsoDate(args[++i]);
            if (!date)
                return Fail(ctx, "--date: kein Datum (YYYY-MM-DD): " + args[i]);
            selected = *date;
        } else if (args[i] == "--fahrenheit") {
            run.temperatureUnit = 1;
        } else {
            return UsageError(ctx, "report");
        }
    }
    if (page == 0 || out.empty())
        return UsageError(ctx, "report");
    const std::string ext = LowerExtension(out);
    if (ext != ".png" && ext != ".bmp" && ext != ".pdf")
        return Fail(ctx, "--out: .png, .bmp oder .pdf erwartet: " + out);
    if (!RequireKnownPatient(ctx, id))
        return kExitError;

    PatientReport patient;
    if (!LoadPatientReport(ctx, id, page == reports::kPatientListIndex, patient))
        return kExitError;
    const reports::ReportData data = patient.Data(id, run, ctx.clock.Today(), selected);

    EnsureGuiApplication();
    if (ext == ".pdf") {
        reports::PrintChoices choices;
        choices.Open(page);
        const WriteResult written =
            reports::PrintToPdf(out, reports::MakeReportPrintJob(data, page, choices));
        if (!written.ok())
            return Fail(ctx, "kann " + out + " nicht schreiben: " + written.detail);
        return kExitOk;
    }

    // The page's client area at the base size, one pixel to spare beyond the
    // background rectangle; a long patient list gets its whole height.
    const int height = std::max(kImageHeight, reports::ReportScreenHeight(page, data) + 1);
    QImage image(kImageWidth, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        reports::PainterSurface surface(painter);
        reports::DrawReportScreen(page, surface, data, reports::Growth{0, height - kImageHeight});
    }
    if (ext == ".bmp") {
        const WriteResult written = reports::WriteBmp24(out, image);
        if (!written.ok())
            return Fail(ctx, "kann " + out + " nicht schreiben: " + written.detail);
        return kExitOk;
    }
    if (!image.save(QString::fromStdString(out), "PNG"))
        return Fail(ctx, "kann " + out + " nicht schreiben");
    return kExitOk;
}

int RunPrint(Context& ctx, const Args& args) {
    if (args.empty() || args[0].starts_with("-"))
        return UsageError(ctx, "print");
    const std::string& id = args[0];
    std::string out;
    std::vector<int> pages{1, 2, 3, 4, 5, 6, 7, 8, 9};
    Date day = ctx.clock.Today();
    bool diagnosisDate = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--diagnosis-date") {
            diagnosisDate = true;
        } else if (args[i] == "--reports" && i + 1 < args.size()) {
            const auto list = ParseReportList(args[++i]);
            if (!list)
                return Fail(ctx,
                            "--reports: Seiten von 1 bis 9, durch Kommas getrennt: " + args[i]);
            pages = *list;
        } else if (args[i] == "--date" && i + 1 < args.size()) {
            const auto date = ParseIsoDate(args[++i]);
            if (!date)
                return Fail(ctx, "--date: kein Datum (YYYY-MM-DD): " + args[i]);
            day = *date;
        } else {
            return UsageError(ctx, "print");
        }
    }
    if (out.empty())
        return UsageError(ctx, "print");
    if (LowerExtension(out) != ".pdf")
        return Fail(ctx, "--out: .pdf erwartet: " + out);
    if (!RequireKnownPatient(ctx, id))
        return kExitError;

    // The dialog's choices as a user makes them: each report marked by
    // opening the dialog on its page, then "&Markierung", which adds the
    // cover sheet.
    reports::PrintChoices choices;
    for (const int page : pages)
        choices.Open(page);
    choices.ChooseRange(1, reports::kDataListIndex);
    choices.printDiagnosisDate = diagnosisDate;

    PatientReport patient;
    const bool withList = choices.marked[reports::kPatientListIndex];
    if (!LoadPatientReport(ctx, id, withList, patient))
        return kExitError;
    // Printed on `day`: its months with readings are those of the certificate.
    const reports::ReportData data = patient.Data(id, RunSettings{}, day, day);

    EnsureGuiApplication();
    int printed = 0;
    const WriteResult written = reports::PrintToPdf(
        out, reports::MakeReportPrintJob(data, reports::kDataListIndex, choices), &printed);
    if (!written.ok())
        return Fail(ctx, "kann " + out + " nicht schreiben: " + written.detail);
    ctx.out << printed << '\n';
    return kExitOk;
}

}  // namespace dorvel::cli
