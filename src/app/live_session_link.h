#pragma once

#include <memory>
#include <string>

#include "meter/port_settings.h"
#include "session_link.h"

namespace dorvel {

class MeterLink;
class PortDiscovery;
class SerialPort;
struct SessionResult;
struct SessionTiming;

// The window's meter link on the real line: the serial channel, the port
// search through the stored "Port" and port labels, and the download session
// writing the received-data files into the data folder.
class LiveSessionLink : public SessionLink {
  public:
    // `settings` defaults to the user's settings store; tests shorten `timing`.
    LiveSessionLink(std::string dataFolder, const SessionTiming& timing, int settleMs = 100,
                    std::unique_ptr<PortSettings> settings = {});
    explicit LiveSessionLink(std::string dataFolder);
    ~LiveSessionLink() override;
    LiveSessionLink(const LiveSessionLink&) = delete;
    LiveSessionLink& operator=(const LiveSessionLink&) = delete;

    void SetHooks(SessionHooks hooks) override;
    void Start(RequestKind kind) override;
    void Cancel() override;
    bool Running() const override;
    void ScanForAdapter() override;

    int PortIndex() const override;
    QString PortLabel(int index) const override;
    bool OpenPort(int index) override;
    void ClosePort() override;
    bool PortOpen() const override;

  private:
    void Finished(const SessionResult& result);

    SessionHooks hooks_;
    std::unique_ptr<PortSettings> settings_;
    std::unique_ptr<SerialPort> port_;
    std::unique_ptr<PortDiscovery> discovery_;
    std::unique_ptr<MeterLink> link_;
    // Set by a Cancel that came after the whole reply was in but before it
    // was decoded: the decoder then writes nothing.
    bool dropReply_ = false;
};

}  // namespace dorvel
