#include "Command.h"
#include "LayoutJson.h"
#include "StdStreams.h"

#include "AtomicFile.h"
#include "Layout.h"
#include "LayoutFile.h"

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace
{

int Run(const TArgs& parsed);

bool Exists(const std::string& path)
{
    struct stat info{};
    return ::lstat(path.c_str(), &info) == 0;
}

// True when path is a regular file of exactly these bytes.
bool HoldsBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> held;
    return ReadWholeFile(path, bytes.size(), held) && held == bytes;
}

const TCommand kCommand = {
    "dump",
    "dump FILE [--raw] [--pictures DIR | --textconv] [-o OUT.json]",
    "print a template or user page file as JSON",
    "Prints FILE as one JSON object: every setting, page, object, picture and\n"
    "event, keys in a fixed order, each object of a page on a line of its own.\n"
    "FILE is a template (.qel) or a user page file (.qup), told apart by the\n"
    "magic number at its front; with --raw it is a bare layout byte image as\n"
    "uploaded to the panel. `qelctl build` turns the JSON back into the same\n"
    "bytes. Text is UTF-8, converted through the code page where it is stored as\n"
    "ANSI. The glyph table is left out: it is rebuilt whenever a layout is stored.\n"
    "FILE - is standard input.\n\n"
    "  --raw           FILE is a bare layout byte image (at most 512000 bytes)\n"
    "  --pictures DIR  write the pictures into DIR as PNG files and name them in\n"
    "                  the JSON by their path from the JSON's folder (the current\n"
    "                  folder without -o); else they are in the JSON as base64 PNG\n"
    "  --textconv      the form for reading, as a version control's diff shows a\n"
    "                  file (git's textconv): the pictures in id order, each one\n"
    "                  short line with its size and the byte count and SHA-256 of\n"
    "                  its stored PNG block (the file export-image writes) instead\n"
    "                  of the block; `qelctl build` refuses it\n"
    "  -o OUT.json     write the JSON there (replaced atomically) instead of stdout\n"
    "                  (-o - is stdout too)",
    {{FlagOption("--raw"), ValueOption("--pictures"), FlagOption("--textconv"), ValueOption("-o")},
     1,
     1,
     "dump takes one file"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

int Run(const TArgs& parsed)
{
    namespace fs = std::filesystem;
    const std::string& path = parsed.positional[0];
    const bool raw = parsed.Has("--raw");
    const std::string* pictures = parsed.Value("--pictures");
    const std::string* out = parsed.Value("-o");
    if (pictures != nullptr && parsed.Has("--textconv"))
        return UsageError(kCommand, "--textconv gives pictures by their digest: it takes no --pictures");
    const bool toFile = out != nullptr && !IsStdStream(*out);

    std::vector<uint8_t> bytes;
    const size_t limit = raw ? static_cast<size_t>(kUploadCapacity) : kTemplateFileLimit;
    if (TFileResult read = ReadInput(path, limit, bytes); !read)
        return Fail(InputName(path), read.reason);

    const std::string jsonDir = toFile ? fs::path(*out).parent_path().string() : std::string();
    CLayoutJsonWriter writer =
        pictures != nullptr ? CLayoutJsonWriter(*pictures, jsonDir) : CLayoutJsonWriter();
    writer.SetDigestPictures(parsed.Has("--textconv"));
    // A file already in the folder is never replaced by other bytes (it may
    // be the full-size source of a picture): the picture takes the next name.
    writer.SetNameTaken([](const std::string& file, const std::vector<uint8_t>& png)
                        { return Exists(file) && !HoldsBytes(file, png); });
    std::string json;
    std::string reason;
    if (!FileToJson(bytes, raw, writer, json, reason))
        return Fail(InputName(path), reason);

    CFileBatch batch;
    if (pictures != nullptr)
    {
        std::error_code ec;
        fs::create_directories(*pictures, ec);
        if (ec)
            return Fail(*pictures, ec.message());
        for (const CLayoutJsonWriter::TPictureFile& file : writer.PictureFiles())
        {
            if (HoldsBytes(file.path, file.png))
                continue;
            if (const TFileResult added = batch.Add(file.path, file.png); !added)
                return Fail(batch.FailedPath(), added.reason);
        }
    }
    if (!toFile)
    {
        if (const TFileResult written = batch.Commit(); !written)
            return Fail(batch.FailedPath(), written.reason);
        return WriteOutput("-", {{json.data(), json.size()}}, EOutput::Text);
    }
    if (const TFileResult added = batch.Add(*out, {{json.data(), json.size()}}); !added)
        return Fail(*out, added.reason);
    if (const TFileResult written = batch.Commit(); !written)
        return Fail(batch.FailedPath(), written.reason);
    return kExitOk;
}

} // namespace
