#include <gtest/gtest.h>

#include "store/reading.h"

namespace dorvel {
namespace {

TEST(Reading, RecordConversionsBothWays) {
    const Reading r = ReadingFromRecord("0014202603141215123235");
    EXPECT_EQ(r.meterUserId, "001");
    EXPECT_EQ(r.marker, 4);
    EXPECT_EQ(r.timestamp, "202603141215");
    EXPECT_EQ(r.valueText, "123");
    EXPECT_EQ(r.Value(), MgDl{123});
    EXPECT_EQ(r.temperature, 235);
    EXPECT_EQ(r.When(), (DateTime{{2026, 3, 14}, {12, 15, 0}}));
    EXPECT_EQ(RecordFromReading(r), "0014202603141215123235");

    struct {
        int temperature;
        const char* field;
    } const temps[] = {{7, "007"}, {35, "035"}, {235, "235"}, {0, "000"}};
    for (const auto& t : temps) {
        Reading copy = r;
        copy.temperature = t.temperature;
        const std::string record = RecordFromReading(copy);
        ASSERT_EQ(record.size(), kRecordSize);
        EXPECT_EQ(record.substr(19), t.field);
        EXPECT_EQ(ReadingFromRecord(record).temperature, t.temperature);
    }
}

TEST(ReadingList, SortsByUserThenTimestampRegardlessOfMarker) {
    ReadingList list(std::vector<Reading>{
        ReadingFromRecord("1210202603141215100000"),
        ReadingFromRecord("0015202603141215200000"),
        ReadingFromRecord("0010202503141215300000"),
        ReadingFromRecord("0013202603141214400000"),
    });
    list.Sort();
    EXPECT_EQ(list.ControlCount(), 1u);
    std::vector<std::string> order;
    for (const Reading& r : list)
        order.push_back(r.meterUserId + r.timestamp);
    EXPECT_EQ(order, (std::vector<std::string>{"001202503141215", "001202603141214",
                                               "001202603141215", "121202603141215"}));
}

TEST(ReadingList, RecordImageAndBackPreserveEveryReading) {
    const std::string image =
        "0014202603141215123235"
        "0010202603141216099000"
        "1215202601010000600007";
    const ReadingList list = ReadingsFromImage(image + "12345");  // a short tail is ignored
    ASSERT_EQ(list.size(), 3u);
    std::string rebuilt;
    EXPECT_EQ(BuildRecordImage(list, rebuilt), 3u);
    EXPECT_EQ(rebuilt, image);
    EXPECT_TRUE(ReadingsFromImage("").empty());
}

}  // namespace
}  // namespace dorvel
