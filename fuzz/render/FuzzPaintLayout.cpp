// Arbitrary bytes as a layout byte image, and every user page of what loads
// painted as the canvas paints it, its front object selected. The loader
// checks nothing about object sizes, so no size may make a paint crash,
// overflow or take long: libFuzzer's -timeout catches a slow one.
#include "Layout.h"
#include "LayoutImages.h"
#include "PageDraw.h"
#include "UserPage.h"

#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Made once: its built-in pictures are decoded on construction.
    static TLayout* layout = new TLayout();
    if (size > static_cast<size_t>(kUploadCapacity))
        return 0;
    std::vector<std::unique_ptr<TGlyph>> glyphs;
    if (!layout->LoadFromBuffer(data, static_cast<int32_t>(size), &glyphs))
        return 0;
    const TImageFinder images = LayoutImages(*layout);
    CRaster raster(kPageWidth, kPageHeight);
    for (const auto& item : layout->pages)
    {
        const auto* page = dynamic_cast<const TUserPage*>(item.get());
        if (page == nullptr)
            continue;
        PaintPage(*page, images, raster, page->objects.empty() ? nullptr : page->objects.back().get());
    }
    layout->ClearAll();
    return 0;
}
