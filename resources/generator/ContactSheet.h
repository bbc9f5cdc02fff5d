#pragma once

#include "ImageBuffer.h"

#include <vector>

// One picture for a person to judge the artwork by: the backgrounds at their
// own size, two mock pages with buttons and sliders cut from the composites
// the way the page canvas cuts them, and every small picture enlarged over a
// checkerboard that shows its transparency. pictures[id] is picture id.
CImageBuffer MakeContactSheet(const std::vector<CImageBuffer>& pictures);
