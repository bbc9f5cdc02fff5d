#include "LayoutImages.h"

#include "ImageEntry.h"
#include "Layout.h"

TImageFinder LayoutImages(const TLayout& layout)
{
    return [&layout](int32_t id) -> CImageBuffer*
    {
        const auto* entry = layout.images.FindImage(id);
        return entry != nullptr ? entry->image.get() : nullptr;
    };
}
