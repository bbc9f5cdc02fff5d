#include "ImageEntry.h"

#include "DataStore.h"
#include "ImageBuffer.h"
#include "ImageData.h"

#include <cstdlib>
#include <vector>

void TImageEntry::Serialize(CDataStore& store)
{
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteInt(id);
        store.WriteString(name);
        store.WriteInt(kPictureTag);
        uint8_t* png = nullptr;
        int32_t size = 0;
        if (image != nullptr && image->Encode(&png, &size, kFormatPng) && png != nullptr && size > 0)
        {
            store.WriteInt(size);
            store.WriteBytes(png, static_cast<size_t>(size));
        }
        else
        {
            store.WriteInt(0);
        }
        std::free(png);
        store.WriteBytes(guid.data(), guid.size());
        return;
    }
    const int32_t version = store.ReadInt();
    id = store.ReadInt();
    store.ReadString(name);
    store.SkipInt();
    const int32_t size = store.ReadInt();
    if (store.Failed())
    {
        return;
    }
    if (size < 0 || size > store.Remaining())
    {
        store.Fail();
        return;
    }
    if (size == 0)
    {
        image.reset();
    }
    else
    {
        std::vector<uint8_t> png(static_cast<size_t>(size));
        store.ReadBytes(png.data(), png.size());
        // A picture of its own: one the entry held may be shared with the
        // built-in library. Bytes that do not decode leave it empty.
        image = std::make_shared<CImageBuffer>();
        image->Decode(png.data(), png.size(), kFormatPng);
    }
    if (version >= 2)
    {
        store.ReadBytes(guid.data(), guid.size());
    }
    else
    {
        guid = NewGuid();
    }
}
