#include "RasterImage.h"

#include "ImageBuffer.h"
#include "Raster.h"

#include <cstdlib>

void RasterToImage(const CRaster& raster, CImageBuffer& image)
{
    TImageData& data = image.Data();
    if (!data.Create(raster.Width(), raster.Height(), 24))
        return;
    for (int32_t y = 0; y < raster.Height(); ++y)
    {
        // Picture rows are stored from the bottom up.
        uint8_t* row = data.Row(raster.Height() - 1 - y);
        const TColor* pixels = raster.Pixels() + static_cast<size_t>(y) * raster.Width();
        for (int32_t x = 0; x < raster.Width(); ++x)
        {
            row[3 * x] = BlueOf(pixels[x]);
            row[3 * x + 1] = GreenOf(pixels[x]);
            row[3 * x + 2] = RedOf(pixels[x]);
        }
    }
}

bool EncodeRasterPng(const CRaster& raster, std::vector<uint8_t>& png)
{
    CImageBuffer image;
    RasterToImage(raster, image);
    uint8_t* block = nullptr;
    int32_t size = 0;
    if (!image.Encode(&block, &size, kFormatPng) || block == nullptr || size <= 0)
    {
        std::free(block);
        return false;
    }
    png.assign(block, block + size);
    std::free(block);
    return true;
}
