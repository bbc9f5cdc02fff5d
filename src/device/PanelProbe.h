#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What one port answered to the connection handshake at 9600 baud.
struct TProbeResult
{
    std::string port;
    bool answered = false; // a QEL-1 replied to the version request
    std::optional<int32_t> firmwareVersion;
    std::optional<int32_t> hardwareVersion;
    std::string error; // why the port could not be asked, on one line
};

// Opens each port, sends the probe and the version request as Connect does
// and closes it again; atOnce ports are asked at a time, each bounded by the
// handshake's own limits (about 3 s). Results in the order of ports.
std::vector<TProbeResult> ProbePorts(const std::vector<std::string>& ports, size_t atOnce = 4);
