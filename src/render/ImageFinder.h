#pragma once

#include <cstdint>
#include <functional>

class CImageBuffer;

// How drawing finds a picture by its image-library id. The finder answers
// null for an id that is not in the library (or an entry without a picture),
// and the drawing then leaves that part out.
using TImageFinder = std::function<CImageBuffer*(int32_t id)>;
