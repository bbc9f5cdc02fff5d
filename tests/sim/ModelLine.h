#pragma once

#include "Clock.h"
#include "PanelModel.h"
#include "SerialLine.h"
#include "SerialPort.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>

// A line from the tool straight into a panel model, on a virtual clock: the
// whole protocol, both sides, in microseconds. Bytes sent while the two line
// speeds differ arrive as noise.
class CModelLine : public ISerialLine
{
public:
    CModelLine(CVirtualClock& clock, CPanelModel& panel) : m_clock(clock), m_panel(panel) {}

    void Open(const std::string&) override
    {
        m_open = true;
        m_baud = 9600;
    }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    void SetTimeouts() override {}

    int32_t Read(uint8_t* buffer, int32_t count, uint32_t limitMs) override
    {
        Check();
        const uint64_t deadline = m_clock.NowMs() + limitMs;
        int32_t got = 0;
        for (;;)
        {
            got += ReadAvailable(buffer + got, count - got);
            const uint64_t next = std::min(m_panel.NextOutputDue(), m_panel.NextDeadline());
            if (got >= count || next > deadline)
            {
                m_clock.AdvanceTo(deadline);
                Pump();
                return got + (got < count ? ReadAvailable(buffer + got, count - got) : 0);
            }
            m_clock.AdvanceTo(next);
        }
    }

    int32_t ReadAvailable(uint8_t* buffer, int32_t capacity) override
    {
        Check();
        Pump();
        const int32_t n = std::min<int32_t>(capacity, static_cast<int32_t>(m_incoming.size()));
        std::copy(m_incoming.begin(), m_incoming.begin() + n, buffer);
        m_incoming.erase(m_incoming.begin(), m_incoming.begin() + n);
        return n;
    }

    int32_t Write(const char* text) override
    {
        return WriteBytes(reinterpret_cast<const uint8_t*>(text), static_cast<int32_t>(std::strlen(text)));
    }

    int32_t WriteBytes(const uint8_t* bytes, int32_t length) override
    {
        Check();
        Pump();
        std::vector<uint8_t> heard(bytes, bytes + length);
        if (m_baud != m_panel.Baud())
            std::fill(heard.begin(), heard.end(), uint8_t{0xF0});
        m_panel.Receive(heard.data(), heard.size(), m_clock.NowMs());
        return length;
    }

    void SetBaudRate(uint32_t baud) override
    {
        Check();
        m_baud = baud;
    }

private:
    void Pump()
    {
        m_panel.Tick(m_clock.NowMs());
        CPanelModel::TOutput piece;
        while (m_panel.TakeOutput(m_clock.NowMs(), piece))
        {
            if (piece.baud != m_baud)
                std::fill(piece.bytes.begin(), piece.bytes.end(), uint8_t{0xF0});
            m_incoming.insert(m_incoming.end(), piece.bytes.begin(), piece.bytes.end());
        }
    }

    void Check() const
    {
        if (!m_open)
            throw CSerialException(EBADF);
    }

    CVirtualClock& m_clock;
    CPanelModel& m_panel;
    std::deque<uint8_t> m_incoming;
    uint32_t m_baud = 9600;
    bool m_open = false;
};
