#pragma once

#include "Clock.h"
#include "SerialLine.h"
#include "SerialPort.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// A serial line whose peer is a script: every write is recorded with its time
// and baud rate and handed to the responder, which schedules the peer's bytes.
// Reads advance the virtual clock instead of waiting.
class CScriptedLine : public ISerialLine
{
public:
    struct TWrite
    {
        uint64_t time;
        uint32_t baud;
        std::vector<uint8_t> bytes;
        std::string Text() const { return std::string(bytes.begin(), bytes.end()); }
    };
    using TResponder = std::function<void(CScriptedLine&, const std::vector<uint8_t>&)>;

    explicit CScriptedLine(CVirtualClock& clock) : m_clock(clock) {}

    void Open(const std::string& path) override
    {
        if (path == "/dev/missing")
            throw CSerialException(ENOENT);
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
            if (got >= count)
                return got;
            if (m_incoming.empty() || m_incoming.front().due > deadline)
            {
                m_clock.AdvanceTo(deadline);
                RaiseCancel();
                return got;
            }
            m_clock.AdvanceTo(m_incoming.front().due);
        }
    }

    int32_t ReadAvailable(uint8_t* buffer, int32_t capacity) override
    {
        Check();
        RaiseCancel();
        int32_t got = 0;
        while (got < capacity && !m_incoming.empty() && m_incoming.front().due <= m_clock.NowMs())
        {
            TChunk& c = m_incoming.front();
            const int32_t n = std::min<int32_t>(capacity - got, static_cast<int32_t>(c.bytes.size()));
            std::memcpy(buffer + got, c.bytes.data(), static_cast<size_t>(n));
            c.bytes.erase(c.bytes.begin(), c.bytes.begin() + n);
            got += n;
            if (c.bytes.empty())
                m_incoming.pop_front();
        }
        return got;
    }

    int32_t Write(const char* text) override
    {
        return WriteBytes(reinterpret_cast<const uint8_t*>(text), static_cast<int32_t>(std::strlen(text)));
    }

    int32_t WriteBytes(const uint8_t* bytes, int32_t length) override
    {
        Check();
        if (m_failWritesFrom >= 0 && static_cast<int>(m_writes.size()) >= m_failWritesFrom)
            throw CSerialException(EIO);
        std::vector<uint8_t> data(bytes, bytes + length);
        m_writes.push_back({m_clock.NowMs(), m_baud, data});
        if (m_responder)
            m_responder(*this, data);
        return length;
    }

    void SetBaudRate(uint32_t baud) override
    {
        Check();
        m_baud = baud;
    }

    // Schedules bytes from the peer delayMs from now, after anything already scheduled.
    void Deliver(const std::vector<uint8_t>& bytes, uint32_t delayMs = 1)
    {
        uint64_t due = m_clock.NowMs() + delayMs;
        if (!m_incoming.empty())
            due = std::max(due, m_incoming.back().due);
        m_incoming.push_back({due, bytes});
    }
    void Deliver(const std::string& text, uint32_t delayMs = 1)
    {
        Deliver(std::vector<uint8_t>(text.begin(), text.end()), delayMs);
    }

    void SetResponder(TResponder responder) { m_responder = std::move(responder); }
    // Sets flag when a read first finds the virtual clock at or past time, as
    // a person pressing Cancel (or a signal) would during that read.
    void CancelAt(uint64_t time, std::atomic<bool>& flag)
    {
        m_cancelAt = time;
        m_cancel = &flag;
    }
    void FailWritesFrom(int index) { m_failWritesFrom = index; }
    uint32_t Baud() const { return m_baud; }
    const std::vector<TWrite>& Writes() const { return m_writes; }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const TWrite& w : m_writes)
            texts.push_back(w.Text());
        return texts;
    }

private:
    struct TChunk
    {
        uint64_t due;
        std::vector<uint8_t> bytes;
    };

    void RaiseCancel()
    {
        if (m_cancel != nullptr && m_clock.NowMs() >= m_cancelAt)
        {
            m_cancel->store(true);
            m_cancel = nullptr; // once, as a person presses Cancel once
        }
    }

    void Check() const
    {
        if (!m_open)
            throw CSerialException(EBADF);
    }

    CVirtualClock& m_clock;
    TResponder m_responder;
    std::deque<TChunk> m_incoming;
    std::vector<TWrite> m_writes;
    uint32_t m_baud = 9600;
    bool m_open = false;
    int m_failWritesFrom = -1;
    std::atomic<bool>* m_cancel = nullptr;
    uint64_t m_cancelAt = 0;
};
