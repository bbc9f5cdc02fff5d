#pragma once

#include "SerialLine.h"

#include <cstdint>
#include <string>

// A TCP connection as a byte line: the transport under a network port. Open
// takes "HOST:PORT" ("[::1]:PORT" for an IPv6 address); the baud rate means
// nothing here. A connection the peer ends throws kErrServerClosed.
class CTcpLine : public ISerialLine
{
public:
    CTcpLine() = default;
    CTcpLine(const CTcpLine&) = delete;
    CTcpLine& operator=(const CTcpLine&) = delete;
    ~CTcpLine() override;

    void Open(const std::string& hostPort) override;
    void Close() override;
    bool IsOpen() const override { return m_socket >= 0; }
    void SetTimeouts() override {}
    int32_t Read(uint8_t* buffer, int32_t count, uint32_t limitMs) override;
    int32_t ReadAvailable(uint8_t* buffer, int32_t capacity) override;
    int32_t Write(const char* text) override;
    int32_t WriteBytes(const uint8_t* bytes, int32_t length) override;
    void SetBaudRate(uint32_t) override {}

private:
    void CheckOpen() const;

    int m_socket = -1;
};

// Splits "HOST:PORT" or "[V6]:PORT"; false when either part is missing or the
// port is not 1 to 65535.
bool SplitHostPort(const std::string& text, std::string& host, std::string& port);
