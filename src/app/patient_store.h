#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/file_io.h"
#include "store/user_settings.h"

namespace dorvel {

struct PatientEntry {
    std::string id;    // upper case, as the patient box shows it
    std::string name;  // Windows-1252
};

// Everything the windows need from the profile files, the patient list and
// the stored "Id"/"Port" values, behind one seam so the frame does not care
// which store sits behind it.
class PatientStore {
  public:
    virtual ~PatientStore() = default;

    virtual bool ProfileExists(const std::string& folder, const std::string& id) = 0;
    // Defaults when the file is missing.
    virtual void ReadProfile(const std::string& folder, const std::string& id,
                             PatientProfile& profile, UserSettings& settings) = 0;
    // Also stores `id` as the current patient. Not ok when the file could not be written.
    virtual WriteResult WriteProfile(const std::string& folder, const std::string& id,
                                     const PatientProfile& profile,
                                     const UserSettings& settings) = 0;
    // Removes the profile and data file; not ok (with the reason) when one
    // of them could not be removed or the ID does not say which files are meant.
    virtual WriteResult RemovePatient(const std::string& folder, const std::string& id) = 0;
    // One entry per profile file.
    virtual std::vector<PatientEntry> ListPatients(const std::string& folder) = 0;
    // Rebuilds the patient list file and returns its image (empty when it
    // could not be written).
    virtual std::string RebuildPatientList(const std::string& folder) = 0;

    virtual std::string StoredPatientId() = 0;
    virtual void StorePatientId(const std::string& id) = 0;
    virtual int StoredPort() = 0;
    virtual void StorePort(int port) = 0;
};

// The store on the real files and settings.
std::unique_ptr<PatientStore> MakeFilePatientStore();

}  // namespace dorvel
