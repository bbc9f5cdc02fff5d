#include "Command.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"

namespace
{

int Run(const std::vector<std::string>& args);

const TCommand kCommand = {
    "new",
    "new OUT.qel",
    "write the template of a new layout",
    "Writes a template holding a new layout: default settings, no pages, no\n"
    "events and no added pictures. An existing file is replaced.",
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const std::vector<std::string>& args)
{
    const TArgs parsed = ParseArgs(args, {}, {});
    if (!parsed.error.empty())
        return UsageError(kCommand, parsed.error);
    if (parsed.positional.size() != 1)
        return UsageError(kCommand, "new takes one output file");
    const std::string& out = parsed.positional[0];
    TLayout layout;
    if (TFileResult saved = SaveTemplateFile(layout, out); !saved)
        return Fail(out, saved.reason);
    return kExitOk;
}

} // namespace
