#pragma once

#include "ImageFinder.h"

#include "Raster.h"

#include <cstdint>

class CImageBuffer;
struct TUserFace;
class TUserObject;
class TUserPage;

// The panel's screen.
constexpr int32_t kPageWidth = 320;
constexpr int32_t kPageHeight = 240;

// Draws a face into a rectangle (right and bottom exclusive).
void DrawFace(const TUserFace& face, const TImageFinder& images, CRaster& dc, const TRect& rect);

// Colour modes 2 (left to right), 3 (top to bottom) and 4 (radial, along the
// diagonal): a quadratic ramp from colour1 to colour2.
void DrawGradient(CRaster& dc, int32_t mode, uint32_t colour1, uint32_t colour2, const TRect& rect);

// A nine-slice button face from a 31 x 31 composite picture.
void DrawButtonFace(int32_t imageId, const TImageFinder& images, CRaster& dc, int32_t top, int32_t left,
                    int32_t width, int32_t height);

// A level slider with its knob at the fixed place the canvas shows;
// horizontal when wider than tall.
void DrawLevelSlider(int32_t imageId, const TImageFinder& images, CRaster& dc, int32_t top, int32_t left,
                     int32_t width, int32_t height);

// A picture at its own size centred in a rectangle, each offset halved toward
// zero; not clipped to the rectangle.
void DrawPictureCentred(CImageBuffer& picture, CRaster& dc, const TRect& rect);

// The dotted grid of a hot spot, in the raster's current background mode.
void DrawHotspotGrid(CRaster& dc, int32_t x, int32_t y, int32_t width, int32_t height);

// The dotted outline and four corner handles around a selected object's
// rectangle. Leaves the background mode transparent.
void DrawSelection(CRaster& dc, const TRect& rect);

// One object of a page: a button's up face, an image's face, a slider or a
// hot spot grid. Objects of other types draw nothing.
void DrawObject(const TUserObject& object, const TImageFinder& images, CRaster& dc);

// The whole page as the panel shows it, into a raster of at least 320 x 240
// that the caller made (black): the background face, every object from the
// back to the front, and the selection marks around `selected` when given.
void PaintPage(const TUserPage& page, const TImageFinder& images, CRaster& dc,
               const TUserObject* selected = nullptr);
