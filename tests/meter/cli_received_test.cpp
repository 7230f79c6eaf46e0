// The command-line road: reply file -> decode -> import -> readings.
#include <sys/stat.h>

#include "support/cli_fixture.h"
#include "support/records.h"

namespace dorvel {
namespace {

using CliReceived = test::CliTest;

TEST_F(CliReceived, DecodeImportReadings) {
    const std::string records = test::MeterRecord(1, 0, 26, 3, 2, 8, 0, 100) +
                                test::MeterRecord(121, 0, 26, 3, 2, 9, 0, 700) +
                                test::MeterRecord(1, 4, 26, 3, 1, 7, 0, 90);
    dir.Write("reply", test::DownloadReply(records, true));
    ASSERT_EQ(Cli("decode " + dir.File("reply")), 0) << out;
    EXPECT_EQ(out, "001\t2\nGUEST\t1\n");

    ASSERT_EQ(Cli("import ANNA 001"), 0) << out;
    EXPECT_EQ(out, "2\n");
    ASSERT_EQ(Cli("import ANNA GUEST"), 0) << out;
    EXPECT_EQ(out, "3\n");
    ASSERT_EQ(Cli("readings ANNA"), 0) << out;
    EXPECT_EQ(out,
              "0014202603010700090235\n"
              "0010202603020800100235\n"
              "1210202603020900600235\n");
}

TEST_F(CliReceived, ExitCodesOfTheReplyVerdicts) {
    const struct {
        std::string reply;
        int exit;
        std::string output;
    } cases[] = {
        {"S003\r\n" + test::MeterRecord(1, 0, 26, 3, 2, 8, 0, 100), 3, ""},
        {"S000\r\n", 4, "Keine Daten im Messgerät!\n"},
        {"ERS", 5, "Alle daten im Gerät gelöscht\n"},
        {"S001\r\n" + test::MeterRecord(1, 0, 26, 2, 30, 8, 0, 100), 6,
         "Error. cyclic redundancy check : Fail\n"},
    };
    for (const auto& c : cases) {
        dir.Write("reply", c.reply);
        EXPECT_EQ(Cli("decode " + dir.File("reply")), c.exit) << c.reply;
        if (!c.output.empty()) {
            EXPECT_EQ(out, c.output);
        }
    }
}

TEST_F(CliReceived, BadArgumentsAndUnknownPatientsFailWithOneLine) {
    for (const char* args : {"decode", "decode /nonexistent/reply", "import", "import ../x 001",
                             "import ANNA 1", "readings NOBODY", "readings a/b", "frobnicate"}) {
        EXPECT_EQ(Cli(args), 1) << args;
        EXPECT_NE(out.find("dorvel-cli:"), std::string::npos) << args;
    }
}

TEST_F(CliReceived, ReadFailuresAndAFolderThatIsNoneAreNamed) {
    // gr_data.dat that cannot be read back: a read-only folder in its place.
    ASSERT_EQ(::mkdir(dir.File("gr_data.dat").c_str(), 0555), 0);
    dir.Write("reply", test::DownloadReply(test::MeterRecord(1, 0, 26, 3, 2, 8, 0, 100), true));
    EXPECT_EQ(Cli("decode " + dir.File("reply")), 1);
    EXPECT_NE(out.find("gr_data.dat"), std::string::npos) << out;

    // A data folder that cannot be read hides every patient: that is the cause to name.
    dir.Write("DATA", "");
    for (const std::string& args : {std::string("readings ANNA"), std::string("stats ANNA"),
                                    "report ANNA --page 1 --out " + dir.File("p.png")}) {
        EXPECT_EQ(Cli(args, dir.File("DATA")), 1) << args;
        EXPECT_NE(out.find("kein Ordner"), std::string::npos) << out;
        EXPECT_EQ(out.find("unbekannter Patient"), std::string::npos) << out;
    }
}

}  // namespace
}  // namespace dorvel
