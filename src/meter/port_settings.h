#pragma once

#include <string>

namespace dorvel {

// The two stored things the meter link needs: the stored port number ("Port")
// and the device behind a port label (the "Ports" group, e.g. COM20=/dev/pts/7).
class PortSettings {
  public:
    virtual ~PortSettings() = default;
    virtual int Port() const = 0;  // default 1
    virtual void SetPort(int port) = 0;
    // The device configured for a label such as "COM5"; empty when none is.
    virtual std::string DeviceOverride(const std::string& label) const = 0;
};

// The per-user settings store: organisation "Kestrana", application
// "DorvelSuite"; "Port" in the group "Edit", the overrides in "Ports".
// Value names are found without regard to case.
class StoredPortSettings : public PortSettings {
  public:
    int Port() const override;
    void SetPort(int port) override;
    std::string DeviceOverride(const std::string& label) const override;
};

// Settings kept in memory only (the command line and tests).
class MemoryPortSettings : public PortSettings {
  public:
    explicit MemoryPortSettings(int port = 1) : port_(port) {}
    int Port() const override { return port_; }
    void SetPort(int port) override { port_ = port; }
    std::string DeviceOverride(const std::string&) const override { return {}; }

  private:
    int port_;
};

}  // namespace dorvel
