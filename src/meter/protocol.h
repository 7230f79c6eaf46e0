#pragma once

#include <string>
#include <string_view>

namespace dorvel {

inline constexpr int kBaudRate = 4800;
inline constexpr size_t kMeterRecordSize = 22;
inline constexpr int kMinStoredValue = 10;
inline constexpr int kMaxStoredValue = 600;

enum class RequestKind { Download, Erase };

// The request bytes: "S" to download, "ERS" to erase. No terminator.
std::string FormatRequest(RequestKind kind);

struct ReplyVerdict {
    enum class Kind { Incomplete, EraseAcknowledged, NoData, Complete };
    Kind kind = Kind::Incomplete;
    int count = 0;        // Complete: the record count of the header
    std::string payload;  // Complete: the reply without its header

    bool operator==(const ReplyVerdict&) const = default;
};

// Judges the reply accumulated so far. `text` is the reply as text, `raw`
// the same bytes as received (the two differ only where the text stops at a
// NUL byte). A reply counts as complete only while the session is receiving.
ReplyVerdict ParseReply(std::string_view text, std::string_view raw, bool receiving = true);
inline ReplyVerdict ParseReply(std::string_view reply) {
    return ParseReply(reply, reply, true);
}

// The largest reply the meter sends: a 6-byte header, 999 records (the
// count has three digits) and up to 21 bytes after the last record.
inline constexpr size_t kMaxReplySize = 6 + 999 * kMeterRecordSize + kMeterRecordSize - 1;

// What the bytes received so far can still become, judged against the forms
// the meter sends: stricter than ParseReply, whose lenient count reading
// finds "no data" even in a modem's echo of "S" and CR LF.
struct ReplyShape {
    enum class Kind {
        Pending,    // a beginning the meter could send (or "ERS"); no count yet
        Announced,  // a download header with its count has arrived
        NotAReply,  // no reply of the meter begins like this
        Overrun,    // more bytes than the announced count allows
    };
    Kind kind = Kind::Pending;
    int count = 0;          // Announced, Overrun: the announced record count
    size_t headerSize = 0;  // Announced, Overrun: bytes before the first record

    // Bytes of the whole reply without trailing bytes (Announced, Overrun).
    size_t ExpectedSize() const {
        return headerSize + static_cast<size_t>(count) * kMeterRecordSize;
    }
};
ReplyShape ExamineReply(std::string_view raw);

// The record check. Besides the digit sum over the 22 characters, a record
// is refused unless every stored field holds what it must: digits in the
// user number, marker, date, time, value and temperature, and a month, day,
// hour and minute that exist. Positions 20-21 are not looked at.
bool CheckRecord(std::string_view record);

// Turns one meter record (at least 22 bytes) into its 22-character stored
// form: century 20 added, value limited to 010..600, positions 20-21 dropped.
std::string DecodeRecord(std::string_view record);

}  // namespace dorvel
