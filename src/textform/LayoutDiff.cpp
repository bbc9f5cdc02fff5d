#include "LayoutDiff.h"

#include "Btn8Ctrl.h"
#include "ImageBuffer.h"
#include "ImageEntry.h"
#include "Layout.h"
#include "ObjectVisitor.h"
#include "PageVisitor.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <cstdlib>
#include <typeinfo>
#include <unordered_map>

namespace
{

std::string Quote(const std::u16string& text)
{
    return "\"" + WideToUtf8(text) + "\"";
}

std::string Quote(const TTextField& field)
{
    return Quote(TextFieldToWide(field));
}

std::string FaceWords(const TUserFace& f)
{
    switch (f.type)
    {
    case kFaceBlank:
        return "blank";
    case kFaceButton:
        return "button face " + std::to_string(f.param);
    case kFaceImage:
        return "picture " + std::to_string(f.param);
    case kFaceColour:
        return (f.param == kColourSingle ? "colour " : "gradient " + std::to_string(f.param) + " ") +
               std::to_string(f.colour1) + (f.param == kColourSingle ? "" : "/" + std::to_string(f.colour2));
    default:
        return "face of type " + std::to_string(f.type);
    }
}

// The PNG block a store writes for the entry, none without pixels: the one
// its picture keeps, so comparing pictures encodes none that was read.
const std::vector<uint8_t>* Png(const TImageEntry& entry)
{
    if (entry.image == nullptr || !entry.image->HasPixels())
        return nullptr;
    return entry.image->PngBlock();
}

bool SamePng(const TImageEntry& a, const TImageEntry& b)
{
    const std::vector<uint8_t>* x = Png(a);
    const std::vector<uint8_t>* y = Png(b);
    if (x == nullptr || y == nullptr)
        return x == y;
    return *x == *y;
}

// b as the kind of x, which it has: the two have the same type code, and a
// known code always comes with its class. Were it otherwise, this throws as
// a cast to the wrong class would.
template <typename Kind> const Kind& SameKind(const Kind&, const TUserObject& b)
{
    if (const Kind* y = ObjectAs<Kind>(b))
        return *y;
    throw std::bad_cast();
}

template <typename Kind> const Kind& SameKind(const Kind&, const TListItem& b)
{
    if (const Kind* y = PageAs<Kind>(b))
        return *y;
    throw std::bad_cast();
}

class CDiff
{
public:
    std::vector<std::string> lines;

    void Value(const std::string& what, const std::string& a, const std::string& b)
    {
        if (a != b)
            lines.push_back(what + " changed from " + a + " to " + b);
    }
    void Value(const std::string& what, int64_t a, int64_t b)
    {
        Value(what, std::to_string(a), std::to_string(b));
    }

    void Objects(const std::string& page, const TUserPage& a, const TUserPage& b)
    {
        const size_t common = std::min(a.objects.size(), b.objects.size());
        for (size_t i = 0; i < common; ++i)
            Object(page, i + 1, *a.objects[i], *b.objects[i]);
        for (size_t i = common; i < b.objects.size(); ++i)
            lines.push_back(page + std::string(ObjectKindName(b.objects[i]->type)) + " " + std::to_string(i + 1) +
                            " added");
        for (size_t i = common; i < a.objects.size(); ++i)
            lines.push_back(page + std::string(ObjectKindName(a.objects[i]->type)) + " " + std::to_string(i + 1) +
                            " removed");
    }

    void Object(const std::string& page, size_t n, const TUserObject& a, const TUserObject& b)
    {
        const std::string name = page + ObjectKindName(b.type) + " " + std::to_string(n);
        if (a.type != b.type)
        {
            lines.push_back(name + " replaces " + ObjectKindName(a.type) + " " + std::to_string(n));
            return;
        }
        if (a.left != b.left || a.top != b.top)
            lines.push_back(name + " moved from " + std::to_string(a.left) + "," + std::to_string(a.top) +
                            " to " + std::to_string(b.left) + "," + std::to_string(b.top));
        if (a.width != b.width || a.height != b.height)
            lines.push_back(name + " resized from " + std::to_string(a.width) + "x" +
                            std::to_string(a.height) + " to " + std::to_string(b.width) + "x" +
                            std::to_string(b.height));
        Value(name + " reserved value", a.reserved, b.reserved);
        const auto kinds = Overloaded{
            [&](const TUserButton& x)
            {
                const TUserButton& y = SameKind(x, b);
                Value(name + " up face", FaceWords(x.upFace), FaceWords(y.upFace));
                Value(name + " down face", FaceWords(x.downFace), FaceWords(y.downFace));
                Value(name + " selector group", x.selectorId, y.selectorId);
                Value(name + " toggle", x.toggle ? "on" : "off", y.toggle ? "on" : "off");
                if (x.downText != y.downText)
                    lines.push_back(name + " down event changed from " + Quote(x.downText) + " to " +
                                    Quote(y.downText));
                if (x.upText != y.upText)
                    lines.push_back(name + " up event changed from " + Quote(x.upText) + " to " +
                                    Quote(y.upText));
                Value(name + " second reserved value", x.buttonReserved, y.buttonReserved);
            },
            [&](const TUserImage& x)
            { Value(name + " face", FaceWords(x.face), FaceWords(SameKind(x, b).face)); },
            [&](const TUserHotspot& x)
            { Value(name + " target page", x.targetPage, SameKind(x, b).targetPage); },
            [&](const TUserLevel& x)
            {
                const TUserLevel& y = SameKind(x, b);
                Value(name + " control", x.controlId, y.controlId);
                Value(name + " slider picture", x.sliderImageId, y.sliderImageId);
            },
            [](const TUserObject&) {},
        };
        VisitObject(a, kinds);
    }

    void Page(const TListItem& a, const TListItem& b)
    {
        const std::string page = "page " + Quote(b.name) + ": ";
        if (a.name != b.name)
            lines.push_back("page " + Quote(a.name) + " renamed to " + Quote(b.name));
        if (a.type != b.type)
        {
            lines.push_back(page + (b.type == kPageUser ? "now a user page" : "now an eight-button page"));
            return;
        }
        const auto kinds = Overloaded{
            [&](const TUserPage& x)
            {
                const TUserPage& y = SameKind(x, b);
                Value(page + "background", FaceWords(x.face), FaceWords(y.face));
                Objects(page, x, y);
            },
            [&](const CBtn8Ctrl& x8)
            {
                const CBtn8Ctrl& y8 = SameKind(x8, b);
                for (size_t i = 0; i < CBtn8Ctrl::kButtons; ++i)
                {
                    const std::string button = page + "button " + std::to_string(i + 1);
                    if (x8.names[i] != y8.names[i])
                        lines.push_back(button + " name changed from " + Quote(x8.names[i]) + " to " +
                                        Quote(y8.names[i]));
                    if (x8.texts[i] != y8.texts[i])
                        lines.push_back(button + " text changed from " + Quote(x8.texts[i]) + " to " +
                                        Quote(y8.texts[i]));
                }
            },
            [](const TListItem&) {},
        };
        VisitPage(a, kinds);
    }
};

const TImageEntry* AddedImage(const TLayout& layout, int32_t id)
{
    for (const auto& entry : layout.images)
    {
        if (entry->IsAdded() && entry->id == id)
            return entry.get();
    }
    return nullptr;
}

struct TPlacedPage
{
    const TListItem* page;
    int index; // place in the page list
};
using TPagesById = std::unordered_map<int32_t, std::vector<TPlacedPage>>;

TPagesById PagesById(const TPageList& pages)
{
    TPagesById byId;
    int index = 0;
    for (const auto& page : pages)
        byId[page->id].push_back({page.get(), index++});
    return byId;
}

} // namespace

std::vector<std::string> DiffLayouts(const TLayout& a, const TLayout& b)
{
    CDiff d;
    d.Value("control name", Quote(a.controlName), Quote(b.controlName));
    d.Value("sleep timeout", a.sleepTimeout, b.sleepTimeout);
    d.Value("PIN on wakeup", a.pinOnWakeup, b.pinOnWakeup);
    d.Value("timeout PIN", Quote(a.timeoutPin), Quote(b.timeoutPin));
    d.Value("security PIN", Quote(a.securityPin), Quote(b.securityPin));
    d.Value("audible feedback", a.audibleFeedback, b.audibleFeedback);
    d.Value("manual brightness", static_cast<uint8_t>(a.manualBrightness),
            static_cast<uint8_t>(b.manualBrightness));
    d.Value("auto brightness", a.autoBrightness, b.autoBrightness);
    d.Value("default page", a.defaultPage, b.defaultPage);

    // Pages pair by id; pages that share an id (as a damaged file may hold
    // them) pair by their order among themselves.
    const TPagesById pagesA = PagesById(a.pages);
    const TPagesById pagesB = PagesById(b.pages);
    std::unordered_map<int32_t, size_t> seen;
    for (const auto& page : a.pages)
    {
        const size_t k = seen[page->id]++;
        const auto other = pagesB.find(page->id);
        if (other == pagesB.end() || k >= other->second.size())
            d.lines.push_back("page " + Quote(page->name) + " removed");
    }
    seen.clear();
    int to = 0;
    for (const auto& page : b.pages)
    {
        const size_t k = seen[page->id]++;
        const auto same = pagesA.find(page->id);
        if (same == pagesA.end() || k >= same->second.size())
        {
            d.lines.push_back("page " + Quote(page->name) + " added at position " + std::to_string(to + 1));
            ++to;
            continue;
        }
        const TPlacedPage& before = same->second[k];
        if (before.index != to)
            d.lines.push_back("page " + Quote(page->name) + " moved from position " +
                              std::to_string(before.index + 1) + " to " + std::to_string(to + 1));
        d.Page(*before.page, *page);
        ++to;
    }

    for (const auto& entry : a.images)
    {
        if (entry->IsAdded() && AddedImage(b, entry->id) == nullptr)
            d.lines.push_back("picture " + std::to_string(entry->id) + " removed (" + Quote(entry->name) +
                              ")");
    }
    for (auto it = b.images.end(); it != b.images.begin();)
    {
        const TImageEntry& entry = **--it;
        if (!entry.IsAdded())
            continue;
        const std::string picture = "picture " + std::to_string(entry.id);
        const TImageEntry* before = AddedImage(a, entry.id);
        if (before == nullptr)
        {
            d.lines.push_back(picture + " added (" + Quote(entry.name) + ")");
            continue;
        }
        if (before->name != entry.name)
            d.lines.push_back(picture + " renamed from " + Quote(before->name) + " to " + Quote(entry.name));
        if (!SamePng(*before, entry))
            d.lines.push_back(picture + " replaced");
        if (before->guid != entry.guid)
            d.lines.push_back(picture + " GUID changed from " + GuidToText(before->guid) + " to " +
                              GuidToText(entry.guid));
    }

    for (size_t i = 0; i < TLayout::kEvents; ++i)
    {
        const std::string event = "event " + std::to_string(i + 1);
        if (a.eventDescriptions[i] != b.eventDescriptions[i])
            d.lines.push_back(event + " description changed from " + Quote(a.eventDescriptions[i]) + " to " +
                              Quote(b.eventDescriptions[i]));
        if (a.eventTexts[i] != b.eventTexts[i])
            d.lines.push_back(event + " text changed from " + Quote(a.eventTexts[i]) + " to " +
                              Quote(b.eventTexts[i]));
    }
    return d.lines;
}
