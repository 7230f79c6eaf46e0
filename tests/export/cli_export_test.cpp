// dorvel-cli export, certificate and mail: the files they write, what a
// failed write leaves behind, and the hand-over to a stand-in mail program.
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
    void SetUp() override {
        // The mail command looks up the last patient in the user's settings: never the real ones.
        ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    }
    void AddCrafted(const std::string& id) {
        ASSERT_TRUE(
            WriteProfile(dir.path(), id, test::CraftedProfile(), test::CraftedSettings()).ok());
        dir.Write(id + ".gdt", test::CraftedRecords());
    }
    int CliOn(const std::string& args) { return Cli("--today 2026-03-10 " + args); }
    // Files of the folder, leftovers of an interrupted write included.
    size_t FileCount(const std::string& folder) {
        size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder))
            ++n;
        return n;
    }

    test::TempFolder config;
};

TEST_F(CliExport, ExportAndCertificateWriteTheReferenceFiles) {
    AddCrafted("JW01");
    ASSERT_EQ(CliOn("export jw01 --out " + dir.File("all.csv")), 0) << out;
    EXPECT_EQ(out, "");
    test::ExpectReference("all_data.csv", dir.Read("all.csv"));
    ASSERT_EQ(CliOn("certificate JW01 --out " + dir.File("cert.csv")), 0) << out;
    test::ExpectReference("certificate_male.csv", dir.Read("cert.csv"));

    ASSERT_EQ(CliOn("export JW01 --fahrenheit --out " + dir.File("f.csv")), 0) << out;
    EXPECT_NE(dir.Read("f.csv").find(",085,74,Zielbereich\n"), std::string::npos);

    // A patient with a data file and no profile exports with the defaults.
    dir.Write("NOPROF.gdt", test::StoredRecord(1, 0, 2011, 6, 30, 8, 15, 85, 0));
    ASSERT_EQ(CliOn("export NOPROF --out " + dir.File("n.csv")), 0) << out;
    EXPECT_NE(dir.Read("n.csv").find(Utf8ToCp1252(
                  "\n1,2011-06-30,08:15,Keine Markierung,nach Frühstück,085,.,Niedrig\n")),
              std::string::npos);
}

TEST_F(CliExport, HelpAndMistakes) {
    for (const char* command : {"export", "certificate", "mail"}) {
        EXPECT_EQ(Cli(std::string(command) + " --help"), 0) << command;
        EXPECT_EQ(out.rfind(std::string("Aufruf: ") + command, 0), 0u) << out;
    }
    AddCrafted("JW01");
    const struct {
        std::string args;
        std::string says;
    } cases[] = {
        {"export JW01", "Aufruf"},
        {"export --out x.csv", "Aufruf"},
        {"export JW01 --out x.csv --celsius", "Aufruf"},
        {"certificate JW01 --fahrenheit --out x.csv", "Aufruf"},
        {"export NOBODY --out x.csv", "unbekannter Patient"},
        {"certificate ../x --out x.csv", "'../x'"},
        {"mail JW01 OTHER", "Aufruf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cli(c.args), 1) << c.args;
        EXPECT_NE(out.find(c.says), std::string::npos) << c.args << ": " << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    }
}

TEST_F(CliExport, AFailedWriteLeavesTheOldFileAndIsReported) {
    AddCrafted("JW01");
    test::TempFolder target;
    target.Write("old.csv", "old\n");

    EXPECT_EQ(CliOn("export JW01 --out " + target.File("missing/x.csv")), 1);
    EXPECT_NE(out.find("kann nicht geschrieben werden"), std::string::npos) << out;

    ::chmod(target.File("old.csv").c_str(), 0444);
    EXPECT_EQ(CliOn("certificate JW01 --out " + target.File("old.csv")), 1);
    EXPECT_NE(out.find("schreibgeschützt"), std::string::npos) << out;
    EXPECT_EQ(target.Read("old.csv"), "old\n");
    ::chmod(target.File("old.csv").c_str(), 0644);

    // A file-size limit of 512 bytes stops the write halfway, as a full disk would.
    const std::string limited = "ulimit -f 1; " + std::string(DORVEL_CLI) + " --data " +
                                dir.path() + " export JW01 --out " + target.File("old.csv") +
                                " 2>&1";
    EXPECT_EQ(test::RunCommand(limited, &out), 1) << out;
    EXPECT_NE(out.find("kann nicht geschrieben werden"), std::string::npos) << out;
    EXPECT_EQ(target.Read("old.csv"), "old\n");
    EXPECT_EQ(FileCount(target.path()), 1u);  // no partial file left behind
}

class CliMail : public CliExport {
  protected:
    void AddPatient(const std::string& id, const std::string& carer,
                    const std::string& physicianEmail, const std::string& records) {
        PatientProfile p;
        p.carer = carer;
        p.physicianEmail = physicianEmail;
        ASSERT_TRUE(WriteProfile(dir.path(), id, p, {}).ok());
        dir.Write(id + ".gdt", records);
    }
    std::string MailFile(const std::string& id) { return dir.File("Mail/" + id + ".csv"); }
    static std::vector<std::string> Attached(const std::vector<std::string>& args) {
        std::vector<std::string> files;
        for (size_t i = 0; i + 1 < args.size(); ++i) {
            if (args[i] == "--attach")
                files.push_back(args[i + 1]);
        }
        return files;
    }
};

TEST_F(CliMail, EveryPatientOrTheNamedOneIsWrittenAndAttached) {
    AddPatient("ANNA", "Tom", "dr@praxis.de", test::StoredRecord(1, 0, 2011, 6, 30, 7, 15, 85));
    AddPatient("BERT", "Uwe", "x@y.", test::StoredRecord(2, 0, 2012, 1, 2, 9, 0, 120));
    AddCrafted("CARL");
    test::MailStub stub;

    ASSERT_EQ(CliOn("mail"), 0) << out;
    const std::vector<std::string> files = {MailFile("ANNA"), MailFile("BERT"), MailFile("CARL")};
    std::string listed;
    for (const std::string& f : files)
        listed += f + "\n";
    EXPECT_EQ(out, listed);
    auto calls = stub.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(Attached(calls[0]), files);
    // No stored patient: the first one's carer and physician.
    EXPECT_EQ(calls[0][2], "Tom's Report");
    EXPECT_EQ(calls[0].back(), "dr@praxis.de");
    // Each file holds only its own patient's readings.
    EXPECT_NE(dir.Read("Mail/ANNA.csv").find("\n1,2011-06-30,07:15,"), std::string::npos);
    EXPECT_EQ(dir.Read("Mail/ANNA.csv").find("2012-01-02"), std::string::npos);
    EXPECT_NE(dir.Read("Mail/CARL.csv").find("\n7,2011-06-30,08:15,"), std::string::npos);
    EXPECT_NE(dir.Read("Mail/CARL.csv").find(",Mobil:,0172 4000\n"), std::string::npos);

    // One named patient: one file; a physician address of four characters: no recipient.
    ASSERT_EQ(CliOn("mail bert"), 0) << out;
    calls = stub.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(Attached(calls[1]), std::vector<std::string>{MailFile("BERT")});
    EXPECT_EQ(calls[1].back(), MailFile("BERT"));
    EXPECT_EQ(calls[1][2], "Uwe's Report");
}

TEST_F(CliMail, AMissingOrFailingMailProgramIsToldAndTheFilesStay) {
    AddPatient("ANNA", "Tom", "dr@praxis.de", test::StoredRecord(1, 0, 2011, 6, 30, 7, 15, 85));
    {
        test::MailStub missing(false);
        EXPECT_EQ(CliOn("mail"), 1);
    }
    EXPECT_NE(out.find("xdg-utils"), std::string::npos) << out;
    EXPECT_NE(out.find("/Mail"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_TRUE(std::filesystem::exists(MailFile("ANNA")));

    test::MailStub noMailer(true, 3);
    EXPECT_EQ(CliOn("mail ANNA"), 1);
    EXPECT_NE(out.find("kein E-Mail-Programm"), std::string::npos) << out;
}

}  // namespace
}  // namespace dorvel
