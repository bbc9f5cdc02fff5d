#include "NetworkLine.h"

#include "DeviceServerError.h"
#include "SerialPort.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{

constexpr size_t kRawChunk = 4096;

} // namespace

bool IsNetworkPort(const std::string& portName)
{
    return portName.rfind(kNetworkPortPrefix, 0) == 0;
}

CRfc2217Line::CRfc2217Line(std::unique_ptr<ISerialLine> transport, IClock& clock)
    : m_transport(std::move(transport)), m_clock(clock), m_raw(kRawChunk)
{
}

CRfc2217Line::~CRfc2217Line() = default;

void CRfc2217Line::Open(const std::string& url)
{
    Close();
    if (!IsNetworkPort(url))
        ThrowSerialException(kErrBadNetworkPort);
    m_transport->Open(url.substr(sizeof kNetworkPortPrefix - 1));
    std::vector<uint8_t> hello = m_codec.Greeting();
    // 8 data bits, no parity (1), one stop bit (1), no flow control (1). A
    // server may answer these or not; only the rate is waited for.
    for (const auto& [command, value] : {std::pair<uint8_t, uint8_t>{CTelnetCodec::kSetDataSize, 8},
                                         {CTelnetCodec::kSetParity, 1},
                                         {CTelnetCodec::kSetStopSize, 1},
                                         {CTelnetCodec::kSetControl, 1}})
    {
        const std::vector<uint8_t> sub = CTelnetCodec::ComPortCommand(command, {value});
        hello.insert(hello.end(), sub.begin(), sub.end());
    }
    SendRaw(hello);
    RequestBaud(9600);
}

void CRfc2217Line::Close()
{
    m_transport->Close();
    m_codec = CTelnetCodec();
    m_data.clear();
    m_baudRequests = 0;
}

void CRfc2217Line::SendRaw(const std::vector<uint8_t>& bytes)
{
    if (!bytes.empty())
        m_transport->WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void CRfc2217Line::Pump(uint32_t limitMs)
{
    int32_t n = 0;
    if (limitMs > 0)
        n = m_transport->Read(m_raw.data(), 1, limitMs);
    n += m_transport->ReadAvailable(m_raw.data() + n, static_cast<int32_t>(m_raw.size()) - n);
    if (n == 0)
        return;
    m_decoded.clear();
    m_replies.clear();
    m_codec.Decode(m_raw.data(), static_cast<size_t>(n), m_decoded, m_replies);
    m_data.insert(m_data.end(), m_decoded.begin(), m_decoded.end());
    SendRaw(m_replies);
    if (m_codec.ComPortRefused())
        ThrowSerialException(kErrNoPortControl);
}

int32_t CRfc2217Line::TakeData(uint8_t* buffer, int32_t capacity)
{
    const auto n =
        static_cast<int32_t>(std::min<size_t>(m_data.size(), static_cast<size_t>(std::max(capacity, 0))));
    std::copy_n(m_data.begin(), n, buffer);
    m_data.erase(m_data.begin(), m_data.begin() + n);
    return n;
}

void CRfc2217Line::RequestBaud(uint32_t baud)
{
    SendRaw(CTelnetCodec::SetBaudRate(baud));
    ++m_baudRequests;
    const uint64_t start = m_clock.NowMs();
    for (;;)
    {
        if (m_codec.BaudReplies() >= m_baudRequests)
        {
            if (m_codec.LastBaudReply() != baud)
                ThrowSerialException(kErrBaudRefused);
            return;
        }
        const uint64_t spent = m_clock.NowMs() - start;
        if (spent >= kConfirmLimitMs)
            ThrowSerialException(kErrBaudNotConfirmed);
        Pump(static_cast<uint32_t>(kConfirmLimitMs - spent));
    }
}

int32_t CRfc2217Line::ReadAvailable(uint8_t* buffer, int32_t capacity)
{
    if (!IsOpen())
        ThrowSerialException(EBADF);
    Pump(0);
    return TakeData(buffer, capacity);
}

int32_t CRfc2217Line::Read(uint8_t* buffer, int32_t count, uint32_t limitMs)
{
    if (!IsOpen())
        ThrowSerialException(EBADF);
    if (count <= 0)
        return 0;
    const uint64_t deadline = m_clock.NowMs() + limitMs;
    Pump(0);
    int32_t got = TakeData(buffer, count);
    while (got < count)
    {
        const uint64_t now = m_clock.NowMs();
        if (now >= deadline)
            break;
        Pump(static_cast<uint32_t>(deadline - now));
        got += TakeData(buffer + got, count - got);
    }
    return got;
}

int32_t CRfc2217Line::Write(const char* text)
{
    return WriteBytes(reinterpret_cast<const uint8_t*>(text), static_cast<int32_t>(std::strlen(text)));
}

int32_t CRfc2217Line::WriteBytes(const uint8_t* bytes, int32_t length)
{
    if (!IsOpen())
        ThrowSerialException(EBADF);
    m_out.clear();
    CTelnetCodec::Encode(bytes, static_cast<size_t>(std::max(length, 0)), m_out);
    SendRaw(m_out);
    return length;
}

void CRfc2217Line::SetBaudRate(uint32_t baud)
{
    if (!IsOpen())
        ThrowSerialException(EBADF);
    if (baud != 9600 && baud != 115200)
        ThrowSerialException(EINVAL);
    RequestBaud(baud);
}
