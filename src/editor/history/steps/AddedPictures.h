#pragma once

#include "ImageEntry.h"
#include "LayoutCommand.h"

#include <cstddef>
#include <memory>
#include <vector>

class CLayoutHistory;
class TImageEntry;
class TLayout;

// Pictures a step put into the image library. Taking them back removes only
// those that nothing names any more: no face, slider or page of the document,
// nor a page open in a dialog, may lose its picture by an undo.
class CAddedPictures
{
public:
    // history knows the pages open in dialogs.
    CAddedPictures(TLayout& layout, const CLayoutHistory& history, std::vector<TImageEntry*> entries);

    void TakeBack();
    // Those taken back go back where they were.
    void PutBack();
    const std::vector<TImageEntry*>& Entries() const { return m_entries; }

private:
    struct THeld
    {
        size_t index;
        std::unique_ptr<TImageEntry> entry;
    };

    TLayout& m_layout;
    const CLayoutHistory& m_history;
    std::vector<TImageEntry*> m_entries;
    std::vector<THeld> m_taken; // in the order they were taken
};

// "Add Image": pictures already added to the library, recorded as one step.
class CAddPicturesCommand : public CLayoutCommand
{
public:
    CAddPicturesCommand(TLayout& layout, const CLayoutHistory& history, std::vector<TImageEntry*> entries,
                        const QString& text);

    std::unique_ptr<CLayoutCommand> KeptPictures() const override;

protected:
    void Do() override;
    void Undo() override;

private:
    CAddedPictures m_pictures;
    TLayout& m_layout;
    const CLayoutHistory& m_history;
};

// "Remove Picture": an entry leaves the image library; undone, it goes back
// to its place, so that the library is stored as it was.
class CRemovePictureCommand : public CLayoutCommand
{
public:
    CRemovePictureCommand(TLayout& layout, TImageEntry& entry);

protected:
    void Do() override;
    void Undo() override;

private:
    TLayout& m_layout;
    TImageEntry* m_entry;
    size_t m_index = 0;
    std::unique_ptr<TImageEntry> m_held;
};
