#pragma once

#include "Label.h"

#include <string>

class CImageBuffer;

// Draws the label into a picture: true colour, with an alpha plane that
// holds the letters when the background is blank. False with a reason, and
// the picture untouched, when the text cannot be drawn (see
// RenderTextPicture) or the background is not blank or a colour face.
// drawnFamily, when given, receives the family the letters were drawn with.
bool MakeLabelPicture(const TLabel& label, CImageBuffer& picture, std::string& error,
                      std::string* drawnFamily = nullptr);
