#include "Arrange.h"

#include <algorithm>
#include <numeric>

namespace
{

// Along one axis: where a rectangle starts and how long it is.
struct TSpan
{
    int32_t start;
    int32_t length;
};

TSpan Along(const TObjectRect& r, bool horizontal)
{
    return horizontal ? TSpan{r.left, r.width} : TSpan{r.top, r.height};
}

void SetStart(TObjectRect& r, bool horizontal, int32_t start)
{
    (horizontal ? r.left : r.top) = std::max(0, start);
}

// Align to the key: 0 the start edges, 1 the centres, 2 the end edges.
std::vector<TObjectRect> Align(std::vector<TObjectRect> rects, bool horizontal, int edge)
{
    const TSpan key = Along(rects.front(), horizontal);
    for (TObjectRect& r : rects)
    {
        const int32_t length = Along(r, horizontal).length;
        const int32_t start = edge == 0   ? key.start
                              : edge == 1 ? key.start + (key.length - length) / 2
                                          : key.start + key.length - length;
        SetStart(r, horizontal, start);
    }
    return rects;
}

std::vector<TObjectRect> Distribute(std::vector<TObjectRect> rects, bool horizontal)
{
    std::vector<size_t> order(rects.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b)
                     { return Along(rects[a], horizontal).start < Along(rects[b], horizontal).start; });
    const TSpan first = Along(rects[order.front()], horizontal);
    int64_t end = 0;
    int64_t lengths = 0;
    for (const TObjectRect& r : rects)
    {
        const TSpan s = Along(r, horizontal);
        end = std::max<int64_t>(end, int64_t{s.start} + s.length);
        lengths += s.length;
    }
    // The room left between the objects, shared as evenly as whole pixels allow.
    const int64_t room = end - first.start - lengths;
    const auto gaps = static_cast<int64_t>(rects.size() - 1);
    int64_t at = first.start;
    for (size_t i = 0; i < order.size(); ++i)
    {
        TObjectRect& r = rects[order[i]];
        const int64_t gapBefore = i == 0 ? 0 : (room * static_cast<int64_t>(i)) / gaps;
        const int64_t before = i == 0 ? 0 : (room * static_cast<int64_t>(i - 1)) / gaps;
        at += gapBefore - before;
        SetStart(r, horizontal, static_cast<int32_t>(at));
        at += Along(r, horizontal).length;
    }
    return rects;
}

std::vector<TObjectRect> CentreOnScreen(std::vector<TObjectRect> rects, bool horizontal, int32_t screen)
{
    const TSpan bounds = Along(BoundsOf(rects), horizontal);
    const int32_t shift = std::max(0, (screen - bounds.length) / 2) - bounds.start;
    for (TObjectRect& r : rects)
        SetStart(r, horizontal, Along(r, horizontal).start + shift);
    return rects;
}

} // namespace

bool CanArrange(EArrange command, size_t count)
{
    switch (command)
    {
    case EArrange::DistributeHorizontally:
    case EArrange::DistributeVertically:
        return count >= 3;
    case EArrange::CentreOnScreenHorizontally:
    case EArrange::CentreOnScreenVertically:
        return count >= 1;
    default:
        return count >= 2;
    }
}

std::vector<TObjectRect> Arrange(EArrange command, const std::vector<TObjectRect>& rects, int32_t screenWidth,
                                 int32_t screenHeight)
{
    if (!CanArrange(command, rects.size()))
        return rects;
    std::vector<TObjectRect> out = rects;
    const TObjectRect& key = rects.front();
    switch (command)
    {
    case EArrange::AlignLeft:
        return Align(out, true, 0);
    case EArrange::AlignCentre:
        return Align(out, true, 1);
    case EArrange::AlignRight:
        return Align(out, true, 2);
    case EArrange::AlignTop:
        return Align(out, false, 0);
    case EArrange::AlignMiddle:
        return Align(out, false, 1);
    case EArrange::AlignBottom:
        return Align(out, false, 2);
    case EArrange::DistributeHorizontally:
        return Distribute(out, true);
    case EArrange::DistributeVertically:
        return Distribute(out, false);
    case EArrange::SameWidth:
        for (TObjectRect& r : out)
            r.width = key.width;
        return out;
    case EArrange::SameHeight:
        for (TObjectRect& r : out)
            r.height = key.height;
        return out;
    case EArrange::SameSize:
        for (TObjectRect& r : out)
        {
            r.width = key.width;
            r.height = key.height;
        }
        return out;
    case EArrange::CentreOnScreenHorizontally:
        return CentreOnScreen(out, true, screenWidth);
    case EArrange::CentreOnScreenVertically:
        return CentreOnScreen(out, false, screenHeight);
    }
    return out;
}

TObjectRect BoundsOf(const std::vector<TObjectRect>& rects)
{
    if (rects.empty())
        return {};
    int32_t left = rects.front().left, top = rects.front().top;
    int64_t right = left, bottom = top;
    for (const TObjectRect& r : rects)
    {
        left = std::min(left, r.left);
        top = std::min(top, r.top);
        right = std::max<int64_t>(right, int64_t{r.left} + r.width);
        bottom = std::max<int64_t>(bottom, int64_t{r.top} + r.height);
    }
    return {left, top, static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
}
