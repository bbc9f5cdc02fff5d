#pragma once

#include "GlyphBitmap.h"

#include <cstdint>
#include <memory>
#include <vector>

// Draws single characters anti-aliased at one font size and reduces them to
// 2-bit glyphs cropped to their ink.
//
// The face is "AR PL UMing CN" as fontconfig finds it (that family exactly;
// its location is looked up once per process), or the font file named by the
// environment variable QEL_GLYPH_FONT. FreeType draws it unhinted with
// grey-scale anti-aliasing, black on a white 100 x 100 surface, the pen at
// x = 5 and the baseline at y = 5 + the face's ascender at that pixel size,
// rounded to a whole pixel. Without a usable face every glyph is empty, and
// so is every character the face lacks.
class CGlyphRasteriser
{
public:
    CGlyphRasteriser(int32_t fontSizePixels, int32_t cell);
    ~CGlyphRasteriser();
    CGlyphRasteriser(const CGlyphRasteriser&) = delete;
    CGlyphRasteriser& operator=(const CGlyphRasteriser&) = delete;

    TGlyphBitmap RenderGlyph(char16_t character);
    // Whether the face has the character (a character it lacks is drawn
    // empty, and shows blank on the panel).
    bool HasCharacter(char16_t character) const;

    // Level of a drawn pixel from its red component.
    static uint8_t LevelOf(uint8_t red);
    // Crops and packs a cell x cell grid of levels (indexed [column][row])
    // into a glyph: the measurement and bit packing shared by every glyph.
    // grid[column * cell + row] holds the level of that sampled pixel.
    static TGlyphBitmap FromLevels(const std::vector<uint8_t>& grid, int32_t cell, char16_t character);

private:
    struct TImpl;
    std::unique_ptr<TImpl> m_impl;
    int32_t m_cell;
};
