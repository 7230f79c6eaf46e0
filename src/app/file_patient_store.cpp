// The patient store on the data folder's files and the per-user settings.
#include <algorithm>
#include <filesystem>

#include "patient_store.h"
#include "store/data_folder.h"
#include "store/file_io.h"
#include "store/patient_list.h"
#include "store/profile_file.h"
#include "store/settings_store.h"

namespace dorvel {
namespace {

class FilePatientStore : public PatientStore {
  public:
    bool ProfileExists(const std::string& folder, const std::string& id) override {
        return IsValidPatientId(id) && FileExists(PatientFilePath(folder, id, kProfileExtension));
    }

    void ReadProfile(const std::string& folder, const std::string& id, PatientProfile& p,
                     UserSettings& s) override {
        ProfileRead read = ::dorvel::ReadProfile(folder, id);
        p = read.profile;
        s = read.settings;
    }

    WriteResult WriteProfile(const std::string& folder, const std::string& id,
                             const PatientProfile& p, const UserSettings& s) override {
        EnsureDataFolder(folder);
        return WriteProfileAndRememberPatient(settings_, folder, id, p, s);
    }

    WriteResult RemovePatient(const std::string& folder, const std::string& id) override {
        return RemovePatientFiles(folder, id);
    }

    std::vector<PatientEntry> ListPatients(const std::string& folder) override {
        std::vector<PatientEntry> out;
        std::error_code ec;
        const std::string ext(kProfileExtension);
        for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
            std::string file = e.path().filename().string();
            if (file.size() <= ext.size() ||
                file.compare(file.size() - ext.size(), ext.size(), ext) != 0) {
                continue;
            }
            std::string id = file.substr(0, file.size() - ext.size());
            std::transform(id.begin(), id.end(), id.begin(), [](char c) {
                return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            });
            if (!IsValidPatientId(id)) {
                continue;
            }
            // The box shows the profile's first field, at most 100 bytes.
            auto bytes = ReadWholeFile(e.path().string());
            out.push_back(
                {id, bytes.bytes.substr(0, std::min<size_t>(bytes.bytes.find('\0'), 100))});
        }
        return out;
    }

    std::string RebuildPatientList(const std::string& folder) override {
        return ::dorvel::RebuildPatientList(folder).image.bytes;
    }

    std::string StoredPatientId() override { return settings_.CurrentPatientId(); }
    void StorePatientId(const std::string& id) override { settings_.SetCurrentPatientId(id); }
    int StoredPort() override { return settings_.Port(); }
    void StorePort(int port) override { settings_.SetPort(port); }

  private:
    SettingsStore settings_;
};

}  // namespace

std::unique_ptr<PatientStore> MakeFilePatientStore() {
    return std::make_unique<FilePatientStore>();
}

}  // namespace dorvel
