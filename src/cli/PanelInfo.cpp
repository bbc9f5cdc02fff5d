#include "Command.h"
#include "PortArg.h"
#include "PageArg.h"
#include "ProgressBar.h"
#include "StopSignals.h"

#include "PanelLink.h"

#include <cstdio>

namespace
{

int RunInfo(const TArgs& parsed);

const TCommand kInfo{
    "info",
    "info --port PATH",
    "ask a panel for its hardware and firmware versions",
    "Opens the serial port PATH at 9600 baud, probes the panel and asks for its\n"
    "versions, as Connect does before its download, then closes the port. Prints\n"
    "`Hardware Version: H` and `Firmware Version: F`. A panel that does not answer\n"
    "(firmware before 2.00, or nothing attached) is an error.",
    {{ValueOption("--port", true)}, 0, 0, "give the panel's port with --port PATH"},
    RunInfo,
};
const CCommandRegistrar kRegistrar(kInfo);

int RunInfo(const TArgs& parsed)
{
    std::string resolvedPort;
    if (!ResolvePortArg(*parsed.Value("--port"), resolvedPort))
        return kExitFailure;
    const std::string* port = &resolvedPort;

    CPanelLink link;
    link.SetCancelFlag(WatchStopSignals());
    if (const TLinkResult opened = link.TryOpen(*port); opened.outcome != ELinkOutcome::Ok)
        return FailLink(*port, opened);
    const TLinkResult info = link.RequestInfo();
    link.Disconnect();
    if (info.outcome != ELinkOutcome::Ok)
        return FailLink(*port, info);
    const auto show = [](const std::optional<int32_t>& v) { return v ? std::to_string(*v) : std::string("unknown"); };
    std::printf("Hardware Version: %s\nFirmware Version: %s\n", show(info.hardwareVersion).c_str(),
                show(info.firmwareVersion).c_str());
    return kExitOk;
}

} // namespace
