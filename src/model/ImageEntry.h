#pragma once

#include "Guid.h"
#include "ImageBuffer.h"

#include <cstdint>
#include <memory>
#include <string>

class CDataStore;

// One picture of the image library.
//
// The picture is held through a shared_ptr: an added entry (id 10000 or
// more) is the only holder of its picture, while a built-in entry shares the
// picture the built-in library holds, so deleting either never frees what the
// other still uses.
class TImageEntry
{
public:
    static constexpr int32_t kVersion = 2;
    static constexpr int32_t kFirstAddedId = 10000;
    static constexpr int32_t kPictureTag = 1;

    void Serialize(CDataStore& store);

    bool IsAdded() const { return id >= kFirstAddedId; }

    int32_t id = -1; // -1 while the entry is being read
    std::u16string name;
    std::shared_ptr<CImageBuffer> image; // null for an entry without a picture
    TGuid guid{};
};
