#pragma once

#include <string>

// What gathers the characters that need glyphs: the layout document's glyph
// table builder implements it and hands it to every page list entry.
class CGlyphCollector
{
public:
    virtual ~CGlyphCollector() = default;
    virtual void CollectString(const std::u16string& text) = 0;
};
