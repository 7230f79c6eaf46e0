#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/file_io.h"
#include "store/patient_list.h"
#include "store/profile_file.h"
#include "support/file_faults.h"
#include "support/records.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

using namespace std::string_literals;

std::string ProfileImage(std::string name, std::string carer) {
    PatientProfile p;
    p.name = std::move(name);
    p.carer = std::move(carer);
    return FormatProfile(p, UserSettings{});
}

TEST(PatientList, EntriesFromProfilesAndDataFilesInAnyLetterCase) {
    test::TempFolder dir;
    // Lower-case profile, upper-case data file: 2 records, one a control reading.
    dir.Write("a1.info", ProfileImage("Anna \xC4rger", "Carla"));
    dir.Write("A1.gdt", test::StoredRecord(1, 5, 2025, 1, 2, 8, 0, 100) +
                            test::StoredRecord(1, 0, 2025, 1, 2, 9, 0, 120));
    dir.Write("B2.INFO", "");                         // 0-byte profile: empty name and carer
    dir.Write("b2.gdt", "");                          // 0-byte data file: count 0
    dir.Write("c3.info", ProfileImage("Chris", ""));  // no data file at all
    dir.Write("d4.gdt", test::StoredRecord(1, 0, 2025, 1, 2, 9, 0, 120));  // no profile: no entry
    dir.Write("notes.txt", "x");
    ASSERT_EQ(::mkdir(dir.File("folder.info").c_str(), 0755), 0);

    const PatientListRebuild rebuild = RebuildPatientList(dir.path());
    ASSERT_TRUE(rebuild.write.ok()) << rebuild.write.detail;
    const std::string expected =
        "A1\0Anna \xC4rger\0"
        "1\0Carla\0"
        "B2\0\0"
        "0\0\0"
        "C3\0Chris\0"
        "0\0\0"s;
    EXPECT_EQ(rebuild.image.bytes, expected);
    EXPECT_EQ(dir.Read("patientlist.gdc"), expected);

    const auto entries = WalkPatientList(rebuild.image.bytes);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], (PatientListEntry{"A1", "Anna \xC4rger", "1", "Carla"}));
    EXPECT_EQ(entries[2].name, "Chris");
}

TEST(PatientList, NoProfilesGiveAnEmptyFileAndImage) {
    test::TempFolder dir;
    dir.Write("patientlist.gdc",
              "OLD\0x\0"
              "1\0\0"s);
    dir.Write("x.gdt", "");
    const PatientListRebuild rebuild = RebuildPatientList(dir.path());
    EXPECT_TRUE(rebuild.write.ok());
    EXPECT_TRUE(rebuild.image.empty());
    EXPECT_TRUE(FileExists(dir.File("patientlist.gdc")));
    EXPECT_EQ(dir.Read("patientlist.gdc"), "");
}

TEST(PatientList, NamesThatCannotBeIdsAreNotPatients) {
    test::TempFolder dir;
    dir.Write(".info", "x");
    dir.Write(".hidden.info", "x");
    dir.Write("12345678901234567890.info", "x");
    dir.Write("ok.info", "x");
    const auto entries = WalkPatientList(RebuildPatientList(dir.path()).image.bytes);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, "OK");
}

TEST(PatientList, AListThatCannotBeWrittenIsStillBuiltAndReported) {
    test::TempFolder dir;
    const PatientListRebuild missing = RebuildPatientList(dir.File("nowhere"));
    EXPECT_FALSE(missing.write.ok());
    EXPECT_FALSE(FolderExists(dir.File("nowhere")));

    // The physician still sees every patient; only the cache file stays as it was.
    const std::string paul(
        "P\0Paul\0"
        "0\0\0",
        10);
    dir.Write("p.info", "Paul");
    dir.Write("patientlist.gdc", "");
    ::chmod(dir.File("patientlist.gdc").c_str(), 0444);
    const PatientListRebuild readOnly = RebuildPatientList(dir.path());
    EXPECT_EQ(readOnly.write.status, WriteStatus::ReadOnly);
    EXPECT_EQ(readOnly.image.bytes, paul);
    EXPECT_EQ(dir.Read("patientlist.gdc"), "");

    // No lock to be had (here a lock file that is a link): nothing written, the list all the same.
    ::chmod(dir.File("patientlist.gdc").c_str(), 0644);
    ::unlink(dir.File("dorvel.lock").c_str());
    ASSERT_EQ(::symlink(dir.File("elsewhere").c_str(), dir.File("dorvel.lock").c_str()), 0);
    const PatientListRebuild unlocked = RebuildPatientList(dir.path());
    EXPECT_FALSE(unlocked.write.ok());
    EXPECT_EQ(unlocked.image.bytes, paul);
    EXPECT_EQ(dir.Read("patientlist.gdc"), "");
}

TEST(PatientList, AFileOrFolderThatCannotBeReadFailsTheRebuild) {
    // Listed anyway, the patient would show an empty name or no readings.
    test::TempFolder dir;
    dir.Write("ANNA.info", ProfileImage("Anna", ""));
    dir.Write("ANNA.gdt", test::StoredRecord(1, 0, 2025, 1, 2, 9, 0, 120));
    ASSERT_TRUE(RebuildPatientList(dir.path()).ok());
    const std::string before = dir.Read("patientlist.gdc");
    for (const std::string failing : {"ANNA.gdt", "ANNA.info"}) {
        test::FileFaults faults;
        faults.FailReading(failing);
        const PatientListRebuild rebuild = RebuildPatientList(dir.path());
        EXPECT_FALSE(rebuild.ok());
        EXPECT_NE(rebuild.unreadable.find(failing), std::string::npos) << rebuild.unreadable;
        EXPECT_TRUE(rebuild.image.empty());
        EXPECT_EQ(dir.Read("patientlist.gdc"), before);
    }
    test::FileFaults faults;
    faults.FailListing(EIO);
    EXPECT_FALSE(RebuildPatientList(dir.path()).ok());
    EXPECT_EQ(dir.Read("patientlist.gdc"), before);
}

}  // namespace
}  // namespace dorvel
