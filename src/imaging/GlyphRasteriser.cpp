#include "GlyphRasteriser.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

constexpr int32_t kSurfaceSide = 100;
constexpr int32_t kOriginX = 5;
constexpr int32_t kOriginY = 5;
// The sampled square starts one pixel right of the drawing origin.
constexpr int32_t kSampleX = 6;
constexpr int32_t kSampleY = 5;
constexpr const char* kFamily = "AR PL UMing CN";

struct TFontLocation
{
    std::string path;
    int index = 0;
};

// Only an exact family match counts: fontconfig would otherwise hand back
// whatever face it substitutes, and glyphs must not change with the machine.
TFontLocation FindSystemFont()
{
    TFontLocation location;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr)
        return location;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(kFamily));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match != nullptr)
    {
        bool familyMatches = false;
        FcChar8* family = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        {
            if (std::strcmp(reinterpret_cast<const char*>(family), kFamily) == 0)
                familyMatches = true;
        }
        FcChar8* file = nullptr;
        int index = 0;
        if (familyMatches && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        {
            location.path = reinterpret_cast<const char*>(file);
            if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
                location.index = index;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return location;
}

// Scanning the font directories is slow; three rasterisers are made for
// every glyph-table build, so the answer is looked up once per process.
const TFontLocation& SystemFont()
{
    static const TFontLocation location = FindSystemFont();
    return location;
}

TFontLocation ChosenFont()
{
    const char* overrideFile = std::getenv("QEL_GLYPH_FONT");
    if (overrideFile != nullptr && *overrideFile != '\0')
        return TFontLocation{overrideFile, 0};
    return SystemFont();
}

}  // namespace

struct CGlyphRasteriser::TImpl
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int32_t baseline = kOriginY;
    std::vector<uint8_t> surface = std::vector<uint8_t>(kSurfaceSide * kSurfaceSide, 255);
    std::vector<uint8_t> grid;

    ~TImpl()
    {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }

    void Open(int32_t fontSizePixels)
    {
        const TFontLocation font = ChosenFont();
        if (font.path.empty() || fontSizePixels <= 0 || FT_Init_FreeType(&library) != 0)
            return;
        if (FT_New_Face(library, font.path.c_str(), font.index, &face) != 0)
        {
            face = nullptr;
            return;
        }
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(fontSizePixels)) != 0)
        {
            FT_Done_Face(face);
            face = nullptr;
            return;
        }
        // The line box's top edge is the origin, so the baseline sits one
        // ascender below it. The ascender is rounded to the nearest whole
        // pixel so that horizontal strokes stay on the pixel grid.
        const FT_Long ascender = face->size->metrics.ascender;
        baseline = kOriginY + static_cast<int32_t>((ascender + 32) >> 6);
    }

    void Draw(char16_t character)
    {
        std::fill(surface.begin(), surface.end(), uint8_t{255});
        if (face == nullptr)
            return;
        const FT_UInt glyphIndex = FT_Get_Char_Index(face, character);
        if (glyphIndex == 0)
            return;
        if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            return;
        FT_GlyphSlot slot = face->glyph;
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
            return;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.buffer == nullptr)
            return;
        const int32_t left = kOriginX + slot->bitmap_left;
        const int32_t top = baseline - slot->bitmap_top;
        const int32_t levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
        for (int32_t row = 0; row < static_cast<int32_t>(bitmap.rows); ++row)
        {
            const int32_t y = top + row;
            if (y < 0 || y >= kSurfaceSide)
                continue;
            const uint8_t* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
            for (int32_t column = 0; column < static_cast<int32_t>(bitmap.width); ++column)
            {
                const int32_t x = left + column;
                if (x < 0 || x >= kSurfaceSide)
                    continue;
                const int32_t coverage = source[column] * 255 / levels;
                uint8_t& pixel = surface[static_cast<size_t>(y) * kSurfaceSide + x];
                // Black over what is there; over white this is 255 - coverage.
                pixel = static_cast<uint8_t>((pixel * (255 - coverage) + 127) / 255);
            }
        }
    }
};

CGlyphRasteriser::CGlyphRasteriser(int32_t fontSizePixels, int32_t cell)
    : m_impl(std::make_unique<TImpl>()), m_cell(std::max<int32_t>(cell, 0))
{
    m_impl->Open(fontSizePixels);
    m_impl->grid.resize(static_cast<size_t>(m_cell) * m_cell);
}

CGlyphRasteriser::~CGlyphRasteriser() = default;

uint8_t CGlyphRasteriser::LevelOf(uint8_t red)
{
    if (red == 255)
        return 0;
    if (red >= 150)
        return 1;
    if (red >= 100)
        return 2;
    return 3;
}

bool CGlyphRasteriser::HasCharacter(char16_t character) const
{
    return m_impl->face != nullptr && FT_Get_Char_Index(m_impl->face, character) != 0;
}

TGlyphBitmap CGlyphRasteriser::RenderGlyph(char16_t character)
{
    m_impl->Draw(character);
    const int32_t cell = m_cell;
    std::vector<uint8_t>& grid = m_impl->grid;
    for (int32_t i = 0; i < cell; ++i)
    {
        for (int32_t j = 0; j < cell; ++j)
        {
            const int32_t x = kSampleX + i;
            const int32_t y = kSampleY + j;
            // A pixel off the surface reads as full ink, as a failed read would.
            uint8_t level = 3;
            if (x < kSurfaceSide && y < kSurfaceSide)
                level = LevelOf(m_impl->surface[static_cast<size_t>(y) * kSurfaceSide + x]);
            grid[static_cast<size_t>(i) * cell + j] = level;
        }
    }
    return FromLevels(grid, cell, character);
}

TGlyphBitmap CGlyphRasteriser::FromLevels(const std::vector<uint8_t>& grid, int32_t cell, char16_t character)
{
    TGlyphBitmap glyph;
    glyph.cell = cell;
    glyph.character = character;
    cell = std::max<int32_t>(cell, 0);
    auto level = [&](int32_t column, int32_t row) -> uint8_t {
        const size_t at = static_cast<size_t>(column) * cell + row;
        return at < grid.size() ? static_cast<uint8_t>(grid[at] & 3) : 0;
    };

    std::vector<bool> columnInk(cell, false);
    std::vector<bool> rowInk(cell, false);
    for (int32_t i = 0; i < cell; ++i)
    {
        for (int32_t j = 0; j < cell; ++j)
        {
            if (level(i, j) > 0)
            {
                columnInk[i] = true;
                rowInk[j] = true;
            }
        }
    }

    // First flagged index (cell when none) and the extent up to the last one.
    auto extent = [cell](const std::vector<bool>& ink, int32_t& first, int32_t& size) {
        first = cell;
        for (int32_t k = 0; k < cell; ++k)
        {
            if (ink[k])
            {
                first = k;
                break;
            }
        }
        int32_t trailing = 0;
        for (int32_t k = cell - 1; k >= first && !ink[k]; --k)
            ++trailing;
        size = cell - first - trailing;
    };
    int32_t c0 = 0;
    int32_t width = 0;
    int32_t r0 = 0;
    int32_t height = 0;
    extent(columnInk, c0, width);
    extent(rowInk, r0, height);

    glyph.width = static_cast<uint8_t>(width);
    glyph.height = static_cast<uint8_t>(height);
    glyph.left = static_cast<uint8_t>(c0);
    glyph.top = static_cast<uint8_t>(static_cast<int32_t>(std::trunc(cell * 0.28 + r0)));
    glyph.advance = static_cast<uint8_t>(c0 + width + 1);

    const int32_t rowBytes = (width + 3) / 4;
    glyph.bits.assign(static_cast<size_t>(rowBytes) * height, 0);
    for (int32_t m = 0; m < height; ++m)
    {
        for (int32_t u = 0; u < width; ++u)
        {
            const uint8_t value = level(c0 + u, r0 + m);
            glyph.bits[static_cast<size_t>(m) * rowBytes + u / 4] |=
                static_cast<uint8_t>(value << ((3 - u % 4) * 2));
        }
    }
    return glyph;
}
