#pragma once

#include "GlyphBitmap.h"
#include "GlyphRasteriser.h"
#include "Raster.h"

#include <cstdint>
#include <string>
#include <unordered_map>

// Text in our own plain look, drawn with the glyph font at one size and its
// four grey levels, for what the panel draws in a look of its own that we do
// not copy (the names of an eight-button page). Each character is drawn
// into a glyph once and kept.
class CPlainText
{
public:
    explicit CPlainText(int32_t fontSizePixels = 16);

    // The inked part of one line drawn with its line box's top-left corner
    // at (0, 0); empty for a text without ink.
    TRect InkBounds(const std::u16string& text);
    // Draws one line with its line box's top-left corner at (x, y), within
    // the raster's clip.
    void Draw(CRaster& dc, int32_t x, int32_t y, const std::u16string& text, TColor colour);
    // Draws one line with its ink centred in a rectangle, clipped to it.
    void DrawCentred(CRaster& dc, const TRect& rect, const std::u16string& text, TColor colour);

private:
    const TGlyphBitmap& Glyph(char16_t c);
    // Calls place(glyph, x, y) for every glyph with ink, at its place.
    template <typename F> void Lay(const std::u16string& text, F place);

    int32_t m_fontSize;
    int32_t m_cell;
    CGlyphRasteriser m_rasteriser;
    std::unordered_map<char16_t, TGlyphBitmap> m_glyphs;
};
