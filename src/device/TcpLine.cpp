#include "TcpLine.h"

#include "DeviceServerError.h"
#include "SerialPort.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

constexpr int kConnectLimitMs = 5000;
constexpr int kWriteStallMs = 5000;

int64_t SteadyMicros()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// One connection attempt with a time limit; the socket or -1 with errno set.
int ConnectTo(const addrinfo& ai)
{
    const int s = ::socket(ai.ai_family, ai.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai.ai_protocol);
    if (s < 0)
        return -1;
    if (::connect(s, ai.ai_addr, ai.ai_addrlen) != 0 && errno != EINPROGRESS)
    {
        const int e = errno;
        ::close(s);
        errno = e;
        return -1;
    }
    pollfd p{s, POLLOUT, 0};
    int r;
    do
        r = ::poll(&p, 1, kConnectLimitMs);
    while (r < 0 && errno == EINTR);
    int error = 0;
    socklen_t size = sizeof error;
    if (r == 0)
        error = ETIMEDOUT;
    else if (r < 0)
        error = errno;
    else if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        error = errno;
    if (error != 0)
    {
        ::close(s);
        errno = error;
        return -1;
    }
    // Commands are a few bytes each and the panel answers each one: send at once.
    const int one = 1;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return s;
}

} // namespace

bool SplitHostPort(const std::string& text, std::string& host, std::string& port)
{
    size_t colon;
    if (!text.empty() && text[0] == '[')
    {
        const size_t close = text.find(']');
        if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':')
            return false;
        host = text.substr(1, close - 1);
        colon = close + 1;
    }
    else
    {
        colon = text.rfind(':');
        if (colon == std::string::npos)
            return false;
        host = text.substr(0, colon);
    }
    port = text.substr(colon + 1);
    if (host.empty() || port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int n = std::stoi(port);
    return n >= 1 && n <= 65535;
}

CTcpLine::~CTcpLine()
{
    CTcpLine::Close();
}

void CTcpLine::CheckOpen() const
{
    if (m_socket < 0)
        ThrowSerialException(EBADF);
}

void CTcpLine::Open(const std::string& hostPort)
{
    Close();
    std::string host, port;
    if (!SplitHostPort(hostPort, host, port))
        ThrowSerialException(kErrBadNetworkPort);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &list) != 0 || list == nullptr)
        ThrowSerialException(kErrUnknownHost);
    int error = ECONNREFUSED;
    for (const addrinfo* ai = list; ai != nullptr && m_socket < 0; ai = ai->ai_next)
    {
        m_socket = ConnectTo(*ai);
        if (m_socket < 0)
            error = errno;
    }
    ::freeaddrinfo(list);
    if (m_socket < 0)
        ThrowSerialException(static_cast<uint32_t>(error));
}

void CTcpLine::Close()
{
    if (m_socket < 0)
        return;
    ::close(m_socket);
    m_socket = -1;
}

int32_t CTcpLine::ReadAvailable(uint8_t* buffer, int32_t capacity)
{
    CheckOpen();
    if (capacity <= 0)
        return 0;
    for (;;)
    {
        const ssize_t n = ::recv(m_socket, buffer, static_cast<size_t>(capacity), MSG_DONTWAIT);
        if (n > 0)
            return static_cast<int32_t>(n);
        if (n == 0)
            ThrowSerialException(kErrServerClosed);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        if (errno == ECONNRESET || errno == EPIPE)
            ThrowSerialException(kErrServerClosed);
        ThrowSerialException();
    }
}

int32_t CTcpLine::Read(uint8_t* buffer, int32_t count, uint32_t limitMs)
{
    CheckOpen();
    if (count <= 0)
        return 0;
    const int64_t deadline = SteadyMicros() + static_cast<int64_t>(limitMs) * 1000;
    int32_t got = 0;
    for (;;)
    {
        got += ReadAvailable(buffer + got, count - got);
        const int64_t left = deadline - SteadyMicros();
        if (got >= count || left <= 0)
            return got;
        pollfd p{m_socket, POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>((left + 999) / 1000));
        if (r < 0 && errno != EINTR)
            ThrowSerialException();
        // A hang-up shows as readable: the next recv reports the end.
    }
}

int32_t CTcpLine::Write(const char* text)
{
    return WriteBytes(reinterpret_cast<const uint8_t*>(text), static_cast<int32_t>(std::strlen(text)));
}

int32_t CTcpLine::WriteBytes(const uint8_t* bytes, int32_t length)
{
    CheckOpen();
    int32_t done = 0;
    while (done < length)
    {
        const ssize_t n = ::send(m_socket, bytes + done, static_cast<size_t>(length - done), MSG_NOSIGNAL);
        if (n > 0)
        {
            done += static_cast<int32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EPIPE || errno == ECONNRESET))
            ThrowSerialException(kErrServerClosed);
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            ThrowSerialException();
        pollfd p{m_socket, POLLOUT, 0};
        const int r = ::poll(&p, 1, kWriteStallMs);
        if (r == 0)
            ThrowSerialException(ETIMEDOUT);
        if (r < 0 && errno != EINTR)
            ThrowSerialException();
    }
    return done;
}
