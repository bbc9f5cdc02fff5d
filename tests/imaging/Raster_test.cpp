#include "Raster.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <utility>

namespace
{

constexpr TColor kRed = Rgb(255, 0, 0);
constexpr TColor kBlue = Rgb(0, 0, 255);
constexpr TColor kWhite = Rgb(255, 255, 255);

std::set<std::pair<int, int>> PixelsOf(const CRaster& r, TColor color)
{
    std::set<std::pair<int, int>> found;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            if (r.GetPixel(x, y) == color)
                found.insert({x, y});
    return found;
}

TEST(Raster, StartsBlackWithFullClip)
{
    CRaster r(7, 5);
    EXPECT_EQ(PixelsOf(r, 0).size(), 35u);
    EXPECT_EQ(r.GetClip(), (TRect{0, 0, 7, 5}));
    EXPECT_EQ(r.GetPixel(-1, 0), 0u);
    EXPECT_EQ(r.GetPixel(7, 0), 0u);
}

TEST(Raster, LinesLeaveOutTheirEndPixel)
{
    struct TCase
    {
        int x0, y0, x1, y1;
    };
    const TCase cases[] = {{1, 3, 9, 3}, {9, 3, 1, 3}, {4, 0, 4, 8}, {4, 8, 4, 0},
                           {0, 0, 8, 8}, {8, 8, 0, 0}, {1, 2, 9, 5}, {9, 1, 2, 9}};
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1);
        CRaster r(10, 10);
        r.SetPen(EPenStyle::Solid, kRed);
        r.MoveTo(c.x0, c.y0);
        r.LineTo(c.x1, c.y1);
        const auto drawn = PixelsOf(r, kRed);
        EXPECT_TRUE(drawn.count({c.x0, c.y0}));
        EXPECT_FALSE(drawn.count({c.x1, c.y1}));
        EXPECT_EQ(drawn.size(), static_cast<size_t>(std::max(std::abs(c.x1 - c.x0), std::abs(c.y1 - c.y0))));
        // The line continues from where it ended: the next segment paints the old end.
        r.LineTo(c.x0, c.y0);
        EXPECT_EQ(r.GetPixel(c.x1, c.y1), kRed);
    }
}

TEST(Raster, DottedPenAlternatesStartingWithADot)
{
    for (const bool opaque : {true, false})
    {
        SCOPED_TRACE(opaque ? "opaque" : "transparent");
        for (const bool vertical : {false, true})
        {
            CRaster r(8, 8);
            r.SetPen(EPenStyle::Dot, kRed);
            r.SetBackgroundColor(kBlue);
            r.SetBackgroundMode(opaque ? EBackgroundMode::Opaque : EBackgroundMode::Transparent);
            // Drawn right to left / bottom to top, so the pattern starts at 6.
            r.MoveTo(vertical ? 2 : 6, vertical ? 6 : 2);
            r.LineTo(vertical ? 2 : 0, vertical ? 0 : 2);
            for (int i = 0; i <= 6; ++i)
            {
                const int x = vertical ? 2 : i;
                const int y = vertical ? i : 2;
                const TColor expected = i == 0 ? 0 : ((6 - i) % 2 == 0 ? kRed : (opaque ? kBlue : 0));
                EXPECT_EQ(r.GetPixel(x, y), expected) << "pixel " << i;
            }
        }
    }
}

TEST(Raster, RectangleIsRightAndBottomExclusive)
{
    CRaster r(8, 8);
    r.SetPen(EPenStyle::Solid, kRed);
    r.SetBrush(kBlue);
    r.Rectangle(1, 2, 6, 6);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
        {
            TColor expected = 0;
            if (x >= 1 && x < 6 && y >= 2 && y < 6)
                expected = (x == 1 || x == 5 || y == 2 || y == 5) ? kRed : kBlue;
            EXPECT_EQ(r.GetPixel(x, y), expected) << x << "," << y;
        }

    CRaster noPen(4, 4);
    noPen.SetPen(EPenStyle::Null, kRed);
    noPen.SetBrush(kWhite);
    noPen.Rectangle(0, 0, 3, 2);
    EXPECT_EQ(PixelsOf(noPen, kWhite).size(), 6u);

    CRaster noBrush(6, 6);
    noBrush.SetNullBrush();
    noBrush.SetPen(EPenStyle::Solid, kRed);
    noBrush.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(PixelsOf(noBrush, kRed).size(), 12u);
    EXPECT_EQ(noBrush.GetPixel(1, 1), 0u);
}

TEST(Raster, ClipLimitsEveryPaintAndIsSavedWithTheState)
{
    CRaster r(10, 10);
    r.SetClip(TRect{2, 2, 20, 6});
    EXPECT_EQ(r.GetClip(), (TRect{2, 2, 10, 6}));

    r.SaveState();
    r.IntersectClip(TRect{0, 0, 5, 5});
    r.SetPen(EPenStyle::Solid, kRed);
    r.FillRect(TRect{0, 0, 10, 10}, kBlue);
    EXPECT_EQ(PixelsOf(r, kBlue).size(), 9u); // (2..4) x (2..4)
    r.RestoreState();

    EXPECT_EQ(r.GetClip(), (TRect{2, 2, 10, 6}));
    r.SetPixel(1, 1, kWhite);
    r.SetPixel(9, 5, kWhite);
    EXPECT_EQ(r.GetPixel(1, 1), 0u);
    EXPECT_EQ(r.GetPixel(9, 5), kWhite);
    // The pen set inside the saved section is gone again (black).
    r.MoveTo(2, 5);
    r.LineTo(9, 5);
    EXPECT_EQ(r.GetPixel(3, 5), 0u);

    r.ResetClip();
    r.SetClip(TRect{20, 20, 30, 30});
    EXPECT_TRUE(r.GetClip().IsEmpty());
    r.FillRect(TRect{0, 0, 10, 10}, kRed);
    EXPECT_TRUE(PixelsOf(r, kRed).empty());
}

TEST(Raster, CopyFromHandlesOverlapAndEdges)
{
    CRaster r(6, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            r.SetPixel(x, y, Rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 1));
    CRaster copy(6, 6);
    copy.CopyFrom(r, 0, 0, 6, 6, 0, 0);
    // Within one raster, one step down and right.
    r.CopyFrom(r, 1, 1, 5, 5, 0, 0);
    for (int y = 1; y < 6; ++y)
        for (int x = 1; x < 6; ++x)
            EXPECT_EQ(r.GetPixel(x, y), copy.GetPixel(x - 1, y - 1));
    // A source block reaching past the source copies only what exists.
    CRaster small(3, 3);
    small.CopyFrom(copy, 0, 0, 3, 3, 4, 4);
    EXPECT_EQ(small.GetPixel(0, 0), copy.GetPixel(4, 4));
    EXPECT_EQ(small.GetPixel(1, 1), copy.GetPixel(5, 5));
    EXPECT_EQ(small.GetPixel(2, 2), 0u);

    // Ends at the limits of 32 bits neither wrap round nor overflow.
    CRaster edge(6, 6);
    edge.CopyFrom(copy, INT32_MAX - 1, 0, INT32_MAX, 6, INT32_MIN, 0);
    edge.CopyFrom(copy, 0, 0, INT32_MAX, INT32_MAX, INT32_MAX, 0);
    edge.SetPen(EPenStyle::Solid, Rgb(9, 9, 9));
    edge.MoveTo(INT32_MAX, 2);
    edge.LineTo(0, 2);
    edge.MoveTo(3, INT32_MAX);
    edge.LineTo(3, INT32_MIN);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(edge.GetPixel(x, y), (y == 2 && x > 0) || x == 3 ? Rgb(9, 9, 9) : 0u) << x << "," << y;
}

} // namespace
