#include "ImageBuffer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace
{

using TBytes = std::vector<uint8_t>;

// What a picture encodes to from scratch, with no block kept.
TBytes FreshPng(const TImageData& data)
{
    CImageBuffer image;
    image.Data() = data;
    uint8_t* block = nullptr;
    int32_t size = 0;
    EXPECT_TRUE(image.Encode(&block, &size, kFormatPng)) << image.GetLastError();
    TBytes bytes(block, block + size);
    std::free(block);
    return bytes;
}

TBytes EncodeOf(CImageBuffer& image)
{
    uint8_t* block = nullptr;
    int32_t size = 0;
    EXPECT_TRUE(image.Encode(&block, &size, kFormatPng)) << image.GetLastError();
    TBytes bytes(block, block + size);
    std::free(block);
    return bytes;
}

struct TPictureCase
{
    const char* name;
    std::function<void(TImageData&)> make;
};

void Fill(TImageData& d, int32_t width, int32_t height, int32_t bpp, uint32_t seed, int noise)
{
    d.Create(width, height, bpp);
    std::mt19937 random(seed);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
        {
            if (bpp == 24)
                d.SetColor(x, y,
                           TRgbQuad{uint8_t(x + random() % (noise + 1)), uint8_t(y * 3), uint8_t((x ^ y) + random() % (noise + 1)), 0});
            else
                d.SetIndex(x, y, static_cast<uint8_t>((x / 3 + y + random() % (noise + 1)) % d.palette.size()));
        }
    for (size_t i = 0; i < d.palette.size(); ++i)
        d.palette[i] = TRgbQuad{uint8_t(i * 7), uint8_t(200 - i), uint8_t(i * 13 + 1), 0};
}

// One picture of each kind Encode writes, small ones whose zlib window
// libpng narrows and a noisy one spread over many IDAT chunks.
const std::vector<TPictureCase>& Pictures()
{
    static const std::vector<TPictureCase> cases = {
        {"rgb 1x1", [](TImageData& d) { Fill(d, 1, 1, 24, 1, 0); }},
        {"rgb 13x7", [](TImageData& d) { Fill(d, 13, 7, 24, 2, 3); }},
        {"rgb noisy 320x240", [](TImageData& d) { Fill(d, 320, 240, 24, 3, 255); }},
        {"rgb smooth 320x240", [](TImageData& d) { Fill(d, 320, 240, 24, 4, 2); }},
        {"rgb with transparent colour",
         [](TImageData& d)
         {
             Fill(d, 40, 30, 24, 5, 8);
             d.transparentIndex = 0;
             d.transparentColor = d.GetColor(3, 4);
         }},
        {"rgba",
         [](TImageData& d)
         {
             Fill(d, 64, 48, 24, 6, 8);
             d.alpha.resize(64 * 48);
             for (size_t i = 0; i < d.alpha.size(); ++i)
                 d.alpha[i] = static_cast<uint8_t>(i * 5);
         }},
        {"palette 8", [](TImageData& d) { Fill(d, 50, 20, 8, 7, 4); }},
        {"palette 4 at 72 dpi",
         [](TImageData& d)
         {
             Fill(d, 33, 9, 4, 8, 2);
             d.xDpm = d.yDpm = 2835;
         }},
        {"palette 1", [](TImageData& d) { Fill(d, 17, 5, 1, 9, 1); }},
        {"palette 8, transparent entry 5",
         [](TImageData& d)
         {
             Fill(d, 20, 20, 8, 10, 4);
             d.transparentIndex = 5;
         }},
        {"palette 4 with alpha palette",
         [](TImageData& d)
         {
             Fill(d, 20, 20, 4, 11, 4);
             d.alphaPaletteEnabled = true;
             for (size_t i = 0; i < d.palette.size(); ++i)
                 d.palette[i].reserved = static_cast<uint8_t>(i * 16);
         }},
        {"grey 8 with alpha",
         [](TImageData& d)
         {
             Fill(d, 30, 30, 8, 12, 9);
             for (size_t i = 0; i < d.palette.size(); ++i)
                 d.palette[i] = TRgbQuad{uint8_t(i), uint8_t(i), uint8_t(i), 0};
             d.alpha.assign(30 * 30, 128);
         }},
        {"grey 8",
         [](TImageData& d)
         {
             Fill(d, 300, 200, 8, 13, 255);
             for (size_t i = 0; i < d.palette.size(); ++i)
                 d.palette[i] = TRgbQuad{uint8_t(i), uint8_t(i), uint8_t(i), 0};
         }},
    };
    return cases;
}

TEST(KeptPngBlock, OurOwnBlocksAreKeptAndGiveTheirVeryBytesBack)
{
    for (const TPictureCase& c : Pictures())
    {
        SCOPED_TRACE(c.name);
        TImageData data;
        c.make(data);
        const TBytes written = FreshPng(data);
        CImageBuffer image;
        ASSERT_TRUE(image.Decode(written.data(), written.size(), kFormatPng));
        EXPECT_TRUE(image.HasPngBlock());
        EXPECT_EQ(EncodeOf(image), written);
        // What makes keeping it right: the pixels read encode to it afresh.
        EXPECT_EQ(FreshPng(image.Data()), written);
    }
}

// PNG chunks: name and data; written back with their lengths and CRCs.
struct TChunk
{
    std::string name;
    TBytes data;
};

std::vector<TChunk> Chunks(const TBytes& png)
{
    std::vector<TChunk> chunks;
    for (size_t pos = 8; pos + 12 <= png.size();)
    {
        const size_t length = size_t(png[pos]) << 24 | size_t(png[pos + 1]) << 16 | size_t(png[pos + 2]) << 8 |
                              png[pos + 3];
        chunks.push_back({std::string(png.begin() + pos + 4, png.begin() + pos + 8),
                          TBytes(png.begin() + pos + 8, png.begin() + pos + 8 + length)});
        pos += 12 + length;
    }
    return chunks;
}

TBytes Join(const std::vector<TChunk>& chunks)
{
    TBytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const TChunk& chunk : chunks)
    {
        const auto length = static_cast<uint32_t>(chunk.data.size());
        for (int shift : {24, 16, 8, 0})
            png.push_back(static_cast<uint8_t>(length >> shift));
        TBytes body(chunk.name.begin(), chunk.name.end());
        body.insert(body.end(), chunk.data.begin(), chunk.data.end());
        png.insert(png.end(), body.begin(), body.end());
        const auto crc = static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
        for (int shift : {24, 16, 8, 0})
            png.push_back(static_cast<uint8_t>(crc >> shift));
    }
    return png;
}

// The image data of all IDAT chunks, put back as one chunk per piece.
std::vector<TChunk> Rechunk(const std::vector<TChunk>& chunks, const std::function<std::vector<TBytes>(TBytes)>& cut)
{
    std::vector<TChunk> out;
    TBytes stream;
    for (const TChunk& chunk : chunks)
    {
        if (chunk.name == "IDAT")
        {
            stream.insert(stream.end(), chunk.data.begin(), chunk.data.end());
            continue;
        }
        if (chunk.name == "IEND")
            for (TBytes& piece : cut(stream))
                out.push_back({"IDAT", std::move(piece)});
        out.push_back(chunk);
    }
    return out;
}

TBytes Recompress(const TBytes& stream, int level, int strategy)
{
    uLongf rawSize = 4 << 20;
    TBytes raw(rawSize);
    EXPECT_EQ(uncompress(raw.data(), &rawSize, stream.data(), static_cast<uLong>(stream.size())), Z_OK);
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, 15, 8, strategy);
    TBytes out(deflateBound(&z, rawSize));
    z.next_in = raw.data();
    z.avail_in = static_cast<uInt>(rawSize);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

TEST(KeptPngBlock, BlocksLaidOutOtherwiseAreEncodedOnceAsBefore)
{
    TImageData data;
    Fill(data, 320, 240, 24, 21, 255);
    const TBytes ours = FreshPng(data);
    const std::vector<TChunk> chunks = Chunks(ours);
    ASSERT_GT(chunks.size(), 6u) << "the picture should fill several IDAT chunks";

    const auto withChunk = [&](size_t at, TChunk extra)
    {
        std::vector<TChunk> changed = chunks;
        changed.insert(changed.begin() + static_cast<long>(at), std::move(extra));
        return Join(changed);
    };
    const auto whole = [](TBytes s) { return std::vector<TBytes>{std::move(s)}; };
    const auto halves = [](TBytes s)
    {
        const auto mid = s.begin() + static_cast<long>(s.size() / 2);
        return std::vector<TBytes>{TBytes(s.begin(), mid), TBytes(mid, s.end())};
    };
    const auto recompressed = [](int level, int strategy)
    {
        return [=](TBytes s)
        {
            TBytes z = Recompress(s, level, strategy);
            std::vector<TBytes> pieces;
            for (size_t at = 0; at < z.size(); at += 8192)
                pieces.emplace_back(z.begin() + static_cast<long>(at),
                                    z.begin() + static_cast<long>(std::min(z.size(), at + 8192)));
            return pieces;
        };
    };
    TBytes trailing = ours;
    trailing.push_back(0);
    TBytes extraData = Join(Rechunk(chunks,
                                    [](TBytes s)
                                    {
                                        s.push_back(0); // after the end of the zlib stream
                                        return std::vector<TBytes>{std::move(s)};
                                    }));
    TImageData lowDpi = data;
    lowDpi.xDpm = 3779; // read back as 96 dpi, written again as 3780

    const struct
    {
        const char* name;
        TBytes block;
    } cases[] = {
        {"text chunk before the image data", withChunk(2, {"tEXt", {'a', 0, 'b'}})},
        {"text chunk after it", withChunk(chunks.size() - 1, {"tEXt", {'a', 0, 'b'}})},
        {"image data in one chunk", Join(Rechunk(chunks, whole))},
        {"image data in two halves", Join(Rechunk(chunks, halves))},
        {"compressed at level 9", Join(Rechunk(chunks, recompressed(9, Z_DEFAULT_STRATEGY)))},
        {"compressed at level 1", Join(Rechunk(chunks, recompressed(1, Z_DEFAULT_STRATEGY)))},
        {"a byte after IEND", trailing},
        {"a byte after the zlib stream", extraData},
        {"resolution 3779 per metre", FreshPng(lowDpi)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.block, ours);
        CImageBuffer image;
        ASSERT_TRUE(image.Decode(c.block.data(), c.block.size(), kFormatPng));
        EXPECT_FALSE(image.HasPngBlock());
        const TBytes fresh = FreshPng(image.Data());
        EXPECT_EQ(EncodeOf(image), fresh);
        EXPECT_TRUE(image.HasPngBlock()) << "the encoding is kept";
        EXPECT_EQ(EncodeOf(image), fresh);
    }
}

TEST(KeptPngBlock, ChangingThePixelsDropsTheBlock)
{
    TImageData data;
    Fill(data, 40, 30, 24, 31, 16);
    const TBytes written = FreshPng(data);
    const auto kept = [&]
    {
        CImageBuffer image;
        EXPECT_TRUE(image.Decode(written.data(), written.size(), kFormatPng));
        EXPECT_TRUE(image.HasPngBlock());
        return image;
    };
    const struct
    {
        const char* name;
        std::function<void(CImageBuffer&)> change;
    } cases[] = {
        {"a pixel through Data", [](CImageBuffer& i) { i.Data().SetColor(1, 1, TRgbQuad{1, 2, 3, 0}); }},
        {"the resolution through Data", [](CImageBuffer& i) { i.Data().xDpm = 2835; }},
        {"resampled", [](CImageBuffer& i) { EXPECT_TRUE(i.Resample(20, 15)); }},
        {"turned", [](CImageBuffer& i) { EXPECT_TRUE(i.RotateRight()); }},
        {"decoded over", [&](CImageBuffer& i)
         {
             const TBytes other = FreshPng([] { TImageData d; Fill(d, 5, 5, 8, 3, 1); return d; }());
             TBytes foreign = Join(Rechunk(Chunks(other), [](TBytes s) { return std::vector<TBytes>{s, {}}; }));
             EXPECT_TRUE(i.Decode(foreign.data(), foreign.size(), kFormatPng));
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CImageBuffer image = kept();
        c.change(image);
        EXPECT_FALSE(image.HasPngBlock());
        EXPECT_EQ(EncodeOf(image), FreshPng(image.Data()));
    }

    // Copies share the block, and a change to one leaves the other's.
    CImageBuffer original = kept();
    CImageBuffer copy(original);
    EXPECT_TRUE(copy.HasPngBlock());
    copy.Data().SetColor(0, 0, TRgbQuad{9, 9, 9, 0});
    EXPECT_EQ(EncodeOf(original), written);
    EXPECT_NE(EncodeOf(copy), written);
    CImageBuffer dest;
    EXPECT_TRUE(original.RotateRight(&dest));
    EXPECT_FALSE(dest.HasPngBlock());
    EXPECT_TRUE(original.HasPngBlock());
}

TEST(KeptPngBlock, DamagedBlocksKeepNothing)
{
    TImageData data;
    Fill(data, 64, 64, 24, 41, 255);
    const TBytes written = FreshPng(data);
    for (size_t cut : {written.size() - 1, written.size() - 12, written.size() / 2})
    {
        SCOPED_TRACE(cut);
        CImageBuffer image;
        if (image.Decode(written.data(), cut, kFormatPng))
        {
            EXPECT_FALSE(image.HasPngBlock());
        }
        else
        {
            EXPECT_FALSE(image.HasPixels());
        }
    }
    TBytes flipped = written;
    flipped[flipped.size() / 2] ^= 0x40;
    CImageBuffer image;
    if (image.Decode(flipped.data(), flipped.size(), kFormatPng))
    {
        EXPECT_FALSE(image.HasPngBlock());
    }
}

} // namespace
