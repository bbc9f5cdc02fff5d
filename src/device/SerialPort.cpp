#include "SerialPort.h"

#include "DeviceServerError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace
{

// A write that cannot make progress for this long means the line is stuck.
constexpr int kWriteStallMs = 5000;

speed_t SpeedFor(uint32_t baud)
{
    switch (baud)
    {
    case 9600: return B9600;
    case 115200: return B115200;
    default: ThrowSerialException(EINVAL);
    }
}

int64_t SteadyMicros()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

bool CSerialException::GetErrorMessage(char* buffer, size_t capacity, uint32_t* helpContext) const
{
    if (helpContext != nullptr)
        *helpContext = 0;
    const char* text = DeviceServerErrorText(m_error);
    if (text == nullptr)
        text = strerrordesc_np(static_cast<int>(m_error));
    if (capacity == 0)
        return false;
    if (text == nullptr)
    {
        buffer[0] = '\0';
        return false;
    }
    const size_t n = std::min(std::strlen(text), capacity - 1);
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return true;
}

std::string CSerialException::GetErrorMessage() const
{
    char text[256];
    GetErrorMessage(text, sizeof text);
    return text;
}

void ThrowSerialException(uint32_t error)
{
    throw CSerialException(error != 0 ? error : static_cast<uint32_t>(errno));
}

std::string DescribeOpenError(uint32_t error)
{
    switch (error)
    {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return "no such device";
    case EBUSY:
        return "busy: another program is using the port";
    case EACCES:
    case EPERM:
        return "permission denied: add yourself to the dialout group "
               "(sudo adduser $USER dialout, then log in again)";
    default:
    {
        std::string text = CSerialException(error).GetErrorMessage();
        if (text.empty())
            return "error " + std::to_string(error);
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        return text;
    }
    }
}

CSerialPort::~CSerialPort()
{
    // Virtual dispatch is off during destruction; name the call it makes.
    CSerialPort::Close();
}

void CSerialPort::CheckOpen() const
{
    if (m_handle < 0)
        ThrowSerialException(EBADF);
}

void CSerialPort::Open(const std::string& path)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        ThrowSerialException();
    m_handle = fd;
    if (::isatty(fd) == 0)
        ThrowSerialException(ENOTTY);
    // Nobody else may open the device while we hold it. TIOCEXCL does not
    // stop root; a lock held by another program stops everyone.
    if (::ioctl(fd, TIOCEXCL) != 0)
        ThrowSerialException();
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        ThrowSerialException(errno == EWOULDBLOCK ? EBUSY : 0);

    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        ThrowSerialException();
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                           IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        ThrowSerialException();
}

void CSerialPort::Close()
{
    if (m_handle < 0)
        return;
    // Exclusive use belongs to this handle; a peer that keeps the device open
    // (a pseudo-terminal's owner) must not lock out our next open.
    ::ioctl(m_handle, TIOCNXCL);
    ::close(m_handle);
    m_handle = -1;
}

void CSerialPort::SetTimeouts()
{
    CheckOpen();
    termios tio{};
    if (::tcgetattr(m_handle, &tio) != 0)
        ThrowSerialException();
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(m_handle, TCSANOW, &tio) != 0)
        ThrowSerialException();
}

int32_t CSerialPort::ReadAvailable(uint8_t* buffer, int32_t capacity)
{
    CheckOpen();
    if (capacity <= 0)
        return 0;
    for (;;)
    {
        const ssize_t n = ::read(m_handle, buffer, static_cast<size_t>(capacity));
        if (n >= 0)
            return static_cast<int32_t>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            return 0;
        ThrowSerialException();
    }
}

int32_t CSerialPort::Read(uint8_t* buffer, int32_t count, uint32_t limitMs)
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
        pollfd p{m_handle, POLLIN, 0};
        const int waitMs = static_cast<int>((left + 999) / 1000);
        const int r = ::poll(&p, 1, waitMs);
        if (r < 0 && errno != EINTR)
            ThrowSerialException();
        if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
        {
            // The device has gone (an unplugged adapter, a closed pseudo-terminal):
            // poll would report it at once forever. What it left is still read.
            const int32_t last = ReadAvailable(buffer + got, count - got);
            got += last;
            if (last == 0 && got < count)
                ThrowSerialException(EIO);
        }
    }
}

int32_t CSerialPort::Write(const char* text)
{
    return WriteBytes(reinterpret_cast<const uint8_t*>(text), static_cast<int32_t>(std::strlen(text)));
}

int32_t CSerialPort::WriteBytes(const uint8_t* bytes, int32_t length)
{
    CheckOpen();
    int32_t done = 0;
    while (done < length)
    {
        const ssize_t n = ::write(m_handle, bytes + done, static_cast<size_t>(length - done));
        if (n > 0)
        {
            done += static_cast<int32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            ThrowSerialException();
        pollfd p{m_handle, POLLOUT, 0};
        const int r = ::poll(&p, 1, kWriteStallMs);
        if (r == 0)
            ThrowSerialException(ETIMEDOUT);
        if (r < 0 && errno != EINTR)
            ThrowSerialException();
        if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 && (p.revents & POLLOUT) == 0)
            ThrowSerialException(EIO);
    }
    return done;
}

void CSerialPort::SetBaudRate(uint32_t baud)
{
    CheckOpen();
    const speed_t speed = SpeedFor(baud);
    termios tio{};
    if (::tcgetattr(m_handle, &tio) != 0)
        ThrowSerialException();
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (::tcsetattr(m_handle, TCSADRAIN, &tio) != 0)
        ThrowSerialException();
}
