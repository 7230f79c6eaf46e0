// The CSV layouts byte for byte: worked lines, whole files against the
// reference files in tests/data/export, cell quoting and the mail message.
#include <gtest/gtest.h>

#include <clocale>

#include "crafted_patient.h"
#include "export/all_data_csv.h"
#include "export/certificate_csv.h"
#include "export/csv_text.h"
#include "export/mail.h"
#include "reference_file.h"

namespace dorvel::exports {
namespace {

using test::CraftedProfile;
using test::CraftedRecords;
using test::CraftedSettings;
using test::kExportDay;

std::string Cp(std::string_view utf8) {
    return Utf8ToCp1252(utf8);
}

TEST(CsvCell, QuotesWhatWouldShiftColumnsAndGuardsFormulas) {
    const struct {
        std::string value, cell;
    } cases[] = {
        {"", ""},
        {"Anna Meier", "Anna Meier"},
        {"+49 89 123", "+49 89 123"},  // telephone numbers stay as they are
        {"-5", "-5"},
        {"Meier, Anna", "\"Meier, Anna\""},
        {"Sagt \"gut\"", "\"Sagt \"\"gut\"\"\""},
        {"Zeile\r\nzwei", "\"Zeile\r\nzwei\""},
        {"eins\nzwei", "\"eins\nzwei\""},
        {"=1+1", "'=1+1"},
        {"@SUMME(A1)", "'@SUMME(A1)"},
        {"=A1,B1", "\"'=A1,B1\""},
        {"a=b", "a=b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvCell(c.value), c.cell) << c.value;
}

TEST(AllDataCsv, WorkedReadingLines) {
    UserSettings mg;
    UserSettings mmol;
    mmol.glucoseUnit = 1;
    const UserSettings lateSleep = CraftedSettings();  // Schlaf from 01:00
    const auto reading = [](int marker, const char* hhmm, const char* value, int temperature) {
        return Reading{std::string("20110630") + hhmm, "121", marker, value, temperature};
    };
    const struct {
        Reading reading;
        const UserSettings* settings;
        int temperatureUnit;
        std::string line;
    } cases[] = {
        {reading(0, "0715", "085", 235), &mg, 0,
         "1,2011-06-30,07:15,Keine Markierung,vor Frühstück,085,23.5,Zielbereich"},
        {reading(0, "0715", "085", 235), &mmol, 1,
         "1,2011-06-30,07:15,Keine Markierung,vor Frühstück,4.7,74,Zielbereich"},
        {reading(0, "0815", "085", 235), &mg, 0,
         "1,2011-06-30,08:15,Keine Markierung,nach Frühstück,085,23.5,Niedrig"},
        {reading(5, "0815", "085", 235), &mg, 0,
         "1,2011-06-30,08:15,5,nach Frühstück,085,23.5,Kontroll-Lösung"},
        {reading(2, "1300", "600", 0), &mmol, 0,
         "1,2011-06-30,13:00,Nach sportl. Aktivität,Nach Mittagessen,33.3,.,Hoch"},
        {reading(4, "0000", "010", 7), &mg, 1,
         "1,2011-06-30,00:00,Vor dem Essen,Schlaf,010,33,Niedrig"},
        // Before the first slot: no meal time, judged with the overall range 65..155.
        {reading(1, "0030", "156", 7), &lateSleep, 0,
         "1,2011-06-30,00:30,Nach Medikamenten-Einnahme,,156,0.7,Hoch"},
        {reading(3, "0059", "155", 7), &lateSleep, 0,
         "1,2011-06-30,00:59,Nach dem Essen,,155,0.7,Zielbereich"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadingLine(1, c.reading, *c.settings, SlotKeys(*c.settings), c.temperatureUnit),
                  Cp(c.line));
    }
}

TEST(AllDataCsv, WholeFilesMatchTheReferencesUnderAnyLocale) {
    const ReadingList readings = ReadingsFromImage(CraftedRecords());
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
    // A man with type II and three treatments.
    test::ExpectReference("certificate_male.csv",
                          CertificateCsv(CraftedProfile(), "JW01", kExportDay, 2));

    // A woman with gestational diabetes and no treatment: "DOB", and the
    // lone treatment label runs into the next line.
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
                  std::string::npos)
            << type;
    }
    EXPECT_NE(CertificateCsv(woman, "KOE", kExportDay, 1).find("Festgestellt am : 03/10/2026 Tue,"),
              std::string::npos);
}

TEST(MailMessage, RecipientOnlyForAPlainAddressLongerThanFourCharacters) {
    PatientProfile p = CraftedProfile();
    const MailMessage message = MakeMailMessage(p, {"/data/Mail/A.csv", "/data/Mail/B.csv"});
    EXPECT_EQ(message.subject, "Maria Weiß's Report");
    EXPECT_EQ(
        MailProgramArguments(message),
        (std::vector<std::string>{
            "xdg-email", "--utf8", "--subject", "Maria Weiß's Report", "--body",
            "<<Remark>> Please save the attached files to <.\\DATA\\MAIL> folder.", "--attach",
            "/data/Mail/A.csv", "--attach", "/data/Mail/B.csv", "praxis@celik.de"}));

    const struct {
        std::string address;
        bool kept;
    } cases[] = {
        {"a@b.de", true},
        {"a@b.", false},
        {"", false},
        {"-x@praxis.de", false},
        {"dr@p.de?bcc=x@y.de", false},
        {"a@b.de, c@d.de", false},
        {"dr%40p@x.de", false},
        {"dr@p.de\n", false},
    };
    for (const auto& c : cases) {
        p.physicianEmail = c.address;
        EXPECT_EQ(MakeMailMessage(p, {}).recipient, c.kept ? c.address : "") << c.address;
    }
}

}  // namespace
}  // namespace dorvel::exports
