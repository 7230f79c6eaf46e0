#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "byte_stream.h"
#include "download_session.h"
#include "port_discovery.h"

namespace dorvel {

// What the window side (or the command line) hears of a session. Any of them
// may be left empty.
struct MeterLinkCallbacks {
    std::function<void(const std::string& text, const std::string& caption)> message;
    std::function<bool(const std::string& question, const std::string& caption)> confirm;
    std::function<void(bool enabled)> panelButtons;
    std::function<void()> clearPanel;
    std::function<void(bool visible)> progressVisible;
    std::function<void(const std::string&)> progressTitle;
    std::function<void(const std::string&)> progressMessage;
    std::function<void(int percent)> progressPosition;
    std::function<void()> recordsReady;
    std::function<void(const SessionResult&)> finished;
};

// Puts a download session on a real line: the byte stream, the port choice,
// Qt timers and the record decoder writing into the data folder. Lives on
// the thread of the Qt event loop, which carries every event in order.
class MeterLink : public SessionHost {
  public:
    using Decoder = std::function<DecodeOutcome(int count, const std::string& payload,
                                                const DecodeProgress& progress)>;

    MeterLink(ByteStream& stream, PortChooser& chooser, std::string dataFolder,
              SessionTiming timing = {}, int settleMs = 100);
    ~MeterLink() override;
    MeterLink(const MeterLink&) = delete;
    MeterLink& operator=(const MeterLink&) = delete;

    DownloadSession& session() { return session_; }
    // Replaces the decoder (the command line prints through its own).
    void SetDecoder(Decoder decoder) { decoder_ = std::move(decoder); }

    MeterLinkCallbacks callbacks;

    // SessionHost
    void ResetProbe() override { chooser_.ResetProbe(); }
    void ScanForAdapter() override { chooser_.ScanForAdapter(); }
    void OpenPort(PortRequest which, int attemptCount) override;
    void ClosePort() override;
    size_t Write(std::string_view bytes) override { return stream_.Write(bytes); }
    void RememberPort() override { chooser_.RememberPort(); }
    void SearchEnded() override { chooser_.SearchEnded(); }
    std::string CurrentDevice() const override { return chooser_.CurrentDevice(); }
    std::string CurrentPortName() const override { return chooser_.CurrentPortName(); }
    void StartTimer(SessionTimer timer, int ms) override;
    void StopTimer(SessionTimer timer) override;
    void Decode(int count, const std::string& payload) override;
    bool Confirm(const std::string& question, const std::string& caption) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void SetPanelButtons(bool enabled) override;
    void ClearPanelList() override;
    void ShowProgress(bool visible) override;
    void SetProgressTitle(const std::string& title) override;
    void SetProgressMessage(const std::string& message) override;
    void SetProgressPosition(int percent) override;
    void RecordsReady() override;
    void Finished(const SessionResult& result) override;

  private:
    ByteStream& stream_;
    PortChooser& chooser_;
    std::string dataFolder_;
    int settleMs_;
    DownloadSession session_;
    Decoder decoder_;
    QObject context_;  // owns the queued calls; they die with the link
    QTimer response_;
    QTimer watchdog_;
};

}  // namespace dorvel
