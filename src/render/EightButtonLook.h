#pragma once

#include "Raster.h"

#include <cstdint>

class CBtn8Ctrl;
class CPlainText;

// The eight-button page in our own plain look: the panel draws these pages
// in a look of its own, and only their names and events are ours to show.
// Two columns of four buttons on the 320 x 240 screen, buttons 1 to 4 down
// the left column and 5 to 8 down the right.

// The rectangle of button index (0 to 7).
TRect EightButtonRect(int index);
// The button under a point, or -1.
int EightButtonAt(int32_t x, int32_t y);

// The whole page with each button's name, button `pressed` (or none, -1)
// drawn held down.
void PaintEightButtonPage(const CBtn8Ctrl& page, CPlainText& text, CRaster& dc, int pressed = -1);
