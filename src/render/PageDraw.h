#pragma once

#include "ImageFinder.h"

#include "Raster.h"

#include <cstdint>
#include <optional>
#include <vector>

class CImageBuffer;
struct TUserFace;
class TUserObject;
class TUserPage;

// The panel's screen.
constexpr int32_t kPageWidth = 320;
constexpr int32_t kPageHeight = 240;

// Every drawing below touches only the pixels inside the raster's clip and
// does work in proportion to them, whatever the size of what it draws: an
// object read from a file may be 2^31 pixels wide.

// Draws a face into a rectangle (right and bottom exclusive).
void DrawFace(const TUserFace& face, const TImageFinder& images, CRaster& dc, const TRect64& rect);

// Colour modes 2 (left to right), 3 (top to bottom) and 4 (radial, along the
// diagonal): a quadratic ramp from colour1 to colour2.
void DrawGradient(CRaster& dc, int32_t mode, uint32_t colour1, uint32_t colour2, const TRect64& rect);

// A nine-slice button face from a 31 x 31 composite picture.
void DrawButtonFace(int32_t imageId, const TImageFinder& images, CRaster& dc, int64_t top, int64_t left,
                    int64_t width, int64_t height);

// A level slider with its knob at the fixed place the canvas shows;
// horizontal when wider than tall.
void DrawLevelSlider(int32_t imageId, const TImageFinder& images, CRaster& dc, int64_t top, int64_t left,
                     int64_t width, int64_t height);
// The same with the knob at an offset of SliderKnob.h.
void DrawLevelSlider(int32_t imageId, const TImageFinder& images, CRaster& dc, int64_t top, int64_t left,
                     int64_t width, int64_t height, int64_t knob);

// A picture at its own size centred in a rectangle, each offset halved toward
// zero; not clipped to the rectangle.
void DrawPictureCentred(CImageBuffer& picture, CRaster& dc, const TRect& rect);

// The dotted grid of a hot spot, in the raster's current background mode.
void DrawHotspotGrid(CRaster& dc, int32_t x, int32_t y, int32_t width, int32_t height);

// The dotted outline and four corner handles around a selected object's
// rectangle; the key object of several has its handles filled. Leaves the
// background mode transparent.
void DrawSelection(CRaster& dc, const TRect64& rect, bool key = false);

// Marks the canvas draws over the page while it is designed.

// The dotted rectangle a drag across empty canvas draws (right and bottom
// exclusive).
void DrawRubberBand(CRaster& dc, const TRect64& rect);
// The guide lines of a snap, across the whole page.
void DrawGuides(CRaster& dc, std::optional<int32_t> x, std::optional<int32_t> y);
// A dot at every crossing of the grid's lines, `step` pixels apart.
void DrawGrid(CRaster& dc, int32_t step);

// How an object shows while a finger works the page: a button held or
// latched down shows its down face drawn over its up face, and a slider's
// knob may have left its rest for another offset of SliderKnob.h.
struct TObjectLook
{
    bool down = false;
    std::optional<int64_t> knob;
};
// Looks by place in the page's drawing order; objects beyond its end look as
// the canvas shows them.
using TPageLook = std::vector<TObjectLook>;

// One object of a page: a button's up face, an image's face, a slider or a
// hot spot grid. Objects of other types draw nothing.
void DrawObject(const TUserObject& object, const TImageFinder& images, CRaster& dc);
void DrawObject(const TUserObject& object, const TImageFinder& images, CRaster& dc, const TObjectLook& look);

// The whole page as the panel shows it, into a raster of at least 320 x 240
// that the caller made (black): the background face, every object from the
// back to the front, and the selection marks around `selected` when given.
void PaintPage(const TUserPage& page, const TImageFinder& images, CRaster& dc,
               const TUserObject* selected = nullptr);
// The same with each object as the look has it.
void PaintPage(const TUserPage& page, const TImageFinder& images, CRaster& dc, const TPageLook& look,
               const TUserObject* selected = nullptr);
