#pragma once

#include "Raster.h"
#include "TextPicture.h"
#include "UserFace.h"

#include <string>

// How add-label's options and a JSON label write colours, alignment and
// backgrounds. Each parser returns false, leaving its destination alone,
// on text it does not know; the matching ...Words says what it takes.

// "#RRGGBB" or "RRGGBB" in hex digits.
bool ParseLabelColour(const std::string& text, TColor& colour);
constexpr const char* kColourWords = "a colour as #RRGGBB";

// "left", "centre" (or "center") or "right".
bool ParseTextAlign(const std::string& text, ETextAlign& align);
constexpr const char* kAlignWords = "left, centre or right";

// "none" for a blank face, or a colour for a single-colour face.
bool ParseLabelBackground(const std::string& text, TUserFace& background);
constexpr const char* kBackgroundWords = "a colour as #RRGGBB, or none";

// MODE,FROM,TO: a gradient face from one colour to the other, MODE being
// left-to-right, top-to-bottom or radial.
bool ParseLabelGradient(const std::string& text, TUserFace& background);
constexpr const char* kGradientWords =
    "MODE,#RRGGBB,#RRGGBB with MODE left-to-right, top-to-bottom or radial";

// A shell passes a line break awkwardly, so the two characters \n stand for one.
std::string LineBreaksFromEscapes(const std::string& text);
