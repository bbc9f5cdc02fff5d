#include "LayoutJsonReader.h"

#include "Base64.h"
#include "Btn8Ctrl.h"
#include "FieldText.h"
#include "ImageBuffer.h"
#include "ImageEntry.h"
#include "LayoutFile.h"
#include "ObjectVisitor.h"
#include "PictureFile.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <algorithm>
#include <filesystem>
#include <limits>

namespace fs = std::filesystem;

namespace
{

using EKind = TJsonValue::EKind;

std::string Quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

// The members of one JSON object, read by name. A member left out leaves
// its destination as it is; Finish refuses members nobody asked for.
class CMembers
{
public:
    CMembers(const TJsonValue& object, TJsonProblem& problem)
        : m_object(object), m_problem(problem), m_used(object.keys.size(), false)
    {
    }

    const TJsonValue* Get(const char* key, size_t& keyOffset)
    {
        for (size_t i = 0; i < m_object.keys.size(); ++i)
        {
            if (m_object.keys[i] == key)
            {
                m_used[i] = true;
                keyOffset = m_object.keyOffsets[i];
                return &m_object.items[i];
            }
        }
        return nullptr;
    }

    template <typename T> bool Integer(const char* key, T& destination)
    {
        int64_t value = 0;
        if (!Number(key, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), value))
            return false;
        if (Has(key))
            destination = static_cast<T>(value);
        return true;
    }

    bool Bool(const char* key, bool& destination)
    {
        size_t at = 0;
        const TJsonValue* v = Get(key, at);
        if (v == nullptr)
            return true;
        if (v->kind != EKind::Bool)
            return Fail(at, Quoted(key) + " must be true or false");
        destination = v->boolean;
        return true;
    }

    bool Wide(const char* key, std::u16string& destination)
    {
        size_t at = 0;
        const TJsonValue* v = Get(key, at);
        return v == nullptr || WideFromJson(*v, key, at, destination, m_problem);
    }

    bool Text(const char* key, TTextField& destination)
    {
        size_t at = 0;
        const TJsonValue* v = Get(key, at);
        return v == nullptr || TextFieldFromJson(*v, key, at, destination, m_problem);
    }

    bool String(const char* key, const TJsonValue*& value, size_t& at)
    {
        value = Get(key, at);
        if (value != nullptr && value->kind != EKind::String)
            return Fail(at, Quoted(key) + " must be a string");
        return true;
    }

    bool Container(const char* key, EKind kind, const TJsonValue*& value, size_t& at)
    {
        value = Get(key, at);
        if (value != nullptr && value->kind != kind)
            return Fail(at, Quoted(key) + (kind == EKind::Array ? " must be a list" : " must be an object"));
        return true;
    }

    bool Has(const char* key) const
    {
        return std::find(m_object.keys.begin(), m_object.keys.end(), key) != m_object.keys.end();
    }

    bool Finish()
    {
        for (size_t i = 0; i < m_used.size(); ++i)
        {
            if (!m_used[i])
                return Fail(m_object.keyOffsets[i], "unknown member " + Quoted(m_object.keys[i]));
        }
        return true;
    }

    bool Fail(size_t offset, const std::string& message)
    {
        m_problem = {offset, message};
        return false;
    }

private:
    bool Number(const char* key, int64_t min, int64_t max, int64_t& value)
    {
        size_t at = 0;
        const TJsonValue* v = Get(key, at);
        if (v == nullptr)
            return true;
        if (v->kind != EKind::Integer)
            return Fail(at, Quoted(key) + " must be an integer");
        if (v->beyondInt64 || v->integer < min || v->integer > max)
            return Fail(at,
                        Quoted(key) + " must be from " + std::to_string(min) + " to " + std::to_string(max));
        value = v->integer;
        return true;
    }

    const TJsonValue& m_object;
    TJsonProblem& m_problem;
    std::vector<bool> m_used;
};

bool ReadFace(CMembers& parent, const char* key, TUserFace& face, TJsonProblem& problem)
{
    const TJsonValue* value = nullptr;
    size_t at = 0;
    if (!parent.Container(key, EKind::Object, value, at))
        return false;
    if (value == nullptr)
        return true;
    CMembers members(*value, problem);
    return members.Integer("type", face.type) && members.Integer("param", face.param) &&
           members.Integer("colour1", face.colour1) && members.Integer("colour2", face.colour2) &&
           members.Finish();
}

} // namespace

CLayoutJsonReader::CLayoutJsonReader(std::string jsonDir, TLabelPainter paintLabel)
    : m_jsonDir(std::move(jsonDir)), m_paintLabel(std::move(paintLabel))
{
}

bool CLayoutJsonReader::Read(const TJsonValue& root, TJsonBuilt& built)
{
    if (root.kind != EKind::Object)
    {
        m_problem = {root.offset, "a layout must be a JSON object"};
        return false;
    }
    std::string kind = "template";
    size_t at = 0;
    if (const TJsonValue* k = root.Find("kind", &at))
    {
        if (k->kind != EKind::String ||
            (k->text != "template" && k->text != "layout" && k->text != "userpage"))
        {
            m_problem = {at, "\"kind\" must be \"template\", \"layout\" or \"userpage\""};
            return false;
        }
        kind = k->text;
    }
    built.kind = kind;
    if (kind != "userpage")
    {
        built.layout = std::make_unique<TLayout>();
        return ReadLayout(root, *built.layout);
    }

    CMembers members(root, m_problem);
    members.Get("kind", at);
    const TJsonValue* page = nullptr;
    const TJsonValue* images = nullptr;
    size_t imagesAt = 0;
    if (!members.Container("page", EKind::Object, page, at) ||
        !members.Container("images", EKind::Array, images, imagesAt))
        return false;
    if (page == nullptr)
        return members.Fail(root.offset, "a user page file needs its \"page\"");
    std::unique_ptr<TListItem> item;
    bool idGiven = false;
    if (!ReadPage(*page, item, idGiven))
        return false;
    if (item->type != kPageUser)
        return members.Fail(at, "the page of a user page file must be a user page (type 8)");
    built.userPage.page.reset(static_cast<TUserPage*>(item.release()));
    if (!idGiven)
        built.userPage.page->id = TPageList::kFirstId;
    return ReadImages(images, false, built.userPage.pictures, TImageEntry::kFirstAddedId) && members.Finish();
}

bool CLayoutJsonReader::ReadLayout(const TJsonValue& root, TLayout& layout)
{
    CMembers members(root, m_problem);
    size_t at = 0;
    members.Get("kind", at);
    uint8_t manualBrightness = static_cast<uint8_t>(layout.manualBrightness);
    if (!members.Wide("controlName", layout.controlName) ||
        !members.Integer("sleepTimeout", layout.sleepTimeout) ||
        !members.Integer("pinOnWakeup", layout.pinOnWakeup) ||
        !members.Wide("timeoutPin", layout.timeoutPin) || !members.Wide("securityPin", layout.securityPin) ||
        !members.Integer("audibleFeedback", layout.audibleFeedback) ||
        !members.Integer("manualBrightness", manualBrightness) ||
        !members.Integer("autoBrightness", layout.autoBrightness) ||
        !members.Integer("defaultPage", layout.defaultPage))
        return false;
    layout.manualBrightness = static_cast<int8_t>(manualBrightness);

    const TJsonValue* pages = nullptr;
    if (!members.Container("pages", EKind::Array, pages, at))
        return false;
    std::vector<TListItem*> withoutId;
    for (size_t i = 0; pages != nullptr && i < pages->items.size(); ++i)
    {
        std::unique_ptr<TListItem> page;
        bool idGiven = false;
        if (!ReadPage(pages->items[i], page, idGiven))
            return false;
        TListItem* placed = layout.pages.InsertPage(std::move(page));
        if (!idGiven && placed->type == kPageUser)
            withoutId.push_back(placed);
    }
    // A new user page takes its id by the id rule as it is made: one more
    // than the largest, so each takes the one after the last.
    int32_t nextId = layout.pages.NextPageId();
    for (TListItem* page : withoutId)
    {
        page->id = nextId;
        if (nextId < INT32_MAX) // the rule never wraps
            ++nextId;
    }

    const TJsonValue* images = nullptr;
    size_t imagesAt = 0;
    if (!members.Container("images", EKind::Array, images, imagesAt))
        return false;
    std::vector<std::unique_ptr<TImageEntry>> entries;
    if (!ReadImages(images, true, entries, layout.images.NextImageId()))
        return false;
    // A store writes the library from its head: put the list there in order.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        layout.images.InsertHead(std::move(*it));

    const TJsonValue* events = nullptr;
    if (!members.Container("events", EKind::Array, events, at))
        return false;
    if (events != nullptr && events->items.size() > TLayout::kEvents)
        return members.Fail(at, "\"events\" lists " + std::to_string(events->items.size()) +
                                    " events; there are " + std::to_string(TLayout::kEvents));
    for (size_t i = 0; events != nullptr && i < events->items.size(); ++i)
    {
        const TJsonValue& event = events->items[i];
        if (event.kind != EKind::Object)
            return members.Fail(event.offset, "each event must be an object");
        CMembers fields(event, m_problem);
        if (!fields.Text("description", layout.eventDescriptions[i]) ||
            !fields.Text("text", layout.eventTexts[i]) || !fields.Finish())
            return false;
    }
    return members.Finish();
}

bool CLayoutJsonReader::ReadPage(const TJsonValue& value, std::unique_ptr<TListItem>& page, bool& idGiven)
{
    if (value.kind != EKind::Object)
    {
        m_problem = {value.offset, "each page must be an object"};
        return false;
    }
    CMembers members(value, m_problem);
    size_t at = 0;
    const TJsonValue* type = members.Get("type", at);
    if (type == nullptr)
        return members.Fail(value.offset,
                            "each page needs its \"type\": 8 for a user page, 9 for an eight-button page");
    if (type->kind != EKind::Integer || (type->integer != kPageUser && type->integer != kPageEightButton))
        return members.Fail(at, "\"type\" must be 8 (a user page) or 9 (an eight-button page)");
    idGiven = members.Has("id");
    if (type->integer == kPageUser)
    {
        auto user = std::make_unique<TUserPage>();
        const TJsonValue* objects = nullptr;
        if (!members.Integer("id", user->id) || !members.Wide("name", user->name) ||
            !ReadFace(members, "face", user->face, m_problem) ||
            !members.Container("objects", EKind::Array, objects, at))
            return false;
        for (size_t i = 0; objects != nullptr && i < objects->items.size(); ++i)
        {
            std::unique_ptr<TUserObject> object;
            if (!ReadObject(objects->items[i], object))
                return false;
            user->objects.push_back(std::move(object));
        }
        page = std::move(user);
    }
    else
    {
        auto eight = std::make_unique<CBtn8Ctrl>();
        const TJsonValue* buttons = nullptr;
        if (!members.Integer("id", eight->id) || !members.Wide("name", eight->name) ||
            !members.Container("buttons", EKind::Array, buttons, at))
            return false;
        if (buttons != nullptr && buttons->items.size() > CBtn8Ctrl::kButtons)
            return members.Fail(at, "\"buttons\" lists " + std::to_string(buttons->items.size()) +
                                        " buttons; an eight-button page has 8");
        for (size_t i = 0; buttons != nullptr && i < buttons->items.size(); ++i)
        {
            const TJsonValue& button = buttons->items[i];
            if (button.kind != EKind::Object)
                return members.Fail(button.offset, "each button must be an object");
            CMembers fields(button, m_problem);
            if (!fields.Text("name", eight->names[i]) || !fields.Text("text", eight->texts[i]) ||
                !fields.Finish())
                return false;
        }
        page = std::move(eight);
    }
    return members.Finish();
}

bool CLayoutJsonReader::ReadObject(const TJsonValue& value, std::unique_ptr<TUserObject>& object)
{
    if (value.kind != EKind::Object)
    {
        m_problem = {value.offset, "each object must be an object"};
        return false;
    }
    CMembers members(value, m_problem);
    int32_t type = 0;
    if (!members.Has("type"))
        return members.Fail(value.offset,
                            "each object needs its \"type\": 1 button, 2 level slider, 3 image, 4 hot spot");
    if (!members.Integer("type", type))
        return false;
    object = MakeUserObject(type);
    if (!members.Integer("left", object->left) || !members.Integer("top", object->top) ||
        !members.Integer("width", object->width) || !members.Integer("height", object->height) ||
        !members.Integer("reserved", object->reserved))
        return false;
    const auto kinds = Overloaded{
        [&](TUserButton& button)
        {
            return ReadFace(members, "upFace", button.upFace, m_problem) &&
                   ReadFace(members, "downFace", button.downFace, m_problem) &&
                   members.Integer("selectorId", button.selectorId) &&
                   members.Bool("toggle", button.toggle) && members.Text("downEvent", button.downText) &&
                   members.Text("upEvent", button.upText) &&
                   members.Integer("buttonReserved", button.buttonReserved);
        },
        [&](TUserImage& image) { return ReadFace(members, "face", image.face, m_problem); },
        [&](TUserHotspot& hotspot) { return members.Integer("target", hotspot.targetPage); },
        [&](TUserLevel& level)
        {
            return members.Integer("controlId", level.controlId) &&
                   members.Integer("sliderImage", level.sliderImageId);
        },
        [](TUserObject&) { return true; },
    };
    const bool ok = VisitObject(*object, kinds);
    return ok && members.Finish();
}

bool CLayoutJsonReader::ReadImages(const TJsonValue* list, bool addedOnly,
                                   std::vector<std::unique_ptr<TImageEntry>>& entries, int32_t firstFreeId)
{
    std::vector<TImageEntry*> withoutId;
    int32_t nextId = firstFreeId;
    for (size_t i = 0; list != nullptr && i < list->items.size(); ++i)
    {
        std::unique_ptr<TImageEntry> entry;
        bool idGiven = false;
        if (!ReadImage(list->items[i], addedOnly, entry, idGiven))
            return false;
        if (idGiven)
            nextId = std::max(nextId, entry->id == INT32_MAX ? entry->id : entry->id + 1);
        else
            withoutId.push_back(entry.get());
        entries.push_back(std::move(entry));
    }
    // A picture added without an id takes the next free one, as Add Image gives it.
    for (TImageEntry* entry : withoutId)
        entry->id = nextId < INT32_MAX ? nextId++ : nextId;
    return true;
}

bool CLayoutJsonReader::ReadImage(const TJsonValue& value, bool addedOnly,
                                  std::unique_ptr<TImageEntry>& entry, bool& idGiven)
{
    if (value.kind != EKind::Object)
    {
        m_problem = {value.offset, "each picture must be an object"};
        return false;
    }
    CMembers members(value, m_problem);
    entry = std::make_unique<TImageEntry>();
    idGiven = members.Has("id");
    int32_t width = 0;
    int32_t height = 0;
    if (!members.Integer("id", entry->id) || !members.Wide("name", entry->name) ||
        !members.Integer("width", width) || !members.Integer("height", height))
        return false;
    // A layout stores only its added pictures; a user page file carries any.
    if (addedOnly && idGiven && entry->id < TImageEntry::kFirstAddedId)
    {
        size_t at = 0;
        members.Get("id", at);
        return members.Fail(at, "\"id\" of an added picture must be 10000 or more");
    }
    const TJsonValue* guid = nullptr;
    size_t at = 0;
    if (!members.String("guid", guid, at))
        return false;
    if (guid == nullptr)
        entry->guid = NewGuid();
    else if (!GuidFromText(guid->text, entry->guid))
        return members.Fail(at, "\"guid\" must read {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in hex digits");

    const TJsonValue* png = nullptr;
    const TJsonValue* file = nullptr;
    size_t pngAt = 0;
    size_t fileAt = 0;
    if (!members.String("png", png, pngAt) || !members.String("file", file, fileAt))
        return false;
    if (png != nullptr && file != nullptr)
        return members.Fail(fileAt, "a picture takes \"file\" or \"png\", not both");
    const TJsonValue* label = nullptr;
    size_t labelAt = 0;
    if (!members.Container("label", EKind::Object, label, labelAt))
        return false;
    if (label != nullptr && (png != nullptr || file != nullptr))
        return members.Fail(labelAt, "a picture takes \"label\", \"file\" or \"png\", only one");
    if (label != nullptr && !PaintLabel(*label, entry->image))
        return false;
    if (png != nullptr)
    {
        std::vector<uint8_t> bytes;
        if (!DecodeBase64(png->text, bytes))
            return members.Fail(pngAt, "\"png\" must be base64");
        auto image = std::make_shared<CImageBuffer>();
        if (!image->Decode(bytes.data(), bytes.size(), kFormatPng) || !image->Data().HasPixels())
            return members.Fail(pngAt, "\"png\" does not hold a PNG picture");
        entry->image = std::move(image);
    }
    else if (file != nullptr)
    {
        if (file->text.empty())
            return members.Fail(fileAt, "\"file\" must name a picture file");
        fs::path path(file->text);
        if (path.is_relative() && !m_jsonDir.empty())
            path = fs::path(m_jsonDir) / path;
        TPictureFile picture;
        if (const TFileResult read = LoadPictureFile(path.string(), picture); !read)
            return members.Fail(fileAt, file->text + ": " + read.reason);
        entry->image = std::move(picture.image);
    }
    return members.Finish();
}

bool CLayoutJsonReader::PaintLabel(const TJsonValue& value, std::shared_ptr<CImageBuffer>& image)
{
    TLabel label;
    if (!LabelFromJson(value, label, m_problem))
        return false;
    if (!m_paintLabel)
    {
        m_problem = {value.offset, "a label cannot be drawn here"};
        return false;
    }
    auto made = std::make_shared<CImageBuffer>();
    std::string error;
    if (!m_paintLabel(label, *made, error))
    {
        m_problem = {value.offset, "label: " + error};
        return false;
    }
    image = std::move(made);
    return true;
}
