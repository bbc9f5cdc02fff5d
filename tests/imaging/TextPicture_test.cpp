#include "TextPicture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <string>

namespace
{

// Where any ink fell: right and bottom exclusive, empty when none did.
TRect InkBox(const TTextCoverage& text)
{
    TRect box{text.width, text.height, 0, 0};
    for (int32_t y = 0; y < text.height; ++y)
    {
        for (int32_t x = 0; x < text.width; ++x)
        {
            if (text.At(x, y) == 0)
                continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

// Rows with ink, counted as separate bands of consecutive rows.
int InkBands(const TTextCoverage& text)
{
    int bands = 0;
    bool inBand = false;
    for (int32_t y = 0; y < text.height; ++y)
    {
        bool ink = false;
        for (int32_t x = 0; x < text.width && !ink; ++x)
            ink = text.At(x, y) != 0;
        if (ink && !inBand)
            ++bands;
        inBand = ink;
    }
    return bands;
}

TTextCoverage Render(const TTextPicture& picture)
{
    TTextCoverage text;
    std::string error;
    EXPECT_TRUE(RenderTextPicture(picture, text, error)) << error;
    return text;
}

TTextPicture Text(std::string text, int32_t size = 16)
{
    TTextPicture picture;
    picture.text = std::move(text);
    picture.size = size;
    return picture;
}

TTextPicture Sized(std::string text, int32_t width, int32_t height, ETextAlign align = ETextAlign::Centre)
{
    TTextPicture picture = Text(std::move(text));
    picture.width = width;
    picture.height = height;
    picture.align = align;
    return picture;
}

TEST(TextPicture, TakesTheSizeItsTextNeeds)
{
    // A line's height is the font's; lines stack at that height, and each
    // picture is its block of lines with the padding around it.
    const TTextCoverage one = Render(Text("Hall"));
    const int32_t line = one.height - 8;
    ASSERT_GT(line, 14);
    ASSERT_LT(line, 24);
    const TRect ink = InkBox(one);
    EXPECT_GE(ink.left, 4);
    EXPECT_LE(ink.right, one.width - 4);
    EXPECT_GE(ink.top, 4);
    EXPECT_LE(ink.bottom, one.height - 4);
    // The letters fill the line: a capital stands most of the em size tall.
    EXPECT_GE(ink.Height(), 11);
    // Beyond the ink lies only the last letter's side bearing and the padding.
    EXPECT_GE(ink.right, one.width - 7);

    const struct
    {
        const char* text;
        int lines;
    } cases[] = {{"Hall\nway", 2}, {"Hall\r\nway", 2}, {"Hall\n\nway", 3}, {"a\nb\nc\nd", 4}};
    for (const auto& c : cases)
    {
        const TTextCoverage text = Render(Text(c.text));
        EXPECT_EQ(text.height, c.lines * line + 8) << c.text;
        const int visible = c.lines == 3 ? 2 : c.lines; // the empty line has no ink
        EXPECT_EQ(InkBands(text), visible) << c.text;
    }

    // Twice the size gives letters about twice as tall and a wider picture.
    const TTextCoverage big = Render(Text("Hall", 32));
    EXPECT_NEAR(InkBox(big).Height(), 2 * ink.Height(), 2);
    EXPECT_NEAR(big.width - 8, 2 * (one.width - 8), 3);
}

TEST(TextPicture, AlignsEachLineAndCutsWhatDoesNotFit)
{
    const struct
    {
        TTextPicture picture;
        int32_t left;  // where the ink starts, within 2 pixels; -1 for centred
        int32_t right; // where it ends (exclusive), within 2 pixels; -1 for centred
    } cases[] = {
        {Sized("Hi", 200, 40, ETextAlign::Left), 4, -1},
        {Sized("Hi", 200, 40, ETextAlign::Right), -1, 196},
        {Sized("Hi", 200, 40, ETextAlign::Centre), -1, -1},
        // Lines are aligned one by one: the short line's ink lies at the same
        // edge as the long one's.
        {Sized("Hi\nHello there", 200, 60, ETextAlign::Left), 4, -1},
        {Sized("Hello there\nHi", 200, 60, ETextAlign::Right), -1, 196},
        // Too small for its text: the picture keeps its size, the ink is cut
        // at both edges, centred.
        {Sized("Hello there, everyone", 40, 12), 0, 40},
    };
    for (const auto& c : cases)
    {
        const TTextCoverage text = Render(c.picture);
        ASSERT_EQ(text.width, *c.picture.width) << c.picture.text;
        ASSERT_EQ(text.height, *c.picture.height) << c.picture.text;
        const TRect ink = InkBox(text);
        ASSERT_FALSE(ink.IsEmpty()) << c.picture.text;
        if (c.left >= 0)
        {
            EXPECT_NEAR(ink.left, c.left, 2) << c.picture.text;
        }
        if (c.right >= 0)
        {
            EXPECT_NEAR(ink.right, c.right, 2) << c.picture.text;
        }
        if (c.left < 0 && c.right < 0)
        {
            EXPECT_NEAR(ink.left, text.width - ink.right, 2) << c.picture.text;
        }
        // The block of lines is centred between top and bottom.
        if (ink.top > 0 && ink.bottom < text.height)
        {
            EXPECT_NEAR(ink.top, text.height - ink.bottom, 6) << c.picture.text;
        }
    }

    // Per line: in a right-aligned block both lines end at the right edge.
    const TTextCoverage two = Render(Sized("Hello there\nHi", 200, 60, ETextAlign::Right));
    for (int32_t half = 0; half < 2; ++half)
    {
        TTextCoverage part = two;
        for (int32_t y = 0; y < part.height; ++y)
            for (int32_t x = 0; x < part.width; ++x)
                if ((y < part.height / 2) != (half == 0))
                    part.coverage[static_cast<size_t>(y) * part.width + x] = 0;
        EXPECT_NEAR(InkBox(part).right, 196, 2) << "line " << half;
    }
}

TEST(TextPicture, BoldAndMissingFamilies)
{
    const TTextCoverage regular = Render(Text("Lobby"));
    TTextPicture boldPicture = Text("Lobby");
    boldPicture.bold = true;
    const TTextCoverage bold = Render(boldPicture);
    const auto inkSum = [](const TTextCoverage& t)
    { return std::accumulate(t.coverage.begin(), t.coverage.end(), int64_t{0}); };
    EXPECT_GT(inkSum(bold), inkSum(regular) * 5 / 4);

    // A family that is not installed draws with fontconfig's nearest match.
    TTextPicture missing = Text("Lobby");
    missing.family = "No Such Family Anywhere";
    const TTextCoverage fallback = Render(missing);
    EXPECT_FALSE(fallback.family.empty());
    EXPECT_FALSE(InkBox(fallback).IsEmpty());
}

TEST(TextPicture, RefusesWhatNoPictureCanHold)
{
    const auto with = [](auto change)
    {
        TTextPicture picture = Text("Lobby");
        change(picture);
        return picture;
    };
    const struct
    {
        TTextPicture picture;
        const char* reason;
    } cases[] = {
        {Text(""), "the text is empty"},
        {Text(" \n\t "), "the text is empty"},
        {Text("Caf\xC3"), "the text is not valid UTF-8"},
        {Text("\xED\xA0\x80"), "the text is not valid UTF-8"},
        {Text(std::string(4097, 'x')), "the text is longer than 4096 characters"},
        {Text("Lobby", 0), "the font size must be from 1 to 200 pixels"},
        {Text("Lobby", 201), "the font size must be from 1 to 200 pixels"},
        {Text("Lobby", -2000000000), "the font size must be from 1 to 200 pixels"},
        {Sized("Lobby", 321, 40), "the width must be from 1 to 320 pixels"},
        {Sized("Lobby", 0, 40), "the width must be from 1 to 320 pixels"},
        {Sized("Lobby", 100, 241), "the height must be from 1 to 240 pixels"},
        {with([](TTextPicture& p) { p.padding = -1; }), "the padding must be from 0 to 100 pixels"},
        {with([](TTextPicture& p) { p.padding = 101; }), "the padding must be from 0 to 100 pixels"},
        {with(
             [](TTextPicture& p)
             {
                 p.width = 20;
                 p.padding = 10;
             }),
         "a padding of 10 pixels leaves no room in a 20 x"},
        {Text("Lobby and more", 200), "a picture may be at most 320 x 240"},
        {Text("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13"), "a picture may be at most 320 x 240"},
    };
    for (const auto& c : cases)
    {
        TTextCoverage result;
        result.width = 7;
        std::string error;
        EXPECT_FALSE(RenderTextPicture(c.picture, result, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(result.width, 7) << c.reason;
    }
}

TEST(TextPicture, InkIsBlendedOverTheRaster)
{
    TTextCoverage text;
    text.width = 3;
    text.height = 1;
    text.coverage = {0, 128, 255};
    CRaster dc(5, 2);
    dc.FillRect({0, 0, 5, 2}, Rgb(0, 0, 200));
    dc.SetClip({0, 0, 3, 2});
    DrawTextCoverage(text, dc, 1, 1, Rgb(255, 255, 0));
    EXPECT_EQ(dc.GetPixel(1, 1), Rgb(0, 0, 200));
    EXPECT_EQ(dc.GetPixel(2, 1), Rgb(128, 128, 100));
    EXPECT_EQ(dc.GetPixel(3, 1), Rgb(0, 0, 200)); // outside the clip
    EXPECT_EQ(dc.GetPixel(1, 0), Rgb(0, 0, 200));
}

} // namespace
