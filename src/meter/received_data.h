#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/file_io.h"

namespace dorvel {

inline constexpr const char* kLowDataFileName = "gr_lowdata.dat";
inline constexpr const char* kDataFileName = "gr_data.dat";
inline constexpr int kGuestUserNumber = 121;

struct DecodeOutcome {
    enum class Kind {
        Decoded,      // both files written
        CheckFailed,  // a record was refused; gr_lowdata.dat written, gr_data.dat not
        WriteFailed,  // a file could not be written (detail says which)
    };
    Kind kind = Kind::Decoded;
    int recordCount = 0;  // records in gr_data.dat afterwards
    std::string detail;
};

// Progress of the decoder: the position 0..100 of the progress window.
using DecodeProgress = std::function<void(int percent)>;

inline constexpr const char* kCheckFailedMessage = "Error. cyclic redundancy check : Fail";

// Turns a complete download (payload and record count) into gr_lowdata.dat
// (the meter's records as sent, cut at the first 'S' or 'Z') and gr_data.dat
// (the converted records, sorted, without duplicates) in `dataFolder`.
DecodeOutcome RecordDecoder(std::string_view payload, int count, const std::string& dataFolder,
                            const DecodeProgress& progress = {});

struct ReceivedUser {
    int number = 0;  // 121 is the guest
    int count = 0;
    friend bool operator==(const ReceivedUser&, const ReceivedUser&) = default;
};

// Users of gr_data.dat's content with their record counts, in order of first appearance.
std::vector<ReceivedUser> ListReceivedUsers(std::string_view grData);

// "GUEST" for the guest, otherwise three digits.
std::string UserLabel(int userNumber);
int UserNumberFromLabel(std::string_view label);

// Every whole record of `grData` that belongs to the user named by `userText`.
std::string SelectUserRecords(std::string_view grData, std::string_view userText);

struct ImportOutcome {
    WriteResult write;     // how writing the patient file went
    int readingCount = 0;  // records in the patient file afterwards
    int newReadings = 0;   // records that were not in the file before
    bool ok() const { return write.ok(); }
    // The file holds the readings, but a power loss could still take them.
    bool unsynced() const { return write.status == WriteStatus::Unsynced; }
};

// Told after an unsynced import; importing the same records again only
// repeats the write, since duplicates are dropped.
inline constexpr const char* kImportUnsyncedMessage =
    "Die Messwerte stehen in der Patientendatei, sind aber nicht sicher auf dem Datenträger "
    "gespeichert: nach einem Stromausfall könnten sie fehlen. Sie noch einmal zuzuordnen ist "
    "unbedenklich, doppelte Messwerte werden nicht übernommen.";

// Merges `selected` (whole stored records) into the patient's data file:
// under the folder lock the file is read again, the records are combined,
// sorted, freed of duplicates and written back atomically. A file that
// cannot be written is reported, never passed off as saved.
ImportOutcome ImportIntoPatient(const std::string& dataFolder, std::string_view patientId,
                                std::string_view selected);

}  // namespace dorvel
