#include "Command.h"
#include "ImageBuffer.h"
#include "ImageEntry.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "StdStreams.h"

#include <cstdlib>

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "export-image",
    "export-image IN.qel ID -o OUT.png",
    "write a library picture as a PNG file",
    "Writes the picture with the given id from the image library of IN.qel as a\n"
    "PNG file: a built-in picture (1 to 16) or an added one (10000 or more).\n\n"
    "IN.qel - reads the template from standard input.\n\n"
    "  -o OUT.png   the file to write; -o - writes standard output, which must not\n"
    "               be a terminal",
    {{ValueOption("-o", true)}, 2, 2, "export-image takes a template, a picture id and -o OUT.png"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    const std::string* out = parsed.Value("-o");
    const std::string& in = parsed.positional[0];
    int32_t id = 0;
    if (!ParseInt32(parsed.positional[1], id))
        return UsageError(kCommand, "picture id " + parsed.positional[1] + " is not a number");

    TLayout layout;
    const std::string inName = InputName(in);
    if (TFileResult loaded = LoadTemplateInput(layout, in); !loaded)
        return Fail(inName, loaded.reason);
    const TImageEntry* entry = layout.images.FindImage(id);
    if (entry == nullptr)
        return Fail(inName, "no picture with id " + std::to_string(id));
    CImageBuffer* image = entry->image.get();
    if (image == nullptr || !image->HasPixels())
        return Fail(inName, "picture " + std::to_string(id) + " holds no image");
    uint8_t* png = nullptr;
    int32_t size = 0;
    if (!image->Encode(&png, &size, kFormatPng) || png == nullptr)
    {
        std::free(png);
        return Fail(inName, "picture " + std::to_string(id) + " cannot be encoded as PNG");
    }
    const int status = WriteOutput(*out, {{png, static_cast<size_t>(size)}}, EOutput::Binary);
    std::free(png);
    return status;
}

} // namespace
