#include "Command.h"
#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "LabelPicture.h"
#include "LabelWords.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "StdStreams.h"
#include "TextField.h"

#include <cstdio>
#include <strings.h>

namespace
{

int Run(const TArgs& parsed);

const TCommand kCommand = {
    "add-label",
    "add-label IN.qel --text TEXT --name NAME [--font FAMILY] [--size PX] [--bold]\n"
    "       [--colour #RRGGBB] [--background #RRGGBB|none] [--gradient MODE,#RRGGBB,#RRGGBB]\n"
    "       [--width W] [--height H] [--align left|centre|right] [--padding PX] [-o OUT.qel]",
    "add a picture made from text to a template's image library",
    "Draws TEXT anti-aliased into a picture and adds it to the image library of\n"
    "the template IN.qel, as add-image adds a picture file. Prints the new\n"
    "picture's id. The panel draws no text on buttons: a label is their picture.\n\n"
    "  --text TEXT        what the picture says; a line break, or the two\n"
    "                     characters \\n, starts a new line\n"
    "  --name NAME        the picture's description\n"
    "  --font FAMILY      a font family; fontconfig's nearest match when it is not\n"
    "                     installed (default: the desktop's sans-serif)\n"
    "  --size PX          the font size in pixels, 1 to 200 (default 16)\n"
    "  --bold             bold letters\n"
    "  --colour #RRGGBB   the letters' colour (default #000000)\n"
    "  --background B     #RRGGBB, or none for a picture transparent around the\n"
    "                     letters (default none)\n"
    "  --gradient G       a gradient background instead: MODE,#RRGGBB,#RRGGBB with\n"
    "                     MODE left-to-right, top-to-bottom or radial, drawn as a\n"
    "                     face of that mode is\n"
    "  --width W          the picture's width, 1 to 320 (default: what the text needs)\n"
    "  --height H         the picture's height, 1 to 240 (default: what the text needs)\n"
    "  --align A          each line's place: left, centre or right (default centre)\n"
    "  --padding PX       pixels kept clear on every side, 0 to 100 (default 4)\n"
    "  -o OUT.qel         write the result there instead of back to IN.qel (needed\n"
    "                     when IN.qel is -, standard input)\n\n"
    "Text that does not fit a given size is cut at the picture's edge. A colour\n"
    "may be written without its # (a shell takes an unquoted #... for a comment).",
    {{ValueOption("--text", true), ValueOption("--name", true), ValueOption("--font"), ValueOption("--size"),
      FlagOption("--bold"), ValueOption("--colour"), ValueOption("--background"), ValueOption("--gradient"),
      ValueOption("--width"), ValueOption("--height"), ValueOption("--align"), ValueOption("--padding"),
      ValueOption("-o")},
     1,
     1,
     "add-label takes a template, --text TEXT and --name NAME"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

// Reads a whole-number option when given; false (after a usage message)
// when it is not a number.
bool Number(const TArgs& parsed, const char* option, int32_t& value, int& status)
{
    const std::string* text = parsed.Value(option);
    if (text == nullptr)
        return true;
    if (ParseInt32(*text, value))
        return true;
    status = UsageError(kCommand, std::string(option) + " " + *text + " is not a whole number");
    return false;
}

bool Number(const TArgs& parsed, const char* option, std::optional<int32_t>& value, int& status)
{
    if (parsed.Value(option) == nullptr)
        return true;
    int32_t given = 0;
    if (!Number(parsed, option, given, status))
        return false;
    value = given;
    return true;
}

// Reads the options into a label; false with status set on a usage error.
bool ReadLabel(const TArgs& parsed, TLabel& label, int& status)
{
    TTextPicture& text = label.text;
    text.text = LineBreaksFromEscapes(*parsed.Value("--text"));
    if (const std::string* font = parsed.Value("--font"))
        text.family = *font;
    text.bold = parsed.Has("--bold");
    if (!Number(parsed, "--size", text.size, status) || !Number(parsed, "--padding", text.padding, status) ||
        !Number(parsed, "--width", text.width, status) || !Number(parsed, "--height", text.height, status))
        return false;
    const auto bad = [&status](const std::string& option, const std::string& value, const char* takes)
    {
        status = UsageError(kCommand, option + " " + value + " is not " + takes);
        return false;
    };
    if (const std::string* align = parsed.Value("--align");
        align != nullptr && !ParseTextAlign(*align, text.align))
        return bad("--align", *align, kAlignWords);
    if (const std::string* colour = parsed.Value("--colour");
        colour != nullptr && !ParseLabelColour(*colour, label.colour))
        return bad("--colour", *colour, kColourWords);
    const std::string* background = parsed.Value("--background");
    const std::string* gradient = parsed.Value("--gradient");
    if (background != nullptr && gradient != nullptr)
    {
        status = UsageError(kCommand, "give --background or --gradient, not both");
        return false;
    }
    if (background != nullptr && !ParseLabelBackground(*background, label.background))
        return bad("--background", *background, kBackgroundWords);
    if (gradient != nullptr && !ParseLabelGradient(*gradient, label.background))
        return bad("--gradient", *gradient, kGradientWords);
    return true;
}

int Run(const TArgs& parsed)
{
    const std::string& in = parsed.positional[0];
    std::string out;
    TLabel label;
    int status = kExitOk;
    if (!TemplateOutput(kCommand, parsed, in, true, out, status) || !ReadLabel(parsed, label, status))
        return status;

    TLayout layout;
    if (TFileResult loaded = LoadTemplateInput(layout, in); !loaded)
        return Fail(InputName(in), loaded.reason);
    auto picture = std::make_unique<CImageBuffer>();
    std::string error;
    std::string family;
    if (!MakeLabelPicture(label, *picture, error, &family))
        return Fail(InputName(in), "cannot make the label: " + error);
    // A misspelt family still draws, with fontconfig's nearest match; say which.
    if (!label.text.family.empty() && strcasecmp(label.text.family.c_str(), family.c_str()) != 0)
        std::fprintf(stderr, "qelctl: note: no font family \"%s\"; drew with \"%s\"\n",
                     label.text.family.c_str(), family.c_str());
    const int32_t id = layout.images.AddImage(Utf8ToWide(*parsed.Value("--name")), std::move(picture))->id;
    if (TFileResult saved = SaveTemplateFile(layout, out); !saved)
        return Fail(out, saved.reason);
    std::printf("%d\n", id);
    return kExitOk;
}

} // namespace
