#include "port_devices.h"

namespace dorvel {

std::string PortLabel(int portNumber) {
    return "COM" + std::to_string(portNumber);
}

std::string DefaultPortDevice(int portNumber) {
    if (portNumber >= 1 && portNumber <= 4)
        return "/dev/ttyS" + std::to_string(portNumber - 1);
    if (portNumber >= 5 && portNumber <= 12)
        return "/dev/ttyUSB" + std::to_string(portNumber - 5);
    if (portNumber >= 13 && portNumber <= 16)
        return "/dev/ttyACM" + std::to_string(portNumber - 13);
    return {};
}

}  // namespace dorvel
