#include "ImageLibrary.h"

#include "OwnedList.h"

#include "BuiltinLibrary.h"
#include "ImageBuffer.h"

#include <algorithm>
#include <cstdint>

TImageEntry* TImageLibrary::FindImage(int32_t id) const
{
    for (const auto& entry : m_entries)
    {
        if (entry->id == id)
        {
            return entry.get();
        }
    }
    return nullptr;
}

int32_t TImageLibrary::NextImageId() const
{
    int32_t next = kFirstAddedId;
    for (const auto& entry : m_entries)
    {
        if (entry->id >= next && entry->id < INT32_MAX)
        {
            next = entry->id + 1;
        }
    }
    return next;
}

TImageEntry* TImageLibrary::InsertHead(std::unique_ptr<TImageEntry> entry)
{
    TImageEntry* raw = entry.get();
    if (raw != nullptr)
    {
        m_entries.insert(m_entries.begin(), std::move(entry));
    }
    return raw;
}

TImageEntry* TImageLibrary::AddImage(std::u16string name, std::unique_ptr<CImageBuffer> image)
{
    auto entry = std::make_unique<TImageEntry>();
    entry->id = NextImageId();
    entry->name = std::move(name);
    entry->image = std::move(image);
    entry->guid = NewGuid();
    return InsertHead(std::move(entry));
}

void TImageLibrary::AddBuiltinImages(const TBuiltinLibrary& library)
{
    for (const TLibraryImage& picture : library.images)
    {
        auto entry = std::make_unique<TImageEntry>();
        entry->id = picture.id;
        entry->image = picture.image;
        if (const char16_t* name = BuiltinImageName(picture.id))
        {
            entry->name = std::u16string(kBuiltinPrefix) + name;
        }
        InsertHead(std::move(entry));
    }
}

bool TImageLibrary::DeleteImage(TImageEntry* entry)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const auto& held) { return held.get() == entry; });
    if (found == m_entries.end())
    {
        return false;
    }
    m_entries.erase(found);
    return true;
}

int TImageLibrary::IndexOf(const TImageEntry* entry) const
{
    const auto found =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& held) { return held.get() == entry; });
    return found == m_entries.end() ? -1 : static_cast<int>(found - m_entries.begin());
}

TImageEntry* TImageLibrary::InsertAt(size_t index, std::unique_ptr<TImageEntry> entry)
{
    if (entry == nullptr)
        return nullptr;
    // Already owned by the list: give up this second handle, don't free it.
    if (IndexOf(entry.get()) >= 0)
    {
        static_cast<void>(entry.release());
        return nullptr;
    }
    return OwnedList::InsertAt(m_entries, index, std::move(entry));
}

std::unique_ptr<TImageEntry> TImageLibrary::TakeAt(size_t index) { return OwnedList::TakeAt(m_entries, index); }
