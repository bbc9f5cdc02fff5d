#pragma once

#include "AddedPictures.h"
#include "Btn8Ctrl.h"
#include "LayoutCommand.h"
#include "UserFace.h"
#include "UserObject.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TUserPage;

// Steps on one page. Objects are named by their place in the page's drawing
// order: a step is undone only when everything after it has been, so the
// page then holds exactly what it held when the step was done.

// A step on one object of a page; after an undo or a redo that object is
// selected (or nothing, when the step took it away).
class CObjectCommand : public CLayoutCommand
{
public:
    TStepScope Scope() const override;
    bool IsAbout(const TListItem& page) const override;

protected:
    CObjectCommand(const QString& text, TUserPage& page, size_t index, bool done = false);
    // The object to select now, or -1.
    virtual int Shown() const { return static_cast<int>(m_index); }

    TUserPage& m_page;
    size_t m_index;
};

// A new object at a place in drawing order ("Add Button").
class CAddObjectCommand : public CObjectCommand
{
public:
    CAddObjectCommand(TUserPage& page, size_t index, std::unique_ptr<TUserObject> object);

protected:
    void Do() override;
    void Undo() override;
    int Shown() const override;

private:
    std::unique_ptr<TUserObject> m_object; // while undone
};

class CDeleteObjectCommand : public CObjectCommand
{
public:
    CDeleteObjectCommand(TUserPage& page, size_t index);

protected:
    void Do() override;
    void Undo() override;
    int Shown() const override;

private:
    std::unique_ptr<TUserObject> m_object; // while done
};

// A move or a resize: the object's rectangle before and after. A drag is
// recorded done, as it was shown while it happened; a key press is done by
// the step, and a run of them on one object makes one step.
class CMoveObjectCommand : public CObjectCommand
{
public:
    enum class EKind
    {
        Drag,
        Key,
    };
    CMoveObjectCommand(TUserPage& page, size_t index, const TObjectRect& before, const TObjectRect& after,
                       bool resized, EKind kind);

    // Whether the next step continues this one's run of key presses on its object.
    bool Continues(const CLayoutCommand& next) const;

protected:
    void Do() override;
    void Undo() override;
    bool Absorb(const CLayoutCommand& next) override;

private:
    TObjectRect m_before;
    TObjectRect m_after;
    EKind m_kind;
};

// Push (to the back) or Pull (to the front).
class CRestackCommand : public CObjectCommand
{
public:
    CRestackCommand(TUserPage& page, size_t from, size_t to);

protected:
    void Do() override;
    void Undo() override;
    int Shown() const override;

private:
    size_t m_to;
};




// "Import Lobby.qup": the page's name, id, face and objects traded for those
// the file brought, and the pictures the import added to the library.
class CImportPageCommand : public CLayoutCommand
{
public:
    // incoming holds what the file brought; entries are the pictures the
    // import linked into the library.
    CImportPageCommand(TLayout& layout, const CLayoutHistory& history, TUserPage& page,
                       std::unique_ptr<TUserPage> incoming, std::vector<TImageEntry*> entries,
                       const QString& fileName);

    TStepScope Scope() const override;
    bool IsAbout(const TListItem& page) const override;
    std::unique_ptr<CLayoutCommand> KeptPictures() const override;

protected:
    void Do() override;
    void Undo() override;

private:
    TLayout& m_layout;
    const CLayoutHistory& m_history;
    TUserPage& m_page;
    std::unique_ptr<TUserPage> m_other;
    CAddedPictures m_pictures;
};

