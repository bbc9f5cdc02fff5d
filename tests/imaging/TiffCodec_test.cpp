#include "CodecTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace codectest;

TEST(TiffCodec, DecodesToTrueColourWithAlphaOnlyWhenStored)
{
    struct TCase
    {
        int samples;
        uint16_t compression;
    };
    const TCase cases[] = {{3, COMPRESSION_NONE}, {3, COMPRESSION_LZW}, {4, COMPRESSION_NONE},
                           {1, COMPRESSION_ADOBE_DEFLATE}, {2, COMPRESSION_NONE}};
    for (const TCase& c : cases)
    {
        SCOPED_TRACE("samples " + std::to_string(c.samples) + " compression " + std::to_string(c.compression));
        const TBytes bytes = EncodeTiff(5, 3, c.samples, c.compression, Pattern);
        TImageData image;
        std::string error;
        ASSERT_TRUE(Decode(kFormatTiff, bytes, image, error)) << error;
        EXPECT_EQ(image.width, 5);
        EXPECT_EQ(image.height, 3);
        EXPECT_EQ(image.bpp, 24);
        EXPECT_EQ(image.format, kFormatTiff);
        EXPECT_EQ(image.xDpi, 300);
        const bool withAlpha = c.samples == 2 || c.samples == 4;
        ASSERT_EQ(image.alpha.size(), withAlpha ? 15u : 0u);
        // Colour passes through libtiff premultiplied, hence the tolerance with alpha.
        const int tolerance = withAlpha ? 2 : 0;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
            {
                const TRgba p = Pattern(x, y);
                const TRgbQuad q = At(image, x, y);
                if (c.samples >= 3)
                {
                    EXPECT_NEAR(q.red, p.r, tolerance);
                    EXPECT_NEAR(q.blue, p.b, tolerance);
                }
                else
                {
                    EXPECT_NEAR(q.red, p.g, tolerance);
                }
                EXPECT_NEAR(q.green, p.g, tolerance);
                if (withAlpha)
                {
                    EXPECT_EQ(AlphaAt(image, x, y), p.a);
                }
            }
    }
}

}  // namespace
