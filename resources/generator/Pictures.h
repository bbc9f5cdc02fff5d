#pragma once

#include "ImageBuffer.h"

#include <cstdint>

// The built-in pictures, ids 1 to 16.
constexpr int32_t kFirstPicture = 1;
constexpr int32_t kLastPicture = 16;

// Draws one built-in picture; an image without pixels for other ids.
CImageBuffer DrawPicture(int32_t id);
