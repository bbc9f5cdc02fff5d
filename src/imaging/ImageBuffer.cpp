#include "ImageBuffer.h"

#include "RegularFile.h"

#include "ByteStream.h"
#include "ImageCodec.h"
#include "Raster.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace
{

struct TFileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool DecodeWith(CImageCodec* codec, int32_t format, CByteStream& in, TImageData& out, std::string& error)
{
    if (codec == nullptr)
    {
        error = "Decode: format not supported";
        return false;
    }
    try
    {
        if (!codec->Decode(in, out, error))
            return false;
    }
    catch (const std::exception&)
    {
        error = "Decode: out of memory";
        return false;
    }
    if (out.format == kFormatUnknown)
        out.format = format;
    return out.HasPixels();
}

bool DecodeWith(int32_t format, CByteStream& in, TImageData& out, std::string& error)
{
    return DecodeWith(MakeImageCodec(format).get(), format, in, out, error);
}

// Tries every codec that recognises pictures by content, from the start of
// the stream each time. When none succeeds, a codec that knew the format but
// refused the picture's size gives the error, so that a caller can tell a
// picture too large from data that is no picture.
bool DecodeByContent(CByteStream& in, TImageData& out, std::string& error)
{
    int count = 0;
    const int32_t* order = ContentProbeOrder(&count);
    std::string sizeRefusal;
    for (int i = 0; i < count; ++i)
    {
        if (!in.Seek(0))
            break;
        TImageData scratch;
        std::string reason;
        if (DecodeWith(order[i], in, scratch, reason))
        {
            out = std::move(scratch);
            return true;
        }
        if (sizeRefusal.empty() && IsSizeRefusal(reason))
            sizeRefusal = std::move(reason);
    }
    error = sizeRefusal.empty() ? "Decode: Unknown or wrong format" : sizeRefusal;
    return false;
}

// The cubic B-spline, in single precision and in the order of operations the
// stored pictures were scaled with, so results match bit for bit.
inline float Cube(float s)
{
    return s > 0.0f ? s * s * s : 0.0f;
}

float KernelBSpline(float t)
{
    if (t > 2.0f)
        return 0.0f;
    return (Cube(t + 2.0f) - 4.0f * Cube(t + 1.0f) + 6.0f * Cube(t) - 4.0f * Cube(t - 1.0f)) * 0.16666667f;
}

// Nearest palette entry, remembering recent answers: resampled palette
// pictures ask for the same few colours over and over.
class CNearestEntry
{
public:
    explicit CNearestEntry(const std::vector<TRgbQuad>& palette) : m_palette(palette) { m_keys.fill(0); }

    uint8_t Find(uint8_t r, uint8_t g, uint8_t b)
    {
        const uint32_t key = (static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b) + 1;
        const uint32_t slot = (key * 2654435761u) >> 20;
        if (m_keys[slot] == key)
            return m_values[slot];
        int32_t best = 0;
        int32_t bestDistance = 1 << 30;
        for (size_t i = 0; i < m_palette.size(); ++i)
        {
            const int32_t db = m_palette[i].blue - b;
            const int32_t dg = m_palette[i].green - g;
            const int32_t dr = m_palette[i].red - r;
            const int32_t distance = db * db + dg * dg + dr * dr;
            if (distance < bestDistance)
            {
                bestDistance = distance;
                best = static_cast<int32_t>(i);
            }
        }
        m_keys[slot] = key;
        m_values[slot] = static_cast<uint8_t>(best);
        return static_cast<uint8_t>(best);
    }

private:
    const std::vector<TRgbQuad>& m_palette;
    std::array<uint32_t, 4096> m_keys;
    std::array<uint8_t, 4096> m_values{};
};

TImageData EmptyLike(const TImageData& source)
{
    TImageData result;
    result.alphaMax = source.alphaMax;
    result.xDpm = source.xDpm;
    result.yDpm = source.yDpm;
    result.xDpi = source.xDpi;
    result.yDpi = source.yDpi;
    result.format = source.format;
    return result;
}

void CopySettings(const TImageData& source, TImageData& result)
{
    result.palette = source.palette;
    result.alphaMax = source.alphaMax;
    result.transparentIndex = source.transparentIndex;
    result.transparentColor = source.transparentColor;
    result.alphaPaletteEnabled = source.alphaPaletteEnabled;
}

} // namespace

void CImageBuffer::SetError(const std::string& text)
{
    m_lastError = text.substr(0, 255);
}

bool CImageBuffer::Load(const std::string& path, int32_t format)
{
    std::string reason;
    std::unique_ptr<std::FILE, TFileCloser> file(OpenRegularFileStream(path, reason));
    if (file == nullptr)
    {
        SetError("Load: cannot open the file (" + reason + ")");
        return false;
    }
    CFileStream stream(file.get());
    TImageData scratch;
    std::string error;
    bool ok = false;
    if (format != kFormatUnknown && MakeImageCodec(format) != nullptr)
        ok = DecodeWith(format, stream, scratch, error);
    else
        ok = DecodeByContent(stream, scratch, error);
    if (!ok)
    {
        SetError(error);
        return false;
    }
    m_data = std::move(scratch);
    m_png.reset();
    return true;
}

bool CImageBuffer::Decode(const uint8_t* data, size_t size, int32_t format)
{
    if (data == nullptr || size == 0)
    {
        SetError("Decode: no data");
        return false;
    }
    CMemoryStream stream(data, size);
    TImageData scratch;
    std::string error;
    std::unique_ptr<CImageCodec> codec = format == kFormatUnknown ? nullptr : MakeImageCodec(format);
    const bool ok = format == kFormatUnknown ? DecodeByContent(stream, scratch, error)
                                             : DecodeWith(codec.get(), format, stream, scratch, error);
    if (!ok)
    {
        SetError(error);
        return false;
    }
    m_data = std::move(scratch);
    m_png.reset();
    if (format == kFormatPng && codec->DecodedAsEncoded(data, size, m_data))
        m_png = std::make_shared<const std::vector<uint8_t>>(data, data + size);
    return true;
}

bool CImageBuffer::Encode(uint8_t** out, int32_t* size, int32_t format)
{
    if (size != nullptr)
        *size = 0;
    if (out == nullptr || size == nullptr)
    {
        SetError("Encode: no place for the result");
        return false;
    }
    if (*out != nullptr)
    {
        SetError("the buffer must be empty");
        return false;
    }
    if (!m_data.HasPixels())
    {
        SetError("Encode: the image has no pixels");
        return false;
    }
    if (format == kFormatPng)
    {
        const std::vector<uint8_t>* png = PngBlock();
        if (png == nullptr)
            return false;
        *out = static_cast<uint8_t*>(std::malloc(png->size()));
        if (*out == nullptr)
        {
            SetError("Encode: out of memory");
            return false;
        }
        std::memcpy(*out, png->data(), png->size());
        *size = static_cast<int32_t>(png->size());
        return true;
    }
    std::unique_ptr<CImageCodec> codec = MakeImageCodec(format);
    if (codec == nullptr)
    {
        SetError("Encode: format not supported");
        return false;
    }
    CMemoryStream stream;
    std::string error;
    if (!codec->Encode(m_data, stream, error))
    {
        SetError(error);
        return false;
    }
    if (stream.Size() <= 0 || stream.Size() > INT32_MAX)
    {
        SetError("Error saving PNG file");
        return false;
    }
    size_t length = 0;
    *out = stream.Detach(&length);
    *size = static_cast<int32_t>(length);
    return true;
}

const std::vector<uint8_t>* CImageBuffer::PngBlock()
{
    if (m_png != nullptr)
        return m_png.get();
    if (!m_data.HasPixels())
    {
        SetError("Encode: the image has no pixels");
        return nullptr;
    }
    CMemoryStream stream;
    std::string error;
    if (!MakeImageCodec(kFormatPng)->Encode(m_data, stream, error))
    {
        SetError(error);
        return nullptr;
    }
    if (stream.Size() <= 0 || stream.Size() > INT32_MAX)
    {
        SetError("Error saving PNG file");
        return nullptr;
    }
    m_png = std::make_shared<const std::vector<uint8_t>>(stream.Data(), stream.Data() + stream.Size());
    return m_png.get();
}

bool CImageBuffer::Resample(int32_t newWidth, int32_t newHeight, int32_t mode, CImageBuffer* dest)
{
    if (newWidth <= 0 || newHeight <= 0)
    {
        SetError("Resample: the new size is empty");
        return false;
    }
    if (!m_data.HasPixels())
    {
        SetError("Resample: the image has no pixels");
        return false;
    }
    if (mode != 2)
    {
        SetError("Resample: mode not supported");
        return false;
    }
    const TImageData& src = m_data;
    if (newWidth == src.width && newHeight == src.height)
    {
        if (dest != nullptr && dest != this)
        {
            dest->m_data = m_data;
            dest->m_png = m_png;
        }
        return true;
    }
    std::string reason;
    if (!ImageSizeAllowed(newWidth, newHeight, reason))
    {
        SetError("Resample: " + reason);
        return false;
    }

    TImageData result = EmptyLike(src);
    result.Create(newWidth, newHeight, src.bpp);
    CopySettings(src, result);

    const int32_t width = src.width;
    const int32_t height = src.height;
    // Palette sources are read through their palette: expand them once.
    std::vector<uint8_t> expanded;
    const uint8_t* pixels = src.bits.data();
    size_t stride = static_cast<size_t>(src.RowBytes());
    if (src.bpp != 24)
    {
        stride = static_cast<size_t>(width) * 3;
        expanded.resize(stride * height);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
            {
                const TRgbQuad c = src.GetColor(x, y);
                uint8_t* p = expanded.data() + y * stride + 3 * static_cast<size_t>(x);
                p[0] = c.blue;
                p[1] = c.green;
                p[2] = c.red;
            }
        pixels = expanded.data();
    }

    const float xScale = static_cast<float>(width) / static_cast<float>(newWidth);
    const float yScale = static_cast<float>(height) / static_cast<float>(newHeight);

    // Column taps and weights depend on x only.
    std::vector<int32_t> columnOffset(static_cast<size_t>(newWidth) * 4);
    std::vector<float> columnWeight(static_cast<size_t>(newWidth) * 4);
    for (int32_t x = 0; x < newWidth; ++x)
    {
        const float fx = static_cast<float>(x) * xScale - 0.5f;
        const float fxFloor = std::floor(fx);
        const auto ix = static_cast<int32_t>(fxFloor);
        const float b = fx - fxFloor;
        for (int32_t n = -1; n <= 2; ++n)
        {
            columnOffset[x * 4 + n + 1] = 3 * std::clamp(ix + n, 0, width - 1);
            columnWeight[x * 4 + n + 1] = KernelBSpline(b - static_cast<float>(n));
        }
    }

    CNearestEntry nearest(result.palette);
    for (int32_t y = 0; y < newHeight; ++y)
    {
        const float fy = static_cast<float>(y) * yScale - 0.5f;
        const float fyFloor = std::floor(fy);
        const auto iy = static_cast<int32_t>(fyFloor);
        const float a = fy - fyFloor;
        const uint8_t* rows[4];
        float rowWeight[4];
        for (int32_t m = -1; m <= 2; ++m)
        {
            rows[m + 1] = pixels + static_cast<size_t>(std::clamp(iy + m, 0, height - 1)) * stride;
            rowWeight[m + 1] = KernelBSpline(static_cast<float>(m) - a);
        }
        uint8_t* out = result.Row(y);
        for (int32_t x = 0; x < newWidth; ++x)
        {
            const int32_t* offsets = &columnOffset[x * 4];
            const float* weights = &columnWeight[x * 4];
            float sumR = 0.0f;
            float sumG = 0.0f;
            float sumB = 0.0f;
            for (int32_t m = 0; m < 4; ++m)
            {
                const uint8_t* row = rows[m];
                for (int32_t n = 0; n < 4; ++n)
                {
                    const float w = rowWeight[m] * weights[n];
                    const uint8_t* p = row + offsets[n];
                    sumR += static_cast<float>(p[2]) * w;
                    sumG += static_cast<float>(p[1]) * w;
                    sumB += static_cast<float>(p[0]) * w;
                }
            }
            const auto r = static_cast<uint8_t>(std::clamp(static_cast<int32_t>(sumR), 0, 255));
            const auto g = static_cast<uint8_t>(std::clamp(static_cast<int32_t>(sumG), 0, 255));
            const auto b = static_cast<uint8_t>(std::clamp(static_cast<int32_t>(sumB), 0, 255));
            if (result.bpp == 24)
            {
                out[3 * x] = b;
                out[3 * x + 1] = g;
                out[3 * x + 2] = r;
            }
            else
            {
                result.SetIndex(x, y, nearest.Find(r, g, b));
            }
        }
    }

    if (!src.alpha.empty())
    {
        result.alpha.resize(static_cast<size_t>(newWidth) * newHeight);
        for (int32_t y = 0; y < newHeight; ++y)
        {
            const int32_t sy = std::min(static_cast<int32_t>(static_cast<float>(y) * yScale), height - 1);
            for (int32_t x = 0; x < newWidth; ++x)
            {
                const int32_t sx = std::min(static_cast<int32_t>(static_cast<float>(x) * xScale), width - 1);
                result.alpha[static_cast<size_t>(y) * newWidth + x] =
                    src.alpha[static_cast<size_t>(sy) * width + sx];
            }
        }
    }

    if (dest != nullptr)
    {
        dest->m_data = std::move(result);
        dest->m_png.reset();
    }
    else
    {
        m_data = std::move(result);
        m_png.reset();
    }
    return true;
}

bool CImageBuffer::RotateRight(CImageBuffer* dest)
{
    if (!m_data.HasPixels())
    {
        SetError("RotateRight: the image has no pixels");
        return false;
    }
    const TImageData& src = m_data;
    TImageData result = EmptyLike(src);
    result.Create(src.height, src.width, src.bpp);
    CopySettings(src, result);
    const int32_t newWidth = result.width;
    const int32_t newHeight = result.height;
    for (int32_t y = 0; y < newHeight; ++y)
    {
        const int32_t sx = newHeight - 1 - y;
        uint8_t* out = result.Row(y);
        for (int32_t x = 0; x < newWidth; ++x)
        {
            // Result (x, y) comes from source (newHeight - 1 - y, x).
            if (src.bpp == 24)
            {
                const uint8_t* p = src.Row(x) + 3 * sx;
                out[3 * x] = p[0];
                out[3 * x + 1] = p[1];
                out[3 * x + 2] = p[2];
            }
            else
            {
                result.SetIndex(x, y, src.GetIndex(sx, x));
            }
        }
    }
    if (!src.alpha.empty())
    {
        result.alpha.resize(src.alpha.size());
        for (int32_t y = 0; y < newHeight; ++y)
            for (int32_t x = 0; x < newWidth; ++x)
                result.alpha[static_cast<size_t>(y) * newWidth + x] =
                    src.alpha[static_cast<size_t>(x) * src.width + (newHeight - 1 - y)];
    }
    if (dest != nullptr)
    {
        dest->m_data = std::move(result);
        dest->m_png.reset();
    }
    else
    {
        m_data = std::move(result);
        m_png.reset();
    }
    return true;
}

bool CImageBuffer::Draw(CRaster* raster, int32_t x, int32_t y, int32_t width, int32_t height,
                        const TRect* clip, bool smooth)
{
    (void)smooth;
    const TImageData& img = m_data;
    if (!img.HasPixels() || raster == nullptr || width == 0 || height == 0)
        return false;
    if (width < 0)
        width = img.width;
    if (height < 0)
        height = img.height;

    raster->SaveState();
    if (clip != nullptr)
        raster->IntersectClip(*clip);
    const TRect area = TRect64::OfSize(x, y, width, height).Intersect(raster->GetClip());
    if (area.IsEmpty())
    {
        raster->RestoreState();
        return true;
    }

    // Another size than the picture's own is drawn by nearest pixel.
    const bool ownSize = width == img.width && height == img.height;
    std::vector<int32_t> columnMap;
    if (!ownSize)
    {
        columnMap.resize(static_cast<size_t>(area.Width()));
        for (int32_t px = area.left; px < area.right; ++px)
            columnMap[px - area.left] =
                static_cast<int32_t>(static_cast<int64_t>(px - x) * img.width / width);
    }

    const bool palette = img.bpp != 24;
    std::array<TColor, 256> colors{};
    std::array<int32_t, 256> entryAlpha{};
    if (palette)
        for (size_t i = 0; i < img.palette.size() && i < 256; ++i)
        {
            const TRgbQuad& e = img.palette[i];
            colors[i] = Rgb(e.red, e.green, e.blue);
            entryAlpha[i] = e.reserved;
        }
    const bool hasAlpha = !img.alpha.empty();
    const bool alphaPalette = palette && img.alphaPaletteEnabled;
    const bool keyed = img.transparentIndex >= 0;
    const bool plain = !hasAlpha && !keyed && !alphaPalette;
    const int32_t alphaScale = img.alphaMax + 1;
    const TRgbQuad key = img.transparentColor;

    TColor* target = raster->Pixels();
    const int32_t stride = raster->Width();
    for (int32_t py = area.top; py < area.bottom; ++py)
    {
        const int32_t fromTop =
            ownSize ? py - y : static_cast<int32_t>(static_cast<int64_t>(py - y) * img.height / height);
        const int32_t stored = img.height - 1 - fromTop;
        const uint8_t* row = img.Row(stored);
        const uint8_t* alphaRow =
            hasAlpha ? img.alpha.data() + static_cast<size_t>(stored) * img.width : nullptr;
        TColor* out = target + static_cast<size_t>(py) * stride;
        for (int32_t px = area.left; px < area.right; ++px)
        {
            const int32_t sx = ownSize ? px - x : columnMap[px - area.left];
            TColor color;
            int32_t entry = -1;
            if (palette)
            {
                entry = img.bpp == 8 ? row[sx] : img.GetIndex(sx, stored);
                color = colors[entry];
            }
            else
            {
                const uint8_t* p = row + 3 * sx;
                color = Rgb(p[2], p[1], p[0]);
            }
            if (plain)
            {
                out[px] = color;
                continue;
            }
            if (keyed && (palette ? entry == img.transparentIndex
                                  : (RedOf(color) == key.red && GreenOf(color) == key.green &&
                                     BlueOf(color) == key.blue)))
                continue;
            int32_t a = (hasAlpha ? alphaRow[sx] : 255) * alphaScale / 256;
            if (alphaPalette)
                a = a * (entryAlpha[entry] + 1) / 256;
            if (a == 0)
                continue;
            if (a == 255)
            {
                out[px] = color;
                continue;
            }
            const TColor d = out[px];
            const int32_t keep = 255 - a;
            const auto mix = [&](uint8_t dc, uint8_t sc)
            { return static_cast<uint8_t>((dc * keep + sc * a) / 256); };
            out[px] = Rgb(mix(RedOf(d), RedOf(color)), mix(GreenOf(d), GreenOf(color)),
                          mix(BlueOf(d), BlueOf(color)));
        }
    }
    raster->RestoreState();
    return true;
}

bool CImageBuffer::DrawSection(CRaster* raster, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx,
                               int32_t sy)
{
    // 64-bit: a piece far off the raster must not wrap round onto it.
    const int64_t atX = int64_t{x} - sx;
    const int64_t atY = int64_t{y} - sy;
    if (raster == nullptr || atX < INT32_MIN || atX > INT32_MAX || atY < INT32_MIN || atY > INT32_MAX)
        return raster != nullptr && m_data.HasPixels();
    const TRect clip = TRect64::OfSize(x, y, w, h).Intersect(raster->GetClip());
    if (clip.IsEmpty())
        return m_data.HasPixels();
    return Draw(raster, static_cast<int32_t>(atX), static_cast<int32_t>(atY), -1, -1, &clip);
}

TRgbQuad CImageBuffer::GetPixelColor(int32_t x, int32_t yStored, bool includeAlpha) const
{
    const TImageData& img = m_data;
    if (!img.HasPixels() || x < 0 || yStored < 0 || x >= img.width || yStored >= img.height)
        return TRgbQuad{};
    TRgbQuad color;
    if (img.bpp == 24)
    {
        color = img.GetColor(x, yStored);
        color.reserved = img.transparentColor.reserved;
    }
    else
    {
        const uint8_t index = img.GetIndex(x, yStored);
        if (index < img.palette.size())
            color = img.palette[index];
    }
    if (includeAlpha && !img.alpha.empty())
        color.reserved = img.alpha[static_cast<size_t>(yStored) * img.width + x];
    return color;
}
