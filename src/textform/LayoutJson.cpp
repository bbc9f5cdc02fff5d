#include "LayoutJson.h"

#include "DataStore.h"
#include "ImageEntry.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "LayoutJsonReader.h"
#include "UserPage.h"
#include "UserPageFile.h"

namespace
{

void PutMagic(std::vector<uint8_t>& bytes, uint32_t magic)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(magic >> shift));
}

bool LayoutJson(const char* kind, const uint8_t* data, size_t size, CLayoutJsonWriter& writer,
                std::string& json, std::string& reason)
{
    TLayout layout;
    std::vector<std::unique_ptr<TGlyph>> glyphs;
    // Ids as stored: a new eight-button page's -1 is part of the file.
    if (size < 4 || !layout.LoadFromBuffer(data, static_cast<int32_t>(size), &glyphs, true))
    {
        reason = "damaged layout data";
        return false;
    }
    json = PrintJson(writer.Layout(kind, layout)) + "\n";
    return true;
}

} // namespace

bool FileToJson(const std::vector<uint8_t>& bytes, bool raw, CLayoutJsonWriter& writer, std::string& json,
                std::string& reason)
{
    if (raw)
        return LayoutJson("layout", bytes.data(), bytes.size(), writer, json, reason);
    if (bytes.size() <= 4)
    {
        reason = "not a QEL-1 template or user page (too short)";
        return false;
    }
    const uint32_t magic = ReadMagic(bytes.data(), bytes.size());
    if (magic == kTemplateMagic)
        return LayoutJson("template", bytes.data() + 4, bytes.size() - 4, writer, json, reason);
    if (magic != kUserPageMagic)
    {
        reason = "not a QEL-1 template or user page (wrong magic number)";
        return false;
    }
    TUserPageFileContents contents;
    if (TFileResult read = ReadUserPageBytes(bytes.data(), bytes.size(), contents); !read)
    {
        reason = read.reason;
        return false;
    }
    json = PrintJson(writer.UserPageFile(contents)) + "\n";
    return true;
}

bool JsonToFile(const std::string& text, const std::string& jsonDir, const TLabelPainter& paintLabel,
                std::vector<uint8_t>& bytes, TBuildProblem& problem)
{
    TJsonValue root;
    TJsonProblem syntax;
    if (!ParseJsonText(text, root, syntax))
    {
        problem = {true, syntax.offset, syntax.message};
        return false;
    }
    // The reading form names pictures by their digest: nothing to build from.
    size_t at = 0;
    if (root.kind == TJsonValue::EKind::Object && root.Find("textconv", &at) != nullptr)
    {
        problem = {true, at,
                   "this is the reading form of `qelctl dump --textconv`, which keeps only a digest of each "
                   "picture; build takes what plain dump prints"};
        return false;
    }
    CLayoutJsonReader reader(jsonDir, paintLabel);
    TJsonBuilt built;
    if (!reader.Read(root, built))
    {
        problem = {true, reader.Problem().offset, reader.Problem().message};
        return false;
    }
    std::vector<uint8_t> out;
    if (built.kind == "userpage")
    {
        CDataStore store;
        store.WriteInt(static_cast<int32_t>(kUserPageMagic));
        built.userPage.page->Serialize(store);
        for (const auto& picture : built.userPage.pictures)
        {
            store.WriteInt(1);
            picture->Serialize(store);
        }
        std::vector<uint8_t> file = store.CopyData();
        // Import would refuse it.
        if (TFileResult fits = CheckUserPageSize(file.size()); !fits)
        {
            problem.message = fits.reason;
            return false;
        }
        bytes = std::move(file);
        return true;
    }
    const bool isTemplate = built.kind == "template";
    const int32_t capacity = isTemplate ? kTemplateCapacity : kUploadCapacity;
    std::vector<uint8_t> image(static_cast<size_t>(capacity));
    const int32_t length = built.layout->SaveToBuffer(image.data(), capacity);
    if (length < 0)
    {
        problem.message =
            std::string(isTemplate ? "layout too large for a template" : "layout too large to upload") +
            " (over " + std::to_string(capacity) + " bytes)";
        return false;
    }
    if (isTemplate)
        PutMagic(out, kTemplateMagic);
    out.insert(out.end(), image.begin(), image.begin() + length);
    bytes = std::move(out);
    return true;
}
