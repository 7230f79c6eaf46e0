// Any bytes as a meter reply: judged, and a complete one checked and decoded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "meter/protocol.h"
#include "meter/received_data.h"
#include "meter/record_sort.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace dorvel;
    const std::string reply(reinterpret_cast<const char*>(data), size);
    // Every prefix, as the session sees the reply grow.
    bool ended = false;  // once no reply can come of the bytes, none ever does
    for (size_t n = size > 64 ? size - 64 : 0; n <= size; ++n) {
        const ReplyShape shape = ExamineReply(std::string_view(reply).substr(0, n));
        const bool hopeless =
            shape.kind == ReplyShape::Kind::NotAReply || shape.kind == ReplyShape::Kind::Overrun;
        if ((ended && !hopeless) || shape.count < 0 || shape.count > 999 || shape.headerSize > 6)
            __builtin_trap();
        ended = hopeless;
        const ReplyVerdict v = ParseReply(std::string_view(reply).substr(0, n));
        if (v.kind != ReplyVerdict::Kind::Complete)
            continue;
        if (v.payload.size() / 22 != static_cast<size_t>(v.count))
            __builtin_trap();
        std::string converted;
        for (int i = 0; i < v.count; ++i) {
            const std::string_view record = std::string_view(v.payload).substr(i * 22, 22);
            if (!CheckRecord(record))
                break;
            const std::string stored = DecodeRecord(record);
            if (stored.size() != 22)
                __builtin_trap();
            const std::string value = stored.substr(16, 3);
            if (value < "010" || value > "600")
                __builtin_trap();
            converted += stored;
        }
        SortRecords(converted);
        ListReceivedUsers(converted);
    }
    return 0;
}
