#pragma once

#include <string>

namespace dorvel {

// The meter link knows twenty ports by the labels "COM1" to "COM20"
// (port number 1..20). Each label stands for a device file.
inline constexpr int kPortCount = 20;

// "COM<n>".
std::string PortLabel(int portNumber);

// The device a label stands for unless the settings point it elsewhere:
// COM1-4 the first serial ports, COM5-12 USB serial adapters, COM13-16 USB
// modems (ACM), COM17-20 none. Empty for a free label or a number outside 1..20.
std::string DefaultPortDevice(int portNumber);

}  // namespace dorvel
