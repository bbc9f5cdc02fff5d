#pragma once

#include <cstdint>

// The audio system's controls a level slider can drive, in the order the
// slider dialog lists them; a slider stores the position in that list as its
// control id.
constexpr int32_t kAudioControls = 12;

// The name the slider dialog shows for a control id ("Speaker A"), or null
// for an id that names no control (-1, or one from a damaged file).
const char16_t* AudioControlName(int32_t controlId);
