#include "patient_data_file.h"

#include <algorithm>

#include "data_folder.h"
#include "folder_lock.h"

namespace dorvel {

RecordFile ReadRecordFile(const std::string& path) {
    RecordFile file;
    ReadResult read = ReadWholeFile(path);
    if (read.status == ReadStatus::Missing)
        return file;
    if (read.status == ReadStatus::Failed) {
        file.unreadable = true;
        file.detail = read.detail;
        return file;
    }
    std::string& bytes = read.bytes;
    // The file is one text token: it ends at the first white-space character.
    size_t end = bytes.size();
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
            end = i;
            file.cutShort = true;
            break;
        }
    }
    if (end >= kWorkBufferSize) {
        end = kMaxRecords * kRecordSize;
        file.cutShort = true;
    }
    end -= end % kRecordSize;
    bytes.resize(end);
    file.image = std::move(bytes);
    return file;
}

ReadingList LoadReadings(const std::string& dataFolder, std::string_view patientId,
                         std::string* problem) {
    const RecordFile file =
        ReadRecordFile(PatientFilePath(dataFolder, patientId, kDataFileExtension));
    if (problem != nullptr)
        *problem = file.unreadable ? file.detail : std::string();
    return ReadingsFromImage(file.image);
}

bool IsReadingRecord(std::string_view record) {
    return record.size() == kRecordSize &&
           record.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string ReadingRecords(std::string_view image) {
    std::string readings;
    readings.reserve(image.size());
    for (size_t pos = 0; pos + kRecordSize <= image.size(); pos += kRecordSize) {
        const std::string_view record = image.substr(pos, kRecordSize);
        if (IsReadingRecord(record))
            readings.append(record);
    }
    return readings;
}

std::string_view CutAtMarker(std::string_view image) {
    const size_t cut = image.find_first_of("SZ");
    return cut == std::string_view::npos ? image : image.substr(0, cut);
}

std::string DropMarkedRecords(std::string_view image) {
    std::string kept;
    kept.reserve(image.size());
    for (size_t pos = 0; pos + kRecordSize <= image.size(); pos += kRecordSize) {
        const std::string_view record = image.substr(pos, kRecordSize);
        if (record.find_first_of("SZ") == std::string_view::npos)
            kept.append(record);
    }
    return kept;
}

WriteResult SaveReadings(const std::string& dataFolder, std::string_view patientId,
                         const ReadingList& list) {
    std::string image;
    BuildRecordImage(list, image);
    if (!EnsureDataFolder(dataFolder))
        return {WriteStatus::Failed, dataFolder + ": cannot create"};
    DataFolderLock lock(dataFolder);
    if (!lock.locked())
        return {WriteStatus::Failed, lock.problem()};
    return WriteFileAtomic(PatientFilePath(dataFolder, patientId, kDataFileExtension),
                           DropMarkedRecords(image));
}

WriteResult RemoveReadings(const std::string& dataFolder, std::string_view patientId,
                           const std::vector<Reading>& readings, ReadingList* after) {
    if (!EnsureDataFolder(dataFolder))
        return {WriteStatus::Failed, dataFolder + ": cannot create"};
    DataFolderLock lock(dataFolder);
    if (!lock.locked())
        return {WriteStatus::Failed, lock.problem()};
    const std::string path = PatientFilePath(dataFolder, patientId, kDataFileExtension);
    const RecordFile file = ReadRecordFile(path);
    if (file.unreadable)
        return {WriteStatus::Failed, file.detail};
    if (file.cutShort) {
        // Part of the file lies beyond what the loader shows; rewriting it
        // would throw that part away.
        return {WriteStatus::Failed,
                path +
                    ": die Datei enthält Zeichen, die keine Messwerte sind, oder ist zu groß; sie "
                    "wird nicht überschrieben."};
    }
    std::vector<std::string> doomed;
    doomed.reserve(readings.size());
    for (const Reading& r : readings)
        doomed.push_back(RecordFromReading(r));
    std::sort(doomed.begin(), doomed.end());
    // Readings are written in list order, as after any deletion; records
    // that are none follow as they stood (a Reading would change or lose them).
    std::string kept, others;
    kept.reserve(file.image.size());
    for (size_t pos = 0; pos + kRecordSize <= file.image.size(); pos += kRecordSize) {
        const std::string_view record = std::string_view(file.image).substr(pos, kRecordSize);
        if (std::binary_search(doomed.begin(), doomed.end(), record))
            continue;
        (IsReadingRecord(record) ? kept : others).append(record);
    }
    std::string image;
    BuildRecordImage(ReadingsFromImage(kept), image);
    image += others;
    WriteResult result = WriteFileAtomic(path, image);
    if (result.ok() && after != nullptr)
        *after = ReadingsFromImage(image);
    return result;
}

}  // namespace dorvel
