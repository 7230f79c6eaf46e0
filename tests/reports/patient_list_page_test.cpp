// The physician's patient list: the rows its image holds, on screen and on
// as many sheets as they need, in the certificate and as a PDF.
#include "reports/patient_list_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "reports/recording_surface.h"
#include "reports/report_pages.h"
#include "reports/report_text.h"
#include "store/profile_file.h"
#include "support/cli_fixture.h"
#include "support/records.h"
#include "text_fit_check.h"

namespace dorvel::reports {
namespace {

using namespace std::string_literals;
using Row = std::vector<std::string>;
const std::string kLongName = "Maximiliane Alexandra von Hohenzollern-Sigmaringen ";

// `count` patients P001.. named `name` 001.., with 7k readings and a carer.
std::string ListImage(int count, const std::string& name = "Name ") {
    std::string image;
    for (int k = 1; k <= count; ++k) {
        const std::string n = Printf("%03d", k);
        image += "P" + n + '\0' + name + n + '\0' + std::to_string(k * 7) + '\0' + "Carla" + '\0';
    }
    return image;
}

// The texts of the rows below the header, five cells a row.
std::vector<Row> Rows(const RecordingSurface& page) {
    const auto texts = page.Texts();
    std::vector<Row> rows;
    for (size_t i = 5; i + 5 <= texts.size(); i += 5) {
        rows.emplace_back();
        for (size_t c = 0; c < 5; ++c)
            rows.back().push_back(texts[i + c]->text);
    }
    return rows;
}

class PatientListPage : public ::testing::Test {
  protected:
    ReportData Data(std::string image) {
        image_ = std::move(image);
        ReportData data = MakeReportData(readings, UserSettings{}, RunSettings{}, Date{2012, 1, 15},
                                         Date{2012, 1, 15});
        data.patientList = image_;
        return data;
    }
    // The body of one sheet.
    RecordingSurface Sheet(const ReportData& data, int sheet) {
        RecordingSurface page;
        DrawReportPaper(kPatientListIndex, page, paper, PrintFonts::ForScale(paper.scale), data,
                        sheet);
        return page;
    }

    ReadingList readings;
    PaperMetrics paper = PaperMetrics::FromMillimetres(202, 289);

  private:
    std::string image_;
};

TEST_F(PatientListPage, RowsAreTheImagesEntriesOnScreenAndPaper) {
    const struct {
        std::string image;
        std::vector<Row> rows;
    } cases[] = {
        {"", {}},                                         // header only
        {std::string(7, '\0'), {{"1", "", "", "", ""}}},  // one row of empty fields
        {"A1\0\0"
         "12\0Carla\0"s,
         {{"1", "A1", "", "12", "Carla"}}},  // an empty name leaves its cell empty
        {"A1\0J\xFCrgen\0"
         "3\0\0B2\0Ben\0"
         "4"s,
         {{"1", "A1", "Jürgen", "3", ""}}},  // Windows-1252; no fourth NUL, no second row
    };
    for (const auto& c : cases) {
        const ReportData data = Data(c.image);
        RecordingSurface screen;
        DrawReportScreen(kPatientListIndex, screen, data, Growth{});
        ASSERT_NE(screen.FindText("Name des Betreuers"), nullptr);
        EXPECT_EQ(Rows(screen), c.rows) << c.image;
        EXPECT_NE(Sheet(data, 1).FindText("Name Betreuer"), nullptr);
        EXPECT_EQ(Rows(Sheet(data, 1)), c.rows) << c.image;
        EXPECT_EQ(ReportSheets(kPatientListIndex, data), 1);
        EXPECT_EQ(ReportScreenHeight(kPatientListIndex, data), kBaseScreenHeight);
    }
}

TEST_F(PatientListPage, ScreenIsAsTallAsALongListAndDrawsOnlyTheRowsShown) {
    // 45 long names: the page is as tall as its rows, every text in its cell.
    const ReportData data = Data(ListImage(45, kLongName));
    const int height = ReportScreenHeight(kPatientListIndex, data);
    EXPECT_EQ(height, 30 + 17 * 45 + 10);
    RecordingSurface all;
    DrawReportScreen(kPatientListIndex, all, data, Growth{});
    EXPECT_EQ(all.ops().front().rect, (Rect{0, 0, 810, height}));
    EXPECT_EQ(Rows(all).size(), 45u);
    EXPECT_TRUE(test::TextsFitTheirBoxes(all));
    // A window that shows part of the list is drawn only the rows it shows.
    RecordingSurface window;
    window.SetClipBox(Rect{0, 300, 810, 400});
    DrawReportScreen(kPatientListIndex, window, data, Growth{});
    const std::vector<Row> seen = Rows(window);
    ASSERT_EQ(seen.size(), 7u);  // rows 16..22 reach into 300..399
    EXPECT_EQ(seen.front()[0], "16");
}

TEST_F(PatientListPage, SheetsGoOnWithTheNextRowsAboveTheFooter) {
    for (const auto& [patients, sheets] : {std::pair{1, 1}, {33, 1}, {34, 2}, {66, 2}, {67, 3}})
        EXPECT_EQ(PatientListSheets(Data(ListImage(patients))), sheets) << patients;

    // 45 long names over two sheets, on A4 and on narrow paper, framed.
    for (const PaperMetrics sheetPaper :
         {PaperMetrics::FromMillimetres(202, 289), PaperMetrics::FromMillimetres(140, 200)}) {
        paper = sheetPaper;
        const ReportData data = Data(ListImage(45, kLongName));
        std::vector<Row> rows;
        for (int sheet = 1; sheet <= 2; ++sheet) {
            EXPECT_TRUE(test::TextsFitTheirBoxes(
                test::FramedSheet(kPatientListIndex, paper, data, data.facts, sheet)))
                << sheet;
            const RecordingSurface page = Sheet(data, sheet);
            for (const auto& op : page.ops())
                EXPECT_LE(op.rect.bottom, paper.Y(35)) << "into the footer";
            for (const Row& row : Rows(page))
                rows.push_back(row);
        }
        ASSERT_EQ(rows.size(), 45u);
        for (int k = 1; k <= 45; ++k)
            EXPECT_EQ(rows[static_cast<size_t>(k - 1)][1], Printf("P%03d", k));
    }
}

class PatientListPdf : public test::CliTest {};

TEST_F(PatientListPdf, HoldsEveryPatientOfAHundredOnce) {
    for (int k = 1; k <= 100; ++k) {
        PatientProfile profile;
        profile.name = Printf("Name %03d", k);
        ASSERT_TRUE(WriteProfile(dir.path(), Printf("P%03d", k), profile, UserSettings{}).ok());
    }
    const std::string pdf = dir.File("list.pdf");
    ASSERT_EQ(Cli("report P042 --page 8 --out " + pdf), 0) << out;
    const std::string text = test::PdfText(pdf);
    const auto occurrences = [&](const std::string& word) {
        size_t found = 0;
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
            ++found;
        return found;
    };
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 4);  // 33 + 33 + 33 + 1 rows
    for (int k = 1; k <= 100; ++k) {
        EXPECT_EQ(occurrences(Printf("P%03d", k)), 1u) << k;
        EXPECT_EQ(occurrences(Printf("Name %03d", k)), 1u) << k;
    }
}

}  // namespace
}  // namespace dorvel::reports
