#include "SimulatedPanel.h"

#include "AtomicFile.h"
#include "BlockRecord.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace
{

constexpr uint32_t kTemplateMagic = 0xABADCAD5u;

uint64_t NowMs()
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t BaudOf(speed_t speed)
{
    switch (speed)
    {
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}

std::string Printable(const std::vector<uint8_t>& bytes, size_t limit)
{
    std::string out;
    for (size_t i = 0; i < bytes.size() && i < limit; ++i)
    {
        const uint8_t b = bytes[i];
        if (b == '\n')
            out += "\\n";
        else if (b == '\r')
            out += "\\r";
        else if (b >= 0x20 && b < 0x7F && b != '\\')
            out += static_cast<char>(b);
        else
        {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    if (bytes.size() > limit)
        out += "...";
    return out;
}

uint32_t NextNoise(uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// What a receiver set to another speed makes of the bytes: a slow receiver
// sees one broken character where several went by, a fast one sees each
// character as a burst of broken ones. Never the bytes that were sent.
std::vector<uint8_t> Garble(const std::vector<uint8_t>& bytes, uint32_t senderBaud, uint32_t receiverBaud,
                            uint32_t& noise)
{
    std::vector<uint8_t> out;
    if (senderBaud != 0 && receiverBaud != 0 && senderBaud > receiverBaud)
    {
        const size_t ratio = senderBaud / receiverBaud;
        for (size_t i = 0; i < bytes.size(); i += ratio)
            out.push_back(static_cast<uint8_t>(0x80 | NextNoise(noise)));
        return out;
    }
    for (uint8_t b : bytes)
    {
        out.push_back(static_cast<uint8_t>((b ^ NextNoise(noise)) | 0x80));
        if ((NextNoise(noise) & 1) != 0)
            out.push_back(0x00);
    }
    return out;
}

} // namespace

CSimulatedPanel::CSimulatedPanel(TSimOptions options)
    : m_options(std::move(options)),
      m_model({m_options.firmwareVersion, m_options.hardwareVersion, m_options.faults}, m_options.layoutImage),
      m_layout(m_options.layoutImage)
{
    m_model.onEvent = [this](const std::string& text) { LogNote(text); };
    m_model.onLayoutStored = [this](const std::vector<uint8_t>& image) {
        int32_t n;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_layout = image;
            n = ++m_layoutsStored;
        }
        LogNote("stored a layout of " + std::to_string(image.size()) + " bytes");
        Keep("layout", "qel", n, image, true);
    };
    m_model.onFirmwareStored = [this](const std::vector<uint8_t>& image) {
        int32_t n;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_firmware = image;
            n = ++m_firmwareStored;
        }
        LogNote("stored firmware of " + std::to_string(image.size()) + " bytes");
        Keep("firmware", "qfw", n, image, false);
    };
}

CSimulatedPanel::~CSimulatedPanel()
{
    for (int fd : {m_master, m_slave, m_wake[0], m_wake[1]})
    {
        if (fd >= 0)
            ::close(fd);
    }
    if (m_log != nullptr)
        std::fclose(m_log);
}

std::string CSimulatedPanel::Start()
{
    if (!m_options.logPath.empty())
    {
        m_log = std::fopen(m_options.logPath.c_str(), "w");
        if (m_log == nullptr)
            throw std::runtime_error(m_options.logPath + ": " + std::strerror(errno));
    }
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        throw std::runtime_error(std::string("pseudo-terminal: ") + std::strerror(errno));
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0)
        throw std::runtime_error(std::string("pseudo-terminal: ") + std::strerror(errno));
    m_path = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        throw std::runtime_error(m_path + ": " + std::strerror(errno));
    // Raw until the tool sets its own line: no echo, no newline translation.
    termios tio{};
    ::tcgetattr(m_slave, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    ::tcsetattr(m_slave, TCSANOW, &tio);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_started = NowMs();
    LogNote("serving on " + m_path);
    return m_path;
}

void CSimulatedPanel::Stop()
{
    if (m_wake[1] >= 0)
    {
        const char b = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &b, 1);
    }
}

uint32_t CSimulatedPanel::ToolBaud() const
{
    // The tool's side of the terminal carries the speed it set.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) != 0)
        return 0;
    return BaudOf(cfgetospeed(&tio));
}

void CSimulatedPanel::Serve()
{
    if (m_master < 0)
        throw std::runtime_error("the simulated panel was not started");
    std::vector<uint8_t> input(4096);
    for (;;)
    {
        const uint64_t now = NowMs();
        const uint64_t next = std::min(m_model.NextOutputDue(), m_model.NextDeadline());
        int timeout = -1;
        if (next != UINT64_MAX)
            timeout = next <= now ? 0 : static_cast<int>(std::min<uint64_t>(next - now, INT_MAX));
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int r = ::poll(fds, 2, timeout);
        if (r < 0 && errno != EINTR)
            throw std::runtime_error(std::string("poll: ") + std::strerror(errno));
        if (r > 0 && (fds[1].revents & POLLIN) != 0)
            break;
        if (r > 0 && (fds[0].revents & POLLIN) != 0)
        {
            const ssize_t n = ::read(m_master, input.data(), input.size());
            if (n > 0)
            {
                std::vector<uint8_t> heard(input.begin(), input.begin() + n);
                const bool garbled = ToolBaud() != m_model.Baud();
                if (garbled)
                    heard = Garble(heard, ToolBaud(), m_model.Baud(), m_noise);
                Log("tool ", std::vector<uint8_t>(input.begin(), input.begin() + n), garbled);
                m_model.Receive(heard.data(), heard.size(), NowMs());
            }
        }
        m_model.Tick(NowMs());
        CPanelModel::TOutput piece;
        while (m_model.TakeOutput(NowMs(), piece))
            Send(piece);
    }
    LogNote("stopped");
}

void CSimulatedPanel::Send(const CPanelModel::TOutput& piece)
{
    const uint32_t tool = ToolBaud();
    const bool garbled = tool != piece.baud;
    const std::vector<uint8_t> bytes = garbled ? Garble(piece.bytes, piece.baud, tool, m_noise) : piece.bytes;
    Log("panel", piece.bytes, garbled);
    size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break;  // nobody reads the line: what does not fit is lost, as on a wire
    }
}

void CSimulatedPanel::Log(const char* direction, const std::vector<uint8_t>& bytes, bool garbled)
{
    if (m_log == nullptr)
        return;
    std::fprintf(m_log, "%9.3f %s %5zu  %s%s\n", static_cast<double>(NowMs() - m_started) / 1000.0, direction,
                 bytes.size(), Printable(bytes, 48).c_str(), garbled ? "  (line speeds differ: garbled)" : "");
    std::fflush(m_log);
}

void CSimulatedPanel::LogNote(const std::string& text)
{
    if (m_log == nullptr)
        return;
    std::fprintf(m_log, "%9.3f -- %s\n", static_cast<double>(NowMs() - m_started) / 1000.0, text.c_str());
    std::fflush(m_log);
}

void CSimulatedPanel::Keep(const char* stem, const char* extension, int32_t number, const std::vector<uint8_t>& bytes,
                           bool withTemplateMagic)
{
    if (m_options.storeDir.empty())
        return;
    namespace fs = std::filesystem;
    char name[64];
    std::snprintf(name, sizeof name, "%s-%03d.%s", stem, number, extension);
    const fs::path target = fs::path(m_options.storeDir) / name;
    uint8_t magic[4];
    PutLe32(magic, kTemplateMagic);
    std::vector<TBytes> parts;
    if (withTemplateMagic)
        parts.push_back({magic, sizeof magic});
    parts.push_back({bytes.data(), bytes.size()});
    if (const TFileResult written = WriteFileAtomically(target.string(), parts); !written)
    {
        // The panel holds it in memory and answers as a panel would; the
        // person who asked for a copy on disk must hear that there is none.
        std::fprintf(stderr, "qelctl: %s: could not keep what the panel received: %s\n", target.c_str(),
                     written.reason.c_str());
        LogNote("could not keep " + target.string() + ": " + written.reason);
        return;
    }
    LogNote("kept " + target.string());
}

std::vector<uint8_t> CSimulatedPanel::LayoutImage() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_layout;
}

std::vector<uint8_t> CSimulatedPanel::LastFirmware() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_firmware;
}

int32_t CSimulatedPanel::LayoutsStored() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_layoutsStored;
}

int32_t CSimulatedPanel::FirmwareStored() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_firmwareStored;
}
