#include <QImage>

#include <regex>

#include "reports/report_pages.h"
#include "store/calendar.h"
#include "store/patient_data_file.h"
#include "store/profile_file.h"
#include "support/cli_fixture.h"
#include "support/records.h"

namespace dorvel {
namespace {

class CliReport : public test::CliTest {
  protected:
    void SetUp() override {
        ReadingList list;
        for (int day = 1; day <= 12; ++day) {
            list.push_back(ReadingFromRecord(
                test::StoredRecord(1, day % 6, 2011, 3, day, 6 + day, 0, 50 + day * 15)));
        }
        list.Sort();
        ASSERT_TRUE(SaveReadings(dir.path(), "ANNA", list).ok());
    }
    std::string PdfOfPage1() {
        return Cli("report ANNA --page 1 --out " + dir.File("page.pdf")) == 0
                   ? test::PdfText(dir.File("page.pdf"))
                   : out;
    }
};

TEST_F(CliReport, WritesPngBmpAndPdfOfTheDataList) {
    for (const char* name : {"page.png", "page.bmp"}) {
        ASSERT_EQ(Cli("report ANNA --page 1 --out " + dir.File(name)), 0) << name;
        const QImage image(QString::fromStdString(dir.File(name)));
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.width(), 811);
        EXPECT_EQ(image.pixelColor(12, 12), QColor(192, 192, 192)) << name;
    }
    const std::string text = PdfOfPage1();
    for (const char* expected : {"DATEN", "ID : ANNA", "Zimmer Nr. :", "12.03.2011 Sa",
                                 "\n230\n"})  // mg/dL without a profile
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST_F(CliReport, DrawsWithThePatientsProfile) {
    PatientProfile profile;
    profile.name =
        "Anna Schr\xF6"
        "der";  // stored in Windows-1252
    UserSettings settings;
    settings.glucoseUnit = 1;
    ASSERT_TRUE(WriteProfile(dir.path(), "ANNA", profile, settings).ok());
    const std::string text = PdfOfPage1();
    EXPECT_NE(text.find("Patient : Anna Schröder"), std::string::npos);
    EXPECT_NE(text.find("12.7"), std::string::npos);  // 230 mg/dL in mmol/L
    EXPECT_EQ(text.find("\n230\n"), std::string::npos);
}

TEST_F(CliReport, RefusesWhatItCannotDo) {
    for (const std::string& args :
         {"report NOBODY --page 1 --out " + dir.File("x.png"),
          "report ANNA --page 10 --out " + dir.File("x.png"),
          "report ANNA --page 1 --out " + dir.File("x.gif"), std::string("report ANNA --page 1")})
        EXPECT_EQ(Cli(args), 1) << args;
    EXPECT_FALSE(QImage(QString::fromStdString(dir.File("x.png"))).width() > 0);
}

// A certificate of a crafted patient: 35 readings on 2 to 14 March 2011 and
// 5 on 5 to 9 June (two data pages; printed on 1 July, the months that end
// on 1 July and 1 April hold readings), and a second patient for the
// physician's list.
class CliPrint : public test::CliTest {
  protected:
    void SetUp() override {
        for (int i = 0; i < 35; ++i) {
            list_.push_back(ReadingFromRecord(
                test::StoredRecord(1, i % 5, 2011, 3, 2 + i % 13, 7 + i / 13 * 4, 0, 60 + i * 7)));
        }
        for (int day = 5; day <= 9; ++day)
            list_.push_back(
                ReadingFromRecord(test::StoredRecord(1, 0, 2011, 6, day, 8, 30, 90 + day)));
        list_.Sort();
        ASSERT_TRUE(SaveReadings(dir.path(), "ANNA", list_).ok());
        ASSERT_TRUE(WriteProfile(dir.path(), "BERT", {}, {}).ok());
    }

    // The print dialog's page count for the same marks and the same data.
    reports::PageCount DialogCount(std::initializer_list<int> reports, const Date& today) {
        reports::PrintChoices choices;
        for (const int page : reports)
            choices.marked[static_cast<size_t>(page)] = true;
        choices.ChooseRange(1, reports::kDataListIndex);
        const reports::ReportData data = reports::MakeReportData(list_, {}, {}, today, today);
        return reports::CountPages(choices, reports::kDataListIndex, reports::JobSizesOf(data));
    }

    // Prints; checks the count against the dialog's and each page's heading.
    void ExpectCertificate(const std::string& args, std::initializer_list<int> reports,
                           const Date& today, int expectedPages) {
        ASSERT_EQ(Cli("--today 2011-07-01 print ANNA --out " + dir.File("c.pdf") + args), 0) << out;
        const reports::PageCount count = DialogCount(reports, today);
        EXPECT_EQ(count.pages, expectedPages);
        // The last line: Qt may have warned about the environment before.
        EXPECT_TRUE(out.ends_with("\n" + std::to_string(count.pages) + "\n") ||
                    out == std::to_string(count.pages) + "\n")
            << out;
        for (int page = 1; page <= count.pages; ++page) {
            std::string text;
            ASSERT_EQ(test::RunCommand("pdftotext -f " + std::to_string(page) + " -l " +
                                           std::to_string(page) + " '" + dir.File("c.pdf") + "' -",
                                       &text),
                      0);
            text = std::regex_replace(text, std::regex("\\s+"), " ");
            const int kind = reports::PlaceOfPage(page, count.boundary).kind;
            EXPECT_NE(text.find(reports::PageKindTitle(kind)), std::string::npos)
                << "page " << page << " of" << args << " lacks its heading " << kind;
        }
        std::string info;
        ASSERT_EQ(test::RunCommand("pdfinfo '" + dir.File("c.pdf") + "'", &info), 0);
        EXPECT_TRUE(
            std::regex_search(info, std::regex("Pages: +" + std::to_string(count.pages) + "\n")))
            << info;
    }

    ReadingList list_;
};

TEST_F(CliPrint, PagesAndHeadingsAreThoseOfTheDialog) {
    // Cover, 2 data pages, 2 months of each of seven monthly reports, 1 list sheet.
    ExpectCertificate("", {1, 2, 3, 4, 5, 6, 7, 8, 9}, {2011, 7, 1}, 1 + 2 + 7 * 2 + 1);
    // The listed reports in page order, whatever the order given.
    ExpectCertificate(" --reports 3,1", {1, 3}, {2011, 7, 1}, 1 + 2 + 2);
    // Printed on 15 April: only the month that ends on 15 March has readings.
    ExpectCertificate(" --reports 8,2 --date 2011-04-15", {2, 8}, {2011, 4, 15}, 1 + 1 + 1);

    // The dialog's diagnosis-date box: the header names the day, day first.
    ASSERT_EQ(Cli("print ANNA --out " + dir.File("d.pdf") + " --reports 1 --diagnosis-date"), 0)
        << out;
    std::string header;
    ASSERT_EQ(test::RunCommand("pdftotext -f 2 -l 2 '" + dir.File("d.pdf") + "' -", &header), 0);
    EXPECT_NE(header.find("Festgestellt am : 01/01/2002 Tue"), std::string::npos) << header;
}

TEST_F(CliPrint, RefusesWhatItCannotDo) {
    for (const std::string& args :
         {"print ANNA --out " + dir.File("x.pdf") + " --reports 1,1",
          "print ANNA --out " + dir.File("x.pdf") + " --reports 0",
          "print ANNA --out " + dir.File("x.pdf") + " --reports 1,",
          "print ANNA --out " + dir.File("x.pdf") + " --date 2011-02-30",
          "print ANNA --out " + dir.File("x.png"), "print NOBODY --out " + dir.File("x.pdf"),
          std::string("print ANNA")}) {
        EXPECT_EQ(Cli(args), 1) << args;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    }
    EXPECT_FALSE(test::RunCommand("test -e '" + dir.File("x.pdf") + "'") == 0);
}

}  // namespace
}  // namespace dorvel
