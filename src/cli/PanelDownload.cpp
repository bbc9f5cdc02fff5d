#include "Command.h"
#include "PortArg.h"
#include "PageArg.h"
#include "ProgressBar.h"
#include "StdStreams.h"
#include "StopSignals.h"

#include "Layout.h"
#include "LayoutFile.h"
#include "PanelLink.h"

#include <cstdio>

namespace
{

int RunDownload(const TArgs& parsed);

const TCommand kDownload{
    "download",
    "download --port PATH -o OUT.qel",
    "read the layout stored in a panel into a template",
    "Does what Connect does: opens the serial port PATH, asks the panel for its\n"
    "versions, downloads its layout at 115200 baud, and saves it as the template\n"
    "OUT.qel (replaced atomically). Prints the versions and the outcome. Nothing is\n"
    "written when the panel does not answer, offers no layout or sends one that\n"
    "cannot be read.",
    {{ValueOption("--port", true), ValueOption("-o", true)},
     0,
     0,
     "give the panel's port with --port PATH and the template with -o OUT.qel"},
    RunDownload,
};
const CCommandRegistrar kRegistrar(kDownload);

class CPrintMessages : public IMessageSink
{
public:
    void ShowMessage(const std::string& text) override { PrintMessage(text); }
};

int RunDownload(const TArgs& parsed)
{
    std::string resolvedPort;
    if (!ResolvePortArg(*parsed.Value("--port"), resolvedPort))
        return kExitFailure;
    const std::string* port = &resolvedPort;
    const std::string* out = parsed.Value("-o");
    if (IsStdStream(*out))
        return UsageError(kDownload,
                          "download prints its progress on standard output: -o - cannot take the template");

    TLayout layout;
    CPanelLink link;
    CProgressBar bar;
    CPrintMessages messages;
    link.SetCancelFlag(WatchStopSignals());
    const TLinkResult r = link.Connect(
        *port, bar, [&layout](const uint8_t* bytes, int32_t length) { return layout.LoadFromBuffer(bytes, length); },
        &messages);
    link.Disconnect();
    if (r.outcome == ELinkOutcome::NoLayout)
        return Fail(*port, "the panel offered no layout");
    if (r.outcome != ELinkOutcome::Ok)
        return FailLink(*port, r, "Layout not downloaded");
    if (const TFileResult saved = SaveTemplateFile(layout, *out); !saved)
        return Fail(*out, saved.reason);
    PrintMessage(r.message);
    return kExitOk;
}

} // namespace
