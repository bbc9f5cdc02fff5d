#pragma once

#include "UserObject.h"

#include <optional>
#include <vector>

// Snapping while a selection is dragged or resized: its edges and centre line
// come to the edges and centre lines of other objects and of the screen when
// within kSnapReach panel pixels (whatever the zoom), or to the grid's lines.
constexpr int32_t kSnapReach = 4;

// The lines a moving rectangle may snap to, on each axis.
struct TSnapTargets
{
    std::vector<int32_t> xs;
    std::vector<int32_t> ys;
};

// The edges and centres of the screen and of each of `others`.
TSnapTargets SnapTargetsOf(const std::vector<TObjectRect>& others, int32_t screenWidth, int32_t screenHeight);

// What a snap did: the rectangle moved or resized onto the lines, and the
// lines it met (for the guides shown), none on an axis that did not snap.
struct TSnapResult
{
    TObjectRect rect;
    std::optional<int32_t> guideX;
    std::optional<int32_t> guideY;
};

// Which edges a drag moves: all of them for a move; for a resize, those of
// the corner held.
struct TMovingEdges
{
    bool left = true;
    bool right = true;
    bool top = true;
    bool bottom = true;

    static TMovingEdges Move() { return {}; }
    bool IsMove() const { return left && right && top && bottom; }
};

// Snaps `rect` to the nearest target within kSnapReach on each axis; with a
// grid (grid > 0) the grid's lines are targets too. A move keeps the size; a
// resize moves only the edges held.
TSnapResult Snap(const TObjectRect& rect, const TMovingEdges& edges, const TSnapTargets& targets, int32_t grid = 0);
