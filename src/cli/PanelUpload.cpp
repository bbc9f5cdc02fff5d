#include "Command.h"
#include "PageArg.h"
#include "ProgressBar.h"

#include "Layout.h"
#include "LayoutFile.h"
#include "PanelLink.h"

#include <cstdio>
#include <vector>

namespace
{

int RunUpload(const TArgs& args);

const TCommand kUpload{
    "upload",
    "upload --port PATH IN.qel",
    "send a template's layout to a panel",
    "Opens the serial port PATH, asks the panel for its versions and, when its\n"
    "firmware is 201 or later, sends the layout of the template IN.qel as Upload\n"
    "Layout does: 1000-byte blocks at 115200 baud, each checked with CRC-32 and\n"
    "acknowledged. A block refused 10 times, a silent panel, or a panel that does\n"
    "not confirm the end record is an error.",
    {{ValueOption("--port", true)}, 1, 1, "give the panel's port with --port PATH and one template"},
    RunUpload,
};
const CCommandRegistrar kRegistrar(kUpload);

int RunUpload(const TArgs& parsed)
{
    const std::string* port = parsed.Value("--port");
    const std::string& in = parsed.positional[0];

    TLayout layout;
    if (const TFileResult loaded = LoadTemplateFile(layout, in); !loaded)
        return Fail(in, loaded.reason);
    std::vector<uint8_t> image(kUploadBufferSize);
    const int32_t length = layout.SaveToBuffer(image.data(), kUploadBufferSize);
    if (length < 0)
        return Fail(in, "the layout is larger than the panel takes (512000 bytes)");

    CPanelLink link;
    if (const TLinkResult opened = link.TryOpen(*port); opened.outcome != ELinkOutcome::Ok)
        return FailLink(*port, opened);
    const TLinkResult info = link.RequestInfo();
    if (info.outcome != ELinkOutcome::Ok)
        return FailLink(*port, info);
    if (info.firmwareVersion.value_or(0) <= 200)
    {
        const std::string version = info.firmwareVersion ? std::to_string(*info.firmwareVersion) : "unknown";
        return Fail(*port, "the panel's firmware (" + version + ") takes no layout uploads; 201 or later is needed");
    }
    CProgressBar bar;
    const TLinkResult r = link.UploadLayout(image.data(), length, bar);
    link.Disconnect();
    if (r.outcome != ELinkOutcome::Ok)
        return FailLink(*port, r);
    if (!r.endConfirmed)
        return Fail(*port, "the panel did not confirm the layout");
    std::printf("Uploaded layout to control (%d bytes in %d blocks)\n", length, length / 1000 + 1);
    return kExitOk;
}

} // namespace
