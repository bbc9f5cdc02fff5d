#pragma once

#include "Btn8Ctrl.h"
#include "Layout.h"
#include "PanelSettings.h"
#include "UserFace.h"
#include "UserObject.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CLayoutHistory;
class TImageEntry;
class TListItem;
class TUserPage;

// The one way the editor changes a layout. Every window (the page canvas,
// the programming and user page dialogs, the main window, Add Image) makes
// its changes here, and each becomes one step of the layout's history. A
// change that changes nothing makes no step. Objects are named by their place
// in their page's drawing order.
class CLayoutEdits
{
public:
    using TEventTexts = std::array<TTextField, TLayout::kEvents>;
    using TEightTexts = std::array<TTextField, CBtn8Ctrl::kButtons>;

    explicit CLayoutEdits(CLayoutHistory& history);

    // Objects of a page.

    // Puts a new object on top of the page; returns its index.
    size_t Add(TUserPage& page, std::unique_ptr<TUserObject> object);
    void Delete(TUserPage& page, size_t index);
    // A move or resize as it happens (each mouse move of a drag): shown at
    // once, the step being made only by EndMoveResize.
    void MoveResize(TUserPage& page, size_t index, const TObjectRect& rect);
    // A drag that started with the object at `before` has ended.
    void EndMoveResize(TUserPage& page, size_t index, const TObjectRect& before, bool resized);
    // A move by a key press: the object takes the rectangle at once.
    void Nudge(TUserPage& page, size_t index, const TObjectRect& rect);
    // The object at `from` goes to `to` in drawing order (0 is the bottom).
    void Restack(TUserPage& page, size_t from, size_t to);
    // New properties: the object at index is replaced by `changed`.
    void Replace(TUserPage& page, size_t index, std::unique_ptr<TUserObject> changed);
    // The page's face takes type, param and colours from `face`.
    void SetBackground(TUserPage& page, const TUserFace& face);

    // Pages.

    // Puts the page into the list at `at`; returns it. The step is "Add
    // Page", or "Duplicate Page" for a copy of a page of the list.
    enum class EPageOrigin
    {
        New,
        Copy,
    };
    TListItem* AddPage(size_t at, std::unique_ptr<TListItem> page, EPageOrigin origin = EPageOrigin::New);
    void RemovePage(TListItem& page);
    void MovePage(TListItem& page, bool up);
    // The default page becomes `defaultPage` (-1: none).
    void SetDefaultPage(TListItem& page, int32_t defaultPage);
    void RenamePage(TListItem& page, const std::u16string& name);
    // The page's content trades places with `incoming`, read from a user
    // page file named `fileName`, which put `added` into the image library.
    void ImportPage(TUserPage& page, std::unique_ptr<TUserPage> incoming, std::vector<TImageEntry*> added,
                    const QString& fileName);
    // The eight-button dialog wrote the page's names and texts itself; these
    // are what it replaced.
    void EightButtonWritten(CBtn8Ctrl& page, const TEightTexts& namesBefore, const TEightTexts& textsBefore);
    // Every page and picture leaves; the built-in pictures come in again.
    void ClearAll();

    // The layout as a whole.

    void SetSettings(const TPanelSettings& settings);
    // The events dialog wrote the events itself; these are what it replaced.
    void EventsWritten(const TEventTexts& descriptionsBefore, const TEventTexts& textsBefore);
    // Pictures just put into the image library, under the step's name.
    void PicturesAdded(std::vector<TImageEntry*> entries, const QString& name);
    // A picture of the library takes a new name.
    void RenamePicture(TImageEntry& entry, const std::u16string& name);
    // A picture leaves the library; the caller has made sure nothing shows it.
    void RemovePicture(TImageEntry& entry);

    // The changes made while a group lives become one step named `text` (a
    // group of one change is that change's own step). Groups opened inside
    // one join it.
    class CGroup
    {
    public:
        CGroup(CLayoutEdits& edits, const QString& text);
        ~CGroup();
        CGroup(const CGroup&) = delete;
        CGroup& operator=(const CGroup&) = delete;

    private:
        CLayoutHistory& m_history;
    };

private:
    CLayoutHistory& m_history;
};

// What a face dialog gives back: type, param and the two colours; the
// import mark stays that of the face written to.
void CopyFaceLook(const TUserFace& from, TUserFace& to);
