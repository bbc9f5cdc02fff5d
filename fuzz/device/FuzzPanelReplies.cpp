// Arbitrary panel replies against Connect (handshake and download) and an
// upload, on a virtual clock. The input is a list of replies, each a 16-bit
// little-endian length and its bytes; each thing the tool sends is answered
// with the next one until they run out, after which the panel is silent.
// Every path must end, within bounded virtual time, without touching memory
// it does not own.

#include "PanelLink.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

namespace
{

class CFuzzLine : public ISerialLine
{
public:
    CFuzzLine(CVirtualClock& clock, const uint8_t* data, size_t size) : m_clock(clock), m_data(data), m_size(size) {}

    void Open(const std::string&) override {}
    void Close() override {}
    bool IsOpen() const override { return true; }
    void SetTimeouts() override {}

    int32_t Read(uint8_t* buffer, int32_t count, uint32_t limitMs) override
    {
        const int32_t n = ReadAvailable(buffer, count);
        if (n < count)
            m_clock.SleepMs(limitMs);  // a short read lasts its whole limit
        return n;
    }

    int32_t ReadAvailable(uint8_t* buffer, int32_t capacity) override
    {
        const int32_t n = std::min<int32_t>(capacity, static_cast<int32_t>(m_incoming.size()));
        std::copy_n(m_incoming.begin(), n, buffer);
        m_incoming.erase(m_incoming.begin(), m_incoming.begin() + n);
        return n;
    }

    int32_t Write(const char* text) override
    {
        return WriteBytes(reinterpret_cast<const uint8_t*>(text), static_cast<int32_t>(std::strlen(text)));
    }

    int32_t WriteBytes(const uint8_t*, int32_t length) override
    {
        if (m_pos + 2 <= m_size)
        {
            size_t n = static_cast<size_t>(m_data[m_pos]) | static_cast<size_t>(m_data[m_pos + 1]) << 8;
            m_pos += 2;
            n = std::min(n, m_size - m_pos);
            m_incoming.insert(m_incoming.end(), m_data + m_pos, m_data + m_pos + n);
            m_pos += n;
        }
        return length;
    }

    void SetBaudRate(uint32_t) override {}

private:
    CVirtualClock& m_clock;
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    std::deque<uint8_t> m_incoming;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CVirtualClock clock;
    CPanelLink link(std::make_unique<CFuzzLine>(clock, data, size), clock);
    CNullProgress progress;
    std::vector<uint8_t> kept;
    const TLinkResult r = link.Connect("/dev/fuzz", progress, [&kept](const uint8_t* bytes, int32_t n) {
        kept.assign(bytes, bytes + n);
        return n > 0 && bytes[0] == 7;
    });
    if (r.layoutLoaded && kept.empty())
        __builtin_trap();
    const uint8_t image[1500] = {7};
    link.UploadLayout(image, sizeof image, progress);
    return 0;
}
