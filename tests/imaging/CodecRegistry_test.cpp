#include "CodecTestSupport.h"
#include "ImageBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

using namespace codectest;

TEST(CodecRegistry, CodesMapToCodecs)
{
    for (int32_t code : {kFormatBmp, kFormatGif, kFormatJpeg, kFormatPng, kFormatTiff, kFormatJp2, kFormatJ2k,
                         kFormatJpc, kFormatPgx, kFormatRaw, kFormatWebp})
        EXPECT_NE(MakeImageCodec(code), nullptr) << code;
    for (int32_t code : {int32_t{kFormatUnknown}, int32_t{kFormatIco}, int32_t{kFormatTga}, int32_t{kFormatPcx},
                         int32_t{kFormatWbmp}, int32_t{kFormatWmf}, int32_t{17}, int32_t{-1}})
        EXPECT_EQ(MakeImageCodec(code), nullptr) << code;

    int count = 0;
    const int32_t* order = ContentProbeOrder(&count);
    const std::vector<int32_t> expected = {kFormatBmp, kFormatJpeg, kFormatGif, kFormatPng,
                                           kFormatTiff, kFormatJp2, kFormatWebp};
    EXPECT_EQ(std::vector<int32_t>(order, order + count), expected);
}

struct TSample
{
    const char* name;
    int32_t format;
    TBytes bytes;
};

std::vector<TSample> Samples()
{
    TBytes bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24};
    bmp.resize(54 + 16, 0x80);
    std::fill(bmp.begin() + 29, bmp.begin() + 54, 0);
    return {
        {"BMP", kFormatBmp, bmp},
        {"JPEG", kFormatJpeg, EncodeJpeg(16, 16, false, Pattern)},
        {"GIF", kFormatGif, EncodeGif(TGifSpec{})},
        {"TIFF", kFormatTiff, EncodeTiff(5, 3, 3, COMPRESSION_NONE, Pattern)},
        {"J2K", kFormatJ2k, EncodeJpeg2000(7, 5, 3, false, Pattern)},
        {"JP2", kFormatJp2, EncodeJpeg2000(7, 5, 3, true, Pattern)},
        {"WebP", kFormatWebp, EncodeWebpLossless(5, 3, Pattern)},
    };
}

// Probing by content relies on each decoder refusing the others' files.
TEST(CodecRegistry, EachDecoderAcceptsOnlyItsOwnFormat)
{
    for (const TSample& sample : Samples())
    {
        for (int32_t code : {kFormatBmp, kFormatJpeg, kFormatGif, kFormatTiff, kFormatJp2, kFormatWebp})
        {
            const bool own = code == sample.format || (code == kFormatJp2 && sample.format == kFormatJ2k);
            TImageData image;
            std::string error;
            EXPECT_EQ(Decode(code, sample.bytes, image, error), own) << sample.name << " by codec " << code << ": " << error;
            if (own)
            {
                EXPECT_EQ(image.format, sample.format);
            }
        }
    }
}

// Damaged input fails with a reason and leaves the caller's picture alone.
TEST(CodecRegistry, DamagedInputIsRefusedAndLeavesImageAlone)
{
    uint32_t seed = 12345;
    auto noise = [&seed](size_t size) {
        TBytes bytes(size);
        for (uint8_t& b : bytes)
        {
            seed = seed * 1103515245 + 12345;
            b = static_cast<uint8_t>(seed >> 16);
        }
        return bytes;
    };
    for (const TSample& sample : Samples())
    {
        const size_t size = sample.bytes.size();
        TBytes garbage(sample.bytes.begin(), sample.bytes.begin() + 12);
        const TBytes tail = noise(300);
        garbage.insert(garbage.end(), tail.begin(), tail.end());
        const std::pair<std::string, TBytes> cases[] = {
            {"empty", TBytes{}},
            {"first 10 bytes", TBytes(sample.bytes.begin(), sample.bytes.begin() + 10)},
            {"first half", TBytes(sample.bytes.begin(), sample.bytes.begin() + size / 2)},
            {"signature and noise", garbage},
        };
        for (const auto& [name, bytes] : cases)
        {
            TImageData image;
            image.Create(3, 2, 8);
            image.SetIndex(1, 1, 7);
            const TImageData before = image;
            std::string error;
            EXPECT_FALSE(Decode(sample.format, bytes, image, error)) << sample.name << ", " << name;
            EXPECT_FALSE(error.empty()) << sample.name << ", " << name;
            EXPECT_EQ(image.width, 3);
            EXPECT_EQ(image.bits, before.bits) << sample.name << ", " << name;
        }
    }
}

void PutBig16(TBytes& b, size_t at, uint32_t v)
{
    b[at] = static_cast<uint8_t>(v >> 8);
    b[at + 1] = static_cast<uint8_t>(v);
}

void PutLittle(TBytes& b, size_t at, uint32_t v, int size)
{
    for (int i = 0; i < size; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TBytes OversizedTiff()
{
    TBytes b = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const uint16_t count = 9;
    b.resize(8 + 2 + count * 12 + 4, 0);
    PutLittle(b, 8, count, 2);
    struct TEntry
    {
        uint16_t tag, type;
        uint32_t value;
    };
    const TEntry entries[] = {{256, 4, 20000}, {257, 4, 20000}, {258, 3, 8},     {259, 3, 1},         {262, 3, 1},
                              {273, 4, 200},   {277, 3, 1},     {278, 4, 20000}, {279, 4, 400000000}};
    for (int i = 0; i < count; ++i)
    {
        const size_t at = 10 + i * 12;
        PutLittle(b, at, entries[i].tag, 2);
        PutLittle(b, at + 2, entries[i].type, 2);
        PutLittle(b, at + 4, 1, 4);
        PutLittle(b, at + 8, entries[i].value, 4);
    }
    return b;
}

// Headers announcing more than the limits are refused before any pixels are allocated.
TEST(CodecRegistry, OversizedHeadersAreRefused)
{
    TBytes bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0};
    bmp.resize(54, 0);
    PutLittle(bmp, 18, 20000, 4);
    PutLittle(bmp, 22, 20000, 4);
    PutLittle(bmp, 26, 1, 2);
    PutLittle(bmp, 28, 24, 2);

    TBytes jpeg = EncodeJpeg(16, 16, false, Pattern);
    const TBytes sofMarker = {0xFF, 0xC0};
    const size_t sofAt = static_cast<size_t>(std::search(jpeg.begin(), jpeg.end(), sofMarker.begin(), sofMarker.end()) - jpeg.begin());
    PutBig16(jpeg, sofAt + 5, 9000);  // 9000 x 9000: within each side, too many pixels
    PutBig16(jpeg, sofAt + 7, 9000);

    TBytes gif = EncodeGif(TGifSpec{});
    PutLittle(gif, 6, 20000, 2);  // logical screen width

    TBytes j2k = EncodeJpeg2000(7, 5, 3, false, Pattern);
    const uint32_t side = 20000;
    for (size_t at : {size_t{8}, size_t{12}})
        for (int i = 0; i < 4; ++i)
            j2k[at + i] = static_cast<uint8_t>(side >> (24 - 8 * i));

    const TSample cases[] = {
        {"BMP", kFormatBmp, bmp},
        {"JPEG", kFormatJpeg, jpeg},
        {"GIF", kFormatGif, gif},
        {"TIFF", kFormatTiff, OversizedTiff()},
        {"J2K", kFormatJ2k, j2k},
    };
    for (const TSample& c : cases)
    {
        TImageData image;
        std::string error;
        EXPECT_FALSE(Decode(c.format, c.bytes, image, error)) << c.name;
        EXPECT_NE(error.find("too large"), std::string::npos) << c.name << ": " << error;

        // Recognised by content, the refusal is still told apart from data
        // that is no picture.
        CImageBuffer byContent;
        EXPECT_FALSE(byContent.Decode(c.bytes.data(), c.bytes.size(), kFormatUnknown)) << c.name;
        EXPECT_TRUE(IsSizeRefusal(byContent.GetLastError())) << c.name << ": " << byContent.GetLastError();
    }
    const uint8_t text[] = "This is plain text, not a picture of any kind.";
    CImageBuffer notAPicture;
    EXPECT_FALSE(notAPicture.Decode(text, sizeof text, kFormatUnknown));
    EXPECT_FALSE(IsSizeRefusal(notAPicture.GetLastError())) << notAPicture.GetLastError();
}

}  // namespace
