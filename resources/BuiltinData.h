#pragma once

#include <cstddef>
#include <cstdint>

// The built-in library data carried by the program (magic 0x0ABCDEF0, then
// colour, text, image and glyph records), packed at build time.
const uint8_t* QelBuiltinData(size_t* size);
