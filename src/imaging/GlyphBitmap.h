#pragma once

#include <cstdint>
#include <vector>

// One character drawn at one cell size: 2 bits a pixel, rows top to bottom,
// (width + 3) / 4 bytes a row, the leftmost pixel of each byte in its two
// highest bits. Levels: 0 background, 1 light, 2 medium, 3 full ink.
struct TGlyphBitmap
{
    int32_t cell = 0;
    int32_t character = 0;
    uint8_t width = 0;
    uint8_t height = 0;
    uint8_t left = 0;
    uint8_t top = 0;
    uint8_t advance = 0;
    std::vector<uint8_t> bits;

    int32_t RowBytes() const { return (width + 3) / 4; }
};
