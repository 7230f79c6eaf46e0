#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "file_io.h"
#include "user_settings.h"

namespace dorvel {

// The profile file "<id>.info": 49 NUL-separated fields in Windows-1252,
// the patient's personal data followed by the UserSettings. No header, no
// line break, no NUL after the last field.
inline constexpr int kProfileFieldCount = 49;

// Capacities of the text fields in bytes including the terminating NUL, so
// a field holds one character less. The settings sheet limits its edits to
// these; the reader and the writer cut anything longer.
namespace profile_capacity {
inline constexpr size_t kName = 200;
inline constexpr size_t kTelephone = 20;  // also mobile, fax and the physician's numbers
inline constexpr size_t kEmail = 50;      // also the physician's
inline constexpr size_t kAddress = 500;
inline constexpr size_t kCareHome = 200;
inline constexpr size_t kRemark = 1000;  // also carer remark, diagnosis and treatment comments
inline constexpr size_t kRoom = 100;     // also bed, physician, hospital
inline constexpr size_t kCarer = 200;
inline constexpr size_t kComplications = 200;
}  // namespace profile_capacity

struct ProfileRead {
    PatientProfile profile;
    UserSettings settings;
    bool found = false;       // the file exists; otherwise everything is the default
    bool unreadable = false;  // it exists but could not be read; defaults
    int fieldsPresent = 0;    // fields the file held; fewer than 49 left the rest at defaults
    bool overlong = false;    // a text field exceeded its capacity and was cut
    std::string problem;      // why nothing was read (refused ID, read error), UTF-8
};

// Splits the bytes of an existing profile file. Fields missing at the end,
// numbers without digits, out-of-range codes and dates or times that do not
// parse take their defaults. The display formats are forced to day-first
// dates and 24-hour times, as after every load of an existing profile.
ProfileRead ParseProfile(std::string_view bytes);

// The file image of a profile: the 49 fields with their formats, a NUL after
// each of the first 48.
std::string FormatProfile(const PatientProfile& profile, const UserSettings& settings);

// Reads the patient's profile, or the defaults when the patient has no
// profile file (dateFormat 2, timeFormat 0). A refused ID touches no file
// and gives the defaults with `problem` set.
ProfileRead ReadProfile(const std::string& dataFolder, std::string_view patientId);

// Writes the patient's profile under the data folder lock, replacing the
// file atomically. A read-only file is left alone (ReadOnly); a refused ID
// or any failure is Failed with its reason. The caller also stores the ID as
// the current patient in the settings store.
WriteResult WriteProfile(const std::string& dataFolder, std::string_view patientId,
                         const PatientProfile& profile, const UserSettings& settings);

// Removes a patient under the data folder lock: the profile file and, when
// that existed, the data file too. A refused ID touches nothing (Failed).
// A file that cannot be removed is reported; the profile goes last so a
// patient whose data file stays is still listed and can be removed again.
// An ID that matches several profile or data files differing only in
// letter case removes nothing (Failed, the detail names the files).
WriteResult RemovePatientFiles(const std::string& dataFolder, std::string_view patientId);

// "YYYY-MM-DD" or "D.M.YYYY"; a date that exists, years 100..9999.
bool ParseProfileDate(std::string_view text, Date* date);
// "H:MM:SS" or "H:MM", hours 0..23; blanks around are allowed.
bool ParseProfileTime(std::string_view text, TimeOfDay* time);

}  // namespace dorvel
