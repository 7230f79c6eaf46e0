#pragma once

#include <string>

namespace dorvel {

// Why the line to the meter failed, kept up to the place that tells the user,
// so a port this user may not open is not reported like a silent meter.
enum class LineFailure {
    None,
    NoDevice,    // the device does not exist
    NoAccess,    // the device exists but this user may not open it
    Io,          // opening or talking to the device failed otherwise
    Timeout,     // the meter did not answer, or stopped answering
    Protocol,    // the reply never became a reply the meter sends
    DataFormat,  // a record of the reply was refused
    Cancelled,   // the user ended the session
};

const char* LineFailureName(LineFailure failure);

struct LineError {
    LineFailure failure = LineFailure::None;
    std::string device;  // the device the failure belongs to, when there is one
    std::string detail;  // the system's text
};

// The second line of the cable message when a port existed that this user
// may not open: names the device and the group that grants access.
std::string AccessHint(const std::string& device);

// The group that owns a device file ("dialout" on Debian for serial ports);
// empty when the file cannot be looked at.
std::string DeviceGroup(const std::string& device);

}  // namespace dorvel
