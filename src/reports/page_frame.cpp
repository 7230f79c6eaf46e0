#include "page_frame.h"

#include <cmath>
#include <cstdio>

#include "store/text_encoding.h"

namespace dorvel::reports {

namespace {

std::string Utf8(std::string_view cp1252) {
    return Cp1252ToUtf8(cp1252);
}

}  // namespace

void DrawScreenPage(Surface& surface, Growth growth) {
    surface.SetPen(Pen{kBlack, 1, PenStyle::Solid});
    surface.SetBrush(Brush{kWhite});
    surface.Rectangle(
        Rect{0, 0, kBaseScreenWidth + growth.width, kBaseScreenHeight + growth.height});
}

int RepaintTimerId(int pageIndex) {
    switch (pageIndex) {
        case kDataListIndex:
            return 100;
        case kLogbookIndex:
            return 200;
        case kSummaryIndex:
            return 300;
        case kDayGraphIndex:
            return 800;
        case kMealtimeGraphIndex:
            return 400;
        case kRangeBarIndex:
            return 200;
        case kMealtimeBarIndex:
            return 300;
        case kGlucoseProfileIndex:
            return 900;
        default:
            return 0;
    }
}

std::string_view PageWindowTitle(int pageIndex) {
    switch (pageIndex) {
        case kDataListIndex:
            return "DATEN";
        case kLogbookIndex:
            return "Tagebuch";
        case kSummaryIndex:
            return "Übersicht";
        case kDayGraphIndex:
        case kMealtimeGraphIndex:
        case kRangeBarIndex:
        case kMealtimeBarIndex:
        case kPatientListIndex:
        case kGlucoseProfileIndex:
            // These pages are titled like their printed heading.
            return PageKindTitle(pageIndex + 1);
        default:
            return {};
    }
}

std::string_view CaptureFileName(int pageIndex) {
    static constexpr std::array<std::string_view, 10> names = {"",
                                                               "DATEN.BMP",
                                                               "TAGEBUCH.BMP",
                                                               "ZUSAMMENFASSUNG.BMP",
                                                               "GRAFIK_NACH_DATUM.BMP",
                                                               "GRAFIK_UNT_TAGESZEIT.BMP",
                                                               "BALK_U_D_M.BMP",
                                                               "BALK_D_N_T_M.BMP",
                                                               "PATIENT_LIST.BMP",
                                                               "GLUKOSEPROFIL.BMP"};
    if (pageIndex < 1 || pageIndex > 9)
        return {};
    return names[static_cast<size_t>(pageIndex)];
}

std::string CaptureCompleteMessage(std::string_view fileName) {
    return "Save Complete - " + std::string(fileName);
}

std::string CaptureFailedMessage(std::string_view fileName, std::string_view detail) {
    std::string message = "Die Datei " + std::string(fileName) + " wurde nicht gespeichert.";
    if (!detail.empty())
        message += " (" + std::string(detail) + ")";
    return message;
}

std::string_view PageKindTitle(int kind) {
    switch (kind) {
        case 1:
            return "ÄRZTLICHE BESCHEINIGUNG";
        case 2:
            return "DATEN";
        case 3:
            return "Tagebuch";
        case 4:
            return "Zusammenfassung";
        case 5:
            return "Grafik: Durchschnittlicher Blutzuckerwert nach Datum";
        case 6:
            return "Grafik: Durchschnittlicher Blutzuckerwert nach Datum und Tageszeit";
        case 7:
            return "Balkendiagramm: Übersicht der Messwerte.";
        case 8:
            return "Balkendiagramm: Durchschnittswerte nach Tages-/ Mahlzeiten";
        case 9:
            return "PATIENTEN";
        case 10:
            return "Glukoseprofil";
        default:
            return {};
    }
}

PaperMetrics PaperMetrics::FromMillimetres(double widthMm, double heightMm) {
    return FromTwips(static_cast<int>(widthMm / 25.4 * 1440.0),
                     static_cast<int>(heightMm / 25.4 * 1440.0));
}

PaperMetrics PaperMetrics::FromTwips(int width, int height) {
    PaperMetrics m;
    m.width = width;
    m.height = height;
    m.scale = static_cast<float>(width / 11451.0);
    return m;
}

int PaperMetrics::X(int referenceTwips) const {
    return CentreX() + static_cast<int>(static_cast<double>(referenceTwips) * scale);
}

int PaperMetrics::Y(double fortieths) const {
    return static_cast<int>(fortieths * height / 40.0);
}

int PrintFontHeight(int points, float scale) {
    return -20 * static_cast<int>(static_cast<float>(points) * scale);
}

PrintFonts PrintFonts::ForScale(float scale) {
    PrintFonts f;
    f.title = Font{"Tahoma", PrintFontHeight(20, scale), 700};
    f.text = Font{"Tahoma", PrintFontHeight(10, scale), 400};
    f.largeText = Font{"Tahoma", PrintFontHeight(15, scale), 400};
    return f;
}

FrameStyle FrameStyleOf(int pageIndex) {
    FrameStyle s;
    // Our own glucose profile names the patient like the data list.
    s.fillPatientName = pageIndex == kDataListIndex || pageIndex == kGlucoseProfileIndex;
    s.mobileWord = pageIndex >= kDayGraphIndex && pageIndex <= kGlucoseProfileIndex;
    s.emptyFooterTexts = pageIndex == kLogbookIndex;
    return s;
}

void DrawHeader(Surface& surface, const PaperMetrics& paper, const PrintFonts& fonts, int kind,
                const PatientFacts& facts, const FrameStyle& style, bool printDiagnosisDate) {
    const FontRestorer restore(surface);
    surface.SetTextColor(kBlack);
    surface.SetBackground(kWhite, true);
    surface.SetFont(fonts.title);
    surface.Text(Rect{paper.X(-5000), paper.YInt(4), paper.X(5000), paper.YInt(5)},
                 PageKindTitle(kind), kCentredLine);

    surface.SetPen(Pen{kBlack, 0, PenStyle::Solid});
    for (const double at : {5.1, 5.2}) {
        const int y = paper.Y(at);
        surface.Line(paper.X(-5100), y, paper.X(5100), y);
    }

    surface.SetFont(fonts.text);
    const PatientProfile& p = facts.profile;
    if (printDiagnosisDate) {
        // Profiles always load day-first (format 2); such a date is printed
        // day-first too rather than left out.
        surface.Text(Rect{paper.X(2000), paper.Y(5.2), paper.X(6000), paper.Y(6.2)},
                     "Festgestellt am : " + DateWithWeekday(p.diagnosisDate, facts.dateFormat),
                     kLeftLine);
    }
    if (kind == kPatientListKind)
        return;

    const bool cover = kind == kCoverKind;
    // Each line may take its row up to where the next one on the row starts,
    // so a long value is set smaller instead of running into its neighbour.
    const auto line = [&](int left, int right, double from, double to, std::string_view label,
                          const std::string& value) {
        const std::string text = cover ? std::string() : std::string(label) + Utf8(value);
        surface.Text(Rect{paper.X(left), paper.Y(from), paper.X(right), paper.Y(to)}, text,
                     kLeftLine);
    };
    // Only the reports that name the patient have the name line; the others
    // keep its box empty, label and all.
    if (style.fillPatientName)
        line(-4000, -1000, 5.2, 6.2, "Patient : ", p.name);
    else
        surface.Text(Rect{paper.X(-4000), paper.Y(5.2), paper.X(-1000), paper.Y(6.2)}, "",
                     kLeftLine);
    line(-1000, printDiagnosisDate ? 2000 : 6000, 5.2, 6.2, "ID : ", facts.patientId);
    line(-4000, -1000, 6.2, 7.2, "Tel. : ", p.telephone);
    line(-1000, 2000, 6.2, 7.2, style.mobileWord ? "Mobil : " : "Handy : ", p.mobile);
    line(2000, 6000, 6.2, 7.2, "Email : ", p.email);
}

void DrawFooter(Surface& surface, const PaperMetrics& paper, const PrintFonts& fonts, int kind,
                const PatientFacts& facts, const FrameStyle& style) {
    const FontRestorer restore(surface);
    surface.SetTextColor(kBlack);
    surface.SetBackground(kWhite, true);
    const PatientProfile& p = facts.profile;
    const std::string blanks30(30, ' ');
    const bool patientList = kind == kPatientListKind;

    const auto line = [&](double from, double to, const Font& font, const std::string& text) {
        surface.SetFont(font);
        surface.Text(Rect{paper.X(-5000), paper.Y(from), paper.X(5000), paper.Y(to)},
                     style.emptyFooterTexts ? std::string() : text, kCentredLine);
    };
    if (!patientList) {
        line(33, 33.7, fonts.text,
             "Zimmer Nr. : " + Utf8(p.room) + blanks30 + "Bett Nr. : " + Utf8(p.bed));
        line(34, 34.7, fonts.largeText,
             "Arzt : " + Utf8(p.physician) + std::string(31, ' ') +
                 "Betreuer(in) : " + Utf8(p.carer));
    }
    line(35, 36, patientList ? fonts.text : fonts.largeText,
         "Hospital : " + Utf8(p.hospital) + blanks30);
    line(36, 36.7, fonts.text,
         "Tel. : " + Utf8(p.physicianTelephone) + blanks30 +
             (style.mobileWord ? "Mobil : " : "Handy : ") + Utf8(p.physicianMobile));
    line(36.7, 37.4, fonts.text,
         "Email : " + Utf8(p.physicianEmail) + "\t" + blanks30 + "Fax : " + Utf8(p.physicianFax));
}

}  // namespace dorvel::reports
