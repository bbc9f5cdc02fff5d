#pragma once

#include "Raster.h"
#include "TextPicture.h"
#include "UserFace.h"

// A picture that says something: a text in a colour over a background.
struct TLabel
{
    TTextPicture text;
    TColor colour = Rgb(0, 0, 0);
    // Blank for none (the picture is transparent around the letters), or a
    // colour face: one colour or a gradient in any of the face's modes.
    TUserFace background;
};
