#pragma once

#include "Clock.h"
#include "SerialLine.h"

#include <memory>
#include <string>

// The line for a port name: a network port for "rfc2217://HOST:PORT", the
// serial device at that path otherwise. Not yet open.
std::unique_ptr<ISerialLine> MakeLineFor(const std::string& portName,
                                         IClock& clock = CSteadyClock::Instance());

// A line that becomes the right kind at each Open, so one link serves local
// devices and network ports alike.
class CPortLine : public ISerialLine
{
public:
    explicit CPortLine(IClock& clock = CSteadyClock::Instance()) : m_clock(clock) {}

    void Open(const std::string& portName) override;
    void Close() override;
    bool IsOpen() const override { return m_line && m_line->IsOpen(); }
    void SetTimeouts() override { Line().SetTimeouts(); }
    int32_t Read(uint8_t* buffer, int32_t count, uint32_t limitMs) override
    {
        return Line().Read(buffer, count, limitMs);
    }
    int32_t ReadAvailable(uint8_t* buffer, int32_t capacity) override
    {
        return Line().ReadAvailable(buffer, capacity);
    }
    int32_t Write(const char* text) override { return Line().Write(text); }
    int32_t WriteBytes(const uint8_t* bytes, int32_t length) override
    {
        return Line().WriteBytes(bytes, length);
    }
    void SetBaudRate(uint32_t baud) override { Line().SetBaudRate(baud); }

private:
    ISerialLine& Line();

    IClock& m_clock;
    std::unique_ptr<ISerialLine> m_line;
};
