#include "Command.h"
#include "LayoutJson.h"

#include "AtomicFile.h"
#include "JsonText.h"
#include "LabelPicture.h"
#include "StdStreams.h"

#include <filesystem>

namespace
{

int Run(const TArgs& parsed);

// Larger than any layout's JSON: 500000 bytes of pictures in base64 and text.
constexpr size_t kJsonFileLimit = 32u << 20;

const TCommand kCommand = {
    "build",
    "build IN.json -o OUT",
    "make a template (or user page file) from its JSON, the inverse of dump",
    "Reads the JSON that `qelctl dump` prints, or JSON of the same shape written\n"
    "by hand, and writes the file it describes: a template for \"kind\": \"template\",\n"
    "a bare layout image for \"layout\", a user page file for \"userpage\". A\n"
    "template dumped and built again comes back byte for byte.\n\n"
    "A member left out takes the value a new record has; an unknown member, a\n"
    "value of the wrong kind or one its field cannot hold (a text longer than its\n"
    "80-byte field in the code page, a number beyond 32 bits, a brightness beyond\n"
    "a byte) is refused with the line and column where it stands, and nothing is\n"
    "written. A picture is given as \"file\": a path from the JSON's folder to a\n"
    "picture of any format we read, scaled to fit the screen as Add Image does;\n"
    "or as \"png\": the PNG block in base64.\n\n"
    "IN.json - reads the JSON from standard input; picture files are then looked\n"
    "for from the current folder. What `dump --textconv` prints is for reading\n"
    "and is refused.\n\n"
    "  -o OUT   the file to write (replaced atomically); -o - writes standard\n"
    "           output, which must not be a terminal",
    {{ValueOption("-o", true)}, 1, 1, "build takes one JSON file and -o OUT"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

// Reads the JSON into a buffer the size of the file, not of the limit: most
// are a few kilobytes.
TFileResult ReadJson(const std::string& path, std::string& text)
{
    if (IsStdStream(path))
    {
        std::vector<uint8_t> raw;
        TFileResult read = ReadInput(path, kJsonFileLimit, raw);
        if (read)
            text.assign(raw.begin(), raw.end());
        return read;
    }
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    const size_t expected = !error && size < kJsonFileLimit ? static_cast<size_t>(size) : kJsonFileLimit;
    std::vector<uint8_t> raw;
    TFileResult read = ReadWholeFile(path, expected, raw);
    if (!read && read.error == EFileError::TooLarge && expected < kJsonFileLimit) // it grew meanwhile
        read = ReadWholeFile(path, kJsonFileLimit, raw);
    if (read)
        text.assign(raw.begin(), raw.end());
    return read;
}

int Run(const TArgs& parsed)
{
    const std::string& in = parsed.positional[0];
    const std::string& out = *parsed.Value("-o");
    std::string text;
    if (TFileResult read = ReadJson(in, text); !read)
        return Fail(InputName(in), read.reason);
    // Labels are drawn as add-label draws them.
    const TLabelPainter paintLabel = [](const TLabel& label, CImageBuffer& picture, std::string& error)
    { return MakeLabelPicture(label, picture, error); };
    std::vector<uint8_t> bytes;
    TBuildProblem problem;
    const std::string jsonDir =
        IsStdStream(in) ? std::string() : std::filesystem::path(in).parent_path().string();
    if (!JsonToFile(text, jsonDir, paintLabel, bytes, problem))
        return problem.hasOffset
                   ? Fail(InputName(in) + ":" + LineColumn(text, problem.offset), problem.message)
                   : Fail(OutputName(out), problem.message);
    return WriteOutput(out, bytes, EOutput::Binary);
}

} // namespace
