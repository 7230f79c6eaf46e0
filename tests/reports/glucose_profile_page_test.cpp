// The glucose profile page: its figures on screen and on paper, every text in
// its box, and its place in the certificate.
#include <gtest/gtest.h>

#include "reports/glucose_profile_page.h"
#include "reports/recording_surface.h"
#include "reports/report_pages.h"
#include "store/patient_data_file.h"
#include "support/cli_fixture.h"
#include "support/records.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

// June 2011: 100 at 08:10 and 200 at 20:10 on days 1..20, then one very
// low, one low and one very high reading. 43 readings on 23 days: mean
// 148.84, CV 38.7 %, GMI 6.87 % (51.6 mmol/mol).
std::string DayPairs(int days) {
    std::string records;
    for (int day = 1; day <= days; ++day) {
        records += test::StoredRecord(1, 0, 2011, 6, day, 8, 10, 100);
        records += test::StoredRecord(1, 0, 2011, 6, day, 20, 10, 200);
    }
    return records;
}

std::string CraftedRecords() {
    std::string records = DayPairs(20);
    records += test::StoredRecord(1, 0, 2011, 6, 21, 3, 0, 40);
    records += test::StoredRecord(1, 0, 2011, 6, 22, 3, 30, 60);
    records += test::StoredRecord(1, 0, 2011, 6, 23, 15, 0, 300);
    records += test::StoredRecord(1, 5, 2011, 6, 24, 15, 0, 300);  // control solution
    return records;
}

ReportData DataOf(const ReadingList& list, int unit, Date selected = {2011, 6, 30}) {
    UserSettings settings;
    settings.glucoseUnit = unit;
    ReportData data = MakeReportData(list, settings, RunSettings{}, Date{2011, 7, 15}, selected);
    data.facts.patientId = "ANNA";
    data.facts.profile.name = "Anna Meier";
    return data;
}

RecordingSurface Screen(const ReportData& data, Growth growth = {}) {
    RecordingSurface page;
    DrawReportScreen(kGlucoseProfileIndex, page, data, growth);
    return page;
}

TEST(GlucoseProfilePage, ShowsTheFiguresInMmolAndMarksTheUnstable) {
    RecordingSurface page = Screen(DataOf(ReadingsFromImage(CraftedRecords()), 1));
    for (const char* text : {"Zeitraum: 31.05.2011 – 30.06.2011 (31 Tage)", "8.2 mmol/L",
                             "3.9–10.0", "< 3.0", "Zielbereich 3.9–10.0 mmol/L"})
        EXPECT_NE(page.FindText(text), nullptr) << text;
    EXPECT_EQ(page.FindText("38.7 % – instabil")->background, kHighFill);
    // Single readings as dots: 03:00 twice, 15:00 once, and the legend's.
    EXPECT_EQ(
        std::count_if(page.ops().begin(), page.ops().end(),
                      [](const auto& op) { return op.kind == RecordingSurface::Kind::Ellipse; }),
        4);

    // Thirteen days are too few for the indicator; 33.3 % is not marked.
    page = Screen(DataOf(ReadingsFromImage(DayPairs(13)), 0));
    EXPECT_NE(page.FindText("---"), nullptr);
    EXPECT_NE(page.FindText("33.3 %"), nullptr);
}

class GlucoseProfilePdf : public test::CliTest {};

TEST_F(GlucoseProfilePdf, PrintedPageHoldsTheKeyFiguresAndRangeShares) {
    dir.Write("ANNA.gdt", CraftedRecords());
    ASSERT_EQ(Cli("--today 2011-07-15 report ANNA --page 9 --date 2011-06-30 --out " +
                  dir.File("profil.pdf")),
              0)
        << out;
    const std::string text = test::PdfText(dir.File("profil.pdf"));
    for (const char* expected : {"Glukoseprofil", "ID : ANNA", "23 von 31", "1.4", "149 mg/dL",
                                 "38.7 % – instabil", "Geschätzter HbA1c", "6.9 % (52 mmol/mol)",
                                 "ersetzt keinen", "46.5 %", "2.3 %", "70–180", "181–250", "> 250"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

}  // namespace
}  // namespace dorvel::reports
