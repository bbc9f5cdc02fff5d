#include "GlyphRasteriser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace
{

struct TSize
{
    int32_t fontSize;
    int32_t cell;
};
const TSize kSizes[] = {{12, 22}, {16, 28}, {20, 35}};

uint8_t LevelAt(const TGlyphBitmap& glyph, int x, int y)
{
    const uint8_t byte = glyph.bits[static_cast<size_t>(y) * glyph.RowBytes() + x / 4];
    return static_cast<uint8_t>((byte >> ((3 - x % 4) * 2)) & 3);
}

void ExpectEmpty(const TGlyphBitmap& glyph, int32_t cell)
{
    EXPECT_EQ(glyph.cell, cell);
    EXPECT_EQ(glyph.width, 0);
    EXPECT_EQ(glyph.height, 0);
    EXPECT_EQ(glyph.left, cell);
    EXPECT_EQ(glyph.top, static_cast<int>(cell * 0.28 + cell));
    EXPECT_EQ(glyph.advance, cell + 1);
    EXPECT_TRUE(glyph.bits.empty());
}

TEST(GlyphRasteriser, LevelThresholds)
{
    const std::pair<int, int> cases[] = {{255, 0}, {254, 1}, {150, 1}, {149, 2}, {100, 2}, {99, 3}, {0, 3}};
    for (const auto& [red, level] : cases)
        EXPECT_EQ(CGlyphRasteriser::LevelOf(static_cast<uint8_t>(red)), level) << "red " << red;
}

TEST(GlyphRasteriser, BlankGridGivesEmptyGlyph)
{
    const std::pair<int32_t, int> cases[] = {{22, 28}, {28, 35}, {35, 44}};
    for (const auto& [cell, top] : cases)
    {
        const std::vector<uint8_t> grid(static_cast<size_t>(cell) * cell, 0);
        const TGlyphBitmap glyph = CGlyphRasteriser::FromLevels(grid, cell, u'x');
        ExpectEmpty(glyph, cell);
        EXPECT_EQ(glyph.top, top);
        EXPECT_EQ(glyph.character, u'x');
    }
}

// Ink in columns 4..8 of row 3 and row 5 (row 4 empty, kept inside the extent).
TEST(GlyphRasteriser, CropsMeasuresAndPacks)
{
    const int32_t cell = 22;
    std::vector<uint8_t> grid(static_cast<size_t>(cell) * cell, 0);
    auto set = [&](int column, int row, uint8_t level) { grid[static_cast<size_t>(column) * cell + row] = level; };
    const uint8_t row3[] = {3, 2, 1, 0, 3};
    for (int u = 0; u < 5; ++u)
        set(4 + u, 3, row3[u]);
    set(8, 5, 1);

    const TGlyphBitmap glyph = CGlyphRasteriser::FromLevels(grid, cell, u'\u00e9');
    EXPECT_EQ(glyph.width, 5);
    EXPECT_EQ(glyph.height, 3);
    EXPECT_EQ(glyph.left, 4);
    EXPECT_EQ(glyph.top, 9);  // trunc(22 * 0.28 + 3)
    EXPECT_EQ(glyph.advance, 4 + 5 + 1);
    const std::vector<uint8_t> bits = {0xE4, 0xC0, 0x00, 0x00, 0x00, 0x40};
    EXPECT_EQ(glyph.bits, bits);
}

TEST(GlyphRasteriser, TopCountsFromFirstInkRow)
{
    struct TCase
    {
        int32_t cell;
        int row;
        int top;
    };
    const TCase cases[] = {{22, 3, 9}, {35, 0, 9}, {28, 27, 34}, {35, 34, 43}};
    for (const TCase& c : cases)
    {
        std::vector<uint8_t> grid(static_cast<size_t>(c.cell) * c.cell, 0);
        grid[static_cast<size_t>(c.cell - 1) * c.cell + c.row] = 2;
        const TGlyphBitmap glyph = CGlyphRasteriser::FromLevels(grid, c.cell, u'a');
        EXPECT_EQ(glyph.top, c.top) << "cell " << c.cell << " row " << c.row;
        EXPECT_EQ(glyph.left, c.cell - 1);
        EXPECT_EQ(glyph.width, 1);
        EXPECT_EQ(glyph.height, 1);
        EXPECT_EQ(glyph.advance, c.cell + 1);
        EXPECT_EQ(glyph.bits, std::vector<uint8_t>{0x80});
    }
}

struct TInk
{
    int pixels = 0;
};

TInk CountInk(const TGlyphBitmap& glyph)
{
    TInk ink;
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x)
            ink.pixels += LevelAt(glyph, x, y) > 0;
    return ink;
}

// The cropped box must be tight: ink on each of its four edges.
void ExpectTight(const TGlyphBitmap& glyph)
{
    bool top = false, bottom = false, left = false, right = false;
    for (int x = 0; x < glyph.width; ++x)
    {
        top = top || LevelAt(glyph, x, 0) > 0;
        bottom = bottom || LevelAt(glyph, x, glyph.height - 1) > 0;
    }
    for (int y = 0; y < glyph.height; ++y)
    {
        left = left || LevelAt(glyph, 0, y) > 0;
        right = right || LevelAt(glyph, glyph.width - 1, y) > 0;
    }
    EXPECT_TRUE(top && bottom && left && right);
}

TEST(GlyphRasteriser, DrawsCjkAndAccentedLatin)
{
    for (const TSize& size : kSizes)
    {
        SCOPED_TRACE("cell " + std::to_string(size.cell));
        CGlyphRasteriser rasteriser(size.fontSize, size.cell);
        const int32_t cell = size.cell;
        const int topLine = static_cast<int>(cell * 0.28);

        // U+4E2D, a square ideograph nearly filling the em.
        const TGlyphBitmap middle = rasteriser.RenderGlyph(u'\u4e2d');
        EXPECT_EQ(middle.cell, cell);
        EXPECT_EQ(middle.character, 0x4e2d);
        EXPECT_GE(middle.width, size.fontSize * 6 / 10);
        EXPECT_LE(middle.width, size.fontSize + 1);
        EXPECT_GE(middle.height, size.fontSize * 7 / 10);
        EXPECT_LE(middle.height, size.fontSize + 1);
        EXPECT_LT(middle.left, 4);
        EXPECT_GE(middle.top, topLine);
        EXPECT_LT(middle.top, topLine + 6);
        EXPECT_EQ(middle.advance, middle.left + middle.width + 1);
        EXPECT_EQ(middle.bits.size(), static_cast<size_t>(middle.RowBytes()) * middle.height);
        // The face is light and unhinted, so at 12 pixels its strokes are grey rather than full ink.
        EXPECT_GT(CountInk(middle).pixels, size.fontSize * 2);
        ExpectTight(middle);

        // U+00E9: narrower than the ideograph, taller than wide with its accent,
        // and sitting lower (it has no ascender).
        const TGlyphBitmap e = rasteriser.RenderGlyph(u'\u00e9');
        EXPECT_GT(e.width, 2);
        EXPECT_LT(e.width, middle.width);
        EXPECT_GT(e.height, e.width);
        EXPECT_GT(e.top, middle.top);
        EXPECT_GT(CountInk(e).pixels, 8);
        ExpectTight(e);

        // Drawing again gives the same glyph: the surface is cleared in between.
        const TGlyphBitmap again = rasteriser.RenderGlyph(u'\u4e2d');
        EXPECT_EQ(again.bits, middle.bits);
    }
}

TEST(GlyphRasteriser, CharactersWithoutInkAreEmpty)
{
    // A lone surrogate and a noncharacter have no glyph; the ideographic space has no ink.
    const char16_t characters[] = {0xD800, 0xFFFF, 0x3000};
    for (const TSize& size : kSizes)
    {
        CGlyphRasteriser rasteriser(size.fontSize, size.cell);
        for (char16_t character : characters)
        {
            SCOPED_TRACE(static_cast<int>(character));
            ExpectEmpty(rasteriser.RenderGlyph(character), size.cell);
        }
    }
}

TEST(GlyphRasteriser, UnopenableFontDrawsNothing)
{
    setenv("QEL_GLYPH_FONT", "/nonexistent/font.ttf", 1);
    CGlyphRasteriser rasteriser(16, 28);
    unsetenv("QEL_GLYPH_FONT");
    ExpectEmpty(rasteriser.RenderGlyph(u'\u4e2d'), 28);
}

}  // namespace
