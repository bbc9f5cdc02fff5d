#include "Command.h"
#include "PortArg.h"

#include "PanelProbe.h"
#include "PortList.h"

#include <algorithm>
#include <cstdio>

namespace
{

int RunPorts(const TArgs& parsed);

const TCommand kPorts{
    "ports",
    "ports [--probe [--port PORT]...]",
    "list the serial ports a panel can be connected to",
    "Lists the serial devices of this machine, one per line: the device path, then a\n"
    "description where the system has one. USB serial and ACM adapters and platform\n"
    "UARTs are listed; legacy ttyS nodes only when a UART answers. Any other path,\n"
    "such as the pseudo-terminal of `qelctl simulate`, can still be given to --port,\n"
    "and so can a panel behind a serial device server, as rfc2217://HOST:PORT.\n\n"
    "  --probe       ask every listed port, the ports in the environment variable\n"
    "                QEL_PORTS and each --port for a panel's versions at 9600 baud,\n"
    "                a few at a time, and say which answer as a QEL-1\n"
    "  --port PORT   also probe PORT (repeatable)",
    {{FlagOption("--probe"), RepeatedOption("--port")}, 0, 0, "ports takes no arguments"},
    RunPorts,
};
const CCommandRegistrar kRegistrar(kPorts);

int RunPorts(const TArgs& parsed)
{
    if (!parsed.Has("--probe"))
    {
        if (!parsed.Values("--port").empty())
            return UsageError(kPorts, "--port goes with --probe");
        for (const TPortInfo& port : EnumeratePorts())
            std::printf("%-20s %s\n", port.path.c_str(), port.description.c_str());
        return kExitOk;
    }
    std::vector<std::string> ports = CandidatePorts();
    for (const std::string& p : parsed.Values("--port"))
    {
        if (std::find(ports.begin(), ports.end(), p) == ports.end())
            ports.push_back(p);
    }
    if (ports.empty())
    {
        std::printf("No ports to probe\n");
        return kExitOk;
    }
    int panels = 0;
    for (const TProbeResult& r : ProbePorts(ports))
    {
        if (r.answered)
        {
            ++panels;
            const auto show = [](const std::optional<int32_t>& v)
            { return v ? std::to_string(*v) : "unknown"; };
            std::printf("%-20s QEL-1, firmware %s, hardware %s\n", r.port.c_str(),
                        show(r.firmwareVersion).c_str(), show(r.hardwareVersion).c_str());
        }
        else
            std::printf("%-20s no panel: %s\n", r.port.c_str(), r.error.c_str());
    }
    std::printf("%d panel%s found\n", panels, panels == 1 ? "" : "s");
    return kExitOk;
}

} // namespace
