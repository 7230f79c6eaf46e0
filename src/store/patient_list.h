#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "file_io.h"

namespace dorvel {

// The patient list "patientlist.gdc": for every profile file in the data
// folder four NUL-terminated fields, ID (upper case), name, reading count
// without control readings ("%d") and carer name, in Windows-1252. It is a
// cache, rebuilt whole and read by nothing but the rebuild.
inline constexpr std::string_view kPatientListFileName = "patientlist.gdc";

// The bytes of the list file as read back after a rebuild.
struct PatientListImage {
    std::string bytes;
    bool empty() const { return bytes.empty(); }
    size_t size() const { return bytes.size(); }
};

struct PatientListEntry {
    std::string id;     // Windows-1252, upper case
    std::string name;   // Windows-1252
    std::string count;  // decimal text as stored
    std::string carer;  // Windows-1252
    friend bool operator==(const PatientListEntry&, const PatientListEntry&) = default;
};

struct PatientListRebuild {
    // The list as built. A list file that cannot be written (a read-only
    // folder) still leaves the list here, since it is only a cache; a file
    // that cannot be read leaves it empty.
    PatientListImage image;
    WriteResult write;
    // The folder or a patient's file that could not be read (path: reason).
    // The list is then not written: it would show a wrong name or count.
    std::string unreadable;
    bool ok() const { return unreadable.empty() && write.ok(); }
};

// Rebuilds the list file from the profile files ("*.info", any letter case)
// and data files of the folder, under the data folder lock, and reads it
// back. Entries come in ID order. File names that cannot be patient IDs are
// left out. Nothing is written when the folder does not exist or one of
// its files cannot be read. Where the lock cannot be taken (a read-only
// folder) the list is built all the same and not written.
PatientListRebuild RebuildPatientList(const std::string& dataFolder);

// The fields of one entry, pointing into the image.
struct PatientListFields {
    std::string_view id, name, count, carer;
};

// Walks an image four fields at a time. A field ends at its NUL byte, so
// the entries are the NUL bytes divided by four: a trailing entry without
// its fourth NUL is dropped.
std::vector<PatientListFields> WalkPatientListFields(std::string_view image);
std::vector<PatientListEntry> WalkPatientList(std::string_view image);

// Readings of a data file image that count for the list: whole records
// minus those with the control marker.
int CountedReadings(std::string_view recordImage);

}  // namespace dorvel
