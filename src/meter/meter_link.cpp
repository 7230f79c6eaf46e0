#include "meter_link.h"

namespace dorvel {

MeterLink::MeterLink(ByteStream& stream, PortChooser& chooser, std::string dataFolder,
                     SessionTiming timing, int settleMs)
    : stream_(stream),
      chooser_(chooser),
      dataFolder_(std::move(dataFolder)),
      settleMs_(settleMs),
      session_(*this, timing) {
    response_.setSingleShot(true);
    watchdog_.setSingleShot(true);
    QObject::connect(&response_, &QTimer::timeout, &context_,
                     [this] { session_.ResponseTimeout(); });
    QObject::connect(&watchdog_, &QTimer::timeout, &context_,
                     [this] { session_.WatchdogTimeout(); });
    stream_.Configure([this](std::string_view chunk) { session_.Chunk(chunk); }, 1000000);
    stream_.SetLostHandler([this](const LineError& error) {
        // Reached from inside the stream's own signal: let it return first.
        QTimer::singleShot(0, &context_, [this, error] { session_.LineLost(error); });
    });
    decoder_ = [this](int count, const std::string& payload, const DecodeProgress& progress) {
        return RecordDecoder(payload, count, dataFolder_, progress);
    };
}

MeterLink::~MeterLink() {
    stream_.SetLostHandler({});
    stream_.Close();
}

void MeterLink::OpenPort(PortRequest which, int attemptCount) {
    // The pause after closing gives the driver time to let go of the device.
    QTimer::singleShot(settleMs_, &context_, [this, which, attemptCount] {
        const bool opened = which == PortRequest::Adapter ? chooser_.OpenAdapterPort()
                                                          : chooser_.OpenNextPort(attemptCount);
        session_.PortOpened(opened, opened ? LineError{} : stream_.LastError());
    });
}

void MeterLink::ClosePort() {
    if (stream_.IsOpen())
        stream_.Close();
}

void MeterLink::StartTimer(SessionTimer timer, int ms) {
    (timer == SessionTimer::Response ? response_ : watchdog_).start(ms);
}

void MeterLink::StopTimer(SessionTimer timer) {
    (timer == SessionTimer::Response ? response_ : watchdog_).stop();
}

void MeterLink::Decode(int count, const std::string& payload) {
    // Decoded outside the chunk handler, so the serial port's signal has returned.
    QTimer::singleShot(0, &context_, [this, count, payload] {
        const DecodeOutcome outcome = decoder_(count, payload, [this](int percent) {
            SetProgressTitle("On Receiving...");
            SetProgressPosition(percent);
        });
        session_.DecodeFinished(outcome);
    });
}

bool MeterLink::Confirm(const std::string& question, const std::string& caption) {
    return callbacks.confirm && callbacks.confirm(question, caption);
}

void MeterLink::ShowMessage(const std::string& text, const std::string& caption) {
    if (callbacks.message)
        callbacks.message(text, caption);
}

void MeterLink::SetPanelButtons(bool enabled) {
    if (callbacks.panelButtons)
        callbacks.panelButtons(enabled);
}

void MeterLink::ClearPanelList() {
    if (callbacks.clearPanel)
        callbacks.clearPanel();
}

void MeterLink::ShowProgress(bool visible) {
    if (callbacks.progressVisible)
        callbacks.progressVisible(visible);
}

void MeterLink::SetProgressTitle(const std::string& title) {
    if (callbacks.progressTitle)
        callbacks.progressTitle(title);
}

void MeterLink::SetProgressMessage(const std::string& message) {
    if (callbacks.progressMessage)
        callbacks.progressMessage(message);
}

void MeterLink::SetProgressPosition(int percent) {
    if (callbacks.progressPosition)
        callbacks.progressPosition(percent);
}

void MeterLink::RecordsReady() {
    if (callbacks.recordsReady)
        callbacks.recordsReady();
}

void MeterLink::Finished(const SessionResult& result) {
    if (callbacks.finished)
        callbacks.finished(result);
}

}  // namespace dorvel
