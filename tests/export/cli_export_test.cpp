// dorvel-cli export, certificate and mail: the files they write, what a
// failed write leaves behind, and the hand-over to a stand-in xdg-email.
#include <sys/stat.h>

#include <filesystem>

#include "crafted_patient.h"
#include "reference_file.h"
#include "store/profile_file.h"
#include "support/cli_fixture.h"
#include "support/mail_stub.h"

namespace dorvel {
namespace {

class CliExport : public test::CliTest {
  protected:
    // The mail command reads the last patient from the user's settings: never the real ones.
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1); }
    void AddPatient(const std::string& id, const PatientProfile& p, const std::string& records,
                    const UserSettings& s = {}) {
        ASSERT_TRUE(WriteProfile(dir.path(), id, p, s).ok());
        dir.Write(id + ".gdt", records);
    }
    void AddCrafted() {
        AddPatient("JW01", test::CraftedProfile(), test::CraftedRecords(), test::CraftedSettings());
    }
    int CliOn(const std::string& args) { return Cli("--today 2026-03-10 " + args); }
    test::TempFolder config;
};

TEST_F(CliExport, ExportAndCertificateWriteTheReferenceFiles) {
    AddCrafted();
    ASSERT_EQ(CliOn("export jw01 --out " + dir.File("all.csv")), 0) << out;
    test::ExpectReference("all_data.csv", dir.Read("all.csv"));
    ASSERT_EQ(CliOn("certificate JW01 --out " + dir.File("cert.csv")), 0) << out;
    test::ExpectReference("certificate_male.csv", dir.Read("cert.csv"));
    ASSERT_EQ(CliOn("export JW01 --fahrenheit --out " + dir.File("f.csv")), 0) << out;
    EXPECT_NE(dir.Read("f.csv").find(",085,74,Zielbereich\n"), std::string::npos);

    // A patient with readings and no profile exports with the default settings.
    dir.Write("NOPROF.gdt", test::StoredRecord(1, 0, 2011, 6, 30, 8, 15, 85, 0));
    ASSERT_EQ(CliOn("export NOPROF --out " + dir.File("n.csv")), 0) << out;
    EXPECT_NE(dir.Read("n.csv").find(",nach Fr\xFChst\xFC"
                                     "ck,085,.,Niedrig\n"),
              std::string::npos);
}

TEST_F(CliExport, HelpAndMistakes) {
    // Every command answers --help alike, before touching a file, port or program.
    for (const char* command : {"certificate", "decode", "download", "export", "import", "mail",
                                "patients", "print", "readings", "report", "stats"}) {
        EXPECT_EQ(Cli(std::string(command) + " --help", dir.File("none")), 0) << command;
        EXPECT_EQ(out.rfind(std::string("Aufruf: ") + command, 0), 0u) << out;
        EXPECT_GT(std::count(out.begin(), out.end(), '\n'), 2) << out;
    }
    EXPECT_EQ(Cli("--version"), 0);
    EXPECT_TRUE(out.starts_with("dorvel-cli ") && out.ends_with("\n")) << out;
    AddCrafted();
    for (const char* args : {"export JW01", "certificate JW01 --fahrenheit --out x.csv",
                             "export NOBODY --out x.csv", "mail JW01 OTHER"}) {
        EXPECT_EQ(Cli(args), 1) << args;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    }
}

TEST_F(CliExport, AFailedWriteLeavesTheOldFileAndIsReported) {
    AddCrafted();
    test::TempFolder target;
    target.Write("old.csv", "old\n");
    EXPECT_EQ(CliOn("export JW01 --out " + target.File("missing/x.csv")), 1);
    EXPECT_NE(out.find("kann nicht geschrieben werden"), std::string::npos) << out;

    ::chmod(target.File("old.csv").c_str(), 0444);
    EXPECT_EQ(CliOn("certificate JW01 --out " + target.File("old.csv")), 1);
    EXPECT_NE(out.find("schreibgeschützt"), std::string::npos) << out;
    ::chmod(target.File("old.csv").c_str(), 0644);

    // A file-size limit of 512 bytes stops the write halfway, as a full disk would.
    EXPECT_EQ(test::RunCommand("ulimit -f 1; " + std::string(DORVEL_CLI) + " --data " + dir.path() +
                                   " export JW01 --out " + target.File("old.csv") + " 2>&1",
                               &out),
              1);
    EXPECT_NE(out.find("kann nicht geschrieben werden"), std::string::npos) << out;
    EXPECT_EQ(target.Read("old.csv"), "old\n");
    // No partial file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(target.path()), {}), 1);
}

std::vector<std::string> Attached(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--attach")
            files.push_back(args[i + 1]);
    }
    return files;
}

TEST_F(CliExport, MailWritesAndAttachesEveryPatientOrTheNamedOne) {
    PatientProfile anna;
    anna.carer = "Tom";
    anna.physicianEmail = "dr@praxis.de";
    AddPatient("ANNA", anna, test::StoredRecord(1, 0, 2011, 6, 30, 7, 15, 85));
    PatientProfile bert;
    bert.physicianEmail = "x@y.";  // too short to be an address
    AddPatient("BERT", bert, test::StoredRecord(2, 0, 2012, 1, 2, 9, 0, 120));
    AddCrafted();
    test::MailStub stub;

    ASSERT_EQ(CliOn("mail"), 0) << out;
    const std::string mail = dir.File("Mail/");
    EXPECT_EQ(out, mail + "ANNA.csv\n" + mail + "BERT.csv\n" + mail + "JW01.csv\n");
    ASSERT_EQ(stub.Calls().size(), 1u);
    const std::vector<std::string> call = stub.Calls()[0];
    EXPECT_EQ(Attached(call),
              (std::vector<std::string>{mail + "ANNA.csv", mail + "BERT.csv", mail + "JW01.csv"}));
    EXPECT_EQ(call[2], "Tom's Report");  // no stored patient: the first one
    EXPECT_EQ(call.back(), "dr@praxis.de");
    // Each file holds its own patient's readings only.
    EXPECT_EQ(dir.Read("Mail/ANNA.csv").find("2012-01-02"), std::string::npos);
    EXPECT_NE(dir.Read("Mail/JW01.csv").find(",Mobil:,0172 4000\n"), std::string::npos);

    ASSERT_EQ(CliOn("mail bert"), 0) << out;
    ASSERT_EQ(stub.Calls().size(), 2u);
    EXPECT_EQ(Attached(stub.Calls()[1]), std::vector<std::string>{mail + "BERT.csv"});
    EXPECT_EQ(stub.Calls()[1].back(), mail + "BERT.csv") << "no recipient";

    test::MailStub missing(false);
    EXPECT_EQ(CliOn("mail"), 1);
    EXPECT_NE(out.find("xdg-utils"), std::string::npos) << out;
    EXPECT_NE(out.find(dir.File("Mail")), std::string::npos) << out;
    EXPECT_TRUE(std::filesystem::exists(mail + "ANNA.csv"));
}

}  // namespace
}  // namespace dorvel
