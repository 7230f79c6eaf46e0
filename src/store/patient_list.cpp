#include "patient_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "data_folder.h"
#include "folder_lock.h"
#include "patient_data_file.h"
#include "profile_file.h"
#include "reading.h"
#include "reading_count.h"

namespace dorvel {

namespace {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Unreadable(const std::string& path) {
    const int error = errno;
    return path + ": " + std::strerror(error);
}

// IDs of the profile files in the folder, upper case, sorted, each once.
// Names that could not be patient IDs ("..info", names too long, control
// characters) are not patients and are skipped. A folder or profile that
// cannot be looked at is named in `unreadable`: leaving it out would drop
// a patient from the list.
std::vector<std::string> ProfileIds(const std::string& dataFolder, std::string& unreadable) {
    std::vector<std::string> ids;
    DIR* dir = Sys().opendir(dataFolder.c_str());
    if (dir == nullptr) {
        unreadable = Unreadable(dataFolder);
        return ids;
    }
    constexpr std::string_view ext = kProfileExtension;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            if (errno != 0)
                unreadable = Unreadable(dataFolder);
            break;
        }
        const std::string_view name = entry->d_name;
        if (name.size() <= ext.size())
            continue;
        const std::string_view tail = name.substr(name.size() - ext.size());
        bool isProfile = true;
        for (size_t i = 0; i < ext.size(); ++i)
            isProfile = isProfile && AsciiUpper(tail[i]) == AsciiUpper(ext[i]);
        if (!isProfile)
            continue;
        std::string id(name.substr(0, name.size() - ext.size()));
        for (char& c : id)
            c = AsciiUpper(c);
        if (!IsValidPatientId(id))
            continue;
        const std::string path = JoinPath(dataFolder, name);
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            if (errno != ENOENT)
                unreadable = Unreadable(path);
            continue;
        }
        if (!S_ISREG(info.st_mode))
            continue;
        ids.push_back(std::move(id));
    }
    ::closedir(dir);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

}  // namespace

int CountedReadings(std::string_view recordImage) {
    int count = 0;
    // Counted without a branch: the markers of a patient's readings follow
    // no pattern a branch predictor could learn.
    for (size_t pos = 0; pos + kRecordSize <= recordImage.size(); pos += kRecordSize)
        count += recordImage[pos + 3] != '0' + kControlMarker ? 1 : 0;
    return count;
}

PatientListRebuild RebuildPatientList(const std::string& dataFolder) {
    PatientListRebuild result;
    if (!FolderExists(dataFolder)) {
        result.write = {WriteStatus::Failed, dataFolder + ": Ordner fehlt"};
        return result;
    }
    // Reading needs no lock (files are replaced whole); writing the list
    // under it keeps the list in step with concurrent imports.
    DataFolderLock lock(dataFolder);
    std::string list;
    const auto fail = [&](std::string unreadable) {
        result.unreadable = std::move(unreadable);
        result.write = {WriteStatus::Failed, result.unreadable};
        return result;
    };
    std::string unreadable;
    const std::vector<std::string> ids = ProfileIds(dataFolder, unreadable);
    if (!unreadable.empty())
        return fail(std::move(unreadable));
    for (const std::string& id : ids) {
        std::string name, carer;
        const ReadResult profile =
            ReadWholeFile(PatientFilePath(dataFolder, id, kProfileExtension));
        if (profile.status == ReadStatus::Failed)
            return fail(profile.detail);
        if (profile.ok() && !profile.bytes.empty()) {
            ProfileRead read = ParseProfile(profile.bytes);
            name = std::move(read.profile.name);
            carer = std::move(read.profile.carer);
        }
        const FileReadingCount data =
            CountFileReadings(PatientFilePath(dataFolder, id, kDataFileExtension));
        if (data.unreadable)
            return fail(data.detail);
        const std::string count = std::to_string(data.count);
        const std::string* fields[] = {&id, &name, &count, &carer};
        for (const std::string* field : fields) {
            list.append(*field);
            list.push_back('\0');
        }
    }
    if (!lock.locked()) {
        result.write = {WriteStatus::Failed, lock.problem()};
        result.image.bytes = std::move(list);
        return result;
    }
    const std::string path = JoinPath(dataFolder, kPatientListFileName);
    result.write = WriteFileAtomic(path, list);
    if (!result.write.ok()) {
        result.image.bytes = std::move(list);
        return result;
    }
    ReadResult back = ReadWholeFile(path);
    if (!back.ok())
        return fail(back.detail);
    result.image.bytes = std::move(back.bytes);
    return result;
}

std::vector<PatientListFields> WalkPatientListFields(std::string_view image) {
    std::vector<PatientListFields> entries;
    entries.reserve(static_cast<size_t>(std::count(image.begin(), image.end(), '\0')) / 4);
    std::string_view fields[4];
    int have = 0;
    size_t pos = 0;
    size_t end = 0;
    while ((end = image.find('\0', pos)) != std::string_view::npos) {
        fields[have++] = image.substr(pos, end - pos);
        pos = end + 1;
        if (have == 4) {
            entries.push_back({fields[0], fields[1], fields[2], fields[3]});
            have = 0;
        }
    }
    return entries;
}

std::vector<PatientListEntry> WalkPatientList(std::string_view image) {
    std::vector<PatientListEntry> entries;
    for (const PatientListFields& f : WalkPatientListFields(image)) {
        entries.push_back(
            {std::string(f.id), std::string(f.name), std::string(f.count), std::string(f.carer)});
    }
    return entries;
}

}  // namespace dorvel
