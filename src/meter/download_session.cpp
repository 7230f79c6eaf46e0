#include "download_session.h"

#include <algorithm>

#include "messages.h"

namespace dorvel {

DownloadSession::DownloadSession(SessionHost& host, SessionTiming timing)
    : host_(host), timing_(timing) {}

void DownloadSession::Receive() {
    host_.SetPanelButtons(false);
    host_.ResetProbe();
    attempts_ = 0;
    pending_ = RequestKind::Download;
    host_.ClearPanelList();
    host_.ScanForAdapter();
    if (visible_) {
        End(SessionResult::Outcome::Superseded, {LineFailure::Cancelled, {}, {}},
            messages::kRepeat);
        return;
    }
    Start(RequestKind::Download);
}

void DownloadSession::Delete() {
    if (visible_)
        return;
    if (!host_.Confirm(messages::kConfirmErase, messages::kMeterCaption))
        return;
    host_.SetPanelButtons(false);
    host_.ResetProbe();
    attempts_ = 0;
    pending_ = RequestKind::Erase;
    host_.ClearPanelList();
    Start(RequestKind::Erase);
}

void DownloadSession::Start(RequestKind kind) {
    pending_ = kind;
    openFailures_.clear();
    text_.clear();
    raw_.clear();
    state_ = 0;
    host_.SetProgressPosition(0);
    host_.SetProgressTitle(messages::kSearchTitle);
    host_.SetProgressMessage(messages::kSearchMessage);
    host_.ShowProgress(true);
    visible_ = true;
    phase_ = 'P';
    host_.ClosePort();
    host_.OpenPort(PortRequest::Adapter, attempts_);
}

void DownloadSession::Cancel() {
    if (!visible_ || state_ == 3)
        return;
    End(SessionResult::Outcome::Cancelled, {LineFailure::Cancelled, {}, {}}, {});
}

void DownloadSession::PortOpened(bool opened, const LineError& error) {
    if (phase_ != 'P') {
        // The session ended while the port was being opened.
        if (opened && !visible_)
            host_.ClosePort();
        return;
    }
    // The reply text starts afresh with every open.
    text_.clear();
    state_ = 0;
    if (opened) {
        SendRequest();
        return;
    }
    if (error.failure != LineFailure::None)
        openFailures_.push_back(error);
    host_.StartTimer(SessionTimer::Response, timing_.responseMs);
}

void DownloadSession::SendRequest() {
    raw_.clear();
    text_.clear();
    phase_ = 'H';
    host_.Write(FormatRequest(pending_));
    state_ = 1;
    host_.StartTimer(SessionTimer::Response, timing_.responseMs);
}

void DownloadSession::Chunk(std::string_view bytes) {
    // Bytes outside a running request belong to no reply: once a reply has
    // been dealt with, late or stray bytes must not start a second one.
    if (phase_ != 'H' && phase_ != 'C')
        return;
    if (state_ == 3)
        return;
    phase_ = 'C';
    host_.StopTimer(SessionTimer::Response);
    raw_.append(bytes);
    text_.append(bytes.substr(0, std::min(bytes.size(), bytes.find('\0'))));
    host_.SetProgressMessage(raw_.size() % 2 == 0 ? messages::kChunkEven : messages::kChunkOdd);
    state_ = 2;
    // The response timer stops with the first byte; the watchdog then watches
    // for a reply that stops halfway. Only bytes count as progress: a line
    // that broke can go on reporting empty reads.
    if (!bytes.empty())
        host_.StartTimer(SessionTimer::Watchdog, timing_.watchdogMs);

    ReplyVerdict verdict = ParseReply(text_, raw_, true);
    switch (verdict.kind) {
        case ReplyVerdict::Kind::Incomplete:
            return;
        case ReplyVerdict::Kind::EraseAcknowledged:
            host_.SetProgressTitle(messages::kReceivingTitle);
            host_.SetProgressPosition(100);
            End(SessionResult::Outcome::Erased, {}, messages::kErased);
            return;
        case ReplyVerdict::Kind::NoData:
            End(SessionResult::Outcome::NoData, {}, messages::kNoData);
            return;
        case ReplyVerdict::Kind::Complete:
            break;
    }
    host_.StopTimer(SessionTimer::Watchdog);
    host_.SetProgressTitle(messages::kDownloadTitle);
    host_.SetProgressMessage(messages::kDownloadMessage);
    state_ = 3;
    // Nothing more is expected from the meter; closing now keeps stray bytes
    // from the line out of the next session.
    host_.ClosePort();
    host_.Decode(verdict.count, verdict.payload);
}

void DownloadSession::DecodeFinished(const DecodeOutcome& outcome) {
    if (state_ != 3)
        return;
    SessionResult::Outcome kind = SessionResult::Outcome::Decoded;
    LineError error;
    std::string message;
    std::string caption;
    switch (outcome.kind) {
        case DecodeOutcome::Kind::Decoded:
            host_.SetProgressTitle(messages::kReceivingTitle);
            host_.SetProgressPosition(100);
            host_.RecordsReady();
            break;
        case DecodeOutcome::Kind::CheckFailed:
            kind = SessionResult::Outcome::Rejected;
            error = {LineFailure::DataFormat, host_.CurrentDevice(), outcome.detail};
            message = kCheckFailedMessage;
            caption = messages::kCheckFailCaption;
            break;
        case DecodeOutcome::Kind::WriteFailed:
            // The readings were received but are not on disk: never pass that off as done.
            kind = SessionResult::Outcome::WriteFailed;
            error = {LineFailure::Io, {}, outcome.detail};
            message = std::string(messages::kRepeat) + "\n" + outcome.detail;
            break;
    }
    End(kind, error, message, caption, outcome.recordCount);
}

void DownloadSession::ResponseTimeout() {
    host_.StopTimer(SessionTimer::Response);
    if (!visible_)
        return;
    ++attempts_;
    if (attempts_ < timing_.attempts) {
        if ((state_ == 0 || state_ == 1) && host_.PollIdle() == 1)
            host_.RememberPort();
        if (phase_ == 'H' || phase_ == 'P') {
            phase_ = 'P';
            host_.ClosePort();
            host_.OpenPort(PortRequest::Next, attempts_);
        }
        return;
    }
    attempts_ = 0;
    host_.ResetToDefaultPort();
    std::string message = messages::kCheckCable;
    LineError error{LineFailure::Timeout, host_.CurrentDevice(), {}};
    // A port this user may not open is named with the group that grants access,
    // so missing rights are not mistaken for a missing cable.
    const auto denied =
        std::find_if(openFailures_.begin(), openFailures_.end(),
                     [](const LineError& e) { return e.failure == LineFailure::NoAccess; });
    if (denied != openFailures_.end()) {
        message += "\n" + AccessHint(denied->device);
        error = *denied;
    } else if (!openFailures_.empty() &&
               openFailures_.size() == static_cast<size_t>(timing_.attempts)) {
        error = openFailures_.back();
    }
    End(SessionResult::Outcome::NoAnswer, error, message);
}

void DownloadSession::WatchdogTimeout() {
    host_.StopTimer(SessionTimer::Watchdog);
    if (phase_ != 'C' || state_ != 2)
        return;
    // A beginning the meter could have sent means it stopped; anything else
    // was never a reply of the meter.
    const bool plausible = raw_.empty() || raw_[0] == 'S' || raw_[0] == 'Q' ||
                           (raw_[0] >= '0' && raw_[0] <= '9') ||
                           std::string_view("ERS").substr(0, std::min<size_t>(raw_.size(), 3)) ==
                               std::string_view(raw_).substr(0, 3);
    End(SessionResult::Outcome::Interrupted,
        {plausible ? LineFailure::Timeout : LineFailure::Protocol, host_.CurrentDevice(), {}},
        messages::kRepeat);
}

void DownloadSession::LineLost(const LineError& error) {
    if (phase_ == 'C' && state_ == 2) {
        End(SessionResult::Outcome::Interrupted, error, messages::kRepeat);
    }
    // Before the first byte the response timer goes on and tries the next port.
}

void DownloadSession::End(SessionResult::Outcome outcome, LineError error, std::string message,
                          std::string caption, int recordCount) {
    host_.StopTimer(SessionTimer::Response);
    host_.StopTimer(SessionTimer::Watchdog);
    host_.ClosePort();
    text_.clear();
    state_ = 0;
    phase_ = '\0';
    visible_ = false;
    host_.ShowProgress(false);
    host_.SetPanelButtons(true);
    if (!message.empty())
        host_.ShowMessage(message, caption.empty() ? messages::kMeterCaption : caption);
    host_.Finished({outcome, std::move(error), std::move(message), recordCount});
}

}  // namespace dorvel
