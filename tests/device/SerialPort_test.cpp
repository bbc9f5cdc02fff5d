#include "PortList.h"
#include "SerialPort.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

// A pseudo-terminal whose far end the test plays.
class CPty
{
public:
    CPty()
    {
        char name[128];
        int slave = -1;
        if (openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty");
        ::close(slave);
        path = name;
    }
    ~CPty()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    void Send(const std::string& bytes) { ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    std::string Receive()
    {
        char buf[512];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    }
    void CloseMaster()
    {
        ::close(m_master);
        m_master = -1;
    }

    std::string path;

private:
    int m_master = -1;
};

double MsSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

uint32_t ErrorOf(const std::function<void()>& f)
{
    try
    {
        f();
    }
    catch (const CSerialException& e)
    {
        return e.m_error;
    }
    return 0;
}

} // namespace

TEST(SerialPort, ReadReturnsWhenCountArrivesOrTheLimitPasses)
{
    CPty pty;
    CSerialPort port;
    port.Open(pty.path);
    port.SetTimeouts();
    uint8_t buf[256];
    EXPECT_EQ(port.Read(buf, 0, 1000), 0);

    pty.Send("%return 0\r\n");
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(port.Read(buf, 200, 150), 11);
    EXPECT_GE(MsSince(t0), 150.0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 11), "%return 0\r\n");

    pty.Send(std::string(250, 'z'));
    EXPECT_EQ(port.Read(buf, 200, 5000), 200);
    EXPECT_EQ(port.ReadAvailable(buf, 200), 50);
    EXPECT_EQ(port.ReadAvailable(buf, 200), 0);

    EXPECT_EQ(port.Write("%reqinfo\n"), 9);
    EXPECT_EQ(pty.Receive(), "%reqinfo\n");
}

TEST(SerialPort, LineSettingsSurviveSpeedChanges)
{
    CPty pty;
    CSerialPort port;
    port.Open(pty.path);
    for (uint32_t baud : {115200u, 9600u})
    {
        port.SetBaudRate(baud);
        termios tio{};
        ASSERT_EQ(tcgetattr(port.Handle(), &tio), 0);
        EXPECT_EQ(cfgetospeed(&tio), baud == 9600 ? B9600 : B115200);
        EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
        EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
    }
    EXPECT_EQ(ErrorOf([&] { port.SetBaudRate(57600); }), static_cast<uint32_t>(EINVAL));
}

TEST(SerialPort, FailuresCarryTheSystemError)
{
    CSerialPort port;
    EXPECT_EQ(ErrorOf([&] { port.Open("/dev/no-such-port"); }), static_cast<uint32_t>(ENOENT));
    EXPECT_EQ(ErrorOf([&] { port.Open("/dev/null"); }), static_cast<uint32_t>(ENOTTY));
    port.Close();
    port.Close();
    uint8_t b[4];
    EXPECT_EQ(ErrorOf([&] { port.ReadAvailable(b, 4); }), static_cast<uint32_t>(EBADF));
    EXPECT_EQ(ErrorOf([&] { port.Write("x"); }), static_cast<uint32_t>(EBADF));

    // A peer that goes away ends a read at once instead of leaving it spinning.
    CPty pty;
    port.Open(pty.path);
    pty.CloseMaster();
    EXPECT_NE(ErrorOf([&] { port.Read(b, 4, 2000); }), 0u);

    char text[64];
    uint32_t help = 7;
    EXPECT_FALSE(CSerialException(99999).GetErrorMessage(text, sizeof text, &help));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(help, 0u);
    EXPECT_TRUE(CSerialException(ENOENT).GetErrorMessage(text, 8));
    EXPECT_STREQ(text, "No such");

    EXPECT_EQ(DescribeOpenError(ENOENT), "no such device");
    EXPECT_EQ(DescribeOpenError(EBUSY), "busy: another program is using the port");
    EXPECT_NE(DescribeOpenError(EACCES).find("dialout"), std::string::npos);
}

TEST(PortList, FindsRealSerialDevicesWithTheirDescriptions)
{
    const fs::path root = fs::temp_directory_path() / ("qel-ports-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path tty = root / "class/tty";
    const fs::path devices = root / "devices";
    auto file = [](const fs::path& p, const std::string& text) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << text << "\n";
    };
    auto node = [&](const std::string& name, const fs::path& device) {
        fs::create_directories(tty / name);
        if (!device.empty())
        {
            fs::create_directories(device);
            fs::create_directory_symlink(device, tty / name / "device");
        }
    };
    node("ttyS0", devices / "platform/serial8250/port0");
    file(tty / "ttyS0/type", "4");
    node("ttyS1", devices / "platform/serial8250/port1");
    file(tty / "ttyS1/type", "0");
    node("ttyUSB0", devices / "usb1/1-1/1-1:1.0/ttyUSB0");
    file(devices / "usb1/1-1/product", "FT232R USB UART");
    file(devices / "usb1/1-1/manufacturer", "FTDI");
    node("ttyACM0", devices / "usb1/2-1/2-1:1.0");
    node("ttyAMA0", devices / "platform/uart0");
    fs::create_directories(devices / "drivers/uart-pl011");
    fs::create_directory_symlink(devices / "drivers/uart-pl011", devices / "platform/uart0/driver");
    node("tty0", {});
    node("ptmx", {});

    const std::vector<TPortInfo> ports = EnumeratePorts(tty.string(), "/dev");
    std::vector<std::string> found;
    for (const TPortInfo& p : ports)
        found.push_back(p.path + " | " + p.description);
    EXPECT_EQ(found, (std::vector<std::string>{
                         "/dev/ttyACM0 | USB modem (ACM)",
                         "/dev/ttyAMA0 | Serial port (uart-pl011)",
                         "/dev/ttyS0 | Serial port",
                         "/dev/ttyUSB0 | FTDI FT232R USB UART",
                     }));
    EXPECT_TRUE(EnumeratePorts((root / "nowhere").string()).empty());
    fs::remove_all(root);
}
