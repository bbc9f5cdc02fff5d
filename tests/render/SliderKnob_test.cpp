#include "SliderKnob.h"

#include <gtest/gtest.h>

namespace
{

struct TCase
{
    const char* name;
    int64_t width, height;
    int64_t along; // where the finger is, from the top (left) end
    int64_t knob;
    int32_t level;
};

// The default 45 x 130 slider travels from 18 to 72 (the knob between the
// caps); its rest at 47 stands for 46.
TEST(SliderKnob, TheKnobFollowsTheFingerWithinTheTrack)
{
    EXPECT_EQ(SliderKnobRest(45, 130), 47);
    EXPECT_EQ(SliderKnobRest(130, 45), 49);
    EXPECT_EQ(SliderLevel(45, 130, SliderKnobRest(45, 130)), 46);

    const TCase cases[] = {
        {"middle of the knob under the finger", 45, 130, 60, 40, 59},
        {"above the track: at the top", 45, 130, -500, 18, 100},
        {"below the track: at the bottom", 45, 130, 129, 72, 0},
        {"horizontal: the left end is the bottom", 130, 45, 0, 18, 0},
        {"horizontal: the right end is the top", 130, 45, 1000, 72, 100},
        {"square sliders are vertical", 90, 90, 38, 18, 100},
        {"too short for the knob to move", 45, 70, 0, 17, 50},
        {"as long as a 32-bit field allows", 45, 2147483647, 2147483647, 2147483647 - 58, 0},
    };
    for (const TCase& c : cases)
    {
        const int64_t knob = SliderKnobUnder(c.width, c.height, c.along);
        EXPECT_EQ(knob, c.knob) << c.name;
        EXPECT_EQ(SliderLevel(c.width, c.height, knob), c.level) << c.name;
    }
    EXPECT_EQ(SliderKnobTravel(45, 70).low, SliderKnobTravel(45, 70).high);
}

} // namespace
