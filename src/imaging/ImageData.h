#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One palette entry or colour, in the byte order of a device-independent
// bitmap: blue, green, red and a fourth byte (alpha where one is kept).
struct TRgbQuad
{
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;

    bool operator==(const TRgbQuad&) const = default;
};

// Picture format codes.
enum EImageFormat : int32_t
{
    kFormatUnknown = 0,
    kFormatBmp = 1,
    kFormatGif = 2,
    kFormatJpeg = 3,
    kFormatPng = 4,
    kFormatIco = 5,
    kFormatTiff = 6,
    kFormatTga = 7,
    kFormatPcx = 8,
    kFormatWbmp = 9,
    kFormatWmf = 10,
    kFormatJp2 = 11,  // 11 to 15: the JPEG 2000 family, one codec
    kFormatJ2k = 12,
    kFormatJpc = 13,
    kFormatPgx = 14,
    kFormatRaw = 15,
    kFormatWebp = 16,
};

// Largest picture any decoder accepts.
constexpr int32_t kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = 64LL * 1000 * 1000;

// Everything a picture is: what codecs fill in and what CImageBuffer keeps.
//
// Rows are stored bottom-up (row 0 is the bottom row on screen), each padded
// to a multiple of 4 bytes. Palette images have 1, 4 or 8 bits per pixel and
// 2, 16 or 256 palette entries; true-colour images have 24 bits, stored
// blue, green, red, and no palette. The alpha plane, when present, has one
// byte per pixel, bottom-up, without padding.
struct TImageData
{
    int32_t width = 0;
    int32_t height = 0;
    int32_t bpp = 0;  // 1, 4, 8 or 24; 0 without pixels
    std::vector<TRgbQuad> palette;
    std::vector<uint8_t> bits;
    std::vector<uint8_t> alpha;  // empty, or width * height bytes
    uint8_t alphaMax = 255;
    int32_t transparentIndex = -1;
    TRgbQuad transparentColor;
    bool alphaPaletteEnabled = false;
    int32_t xDpm = 3780;  // pixels per metre
    int32_t yDpm = 3780;
    int32_t xDpi = 96;
    int32_t yDpi = 96;
    int32_t format = kFormatUnknown;

    bool HasPixels() const { return width > 0 && height > 0 && !bits.empty(); }
    int32_t RowBytes() const { return ((width * bpp + 31) / 32) * 4; }
    uint8_t* Row(int32_t yStored) { return bits.data() + static_cast<size_t>(yStored) * RowBytes(); }
    const uint8_t* Row(int32_t yStored) const { return bits.data() + static_cast<size_t>(yStored) * RowBytes(); }

    // Sets size and depth (raised to 1, 4, 8 or 24), allocates zeroed rows and,
    // for palette depths, a palette of 2, 16 or 256 black entries. Clears the
    // alpha plane and transparency. False when the size is beyond the limits.
    bool Create(int32_t width, int32_t height, int32_t bpp);
    // Palette index (palette images) at a stored coordinate.
    uint8_t GetIndex(int32_t x, int32_t yStored) const;
    void SetIndex(int32_t x, int32_t yStored, uint8_t index);
    // The colour of a pixel (through the palette for palette images); the
    // fourth byte is 0.
    TRgbQuad GetColor(int32_t x, int32_t yStored) const;
    void SetColor(int32_t x, int32_t yStored, TRgbQuad color);
};

// Checks a decoder's announced size against the limits; on refusal fills error.
bool ImageSizeAllowed(int64_t width, int64_t height, std::string& error);
// Whether a decoder's error is ImageSizeAllowed's refusal of a picture beyond
// the limits (whatever the decoder put in front of it).
bool IsSizeRefusal(const std::string& error);
