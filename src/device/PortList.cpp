#include "PortList.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace
{

std::string ReadLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    if (in)
        std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

std::string Basename(const fs::path& link)
{
    std::error_code ec;
    const fs::path target = fs::read_symlink(link, ec);
    return ec ? std::string() : target.filename().string();
}

// USB adapters: the product and maker live on the USB device, one or two
// levels above the tty's interface.
std::string UsbDescription(const fs::path& device)
{
    std::error_code ec;
    fs::path dir = fs::canonical(device, ec);
    if (ec)
        return {};
    for (int level = 0; level < 4 && !dir.empty() && dir != dir.root_path(); ++level, dir = dir.parent_path())
    {
        std::string product = ReadLine(dir / "product");
        if (product.empty())
            continue;
        const std::string maker = ReadLine(dir / "manufacturer");
        if (maker.empty() || product.rfind(maker, 0) == 0)
            return product;
        return maker + " " + product;
    }
    return {};
}

} // namespace

std::vector<TPortInfo> EnumeratePorts(const std::string& sysRoot, const std::string& devDir)
{
    std::vector<TPortInfo> ports;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(sysRoot, ec))
    {
        const fs::path& dir = entry.path();
        const std::string name = dir.filename().string();
        // Consoles, virtual terminals and pseudo-terminals have no device behind them.
        std::error_code lec;
        if (!fs::exists(dir / "device", lec))
            continue;
        const std::string driver = Basename(dir / "device" / "driver");
        std::string description;
        if (name.rfind("ttyS", 0) == 0)
        {
            // Legacy nodes exist whether or not a UART is fitted; the serial core
            // reports the UART type it probed, 0 meaning none.
            const std::string type = ReadLine(dir / "type");
            if (type.empty() || type == "0")
                continue;
            description = "Serial port";
        }
        else if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0)
        {
            description = UsbDescription(dir / "device");
            if (description.empty())
                description = name.rfind("ttyACM", 0) == 0 ? "USB modem (ACM)" : "USB serial adapter";
        }
        else
        {
            description = driver.empty() ? "Serial port" : "Serial port (" + driver + ")";
        }
        ports.push_back({(fs::path(devDir) / name).string(), description});
    }
    std::sort(ports.begin(), ports.end(), [](const TPortInfo& a, const TPortInfo& b) { return a.path < b.path; });
    return ports;
}
