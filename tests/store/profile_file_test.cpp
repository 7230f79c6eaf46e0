#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "store/file_io.h"
#include "store/profile_file.h"
#include "support/temp_folder.h"

namespace dorvel {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;

// A profile with every field set apart from its default.
void FillProfile(PatientProfile& p, UserSettings& s) {
    p.name = "J\xFCrgen M\xFCller-\xC4\xF6\xDF";  // Jürgen Müller-Äöß in Windows-1252
    p.sex = 1;
    p.birthDate = {1948, 2, 29};
    p.telephone = "0711 12345";
    p.address =
        "Hauptstra\xDF"
        "e 1\r\n70173 Stuttgart";
    p.carer = "Schwester Br\xFCnhild";
    p.carerRemark = "nachts";
    p.diabetesType = 3;
    p.diagnosisDate = {2010, 12, 31};
    p.treatInsulinPump = 1;
    p.treatOther = 1;
    p.treatmentComments = "\x80 50";  // euro sign
    s.dateFormat = 0;
    s.timeFormat = 0;
    s.separateMeals = 0;
    s.slotStart[7] = {21, 30, 15};
    s.glucoseUnit = 1;
    s.beforeMeal = {70, 130};
    s.afterMeal = {5, 1000};
}

// The file image of the default profile, field by field.
std::string DefaultImage() {
    std::string image;
    const char* fields[] = {
        "",           "0",        "1900-01-01", "",         "",         "",         "",
        "",           "",         "",           "",         "",         "",         "",
        "",           "",         "",           "",         "",         "",         "0",
        "2002-01-01", "",         "",           "0",        "0",        "0",        "0",
        "0",          "0",        "",           "2",        "0",        "1",        "00:00:00",
        "05:00:00",   "08:00:00", "11:00:00",   "13:00:00", "15:00:00", "17:00:00", "19:00:00",
        "0",          " 65",      "120",        "100",      "155",      " 65",      "155"};
    static_assert(sizeof fields / sizeof fields[0] == kProfileFieldCount);
    for (size_t i = 0; i < std::size(fields); ++i) {
        if (i > 0)
            image.push_back('\0');
        image += fields[i];
    }
    return image;
}

// Field `index` (1-based) of a profile image.
std::string_view FieldOf(std::string_view image, int index) {
    for (int i = 1; i < index; ++i)
        image.remove_prefix(image.find('\0') + 1);
    return image.substr(0, image.find('\0'));
}

// The default image with field `index` replaced.
std::string WithField(int index, std::string_view value) {
    std::string image = DefaultImage();
    const size_t start = static_cast<size_t>(FieldOf(image, index).data() - image.data());
    image.replace(start, FieldOf(image, index).size(), value);
    return image;
}

TEST(ProfileFile, DefaultsAreWrittenInTheFileFormat) {
    const std::string image = FormatProfile(PatientProfile{}, UserSettings{});
    EXPECT_EQ(image, DefaultImage());
    EXPECT_NE(image.back(), '\0');
}

TEST(ProfileFile, RoundTripKeepsTextBytesAndForcesDisplayFormats) {
    test::TempFolder dir;
    PatientProfile p;
    UserSettings s;
    FillProfile(p, s);
    ASSERT_TRUE(WriteProfile(dir.path(), "M\xDCLLER", p, s).ok());
    const std::string bytes = dir.Read("M\xDCLLER.info");
    EXPECT_EQ(FieldOf(bytes, 1), p.name);
    EXPECT_EQ(FieldOf(bytes, 42), "21:30:15");
    EXPECT_EQ(FieldOf(bytes, 46), "  5");
    EXPECT_EQ(FieldOf(bytes, 47), "1000");

    const ProfileRead read = ReadProfile(dir.path(), "M\xDCLLER");
    EXPECT_TRUE(read.found);
    EXPECT_EQ(read.fieldsPresent, kProfileFieldCount);
    EXPECT_FALSE(read.overlong);
    EXPECT_EQ(read.profile, p);
    UserSettings expected = s;
    expected.dateFormat = 2;
    expected.timeFormat = 1;
    EXPECT_EQ(read.settings, expected);
}

TEST(ProfileFile, MissingEmptyAndShortFiles) {
    test::TempFolder dir;
    // No file: defaults with 12-hour times.
    ProfileRead missing = ReadProfile(dir.path(), "NOBODY");
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.profile, PatientProfile{});
    EXPECT_EQ(missing.settings, UserSettings{});

    // A 0-byte profile exists: defaults, but loaded as an existing profile.
    dir.Write("EMPTY.info", "");
    const ProfileRead empty = ReadProfile(dir.path(), "EMPTY");
    EXPECT_TRUE(empty.found);
    EXPECT_EQ(empty.fieldsPresent, 0);
    EXPECT_EQ(empty.profile, PatientProfile{});
    EXPECT_EQ(empty.settings.timeFormat, 1);

    // A file cut after the carer: the rest keeps its defaults.
    const ProfileRead cut = ParseProfile(
        "Anna\0"
        "1\0"
        "1970-05-04\0\0\0\0\0\0\0\0\0\0Carla"s);
    EXPECT_EQ(cut.fieldsPresent, 13);
    EXPECT_EQ(cut.profile.name, "Anna");
    EXPECT_EQ(cut.profile.sex, 1);
    EXPECT_EQ(cut.profile.birthDate, (Date{1970, 5, 4}));
    EXPECT_EQ(cut.profile.carer, "Carla");
    EXPECT_EQ(cut.profile.diagnosisDate, (Date{2002, 1, 1}));
    EXPECT_EQ(cut.settings.beforeMeal, (TargetRange{65, 120}));
}

TEST(ProfileFile, FieldsThatDoNotParseTakeTheirDefault) {
    // Each field as read, written back in the file's own form.
    const struct {
        int field;
        std::string_view text, read;
    } cases[] = {
        {3, "1900-02-29", "1900-01-01"},
        {3, "29.02.2000", "2000-02-29"},
        {3, "gestern", "1900-01-01"},
        {22, "2011-13-01", "2002-01-01"},
        {35, "25:00:00", "00:00:00"},
        {36, "25:00:00", "05:00:00"},
        {36, "06:60:00", "05:00:00"},
        {36, " 6:15", "06:15:00"},
        {44, "  7", "  7"},
        {44, "", " 65"},
        {49, "x", "155"},
        {49, "180\0junk"sv, "180"},
        {43, "7", "0"},
        {34, "2", "1"},
        {21, "-1", "0"},
        {2, " 1", "1"},
    };
    for (const auto& c : cases) {
        const ProfileRead read = ParseProfile(WithField(c.field, c.text));
        EXPECT_EQ(FieldOf(FormatProfile(read.profile, read.settings), c.field), c.read)
            << "field " << c.field << " = '" << c.text << "'";
    }
}

TEST(ProfileFile, OverlongTextIsCutAtItsCapacityWithoutShiftingLaterFields) {
    const std::string longName(450, 'x');
    const ProfileRead read = ParseProfile(WithField(1, longName));
    EXPECT_TRUE(read.overlong);
    EXPECT_EQ(read.profile.name, std::string(199, 'x'));
    EXPECT_EQ(read.fieldsPresent, kProfileFieldCount);
    EXPECT_EQ(read.settings.overall.high, 155);

    // The writer never produces such a file, nor lets an embedded NUL shift fields.
    PatientProfile p;
    p.telephone = std::string(30, '1');
    p.remark = "vor\0nach"s;
    p.carer = "Carla";
    const ProfileRead back = ParseProfile(FormatProfile(p, UserSettings{}));
    EXPECT_FALSE(back.overlong);
    EXPECT_EQ(back.profile.telephone, std::string(19, '1'));
    EXPECT_EQ(back.profile.remark, "vor");
    EXPECT_EQ(back.profile.carer, "Carla");
}

TEST(ProfileFile, RefusedIdsAndReadOnlyFilesAreReportedNotWritten) {
    test::TempFolder dir;
    for (const char* bad : {"../x", "a/b", "12345678901234567890", ".x"}) {
        const WriteResult write = WriteProfile(dir.path(), bad, {}, {});
        EXPECT_EQ(write.status, WriteStatus::Failed) << bad;
        EXPECT_FALSE(write.detail.empty());
        const ProfileRead read = ReadProfile(dir.path(), bad);
        EXPECT_FALSE(read.found);
        EXPECT_FALSE(read.problem.empty());
    }
    EXPECT_FALSE(FileExists(dir.File("x.info")));
    EXPECT_FALSE(FileExists(dir.File("../x.info")));

    dir.Write("RO.info", "old");
    ::chmod(dir.File("RO.info").c_str(), 0444);
    EXPECT_EQ(WriteProfile(dir.path(), "RO", {}, {}).status, WriteStatus::ReadOnly);
    EXPECT_EQ(dir.Read("RO.info"), "old");
}

TEST(ProfileFile, RemovingAPatientTakesTheDataFileOnlyWithItsProfile) {
    test::TempFolder dir;
    dir.Write("a1.info", "Anna");
    dir.Write("A1.gdt", std::string(22, '1'));
    dir.Write("B2.gdt", std::string(22, '1'));  // data without a profile stays
    dir.Write("C3.info", "Carl");
    dir.Write("C3.gdt", std::string(22, '1'));
    ::chmod(dir.File("C3.gdt").c_str(), 0444);

    EXPECT_TRUE(RemovePatientFiles(dir.path(), "A1").ok());
    EXPECT_FALSE(FileExists(dir.File("a1.info")));
    EXPECT_FALSE(FileExists(dir.File("A1.gdt")));
    EXPECT_TRUE(RemovePatientFiles(dir.path(), "B2").ok());
    EXPECT_TRUE(FileExists(dir.File("B2.gdt")));
    EXPECT_EQ(RemovePatientFiles(dir.path(), "C3").status, WriteStatus::ReadOnly);
    EXPECT_TRUE(FileExists(dir.File("C3.info")));
    EXPECT_TRUE(FileExists(dir.File("C3.gdt")));
    EXPECT_EQ(RemovePatientFiles(dir.path(), "../C3").status, WriteStatus::Failed);
}

TEST(ProfileFile, AnIdReachingTwoFilesThatDifferOnlyInCaseRemovesNothing) {
    // On a case-sensitive disk "abc.info" and "ABC.info" are two patients
    // the patient box shows as one; the ID cannot say whose files to remove.
    struct Case {
        const char* what;
        std::vector<std::string> files;
        std::vector<std::string> named;  // the clashing files the refusal names
    };
    const Case cases[] = {
        {"two profiles", {"abc.info", "ABC.info", "ABC.gdt"}, {"ABC.info", "abc.info"}},
        {"two data files", {"Abc.info", "abc.gdt", "ABC.gdt"}, {"ABC.gdt", "abc.gdt"}},
    };
    for (const Case& c : cases) {
        test::TempFolder dir;
        for (const std::string& f : c.files)
            dir.Write(f, "x");
        for (const char* id : {"ABC", "abc"}) {
            const WriteResult r = RemovePatientFiles(dir.path(), id);
            EXPECT_EQ(r.status, WriteStatus::Failed) << c.what << " " << id;
            for (const std::string& f : c.named)
                EXPECT_NE(r.detail.find(f), std::string::npos) << c.what << ": " << r.detail;
            for (const std::string& f : c.files)
                EXPECT_TRUE(FileExists(dir.File(f))) << c.what << " " << f;
        }
    }
}

}  // namespace
}  // namespace dorvel
