#include "CodecTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace codectest;

TEST(GifCodec, DecodesFirstFrameWithItsPalette)
{
    for (bool interlace : {false, true})
    {
        SCOPED_TRACE(interlace ? "interlaced" : "progressive");
        TGifSpec spec;
        spec.screenWidth = spec.width = 5;
        spec.screenHeight = spec.height = 11;  // enough rows for every interlace pass
        spec.interlace = interlace;
        TImageData image;
        std::string error;
        ASSERT_TRUE(Decode(kFormatGif, EncodeGif(spec), image, error)) << error;
        EXPECT_EQ(image.width, 5);
        EXPECT_EQ(image.height, 11);
        EXPECT_EQ(image.bpp, 8);
        EXPECT_EQ(image.format, kFormatGif);
        EXPECT_EQ(image.transparentIndex, -1);
        EXPECT_EQ(image.palette[3], GifPaletteEntry(3));
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_EQ(image.GetIndex(x, 10 - y), (x + y) % 8) << x << "," << y;
    }
}

// A frame smaller than the screen lands at its offset; the rest of the screen
// shows the transparent index, or the background colour without one.
TEST(GifCodec, ComposesFrameOntoScreen)
{
    struct TCase
    {
        int transparent;
        int background;
        int expectedFill;
    };
    for (const TCase& c : {TCase{2, 5, 2}, TCase{-1, 5, 5}})
    {
        TGifSpec spec;
        spec.screenWidth = 6;
        spec.screenHeight = 4;
        spec.left = 2;
        spec.top = 1;
        spec.width = 3;
        spec.height = 2;
        spec.transparent = c.transparent;
        spec.background = c.background;
        TImageData image;
        std::string error;
        ASSERT_TRUE(Decode(kFormatGif, EncodeGif(spec), image, error)) << error;
        EXPECT_EQ(image.width, 6);
        EXPECT_EQ(image.height, 4);
        EXPECT_EQ(image.transparentIndex, c.transparent);
        if (c.transparent >= 0)
        {
            EXPECT_EQ(image.transparentColor, GifPaletteEntry(c.transparent));
        }
        auto index = [&](int x, int y) { return image.GetIndex(x, image.height - 1 - y); };
        EXPECT_EQ(index(0, 0), c.expectedFill);
        EXPECT_EQ(index(5, 3), c.expectedFill);
        EXPECT_EQ(index(2, 1), 0);
        EXPECT_EQ(index(4, 2), (2 + 1) % 8);
    }
}

}  // namespace
