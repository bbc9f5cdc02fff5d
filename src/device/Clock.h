#pragma once

#include <cstdint>

// The link's only notion of time. The engine sleeps through it and the lines
// measure their read limits with it, so tests can run a transfer on a virtual
// clock in microseconds of real time.
class IClock
{
public:
    virtual ~IClock() = default;
    virtual uint64_t NowMs() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
};

// Monotonic wall time (std::chrono::steady_clock) and real sleeps.
class CSteadyClock : public IClock
{
public:
    uint64_t NowMs() override;
    void SleepMs(uint32_t ms) override;

    static CSteadyClock& Instance();
};

// Time that passes only when someone sleeps or advances it: lets tests and
// simulations run a whole transfer without waiting.
class CVirtualClock : public IClock
{
public:
    explicit CVirtualClock(uint64_t startMs = 1000000) : m_now(startMs) {}
    uint64_t NowMs() override { return m_now; }
    void SleepMs(uint32_t ms) override { m_now += ms; }
    void AdvanceTo(uint64_t t) { m_now = t > m_now ? t : m_now; }

private:
    uint64_t m_now;
};
