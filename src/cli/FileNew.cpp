#include "Command.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "StdStreams.h"

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "new",
    "new OUT.qel",
    "write the template of a new layout",
    "Writes a template holding a new layout: default settings, no pages, no\n"
    "events and no added pictures. An existing file is replaced. OUT.qel - writes\n"
    "standard output, which must not be a terminal.",
    {{}, 1, 1, "new takes one output file", 0},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    const std::string& out = parsed.positional[0];
    TLayout layout;
    return SaveTemplateOutput(layout, out);
}

} // namespace
