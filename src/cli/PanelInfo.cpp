#include "Command.h"
#include "PageArg.h"
#include "ProgressBar.h"

#include "PanelLink.h"

#include <cstdio>

namespace
{

int RunInfo(const std::vector<std::string>& args);

const TCommand kInfo{
    "info",
    "info --port PATH",
    "ask a panel for its hardware and firmware versions",
    "Opens the serial port PATH at 9600 baud, probes the panel and asks for its\n"
    "versions, as Connect does before its download, then closes the port. Prints\n"
    "`Hardware Version: H` and `Firmware Version: F`. A panel that does not answer\n"
    "(firmware before 2.00, or nothing attached) is an error.",
    RunInfo,
};
const CCommandRegistrar kRegistrar(kInfo);

int RunInfo(const std::vector<std::string>& args)
{
    const TArgs parsed = ParseArgs(args, {"--port"}, {});
    if (!parsed.error.empty())
        return UsageError(kInfo, parsed.error);
    const std::string* port = parsed.Value("--port");
    if (port == nullptr || !parsed.positional.empty())
        return UsageError(kInfo, "give the panel's port with --port PATH");

    CPanelLink link;
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
