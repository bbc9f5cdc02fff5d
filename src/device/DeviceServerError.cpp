#include "DeviceServerError.h"

const char* DeviceServerErrorText(uint32_t error)
{
    switch (error)
    {
    case kErrServerClosed:
        return "connection closed by the device server";
    case kErrBaudNotConfirmed:
        return "the device server did not confirm the baud rate within 2 s";
    case kErrBaudRefused:
        return "the device server refused the baud rate";
    case kErrNoPortControl:
        return "the device server refused serial port control (RFC 2217)";
    case kErrUnknownHost:
        return "unknown host";
    case kErrBadNetworkPort:
        return "not a network port: write rfc2217://HOST:PORT";
    default:
        return nullptr;
    }
}
