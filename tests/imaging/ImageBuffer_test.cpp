#include "ImageBuffer.h"
#include "Raster.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

namespace
{

// Closed-form cubic B-spline, in double.
double BSpline(double t)
{
    t = std::fabs(t);
    if (t < 1)
        return (4 - 6 * t * t + 3 * t * t * t) / 6;
    if (t <= 2)
        return (2 - t) * (2 - t) * (2 - t) / 6;
    return 0;
}

uint8_t PatternRed(int x, int y)
{
    return static_cast<uint8_t>((x * 7 + y * 3) & 0xFF);
}
uint8_t PatternGreen(int x, int y)
{
    return static_cast<uint8_t>((x ^ y) * 5);
}
uint8_t PatternBlue(int x, int y)
{
    return static_cast<uint8_t>(((x / 8 + y / 8) & 1) ? 255 : 0);
}

TEST(ImageBufferResample, HalvingMatchesTheBSplineSum)
{
    CImageBuffer image;
    TImageData& d = image.Data();
    ASSERT_TRUE(d.Create(640, 480, 24));
    d.alpha.resize(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
        {
            d.SetColor(x, y, TRgbQuad{PatternBlue(x, y), PatternGreen(x, y), PatternRed(x, y), 0});
            d.alpha[size_t(y) * 640 + x] = static_cast<uint8_t>(x + 3 * y);
        }
    ASSERT_TRUE(image.Resample(320, 240, 2));
    ASSERT_EQ(image.GetWidth(), 320u);
    ASSERT_EQ(image.GetHeight(), 240u);

    int worst = 0;
    int wrongAlpha = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
        {
            const double fy = 2.0 * y - 0.5;
            const double fx = 2.0 * x - 0.5;
            const int iy = static_cast<int>(std::floor(fy));
            const int ix = static_cast<int>(std::floor(fx));
            double r = 0, g = 0, b = 0;
            for (int m = -1; m <= 2; ++m)
                for (int n = -1; n <= 2; ++n)
                {
                    const int sx = std::clamp(ix + n, 0, 639);
                    const int sy = std::clamp(iy + m, 0, 479);
                    const double w = BSpline(m - (fy - iy)) * BSpline((fx - ix) - n);
                    r += PatternRed(sx, sy) * w;
                    g += PatternGreen(sx, sy) * w;
                    b += PatternBlue(sx, sy) * w;
                }
            const TRgbQuad got = image.Data().GetColor(x, y);
            worst = std::max({worst, std::abs(got.red - static_cast<int>(r)),
                              std::abs(got.green - static_cast<int>(g)),
                              std::abs(got.blue - static_cast<int>(b))});
            wrongAlpha +=
                image.Data().alpha[size_t(y) * 320 + x] != static_cast<uint8_t>(2 * x + 3 * 2 * y) ? 1 : 0;
        }
    EXPECT_LE(worst, 1);
    EXPECT_EQ(wrongAlpha, 0);
}

TEST(ImageBufferResample, PaletteImagesKeepTheirPaletteAndTakeTheNearestEntry)
{
    CImageBuffer image;
    TImageData& d = image.Data();
    ASSERT_TRUE(d.Create(40, 20, 4));
    d.palette[0] = TRgbQuad{0, 0, 0, 0};
    d.palette[1] = TRgbQuad{255, 255, 255, 0};
    d.palette[2] = TRgbQuad{0, 0, 200, 0};
    d.transparentIndex = 2;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            d.SetIndex(x, y, x < 20 ? 1 : 2);
    CImageBuffer half;
    ASSERT_TRUE(image.Resample(20, 10, 2, &half));
    EXPECT_EQ(image.GetWidth(), 40u); // the source is left alone
    const TImageData& h = half.Data();
    EXPECT_EQ(h.bpp, 4);
    EXPECT_EQ(h.palette, d.palette);
    EXPECT_EQ(h.transparentIndex, 2);
    EXPECT_EQ(h.GetIndex(0, 5), 1);
    EXPECT_EQ(h.GetIndex(19, 5), 2);
    // At the edge between white and red the mix is nearest to black or red,
    // never an entry the picture does not have nearby.
    EXPECT_NE(h.GetIndex(10, 5), 3);
}

TEST(ImageBufferResample, SameSizeChangesNothingAndZeroSizeFails)
{
    CImageBuffer image;
    ASSERT_TRUE(image.Data().Create(5, 4, 24));
    image.Data().bits[7] = 99;
    const TImageData before = image.Data();

    EXPECT_TRUE(image.Resample(5, 4, 2));
    EXPECT_EQ(image.Data().bits, before.bits);
    CImageBuffer copy;
    EXPECT_TRUE(image.Resample(5, 4, 2, &copy));
    EXPECT_EQ(copy.Data().bits, before.bits);

    for (const auto& [w, h] : {std::pair{0, 4}, std::pair{5, 0}, std::pair{0, 0}})
    {
        EXPECT_FALSE(image.Resample(w, h, 2));
        EXPECT_EQ(image.GetWidth(), 5u);
        EXPECT_EQ(image.Data().bits, before.bits);
    }
    CImageBuffer empty;
    EXPECT_FALSE(empty.Resample(2, 2, 2));
}

TEST(ImageBufferRotate, TurnsAQuarterClockwise)
{
    for (const int32_t bpp : {24, 4, 1})
    {
        SCOPED_TRACE(bpp);
        CImageBuffer image;
        TImageData& d = image.Data();
        ASSERT_TRUE(d.Create(45, 130, bpp));
        d.alpha.resize(45 * 130);
        for (int y = 0; y < 130; ++y)
            for (int x = 0; x < 45; ++x)
            {
                d.SetIndex(x, y, static_cast<uint8_t>((x * 3 + y) % 7 == 0));
                d.alpha[size_t(y) * 45 + x] = static_cast<uint8_t>(x * 5 + y);
            }
        if (bpp == 24)
            for (int y = 0; y < 130; ++y)
                for (int x = 0; x < 45; ++x)
                    d.SetColor(x, y, TRgbQuad{uint8_t(x), uint8_t(y), uint8_t(x + y), 0});
        // The top-left pixel on screen is stored at (0, height - 1).
        const TRgbQuad topLeft = image.GetPixelColor(0, 129);
        const TImageData before = d;

        ASSERT_TRUE(image.RotateRight());
        const TImageData& r = image.Data();
        ASSERT_EQ(r.width, 130);
        ASSERT_EQ(r.height, 45);
        EXPECT_EQ(image.GetPixelColor(129, 44), topLeft);
        for (int y = 0; y < 45; ++y)
            for (int x = 0; x < 130; ++x)
            {
                ASSERT_EQ(r.GetColor(x, y), before.GetColor(44 - y, x));
                ASSERT_EQ(r.alpha[size_t(y) * 130 + x], before.alpha[size_t(x) * 45 + 44 - y]);
            }
    }
}

struct TDrawCase
{
    const char* name;
    int32_t bpp;
    int alpha; // -1: no alpha plane
    uint8_t alphaMax;
    int transparentIndex;
    int entryAlpha;  // -1: alpha palette off
    TColor expected; // the pixel drawn (black) over white
};

TEST(ImageBufferDraw, ComposesOverWhatTheRasterShows)
{
    const TColor white = Rgb(255, 255, 255);
    const TDrawCase cases[] = {
        {"plain true colour", 24, -1, 255, -1, -1, Rgb(0, 0, 0)},
        {"alpha 0", 24, 0, 255, -1, -1, white},
        {"alpha 128", 24, 128, 255, -1, -1, Rgb(126, 126, 126)},
        {"alpha 255", 24, 255, 255, -1, -1, Rgb(0, 0, 0)},
        {"alpha scaled by its maximum", 24, 255, 127, -1, -1, Rgb(127, 127, 127)},
        {"transparent colour", 24, -1, 255, 0, -1, white},
        {"transparent colour over alpha", 24, 255, 255, 0, -1, white},
        {"palette", 8, -1, 255, -1, -1, Rgb(0, 0, 0)},
        {"transparent index", 8, -1, 255, 0, -1, white},
        {"other transparent index", 8, -1, 255, 3, -1, Rgb(0, 0, 0)},
        {"alpha palette", 8, -1, 255, -1, 127, Rgb(127, 127, 127)},
        {"alpha palette zero", 4, -1, 255, -1, 0, white},
        {"alpha plane and alpha palette", 4, 128, 255, -1, 127, Rgb(190, 190, 190)},
    };
    for (const TDrawCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CImageBuffer image;
        TImageData& d = image.Data();
        ASSERT_TRUE(d.Create(3, 2, c.bpp)); // black pixels, palette entry 0 black
        if (c.alpha >= 0)
            d.alpha.assign(6, static_cast<uint8_t>(c.alpha));
        d.alphaMax = c.alphaMax;
        d.transparentIndex = c.transparentIndex;
        if (c.entryAlpha >= 0)
        {
            d.alphaPaletteEnabled = true;
            d.palette[0].reserved = static_cast<uint8_t>(c.entryAlpha);
        }
        CRaster raster(6, 5);
        raster.FillRect(TRect{0, 0, 6, 5}, white);
        ASSERT_TRUE(image.Draw(&raster, 2, 1));
        EXPECT_EQ(raster.GetPixel(2, 1), c.expected);
        EXPECT_EQ(raster.GetPixel(4, 2), c.expected);
        EXPECT_EQ(raster.GetPixel(1, 1), white);
        EXPECT_EQ(raster.GetPixel(5, 1), white);
        EXPECT_EQ(raster.GetPixel(2, 3), white);
    }
}

TEST(ImageBufferDraw, PlacesTheTopRowAtYAndHonoursClipAndSection)
{
    CImageBuffer image;
    TImageData& d = image.Data();
    ASSERT_TRUE(d.Create(4, 3, 24));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            d.SetColor(x, y, TRgbQuad{0, uint8_t(10 * y), uint8_t(10 * x), 0});
    // On screen, row r from the top has green 10 * (2 - r).
    const auto expected = [](int x, int rowFromTop)
    { return Rgb(uint8_t(10 * x), uint8_t(10 * (2 - rowFromTop)), 0); };

    CRaster raster(10, 10);
    raster.FillRect(TRect{0, 0, 10, 10}, Rgb(1, 1, 1));
    const TRect clip{0, 0, 5, 10};
    raster.SetClip(TRect{0, 0, 10, 4});
    ASSERT_TRUE(image.Draw(&raster, 3, 2, -1, -1, &clip));
    EXPECT_EQ(raster.GetPixel(3, 2), expected(0, 0));
    EXPECT_EQ(raster.GetPixel(4, 3), expected(1, 1));
    EXPECT_EQ(raster.GetPixel(5, 2), Rgb(1, 1, 1));    // outside the given clip
    EXPECT_EQ(raster.GetPixel(3, 4), Rgb(1, 1, 1));    // outside the raster's clip
    EXPECT_EQ(raster.GetClip(), (TRect{0, 0, 10, 4})); // restored afterwards

    CRaster section(10, 10);
    ASSERT_TRUE(image.DrawSection(&section, 6, 6, 2, 2, 1, 1));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
        {
            const bool inside = x >= 6 && x < 8 && y >= 6 && y < 8;
            EXPECT_EQ(section.GetPixel(x, y), inside ? expected(x - 5, y - 5) : 0u) << x << "," << y;
        }

    // Places and sizes at the ends of 32 bits do not wrap round onto the raster.
    CRaster far(10, 10);
    const std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t> farOff[] = {
        {INT32_MAX - 1, 0, 4, 3, 0, 0},
        {INT32_MIN + 1, 0, 4, 3, 3, 0},
        {0, INT32_MIN, INT32_MAX, INT32_MAX, 0, 0},
        {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN},
    };
    for (const auto& [x, y, w, h, sx, sy] : farOff)
    {
        EXPECT_TRUE(image.DrawSection(&far, x, y, w, h, sx, sy));
        EXPECT_TRUE(image.Draw(&far, x, y));
    }
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(far.GetPixel(x, y), 0u) << x << "," << y;
    // A section as large as can be is the whole picture.
    ASSERT_TRUE(image.DrawSection(&far, 1, 1, INT32_MAX, INT32_MAX, 0, 0));
    EXPECT_EQ(far.GetPixel(4, 3), expected(3, 2));
    EXPECT_EQ(far.GetPixel(5, 3), 0u);

    CImageBuffer empty;
    EXPECT_FALSE(empty.Draw(&raster, 0, 0));
    EXPECT_FALSE(image.Draw(nullptr, 0, 0));
    EXPECT_FALSE(image.Draw(&raster, 0, 0, 0, -1));
}

TEST(ImageBufferPixel, FourthByteComesFromTransparencyOrAlpha)
{
    CImageBuffer image;
    TImageData& d = image.Data();
    ASSERT_TRUE(d.Create(2, 2, 24));
    d.SetColor(1, 0, TRgbQuad{1, 2, 3, 0});
    d.transparentColor = TRgbQuad{9, 9, 9, 77};
    EXPECT_EQ(image.GetPixelColor(1, 0), (TRgbQuad{1, 2, 3, 77}));
    d.alpha = {10, 20, 30, 40};
    EXPECT_EQ(image.GetPixelColor(1, 0), (TRgbQuad{1, 2, 3, 20}));
    EXPECT_EQ(image.GetPixelColor(1, 0, false), (TRgbQuad{1, 2, 3, 77}));

    ASSERT_TRUE(d.Create(2, 2, 8));
    d.palette[5] = TRgbQuad{4, 5, 6, 200};
    d.SetIndex(0, 1, 5);
    EXPECT_EQ(image.GetPixelColor(0, 1), (TRgbQuad{4, 5, 6, 200}));
}

TEST(ImageBufferLoad, RefusesAFileThatIsNoPicture)
{
    const std::filesystem::path path =
        std::filesystem::path(QEL_BINARY_DIR) / "imagebuffer-not-a-picture.txt";
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("This is plain text, not a picture of any kind.\n", f);
        std::fclose(f);
    }
    CImageBuffer image;
    ASSERT_TRUE(image.Data().Create(7, 3, 24));
    image.Data().bits[0] = 5;
    const TImageData before = image.Data();
    EXPECT_FALSE(image.Load(path.string()));
    EXPECT_EQ(image.GetLastError(), "Decode: Unknown or wrong format");
    EXPECT_EQ(image.GetWidth(), 7u);
    EXPECT_EQ(image.Data().bits, before.bits);
    EXPECT_FALSE(image.Load(path.string() + ".missing"));
    EXPECT_EQ(image.GetWidth(), 7u);
    std::filesystem::remove(path);

    // A real PNG is found by content.
    CImageBuffer png;
    ASSERT_TRUE(png.Load(std::string(QEL_FIXTURES_DIR) + "/pngsuite/basn3p04.png"));
    EXPECT_EQ(png.Data().format, kFormatPng);
    EXPECT_EQ(png.GetWidth(), 32u);
}

TEST(ImageData, CreateRaisesDepthAndEnforcesLimits)
{
    struct TCase
    {
        int32_t asked, bpp, paletteSize;
    };
    for (const TCase c : {TCase{0, 1, 2}, TCase{1, 1, 2}, TCase{2, 4, 16}, TCase{4, 4, 16}, TCase{5, 8, 256},
                          TCase{8, 8, 256}, TCase{16, 24, 0}, TCase{32, 24, 0}})
    {
        TImageData d;
        ASSERT_TRUE(d.Create(3, 2, c.asked));
        EXPECT_EQ(d.bpp, c.bpp) << c.asked;
        EXPECT_EQ(d.palette.size(), static_cast<size_t>(c.paletteSize));
        EXPECT_EQ(d.bits.size(), static_cast<size_t>(d.RowBytes()) * 2);
        EXPECT_EQ(d.RowBytes() % 4, 0);
    }
    std::string error;
    EXPECT_TRUE(ImageSizeAllowed(16384, 3906, error));
    EXPECT_FALSE(ImageSizeAllowed(16385, 1, error));
    EXPECT_EQ(error, "picture too large (16385 x 1)");
    EXPECT_FALSE(ImageSizeAllowed(16384, 4000, error));
    EXPECT_FALSE(ImageSizeAllowed(0, 5, error));
    TImageData d;
    EXPECT_FALSE(d.Create(1, 20000, 8));
    EXPECT_TRUE(d.bits.empty());
}

} // namespace
