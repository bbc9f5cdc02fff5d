#pragma once

#include "UserFace.h"
#include "UserObject.h"

#include <cstddef>
#include <memory>

class TUserPage;

// The changes the page canvas makes to a page. Every change the canvas makes
// goes through one of these, naming the object by its place in the page's
// drawing order, so that a subclass can record each as a step that can be
// taken back and done again. This class applies them as they are.
class CPageEdits
{
public:
    virtual ~CPageEdits() = default;

    // Puts a new object on top of the page; returns its index.
    virtual size_t Add(TUserPage& page, std::unique_ptr<TUserObject> object);
    virtual void Delete(TUserPage& page, size_t index);
    // A move or resize as it happens (each mouse move of a drag): applied at
    // once, the step being made only by EndMoveResize.
    virtual void MoveResize(TUserPage& page, size_t index, const TObjectRect& rect);
    // A drag that started with the object at `before` has ended.
    virtual void EndMoveResize(TUserPage& page, size_t index, const TObjectRect& before, bool resized);
    // A move by a key press: the object takes the rectangle at once.
    virtual void Nudge(TUserPage& page, size_t index, const TObjectRect& rect);
    // The object at `from` goes to `to` in drawing order (0 is the bottom).
    virtual void Restack(TUserPage& page, size_t from, size_t to);
    // New properties: the object at index is replaced by `changed`.
    virtual void Replace(TUserPage& page, size_t index, std::unique_ptr<TUserObject> changed);
    // The page's face takes type, param and colours from `face`.
    virtual void SetBackground(TUserPage& page, const TUserFace& face);

    // The edits that apply changes as they are, for a canvas given none.
    static CPageEdits& Direct();
};

// What a face dialog gives back: type, param and the two colours; the
// import mark stays that of the face written to.
void CopyFaceLook(const TUserFace& from, TUserFace& to);
