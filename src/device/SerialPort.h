#pragma once

#include "SerialLine.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

// A failed system call on the serial device; m_error is its errno.
class CSerialException : public std::exception
{
public:
    explicit CSerialException(uint32_t error) : m_error(error) {}
    ~CSerialException() override = default;

    // Copies the system's text for m_error into buffer (truncated to capacity - 1
    // characters). An unknown code gives the empty text and false.
    virtual bool GetErrorMessage(char* buffer, size_t capacity, uint32_t* helpContext = nullptr) const;
    std::string GetErrorMessage() const;

    uint32_t m_error;
};

// Throws a CSerialException for error, or for errno when error is 0.
[[noreturn]] void ThrowSerialException(uint32_t error = 0);

// One line saying why a port could not be opened: no such device, busy, or
// permission denied together with the fix.
std::string DescribeOpenError(uint32_t error);

// A serial device opened exclusively through termios: raw 8N1, CLOCAL|CREAD,
// no hardware or software flow control.
class CSerialPort : public ISerialLine
{
public:
    CSerialPort() = default;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;
    ~CSerialPort() override;

    void Open(const std::string& path) override;
    void Close() override;
    bool IsOpen() const override { return m_handle >= 0; }
    void SetTimeouts() override;
    int32_t Read(uint8_t* buffer, int32_t count, uint32_t limitMs) override;
    int32_t ReadAvailable(uint8_t* buffer, int32_t capacity) override;
    int32_t Write(const char* text) override;
    int32_t WriteBytes(const uint8_t* bytes, int32_t length) override;
    void SetBaudRate(uint32_t baud) override;

    int Handle() const { return m_handle; }

private:
    void CheckOpen() const;

    int m_handle = -1;
};
