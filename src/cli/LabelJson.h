#pragma once

#include "JsonText.h"

#include <memory>

class CImageBuffer;

// Draws the picture a label of a layout's JSON describes:
//   {"text": "Lights\non", "font": "DejaVu Sans", "size": 16, "bold": true,
//    "colour": "#FFFFFF", "background": "#203060" or "none",
//    "gradient": "top-to-bottom,#203060,#5070C0", "width": 100, "height": 40,
//    "align": "centre", "padding": 4}
// with only "text" required; what is left out is as add-label leaves it.
// False with problem set at the member at fault, or at the label when the
// text cannot be drawn.
bool LabelPictureFromJson(const TJsonValue& json, std::shared_ptr<CImageBuffer>& image,
                          TJsonProblem& problem);
