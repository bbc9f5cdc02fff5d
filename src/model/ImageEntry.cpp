#include "ImageEntry.h"

#include "DataStore.h"
#include "ImageBuffer.h"
#include "ImageData.h"

#include <vector>

void TImageEntry::Serialize(CDataStore& store)
{
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteInt(id);
        store.WriteString(name);
        store.WriteInt(kPictureTag);
        // The block the picture keeps: the one it was read from, or its
        // encoding made once, so a store encodes nothing twice.
        const std::vector<uint8_t>* png = image != nullptr && image->HasPixels() ? image->PngBlock() : nullptr;
        if (png != nullptr && !png->empty())
        {
            store.WriteInt(static_cast<int32_t>(png->size()));
            store.WriteBytes(png->data(), png->size());
        }
        else
        {
            store.WriteInt(0);
        }
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
        // built-in library. Bytes that do not decode leave it empty; bytes
        // our encoder would write for the picture are kept with it.
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
