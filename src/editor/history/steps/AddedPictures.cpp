#include "AddedPictures.h"

#include "ImageEntry.h"
#include "Layout.h"
#include "LayoutHistory.h"

#include <QCoreApplication>

CAddedPictures::CAddedPictures(TLayout& layout, const CLayoutHistory& history,
                               std::vector<TImageEntry*> entries)
    : m_layout(layout), m_history(history), m_entries(std::move(entries))
{
}

void CAddedPictures::TakeBack()
{
    for (TImageEntry* entry : m_entries)
    {
        const int index = m_layout.images.IndexOf(entry);
        if (index < 0 || PictureInUse(m_layout, m_history, entry->id))
            continue;
        m_taken.push_back({static_cast<size_t>(index), m_layout.images.TakeAt(static_cast<size_t>(index))});
    }
}

void CAddedPictures::PutBack()
{
    // In reverse, each at the place it was taken from, so that every entry
    // ends up exactly where it was.
    for (auto held = m_taken.rbegin(); held != m_taken.rend(); ++held)
        m_layout.images.InsertAt(held->index, std::move(held->entry));
    m_taken.clear();
}

CAddPicturesCommand::CAddPicturesCommand(TLayout& layout, const CLayoutHistory& history,
                                         std::vector<TImageEntry*> entries, const QString& text)
    : CLayoutCommand(text, true), m_pictures(layout, history, std::move(entries)), m_layout(layout),
      m_history(history)
{
}

std::unique_ptr<CLayoutCommand> CAddPicturesCommand::KeptPictures() const
{
    return std::make_unique<CAddPicturesCommand>(m_layout, m_history, m_pictures.Entries(), text());
}

void CAddPicturesCommand::Do()
{
    m_pictures.PutBack();
}

void CAddPicturesCommand::Undo()
{
    m_pictures.TakeBack();
}

CRemovePictureCommand::CRemovePictureCommand(TLayout& layout, TImageEntry& entry)
    : CLayoutCommand(QCoreApplication::translate("CLayoutHistory", "Remove Picture")), m_layout(layout),
      m_entry(&entry)
{
}

void CRemovePictureCommand::Do()
{
    const int index = m_layout.images.IndexOf(m_entry);
    if (index < 0)
        return;
    m_index = static_cast<size_t>(index);
    m_held = m_layout.images.TakeAt(m_index);
}

void CRemovePictureCommand::Undo()
{
    if (m_held)
        m_layout.images.InsertAt(m_index, std::move(m_held));
}
