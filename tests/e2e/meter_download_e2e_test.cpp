// Whole downloads: virtual meter on a pseudo-terminal -> serial channel ->
// session -> received-data files -> patient file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "meter/messages.h"
#include "meter/meter_link.h"
#include "meter/serial_port.h"
#include "store/file_io.h"
#include "support/meter_sim.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "meter_download_e2e_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// The devices the test points it at, tried in turn.
struct TestPort : PortChooser {
    ByteStream& port;
    std::vector<std::string> devices;
    size_t at = 0;
    explicit TestPort(ByteStream& p) : port(p) {}
    void ScanForAdapter() override {}
    bool OpenAdapterPort() override { return OpenMeterLine(port, devices.at(at = 0)); }
    bool OpenNextPort(int attempt) override {
        at = static_cast<size_t>(attempt) % devices.size();
        return OpenMeterLine(port, devices[at]);
    }
    void ResetProbe() override {}
    void RememberPort() override {}
    void SearchEnded() override {}
    std::string CurrentDevice() const override { return devices.at(at); }
};

class MeterDownload : public testing::Test {
  protected:
    test::TempFolder dir;
    SerialPort port;
    TestPort chooser{port};
    std::unique_ptr<MeterLink> link;
    std::vector<std::string> shown;

    void SetUp() override {
        App();
        SessionTiming timing;
        timing.responseMs = 150;
        timing.attempts = 3;
        timing.watchdogMs = 250;
        link = std::make_unique<MeterLink>(port, chooser, dir.path(), timing, 1);
        link->callbacks.message = [this](const std::string& t, const std::string&) {
            shown.push_back(t);
        };
        link->callbacks.confirm = [](const std::string&, const std::string&) { return true; };
    }

    SessionResult Run(const test::MeterSim& sim, bool erase = false) {
        EXPECT_TRUE(sim.ok());
        return Run(std::vector<std::string>{sim.device()}, erase);
    }

    SessionResult Run(std::vector<std::string> devices, bool erase = false) {
        chooser.devices = std::move(devices);
        SessionResult result;
        result.outcome = SessionResult::Outcome::Cancelled;
        QEventLoop loop;
        link->callbacks.finished = [&](const SessionResult& r) {
            result = r;
            loop.quit();
        };
        erase ? link->session().Delete() : link->session().Receive();
        QTimer::singleShot(15000, &loop, &QEventLoop::quit);
        loop.exec();
        return result;
    }

    std::string WriteRecords(const std::string& records) {
        dir.Write("meter.txt", records);
        return dir.File("meter.txt");
    }

    static std::string Sim() { return DORVEL_METER_SIM; }
};

TEST_F(MeterDownload, SeveralHundredRecordsArriveWhole) {
    const std::string records = test::RandomMeterRecords(400, 11, 3);
    test::MeterSim sim(Sim(), {"--records", WriteRecords(records), "--fast", "--chunk", "64"});
    const SessionResult r = Run(sim);
    ASSERT_EQ(r.outcome, SessionResult::Outcome::Decoded) << r.message;
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(dir.Read("gr_lowdata.dat"), records);
    const std::string data = dir.Read("gr_data.dat");
    ASSERT_EQ(data.size() % 22, 0u);
    EXPECT_GT(data.size(), 300u * 22);
    int total = 0;
    for (const ReceivedUser& u : ListReceivedUsers(data))
        total += u.count;
    EXPECT_EQ(static_cast<size_t>(total) * 22, data.size());
}

TEST_F(MeterDownload, EveryHeaderFormAndChunkSize) {
    const std::string records = test::RandomMeterRecords(12, 4);
    const std::string file = WriteRecords(records);
    for (const auto& options : std::vector<std::vector<std::string>>{
             {"--header", "s", "--fast"},
             {"--header", "n", "--fast", "--chunk", "1"},
             {"--header", "s", "--chunk", "1"},  // 1-byte chunks at the real line rate
         }) {
        std::vector<std::string> all = {"--records", file};
        all.insert(all.end(), options.begin(), options.end());
        test::MeterSim sim(Sim(), all);
        RemoveFile(dir.File("gr_lowdata.dat"));
        ASSERT_EQ(Run(sim).outcome, SessionResult::Outcome::Decoded) << options[1];
        EXPECT_EQ(dir.Read("gr_lowdata.dat"), records);
    }
}

TEST_F(MeterDownload, EveryFaultEndsCleanlyAndTheNextSessionWorks) {
    using O = SessionResult::Outcome;
    const std::string good = test::RandomMeterRecords(10, 8);
    const std::string file = WriteRecords(good);
    struct Case {
        std::vector<std::string> options;
        bool erase;
        O outcome;
        std::string message;
    } const cases[] = {
        {{"--silent"}, false, O::NoAnswer, messages::kCheckCable},
        {{"--stall-after", "100"}, false, O::Interrupted, messages::kRepeat},
        {{"--wrong-count", "15"}, false, O::Interrupted, messages::kRepeat},
        {{"--wrong-count", "5", "--chunk", "4096"}, false, O::Interrupted, messages::kRepeat},
        {{"--cut-short", "5"}, false, O::Interrupted, messages::kRepeat},
        {{"--noise", "3"}, false, O::Rejected, kCheckFailedMessage},
        // No erase acknowledgement, so not the meter's answer: the search goes on.
        {{"--erase-reply", "ERX"}, true, O::NoAnswer, messages::kCheckCable},
        {{"--erase-reply", "ERSE"}, true, O::NoAnswer, messages::kCheckCable},
        {{"--vanish-after", "60"}, false, O::Interrupted, messages::kRepeat},
    };
    for (const Case& c : cases) {
        const std::string name = c.options[0];
        RemoveFile(dir.File("gr_data.dat"));
        RemoveFile(dir.File("gr_lowdata.dat"));
        shown.clear();
        {
            std::vector<std::string> all = {"--records", file, "--fast"};
            all.insert(all.end(), c.options.begin(), c.options.end());
            test::MeterSim sim(Sim(), all);
            const SessionResult r = Run(sim, c.erase);
            EXPECT_EQ(r.outcome, c.outcome) << name;
            EXPECT_EQ(shown, std::vector<std::string>{c.message}) << name;
            // Nothing half: the converted file never comes of a faulty reply.
            EXPECT_FALSE(FileExists(dir.File("gr_data.dat"))) << name;
            if (c.outcome != O::Rejected) {
                EXPECT_FALSE(FileExists(dir.File("gr_lowdata.dat"))) << name;
            }
            EXPECT_FALSE(port.IsOpen()) << name;
        }
        test::MeterSim sim(Sim(), {"--records", file, "--fast"});
        EXPECT_EQ(Run(sim).outcome, O::Decoded) << "after " << name;
        EXPECT_EQ(dir.Read("gr_lowdata.dat"), good) << "after " << name;
    }
}

// A device that is no meter (a GPS receiver that never stops, a modem that
// echoes the request) costs one attempt; the meter behind the next port is found.
TEST_F(MeterDownload, DeviceThatIsNoMeterDoesNotStopTheSearch) {
    const std::string records = test::RandomMeterRecords(20, 6);
    test::MeterSim meter(Sim(), {"--records", WriteRecords(records), "--fast"});
    for (const char* kind : {"--chatter", "--echo"}) {
        test::MeterSim other(Sim(), {kind});
        ASSERT_TRUE(other.ok() && meter.ok());
        RemoveFile(dir.File("gr_lowdata.dat"));
        const SessionResult r = Run({other.device(), meter.device()});
        EXPECT_EQ(r.outcome, SessionResult::Outcome::Decoded) << kind << ": " << r.message;
        EXPECT_TRUE(shown.empty()) << kind;
        EXPECT_EQ(dir.Read("gr_lowdata.dat"), records) << kind;
    }
}

// The command line: a port this user may not open is named with its group.
TEST(DownloadCommand, PortWithoutPermissionNamesTheCause) {
    test::TempFolder dir;
    ::chmod(dir.path().c_str(), 0777);
    std::string prefix;
    std::vector<std::string> simOptions = {"--fast"};
    if (::geteuid() == 0) {
        // Root may open anything; run the command as an ordinary user instead.
        prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        if (test::RunCommand(prefix + DORVEL_CLI + " --help >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "the build cannot be run as another user here";
        simOptions.insert(simOptions.end(), {"--mode", "600"});
    } else {
        simOptions.insert(simOptions.end(), {"--mode", "000"});
    }
    test::MeterSim sim(DORVEL_METER_SIM, simOptions);
    ASSERT_TRUE(sim.ok());
    std::string out;
    const int status =
        test::RunCommand(prefix + DORVEL_CLI + " --data " + dir.File("DATA") + " download --port " +
                             sim.device() + " --timeout-ms 30 --attempts 2 2>&1",
                         &out);
    EXPECT_EQ(status, 2) << out;
    EXPECT_EQ(out.substr(0, out.find('\n')), messages::kCheckCable);
    EXPECT_NE(out.find("Kein Zugriff auf " + sim.device()), std::string::npos) << out;
    EXPECT_NE(out.find("Gruppe"), std::string::npos) << out;
}

// The command line keeps the reply exactly as received, and decode replays it.
TEST(DownloadCommand, TranscriptReplaysThroughDecode) {
    test::TempFolder dir;
    const std::string records = test::RandomMeterRecords(30, 2);
    dir.Write("meter.txt", records);
    test::MeterSim sim(DORVEL_METER_SIM,
                       {"--records", dir.File("meter.txt"), "--fast", "--header", "n"});
    ASSERT_TRUE(sim.ok());
    const std::string cli = std::string(DORVEL_CLI) + " --data " + dir.File("DATA") + " ";
    std::string downloaded;
    ASSERT_EQ(test::RunCommand(cli + "download --port " + sim.device() + " --transcript " +
                                   dir.File("t.bin") + " 2>&1",
                               &downloaded),
              0)
        << downloaded;
    EXPECT_EQ(dir.Read("t.bin"), test::DownloadReply(records, true));
    std::string decoded;
    ASSERT_EQ(test::RunCommand(cli + "decode " + dir.File("t.bin") + " 2>&1", &decoded), 0);
    EXPECT_EQ(decoded, downloaded);
}

}  // namespace
}  // namespace dorvel
