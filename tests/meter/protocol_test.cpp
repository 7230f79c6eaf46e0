#include <gtest/gtest.h>

#include "meter/protocol.h"
#include "support/records.h"

namespace dorvel {
namespace {

using Kind = ReplyVerdict::Kind;

std::string Records(int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += test::MeterRecord(1, 0, 26, 3, 1 + i % 28, 8, i % 60, 100 + i);
    return out;
}

TEST(Protocol, HeaderFormsAndCounts) {
    const std::string two = Records(2);
    struct Case {
        std::string reply;
        Kind kind;
        int count;
    } const cases[] = {
        {"", Kind::Incomplete, 0},
        {"S000\r\n", Kind::NoData, 0},
        {"0\r\n", Kind::NoData, 0},
        {"S002\r\n" + two, Kind::Complete, 2},
        {"Q002\r\n" + two, Kind::Complete, 2},
        {"S002\r\n" + two.substr(0, 43), Kind::Incomplete, 0},
        {"S002\r\n" + two + "\r", Kind::Complete, 2},  // stays complete while CR LF arrives
        {"S002\r\n" + two + "\r\n", Kind::Complete, 2},
        {"S002\r\n" + two + Records(1).substr(0, 21), Kind::Complete, 2},
        {"S002\r\n" + two + Records(1), Kind::Incomplete, 0},  // one record too many
        {"2\r\n" + two, Kind::Complete, 2},
        {"12\r\n" + Records(12), Kind::Complete, 12},
        {"123\r\n" + Records(123), Kind::Complete, 123},
        {"12\r\n" + Records(11), Kind::Incomplete, 0},
        {"S0", Kind::Incomplete, 0},
        {"S002", Kind::Incomplete, 0},
        {"ER", Kind::Incomplete, 0},
        {"ERS", Kind::EraseAcknowledged, 0},
        {"ERSX", Kind::Incomplete, 0},
        {"E002\r\n" + two, Kind::Incomplete, 0},
        {"xyz", Kind::Incomplete, 0},
    };
    for (const Case& c : cases) {
        const ReplyVerdict v = ParseReply(c.reply);
        EXPECT_EQ(v.kind, c.kind) << testing::PrintToString(c.reply);
        EXPECT_EQ(v.count, c.count) << testing::PrintToString(c.reply);
    }
    const ReplyVerdict complete = ParseReply("S002\r\n" + two + "\r\n");
    EXPECT_EQ(complete.payload, two + "\r\n");
    // Only a receiving session takes a reply as complete.
    const std::string reply = "S002\r\n" + two;
    EXPECT_EQ(ParseReply(reply, reply, false).kind, Kind::Incomplete);
}

// What the bytes so far can still become: a beginning of the meter's, its
// announced count, or bytes no reply of the meter starts with or grows into.
TEST(Protocol, ReplyShapes) {
    using Shape = ReplyShape::Kind;
    const std::string two = Records(2);
    const std::pair<std::string, Shape> cases[] = {
        {"S0", Shape::Pending},
        {"12\r", Shape::Pending},
        {"ERS", Shape::Pending},  // complete: ParseReply's verdict
        {"S002??" + two, Shape::Announced},
        {"123\r\n" + two, Shape::Announced},
        {"S002\r\n" + two + Records(1), Shape::Overrun},
        {"$GPGGA,1235", Shape::NotAReply},
        {"S 02\r\n", Shape::NotAReply},
        {"1234\r\n", Shape::NotAReply},
        {"12\n", Shape::NotAReply},
        {"ERX", Shape::NotAReply},
    };
    for (const auto& [raw, kind] : cases)
        EXPECT_EQ(ExamineReply(raw).kind, kind) << testing::PrintToString(raw);
    EXPECT_EQ(ExamineReply("123\r\n").count, 123);
    // The largest reply the meter may send is still its reply.
    const std::string largest = "S999\r\n" + std::string(999 * 22 + 21, '1');
    EXPECT_EQ(largest.size(), kMaxReplySize);
    EXPECT_EQ(ExamineReply(largest).kind, Shape::Announced);
}

TEST(Protocol, DecodeAddsCenturyAndLimitsValues) {
    struct Case {
        int value;
        const char* stored;
    } const cases[] = {{5, "010"},   {10, "010"},  {11, "011"},
                       {599, "599"}, {600, "600"}, {612, "600"}};
    for (const Case& c : cases) {
        const std::string stored =
            DecodeRecord(test::MeterRecord(7, 3, 11, 2, 28, 23, 59, c.value, 42, "91"));
        ASSERT_EQ(stored.size(), 22u);
        EXPECT_EQ(stored, std::string("0073") + "20110228" + "2359" + c.stored + "042");
    }
    std::string blank = test::MeterRecord(1, 0, 26, 1, 1, 0, 0, 100);
    blank.replace(14, 3, "   ");
    EXPECT_EQ(DecodeRecord(blank).substr(16, 3), "010");
}

TEST(Protocol, CheckRefusesFieldsThatCannotBeStored) {
    EXPECT_TRUE(CheckRecord(test::MeterRecord(1, 0, 24, 2, 29, 23, 59, 100)));
    EXPECT_TRUE(CheckRecord(test::MeterRecord(121, 5, 26, 12, 31, 0, 0, 600, 0, "??")));
    const std::string bad[] = {
        test::MeterRecord(1, 0, 25, 2, 29, 12, 0, 100),  // no 29 February in 2025
        test::MeterRecord(1, 0, 26, 13, 1, 12, 0, 100),  // month 13
        test::MeterRecord(1, 0, 26, 0, 1, 12, 0, 100),   // month 0
        test::MeterRecord(1, 0, 26, 4, 31, 12, 0, 100),  // 31 April
        test::MeterRecord(1, 0, 26, 4, 0, 12, 0, 100),   // day 0
        test::MeterRecord(1, 0, 26, 4, 1, 24, 0, 100),   // hour 24
        test::MeterRecord(1, 0, 26, 4, 1, 12, 60, 100),  // minute 60
        std::string("0A10260401120010023500"),           // letter in the user number
        std::string("0010260401120010 23500"),           // blank in the value
        std::string("00102604011200100S3500"),           // letter in the temperature
        std::string("001S260401120010023500"),           // letter as marker
        std::string("00102604011200100235"),             // too short
    };
    for (const std::string& record : bad)
        EXPECT_FALSE(CheckRecord(record)) << record;
}

}  // namespace
}  // namespace dorvel
