// Reads arbitrary bytes as a glyph record; a glyph that reads must store and
// read back to the same bytes.
#include "DataStore.h"
#include "Glyph.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
std::vector<uint8_t> Store(TGlyph& glyph)
{
    CDataStore store;
    glyph.Serialize(store);
    return store.CopyData();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDataStore in(data, size);
    TGlyph glyph;
    glyph.Serialize(in);
    if (in.Failed())
    {
        return 0;
    }
    if (glyph.bits.size() != static_cast<size_t>(glyph.RowBytes()) * glyph.height)
    {
        std::abort();
    }
    const std::vector<uint8_t> stored = Store(glyph);
    CDataStore reread(stored.data(), stored.size());
    TGlyph again;
    again.Serialize(reread);
    if (reread.Failed() || reread.Remaining() != 0 || Store(again) != stored)
    {
        std::abort();
    }
    return 0;
}
