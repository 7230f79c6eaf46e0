#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QString>

#include "file_io.h"
#include "user_settings.h"

namespace dorvel {

// The per-user settings the program keeps outside the data folder: the last
// current patient ("Id") and the meter port ("Port") in the group "Edit",
// the port labels' devices in the group "Ports", and the progress window's
// position in "Settings". Every operation opens the store, does one thing
// and closes it, so a value written by another running copy is seen at once.
//
// Value names are compared without regard to letter case: "Id" and "ID"
// are one value. A store that cannot be read gives the defaults; a write
// that does not reach the disk returns false.
class SettingsStore {
  public:
    // The user's own store (organisation "Kestrana", application "DorvelSuite").
    SettingsStore();
    // An explicit settings file, for tools that must not touch the user's.
    explicit SettingsStore(QString fileName);

    // The last current patient, Windows-1252. "default" when missing, longer
    // than an ID may be, or not usable as a file name; empty when stored
    // empty (no patient at all).
    std::string CurrentPatientId() const;
    // Stores the ID; an ID that may not become a file name is refused.
    bool SetCurrentPatientId(std::string_view id);

    // The stored port number: 1 when missing or not a number, -1 when the
    // store itself cannot be read (the meter link then falls back itself).
    int Port() const;
    bool SetPort(int port);

    // The device behind "COM<n>": the override of the "Ports" group, else
    // the default mapping. Empty when the label stands for no device.
    std::string PortDevice(int portNumber) const;
    std::optional<std::string> PortDeviceOverride(int portNumber) const;
    // An empty device removes the override.
    bool SetPortDevice(int portNumber, std::string_view device);

    struct Position {
        int x = -1;
        int y = -1;
        friend bool operator==(const Position&, const Position&) = default;
    };
    Position ProgressWindowPosition() const;
    bool SetProgressWindowPosition(Position position);

  private:
    std::optional<QString> ReadValue(const QString& group, const QString& name,
                                     bool* storeReadable = nullptr) const;
    bool WriteValue(const QString& group, const QString& name, const QString& value);
    bool RemoveValue(const QString& group, const QString& name);
    int ReadInt(const QString& group, const QString& name, int fallback) const;

    QString fileName_;  // empty: the user's store
};

// Saving a profile also makes its patient the one loaded at the next start:
// the ID is stored, then the profile file written. A refused ID touches
// neither.
WriteResult WriteProfileAndRememberPatient(SettingsStore& store, const std::string& dataFolder,
                                           std::string_view patientId,
                                           const PatientProfile& profile,
                                           const UserSettings& settings);

}  // namespace dorvel
