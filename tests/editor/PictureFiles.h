#pragma once

#include "ImageBuffer.h"

#include <QFile>
#include <QString>

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

// Picture files that tests and screenshot scenes make for themselves.

struct TPixel
{
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// A true-colour picture; colourAt is given x and y from the top-left.
inline CImageBuffer MakePicture(int32_t w, int32_t h, const std::function<TPixel(int32_t, int32_t)>& colourAt)
{
    CImageBuffer picture;
    TImageData& d = picture.Data();
    if (!d.Create(w, h, 24))
        return picture;
    for (int32_t y = 0; y < h; ++y)
    {
        uint8_t* row = d.Row(h - 1 - y);
        for (int32_t x = 0; x < w; ++x)
        {
            const TPixel c = colourAt(x, y);
            row[3 * x] = c.blue;
            row[3 * x + 1] = c.green;
            row[3 * x + 2] = c.red;
        }
    }
    return picture;
}

// A picture whose pixels differ across it, so that scaling shows.
inline CImageBuffer PatternPicture(int32_t w, int32_t h)
{
    return MakePicture(w, h,
                       [](int32_t x, int32_t y)
                       {
                           return TPixel{static_cast<uint8_t>(x * 3), static_cast<uint8_t>(y * 5),
                                         static_cast<uint8_t>((x + y) & 0xFF)};
                       });
}

inline bool WriteBytes(const QString& path, const void* data, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(static_cast<const char*>(data), size) == size;
}

// The picture as a PNG file.
inline bool WritePng(const QString& path, CImageBuffer picture)
{
    uint8_t* block = nullptr;
    int32_t size = 0;
    if (!picture.Encode(&block, &size, kFormatPng))
        return false;
    const std::unique_ptr<uint8_t, decltype(&std::free)> owned(block, &std::free);
    return WriteBytes(path, block, size);
}

// A PNG file announcing a picture of w x h without pixel data: enough for a
// reader to look at the size and refuse it.
inline bool WritePngHeader(const QString& path, uint32_t w, uint32_t h)
{
    std::vector<uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                  0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    const auto big = [&bytes](uint32_t value)
    {
        for (int shift : {24, 16, 8, 0})
            bytes.push_back(static_cast<uint8_t>(value >> shift));
    };
    big(w);
    big(h);
    bytes.insert(bytes.end(), {8, 2, 0, 0, 0});
    big(static_cast<uint32_t>(crc32(0, bytes.data() + 12, 17)));
    // An empty IDAT: readers look at the header once they reach the pixels.
    bytes.insert(bytes.end(), {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E});
    return WriteBytes(path, bytes.data(), static_cast<qint64>(bytes.size()));
}
