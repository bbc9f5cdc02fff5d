#include "ImageData.h"

#include <algorithm>

namespace
{

int32_t RaiseDepth(int32_t bpp)
{
    if (bpp <= 1)
        return 1;
    if (bpp <= 4)
        return 4;
    if (bpp <= 8)
        return 8;
    return 24;
}

constexpr const char* kTooLarge = "picture too large";

} // namespace

bool ImageSizeAllowed(int64_t width, int64_t height, std::string& error)
{
    if (width <= 0 || height <= 0)
    {
        error = "picture has no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return false;
    }
    if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels)
    {
        error = std::string(kTooLarge) + " (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return false;
    }
    return true;
}

bool IsSizeRefusal(const std::string& error)
{
    return error.find(kTooLarge) != std::string::npos;
}

bool TImageData::Create(int32_t newWidth, int32_t newHeight, int32_t newBpp)
{
    std::string reason;
    if (!ImageSizeAllowed(newWidth, newHeight, reason))
        return false;
    width = newWidth;
    height = newHeight;
    bpp = RaiseDepth(newBpp);
    bits.assign(static_cast<size_t>(RowBytes()) * static_cast<size_t>(height), 0);
    palette.assign(bpp == 24 ? 0 : (size_t{1} << bpp), TRgbQuad{});
    alpha.clear();
    alphaMax = 255;
    transparentIndex = -1;
    transparentColor = TRgbQuad{};
    alphaPaletteEnabled = false;
    return true;
}

uint8_t TImageData::GetIndex(int32_t x, int32_t yStored) const
{
    const uint8_t* row = Row(yStored);
    switch (bpp)
    {
    case 1:
        return static_cast<uint8_t>((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4:
        return static_cast<uint8_t>((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
    case 8:
        return row[x];
    default:
        return 0;
    }
}

void TImageData::SetIndex(int32_t x, int32_t yStored, uint8_t index)
{
    uint8_t* row = Row(yStored);
    switch (bpp)
    {
    case 1:
    {
        const auto mask = static_cast<uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>((index & 1) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
        break;
    }
    case 4:
        if (x & 1)
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0) | (index & 0x0F));
        else
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0F) | (index << 4));
        break;
    case 8:
        row[x] = index;
        break;
    default:
        break;
    }
}

TRgbQuad TImageData::GetColor(int32_t x, int32_t yStored) const
{
    if (bpp == 24)
    {
        const uint8_t* p = Row(yStored) + 3 * x;
        return TRgbQuad{p[0], p[1], p[2], 0};
    }
    const uint8_t index = GetIndex(x, yStored);
    if (index >= palette.size())
        return TRgbQuad{};
    TRgbQuad color = palette[index];
    color.reserved = 0;
    return color;
}

void TImageData::SetColor(int32_t x, int32_t yStored, TRgbQuad color)
{
    if (bpp == 24)
    {
        uint8_t* p = Row(yStored) + 3 * x;
        p[0] = color.blue;
        p[1] = color.green;
        p[2] = color.red;
        return;
    }
    // Palette images take the nearest entry; ties go to the lowest index.
    int32_t best = 0;
    int32_t bestDistance = 1 << 30;
    for (size_t i = 0; i < palette.size(); ++i)
    {
        const int32_t db = palette[i].blue - color.blue;
        const int32_t dg = palette[i].green - color.green;
        const int32_t dr = palette[i].red - color.red;
        const int32_t distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance)
        {
            bestDistance = distance;
            best = static_cast<int32_t>(i);
            if (distance == 0)
                break;
        }
    }
    SetIndex(x, yStored, static_cast<uint8_t>(best));
}
