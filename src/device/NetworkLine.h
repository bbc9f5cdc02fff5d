#pragma once

#include "Clock.h"
#include "SerialLine.h"
#include "TelnetCodec.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

// Prefix of a port reached through a serial device server speaking RFC 2217.
constexpr char kNetworkPortPrefix[] = "rfc2217://";
bool IsNetworkPort(const std::string& portName);

// A serial line at the far end of a Telnet connection with serial port
// control (RFC 2217), such as ser2net serving an adapter. Open takes
// "rfc2217://HOST:PORT", sets 9600 baud, 8 data bits, no parity, one stop bit
// and no flow control, and returns once the server has confirmed the rate.
// SetBaudRate likewise returns only once the server has confirmed the new
// rate, so a pause the caller takes after it starts with the device at that
// speed. Nothing waits for answers a server may leave out (the size, parity,
// stop bits and flow control settings). The transport is any byte line (TCP
// in use, a scripted line in tests) and time is read from clock.
class CRfc2217Line : public ISerialLine
{
public:
    static constexpr uint32_t kConfirmLimitMs = 2000;

    CRfc2217Line(std::unique_ptr<ISerialLine> transport, IClock& clock);
    CRfc2217Line(const CRfc2217Line&) = delete;
    CRfc2217Line& operator=(const CRfc2217Line&) = delete;
    ~CRfc2217Line() override;

    void Open(const std::string& url) override;
    void Close() override;
    bool IsOpen() const override { return m_transport->IsOpen(); }
    void SetTimeouts() override {}
    int32_t Read(uint8_t* buffer, int32_t count, uint32_t limitMs) override;
    int32_t ReadAvailable(uint8_t* buffer, int32_t capacity) override;
    int32_t Write(const char* text) override;
    int32_t WriteBytes(const uint8_t* bytes, int32_t length) override;
    void SetBaudRate(uint32_t baud) override;

private:
    // Waits up to limitMs for bytes from the server and decodes what came;
    // limitMs 0 takes only what is waiting.
    void Pump(uint32_t limitMs);
    int32_t TakeData(uint8_t* buffer, int32_t capacity);
    void SendRaw(const std::vector<uint8_t>& bytes);
    // Sends SET-BAUDRATE and waits for the server's answer naming it.
    void RequestBaud(uint32_t baud);

    std::unique_ptr<ISerialLine> m_transport;
    IClock& m_clock;
    CTelnetCodec m_codec;
    std::deque<uint8_t> m_data; // decoded bytes not yet read
    std::vector<uint8_t> m_raw;
    std::vector<uint8_t> m_decoded;
    std::vector<uint8_t> m_replies;
    std::vector<uint8_t> m_out;
    uint32_t m_baudRequests = 0;
};
