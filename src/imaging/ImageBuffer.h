#pragma once

#include "ImageData.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CRaster;
struct TRect;

// One picture in memory: decoded from files and PNG blocks, encoded to PNG,
// resampled, turned and drawn onto a raster. Copies are deep.
//
// Beside its pixels a picture keeps the PNG block that Encode gives for them,
// once known: the block it was decoded from when that is byte for byte what
// Encode writes (see the PNG codec's DecodedAsEncoded), else the block the
// first encoding made. Storing a layout then writes what it read without
// encoding again. Anything that may change the pixels drops the block: the
// mutable Data(), Load, Decode, Resample and RotateRight in place.
class CImageBuffer
{
public:
    CImageBuffer() = default;
    CImageBuffer(const CImageBuffer&) = default;
    CImageBuffer& operator=(const CImageBuffer&) = default;
    CImageBuffer(CImageBuffer&&) noexcept = default;
    CImageBuffer& operator=(CImageBuffer&&) noexcept = default;
    virtual ~CImageBuffer() = default;

    // Reads a picture file; format 0 recognises it by content. On failure the
    // picture is unchanged.
    bool Load(const std::string& path, int32_t format = kFormatUnknown);
    // Decodes a block in memory; the caller keeps the block (a PNG block
    // this picture keeps is a copy).
    bool Decode(const uint8_t* data, size_t size, int32_t format);
    // Encodes into a new block allocated with malloc, which the caller frees.
    // *out must be null on entry; *size is 0 on failure.
    bool Encode(uint8_t** out, int32_t* size, int32_t format);
    // The PNG block Encode gives: the one kept, or one encoded now and kept.
    // Null, with the last error set, when the picture cannot be encoded. It
    // stays valid until the picture changes.
    const std::vector<uint8_t>* PngBlock();
    // Whether a PNG block is kept, so PngBlock costs no encoding.
    bool HasPngBlock() const { return m_png != nullptr; }

    uint32_t GetWidth() const { return static_cast<uint32_t>(m_data.width); }
    uint32_t GetHeight() const { return static_cast<uint32_t>(m_data.height); }
    bool HasPixels() const { return m_data.HasPixels(); }

    // Mode 2 is the cubic B-spline; dest null resamples in place.
    bool Resample(int32_t newWidth, int32_t newHeight, int32_t mode = 2, CImageBuffer* dest = nullptr);
    // A quarter turn clockwise; dest null turns in place.
    bool RotateRight(CImageBuffer* dest = nullptr);

    // Draws at (x, y) at the picture's own size (width and height -1 or equal
    // to its own), composing alpha and transparency over what the raster shows.
    bool Draw(CRaster* raster, int32_t x, int32_t y, int32_t width = -1, int32_t height = -1,
              const TRect* clip = nullptr, bool smooth = false);
    // Draws the w x h piece at (sx, sy) from the picture's top-left with that
    // corner at (x, y).
    bool DrawSection(CRaster* raster, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy);

    // Colour at (x, y as stored, rows counted from the bottom).
    TRgbQuad GetPixelColor(int32_t x, int32_t yStored, bool includeAlpha = true) const;

    const std::string& GetLastError() const { return m_lastError; }
    const TImageData& Data() const { return m_data; }
    // For changing the picture: drops the kept PNG block. A reference kept
    // from here must not change the picture after a later PngBlock or Encode.
    TImageData& Data()
    {
        m_png.reset();
        return m_data;
    }

private:
    void SetError(const std::string& text);

    TImageData m_data;
    // Never changed once made, so copies of the picture share it.
    std::shared_ptr<const std::vector<uint8_t>> m_png;
    std::string m_lastError;
};
