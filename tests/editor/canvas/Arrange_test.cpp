#include "Arrange.h"
#include "Snap.h"

#include <gtest/gtest.h>

namespace
{

using R = TObjectRect;

// Three objects: the key (first) at 20,10 and two others of other sizes.
const std::vector<R> kThree = {{20, 10, 40, 30}, {100, 50, 20, 10}, {200, 100, 60, 50}};

TEST(Arrange, EachCommandOnThreeObjects)
{
    const struct
    {
        EArrange command;
        std::vector<R> expected;
    } cases[] = {
        {EArrange::AlignLeft, {{20, 10, 40, 30}, {20, 50, 20, 10}, {20, 100, 60, 50}}},
        {EArrange::AlignCentre, {{20, 10, 40, 30}, {30, 50, 20, 10}, {10, 100, 60, 50}}},
        {EArrange::AlignRight, {{20, 10, 40, 30}, {40, 50, 20, 10}, {0, 100, 60, 50}}},
        {EArrange::AlignTop, {{20, 10, 40, 30}, {100, 10, 20, 10}, {200, 10, 60, 50}}},
        {EArrange::AlignMiddle, {{20, 10, 40, 30}, {100, 20, 20, 10}, {200, 0, 60, 50}}},
        {EArrange::AlignBottom, {{20, 10, 40, 30}, {100, 30, 20, 10}, {200, 0, 60, 50}}},
        // Span 20..260 holds 120 pixels of objects: gaps of 60.
        {EArrange::DistributeHorizontally, {{20, 10, 40, 30}, {120, 50, 20, 10}, {200, 100, 60, 50}}},
        // Span 10..150 holds 90: gaps of 25.
        {EArrange::DistributeVertically, {{20, 10, 40, 30}, {100, 65, 20, 10}, {200, 100, 60, 50}}},
        {EArrange::SameWidth, {{20, 10, 40, 30}, {100, 50, 40, 10}, {200, 100, 40, 50}}},
        {EArrange::SameHeight, {{20, 10, 40, 30}, {100, 50, 20, 30}, {200, 100, 60, 30}}},
        {EArrange::SameSize, {{20, 10, 40, 30}, {100, 50, 40, 30}, {200, 100, 40, 30}}},
        // The selection's bounds, 20..260 and 10..150, centred as a whole.
        {EArrange::CentreOnScreenHorizontally, {{40, 10, 40, 30}, {120, 50, 20, 10}, {220, 100, 60, 50}}},
        {EArrange::CentreOnScreenVertically, {{20, 50, 40, 30}, {100, 90, 20, 10}, {200, 140, 60, 50}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Arrange(c.command, kThree, 320, 240), c.expected) << static_cast<int>(c.command);
}

TEST(Arrange, TooFewObjectsChangeNothing)
{
    const std::vector<R> two(kThree.begin(), kThree.begin() + 2);
    EXPECT_FALSE(CanArrange(EArrange::DistributeHorizontally, 2));
    EXPECT_EQ(Arrange(EArrange::DistributeHorizontally, two, 320, 240), two);
    EXPECT_FALSE(CanArrange(EArrange::AlignLeft, 1));
    EXPECT_TRUE(CanArrange(EArrange::CentreOnScreenHorizontally, 1));
    EXPECT_EQ(BoundsOf(kThree), R(20, 10, 240, 140));
}

// Reach is in panel pixels: the canvas hands Snap panel rectangles at every
// zoom, so 4 pixels at 3x are 12 on the screen and snap the same.
TEST(Snap, WithinFourPanelPixelsOfAnEdgeOrCentreAndNoFurther)
{
    const TSnapTargets targets = SnapTargetsOf({{100, 100, 50, 20}}, 320, 240);
    const struct
    {
        R dragged;
        R expected;
        std::optional<int32_t> guideX;
        std::optional<int32_t> guideY;
    } cases[] = {
        {{96, 60, 20, 10}, {100, 60, 20, 10}, 100, {}},    // left edge 4 off the other's left
        {{95, 60, 20, 10}, {95, 60, 20, 10}, {}, {}},      // 5 off: stays
        {{108, 60, 30, 10}, {110, 60, 30, 10}, 125, {}},   // centre 123 comes to 125
        {{153, 117, 30, 20}, {150, 120, 30, 20}, 150, 120}, // left to the right edge, top to the bottom
        {{3, 238 - 10, 30, 10}, {0, 230, 30, 10}, 0, 240},  // the screen's edges
    };
    for (const auto& c : cases)
    {
        const TSnapResult r = Snap(c.dragged, TMovingEdges::Move(), targets);
        EXPECT_EQ(r.rect, c.expected) << c.dragged.left << "," << c.dragged.top;
        EXPECT_EQ(r.guideX, c.guideX) << c.dragged.left;
        EXPECT_EQ(r.guideY, c.guideY) << c.dragged.top;
    }
}

TEST(Snap, AResizeMovesOnlyTheEdgeHeldAndTheGridTakesEdges)
{
    const TSnapTargets targets = SnapTargetsOf({{100, 100, 50, 20}}, 320, 240);
    TMovingEdges bottomRight{false, true, false, true};
    const TSnapResult resized = Snap({10, 10, 87, 30}, bottomRight, targets);
    EXPECT_EQ(resized.rect, R(10, 10, 90, 30)) << "the right edge to 100, the left where it was";

    const TSnapTargets none = SnapTargetsOf({}, 320, 240);
    EXPECT_EQ(Snap({23, 48, 30, 10}, TMovingEdges::Move(), none, 10).rect, R(20, 50, 30, 10));
    EXPECT_EQ(Snap({26, 45, 30, 10}, TMovingEdges::Move(), none, 20).rect, R(30, 45, 30, 10))
        << "the right edge 56 is 4 from 60, the left 6 from 20; top and bottom 5 from a line";
}

} // namespace
