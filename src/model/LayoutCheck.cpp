#include "LayoutCheck.h"

#include "AudioControls.h"
#include "DataStore.h"
#include "GlyphRasteriser.h"
#include "ImageEntry.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "ObjectVisitor.h"
#include "PageVisitor.h"
#include "ReportText.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace
{

constexpr int32_t kScreenWidth = 320;
constexpr int32_t kScreenHeight = 240;

std::string Where(const TUserObject& object)
{
    return std::string(ObjectKindName(object.type)) + " at " + std::to_string(object.left) + "," +
           std::to_string(object.top);
}

std::string CodePoint(char32_t c)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

bool IsHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

class CChecker
{
public:
    CChecker(TLayout& layout, TListItem* unsaved) : m_layout(layout)
    {
        for (const auto& page : layout.pages)
            m_pages.push_back(page.get());
        if (unsaved != nullptr && layout.pages.IndexOf(unsaved) < 0)
        {
            m_unsaved = unsaved;
            m_pages.push_back(unsaved);
        }
        for (size_t i = 0; i < m_pages.size(); ++i)
            m_firstWithId.try_emplace(m_pages[i]->id, static_cast<int32_t>(i));
    }

    std::vector<TCheckFinding> Run()
    {
        CheckSize();
        if (m_layout.defaultPage != -1 && Find(m_layout.defaultPage) == nullptr)
            LayoutFinding(ECheckSeverity::Error, "missing-default",
                          "default page " + std::to_string(m_layout.defaultPage) + " does not exist");
        if (const std::optional<char32_t> c = Undrawable(m_layout.controlName))
            LayoutFinding(ECheckSeverity::Error, "undrawable-text",
                          "control name \"" + PrintableName(m_layout.controlName) +
                              "\" has a character the panel cannot show: " + CodePoint(*c));
        CheckUnusedPictures();
        const std::set<const TListItem*> reached = Reached();
        int32_t index = 0;
        for (const TListItem* page : m_pages)
            CheckPage(*page, index++, reached);
        return std::move(m_findings);
    }

private:
    void Add(TCheckFinding finding) { m_findings.push_back(std::move(finding)); }

    void LayoutFinding(ECheckSeverity severity, const char* code, std::string message)
    {
        TCheckFinding f;
        f.severity = severity;
        f.code = code;
        f.message = std::move(message);
        Add(std::move(f));
    }

    void PageFinding(const TListItem& page, int32_t index, ECheckSeverity severity, const char* code,
                     std::string message, const TUserObject* object = nullptr, int32_t objectIndex = -1)
    {
        TCheckFinding f;
        f.severity = severity;
        f.code = code;
        f.pageIndex = index;
        f.pageId = page.id;
        f.pageName = page.name;
        f.objectIndex = objectIndex;
        if (object != nullptr)
        {
            f.x = object->left;
            f.y = object->top;
        }
        f.message = std::move(message);
        Add(std::move(f));
    }

    const TListItem* Find(int32_t id) const
    {
        if (const TListItem* page = m_layout.pages.Find(id))
            return page;
        return m_unsaved != nullptr && m_unsaved->id == id ? m_unsaved : nullptr;
    }

    void CheckSize()
    {
        int64_t size = m_layout.StoredSize();
        if (m_unsaved != nullptr)
        {
            // Its record behind the marker and kind code that precede every
            // page; a new character in its name would add glyphs too, which
            // are left out.
            CDataStore store;
            m_unsaved->Serialize(store);
            size += 8 + store.GetLength();
        }
        if (size > kUploadCapacity)
            LayoutFinding(ECheckSeverity::Error, "too-large",
                          "layout is " + GroupedDigits(size) + " bytes, more than the panel's " +
                              GroupedDigits(kUploadCapacity));
        else if (size + 4 > static_cast<int64_t>(kTemplateFileLimit))
            LayoutFinding(ECheckSeverity::Error, "too-large",
                          "layout is " + GroupedDigits(size) + " bytes, too large for a template file (" +
                              GroupedDigits(static_cast<int64_t>(kTemplateFileLimit)) + " bytes with its header)");
    }

    // The first character the panel would show blank: a control character
    // (the panel's own font holds the printable ASCII ones), a character
    // outside the 16-bit range a glyph record holds, or one above 126 (those
    // the panel draws from the glyph table) that the glyph font lacks.
    std::optional<char32_t> Undrawable(const std::u16string& text)
    {
        for (size_t i = 0; i < text.size(); ++i)
        {
            const char16_t c = text[i];
            if (c < 32)
                return c;
            if (c <= 126)
                continue;
            if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
                return 0x10000 + ((char32_t{c} - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            if (IsHighSurrogate(c) || IsLowSurrogate(c))
                return c;
            if (!m_rasteriser)
                m_rasteriser = std::make_unique<CGlyphRasteriser>(16, 28);
            if (!m_rasteriser->HasCharacter(c))
                return c;
        }
        return std::nullopt;
    }

    bool HasPicture(int32_t id) const { return m_layout.images.FindImage(id) != nullptr; }

    // A face naming a picture the library lacks.
    void CheckFacePicture(const TUserFace& face, const TListItem& page, int32_t index,
                          const std::string& what, const TUserObject* object, int32_t objectIndex)
    {
        if ((face.type != kFaceImage && face.type != kFaceButton) || HasPicture(face.param))
            return;
        // Picture ids start at 1; the face dialog leaves -1 when none was chosen.
        PageFinding(page, index, ECheckSeverity::Error, "missing-picture",
                    face.param <= 0 ? what + " shows no picture (none is chosen)"
                                    : what + " shows picture " + std::to_string(face.param) +
                                          ", which is not in the library",
                    object, objectIndex);
    }

    // Pages reached from the default page (the first when there is none) by
    // following hot spots.
    std::set<const TListItem*> Reached() const
    {
        std::set<const TListItem*> reached;
        const TListItem* start = m_layout.defaultPage != -1 ? Find(m_layout.defaultPage) : nullptr;
        if (start == nullptr && !m_pages.empty())
            start = m_pages.front();
        if (start == nullptr)
            return reached;
        std::deque<const TListItem*> open{start};
        reached.insert(start);
        while (!open.empty())
        {
            const TUserPage* page = PageAs<TUserPage>(*open.front());
            open.pop_front();
            if (page == nullptr)
                continue;
            for (const auto& object : page->objects)
            {
                const TUserHotspot* hotspot = ObjectAs<TUserHotspot>(std::as_const(*object));
                if (hotspot == nullptr || hotspot->targetPage == -1 ||
                    hotspot->targetPage == TUserHotspot::kReturnToPrevious)
                    continue;
                const TListItem* target = Find(hotspot->targetPage);
                if (target != nullptr && reached.insert(target).second)
                    open.push_back(target);
            }
        }
        return reached;
    }

    // Added pictures no face or slider shows: each is stored, and sent to the
    // panel, all the same.
    void CheckUnusedPictures()
    {
        std::unordered_set<int32_t> used;
        const auto face = [&used](const TUserFace& f)
        {
            if (f.type == kFaceImage || f.type == kFaceButton)
                used.insert(f.param);
        };
        const auto pictures = Overloaded{
            [&](const TUserButton& button)
            {
                face(button.upFace);
                face(button.downFace);
            },
            [&](const TUserImage& image) { face(image.face); },
            [&](const TUserLevel& level) { used.insert(level.sliderImageId); },
            [](const TUserHotspot&) {},
            [](const TUserObject&) {},
        };
        for (const TListItem* item : m_pages)
        {
            const TUserPage* page = PageAs<TUserPage>(*item);
            if (page == nullptr)
                continue;
            face(page->face);
            for (const auto& object : page->objects)
                VisitObject(std::as_const(*object), pictures);
        }
        // The library stores from its head; report in the order it is listed.
        std::map<int32_t, TImageEntry*> unused;
        for (const auto& entry : m_layout.images)
        {
            if (entry->IsAdded() && !used.contains(entry->id))
                unused.emplace(entry->id, entry.get());
        }
        for (const auto& [id, entry] : unused)
        {
            CDataStore store;
            entry->Serialize(store);
            // Its record behind the marker that precedes every picture.
            const int64_t bytes = 4 + static_cast<int64_t>(store.GetLength());
            LayoutFinding(ECheckSeverity::Warning, "unused-picture",
                          "picture " + std::to_string(id) + " \"" + PrintableName(entry->name) +
                              "\" is used by nothing and adds " + GroupedDigits(bytes) + " bytes to the layout");
        }
    }

    void CheckPage(const TListItem& item, int32_t index, const std::set<const TListItem*>& reached)
    {
        // Hot spots and the default page name pages by id: only the first of
        // pages sharing one can be reached.
        if (item.id >= 0)
        {
            const int32_t first = m_firstWithId.at(item.id);
            if (first != index)
                PageFinding(item, index, ECheckSeverity::Error, "duplicate-id",
                            "has id " + std::to_string(item.id) + ", as page \"" +
                                PrintableName(m_pages[static_cast<size_t>(first)]->name) + "\" (" +
                                std::to_string(first + 1) +
                                ") has; hot spots and the default page lead only to that one");
        }
        if (const std::optional<char32_t> c = Undrawable(item.name))
            PageFinding(item, index, ECheckSeverity::Error, "undrawable-text",
                        "page name has a character the panel cannot show: " + CodePoint(*c));
        if (!reached.contains(&item))
            PageFinding(item, index, ECheckSeverity::Warning, "unreachable",
                        m_layout.defaultPage != -1 && Find(m_layout.defaultPage) != nullptr
                            ? "no hot spot leads here from the default page"
                            : "no hot spot leads here from the first page");

        const TUserPage* page = PageAs<TUserPage>(item);
        if (page == nullptr)
            return;
        CheckFacePicture(page->face, item, index, "background", nullptr, -1);

        bool wayOut = false;
        int32_t objectIndex = 0;
        for (const auto& held : page->objects)
        {
            const TUserObject& object = *held;
            const int32_t at = objectIndex++;
            CheckOnScreen(object, item, index, at);
            const auto check = Overloaded{
                [&](const TUserButton& button)
                {
                    CheckFacePicture(button.upFace, item, index, Where(object) + " (up face)", &object, at);
                    CheckFacePicture(button.downFace, item, index, Where(object) + " (down face)", &object,
                                     at);
                    if (button.downFace.type == kFaceBlank)
                        PageFinding(item, index, ECheckSeverity::Warning, "blank-down-face",
                                    Where(object) + " has a blank down face and never looks pressed", &object,
                                    at);
                },
                [&](const TUserImage& image)
                { CheckFacePicture(image.face, item, index, Where(object), &object, at); },
                [&](const TUserLevel& level)
                {
                    if (!HasPicture(level.sliderImageId))
                        PageFinding(item, index, ECheckSeverity::Error, "missing-picture",
                                    Where(object) + " uses picture " + std::to_string(level.sliderImageId) +
                                        ", which is not in the library",
                                    &object, at);
                    if (level.controlId == -1)
                        PageFinding(item, index, ECheckSeverity::Warning, "no-control",
                                    Where(object) + " controls nothing (no control id)", &object, at);
                    else if (AudioControlName(level.controlId) == nullptr)
                        PageFinding(item, index, ECheckSeverity::Warning, "no-control",
                                    Where(object) + " has control id " + std::to_string(level.controlId) +
                                        ", which names no control",
                                    &object, at);
                },
                [&](const TUserHotspot& hotspot)
                {
                    const int32_t target = hotspot.targetPage;
                    if (target == -1)
                        PageFinding(item, index, ECheckSeverity::Warning, "no-target",
                                    Where(object) + " leads nowhere", &object, at);
                    else if (target == TUserHotspot::kReturnToPrevious)
                        wayOut = true;
                    else if (Find(target) == nullptr)
                        PageFinding(item, index, ECheckSeverity::Error, "missing-target",
                                    Where(object) + " leads to page " + std::to_string(target) +
                                        ", which does not exist",
                                    &object, at);
                    else if (target != item.id)
                        wayOut = true;
                },
                [](const TUserObject&) {},
            };
            VisitObject(object, check);
        }
        if (!wayOut && m_pages.size() > 1)
            PageFinding(item, index, ECheckSeverity::Warning, "no-way-out",
                        "no hot spot leads to another page or back (\"Return to Previous\")");
        CheckSelectors(*page, index);
    }

    void CheckOnScreen(const TUserObject& object, const TListItem& page, int32_t index, int32_t at)
    {
        if (object.width <= 0 || object.height <= 0)
            return;
        const int64_t left = object.left, top = object.top;
        const int64_t right = left + object.width, bottom = top + object.height;
        if (left >= kScreenWidth || top >= kScreenHeight || right <= 0 || bottom <= 0)
            PageFinding(page, index, ECheckSeverity::Warning, "off-screen",
                        Where(object) + " lies wholly off the 320 x 240 screen", &object, at);
        else if (left < 0 || top < 0 || right > kScreenWidth || bottom > kScreenHeight)
            PageFinding(page, index, ECheckSeverity::Warning, "off-screen",
                        Where(object) + " (" + std::to_string(object.width) + " x " +
                            std::to_string(object.height) + ") lies partly off the 320 x 240 screen",
                        &object, at);
    }

    // Selection buttons of one group (one selector id) that send the same
    // down event: the panel cannot tell which was pressed. Buttons of a group
    // differ in their events by design (one source each). Each button is
    // reported against the first of its group with that event.
    void CheckSelectors(const TUserPage& page, int32_t index)
    {
        std::map<std::pair<int32_t, std::string_view>, const TUserButton*> first;
        for (size_t i = 0; i < page.objects.size(); ++i)
        {
            const TUserButton* b = ObjectAs<TUserButton>(std::as_const(*page.objects[i]));
            if (b == nullptr || b->selectorId < 0)
                continue;
            const auto* text = reinterpret_cast<const char*>(b->downText.data());
            const std::string_view event(text, ::strnlen(text, b->downText.size()));
            if (event.empty())
                continue; // sends nothing
            const auto [at, isFirst] = first.try_emplace({b->selectorId, event}, b);
            if (isFirst)
                continue;
            const TUserButton* a = at->second;
            PageFinding(page, index, ECheckSeverity::Warning, "selector-same-event",
                        "selection buttons at " + std::to_string(a->left) + "," + std::to_string(a->top) +
                            " and " + std::to_string(b->left) + "," + std::to_string(b->top) +
                            " of selector id " + std::to_string(b->selectorId) + " both send \"" +
                            PrintableName(TextFieldToWide(b->downText)) + "\"; the panel cannot tell them apart",
                        b, static_cast<int32_t>(i));
        }
    }

    TLayout& m_layout;
    std::vector<const TListItem*> m_pages; // the page list, and the unsaved page at its end
    std::unordered_map<int32_t, int32_t> m_firstWithId; // place of the first page with each id
    TListItem* m_unsaved = nullptr;
    std::unique_ptr<CGlyphRasteriser> m_rasteriser;
    std::vector<TCheckFinding> m_findings;
};

} // namespace

std::vector<TCheckFinding> CheckLayout(TLayout& layout, TListItem* unsaved)
{
    return CChecker(layout, unsaved).Run();
}

std::string DescribeFinding(const TCheckFinding& finding)
{
    if (finding.pageIndex < 0)
        return finding.message;
    return "page \"" + PrintableName(finding.pageName) + "\": " + finding.message;
}

bool HasErrors(const std::vector<TCheckFinding>& findings)
{
    return std::any_of(findings.begin(), findings.end(),
                       [](const TCheckFinding& f) { return f.severity == ECheckSeverity::Error; });
}
