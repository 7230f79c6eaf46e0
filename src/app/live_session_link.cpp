#include "live_session_link.h"

#include "meter/meter_link.h"
#include "meter/port_discovery.h"
#include "meter/port_settings.h"
#include "meter/serial_port.h"

namespace dorvel {

LiveSessionLink::LiveSessionLink(std::string dataFolder)
    : LiveSessionLink(std::move(dataFolder), SessionTiming{}) {}

LiveSessionLink::LiveSessionLink(std::string dataFolder, const SessionTiming& timing, int settleMs,
                                 std::unique_ptr<PortSettings> settings)
    : settings_(settings ? std::move(settings) : std::make_unique<StoredPortSettings>()),
      port_(std::make_unique<SerialPort>()),
      discovery_(std::make_unique<PortDiscovery>(*port_, *settings_)) {
    link_ = std::make_unique<MeterLink>(*port_, *discovery_, dataFolder, timing, settleMs);
    link_->SetDecoder([this, folder = std::move(dataFolder)](int count, const std::string& payload,
                                                             const DecodeProgress& progress) {
        if (dropReply_) {
            // Reported as a failed write so the session ends; Finished turns it
            // into the silent end of a Cancel.
            return DecodeOutcome{DecodeOutcome::Kind::WriteFailed, 0, {}};
        }
        return RecordDecoder(payload, count, folder, progress);
    });
    // The frame asks before an erase and shows every outcome itself.
    link_->callbacks.confirm = [](const std::string&, const std::string&) { return true; };
    link_->callbacks.progressTitle = [this](const std::string& t) {
        if (hooks_.title)
            hooks_.title(QString::fromStdString(t));
    };
    link_->callbacks.progressMessage = [this](const std::string& m) {
        if (hooks_.message)
            hooks_.message(QString::fromStdString(m));
    };
    link_->callbacks.progressPosition = [this](int p) {
        if (hooks_.position)
            hooks_.position(p);
    };
    link_->callbacks.finished = [this](const SessionResult& r) { Finished(r); };
    discovery_->ScanAtStartup();
}

LiveSessionLink::~LiveSessionLink() {
    link_->callbacks = {};
    if (link_->session().running())
        link_->session().Cancel();
}

void LiveSessionLink::SetHooks(SessionHooks hooks) {
    hooks_ = std::move(hooks);
}

void LiveSessionLink::Start(RequestKind kind) {
    dropReply_ = false;
    if (kind == RequestKind::Erase)
        link_->session().Delete();
    else
        link_->session().Receive();
}

void LiveSessionLink::Cancel() {
    DownloadSession& session = link_->session();
    if (!session.running())
        return;
    // A reply already complete waits for the decoder, which the session lets
    // finish; the user pressed Cancel, so it must not write anything.
    if (session.sessionState() == 3) {
        dropReply_ = true;
        return;
    }
    session.Cancel();
}

bool LiveSessionLink::Running() const {
    return link_->session().running();
}

void LiveSessionLink::ScanForAdapter() {
    discovery_->ScanForAdapter();
}

int LiveSessionLink::PortIndex() const {
    return discovery_->portIndex();
}

QString LiveSessionLink::PortLabel(int index) const {
    return QString::fromStdString(PortDisplayName(index, *settings_));
}

bool LiveSessionLink::OpenPort(int index) {
    return discovery_->Connect(index).opened;
}

void LiveSessionLink::ClosePort() {
    discovery_->Disconnect();
}

bool LiveSessionLink::PortOpen() const {
    return port_->IsOpen();
}

void LiveSessionLink::Finished(const SessionResult& result) {
    using O = SessionResult::Outcome;
    SessionEnd end = SessionEnd::Interrupted;
    std::string detail;
    switch (result.outcome) {
        case O::Decoded:
            end = SessionEnd::Decoded;
            break;
        case O::NoData:
            end = SessionEnd::NoData;
            break;
        case O::Erased:
            end = SessionEnd::Erased;
            break;
        case O::NoAnswer:
            end = SessionEnd::NoAnswer;
            detail = result.message;  // may name a port without access rights
            break;
        case O::Interrupted:
        case O::Superseded:
            end = SessionEnd::Interrupted;
            break;
        case O::Rejected:
            end = SessionEnd::CheckFailed;
            break;
        case O::WriteFailed:
            end = dropReply_ ? SessionEnd::Cancelled : SessionEnd::WriteFailed;
            detail = result.error.detail;
            break;
        case O::Cancelled:
            end = SessionEnd::Cancelled;
            break;
    }
    dropReply_ = false;
    if (hooks_.ended)
        hooks_.ended(end, detail);
}

}  // namespace dorvel
