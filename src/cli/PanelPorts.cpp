#include "Command.h"

#include "PortList.h"

#include <cstdio>

namespace
{

int RunPorts(const TArgs& args);

const TCommand kPorts{
    "ports",
    "ports",
    "list the serial ports a panel can be connected to",
    "Lists the serial devices of this machine, one per line: the device path, then a\n"
    "description where the system has one. USB serial and ACM adapters and platform\n"
    "UARTs are listed; legacy ttyS nodes only when a UART answers. Any other path,\n"
    "such as the pseudo-terminal of `qelctl simulate`, can still be given to --port.",
    {{}, 0, 0, "ports takes no arguments"},
    RunPorts,
};
const CCommandRegistrar kRegistrar(kPorts);

int RunPorts(const TArgs&)
{
    for (const TPortInfo& port : EnumeratePorts())
        std::printf("%-20s %s\n", port.path.c_str(), port.description.c_str());
    return kExitOk;
}

} // namespace
