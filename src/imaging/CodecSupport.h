#pragma once

#include "ByteStream.h"
#include "ImageData.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// Small pieces the picture decoders share.
namespace codec
{

// Compressed pictures larger than this are refused before they are read.
constexpr int64_t kMaxEncodedBytes = 256LL * 1024 * 1024;

// Reads everything from the stream's position to its end.
inline bool ReadRest(CByteStream& in, std::vector<uint8_t>& data, const char* name, std::string& error)
{
    data.clear();
    const int64_t size = in.Size();
    const int64_t position = in.Tell();
    if (size >= 0 && position >= 0)
    {
        if (size - position > kMaxEncodedBytes)
        {
            error = std::string(name) + ": the file is too large";
            return false;
        }
        if (size > position)
            data.reserve(static_cast<size_t>(size - position));
    }
    uint8_t chunk[65536];
    for (;;)
    {
        const size_t got = in.Read(chunk, sizeof chunk);
        if (got == 0)
            break;
        if (static_cast<int64_t>(data.size() + got) > kMaxEncodedBytes)
        {
            error = std::string(name) + ": the file is too large";
            return false;
        }
        data.insert(data.end(), chunk, chunk + got);
    }
    return true;
}

inline void SetGreyPalette(TImageData& image)
{
    const size_t count = image.palette.size();
    for (size_t i = 0; i < count; ++i)
    {
        const auto level = static_cast<uint8_t>(count > 1 ? i * 255 / (count - 1) : 0);
        image.palette[i] = TRgbQuad{level, level, level, 0};
    }
}

// Size check and allocation in one, with the decoder's name on refusal.
inline bool CreateImage(TImageData& image, int64_t width, int64_t height, int32_t bpp, const char* name, std::string& error)
{
    if (width <= 0 || height <= 0)
    {
        error = std::string(name) + ": the picture has no pixels";
        return false;
    }
    std::string reason;
    if (!ImageSizeAllowed(width, height, reason))
    {
        error = std::string(name) + ": " + reason;
        return false;
    }
    if (!image.Create(static_cast<int32_t>(width), static_cast<int32_t>(height), bpp))
    {
        error = std::string(name) + ": the picture is too large";
        return false;
    }
    return true;
}

inline void SetResolutionDpi(TImageData& image, double xDpi, double yDpi)
{
    if (!(xDpi > 0 && xDpi < 100000 && yDpi > 0 && yDpi < 100000))
        return;
    image.xDpi = static_cast<int32_t>(std::floor(xDpi + 0.5));
    image.yDpi = static_cast<int32_t>(std::floor(yDpi + 0.5));
    image.xDpm = static_cast<int32_t>(std::floor(xDpi * 10000 / 254 + 0.5));
    image.yDpm = static_cast<int32_t>(std::floor(yDpi * 10000 / 254 + 0.5));
}

}  // namespace codec
