#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "store/data_folder.h"
#include "store/file_io.h"
#include "support/file_faults.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

TEST(DataFolder, AddsDataUnlessThePathAlreadyHasIt) {
    EXPECT_EQ(ResolveDataFolder("/home/anna"), "/home/anna/DATA");
    EXPECT_EQ(ResolveDataFolder("/home/anna/"), "/home/anna/DATA");
    EXPECT_EQ(ResolveDataFolder("/srv/DATA"), "/srv/DATA");
    EXPECT_EQ(ResolveDataFolder("/srv/data/praxis"), "/srv/data/praxis");
    EXPECT_EQ(ResolveDataFolder("/srv/database"), "/srv/database/DATA");
}

TEST(DataFolder, IsCreatedWithItsParents) {
    test::TempFolder dir;
    const std::string folder = dir.File("a/b/DATA");
    EXPECT_TRUE(EnsureDataFolder(folder));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(EnsureDataFolder(folder));
}

TEST(DataFolder, ProblemSaysWhyItsFilesCannotBeReached) {
    test::TempFolder dir;
    EXPECT_FALSE(FolderProblem(dir.path()).has_value());
    test::FileFaults faults;
    faults.FailListing(EACCES);
    EXPECT_NE(FolderProblem(dir.path()).value_or("").find(std::strerror(EACCES)),
              std::string::npos);
}

TEST(PatientId, UnsafeIdsAreRefusedWithAReason) {
    for (const char* good : {"default", "MUELLER01", "a b", "x.y", "1234567890123456789"}) {
        EXPECT_TRUE(IsValidPatientId(good)) << good;
    }
    for (const char* bad : {"", "../x", "a/b", "a\\b", ".hidden", "12345678901234567890",
                            "tab\there", "Anna ", " Anna", "Anna\xa0"}) {
        const auto problem = PatientIdProblem(bad);
        ASSERT_TRUE(problem.has_value()) << bad;
        EXPECT_FALSE(problem->empty());
    }
}

TEST(PatientFile, APatientsFilesKeepOneSpelling) {
    test::TempFolder dir;
    const std::string folder = dir.path();
    WriteFileAtomic(folder + "/kurz.info", "Kurz");
    WriteFileAtomic(folder + "/Lang.gdt", "");
    EXPECT_EQ(PatientFilePath(folder, "KURZ", kDataFileExtension), folder + "/kurz.gdt");
    EXPECT_EQ(PatientFilePath(folder, "LANG", kProfileExtension), folder + "/Lang.info");
    // Only the whole ID counts.
    EXPECT_EQ(PatientFilePath(folder, "KUR", kDataFileExtension), folder + "/KUR.gdt");
}

}  // namespace
}  // namespace dorvel
