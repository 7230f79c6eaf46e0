#include "port_discovery.h"

#include <QSerialPortInfo>
#include <cctype>
#include <cstdio>
#include <thread>

#include "messages.h"
#include "store/decimal.h"

namespace dorvel {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
    return Upper(text).find(Upper(word)) != std::string::npos;
}

// True when `word` stands in `text` as a whole word (separated by blank, tab,
// CR or LF), letter case included.
bool HasWord(std::string_view text, std::string_view word) {
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = text.find_first_not_of(" \t\r\n", pos);
        if (start == std::string_view::npos)
            break;
        size_t end = text.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (text.substr(start, end - start) == word)
            return true;
        pos = end;
    }
    return false;
}

std::string Format(const char* pattern, const std::string& value) {
    std::string out = pattern;
    const size_t at = out.find("%s");
    if (at != std::string::npos)
        out.replace(at, 2, value);
    return out;
}

// The 1 ms pause after closing that lets the driver let go of the device.
void BriefPause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

const std::array<std::string, kPortCount>& PortTable() {
    static const std::array<std::string, kPortCount> table = [] {
        std::array<std::string, kPortCount> t;
        for (int i = 0; i < kPortCount; ++i)
            t[i] = (i < 9 ? "COM" : "\\\\.\\COM") + std::to_string(i + 1);
        return t;
    }();
    return table;
}

std::optional<int> PortTableIndex(std::string_view name) {
    const auto& table = PortTable();
    for (int j = 0; j < kPortCount; ++j) {
        const std::string& entry = table[j];
        if (j < 9 ? entry == name
                  : (name.size() == 5 && entry.compare(entry.size() - 5, 5, name) == 0)) {
            return j;
        }
    }
    return std::nullopt;
}

std::string DeviceForIndex(int index, const PortSettings& settings) {
    if (index < 0 || index >= kPortCount)
        return {};
    std::string device = settings.DeviceOverride(PortLabel(index + 1));
    return device.empty() ? DefaultPortDevice(index + 1) : device;
}

std::string PortDisplayName(int index, const PortSettings& settings) {
    const std::string device = DeviceForIndex(index, settings);
    const std::string label = PortLabel(index + 1);
    return device.empty() ? label : label + " (" + device + ")";
}

std::vector<SerialDevice> ListSerialDevices() {
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice d;
        d.path = info.systemLocation().toStdString();
        d.manufacturer = info.manufacturer().toStdString();
        d.description = info.description().toStdString();
        if (info.hasVendorIdentifier())
            d.vendorId = info.vendorIdentifier();
        // Qt learns vendor ids only from USB devices; the USB drivers' names say the rest.
        d.usb = info.hasVendorIdentifier() || StartsWith(info.portName().toStdString(), "ttyUSB") ||
                StartsWith(info.portName().toStdString(), "ttyACM");
        devices.push_back(std::move(d));
    }
    return devices;
}

std::vector<SerialPortInfo> ComposePortInfos(const std::vector<SerialDevice>& devices,
                                             const PortSettings& settings) {
    std::vector<SerialPortInfo> infos;
    for (const SerialDevice& d : devices) {
        std::string label;
        for (int i = 0; i < kPortCount && label.empty(); ++i) {
            if (DeviceForIndex(i, settings) == d.path)
                label = PortLabel(i + 1);
        }
        if (label.empty()) {
            const size_t slash = d.path.rfind('/');
            label = slash == std::string::npos ? d.path : d.path.substr(slash + 1);
        }
        const bool adapter =
            d.usb && (ContainsIgnoringCase(d.manufacturer, "Prolific") ||
                      ContainsIgnoringCase(d.description, "Prolific") || d.vendorId == 0x067B);
        SerialPortInfo info;
        info.devicePath = d.path;
        info.portName = label;
        info.description = adapter ? "Prolific USB-to-Serial Comm Port"
                                   : (d.description.empty() ? d.path : d.description);
        info.friendlyName = info.description + " (" + label + ")";
        info.usb = d.usb;
        infos.push_back(std::move(info));
    }
    return infos;
}

std::pair<std::string, std::string> PortNameFromFriendlyName(std::string_view f) {
    if (f.size() >= 6 && f[f.size() - 5] == 'O')
        return {std::string(f.substr(f.size() - 6, 5)), std::string(f.substr(f.size() - 3, 2))};
    if (f.size() >= 5)
        return {std::string(f.substr(f.size() - 5, 4)), std::string(f.substr(f.size() - 2, 1))};
    return {};
}

PortDiscovery::PortDiscovery(ByteStream& port, PortSettings& settings, Lister lister)
    : port_(port), settings_(settings), lister_(std::move(lister)) {
    if (!lister_) {
        lister_ = [this] { return ComposePortInfos(ListSerialDevices(), settings_); };
    }
    if (const auto preferred = PreferredIndex())
        portIndex_ = *preferred;
}

std::optional<int> PortDiscovery::PreferredIndex() const {
    const int stored = settings_.Port();
    if (stored >= 1 && stored <= kPortCount)
        return stored - 1;
    return std::nullopt;
}

void PortDiscovery::ScanAtStartup() {
    candidates_.clear();
    for (const SerialPortInfo& info : lister_()) {
        if (!StartsWith(Upper(info.portName), "COM"))
            continue;
        const std::string digits = info.portName.substr(3);
        if (!StartsWith(info.portName, "COM") || LeadingInt(digits) > kPortCount)
            continue;
        candidates_.push_back({info.portName,
                               info.friendlyName.empty() ? info.portName : info.friendlyName,
                               info.usb ? "USB" : "", digits});
    }
    for (const PortCandidate& c : candidates_) {
        if (HasWord(c.friendlyName, "Prolific") && c.busName == "USB")
            adapter_ = {c.portName, c.friendlyName, c.busName};
    }
}

void PortDiscovery::ScanForAdapter() {
    candidates_.clear();
    // An adapter pulled out since the last scan is no longer tried first.
    adapter_ = {};
    for (const SerialPortInfo& info : lister_()) {
        if (info.friendlyName.empty() || info.description.empty())
            continue;
        const auto [name, digits] = PortNameFromFriendlyName(info.friendlyName);
        if (info.usb && StartsWith(info.friendlyName, "Prolific"))
            adapter_ = {name, info.friendlyName, "USB"};
        if (StartsWith(name, "COM") && LeadingInt(digits) <= 40)
            candidates_.push_back({name, info.friendlyName, info.usb ? "USB" : "", digits});
    }
}

bool PortDiscovery::OpenAdapterPort() {
    if (port_.IsOpen()) {
        port_.Close();
        BriefPause();
    }
    const auto preferred = PreferredIndex();
    preferredPending_ = false;
    if (const auto index = PortTableIndex(adapter_.portName)) {
        portIndex_ = *index;
        preferredPending_ = preferred && *preferred != portIndex_;
    } else if (preferred) {
        portIndex_ = *preferred;
    }
    if (portIndex_ < 0 || portIndex_ >= kPortCount)
        portIndex_ = 2;
    return Open();
}

bool PortDiscovery::OpenNextPort(int attemptCount) {
    if (port_.IsOpen()) {
        port_.Close();
        BriefPause();
    }
    if (preferredPending_) {
        preferredPending_ = false;
        if (const auto preferred = PreferredIndex()) {
            portIndex_ = *preferred;
            return Open();
        }
    }
    const size_t n = candidates_.size();
    if (probeMode_ == 1 && attemptCount >= static_cast<int>(n)) {
        if (retryCounter_++ >= 10)
            probeMode_ = 0;
    }
    if (probeMode_ == 0) {
        // One label after another; where this sweep stands is kept here, not
        // in "Port", so a search that finds nothing leaves the user's port alone.
        portIndex_ = sweepIndex_;
        if (portIndex_ < 0 || portIndex_ >= kPortCount)
            portIndex_ = 2;
        sweepIndex_ = portIndex_ + 1;
    } else if (n > 0) {
        if (candidatePosition_ >= n)
            candidatePosition_ = 0;
        const PortCandidate& c = candidates_[candidatePosition_];
        if (StartsWith(Upper(c.portName), "COM")) {
            if (const auto index = PortTableIndex(c.portName))
                portIndex_ = *index;
        }
        candidatePosition_ = (candidatePosition_ + 1) % n;
    }
    return Open();
}

void PortDiscovery::ResetProbe() {
    probeMode_ = 1;
    retryCounter_ = 0;
    candidatePosition_ = 0;
    preferredPending_ = false;
    // The sweep begins with the label after the preferred port, which the
    // search tries first anyway.
    sweepIndex_ = PreferredIndex().value_or(1) + 1;
}

void PortDiscovery::RememberPort() {
    if (portIndex_ >= 0 && portIndex_ < kPortCount && settings_.Port() != portIndex_ + 1)
        settings_.SetPort(portIndex_ + 1);
}

void PortDiscovery::SearchEnded() {
    // The status bar shows the port the next search starts with.
    if (const auto preferred = PreferredIndex())
        portIndex_ = *preferred;
}

std::string PortDiscovery::CurrentDevice() const {
    return DeviceForIndex(portIndex_, settings_);
}

std::string PortDiscovery::CurrentPortName() const {
    return PortDisplayName(portIndex_, settings_);
}

bool PortDiscovery::Open() {
    return OpenMeterLine(port_, CurrentDevice());
}

int PortDiscovery::DialogSelection() {
    int port = settings_.Port();
    if (port == 0) {
        settings_.SetPort(1);
        port = 1;
    }
    return port >= 1 && port <= kPortCount ? port - 1 : -1;
}

PortDiscovery::ConnectResult PortDiscovery::Connect(int position) {
    ConnectResult result;
    // Without a valid choice nothing is opened: the table has twenty entries.
    if (position < 0 || position >= kPortCount)
        return result;
    portIndex_ = position;
    if (port_.IsOpen()) {
        port_.Close();
        BriefPause();
    }
    const std::string name = PortDisplayName(portIndex_, settings_);
    result.opened = OpenMeterLine(port_, CurrentDevice());
    if (result.opened) {
        settings_.SetPort(portIndex_ + 1);
        result.message = Format(messages::kConnected, name);
    } else {
        result.error = port_.LastError();
        result.message = Format(messages::kConnectFailed, name);
    }
    return result;
}

std::optional<std::string> PortDiscovery::Disconnect() {
    if (!port_.IsOpen())
        return std::nullopt;
    port_.Close();
    BriefPause();
    return Format(messages::kDisconnected, PortDisplayName(portIndex_, settings_));
}

bool FixedPort::Open() {
    return OpenMeterLine(port_, device_);
}

bool OpenMeterLine(ByteStream& port, const std::string& device) {
    port.settings.portName = device;
    port.settings.baudRate = 4800;
    port.settings.byteSize = 8;
    port.settings.parity = 0;
    port.settings.stopBits = 0;
    port.settings.flowFlags &= ~7u;
    return port.Open() && port.IsOpen();
}

}  // namespace dorvel
