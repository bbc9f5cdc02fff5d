#include "CodecTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace
{

using namespace codectest;

struct TBmpSpec
{
    uint32_t headerSize = 40;
    int bpp = 24;
    bool topDown = false;
    uint32_t compression = 0;  // 3: bit fields
    uint32_t masks[4] = {};
    uint32_t colorsUsed = 0;
    int paletteWritten = 0;  // entries actually present
    int width = 5;
    int height = 3;
};

TRgbQuad PaletteEntry(int i)
{
    return TRgbQuad{static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i * 15), static_cast<uint8_t>(i * 15), 0};
}

int IndexAt(const TBmpSpec& spec, int x, int y)
{
    return (x + 2 * y) % (spec.bpp == 1 ? 2 : 16);
}

void Put16(TBytes& b, uint32_t v)
{
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(TBytes& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

uint32_t Pack(uint32_t mask, uint8_t value)
{
    if (mask == 0)
        return 0;
    const int shift = __builtin_ctz(mask);
    const int bits = __builtin_popcount(mask);
    return (static_cast<uint32_t>(value) >> (8 - bits) << shift) & mask;
}

// What a channel stored under mask reads back as.
uint8_t Quantised(uint32_t mask, uint8_t value)
{
    const int bits = __builtin_popcount(mask);
    const uint32_t maximum = (1u << bits) - 1;
    return static_cast<uint8_t>((value >> (8 - bits)) * 255 / maximum);
}

TBytes MakeBmp(const TBmpSpec& s)
{
    TBytes b = {'B', 'M'};
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);  // offset of the pixels, filled in below
    if (s.headerSize == 12)
    {
        Put32(b, 12);
        Put16(b, s.width);
        Put16(b, s.height);
        Put16(b, 1);
        Put16(b, s.bpp);
    }
    else
    {
        Put32(b, s.headerSize);
        Put32(b, s.width);
        Put32(b, static_cast<uint32_t>(s.topDown ? -s.height : s.height));
        Put16(b, 1);
        Put16(b, s.bpp);
        Put32(b, s.compression);
        Put32(b, 0);
        Put32(b, 11811);  // 300 dpi
        Put32(b, 11811);
        Put32(b, s.colorsUsed);
        Put32(b, 0);
        if (s.headerSize >= 52)
            for (int i = 0; i < (s.headerSize >= 56 ? 4 : 3); ++i)
                Put32(b, s.masks[i]);
        b.resize(14 + s.headerSize, 0);
        if (s.headerSize == 40 && s.compression == 3)
            for (int i = 0; i < 3; ++i)
                Put32(b, s.masks[i]);
    }
    for (int i = 0; i < s.paletteWritten; ++i)
    {
        const TRgbQuad e = PaletteEntry(i);
        b.insert(b.end(), {e.blue, e.green, e.red});
        if (s.headerSize != 12)
            b.push_back(0);
    }
    const auto offBits = static_cast<uint32_t>(b.size());
    for (int i = 0; i < 4; ++i)
        b[10 + i] = static_cast<uint8_t>(offBits >> (8 * i));

    const size_t rowBytes = static_cast<size_t>((s.width * s.bpp + 31) / 32 * 4);
    for (int r = 0; r < s.height; ++r)
    {
        const int y = s.topDown ? r : s.height - 1 - r;
        TBytes row(rowBytes, 0);
        for (int x = 0; x < s.width; ++x)
        {
            const TRgba p = Pattern(x, y);
            if (s.bpp <= 8)
            {
                const int bit = x * s.bpp;
                row[bit / 8] |= static_cast<uint8_t>(IndexAt(s, x, y) << (8 - s.bpp - bit % 8));
            }
            else if (s.bpp == 24)
            {
                row[x * 3] = p.b;
                row[x * 3 + 1] = p.g;
                row[x * 3 + 2] = p.r;
            }
            else
            {
                const uint32_t v = Pack(s.masks[0], p.r) | Pack(s.masks[1], p.g) | Pack(s.masks[2], p.b) |
                                   Pack(s.masks[3], p.a);
                for (int k = 0; k < s.bpp / 8; ++k)
                    row[x * (s.bpp / 8) + k] = static_cast<uint8_t>(v >> (8 * k));
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

TBmpSpec Palette(uint32_t headerSize, int bpp, bool topDown = false)
{
    TBmpSpec s;
    s.headerSize = headerSize;
    s.bpp = bpp;
    s.topDown = topDown;
    s.paletteWritten = bpp <= 8 ? 1 << bpp : 0;
    return s;
}

TBmpSpec Packed(uint32_t headerSize, int bpp, uint32_t compression, std::initializer_list<uint32_t> masks,
                bool topDown = false)
{
    TBmpSpec s;
    s.headerSize = headerSize;
    s.bpp = bpp;
    s.compression = compression;
    s.topDown = topDown;
    int i = 0;
    for (uint32_t m : masks)
        s.masks[i++] = m;
    return s;
}

TEST(BmpCodec, DecodesHeaderVersionsAndDepths)
{
    TBmpSpec shortPalette = Palette(40, 8, true);
    shortPalette.colorsUsed = 1000;  // more than fit: clamped to the 16 written
    shortPalette.paletteWritten = 16;

    const std::pair<const char*, TBmpSpec> cases[] = {
        {"core 1-bit", Palette(12, 1)},
        {"core 8-bit", Palette(12, 8)},
        {"info 4-bit", Palette(40, 4)},
        {"info 8-bit top-down, palette clamped", shortPalette},
        {"info 24-bit", Palette(40, 24)},
        {"info 24-bit top-down", Palette(40, 24, true)},
        {"info 16-bit 5-5-5", Packed(40, 16, 0, {0x7C00, 0x03E0, 0x001F})},
        {"info 32-bit bit fields", Packed(40, 32, 3, {0xFF0000, 0xFF00, 0xFF})},
        {"V4 32-bit with alpha, top-down", Packed(108, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, true)},
        {"V5 16-bit 5-6-5", Packed(124, 16, 3, {0xF800, 0x07E0, 0x001F})},
        {"V5 8-bit", Palette(124, 8)},
    };
    for (const auto& [name, spec] : cases)
    {
        SCOPED_TRACE(name);
        TImageData image;
        std::string error;
        ASSERT_TRUE(Decode(kFormatBmp, MakeBmp(spec), image, error)) << error;
        EXPECT_EQ(image.width, spec.width);
        EXPECT_EQ(image.height, spec.height);
        EXPECT_EQ(image.bpp, spec.bpp <= 8 ? spec.bpp : 24);
        EXPECT_EQ(image.format, kFormatBmp);
        EXPECT_EQ(image.xDpi, spec.headerSize == 12 ? 96 : 300);
        const bool withAlpha = spec.masks[3] != 0;
        ASSERT_EQ(image.alpha.size(), withAlpha ? 15u : 0u);
        for (int y = 0; y < spec.height; ++y)
            for (int x = 0; x < spec.width; ++x)
            {
                const TRgba p = Pattern(x, y);
                TRgbQuad expected{p.b, p.g, p.r, 0};
                if (spec.bpp <= 8)
                    expected = PaletteEntry(IndexAt(spec, x, y));
                else if (spec.bpp == 16)
                    expected = TRgbQuad{Quantised(spec.masks[2], p.b), Quantised(spec.masks[1], p.g),
                                        Quantised(spec.masks[0], p.r), 0};
                ASSERT_EQ(At(image, x, y), expected) << x << "," << y;
                if (withAlpha)
                {
                    ASSERT_EQ(AlphaAt(image, x, y), p.a);
                }
            }
    }
}

// Rows are bottom-up in the file; indices listed bottom row first.
TEST(BmpCodec, DecodesRunLengthCompression)
{
    struct TCase
    {
        const char* name;
        int bpp;
        uint32_t compression;
        TBytes data;
        std::vector<std::vector<int>> rows;
    };
    const TCase cases[] = {
        {"RLE8: runs, padded literal, jump",
         8,
         1,
         {2, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 1, 2, 5, 0, 1},
         {{1, 1, 2, 3, 4}, {0, 0, 0, 0, 0}, {0, 0, 5, 5, 0}}},
        {"RLE4: alternating run, literal, no end mark",
         4,
         2,
         {5, 0x12, 0, 0, 0, 3, 0x34, 0x50},
         {{1, 2, 1, 2, 1}, {3, 4, 5, 0, 0}, {0, 0, 0, 0, 0}}},
        {"RLE8: runs past the edge are clipped",
         8,
         1,
         {9, 7, 0, 2, 0, 9, 0, 1},
         {{7, 7, 7, 7, 7}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}},
        {"RLE8: odd literal run without its pad byte at the end of the data",
         8,
         1,
         {0, 3, 4, 5, 6},
         {{4, 5, 6, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        TBmpSpec spec = Palette(40, c.bpp);
        spec.compression = c.compression;
        spec.height = 0;  // no uncompressed rows
        TBytes bytes = MakeBmp(spec);
        bytes[22] = 3;  // the real height
        bytes.insert(bytes.end(), c.data.begin(), c.data.end());
        TImageData image;
        std::string error;
        ASSERT_TRUE(Decode(kFormatBmp, bytes, image, error)) << error;
        ASSERT_EQ(image.height, 3);
        EXPECT_EQ(image.bpp, c.bpp);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(image.GetIndex(x, y), c.rows[y][x]) << x << "," << y;
    }
}

TEST(BmpCodec, RefusesWhatItCannotRead)
{
    auto patch32 = [](TBytes b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(v >> (8 * i));
        return b;
    };
    const TBytes good = MakeBmp(Palette(40, 8));
    TBytes twoBit = good;
    twoBit[28] = 2;
    const std::pair<const char*, TBytes> cases[] = {
        {"run-length at the wrong depth", patch32(good, 30, 2)},
        {"unknown compression", patch32(good, 30, 4)},
        {"2 bits a pixel", twoBit},
        {"unknown header size", patch32(good, 14, 64)},
        {"zero width", patch32(good, 18, 0)},
        {"most negative height", patch32(good, 22, 0x80000000u)},
        {"pixels past the end", patch32(good, 10, 0x7FFFFFF0u)},
        {"rows cut short", TBytes(good.begin(), good.end() - 3)},
    };
    for (const auto& [name, bytes] : cases)
    {
        SCOPED_TRACE(name);
        TImageData image;
        std::string error;
        EXPECT_FALSE(Decode(kFormatBmp, bytes, image, error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(image.HasPixels());
    }
}

}  // namespace
