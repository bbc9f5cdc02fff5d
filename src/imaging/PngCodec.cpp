#include "Codecs.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <new>
#include <vector>

// libpng reports errors by longjmp. The functions that call into libpng after
// setjmp keep only trivially destructible locals, so jumping over their frames
// destroys nothing; everything owning memory lives in the context structs,
// whose owners sit above the setjmp.
namespace
{

struct TPngErrorSink
{
    char message[200] = {};
    bool warned = false;
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message)
{
    auto* sink = static_cast<TPngErrorSink*>(png_get_error_ptr(png));
    if (sink != nullptr)
        std::snprintf(sink->message, sizeof sink->message, "%s", message != nullptr ? message : "error");
    png_longjmp(png, 1);
}

// Warnings are not shown; that there was one tells a decoded block from the
// blocks we write, which give none.
void OnPngWarning(png_structp png, png_const_charp)
{
    if (auto* sink = static_cast<TPngErrorSink*>(png_get_error_ptr(png)))
        sink->warned = true;
}

int32_t ClampToInt32(uint64_t value)
{
    return static_cast<int32_t>(std::min<uint64_t>(value, std::numeric_limits<int32_t>::max()));
}

void SetGreyRamp(std::vector<TRgbQuad>& palette, size_t levels)
{
    for (size_t i = 0; i < levels && i < palette.size(); ++i)
    {
        const auto v = static_cast<uint8_t>(levels > 1 ? i * 255 / (levels - 1) : 0);
        palette[i] = TRgbQuad{v, v, v, 0};
    }
}

// ---- reading

struct TPngReader : TPngErrorSink
{
    CByteStream* in = nullptr;
    TImageData image;
    std::vector<uint8_t> scratch;
    std::vector<png_bytep> rows;
    std::string error;
    int64_t imageEnd = -1; // where the IDAT chunk holding the end of the image data ends
};

void OnPngRead(png_structp png, png_bytep data, size_t length)
{
    auto* reader = static_cast<TPngReader*>(png_get_io_ptr(png));
    size_t done = 0;
    while (done < length)
    {
        const size_t got = reader->in->Read(data + done, length - done);
        if (got == 0)
            break;
        done += got;
    }
    if (done != length)
        png_error(png, "the data ends early");
}

// Unpacks rows that libpng delivers in a layout other than ours.
void ConvertScratch(TPngReader& r, int colorType, int depth, size_t rowBytes)
{
    TImageData& image = r.image;
    const int32_t width = image.width;
    for (int32_t y = 0; y < image.height; ++y)
    {
        const uint8_t* src = r.scratch.data() + static_cast<size_t>(y) * rowBytes;
        const int32_t stored = image.height - 1 - y;
        uint8_t* dst = image.Row(stored);
        if (depth == 2)
        {
            // Two-bit samples become four-bit indices.
            std::memset(dst, 0, static_cast<size_t>(image.RowBytes()));
            for (int32_t x = 0; x < width; ++x)
            {
                const auto v = static_cast<uint8_t>((src[x >> 2] >> (6 - 2 * (x & 3))) & 3);
                dst[x >> 1] |= static_cast<uint8_t>((x & 1) ? v : (v << 4));
            }
            continue;
        }
        // Every other layout that reaches here carries alpha, so the plane exists.
        uint8_t* alpha = image.alpha.data() + static_cast<size_t>(stored) * width;
        if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        {
            for (int32_t x = 0; x < width; ++x)
            {
                dst[x] = src[2 * x];
                alpha[x] = src[2 * x + 1];
            }
        }
        else
        {
            for (int32_t x = 0; x < width; ++x)
            {
                dst[3 * x] = src[4 * x];
                dst[3 * x + 1] = src[4 * x + 1];
                dst[3 * x + 2] = src[4 * x + 2];
                alpha[x] = src[4 * x + 3];
            }
        }
    }
}

__attribute__((noinline)) bool ReadPngBody(png_structp png, png_infop info, TPngReader& r)
{
    // Only tRNS and pHYs matter here: every other ancillary chunk is skipped
    // unread, so an oversized text or profile chunk costs nothing.
    static const png_byte kWanted[] = {'t', 'R', 'N', 'S', 0, 'p', 'H', 'Y', 's', 0};
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kWanted, 2);
    png_set_chunk_malloc_max(png, 1 << 20);
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colorType = 0;
    int interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
    if (!ImageSizeAllowed(width, height, r.error))
    {
        r.error.insert(0, "Decode: ");
        return false;
    }

    int32_t bpp = 24;
    bool withAlpha = false;
    switch (colorType)
    {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        bpp = depth == 16 ? 8 : (depth == 2 ? 4 : depth);
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        bpp = 8;
        withAlpha = true;
        break;
    case PNG_COLOR_TYPE_RGB:
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        withAlpha = true;
        break;
    default:
        r.error = "Decode: unknown PNG colour type";
        return false;
    }
    if (!r.image.Create(static_cast<int32_t>(width), static_cast<int32_t>(height), bpp))
    {
        r.error = "Decode: picture too large";
        return false;
    }
    TImageData& image = r.image;
    if (withAlpha)
        image.alpha.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), 255);

    if (colorType == PNG_COLOR_TYPE_PALETTE)
    {
        png_colorp entries = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &entries, &count) == 0 || entries == nullptr)
            png_error(png, "no palette");
        const size_t n = std::min(static_cast<size_t>(std::max(count, 0)), image.palette.size());
        for (size_t i = 0; i < n; ++i)
            image.palette[i] = TRgbQuad{entries[i].blue, entries[i].green, entries[i].red, 0};
    }
    else if (colorType == PNG_COLOR_TYPE_GRAY)
    {
        SetGreyRamp(image.palette, depth == 2 ? 4 : (depth >= 8 ? 256 : (size_t{1} << depth)));
    }
    else if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    {
        SetGreyRamp(image.palette, 256);
    }

    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0)
    {
        png_bytep trans = nullptr;
        int count = 0;
        png_color_16p color = nullptr;
        png_get_tRNS(png, info, &trans, &count, &color);
        if (colorType == PNG_COLOR_TYPE_PALETTE && trans != nullptr && count > 0)
        {
            if (count == 1)
            {
                image.transparentIndex = 0;
            }
            else
            {
                image.alphaPaletteEnabled = true;
                for (size_t i = 0; i < image.palette.size(); ++i)
                    image.palette[i].reserved = i < static_cast<size_t>(count) ? trans[i] : 255;
            }
        }
        else if (colorType == PNG_COLOR_TYPE_GRAY && color != nullptr)
        {
            const int level = depth == 16 ? color->gray >> 8 : color->gray & ((1 << depth) - 1);
            image.transparentIndex = level;
            image.transparentColor = image.palette[static_cast<size_t>(level)];
        }
        else if (colorType == PNG_COLOR_TYPE_RGB && color != nullptr)
        {
            const int shift = depth == 16 ? 8 : 0;
            image.transparentIndex = 0;
            image.transparentColor = TRgbQuad{static_cast<uint8_t>(color->blue >> shift),
                                              static_cast<uint8_t>(color->green >> shift),
                                              static_cast<uint8_t>(color->red >> shift), 0};
        }
    }

    png_uint_32 xRes = 0;
    png_uint_32 yRes = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &xRes, &yRes, &unit) != 0)
    {
        // The resolution is kept in whole dots per inch; pixels per metre
        // follow from it, so 3779 per metre reads as 96 dpi and 3780.
        uint64_t xDpi = xRes;
        uint64_t yDpi = yRes;
        if (unit == PNG_RESOLUTION_METER)
        {
            xDpi = (xDpi * 254 + 5000) / 10000;
            yDpi = (yDpi * 254 + 5000) / 10000;
        }
        image.xDpi = ClampToInt32(xDpi);
        image.yDpi = ClampToInt32(yDpi);
        image.xDpm = ClampToInt32((xDpi * 10000 + 127) / 254);
        image.yDpm = ClampToInt32((yDpi * 10000 + 127) / 254);
    }

    if (depth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_RGB || colorType == PNG_COLOR_TYPE_RGB_ALPHA)
        png_set_bgr(png);
    if (interlace != PNG_INTERLACE_NONE)
        png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const size_t rowBytes = png_get_rowbytes(png, info);
    const bool direct = depth != 2 && !withAlpha;
    if (direct && rowBytes > static_cast<size_t>(image.RowBytes()))
        png_error(png, "unexpected row size");
    r.rows.resize(height);
    if (direct)
    {
        for (png_uint_32 y = 0; y < height; ++y)
            r.rows[y] = image.Row(static_cast<int32_t>(height - 1 - y));
    }
    else
    {
        r.scratch.assign(rowBytes * height, 0);
        for (png_uint_32 y = 0; y < height; ++y)
            r.rows[y] = r.scratch.data() + static_cast<size_t>(y) * rowBytes;
    }
    png_read_image(png, r.rows.data());
    r.imageEnd = r.in->Tell();
    if (!direct)
        ConvertScratch(r, colorType, depth, rowBytes);
    image.format = kFormatPng;
    return true;
}

bool ReadPng(png_structp png, png_infop info, TPngReader& r)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    return ReadPngBody(png, info, r);
}

// ---- writing

struct TPngWriter : TPngErrorSink
{
    CByteStream* out = nullptr;
    const TImageData* image = nullptr;
    int colorType = 0;
    int depth = 8;
    int32_t swapIndex = 0; // palette entry exchanged with entry 0 while writing
    std::vector<png_color> plte;
    std::vector<uint8_t> row;
    uint8_t remap[256] = {};
    // Set when only the opening of the block is wanted (see EncodedOpening):
    // what is written goes here instead, and writing stops once it holds
    // the zlib header.
    std::vector<uint8_t>* opening = nullptr;
    size_t idatSize = 0; // the data size of every IDAT chunk but the last
};

constexpr uint8_t kIdat[4] = {'I', 'D', 'A', 'T'};
constexpr size_t kZlibHeaderSize = 2;

uint32_t GetU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// Where the first IDAT chunk starts in a PNG stream, or 0 before it has come.
size_t FirstIdat(const std::vector<uint8_t>& bytes)
{
    size_t pos = 8;
    while (pos + 8 <= bytes.size())
    {
        if (std::memcmp(bytes.data() + pos + 4, kIdat, 4) == 0)
            return pos;
        pos += 12 + static_cast<size_t>(GetU32(bytes.data() + pos));
    }
    return 0;
}

void OnPngWrite(png_structp png, png_bytep data, size_t length)
{
    auto* writer = static_cast<TPngWriter*>(png_get_io_ptr(png));
    if (writer->opening != nullptr)
    {
        std::vector<uint8_t>& opening = *writer->opening;
        opening.insert(opening.end(), data, data + length);
        const size_t idat = FirstIdat(opening);
        if (idat != 0 && opening.size() >= idat + 8 + kZlibHeaderSize)
        {
            opening.resize(idat + 8 + kZlibHeaderSize);
            png_error(png, "opening written");
        }
        return;
    }
    if (writer->out->Write(data, length) != length)
        png_error(png, "write failed");
}

void OnPngFlush(png_structp) {}

void PutU16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

void PutU32(uint8_t* p, uint32_t v)
{
    PutU16(p, v >> 16);
    PutU16(p + 2, v & 0xFFFF);
}

bool IsGreyRamp(const TImageData& image)
{
    const size_t n = image.palette.size();
    if (n != (size_t{1} << image.bpp))
        return false;
    for (size_t i = 0; i < n; ++i)
    {
        const TRgbQuad& e = image.palette[i];
        const auto level = static_cast<uint8_t>(i * 255 / (n - 1));
        if (e.red != level || e.green != level || e.blue != level)
            return false;
    }
    return true;
}

// Fills w.row with output row y (0 = top) when it cannot be passed as stored.
const uint8_t* OutputRow(TPngWriter& w, int32_t y)
{
    const TImageData& image = *w.image;
    const int32_t stored = image.height - 1 - y;
    const uint8_t* src = image.Row(stored);
    const int32_t width = image.width;
    if (w.colorType == PNG_COLOR_TYPE_RGB)
        return src; // libpng swaps blue and red itself
    if (w.colorType == PNG_COLOR_TYPE_GRAY || w.colorType == PNG_COLOR_TYPE_PALETTE)
    {
        if (w.swapIndex == 0)
            return src;
        const size_t count = static_cast<size_t>(image.RowBytes());
        for (size_t i = 0; i < count; ++i)
            w.row[i] = w.remap[src[i]];
        return w.row.data();
    }
    const uint8_t* alpha = image.alpha.data() + static_cast<size_t>(stored) * width;
    uint8_t* dst = w.row.data();
    if (w.colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    {
        for (int32_t x = 0; x < width; ++x)
        {
            dst[2 * x] = image.GetColor(x, stored).red;
            dst[2 * x + 1] = alpha[x];
        }
        return dst;
    }
    if (image.bpp == 24)
    {
        for (int32_t x = 0; x < width; ++x)
        {
            dst[4 * x] = src[3 * x + 2];
            dst[4 * x + 1] = src[3 * x + 1];
            dst[4 * x + 2] = src[3 * x];
            dst[4 * x + 3] = alpha[x];
        }
        return dst;
    }
    for (int32_t x = 0; x < width; ++x)
    {
        const TRgbQuad c = image.GetColor(x, stored);
        dst[4 * x] = c.red;
        dst[4 * x + 1] = c.green;
        dst[4 * x + 2] = c.blue;
        dst[4 * x + 3] = alpha[x];
    }
    return dst;
}

void WriteChunk(png_structp png, const char* name, const uint8_t* data, size_t size)
{
    png_write_chunk(png, reinterpret_cast<png_const_bytep>(name), data, size);
}

__attribute__((noinline)) void WritePngBody(png_structp png, png_infop info, TPngWriter& w)
{
    const TImageData& image = *w.image;
    const bool palette = w.colorType == PNG_COLOR_TYPE_PALETTE;
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
                 w.depth, w.colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (palette)
        png_set_PLTE(png, info, w.plte.data(), static_cast<int>(w.plte.size()));
    png_set_write_fn(png, &w, OnPngWrite, OnPngFlush);
    png_write_info_before_PLTE(png, info);

    uint8_t bkgd[6] = {};
    size_t bkgdSize = 0;
    if (palette)
    {
        bkgdSize = 1; // entry 0
    }
    else if (w.colorType == PNG_COLOR_TYPE_GRAY || w.colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    {
        bkgdSize = 2; // level 0
    }
    else
    {
        TRgbQuad c{255, 255, 255, 0};
        if (image.transparentIndex >= 0)
            c = image.transparentColor;
        PutU16(bkgd, c.red);
        PutU16(bkgd + 2, c.green);
        PutU16(bkgd + 4, c.blue);
        bkgdSize = 6;
    }
    uint8_t phys[9] = {};
    PutU32(phys, static_cast<uint32_t>(std::max(image.xDpm, 0)));
    PutU32(phys + 4, static_cast<uint32_t>(std::max(image.yDpm, 0)));
    phys[8] = PNG_RESOLUTION_METER;

    uint8_t trns[256] = {};
    size_t trnsSize = 0;
    if (image.transparentIndex >= 0)
    {
        if (palette)
        {
            if (static_cast<size_t>(image.transparentIndex) < w.plte.size())
                trnsSize = 1; // entry 0 (after the exchange), alpha 0
        }
        else if (w.colorType == PNG_COLOR_TYPE_GRAY)
        {
            if (image.transparentIndex < (1 << w.depth))
            {
                PutU16(trns, static_cast<uint32_t>(image.transparentIndex));
                trnsSize = 2;
            }
        }
        else if (w.colorType == PNG_COLOR_TYPE_RGB)
        {
            PutU16(trns, image.transparentColor.red);
            PutU16(trns + 2, image.transparentColor.green);
            PutU16(trns + 4, image.transparentColor.blue);
            trnsSize = 6;
        }
    }
    else if (image.alphaPaletteEnabled && palette)
    {
        trnsSize = w.plte.size();
        for (size_t i = 0; i < trnsSize; ++i)
            trns[i] = image.palette[i].reserved;
    }

    // A background index has to follow the palette it refers to; otherwise
    // background and resolution come straight after the header.
    if (!palette)
        WriteChunk(png, "bKGD", bkgd, bkgdSize);
    WriteChunk(png, "pHYs", phys, sizeof phys);
    png_write_info(png, info);
    if (palette)
        WriteChunk(png, "bKGD", bkgd, bkgdSize);
    if (trnsSize > 0)
        WriteChunk(png, "tRNS", trns, trnsSize);

    if (w.colorType == PNG_COLOR_TYPE_RGB)
        png_set_bgr(png);
    w.idatSize = png_get_compression_buffer_size(png);
    if (w.opening != nullptr)
    {
        // The zlib header comes with the first compressed bytes: a small
        // buffer and a flush after the first row bring them out at once.
        png_set_compression_buffer_size(png, 6);
    }
    for (int32_t y = 0; y < image.height; ++y)
    {
        png_write_row(png, OutputRow(w, y));
        if (w.opening != nullptr && y == 0 && image.height > 1)
            png_write_flush(png);
    }
    png_write_end(png, nullptr);
}

bool WritePng(png_structp png, png_infop info, TPngWriter& w)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    WritePngBody(png, info, w);
    return true;
}

// Chooses colour type, depth and palette for writing the image; false when
// it has nothing to write.
bool PrepareWriter(const TImageData& image, TPngWriter& w)
{
    if (!image.HasPixels() || (image.bpp != 24 && image.palette.empty()) ||
        image.bits.size() < static_cast<size_t>(image.RowBytes()) * static_cast<size_t>(image.height) ||
        (!image.alpha.empty() && image.alpha.size() < static_cast<size_t>(image.width) * image.height))
        return false;
    w.image = &image;
    const bool hasAlpha = !image.alpha.empty();
    const bool paletteImage = image.bpp != 24;
    // A grey palette with alpha bytes of its own stays a palette: grey
    // PNGs cannot carry them.
    const bool grey = paletteImage && !image.alphaPaletteEnabled && IsGreyRamp(image);
    if (hasAlpha)
    {
        w.colorType = grey ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_RGB_ALPHA;
        w.depth = 8;
        w.row.resize(static_cast<size_t>(image.width) * (grey ? 2 : 4));
    }
    else if (paletteImage)
    {
        w.colorType = grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_PALETTE;
        w.depth = image.bpp;
    }
    else
    {
        w.colorType = PNG_COLOR_TYPE_RGB;
        w.depth = 8;
    }

    if (w.colorType == PNG_COLOR_TYPE_PALETTE)
    {
        const size_t count = std::min(image.palette.size(), size_t{1} << image.bpp);
        w.plte.resize(count);
        for (size_t i = 0; i < count; ++i)
            w.plte[i] = png_color{image.palette[i].red, image.palette[i].green, image.palette[i].blue};
        // tRNS with one entry can only name entry 0: write the transparent
        // entry there and the former entry 0 in its place.
        if (image.transparentIndex > 0 && static_cast<size_t>(image.transparentIndex) < count)
        {
            w.swapIndex = image.transparentIndex;
            std::swap(w.plte[0], w.plte[static_cast<size_t>(w.swapIndex)]);
            const int perByte = 8 / image.bpp;
            const int mask = (1 << image.bpp) - 1;
            for (int b = 0; b < 256; ++b)
            {
                int mapped = 0;
                for (int k = 0; k < perByte; ++k)
                {
                    const int shift = k * image.bpp;
                    int v = (b >> shift) & mask;
                    if (v == 0)
                        v = w.swapIndex;
                    else if (v == w.swapIndex)
                        v = 0;
                    mapped |= v << shift;
                }
                w.remap[b] = static_cast<uint8_t>(mapped);
            }
            w.row.resize(static_cast<size_t>(image.RowBytes()));
        }
    }
    return true;
}

// Runs libpng over a prepared writer. False with the reason in error; a
// writer after its opening only stops early.
bool RunWriter(TPngWriter& w, std::string& error)
{
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, static_cast<TPngErrorSink*>(&w), OnPngError, OnPngWarning);
    if (png == nullptr)
    {
        error = "Failed to create PNG structure";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr)
    {
        png_destroy_write_struct(&png, nullptr);
        error = "Failed to initialize PNG info structure";
        return false;
    }
    bool ok = false;
    try
    {
        ok = WritePng(png, info, w);
    }
    catch (const std::bad_alloc&)
    {
    }
    png_destroy_write_struct(&png, &info);
    if (!ok)
    {
        error = "Error saving PNG file";
        return false;
    }
    return true;
}

// What Encode writes for the image up to the end of the zlib header that
// begins the compressed data (chunks before the first IDAT, that chunk's
// length and name, two bytes of its data), and the data size of its IDAT
// chunks; only the first row is compressed to learn it. False when Encode
// would write nothing.
bool EncodedOpeningOnce(const TImageData& image, std::vector<uint8_t>& opening, size_t& idatSize)
{
    TPngWriter w;
    if (!PrepareWriter(image, w))
        return false;
    opening.clear();
    w.opening = &opening;
    std::string error;
    RunWriter(w, error);
    idatSize = w.idatSize;
    const size_t idat = FirstIdat(opening);
    return idat != 0 && opening.size() == idat + 8 + kZlibHeaderSize && idatSize > 0;
}

// The opening depends on the picture's size, depth, palette, transparency
// and resolution, never on its rows: pictures alike in those (a library of
// photographs of one size) share one, learnt once.
bool EncodedOpening(const TImageData& image, std::vector<uint8_t>& opening, size_t& idatSize)
{
    std::string key;
    const auto put = [&key](int64_t v) { key.append(reinterpret_cast<const char*>(&v), sizeof v); };
    for (int64_t v : {int64_t{image.width}, int64_t{image.height}, int64_t{image.bpp}, int64_t{image.alpha.empty()},
                      int64_t{image.alphaPaletteEnabled}, int64_t{image.transparentIndex}, int64_t{image.xDpm},
                      int64_t{image.yDpm}})
        put(v);
    const auto colour = [&key](const TRgbQuad& c)
    { key.append({char(c.blue), char(c.green), char(c.red), char(c.reserved)}); };
    colour(image.transparentColor);
    for (const TRgbQuad& c : image.palette)
        colour(c);

    struct TOpening
    {
        bool ok = false;
        std::vector<uint8_t> bytes;
        size_t idatSize = 0;
    };
    static std::mutex mutex;
    static std::map<std::string, TOpening> learnt;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (const auto found = learnt.find(key); found != learnt.end())
        {
            opening = found->second.bytes;
            idatSize = found->second.idatSize;
            return found->second.ok;
        }
    }
    TOpening made;
    made.ok = EncodedOpeningOnce(image, made.bytes, made.idatSize);
    opening = made.bytes;
    idatSize = made.idatSize;
    const bool ok = made.ok;
    const std::lock_guard<std::mutex> lock(mutex);
    if (learnt.size() >= 64)
        learnt.clear();
    learnt.emplace(std::move(key), std::move(made));
    return ok;
}

class CPngCodec : public CImageCodec
{
public:
    bool Decode(CByteStream& in, TImageData& out, std::string& error) override
    {
        m_cleanEnd = -1;
        TPngReader reader;
        reader.in = &in;
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, static_cast<TPngErrorSink*>(&reader),
                                                 OnPngError, OnPngWarning);
        if (png == nullptr)
        {
            error = "Decode: Failed to create PNG structure";
            return false;
        }
        png_infop info = png_create_info_struct(png);
        if (info == nullptr)
        {
            png_destroy_read_struct(&png, nullptr, nullptr);
            error = "Decode: Failed to initialize PNG info structure";
            return false;
        }
        png_set_read_fn(png, &reader, OnPngRead);
        bool ok = false;
        try
        {
            ok = ReadPng(png, info, reader);
        }
        catch (const std::bad_alloc&)
        {
            reader.error = "Decode: out of memory";
        }
        png_destroy_read_struct(&png, &info, nullptr);
        if (!ok)
        {
            if (!reader.error.empty())
                error = reader.error;
            else
                error =
                    std::string("Decode: ") + (reader.message[0] != 0 ? reader.message : "damaged PNG data");
            return false;
        }
        if (!reader.warned)
            m_cleanEnd = reader.imageEnd;
        out = std::move(reader.image);
        return true;
    }

    // Whether a block is exactly what Encode writes for the picture decoded
    // from it, so that it can stand for that encoding. Encode is a function
    // of the picture: its chunks before the image data, their order and
    // every byte of them, follow from the fields decoding sets, and its
    // image data is zlib (with the header, level and window libpng chooses
    // for the picture's size) over filtered rows that hold exactly the
    // samples decoding read. So the block must be, byte for byte:
    // - everything before the first IDAT as Encode writes it for the picture
    //   decoded (signature, IHDR, bKGD, pHYs, PLTE, tRNS, with their CRCs);
    // - the zlib header Encode's compressor writes for it;
    // - IDAT chunks as libpng cuts them, each full but the last, and the
    //   compressed stream ending exactly at the end of the last, checked by
    //   libpng on decoding (CRCs, the Adler-32, no data to spare, no warning);
    // - then IEND and nothing after it.
    // A block Encode wrote passes, and encoding the picture again gives it
    // back. What this cannot prove is that another compressor, writing the
    // same header into the same chunks, chose the same deflate blocks and
    // row filters: such a block (another build of this program over another
    // zlib) is kept as it came, still a faithful PNG of the same pixels.
    bool DecodedAsEncoded(const uint8_t* data, size_t size, const TImageData& image) override
    {
        if (m_cleanEnd < 0 || data == nullptr)
            return false;
        // Encode turns pixels of the transparent colour transparent first;
        // decoding never gives such a picture.
        if (image.bpp == 24 && !image.alpha.empty() && image.transparentIndex >= 0)
            return false;
        std::vector<uint8_t> opening;
        size_t idatSize = 0;
        if (!EncodedOpening(image, opening, idatSize))
            return false;
        const size_t idat = opening.size() - 8 - kZlibHeaderSize;
        if (size < opening.size() || std::memcmp(data, opening.data(), idat) != 0 ||
            std::memcmp(data + idat + 4, kIdat, 4) != 0 ||
            std::memcmp(data + idat + 8, opening.data() + idat + 8, kZlibHeaderSize) != 0)
            return false;
        size_t pos = idat;
        uint32_t last = 0;
        while (pos + 12 <= size && std::memcmp(data + pos + 4, kIdat, 4) == 0)
        {
            if (last != 0 && last != idatSize)
                return false; // only the last chunk may be short
            last = GetU32(data + pos);
            if (last == 0 || last > idatSize || last > size - pos - 12)
                return false;
            pos += 12 + last;
        }
        static const uint8_t kIend[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
        return static_cast<int64_t>(pos) == m_cleanEnd && size - pos == sizeof kIend &&
               std::memcmp(data + pos, kIend, sizeof kIend) == 0;
    }

    bool Encode(TImageData& image, CByteStream& out, std::string& error) override
    {
        TPngWriter w;
        if (!PrepareWriter(image, w))
        {
            error = "Encode: the image has no pixels";
            return false;
        }
        w.out = &out;
        if (image.bpp == 24 && !image.alpha.empty() && image.transparentIndex >= 0)
        {
            const TRgbQuad key = image.transparentColor;
            for (int32_t y = 0; y < image.height; ++y)
            {
                const uint8_t* p = image.Row(y);
                uint8_t* a = image.alpha.data() + static_cast<size_t>(y) * image.width;
                for (int32_t x = 0; x < image.width; ++x, p += 3)
                    if (p[0] == key.blue && p[1] == key.green && p[2] == key.red)
                        a[x] = 0;
            }
        }
        return RunWriter(w, error);
    }

private:
    // After a decode that gave no warning: where the image data ended.
    int64_t m_cleanEnd = -1;
};

} // namespace

std::unique_ptr<CImageCodec> MakePngCodec()
{
    return std::make_unique<CPngCodec>();
}
