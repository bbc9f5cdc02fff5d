#include "LayoutJsonWriter.h"

#include "Base64.h"
#include "Btn8Ctrl.h"
#include "FieldText.h"
#include "ImageBuffer.h"
#include "ImageEntry.h"
#include "Layout.h"
#include "ObjectVisitor.h"
#include "PageVisitor.h"
#include "Sha256.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace
{

TOrderedJson FaceJson(const TUserFace& face)
{
    TOrderedJson json = TOrderedJson::object();
    json["type"] = face.type;
    json["param"] = face.param;
    json["colour1"] = face.colour1;
    json["colour2"] = face.colour2;
    return json;
}

TOrderedJson ObjectJson(const TUserObject& object)
{
    TOrderedJson json = TOrderedJson::object();
    json["type"] = object.type;
    json["left"] = object.left;
    json["top"] = object.top;
    json["width"] = object.width;
    json["height"] = object.height;
    const auto kinds = Overloaded{
        [&](const TUserButton& button)
        {
            json["upFace"] = FaceJson(button.upFace);
            json["downFace"] = FaceJson(button.downFace);
            json["selectorId"] = button.selectorId;
            json["toggle"] = button.toggle;
            json["downEvent"] = TextFieldJson(button.downText);
            json["upEvent"] = TextFieldJson(button.upText);
            json["buttonReserved"] = button.buttonReserved;
        },
        [&](const TUserImage& image) { json["face"] = FaceJson(image.face); },
        [&](const TUserHotspot& hotspot) { json["target"] = hotspot.targetPage; },
        [&](const TUserLevel& level)
        {
            json["controlId"] = level.controlId;
            json["sliderImage"] = level.sliderImageId;
        },
        [](const TUserObject&) {},
    };
    VisitObject(object, kinds);
    json["reserved"] = object.reserved;
    return json;
}

TOrderedJson PageJson(const TListItem& item)
{
    TOrderedJson json = TOrderedJson::object();
    json["type"] = item.type;
    json["id"] = item.id;
    json["name"] = WideJson(item.name);
    const auto kinds = Overloaded{
        [&](const TUserPage& page)
        {
            json["face"] = FaceJson(page.face);
            TOrderedJson objects = TOrderedJson::array();
            for (const auto& object : page.objects)
                objects.push_back(ObjectJson(*object));
            json["objects"] = std::move(objects);
        },
        [&](const CBtn8Ctrl& eight)
        {
            TOrderedJson buttons = TOrderedJson::array();
            for (int i = 0; i < CBtn8Ctrl::kButtons; ++i)
            {
                TOrderedJson button = TOrderedJson::object();
                button["name"] = TextFieldJson(eight.names[static_cast<size_t>(i)]);
                button["text"] = TextFieldJson(eight.texts[static_cast<size_t>(i)]);
                buttons.push_back(std::move(button));
            }
            json["buttons"] = std::move(buttons);
        },
        [](const TListItem&) {},
    };
    VisitPage(item, kinds);
    return json;
}

// A file name from a picture's description: lower-case letters and digits,
// other runs made one dash ("Wall plate #2" gives "wall-plate-2").
std::string Slug(const std::u16string& name)
{
    std::string slug;
    for (char16_t c : name)
    {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            slug += static_cast<char>(c);
        else if (c >= u'A' && c <= u'Z')
            slug += static_cast<char>(c - u'A' + u'a');
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
        if (slug.size() >= 40)
            break;
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return slug;
}

} // namespace

CLayoutJsonWriter::CLayoutJsonWriter(std::string pictureDir, std::string jsonDir)
    : m_pictureDir(std::move(pictureDir)), m_jsonDir(std::move(jsonDir))
{
}

TOrderedJson CLayoutJsonWriter::Image(const TImageEntry& entry)
{
    TOrderedJson json = TOrderedJson::object();
    json["id"] = entry.id;
    json["name"] = WideJson(entry.name);
    json["guid"] = GuidToText(entry.guid);
    std::vector<uint8_t> png;
    uint32_t width = 0;
    uint32_t height = 0;
    // The PNG block a store writes; none for an entry without pixels.
    if (CImageBuffer* image = entry.image.get(); image != nullptr && image->HasPixels())
    {
        uint8_t* block = nullptr;
        int32_t size = 0;
        if (image->Encode(&block, &size, kFormatPng) && block != nullptr && size > 0)
        {
            png.assign(block, block + size);
            width = image->GetWidth();
            height = image->GetHeight();
        }
        std::free(block);
    }
    json["width"] = width;
    json["height"] = height;
    if (png.empty())
        return json;
    if (m_digest)
    {
        json["pngBytes"] = png.size();
        json["pngSha256"] = Sha256Hex(png.data(), png.size());
        return json;
    }
    // A file is read back as Add Image reads one, scaled to fit the screen, so
    // a larger picture (only a foreign file has one) stays in the JSON.
    if (m_pictureDir.empty() || width > 320 || height > 240)
    {
        json["png"] = EncodeBase64(png.data(), png.size());
        return json;
    }
    std::string stem = Slug(entry.name);
    if (stem.empty())
        stem = "picture-" + std::to_string(entry.id);
    // The first name not held by other bytes, in this layout or on disk.
    const auto taken = [&](const std::string& candidate)
    {
        const std::string path = (fs::path(m_pictureDir) / candidate).string();
        for (const TPictureFile& file : m_files)
        {
            if (file.path == path)
                return file.png != png;
        }
        return m_nameTaken && m_nameTaken(path, png);
    };
    std::string name = stem + ".png";
    for (int n = 1; taken(name); ++n)
        name = stem + "-" + std::to_string(entry.id) + (n == 1 ? "" : "-" + std::to_string(n)) + ".png";
    const fs::path path = fs::path(m_pictureDir) / name;
    bool known = false;
    for (const TPictureFile& file : m_files)
        known = known || file.path == path.string();
    if (!known)
        m_files.push_back({path.string(), png});
    const fs::path base = m_jsonDir.empty() ? fs::current_path() : fs::absolute(m_jsonDir);
    json["file"] =
        fs::absolute(path).lexically_normal().lexically_relative(base.lexically_normal()).generic_string();
    return json;
}

TOrderedJson CLayoutJsonWriter::Images(std::vector<const TImageEntry*> entries)
{
    // Every store of a loaded layout reverses the library's order; ids stay.
    if (m_digest)
        std::stable_sort(entries.begin(), entries.end(),
                         [](const TImageEntry* a, const TImageEntry* b) { return a->id < b->id; });
    TOrderedJson images = TOrderedJson::array();
    for (const TImageEntry* entry : entries)
        images.push_back(Image(*entry));
    return images;
}

TOrderedJson CLayoutJsonWriter::Layout(const char* kind, const TLayout& layout)
{
    TOrderedJson json = TOrderedJson::object();
    json["kind"] = kind;
    if (m_digest)
        json["textconv"] = true;
    json["controlName"] = WideJson(layout.controlName);
    json["sleepTimeout"] = layout.sleepTimeout;
    json["pinOnWakeup"] = layout.pinOnWakeup;
    json["timeoutPin"] = WideJson(layout.timeoutPin);
    json["securityPin"] = WideJson(layout.securityPin);
    json["audibleFeedback"] = layout.audibleFeedback;
    json["manualBrightness"] = static_cast<uint8_t>(layout.manualBrightness);
    json["autoBrightness"] = layout.autoBrightness;
    json["defaultPage"] = layout.defaultPage;
    TOrderedJson pages = TOrderedJson::array();
    for (const auto& page : layout.pages)
        pages.push_back(PageJson(*page));
    json["pages"] = std::move(pages);
    // A load links each picture at the head of the library, so the file's
    // order is the library's backwards.
    std::vector<const TImageEntry*> added;
    for (auto it = layout.images.end(); it != layout.images.begin();)
    {
        --it;
        if ((*it)->IsAdded())
            added.push_back(it->get());
    }
    json["images"] = Images(std::move(added));
    TOrderedJson events = TOrderedJson::array();
    for (int i = 0; i < TLayout::kEvents; ++i)
    {
        TOrderedJson event = TOrderedJson::object();
        event["description"] = TextFieldJson(layout.eventDescriptions[static_cast<size_t>(i)]);
        event["text"] = TextFieldJson(layout.eventTexts[static_cast<size_t>(i)]);
        events.push_back(std::move(event));
    }
    json["events"] = std::move(events);
    return json;
}

TOrderedJson CLayoutJsonWriter::UserPageFile(const TUserPageFileContents& contents)
{
    TOrderedJson json = TOrderedJson::object();
    json["kind"] = "userpage";
    if (m_digest)
        json["textconv"] = true;
    json["page"] = PageJson(*contents.page);
    std::vector<const TImageEntry*> pictures;
    for (const auto& entry : contents.pictures)
        pictures.push_back(entry.get());
    json["images"] = Images(std::move(pictures));
    return json;
}
