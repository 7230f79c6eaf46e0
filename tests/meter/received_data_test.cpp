#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "meter/protocol.h"
#include "meter/received_data.h"
#include "meter/record_sort.h"
#include "store/patient_data_file.h"
#include "support/exchange_sort.h"
#include "support/file_faults.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

using test::MeterRecord;

TEST(RecordSort, MatchesTheExchangeSortOnRandomInput) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        const size_t n = rng() % 60;
        std::string image;
        for (size_t i = 0; i < n; ++i) {
            // Few distinct values so that duplicates are common.
            image += test::StoredRecord(static_cast<int>(rng() % 3), static_cast<int>(rng() % 2),
                                        2026, 1, 1 + static_cast<int>(rng() % 3), 8, 0, 100);
        }
        std::string fast = image + "0123";  // a short tail never counts
        SortRecords(fast);
        const std::string reference = test::ExchangeSortRecords(image);
        EXPECT_EQ(fast, reference);
        // Merging any split of the records gives the same file.
        const size_t split = n == 0 ? 0 : (rng() % n) * 22;
        size_t uniqueOld = 0;
        EXPECT_EQ(MergeRecords(image.substr(0, split), image.substr(split), &uniqueOld), reference);
        EXPECT_EQ(uniqueOld * 22, test::ExchangeSortRecords(image.substr(0, split)).size());
    }
}

TEST(RecordDecoder, WritesRawAndSortedFilesWithoutDuplicates) {
    test::TempFolder dir;
    const std::string a = MeterRecord(1, 0, 26, 3, 2, 8, 0, 100);
    const std::string b = MeterRecord(121, 4, 26, 3, 1, 7, 30, 640);
    const std::string payload = a + b + a + "\r\n";
    std::vector<int> progress;
    const DecodeOutcome out =
        RecordDecoder(payload, 3, dir.path(), [&](int p) { progress.push_back(p); });
    ASSERT_EQ(out.kind, DecodeOutcome::Kind::Decoded);
    EXPECT_EQ(out.recordCount, 2);
    EXPECT_EQ(dir.Read("gr_lowdata.dat"), payload);
    EXPECT_EQ(dir.Read("gr_data.dat"), DecodeRecord(a) + DecodeRecord(b));
    EXPECT_EQ(DecodeRecord(b).substr(16, 3), "600");
    EXPECT_EQ(progress, (std::vector<int>{0, 33, 66, 100}));

    // The users' list and labels: see the command-line decode.
    EXPECT_EQ(SelectUserRecords(dir.Read("gr_data.dat"), "GUEST"), DecodeRecord(b));
    EXPECT_EQ(SelectUserRecords(dir.Read("gr_data.dat"), "001"), DecodeRecord(a));
    EXPECT_EQ(SelectUserRecords(dir.Read("gr_data.dat"), "002"), "");
}

TEST(RecordDecoder, RejectedRecordWritesOnlyTheRawFile) {
    test::TempFolder dir;
    dir.Write("gr_data.dat", "previous");
    const std::string good = MeterRecord(1, 0, 26, 3, 2, 8, 0, 100);
    const std::string bad = MeterRecord(1, 0, 26, 2, 30, 8, 0, 100);
    const DecodeOutcome out = RecordDecoder(good + bad, 2, dir.path());
    EXPECT_EQ(out.kind, DecodeOutcome::Kind::CheckFailed);
    EXPECT_EQ(out.detail, "Error. cyclic redundancy check : Fail");
    EXPECT_EQ(dir.Read("gr_lowdata.dat"), good + bad);
    EXPECT_EQ(dir.Read("gr_data.dat"), "previous");
}

TEST(RecordDecoder, RawFileIsCutAtTheFirstMarkerLetterAndTheCountAtThePayload) {
    test::TempFolder dir;
    const std::string a = MeterRecord(1, 0, 26, 3, 2, 8, 0, 100);
    RecordDecoder(a + a.substr(0, 5) + "S" + a.substr(6), 2, dir.path());
    EXPECT_EQ(dir.Read("gr_lowdata.dat"), a + a.substr(0, 5));
    EXPECT_EQ(RecordDecoder(a, 5, dir.path()).recordCount, 1);
}

TEST(RecordDecoder, AFileThatCannotBeReadBackIsAFailureNotNoUsers) {
    test::TempFolder dir;
    test::FileFaults faults;
    faults.FailReading("gr_data.dat");
    const DecodeOutcome out = RecordDecoder(MeterRecord(1, 0, 26, 3, 2, 8, 0, 100), 1, dir.path());
    EXPECT_EQ(out.kind, DecodeOutcome::Kind::WriteFailed);
    EXPECT_NE(out.detail.find("gr_data.dat"), std::string::npos) << out.detail;
}

class Import : public testing::Test {
  protected:
    test::TempFolder dir;
    const std::string a = test::StoredRecord(1, 0, 2026, 3, 2, 8, 0, 100);
    const std::string b = test::StoredRecord(1, 4, 2026, 3, 1, 7, 30, 140);
    const std::string c = test::StoredRecord(1, 3, 2026, 3, 3, 12, 0, 180);
};

TEST_F(Import, CreatesTheFileSortedAndIsIdempotent) {
    ImportOutcome out = ImportIntoPatient(dir.path(), "ANNA", a + b);
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out.readingCount, 2);
    EXPECT_EQ(out.newReadings, 2);
    EXPECT_EQ(dir.Read("ANNA.gdt"), a + b);  // byte order: marker 0 before marker 4

    out = ImportIntoPatient(dir.path(), "ANNA", a + b);
    EXPECT_EQ(out.newReadings, 0);
    EXPECT_EQ(dir.Read("ANNA.gdt"), a + b);

    out = ImportIntoPatient(dir.path(), "anna", c + a);  // the same patient's file
    EXPECT_EQ(out.readingCount, 3);
    EXPECT_EQ(dir.Read("ANNA.gdt"), a + c + b);
}

TEST_F(Import, MergesWithAFileInListOrderAndDropsItsBrokenTail) {
    dir.Write("P.gdt", b + a + "0012");  // as written after a deletion, with a torn tail
    const ImportOutcome out = ImportIntoPatient(dir.path(), "P", c);
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(dir.Read("P.gdt"), a + c + b);
}

TEST_F(Import, PartialSelectionAddsNothing) {
    dir.Write("P.gdt", a);
    ASSERT_TRUE(ImportIntoPatient(dir.path(), "P", b + "123").ok());
    EXPECT_EQ(dir.Read("P.gdt"), a);
}

TEST_F(Import, UnwritableOrDamagedFilesAreReportedAndKept) {
    dir.Write("RO.gdt", a);
    ASSERT_EQ(::chmod(dir.File("RO.gdt").c_str(), 0444), 0);
    ImportOutcome out = ImportIntoPatient(dir.path(), "RO", b);
    EXPECT_FALSE(out.ok());
    EXPECT_EQ(out.write.status, WriteStatus::ReadOnly);
    EXPECT_EQ(dir.Read("RO.gdt"), a);

    dir.Write("WS.gdt", a + "\n" + b);
    out = ImportIntoPatient(dir.path(), "WS", c);
    EXPECT_FALSE(out.ok());
    EXPECT_EQ(dir.Read("WS.gdt"), a + "\n" + b);

    out = ImportIntoPatient(dir.path(), "../evil", c);
    EXPECT_FALSE(out.ok());
    EXPECT_FALSE(FileExists(dir.File("../evil.gdt")));
}

TEST_F(Import, StoredRecordsThatAreNoReadingsStayByteForByte) {
    // The loader lists them, so neither an import nor a deletion may drop them.
    const std::string s = "001S202603020800100000";
    const std::string z = "0010202603021Z00100000";
    const std::string odd = "0010202603020800abc000";
    const auto records = [](const std::string& image) {
        std::vector<std::string> list;
        for (size_t pos = 0; pos + 22 <= image.size(); pos += 22)
            list.push_back(image.substr(pos, 22));
        std::sort(list.begin(), list.end());
        return list;
    };
    dir.Write("P.gdt", s + a + z + odd);
    // A fresh record that is none is not taken: blanks would hide the records after them.
    ASSERT_TRUE(ImportIntoPatient(dir.path(), "P", b + std::string(22, ' ')).ok());
    EXPECT_EQ(records(dir.Read("P.gdt")), records(s + a + z + odd + b));
    ASSERT_TRUE(RemoveReadings(dir.path(), "P", {ReadingFromRecord(a)}).ok());
    EXPECT_EQ(records(dir.Read("P.gdt")), records(s + z + odd + b));
}

TEST_F(Import, AFolderThatCannotBeSyncedIsToldAndRepeatingIsSafe) {
    {
        test::FileFaults faults;
        faults.FailFolderSync();
        const ImportOutcome out = ImportIntoPatient(dir.path(), "P", a + b);
        EXPECT_FALSE(out.ok());
        EXPECT_TRUE(out.unsynced());
        EXPECT_NE(out.write.detail.find(std::strerror(EIO)), std::string::npos);
        EXPECT_EQ(dir.Read("P.gdt"), a + b);
    }
    const ImportOutcome again = ImportIntoPatient(dir.path(), "P", a + b);
    EXPECT_TRUE(again.ok());
    EXPECT_EQ(again.newReadings, 0);
    EXPECT_EQ(dir.Read("P.gdt"), a + b);
}

TEST_F(Import, TwoProcessesImportingAtOnceKeepBothSets) {
    const std::string first = test::RandomStoredRecords(2000, 1, 1);
    const std::string second = test::RandomStoredRecords(2000, 2, 2);
    std::vector<pid_t> children;
    for (const std::string* set : {&first, &second}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            // Many small imports so that the two really interleave.
            for (size_t pos = 0; pos < set->size(); pos += 22 * 100) {
                ok = ok && ImportIntoPatient(dir.path(), "P", set->substr(pos, 22 * 100)).ok();
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::string expected = first + second;
    SortRecords(expected);
    EXPECT_EQ(dir.Read("P.gdt"), expected);
}

}  // namespace
}  // namespace dorvel
