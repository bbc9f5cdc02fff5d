#include "CodecTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace codectest;

TEST(Jpeg2000Codec, DecodesLosslessCodestreamsAndFiles)
{
    struct TCase
    {
        int components;
        bool jp2;
    };
    const TCase cases[] = {{1, false}, {3, false}, {4, false}, {3, true}, {4, true}};
    for (const TCase& c : cases)
    {
        SCOPED_TRACE("components " + std::to_string(c.components) + (c.jp2 ? " JP2" : " J2K"));
        const TBytes bytes = EncodeJpeg2000(7, 5, c.components, c.jp2, Pattern);
        ASSERT_FALSE(bytes.empty());
        TImageData image;
        std::string error;
        // Any code of the family reaches the same codec, which looks at the signature.
        ASSERT_TRUE(Decode(kFormatPgx, bytes, image, error)) << error;
        EXPECT_EQ(image.width, 7);
        EXPECT_EQ(image.height, 5);
        EXPECT_EQ(image.format, c.jp2 ? kFormatJp2 : kFormatJ2k);
        EXPECT_EQ(image.bpp, c.components == 1 ? 8 : 24);
        ASSERT_EQ(image.alpha.size(), c.components == 4 ? 35u : 0u);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
            {
                const TRgba p = Pattern(x, y);
                const TRgbQuad q = At(image, x, y);
                EXPECT_EQ(q.green, p.g);
                EXPECT_EQ(q.red, c.components == 1 ? p.g : p.r);
                EXPECT_EQ(q.blue, c.components == 1 ? p.g : p.b);
                if (c.components == 4)
                {
                    EXPECT_EQ(AlphaAt(image, x, y), p.a);
                }
            }
    }
}

}  // namespace
