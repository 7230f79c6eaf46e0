#include "data_folder.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "file_io.h"

namespace dorvel {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

// The space and Windows-1252's no-break space.
bool IsBlank(char c) {
    return c == ' ' || static_cast<unsigned char>(c) == 0xA0;
}

}  // namespace

std::string ResolveDataFolder(std::string_view workingFolder) {
    std::string folder(workingFolder);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    size_t start = 0;
    while (start <= folder.size()) {
        size_t end = folder.find('/', start);
        if (end == std::string::npos)
            end = folder.size();
        if (EqualsNoCase(std::string_view(folder).substr(start, end - start), "DATA")) {
            return folder;
        }
        start = end + 1;
    }
    return JoinPath(folder, "DATA");
}

bool EnsureDataFolder(const std::string& dataFolder) {
    if (FolderExists(dataFolder))
        return true;
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = dataFolder.find('/', pos + 1);
        partial = dataFolder.substr(0, pos);
        if (partial.empty() || FolderExists(partial))
            continue;
        if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return FolderExists(dataFolder);
}

std::optional<std::string> PatientIdProblem(std::string_view id) {
    if (id.empty())
        return std::string("Bitte eine Patienten-ID eingeben.");
    if (id.size() > kMaxPatientIdLength) {
        return std::string("Die Patienten-ID darf höchstens 19 Zeichen lang sein.");
    }
    if (id.front() == '.') {
        return std::string("Die Patienten-ID darf nicht mit einem Punkt beginnen.");
    }
    // A blank at either end is invisible in the patient box and lost when a
    // text is trimmed: "Anna " would end up as another patient's "ANNA".
    if (IsBlank(id.front()) || IsBlank(id.back())) {
        return std::string(
            "Die Patienten-ID darf nicht mit einem Leerzeichen beginnen oder enden.");
    }
    for (unsigned char c : id) {
        if (c < 0x20 || c == 0x7F) {
            return std::string("Die Patienten-ID darf keine Steuerzeichen enthalten.");
        }
        if (c == '/' || c == '\\') {
            return std::string("Die Patienten-ID darf keine Schrägstriche (/ oder \\) enthalten.");
        }
    }
    return std::nullopt;
}

std::string PatientFilePath(const std::string& dataFolder, std::string_view id,
                            std::string_view extension) {
    std::string name(id);
    name += extension;
    std::string exact = JoinPath(dataFolder, name);
    if (FileExists(exact))
        return exact;
    // The same name in another letter case, or else the spelling of the
    // patient's other file: a data file made for "KURZ" beside "kurz.info"
    // becomes "kurz.gdt", so a patient's files never differ in spelling.
    std::string sameFile;
    std::string siblingStem;
    if (DIR* dir = ::opendir(dataFolder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view file = entry->d_name;
            if (EqualsNoCase(file, name)) {
                sameFile = file;
                break;
            }
            for (std::string_view other : {kProfileExtension, kDataFileExtension}) {
                if (other != extension && file.size() == id.size() + other.size() &&
                    EqualsNoCase(file.substr(id.size()), other) &&
                    EqualsNoCase(file.substr(0, id.size()), id)) {
                    siblingStem = file.substr(0, id.size());
                }
            }
        }
        ::closedir(dir);
    }
    if (!sameFile.empty())
        return JoinPath(dataFolder, sameFile);
    if (!siblingStem.empty())
        return JoinPath(dataFolder, siblingStem + std::string(extension));
    return exact;
}

std::vector<std::string> PatientFileNames(const std::string& dataFolder, std::string_view id,
                                          std::string_view extension) {
    std::string name(id);
    name += extension;
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(dataFolder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (EqualsNoCase(entry->d_name, name))
                names.emplace_back(entry->d_name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace dorvel
