#pragma once

#include "PageDraw.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CBtn8Ctrl;
class TLayout;
class TListItem;
class TUserObject;
class TUserPage;

// Something the panel raises while it is touched.
struct TPanelEvent
{
    enum class EKind
    {
        Down,  // a button's down event text
        Up,    // a button's up event text
        Press, // an eight-button page's event text
        Level, // a slider moved: its control's name and level
        Page,  // another page is shown: its name
    };

    EKind kind = EKind::Down;
    std::u16string text; // the event text, the control's name (empty for none) or the page's name
    int32_t level = 0;   // 0 to 100, for Level

    bool operator==(const TPanelEvent&) const = default;
};

// The panel's answer to a finger on its screen, without the screen: which
// page it shows, how each object of it looks and what it raises. Positions
// are panel pixels. The layout is read, never changed, and must outlive the
// session.
//
// A button shows its down face while held; a toggle stays down until it is
// pressed again; a button with a selector id of 0 or more stays down and
// releases the other buttons of its page with that id (those come up and
// raise their up texts). A hot spot shows its target page, "Return to
// Previous" the pages shown before it in turn; a target that names no page
// does nothing. A slider's knob follows the finger along its track. Empty
// event texts raise nothing. Each page keeps how its buttons and sliders
// were left until it is shown again.
class CPanelSession
{
public:
    // Starts on `start` when given (a page of the layout, or one being
    // designed that is not in its list yet, which hot spots can then lead
    // back to), otherwise on the default page, or the first without one.
    explicit CPanelSession(const TLayout& layout, const TListItem* start = nullptr);

    // The page shown: null only for a layout without pages.
    const TListItem* Page() const { return m_page; }
    const TUserPage* UserPage() const;
    const CBtn8Ctrl* EightButtonPage() const;
    // Shows a page as though the panel had started on it: the pages shown
    // before are forgotten, and nothing is raised.
    void ShowPage(const TListItem* page);
    // The page a hot spot target names, or null.
    const TListItem* FindPage(int32_t id) const;

    void Press(int32_t x, int32_t y);
    void Move(int32_t x, int32_t y);
    void Release();

    // How the objects of the page shown look now.
    const TPageLook& Look() const;
    // The eight-button page's button held down, or -1.
    int PressedEightButton() const { return m_pressedEight; }
    // The level a slider of the page shown stands at.
    int32_t LevelOf(const TUserObject& slider) const;

    // What was raised since the last call, oldest first.
    std::vector<TPanelEvent> TakeEvents();

private:
    TPageLook& LookOf(const TListItem* page);
    int TouchedObject(int32_t x, int32_t y) const;
    void SetDown(size_t index, bool down);
    void PressButton(size_t index);
    void FollowSlider(int32_t x, int32_t y);
    void FollowHotspot(int32_t target);
    void Raise(TPanelEvent::EKind kind, std::u16string text, int32_t level = 0);

    const TLayout& m_layout;
    const TListItem* m_extra; // the start page when it is not in the list
    const TListItem* m_page = nullptr;
    std::vector<const TListItem*> m_history;
    std::map<const TListItem*, TPageLook> m_looks;
    int m_held = -1;     // an ordinary button held down
    int m_dragging = -1; // a slider being dragged
    int m_pressedEight = -1;
    std::vector<TPanelEvent> m_events;
};
