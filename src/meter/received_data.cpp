#include "received_data.h"

#include <cstdio>

#include "meter/protocol.h"
#include "meter/record_sort.h"
#include "store/data_folder.h"
#include "store/folder_lock.h"
#include "store/patient_data_file.h"
#include "store/reading.h"

namespace dorvel {

DecodeOutcome RecordDecoder(std::string_view payload, int count, const std::string& dataFolder,
                            const DecodeProgress& progress) {
    DecodeOutcome outcome;
    if (!EnsureDataFolder(dataFolder)) {
        return {DecodeOutcome::Kind::WriteFailed, 0, dataFolder + ": cannot create the folder"};
    }
    if (count < 0)
        count = 0;
    // The meter sent at least `count` records; never read past the payload.
    const size_t available = payload.size() / kMeterRecordSize;
    const size_t n = std::min(static_cast<size_t>(count), available);

    std::string converted;
    bool refused = false;
    converted.reserve(n * kRecordSize);
    for (size_t i = 0; i < n; ++i) {
        if (progress)
            progress(static_cast<int>(static_cast<double>(i) / count * 100.0));
        const std::string_view record = payload.substr(i * kMeterRecordSize, kMeterRecordSize);
        if (!CheckRecord(record)) {
            refused = true;
            break;
        }
        converted += DecodeRecord(record);
    }

    DataFolderLock lock(dataFolder);
    if (!lock.locked())
        return {DecodeOutcome::Kind::WriteFailed, 0, lock.problem()};

    // A read-only file keeps its content without a message; every other
    // failure, a folder that could not be synced too, is told.
    const WriteResult low =
        WriteFileAtomic(JoinPath(dataFolder, kLowDataFileName), CutAtMarker(payload));
    if (!low.ok() && low.status != WriteStatus::ReadOnly) {
        return {DecodeOutcome::Kind::WriteFailed, 0, low.detail};
    }
    if (refused)
        return {DecodeOutcome::Kind::CheckFailed, 0, kCheckFailedMessage};
    if (progress)
        progress(100);

    SortRecords(converted);
    const std::string dataPath = JoinPath(dataFolder, kDataFileName);
    const WriteResult data = WriteFileAtomic(dataPath, DropMarkedRecords(converted));
    if (!data.ok() && data.status != WriteStatus::ReadOnly) {
        return {DecodeOutcome::Kind::WriteFailed, 0, data.detail};
    }
    // What the panel lists is what the file holds (a read-only gr_data.dat
    // keeps its old content). A file that cannot be read back holds nothing
    // we could list: that is a failure, not a download without users.
    const ReadResult back = ReadWholeFile(dataPath);
    if (!back.ok()) {
        return {DecodeOutcome::Kind::WriteFailed, 0,
                dataPath + " kann nicht gelesen werden: " + back.detail};
    }
    outcome.recordCount = static_cast<int>(back.bytes.size() / kRecordSize);
    return outcome;
}

std::vector<ReceivedUser> ListReceivedUsers(std::string_view grData) {
    std::vector<ReceivedUser> users;
    for (size_t pos = 0; pos + kRecordSize <= grData.size(); pos += kRecordSize) {
        const int number =
            (grData[pos] - '0') * 100 + (grData[pos + 1] - '0') * 10 + (grData[pos + 2] - '0');
        bool found = false;
        for (ReceivedUser& user : users) {
            if (user.number == number) {
                ++user.count;
                found = true;
                break;
            }
        }
        if (!found)
            users.push_back({number, 1});
    }
    return users;
}

std::string UserLabel(int userNumber) {
    if (userNumber == kGuestUserNumber)
        return "GUEST";
    char text[16];
    std::snprintf(text, sizeof text, "%.3d", userNumber);
    return text;
}

int UserNumberFromLabel(std::string_view label) {
    if (label == "GUEST")
        return kGuestUserNumber;
    int number = 0;
    for (char c : label)
        number = number * 10 + (c - '0');
    return number;
}

std::string SelectUserRecords(std::string_view grData, std::string_view userText) {
    const int wanted = UserNumberFromLabel(userText);
    std::string selected;
    for (size_t pos = 0; pos + kRecordSize <= grData.size(); pos += kRecordSize) {
        const int number =
            (grData[pos] - '0') * 100 + (grData[pos + 1] - '0') * 10 + (grData[pos + 2] - '0');
        if (number == wanted)
            selected.append(grData.substr(pos, kRecordSize));
    }
    return selected;
}

ImportOutcome ImportIntoPatient(const std::string& dataFolder, std::string_view patientId,
                                std::string_view selected) {
    ImportOutcome outcome;
    if (auto problem = PatientIdProblem(patientId)) {
        outcome.write = {WriteStatus::Failed, *problem};
        return outcome;
    }
    if (!EnsureDataFolder(dataFolder)) {
        outcome.write = {WriteStatus::Failed, dataFolder + ": cannot create the folder"};
        return outcome;
    }
    // Selected records that are not a whole number of records are not used.
    const std::string_view fresh =
        selected.size() % kRecordSize == 0 ? selected : std::string_view();

    DataFolderLock lock(dataFolder);
    if (!lock.locked()) {
        outcome.write = {WriteStatus::Failed, lock.problem()};
        return outcome;
    }
    const std::string path = PatientFilePath(dataFolder, patientId, kDataFileExtension);
    const RecordFile old = ReadRecordFile(path);
    if (old.unreadable) {
        // Writing now would replace readings we could not see.
        outcome.write = {WriteStatus::Failed, old.detail};
        return outcome;
    }
    if (old.cutShort) {
        // Part of the file lies beyond what the loader can read; rewriting
        // it would throw that part away.
        outcome.write = {WriteStatus::Failed,
                         path +
                             ": die Datei enthält Zeichen, die keine Messwerte sind, oder ist zu "
                             "groß; sie wird nicht überschrieben."};
        return outcome;
    }
    // Every stored record stays, byte for byte, also one that is no reading
    // ('S', 'Z' or other letters): the loader lists it, so dropping it here
    // would lose what the user sees. Of the fresh records only readings are
    // taken: anything else (white space above all) could hide the rest of
    // the file from the loader.
    size_t before = 0;
    const std::string combined = MergeRecords(old.image, ReadingRecords(fresh), &before);

    if (combined.size() / kRecordSize > kMaxRecords) {
        outcome.write = {WriteStatus::Failed,
                         "Der Patient hätte mehr als " + std::to_string(kMaxRecords) +
                             " Messwerte; die Messwerte werden nicht übernommen."};
        outcome.readingCount = static_cast<int>(before);
        return outcome;
    }
    outcome.readingCount = static_cast<int>(combined.size() / kRecordSize);
    outcome.newReadings = outcome.readingCount - static_cast<int>(before);
    outcome.write = WriteFileAtomic(path, combined);
    return outcome;
}

}  // namespace dorvel
