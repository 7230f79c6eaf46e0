#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "byte_stream.h"
#include "port_settings.h"
#include "store/port_devices.h"

namespace dorvel {

// The twenty port names by index: "COM1".."COM9", "\\.\COM10".."\\.\COM20".
const std::array<std::string, kPortCount>& PortTable();
// Index of the table entry a name such as "COM12" matches.
std::optional<int> PortTableIndex(std::string_view name);
// Labels and default devices: PortLabel / DefaultPortDevice of
// store/port_devices.h, which count ports from 1 (index + 1).
// The device of a port index, an override in the settings winning.
std::string DeviceForIndex(int index, const PortSettings& settings);
// The label with its device, as lists and messages show a port: "COM5 (/dev/ttyUSB0)".
std::string PortDisplayName(int index, const PortSettings& settings);

// One serial device as the system lists it.
struct SerialDevice {
    std::string path;  // /dev/ttyUSB0
    std::string manufacturer;
    std::string description;
    std::optional<uint16_t> vendorId;
    bool usb = false;
};

// One device of a scan, with the label it is known by.
struct SerialPortInfo {
    std::string devicePath;
    std::string portName;  // "COM3"
    std::string friendlyName;
    std::string description;
    bool usb = false;
};

struct PortCandidate {
    std::string portName;
    std::string friendlyName;
    std::string busName;  // "USB" or empty
    std::string portNumber;
};

struct AdapterPort {
    std::string portName;
    std::string friendlyName;
    std::string busName;
};

// The serial devices present, from Qt's enumeration.
std::vector<SerialDevice> ListSerialDevices();

// Gives each device its label (through the settings' overrides or the fixed
// mapping) and a friendly name ending in the label in parentheses; the
// adapter (on USB, its maker or description naming Prolific, or its vendor id
// 0x067B) is called "Prolific USB-to-Serial Comm Port (COMn)".
std::vector<SerialPortInfo> ComposePortInfos(const std::vector<SerialDevice>& devices,
                                             const PortSettings& settings);

// The port name and its digits taken from the end of a friendly name
// ("... (COM3)" gives "COM3" and "3").
std::pair<std::string, std::string> PortNameFromFriendlyName(std::string_view friendly);

// How the session gets a port: the first one of a search, then the next.
class PortChooser {
  public:
    virtual ~PortChooser() = default;
    virtual void ScanForAdapter() = 0;
    virtual bool OpenAdapterPort() = 0;
    virtual bool OpenNextPort(int attemptCount) = 0;
    virtual void ResetProbe() = 0;
    virtual void RememberPort() = 0;  // the meter answered here: "Port" = port index + 1
    // The session is over, whatever its end: the port index is the preferred
    // port again. "Port" is left alone.
    virtual void SearchEnded() = 0;
    virtual std::string CurrentDevice() const = 0;
    virtual std::string CurrentPortName() const { return CurrentDevice(); }
};

// The search order: the adapter recognised by its USB identity, then the
// preferred port ("Port": the one chosen in the port dialog or where the
// meter last answered), then the ports the system lists, then one label
// after another from the preferred one on. Only the dialog and a meter that
// answered change "Port"; a search that fails or is cancelled does not.
class PortDiscovery : public PortChooser {
  public:
    using Lister = std::function<std::vector<SerialPortInfo>()>;

    // `lister` defaults to the system's devices composed with `settings`.
    PortDiscovery(ByteStream& port, PortSettings& settings, Lister lister = {});

    void ScanAtStartup();
    void ScanForAdapter() override;
    bool OpenAdapterPort() override;
    bool OpenNextPort(int attemptCount) override;
    void ResetProbe() override;
    void RememberPort() override;
    void SearchEnded() override;
    std::string CurrentDevice() const override;
    std::string CurrentPortName() const override;

    // The port settings dialog: the position to preselect (-1: none; a stored
    // 0 is turned into 1), connecting to a position and disconnecting.
    int DialogSelection();
    struct ConnectResult {
        bool opened = false;
        std::string message;
        LineError error;
    };
    ConnectResult Connect(int position);
    std::optional<std::string> Disconnect();

    int portIndex() const { return portIndex_; }
    int probeMode() const { return probeMode_; }
    int retryCounter() const { return retryCounter_; }
    const std::vector<PortCandidate>& candidates() const { return candidates_; }
    const AdapterPort& adapter() const { return adapter_; }

  private:
    bool Open();
    // The index "Port" names; none when it holds no port of the table.
    std::optional<int> PreferredIndex() const;

    ByteStream& port_;
    PortSettings& settings_;
    Lister lister_;
    std::vector<PortCandidate> candidates_;
    AdapterPort adapter_;
    int portIndex_ = 2;
    int probeMode_ = 1;
    int retryCounter_ = 0;
    size_t candidatePosition_ = 0;
    int sweepIndex_ = 0;             // the next label tried once the candidates are done
    bool preferredPending_ = false;  // the adapter came first; the preferred port is next
};

// The command line's choice: always the one device it was given.
class FixedPort : public PortChooser {
  public:
    FixedPort(ByteStream& port, std::string device) : port_(port), device_(std::move(device)) {}
    void ScanForAdapter() override {}
    bool OpenAdapterPort() override { return Open(); }
    bool OpenNextPort(int) override { return Open(); }
    void ResetProbe() override {}
    void RememberPort() override {}
    void SearchEnded() override {}
    std::string CurrentDevice() const override { return device_; }

  private:
    bool Open();
    ByteStream& port_;
    std::string device_;
};

// Fixed line settings of the meter on `device`, then Open().
bool OpenMeterLine(ByteStream& port, const std::string& device);

}  // namespace dorvel
