#include "ImageBuffer.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct TChunk
{
    std::string name;
    std::vector<uint8_t> data;
};

std::vector<TChunk> ChunksOf(const uint8_t* bytes, size_t size)
{
    std::vector<TChunk> chunks;
    size_t pos = 8;
    while (pos + 12 <= size)
    {
        const uint32_t length = (uint32_t{bytes[pos]} << 24) | (uint32_t{bytes[pos + 1]} << 16) |
                                (uint32_t{bytes[pos + 2]} << 8) | bytes[pos + 3];
        if (pos + 12 + length > size)
            break;
        chunks.push_back({std::string(reinterpret_cast<const char*>(bytes + pos + 4), 4),
                          std::vector<uint8_t>(bytes + pos + 8, bytes + pos + 8 + length)});
        pos += 12 + length;
    }
    return chunks;
}

const TChunk* Find(const std::vector<TChunk>& chunks, const std::string& name)
{
    for (const TChunk& c : chunks)
        if (c.name == name)
            return &c;
    return nullptr;
}

// An encoded block, freed with free() as its callers must.
struct TBlock
{
    uint8_t* data = nullptr;
    int32_t size = 0;
    ~TBlock() { std::free(data); }
    std::vector<TChunk> Chunks() const { return ChunksOf(data, static_cast<size_t>(size)); }
};

// libpng's own expansion to 8-bit RGBA, as an independent reading of a file:
// palette and grey expanded, tRNS turned into alpha.
struct TReference
{
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
    std::vector<png_bytep> rows;
};

bool ReadReferenceInner(png_structp png, png_infop info, TReference& ref)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    ref.width = png_get_image_width(png, info);
    ref.height = png_get_image_height(png, info);
    ref.rgba.resize(size_t{ref.width} * ref.height * 4);
    ref.rows.resize(ref.height);
    for (uint32_t y = 0; y < ref.height; ++y)
        ref.rows[y] = ref.rgba.data() + size_t{y} * ref.width * 4;
    png_read_image(png, ref.rows.data());
    return true;
}

bool ReadReference(const fs::path& path, TReference& ref)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    const bool ok = ReadReferenceInner(png, info, ref);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return ok;
}

std::vector<std::string> FilesIn(const char* folder)
{
    std::vector<std::string> names;
    const fs::path dir = fs::path(QEL_FIXTURES_DIR) / folder;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        if (entry.path().extension() == ".png")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool IsTransparent(const TImageData& d, int32_t x, int32_t y)
{
    if (d.transparentIndex < 0)
        return false;
    if (d.bpp != 24)
        return d.GetIndex(x, y) == d.transparentIndex;
    const TRgbQuad c = d.GetColor(x, y);
    return c.red == d.transparentColor.red && c.green == d.transparentColor.green &&
           c.blue == d.transparentColor.blue;
}

// Same colours, alpha plane and transparency, pixel by pixel.
void ExpectSamePicture(const TImageData& a, const TImageData& b)
{
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    ASSERT_EQ(a.alpha.size(), b.alpha.size());
    EXPECT_EQ(a.alphaPaletteEnabled, b.alphaPaletteEnabled);
    EXPECT_EQ(a.transparentIndex >= 0, b.transparentIndex >= 0);
    int mismatches = 0;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
        {
            bool same =
                a.GetColor(x, y) == b.GetColor(x, y) && IsTransparent(a, x, y) == IsTransparent(b, x, y);
            if (!a.alpha.empty())
                same = same && a.alpha[size_t(y) * a.width + x] == b.alpha[size_t(y) * b.width + x];
            if (a.alphaPaletteEnabled)
                same = same && a.palette[a.GetIndex(x, y)].reserved == b.palette[b.GetIndex(x, y)].reserved;
            mismatches += same ? 0 : 1;
        }
    EXPECT_EQ(mismatches, 0);
}

class PngSuite : public testing::TestWithParam<std::string>
{
};

// The file name tells colour type and depth: basn3p04 = type 3 at depth 4.
TEST_P(PngSuite, DecodesToTheModelOfItsColourType)
{
    const std::string name = GetParam();
    const fs::path path = fs::path(QEL_FIXTURES_DIR) / "pngsuite" / name;
    const int type = name[name.size() - 8] - '0';
    const int depth = std::stoi(name.substr(name.size() - 6, 2));
    const std::vector<uint8_t> bytes = ReadBytes(path);
    const std::vector<TChunk> chunks = ChunksOf(bytes.data(), bytes.size());
    const TChunk* trns = Find(chunks, "tRNS");

    CImageBuffer image;
    ASSERT_TRUE(image.Decode(bytes.data(), bytes.size(), kFormatPng)) << image.GetLastError();
    const TImageData& d = image.Data();
    EXPECT_EQ(d.format, kFormatPng);

    const bool paletteType = type == 0 || type == 3;
    const int32_t bpp = paletteType ? (depth == 2 ? 4 : depth == 16 ? 8 : depth) : (type == 4 ? 8 : 24);
    ASSERT_EQ(d.bpp, bpp);
    EXPECT_EQ(d.palette.size(), bpp == 24 ? 0u : (size_t{1} << bpp));
    EXPECT_EQ(d.alpha.size(), (type == 4 || type == 6) ? size_t(d.width) * d.height : 0u);
    if (type == 0 || type == 4)
    {
        const int levels = depth == 2 ? 4 : depth >= 8 ? 256 : 1 << depth;
        for (int i = 0; i < levels; ++i)
        {
            const auto v = static_cast<uint8_t>(i * 255 / (levels - 1));
            EXPECT_EQ(d.palette[i], (TRgbQuad{v, v, v, 0})) << "entry " << i;
        }
    }

    if (trns == nullptr)
    {
        EXPECT_EQ(d.transparentIndex, -1);
        EXPECT_FALSE(d.alphaPaletteEnabled);
    }
    else if (type == 3)
    {
        EXPECT_EQ(d.alphaPaletteEnabled, trns->data.size() > 1);
        EXPECT_EQ(d.transparentIndex, trns->data.size() == 1 ? 0 : -1);
    }
    else
    {
        EXPECT_EQ(d.transparentIndex,
                  type == 2 ? 0 : (trns->data[0] << 8 | trns->data[1]) >> (depth == 16 ? 8 : 0));
    }

    TReference ref;
    ASSERT_TRUE(ReadReference(path, ref));
    ASSERT_EQ(d.width, static_cast<int32_t>(ref.width));
    ASSERT_EQ(d.height, static_cast<int32_t>(ref.height));
    int wrongColour = 0;
    int wrongAlpha = 0;
    for (int32_t y = 0; y < d.height; ++y)
        for (int32_t x = 0; x < d.width; ++x)
        {
            const uint8_t* r = ref.rgba.data() + (size_t(y) * ref.width + x) * 4;
            const int32_t stored = d.height - 1 - y;
            const TRgbQuad c = d.GetColor(x, stored);
            wrongColour += (c.red != r[0] || c.green != r[1] || c.blue != r[2]) ? 1 : 0;
            int alpha = 255;
            if (!d.alpha.empty())
                alpha = d.alpha[size_t(stored) * d.width + x];
            else if (d.alphaPaletteEnabled)
                alpha = d.palette[d.GetIndex(x, stored)].reserved;
            else if (type == 3 && d.transparentIndex == 0)
                alpha = d.GetIndex(x, stored) == 0 ? trns->data[0] : 255;
            else if (IsTransparent(d, x, stored))
                alpha = r[3] == 0 ? 0 : 255; // 16-bit keys may match more after reduction
            wrongAlpha += alpha != r[3] ? 1 : 0;
        }
    EXPECT_EQ(wrongColour, 0);
    EXPECT_EQ(wrongAlpha, 0);
}

TEST_P(PngSuite, SurvivesAnEncodeRoundTrip)
{
    const std::vector<uint8_t> bytes = ReadBytes(fs::path(QEL_FIXTURES_DIR) / "pngsuite" / GetParam());
    CImageBuffer image;
    ASSERT_TRUE(image.Decode(bytes.data(), bytes.size(), kFormatPng));
    TBlock block;
    ASSERT_TRUE(image.Encode(&block.data, &block.size, kFormatPng)) << image.GetLastError();
    CImageBuffer again;
    ASSERT_TRUE(again.Decode(block.data, static_cast<size_t>(block.size), kFormatPng))
        << again.GetLastError();
    ExpectSamePicture(image.Data(), again.Data());
}

INSTANTIATE_TEST_SUITE_P(Files, PngSuite, testing::ValuesIn(FilesIn("pngsuite")),
                         [](const testing::TestParamInfo<std::string>& info)
                         { return info.param.substr(0, info.param.size() - 4); });

// A missing fixture folder would leave the suite above with no cases at all.
TEST(PngSuiteFixtures, LieInTheCheckout)
{
    EXPECT_EQ(fs::path(QEL_FIXTURES_DIR).parent_path(), fs::path(QEL_SOURCE_DIR) / "tests");
    EXPECT_GE(FilesIn("pngsuite").size(), 50u);
}

TEST(PngDecode, DamagedFilesAreRefusedOrReadWithoutHarm)
{
    const std::vector<std::string> files = FilesIn("png-malformed");
    ASSERT_FALSE(files.empty());
    CImageBuffer original;
    original.Data().Create(3, 2, 24);
    original.Data().bits[0] = 42;
    for (const std::string& name : files)
    {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = ReadBytes(fs::path(QEL_FIXTURES_DIR) / "png-malformed" / name);
        CImageBuffer image(original);
        if (image.Decode(bytes.data(), bytes.size(), kFormatPng))
        {
            EXPECT_TRUE(image.Data().HasPixels());
        }
        else
        {
            EXPECT_FALSE(image.GetLastError().empty());
            EXPECT_EQ(image.Data().bits, original.Data().bits);
            EXPECT_EQ(image.GetWidth(), 3u);
        }
        // Every prefix of a damaged file is refused or read too.
        for (size_t cut = 8; cut < bytes.size(); cut += 1 + bytes.size() / 16)
        {
            CImageBuffer part(original);
            if (!part.Decode(bytes.data(), cut, kFormatPng))
            {
                EXPECT_EQ(part.Data().bits, original.Data().bits);
            }
        }
    }
}

TEST(PngDecode, RefusesOversizeBeforeReading)
{
    // A header announcing 20000 x 10 pixels, then an empty IDAT.
    std::vector<uint8_t> bytes = {0x89, 'P', 'N', 'G',  '\r', '\n', 0x1A, '\n', 0,  0, 0, 13, 'I', 'H', 'D',
                                  'R',  0,   0,   0x4E, 0x20, 0,    0,    0,    10, 8, 2, 0,  0,   0};
    const uint32_t crc = static_cast<uint32_t>(crc32(0, bytes.data() + 12, 17));
    for (int shift : {24, 16, 8, 0})
        bytes.push_back(static_cast<uint8_t>(crc >> shift));
    const uint8_t idat[] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
    bytes.insert(bytes.end(), std::begin(idat), std::end(idat));
    CImageBuffer image;
    EXPECT_FALSE(image.Decode(bytes.data(), bytes.size(), kFormatPng));
    EXPECT_NE(image.GetLastError().find("too large (20000 x 10)"), std::string::npos) << image.GetLastError();
    EXPECT_EQ(image.GetWidth(), 0u);
}

TImageData Picture(int32_t width, int32_t height, int32_t bpp)
{
    TImageData d;
    d.Create(width, height, bpp);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
        {
            if (bpp == 24)
                d.SetColor(x, y, TRgbQuad{uint8_t(x * 40), uint8_t(y * 50), uint8_t(x * y), 0});
            else
                d.SetIndex(x, y, static_cast<uint8_t>((x + y * width) % d.palette.size()));
        }
    for (size_t i = 0; i < d.palette.size(); ++i)
        d.palette[i] = TRgbQuad{uint8_t(i * 7), uint8_t(200 - i), uint8_t(i * 13 + 1), 0};
    return d;
}

TEST(PngEncode, RefusesAnOccupiedOutPointerAndAnEmptyImage)
{
    CImageBuffer image;
    image.Data() = Picture(4, 4, 24);
    uint8_t marker = 0;
    uint8_t* out = &marker;
    int32_t size = 77;
    EXPECT_FALSE(image.Encode(&out, &size, kFormatPng));
    EXPECT_EQ(image.GetLastError(), "the buffer must be empty");
    EXPECT_EQ(out, &marker);
    EXPECT_EQ(size, 0);

    CImageBuffer empty;
    out = nullptr;
    size = 77;
    EXPECT_FALSE(empty.Encode(&out, &size, kFormatPng));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(size, 0);
}

TEST(PngEncode, RgbaWritesTypeSixWithWhiteBackgroundInChunkOrder)
{
    CImageBuffer image;
    image.Data() = Picture(5, 3, 24);
    image.Data().alpha = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 255};
    image.Data().xDpm = 2835;
    image.Data().yDpm = 5670;
    TBlock block;
    ASSERT_TRUE(image.Encode(&block.data, &block.size, kFormatPng));
    const std::vector<TChunk> chunks = block.Chunks();
    ASSERT_GE(chunks.size(), 5u);
    EXPECT_EQ(chunks[0].name, "IHDR");
    EXPECT_EQ(chunks[0].data[8], 8);  // depth
    EXPECT_EQ(chunks[0].data[9], 6);  // colour type
    EXPECT_EQ(chunks[0].data[12], 0); // not interlaced
    EXPECT_EQ(chunks[1].name, "bKGD");
    EXPECT_EQ(chunks[1].data, (std::vector<uint8_t>{0, 255, 0, 255, 0, 255}));
    EXPECT_EQ(chunks[2].name, "pHYs");
    EXPECT_EQ(chunks[2].data, (std::vector<uint8_t>{0, 0, 0x0B, 0x13, 0, 0, 0x16, 0x26, 1}));
    EXPECT_EQ(chunks[3].name, "IDAT");
    EXPECT_EQ(chunks.back().name, "IEND");

    CImageBuffer again;
    ASSERT_TRUE(again.Decode(block.data, static_cast<size_t>(block.size), kFormatPng));
    ExpectSamePicture(image.Data(), again.Data());
    EXPECT_EQ(again.Data().xDpi, 72);
    EXPECT_EQ(again.Data().yDpi, 144);
}

TEST(PngDecode, ResolutionIsKeptInWholeDotsPerInch)
{
    struct TCase
    {
        int32_t written; // pixels per metre in the file
        int32_t dpi;
        int32_t kept; // pixels per metre after decoding, written again by Encode
    };
    for (const TCase c : {TCase{2835, 72, 2835}, TCase{3779, 96, 3780}, TCase{5670, 144, 5669}})
    {
        SCOPED_TRACE(c.written);
        CImageBuffer image;
        image.Data() = Picture(2, 2, 24);
        image.Data().xDpm = c.written;
        image.Data().yDpm = c.written;
        TBlock block;
        ASSERT_TRUE(image.Encode(&block.data, &block.size, kFormatPng));
        CImageBuffer again;
        ASSERT_TRUE(again.Decode(block.data, static_cast<size_t>(block.size), kFormatPng));
        EXPECT_EQ(again.Data().xDpi, c.dpi);
        EXPECT_EQ(again.Data().yDpm, c.kept);
        TBlock second;
        ASSERT_TRUE(again.Encode(&second.data, &second.size, kFormatPng));
        const std::vector<TChunk> chunks = second.Chunks();
        const TChunk* phys = Find(chunks, "pHYs");
        ASSERT_NE(phys, nullptr);
        const auto k = static_cast<uint32_t>(c.kept);
        EXPECT_EQ(phys->data, (std::vector<uint8_t>{0, 0, uint8_t(k >> 8), uint8_t(k), 0, 0, uint8_t(k >> 8),
                                                     uint8_t(k), 1}));
    }
}

TEST(PngEncode, TransparentColourOfAnRgbaImageBecomesAlphaZero)
{
    CImageBuffer image;
    image.Data() = Picture(4, 4, 24);
    image.Data().alpha.assign(16, 200);
    image.Data().transparentIndex = 0;
    image.Data().transparentColor = image.Data().GetColor(1, 2);
    TBlock block;
    ASSERT_TRUE(image.Encode(&block.data, &block.size, kFormatPng));
    // The change is made in the image itself and stays.
    EXPECT_EQ(image.Data().alpha[2 * 4 + 1], 0);
    EXPECT_EQ(image.Data().alpha[2 * 4 + 2], 200);
    const std::vector<TChunk> chunks = block.Chunks();
    const TChunk* bkgd = Find(chunks, "bKGD");
    ASSERT_NE(bkgd, nullptr);
    const TRgbQuad key = image.Data().transparentColor;
    EXPECT_EQ(bkgd->data, (std::vector<uint8_t>{0, key.red, 0, key.green, 0, key.blue}));
    EXPECT_EQ(Find(chunks, "tRNS"), nullptr);
}

TEST(PngEncode, PaletteTransparencyRoundTrips)
{
    struct TCase
    {
        int32_t bpp;
        int32_t transparentIndex;
    };
    for (const TCase c : {TCase{8, 0}, TCase{4, 5}, TCase{8, 5}, TCase{1, 1}})
    {
        SCOPED_TRACE(testing::Message() << "bpp " << c.bpp << " index " << c.transparentIndex);
        CImageBuffer image;
        image.Data() = Picture(9, 5, c.bpp);
        image.Data().transparentIndex = c.transparentIndex;
        const TImageData before = image.Data();
        TBlock block;
        ASSERT_TRUE(image.Encode(&block.data, &block.size, kFormatPng));

        // The image in memory is as it was.
        EXPECT_EQ(image.Data().bits, before.bits);
        EXPECT_EQ(image.Data().palette, before.palette);

        const std::vector<TChunk> chunks = block.Chunks();
        std::vector<std::string> names;
        for (const TChunk& chunk : chunks)
            names.push_back(chunk.name);
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 6),
                  (std::vector<std::string>{"IHDR", "pHYs", "PLTE", "bKGD", "tRNS", "IDAT"}));
        EXPECT_EQ(chunks[0].data[9], 3);
        EXPECT_EQ(chunks[0].data[8], c.bpp);
        EXPECT_EQ(Find(chunks, "tRNS")->data, std::vector<uint8_t>{0});
        const std::vector<uint8_t>& plte = Find(chunks, "PLTE")->data;
        ASSERT_EQ(plte.size(), before.palette.size() * 3);
        const TRgbQuad& key = before.palette[size_t(c.transparentIndex)];
        EXPECT_EQ(plte[0], key.red);
        EXPECT_EQ(plte[2], key.blue);
        if (c.transparentIndex != 0)
        {
            EXPECT_EQ(plte[3 * c.transparentIndex], before.palette[0].red);
            EXPECT_EQ(plte[3 * c.transparentIndex + 1], before.palette[0].green);
        }

        CImageBuffer again;
        ASSERT_TRUE(again.Decode(block.data, static_cast<size_t>(block.size), kFormatPng));
        EXPECT_EQ(again.Data().transparentIndex, 0);
        ExpectSamePicture(before, again.Data());
        for (int32_t y = 0; y < before.height; ++y)
            for (int32_t x = 0; x < before.width; ++x)
            {
                const int was = before.GetIndex(x, y);
                const int expected = was == c.transparentIndex ? 0 : (was == 0 ? c.transparentIndex : was);
                ASSERT_EQ(again.Data().GetIndex(x, y), expected);
            }
    }
}

TEST(PngEncode, GreyRampsAreWrittenAsGreyscale)
{
    for (const int32_t bpp : {1, 4, 8})
    {
        SCOPED_TRACE(bpp);
        CImageBuffer image;
        image.Data() = Picture(6, 3, bpp);
        const size_t n = image.Data().palette.size();
        for (size_t i = 0; i < n; ++i)
        {
            const auto v = static_cast<uint8_t>(i * 255 / (n - 1));
            image.Data().palette[i] = TRgbQuad{v, v, v, 0};
        }
        image.Data().transparentIndex = 1;
        TBlock block;
        ASSERT_TRUE(image.Encode(&block.data, &block.size, kFormatPng));
        const std::vector<TChunk> chunks = block.Chunks();
        EXPECT_EQ(chunks[0].data[9], 0);
        EXPECT_EQ(chunks[0].data[8], bpp);
        EXPECT_EQ(Find(chunks, "PLTE"), nullptr);
        EXPECT_EQ(Find(chunks, "bKGD")->data, (std::vector<uint8_t>{0, 0}));
        EXPECT_EQ(Find(chunks, "tRNS")->data, (std::vector<uint8_t>{0, 1}));
        CImageBuffer again;
        ASSERT_TRUE(again.Decode(block.data, static_cast<size_t>(block.size), kFormatPng));
        EXPECT_EQ(again.Data().bits, image.Data().bits);
        EXPECT_EQ(again.Data().transparentIndex, 1);
    }
}

} // namespace
