#include "CodecTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

using namespace codectest;

// Four flat 8 x 8 quadrants, so the codec's loss stays small away from the edges.
TRgba Quadrants(int x, int y)
{
    static const TRgba colours[] = {{200, 30, 40}, {20, 180, 60}, {30, 40, 220}, {240, 240, 10}};
    return colours[(y / 8) * 2 + x / 8];
}

void ExpectNear(TRgbQuad actual, TRgba expected, int tolerance)
{
    EXPECT_NEAR(actual.red, expected.r, tolerance);
    EXPECT_NEAR(actual.green, expected.g, tolerance);
    EXPECT_NEAR(actual.blue, expected.b, tolerance);
}

TEST(JpegCodec, DecodesColourToTrueColour)
{
    const TBytes bytes = EncodeJpeg(16, 16, false, Quadrants);
    TImageData image;
    std::string error;
    ASSERT_TRUE(Decode(kFormatJpeg, bytes, image, error)) << error;
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 16);
    EXPECT_EQ(image.bpp, 24);
    EXPECT_EQ(image.format, kFormatJpeg);
    EXPECT_TRUE(image.alpha.empty());
    EXPECT_EQ(image.xDpi, 150);
    for (int qy = 0; qy < 2; ++qy)
        for (int qx = 0; qx < 2; ++qx)
            ExpectNear(At(image, qx * 8 + 3, qy * 8 + 4), Quadrants(qx * 8, qy * 8), 8);
}

TEST(JpegCodec, DecodesGreyToGreyPalette)
{
    auto ramp = [](int x, int y) { return TRgba{0, static_cast<uint8_t>(x * 16 + y), 0}; };
    const TBytes bytes = EncodeJpeg(16, 4, true, ramp, 100);
    TImageData image;
    std::string error;
    ASSERT_TRUE(Decode(kFormatJpeg, bytes, image, error)) << error;
    EXPECT_EQ(image.bpp, 8);
    ASSERT_EQ(image.palette.size(), 256u);
    EXPECT_EQ(image.palette[77], (TRgbQuad{77, 77, 77, 0}));
    for (int x = 0; x < 16; x += 5)
        EXPECT_NEAR(At(image, x, 2).green, ramp(x, 2).g, 3) << x;
}

}  // namespace
