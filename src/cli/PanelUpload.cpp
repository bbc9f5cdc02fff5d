#include "Command.h"
#include "PageArg.h"
#include "PanelBackupStep.h"
#include "PortArg.h"
#include "ProgressBar.h"
#include "StdStreams.h"
#include "StopSignals.h"

#include "Layout.h"
#include "LayoutFile.h"
#include "LayoutVerify.h"
#include "PanelLink.h"
#include "ReportText.h"
#include "TransferTime.h"

#include <cstdio>
#include <vector>

namespace
{

int RunUpload(const TArgs& parsed);

const TCommand kUpload{
    "upload",
    "upload --port PATH IN.qel [--no-backup] [--no-verify]",
    "send a template's layout to a panel",
    "Opens the serial port PATH and asks the panel for its versions. When its\n"
    "firmware is 201 or later, it downloads the layout the panel holds and keeps it\n"
    "as a backup ($XDG_DATA_HOME/qelmorvane/backups/CONTROL/YYYYMMDD-HHMMSS.qel, the\n"
    "newest 20 of each control kept), sends the layout of the template IN.qel as\n"
    "Upload Layout does: 1000-byte blocks at 115200 baud, each checked with CRC-32\n"
    "and acknowledged, then reads it back and compares it with what was sent. A\n"
    "backup that cannot be read or saved stops it before anything is sent. A block\n"
    "refused 10 times, a silent panel, a panel that does not confirm the end record\n"
    "or a layout that reads back otherwise is an error. First it prints the layout's\n"
    "size against the panel's 512,000 bytes and how long sending and reading back\n"
    "will take.\n"
    "IN.qel - reads the template from standard input.\n\n"
    "  --no-backup  replace the panel's layout without keeping it first\n"
    "  --no-verify  do not read the layout back\n"
    "  --verify     read it back and compare: the default, still accepted",
    {{ValueOption("--port", true), FlagOption("--verify"), FlagOption("--no-verify"),
      FlagOption("--no-backup")},
     1,
     1,
     "give the panel's port with --port PATH and one template"},
    RunUpload,
};
const CCommandRegistrar kRegistrar(kUpload);

std::string Seconds(int64_t ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

int RunUpload(const TArgs& parsed)
{
    if (parsed.Has("--verify") && parsed.Has("--no-verify"))
        return UsageError(kUpload, "--verify and --no-verify cannot go together");
    std::string resolvedPort;
    if (!ResolvePortArg(*parsed.Value("--port"), resolvedPort))
        return kExitFailure;
    const std::string* port = &resolvedPort;
    const std::string& in = parsed.positional[0];
    const bool verify = !parsed.Has("--no-verify");
    const bool backup = !parsed.Has("--no-backup");

    TLayout layout;
    if (const TFileResult loaded = LoadTemplateInput(layout, in); !loaded)
        return Fail(InputName(in), loaded.reason);
    const std::vector<uint8_t> image = layout.SaveToBytes();
    const auto length = static_cast<int64_t>(image.size());
    std::printf("Layout: %s of the panel's %s bytes (%.1f%%)", GroupedDigits(length).c_str(),
                GroupedDigits(kUploadBufferSize).c_str(), 100.0 * static_cast<double>(length) / kUploadBufferSize);
    if (length > kUploadBufferSize)
    {
        std::printf("\n");
        return Fail(InputName(in), "the layout is larger than the panel takes (512000 bytes)");
    }
    const auto size = static_cast<int32_t>(length);
    std::printf(", %d blocks: about %s to send", size / 1000 + 1, Seconds(ExpectedUploadMs(size)).c_str());
    if (verify)
        std::printf(", %s to read back", Seconds(ExpectedDownloadMs(size)).c_str());
    std::printf("\n");
    std::fflush(stdout);

    constexpr char kNotUploaded[] = "Layout not uploaded";
    CPanelLink link;
    link.SetCancelFlag(WatchStopSignals());
    if (const TLinkResult opened = link.TryOpen(*port); opened.outcome != ELinkOutcome::Ok)
        return FailLink(*port, opened, kNotUploaded);
    const TLinkResult info = link.RequestInfo();
    if (info.outcome != ELinkOutcome::Ok)
        return FailLink(*port, info, kNotUploaded);
    if (info.firmwareVersion.value_or(0) <= 200)
    {
        const std::string version = info.firmwareVersion ? std::to_string(*info.firmwareVersion) : "unknown";
        return Fail(*port,
                    "the panel's firmware (" + version + ") takes no layout uploads; 201 or later is needed");
    }
    CProgressBar bar;
    if (backup)
    {
        const TPanelBackupStep kept = BackUpPanelLayout(link, *info.firmwareVersion, bar);
        if (kept.read.outcome == ELinkOutcome::Cancelled)
            return FailLink(*port, kept.read, kNotUploaded);
        if (kept.StopsUpload())
            return Fail(*port, BackupFailure(kept));
        if (kept.outcome == TPanelBackupStep::EOutcome::Saved)
            std::printf("Backup: %s\n", kept.path.c_str());
        else
            std::printf("Backup: none, the panel held no layout\n");
        std::fflush(stdout);
    }
    const TLinkResult r = link.UploadLayout(image.data(), size, bar);
    if (r.outcome != ELinkOutcome::Ok)
        return FailLink(*port, r, kNotUploaded);
    if (!r.endConfirmed)
        return Fail(*port, "the panel did not confirm the layout");
    std::printf("Uploaded layout to control (%d bytes in %d blocks)\n", size, size / 1000 + 1);
    if (!verify)
        return kExitOk;
    std::fflush(stdout);
    const TLinkResult checked = VerifyLayout(link, *info.firmwareVersion, image.data(), size, bar);
    link.Disconnect();
    if (checked.outcome != ELinkOutcome::Ok)
        return FailLink(*port, checked, "Upload not verified");
    PrintMessage(checked.message);
    return kExitOk;
}

} // namespace
