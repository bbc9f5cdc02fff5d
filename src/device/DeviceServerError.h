#pragma once

#include <cstdint>

// Faults of a port reached over the network that have no errno of their own.
// They travel in CSerialException::m_error like errno values, from a range no
// errno uses.
constexpr uint32_t kErrServerClosed = 0x51E20001; // the server ended the connection
constexpr uint32_t kErrBaudNotConfirmed = 0x51E20002;
constexpr uint32_t kErrBaudRefused = 0x51E20003;   // the server confirmed another rate
constexpr uint32_t kErrNoPortControl = 0x51E20004; // the server refused serial port control
constexpr uint32_t kErrUnknownHost = 0x51E20005;
constexpr uint32_t kErrBadNetworkPort = 0x51E20006; // not rfc2217://HOST:PORT

// The sentence for one of the codes above, in lower case as system texts are
// shown after a colon; null for any other code.
const char* DeviceServerErrorText(uint32_t error);
