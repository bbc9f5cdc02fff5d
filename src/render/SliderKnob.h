#pragma once

#include <cstdint>

// Where a level slider's knob sits, as the offset k its drawing takes: the
// 46-pixel knob covers k - 3 to k + 43 from the slider's top (a vertical
// slider) or its left end (a horizontal one, wider than tall), and the track
// changes from one picture to the other at 15 + k, under the knob. The
// composite's lower track, which reads as the filled part, lies below the
// knob of a vertical slider and left of the knob of a horizontal one.

struct TKnobTravel
{
    int64_t low = 0;
    int64_t high = 0;
};

bool IsHorizontalSlider(int64_t width, int64_t height);
// The fixed place the page canvas shows the knob at.
int64_t SliderKnobRest(int64_t width, int64_t height);
// The offsets that keep the whole knob on the track between the two 15-pixel
// caps. A slider too short for the knob to move has only its rest.
TKnobTravel SliderKnobTravel(int64_t width, int64_t height);
// The offset that puts the knob's middle under a point `along` pixels from
// the slider's top (or left end), held within the travel.
int64_t SliderKnobUnder(int64_t width, int64_t height, int64_t along);
// The level a knob offset stands for: 0 with the knob at the bottom (or the
// left end), 100 at the top (or the right end), rounded to the nearest; 50
// for a slider whose knob cannot move.
int32_t SliderLevel(int64_t width, int64_t height, int64_t knob);
