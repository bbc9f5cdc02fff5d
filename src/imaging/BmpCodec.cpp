#include "Codecs.h"
#include "CodecSupport.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

namespace
{

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

// One channel of a packed 16- or 32-bit pixel, widened to 8 bits.
struct TChannel
{
    uint32_t mask = 0;
    int shift = 0;
    uint64_t maximum = 0;

    explicit TChannel(uint32_t m) : mask(m)
    {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        const int bits = std::countr_one(mask >> shift);
        maximum = (uint64_t{1} << bits) - 1;
    }
    uint8_t Of(uint32_t pixel) const
    {
        if (maximum == 0)
            return 0;
        const uint64_t value = ((pixel & mask) >> shift) & maximum;
        return static_cast<uint8_t>(value * 255 / maximum);
    }
};

bool ReadExactly(CByteStream& in, void* buffer, size_t size)
{
    return in.Read(buffer, size) == size;
}

// Runs of one index, escapes for end of line, end of picture, a jump, and
// literal runs padded to 16 bits. Rows go bottom-up, as stored; pixels that
// fall outside the picture are dropped and untouched pixels stay index 0.
// Running out of data ends the picture, as many writers leave out the end mark.
void DecodeRunLength(const std::vector<uint8_t>& data, uint32_t bitCount, TImageData& image)
{
    const bool four = bitCount == 4;
    int64_t x = 0;
    int64_t y = 0;
    auto put = [&](uint8_t index) {
        if (x < image.width && y < image.height)
            image.SetIndex(static_cast<int32_t>(x), static_cast<int32_t>(y), index);
        ++x;
    };
    size_t at = 0;
    while (data.size() - at >= 2 && y < image.height)
    {
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0)
        {
            for (uint8_t i = 0; i < count && x < image.width; ++i)
                put(four ? static_cast<uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0)
        {
            x = 0;
            ++y;
        }
        else if (value == 1)
        {
            break;
        }
        else if (value == 2)
        {
            if (data.size() - at < 2)
                break;
            x += data[at];
            y += data[at + 1];
            at += 2;
        }
        else
        {
            const size_t bytes = four ? (value + 1u) / 2 : value;
            if (data.size() - at < bytes)
                break;
            for (uint8_t i = 0; i < value; ++i)
            {
                const uint8_t byte = data[at + (four ? i / 2 : i)];
                put(four ? static_cast<uint8_t>(i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
            }
            // The pad byte of an odd literal run may be missing at the very end.
            at = std::min(data.size(), at + bytes + (bytes & 1));
        }
    }
}

class CBmpCodec : public CImageCodec
{
public:
    bool Decode(CByteStream& in, TImageData& out, std::string& error) override
    {
        const int64_t start = in.Tell();
        uint8_t fileHeader[14];
        if (!ReadExactly(in, fileHeader, sizeof fileHeader) || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        {
            error = "BMP: not a BMP file";
            return false;
        }
        const uint32_t offBits = U32(fileHeader + 10);

        uint8_t header[124] = {};
        if (!ReadExactly(in, header, 4))
        {
            error = "BMP: the header is truncated";
            return false;
        }
        const uint32_t headerSize = U32(header);
        if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
            headerSize != 124)
        {
            error = "BMP: unsupported header size " + std::to_string(headerSize);
            return false;
        }
        if (!ReadExactly(in, header + 4, headerSize - 4))
        {
            error = "BMP: the header is truncated";
            return false;
        }

        int64_t width = 0;
        int64_t height = 0;
        uint32_t bitCount = 0;
        uint32_t compression = kBiRgb;
        uint32_t colorsUsed = 0;
        size_t paletteEntrySize = 4;
        bool topDown = false;
        uint32_t masks[4] = {};
        int32_t xPpm = 0;
        int32_t yPpm = 0;
        if (headerSize == 12)
        {
            width = U16(header + 4);
            height = U16(header + 6);
            bitCount = U16(header + 10);
            paletteEntrySize = 3;
        }
        else
        {
            width = I32(header + 4);
            const int32_t rawHeight = I32(header + 8);
            if (rawHeight == INT32_MIN)
            {
                error = "BMP: invalid height";
                return false;
            }
            topDown = rawHeight < 0;
            height = topDown ? -static_cast<int64_t>(rawHeight) : rawHeight;
            bitCount = U16(header + 14);
            compression = U32(header + 16);
            xPpm = I32(header + 24);
            yPpm = I32(header + 28);
            colorsUsed = U32(header + 32);
            if (headerSize >= 52)
            {
                masks[0] = U32(header + 40);
                masks[1] = U32(header + 44);
                masks[2] = U32(header + 48);
            }
            if (headerSize >= 56)
                masks[3] = U32(header + 52);
        }

        const bool runLength = compression == kBiRle8 || compression == kBiRle4;
        if (runLength && (bitCount != (compression == kBiRle8 ? 8u : 4u) || topDown))
        {
            error = "BMP: invalid run-length compressed file";
            return false;
        }
        const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
        if (compression != kBiRgb && !bitfields && !runLength)
        {
            error = "BMP: unsupported compression " + std::to_string(compression);
            return false;
        }
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        {
            error = "BMP: unsupported depth of " + std::to_string(bitCount) + " bits";
            return false;
        }
        if (bitfields && bitCount != 16 && bitCount != 32)
        {
            error = "BMP: bit fields need 16 or 32 bits a pixel";
            return false;
        }
        if (bitfields && headerSize == 40)
        {
            // The masks follow a plain info header.
            const size_t count = compression == kBiAlphaBitfields ? 4 : 3;
            uint8_t maskBytes[16];
            if (!ReadExactly(in, maskBytes, count * 4))
            {
                error = "BMP: the colour masks are truncated";
                return false;
            }
            for (size_t i = 0; i < count; ++i)
                masks[i] = U32(maskBytes + i * 4);
        }
        if (!bitfields)
        {
            masks[3] = 0;
            if (bitCount == 16)
            {
                masks[0] = 0x7C00;
                masks[1] = 0x03E0;
                masks[2] = 0x001F;
            }
            else if (bitCount == 32)
            {
                masks[0] = 0xFF0000;
                masks[1] = 0x00FF00;
                masks[2] = 0x0000FF;
            }
        }

        TImageData image;
        const int32_t bpp = bitCount <= 8 ? static_cast<int32_t>(bitCount) : 24;
        if (!codec::CreateImage(image, width, height, bpp, "BMP", error))
            return false;

        if (bitCount <= 8)
        {
            const uint32_t maximum = 1u << bitCount;
            uint32_t count = colorsUsed == 0 || colorsUsed > maximum ? maximum : colorsUsed;
            const int64_t paletteStart = in.Tell() - start;
            if (offBits >= paletteStart)
            {
                const int64_t room = (offBits - paletteStart) / static_cast<int64_t>(paletteEntrySize);
                if (room < count)
                    count = static_cast<uint32_t>(room);
            }
            uint8_t entries[256 * 4];
            if (!ReadExactly(in, entries, count * paletteEntrySize))
            {
                error = "BMP: the palette is truncated";
                return false;
            }
            for (uint32_t i = 0; i < count; ++i)
            {
                const uint8_t* e = entries + i * paletteEntrySize;
                image.palette[i] = TRgbQuad{e[0], e[1], e[2], 0};
            }
        }

        const int64_t dataStart = in.Tell() - start;
        if (offBits >= dataStart && !in.Seek(start + offBits))
        {
            error = "BMP: the pixel data lies beyond the end of the file";
            return false;
        }

        if (runLength)
        {
            std::vector<uint8_t> data;
            if (!codec::ReadRest(in, data, "BMP", error))
                return false;
            DecodeRunLength(data, bitCount, image);
            image.format = kFormatBmp;
            out = std::move(image);
            return true;
        }

        const size_t fileRowBytes = static_cast<size_t>((width * bitCount + 31) / 32 * 4);
        std::vector<uint8_t> row(fileRowBytes);
        const TChannel red(masks[0]);
        const TChannel green(masks[1]);
        const TChannel blue(masks[2]);
        const TChannel alphaChannel(masks[3]);
        const bool packed = bitCount == 16 || bitCount == 32;
        const bool withAlpha = packed && masks[3] != 0;
        if (withAlpha)
            image.alpha.assign(static_cast<size_t>(image.width) * image.height, 0);
        bool anyAlpha = false;

        for (int32_t r = 0; r < image.height; ++r)
        {
            if (!ReadExactly(in, row.data(), fileRowBytes))
            {
                error = "BMP: the pixel data is truncated";
                return false;
            }
            const int32_t y = topDown ? image.height - 1 - r : r;
            uint8_t* target = image.Row(y);
            if (!packed)
            {
                std::memcpy(target, row.data(), fileRowBytes);
                continue;
            }
            for (int32_t x = 0; x < image.width; ++x)
            {
                const uint8_t* p = row.data() + static_cast<size_t>(x) * (bitCount / 8);
                const uint32_t pixel = bitCount == 16 ? U16(p) : U32(p);
                target[x * 3] = blue.Of(pixel);
                target[x * 3 + 1] = green.Of(pixel);
                target[x * 3 + 2] = red.Of(pixel);
                if (withAlpha)
                {
                    const uint8_t a = alphaChannel.Of(pixel);
                    image.alpha[static_cast<size_t>(y) * image.width + x] = a;
                    anyAlpha = anyAlpha || a != 0;
                }
            }
        }
        // Many writers leave the alpha bytes at zero; such a picture is opaque.
        if (!anyAlpha)
            image.alpha.clear();

        if (xPpm > 0 && yPpm > 0)
        {
            image.xDpm = xPpm;
            image.yDpm = yPpm;
            image.xDpi = static_cast<int32_t>(static_cast<int64_t>(xPpm) * 254 / 10000 + ((xPpm * 254LL % 10000) >= 5000));
            image.yDpi = static_cast<int32_t>(static_cast<int64_t>(yPpm) * 254 / 10000 + ((yPpm * 254LL % 10000) >= 5000));
        }
        image.format = kFormatBmp;
        out = std::move(image);
        return true;
    }
};

}  // namespace

std::unique_ptr<CImageCodec> MakeBmpCodec()
{
    return std::make_unique<CBmpCodec>();
}
