#include "protocol.h"

#include <algorithm>
#include <cstdio>

#include "store/calendar.h"
#include "store/decimal.h"

namespace dorvel {

std::string FormatRequest(RequestKind kind) {
    return kind == RequestKind::Download ? "S" : "ERS";
}

namespace {

bool CrLfAt(std::string_view raw, size_t pos) {
    return raw.size() > pos + 1 && raw[pos] == '\r' && raw[pos + 1] == '\n';
}

// Evaluates a header's count; false when it gives no verdict.
bool EvaluateCount(int count, std::string_view text, size_t headerSize, bool receiving,
                   ReplyVerdict& verdict) {
    if (count == 0) {
        verdict = {ReplyVerdict::Kind::NoData, 0, {}};
        return true;
    }
    const std::string_view payload = text.size() > headerSize ? text.substr(headerSize) : "";
    const size_t records = payload.size() / kMeterRecordSize;
    if (count > 0 && static_cast<size_t>(count) == records && receiving) {
        verdict = {ReplyVerdict::Kind::Complete, count, std::string(payload)};
        return true;
    }
    return false;
}

}  // namespace

ReplyVerdict ParseReply(std::string_view text, std::string_view raw, bool receiving) {
    ReplyVerdict verdict;
    if (text.empty())
        return verdict;
    if (text[0] == 'E') {
        if (text == "ERS")
            verdict.kind = ReplyVerdict::Kind::EraseAcknowledged;
        return verdict;
    }
    if ((text[0] == 'S' || text[0] == 'Q') && text.size() > 4) {
        if (EvaluateCount(LeadingInt(text.substr(1, 3)), text, 6, receiving, verdict)) {
            return verdict;
        }
    }
    // Form N: one, two or three count digits, then CR LF.
    for (size_t digits = 1; digits <= 3; ++digits) {
        if (text.size() >= digits && CrLfAt(raw, digits)) {
            if (EvaluateCount(LeadingInt(text.substr(0, digits)), text, digits + 2, receiving,
                              verdict)) {
                return verdict;
            }
        }
    }
    return ReplyVerdict{};
}

ReplyShape ExamineReply(std::string_view raw) {
    using Kind = ReplyShape::Kind;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (raw.empty())
        return {};
    // The erase acknowledgement is "ERS" and nothing else.
    if (raw[0] == 'E')
        return {raw.size() <= 3 && std::string_view("ERS").substr(0, raw.size()) == raw
                    ? Kind::Pending
                    : Kind::NotAReply};

    ReplyShape shape;
    if (raw[0] == 'S' || raw[0] == 'Q') {
        // Three count digits, then two bytes nobody looks at.
        for (size_t i = 1; i < std::min<size_t>(raw.size(), 4); ++i) {
            if (!isDigit(raw[i]))
                return {Kind::NotAReply};
        }
        if (raw.size() < 6)
            return {};
        shape.headerSize = 6;
        shape.count = LeadingInt(raw.substr(1, 3));
    } else if (isDigit(raw[0])) {
        // One to three count digits, then CR LF.
        size_t digits = 1;
        while (digits < raw.size() && digits < 4 && isDigit(raw[digits]))
            ++digits;
        if (digits == 4)
            return {Kind::NotAReply};
        if (digits < raw.size() && raw[digits] != '\r')
            return {Kind::NotAReply};
        if (digits + 1 < raw.size() && raw[digits + 1] != '\n')
            return {Kind::NotAReply};
        if (raw.size() < digits + 2)
            return {};
        shape.headerSize = digits + 2;
        shape.count = LeadingInt(raw.substr(0, digits));
    } else {
        return {Kind::NotAReply};
    }
    // Complete with count records and up to 21 bytes more; anything longer
    // never will be.
    shape.kind =
        raw.size() < shape.ExpectedSize() + kMeterRecordSize ? Kind::Announced : Kind::Overrun;
    return shape;
}

bool CheckRecord(std::string_view record) {
    if (record.size() < kMeterRecordSize)
        return false;
    // The meter's digit sum over the record has nothing to compare against,
    // so it cannot catch a damaged record; what reaches a patient's file is
    // checked field by field instead.
    const std::string_view stored = record.substr(0, 20);
    if (!AllDigits(stored))
        return false;
    const Date date{2000 + LeadingInt(record.substr(4, 2)), LeadingInt(record.substr(6, 2)),
                    LeadingInt(record.substr(8, 2))};
    const TimeOfDay time{LeadingInt(record.substr(10, 2)), LeadingInt(record.substr(12, 2)), 0};
    return IsValidDate(date) && IsValidTime(time);
}

std::string DecodeRecord(std::string_view record) {
    std::string stored;
    stored.reserve(22);
    stored.append(record.substr(0, 3));  // meter user
    stored.append(record.substr(3, 1));  // marker
    stored.append("20");
    stored.append(record.substr(4, 2));   // year in the century
    stored.append(record.substr(6, 2));   // month
    stored.append(record.substr(8, 2));   // day
    stored.append(record.substr(10, 4));  // time
    int value = LeadingInt(record.substr(14, 3));
    if (value <= kMinStoredValue)
        value = kMinStoredValue;
    if (value >= kMaxStoredValue)
        value = kMaxStoredValue;
    char text[8];
    std::snprintf(text, sizeof text, "%03d", value);
    stored.append(text);
    stored.append(record.substr(17, 3));  // temperature, unchanged
    return stored;
}

}  // namespace dorvel
