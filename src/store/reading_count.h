#pragma once

#include <string>

namespace dorvel {

// The readings of a patient data file that count for the patient list, read
// straight from the file.
struct FileReadingCount {
    int count = 0;            // whole records minus control readings; 0 when missing
    bool unreadable = false;  // it exists but could not be read
    std::string detail;       // path and reason when unreadable
};

// Counts what CountedReadings would count in the image ReadRecordFile gives
// (the records up to the first white-space character, at most one work
// buffer's worth), without keeping the image: the file is read in large
// blocks into one buffer and only the marker byte of each record is looked
// at. A clinic folder of thousands of full patients is counted at about
// the speed its bytes can be read.
FileReadingCount CountFileReadings(const std::string& path);

}  // namespace dorvel
