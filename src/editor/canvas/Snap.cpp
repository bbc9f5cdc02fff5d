#include "Snap.h"

#include <cstdlib>

namespace
{

void AddLines(std::vector<int32_t>& lines, int32_t start, int32_t length)
{
    lines.push_back(start);
    lines.push_back(start + length / 2);
    lines.push_back(start + length);
}

// The nearest line to `at` within reach: the shift that brings it there.
std::optional<int32_t> Nearest(int32_t at, const std::vector<int32_t>& lines, int32_t grid,
                               std::optional<int32_t>& line)
{
    std::optional<int32_t> best;
    const auto consider = [&](int32_t target)
    {
        const int32_t shift = target - at;
        if (std::abs(shift) <= kSnapReach && (!best || std::abs(shift) < std::abs(*best)))
        {
            best = shift;
            line = target;
        }
    };
    for (const int32_t target : lines)
        consider(target);
    if (grid > 0)
    {
        const int32_t below = at >= 0 ? at / grid * grid : -((-at + grid - 1) / grid * grid);
        consider(below);
        consider(below + grid);
    }
    return best;
}

struct TAxis
{
    int32_t start;
    int32_t length;
    bool startMoves;
    bool endMoves;
};

// Snaps one axis: a move tries the start, the centre and the end and takes
// the nearest; a resize tries the edge it moves.
void SnapAxis(TAxis& axis, const std::vector<int32_t>& lines, int32_t grid, std::optional<int32_t>& guide)
{
    std::optional<int32_t> best;
    std::optional<int32_t> bestLine;
    const auto consider = [&](int32_t at, int32_t gridFor = -1)
    {
        std::optional<int32_t> line;
        const std::optional<int32_t> shift = Nearest(at, lines, gridFor < 0 ? grid : gridFor, line);
        if (shift && (!best || std::abs(*shift) < std::abs(*best)))
        {
            best = shift;
            bestLine = line;
        }
    };
    if (axis.startMoves && axis.endMoves)
    {
        consider(axis.start);
        // The grid takes edges only: a centre on a grid line would leave the edges off it.
        consider(axis.start + axis.length / 2, 0);
        consider(axis.start + axis.length);
        if (best)
            axis.start += *best;
    }
    else if (axis.startMoves)
    {
        consider(axis.start);
        if (best && axis.length - *best > 0)
        {
            axis.start += *best;
            axis.length -= *best;
        }
        else
            best.reset();
    }
    else if (axis.endMoves)
    {
        consider(axis.start + axis.length);
        if (best && axis.length + *best > 0)
            axis.length += *best;
        else
            best.reset();
    }
    if (best)
        guide = bestLine;
}

} // namespace

TSnapTargets SnapTargetsOf(const std::vector<TObjectRect>& others, int32_t screenWidth, int32_t screenHeight)
{
    TSnapTargets targets;
    AddLines(targets.xs, 0, screenWidth);
    AddLines(targets.ys, 0, screenHeight);
    for (const TObjectRect& r : others)
    {
        AddLines(targets.xs, r.left, r.width);
        AddLines(targets.ys, r.top, r.height);
    }
    return targets;
}

TSnapResult Snap(const TObjectRect& rect, const TMovingEdges& edges, const TSnapTargets& targets, int32_t grid)
{
    TSnapResult result{rect, {}, {}};
    TAxis x{rect.left, rect.width, edges.left, edges.right};
    TAxis y{rect.top, rect.height, edges.top, edges.bottom};
    SnapAxis(x, targets.xs, grid, result.guideX);
    SnapAxis(y, targets.ys, grid, result.guideY);
    result.rect = {x.start, y.start, x.length, y.length};
    // Never off the top or the left of the page.
    if (result.rect.left < 0 || result.rect.top < 0)
    {
        if (result.rect.left < 0)
        {
            result.rect.left = rect.left;
            result.rect.width = rect.width;
            result.guideX.reset();
        }
        if (result.rect.top < 0)
        {
            result.rect.top = rect.top;
            result.rect.height = rect.height;
            result.guideY.reset();
        }
    }
    return result;
}
