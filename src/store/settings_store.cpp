#include "settings_store.h"

#include <QSettings>
#include <QStringList>
#include <memory>

#include "data_folder.h"
#include "port_devices.h"
#include "profile_file.h"
#include "text_encoding.h"

namespace dorvel {

namespace {

const QString kEditGroup = QStringLiteral("Edit");
const QString kPortsGroup = QStringLiteral("Ports");
const QString kPositionGroup = QStringLiteral("Settings");
const QString kIdName = QStringLiteral("Id");
const QString kPortName = QStringLiteral("Port");
constexpr std::string_view kDefaultPatientId = "default";

// The stored name of `name` in the open group: an exact match first, else
// the first one equal without regard to case.
std::optional<QString> StoredName(const QSettings& settings, const QString& name) {
    const QStringList keys = settings.childKeys();
    if (keys.contains(name))
        return name;
    for (const QString& key : keys) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return key;
    }
    return std::nullopt;
}

}  // namespace

SettingsStore::SettingsStore() = default;

SettingsStore::SettingsStore(QString fileName) : fileName_(std::move(fileName)) {}

namespace {
std::unique_ptr<QSettings> Open(const QString& fileName) {
    if (fileName.isEmpty()) {
        return std::make_unique<QSettings>(QStringLiteral("Kestrana"),
                                           QStringLiteral("DorvelSuite"));
    }
    return std::make_unique<QSettings>(fileName, QSettings::IniFormat);
}
}  // namespace

std::optional<QString> SettingsStore::ReadValue(const QString& group, const QString& name,
                                                bool* storeReadable) const {
    auto settings = Open(fileName_);
    const bool readable = settings->status() == QSettings::NoError;
    if (storeReadable != nullptr)
        *storeReadable = readable;
    if (!readable)
        return std::nullopt;
    settings->beginGroup(group);
    const auto stored = StoredName(*settings, name);
    if (!stored)
        return std::nullopt;
    const QVariant value = settings->value(*stored);
    if (!value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

bool SettingsStore::WriteValue(const QString& group, const QString& name, const QString& value) {
    auto settings = Open(fileName_);
    if (settings->status() != QSettings::NoError || !settings->isWritable())
        return false;
    settings->beginGroup(group);
    // One value, one name: drop the other spellings first.
    for (const QString& key : settings->childKeys()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0 && key != name)
            settings->remove(key);
    }
    settings->setValue(name, value);
    settings->endGroup();
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool SettingsStore::RemoveValue(const QString& group, const QString& name) {
    auto settings = Open(fileName_);
    if (settings->status() != QSettings::NoError || !settings->isWritable())
        return false;
    settings->beginGroup(group);
    for (const QString& key : settings->childKeys()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            settings->remove(key);
    }
    settings->endGroup();
    settings->sync();
    return settings->status() == QSettings::NoError;
}

int SettingsStore::ReadInt(const QString& group, const QString& name, int fallback) const {
    const auto text = ReadValue(group, name);
    if (!text)
        return fallback;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    return ok ? value : fallback;
}

std::string SettingsStore::CurrentPatientId() const {
    const auto text = ReadValue(kEditGroup, kIdName);
    if (!text)
        return std::string(kDefaultPatientId);
    std::string id = Utf8ToCp1252(text->toStdString());
    if (id.empty())
        return id;
    // The value once came through a 20-byte buffer, and it becomes a file
    // name: anything that cannot be an ID counts as missing.
    if (!IsValidPatientId(id))
        return std::string(kDefaultPatientId);
    return id;
}

bool SettingsStore::SetCurrentPatientId(std::string_view id) {
    if (!id.empty() && !IsValidPatientId(id))
        return false;
    return WriteValue(kEditGroup, kIdName, QString::fromStdString(Cp1252ToUtf8(id)));
}

int SettingsStore::Port() const {
    bool readable = true;
    const auto text = ReadValue(kEditGroup, kPortName, &readable);
    if (!readable)
        return -1;
    if (!text)
        return 1;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    return ok ? value : 1;
}

bool SettingsStore::SetPort(int port) {
    return WriteValue(kEditGroup, kPortName, QString::number(port));
}

std::optional<std::string> SettingsStore::PortDeviceOverride(int portNumber) const {
    const auto text = ReadValue(kPortsGroup, QString::fromStdString(PortLabel(portNumber)));
    if (!text || text->trimmed().isEmpty())
        return std::nullopt;
    return text->trimmed().toStdString();
}

std::string SettingsStore::PortDevice(int portNumber) const {
    if (auto device = PortDeviceOverride(portNumber))
        return *device;
    return DefaultPortDevice(portNumber);
}

bool SettingsStore::SetPortDevice(int portNumber, std::string_view device) {
    const QString label = QString::fromStdString(PortLabel(portNumber));
    if (device.empty())
        return RemoveValue(kPortsGroup, label);
    return WriteValue(kPortsGroup, label,
                      QString::fromUtf8(device.data(), qsizetype(device.size())));
}

SettingsStore::Position SettingsStore::ProgressWindowPosition() const {
    return {ReadInt(kPositionGroup, QStringLiteral("X"), -1),
            ReadInt(kPositionGroup, QStringLiteral("Y"), -1)};
}

bool SettingsStore::SetProgressWindowPosition(Position position) {
    return WriteValue(kPositionGroup, QStringLiteral("X"), QString::number(position.x)) &&
           WriteValue(kPositionGroup, QStringLiteral("Y"), QString::number(position.y));
}

WriteResult WriteProfileAndRememberPatient(SettingsStore& store, const std::string& dataFolder,
                                           std::string_view patientId,
                                           const PatientProfile& profile,
                                           const UserSettings& settings) {
    if (auto problem = PatientIdProblem(patientId))
        return {WriteStatus::Failed, *problem};
    // The stored ID is a convenience for the next start; a store that
    // cannot be written must not keep the profile from being saved.
    store.SetCurrentPatientId(patientId);
    return WriteProfile(dataFolder, patientId, profile, settings);
}

}  // namespace dorvel
