#pragma once

#include "Raster.h"
#include "TextPicture.h"
#include "UserFace.h"

#include <string>

class CImageBuffer;

// A picture that says something: a text in a colour over a background.
struct TLabel
{
    TTextPicture text;
    TColor colour = Rgb(0, 0, 0);
    // Blank for none (the picture is transparent around the letters), or a
    // colour face: one colour or a gradient in any of the face's modes.
    TUserFace background;
};

// Draws the label into a picture: true colour, with an alpha plane that
// holds the letters when the background is blank. False with a reason, and
// the picture untouched, when the text cannot be drawn (see
// RenderTextPicture) or the background is not blank or a colour face.
// drawnFamily, when given, receives the family the letters were drawn with.
bool MakeLabelPicture(const TLabel& label, CImageBuffer& picture, std::string& error,
                      std::string* drawnFamily = nullptr);
