// Decodes arbitrary bytes as PNG. A picture that decodes must encode, and
// its encoding must decode to the same size; a refused one leaves the image
// as it was.
#include "ImageBuffer.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CImageBuffer image;
    image.Data().Create(2, 2, 24);
    image.Data().bits[5] = 9;
    const std::vector<uint8_t> before = image.Data().bits;
    if (!image.Decode(data, size, kFormatPng))
    {
        if (image.GetWidth() != 2 || image.Data().bits != before)
            std::abort();
        return 0;
    }
    // Very large pictures are valid but only slow the search down.
    if (static_cast<uint64_t>(image.GetWidth()) * image.GetHeight() > (1u << 20))
        return 0;
    uint8_t* block = nullptr;
    int32_t length = 0;
    if (!image.Encode(&block, &length, kFormatPng))
        std::abort();
    CImageBuffer again;
    const bool ok = again.Decode(block, static_cast<size_t>(length), kFormatPng);
    std::free(block);
    if (!ok || again.GetWidth() != image.GetWidth() || again.GetHeight() != image.GetHeight())
        std::abort();
    return 0;
}
