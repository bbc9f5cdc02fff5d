#include "BuiltinLibrary.h"

#include "DataStore.h"
#include "ImageBuffer.h"
#include "ImageData.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace
{
// Reads one list framed by markers, each record made new and read in turn.
// Stops at the first marker other than 1, or at a record that fails.
template <typename T> void ReadList(CDataStore& store, std::vector<T>& list)
{
    list.clear();
    while (store.ReadInt() == 1)
    {
        T record;
        record.Serialize(store);
        if (store.Failed())
        {
            break;
        }
        list.push_back(std::move(record));
    }
    // Each record went to the head of its list.
    std::reverse(list.begin(), list.end());
}

template <typename T> void WriteList(CDataStore& store, const std::vector<T>& list)
{
    for (auto it = list.rbegin(); it != list.rend(); ++it)
    {
        store.WriteInt(1);
        T record = *it;
        record.Serialize(store);
    }
    store.WriteInt(0);
}

constexpr const char16_t* kImageNames[] = {
    u"bogus",
    u"Main Background",
    u"Slider Composite",
    u"Wireframe Button Composite",
    u"Blue Glow Button Composite",
    u"Check Box Selected",
    u"Check Box Unselected",
    u"Gradient Tapper",
    u"Dornell Logo",
    u"Small Down Icon",
    u"Return Icon",
    u"Cancel Icon",
    u"Front Page Background",
    u"VKX-4 Page Background",
    u"VKX-8 Page Background",
    u"Select Page Background",
    u"Square Blue Composite",
};
} // namespace

const char16_t* BuiltinImageName(int32_t id)
{
    if (id < 0 || id >= static_cast<int32_t>(std::size(kImageNames)))
    {
        return nullptr;
    }
    return kImageNames[id];
}

void TLibraryColour::Serialize(CDataStore& store)
{
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteInt(id);
        store.WriteInt(kind);
        store.WriteBytes(colourA.data(), colourA.size());
        store.WriteByte(flag);
        store.WriteBytes(colourB.data(), colourB.size());
        return;
    }
    const int32_t version = store.ReadInt();
    id = store.ReadInt();
    kind = store.ReadInt();
    store.ReadBytes(colourA.data(), colourA.size());
    flag = version >= 2 ? store.ReadByte() : 0;
    store.ReadBytes(colourB.data(), colourB.size());
}

void TLibraryString::Serialize(CDataStore& store)
{
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteInt(id);
        store.WriteString(text);
        return;
    }
    store.SkipInt();
    id = store.ReadInt();
    store.ReadString(text);
}

void TLibraryImage::Serialize(CDataStore& store)
{
    if (store.IsStoring())
    {
        uint8_t* png = nullptr;
        int32_t size = 0;
        if (image == nullptr || !image->Encode(&png, &size, kFormatPng) || png == nullptr)
        {
            size = 0;
        }
        store.WriteInt(kVersion);
        store.WriteInt(id);
        store.WriteInt(reserved1);
        store.WriteInt(reserved2);
        store.WriteInt(kFormatPng);
        store.WriteInt(size);
        store.WriteBytes(png, static_cast<size_t>(size));
        std::free(png);
        return;
    }
    store.SkipInt();
    id = store.ReadInt();
    reserved1 = store.ReadInt();
    reserved2 = store.ReadInt();
    format = store.ReadInt();
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
    image = std::make_shared<CImageBuffer>();
    if (size > 0)
    {
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        store.ReadBytes(bytes.data(), bytes.size());
        image->Decode(bytes.data(), bytes.size(), format);
    }
}

bool TBuiltinLibrary::Load(const uint8_t* data, size_t size)
{
    colours.clear();
    strings.clear();
    images.clear();
    CDataStore store(data, size);
    if (store.ReadInt() != kMagic || store.Failed())
    {
        return false;
    }
    store.SkipInt();
    ReadList(store, colours);
    ReadList(store, strings);
    ReadList(store, images);
    return !store.Failed();
}

std::vector<uint8_t> TBuiltinLibrary::Store() const
{
    CDataStore store;
    store.WriteInt(kMagic);
    store.WriteInt(kVersion);
    WriteList(store, colours);
    WriteList(store, strings);
    WriteList(store, images);
    store.WriteInt(0);
    return store.CopyData();
}

const TLibraryImage* TBuiltinLibrary::FindImage(int32_t id) const
{
    const auto found =
        std::find_if(images.begin(), images.end(), [&](const auto& image) { return image.id == id; });
    return found == images.end() ? nullptr : &*found;
}
