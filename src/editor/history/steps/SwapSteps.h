#pragma once

#include "Btn8Ctrl.h"
#include "ImageEntry.h"
#include "Layout.h"
#include "LayoutCommand.h"
#include "LayoutEdits.h"
#include "PanelSettings.h"
#include "UserFace.h"
#include "UserPage.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>

// A step that trades a value with the place holding it. Made with the value
// the place is to take (or, made done, the value it held before), it holds
// the other one: doing and undoing are the same trade. The place says what it
// holds, how to trade it, and what the trade touched:
//
//   struct TPlace
//   {
//       using TValue = ...;
//       void Trade(TValue& other);
//       TStepScope Scope() const;
//       bool IsAbout(const TListItem& page) const;
//   };
template <typename TPlace> class CSwapStep : public CLayoutCommand
{
public:
    using TValue = typename TPlace::TValue;

    CSwapStep(const QString& text, TPlace place, TValue other, bool done = false)
        : CLayoutCommand(text, done), m_place(std::move(place)), m_other(std::move(other))
    {
    }

    TStepScope Scope() const override { return m_place.Scope(); }
    bool IsAbout(const TListItem& page) const override { return m_place.IsAbout(page); }

protected:
    void Do() override { m_place.Trade(m_other); }
    void Undo() override { m_place.Trade(m_other); }

private:
    TPlace m_place;
    TValue m_other;
};

// The places of the layout's swap steps.

// Settings: what OK in the programming dialog stores.
struct TSettingsPlace
{
    using TValue = TPanelSettings;

    void Trade(TValue& other) const
    {
        TPanelSettings now = TPanelSettings::Of(layout);
        other.ApplyTo(layout);
        other = std::move(now);
    }
    TStepScope Scope() const
    {
        TStepScope scope;
        scope.settings = true;
        return scope;
    }
    bool IsAbout(const TListItem&) const { return false; }

    TLayout& layout;
};

// The user events' descriptions and texts, as the events dialog writes them.
struct TEventsPlace
{
    using TFields = std::array<TTextField, TLayout::kEvents>;
    using TValue = std::pair<TFields, TFields>;

    void Trade(TValue& other) const
    {
        std::swap(layout.eventDescriptions, other.first);
        std::swap(layout.eventTexts, other.second);
    }
    TStepScope Scope() const { return {}; }
    bool IsAbout(const TListItem&) const { return false; }

    TLayout& layout;
};

// Something of one page: a step on it selects the page afterwards.
struct TPagePlace
{
    explicit TPagePlace(TListItem& held) : page(&held) {}

    TStepScope Scope() const
    {
        TStepScope scope;
        scope.page = page;
        return scope;
    }
    bool IsAbout(const TListItem& other) const { return &other == page; }

    TListItem* page;
};

// An eight-button page's names and event texts, as its dialog writes them.
struct TEightButtonPlace : TPagePlace
{
    using TTexts = std::array<TTextField, CBtn8Ctrl::kButtons>;
    using TValue = std::pair<TTexts, TTexts>;

    explicit TEightButtonPlace(CBtn8Ctrl& held) : TPagePlace(held), eight(held) {}

    void Trade(TValue& other) const
    {
        std::swap(eight.names, other.first);
        std::swap(eight.texts, other.second);
    }

    CBtn8Ctrl& eight;
};

// A user page's background: the face's type, param and colours; the import
// mark stays the page's.
struct TBackgroundPlace : TPagePlace
{
    using TValue = TUserFace;

    explicit TBackgroundPlace(TUserPage& held) : TPagePlace(held), user(held) {}

    void Trade(TValue& other) const
    {
        const TUserFace now = user.face;
        CopyFaceLook(other, user.face);
        other = now;
    }

    TUserPage& user;
};

// An object of a page, traded whole for its changed copy (new properties);
// the object is selected afterwards.
struct TObjectPlace : TPagePlace
{
    using TValue = std::unique_ptr<TUserObject>;

    TObjectPlace(TUserPage& held, size_t at) : TPagePlace(held), user(held), index(at) {}

    void Trade(TValue& other) const
    {
        if (other != nullptr && index < user.objects.size())
            other = user.ReplaceObject(index, std::move(other));
    }
    TStepScope Scope() const
    {
        TStepScope scope = TPagePlace::Scope();
        scope.select = static_cast<int>(index);
        return scope;
    }

    TUserPage& user;
    size_t index;
};

// The name Save stores.
struct TPageNamePlace : TPagePlace
{
    using TValue = std::u16string;

    explicit TPageNamePlace(TListItem& held) : TPagePlace(held) {}

    void Trade(TValue& other) const { std::swap(page->name, other); }
    TStepScope Scope() const
    {
        TStepScope scope = TPagePlace::Scope();
        scope.renamed = true;
        return scope;
    }
};

// The layout's default page id; the page set or cleared is selected
// afterwards. Not a change of that page's content.
struct TDefaultPagePlace
{
    using TValue = int32_t;

    void Trade(TValue& other) const { std::swap(layout.defaultPage, other); }
    TStepScope Scope() const
    {
        TStepScope scope;
        scope.page = page;
        return scope;
    }
    bool IsAbout(const TListItem&) const { return false; }

    TLayout& layout;
    const TListItem* page;
};

// A picture's name in the image library.
struct TPictureNamePlace
{
    using TValue = std::u16string;

    void Trade(TValue& other) const { std::swap(entry.name, other); }
    TStepScope Scope() const { return {}; }
    bool IsAbout(const TListItem&) const { return false; }

    TImageEntry& entry;
};
