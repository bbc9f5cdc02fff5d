#include "Command.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"

namespace
{

int Run(const TArgs& args);

const TCommand kCommand = {
    "new",
    "new OUT.qel",
    "write the template of a new layout",
    "Writes a template holding a new layout: default settings, no pages, no\n"
    "events and no added pictures. An existing file is replaced.",
    {{}, 1, 1, "new takes one output file"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    const std::string& out = parsed.positional[0];
    TLayout layout;
    if (TFileResult saved = SaveTemplateFile(layout, out); !saved)
        return Fail(out, saved.reason);
    return kExitOk;
}

} // namespace
