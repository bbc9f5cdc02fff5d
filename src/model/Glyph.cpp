#include "Glyph.h"

#include "DataStore.h"

#include <algorithm>
#include <utility>

void TGlyph::Serialize(CDataStore& store)
{
    if (store.IsStoring())
    {
        store.WriteInt(kVersion);
        store.WriteInt(cell);
        store.WriteInt(character);
        store.WriteByte(width);
        store.WriteByte(height);
        store.WriteByte(left);
        store.WriteByte(top);
        store.WriteByte(advance);
        std::vector<uint8_t> stored(static_cast<size_t>(RowBytes()) * height, 0);
        std::copy_n(bits.begin(), std::min(bits.size(), stored.size()), stored.begin());
        store.WriteBytes(stored.data(), stored.size());
        return;
    }
    store.SkipInt();
    cell = store.ReadInt();
    character = store.ReadInt();
    width = store.ReadByte();
    height = store.ReadByte();
    left = store.ReadByte();
    top = store.ReadByte();
    advance = store.ReadByte();
    std::vector<uint8_t> read(static_cast<size_t>(RowBytes()) * height);
    if (store.ReadBytes(read.data(), read.size()))
    {
        bits = std::move(read);
    }
}
