#include "download_session.h"

#include <algorithm>
#include <cstdio>

#include "messages.h"

namespace dorvel {

namespace {

// A progress text with its numbers filled in.
template <typename... Args>
std::string Fill(const char* pattern, Args... args) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

}  // namespace

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
    host_.SetProgressMessage(Fill(messages::kSearchingPort, host_.CurrentPortName().c_str(),
                                  attempts_ + 1, timing_.attempts));
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
    answered_ = false;
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
    // A read of 0 bytes (a read that failed) adds nothing to the reply; it
    // must not stop the response timer either, or nothing would end the wait.
    if (bytes.empty())
        return;
    phase_ = 'C';
    host_.StopTimer(SessionTimer::Response);
    // A device that never stops sending must not fill the memory: past the
    // limit the bytes cannot be a reply anyway, which ends the port below.
    const std::string_view kept = bytes.substr(0, kReplyBufferLimit - raw_.size());
    raw_.append(kept);
    text_.append(kept.substr(0, std::min(kept.size(), kept.find('\0'))));
    state_ = 2;
    // The response timer stops with the first byte; the watchdog then watches
    // for a reply that stops halfway.
    host_.StartTimer(SessionTimer::Watchdog, timing_.watchdogMs);

    const ReplyShape shape = ExamineReply(raw_);
    if (shape.kind == ReplyShape::Kind::NotAReply) {
        // A GPS receiver, a modem, line noise: not the meter, whatever the
        // lenient count reading would make of its bytes.
        GiveUpPort();
        return;
    }
    ReplyVerdict verdict = ParseReply(text_, raw_, true);
    if (verdict.kind == ReplyVerdict::Kind::Incomplete) {
        switch (shape.kind) {
            case ReplyShape::Kind::Pending:
            case ReplyShape::Kind::NotAReply:
                host_.SetProgressMessage(raw_.size() % 2 == 0 ? messages::kChunkEven
                                                              : messages::kChunkOdd);
                return;
            case ReplyShape::Kind::Announced:
                MeterAnswered();
                ShowReplyProgress(shape);
                return;
            case ReplyShape::Kind::Overrun:
                End(SessionResult::Outcome::Interrupted,
                    {LineFailure::Protocol, host_.CurrentDevice(), {}}, messages::kRepeat);
                return;
        }
    }
    MeterAnswered();
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
    host_.SetProgressPosition(100);
    host_.SetProgressTitle(messages::kDownloadTitle);
    host_.SetProgressMessage(messages::kDownloadMessage);
    state_ = 3;
    // Nothing more is expected from the meter; closing now keeps stray bytes
    // from the line out of the next session.
    host_.ClosePort();
    host_.Decode(verdict.count, verdict.payload);
}

void DownloadSession::ShowReplyProgress(const ReplyShape& shape) {
    const size_t records = (raw_.size() - shape.headerSize) / kMeterRecordSize;
    host_.SetProgressMessage(Fill(messages::kRecordsProgress,
                                  std::min(static_cast<int>(records), shape.count), shape.count));
    host_.SetProgressPosition(
        static_cast<int>(std::min<size_t>(100, raw_.size() * 100 / shape.ExpectedSize())));
}

void DownloadSession::MeterAnswered() {
    if (answered_)
        return;
    answered_ = true;
    host_.RememberPort();
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
    if (visible_ && (phase_ == 'H' || phase_ == 'P'))
        GiveUpPort();
}

void DownloadSession::GiveUpPort() {
    host_.StopTimer(SessionTimer::Response);
    host_.StopTimer(SessionTimer::Watchdog);
    ++attempts_;
    if (attempts_ < timing_.attempts) {
        phase_ = 'P';
        state_ = 0;
        host_.ClosePort();
        host_.OpenPort(PortRequest::Next, attempts_);
        return;
    }
    attempts_ = 0;
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
    // A few bytes that never became the meter's reply (an echo, a burst of
    // noise) are no answer: the search goes on as after a silent port.
    if (!answered_) {
        GiveUpPort();
        return;
    }
    End(SessionResult::Outcome::Interrupted, {LineFailure::Timeout, host_.CurrentDevice(), {}},
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
    host_.SearchEnded();
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
