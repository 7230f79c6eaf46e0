#pragma once

#include <QString>
#include <functional>
#include <string>

#include "meter/protocol.h"

namespace dorvel {

// How a download or erase session ended.
enum class SessionEnd {
    Decoded,      // gr_lowdata.dat and gr_data.dat written: the received users can be listed
    Erased,       // the meter acknowledged the erase
    NoData,       // the meter holds no readings
    NoAnswer,     // every port stayed silent (detail: the whole text shown, if more than the cable
                  // hint)
    Interrupted,  // a reply began and stopped, or was not the meter's
    CheckFailed,  // a record failed the check
    WriteFailed,  // a received-data file could not be written (detail says which)
    Cancelled,    // ended from the progress window; nothing written
};

// What a running session tells the window host; every call arrives on the
// window thread, in order.
struct SessionHooks {
    std::function<void(const QString&)> title;
    std::function<void(const QString&)> message;
    std::function<void(int)> position;  // 0..100
    std::function<void(SessionEnd, const std::string& detail)> ended;
};

// The meter link as the main frame drives it: one session at a time, and the
// port the settings dialog opens by hand. LiveSessionLink puts it on the
// serial line; the window tests put a fake behind it.
class SessionLink {
  public:
    virtual ~SessionLink() = default;
    virtual void SetHooks(SessionHooks hooks) = 0;
    // A download scans for the USB adapter first; nobody else needs to.
    virtual void Start(RequestKind kind) = 0;
    // Ends a running session at once: port closed, timers stopped, nothing written.
    virtual void Cancel() = 0;
    virtual bool Running() const = 0;
    // Scans for the USB adapter (at start-up; a download does it itself).
    virtual void ScanForAdapter() {}

    virtual int PortIndex() const = 0;  // 0-based
    // How messages name a port: the label, with its device where one is known.
    virtual QString PortLabel(int index) const = 0;
    virtual bool OpenPort(int index) = 0;
    virtual void ClosePort() = 0;
    virtual bool PortOpen() const = 0;
};

}  // namespace dorvel
