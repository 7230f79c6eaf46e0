#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <thread>
#include <vector>

#include "store/file_io.h"
#include "store/folder_lock.h"
#include "store/patient_data_file.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

const std::string kA = "0014202603141215123235";
const std::string kB = "0010202603141216099000";
const std::string kC = "0010202501010101300000";

TEST(PatientDataFile, LoadTakesWholeRecordsSortedAndIgnoresTheTail) {
    test::TempFolder dir;
    dir.Write("P1.gdt", kA + kB + kC);           // 66 bytes
    dir.Write("P2.gdt", kA + kB + kC + "0011");  // 70 bytes
    dir.Write("P3.gdt", "");
    const ReadingList three = LoadReadings(dir.path(), "P1");
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0].timestamp, "202501010101");
    EXPECT_EQ(LoadReadings(dir.path(), "P2").items(), three.items());
    EXPECT_TRUE(LoadReadings(dir.path(), "P3").empty());
    EXPECT_TRUE(LoadReadings(dir.path(), "missing").empty());
    // The file is one token: it ends at white space.
    dir.Write("P4.gdt", kA + "\n" + kB);
    EXPECT_EQ(LoadReadings(dir.path(), "P4").size(), 1u);
    // Lower-case ID finds the upper-case file the patient list made.
    EXPECT_EQ(LoadReadings(dir.path(), "p1").size(), 3u);
}

TEST(PatientDataFile, SaveWritesListOrderAndDropsRecordsWithMarkerLetters) {
    test::TempFolder dir;
    ReadingList list = ReadingsFromImage(kA + kB + kC);
    ASSERT_TRUE(SaveReadings(dir.path(), "P", list).ok());
    EXPECT_EQ(dir.Read("P.gdt"), kC + kA + kB);

    Reading odd = ReadingFromRecord(kA);
    odd.valueText = "S12";
    list.push_back(odd);
    ASSERT_TRUE(SaveReadings(dir.path(), "P", list).ok());
    // A damaged reading is left out alone instead of cutting off every record after it.
    EXPECT_EQ(dir.Read("P.gdt"), kC + kA + kB);
}

TEST(PatientDataFile, ReadOnlyFileIsKeptAndReported) {
    test::TempFolder dir;
    dir.Write("P.gdt", kA);
    ASSERT_EQ(::chmod(dir.File("P.gdt").c_str(), 0444), 0);
    const WriteResult result = SaveReadings(dir.path(), "P", ReadingsFromImage(kA + kB));
    EXPECT_EQ(result.status, WriteStatus::ReadOnly);
    EXPECT_EQ(dir.Read("P.gdt"), kA);
}

TEST(PatientDataFile, RemoveReadingsKeepsWhatOthersAddedMeanwhile) {
    test::TempFolder dir;
    ASSERT_TRUE(SaveReadings(dir.path(), "P", ReadingsFromImage(kA + kB)).ok());
    // Another copy of the program has since added kC.
    dir.Write("P.gdt", kA + kB + kC);
    ReadingList after;
    ASSERT_TRUE(RemoveReadings(dir.path(), "P", {ReadingFromRecord(kB)}, &after).ok());
    EXPECT_EQ(dir.Read("P.gdt"), kC + kA);
    EXPECT_EQ(after.size(), 2u);
}

TEST(PatientDataFile, RemoveReadingsLeavesAFileItCannotSeeWholeAlone) {
    // Readings beyond white space (or beyond what the loader takes) are not
    // shown; rewriting the file after a deletion would throw them away.
    test::TempFolder dir;
    const std::string content = kA + "\n" + kB + kC;
    dir.Write("P.gdt", content);
    const WriteResult result = RemoveReadings(dir.path(), "P", {ReadingFromRecord(kA)});
    EXPECT_EQ(result.status, WriteStatus::Failed);
    EXPECT_FALSE(result.detail.empty());
    EXPECT_EQ(dir.Read("P.gdt"), content);
}

TEST(AtomicWrite, FailureLeavesTheOldFileAndNoLitter) {
    test::TempFolder dir;
    dir.Write("f", "old");
    ASSERT_TRUE(WriteFileAtomic(dir.File("f"), "new").ok());
    EXPECT_EQ(dir.Read("f"), "new");
    // A folder that cannot take the temporary file (root writes anyway): the write fails, the file
    // stays.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const WriteResult failed = WriteFileAtomic(dir.File("f"), "newer");
    ::chmod(dir.path().c_str(), 0755);
    if (::geteuid() != 0) {
        EXPECT_EQ(failed.status, WriteStatus::Failed);
        EXPECT_FALSE(failed.detail.empty());
        EXPECT_EQ(dir.Read("f"), "new");
    }
    // Writing into a missing folder is a failure, not a success.
    EXPECT_EQ(WriteFileAtomic(dir.File("nope/f"), "x").status, WriteStatus::Failed);
    // No temporary files are left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicWrite, LeftoversOfAKilledWriterNeitherBlockNorStay) {
    test::TempFolder dir;
    // Copies a killed writer with our process id could have left.
    for (int i = 0; i < 1000; ++i)
        dir.Write("f.tmp-" + std::to_string(::getpid()) + "-" + std::to_string(i), "torn");
    // A writer at work holds its copy locked: that one stays.
    dir.Write("f.tmp-1-abc", "busy");
    const int busy = ::open(dir.File("f.tmp-1-abc").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    const WriteResult result = WriteFileAtomic(dir.File("f"), "new");
    ::close(busy);
    ASSERT_TRUE(result.ok()) << result.detail;
    EXPECT_EQ(dir.Read("f"), "new");
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"f", "f.tmp-1-abc"}));
}

TEST(FolderLock, IsNeverTakenThroughALinkNorCutShort) {
    test::TempFolder dir;
    const std::string data = dir.File("DATA");
    const std::string lock = data + "/dorvel.lock";
    ASSERT_EQ(::mkdir(data.c_str(), 0755), 0);
    dir.Write("outside", "keep");
    ASSERT_EQ(::symlink(dir.File("outside").c_str(), lock.c_str()), 0);
    {
        DataFolderLock linked(data);
        EXPECT_FALSE(linked.locked());
        EXPECT_NE(linked.problem().find(lock), std::string::npos) << linked.problem();
    }
    EXPECT_EQ(SaveReadings(data, "P", ReadingsFromImage(kA)).status, WriteStatus::Failed);
    EXPECT_EQ(dir.Read("outside"), "keep");

    // A dangling link creates nothing at its target.
    ASSERT_EQ(::unlink(lock.c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("made").c_str(), lock.c_str()), 0);
    EXPECT_FALSE(DataFolderLock(data).locked());
    EXPECT_FALSE(std::filesystem::exists(dir.File("made")));

    // A plain lock file is written over in place, never truncated.
    ASSERT_EQ(::unlink(lock.c_str()), 0);
    dir.Write("DATA/dorvel.lock", std::string(300, 'x'));
    EXPECT_TRUE(DataFolderLock(data).locked());
    EXPECT_EQ(dir.Read("DATA/dorvel.lock").size(), 300u);
}

TEST(FolderLock, SecondHolderWaitsThenGivesUpWithAReason) {
    test::TempFolder dir;
    {
        DataFolderLock first(dir.path());
        ASSERT_TRUE(first.locked());
        DataFolderLock second(dir.path(), std::chrono::milliseconds(50));
        EXPECT_FALSE(second.locked());
        EXPECT_FALSE(second.problem().empty());
    }
    DataFolderLock third(dir.path(), std::chrono::milliseconds(50));
    EXPECT_TRUE(third.locked());
}

}  // namespace
}  // namespace dorvel
