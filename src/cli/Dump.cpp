#include "Btn8Ctrl.h"
#include "Command.h"
#include "DataStore.h"
#include "ImageBuffer.h"
#include "ImageEntry.h"
#include "ImageLibrary.h"
#include "Json.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "PageArg.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <cstdio>

namespace
{

int Run(const TArgs& args);

const TCommand kCommand = {
    "dump",
    "dump FILE [--raw]",
    "print a template or user page file as JSON",
    "Prints FILE as one JSON object. FILE is a template (.qel) or a user page\n"
    "file (.qup), told apart by the magic number at its front; with --raw it is a\n"
    "bare layout byte image as uploaded to the panel. Text is printed as UTF-8,\n"
    "converted through the code page where it is stored as ANSI.\n\n"
    "  --raw    FILE is a bare layout byte image (at most 512000 bytes)",
    {{FlagOption("--raw")}, 1, 1, "dump takes one file"},
    Run,
};
const CCommandRegistrar kRegistrar(kCommand);

std::string Utf8(const std::u16string& text)
{
    return WideToUtf8(text);
}

std::string Utf8(const TTextField& field)
{
    return WideToUtf8(TextFieldToWide(field));
}

CJson FaceJson(const TUserFace& face)
{
    return CJson::Object()
        .Add("type", face.type)
        .Add("param", face.param)
        .Add("colour1", face.colour1)
        .Add("colour2", face.colour2);
}

CJson ObjectJson(const TUserObject& object)
{
    CJson json = CJson::Object();
    json.Add("type", object.type)
        .Add("left", object.left)
        .Add("top", object.top)
        .Add("width", object.width)
        .Add("height", object.height);
    if (const auto* button = dynamic_cast<const TUserButton*>(&object))
    {
        json.Add("upFace", FaceJson(button->upFace))
            .Add("downFace", FaceJson(button->downFace))
            .Add("selectorId", button->selectorId)
            .Add("toggle", button->toggle)
            .Add("downEvent", Utf8(button->downText))
            .Add("upEvent", Utf8(button->upText));
    }
    else if (const auto* image = dynamic_cast<const TUserImage*>(&object))
    {
        json.Add("face", FaceJson(image->face));
    }
    else if (const auto* hotspot = dynamic_cast<const TUserHotspot*>(&object))
    {
        json.Add("target", hotspot->targetPage);
    }
    else if (const auto* level = dynamic_cast<const TUserLevel*>(&object))
    {
        json.Add("controlId", level->controlId).Add("sliderImage", level->sliderImageId);
    }
    return json;
}

CJson PageJson(const TListItem& item)
{
    CJson json = CJson::Object();
    json.Add("type", item.type).Add("id", item.id).Add("name", Utf8(item.name));
    if (const auto* page = dynamic_cast<const TUserPage*>(&item))
    {
        CJson objects = CJson::Array();
        for (const auto& object : page->objects)
            objects.Push(ObjectJson(*object));
        json.Add("face", FaceJson(page->face)).Add("objects", std::move(objects));
    }
    else if (const auto* eight = dynamic_cast<const CBtn8Ctrl*>(&item))
    {
        CJson buttons = CJson::Array();
        for (int i = 0; i < CBtn8Ctrl::kButtons; ++i)
            buttons.Push(CJson::Object().Add("name", Utf8(eight->names[i])).Add("text", Utf8(eight->texts[i])));
        json.Add("buttons", std::move(buttons));
    }
    return json;
}

CJson ImageJson(const TImageEntry& entry)
{
    const CImageBuffer* image = entry.image.get();
    const bool pixels = image != nullptr && image->Data().HasPixels();
    return CJson::Object()
        .Add("id", entry.id)
        .Add("name", Utf8(entry.name))
        .Add("width", pixels ? image->GetWidth() : 0u)
        .Add("height", pixels ? image->GetHeight() : 0u)
        .Add("guid", GuidToText(entry.guid));
}

CJson GlyphJson(const TGlyph& glyph)
{
    return CJson::Object()
        .Add("cell", glyph.cell)
        .Add("char", glyph.character)
        .Add("width", glyph.width)
        .Add("height", glyph.height)
        .Add("left", glyph.left)
        .Add("top", glyph.top)
        .Add("advance", glyph.advance);
}

CJson LayoutJson(const char* kind, int32_t version, const TLayout& layout,
                 const std::vector<std::unique_ptr<TGlyph>>& glyphs)
{
    CJson pages = CJson::Array();
    for (const auto& page : layout.pages)
        pages.Push(PageJson(*page));
    CJson images = CJson::Array();
    for (const auto& entry : layout.images)
    {
        if (entry->id >= 10000)
            images.Push(ImageJson(*entry));
    }
    CJson glyphList = CJson::Array();
    for (const auto& glyph : glyphs)
        glyphList.Push(GlyphJson(*glyph));
    CJson events = CJson::Array();
    for (int i = 0; i < TLayout::kEvents; ++i)
    {
        events.Push(CJson::Object()
                        .Add("description", Utf8(layout.eventDescriptions[i]))
                        .Add("text", Utf8(layout.eventTexts[i])));
    }
    return CJson::Object()
        .Add("kind", kind)
        .Add("version", version)
        .Add("controlName", Utf8(layout.controlName))
        .Add("sleepTimeout", layout.sleepTimeout)
        .Add("pinOnWakeup", layout.pinOnWakeup)
        .Add("timeoutPin", Utf8(layout.timeoutPin))
        .Add("securityPin", Utf8(layout.securityPin))
        .Add("audibleFeedback", layout.audibleFeedback)
        .Add("manualBrightness", static_cast<int32_t>(layout.manualBrightness))
        .Add("autoBrightness", static_cast<int32_t>(layout.autoBrightness))
        .Add("defaultPage", layout.defaultPage)
        .Add("pages", std::move(pages))
        .Add("images", std::move(images))
        .Add("glyphs", std::move(glyphList))
        .Add("events", std::move(events));
}

int DumpLayout(const std::string& path, const char* kind, const uint8_t* data, size_t size)
{
    TLayout layout;
    std::vector<std::unique_ptr<TGlyph>> glyphs;
    if (size < 4 || !layout.LoadFromBuffer(data, static_cast<int32_t>(size), &glyphs))
        return Fail(path, "damaged layout data");
    const auto version = static_cast<int32_t>(ReadMagic(data, size));
    std::printf("%s\n", LayoutJson(kind, version, layout, glyphs).Print().c_str());
    return kExitOk;
}

int Run(const TArgs& parsed)
{
    const std::string& path = parsed.positional[0];
    const bool raw = parsed.Has("--raw");

    std::vector<uint8_t> bytes;
    const size_t limit = raw ? static_cast<size_t>(kUploadCapacity) : kTemplateFileLimit;
    if (TFileResult read = ReadWholeFile(path, limit, bytes); !read)
        return Fail(path, read.reason);
    if (raw)
        return DumpLayout(path, "layout", bytes.data(), bytes.size());
    if (bytes.size() <= 4)
        return Fail(path, "not a QEL-1 template or user page (too short)");

    const uint32_t magic = ReadMagic(bytes.data(), bytes.size());
    if (magic == kTemplateMagic)
        return DumpLayout(path, "template", bytes.data() + 4, bytes.size() - 4);
    if (magic != kUserPageMagic)
        return Fail(path, "not a QEL-1 template or user page (wrong magic number)");

    TUserPageFileContents contents;
    if (TFileResult read = ReadUserPageBytes(bytes.data(), bytes.size(), contents); !read)
        return Fail(path, read.reason);
    CJson images = CJson::Array();
    for (const auto& entry : contents.pictures)
        images.Push(ImageJson(*entry));
    CJson json = CJson::Object();
    json.Add("kind", "userpage").Add("page", PageJson(*contents.page)).Add("images", std::move(images));
    std::printf("%s\n", json.Print().c_str());
    return kExitOk;
}

} // namespace
