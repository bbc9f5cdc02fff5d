#pragma once

#include "JsonText.h"
#include "Label.h"

#include <functional>
#include <string>

class CImageBuffer;

// Reads a label of a layout's JSON, the picture it describes:
//   {"text": "Lights\non", "font": "DejaVu Sans", "size": 16, "bold": true,
//    "colour": "#FFFFFF", "background": "#203060" or "none",
//    "gradient": "top-to-bottom,#203060,#5070C0", "width": 100, "height": 40,
//    "align": "centre", "padding": 4}
// with only "text" required; what is left out is as add-label leaves it.
// False with problem set at the member at fault, or at the label when it
// has no text.
bool LabelFromJson(const TJsonValue& json, TLabel& label, TJsonProblem& problem);

// Draws a label's picture; false with a reason when its text cannot be
// drawn. Drawing is the renderer's: who reads a layout's JSON passes it in.
using TLabelPainter = std::function<bool(const TLabel& label, CImageBuffer& picture, std::string& error)>;
