// The session as a state machine, driven without windows or a line.
#include "meter/download_session.h"

#include <gtest/gtest.h>

#include "meter/messages.h"
#include "support/records.h"

namespace dorvel {
namespace {

// Records everything the session asks for; ports open as `openResult` says.
struct FakeHost : SessionHost {
    std::vector<std::string> written;
    std::vector<std::pair<PortRequest, int>> opens;
    std::vector<std::string> shown;
    std::vector<SessionResult> results;
    std::vector<std::pair<int, std::string>> decodes;
    bool responseRunning = false, watchdogRunning = false, progressVisible = false;
    bool buttonsEnabled = true, confirm = true;
    int closes = 0, remembered = 0, searchEnds = 0, records = 0;

    void ResetProbe() override {}
    void ScanForAdapter() override {}
    void OpenPort(PortRequest which, int attempt) override { opens.emplace_back(which, attempt); }
    void ClosePort() override { ++closes; }
    size_t Write(std::string_view bytes) override {
        written.emplace_back(bytes);
        return bytes.size();
    }
    void RememberPort() override { ++remembered; }
    void SearchEnded() override { ++searchEnds; }
    std::string CurrentDevice() const override { return "/dev/ttyUSB0"; }
    void StartTimer(SessionTimer t, int) override {
        (t == SessionTimer::Response ? responseRunning : watchdogRunning) = true;
    }
    void StopTimer(SessionTimer t) override {
        (t == SessionTimer::Response ? responseRunning : watchdogRunning) = false;
    }
    void Decode(int count, const std::string& payload) override {
        decodes.emplace_back(count, payload);
    }
    bool Confirm(const std::string&, const std::string&) override { return confirm; }
    void ShowMessage(const std::string& text, const std::string&) override {
        shown.push_back(text);
    }
    void SetPanelButtons(bool enabled) override { buttonsEnabled = enabled; }
    void ShowProgress(bool visible) override { progressVisible = visible; }
    void RecordsReady() override { ++records; }
    void Finished(const SessionResult& r) override { results.push_back(r); }
};

class Session : public testing::Test {
  protected:
    FakeHost host;
    DownloadSession session{host};
};

TEST_F(Session, ReplyInOneByteChunksCompletesExactlyAtTheAnnouncedCount) {
    session.Receive();
    EXPECT_TRUE(host.progressVisible);
    EXPECT_FALSE(host.buttonsEnabled);
    ASSERT_EQ(host.opens.size(), 1u);
    EXPECT_EQ(host.opens[0].first, PortRequest::Adapter);
    session.PortOpened(true);
    ASSERT_EQ(host.written, std::vector<std::string>{"S"});
    EXPECT_TRUE(host.responseRunning);

    const std::string records = test::RandomMeterRecords(3, 5);
    const std::string reply = test::DownloadReply(records) + "\r\n";
    for (size_t i = 0; i < reply.size(); ++i) {
        session.Chunk(reply.substr(i, 1));
        session.Chunk({});  // a read of 0 bytes adds nothing and changes nothing
        EXPECT_FALSE(host.responseRunning);
        const bool complete = i + 1 >= 6 + records.size();
        ASSERT_EQ(host.decodes.size(), complete ? 1u : 0u) << "after byte " << i;
    }
    EXPECT_EQ(host.decodes[0].first, 3);
    EXPECT_EQ(host.decodes[0].second, records);
    EXPECT_EQ(session.sessionState(), 3);
    EXPECT_FALSE(host.watchdogRunning);

    session.DecodeFinished({DecodeOutcome::Kind::Decoded, 3, {}});
    EXPECT_EQ(host.records, 1);
    EXPECT_FALSE(host.progressVisible);
    EXPECT_TRUE(host.buttonsEnabled);
    EXPECT_TRUE(host.shown.empty());
    ASSERT_EQ(host.results.size(), 1u);
    EXPECT_EQ(host.results[0].outcome, SessionResult::Outcome::Decoded);
    EXPECT_EQ(host.results[0].recordCount, 3);
    EXPECT_EQ(session.phaseMark(), '\0');

    // Bytes after the reply was dealt with start nothing.
    session.Chunk(reply);
    EXPECT_EQ(host.decodes.size(), 1u);
}

TEST_F(Session, EveryVerdictEndsWithItsMessage) {
    struct Case {
        bool erase;
        std::string reply;
        SessionResult::Outcome outcome;
        std::string message;
    } const cases[] = {
        {false, "S000\r\n", SessionResult::Outcome::NoData, messages::kNoData},
        {false, "0\r\n", SessionResult::Outcome::NoData, messages::kNoData},
        {true, "ERS", SessionResult::Outcome::Erased, messages::kErased},
    };
    for (const Case& c : cases) {
        FakeHost h;
        DownloadSession s(h);
        c.erase ? s.Delete() : s.Receive();
        s.PortOpened(true);
        EXPECT_EQ(h.written.at(0), c.erase ? "ERS" : "S");
        s.Chunk(c.reply);
        ASSERT_EQ(h.results.size(), 1u) << c.reply;
        EXPECT_EQ(h.results[0].outcome, c.outcome);
        EXPECT_EQ(h.shown, std::vector<std::string>{c.message});
        EXPECT_FALSE(h.progressVisible);
        EXPECT_TRUE(h.buttonsEnabled);
        EXPECT_TRUE(h.decodes.empty());
    }
}

TEST_F(Session, DeleteAsksFirstAndDoesNothingWithoutConsent) {
    host.confirm = false;
    session.Delete();
    EXPECT_TRUE(host.opens.empty());
    EXPECT_FALSE(session.running());
}

TEST_F(Session, SilentPortsRetryTwentySixTimesThenCable) {
    session.Delete();
    session.PortOpened(true);
    for (int i = 1; i < 26; ++i) {
        session.ResponseTimeout();
        ASSERT_EQ(host.opens.size(), static_cast<size_t>(i + 1));
        EXPECT_EQ(host.opens.back(), std::make_pair(PortRequest::Next, i));
        // A port that fails to open costs a time-out like a silent one.
        session.PortOpened(i % 2 == 0);
        EXPECT_TRUE(host.responseRunning);
    }
    // An erase is retried with the erase request, never the download request.
    for (const std::string& w : host.written)
        EXPECT_EQ(w, "ERS");
    EXPECT_TRUE(host.shown.empty());
    session.ResponseTimeout();
    EXPECT_EQ(host.opens.size(), 26u);
    // A search that found no meter does not move the stored port.
    EXPECT_EQ(host.remembered, 0);
    EXPECT_EQ(host.searchEnds, 1);
    EXPECT_EQ(host.shown, std::vector<std::string>{messages::kCheckCable});
    EXPECT_EQ(host.results.at(0).outcome, SessionResult::Outcome::NoAnswer);
    EXPECT_EQ(host.results.at(0).error.failure, LineFailure::Timeout);
    EXPECT_FALSE(host.progressVisible);
}

TEST_F(Session, PortWithoutRightsIsNamedUnderTheCableMessage) {
    session.Receive();
    for (int i = 0; i < 26; ++i) {
        const bool denied = i == 3;
        session.PortOpened(false, {denied ? LineFailure::NoAccess : LineFailure::NoDevice,
                                   denied ? "/dev/pts/77" : "/dev/ttyS9", "x"});
        session.ResponseTimeout();
    }
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].substr(0, host.shown[0].find('\n')), messages::kCheckCable);
    EXPECT_NE(host.shown[0].find("\nKein Zugriff auf /dev/pts/77"), std::string::npos);
    EXPECT_NE(host.shown[0].find("Gruppe"), std::string::npos);
    EXPECT_EQ(host.results.at(0).error.failure, LineFailure::NoAccess);
}

TEST_F(Session, ReceiveWhileRunningEndsTheSessionAndStartsNone) {
    session.Receive();
    session.PortOpened(true);
    session.Chunk("S00");
    session.Receive();
    EXPECT_EQ(host.shown, std::vector<std::string>{messages::kRepeat});
    EXPECT_EQ(host.opens.size(), 1u);
    EXPECT_FALSE(session.running());
    EXPECT_FALSE(host.progressVisible);
    // A third press starts afresh.
    session.Receive();
    EXPECT_EQ(host.opens.size(), 2u);
}

TEST_F(Session, StoppedReplyLineLossAndCancelWriteNothing) {
    // The watchdog ends a reply that stopped after its header.
    {
        FakeHost h;
        DownloadSession s(h);
        s.Receive();
        s.PortOpened(true);
        s.Chunk("S005\r\n0010");
        EXPECT_TRUE(h.watchdogRunning);
        s.ResponseTimeout();  // stopped with the first byte: no effect
        EXPECT_EQ(h.opens.size(), 1u);
        s.WatchdogTimeout();
        EXPECT_EQ(h.shown, std::vector<std::string>{messages::kRepeat});
        EXPECT_EQ(h.results.at(0).error.failure, LineFailure::Timeout);
        EXPECT_TRUE(h.decodes.empty());
    }

    session.Receive();
    session.PortOpened(true);
    session.Chunk("S0");
    session.LineLost({LineFailure::Io, "/dev/ttyUSB0", "gone"});
    EXPECT_EQ(host.results.at(0).outcome, SessionResult::Outcome::Interrupted);
    EXPECT_EQ(host.results.at(0).error.failure, LineFailure::Io);

    session.Receive();
    session.PortOpened(true);
    const int closes = host.closes;
    session.Cancel();
    EXPECT_GT(host.closes, closes);
    EXPECT_EQ(host.results.at(1).outcome, SessionResult::Outcome::Cancelled);
    EXPECT_EQ(host.shown.size(), 1u);  // no message for a cancel
    EXPECT_FALSE(host.responseRunning);
    session.PortOpened(true);  // an open that was under way when cancelled
    EXPECT_EQ(host.written.size(), 2u);
}

// A header followed by more than its count allows is a faulty reply; the
// buffer never grows past the largest reply, however long the device sends.
TEST_F(Session, ReplyBufferStopsAtTheLargestReply) {
    session.Receive();
    session.PortOpened(true);
    session.Chunk("S999\r\n");
    session.Chunk(std::string(100000, 'x'));
    EXPECT_FALSE(session.running());
    EXPECT_LE(session.rawReply().size(), kReplyBufferLimit);
    EXPECT_EQ(host.results.at(0).error.failure, LineFailure::Protocol);
}

// Whatever arrives, a running session that waits has a timer or an open
// under way that will end the wait. Steps: port (o)pened or (f)ailed, an
// (e)mpty read, a reply (b)egun, a (r)esponse time-out.
TEST(SessionWaits, EveryWaitingStateKeepsATimer) {
    for (const std::string road : {"oee", "feroe", "obere"}) {
        FakeHost h;
        DownloadSession s(h);
        s.Receive();
        size_t portAnswers = 0;
        for (const char step : road) {
            if (step == 'o' || step == 'f')
                s.PortOpened(++portAnswers && step == 'o');
            else if (step == 'r')
                s.ResponseTimeout();
            else
                s.Chunk(step == 'b' ? "S0" : "");
            ASSERT_TRUE(s.running());
            EXPECT_TRUE(h.responseRunning || h.watchdogRunning || h.opens.size() > portAnswers)
                << road << " at " << step;
        }
    }
}

TEST_F(Session, DecoderOutcomesReachTheUser) {
    session.Receive();
    session.PortOpened(true);
    session.Chunk(test::DownloadReply(test::RandomMeterRecords(1, 2)));
    session.DecodeFinished({DecodeOutcome::Kind::CheckFailed, 0, {}});
    EXPECT_EQ(host.shown, std::vector<std::string>{kCheckFailedMessage});
    EXPECT_EQ(host.results.at(0).error.failure, LineFailure::DataFormat);
    EXPECT_EQ(host.records, 0);

    session.Receive();
    session.PortOpened(true);
    session.Chunk(test::DownloadReply(test::RandomMeterRecords(1, 2)));
    session.DecodeFinished({DecodeOutcome::Kind::WriteFailed, 0, "disk full"});
    EXPECT_EQ(host.results.at(1).outcome, SessionResult::Outcome::WriteFailed);
    EXPECT_NE(host.shown.at(1).find("disk full"), std::string::npos);
}

}  // namespace
}  // namespace dorvel
