#pragma once

#include "UserObject.h"

#include <vector>

// The canvas's Arrange commands over a selection of objects' rectangles. The
// first rectangle is the key object's: alignments and sizes follow it. Each
// returns the rectangles the objects take, in the order given; x and y never
// go below 0.
enum class EArrange
{
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignTop,
    AlignMiddle,
    AlignBottom,
    // Equal gaps between neighbours; the outermost two stay. Three objects or more.
    DistributeHorizontally,
    DistributeVertically,
    SameWidth,
    SameHeight,
    SameSize,
    // The selection as a whole, its objects keeping their places to each other.
    CentreOnScreenHorizontally,
    CentreOnScreenVertically,
};

// Whether the command does anything for a selection of `count` objects.
bool CanArrange(EArrange command, size_t count);

std::vector<TObjectRect> Arrange(EArrange command, const std::vector<TObjectRect>& rects, int32_t screenWidth,
                                 int32_t screenHeight);

// The smallest rectangle holding them all; empty for none.
TObjectRect BoundsOf(const std::vector<TObjectRect>& rects);
