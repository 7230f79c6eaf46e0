// The patient store on the data folder's files and the per-user settings.
#include <QSettings>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "patient_store.h"
#include "store/data_folder.h"
#include "store/file_io.h"

namespace dorvel {
namespace {

constexpr const char* kOrganisation = "Kestrana";
constexpr const char* kApplication = "DorvelSuite";

std::string Num(int v, const char* format = "%d") {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::string DateText(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string TimeText(const TimeOfDay& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

int ParseInt(const std::string& s, int fallback) {
    try {
        return std::stoi(s);
    } catch (...) {
        return fallback;
    }
}

std::string ProfileBytes(const PatientProfile& p, const UserSettings& s) {
    std::vector<std::string> f = {p.name,
                                  Num(p.sex),
                                  DateText(p.birthDate),
                                  p.telephone,
                                  p.mobile,
                                  p.email,
                                  p.fax,
                                  p.address,
                                  p.careHome,
                                  p.remark,
                                  p.room,
                                  p.bed,
                                  p.carer,
                                  p.carerRemark,
                                  p.physician,
                                  p.hospital,
                                  p.physicianTelephone,
                                  p.physicianMobile,
                                  p.physicianEmail,
                                  p.physicianFax,
                                  Num(p.diabetesType, "%01d"),
                                  DateText(p.diagnosisDate),
                                  p.complications,
                                  p.diagnosisComments,
                                  Num(p.treatDiet, "%01d"),
                                  Num(p.treatSport, "%01d"),
                                  Num(p.treatInsulinInjection, "%01d"),
                                  Num(p.treatInsulinPump, "%01d"),
                                  Num(p.treatOral, "%01d"),
                                  Num(p.treatOther, "%01d"),
                                  p.treatmentComments,
                                  Num(s.dateFormat, "%01d"),
                                  Num(s.timeFormat, "%01d"),
                                  Num(s.separateMeals, "%01d")};
    for (const auto& t : s.slotStart) {
        f.push_back(TimeText(t));
    }
    f.push_back(Num(s.glucoseUnit, "%01d"));
    for (const TargetRange& r : {s.beforeMeal, s.afterMeal, s.overall}) {
        f.push_back(Num(r.low, "%3d"));
        f.push_back(Num(r.high, "%3d"));
    }
    std::string out;
    for (size_t i = 0; i < f.size(); ++i) {
        out += f[i];
        if (i + 1 < f.size()) {
            out += '\0';
        }
    }
    return out;
}

std::vector<std::string> SplitFields(const std::string& bytes) {
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        size_t nul = bytes.find('\0', start);
        out.push_back(bytes.substr(start, nul == std::string::npos ? nul : nul - start));
        if (nul == std::string::npos) {
            break;
        }
        start = nul + 1;
    }
    return out;
}

Date ParseDate(const std::string& s, Date fallback) {
    auto d = ParseIsoDate(s);
    return d ? *d : fallback;
}

TimeOfDay ParseTime(const std::string& s, TimeOfDay fallback) {
    int h = 0, m = 0, sec = 0;
    if (std::sscanf(s.c_str(), "%d:%d:%d", &h, &m, &sec) != 3) {
        return fallback;
    }
    TimeOfDay t{h, m, sec};
    return IsValidTime(t) ? t : fallback;
}

class FilePatientStore : public PatientStore {
  public:
    bool ProfileExists(const std::string& folder, const std::string& id) override {
        return FileExists(PatientFilePath(folder, id, kProfileExtension));
    }

    void ReadProfile(const std::string& folder, const std::string& id, PatientProfile& p,
                     UserSettings& s) override {
        p = PatientProfile{};
        s = UserSettings{};
        auto file = ReadWholeFile(PatientFilePath(folder, id, kProfileExtension));
        if (!file.ok()) {
            s.dateFormat = 2;
            return;
        }
        auto f = SplitFields(file.bytes);
        f.resize(49);
        std::string* texts[] = {&p.telephone,
                                &p.mobile,
                                &p.email,
                                &p.fax,
                                &p.address,
                                &p.careHome,
                                &p.remark,
                                &p.room,
                                &p.bed,
                                &p.carer,
                                &p.carerRemark,
                                &p.physician,
                                &p.hospital,
                                &p.physicianTelephone,
                                &p.physicianMobile,
                                &p.physicianEmail,
                                &p.physicianFax};
        p.name = f[0];
        p.sex = ParseInt(f[1], 0);
        p.birthDate = ParseDate(f[2], p.birthDate);
        for (size_t i = 0; i < std::size(texts); ++i) {
            *texts[i] = f[3 + i];
        }
        p.diabetesType = ParseInt(f[20], 0);
        p.diagnosisDate = ParseDate(f[21], p.diagnosisDate);
        p.complications = f[22];
        p.diagnosisComments = f[23];
        int* treat[] = {&p.treatDiet,        &p.treatSport, &p.treatInsulinInjection,
                        &p.treatInsulinPump, &p.treatOral,  &p.treatOther};
        for (size_t i = 0; i < std::size(treat); ++i) {
            *treat[i] = ParseInt(f[24 + i], 0);
        }
        p.treatmentComments = f[30];
        s.separateMeals = ParseInt(f[33], 1);
        s.dateFormat = 2;
        s.timeFormat = 1;
        for (int i = 0; i < kSlotCount; ++i) {
            s.slotStart[i] = ParseTime(f[34 + i], s.slotStart[i]);
        }
        s.glucoseUnit = ParseInt(f[42], 0);
        TargetRange* ranges[] = {&s.beforeMeal, &s.afterMeal, &s.overall};
        for (int i = 0; i < 3; ++i) {
            ranges[i]->low = ParseInt(f[43 + 2 * i], ranges[i]->low);
            ranges[i]->high = ParseInt(f[44 + 2 * i], ranges[i]->high);
        }
    }

    bool WriteProfile(const std::string& folder, const std::string& id, const PatientProfile& p,
                      const UserSettings& s) override {
        StorePatientId(id);
        EnsureDataFolder(folder);
        return WriteFileAtomic(PatientFilePath(folder, id, kProfileExtension), ProfileBytes(p, s))
            .ok();
    }

    std::vector<PatientEntry> ListPatients(const std::string& folder) override {
        std::vector<PatientEntry> out;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
            std::string file = e.path().filename().string();
            const std::string ext(kProfileExtension);
            if (file.size() <= ext.size() ||
                file.compare(file.size() - ext.size(), ext.size(), ext) != 0) {
                continue;
            }
            std::string id = file.substr(0, file.size() - ext.size());
            std::transform(id.begin(), id.end(), id.begin(), [](char c) {
                return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            });
            auto bytes = ReadWholeFile(e.path().string());
            std::string name = bytes.bytes.substr(0, std::min<size_t>(bytes.bytes.find('\0'), 100));
            out.push_back({id, name});
        }
        return out;
    }

    void RebuildPatientList(const std::string&) override {}

    std::string StoredPatientId() override {
        return Settings().value("Id", "default").toString().toStdString();
    }
    void StorePatientId(const std::string& id) override {
        Settings().setValue("Id", QString::fromStdString(id));
    }
    int StoredPort() override { return Settings().value("Port", 1).toInt(); }
    void StorePort(int port) override { Settings().setValue("Port", port); }

  private:
    struct Group : QSettings {
        Group() : QSettings(kOrganisation, kApplication) { beginGroup("Edit"); }
    };
    static Group Settings() { return {}; }
};

}  // namespace

std::unique_ptr<PatientStore> MakeFilePatientStore() {
    return std::make_unique<FilePatientStore>();
}

}  // namespace dorvel
