#include <QImage>

#include "gui_app.h"
#include "store/patient_data_file.h"
#include "store/profile_file.h"
#include "support/cli_fixture.h"
#include "support/records.h"

namespace dorvel {
namespace {

class CliReport : public test::CliTest {
  protected:
    void SetUp() override {
        test::EnsureGuiApp();
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

}  // namespace
}  // namespace dorvel
