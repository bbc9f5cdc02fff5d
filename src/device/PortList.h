#pragma once

#include <string>
#include <vector>

struct TPortInfo
{
    std::string path;         // "/dev/ttyUSB0"
    std::string description;  // "FTDI FT232R USB UART", or empty when the system has none
};

// The real serial devices under sysRoot (normally /sys/class/tty): USB serial
// and ACM adapters, platform UARTs, and legacy ttyS nodes only where a UART
// answers. Paths are devDir/NAME, sorted by text.
std::vector<TPortInfo> EnumeratePorts(const std::string& sysRoot = "/sys/class/tty",
                                      const std::string& devDir = "/dev");
