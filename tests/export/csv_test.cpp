// The CSV layouts byte for byte against the reference files in
// tests/data/export, the worked lines, and the mail recipient rule.
#include <gtest/gtest.h>

#include <clocale>

#include "crafted_patient.h"
#include "export/all_data_csv.h"
#include "export/certificate_csv.h"
#include "export/mail.h"
#include "reference_file.h"

namespace dorvel::exports {
namespace {

using test::CraftedProfile;
using test::CraftedSettings;
using test::kExportDay;

// The crafted patient's files hold the worked cases: reading lines in both
// units, a control reading, one without temperature, one before the first
// slot, quoted cells, formulas.
TEST(AllDataCsv, WholeFilesMatchTheReferencesUnderAnyLocale) {
    const ReadingList readings = ReadingsFromImage(test::CraftedRecords());
    UserSettings mmol = CraftedSettings();
    mmol.glucoseUnit = 1;
    const auto files = [&] {
        return std::vector<std::string>{
            AllDataCsv(CraftedProfile(), CraftedSettings(), 0, readings, kExportDay),
            AllDataCsv(CraftedProfile(), mmol, 1, readings, kExportDay),
            AllDataCsv(CraftedProfile(), CraftedSettings(), 0, {}, kExportDay)};
    };
    const std::vector<std::string> inC = files();
    test::ExpectReference("all_data.csv", inC[0]);
    test::ExpectReference("all_data_mmol_fahrenheit.csv", inC[1]);
    test::ExpectReference("all_data_no_readings.csv", inC[2]);

    // The mail attachment differs only in the physician's mobile label.
    std::string mail = inC[0];
    mail.replace(mail.rfind(",Handy:,"), 8, ",Mobil:,");
    EXPECT_EQ(
        AllDataCsv(CraftedProfile(), CraftedSettings(), 0, readings, kExportDay, CsvLayout::Mail),
        mail);

    // A desktop with a decimal comma changes nothing.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no German locale (scripts/setup builds de_DE.UTF-8)";
    const std::vector<std::string> inGerman = files();
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(inGerman, inC);
}

TEST(CertificateCsv, WholeFilesMatchTheReferences) {
    // A man with type II and three treatments; a woman ("DOB") with
    // gestational diabetes and no treatment, whose lone treatment label runs
    // into the next line.
    test::ExpectReference("certificate_male.csv",
                          CertificateCsv(CraftedProfile(), "JW01", kExportDay, 2));
    PatientProfile woman;
    woman.name = Utf8ToCp1252("Käthe Öztürk");
    woman.sex = 1;
    woman.birthDate = {1990, 12, 24};
    woman.diabetesType = 2;
    woman.remark = Utf8ToCp1252("Beitrag 5 €");
    test::ExpectReference("certificate_female.csv", CertificateCsv(woman, "KOE", kExportDay, 0));

    const std::string types[] = {"Type I", "Type II", "Gestations-Diabetes", "Andere"};
    for (int type = 0; type < 4; ++type) {
        woman.diabetesType = type;
        EXPECT_NE(CertificateCsv(woman, "KOE", kExportDay, 2)
                      .find("\n,Diabetes-Typ ,: " + types[type] + ",\n"),
                  std::string::npos);
    }
}

TEST(MailMessage, RecipientOnlyForAPlainAddressLongerThanFourCharacters) {
    const struct {
        std::string address;
        bool kept;
    } cases[] = {
        {"a@b.de", true},        {"a@b.", false},           {"-x@praxis.de", false},
        {"d@p.de?bcc=x", false}, {"a@b.de, c@d.de", false}, {"dr%3F@x.de", false},
    };
    PatientProfile p;
    for (const auto& c : cases) {
        p.physicianEmail = c.address;
        EXPECT_EQ(MakeMailMessage(p, {}).recipient, c.kept ? c.address : "") << c.address;
    }
}

}  // namespace
}  // namespace dorvel::exports
