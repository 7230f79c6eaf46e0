#include "port_settings.h"

#include "store/decimal.h"
#include "store/settings_store.h"

namespace dorvel {

// One settings store for the whole program: the meter link reads "Port" and
// the label overrides through it, as the settings sheet and the frame do.

int StoredPortSettings::Port() const {
    return SettingsStore().Port();
}

void StoredPortSettings::SetPort(int port) {
    SettingsStore().SetPort(port);
}

std::string StoredPortSettings::DeviceOverride(const std::string& label) const {
    // Labels are "COM<n>"; anything else has no override.
    if (label.size() < 4 || label.compare(0, 3, "COM") != 0 || !AllDigits(label.substr(3))) {
        return {};
    }
    return SettingsStore().PortDeviceOverride(LeadingInt(label.substr(3))).value_or(std::string());
}

}  // namespace dorvel
