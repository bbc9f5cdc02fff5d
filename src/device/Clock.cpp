#include "Clock.h"

#include <chrono>
#include <thread>

uint64_t CSteadyClock::NowMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CSteadyClock::SleepMs(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

CSteadyClock& CSteadyClock::Instance()
{
    static CSteadyClock clock;
    return clock;
}
