#include "reports/text_fit.h"

#include <gtest/gtest.h>

#include "reports/data_list_page.h"
#include "reports/page_frame.h"
#include "reports/recording_surface.h"
#include "reports/text_metrics.h"
#include "support/records.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

const Font kCell{"Arial", 14, 400};

TEST(TextFit, SetsTextSmallerOrOnTwoLinesOnlyWhenItMustAndAlwaysInsideItsBox) {
    struct Case {
        const char* text;
        Rect box;
        unsigned flags;
        bool smaller;
        int lines;
    };
    const Case cases[] = {
        {"Zielbereich", {0, 0, 140, 17}, kCentredLine, false, 1},  // fits as it is
        {"Kontroll-Lösung", {0, 0, 90, 17}, kCentredLine, true, 1},
        // A row one line high cannot take two lines: one smaller line.
        {"Nach Medikamenten-Einnahme", {0, 0, 140, 17}, kCentredLine, true, 1},
        // A tall box breaks the text rather than shrinking it far.
        {"Nach Medikamenten-Einnahme", {0, 0, 130, 40}, kCentredLine, false, 2},
        {"Standardabweichung Monat", {0, 0, 100, 40}, kCentredLine, true, 2},
        {"Monatsdurchschnitt", {0, 0, 80, 40}, kCentredLine, true, 1},
        {"Schlaf\r\n00:00 ~ 04:59", {0, 0, 138, 38}, kAlignHCenter, false, 2},
    };
    for (const Case& c : cases) {
        const FittedText fit = FitText(c.box, NormaliseLineBreaks(c.text), c.flags, kCell);
        EXPECT_EQ(fit.font.height < kCell.height, c.smaller) << c.text;
        EXPECT_EQ(static_cast<int>(std::count(fit.text.begin(), fit.text.end(), '\n')) + 1, c.lines)
            << c.text;
        RecordingSurface page;
        page.SetFont(kCell);
        page.Text(c.box, c.text, c.flags);
        EXPECT_TRUE(test::TextsFitTheirBoxes(page)) << c.text;
    }
    // Beyond half size a line is cut with an ellipsis rather than overflow.
    const FittedText cut = FitText(Rect{0, 0, 100, 17}, std::string(200, 'W'), kCentredLine, kCell);
    EXPECT_TRUE(cut.text.ends_with("\u2026"));
    EXPECT_TRUE(TextFitsBox(Rect{0, 0, 100, 17}, cut.font, cut.text, kCentredLine));

    // A block of text breaks its own lines; it shrinks only when too tall.
    const std::string remark(400, 'x');
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "Seit 2009 bekannt ";
    EXPECT_EQ(FitText(Rect{0, 0, 300, 200}, "kurz und gut", kTopBlock, kCell).font, kCell);
    EXPECT_LT(FitText(Rect{0, 0, 300, 60}, words, kTopBlock, kCell).font.height, kCell.height);

    // An address typed on two lines stands on its one line at full size.
    RecordingSurface address;
    address.SetFont(kCell);
    address.Text(Rect{0, 0, 600, 17}, "Anschrift : Hauptstrasse 5\r\n10115 Berlin", kLeftLine);
    ASSERT_NE(address.FindText("Anschrift : Hauptstrasse 5 10115 Berlin"), nullptr);
    EXPECT_EQ(address.FindText("Anschrift : Hauptstrasse 5 10115 Berlin")->font, kCell);
}

PatientFacts LongFacts() {
    PatientFacts f;
    f.patientId = "KLINIK-STATION-7";
    f.dateFormat = 0;
    PatientProfile& p = f.profile;
    p.name = "Maximiliane Alexandra von Hohenzollern-Sigmaringen";
    p.telephone = p.mobile = p.fax = "+49 (0) 30 1234567-89";
    p.email = "maximiliane.hohenzollern@universitaetsklinikum.example";
    // Windows-1252, as profiles hold their texts.
    p.address =
        "Universit\xe4tsklinikum Charlottenburg, Station 7B, Hindenburgdamm 30, "
        "12203 Berlin-Lichterfelde";
    p.careHome = "Seniorenresidenz Am Schlosspark Sanssouci";
    p.remark = "H\xf6rger\xe4t links, spricht Polnisch und Deutsch";
    p.room = "Haus C, 2. Obergeschoss, Zimmer 214";
    p.bed = "Fensterseite";
    p.carer =
        "Schwester Hildegard M\xfc"
        "ller-L\xfc"
        "denscheidt";
    p.physician = "Prof. Dr. med. Friedrich-Wilhelm Oberndorfer";
    p.hospital = "Evangelisches Waldkrankenhaus Spandau";
    p.physicianTelephone = p.physicianMobile = p.physicianFax = "+49 (0) 30 1234567-89";
    p.physicianEmail = p.email;
    for (int i = 0; i < 40; ++i)
        p.diagnosisComments += "Seit 2009 bekannt, gut eingestellt. ";
    p.treatmentComments = p.diagnosisComments;
    p.treatDiet = p.treatSport = p.treatInsulinInjection = p.treatInsulinPump = p.treatOral =
        p.treatOther = 1;
    return f;
}

TEST(TextFit, FrameCoverSheetAndDataListFitWithTheLongestValues) {
    const PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);
    const PrintFonts fonts = PrintFonts::ForScale(paper.scale);
    const PatientFacts facts = LongFacts();
    for (int kind = 1; kind <= 10; ++kind) {
        RecordingSurface page;
        DrawHeader(page, paper, fonts, kind, facts, FrameStyleOf(kind - 1), true);
        if (kind == kCoverKind)
            DrawCoverSheet(page, paper, fonts, facts);
        DrawFooter(page, paper, fonts, kind, facts, FrameStyleOf(kind - 1));
        EXPECT_TRUE(test::TextsFitTheirBoxes(page)) << "kind " << kind;
    }

    // Every marker and slot text, control readings, both units and Fahrenheit.
    ReadingList list;
    for (int i = 0; i < 30; ++i)
        list.push_back(ReadingFromRecord(test::StoredRecord(
            121, i % 6, 2011, 6, 1 + i, (i * 5) % 24, 59, 10 + i * 20, i % 2 ? 235 : 0)));
    for (int unit : {0, 1}) {
        UserSettings settings;
        settings.glucoseUnit = unit;
        settings.timeFormat = unit;
        RunSettings run;
        run.temperatureUnit = unit;
        const DataListView view = MakeDataListView(list, 30, settings, run);
        RecordingSurface screen;
        DrawDataListScreen(screen, view, Growth{});
        EXPECT_TRUE(test::TextsFitTheirBoxes(screen)) << "screen, unit " << unit;
        RecordingSurface sheet;
        DrawDataListPaper(sheet, paper, view);
        EXPECT_TRUE(test::TextsFitTheirBoxes(sheet)) << "paper, unit " << unit;
    }
}

}  // namespace
}  // namespace dorvel::reports
