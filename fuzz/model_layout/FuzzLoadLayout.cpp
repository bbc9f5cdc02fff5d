// Arbitrary bytes as a layout byte image: the loader must never read past
// them, and a refused image must leave the document as it was.
#include "Layout.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TLayout* layout = new TLayout();
    if (size > static_cast<size_t>(kUploadCapacity))
        return 0;
    layout->controlName = u"before";
    std::vector<std::unique_ptr<TGlyph>> glyphs;
    if (layout->LoadFromBuffer(data, static_cast<int32_t>(size), &glyphs))
    {
        // Start the next input from an empty document again.
        layout->ClearAll();
    }
    else if (layout->controlName != u"before" || !layout->pages.Empty())
    {
        std::abort();
    }
    return 0;
}
