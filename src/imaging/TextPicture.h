#pragma once

#include "Raster.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class ETextAlign
{
    Left,
    Centre,
    Right,
};

// Limits of a text picture: it must fit the panel's screen, and a font size
// beyond this makes letters no picture could hold.
constexpr int32_t kMaxTextPictureWidth = 320;
constexpr int32_t kMaxTextPictureHeight = 240;
constexpr int32_t kMaxTextSize = 200;
constexpr int32_t kMaxTextPadding = 100;
// Code points; far more than a screen shows even at the smallest size.
constexpr size_t kMaxTextLength = 4096;

// What a text picture shows and how it is laid out. Lines are centred as a
// block between top and bottom; each line is aligned on its own.
struct TTextPicture
{
    std::string text;   // UTF-8; a line feed (or CR LF) breaks the line
    std::string family; // as fontconfig names it; empty for the desktop's sans-serif
    int32_t size = 16;  // em size in pixels
    bool bold = false;
    ETextAlign align = ETextAlign::Centre;
    int32_t padding = 4; // pixels kept clear on every side
    // Left out, each takes what the text needs, padding included.
    std::optional<int32_t> width;
    std::optional<int32_t> height;
};

// The ink of a text picture: how much of each pixel the letters cover.
struct TTextCoverage
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> coverage; // rows from the top, 0 bare to 255 covered
    std::string family;            // the family fontconfig drew with

    uint8_t At(int32_t x, int32_t y) const { return coverage[static_cast<size_t>(y) * width + x]; }
};

// Lays the text out with the font fontconfig matches for the family and
// weight (its best match when the family is not installed) and draws it
// anti-aliased with FreeType. Letters that do not fit are cut at the
// picture's edge. False with a reason, and the result untouched, when the
// text is empty or not UTF-8, a size is beyond the limits above, or no font
// can be found.
bool RenderTextPicture(const TTextPicture& picture, TTextCoverage& result, std::string& error);

// Draws the ink in a colour over what the raster shows, its top-left corner
// at (x, y), within the raster's clip.
void DrawTextCoverage(const TTextCoverage& text, CRaster& dc, int32_t x, int32_t y, TColor colour);
