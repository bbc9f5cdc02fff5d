#include "LabelPicture.h"

#include "ImageBuffer.h"
#include "PageDraw.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

constexpr TColor kWhite = Rgb(255, 255, 255);
constexpr TColor kNavy = Rgb(32, 48, 96);
constexpr TColor kSky = Rgb(80, 112, 192);

// The colour at (x, y) from the top, and its alpha (255 without a plane).
TColor ColourAt(const CImageBuffer& picture, int32_t x, int32_t y)
{
    const TRgbQuad q = picture.GetPixelColor(x, static_cast<int32_t>(picture.GetHeight()) - 1 - y, false);
    return Rgb(q.red, q.green, q.blue);
}

TLabel Label(TUserFace background)
{
    TLabel label;
    label.text.text = "Lights\non";
    label.text.bold = true;
    label.colour = kWhite;
    label.background = background;
    return label;
}

TEST(LabelPicture, LettersOverEachBackground)
{
    const TUserFace backgrounds[] = {
        {},
        {kFaceColour, kColourSingle, 0, kNavy, 0},
        {kFaceColour, kColourLeftToRight, 0, kNavy, kSky},
        {kFaceColour, kColourTopToBottom, 0, kNavy, kSky},
        {kFaceColour, kColourRadial, 0, kNavy, kSky},
    };
    for (const TUserFace& background : backgrounds)
    {
        const TLabel label = Label(background);
        TTextCoverage text;
        std::string error;
        ASSERT_TRUE(RenderTextPicture(label.text, text, error)) << error;
        CImageBuffer picture;
        ASSERT_TRUE(MakeLabelPicture(label, picture, error)) << error;
        ASSERT_EQ(picture.GetWidth(), static_cast<uint32_t>(text.width));
        ASSERT_EQ(picture.GetHeight(), static_cast<uint32_t>(text.height));
        const TImageData& data = picture.Data();

        // What the background alone looks like, drawn as a face of its kind.
        CRaster bare(text.width, text.height);
        DrawFace(
            background, [](int32_t) -> CImageBuffer* { return nullptr; }, bare,
            TRect{0, 0, text.width, text.height});
        int covered = 0;
        for (int32_t y = 0; y < text.height; ++y)
        {
            for (int32_t x = 0; x < text.width; ++x)
            {
                const uint8_t ink = text.At(x, y);
                const TColor shown = ColourAt(picture, x, y);
                if (background.type == kFaceBlank)
                {
                    // Transparent around the letters: the colour is the
                    // letters' everywhere, the ink is the alpha.
                    ASSERT_EQ(shown, kWhite) << x << "," << y;
                    ASSERT_EQ(data.alpha[static_cast<size_t>(text.height - 1 - y) * text.width + x], ink);
                }
                else if (ink == 0)
                {
                    ASSERT_EQ(shown, bare.GetPixel(x, y)) << background.param << " at " << x << "," << y;
                }
                else if (ink == 255)
                {
                    ASSERT_EQ(shown, kWhite) << background.param << " at " << x << "," << y;
                    ++covered;
                }
            }
        }
        EXPECT_EQ(data.alpha.empty(), background.type != kFaceBlank);
        if (background.type != kFaceBlank)
        {
            EXPECT_GT(covered, 20) << background.param;
        }
    }
}

TEST(LabelPicture, RefusesAndLeavesThePictureAlone)
{
    CImageBuffer picture;
    ASSERT_TRUE(picture.Data().Create(3, 2, 24));
    std::string error;

    TLabel image = Label({kFaceImage, 10000, 0, 0, 0});
    EXPECT_FALSE(MakeLabelPicture(image, picture, error));
    EXPECT_EQ(error, "a label's background is none, a colour or a gradient");

    TLabel huge = Label({});
    huge.text.size = 500;
    EXPECT_FALSE(MakeLabelPicture(huge, picture, error));
    EXPECT_EQ(error, "the font size must be from 1 to 200 pixels");
    EXPECT_EQ(picture.GetWidth(), 3u);
}

} // namespace
