// dorvel-cli patients: the rebuilt list on the terminal.
#include <sys/stat.h>

#include <algorithm>

#include "store/file_io.h"
#include "store/profile_file.h"
#include "support/cli_fixture.h"
#include "support/records.h"

namespace dorvel {
namespace {

using namespace std::string_literals;
using CliPatients = test::CliTest;

TEST_F(CliPatients, PrintsOneUtf8LinePerPatientAndKeepsTheFileInWindows1252) {
    PatientProfile anna;
    anna.name = "Anna J\xE4ger";
    anna.carer = "Pfleger\tTom";
    ASSERT_TRUE(WriteProfile(dir.path(), "anna", anna, {}).ok());
    ASSERT_TRUE(WriteProfile(dir.path(), "BERT", {}, {}).ok());
    dir.Write("ANNA.gdt", test::StoredRecord(1, 0, 2025, 3, 1, 8, 0, 100) +
                              test::StoredRecord(1, 5, 2025, 3, 1, 9, 0, 200) +
                              test::StoredRecord(2, 1, 2025, 3, 2, 9, 0, 90));

    ASSERT_EQ(Cli("patients"), 0) << out;
    EXPECT_EQ(out, "ANNA\tAnna J\xC3\xA4ger\t2\tPfleger Tom\nBERT\t\t0\t\n");
    EXPECT_EQ(dir.Read("patientlist.gdc"),
              "ANNA\0Anna J\xE4ger\0"
              "2\0Pfleger\tTom\0BERT\0\0"
              "0\0\0"s);
}

TEST_F(CliPatients, MissingFolderAndStrayArgumentsFail) {
    EXPECT_EQ(Cli("patients", dir.File("DATA")), 1);
    EXPECT_NE(out.find("Patientenliste"), std::string::npos) << out;
    EXPECT_EQ(Cli("patients extra"), 1);
    EXPECT_NE(out.find("Aufruf"), std::string::npos) << out;
}

TEST_F(CliPatients, AFileThatCannotBeReadFailsWithOneLine) {
    ASSERT_TRUE(WriteProfile(dir.path(), "ANNA", {}, {}).ok());
    ASSERT_TRUE(WriteProfile(dir.path(), "BERT", {}, {}).ok());
    // A folder where ANNA's data file belongs: there is a file, and it cannot be read.
    ASSERT_EQ(::mkdir(dir.File("ANNA.gdt").c_str(), 0755), 0);
    EXPECT_EQ(Cli("patients"), 1);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_NE(out.find("ANNA.gdt"), std::string::npos) << out;
}

}  // namespace
}  // namespace dorvel
