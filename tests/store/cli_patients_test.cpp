// dorvel-cli patients: the rebuilt list on the terminal.
#include <gtest/gtest.h>

#include "store/file_io.h"
#include "store/profile_file.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

using namespace std::string_literals;

class CliPatients : public testing::Test {
  protected:
    test::TempFolder dir;
    std::string out;

    int Cli(const std::string& args) {
        return test::RunCommand(
            std::string(DORVEL_CLI) + " --data " + dir.File("DATA") + " " + args + " 2>&1", &out);
    }
};

TEST_F(CliPatients, PrintsOneUtf8LinePerPatientAndKeepsTheFileInWindows1252) {
    const std::string data = dir.File("DATA");
    ASSERT_TRUE(EnsureFolder(data));
    PatientProfile anna;
    anna.name = "Anna J\xE4ger";
    anna.carer = "Pfleger\tTom";
    ASSERT_TRUE(WriteProfile(data, "anna", anna, {}).ok());
    ASSERT_TRUE(WriteProfile(data, "BERT", {}, {}).ok());
    dir.Write("DATA/ANNA.gdt", test::StoredRecord(1, 0, 2025, 3, 1, 8, 0, 100) +
                                   test::StoredRecord(1, 5, 2025, 3, 1, 9, 0, 200) +
                                   test::StoredRecord(2, 1, 2025, 3, 2, 9, 0, 90));

    ASSERT_EQ(Cli("patients"), 0) << out;
    EXPECT_EQ(out, "ANNA\tAnna J\xC3\xA4ger\t2\tPfleger Tom\nBERT\t\t0\t\n");
    EXPECT_EQ(dir.Read("DATA/patientlist.gdc"),
              "ANNA\0Anna J\xE4ger\0"
              "2\0Pfleger\tTom\0BERT\0\0"
              "0\0\0"s);
}

TEST_F(CliPatients, MissingFolderAndStrayArgumentsFail) {
    EXPECT_EQ(Cli("patients"), 1);
    EXPECT_NE(out.find("Patientenliste"), std::string::npos) << out;
    EXPECT_EQ(Cli("patients extra"), 1);
    EXPECT_NE(out.find("Aufruf"), std::string::npos) << out;
}

}  // namespace
}  // namespace dorvel
