#include "CodecTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace codectest;

TEST(WebpCodec, DecodesLosslessWithAlphaOnlyWhenPresent)
{
    auto opaque = [](int x, int y) {
        TRgba p = Pattern(x, y);
        p.a = 255;
        return p;
    };
    for (bool withAlpha : {true, false})
    {
        SCOPED_TRACE(withAlpha ? "alpha" : "opaque");
        const TPixelFn pixel = withAlpha ? TPixelFn(Pattern) : TPixelFn(opaque);
        TImageData image;
        std::string error;
        ASSERT_TRUE(Decode(kFormatWebp, EncodeWebpLossless(5, 3, pixel), image, error)) << error;
        EXPECT_EQ(image.width, 5);
        EXPECT_EQ(image.height, 3);
        EXPECT_EQ(image.bpp, 24);
        EXPECT_EQ(image.format, kFormatWebp);
        ASSERT_EQ(image.alpha.size(), withAlpha ? 15u : 0u);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
            {
                const TRgba p = pixel(x, y);
                EXPECT_EQ(At(image, x, y), (TRgbQuad{p.b, p.g, p.r, 0}));
                if (withAlpha)
                {
                    EXPECT_EQ(AlphaAt(image, x, y), p.a);
                }
            }
    }
}

}  // namespace
