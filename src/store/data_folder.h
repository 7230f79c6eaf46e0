#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvel {

// The folder that holds every patient file: the working folder plus "DATA",
// unless the working folder already lies in (or is) a DATA folder, in any
// letter case.
std::string ResolveDataFolder(std::string_view workingFolder);

// Creates the data folder (and its parents) when missing. False when it cannot be made.
bool EnsureDataFolder(const std::string& dataFolder);

inline constexpr size_t kMaxPatientIdLength = 19;

// Patient IDs become file names. Returns the reason an ID is refused (UTF-8,
// for the user), or nothing when it is acceptable.
std::optional<std::string> PatientIdProblem(std::string_view id);
inline bool IsValidPatientId(std::string_view id) {
    return !PatientIdProblem(id).has_value();
}

// "<folder>/<id><extension>". When a file whose name differs only in letter
// case already exists (IDs coming from the patient list are upper case),
// that file's path is returned, so the same patient never gets two files.
// A file still to be made takes the spelling of the patient's other file
// (profile or data file) when there is one.
std::string PatientFilePath(const std::string& dataFolder, std::string_view id,
                            std::string_view extension);

// The names of every file in the folder that is "<id><extension>" in any
// letter case, sorted. More than one means the folder holds files of
// different patients the ID cannot tell apart (a hand-assembled folder on a
// case-sensitive disk).
std::vector<std::string> PatientFileNames(const std::string& dataFolder, std::string_view id,
                                          std::string_view extension);

inline constexpr std::string_view kDataFileExtension = ".gdt";
inline constexpr std::string_view kProfileExtension = ".info";

}  // namespace dorvel
