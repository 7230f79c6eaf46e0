#include "store/reading_count.h"

#include <gtest/gtest.h>

#include "store/patient_data_file.h"
#include "store/patient_list.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

std::string Records(size_t count, size_t controlEvery = 0) {
    std::string image;
    image.reserve(count * kRecordSize);
    for (size_t i = 0; i < count; ++i) {
        const bool control = controlEvery != 0 && i % controlEvery == 0;
        image += test::StoredRecord(1, control ? 5 : 0, 2025, 1, 2, 8, 0, 100);
    }
    return image;
}

TEST(ReadingCount, CountsWhatTheLoaderSeesWithoutKeepingIt) {
    const std::string one = Records(1);
    const std::string control = Records(1, 1);
    std::string oddBytes = Records(300);
    oddBytes[100] = '\0';  // no white space: the file goes on
    oddBytes[101] = '\x7F';
    oddBytes[5000] = '\v';
    const struct {
        const char* what;
        std::string bytes;
        int count;
    } cases[] = {
        {"empty", "", 0},
        {"a control reading is not counted", one + control, 1},
        {"a cut record is not counted", one + one.substr(0, 10), 1},
        {"the file ends at white space", one + " " + one, 1},
        {"control bytes are no white space", oddBytes, 5000 / 22},
        {"white space in the first record", one.substr(0, 5) + "\n" + one.substr(6), 0},
        {"across read blocks", Records(8192 + 7, 1000) + "\r" + one, 8199 - 9},
        {"no more than the data model holds", Records(kMaxRecords + 30, 2), 22727},
    };
    test::TempFolder dir;
    for (const auto& c : cases) {
        const std::string path = dir.File("X.gdt");
        dir.Write("X.gdt", c.bytes);
        const FileReadingCount counted = CountFileReadings(path);
        EXPECT_FALSE(counted.unreadable) << c.what;
        EXPECT_EQ(counted.count, c.count) << c.what;
        EXPECT_EQ(counted.count, CountedReadings(ReadRecordFile(path).image)) << c.what;
    }

    EXPECT_EQ(CountFileReadings(dir.File("missing.gdt")).count, 0);
    EXPECT_FALSE(CountFileReadings(dir.File("missing.gdt")).unreadable);
    const FileReadingCount folder = CountFileReadings(dir.path());
    EXPECT_TRUE(folder.unreadable);
    EXPECT_NE(folder.detail.find(dir.path()), std::string::npos);
}

}  // namespace
}  // namespace dorvel
