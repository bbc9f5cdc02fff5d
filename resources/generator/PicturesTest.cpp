#include "Pictures.h"

#include <gtest/gtest.h>

namespace
{

// Reads with rows counted from the top, as the drawing code thinks of them.
uint8_t AlphaAt(const CImageBuffer& image, int32_t x, int32_t y)
{
    const TImageData& d = image.Data();
    if (d.alpha.empty())
        return 255;
    return d
        .alpha[static_cast<size_t>(d.height - 1 - y) * static_cast<size_t>(d.width) + static_cast<size_t>(x)];
}

TRgbQuad PixelAt(const CImageBuffer& image, int32_t x, int32_t y)
{
    TRgbQuad c = image.Data().GetColor(x, image.Data().height - 1 - y);
    c.reserved = AlphaAt(image, x, y);
    return c;
}

struct TExpected
{
    int32_t id;
    int32_t width;
    int32_t height;
};

const TExpected kPictures[] = {
    {1, 320, 240},  {2, 46, 76},    {3, 31, 31},    {4, 31, 31},  {5, 24, 24},  {6, 24, 24},
    {7, 26, 188},   {8, 90, 21},    {9, 18, 17},    {10, 27, 27}, {11, 33, 25}, {12, 320, 240},
    {13, 320, 240}, {14, 320, 240}, {15, 320, 240}, {16, 31, 31},
};

} // namespace

TEST(BuiltinPictures, HaveTheSizesTheProgramCutsThemBy)
{
    for (const TExpected& e : kPictures)
    {
        const CImageBuffer image = DrawPicture(e.id);
        EXPECT_EQ(image.Data().width, e.width) << "picture " << e.id;
        EXPECT_EQ(image.Data().height, e.height) << "picture " << e.id;
        EXPECT_EQ(image.Data().bpp, 24) << "picture " << e.id;
        // Page backgrounds must cover the page: any transparency would show
        // the black of a fresh canvas.
        if (e.width == 320)
        {
            EXPECT_TRUE(image.Data().alpha.empty()) << "picture " << e.id;
        }
    }
    EXPECT_FALSE(DrawPicture(0).Data().HasPixels());
    EXPECT_FALSE(DrawPicture(17).Data().HasPixels());
}

// The canvas fills a button's inside with the centre colour from 3 pixels in
// at the left and top and up to 6 pixels short of the right and bottom, under
// the corner and edge pieces; any see-through pixel there would show that
// fill, differently on each side. Where the edge pieces meet the fill they
// must match it, or every stretched button shows a seam.
TEST(BuiltinPictures, NineSlicesHideTheFillAndMeetItWithoutSeams)
{
    for (int32_t id : {3, 4, 16})
    {
        const CImageBuffer image = DrawPicture(id);
        for (int32_t y = 3; y < 25; ++y)
            for (int32_t x = 3; x < 25; ++x)
                ASSERT_EQ(AlphaAt(image, x, y), 255) << "picture " << id << " at " << x << ", " << y;
        const TRgbQuad centre = PixelAt(image, 15, 15);
        for (int32_t i = 12; i <= 18; ++i)
        {
            EXPECT_EQ(PixelAt(image, i, 15), centre) << "picture " << id << " row 15 column " << i;
            EXPECT_EQ(PixelAt(image, 15, i), centre) << "picture " << id << " column 15 row " << i;
        }
    }
}

// A vertical slider repeats rows 15 and 60 as its track and a horizontal one
// (turned clockwise) repeats rows 60 and 14; the knob's piece takes in rows
// 60 and 61 standing up and 14 and 15 lying down. So rows 14 and 15 must be
// the same, as must 60 and 61, and track rows must be fully opaque or clear
// because the knob draws some of them a second time over themselves.
TEST(BuiltinPictures, SliderTrackRowsAgreeWhicheverWayTheSliderLies)
{
    const CImageBuffer image = DrawPicture(2);
    for (int32_t x = 0; x < 45; ++x)
    {
        EXPECT_EQ(PixelAt(image, x, 14), PixelAt(image, x, 15)) << "column " << x;
        EXPECT_EQ(PixelAt(image, x, 60), PixelAt(image, x, 61)) << "column " << x;
        for (int32_t y : {14, 15, 60, 61})
        {
            const uint8_t a = AlphaAt(image, x, y);
            EXPECT_TRUE(a == 0 || a == 255) << "column " << x << " row " << y;
        }
    }
    EXPECT_EQ(AlphaAt(image, 22, 15), 255);
    EXPECT_NE(PixelAt(image, 22, 15), PixelAt(image, 22, 60));
}
