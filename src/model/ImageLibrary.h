#pragma once

#include "ImageEntry.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TBuiltinLibrary;

// The document's pictures by id, head first. Ids are unique within it.
class TImageLibrary
{
public:
    using TEntries = std::vector<std::unique_ptr<TImageEntry>>;
    static constexpr int32_t kFirstAddedId = TImageEntry::kFirstAddedId;
    // Built-in names: this prefix and the picture's name, so that sorted
    // lists show them after what the installer added.
    static constexpr const char16_t* kBuiltinPrefix = u"ZZZ: ";

    // The first entry from the head with this id, or null.
    TImageEntry* FindImage(int32_t id) const;
    // 10000, or one more than the largest id in the library.
    int32_t NextImageId() const;
    // A new entry at the head with the next id, a new GUID and the picture
    // (which may be null). Returns it.
    TImageEntry* AddImage(std::u16string name, std::unique_ptr<CImageBuffer> image);
    // One entry per library picture, each sharing the library's picture.
    void AddBuiltinImages(const TBuiltinLibrary& library);
    // Links an entry at the head (the document loader's added pictures).
    TImageEntry* InsertHead(std::unique_ptr<TImageEntry> entry);
    // False when the entry is not in the library.
    bool DeleteImage(TImageEntry* entry);
    // The entry's place from the head, or -1.
    int IndexOf(const TImageEntry* entry) const;
    // Changes by place from the head (see OwnedList.h), for putting back an
    // entry exactly where it was.
    TImageEntry* InsertAt(size_t index, std::unique_ptr<TImageEntry> entry);
    std::unique_ptr<TImageEntry> TakeAt(size_t index);
    void Clear() { m_entries.clear(); }

    TImageEntry* Head() const { return m_entries.empty() ? nullptr : m_entries.front().get(); }
    size_t Size() const { return m_entries.size(); }
    bool Empty() const { return m_entries.empty(); }
    TEntries::const_iterator begin() const { return m_entries.begin(); }
    TEntries::const_iterator end() const { return m_entries.end(); }

private:
    TEntries m_entries;
};
