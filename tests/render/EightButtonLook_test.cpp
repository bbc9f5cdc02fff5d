#include "EightButtonLook.h"

#include "Btn8Ctrl.h"
#include "PageDraw.h"
#include "PlainText.h"
#include "TextField.h"

#include <gtest/gtest.h>

#include <set>

namespace
{

// Pixels of a rectangle that are neither of two colours: the name's ink.
int Ink(const CRaster& dc, const TRect& r, TColor face)
{
    int n = 0;
    for (int32_t y = r.top + 1; y < r.bottom - 1; ++y)
        for (int32_t x = r.left + 1; x < r.right - 1; ++x)
            n += dc.GetPixel(x, y) != face;
    return n;
}

TEST(EightButtonLook, TwoColumnsOfFourButtonsWithTheirNames)
{
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i)
    {
        const TRect r = EightButtonRect(i);
        EXPECT_EQ(EightButtonAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), i);
        EXPECT_TRUE(TRect({0, 0, kPageWidth, kPageHeight}).Intersect(r) == r) << i;
        if (i % 4 != 0)
        {
            EXPECT_EQ(r.left, EightButtonRect(i - 1).left) << "one column, top to bottom";
            EXPECT_GT(r.top, EightButtonRect(i - 1).bottom);
        }
    }
    EXPECT_GT(EightButtonRect(4).left, EightButtonRect(0).right);
    EXPECT_EQ(EightButtonAt(0, 0), -1);
    EXPECT_EQ(EightButtonAt(EightButtonRect(0).right, EightButtonRect(0).top), -1)
        << "the gap between columns";

    CBtn8Ctrl page;
    page.names[0] = MakeTextField(u"Lights");
    // Longer than the button: it is cut at the button's edge.
    page.names[5] = MakeTextField(u"A name far too long for one button of the page, cut");
    CPlainText text;
    CRaster dc(kPageWidth + 20, kPageHeight + 20);
    PaintEightButtonPage(page, text, dc, 5);

    const TColor up = dc.GetPixel(EightButtonRect(1).left + 2, EightButtonRect(1).top + 2);
    const TColor down = dc.GetPixel(EightButtonRect(5).left + 2, EightButtonRect(5).top + 2);
    EXPECT_NE(up, down) << "the pressed button looks pressed";
    EXPECT_GT(Ink(dc, EightButtonRect(0), up), 20);
    EXPECT_EQ(Ink(dc, EightButtonRect(1), up), 0) << "no name, no ink";
    EXPECT_GT(Ink(dc, EightButtonRect(5), down), 20);
    // Nothing between the buttons but the page, nothing beyond the screen.
    const TColor background = dc.GetPixel(2, 2);
    for (int32_t y = 0; y < kPageHeight; ++y)
        EXPECT_EQ(dc.GetPixel(EightButtonRect(0).right + 2, y), background) << y;
    EXPECT_EQ(dc.GetPixel(kPageWidth + 5, 5), 0u);
}

} // namespace
