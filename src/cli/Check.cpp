#include "Command.h"
#include "JsonText.h"
#include "StdStreams.h"

#include "Layout.h"
#include "LayoutCheck.h"
#include "LayoutFile.h"
#include "TextField.h"

#include <cstdio>

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "check",
    "check FILE.qel [--json]",
    "check a template for what the panel cannot do before it goes there",
    "Checks the template FILE.qel and prints one line for each finding, the\n"
    "layout's own first, then page by page and object by object:\n\n"
    "  lobby.qel: error: page \"Lobby\": hot spot at 150,100 leads to page 10007, which does not exist\n"
    "  lobby.qel: warning: page \"Bar\": button at 10,200 has a blank down face and never looks pressed\n\n"
    "Errors are what the panel cannot do: a hot spot or default page naming no\n"
    "page, a picture missing from the library, a layout too large for the panel\n"
    "(512,000 bytes) or a template (500,000), a page or control name the panel\n"
    "would show blank. Warnings are what is probably not meant: hot spots\n"
    "without a target, pages nothing leads to or with no way out, buttons that\n"
    "never look pressed, objects off the 320 x 240 screen, selection buttons of\n"
    "one group sending the same down event (the panel cannot tell them apart),\n"
    "sliders without a control, added pictures nothing shows (with the bytes\n"
    "each adds). Pages sharing an id are an error: only the first is reached.\n\n"
    "  --json   print the findings as a JSON array instead, one object each with\n"
    "           severity, code, page and object (counted from 1, null for the\n"
    "           layout as a whole), pageId, pageName, x, y, message and text\n\n"
    "FILE.qel - reads the template from standard input; its findings then begin\n"
    "\"standard input:\".\n\n"
    "Exit status 1 when there is an error (or the file cannot be read), 0\n"
    "otherwise.",
    {{FlagOption("--json")}, 1, 1, "give a template to check"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

const char* SeverityName(ECheckSeverity severity)
{
    return severity == ECheckSeverity::Error ? "error" : "warning";
}

TOrderedJson FindingJson(const TCheckFinding& finding)
{
    const bool onPage = finding.pageIndex >= 0;
    const bool onObject = onPage && finding.objectIndex >= 0;
    TOrderedJson entry = TOrderedJson::object();
    entry["severity"] = SeverityName(finding.severity);
    entry["code"] = finding.code;
    entry["page"] = onPage ? TOrderedJson(finding.pageIndex + 1) : TOrderedJson(nullptr);
    entry["pageId"] = onPage ? TOrderedJson(finding.pageId) : TOrderedJson(nullptr);
    entry["pageName"] = onPage ? TOrderedJson(WideToUtf8(finding.pageName)) : TOrderedJson(nullptr);
    entry["object"] = onObject ? TOrderedJson(finding.objectIndex + 1) : TOrderedJson(nullptr);
    entry["x"] = onObject ? TOrderedJson(finding.x) : TOrderedJson(nullptr);
    entry["y"] = onObject ? TOrderedJson(finding.y) : TOrderedJson(nullptr);
    entry["message"] = finding.message;
    entry["text"] = DescribeFinding(finding);
    return entry;
}

int Run(const TArgs& parsed)
{
    const std::string path = InputName(parsed.positional[0]);
    TLayout layout;
    if (const TFileResult loaded = LoadTemplateInput(layout, parsed.positional[0]); !loaded)
        return Fail(path, loaded.reason);
    const std::vector<TCheckFinding> findings = CheckLayout(layout);
    if (parsed.Has("--json"))
    {
        TOrderedJson all = TOrderedJson::array();
        for (const TCheckFinding& finding : findings)
            all.push_back(FindingJson(finding));
        std::printf("%s\n", PrintJson(all).c_str());
    }
    else
    {
        for (const TCheckFinding& finding : findings)
            std::printf("%s: %s: %s\n", path.c_str(), SeverityName(finding.severity),
                        DescribeFinding(finding).c_str());
    }
    return HasErrors(findings) ? kExitFailure : kExitOk;
}

} // namespace
