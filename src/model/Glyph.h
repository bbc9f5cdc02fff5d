#pragma once

#include "GlyphBitmap.h"

class CDataStore;

// A glyph as the layout stores it: the rasteriser's bitmap plus its record.
struct TGlyph : TGlyphBitmap
{
    static constexpr int32_t kVersion = 1;

    TGlyph() = default;
    explicit TGlyph(TGlyphBitmap bitmap) : TGlyphBitmap(std::move(bitmap)) {}

    // Writes exactly RowBytes() * height bytes of bits, padding with zeros if
    // the bitmap holds fewer.
    void Serialize(CDataStore& store);
};
