#include "Command.h"
#include "ImageEntry.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "PictureUse.h"
#include "StdStreams.h"

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "remove-image",
    "remove-image IN.qel ID [-o OUT.qel]",
    "remove an unused picture from a template's image library",
    "Removes the added picture with the given id (10000 or more) from the image\n"
    "library of IN.qel. A picture that a page's background, a button, an image\n"
    "or a slider still shows is kept, and the first place that shows it is\n"
    "named; the built-in pictures (1 to 16) always stay.\n\n"
    "  -o OUT.qel   write the result there instead of back to IN.qel (needed when\n"
    "               IN.qel is -, standard input); -o - writes standard output, which\n"
    "               must not be a terminal",
    {{ValueOption("-o")}, 2, 2, "remove-image takes a template and a picture id"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    const std::string& in = parsed.positional[0];
    std::string out;
    if (int status = kExitOk; !TemplateOutput(kCommand, parsed, in, false, out, status))
        return status;
    int32_t id = 0;
    if (!ParseInt32(parsed.positional[1], id))
        return UsageError(kCommand, "picture id " + parsed.positional[1] + " is not a number");

    TLayout layout;
    const std::string inName = InputName(in);
    if (TFileResult loaded = LoadTemplateInput(layout, in); !loaded)
        return Fail(inName, loaded.reason);
    TImageEntry* entry = layout.images.FindImage(id);
    if (entry == nullptr)
        return Fail(inName, "no picture with id " + std::to_string(id));
    if (!entry->IsAdded())
        return Fail(inName, "built-in pictures cannot be removed");
    const std::vector<TPictureUse> uses = FindPictureUses(layout, id);
    if (!uses.empty())
        return Fail(inName, DescribePictureInUse(id, uses));
    layout.images.DeleteImage(entry);
    return SaveTemplateOutput(layout, out);
}

} // namespace
