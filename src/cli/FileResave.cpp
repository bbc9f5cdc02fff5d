#include "Command.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "StdStreams.h"

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "resave",
    "resave IN OUT.qel [--raw]",
    "load a template (or a bare layout image) and save it as a version 7 template",
    "Loads IN, a template, or with --raw a bare layout byte image as uploaded to\n"
    "the panel, and saves it as a version 7 template with its glyph table\n"
    "rebuilt. OUT may name IN itself. IN - reads standard input, OUT - writes\n"
    "standard output (which must not be a terminal).\n\n"
    "  --raw    IN is a bare layout byte image (at most 512000 bytes)",
    {{FlagOption("--raw")}, 2, 2, "resave takes an input and an output file", 1},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];
    TLayout layout;
    const TFileResult loaded =
        parsed.Has("--raw") ? LoadLayoutImageInput(layout, in) : LoadTemplateInput(layout, in);
    if (!loaded)
        return Fail(InputName(in), loaded.reason);
    return SaveTemplateOutput(layout, out);
}

} // namespace
