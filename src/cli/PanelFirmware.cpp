#include "Command.h"
#include "PageArg.h"
#include "ProgressBar.h"

#include "FirmwareFile.h"
#include "PanelLink.h"

namespace
{

int RunFirmware(const TArgs& args);

const TCommand kFirmware{
    "firmware",
    "firmware --port PATH FILE.qfw",
    "replace a panel's firmware",
    "Opens the serial port PATH, sends the firmware file byte for byte in 1000-byte\n"
    "blocks at 115200 baud, and closes the port while the panel restarts. The file\n"
    "is not looked into; an empty file or one over 16 MiB is refused before anything\n"
    "is sent. A refused block is sent again, up to 10 times.",
    {{ValueOption("--port", true)}, 1, 1, "give the panel's port with --port PATH and one firmware file"},
    RunFirmware,
};
const CCommandRegistrar kRegistrar(kFirmware);

int RunFirmware(const TArgs& parsed)
{
    const std::string* port = parsed.Value("--port");
    const std::string& file = parsed.positional[0];

    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadFirmwareFile(file, bytes, reason))
        return Fail(file, reason);

    CPanelLink link;
    if (const TLinkResult opened = link.TryOpen(*port); opened.outcome != ELinkOutcome::Ok)
        return FailLink(*port, opened);
    CProgressBar bar;
    const TLinkResult r = link.UpgradeFirmware(bytes.data(), static_cast<int64_t>(bytes.size()), bar);
    link.Disconnect();
    if (r.outcome != ELinkOutcome::Ok)
        return FailLink(*port, r);
    PrintMessage(r.message);
    return kExitOk;
}

} // namespace
