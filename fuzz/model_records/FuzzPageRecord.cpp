// Reads arbitrary bytes as a page record: the first byte picks the kind
// (8 user page, 9 eight-button page, else by its lowest bit). Whatever reads
// without failing must store and read back to the same bytes.
#include "Btn8Ctrl.h"
#include "DataStore.h"
#include "UserPage.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{
std::unique_ptr<TListItem> MakePage(uint8_t kind)
{
    if (kind == kPageUser || (kind != kPageEightButton && (kind & 1) == 0))
    {
        return std::make_unique<TUserPage>();
    }
    return std::make_unique<CBtn8Ctrl>();
}

std::vector<uint8_t> Store(TListItem& page)
{
    CDataStore store;
    page.Serialize(store);
    return store.CopyData();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
    {
        return 0;
    }
    auto page = MakePage(data[0]);
    CDataStore in(data + 1, size - 1);
    page->Serialize(in);
    if (in.GetLength() > static_cast<int32_t>(size - 1))
    {
        std::abort();
    }
    if (in.Failed())
    {
        return 0;
    }
    const std::vector<uint8_t> stored = Store(*page);
    auto again = MakePage(data[0]);
    CDataStore reread(stored.data(), stored.size());
    again->Serialize(reread);
    if (reread.Failed() || reread.Remaining() != 0 || Store(*again) != stored)
    {
        std::abort();
    }
    return 0;
}
