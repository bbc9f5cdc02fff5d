#pragma once

#include <cstdint>
#include <string>

// What the protocol needs of a serial line. CSerialPort is the real one; tests
// put a scripted line on a virtual clock in its place. Failures throw
// CSerialException.
class ISerialLine
{
public:
    virtual ~ISerialLine() = default;

    // Opens the device at 9600 baud, 8N1, no flow control; closes first if open.
    virtual void Open(const std::string& path) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Makes reads return at once with what is waiting.
    virtual void SetTimeouts() = 0;
    // Returns as soon as count bytes have arrived or limitMs has passed.
    virtual int32_t Read(uint8_t* buffer, int32_t count, uint32_t limitMs) = 0;
    // One non-blocking read: what is waiting, 0 to capacity bytes.
    virtual int32_t ReadAvailable(uint8_t* buffer, int32_t capacity) = 0;
    virtual int32_t Write(const char* text) = 0;
    // Writes all of the bytes.
    virtual int32_t WriteBytes(const uint8_t* bytes, int32_t length) = 0;
    // 9600 or 115200, applied after pending output has drained.
    virtual void SetBaudRate(uint32_t baud) = 0;
};
