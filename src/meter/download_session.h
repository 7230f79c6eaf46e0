#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "line_failure.h"
#include "protocol.h"
#include "received_data.h"

namespace dorvel {

// Time-outs of a session; tests shorten them.
struct SessionTiming {
    int responseMs = 3000;  // no byte after a request, or a port that would not open
    int attempts = 26;      // ports given up before the search gives up
    // Longest pause inside a reply that has begun. A meter at 4800 baud sends
    // a byte every 2 ms, so a reply silent this long has stopped for good.
    int watchdogMs = 3000;
};

// The most reply bytes a session keeps: the largest reply plus room for a
// little line noise before it. A longer reply is no meter's.
inline constexpr size_t kReplyBufferLimit = kMaxReplySize + 1024;

enum class SessionTimer { Response, Watchdog };
enum class PortRequest { Adapter, Next };

// How a session ended.
struct SessionResult {
    enum class Outcome {
        Decoded,      // the received-data files are written
        NoData,       // the meter holds no readings
        Erased,       // the meter confirmed the erase
        NoAnswer,     // the search ended without a meter
        Interrupted,  // a reply began and stopped, or the line broke under it
        Rejected,     // a record of the reply was refused
        WriteFailed,  // a received-data file could not be written
        Superseded,   // the receive command came while a session ran
        Cancelled,    // the progress window's Cancel
    };
    Outcome outcome = Outcome::Decoded;
    LineError error;
    std::string message;  // what the user was shown; empty for none
    int recordCount = 0;
};

// What the session asks of the world around it. The window host and the
// command line implement it; tests record it.
class SessionHost {
  public:
    virtual ~SessionHost() = default;

    virtual void ResetProbe() = 0;
    virtual void ScanForAdapter() = 0;
    // Opens a port after the short settle pause; the answer comes back as
    // DownloadSession::PortOpened.
    virtual void OpenPort(PortRequest which, int attemptCount) = 0;
    virtual void ClosePort() = 0;
    virtual size_t Write(std::string_view bytes) = 0;
    // The meter answered on the port now open: it is tried first next time.
    virtual void RememberPort() = 0;
    // The session is over: a search that found nothing or was cancelled
    // leaves the stored port as it was.
    virtual void SearchEnded() = 0;
    virtual std::string CurrentDevice() const = 0;
    // How the progress window names the port: "COM5 (/dev/ttyUSB0)".
    virtual std::string CurrentPortName() const { return CurrentDevice(); }

    virtual void StartTimer(SessionTimer timer, int ms) = 0;
    virtual void StopTimer(SessionTimer timer) = 0;

    // Runs the record decoder; the answer comes back as DownloadSession::DecodeFinished.
    virtual void Decode(int count, const std::string& payload) = 0;

    // The window side; every one may be left alone.
    virtual bool Confirm(const std::string& question, const std::string& caption) = 0;
    virtual void ShowMessage(const std::string& /*text*/, const std::string& /*caption*/) {}
    virtual void SetPanelButtons(bool /*enabled*/) {}
    virtual void ClearPanelList() {}
    virtual void ShowProgress(bool /*visible*/) {}
    virtual void SetProgressTitle(const std::string& /*title*/) {}
    virtual void SetProgressMessage(const std::string& /*message*/) {}
    virtual void SetProgressPosition(int /*percent*/) {}
    virtual void RecordsReady() {}
    virtual void Finished(const SessionResult& /*result*/) {}
};

// The download and erase session as a state machine: commands, port
// outcomes, chunks and time-outs go in; everything it does goes out through
// the host. All calls come from one thread.
class DownloadSession {
  public:
    explicit DownloadSession(SessionHost& host, SessionTiming timing = {});

    void Receive();  // "&Messwerte abrufen"
    void Delete();   // "Daten im Messgerät löschen"; asks first
    // The progress window's Cancel: port closed, timers stopped, nothing
    // written, no message. A reply already handed to the decoder is finished.
    void Cancel();

    void PortOpened(bool opened, const LineError& error = {});
    // A read of the line; a read of 0 bytes changes nothing.
    void Chunk(std::string_view bytes);
    void ResponseTimeout();
    void WatchdogTimeout();
    void LineLost(const LineError& error);
    void DecodeFinished(const DecodeOutcome& outcome);

    int sessionState() const { return state_; }
    char phaseMark() const { return phase_; }
    int attemptCount() const { return attempts_; }
    bool running() const { return visible_; }
    RequestKind pending() const { return pending_; }
    const std::string& rawReply() const { return raw_; }

  private:
    void Start(RequestKind kind);
    void SendRequest();
    // The port did not answer, or what it sent is no reply: on to the next
    // one, or the end of the search.
    void GiveUpPort();
    void ShowReplyProgress(const ReplyShape& shape);
    void MeterAnswered();
    void End(SessionResult::Outcome outcome, LineError error, std::string message,
             std::string caption = {}, int recordCount = 0);

    SessionHost& host_;
    SessionTiming timing_;
    int state_ = 0;
    char phase_ = '\0';
    int attempts_ = 0;
    bool visible_ = false;
    RequestKind pending_ = RequestKind::Download;
    std::string text_;       // the reply as text: each chunk up to its first NUL
    std::string raw_;        // the reply as received, at most kReplyBufferLimit bytes
    bool answered_ = false;  // the bytes on this port are the meter's reply
    std::vector<LineError> openFailures_;
};

}  // namespace dorvel
