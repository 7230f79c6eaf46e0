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

// The record check. Besides the digit sum over the 22 characters, a record
// is refused unless every stored field holds what it must: digits in the
// user number, marker, date, time, value and temperature, and a month, day,
// hour and minute that exist. Positions 20-21 are not looked at.
bool CheckRecord(std::string_view record);

// Turns one meter record (at least 22 bytes) into its 22-character stored
// form: century 20 added, value limited to 010..600, positions 20-21 dropped.
std::string DecodeRecord(std::string_view record);

}  // namespace dorvel
