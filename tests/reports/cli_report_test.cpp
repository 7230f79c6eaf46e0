#include <gtest/gtest.h>

#include <QImage>

#include "gui_app.h"
#include "store/patient_data_file.h"
#include "store/profile_file.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

class CliReport : public ::testing::Test {
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
    int Run(const std::string& args, std::string* out = nullptr) {
        return test::RunCommand(
            std::string(DORVEL_CLI) + " --data " + dir.path() + " " + args + " 2>&1", out);
    }
    test::TempFolder dir;
};

TEST_F(CliReport, WritesPngBmpAndPdfOfTheDataList) {
    for (const char* name : {"page.png", "page.bmp"}) {
        ASSERT_EQ(Run("report ANNA --page 1 --out " + dir.File(name)), 0) << name;
        const QImage image(QString::fromStdString(dir.File(name)));
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.width(), 811);
        EXPECT_EQ(image.pixelColor(12, 12), QColor(192, 192, 192)) << name;
    }
    ASSERT_EQ(Run("report ANNA --page 1 --out " + dir.File("page.pdf")), 0);
    std::string text;
    ASSERT_EQ(test::RunCommand("pdftotext '" + dir.File("page.pdf") + "' -", &text), 0);
    EXPECT_NE(text.find("DATEN"), std::string::npos);
    EXPECT_NE(text.find("ID : ANNA"), std::string::npos);
    EXPECT_NE(text.find("Zimmer Nr. :"), std::string::npos);
    EXPECT_NE(text.find("12.03.2011 Sa"), std::string::npos);
    EXPECT_NE(text.find("\n230\n"), std::string::npos);  // mg/dL without a profile
}

TEST_F(CliReport, DrawsWithThePatientsProfile) {
    PatientProfile profile;
    profile.name =
        "Anna Schr\xF6"
        "der";  // stored in Windows-1252
    UserSettings settings;
    settings.glucoseUnit = 1;
    ASSERT_TRUE(WriteProfile(dir.path(), "ANNA", profile, settings).ok());
    ASSERT_EQ(Run("report ANNA --page 1 --out " + dir.File("page.pdf")), 0);
    std::string text;
    ASSERT_EQ(test::RunCommand("pdftotext '" + dir.File("page.pdf") + "' -", &text), 0);
    EXPECT_NE(text.find("Patient : Anna Schröder"), std::string::npos);
    EXPECT_NE(text.find("12.7"), std::string::npos);  // 230 mg/dL in mmol/L
    EXPECT_EQ(text.find("\n230\n"), std::string::npos);
}

TEST_F(CliReport, RefusesWhatItCannotDo) {
    std::string out;
    EXPECT_EQ(Run("report NOBODY --page 1 --out " + dir.File("x.png"), &out), 1);
    EXPECT_EQ(Run("report ANNA --page 9 --out " + dir.File("x.png")), 1);
    EXPECT_EQ(Run("report ANNA --page 1 --out " + dir.File("x.gif")), 1);
    EXPECT_EQ(Run("report ANNA --page 1"), 1);
    EXPECT_FALSE(QImage(QString::fromStdString(dir.File("x.png"))).width() > 0);
}

}  // namespace
}  // namespace dorvel
