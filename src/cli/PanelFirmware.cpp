#include "Command.h"
#include "PortArg.h"
#include "PageArg.h"
#include "ProgressBar.h"
#include "StdStreams.h"
#include "StopSignals.h"

#include "FirmwareFile.h"
#include "PanelLink.h"

namespace
{

int RunFirmware(const TArgs& parsed);

const TCommand kFirmware{
    "firmware",
    "firmware --port PATH FILE.qfw",
    "replace a panel's firmware",
    "Opens the serial port PATH, sends the firmware file byte for byte in 1000-byte\n"
    "blocks at 115200 baud, and closes the port while the panel restarts. The file\n"
    "is not looked into; an empty file or one over 16 MB is refused before anything\n"
    "is sent. A refused block is sent again, up to 10 times; a port that keeps\n"
    "sending data for 10 s before the transfer is left alone. FILE.qfw - reads the\n"
    "firmware from standard input.",
    {{ValueOption("--port", true)}, 1, 1, "give the panel's port with --port PATH and one firmware file"},
    RunFirmware,
};
const CCommandRegistrar kRegistrar(kFirmware);

int RunFirmware(const TArgs& parsed)
{
    std::string resolvedPort;
    if (!ResolvePortArg(*parsed.Value("--port"), resolvedPort))
        return kExitFailure;
    const std::string* port = &resolvedPort;
    const std::string& file = parsed.positional[0];

    std::vector<uint8_t> bytes;
    std::string refusal;
    if (IsStdStream(file))
    {
        const TFileResult read = ReadInput(file, static_cast<size_t>(kMaxFirmwareBytes), bytes);
        if (!read)
            return Fail(InputName(file),
                        read.error == EFileError::TooLarge ? OneLine(kMsgFirmwareTooLarge) : read.reason);
        if (bytes.empty())
            return Fail(InputName(file), OneLine(kMsgFirmwareEmpty));
    }
    else if (!ReadFirmwareFile(file, bytes, refusal))
    {
        // The window's text on one line; the file leads the line already.
        std::string text = OneLine(refusal);
        const std::string prefix = "Could not read " + file + ": ";
        if (text.rfind(prefix, 0) == 0)
            text = text.substr(prefix.size());
        return Fail(file, text);
    }

    CPanelLink link;
    link.SetCancelFlag(WatchStopSignals());
    if (const TLinkResult opened = link.TryOpen(*port); opened.outcome != ELinkOutcome::Ok)
        return FailLink(*port, opened, "Firmware not updated");
    CProgressBar bar;
    const TLinkResult r = link.UpgradeFirmware(bytes.data(), static_cast<int64_t>(bytes.size()), bar);
    link.Disconnect();
    if (r.outcome != ELinkOutcome::Ok)
        return FailLink(*port, r, "Firmware not updated");
    PrintMessage(r.message);
    return kExitOk;
}

} // namespace
