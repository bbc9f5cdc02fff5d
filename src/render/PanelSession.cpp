#include "PanelSession.h"

#include "AudioControls.h"
#include "Btn8Ctrl.h"
#include "EightButtonLook.h"
#include "Layout.h"
#include "ObjectVisitor.h"
#include "PageVisitor.h"
#include "SliderKnob.h"
#include "TextField.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <utility>

namespace
{

// How many pages "Return to Previous" can go back through; a longer road
// forgets its oldest pages.
constexpr size_t kHistoryDepth = 1000;

bool Touchable(const TUserObject& object)
{
    const auto touchable = Overloaded{
        [](const TUserButton&) { return true; },
        [](const TUserLevel&) { return true; },
        [](const TUserHotspot&) { return true; },
        [](const TUserImage&) { return false; },
        [](const TUserObject&) { return false; },
    };
    return VisitObject(object, touchable);
}

std::u16string ControlNameOf(const TUserLevel& slider)
{
    const char16_t* name = AudioControlName(slider.controlId);
    return name != nullptr ? std::u16string(name) : std::u16string();
}

} // namespace

CPanelSession::CPanelSession(const TLayout& layout, const TListItem* start)
    : m_layout(layout), m_extra(start != nullptr && layout.pages.IndexOf(start) < 0 ? start : nullptr)
{
    if (start == nullptr && layout.defaultPage != -1)
        start = layout.pages.Find(layout.defaultPage);
    if (start == nullptr)
        start = layout.pages.Head();
    ShowPage(start);
}

const TUserPage* CPanelSession::UserPage() const
{
    return m_page != nullptr && m_page->type == kPageUser ? PageAs<TUserPage>(*m_page) : nullptr;
}

const CBtn8Ctrl* CPanelSession::EightButtonPage() const
{
    return m_page != nullptr && m_page->type == kPageEightButton ? PageAs<CBtn8Ctrl>(*m_page) : nullptr;
}

const TListItem* CPanelSession::FindPage(int32_t id) const
{
    if (const TListItem* page = m_layout.pages.Find(id))
        return page;
    return m_extra != nullptr && m_extra->id == id ? m_extra : nullptr;
}

void CPanelSession::ShowPage(const TListItem* page)
{
    Release();
    m_history.clear();
    m_page = page;
    LookOf(page);
}

TPageLook& CPanelSession::LookOf(const TListItem* page)
{
    TPageLook& look = m_looks[page];
    if (const TUserPage* user = page != nullptr ? PageAs<TUserPage>(*page) : nullptr)
        look.resize(user->objects.size());
    return look;
}

const TPageLook& CPanelSession::Look() const
{
    static const TPageLook none;
    const auto it = m_looks.find(m_page);
    return it != m_looks.end() ? it->second : none;
}

int32_t CPanelSession::LevelOf(const TUserObject& slider) const
{
    const TUserPage* page = UserPage();
    const int index = page != nullptr ? page->IndexOfObject(&slider) : -1;
    const TPageLook& look = Look();
    const int64_t knob = index >= 0 && static_cast<size_t>(index) < look.size() && look[index].knob
                             ? *look[index].knob
                             : SliderKnobRest(slider.width, slider.height);
    return SliderLevel(slider.width, slider.height, knob);
}

std::vector<TPanelEvent> CPanelSession::TakeEvents()
{
    return std::exchange(m_events, {});
}

void CPanelSession::Raise(TPanelEvent::EKind kind, std::u16string text, int32_t level)
{
    const bool named = kind == TPanelEvent::EKind::Level || kind == TPanelEvent::EKind::Page;
    if (!named && text.empty())
        return;
    m_events.push_back({kind, std::move(text), level});
}

int CPanelSession::TouchedObject(int32_t x, int32_t y) const
{
    const TUserPage* page = UserPage();
    if (page == nullptr)
        return -1;
    // Pictures are decoration: a finger on one reaches what lies under it.
    for (size_t i = page->objects.size(); i-- > 0;)
    {
        const TUserObject& object = *page->objects[i];
        if (Touchable(object) && object.Contains(x, y))
            return static_cast<int>(i);
    }
    return -1;
}

void CPanelSession::Press(int32_t x, int32_t y)
{
    Release();
    if (const CBtn8Ctrl* eight = EightButtonPage())
    {
        m_pressedEight = EightButtonAt(x, y);
        if (m_pressedEight >= 0)
            Raise(TPanelEvent::EKind::Press,
                  TextFieldToWide(eight->texts[static_cast<size_t>(m_pressedEight)]));
        return;
    }
    const int index = TouchedObject(x, y);
    if (index < 0)
        return;
    const TUserObject& object = *UserPage()->objects[static_cast<size_t>(index)];
    const auto press = Overloaded{
        [&](const TUserButton&) { PressButton(static_cast<size_t>(index)); },
        [&](const TUserLevel&)
        {
            m_dragging = index;
            FollowSlider(x, y);
        },
        [&](const TUserHotspot& hotspot) { FollowHotspot(hotspot.targetPage); },
        [](const TUserImage&) {},
        [](const TUserObject&) {},
    };
    VisitObject(object, press);
}

void CPanelSession::SetDown(size_t index, bool down)
{
    const auto& button = static_cast<const TUserButton&>(*UserPage()->objects[index]);
    LookOf(m_page)[index].down = down;
    if (down)
        Raise(TPanelEvent::EKind::Down, TextFieldToWide(button.downText));
    else
        Raise(TPanelEvent::EKind::Up, TextFieldToWide(button.upText));
}

void CPanelSession::PressButton(size_t index)
{
    const TUserPage& page = *UserPage();
    const auto& button = static_cast<const TUserButton&>(*page.objects[index]);
    const bool down = LookOf(m_page)[index].down;
    if (button.selectorId >= 0)
    {
        if (down)
            return;
        SetDown(index, true);
        for (size_t i = 0; i < page.objects.size(); ++i)
        {
            const TUserButton* other = ObjectAs<TUserButton>(std::as_const(*page.objects[i]));
            if (i != index && other != nullptr && other->selectorId == button.selectorId &&
                LookOf(m_page)[i].down)
                SetDown(i, false);
        }
    }
    else if (button.toggle)
    {
        SetDown(index, !down);
    }
    else
    {
        SetDown(index, true);
        m_held = static_cast<int>(index);
    }
}

void CPanelSession::FollowSlider(int32_t x, int32_t y)
{
    const TUserLevel* slider =
        ObjectAs<TUserLevel>(std::as_const(*UserPage()->objects[static_cast<size_t>(m_dragging)]));
    if (slider == nullptr)
        return;
    const int32_t before = LevelOf(*slider);
    const int64_t along = IsHorizontalSlider(slider->width, slider->height) ? int64_t{x} - slider->left
                                                                            : int64_t{y} - slider->top;
    LookOf(m_page)[static_cast<size_t>(m_dragging)].knob =
        SliderKnobUnder(slider->width, slider->height, along);
    const int32_t after = LevelOf(*slider);
    if (after != before)
        Raise(TPanelEvent::EKind::Level, ControlNameOf(*slider), after);
}

void CPanelSession::FollowHotspot(int32_t target)
{
    const TListItem* to = nullptr;
    if (target == TUserHotspot::kReturnToPrevious)
    {
        if (m_history.empty())
            return;
        to = m_history.back();
        m_history.pop_back();
    }
    else
    {
        to = target != -1 ? FindPage(target) : nullptr;
        if (to == nullptr || to == m_page)
            return;
        if (m_history.size() == kHistoryDepth)
            m_history.erase(m_history.begin());
        m_history.push_back(m_page);
    }
    m_page = to;
    LookOf(to);
    Raise(TPanelEvent::EKind::Page, to->name);
}

void CPanelSession::Move(int32_t x, int32_t y)
{
    if (m_dragging >= 0 && UserPage() != nullptr)
        FollowSlider(x, y);
}

void CPanelSession::Release()
{
    if (m_held >= 0 && UserPage() != nullptr)
        SetDown(static_cast<size_t>(m_held), false);
    m_held = -1;
    m_dragging = -1;
    m_pressedEight = -1;
}
