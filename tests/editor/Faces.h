#pragma once

#include "UserFace.h"

#include <cstdint>

// A face of the given type and param, with its two colours, as the tests and
// screenshot scenes write them.
inline TUserFace Face(int32_t type, int32_t param, uint32_t colour1 = 0, uint32_t colour2 = 0)
{
    TUserFace face;
    face.type = type;
    face.param = param;
    face.colour1 = colour1;
    face.colour2 = colour2;
    return face;
}
