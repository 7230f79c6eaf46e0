// report: one report page as a picture or a printed PDF page.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <ostream>

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

}  // namespace

int RunReport(Context& ctx, const Args& args) {
    const char* usage =
        "Aufruf: report PATIENT --page N --out FILE [--date YYYY-MM-DD] [--fahrenheit]";
    if (args.empty())
        return Fail(ctx, usage);
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
            return Fail(ctx, usage);
        }
    }
    if (page == 0 || out.empty())
        return Fail(ctx, usage);
    const std::string ext = LowerExtension(out);
    if (ext != ".png" && ext != ".bmp" && ext != ".pdf")
        return Fail(ctx, "--out: .png, .bmp oder .pdf erwartet: " + out);
    if (!RequireKnownPatient(ctx, id))
        return kExitError;

    const RecordFile file = ReadRecordFile(PatientFilePath(ctx.dataFolder, id, kDataFileExtension));
    if (file.unreadable)
        return Fail(ctx, file.detail);
    const ReadingList list = ReadingsFromImage(file.image);
    // The patient's own units, meal slots and ranges; a profile that cannot
    // be read gives the defaults, as the program itself would show them.
    const ProfileRead profile = ReadProfile(ctx.dataFolder, id);
    if (profile.unreadable)
        ctx.err << "Das Patientenprofil kann nicht gelesen werden; es gelten die Vorgaben. ("
                << profile.problem << ")\n";
    reports::ReportData data =
        reports::MakeReportData(list, profile.settings, run, ctx.clock.Today(), selected);
    data.facts.profile = profile.profile;
    data.facts.patientId = id;
    std::string patientList;
    if (page == reports::kPatientListIndex) {
        patientList = RebuildPatientList(ctx.dataFolder).image.bytes;
        data.patientList = patientList;
    }

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

}  // namespace dorvel::cli
