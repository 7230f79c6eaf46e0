#pragma once

#include <string>
#include <string_view>

#include "file_io.h"
#include "reading.h"

namespace dorvel {

// What a patient data file holds, as the loader sees it.
struct RecordFile {
    std::string image;        // whole records only
    bool unreadable = false;  // it exists but could not be read
    bool cutShort = false;    // ended early: white space or more than the data model holds
    std::string detail;
};

// Reads a file of stored records: the content up to its first white-space
// character, capped at one 1,000,000-byte image, whole records only. A
// missing file is an empty image.
RecordFile ReadRecordFile(const std::string& path);

// The patient's readings, sorted. A missing file gives an empty list; so does
// one that cannot be read, and `problem` (when given) then says why.
ReadingList LoadReadings(const std::string& dataFolder, std::string_view patientId,
                         std::string* problem = nullptr);

// The image cut before its first 'S' or 'Z' (the meter's raw records file).
std::string_view CutAtMarker(std::string_view image);

// The whole records of `image` that hold neither 'S' nor 'Z'. Those letters
// mark dropped duplicates and never belong in a stored file; a record that
// holds one is left out by itself rather than cutting off every record after it.
std::string DropMarkedRecords(std::string_view image);

// True when every character of the record is a decimal digit. Only such a
// record is a reading that comes back unchanged from a Reading; any other
// is kept in the file byte for byte by every write.
bool IsReadingRecord(std::string_view record);

// The whole records of `image` that are readings.
std::string ReadingRecords(std::string_view image);

// Writes `list` as the patient's data file (atomic replace, under the data
// folder lock). A read-only file is left alone and reported as such; the
// caller tells the user.
WriteResult SaveReadings(const std::string& dataFolder, std::string_view patientId,
                         const ReadingList& list);

// Removes the given readings from the patient's file: under the folder lock
// the file is read again, every record equal to one of `readings` is dropped
// and the rest written back, so readings another copy of the program has
// imported meanwhile stay. A file the loader sees only in part is left as
// it is (Failed), and records that are no readings stay as they stand.
// Returns the file's readings afterwards in `after`.
WriteResult RemoveReadings(const std::string& dataFolder, std::string_view patientId,
                           const std::vector<Reading>& readings, ReadingList* after = nullptr);

}  // namespace dorvel
