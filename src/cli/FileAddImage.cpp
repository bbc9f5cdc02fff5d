#include "Command.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "PictureFile.h"
#include "StdStreams.h"
#include "TextField.h"

#include <cstdio>

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "add-image",
    "add-image IN.qel PICTURE --name TEXT [-o OUT.qel]",
    "add a picture file to a template's image library",
    "Adds PICTURE (PNG, or any other format recognised by its content) to the\n"
    "image library of the template IN.qel as the Add Image dialog does: a\n"
    "picture larger than the 320 x 240 screen is scaled down to fit, keeping its\n"
    "aspect ratio. Prints the new picture's id. PICTURE - reads the picture from\n"
    "standard input (at most 64 MiB).\n\n"
    "  --name TEXT   the picture's description\n"
    "  -o OUT.qel    write the result there instead of back to IN.qel (needed when\n"
    "                IN.qel is -, standard input)",
    {{ValueOption("--name", true), ValueOption("-o")},
     2,
     2,
     "add-image takes a template and a picture file, and --name TEXT"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

// A picture file read from a pipe has no size to tell beforehand; no picture
// of the size the library takes comes near this.
constexpr size_t kPictureInputLimit = 64u << 20;

int Run(const TArgs& parsed)
{
    const std::string* name = parsed.Value("--name");
    const std::string& in = parsed.positional[0];
    const std::string& picturePath = parsed.positional[1];
    std::string out;
    if (int status = kExitOk; !TemplateOutput(kCommand, parsed, in, true, out, status))
        return status;

    TLayout layout;
    if (TFileResult loaded = LoadTemplateInput(layout, in); !loaded)
        return Fail(InputName(in), loaded.reason);
    TPictureFile picture;
    if (IsStdStream(picturePath))
    {
        std::vector<uint8_t> bytes;
        TFileResult read = ReadInput(picturePath, kPictureInputLimit, bytes);
        if (read)
            read = LoadPictureBytes(bytes, picture);
        if (!read)
            return Fail(InputName(picturePath), read.reason);
    }
    else if (TFileResult read = LoadPictureFile(picturePath, picture); !read)
    {
        return Fail(picturePath, read.reason);
    }
    const int32_t id = layout.images.AddImage(Utf8ToWide(*name), std::move(picture.image))->id;
    if (TFileResult saved = SaveTemplateFile(layout, out); !saved)
        return Fail(out, saved.reason);
    std::printf("%d\n", id);
    return kExitOk;
}

} // namespace
