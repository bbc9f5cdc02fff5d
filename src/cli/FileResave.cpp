#include "Command.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"

namespace
{

int Run(const std::vector<std::string>& args);

const TCommand kCommand = {
    "resave",
    "resave IN OUT.qel [--raw]",
    "load a template (or a bare layout image) and save it as a version 7 template",
    "Loads IN, a template, or with --raw a bare layout byte image as uploaded to\n"
    "the panel, and saves it as a version 7 template with its glyph table\n"
    "rebuilt. OUT may name IN itself.\n\n"
    "  --raw    IN is a bare layout byte image (at most 512000 bytes)",
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const std::vector<std::string>& args)
{
    const TArgs parsed = ParseArgs(args, {}, {"--raw"});
    if (!parsed.error.empty())
        return UsageError(kCommand, parsed.error);
    if (parsed.positional.size() != 2)
        return UsageError(kCommand, "resave takes an input and an output file");
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];
    TLayout layout;
    const TFileResult loaded = parsed.Has("--raw") ? LoadLayoutImageFile(layout, in) : LoadTemplateFile(layout, in);
    if (!loaded)
        return Fail(in, loaded.reason);
    if (TFileResult saved = SaveTemplateFile(layout, out); !saved)
        return Fail(out, saved.reason);
    return kExitOk;
}

} // namespace
