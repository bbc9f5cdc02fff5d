// Decodes arbitrary bytes by content with every decoder in turn, then
// draws, turns and reads what was decoded.
#include "ImageBuffer.h"
#include "Raster.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CImageBuffer image;
    if (!image.Decode(data, size, kFormatUnknown))
    {
        if (image.GetWidth() != 0 || image.Data().HasPixels())
            std::abort();
        return 0;
    }
    const TImageData& d = image.Data();
    if (!d.HasPixels() || d.bits.size() < static_cast<size_t>(d.RowBytes()) * d.height ||
        (!d.alpha.empty() && d.alpha.size() != static_cast<size_t>(d.width) * d.height) ||
        (d.bpp != 24 && d.palette.size() != (size_t{1} << d.bpp)))
        std::abort();
    if (static_cast<uint64_t>(d.width) * d.height > (1u << 20))
        return 0;
    CRaster raster(64, 48);
    image.Draw(&raster, -3, -2);
    image.GetPixelColor(d.width - 1, d.height - 1);
    CImageBuffer turned;
    if (!image.RotateRight(&turned) || turned.GetWidth() != image.GetHeight())
        std::abort();
    return 0;
}
