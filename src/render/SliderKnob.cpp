#include "SliderKnob.h"

#include <algorithm>

namespace
{

constexpr int64_t kCap = 15;
constexpr int64_t kKnob = 46;
// The knob's top (left) edge lies this far before k.
constexpr int64_t kKnobLead = 3;

int64_t Length(int64_t width, int64_t height)
{
    return IsHorizontalSlider(width, height) ? width : height;
}

} // namespace

bool IsHorizontalSlider(int64_t width, int64_t height)
{
    return width > height;
}

int64_t SliderKnobRest(int64_t width, int64_t height)
{
    // The vertical and the horizontal drawing have always differed by two pixels here.
    const double shift = IsHorizontalSlider(width, height) ? 10 : 8;
    return static_cast<int64_t>((static_cast<double>(Length(width, height)) - 52) * 0.5 + shift);
}

TKnobTravel SliderKnobTravel(int64_t width, int64_t height)
{
    const int64_t low = kCap + kKnobLead;
    const int64_t high = Length(width, height) - kCap - kKnob + kKnobLead;
    if (high < low)
    {
        const int64_t rest = SliderKnobRest(width, height);
        return {rest, rest};
    }
    return {low, high};
}

int64_t SliderKnobUnder(int64_t width, int64_t height, int64_t along)
{
    const TKnobTravel travel = SliderKnobTravel(width, height);
    return std::clamp(along - (kKnob / 2 - kKnobLead), travel.low, travel.high);
}

int32_t SliderLevel(int64_t width, int64_t height, int64_t knob)
{
    const TKnobTravel travel = SliderKnobTravel(width, height);
    const int64_t span = travel.high - travel.low;
    if (span <= 0)
        return 50;
    const int64_t k = std::clamp(knob, travel.low, travel.high);
    const int64_t raised = IsHorizontalSlider(width, height) ? k - travel.low : travel.high - k;
    return static_cast<int32_t>((raised * 200 + span) / (2 * span));
}
